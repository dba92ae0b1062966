// asf_player_status.cpp - player statuses and their names.
#include "media/asf_player_status.h"

namespace fc {

// Both lists run in the same order, so a reader status converts by value.
static_assert(static_cast<int>(apsClientProperties) == static_cast<int>(media::rsClientProperties));
static_assert(static_cast<int>(apsMissingCodec) == static_cast<int>(media::rsMissingCodec));
static_assert(static_cast<int>(apsNewMetaData) == static_cast<int>(media::rsNewMetaData));

const TEnumInfo& ASFPlayerStatusInfo() {
  static const TEnumInfo info(
      "TFCASFPlayerStatus",
      {"apsError", "apsOpened", "apsBufferingStarted", "apsBufferingStopped", "apsEndOfFile", "apsEndOfSegment",
       "apsEndOfStreaming", "apsLocating", "apsConnecting", "apsMissingCodec", "apsStarted", "apsStopped",
       "apsClosed", "apsStriding", "apsTimer", "apsIndexProgress", "apsSaveAsStart", "apsSaveAsStop",
       "apsNewSourceFlags", "apsNewMetaData", "apsSourceSwitch", "apsErrorWithUrl", "apsClientConnect",
       "apsClientDisconnect", "apsNativeOutputPropsChanged", "apsReconnectStart", "apsReconnectEnd",
       "apsClientConnectEx", "apsClientDisconnectEx", "apsSetFECSpan", "apsPrerollReady", "apsPrerollComplete",
       "apsClientProperties"});
  return info;
}

TFCASFPlayerStatus PlayerStatusOf(media::TReaderStatus status) { return static_cast<TFCASFPlayerStatus>(status); }

}  // namespace fc
