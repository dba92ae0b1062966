// state_pins.h - pins that carry a value or a clock rather than a stream.
//
// A state pin holds a value. `SetValue` stores a new value and publishes it
// to the connected pins; a value arriving from the connected source is stored,
// reported to the change handler, and passed on to our own sinks. A value
// equal to the one held is neither reported nor passed on, so state pins
// connected both ways do not echo. A sink connected to a state pin receives
// the current value at once. A component's setter calls SetValue after it
// stores a new value; its constructor calls it once with the start value.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <utility>

#include "contracts/pins/pin.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Media type names of the state pins; a value pin accepts a source of its
/// own media type.
inline constexpr std::string_view kFloatMedia = "Float";
inline constexpr std::string_view kBoolMedia = "Bool";
inline constexpr std::string_view kStringMedia = "String";
inline constexpr std::string_view kClockMedia = "Clock";

/// A pin holding a value of type T that it sends and receives.
template <class T>
class FC_COMPONENTS_API TPMStatePin : public TPMPin {
public:
  using Handler = std::function<void(TPMStatePin&, const T&)>;

  TPMStatePin(TComponent* owner, std::string name, std::string_view media, Handler onChange = {},
              T start = T())
      : TPMPin(owner, std::move(name)), media_(media), onChange_(std::move(onChange)),
        value_(std::move(start)) {}
  ~TPMStatePin() override { Retire(); }

  bool CanSend() const override { return true; }
  bool CanReceive() const override { return true; }
  std::string_view MediaType() const override { return media_; }

  T Value() const {
    std::lock_guard guard(mutex_);
    return value_;
  }
  /// Stores and publishes `value` unless it equals the value held (a first
  /// call always publishes).
  void SetValue(const T& value) {
    if (Store(value)) SendDownstream(MakeOperation<TPMStateValueOperation<T>>(value));
  }

protected:
  bool ReceiveFromUpstream(const TPMOperation& operation) override {
    const auto* v = operation->As<TPMStateValueOperation<T>>();
    if (!v || !Store(v->Value())) return false;
    if (onChange_) onChange_(*this, v->Value());
    SendDownstream(operation);
    return true;
  }
  void SinkConnected(TPMPin& sink) override {
    {
      std::lock_guard guard(mutex_);
      if (!published_) return;
    }
    SendToSink(sink, MakeOperation<TPMStateValueOperation<T>>(Value()));
  }

private:
  // Stores the value; false when it equals the held, published one.
  bool Store(const T& value) {
    std::lock_guard guard(mutex_);
    if (published_ && value == value_) return false;
    value_ = value;
    published_ = true;
    return true;
  }

  std::string_view media_;
  Handler onChange_;
  mutable std::mutex mutex_;
  T value_;
  bool published_ = false;
};

/// Floating-point state, for example the five values of an image adjuster.
class FC_COMPONENTS_API TPMFloatStatePin : public TPMStatePin<float> {
  FC_DECLARE_CLASS_INFO()
public:
  TPMFloatStatePin(TComponent* owner, std::string name, Handler onChange = {}, float start = 0)
      : TPMStatePin(owner, std::move(name), kFloatMedia, std::move(onChange), start) {}
};

/// Boolean state, for example an enable switch.
class FC_COMPONENTS_API TPMBoolStatePin : public TPMStatePin<bool> {
  FC_DECLARE_CLASS_INFO()
public:
  TPMBoolStatePin(TComponent* owner, std::string name, Handler onChange = {}, bool start = false)
      : TPMStatePin(owner, std::move(name), kBoolMedia, std::move(onChange), start) {}
};

/// String state; the source for string sink pins.
class FC_COMPONENTS_API TPMStringStatePin : public TPMStatePin<std::string> {
  FC_DECLARE_CLASS_INFO()
public:
  TPMStringStatePin(TComponent* owner, std::string name, Handler onChange = {}, std::string start = {})
      : TPMStatePin(owner, std::move(name), kStringMedia, std::move(onChange), std::move(start)) {}
};

/// A pin that only receives values of type T and reports each change.
template <class T>
class FC_COMPONENTS_API TPMValueSinkPin : public TPMPin {
public:
  using Handler = std::function<void(TPMValueSinkPin&, const T&)>;

  TPMValueSinkPin(TComponent* owner, std::string name, std::string_view media, Handler onChange)
      : TPMPin(owner, std::move(name)), media_(media), onChange_(std::move(onChange)) {}
  ~TPMValueSinkPin() override { Retire(); }

  bool CanReceive() const override { return true; }
  std::string_view MediaType() const override { return media_; }

protected:
  bool ReceiveFromUpstream(const TPMOperation& operation) override {
    const auto* v = operation->As<TPMStateValueOperation<T>>();
    if (!v) return false;
    if (onChange_) onChange_(*this, v->Value());
    return true;
  }

private:
  std::string_view media_;
  Handler onChange_;
};

/// Receives booleans (for example a switch's EnabledPin).
class FC_COMPONENTS_API TPMBoolSinkPin : public TPMValueSinkPin<bool> {
  FC_DECLARE_CLASS_INFO()
public:
  TPMBoolSinkPin(TComponent* owner, std::string name, Handler onChange)
      : TPMValueSinkPin(owner, std::move(name), kBoolMedia, std::move(onChange)) {}
};

/// Receives strings.
class FC_COMPONENTS_API TPMStringSinkPin : public TPMValueSinkPin<std::string> {
  FC_DECLARE_CLASS_INFO()
public:
  TPMStringSinkPin(TComponent* owner, std::string name, Handler onChange)
      : TPMValueSinkPin(owner, std::move(name), kStringMedia, std::move(onChange)) {}
};

/// Sends clock ticks to clock sink pins.
class FC_COMPONENTS_API TPMClockSourcePin : public TPMPin {
  FC_DECLARE_CLASS_INFO()
public:
  TPMClockSourcePin(TComponent* owner, std::string name) : TPMPin(owner, std::move(name)) {}
  bool CanSend() const override { return true; }
  std::string_view MediaType() const override { return kClockMedia; }
  /// Sends one tick to every connected clock sink.
  void Tick() { SendDownstream(MakeOperation<TPMClockOperation>()); }
};

/// Calls its handler once per clock tick (for example a snapshot trigger or a
/// generator paced by a clock).
class FC_COMPONENTS_API TPMClockSinkPin : public TPMPin {
  FC_DECLARE_CLASS_INFO()
public:
  using Handler = std::function<void(TPMClockSinkPin&)>;

  TPMClockSinkPin(TComponent* owner, std::string name, Handler onTick)
      : TPMPin(owner, std::move(name)), onTick_(std::move(onTick)) {}
  ~TPMClockSinkPin() override { Retire(); }

  bool CanReceive() const override { return true; }
  std::string_view MediaType() const override { return kClockMedia; }

protected:
  bool ReceiveFromUpstream(const TPMOperation& operation) override;

private:
  Handler onTick_;
};

}  // namespace fc
