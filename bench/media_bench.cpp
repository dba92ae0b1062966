// Recording 1920x1080 frames of noise on the Jaehne pattern through the
// file logger (WMV2 in ASF, MJPG in AVI), beside the ffmpeg command encoding
// the same frames read from a pipe as raw three-byte pixels with the same
// encoder and its default threads. One iteration records 25 frames from
// start to finished file. Rates are pixels per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "dispatch/primitives.h"
#include "media/Fcasflogger.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080, kFramesPerRun = 25;
constexpr std::int64_t kFramePixels = std::int64_t{kWidth} * kHeight;

std::vector<TFCImageBuffer> Frames() {
  std::vector<TFCImageBuffer> frames;
  std::mt19937 rng(7);
  for (int i = 0; i < 4; ++i) {
    TFCImageBuffer frame(kWidth, kHeight);
    ippiImageJaehne_8u_C3R(frame.Write(), frame.Step(), frame.SizeRecord());
    Ipp8u* bytes = frame.Modify();
    for (std::size_t p = 0; p < frame.Size(); p += 7) bytes[p] = static_cast<Ipp8u>(bytes[p] + (rng() & 31));
    frames.push_back(frame);
  }
  return frames;
}

std::string OutputFile(const char* extension) {
  return (std::filesystem::temp_directory_path() / ("framecraft-bench." + std::string(extension))).string();
}

void Logger(benchmark::State& state, const char* codec, const char* container, const char* extension) {
  const auto frames = Frames();
  TFCASFLogger logger(nullptr);
  logger.SetFileName(OutputFile(extension));
  logger.GetProfile()->SetVideoCodec(codec);
  logger.GetProfile()->SetContainer(container);
  logger.GetProfile()->SetVideoBitRate(8'000'000);
  test::TComponentHarness harness;
  harness.Feed(*logger.GetInputPin());
  for (auto _ : state) {
    harness.PushStart(kWidth, kHeight, 25);
    for (int i = 0; i < kFramesPerRun; ++i) harness.PushFrame(frames[i % frames.size()]);
    harness.PushStop();
  }
  state.SetItemsProcessed(state.iterations() * kFramesPerRun * kFramePixels);
  std::filesystem::remove(OutputFile(extension));
}

void Command(benchmark::State& state, const char* encoder, const char* container, const char* extension) {
  const auto frames = Frames();
  const std::string command = "ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s 1920x1080 -r 25 -i - -c:v " +
                              std::string(encoder) + " -b:v 8M -f " + container + " " + OutputFile(extension);
  for (auto _ : state) {
    FILE* pipe = popen(command.c_str(), "w");
    if (!pipe) {
      state.SkipWithError("the ffmpeg command does not start");
      return;
    }
    for (int i = 0; i < kFramesPerRun; ++i) fwrite(frames[i % frames.size()].Read(), 1, frames[0].Size(), pipe);
    if (pclose(pipe) != 0) {
      state.SkipWithError("the ffmpeg command failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kFramesPerRun * kFramePixels);
  std::filesystem::remove(OutputFile(extension));
}

void RecordWmv2Framecraft(benchmark::State& state) { Logger(state, "WMV2", "asf", "wmv"); }
void RecordWmv2Ffmpeg(benchmark::State& state) { Command(state, "wmv2", "asf", "wmv"); }
void RecordMjpgFramecraft(benchmark::State& state) { Logger(state, "MJPG", "avi", "avi"); }
void RecordMjpgFfmpeg(benchmark::State& state) { Command(state, "mjpeg", "avi", "avi"); }

BENCHMARK(RecordWmv2Framecraft)->Name("RecordWMV2/framecraft")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RecordWmv2Ffmpeg)->Name("RecordWMV2/ffmpeg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RecordMjpgFramecraft)->Name("RecordMJPG/framecraft")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RecordMjpgFfmpeg)->Name("RecordMJPG/ffmpeg")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
