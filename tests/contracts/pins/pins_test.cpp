// Pins and connections: fan-out order, one source per sink, the connection
// rules, operations reaching everyone, requests travelling upstream.
#include <gtest/gtest.h>

#include "contracts/pins/operations.h"
#include "platform/runtime/error.h"
#include "tests/contracts/pins/pin_test_support.h"

namespace fc {
namespace {

using test::TRecorder;

TEST(Pins, SourceDeliversToSinksInConnectionOrder) {
  TRecorder source("Source"), a("A"), b("B"), c("C");
  TRecorder::Journal().clear();
  for (TRecorder* r : {&a, &b, &c}) r->journalOn = true;
  source.output.Connect(b.input);
  source.output.Connect(a.input);
  source.output.Connect(c.input);
  source.output.Connect(a.input);  // again: no second delivery, order kept
  EXPECT_TRUE(source.output.Send(MakeOperation<TPMStopOperation>()));
  EXPECT_EQ(TRecorder::Journal(), (std::vector<std::string>{"B:stop", "A:stop", "C:stop"}));
  EXPECT_EQ(source.output.ConnectedSinks(), (std::vector<TPMPin*>{&b.input, &a.input, &c.input}));
}

TEST(Pins, ASinkHasOneSourceAndReconnectingMovesIt) {
  TRecorder first("First"), second("Second"), sink("Sink");
  first.output.Connect(sink.input);
  second.output.Connect(sink.input);
  EXPECT_EQ(sink.input.ConnectedSource(), &second.output);
  EXPECT_TRUE(first.output.ConnectedSinks().empty());
  EXPECT_FALSE(first.output.Send(MakeOperation<TPMStopOperation>()));  // nobody to answer
  second.output.Send(MakeOperation<TPMStopOperation>());
  EXPECT_EQ(sink.Log(), (std::vector<std::string>{"stop"}));

  sink.input.Disconnect(second.output);  // either end may disconnect
  EXPECT_FALSE(sink.input.IsConnected());
  EXPECT_FALSE(second.output.IsConnected());
}

TEST(Pins, ConnectionsOfTheWrongDirectionOrMediaAreRefused) {
  TRecorder a("A"), b("B"), real("R", "Real");
  auto refusal = [](TPMPin& from, TPMPin& to) {
    try {
      from.Connect(to);
    } catch (const EFCError& e) {
      return std::string(e.what());
    }
    return std::string("connected");
  };
  EXPECT_EQ(refusal(a.input, b.input), "Cannot connect A.Input to B.Input: A.Input does not send");
  EXPECT_EQ(refusal(a.output, b.output), "Cannot connect A.Output to B.Output: B.Output does not receive");
  EXPECT_EQ(refusal(a.output, real.input),
            "Cannot connect A.Output to R.Input: Real pin does not accept Image");
  EXPECT_FALSE(a.output.IsConnected());
}

TEST(Pins, StartFramesAndStopReachEveryComponentOfAChain) {
  // Source -> Filter -> {Sink1, Sink2}
  TRecorder source("Source"), filter("Filter"), sink1("Sink1"), sink2("Sink2");
  filter.forward = true;
  source.output.Connect(filter.input);
  filter.output.Connect(sink1.input);
  filter.output.Connect(sink2.input);
  source.output.Send(MakeOperation<TPMStartFrameOperation>(320, 240, 25.0, 0));
  source.output.Send(MakeOperation<TPMSuppliedBufferOperation>(nullptr));
  source.output.Send(MakeOperation<TPMStopOperation>());
  const std::vector<std::string> expected{"start-frame", "supplied-buffer", "stop"};
  EXPECT_EQ(filter.Log(), expected);
  EXPECT_EQ(sink1.Log(), expected);
  EXPECT_EQ(sink2.Log(), expected);
}

TEST(Pins, PumpRequestsTravelUpstreamToTheSource) {
  TRecorder source("Source"), filter("Filter"), sink("Sink");
  filter.forward = true;
  source.output.Connect(filter.input);
  filter.output.Connect(sink.input);
  EXPECT_TRUE(sink.input.Request(MakeOperation<TPMPumpRequestOperation>(&sink)));
  EXPECT_TRUE(sink.input.Request(MakeOperation<TPMMasterPumpOperation>()));
  EXPECT_EQ(filter.Log(), (std::vector<std::string>{"request pump-request", "request master-pump"}));
  EXPECT_EQ(source.Log(), filter.Log());
  EXPECT_TRUE(sink.Log().empty());
  source.output.DisconnectAll();
  EXPECT_FALSE(sink.input.Request(MakeOperation<TPMPumpRequestOperation>()));
}

TEST(Pins, DestroyingAPinDisconnectsIt) {
  TRecorder source("Source");
  {
    TRecorder sink("Sink");
    source.output.Connect(sink.input);
  }
  EXPECT_FALSE(source.output.IsConnected());
  EXPECT_FALSE(source.output.Send(MakeOperation<TPMStopOperation>()));
}

TEST(Operations, AreTestedByClass) {
  TPMOperation frame = MakeOperation<TPMStartFrameOperation>(640, 480, 29.97, 2);
  EXPECT_TRUE(frame->Is<TPMStartOperation>());  // a start-frame is a start
  EXPECT_FALSE(frame->Is<TPMStopOperation>());
  EXPECT_TRUE(MakeOperation<TPMStartSampleRateOperation>(44100.0)->Is<TPMStartOperation>());
  TComponent sender(nullptr);
  TPMOperation pump = MakeOperation<TPMMasterPumpOperation>(&sender);
  EXPECT_TRUE(pump->Is<TPMPumpRequestOperation>());  // a master pump is a pump request
  EXPECT_EQ(pump->As<TPMPumpRequestOperation>()->Sender(), &sender);

  struct Payload : IPMDataBuffer {};
  struct Other : IPMDataBuffer {};
  auto payload = std::make_shared<const Payload>();
  TPMOperation supplied = MakeOperation<TPMSuppliedBufferOperation>(payload);
  EXPECT_EQ(supplied->As<TPMSuppliedBufferOperation>()->BufferAs<Payload>(), payload);
  EXPECT_EQ(supplied->As<TPMSuppliedBufferOperation>()->BufferAs<Other>(), nullptr);
}

}  // namespace
}  // namespace fc
