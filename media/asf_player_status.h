// asf_player_status.h - the statuses a player passes on to its
// OnPlayerStatus handler, one per status of its reader, of the same name.
#pragma once

#include "platform/media/reader_types.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

namespace fc {

enum TFCASFPlayerStatus {
  apsError,
  apsOpened,
  apsBufferingStarted,
  apsBufferingStopped,
  apsEndOfFile,
  apsEndOfSegment,
  apsEndOfStreaming,
  apsLocating,
  apsConnecting,
  apsMissingCodec,
  apsStarted,
  apsStopped,
  apsClosed,
  apsStriding,
  apsTimer,
  apsIndexProgress,
  apsSaveAsStart,
  apsSaveAsStop,
  apsNewSourceFlags,
  apsNewMetaData,
  apsSourceSwitch,
  apsErrorWithUrl,
  apsClientConnect,
  apsClientDisconnect,
  apsNativeOutputPropsChanged,
  apsReconnectStart,
  apsReconnectEnd,
  apsClientConnectEx,
  apsClientDisconnectEx,
  apsSetFECSpan,
  apsPrerollReady,
  apsPrerollComplete,
  apsClientProperties,
};

/// The identifiers of TFCASFPlayerStatus ("apsError" ...).
FC_COMPONENTS_API const TEnumInfo& ASFPlayerStatusInfo();

/// The player status of the same name as a reader status.
FC_COMPONENTS_API TFCASFPlayerStatus PlayerStatusOf(media::TReaderStatus status);

}  // namespace fc
