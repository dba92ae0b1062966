#include "media/Fcasflogger.h"

#include <cerrno>

namespace fc {

const TClassInfo& TFCASFLogger::StaticClassInfo() {
  using L = TFCASFLogger;
  static const TClassInfo info =
      TClassBuilder<L>("TFCASFLogger", &TFCDSCommonLogger::StaticClassInfo())
          .Property("FrameIndexing", &L::GetFrameIndexing, &L::SetFrameIndexing, kFrameIndexingDefault)
          .Object("Profile", &L::GetProfile)
          .Build();
  return info;
}

TFCASFLogger::TFCASFLogger(TComponent* owner) : TFCDSCommonLogger(owner), profile_(this, "Profile", *this) {}

TFCASFLogger::~TFCASFLogger() { RetireAndFinish(); }

bool TFCASFLogger::GetFrameIndexing() const {
  auto section = ReadLock();
  return frameIndexing_;
}

void TFCASFLogger::SetFrameIndexing(bool indexing) {
  auto section = WriteLock();
  frameIndexing_ = indexing;
}

// Empties the graph, so nothing runs, and reports (which may raise).
bool TFCASFLogger::Fail(const std::string& message, int code) {
  TearDown();
  GetGraph()->Error(message, code);
  return false;
}

bool TFCASFLogger::BuildGraph() {
  TDSGraph& graph = *GetGraph();
  const TFCVideoFormat format = RecordedFormat();
  const media::TWriterVideoSettings video = profile_.VideoSettings(FrameWidth(), FrameHeight(), format, FrameRate());
  const TTBWaveFormatExtensible& wave = AudioFormat();
  const media::TWriterAudioSettings audio =
      profile_.AudioSettings(wave.channels, static_cast<int>(wave.samplesPerSecond), wave.bitsPerSample);
  graph.Create();

  auto* writer = static_cast<TDSWriterStage*>(graph.AddStage(std::make_unique<TDSWriterStage>("ASF Writer")));
  if (!writer) return Fail("Can't create ASF writer.", media::SystemErrorCode(EINVAL));
  if (media::TMediaStatus status = writer->Writer().Create(profile_.GetContainer(), CurrentFileName()); !status)
    return Fail("Can't create ASF writer.", status.code);
  if (media::TMediaStatus status = writer->Writer().OpenFile(); !status)
    return Fail("Can't create file : " + CurrentFileName() + " .", status.code);
  if (media::TMediaStatus status =
          media::TMediaWriter::CheckEncoders(video.codec, AudioPresent() ? audio.codec : std::string());
      !status)
    return Fail("Can't configure ASF writer.", status.code);
  if (GetFrameIndexing() && !writer->Writer().SetIndexing(true))
    graph.Warning("Can't set frame indexing.", media::SystemErrorCode(ESPIPE));

  if (AudioPresent()) {
    auto* source = static_cast<TDSAudioSourceFilter*>(
        graph.AddStage(std::make_unique<TDSAudioSourceFilter>("AudioSource", wave)));
    if (!source) return Fail("Can't set audio source filter.", media::SystemErrorCode(EINVAL));
    if (media::TMediaStatus status = writer->Writer().AddAudioStream(audio); !status)
      return Fail("Can't render audio output.", status.code);
    source->Connect(writer);
  }

  auto* source = static_cast<TDSVideoSourceFilter*>(
      graph.AddStage(std::make_unique<TDSVideoSourceFilter>("VideoSource", format, FrameWidth(), FrameHeight())));
  if (!source) return Fail("Can't set video source filter.", media::SystemErrorCode(EINVAL));
  if (media::TMediaStatus status = writer->Writer().AddVideoStream(video); !status)
    return Fail("Can't render video output.", status.code);
  source->Connect(writer);

  graph.Notify();
  if (media::TMediaStatus status = graph.Run(); !status) return Fail("Can't start logger.", status.code);
  return true;
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcasflogger, TFCASFLogger)
