#include "tests/tools/tool_test_components.h"

namespace fc::test {

namespace {

const TEnumInfo& TestPatternInfo() {
  static const TEnumInfo info("TTestPattern", {"tpGradient", "tpFlat"});
  return info;
}

constexpr TCatalogueEntry kTestComponents[] = {
    {"TTestPatternGen", "Fctestpatterngen", "TFCCommonGen", "test pattern"},
    {"TTestInvert", "Fctestinvert", "TFCCommonFilter", "inverts bytes"},
    {"TTestGrey", "Fctestgrey", "TFCCommonFilter", "green to grey"},
};

}  // namespace

const TClassInfo& TTestPatternGen::StaticClassInfo() {
  using G = TTestPatternGen;
  static const TClassInfo info = TClassBuilder<G>("TTestPatternGen", &TFCCommonGen::StaticClassInfo())
                                     .Property("Level", &G::GetLevel, &G::SetLevel, std::uint8_t{0})
                                     .Enum("Pattern", &G::GetPattern, &G::SetPattern, TestPatternInfo(), tpGradient)
                                     .Property("Length", &G::GetLength, &G::SetLength, std::int32_t{0})
                                     .Build();
  return info;
}

std::uint8_t TTestPatternGen::GetLevel() const {
  auto section = ReadLock();
  return level_;
}
void TTestPatternGen::SetLevel(std::uint8_t level) {
  auto section = WriteLock();
  level_ = level;
}
TTestPattern TTestPatternGen::GetPattern() const {
  auto section = ReadLock();
  return pattern_;
}
void TTestPatternGen::SetPattern(TTestPattern pattern) {
  auto section = WriteLock();
  pattern_ = pattern;
}
std::int32_t TTestPatternGen::GetLength() const {
  auto section = ReadLock();
  return length_;
}
void TTestPatternGen::SetLength(std::int32_t length) {
  auto section = WriteLock();
  length_ = length;
}

void TTestPatternGen::GenerateFrame(TFCImageBuffer& buffer, bool&, bool& endOfStream) {
  Ipp8u* p = buffer.Write();
  for (int y = 0; y < buffer.Height(); ++y)
    for (int x = 0; x < buffer.Width(); ++x, p += 3) {
      const bool flat = pattern_ == tpFlat;
      p[0] = static_cast<Ipp8u>(flat ? level_ : x + frame_);
      p[1] = static_cast<Ipp8u>(flat ? level_ : y);
      p[2] = level_;
    }
  ++frame_;
  endOfStream = length_ > 0 && frame_ >= length_;
}

const TClassInfo& TTestInvert::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TTestInvert>("TTestInvert", &TFCCommonFilter::StaticClassInfo())
                                     .Property("Invert", &TTestInvert::GetInvert, &TTestInvert::SetInvert, true)
                                     .Build();
  return info;
}

bool TTestInvert::GetInvert() const {
  auto section = ReadLock();
  return invert_;
}
void TTestInvert::SetInvert(bool invert) {
  auto section = WriteLock();
  invert_ = invert;
}
int TTestInvert::Stops() const {
  auto section = ReadLock();
  return stops_;
}

void TTestInvert::FilterInternalOperation(const TFCImageBuffer&, IFCImageBuffer& out) {
  if (!invert_) return;
  Ipp8u* p = out->Modify();
  for (std::size_t i = 0; i < out->Size(); ++i) p[i] = static_cast<Ipp8u>(255 - p[i]);
}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TTestGrey, TFCCommonFilter)

void TTestGrey::FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) {
  out = MakeImageBuffer(in.Width(), in.Height(), vfGray8);
  const Ipp8u* from = in.Read();
  Ipp8u* to = out->Write();
  for (std::size_t i = 0; i < out->Size(); ++i) to[i] = from[i * 3 + 1];
}

std::span<const TCatalogueEntry> TestCatalogueTable() { return kTestComponents; }

void RegisterTestComponents(TFCCatalogue& catalogue) {
  for (const TClassInfo* info : {&TTestGrey::StaticClassInfo(), &TTestPatternGen::StaticClassInfo(),
                                 &TTestInvert::StaticClassInfo()}) {
    const TClassInfo* const classes[] = {info};
    catalogue.RegisterComponents(kFrameCraftPage, classes, 0);
  }
}

}  // namespace fc::test
