// The parameters of a plug-in as the host's typed objects: classes,
// defaults, conversions, what reaches the plug-in, and values stored in
// forms.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime/error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_saver.h"
#include "platform/runtime/form_writer.h"
#include "tests/plugins/plugin_test_support.h"

namespace fc::test {
namespace {

enum Index { kSwitch, kTrigger, kRed, kGreen, kBlue, kX, kY, kAmount, kCaption, kOther };

TEST(FreeFrameParameters, EachTypeGetsItsClassNameAndDefault) {
  THostRun run(FC_PLUGIN_ff_parameters);
  TFCFreeFrameParameters& list = *run.host.GetParameters();
  ASSERT_EQ(list.Count(), 10);
  const char* classes[] = {"TFCBooleanFreeFrameParameter", "TFCEventFreeFrameParameter",
                           "TFCRedFreeFrameParameter",     "TFCGreenFreeFrameParameter",
                           "TFCBlueFreeFrameParameter",    "TFCXPosFreeFrameParameter",
                           "TFCYPosFreeFrameParameter",    "TFCStandardFreeFrameParameter",
                           "TFCTextFreeFrameParameter",    "TFCStandardFreeFrameParameter"};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(list.Items(i).ClassInfo().Name(), classes[i]) << i;
    EXPECT_EQ(list.Items(i).Index(), i);
  }
  EXPECT_EQ(list.Items(kAmount).VC_Name(), "SixteenCharsName");  // all 16, no terminator
  EXPECT_EQ(list.Items(kRed).VC_Name(), "Red");
  const std::vector<std::string> defaults = {"True", "Event...", "128", "64", "255", "10", "4", "0.75", "", "0.125"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(list.Items(i).GetAsString(), defaults[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(list.Items(kRed).GetPropertyType(), fptByte);
  EXPECT_EQ(list.Items(kX).GetPropertyType(), fptCardinal);
  EXPECT_EQ(list.Items(kCaption).GetPropertyType(), fptString);
}

TEST(FreeFrameParameters, BooleanTextIsCaseInsensitiveAndOtherWordsLeaveTheValue) {
  THostRun run(FC_PLUGIN_ff_parameters);
  TFCFreeFrameParameter& on = run.host.GetParameters()->Items(kSwitch);
  on.SetAsString("fAlSe");
  EXPECT_FALSE(on.GetAsBoolean());
  on.SetAsString("maybe");
  EXPECT_FALSE(on.GetAsBoolean());
  on.SetAsString("true");
  EXPECT_TRUE(on.GetAsBoolean());
  EXPECT_EQ(on.GetAsString(), "True");
}

TEST(FreeFrameParameters, ConversionsAndRefusedText) {
  THostRun run(FC_PLUGIN_ff_parameters);
  TFCFreeFrameParameters& list = *run.host.GetParameters();
  list.Items(kX).SetAsSingle(2.5f);  // halves round to even
  EXPECT_EQ(list.Items(kX).GetAsInteger(), 2);
  list.Items(kAmount).SetAsInteger(0);
  EXPECT_FALSE(list.Items(kAmount).GetAsBoolean());
  list.Items(kAmount).SetAsBoolean(true);
  EXPECT_EQ(list.Items(kAmount).GetAsSingle(), 1.0f);
  for (auto [index, text] : {std::pair{kAmount, "half"}, {kRed, "256"}, {kRed, "12.5"}, {kY, "x"}}) {
    try {
      list.Items(index).SetAsString(text);
      ADD_FAILURE() << text << " was taken";
    } catch (const EFCError& error) {
      EXPECT_NE(std::string(error.what()).find(text), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find(list.Items(index).VC_Name()), std::string::npos) << error.what();
    }
  }
}

TEST(FreeFrameParameters, ValuesReachTheInstanceAndAreReadBack) {
  TRecorder recorder(FC_PLUGIN_ff_parameters);
  THostRun run(FC_PLUGIN_ff_parameters);
  TFCFreeFrameParameters& list = *run.host.GetParameters();
  recorder.Reset();
  list.Items(kRed).SetAsInteger(200);  // no instance: stored only
  EXPECT_TRUE(recorder.CallsOf(FC_FF_SET_PARAMETER).empty());

  run.harness.PushStart(4, 2);
  // The new instance takes every held value (the event holds none).
  std::vector<std::uint32_t> applied;
  for (const fc_test_call& call : recorder.CallsOf(FC_FF_SET_PARAMETER)) applied.push_back(call.index);
  EXPECT_EQ(applied, (std::vector<std::uint32_t>{0, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_FLOAT_EQ(recorder.CallsOf(FC_FF_SET_PARAMETER).at(1).value, 200 / 255.0f);

  recorder.Reset();
  list.Items(kRed).SetAsInteger(128);
  const auto calls = recorder.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].code, std::uint32_t{FC_FF_SET_PARAMETER});
  EXPECT_NEAR(calls[0].value, 0.50196f, 1e-5);
  EXPECT_NE(calls[0].instance, nullptr);
  EXPECT_EQ(calls[1].code, std::uint32_t{FC_FF_GET_PARAMETER});
  EXPECT_EQ(calls[1].input, std::uint32_t{kRed});

  list.Items(kAmount).SetAsSingle(2.0f);  // the plug-in keeps to 0..1
  EXPECT_EQ(list.Items(kAmount).GetAsSingle(), 1.0f);
  list.Items(kCaption).SetAsString("hello");
  EXPECT_STREQ(recorder.CallsOf(FC_FF_SET_PARAMETER).back().text, "hello");
  EXPECT_EQ(list.Items(kCaption).GetAsString(), "hello");
  EXPECT_EQ(list.Items(kY).GetDisplayValue(), "6=");

  recorder.Reset();
  list.Items(kTrigger).SetAsString("anything");
  const auto pulse = recorder.CallsOf(FC_FF_SET_PARAMETER);
  ASSERT_EQ(pulse.size(), 2u);
  EXPECT_EQ(pulse[0].value, 1.0f);
  EXPECT_EQ(pulse[1].value, 0.0f);
  EXPECT_TRUE(recorder.CallsOf(FC_FF_GET_PARAMETER).empty());
  run.harness.PushStop();

  recorder.Reset();
  list.Items(kGreen).SetAsInteger(9);  // after the stop: stored, no call into the unloaded library
  EXPECT_TRUE(recorder.Calls().empty());
  EXPECT_EQ(list.Items(kGreen).GetAsInteger(), 9);
  EXPECT_EQ(list.Items(kY).GetDisplayValue(), "");
}

TEST(FreeFrameParameters, AStreamWithoutAnInstanceLeavesTheStoredValues) {
  THostRun run(FC_PLUGIN_ff_parameters);
  TFCFreeFrameParameters& list = *run.host.GetParameters();
  list.Items(kBlue).SetAsInteger(17);
  // No instance is made for an empty frame size, so nothing is read back.
  run.harness.PushStart(0, 0);
  run.harness.PushStop();
  EXPECT_EQ(list.Items(kBlue).GetAsInteger(), 17);
}

const TClassInfo* LookUp(std::string_view name) {
  if (name == "TFCFreeFrame") return &TFCFreeFrame::StaticClassInfo();
  if (name == "TComponent") return &TComponent::StaticClassInfo();
  return nullptr;
}

std::string HostForm(const std::string& body) {
  return "object Form1: TComponent\n  object FF1: TFCFreeFrame\n" + body + "  end\nend\n";
}

TFCFreeFrame& HostIn(TComponent& root) { return dynamic_cast<TFCFreeFrame&>(*root.FindComponent("FF1")); }

TEST(FreeFrameParameters, StoredValuesApplyByIndexWhicheverComesFirst) {
  const std::string file = std::string("    FilterFileName = '") + FC_PLUGIN_ff_parameters + "'\n";
  const std::string values = "    Parameters.StrValue = ('false', 'x', '7', '8', '9', '11', '12', '0.5', 'hi', "
                             "'0.25', 'surplus', 'more')\n";
  for (const std::string& body : {file + values, values + file}) {
    const auto root = LoadForm(readForm(HostForm(body), "a.fcf"), LookUp);
    TFCFreeFrameParameters& list = *HostIn(*root).GetParameters();
    ASSERT_EQ(list.Count(), 10);
    EXPECT_FALSE(list.Items(kSwitch).GetAsBoolean());
    EXPECT_EQ(list.Items(kBlue).GetAsInteger(), 9);
    EXPECT_EQ(list.Items(kY).GetAsInteger(), 12);
    EXPECT_EQ(list.Items(kCaption).GetAsString(), "hi");
    EXPECT_EQ(list.Items(kOther).GetAsSingle(), 0.25f);
    EXPECT_TRUE(list.PendingStrings().empty());  // surplus dropped
    HostIn(*root).BeforeDestruction();
  }
}

TEST(FreeFrameParameters, AFormWhosePlugInIsMissingKeepsItsStoredValues) {
  const auto root = LoadForm(
      readForm(HostForm("    FilterFileName = '/no/such.so'\n    Parameters.StrValue = ('1', 'two')\n"), "a.fcf"),
      LookUp);
  EXPECT_EQ(HostIn(*root).GetParameters()->Count(), 0);
  const std::string saved = writeForm(SaveForm(*root));
  EXPECT_NE(saved.find("StrValue = ('1', 'two')"), std::string::npos) << saved;
}

}  // namespace
}  // namespace fc::test
