// Collections whose items own pins, listed in their component's pin list.
#include <gtest/gtest.h>

#include "contracts/pins/ext_collection.h"
#include "contracts/pins/pin_list.h"
#include "tests/contracts/pins/pin_test_support.h"

namespace fc {
namespace {

// A channel with one input pin of its own.
class TChannel : public TPMExtCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  explicit TChannel(TCollection& c)
      : TPMExtCollectionItem(c), input(OwnerComponent(), Dispatcher(), "InputPin", "Image") {}
  TPMSinkPin* GetInputPin() { return &input; }
  TPMSinkPin input;

private:
  IPMPinDispatcher& Dispatcher() { return dynamic_cast<IPMPinDispatcher&>(*OwnerComponent()); }
};

const TClassInfo& TChannel::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TChannel>("TChannel", &TPMExtCollectionItem::StaticClassInfo())
                                     .Pin("InputPin", &TChannel::GetInputPin)
                                     .Build();
  return info;
}

// A switch-like owner: every channel's pin is also in InputPins.
struct TChannelOwner : test::TRecorder {
  TChannelOwner()
      : TRecorder("Switch1"), inputPins(this, false, "InputPins"),
        channels(
            this, "InputChannels",
            [this](TPMExtCollectionItem& item) { inputPins.Add(static_cast<TChannel&>(item).input); },
            [this](TPMExtCollectionItem& item) {
              inputPins.Remove(inputPins.IndexOf(&static_cast<TChannel&>(item).input));
            }) {}
  ~TChannelOwner() override { channels.Clear(); }
  TPMPinList inputPins;
  TPMTypedExtCollection<TChannel> channels;
};

TEST(ExtCollection, ItemPinsBelongToTheOwnerAndLeaveWithTheirItem) {
  TChannelOwner owner;
  test::TRecorder source("Player1");
  owner.channels.Add();
  owner.channels.Add();
  ASSERT_EQ(owner.inputPins.GetCount(), 2);
  TChannel& second = owner.channels.Items(1);
  EXPECT_EQ(second.input.Owner(), &owner);
  EXPECT_EQ(owner.inputPins.GetPin(1), &second.input);
  EXPECT_EQ(second.ClassInfo().FindProperty("InputPin")->GetObject(second), &second.input);

  source.output.Connect(second.input);
  source.output.Send(MakeOperation<TPMStopOperation>());
  EXPECT_EQ(owner.Log(), (std::vector<std::string>{"stop"}));  // reaches the owner's dispatch

  owner.channels.Delete(1);
  EXPECT_EQ(owner.inputPins.GetCount(), 1);
  EXPECT_FALSE(source.output.IsConnected());
}

}  // namespace
}  // namespace fc
