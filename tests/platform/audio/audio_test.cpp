// Wave format records, audio buffers and audio pins.
#include <gtest/gtest.h>

#include <vector>

#include "platform/audio/audio_pins.h"
#include "platform/runtime/error.h"

namespace fc {
namespace {

TEST(WaveFormat, PcmRecordFollowsChannelsRateAndDepth) {
  const TTBWaveFormatExtensible stereo = MakePcmWaveFormat(2, 44100, 16);
  EXPECT_EQ(stereo.formatTag, 0xFFFE);
  EXPECT_EQ(stereo.blockAlign, 4);
  EXPECT_EQ(stereo.averageBytesPerSecond, 176400u);
  EXPECT_EQ(stereo.extensionSize, 22);
  EXPECT_EQ(stereo.validBitsPerSample, 16);
  EXPECT_EQ(stereo.channelMask, 0x3u);
  EXPECT_EQ(stereo.subFormat, kPcmSubFormat);
  EXPECT_EQ(MakePcmWaveFormat(6, 48000, 24).channelMask, 0x3Fu);
  EXPECT_EQ(MakePcmWaveFormat(32, 8000, 8).channelMask, 0xFFFFFFFFu);  // no shift past 31
}

TEST(WaveFormat, RefusesWhatNoRecordCanHold) {
  EXPECT_THROW(MakePcmWaveFormat(0, 44100, 16), EFCError);
  EXPECT_THROW(MakePcmWaveFormat(33, 44100, 16), EFCError);
  EXPECT_THROW(MakePcmWaveFormat(2, 44100, 12), EFCError);
  EXPECT_THROW(MakePcmWaveFormat(2, 0, 16), EFCError);
  EXPECT_THROW(MakePcmWaveFormat(32, 0xFFFFFFFFu, 32), EFCError);  // byte rate overflows
}

TEST(AudioBuffer, StartsSilentAndFillsWholeSampleFrames) {
  TTBAudioBuffer unsigned8(3, 1, 8, 8000);
  EXPECT_EQ(std::vector<std::uint8_t>(unsigned8.Bytes().begin(), unsigned8.Bytes().end()),
            (std::vector<std::uint8_t>{128, 128, 128}));
  TTBAudioBuffer stereo(2, 2, 16, 44100);
  EXPECT_EQ(stereo.BlockAlign(), 4);
  const std::vector<std::uint8_t> six = {1, 2, 3, 4, 5, 6};  // one and a half frames
  stereo.Fill(six);
  EXPECT_EQ(std::vector<std::uint8_t>(stereo.Bytes().begin(), stereo.Bytes().end()),
            (std::vector<std::uint8_t>{1, 2, 3, 4, 0, 0, 0, 0}));
  EXPECT_THROW(TTBAudioBuffer(-1, 2, 16, 44100), EFCError);
  EXPECT_THROW(TTBAudioBuffer(std::int64_t{1} << 40, 2, 16, 44100), EFCError);
}

struct TAudioRecorder : TComponent, IPMPinDispatcher {
  TAudioRecorder() : TComponent(nullptr), output(this, *this), input(this, *this) {}
  ~TAudioRecorder() override {
    output.Retire();
    input.Retire();
  }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation& op) override {
    received.push_back(op);
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }
  TTBAudioSourcePin output;
  TTBAudioSinkPin input;
  std::vector<TPMOperation> received;
};

TEST(AudioPins, CarryTheStartWaveAndBlocksWithTheirTimes) {
  TAudioRecorder a, b;
  a.output.Connect(b.input);
  a.output.SendStartWave(MakePcmWaveFormat(1, 22050, 16), 400000);
  auto block = std::make_shared<TTBAudioBuffer>(4, 1, 16, 22050);
  block->SetTimeStamps({10, 20, true});
  a.output.SendAudio(block);
  a.output.SendStop();
  ASSERT_EQ(b.received.size(), 3u);
  const auto* start = b.received[0]->As<TTBStartWaveOperation>();
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(b.received[0]->Is<TPMStartSampleRateOperation>());
  EXPECT_EQ(start->SampleRate(), 22050);
  EXPECT_EQ(start->Period(), 400000);
  EXPECT_EQ(AudioOf(b.received[1])->TimeStamps(), (TPMTimeStamps{10, 20, true}));
  EXPECT_TRUE(b.received[2]->Is<TPMStopOperation>());
  EXPECT_EQ(AudioOf(b.received[2]), nullptr);
}

}  // namespace
}  // namespace fc
