/*
 * form_lexer.h - splits form-file text into tokens.
 *
 * Tokens: names (dotted names such as Region.Width or InputPins.1 are one
 * token; segments after the first may be indexes), integers
 * and floats (an optional leading minus), strings (quoted parts with '' for a
 * quote, joined without space to #<code> character codes: 'a'#13#10'b'),
 * single-character symbols ( = : , ( ) [ ] < > { + ), and the end of the
 * text. Spaces, tabs, line breaks and // comments separate tokens. Binary
 * data is not tokenised: after '{' the reader asks for the hex digits up to
 * the closing '}' with readBinary(). Faults throw EFormError naming the line.
 */
#ifndef FRAMECRAFT_FORM_LEXER_H
#define FRAMECRAFT_FORM_LEXER_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fc {

enum class FormTokenKind { End, Name, Integer, Float, String, Symbol };

struct FormToken {
  FormTokenKind kind = FormTokenKind::End;
  std::string text;  // Name: the name; String: the decoded bytes; numbers: the source text
  std::int64_t integer = 0;
  double real = 0.0;
  char symbol = 0;
  int line = 0;

  bool isSymbol(char c) const { return kind == FormTokenKind::Symbol && symbol == c; }
  bool isName(std::string_view name) const { return kind == FormTokenKind::Name && text == name; }
};

// Describes a token for error messages: 'Name', '=', 12, a string, end of file.
std::string describeToken(const FormToken& token);

class FormLexer {
 public:
  // The text must outlive the lexer.
  FormLexer(std::string_view text, std::string fileName);

  // Consumes and returns the next token.
  FormToken next();
  // The next token, without consuming it.
  const FormToken& peek();
  // Reads hex digit pairs up to '}' (spaces and line breaks allowed between
  // digits), after the '{' token has been consumed and nothing was peeked.
  std::vector<std::uint8_t> readBinary(int openLine);

  // The line of the next unread character.
  int line() const { return line_; }
  const std::string& fileName() const { return fileName_; }
  [[noreturn]] void fail(int line, const std::string& message) const;

 private:
  FormToken scan();
  void skipSpaceAndComments();
  FormToken scanName();
  FormToken scanNumber();
  FormToken scanString();
  void scanQuotedPart(std::string& out);
  void scanCharacterCode(std::string& out);

  bool atEnd() const { return pos_ >= text_.size(); }
  char current() const { return text_[pos_]; }
  char lookahead(std::size_t offset) const;

  std::string_view text_;
  std::string fileName_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::optional<FormToken> peeked_;
};

// True when the text is a name the lexer reads back as one Name token.
bool isFormName(std::string_view text, bool allowDots);

// The keywords object, end and item, which are never names.
bool isFormKeyword(std::string_view text);

}  // namespace fc

#endif
