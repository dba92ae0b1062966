#include "platform/runtime/form_writer.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <string_view>

#include "platform/runtime/form_error.h"
#include "platform/runtime/form_lexer.h"

namespace fc {

namespace {

constexpr std::size_t kStringPartLength = 64;  // characters per quoted part
constexpr std::size_t kBinaryBytesPerLine = 32;
constexpr std::size_t kLineWidth = 100;  // lists wrap beyond this column

bool isPrintable(unsigned char c) { return c >= 0x20 && c != 0x7F; }

// A byte that continues a UTF-8 sequence: a string is not split before one.
bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string spaces(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

std::string formatReal(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

// 'quoted parts' and #codes, split with " +" and a line break every
// kStringPartLength characters.
std::string formatString(const std::string& text, int continuationIndent) {
  if (text.empty()) return "''";
  std::string out;
  bool quoted = false;
  std::size_t partLength = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (partLength >= kStringPartLength && !isContinuationByte(c)) {
      if (quoted) out += '\'';
      out += " +\n" + spaces(continuationIndent);
      quoted = false;
      partLength = 0;
    }
    if (isPrintable(c)) {
      if (!quoted) out += '\'';
      quoted = true;
      out += (c == '\'') ? "''" : std::string(1, static_cast<char>(c));
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(c);
    }
    ++partLength;
  }
  if (quoted) out += '\'';
  return out;
}

std::string formatBinary(const std::vector<std::uint8_t>& bytes, int indent) {
  static const char digits[] = "0123456789ABCDEF";
  bool multiLine = bytes.size() > kBinaryBytesPerLine;
  std::string out = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (multiLine && i % kBinaryBytesPerLine == 0) {
      out += '\n';
      out += spaces(indent);
    }
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out + "}";
}

std::size_t lastLineLength(const std::string& text) {
  std::size_t newline = text.rfind('\n');
  return newline == std::string::npos ? text.size() : text.size() - newline - 1;
}

class FormWriter {
 public:
  explicit FormWriter(std::string fileName) : fileName_(std::move(fileName)) {}

  std::string write(const FormObject& root) {
    std::string out;
    writeObject(out, root, 0);
    return out;
  }

 private:
  [[noreturn]] void fail(const std::string& message) const { throw EFormError(fileName_, 0, message); }

  void checkName(std::string_view name, bool allowDots, const std::string& what) const {
    if (!isFormName(name, allowDots) || isFormKeyword(name))
      fail("cannot write " + what + " named '" + std::string(name) + "'");
  }

  void writeObject(std::string& out, const FormObject& object, int indent) {
    checkName(object.name, false, "an object");
    checkName(object.className, false, "the class of object '" + object.name + "'");
    out += spaces(indent) + "object " + object.name + ": " + object.className + "\n";
    writeProperties(out, object.properties, indent + 2, "object '" + object.name + "'");
    for (const FormObject& child : object.children) writeObject(out, child, indent + 2);
    out += spaces(indent) + "end\n";
  }

  void writeProperties(std::string& out, const FormPropertyList& properties, int indent,
                       const std::string& owner) {
    for (const FormProperty& property : properties.all()) {
      std::string context = "property '" + property.name + "' of " + owner;
      checkName(property.name, true, "a property of " + owner);
      out += spaces(indent) + property.name + " = ";
      out += formatValue(property.value, indent, lastLineLength(out), context);
      out += "\n";
    }
  }

  // The value's text, starting at `column`; lines after the first start at
  // indent + 2.
  std::string formatValue(const FormValue& value, int indent, std::size_t column,
                          const std::string& context) {
    switch (value.kind()) {
      case FormValue::Kind::Integer:
        return std::to_string(value.asInteger());
      case FormValue::Kind::Float:
        if (!std::isfinite(value.asReal())) fail("cannot write the infinite or NaN value of " + context);
        return formatReal(value.asReal());
      case FormValue::Kind::String:
        return formatString(value.text(), indent + 2);
      case FormValue::Kind::Identifier:
        checkName(value.text(), true, "the value of " + context);
        return value.text();
      case FormValue::Kind::Set:
        return formatSet(value.names(), context);
      case FormValue::Kind::List:
        return formatList(value.elements(), indent, column, context);
      case FormValue::Kind::Binary:
        return formatBinary(value.bytes(), indent + 2);
      case FormValue::Kind::Collection:
        return formatCollection(value.items(), indent, context);
    }
    fail("cannot write the value of " + context);
  }

  std::string formatSet(const std::vector<std::string>& names, const std::string& context) {
    std::string out = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (!isFormName(names[i], false) || isFormKeyword(names[i]))
        fail("cannot write '" + names[i] + "' in the set of " + context);
      out += (i ? ", " : "") + names[i];
    }
    return out + "]";
  }

  // (a, b, c), wrapped to a new line where an element would pass the line
  // width or spans lines itself.
  std::string formatList(const std::vector<FormValue>& elements, int indent, std::size_t column,
                         const std::string& context) {
    std::string out = "(";
    auto currentColumn = [&] {
      return out.find('\n') == std::string::npos ? column + out.size() : lastLineLength(out);
    };
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (i > 0) out += ',';
      std::string element = formatValue(elements[i], indent + 2, currentColumn() + 1, context);
      if (i > 0) {
        bool wrap =
            element.find('\n') != std::string::npos || currentColumn() + 1 + element.size() > kLineWidth;
        if (wrap) {
          out += '\n';
          out += spaces(indent + 2);
        } else {
          out += ' ';
        }
      }
      out += element;
    }
    return out + ")";
  }

  std::string formatCollection(const std::vector<FormItem>& items, int indent, const std::string& context) {
    if (items.empty()) return "<>";
    std::string out = "<\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
      out += spaces(indent + 2) + "item\n";
      writeProperties(out, items[i].properties, indent + 4, "item " + std::to_string(i) + " of " + context);
      out += spaces(indent + 2) + "end";
      out += (i + 1 < items.size()) ? "\n" : ">";
    }
    return out;
  }

  std::string fileName_;
};

}  // namespace

std::string writeForm(const FormDocument& document) {
  return FormWriter(document.fileName).write(document.root);
}

void writeFormFile(const FormDocument& document, const std::filesystem::path& path) {
  std::string text = FormWriter(path.string()).write(document.root);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw EFormError(path.string(), 0, "cannot create the file");
  out << text;
  out.flush();
  if (!out) throw EFormError(path.string(), 0, "cannot write the file");
}

}  // namespace fc
