#include "contracts/pins/pin.h"

#include <algorithm>
#include <thread>

#include "platform/runtime/error.h"

namespace fc {

namespace detail {

// The part of a pin that connections refer to. Deliveries enter it before
// reaching the pin; a dying pin clears `pin` and waits for those inside.
struct PinEndpoint {
  std::atomic<TPMPin*> pin;
  std::atomic<int> inside{0};
  explicit PinEndpoint(TPMPin* p) : pin(p) {}
};

}  // namespace detail

namespace {

using detail::PinEndpoint;

// All connection changes take this one mutex: a connection touches two pins,
// and one lock for both cannot be taken in the wrong order.
std::mutex& ConnectionMutex() {
  static std::mutex mutex;
  return mutex;
}

// Endpoints this thread is delivering to, so a pin destroyed from inside its
// own delivery does not wait for itself.
thread_local std::vector<const PinEndpoint*> tlEntered;

// Enters an endpoint for one delivery; empty when its pin is gone.
class Entry {
public:
  explicit Entry(PinEndpoint& e) : endpoint_(e) {
    endpoint_.inside.fetch_add(1);
    pin_ = endpoint_.pin.load();
    tlEntered.push_back(&endpoint_);
  }
  ~Entry() {
    tlEntered.pop_back();
    endpoint_.inside.fetch_sub(1);
  }
  TPMPin* Pin() const { return pin_; }

private:
  PinEndpoint& endpoint_;
  TPMPin* pin_;
};

}  // namespace

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMPin, TPersistent)

TPMPin::TPMPin(TComponent* owner, std::string name)
    : owner_(owner), name_(std::move(name)), endpoint_(std::make_shared<PinEndpoint>(this)),
      sinks_(std::make_shared<const detail::SinkList>()) {}

TPMPin::~TPMPin() { Retire(); }

void TPMPin::Retire() {
  DisconnectAll();
  endpoint_->pin.store(nullptr);
  const int own = static_cast<int>(std::count(tlEntered.begin(), tlEntered.end(), endpoint_.get()));
  while (endpoint_->inside.load() > own) std::this_thread::yield();
}

std::string TPMPin::Name() const {
  std::lock_guard guard(nameMutex_);
  return name_;
}

void TPMPin::SetName(std::string name) {
  std::lock_guard guard(nameMutex_);
  name_ = std::move(name);
}

std::string TPMPin::NamePath() const {
  std::string name = Name();
  return owner_ ? owner_->NamePath() + "." + name : name;
}

void TPMPin::Connect(TPMPin& sink) {
  auto refuse = [&](const std::string& why) {
    return EFCError("Cannot connect " + NamePath() + " to " + sink.NamePath() + ": " + why);
  };
  if (&sink == this) throw refuse("a pin cannot be connected to itself");
  if (!CanSend()) throw refuse(NamePath() + " does not send");
  if (!sink.CanReceive()) throw refuse(sink.NamePath() + " does not receive");
  if (!sink.Accepts(*this))
    throw refuse(std::string(sink.MediaType()) + " pin does not accept " + std::string(MediaType()));
  {
    std::lock_guard guard(ConnectionMutex());
    if (sink.source_ == endpoint_) return;
    if (sink.source_)
      if (TPMPin* old = sink.source_->pin.load()) old->DetachLocked(sink);
    auto sinks = std::make_shared<detail::SinkList>(*sinks_);
    sinks->push_back(sink.endpoint_);
    sinks_ = std::move(sinks);
    sink.source_ = endpoint_;
  }
  SinkConnected(sink);
}

// Removes `sink` from our sinks; the connection mutex is held.
void TPMPin::DetachLocked(TPMPin& sink) {
  auto sinks = std::make_shared<detail::SinkList>(*sinks_);
  std::erase(*sinks, sink.endpoint_);
  sinks_ = std::move(sinks);
  if (sink.source_ == endpoint_) sink.source_.reset();
}

void TPMPin::Disconnect(TPMPin& other) {
  std::lock_guard guard(ConnectionMutex());
  if (other.source_ == endpoint_) DetachLocked(other);
  if (source_ == other.endpoint_) other.DetachLocked(*this);
}

void TPMPin::DisconnectAll() {
  std::lock_guard guard(ConnectionMutex());
  if (source_)
    if (TPMPin* source = source_->pin.load()) source->DetachLocked(*this);
  source_.reset();
  for (const auto& sink : *sinks_)
    if (TPMPin* p = sink->pin.load()) p->source_.reset();
  sinks_ = std::make_shared<const detail::SinkList>();
}

std::vector<TPMPin*> TPMPin::ConnectedSinks() const {
  std::lock_guard guard(ConnectionMutex());
  std::vector<TPMPin*> pins;
  for (const auto& sink : *sinks_)
    if (TPMPin* p = sink->pin.load()) pins.push_back(p);
  return pins;
}

TPMPin* TPMPin::ConnectedSource() const {
  std::lock_guard guard(ConnectionMutex());
  return source_ ? source_->pin.load() : nullptr;
}

bool TPMPin::IsConnected() const {
  std::lock_guard guard(ConnectionMutex());
  return source_ != nullptr || !sinks_->empty();
}

bool TPMPin::DeliverDownstream(PinEndpoint& to, const TPMOperation& operation) {
  Entry entry(to);
  return entry.Pin() && entry.Pin()->ReceiveFromUpstream(operation);
}

bool TPMPin::DeliverUpstream(PinEndpoint& to, const TPMOperation& operation) {
  Entry entry(to);
  return entry.Pin() && entry.Pin()->ReceiveFromDownstream(operation);
}

bool TPMPin::SendDownstream(const TPMOperation& operation) {
  std::shared_ptr<const detail::SinkList> sinks;
  {
    std::lock_guard guard(ConnectionMutex());
    sinks = sinks_;
  }
  bool answered = false;
  for (const auto& sink : *sinks) answered = DeliverDownstream(*sink, operation) || answered;
  return answered;
}

bool TPMPin::SendToSink(TPMPin& sink, const TPMOperation& operation) {
  return DeliverDownstream(*sink.endpoint_, operation);
}

bool TPMPin::SendUpstream(const TPMOperation& operation) {
  std::shared_ptr<PinEndpoint> source;
  {
    std::lock_guard guard(ConnectionMutex());
    source = source_;
  }
  return source && DeliverUpstream(*source, operation);
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMBasicPin, TPMPin)

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMSourcePin, TPMBasicPin)

bool TPMSourcePin::ReceiveFromDownstream(const TPMOperation& operation) {
  return Dispatcher().SourceDispatch(*this, operation);
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TPMSinkPin, TPMBasicPin)

bool TPMSinkPin::ReceiveFromUpstream(const TPMOperation& operation) {
  return Dispatcher().SinkDispatch(*this, operation);
}

}  // namespace fc
