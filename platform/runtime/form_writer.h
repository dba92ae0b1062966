/*
 * form_writer.h - writes a FormDocument as form text (see form_reader.h for
 * the grammar).
 *
 * Every property of the document is written as given, in order: leaving out
 * values equal to their stored defaults is the business of the layer that
 * knows the defaults. What the writer produces reads back into an equal
 * document: floats in the shortest form that reads back to the same double
 * (always with a '.' or an exponent, so they stay floats), control characters
 * of strings as #codes, long strings split with '+', binary data longer than
 * one line as rows of hex digits.
 *
 * A document that cannot be written so that it reads back (a name that is not
 * a name, a keyword used as a name, an infinite or NaN float) gives an
 * EFormError naming the file, the object and the property.
 */
#ifndef FRAMECRAFT_FORM_WRITER_H
#define FRAMECRAFT_FORM_WRITER_H

#include <filesystem>
#include <string>

#include "platform/runtime/components_api.h"
#include "platform/runtime/form_document.h"

namespace fc {

// The form text of the document; fileName is used only in error messages.
FC_COMPONENTS_API std::string writeForm(const FormDocument& document);

// Writes the form text to a file, replacing it.
FC_COMPONENTS_API void writeFormFile(const FormDocument& document, const std::filesystem::path& path);

}  // namespace fc

#endif
