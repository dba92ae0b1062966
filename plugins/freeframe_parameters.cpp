#include "plugins/freeframe_parameters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "framecraft/freeframe.h"
#include "platform/runtime/error.h"
#include "plugins/freeframe_plugin.h"

namespace fc {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<double> ParseNumber(std::string_view text, bool integer) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  if (integer) {
    std::int64_t value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return static_cast<double>(value);
  }
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FloatText(float value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// Rounds half to even, as the host's rounding of parameter values does.
double Rounded(double value) { return std::nearbyint(value); }

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

}  // namespace

// --- TFCFreeFrameParameter -------------------------------------------------

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCFreeFrameParameter, TPersistent)

TFCFreeFrameParameter::TFCFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                                             std::uint16_t index, std::string name)
    : TOwnedPersistent(owner, name), lock_(lock), plugin_(plugin), index_(index), name_(std::move(name)) {}

std::string TFCFreeFrameParameter::GetDisplayValue() {
  auto section = lock_.WriteLock();  // a call into the plug-in
  return plugin_.HasInstance() ? plugin_.ParameterDisplay(index_) : std::string();
}

std::int32_t TFCFreeFrameParameter::GetAsInteger() {
  const double rounded = Rounded(GetAsSingle());
  return static_cast<std::int32_t>(
      std::clamp(rounded, double(std::numeric_limits<std::int32_t>::min()), double(std::numeric_limits<std::int32_t>::max())));
}

bool TFCFreeFrameParameter::HasInstance() const { return plugin_.HasInstance(); }

bool TFCFreeFrameParameter::SendAndReadBack(fc_ff_mixed value, fc_ff_mixed& readBack) {
  if (!plugin_.HasInstance()) return false;
  plugin_.SetParameter(index_, value);
  return plugin_.GetParameter(index_, readBack);
}

void TFCFreeFrameParameter::Send(float value) {
  if (plugin_.HasInstance()) plugin_.SetParameter(index_, fc_ff_float(value));
}

void TFCFreeFrameParameter::RefuseText(const std::string& text, const char* expected) const {
  throw EFCError(NamePath() + ": cannot take '" + text + "' (" + expected + ")");
}

// --- Standard --------------------------------------------------------------

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCStandardFreeFrameParameter, TFCFreeFrameParameter)

TFCStandardFreeFrameParameter::TFCStandardFreeFrameParameter(TPersistent* owner, const TPMObject& lock,
                                                             TFreeFramePlugin& plugin, std::uint16_t index,
                                                             std::string name, float defaultValue)
    : TFCFreeFrameParameter(owner, lock, plugin, index, std::move(name)), value_(defaultValue) {}

void TFCStandardFreeFrameParameter::ApplyCurrentValue() {
  auto section = Lock().WriteLock();
  fc_ff_mixed readBack;
  if (SendAndReadBack(fc_ff_float(value_), readBack)) value_ = readBack.FloatValue;
}

float TFCStandardFreeFrameParameter::GetAsSingle() {
  auto section = Lock().ReadLock();
  return value_;
}

void TFCStandardFreeFrameParameter::SetAsSingle(float value) {
  auto section = Lock().WriteLock();
  value_ = value;
  ApplyCurrentValue();
}

void TFCStandardFreeFrameParameter::SetStringValue(const std::string& value) {
  std::optional<double> number = ParseNumber(value, false);
  if (!number) RefuseText(value, "a number");
  SetAsSingle(static_cast<float>(*number));
}

std::string TFCStandardFreeFrameParameter::GetStringValue() { return FloatText(GetAsSingle()); }

// --- Boolean and event -----------------------------------------------------

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCBooleanFreeFrameParameter, TFCFreeFrameParameter)

TFCBooleanFreeFrameParameter::TFCBooleanFreeFrameParameter(TPersistent* owner, const TPMObject& lock,
                                                           TFreeFramePlugin& plugin, std::uint16_t index,
                                                           std::string name, float defaultValue)
    : TFCFreeFrameParameter(owner, lock, plugin, index, std::move(name)), value_(defaultValue != 0.0f) {}

void TFCBooleanFreeFrameParameter::ApplyCurrentValue() {
  auto section = Lock().WriteLock();
  fc_ff_mixed readBack;
  if (SendAndReadBack(fc_ff_float(value_ ? 1.0f : 0.0f), readBack)) value_ = readBack.FloatValue != 0.0f;
}

float TFCBooleanFreeFrameParameter::GetAsSingle() {
  auto section = Lock().ReadLock();
  return value_ ? 1.0f : 0.0f;
}

void TFCBooleanFreeFrameParameter::SetAsSingle(float value) {
  auto section = Lock().WriteLock();
  value_ = value != 0.0f;
  ApplyCurrentValue();
}

void TFCBooleanFreeFrameParameter::SetStringValue(const std::string& value) {
  const std::string upper = Upper(Trimmed(value));
  if (upper == "TRUE")
    SetAsSingle(1.0f);
  else if (upper == "FALSE")
    SetAsSingle(0.0f);
}

std::string TFCBooleanFreeFrameParameter::GetStringValue() { return GetAsSingle() != 0.0f ? "True" : "False"; }

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCEventFreeFrameParameter, TFCBooleanFreeFrameParameter)

void TFCEventFreeFrameParameter::Pulse() {
  auto section = Lock().WriteLock();
  Send(1.0f);
  Send(0.0f);
}

void TFCEventFreeFrameParameter::SetAsSingle(float) { Pulse(); }
void TFCEventFreeFrameParameter::SetStringValue(const std::string&) { Pulse(); }

// --- Colour and position --------------------------------------------------

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCWholeFreeFrameParameter, TFCFreeFrameParameter)

TFCWholeFreeFrameParameter::TFCWholeFreeFrameParameter(TPersistent* owner, const TPMObject& lock,
                                                       TFreeFramePlugin& plugin, std::uint16_t index,
                                                       std::string name, float defaultValue, const TScale& scale)
    : TFCFreeFrameParameter(owner, lock, plugin, index, std::move(name)), scale_(scale),
      value_(Clamped(double(defaultValue) * scale.scale)) {}

std::int32_t TFCWholeFreeFrameParameter::Clamped(double value) const {
  return static_cast<std::int32_t>(std::clamp(Rounded(value), scale_.lowest, scale_.highest));
}

void TFCWholeFreeFrameParameter::ApplyCurrentValue() {
  auto section = Lock().WriteLock();
  fc_ff_mixed readBack;
  if (SendAndReadBack(fc_ff_float(static_cast<float>(value_ / scale_.scale)), readBack))
    value_ = Clamped(double(readBack.FloatValue) * scale_.scale);
}

float TFCWholeFreeFrameParameter::GetAsSingle() {
  auto section = Lock().ReadLock();
  return static_cast<float>(value_);
}

void TFCWholeFreeFrameParameter::Store(double value, const std::string& text) {
  const double rounded = Rounded(value);
  if (!(rounded >= scale_.lowest && rounded <= scale_.highest)) RefuseText(text, scale_.expected);
  auto section = Lock().WriteLock();
  value_ = static_cast<std::int32_t>(rounded);
  ApplyCurrentValue();
}

void TFCWholeFreeFrameParameter::SetAsSingle(float value) { Store(value, FloatText(value)); }

void TFCWholeFreeFrameParameter::SetStringValue(const std::string& value) {
  std::optional<double> number = ParseNumber(value, true);
  if (!number) RefuseText(value, scale_.expected);
  Store(*number, value);
}

std::string TFCWholeFreeFrameParameter::GetStringValue() {
  auto section = Lock().ReadLock();
  return std::to_string(value_);
}

namespace {
const TFCWholeFreeFrameParameter::TScale kColorScale{255.0, 0.0, 255.0, "a colour value from 0 to 255"};
const TFCWholeFreeFrameParameter::TScale kPositionScale{1.0, double(std::numeric_limits<std::int32_t>::min()),
                                                        double(std::numeric_limits<std::int32_t>::max()),
                                                        "a 32-bit integer"};
}  // namespace

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCColorFreeFrameParameter, TFCWholeFreeFrameParameter)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCRedFreeFrameParameter, TFCColorFreeFrameParameter)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCGreenFreeFrameParameter, TFCColorFreeFrameParameter)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCBlueFreeFrameParameter, TFCColorFreeFrameParameter)

TFCColorFreeFrameParameter::TFCColorFreeFrameParameter(TPersistent* owner, const TPMObject& lock,
                                                       TFreeFramePlugin& plugin, std::uint16_t index,
                                                       std::string name, float defaultValue)
    : TFCWholeFreeFrameParameter(owner, lock, plugin, index, std::move(name), defaultValue, kColorScale) {}

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCPosFreeFrameParameter, TFCWholeFreeFrameParameter)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCXPosFreeFrameParameter, TFCPosFreeFrameParameter)
FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCYPosFreeFrameParameter, TFCPosFreeFrameParameter)

TFCPosFreeFrameParameter::TFCPosFreeFrameParameter(TPersistent* owner, const TPMObject& lock,
                                                   TFreeFramePlugin& plugin, std::uint16_t index, std::string name,
                                                   float defaultValue)
    : TFCWholeFreeFrameParameter(owner, lock, plugin, index, std::move(name), defaultValue, kPositionScale) {}

// --- Text ------------------------------------------------------------------

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCTextFreeFrameParameter, TFCFreeFrameParameter)

void TFCTextFreeFrameParameter::ApplyCurrentValue() {
  auto section = Lock().WriteLock();
  fc_ff_mixed readBack;
  if (SendAndReadBack(fc_ff_pointer(value_.c_str()), readBack) && readBack.PointerValue)
    value_ = static_cast<const char*>(readBack.PointerValue);
}

void TFCTextFreeFrameParameter::SetStringValue(const std::string& value) {
  auto section = Lock().WriteLock();
  if (value != value_) value_ = value;
  ApplyCurrentValue();
}

std::string TFCTextFreeFrameParameter::GetStringValue() {
  auto section = Lock().ReadLock();
  return value_;
}

// --- TFCFreeFrameParameters ------------------------------------------------

FC_DEFINE_CLASS_INFO_WITHOUT_PROPERTIES(TFCFreeFrameParameters, TPersistent)

TFCFreeFrameParameters::TFCFreeFrameParameters(TPersistent* owner, std::string propertyName, const TPMObject& lock,
                                               TFreeFramePlugin& plugin)
    : TOwnedPersistent(owner, std::move(propertyName)), lock_(lock), plugin_(plugin) {}

TFCFreeFrameParameters::~TFCFreeFrameParameters() = default;

int TFCFreeFrameParameters::Count() const {
  auto section = lock_.ReadLock();
  return static_cast<int>(items_.size());
}

TFCFreeFrameParameter& TFCFreeFrameParameters::Items(int index) const {
  auto section = lock_.ReadLock();
  if (index < 0 || index >= static_cast<int>(items_.size()))
    throw EFCError(NamePath() + ": no parameter " + std::to_string(index) + " (the plug-in has " +
                   std::to_string(items_.size()) + ")");
  return *items_[static_cast<std::size_t>(index)];
}

TFCFreeFrameParameter* TFCFreeFrameParameters::Find(std::string_view name) const {
  auto section = lock_.ReadLock();
  for (const auto& item : items_)
    if (SameIdentifier(item->VC_Name(), name)) return item.get();
  return nullptr;
}

std::unique_ptr<TFCFreeFrameParameter> TFCFreeFrameParameters::Make(std::uint32_t index) {
  const auto at = static_cast<std::uint16_t>(index);
  const std::uint32_t type = plugin_.ParameterType(index);
  std::string name = plugin_.ParameterName(index);
  if (type == FC_FF_TYPE_TEXT) return std::make_unique<TFCTextFreeFrameParameter>(this, lock_, plugin_, at, name);
  const float fallback = plugin_.ParameterDefault(index);
  switch (type) {
    case FC_FF_TYPE_BOOLEAN:
      return std::make_unique<TFCBooleanFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    case FC_FF_TYPE_EVENT:
      return std::make_unique<TFCEventFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    case FC_FF_TYPE_RED:
      return std::make_unique<TFCRedFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    case FC_FF_TYPE_GREEN:
      return std::make_unique<TFCGreenFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    case FC_FF_TYPE_BLUE:
      return std::make_unique<TFCBlueFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    case FC_FF_TYPE_XPOS:
      return std::make_unique<TFCXPosFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    case FC_FF_TYPE_YPOS:
      return std::make_unique<TFCYPosFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
    default:
      return std::make_unique<TFCStandardFreeFrameParameter>(this, lock_, plugin_, at, name, fallback);
  }
}

void TFCFreeFrameParameters::Populate() {
  auto section = lock_.WriteLock();
  items_.clear();
  // Indexes are 16-bit; a larger count is the plug-in's error, not a reason
  // to ask it about billions of parameters.
  const std::uint32_t count = std::min<std::uint32_t>(plugin_.ParameterCount(), 0xFFFF);
  for (std::uint32_t i = 0; i < count; ++i) items_.push_back(Make(i));
  TryApplyValues();
}

void TFCFreeFrameParameters::ApplyAll() {
  auto section = lock_.WriteLock();
  for (const auto& item : items_) item->ApplyCurrentValue();
}

void TFCFreeFrameParameters::TryApplyValues() {
  auto section = lock_.WriteLock();
  if (pending_.empty() || items_.empty()) return;
  std::vector<std::string> values;
  values.swap(pending_);
  const std::size_t count = std::min(values.size(), items_.size());
  for (std::size_t i = 0; i < count; ++i) items_[i]->SetAsString(values[i]);
}

std::vector<std::string> TFCFreeFrameParameters::PendingStrings() const {
  auto section = lock_.ReadLock();
  return pending_;
}

void TFCFreeFrameParameters::DefineProperties(TFormFiler& filer) {
  filer.DefineProperty(
      "StrValue", [this](const FormValue& value) { ReadStrValue(value); }, [this] { return WriteStrValue(); },
      true);
}

FormValue TFCFreeFrameParameters::WriteStrValue() const {
  auto section = lock_.ReadLock();
  if (items_.empty()) return FormListOf(pending_);
  std::vector<std::string> values;
  for (const auto& item : items_) values.push_back(item->GetAsString());
  return FormListOf(values);
}

void TFCFreeFrameParameters::ReadStrValue(const FormValue& value) {
  std::vector<std::string> strings = FormStringList(value, NamePath() + ".StrValue");
  auto section = lock_.WriteLock();
  pending_ = std::move(strings);
  TryApplyValues();
}

}  // namespace fc
