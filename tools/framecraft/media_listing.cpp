#include "tools/framecraft/media_listing.h"

#include <cstdio>

#include "platform/media/codec_manager.h"

namespace fc::tool {

void PrintCodecs(std::ostream& out) {
  char line[128];
  std::snprintf(line, sizeof line, "%-6s %-16s %s\n", "code", "encoder", "decoder");
  out << line;
  for (const media::TCodecDescription& codec : media::InstalledCodecs()) {
    std::snprintf(line, sizeof line, "%-6s %-16s %s\n", codec.fourCC.c_str(),
                  codec.encoder.empty() ? "-" : codec.encoder.c_str(),
                  codec.decoder.empty() ? "-" : codec.decoder.c_str());
    out << line;
  }
}

namespace {

void Collect(TComponent& component, std::vector<TFCDSCommonLogger*>& out) {
  if (auto* logger = dynamic_cast<TFCDSCommonLogger*>(&component)) out.push_back(logger);
  for (int i = 0; i < component.ComponentCount(); ++i) Collect(*component.Components(i), out);
}

std::string FileList(const std::vector<std::string>& files) {
  std::string text;
  for (const std::string& file : files) text += (text.empty() ? "" : ", ") + file;
  return text.empty() ? "no file" : text;
}

}  // namespace

std::vector<TFCDSCommonLogger*> FindLoggers(TComponent& root) {
  std::vector<TFCDSCommonLogger*> loggers;
  Collect(root, loggers);
  return loggers;
}

std::string RecordingProgress(const std::vector<TFCDSCommonLogger*>& loggers) {
  std::string text;
  for (TFCDSCommonLogger* logger : loggers)
    text += (text.empty() ? "" : ", ") + logger->NamePath() + " " + std::to_string(logger->FramesWritten()) +
            " frames " + std::to_string(logger->BytesWritten()) + " bytes";
  return text;
}

void PrintRecordings(const std::vector<TFCDSCommonLogger*>& loggers, std::ostream& out) {
  for (TFCDSCommonLogger* logger : loggers)
    out << logger->NamePath() << ": " << logger->FramesWritten() << " frames, " << logger->BytesWritten()
        << " bytes written to " << FileList(logger->Files()) << '\n';
}

}  // namespace fc::tool
