// device_selection.h - the published objects that select an output device by
// name: a video output (transmit) device with alternatives, and an audio
// output device.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/collection.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/persistent.h"

namespace fc::media {

/// A device chosen by name (`DeviceName`, empty: none selected). The owner
/// is told after the name changes, on the setter's thread. Thread-safe.
class FC_COMPONENTS_API TDSDevice : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TDSDevice(TPersistent* owner, std::string propertyName, std::function<void()> changed = {})
      : TOwnedPersistent(owner, std::move(propertyName)), changed_(std::move(changed)) {}

  std::string GetDeviceName() const;
  void SetDeviceName(std::string name);

protected:
  // Tells the owner that a setting changed.
  void Changed() const;

private:
  mutable std::mutex mutex_;
  std::string deviceName_;
  std::function<void()> changed_;
};

/// One alternative device, by name.
class FC_COMPONENTS_API TDSDeviceItem : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
public:
  using TCollectionItem::TCollectionItem;
  std::string GetDeviceName() const;
  void SetDeviceName(std::string name);

private:
  mutable std::mutex mutex_;
  std::string deviceName_;
};

class FC_COMPONENTS_API TDSVideoOutputDeviceItem : public TDSDeviceItem {
  FC_DECLARE_CLASS_INFO()
public:
  using TDSDeviceItem::TDSDeviceItem;
};

/// The alternatives of a video output device, tried in order. Add and
/// remove items while no stream runs.
class FC_COMPONENTS_API TDSVideoOutputDeviceItems : public TTypedCollection<TDSVideoOutputDeviceItem> {
  FC_DECLARE_CLASS_INFO()
public:
  using TTypedCollection::TTypedCollection;
};

/// The transmit device a video output sends to (output_devices.h names
/// them): `DeviceName`, then `AlternativeDevices` tried in order when it is
/// not present; `Target` is the file or named pipe of a device that writes
/// a stream ("DV Stream").
class FC_COMPONENTS_API TDSVideoOutputDevice : public TDSDevice {
  FC_DECLARE_CLASS_INFO()
public:
  TDSVideoOutputDevice(TPersistent* owner, std::string propertyName, std::function<void()> changed = {})
      : TDSDevice(owner, propertyName, std::move(changed)), alternatives_(this, "AlternativeDevices") {}

  TDSVideoOutputDeviceItems* GetAlternativeDevices() { return &alternatives_; }
  std::string GetTarget() const;
  void SetTarget(std::string target);

  /// The first of the device and its alternatives that is among `present`;
  /// nothing when none is (or none is selected).
  std::optional<std::string> FindPresent(const std::vector<std::string>& present) const;

private:
  TDSVideoOutputDeviceItems alternatives_;
  mutable std::mutex targetMutex_;
  std::string target_;
};

/// The sound device audio goes to: "default", "none" or a device name of
/// audio_output.h; none selected (empty) counts as "default".
class FC_COMPONENTS_API TDSAudioOutputDevice : public TDSDevice {
  FC_DECLARE_CLASS_INFO()
public:
  using TDSDevice::TDSDevice;
  bool IsNone() const;
  bool IsDefault() const;
};

}  // namespace fc::media
