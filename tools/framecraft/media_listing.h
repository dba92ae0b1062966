// media_listing.h - what the tool shows of media: the codecs, and the
// recordings of the file loggers in a pipeline.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "media/Fcdscommonlogger.h"

namespace fc::tool {

/// One line per known four-character code: code, encoder, decoder.
void PrintCodecs(std::ostream& out);

/// The file loggers among `root` and the components it owns.
std::vector<TFCDSCommonLogger*> FindLoggers(TComponent& root);

/// "Logger1 1234 frames 567890 bytes" for each logger, joined by ", ".
std::string RecordingProgress(const std::vector<TFCDSCommonLogger*>& loggers);

/// "Logger1: 300 frames, 1234567 bytes written to out.wmv" per logger.
void PrintRecordings(const std::vector<TFCDSCommonLogger*>& loggers, std::ostream& out);

}  // namespace fc::tool
