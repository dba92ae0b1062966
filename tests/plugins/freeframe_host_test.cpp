// The effect plug-in host against the test plug-ins: the calls it makes and
// their order, the records it passes, the frames it makes, and what happens
// when a plug-in is missing or fails.
#include <gtest/gtest.h>

#include "tests/components/multi_input_support.h"
#include "tests/plugins/plugin_test_support.h"

namespace fc::test {
namespace {

TFCImageBuffer TwoRowFrame(int width, int height) { return CountingFrame(width, height, vfRGB24, 7); }

// The bytes of the first pixel of the bottom row.
std::vector<Ipp8u> BottomLeft(const TFCImageBuffer& frame, int bytes = 3) {
  const Ipp8u* row = frame.Read() + static_cast<std::size_t>(frame.Height() - 1) * frame.Step();
  return {row, row + bytes};
}

TEST(FreeFrameHost, LoadingQueriesInformationAndCapabilitiesThenInitialises) {
  TRecorder recorder(FC_PLUGIN_ff_inplace24);
  THostRun run(FC_PLUGIN_ff_inplace24);
  ASSERT_TRUE(run.host.IsLoaded());
  EXPECT_EQ(recorder.Codes(), (std::vector<std::uint32_t>{13, 10, 10, 10, 10, 10, 10, 10, 1, 4}));
  std::vector<std::uint32_t> capabilities;
  for (const fc_test_call& call : recorder.CallsOf(FC_FF_GET_PLUGIN_CAPS)) capabilities.push_back(call.input);
  EXPECT_EQ(capabilities, (std::vector<std::uint32_t>{0, 1, 2, 3, 10, 11, 15}));
  for (const fc_test_call& call : recorder.Calls()) EXPECT_EQ(call.instance, nullptr) << call.code;
  EXPECT_TRUE(run.host.HasExtendedInfo());
  EXPECT_EQ(run.host.MajorVertion(), 3u);
  EXPECT_EQ(run.host.MinorVertion(), 7u);
  EXPECT_EQ(run.host.Description(), "test plug-in");
  EXPECT_EQ(run.host.About(), "made for the host's tests");
  EXPECT_EQ(run.host.InputCount(), 1);
}

TEST(FreeFrameHost, AStreamInstantiatesProcessesBottomRowFirstAndReleasesAtStop) {
  TRecorder recorder(FC_PLUGIN_ff_inplace24);
  THostRun run(FC_PLUGIN_ff_inplace24);
  recorder.Reset();
  const TFCImageBuffer frame = TwoRowFrame(5, 3);
  run.harness.PushStart(5, 3);
  run.harness.PushFrame(frame);
  run.harness.PushFrame(frame);
  run.harness.PushStop();

  const auto instantiate = recorder.CallsOf(FC_FF_INSTANTIATE);
  ASSERT_EQ(instantiate.size(), 1u);
  EXPECT_EQ(instantiate[0].video.width, 5u);
  EXPECT_EQ(instantiate[0].video.height, 3u);
  EXPECT_EQ(instantiate[0].video.bitDepth, std::uint32_t{FC_FF_DEPTH_24BIT});
  EXPECT_EQ(instantiate[0].video.orientation, std::uint32_t{FC_FF_ORIENTATION_BOTTOM_FIRST});
  // Reloaded at the start (the earlier load deinitialised first), released
  // at the stop: deinstantiate before deinitialise.
  const std::vector<std::uint32_t> codes = recorder.Codes();
  const std::vector<std::uint32_t> tail(codes.end() - 5, codes.end());
  EXPECT_EQ(codes.front(), 2u);
  EXPECT_EQ(tail, (std::vector<std::uint32_t>{11, 3, 3, 12, 2}));
  const auto frames = recorder.CallsOf(FC_FF_PROCESS_FRAME);
  const auto release = recorder.CallsOf(FC_FF_DEINSTANTIATE);
  ASSERT_EQ(frames.size(), 2u);
  ASSERT_NE(frames[0].instance, nullptr);
  EXPECT_EQ(frames[1].instance, frames[0].instance);
  EXPECT_EQ(release.at(0).instance, frames[0].instance);
  EXPECT_EQ(std::vector<Ipp8u>(frames[0].first, frames[0].first + 3), BottomLeft(frame));

  const auto out = run.harness.Frames();
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(BytesOf(*out[0]), Inverted(frame));
  EXPECT_EQ(run.harness.LastStart()->Width(), 5);
  EXPECT_FALSE(run.host.IsLoaded());
}

TEST(FreeFrameHost, AFrameOfAnotherSizeReinstantiatesForThatSize) {
  TRecorder recorder(FC_PLUGIN_ff_inplace24);
  THostRun run(FC_PLUGIN_ff_inplace24);
  run.harness.PushStart(4, 4);
  recorder.Reset();
  const TFCImageBuffer larger = TwoRowFrame(9, 6);
  run.harness.PushFrame(larger);
  EXPECT_EQ(recorder.Codes(), (std::vector<std::uint32_t>{12, 11, 3}));
  EXPECT_EQ(recorder.CallsOf(FC_FF_INSTANTIATE).at(0).video.width, 9u);
  ASSERT_EQ(run.harness.Frames().size(), 1u);
  EXPECT_EQ(BytesOf(*run.harness.Frames()[0]), Inverted(larger));
  run.harness.PushStop();
}

TEST(FreeFrameHost, ANewFileMidStreamGetsAFreshInstance) {
  TRecorder first(FC_PLUGIN_ff_inplace24);
  TRecorder second(FC_PLUGIN_ff_only32);
  THostRun run(FC_PLUGIN_ff_inplace24);
  run.harness.PushStart(4, 2);
  run.host.SetFilterFileName(FC_PLUGIN_ff_only32);
  EXPECT_EQ(first.Codes().back(), 2u);  // the old plug-in released
  second.Reset();
  const TFCImageBuffer frame = TwoRowFrame(4, 2);
  run.harness.PushFrame(frame);
  EXPECT_EQ(second.Codes(), (std::vector<std::uint32_t>{11, 3}));
  EXPECT_EQ(BytesOf(*run.harness.Frames().at(0)), Inverted(frame));
  run.harness.PushStop();
}

TEST(FreeFrameHost, A32BitOnlyPlugInGetsFourBytesPerPixelAndTheHostConvertsBack) {
  TRecorder recorder(FC_PLUGIN_ff_only32);
  THostRun run(FC_PLUGIN_ff_only32);
  const TFCImageBuffer frame = TwoRowFrame(7, 3);  // odd width
  run.harness.PushStart(7, 3);
  run.harness.PushFrame(frame);
  run.harness.PushStop();
  EXPECT_EQ(recorder.CallsOf(FC_FF_INSTANTIATE).at(0).video.bitDepth, std::uint32_t{FC_FF_DEPTH_32BIT});
  const fc_test_call processed = recorder.CallsOf(FC_FF_PROCESS_FRAME).at(0);
  std::vector<Ipp8u> expected = BottomLeft(frame);
  expected.push_back(0);  // the unused byte starts 0
  EXPECT_EQ(std::vector<Ipp8u>(processed.first, processed.first + 4), expected);
  const auto out = run.harness.Frames();
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0]->Format(), vfRGB24);
  EXPECT_EQ(BytesOf(*out[0]), Inverted(frame));  // the plug-in's fourth byte is dropped
}

TEST(FreeFrameHost, FrameCopyWithTwoInputsPadsTheSmallerFrameWithBlack) {
  TRecorder recorder(FC_PLUGIN_ff_blend2);
  TFCFreeFrame host(nullptr);
  host.SetFilterFileName(FC_PLUGIN_ff_blend2);
  ASSERT_EQ(host.InputCount(), 2);  // pins made for the plug-in's inputs
  EXPECT_EQ(host.MinimumInputs(), 2u);
  TMultiRun run(host);
  const TFCImageBuffer a = TwoRowFrame(4, 2), b = CountingFrame(3, 3, vfRGB24, 100);
  run[0].PushStart(4, 2);
  run[1].PushStart(3, 3);
  EXPECT_EQ(run.Output().LastStart()->Width(), 4);
  EXPECT_EQ(run.Output().LastStart()->Height(), 3);
  run[0].PushFrame(a);
  run[1].PushFrame(b);
  const auto out = run.Output().Frames();
  ASSERT_EQ(out.size(), 1u);
  ASSERT_EQ(out[0]->Width(), 4);
  ASSERT_EQ(out[0]->Height(), 3);
  EXPECT_EQ(recorder.CallsOf(FC_FF_PROCESS_FRAME_COPY).at(0).count, 2u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      for (int c = 0; c < 3; ++c) {
        const int av = y < 2 ? a.Read()[(y * 4 + x) * 3 + c] : 0;
        const int bv = x < 3 ? b.Read()[(y * 3 + x) * 3 + c] : 0;
        EXPECT_EQ(out[0]->Read()[(y * 4 + x) * 3 + c], (av + bv) / 2) << x << "," << y << "," << c;
      }
  run[0].PushStop();
  run[1].PushStop();
  host.BeforeDestruction();
}

TEST(FreeFrameHost, ZeroInputCountsMeanOneInputAndACopyPreferenceUsesFrameCopy) {
  TRecorder recorder(FC_PLUGIN_ff_copy_no_counts);
  THostRun run(FC_PLUGIN_ff_copy_no_counts);
  EXPECT_EQ(run.host.MinimumInputs(), 1u);
  EXPECT_EQ(run.host.MaximumInputs(), 1u);
  EXPECT_EQ(run.host.VC_OptimizedFor(), 2);
  const TFCImageBuffer frame = TwoRowFrame(3, 2);
  run.harness.PushStart(3, 2);
  run.harness.PushFrame(frame);
  run.harness.PushStop();
  EXPECT_TRUE(recorder.CallsOf(FC_FF_PROCESS_FRAME).empty());
  EXPECT_EQ(recorder.CallsOf(FC_FF_PROCESS_FRAME_COPY).at(0).count, 1u);
  EXPECT_EQ(BytesOf(*run.harness.Frames().at(0)), BytesOf(frame));  // the average of one frame
}

// Plug-ins the host cannot use: frames pass unchanged, the failure is
// reported once per stream, and nothing stays loaded.
void ExpectPassingUnchanged(const char* plugin) {
  THostRun run(plugin);
  int reports = 0;
  run.host.SetOnError([&](const TFCFailure&) { ++reports; });
  const TFCImageBuffer frame = TwoRowFrame(5, 3);
  run.harness.PushStart(5, 3);
  run.harness.PushFrame(frame);
  run.harness.PushFrame(frame);
  run.harness.PushStop();
  const auto out = run.harness.Frames();
  ASSERT_EQ(out.size(), 2u) << plugin;
  EXPECT_EQ(BytesOf(*out[1]), BytesOf(frame)) << plugin;
  EXPECT_EQ(reports, 1) << plugin;
  EXPECT_FALSE(Mapped(plugin)) << plugin;
}

TEST(FreeFrameHost, UnusablePlugInsLeaveFramesPassingUnchanged) {
  for (const char* plugin : {FC_PLUGIN_ff_no_entry, FC_PLUGIN_ff_fail_initialise, FC_PLUGIN_ff_fail_instantiate,
                             FC_PLUGIN_ff_fail_all, "/no/such/plugin.so"})
    ExpectPassingUnchanged(plugin);
}

TEST(FreeFrameHost, APlugInFailingFramesPassesThemUnchanged) {
  THostRun run(FC_PLUGIN_ff_fail_frames);
  const TFCImageBuffer frame = TwoRowFrame(4, 4);
  run.harness.PushStart(4, 4);
  run.harness.PushFrame(frame);
  run.harness.PushFrame(frame);
  ASSERT_EQ(run.harness.Frames().size(), 2u);
  EXPECT_EQ(BytesOf(*run.harness.Frames()[1]), BytesOf(frame));
  EXPECT_GE(run.host.ErrorCount(), 1);
  run.harness.PushStop();
}

TEST(FreeFrameHost, ReasonsForRefusingAPlugIn) {
  TFCFreeFrame host(nullptr);
  host.SetFilterFileName(FC_PLUGIN_ff_no_entry);
  EXPECT_FALSE(host.IsLoaded());
  EXPECT_NE(host.LoadError().find("plugMain"), std::string::npos);
  host.SetFilterFileName(FC_PLUGIN_ff_fail_all);
  EXPECT_NE(host.LoadError().find("bit depth"), std::string::npos);
  host.SetFilterFileName(FC_PLUGIN_ff_fail_initialise);
  EXPECT_NE(host.LoadError().find("initialise"), std::string::npos);
}

TEST(FreeFrameHost, IsValidPlugInLoadsAndReleasesAtOnce) {
  EXPECT_TRUE(TFCFreeFrame::IsValidPlugIn(FC_PLUGIN_ff_inplace24));
  EXPECT_FALSE(TFCFreeFrame::IsValidPlugIn(FC_PLUGIN_ff_no_entry));
  EXPECT_FALSE(TFCFreeFrame::IsValidPlugIn("/no/such/plugin.so"));
  EXPECT_FALSE(Mapped(FC_PLUGIN_ff_inplace24));
  EXPECT_FALSE(Mapped(FC_PLUGIN_ff_no_entry));
}

TEST(FreeFrameHost, TheStopUnloadsThePlugIn) {
  THostRun run(FC_PLUGIN_ff_inplace24);
  EXPECT_TRUE(Mapped(FC_PLUGIN_ff_inplace24));
  run.harness.PushStart(2, 2);
  run.harness.PushFrame(TwoRowFrame(2, 2));
  run.harness.PushStop();
  EXPECT_FALSE(Mapped(FC_PLUGIN_ff_inplace24));
}

}  // namespace
}  // namespace fc::test
