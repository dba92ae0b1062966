// form_test_components.h - small components with every kind of published
// property, pins and stored data, for the form loader and saver tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contracts/pins/pin.h"
#include "contracts/pins/pin_list.h"
#include "platform/runtime/collection.h"
#include "platform/runtime/component.h"
#include "platform/runtime/form_defined_data.h"

namespace fc::test {

enum TTestMode { tmFirst, tmSecond, tmThird };

class TTestRegion : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
 public:
  using TOwnedPersistent::TOwnedPersistent;
  std::uint16_t GetX() const { return x_; }
  void SetX(std::uint16_t x) { x_ = x; }
  std::uint16_t GetWidth() const { return width_; }
  void SetWidth(std::uint16_t width) { width_ = width; }

 private:
  std::uint16_t x_ = 0;
  std::uint16_t width_ = 64;
};

// Cells stored as "MatrixData" (count, then one integer per cell); the older
// binary "Matrix" (4-byte count, then 4-byte cells) is read, never written.
class TTestShape : public TOwnedPersistent, public TFormDefinedData {
  FC_DECLARE_CLASS_INFO()
 public:
  using TOwnedPersistent::TOwnedPersistent;
  std::vector<std::uint8_t>& Cells() { return cells_; }
  void DefineProperties(TFormFiler& filer) override;

 private:
  void ReadMatrixData(const FormValue& value);
  void ReadMatrix(const FormValue& value);
  std::vector<std::uint8_t> cells_;
};

class TTestItem : public TCollectionItem {
  FC_DECLARE_CLASS_INFO()
 public:
  using TCollectionItem::TCollectionItem;
  std::string GetLabel() const { return label_; }
  void SetLabel(std::string label) { label_ = std::move(label); }
  double GetLevel() const { return level_; }
  void SetLevel(double level) { level_ = level; }

 private:
  std::string label_;
  double level_ = 0;
};

class TTestFilter : public TComponent, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
 public:
  explicit TTestFilter(TComponent* owner);
  ~TTestFilter() override;

  std::int32_t GetWidth() const { return width_; }
  void SetWidth(std::int32_t width) { width_ = width; }
  double GetGain() const { return gain_; }
  void SetGain(double gain) { gain_ = gain; }
  float GetLevel() const { return level_; }
  void SetLevel(float level) { level_ = level; }
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  std::string GetCaption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  TTestMode GetMode() const { return mode_; }
  void SetMode(TTestMode mode) { mode_ = mode; }
  std::int32_t GetFrames() const { return 7; }
  TTestRegion* Region() { return &region_; }
  TTestShape* Shape() { return &shape_; }
  TTypedCollection<TTestItem>* Items() { return &items_; }
  TPMSinkPin* InputPin() { return &input_; }
  TPMSourcePin* OutputPin() { return &output_; }

  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

  // Test filters alive now: a failed load must leave none behind.
  static int Alive();

 private:
  std::int32_t width_ = 100;
  double gain_ = 1.0;
  float level_ = 0.5f;
  bool enabled_ = true;
  std::string caption_;
  TTestMode mode_ = tmFirst;
  TTestRegion region_{this, "Region"};
  TTestShape shape_{this, "Shape"};
  TTypedCollection<TTestItem> items_{this, "Items"};
  TPMSinkPin input_{this, *this, "Input", "Test"};
  TPMSourcePin output_{this, *this, "Output", "Test"};
};

// A sink of another media type: connecting a test output to it is refused.
class TTestOtherSink : public TComponent, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
 public:
  explicit TTestOtherSink(TComponent* owner) : TComponent(owner) {}
  TPMSinkPin* InputPin() { return &input_; }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

 private:
  TPMSinkPin input_{this, *this, "Input", "Other"};
};

// A collection item with pins of its own, on its collection's component.
class TTestChannel : public TCollectionItem, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
 public:
  explicit TTestChannel(TCollection& collection);
  TPMSinkPin* InputPin() { return &input_; }
  TPMSourcePin* OutputPin() { return &output_; }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

 private:
  TPMSinkPin input_;
  TPMSourcePin output_;
};

// Pins in pin lists, named so that no name could serve in a reference.
class TTestMixer : public TComponent, public IPMPinDispatcher {
  FC_DECLARE_CLASS_INFO()
 public:
  explicit TTestMixer(TComponent* owner);
  TPMPinList* InputPins() { return &inputs_; }
  TPMPinList* OutputPins() { return &outputs_; }
  TTypedCollection<TTestChannel>* Channels() { return &channels_; }
  bool SinkDispatch(TPMSinkPin&, const TPMOperation&) override { return false; }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return false; }

 private:
  TPMPinList inputs_{this, true, "InputPins"};
  TPMPinList outputs_{this, true, "OutputPins"};
  TTypedCollection<TTestChannel> channels_{this, "Channels"};
};

// Finds the test classes and TComponent by name.
const TClassInfo* FindTestClass(std::string_view name);

}  // namespace fc::test
