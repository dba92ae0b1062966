/*
 * form_reader.h - reads a form file into a FormDocument.
 *
 * Grammar (names are letters, digits and '_', not starting with a digit;
 * the keywords object, end and item are never names; // starts a comment):
 *
 *   form       = object                                     (then end of file)
 *   object     = "object" Name ":" ClassName { property | object } "end"
 *   property   = Name { "." ( Name | digits ) } "=" value
 *   value      = integer | float | string | reference | set | list
 *              | binary | collection
 *   integer    = [ "-" ] digits                              12  -3
 *   float      = [ "-" ] digits ( "." digits [ exponent ] | exponent )
 *                                                            0.5  -1.25e-7  1e+20
 *   string     = part { part } { "+" part { part } }
 *   part       = "'" { character | "''" } "'" | "#" code     'It''s'#13#10 + 'more'
 *   reference  = Name { "." ( Name | digits ) }  bfmMedian  True  Resize1.InputPin
 *   set        = "[" [ Name { "," Name } ] "]"               [fsBold, fsItalic]
 *   list       = "(" [ value { "," value } ] ")"             (9, 1, 0, 1)
 *   binary     = "{" { hexdigit hexdigit } "}"     pairs may be split by spaces
 *                                                  and line breaks
 *   collection = "<" { "item" { property } "end" } ">"
 *
 * A #code is a byte, 0 to 255; quoted parts and codes written without space
 * between them form one string, and "+" joins strings across lines. Booleans
 * and enumeration values are names. Pin connections are stored with the
 * source pin, as a list of "<component>.<pin>" references:
 *
 *   OutputPin.SinkPins = (Resize1.InputPin, Sink2.InputPin)
 *   OutputPins.2.SinkPins = (Merge1.InputPins.0)
 *
 * A pin of a pin list, and an item of a collection, are named by their index:
 *
 *   OutputPin.SinkPins = (QueuedSwitch1.InputChannels.1.InputPin)
 *
 * Errors throw EFormError with the file name and line: unterminated string,
 * bad number, bad character code, bad hex digit, missing 'end', a property
 * or object name given twice, unexpected token and so on.
 */
#ifndef FRAMECRAFT_FORM_READER_H
#define FRAMECRAFT_FORM_READER_H

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/runtime/components_api.h"
#include "platform/runtime/form_document.h"

namespace fc {

// Objects and values may nest this deep; deeper input is refused rather
// than allowed to exhaust the stack.
inline constexpr int kFormMaxNesting = 200;

// Reads a form from text; fileName is used in error messages.
FC_COMPONENTS_API FormDocument readForm(std::string_view text, std::string fileName);

// Reads a form file; a file that cannot be read gives an EFormError too.
FC_COMPONENTS_API FormDocument readFormFile(const std::filesystem::path& path);

}  // namespace fc

#endif
