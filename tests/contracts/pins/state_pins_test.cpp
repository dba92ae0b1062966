// State pins, value sinks, clock pins and pin lists.
#include <gtest/gtest.h>

#include "contracts/pins/pin_list.h"
#include "contracts/pins/state_pins.h"
#include "platform/runtime/error.h"
#include "tests/contracts/pins/pin_test_support.h"

namespace fc {
namespace {

TEST(StatePins, SetValuePublishesChangesOnlyAndHandlersSeeThem) {
  std::vector<float> seen;
  TPMFloatStatePin source(nullptr, "Brightness");
  TPMFloatStatePin sink(nullptr, "Level", [&](TPMStatePin<float>&, const float& v) { seen.push_back(v); });
  source.Connect(sink);
  source.SetValue(0.5f);
  source.SetValue(0.5f);  // unchanged: not sent again
  source.SetValue(-1.0f);
  EXPECT_EQ(seen, (std::vector<float>{0.5f, -1.0f}));
  EXPECT_EQ(sink.Value(), -1.0f);
}

// Two state pins connected both ways (a value shared by two components): a
// change on either side reaches the other once and does not echo back.
TEST(StatePins, PinsConnectedBothWaysDoNotEcho) {
  int aCalls = 0, bCalls = 0;
  TPMBoolStatePin* bp = nullptr;
  TPMBoolStatePin a(nullptr, "A", [&](TPMStatePin<bool>&, const bool&) { ++aCalls; });
  // B's owner reacts like a component setter: it stores and republishes.
  TPMBoolStatePin b(nullptr, "B", [&](TPMStatePin<bool>&, const bool& v) {
    ++bCalls;
    bp->SetValue(v);
  });
  bp = &b;
  a.Connect(b);
  b.Connect(a);
  a.SetValue(true);
  EXPECT_EQ(bCalls, 1);
  EXPECT_EQ(aCalls, 0);
  b.SetValue(false);
  EXPECT_EQ(aCalls, 1);
  EXPECT_FALSE(a.Value());
}

TEST(StatePins, ANewSinkReceivesTheCurrentValueAndValuesPassOn) {
  std::vector<bool> enabled;
  std::vector<std::string> texts;
  TPMBoolStatePin state(nullptr, "Enabled");
  state.SetValue(true);  // as a constructor publishes its start value
  TPMBoolSinkPin sink(nullptr, "EnabledPin", [&](TPMValueSinkPin<bool>&, const bool& v) { enabled.push_back(v); });
  state.Connect(sink);
  EXPECT_EQ(enabled, (std::vector<bool>{true}));

  // A chain of state pins passes a received value on.
  TPMStringStatePin first(nullptr, "First"), middle(nullptr, "Middle");
  TPMStringSinkPin last(nullptr, "Last", [&](TPMValueSinkPin<std::string>&, const std::string& v) { texts.push_back(v); });
  first.Connect(middle);
  middle.Connect(last);
  first.SetValue("hello");
  EXPECT_EQ(texts, (std::vector<std::string>{"hello"}));
  EXPECT_THROW(first.Connect(sink), EFCError);  // a string is no boolean
}

TEST(StatePins, ClockSinksTickOncePerTick) {
  int ticks = 0;
  TPMClockSourcePin clock(nullptr, "Clock");
  TPMClockSinkPin a(nullptr, "A", [&](TPMClockSinkPin&) { ++ticks; });
  TPMClockSinkPin b(nullptr, "B", [&](TPMClockSinkPin&) { ticks += 10; });
  clock.Connect(a);
  clock.Connect(b);
  clock.Tick();
  clock.Tick();
  EXPECT_EQ(ticks, 22);
}

TEST(PinList, KeepsOrderNamesAndOwnership) {
  test::TRecorder owner("Split");
  TPMPinList list(&owner, true, "OutputPins");
  for (const char* name : {"Red", "Green", "Blu"})
    list.Add(std::make_unique<TPMSourcePin>(&owner, owner, name, "Image"));
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetPin(2)->Name(), "Blu");
  EXPECT_EQ(list.GetPin(2)->NamePath(), "Split.Blu");
  list.Swap(0, 2);
  EXPECT_EQ(list.GetPin(0)->Name(), "Blu");
  EXPECT_EQ(list.IndexOf(list.FindPin("Red")), 2);
  const char* renamed[] = {"Hue", "Lightness", "Saturation"};
  for (int i = 0; i < 3; ++i) list.SetName(i, renamed[i]);
  EXPECT_EQ(list.FindPin("Lightness"), list.GetPin(1));

  TPMPin* removed = list.GetPin(1);
  list.GetPin(1)->Connect(owner.input);
  list.Remove(1);  // destroys the pin, which disconnects it
  EXPECT_EQ(list.IndexOf(removed), -1);
  EXPECT_FALSE(owner.input.IsConnected());
  EXPECT_THROW(list.GetPin(2), EFCError);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);

  TPMPinList borrowed(&owner, false);
  EXPECT_EQ(borrowed.Add(owner.input), 0);
  EXPECT_THROW(borrowed.Add(std::make_unique<TPMSourcePin>(&owner, owner, "X", "Image")), EFCError);
}

}  // namespace
}  // namespace fc
