// pin.h - pins and their connections.
//
// A connection runs from a pin that sends (a source) to a pin that receives
// (a sink). A source fans out to any number of sinks and delivers to them in
// the order they were connected; a sink has at most one source, and
// connecting it to another source replaces the first. Operations travel
// downstream (source to sinks) synchronously on the sender's thread;
// requests (pumps, queries) travel upstream (sink to its source).
// Connecting and disconnecting is thread-safe, also while a stream runs: a
// send delivers to the sinks connected when it began. Destroying a pin
// disconnects it and waits until deliveries to it that are in flight on
// other threads have returned.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/pins/operations.h"
#include "platform/runtime/component.h"
#include "platform/runtime/components_api.h"

namespace fc {

class TPMSinkPin;
class TPMSourcePin;

namespace detail {
struct PinEndpoint;
using SinkList = std::vector<std::shared_ptr<PinEndpoint>>;
}  // namespace detail

/// What a component implements to receive what arrives at its pins.
class FC_COMPONENTS_API IPMPinDispatcher {
public:
  /// An operation from upstream arrived at one of our sink pins. The result
  /// is the component's answer (true: handled or sent on).
  virtual bool SinkDispatch(TPMSinkPin& pin, const TPMOperation& operation) = 0;
  /// A request from downstream (pump, query) arrived at one of our source
  /// pins.
  virtual bool SourceDispatch(TPMSourcePin& pin, const TPMOperation& operation) = 0;

protected:
  ~IPMPinDispatcher() = default;
};

/// A connection point of a component. Pins are published as properties of
/// their component and named; their connections are stored with the source
/// pin in form files.
class FC_COMPONENTS_API TPMPin : public TPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TPMPin(TComponent* owner, std::string name);
  ~TPMPin() override;

  TComponent* Owner() const { return owner_; }
  std::string Name() const;
  void SetName(std::string name);
  /// "Owner.PinName".
  std::string NamePath() const override;

  /// Whether the pin sends downstream, receives from upstream, or both
  /// (state pins).
  virtual bool CanSend() const { return false; }
  virtual bool CanReceive() const { return false; }
  /// The kind of data it carries ("Image", "Real", "Float", "Bool" ...).
  virtual std::string_view MediaType() const = 0;
  /// Whether this pin, as a sink, may be connected to `source`. By default
  /// the media types must match.
  virtual bool Accepts(const TPMPin& source) const { return source.MediaType() == MediaType(); }

  /// Connects this pin (the source) to `sink`; throws EFCError naming both
  /// pins when the connection is not allowed. Connecting an existing pair
  /// again changes nothing.
  void Connect(TPMPin& sink);
  /// Removes the connection between this pin and `other`, in either
  /// direction; nothing happens if there is none.
  void Disconnect(TPMPin& other);
  void DisconnectAll();

  /// The sinks this pin sends to, in connection order.
  std::vector<TPMPin*> ConnectedSinks() const;
  /// The source this pin receives from, or null.
  TPMPin* ConnectedSource() const;
  bool IsConnected() const;

  /// Disconnects the pin for good and waits for deliveries to it in flight
  /// on other threads; it receives nothing afterwards. Pins do this when they
  /// die. A component whose pins may still be connected when it is destroyed
  /// retires them first thing in its destructor, before the state its
  /// dispatch functions use is gone.
  void Retire();

protected:
  /// Delivers to every connected sink in connection order; true when any
  /// sink answered true.
  bool SendDownstream(const TPMOperation& operation);
  /// Delivers to our source; false when there is none.
  bool SendUpstream(const TPMOperation& operation);
  /// Delivers to one pin as if it were our only sink.
  bool SendToSink(TPMPin& sink, const TPMOperation& operation);
  /// Receiving ends; the base answers false.
  virtual bool ReceiveFromUpstream(const TPMOperation&) { return false; }
  virtual bool ReceiveFromDownstream(const TPMOperation&) { return false; }
  /// Called on the connecting thread after `sink` was connected to this pin
  /// (state pins send their current value).
  virtual void SinkConnected(TPMPin&) {}
private:
  static bool DeliverDownstream(detail::PinEndpoint& to, const TPMOperation& operation);
  static bool DeliverUpstream(detail::PinEndpoint& to, const TPMOperation& operation);
  void DetachLocked(TPMPin& sink);

  TComponent* owner_;
  mutable std::mutex nameMutex_;
  std::string name_;
  std::shared_ptr<detail::PinEndpoint> endpoint_;
  // Guarded by the process-wide connection mutex.
  std::shared_ptr<const detail::SinkList> sinks_;
  std::shared_ptr<detail::PinEndpoint> source_;
};

/// A pin that reports to its component's dispatcher.
class FC_COMPONENTS_API TPMBasicPin : public TPMPin {
  FC_DECLARE_CLASS_INFO()
public:
  TPMBasicPin(TComponent* owner, IPMPinDispatcher& dispatcher, std::string name,
              std::string mediaType)
      : TPMPin(owner, std::move(name)), dispatcher_(&dispatcher), mediaType_(std::move(mediaType)) {}
  ~TPMBasicPin() override { Retire(); }

  std::string_view MediaType() const override { return mediaType_; }
  IPMPinDispatcher& Dispatcher() const { return *dispatcher_; }

private:
  IPMPinDispatcher* dispatcher_;
  std::string mediaType_;
};

/// An output pin: sends operations downstream; requests arriving from
/// downstream go to the dispatcher's SourceDispatch.
class FC_COMPONENTS_API TPMSourcePin : public TPMBasicPin {
  FC_DECLARE_CLASS_INFO()
public:
  using TPMBasicPin::TPMBasicPin;
  bool CanSend() const override { return true; }
  /// Sends to every connected sink in connection order.
  bool Send(const TPMOperation& operation) { return SendDownstream(operation); }

protected:
  bool ReceiveFromDownstream(const TPMOperation& operation) override;
};

/// An input pin: operations arriving from upstream go to the dispatcher's
/// SinkDispatch; requests go upstream with Request.
class FC_COMPONENTS_API TPMSinkPin : public TPMBasicPin {
  FC_DECLARE_CLASS_INFO()
public:
  using TPMBasicPin::TPMBasicPin;
  bool CanReceive() const override { return true; }
  /// Sends a request (pump, query) to the connected source; false when
  /// unconnected or unanswered.
  bool Request(const TPMOperation& operation) { return SendUpstream(operation); }

protected:
  bool ReceiveFromUpstream(const TPMOperation& operation) override;
};

}  // namespace fc
