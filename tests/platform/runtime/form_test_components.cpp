#include "tests/platform/runtime/form_test_components.h"

#include "platform/runtime/error.h"

namespace fc::test {

namespace {

int aliveFilters = 0;

const TEnumInfo& ModeInfo() {
  static const TEnumInfo info("TTestMode", {"tmFirst", "tmSecond", "tmThird"});
  return info;
}

}  // namespace

const TClassInfo& TTestRegion::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestRegion>("TTestRegion", &TPersistent::StaticClassInfo())
          .Property("X", &TTestRegion::GetX, &TTestRegion::SetX, std::uint16_t{0})
          .Property("Width", &TTestRegion::GetWidth, &TTestRegion::SetWidth, std::uint16_t{64})
          .Build();
  return info;
}

const TClassInfo& TTestShape::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestShape>("TTestShape", &TPersistent::StaticClassInfo()).Build();
  return info;
}

void TTestShape::DefineProperties(TFormFiler& filer) {
  filer.DefineProperty(
      "MatrixData", [this](const FormValue& value) { ReadMatrixData(value); },
      [this] {
        std::vector<std::int64_t> values{static_cast<std::int64_t>(cells_.size())};
        values.insert(values.end(), cells_.begin(), cells_.end());
        return FormListOf(values);
      },
      !cells_.empty());
  filer.DefineProperty(
      "Matrix", [this](const FormValue& value) { ReadMatrix(value); }, nullptr, false);
}

void TTestShape::ReadMatrixData(const FormValue& value) {
  std::vector<std::int64_t> values = FormIntegerList(value, NamePath() + ".MatrixData");
  if (values.empty() || values[0] != static_cast<std::int64_t>(values.size() - 1))
    throw EFCError(NamePath() + ".MatrixData: the cell count does not match the cells");
  cells_.assign(values.begin() + 1, values.end());
}

void TTestShape::ReadMatrix(const FormValue& value) {
  auto word = [&](std::size_t at) {
    const auto& b = value.bytes();
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
  };
  if (!value.is(FormValue::Kind::Binary) || value.bytes().size() < 4 ||
      value.bytes().size() != 4 + 4 * word(0))
    throw EFCError(NamePath() + ".Matrix: expects binary data of a count and as many cells");
  cells_.clear();
  for (std::size_t at = 4; at < value.bytes().size(); at += 4)
    cells_.push_back(static_cast<std::uint8_t>(word(at)));
}

const TClassInfo& TTestItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestItem>("TTestItem", &TCollectionItem::StaticClassInfo())
          .Property("Label", &TTestItem::GetLabel, &TTestItem::SetLabel, std::string())
          .Property("Level", &TTestItem::GetLevel, &TTestItem::SetLevel, 0.0)
          .Build();
  return info;
}

TTestFilter::TTestFilter(TComponent* owner) : TComponent(owner) { ++aliveFilters; }
TTestFilter::~TTestFilter() { --aliveFilters; }
int TTestFilter::Alive() { return aliveFilters; }

const TClassInfo& TTestFilter::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestFilter>("TTestFilter", &TComponent::StaticClassInfo())
          .Property("Width", &TTestFilter::GetWidth, &TTestFilter::SetWidth, std::int32_t{100})
          .Property("Gain", &TTestFilter::GetGain, &TTestFilter::SetGain, 1.0)
          .Property("Level", &TTestFilter::GetLevel, &TTestFilter::SetLevel, 0.5f)
          .Property("Enabled", &TTestFilter::GetEnabled, &TTestFilter::SetEnabled, true)
          .Property("Caption", &TTestFilter::GetCaption, &TTestFilter::SetCaption)
          .Enum("Mode", &TTestFilter::GetMode, &TTestFilter::SetMode, ModeInfo(), tmFirst)
          .ReadOnly("Frames", &TTestFilter::GetFrames)
          .Object("Region", &TTestFilter::Region)
          .Object("Shape", &TTestFilter::Shape)
          .Collection("Items", &TTestFilter::Items)
          .Pin("InputPin", &TTestFilter::InputPin)
          .Pin("OutputPin", &TTestFilter::OutputPin)
          .Build();
  return info;
}

const TClassInfo& TTestOtherSink::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestOtherSink>("TTestOtherSink", &TComponent::StaticClassInfo())
          .Pin("InputPin", &TTestOtherSink::InputPin)
          .Build();
  return info;
}

TTestChannel::TTestChannel(TCollection& collection)
    : TCollectionItem(collection),
      input_(dynamic_cast<TComponent*>(collection.Owner()), *this, "ChannelIn", "Test"),
      output_(dynamic_cast<TComponent*>(collection.Owner()), *this, "ChannelOut", "Test") {}

const TClassInfo& TTestChannel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TTestChannel>("TTestChannel", &TCollectionItem::StaticClassInfo())
          .Pin("InputPin", &TTestChannel::InputPin)
          .Pin("OutputPin", &TTestChannel::OutputPin)
          .Build();
  return info;
}

TTestMixer::TTestMixer(TComponent* owner) : TComponent(owner) {
  for (const char* name : {"L*", "a*"}) {
    inputs_.Add(std::make_unique<TPMSinkPin>(this, *this, name, "Test"));
    outputs_.Add(std::make_unique<TPMSourcePin>(this, *this, name, "Test"));
  }
}

const TClassInfo& TTestMixer::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TTestMixer>("TTestMixer", &TComponent::StaticClassInfo())
                                     .PinList("InputPins", &TTestMixer::InputPins)
                                     .PinList("OutputPins", &TTestMixer::OutputPins)
                                     .Collection("Channels", &TTestMixer::Channels)
                                     .Build();
  return info;
}

const TClassInfo* FindTestClass(std::string_view name) {
  for (const TClassInfo* info :
       {&TComponent::StaticClassInfo(), &TTestFilter::StaticClassInfo(), &TTestOtherSink::StaticClassInfo(),
        &TTestMixer::StaticClassInfo(), &TTestRegion::StaticClassInfo()})
    if (info->Name() == name) return info;
  return nullptr;
}

}  // namespace fc::test
