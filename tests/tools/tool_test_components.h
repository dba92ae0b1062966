// tool_test_components.h - small components for the tool's tests: a pattern
// generator, a byte inverter and a grey converter, with a catalogue table
// of their own.
#pragma once

#include <cstdint>
#include <span>

#include "contracts/video/common_filter.h"
#include "contracts/video/generator.h"
#include "package/catalogue.h"

namespace fc::test {

enum TTestPattern { tpGradient, tpFlat };

/// Frame n (from 0) at (x, y): blue x + n, green y, red `Level`
/// (all modulo 256); with tpFlat every byte is `Level`. Ends its stream
/// after `Length` frames when that is above 0.
class TTestPatternGen : public TFCCommonGen {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCCommonGen::TFCCommonGen;
  ~TTestPatternGen() override { RetirePins(); }

  std::uint8_t GetLevel() const;
  void SetLevel(std::uint8_t level);
  TTestPattern GetPattern() const;
  void SetPattern(TTestPattern pattern);
  std::int32_t GetLength() const;
  void SetLength(std::int32_t length);

protected:
  void GenerateFrame(TFCImageBuffer& buffer, bool& send, bool& endOfStream) override;

private:
  std::uint8_t level_ = 0;
  TTestPattern pattern_ = tpGradient;
  std::int32_t length_ = 0;
  int frame_ = 0;
};

/// Inverts every byte while `Invert` is set; counts the stops it saw.
class TTestInvert : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCCommonFilter::TFCCommonFilter;
  ~TTestInvert() override { RetirePins(); }
  bool GetInvert() const;
  void SetInvert(bool invert);
  int Stops() const;
  void Stop() override { ++stops_; }

protected:
  void FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) override;

private:
  bool invert_ = true;
  int stops_ = 0;
};

/// Turns each frame into one-byte grey: the green byte of each pixel.
class TTestGrey : public TFCCommonFilter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCCommonFilter::TFCCommonFilter;

protected:
  void FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) override;
  TFCVideoFormat OutputFormat(TFCVideoFormat) override { return vfGray8; }
};

/// The catalogue rows of the test components.
std::span<const TCatalogueEntry> TestCatalogueTable();

/// Registers the test components one unit at a time, in an order other
/// than the table's.
void RegisterTestComponents(TFCCatalogue& catalogue);

}  // namespace fc::test
