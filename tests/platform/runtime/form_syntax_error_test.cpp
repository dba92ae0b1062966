#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/form_error.h"
#include "platform/runtime/form_reader.h"

namespace fc {
namespace {

struct SyntaxCase {
  const char* what;
  std::string text;
  int line;
  const char* message;
};

// Every fault is reported as "<file>:<line>: <message>".
TEST(FormSyntaxErrors, EachFaultNamesFileLineAndCause) {
  const SyntaxCase cases[] = {
      {"empty file", "", 1, "expected 'object' at the start of the form but found end of file"},
      {"no object keyword", "\nthing A: TA\nend\n", 2,
       "expected 'object' at the start of the form but found 'thing'"},
      {"missing colon", "object A TA\nend\n", 1, "expected ':' after the object name but found 'TA'"},
      {"missing class", "object A:\n  end", 2, "expected a class name but found 'end'"},
      {"dotted object name", "object A.B: TA\nend\n", 1, "expected an object name but found 'A.B'"},
      {"number as name", "object 5: TA\nend\n", 1, "expected an object name but found '5'"},
      {"missing end", "object A: TA\n  X = 1\n", 3, "missing 'end' of object 'A' begun on line 1"},
      {"missing end of child", "object A: TA\n  object B: TB\n    X = 1\nend\n", 5,
       "missing 'end' of object 'A' begun on line 1"},
      {"text after end", "object A: TA\nend\nobject B: TB\nend\n", 3,
       "unexpected 'object' after the end of object 'A'"},
      {"missing equals", "object A: TA\n  X 1\nend\n", 2,
       "expected '=' after property name 'X' but found '1'"},
      {"missing value", "object A: TA\n  X =\nend\n", 3, "expected a value but found 'end'"},
      {"symbol as value", "object A: TA\n  X = )\nend\n", 2, "expected a value but found ')'"},
      {"value at end of file", "object A: TA\n  X =", 2, "expected a value but found end of file"},
      {"symbol as property", "object A: TA\n  = 1\nend\n", 2,
       "expected a property name or 'end' in object 'A' but found '='"},
      {"unterminated string", "object A: TA\n  S = 'abc\nend\n", 2, "unterminated string"},
      {"unterminated at end", "object A: TA\n  S = 'abc", 2, "unterminated string"},
      {"bad character code", "object A: TA\n  S = 'a'#x1\nend\n", 2,
       "bad character code '#x1' (0 to 255 expected)"},
      {"character code too big", "object A: TA\n  S = #256\nend\n", 2,
       "bad character code '#256' (0 to 255 expected)"},
      {"empty character code", "object A: TA\n  S = 'a'# 'b'\nend\n", 2,
       "bad character code '#' (0 to 255 expected)"},
      {"plus without string", "object A: TA\n  S = 'a' +\n    5\nend\n", 3,
       "expected a string after '+' but found '5'"},
      {"plus after number", "object A: TA\n  S = 5 + 'a'\nend\n", 2,
       "expected a property name or 'end' in object 'A' but found '+'"},
      {"letters in number", "object A: TA\n  N = 12abc\nend\n", 2, "bad number '12abc'"},
      {"two points", "object A: TA\n  N = 1.5.2\nend\n", 2, "bad number '1.5.2'"},
      {"no fraction digits", "object A: TA\n  N = 1.\nend\n", 2, "bad number '1.'"},
      {"empty exponent", "object A: TA\n  N = 2e+\nend\n", 2, "bad number '2e+'"},
      {"integer too big", "object A: TA\n  N = 9223372036854775808\nend\n", 2,
       "number out of range '9223372036854775808'"},
      {"float too big", "object A: TA\n  N = 1e999\nend\n", 2, "number out of range '1e999'"},
      {"stray character", "object A: TA\n  N = @\nend\n", 2, "unexpected character '@'"},
      {"control character", std::string("object A: TA\n  N = \x01\nend\n"), 2, "unexpected character #1"},
      {"bad name", "object A: TA\n  Region..Width = 1\nend\n", 2, "bad name 'Region..Width'"},
      {"index with letters", "object A: TA\n  Pins.1a = 1\nend\n", 2, "bad name 'Pins.1a'"},
      {"trailing dot", "object A: TA\n  Region. = 1\nend\n", 2, "bad name 'Region.'"},
      {"unclosed list", "object A: TA\n  L = (1, 2\n", 3, "missing ')' of list begun on line 2"},
      {"list without comma", "object A: TA\n  L = (1 2)\nend\n", 2,
       "expected ',' or ')' in list but found '2'"},
      {"list trailing comma", "object A: TA\n  L = (1,)\nend\n", 2, "expected a value but found ')'"},
      {"keyword as value", "object A: TA\n  X = item\nend\n", 2, "expected a value but found 'item'"},
      {"keyword as property", "object A: TA\n  item = 1\nend\n", 2,
       "expected a property name or 'end' in object 'A' but found 'item'"},
      {"keyword in set", "object A: TA\n  S = [end]\nend\n", 2, "expected a name in set but found 'end'"},
      {"set of numbers", "object A: TA\n  S = [a, 1]\nend\n", 2, "expected a name in set but found '1'"},
      {"unclosed set", "object A: TA\n  S = [a", 2, "missing ']' of set begun on line 2"},
      {"bad hex digit", "object A: TA\n  B = {00\n 1G}\nend\n", 3, "bad hex digit 'G' in binary data"},
      {"odd hex digits", "object A: TA\n  B = {0\n 12}\nend\n", 3, "odd number of hex digits in binary data"},
      {"unclosed binary", "object A: TA\n  B = {0011\n\n", 4, "missing '}' of binary data begun on line 2"},
      {"collection without item", "object A: TA\n  C = <\n    A = 1\n  >\nend\n", 3,
       "expected 'item' or '>' in collection but found 'A'"},
      {"item without end", "object A: TA\n  C = <\n    item\n      A = 1\n  >\nend\n", 5,
       "expected a property name or 'end' in collection item but found '>'"},
      {"item at end of file", "object A: TA\n  C = <\n    item\n", 4,
       "missing 'end' of collection item begun on line 3"},
      {"unclosed collection", "object A: TA\n  C = <\n    item end\n", 4,
       "missing '>' of collection begun on line 2"},
      {"property twice", "object A: TA\n  X = 1\n  Y = 2\n  X = 3\nend\n", 4,
       "property 'X' given twice (first on line 2)"},
      {"item property twice", "object A: TA\n  C = <item X = 1\n X = 2 end>\nend\n", 3,
       "property 'X' given twice (first on line 2)"},
      {"object name twice", "object A: TA\n  object B: TB\n  end\n  object B: TC\n  end\nend\n", 4,
       "object name 'B' used twice (first on line 2)"},
  };
  for (const SyntaxCase& c : cases) {
    try {
      readForm(c.text, "bad.fcf");
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EFormError& error) {
      EXPECT_EQ(error.fileName(), "bad.fcf") << c.what;
      EXPECT_EQ(error.line(), c.line) << c.what << ": " << error.what();
      EXPECT_EQ(error.message(), c.message) << c.what;
      EXPECT_EQ(std::string(error.what()), "bad.fcf:" + std::to_string(c.line) + ": " + c.message) << c.what;
    }
  }
}

// Deeply nested input is refused with an error instead of exhausting the stack.
TEST(FormSyntaxErrors, NestingIsLimited) {
  std::string lists = "object A: TA\n  L = " + std::string(100000, '(');
  EXPECT_THROW(readForm(lists, "deep.fcf"), EFormError);
  std::string objects;
  for (int i = 0; i < 5000; ++i) objects += "object O" + std::to_string(i) + ": T\n";
  try {
    readForm(objects, "deep.fcf");
    FAIL() << "no error";
  } catch (const EFormError& error) {
    EXPECT_EQ(error.line(), kFormMaxNesting + 1);
    EXPECT_EQ(error.message(), "nesting deeper than " + std::to_string(kFormMaxNesting) + " levels");
  }
  // Nesting up to the limit is fine.
  std::string allowed = "object A: TA\n  L = " + std::string(kFormMaxNesting - 1, '(') +
                        std::string(kFormMaxNesting - 1, ')') + "\nend\n";
  EXPECT_NO_THROW(readForm(allowed, "deep.fcf"));
}

}  // namespace
}  // namespace fc
