#include "platform/media/device_selection.h"

#include <algorithm>

#include "platform/media/audio_output.h"

namespace fc::media {

const TClassInfo& TDSDevice::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TDSDevice>("TDSDevice", &TPersistent::StaticClassInfo())
                                     .Property("DeviceName", &TDSDevice::GetDeviceName,
                                               &TDSDevice::SetDeviceName, std::string())
                                     .Build();
  return info;
}

std::string TDSDevice::GetDeviceName() const {
  std::lock_guard guard(mutex_);
  return deviceName_;
}

void TDSDevice::SetDeviceName(std::string name) {
  {
    std::lock_guard guard(mutex_);
    if (name == deviceName_) return;
    deviceName_ = std::move(name);
  }
  Changed();
}

void TDSDevice::Changed() const {
  if (changed_) changed_();
}

const TClassInfo& TDSDeviceItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TDSDeviceItem>("TDSDeviceItem", &TCollectionItem::StaticClassInfo())
          .Property("DeviceName", &TDSDeviceItem::GetDeviceName, &TDSDeviceItem::SetDeviceName, std::string())
          .Build();
  return info;
}

std::string TDSDeviceItem::GetDeviceName() const {
  std::lock_guard guard(mutex_);
  return deviceName_;
}

void TDSDeviceItem::SetDeviceName(std::string name) {
  std::lock_guard guard(mutex_);
  deviceName_ = std::move(name);
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TDSVideoOutputDeviceItem, TDSDeviceItem)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TDSVideoOutputDeviceItems, TCollection)

const TClassInfo& TDSVideoOutputDevice::StaticClassInfo() {
  using D = TDSVideoOutputDevice;
  static const TClassInfo info = TClassBuilder<D>("TDSVideoOutputDevice", &TDSDevice::StaticClassInfo())
                                     .Collection("AlternativeDevices", &D::GetAlternativeDevices)
                                     .Property("Target", &D::GetTarget, &D::SetTarget, std::string())
                                     .Build();
  return info;
}

std::string TDSVideoOutputDevice::GetTarget() const {
  std::lock_guard guard(targetMutex_);
  return target_;
}

void TDSVideoOutputDevice::SetTarget(std::string target) {
  {
    std::lock_guard guard(targetMutex_);
    if (target == target_) return;
    target_ = std::move(target);
  }
  Changed();
}

std::optional<std::string> TDSVideoOutputDevice::FindPresent(const std::vector<std::string>& present) const {
  auto isPresent = [&](const std::string& name) {
    return !name.empty() && std::find(present.begin(), present.end(), name) != present.end();
  };
  if (std::string name = GetDeviceName(); isPresent(name)) return name;
  for (int i = 0; i < alternatives_.Count(); ++i)
    if (std::string name = alternatives_.Items(i).GetDeviceName(); isPresent(name)) return name;
  return std::nullopt;
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TDSAudioOutputDevice, TDSDevice)

bool TDSAudioOutputDevice::IsNone() const { return GetDeviceName() == kNoAudioDevice; }

bool TDSAudioOutputDevice::IsDefault() const {
  const std::string name = GetDeviceName();
  return name.empty() || name == kDefaultAudioDevice;
}

}  // namespace fc::media
