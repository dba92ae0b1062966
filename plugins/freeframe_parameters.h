// freeframe_parameters.h - the parameters of an effect plug-in as typed
// objects, and the persistent list that holds them (unit Fcfreeframe).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "contracts/pins/lock.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/form_defined_data.h"
#include "platform/runtime/persistent.h"

union fc_ff_mixed;

namespace fc {

class TFreeFramePlugin;

/// The kind of value a parameter shows to its users.
enum TFCFreeFramePropertyType { fptBoolean, fptByte, fptCardinal, fptSingle, fptString };

/// One parameter of the loaded plug-in: its index, its name (at most 16
/// characters) and the value the host holds for it.
///
/// Setters store the value under the host component's write lock and then
/// apply it (`ApplyCurrentValue`): while the plug-in has an instance the
/// value is sent to it (set parameter) and read back (get parameter), and the
/// read-back value is kept unless the plug-in answers failure. Without an
/// instance the value is only stored; the host applies every parameter when
/// it creates the next instance. Every call into the plug-in happens under
/// the component lock, so it never overlaps the processing of a frame.
///
/// Derived conversions: `AsString` is the kind's text form; `AsInteger` the
/// rounded `AsSingle` (setting it sets the float); `AsBoolean` is
/// `AsSingle` != 0 (setting it sets 1.0 or 0.0).
class FC_COMPONENTS_API TFCFreeFrameParameter : public TOwnedPersistent {
  FC_DECLARE_CLASS_INFO()
public:
  TFCFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                        std::uint16_t index, std::string name);

  std::uint16_t Index() const { return index_; }
  std::string VC_Name() const { return name_; }

  /// Sends the held value to the instance and keeps what it reads back.
  virtual void ApplyCurrentValue() = 0;
  /// The plug-in's own text for the value (empty without an instance).
  virtual std::string GetDisplayValue();
  virtual std::string GetAsString() { return GetStringValue(); }
  virtual float GetAsSingle() = 0;
  virtual std::int32_t GetAsInteger();
  virtual bool GetAsBoolean() { return GetAsSingle() != 0.0f; }
  virtual void SetAsString(const std::string& value) { SetStringValue(value); }
  virtual void SetAsSingle(float value) = 0;
  virtual void SetAsInteger(std::int32_t value) { SetAsSingle(static_cast<float>(value)); }
  virtual void SetAsBoolean(bool value) { SetAsSingle(value ? 1.0f : 0.0f); }
  /// Takes the value from its text form; a text the kind cannot read raises
  /// EFCError naming the parameter and the text.
  virtual void SetStringValue(const std::string& value) = 0;
  virtual std::string GetStringValue() = 0;
  virtual TFCFreeFramePropertyType GetPropertyType() = 0;

protected:
  /// Set parameter with `value`, then get parameter: true with the answer in
  /// `readBack` when an instance exists and the plug-in did not fail.
  bool SendAndReadBack(fc_ff_mixed value, fc_ff_mixed& readBack);
  /// Set parameter with `value` only (the event pulse).
  void Send(float value);
  bool HasInstance() const;
  const TPMObject& Lock() const { return lock_; }
  /// EFCError: "<parameter>: cannot take '<text>' (<expected>)".
  [[noreturn]] void RefuseText(const std::string& text, const char* expected) const;

private:
  const TPMObject& lock_;
  TFreeFramePlugin& plugin_;
  std::uint16_t index_;
  std::string name_;
};

/// A value from 0 to 1 (type 10 and every type not listed).
class FC_COMPONENTS_API TFCStandardFreeFrameParameter : public TFCFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  TFCStandardFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                                std::uint16_t index, std::string name, float defaultValue);
  void ApplyCurrentValue() override;
  float GetAsSingle() override;
  void SetAsSingle(float value) override;
  void SetStringValue(const std::string& value) override;
  std::string GetStringValue() override;
  TFCFreeFramePropertyType GetPropertyType() override { return fptSingle; }

private:
  float value_;
};

/// On or off (type 0); sent as 1.0 or 0.0.
class FC_COMPONENTS_API TFCBooleanFreeFrameParameter : public TFCFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  TFCBooleanFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                               std::uint16_t index, std::string name, float defaultValue);
  void ApplyCurrentValue() override;
  float GetAsSingle() override;
  void SetAsSingle(float value) override;
  /// "TRUE" or "FALSE" in any case; any other text leaves the value.
  void SetStringValue(const std::string& value) override;
  /// "True" or "False".
  std::string GetStringValue() override;
  TFCFreeFramePropertyType GetPropertyType() override { return fptBoolean; }

private:
  bool value_;
};

/// A pulse (type 1): any set sends 1.0 and then 0.0 to the instance; it
/// holds no value.
class FC_COMPONENTS_API TFCEventFreeFrameParameter : public TFCBooleanFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCBooleanFreeFrameParameter::TFCBooleanFreeFrameParameter;
  void ApplyCurrentValue() override {}
  float GetAsSingle() override { return 0.0f; }
  void SetAsSingle(float value) override;
  void SetStringValue(const std::string& value) override;
  std::string GetStringValue() override { return "Event..."; }

private:
  void Pulse();
};

/// A whole number sent to the plug-in as value / scale and read back as
/// round(answer x scale); the shared part of the colour and position kinds.
class FC_COMPONENTS_API TFCWholeFreeFrameParameter : public TFCFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  /// The range a value must lie in, and how it is scaled for the plug-in.
  struct TScale {
    double scale;
    double lowest;
    double highest;
    const char* expected;  ///< the range in words, for messages
  };

  TFCWholeFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                             std::uint16_t index, std::string name, float defaultValue, const TScale& scale);
  void ApplyCurrentValue() override;
  float GetAsSingle() override;
  /// Rounded (halves to even); a value outside the range raises EFCError.
  void SetAsSingle(float value) override;
  void SetStringValue(const std::string& value) override;
  std::string GetStringValue() override;

private:
  std::int32_t Clamped(double value) const;
  void Store(double value, const std::string& text);

  const TScale& scale_;
  std::int32_t value_;
};

/// A colour channel (types 2, 3, 4): a byte 0 to 255, sent as value / 255.
class FC_COMPONENTS_API TFCColorFreeFrameParameter : public TFCWholeFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  TFCColorFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                             std::uint16_t index, std::string name, float defaultValue);
  TFCFreeFramePropertyType GetPropertyType() override { return fptByte; }
};

class FC_COMPONENTS_API TFCRedFreeFrameParameter : public TFCColorFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCColorFreeFrameParameter::TFCColorFreeFrameParameter;
};
class FC_COMPONENTS_API TFCGreenFreeFrameParameter : public TFCColorFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCColorFreeFrameParameter::TFCColorFreeFrameParameter;
};
class FC_COMPONENTS_API TFCBlueFreeFrameParameter : public TFCColorFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCColorFreeFrameParameter::TFCColorFreeFrameParameter;
};

/// A position (types 5, 6): a 32-bit integer, sent as a float.
class FC_COMPONENTS_API TFCPosFreeFrameParameter : public TFCWholeFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  TFCPosFreeFrameParameter(TPersistent* owner, const TPMObject& lock, TFreeFramePlugin& plugin,
                           std::uint16_t index, std::string name, float defaultValue);
  TFCFreeFramePropertyType GetPropertyType() override { return fptCardinal; }
};

class FC_COMPONENTS_API TFCXPosFreeFrameParameter : public TFCPosFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCPosFreeFrameParameter::TFCPosFreeFrameParameter;
};
class FC_COMPONENTS_API TFCYPosFreeFrameParameter : public TFCPosFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCPosFreeFrameParameter::TFCPosFreeFrameParameter;
};

/// Text (type 100), sent as a pointer to the held string.
class FC_COMPONENTS_API TFCTextFreeFrameParameter : public TFCFreeFrameParameter {
  FC_DECLARE_CLASS_INFO()
public:
  using TFCFreeFrameParameter::TFCFreeFrameParameter;
  void ApplyCurrentValue() override;
  /// Text has no number: 0, and setting a number changes nothing.
  float GetAsSingle() override { return 0.0f; }
  void SetAsSingle(float) override {}
  void SetStringValue(const std::string& value) override;
  std::string GetStringValue() override;
  TFCFreeFramePropertyType GetPropertyType() override { return fptString; }

private:
  std::string value_;
};

/// The parameters of the loaded plug-in, in index order, and the values a
/// form stored for them.
///
/// Stored in forms as "StrValue", a list of strings, always written: each
/// parameter's AsString in index order, or, while no plug-in is loaded, the
/// stored strings as they were read (so saving a form whose plug-in is
/// missing keeps its values). Reading keeps the strings as pending; they are
/// assigned by index (surplus strings dropped) as soon as parameters exist,
/// whether the plug-in loads before or after the strings are read.
class FC_COMPONENTS_API TFCFreeFrameParameters : public TOwnedPersistent, public TFormDefinedData {
  FC_DECLARE_CLASS_INFO()
public:
  TFCFreeFrameParameters(TPersistent* owner, std::string propertyName, const TPMObject& lock,
                         TFreeFramePlugin& plugin);
  ~TFCFreeFrameParameters() override;

  int Count() const;
  /// The parameter at `index`; EFCError out of range. Loading a plug-in
  /// rebuilds the list and destroys the parameter objects: look them up again
  /// after setting FilterFileName.
  TFCFreeFrameParameter& Items(int index) const;
  /// The parameter named `name` (case-insensitive), or null.
  TFCFreeFrameParameter* Find(std::string_view name) const;

  /// Rebuilds the list from the loaded plug-in (count, type, name and
  /// default of each parameter), then applies the pending strings. Under
  /// the component's write lock.
  void Populate();
  /// Every parameter's ApplyCurrentValue (a new instance takes the values).
  void ApplyAll();
  /// Assigns pending string i to parameter i through AsString for i below
  /// both counts, then forgets the pending strings; nothing happens while
  /// either is empty.
  void TryApplyValues();
  /// The strings read from a form and not yet applied.
  std::vector<std::string> PendingStrings() const;

  void DefineProperties(TFormFiler& filer) override;

private:
  std::unique_ptr<TFCFreeFrameParameter> Make(std::uint32_t index);
  FormValue WriteStrValue() const;
  void ReadStrValue(const FormValue& value);

  const TPMObject& lock_;
  TFreeFramePlugin& plugin_;
  std::vector<std::unique_ptr<TFCFreeFrameParameter>> items_;
  std::vector<std::string> pending_;
};

}  // namespace fc
