/*
 * form_loader.h - builds live components from a form document.
 *
 * Each object of the document becomes a component of its class, made through
 * the class lookup (the catalogue) and owned by the component of the
 * enclosing object; its name is set, then its properties in the order of the
 * file, through the property registry:
 *
 *   Width = 320              a scalar property (integer, float, True/False,
 *                            string, enumeration identifier)
 *   Region.Width = 20        a property of a sub-object
 *   Items = < item ... end > a collection: its items are replaced
 *   MorphShape.MatrixData    stored data of a TFormDefinedData object
 *   OutputPin.SinkPins = (Resize1.InputPin)
 *                            connections of a source pin, made once every
 *                            object exists
 *
 * A reference "<component>.<pin path>" names a component among the siblings
 * of the connecting component (or the root, or a component the root owns) and
 * a published pin of it; a pin of a pin list, or a pin of a collection item,
 * is reached through the index (Merge1.InputPins.0, Switch1.Channels.2.Input).
 * Dotted property names may also reach into existing items (Items.0.Label).
 *
 * Any fault throws EFormError with the file and line: unknown class, unknown
 * property, wrong value type, a value the property refuses, a dangling or
 * refused connection. Everything built so far is destroyed first, so nothing
 * half-built is left behind.
 */
#ifndef FRAMECRAFT_FORM_LOADER_H
#define FRAMECRAFT_FORM_LOADER_H

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/runtime/component.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/form_document.h"

namespace fc {

/// The description of a component class by its name; null when unknown.
using TFormClassLookup = std::function<const TClassInfo*(std::string_view className)>;

/// Builds the components of `document`; the root component owns the rest.
FC_COMPONENTS_API std::unique_ptr<TComponent> LoadForm(const FormDocument& document, const TFormClassLookup& classes);

/// Reads a form file and builds its components.
FC_COMPONENTS_API std::unique_ptr<TComponent> LoadFormFile(const std::filesystem::path& path,
                                                           const TFormClassLookup& classes);

}  // namespace fc

#endif
