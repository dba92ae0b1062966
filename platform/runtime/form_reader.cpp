#include "platform/runtime/form_reader.h"

#include <fstream>
#include <sstream>
#include <utility>

#include "platform/runtime/form_error.h"
#include "platform/runtime/form_lexer.h"

namespace fc {

namespace {

class FormReader {
 public:
  FormReader(std::string_view text, std::string fileName) : lexer_(text, std::move(fileName)) {}

  FormDocument read() {
    FormDocument document;
    document.fileName = lexer_.fileName();
    FormToken first = lexer_.next();
    if (!first.isName("object"))
      fail(first, "expected 'object' at the start of the form but found " + describeToken(first));
    document.root = readObjectAfterKeyword(first.line);
    FormToken after = lexer_.next();
    if (after.kind != FormTokenKind::End)
      fail(after,
           "unexpected " + describeToken(after) + " after the end of object '" + document.root.name + "'");
    return document;
  }

 private:
  // Guards the recursion of nested objects and values.
  class Nesting {
   public:
    Nesting(FormReader& reader, int line) : reader_(reader) {
      if (++reader_.depth_ > kFormMaxNesting)
        reader_.lexer_.fail(line, "nesting deeper than " + std::to_string(kFormMaxNesting) + " levels");
    }
    ~Nesting() { --reader_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    FormReader& reader_;
  };

  static bool isPlainName(const FormToken& token) {
    return token.kind == FormTokenKind::Name && isFormName(token.text, false) && !isFormKeyword(token.text);
  }

  [[noreturn]] void fail(const FormToken& at, const std::string& message) { lexer_.fail(at.line, message); }

  FormToken expectSymbol(char symbol, const std::string& context) {
    FormToken token = lexer_.next();
    if (!token.isSymbol(symbol))
      fail(token, std::string("expected '") + symbol + "' " + context + " but found " + describeToken(token));
    return token;
  }

  std::string expectPlainName(const char* what) {
    FormToken token = lexer_.next();
    if (!isPlainName(token))
      fail(token, std::string("expected ") + what + " but found " + describeToken(token));
    return token.text;
  }

  // object Name: TClass { property | object } end   ("object" already read)
  FormObject readObjectAfterKeyword(int line) {
    Nesting nesting(*this, line);
    FormObject object;
    object.line = line;
    object.name = expectPlainName("an object name");
    expectSymbol(':', "after the object name");
    object.className = expectPlainName("a class name");
    while (true) {
      FormToken token = lexer_.next();
      if (token.kind == FormTokenKind::End)
        fail(token, "missing 'end' of object '" + object.name + "' begun on line " + std::to_string(line));
      if (token.isName("end")) return object;
      if (token.isName("object")) {
        FormObject child = readObjectAfterKeyword(token.line);
        if (const FormObject* twin = object.findChild(child.name))
          fail(token, "object name '" + child.name + "' used twice (first on line " +
                          std::to_string(twin->line) + ")");
        object.children.push_back(std::move(child));
      } else {
        readProperty(token, object.properties, "in object '" + object.name + "'");
      }
    }
  }

  // Name = value   (the name token already read)
  void readProperty(const FormToken& name, FormPropertyList& properties, const std::string& context) {
    if (name.kind != FormTokenKind::Name || isFormKeyword(name.text))
      fail(name, "expected a property name or 'end' " + context + " but found " + describeToken(name));
    expectSymbol('=', "after property name '" + name.text + "'");
    FormValue value = readValue();
    if (const FormProperty* twin = properties.find(name.text))
      fail(name,
           "property '" + name.text + "' given twice (first on line " + std::to_string(twin->line) + ")");
    properties.set(name.text, std::move(value), name.line);
  }

  FormValue readValue() {
    FormToken token = lexer_.next();
    switch (token.kind) {
      case FormTokenKind::Integer:
        return FormValue::integer(token.integer);
      case FormTokenKind::Float:
        return FormValue::real(token.real);
      case FormTokenKind::Name:
        if (isFormKeyword(token.text)) break;
        return FormValue::identifier(std::move(token.text));
      case FormTokenKind::String:
        return FormValue::string(readStringContinuation(std::move(token.text)));
      case FormTokenKind::Symbol:
        return readBracketedValue(token);
      case FormTokenKind::End:
        break;
    }
    fail(token, "expected a value but found " + describeToken(token));
  }

  // Joins strings written as 'first' + 'second' + ...
  std::string readStringContinuation(std::string text) {
    while (lexer_.peek().isSymbol('+')) {
      lexer_.next();
      FormToken part = lexer_.next();
      if (part.kind != FormTokenKind::String)
        fail(part, "expected a string after '+' but found " + describeToken(part));
      text += part.text;
    }
    return text;
  }

  FormValue readBracketedValue(const FormToken& open) {
    Nesting nesting(*this, open.line);
    switch (open.symbol) {
      case '[':
        return FormValue::set(readSet(open.line));
      case '(':
        return FormValue::list(readList(open.line));
      case '{':
        return FormValue::binary(lexer_.readBinary(open.line));
      case '<':
        return FormValue::collection(readCollection(open.line));
      default:
        fail(open, "expected a value but found " + describeToken(open));
    }
  }

  // Reads "elem, elem, ... close" after the opening bracket; readElement
  // consumes one element.
  template <typename ReadElement>
  void readSeparated(char close, const char* what, int line, ReadElement readElement) {
    if (lexer_.peek().isSymbol(close)) {
      lexer_.next();
      return;
    }
    while (true) {
      readElement();
      FormToken token = lexer_.next();
      if (token.isSymbol(close)) return;
      if (token.kind == FormTokenKind::End)
        fail(token,
             std::string("missing '") + close + "' of " + what + " begun on line " + std::to_string(line));
      if (!token.isSymbol(','))
        fail(token, std::string("expected ',' or '") + close + "' in " + what + " but found " +
                        describeToken(token));
    }
  }

  std::vector<std::string> readSet(int line) {
    std::vector<std::string> names;
    readSeparated(']', "set", line, [&] {
      FormToken token = lexer_.next();
      if (!isPlainName(token)) fail(token, "expected a name in set but found " + describeToken(token));
      names.push_back(std::move(token.text));
    });
    return names;
  }

  std::vector<FormValue> readList(int line) {
    std::vector<FormValue> elements;
    readSeparated(')', "list", line, [&] { elements.push_back(readValue()); });
    return elements;
  }

  // < item Prop = value ... end  item ... end >   ("<" already read)
  std::vector<FormItem> readCollection(int line) {
    std::vector<FormItem> items;
    while (true) {
      FormToken token = lexer_.next();
      if (token.isSymbol('>')) return items;
      if (token.kind == FormTokenKind::End)
        fail(token, "missing '>' of collection begun on line " + std::to_string(line));
      if (!token.isName("item"))
        fail(token, "expected 'item' or '>' in collection but found " + describeToken(token));
      items.push_back(readItemBody(token.line));
    }
  }

  FormItem readItemBody(int line) {
    FormItem item;
    item.line = line;
    while (true) {
      FormToken token = lexer_.next();
      if (token.kind == FormTokenKind::End)
        fail(token, "missing 'end' of collection item begun on line " + std::to_string(line));
      if (token.isName("end")) return item;
      readProperty(token, item.properties, "in collection item");
    }
  }

  FormLexer lexer_;
  int depth_ = 0;
};

}  // namespace

FormDocument readForm(std::string_view text, std::string fileName) {
  return FormReader(text, std::move(fileName)).read();
}

FormDocument readFormFile(const std::filesystem::path& path) {
  std::error_code ignored;
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path, ignored))
    throw EFormError(path.string(), 0, "cannot open the file");
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) throw EFormError(path.string(), 0, "cannot read the file");
  return readForm(contents.str(), path.string());
}

}  // namespace fc
