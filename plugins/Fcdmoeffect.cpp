#include "plugins/Fcdmoeffect.h"

#include "platform/runtime/error.h"
#include "plugins/dmo_select_form.h"

namespace fc {

namespace {

// The status an effect's failure is reported with: the message says what
// failed.
constexpr IppStatus kEffectFailed = -1;

}  // namespace

const TClassInfo& TFCDMOEffect::StaticClassInfo() {
  using D = TFCDMOEffect;
  static const TClassInfo info = TClassBuilder<D>("TFCDMOEffect", &TFCCommonFilter::StaticClassInfo())
                                     .Property("DMOName", &D::GetDmoName, &D::SetDmoName, std::string())
                                     .Build();
  return info;
}

TFCDMOEffect::TFCDMOEffect(TComponent* owner) : TFCCommonFilter(owner) {}

TFCDMOEffect::~TFCDMOEffect() {
  RetirePins();
  ReleaseObjects();
}

std::string TFCDMOEffect::GetDmoName() const {
  auto section = ReadLock();
  return name_;
}

void TFCDMOEffect::SetDmoName(std::string name) {
  auto section = WriteLock();
  if (name == name_) return;
  name_ = std::move(name);
  classId_ = ClassIdFromName(name_);
  if (effect_) Reset();
}

TEffectClassId TFCDMOEffect::ClassId() const {
  auto section = ReadLock();
  return classId_;
}

TEffectClassId TFCDMOEffect::ClassIdFromName(std::string_view name) {
  std::optional<TEffectInfo> info = FindEffectByName(name);
  return info ? info->classId : TEffectClassId{};
}

void TFCDMOEffect::GetDmoNames(std::vector<std::string>& list) {
  for (const TEffectInfo& info : InstalledEffects()) list.push_back(info.name);
}

bool TFCDMOEffect::ShowDmoSelectDialog() {
  TFCDmoSelectForm form;
  GetDmoNames(form.Items());
  if (form.ShowModal() != mrOk || form.Selected().empty()) return false;
  SetDmoName(form.Selected());
  return true;
}

std::vector<std::string> TFCDMOEffect::GetEffectParameters() const {
  auto section = ReadLock();
  return parameters_;
}

void TFCDMOEffect::SetEffectParameters(std::vector<std::string> parameters) {
  auto section = WriteLock();
  if (std::optional<TEffectInfo> info = FindEffectByClassId(classId_)) CheckedSettings(*info, parameters);
  parameters_ = std::move(parameters);
  if (effect_) ApplySettings();
}

bool TFCDMOEffect::HasEffect() const {
  auto section = ReadLock();
  return effect_ != nullptr;
}

std::vector<TFCDMOEffect::TSetting> TFCDMOEffect::CheckedSettings(const TEffectInfo& info,
                                                                  const std::vector<std::string>& parameters) const {
  std::vector<TSetting> settings;
  for (const std::string& parameter : parameters) {
    const std::string where = NamePath() + ".EffectParameters: '" + parameter + "': ";
    const std::size_t equals = parameter.find('=');
    if (equals == std::string::npos) throw EFCError(where + "expects name=value");
    const std::string name = parameter.substr(0, equals);
    const int index = info.ParameterIndex(name);
    if (index < 0) throw EFCError(where + info.name + " has no parameter '" + name + "'");
    const TEffectParameterType type = info.parameters[static_cast<std::size_t>(index)].type;
    std::optional<TEffectValue> value = ParseEffectValue(type, std::string_view(parameter).substr(equals + 1));
    if (!value)
      throw EFCError(where + "'" + parameter.substr(equals + 1) + "' is no " + EffectParameterTypeName(type) +
                     " value for parameter '" + name + "'");
    settings.push_back({index, std::move(*value)});
  }
  return settings;
}

void TFCDMOEffect::ApplySettings() {
  for (const TSetting& setting : CheckedSettings(effect_->Info(), parameters_))
    effect_->SetParameter(setting.index, setting.value);
}

void TFCDMOEffect::ReportEffectFailure(const std::string& what) {
  // Reported, not charged to a frame: frames pass unchanged.
  ReportFailure(what + "; frames pass unchanged", kEffectFailed, TFCFailedFrame::PassInput);
  TakeFrameFailure();
}

void TFCDMOEffect::ReleaseObjects() {
  auto section = WriteLock();
  effect_.reset();
  in_ = TEffectPixels();
  out_ = TEffectPixels();
}

void TFCDMOEffect::Reset() {
  auto section = WriteLock();
  ReleaseObjects();
  frameNumber_ = 0;
  if (classId_.IsNull()) {
    if (!name_.empty()) ReportEffectFailure("no video effect named '" + name_ + "'");
    return;
  }
  const IppiSize size = StreamSize();
  if (size.width > 0 && size.height > 0) MakeEffect(size.width, size.height);
}

bool TFCDMOEffect::MakeEffect(int width, int height) {
  ReleaseObjects();
  std::optional<TEffectInfo> info = FindEffectByClassId(classId_);
  if (!info) {
    ReportEffectFailure("no installed video effect of class " + classId_.ToString() + " ('" + name_ + "')");
    return false;
  }
  if (info->Inputs() != 1) {
    ReportEffectFailure("'" + info->name + "' takes " + std::to_string(info->Inputs()) + " inputs, not one");
    return false;
  }
  std::string error;
  effect_ = TEffectInstance::Create(*info, EffectSide(width), EffectSide(height), error);
  if (!effect_) {
    ReportEffectFailure("'" + info->name + "': " + error);
    return false;
  }
  try {
    ApplySettings();
  } catch (...) {
    effect_.reset();
    throw;
  }
  in_ = TEffectPixels(effect_->Width(), effect_->Height());
  out_ = TEffectPixels(effect_->Width(), effect_->Height());
  return true;
}

void TFCDMOEffect::Stop() {
  ReleaseObjects();
  TFCCommonFilter::Stop();
}

double TFCDMOEffect::FrameTime(const TFCImageBuffer& frame) const {
  if (frame.TimeStamps().available) return double(frame.TimeStamps().begin) / double(kTimeUnitsPerSecond);
  return StreamRate() > 0 ? double(frameNumber_) / StreamRate() : 0.0;
}

void TFCDMOEffect::FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) {
  if (!effect_ || In.Width() <= 0 || In.Height() <= 0) return;  // Out holds the input
  if (EffectSide(In.Width()) != effect_->Width() || EffectSide(In.Height()) != effect_->Height()) {
    if (!MakeEffect(In.Width(), In.Height())) return;
  }
  ToEffectPixels(In, effect_->Info().colorModel, in_);
  effect_->Update(FrameTime(In), in_.Data(), out_.Data());
  FromEffectPixels(out_, effect_->Info().colorModel, *Out);
  ++frameNumber_;
}

void TFCDMOEffect::DefineProperties(TFormFiler& filer) {
  bool hasInfo, hasParameters;
  {
    auto section = ReadLock();
    hasInfo = !classId_.IsNull() || !name_.empty();
    hasParameters = !parameters_.empty();
  }
  filer.DefineProperty(
      "DMOInfo", [this](const FormValue& value) { ReadDmoInfo(value); },
      [this] {
        auto section = ReadLock();
        return FormListOf(std::vector<std::string>{classId_.ToString(), name_});
      },
      hasInfo);
  filer.DefineProperty(
      "EffectParameters",
      [this](const FormValue& value) { SetEffectParameters(FormStringList(value, NamePath() + ".EffectParameters")); },
      [this] { return FormListOf(GetEffectParameters()); }, hasParameters);
}

void TFCDMOEffect::ReadDmoInfo(const FormValue& value) {
  const std::string item = NamePath() + ".DMOInfo";
  const std::vector<std::string> strings = FormStringList(value, item);
  if (strings.size() != 2) throw EFCError(item + ": expects the class identifier and the name");
  std::optional<TEffectClassId> id = TEffectClassId::FromString(strings[0]);
  if (!id) throw EFCError(item + ": '" + strings[0] + "' is no class identifier");
  auto section = WriteLock();
  classId_ = *id;
  name_ = strings[1];
}

}  // namespace fc

FC_DEFINE_REGISTERED_UNIT(Fcdmoeffect, TFCDMOEffect)
