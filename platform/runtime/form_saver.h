/*
 * form_saver.h - turns live components into a form document.
 *
 * The component becomes the root object and each component it owns a child
 * object, in the order they were created. Of each component, sub-object and
 * collection item the saver stores, in publishing order: every writable
 * scalar property whose value differs from its stored default (a property
 * without a stored default always), sub-objects' properties as dotted names,
 * collections that hold items, the connections of each source pin as
 * "<pin>.SinkPins = (<component>.<pin>, ...)", and the stored data of objects
 * that define some (TFormDefinedData). Read-only properties are not stored.
 */
#ifndef FRAMECRAFT_FORM_SAVER_H
#define FRAMECRAFT_FORM_SAVER_H

#include <filesystem>
#include <string>

#include "platform/runtime/component.h"
#include "platform/runtime/components_api.h"
#include "platform/runtime/form_document.h"

namespace fc {

/// The document of `root` and the components it owns; fileName is used in
/// error messages. A connection to a pin its component does not publish
/// cannot be stored and gives EFormError.
FC_COMPONENTS_API FormDocument SaveForm(TComponent& root, std::string fileName = {});

/// Saves the components and writes the form file.
FC_COMPONENTS_API void SaveFormFile(TComponent& root, const std::filesystem::path& path);

}  // namespace fc

#endif
