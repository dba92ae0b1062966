#include "platform/runtime/form_lexer.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <utility>

#include "platform/runtime/form_error.h"

namespace fc {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isNameChar(char c) { return isLetter(c) || isDigit(c); }
bool isSymbolChar(char c) {
  switch (c) {
    case '=':
    case ':':
    case ',':
    case '(':
    case ')':
    case '[':
    case ']':
    case '<':
    case '>':
    case '{':
    case '+':
      return true;
    default:
      return false;
  }
}

int hexDigitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A character for a message: printable ones quoted, others as #<code>.
std::string describeChar(char c) {
  auto code = static_cast<unsigned char>(c);
  if (code >= 0x21 && code < 0x7F) return std::string("'") + c + "'";
  return std::string("#").append(std::to_string(code));
}

// Integer: -?digits. Float: -?digits.digits[e[+-]digits] or -?digits e[+-]digits.
bool isWellFormedNumber(std::string_view s, bool& isFloat) {
  std::size_t i = 0;
  if (i < s.size() && s[i] == '-') ++i;
  auto digits = [&] {
    std::size_t start = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    return i > start;
  };
  if (!digits()) return false;
  isFloat = false;
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (!digits()) return false;
    isFloat = true;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!digits()) return false;
    isFloat = true;
  }
  return i == s.size();
}

}  // namespace

bool isFormName(std::string_view text, bool allowDots) {
  // Segments after the first may also be indexes (InputPins.1).
  std::size_t segmentStart = 0;
  bool first = true;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !(allowDots && text[i] == '.')) continue;
    std::string_view segment = text.substr(segmentStart, i - segmentStart);
    bool index = !first && !segment.empty() && std::all_of(segment.begin(), segment.end(), isDigit);
    bool name =
        !segment.empty() && isLetter(segment[0]) && std::all_of(segment.begin(), segment.end(), isNameChar);
    if (!index && !name) return false;
    first = false;
    segmentStart = i + 1;
  }
  return true;
}

bool isFormKeyword(std::string_view text) { return text == "object" || text == "end" || text == "item"; }

std::string describeToken(const FormToken& token) {
  switch (token.kind) {
    case FormTokenKind::End:
      return "end of file";
    case FormTokenKind::Name:
    case FormTokenKind::Integer:
    case FormTokenKind::Float:
      return "'" + token.text + "'";
    case FormTokenKind::String:
      return "a string";
    case FormTokenKind::Symbol:
      return std::string("'") + token.symbol + "'";
  }
  return "a token";
}

FormLexer::FormLexer(std::string_view text, std::string fileName)
    : text_(text), fileName_(std::move(fileName)) {}

void FormLexer::fail(int line, const std::string& message) const {
  throw EFormError(fileName_, line, message);
}

char FormLexer::lookahead(std::size_t offset) const {
  return pos_ + offset < text_.size() ? text_[pos_ + offset] : '\0';
}

FormToken FormLexer::next() {
  if (peeked_) {
    FormToken token = std::move(*peeked_);
    peeked_.reset();
    return token;
  }
  return scan();
}

const FormToken& FormLexer::peek() {
  if (!peeked_) peeked_ = scan();
  return *peeked_;
}

void FormLexer::skipSpaceAndComments() {
  while (!atEnd()) {
    char c = current();
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++pos_;
    } else if (c == '/' && lookahead(1) == '/') {
      while (!atEnd() && current() != '\n') ++pos_;
    } else {
      return;
    }
  }
}

FormToken FormLexer::scan() {
  skipSpaceAndComments();
  if (atEnd()) {
    FormToken token;
    token.line = line_;
    return token;
  }
  char c = current();
  if (isLetter(c)) return scanName();
  if (isDigit(c) || (c == '-' && isDigit(lookahead(1)))) return scanNumber();
  if (c == '\'' || c == '#') return scanString();
  if (isSymbolChar(c)) {
    FormToken token;
    token.kind = FormTokenKind::Symbol;
    token.symbol = c;
    token.line = line_;
    ++pos_;
    return token;
  }
  fail(line_, "unexpected character " + describeChar(c));
}

FormToken FormLexer::scanName() {
  FormToken token;
  token.kind = FormTokenKind::Name;
  token.line = line_;
  std::size_t start = pos_;
  while (!atEnd() && (isNameChar(current()) || current() == '.')) ++pos_;
  token.text.assign(text_.substr(start, pos_ - start));
  if (!isFormName(token.text, true)) fail(line_, "bad name '" + token.text + "'");
  return token;
}

FormToken FormLexer::scanNumber() {
  FormToken token;
  token.line = line_;
  std::size_t start = pos_;
  ++pos_;  // the first digit or the minus
  // Take the whole run of characters that can belong to a number or stick to
  // one, so "12abc" or "1.5.2" is reported as a whole.
  while (!atEnd()) {
    char c = current();
    char before = text_[pos_ - 1];
    bool exponentSign = (c == '+' || c == '-') && (before == 'e' || before == 'E');
    if (!isNameChar(c) && c != '.' && !exponentSign) break;
    ++pos_;
  }
  token.text.assign(text_.substr(start, pos_ - start));
  bool isFloat = false;
  if (!isWellFormedNumber(token.text, isFloat)) fail(line_, "bad number '" + token.text + "'");
  const char* first = token.text.data();
  const char* last = first + token.text.size();
  std::from_chars_result result;
  if (isFloat) {
    token.kind = FormTokenKind::Float;
    result = std::from_chars(first, last, token.real);
  } else {
    token.kind = FormTokenKind::Integer;
    result = std::from_chars(first, last, token.integer);
  }
  if (result.ec != std::errc() || result.ptr != last) fail(line_, "number out of range '" + token.text + "'");
  return token;
}

FormToken FormLexer::scanString() {
  FormToken token;
  token.kind = FormTokenKind::String;
  token.line = line_;
  while (!atEnd()) {
    if (current() == '\'')
      scanQuotedPart(token.text);
    else if (current() == '#')
      scanCharacterCode(token.text);
    else
      break;
  }
  return token;
}

void FormLexer::scanQuotedPart(std::string& out) {
  ++pos_;  // opening quote
  while (true) {
    if (atEnd() || current() == '\n' || current() == '\r') fail(line_, "unterminated string");
    char c = current();
    ++pos_;
    if (c != '\'') {
      out += c;
    } else if (!atEnd() && current() == '\'') {
      out += '\'';
      ++pos_;
    } else {
      return;
    }
  }
}

void FormLexer::scanCharacterCode(std::string& out) {
  ++pos_;  // '#'
  std::size_t start = pos_;
  while (!atEnd() && isNameChar(current())) ++pos_;
  std::string_view digits = text_.substr(start, pos_ - start);
  unsigned code = 0;
  auto result = std::from_chars(digits.data(), digits.data() + digits.size(), code);
  bool allDigits = !digits.empty() && result.ptr == digits.data() + digits.size();
  if (!allDigits || result.ec != std::errc() || code > 255)
    fail(line_, "bad character code '#" + std::string(digits) + "' (0 to 255 expected)");
  out += static_cast<char>(code);
}

std::vector<std::uint8_t> FormLexer::readBinary(int openLine) {
  std::vector<std::uint8_t> bytes;
  int high = -1;  // pending first digit of a pair
  while (true) {
    skipSpaceAndComments();
    if (atEnd()) fail(line_, "missing '}' of binary data begun on line " + std::to_string(openLine));
    char c = current();
    ++pos_;
    if (c == '}') break;
    int value = hexDigitValue(c);
    if (value < 0) fail(line_, "bad hex digit " + describeChar(c) + " in binary data");
    if (high < 0) {
      high = value;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + value));
      high = -1;
    }
  }
  if (high >= 0) fail(line_, "odd number of hex digits in binary data");
  return bytes;
}

}  // namespace fc
