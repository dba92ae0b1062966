// operations.h - the stream operations that travel along pin connections.
//
// Operations are immutable and shared: one object is delivered to every sink
// of a fan-out, and components may keep it (a delay line, a queue). Receivers
// test an operation by class with `As<T>()` or `Is<T>()`; a start-frame
// operation is also a start operation.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/runtime/components_api.h"

namespace fc {

class TComponent;

/// Data carried by a supplied-buffer operation (frames, real buffers, audio).
class FC_COMPONENTS_API IPMDataBuffer {
public:
  virtual ~IPMDataBuffer() = default;
};

/// Base of every stream operation.
class FC_COMPONENTS_API IPMNotifyOperation {
public:
  virtual ~IPMNotifyOperation() = default;
  /// A short English name, for logs and messages ("start-frame", "stop" ...).
  virtual std::string_view Name() const = 0;

  template <class T> const T* As() const { return dynamic_cast<const T*>(this); }
  template <class T> bool Is() const { return As<T>() != nullptr; }
};

/// How operations are passed around: shared and immutable.
using TPMOperation = std::shared_ptr<const IPMNotifyOperation>;

/// Makes an operation of class Op.
template <class Op, class... Args> TPMOperation MakeOperation(Args&&... args) {
  return std::make_shared<const Op>(std::forward<Args>(args)...);
}

#define FC_OPERATION_NAME(text) \
  std::string_view Name() const override { return text; }

/// A stream starts: sent downstream before any data.
class FC_COMPONENTS_API TPMStartOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("start")
};

/// A video stream starts with frames of this size, rate (frames per second)
/// and pixel format (a TFCVideoFormat value).
class FC_COMPONENTS_API TPMStartFrameOperation : public TPMStartOperation {
public:
  TPMStartFrameOperation(int width, int height, double rate, int pixelFormat)
      : width_(width), height_(height), rate_(rate), pixelFormat_(pixelFormat) {}
  FC_OPERATION_NAME("start-frame")
  int Width() const { return width_; }
  int Height() const { return height_; }
  double Rate() const { return rate_; }
  int PixelFormat() const { return pixelFormat_; }

private:
  int width_, height_;
  double rate_;
  int pixelFormat_;
};

/// A real-valued or audio stream starts at this sample rate.
class FC_COMPONENTS_API TPMStartSampleRateOperation : public TPMStartOperation {
public:
  explicit TPMStartSampleRateOperation(double sampleRate) : sampleRate_(sampleRate) {}
  FC_OPERATION_NAME("start-sample-rate")
  double SampleRate() const { return sampleRate_; }

private:
  double sampleRate_;
};

/// A stream of blocks of intensity values starts: `ValuesPerBlock` values per
/// block at `SampleRate` values per second.
class FC_COMPONENTS_API TPMStartIntensityOperation : public TPMStartOperation {
public:
  TPMStartIntensityOperation(int valuesPerBlock, double sampleRate)
      : valuesPerBlock_(valuesPerBlock), sampleRate_(sampleRate) {}
  FC_OPERATION_NAME("start-intensity")
  int ValuesPerBlock() const { return valuesPerBlock_; }
  double SampleRate() const { return sampleRate_; }

private:
  int valuesPerBlock_;
  double sampleRate_;
};

/// The stream ends; components release per-stream state.
class FC_COMPONENTS_API TPMStopOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("stop")
};

/// Sent downstream by a pump master to tell the chain it will be pumped.
class FC_COMPONENTS_API TPMStartPumpOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("start-pump")
};

/// A request travelling upstream (sink to source): "send the next data".
/// `Sender` names the component that issued it, so it can recognise its own
/// request coming back.
class FC_COMPONENTS_API TPMPumpRequestOperation : public IPMNotifyOperation {
public:
  explicit TPMPumpRequestOperation(const TComponent* sender = nullptr) : sender_(sender) {}
  FC_OPERATION_NAME("pump-request")
  const TComponent* Sender() const { return sender_; }

private:
  const TComponent* sender_;
};

/// A pump from the stream's pacing master (an output device's clock): one per
/// frame period, travelling upstream.
class FC_COMPONENTS_API TPMMasterPumpOperation : public TPMPumpRequestOperation {
public:
  using TPMPumpRequestOperation::TPMPumpRequestOperation;
  FC_OPERATION_NAME("master-pump")
};

/// One buffer of data: a frame, a block of real values, audio.
class FC_COMPONENTS_API TPMSuppliedBufferOperation : public IPMNotifyOperation {
public:
  explicit TPMSuppliedBufferOperation(std::shared_ptr<const IPMDataBuffer> buffer)
      : buffer_(std::move(buffer)) {}
  FC_OPERATION_NAME("supplied-buffer")
  const std::shared_ptr<const IPMDataBuffer>& Buffer() const { return buffer_; }
  /// The buffer as class T, or null when it is of another class.
  template <class T> std::shared_ptr<const T> BufferAs() const {
    return std::dynamic_pointer_cast<const T>(buffer_);
  }

private:
  std::shared_ptr<const IPMDataBuffer> buffer_;
};

/// One double-precision sample.
class FC_COMPONENTS_API TPMSuppliedRealOperation : public IPMNotifyOperation {
public:
  explicit TPMSuppliedRealOperation(double value) : value_(value) {}
  FC_OPERATION_NAME("supplied-real")
  double Value() const { return value_; }

private:
  double value_;
};

/// One single-precision sample.
class FC_COMPONENTS_API TPMSuppliedSingleOperation : public IPMNotifyOperation {
public:
  explicit TPMSuppliedSingleOperation(float value) : value_(value) {}
  FC_OPERATION_NAME("supplied-single")
  float Value() const { return value_; }

private:
  float value_;
};

/// Asks upstream whether a stream is present; the answer is the dispatch
/// result.
class FC_COMPONENTS_API TPMQueryStreamOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("query-stream")
};

/// Tells downstream to disregard the current stream.
class FC_COMPONENTS_API TPMIgnoreStreamOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("ignore-stream")
};

/// The stream pauses; data may stop arriving until a resume.
class FC_COMPONENTS_API TPMPauseOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("pause")
};

/// The stream resumes after a pause.
class FC_COMPONENTS_API TPMResumeOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("resume")
};

/// A value published by a state pin.
template <class T>
class FC_COMPONENTS_API TPMStateValueOperation : public IPMNotifyOperation {
public:
  explicit TPMStateValueOperation(T value) : value_(std::move(value)) {}
  FC_OPERATION_NAME("state-value")
  const T& Value() const { return value_; }

private:
  T value_;
};

/// One tick of a clock.
class FC_COMPONENTS_API TPMClockOperation : public IPMNotifyOperation {
public:
  FC_OPERATION_NAME("clock")
};

#undef FC_OPERATION_NAME

}  // namespace fc
