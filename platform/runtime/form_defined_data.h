/*
 * form_defined_data.h - stored data a class keeps beside its published
 * properties.
 *
 * Some objects store data that is no published property: the cells of a
 * morphology structuring element ("MatrixData", and the older "Matrix" that is
 * read but never written), the parameter strings of an effect plug-in
 * ("StrValue"), the identifier and name of a media effect ("DMOInfo"). Such a
 * class also derives from TFormDefinedData and names each item to the filer
 * in DefineProperties. Loading and saving a form go through the same call:
 * the loader's filer calls `read` for an item the form holds, the saver's
 * filer calls `write` for each item whose `hasData` is true. In the file the
 * items look like properties of the object ("MorphShape.MatrixData = (...)").
 */
#ifndef FRAMECRAFT_FORM_DEFINED_DATA_H
#define FRAMECRAFT_FORM_DEFINED_DATA_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/components_api.h"
#include "platform/runtime/form_document.h"

namespace fc {

class FC_COMPONENTS_API TFormFiler {
public:
  /// Takes the stored value; throws EFCError when it is not what the item
  /// holds (the loader adds file and line).
  using Reader = std::function<void(const FormValue&)>;
  /// Gives the value to store.
  using Writer = std::function<FormValue()>;

  virtual ~TFormFiler() = default;
  /// One stored item of the object. A reader may be empty for an item that
  /// is only written; a writer may be empty for one that is only read.
  virtual void DefineProperty(std::string_view name, const Reader& read, const Writer& write,
                              bool hasData) = 0;
};

/// Mixed into a persistent class that stores data of its own.
class FC_COMPONENTS_API TFormDefinedData {
public:
  virtual void DefineProperties(TFormFiler& filer) = 0;

 protected:
  ~TFormDefinedData() = default;
};

/// The integers of a list value; throws EFCError "<what>: expects a list of
/// integers" for anything else.
FC_COMPONENTS_API std::vector<std::int64_t> FormIntegerList(const FormValue& value, std::string_view what);
/// The strings of a list value; throws EFCError "<what>: expects a list of
/// strings" for anything else.
FC_COMPONENTS_API std::vector<std::string> FormStringList(const FormValue& value, std::string_view what);
/// Value of a list of integers or of strings, for writers.
FC_COMPONENTS_API FormValue FormListOf(const std::vector<std::int64_t>& integers);
FC_COMPONENTS_API FormValue FormListOf(const std::vector<std::string>& strings);

}  // namespace fc

#endif
