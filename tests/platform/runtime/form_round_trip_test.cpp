#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "platform/runtime/form_error.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_writer.h"

namespace fc {
namespace {

FormDocument documentOf(FormObject root) {
  FormDocument document;
  document.fileName = "memory.fcf";
  document.root = std::move(root);
  return document;
}

FormObject objectWith(std::string name, std::string className) {
  FormObject object;
  object.name = std::move(name);
  object.className = std::move(className);
  return object;
}

// Writes, reads back, and requires the same document; returns the text.
std::string expectRoundTrip(const FormObject& root) {
  std::string text = writeForm(documentOf(root));
  FormDocument back = readForm(text, "written.fcf");
  EXPECT_EQ(back.root, root) << text;
  // Writing what was read gives the same text again.
  EXPECT_EQ(writeForm(back), text);
  return text;
}

std::size_t longestLine(const std::string& text) {
  std::size_t longest = 0;
  for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    longest = std::max(longest, end - start);
  }
  return longest;
}

FormValue readSingleValue(const std::string& valueText) {
  FormDocument document = readForm("object A: TA\n  P = " + valueText + "\nend\n", "value.fcf");
  return document.root.properties.find("P")->value;
}

TEST(FormRoundTrip, NumbersKeepTheirKindAndExactValue) {
  FormObject root = objectWith("Form1", "TFCPipeline");
  const std::int64_t integers[] = {0,
                                   1,
                                   -1,
                                   2147483647,
                                   -2147483648LL,
                                   std::numeric_limits<std::int64_t>::max(),
                                   std::numeric_limits<std::int64_t>::min()};
  int n = 0;
  for (std::int64_t value : integers)
    root.properties.set("I" + std::to_string(n++), FormValue::integer(value));
  const double reals[] = {0.0,
                          -0.0,
                          1.0,
                          -1.0,
                          0.1,
                          -2.5e-7,
                          1e20,
                          1.0 / 3.0,
                          DBL_MAX,
                          -DBL_MAX,
                          DBL_MIN,
                          std::numeric_limits<double>::denorm_min(),
                          123456789012345678.0,
                          0.30000000000000004};
  for (double value : reals) root.properties.set("F" + std::to_string(n++), FormValue::real(value));
  std::string text = expectRoundTrip(root);
  // Whole-valued floats must not come back as integers.
  EXPECT_NE(text.find("F9 = 1.0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("F8 = -0.0\n"), std::string::npos);
}

TEST(FormRoundTrip, StringsWithQuotesControlCharactersAndLongText) {
  FormObject root = objectWith("Form1", "TFCPipeline");
  root.properties.set("Empty", FormValue::string(""));
  root.properties.set("Quote", FormValue::string("It's 'quoted'"));
  root.properties.set("OnlyQuote", FormValue::string("'"));
  root.properties.set("Lines", FormValue::string("first\r\nsecond\tthird\x7F"));
  const char control[] = "\0\x01 start and end\x1F";
  root.properties.set("Control", FormValue::string(std::string(control, sizeof control - 1)));
  root.properties.set("Utf8", FormValue::string("gr\xC3\xBC\xC3\x9F"
                                                "e \xE2\x82\xAC"));
  std::string longText;
  for (int i = 0; i < 300; ++i) longText += static_cast<char>(i % 7 == 0 ? '\'' : 'a' + i % 26);
  root.properties.set("Long", FormValue::string(longText));
  std::string longUtf8;
  for (int i = 0; i < 100; ++i) longUtf8 += "\xE2\x82\xAC";  // three bytes each
  root.properties.set("LongUtf8", FormValue::string(longUtf8));
  std::string text = expectRoundTrip(root);
  EXPECT_NE(text.find("Lines = 'first'#13#10'second'#9'third'#127"), std::string::npos) << text;
  EXPECT_NE(text.find("' +\n"), std::string::npos) << "long strings are split";
  // No line of the file carries more than one part of the long string.
  EXPECT_LE(longestLine(text), 100u) << text;
  // A split never falls inside a UTF-8 sequence.
  EXPECT_EQ(text.find("' +\n    '\x82"), std::string::npos);
  EXPECT_EQ(text.find("\xE2' +"), std::string::npos);
}

TEST(FormRoundTrip, NamesSetsListsAndPinConnections) {
  FormObject root = objectWith("Form1", "TFCPipeline");
  root.properties.set("Enabled", FormValue::boolean(false));
  root.properties.set("FilterMode", FormValue::identifier("bfmMedian"));
  root.properties.set("Region.Width", FormValue::integer(20));
  root.properties.set("Options", FormValue::set({"foA", "foB", "foC"}));
  root.properties.set("NoOptions", FormValue::set({}));
  root.properties.set("EmptyList", FormValue::list({}));
  root.properties.set("StrValue", FormValue::list({FormValue::string("0.5"), FormValue::string("a'b")}));
  root.properties.set(
      "Mixed", FormValue::list({FormValue::integer(-3), FormValue::real(0.25), FormValue::identifier("x"),
                                FormValue::list({FormValue::integer(1), FormValue::list({})}),
                                FormValue::set({"s"}), FormValue::binary({1, 2}),
                                FormValue::list({FormValue::binary({9}), FormValue::string("+")})}));
  root.properties.set("OutputPin.SinkPins", FormValue::list({FormValue::identifier("Resize1.InputPin"),
                                                             FormValue::identifier("Mixer1.InputPins.1")}));
  std::vector<FormValue> matrix{FormValue::integer(81)};
  for (int i = 0; i < 81; ++i) matrix.push_back(FormValue::integer(i % 3 == 0));
  root.properties.set("MorphShape.MatrixData", FormValue::list(matrix));
  std::string text = expectRoundTrip(root);
  EXPECT_NE(text.find("  OutputPin.SinkPins = (Resize1.InputPin, Mixer1.InputPins.1)\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("  Options = [foA, foB, foC]\n"), std::string::npos);
  EXPECT_NE(text.find("  Enabled = False\n"), std::string::npos);
  EXPECT_LE(longestLine(text), 100u) << "long lists wrap:\n" << text;
}

TEST(FormRoundTrip, BinaryDataShortAndAcrossLines) {
  FormObject root = objectWith("Form1", "TFCPipeline");
  root.properties.set("Empty", FormValue::binary({}));
  root.properties.set("Short", FormValue::binary({0x00, 0x7F, 0x80, 0xFF}));
  std::vector<std::uint8_t> bytes(100);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  root.properties.set("MorphShape.Matrix", FormValue::binary(bytes));
  std::string text = expectRoundTrip(root);
  EXPECT_NE(text.find("Short = {007F80FF}"), std::string::npos) << text;
  EXPECT_NE(text.find("Empty = {}"), std::string::npos);
  // Hand-written binary: lower case, spaces and line breaks between pairs.
  FormValue hand = readSingleValue("{ 0a 1B\n  ff\n\n 00 }");
  EXPECT_EQ(hand, FormValue::binary({0x0A, 0x1B, 0xFF, 0x00}));
}

TEST(FormRoundTrip, NestedObjectsAndCollections) {
  FormObject root = objectWith("Pipeline1", "TFCPipeline");
  root.properties.set("Caption", FormValue::string("demo"));
  FormObject resize = objectWith("Resize1", "TFCResize");
  resize.properties.set("Width", FormValue::integer(320));
  FormObject inner = objectWith("Inner", "TFCGroup");
  inner.children.push_back(objectWith("Deepest", "TFCDelay"));
  resize.children.push_back(inner);
  root.children.push_back(resize);
  root.children.push_back(objectWith("Empty1", "TFCSink"));

  FormItem first;
  first.properties.set("Name", FormValue::string("Level"));
  first.properties.set("Value", FormValue::real(0.75));
  first.properties.set("Range.Max", FormValue::integer(10));
  FormItem nested;
  nested.properties.set("Items", FormValue::collection({FormItem{}, first}));
  root.properties.set("Parameters", FormValue::collection({first, FormItem{}, nested}));
  root.properties.set("NoItems", FormValue::collection({}));
  root.properties.set("InList", FormValue::list({FormValue::collection({first}), FormValue::integer(1)}));
  expectRoundTrip(root);
}

TEST(FormRoundTrip, ReaderKeepsLinesAndAcceptsHandWrittenLayout) {
  const char* text =
      "// a pipeline written by hand\n"
      "object Form1 : TFCPipeline   // trailing comment\n"
      "  Title = 'part one, ' +\n"
      "          'part two'#33\n"
      "  Values = (1,\n"
      "            2 , -3)\n"
      "  object Resize1: TFCResize\r\n"
      "    Region.Width=20\r\n"
      "  end\n"
      "  Items = <item A = 1 end item end>\n"
      "end\n";
  FormDocument document = readForm(text, "hand.fcf");
  EXPECT_EQ(document.fileName, "hand.fcf");
  const FormObject& root = document.root;
  EXPECT_EQ(root.line, 2);
  EXPECT_EQ(root.properties.find("Title")->value, FormValue::string("part one, part two!"));
  EXPECT_EQ(root.properties.find("Title")->line, 3);
  EXPECT_EQ(root.properties.find("Values")->line, 5);
  EXPECT_EQ(root.properties.find("Items")->line, 10);
  EXPECT_EQ(root.properties.find("Items")->value.items().size(), 2u);
  EXPECT_EQ(root.properties.find("Items")->value.items()[0].line, 10);
  const FormObject* resize = root.findChild("Resize1");
  ASSERT_NE(resize, nullptr);
  EXPECT_EQ(resize->line, 7);
  EXPECT_EQ(resize->properties.find("Region.Width")->line, 8);
  // Properties keep their order; an object may come between them.
  ASSERT_EQ(root.properties.size(), 3u);
  EXPECT_EQ(root.properties.all()[2].name, "Items");
}

TEST(FormRoundTrip, FilesOnDisk) {
  auto path =
      std::filesystem::temp_directory_path() / ("form_round_trip_" + std::to_string(::getpid()) + ".fcf");
  FormObject root = objectWith("Form1", "TFCPipeline");
  root.properties.set("Data", FormValue::binary({1, 2, 3}));
  writeFormFile(documentOf(root), path);
  FormDocument back = readFormFile(path);
  EXPECT_EQ(back.root, root);
  EXPECT_EQ(back.fileName, path.string());
  std::filesystem::remove(path);
  try {
    readFormFile(path);
    FAIL() << "a missing file must fail";
  } catch (const EFormError& error) {
    EXPECT_EQ(std::string(error.what()), path.string() + ": cannot open the file");
  }
}

TEST(FormRoundTrip, WriterRefusesWhatCannotBeReadBack) {
  auto refuses = [](FormObject root, const std::string& fragment) {
    try {
      writeForm(documentOf(std::move(root)));
      ADD_FAILURE() << "expected a refusal mentioning " << fragment;
    } catch (const EFormError& error) {
      EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos) << error.what();
      EXPECT_EQ(std::string(error.what()).rfind("memory.fcf: ", 0), 0u) << error.what();
    }
  };
  refuses(objectWith("1bad", "TX"), "'1bad'");
  refuses(objectWith("A.B", "TX"), "'A.B'");
  FormObject indexFirst = objectWith("A", "TX");
  indexFirst.properties.set("1.SinkPins", FormValue::integer(1));
  refuses(indexFirst, "'1.SinkPins'");
  refuses(objectWith("end", "TX"), "'end'");
  refuses(objectWith("Good", ""), "''");
  FormObject badProperty = objectWith("A", "TX");
  badProperty.properties.set("Bad Name", FormValue::integer(1));
  refuses(badProperty, "'Bad Name'");
  FormObject infinite = objectWith("A", "TX");
  infinite.properties.set("Gain", FormValue::real(INFINITY));
  refuses(infinite, "property 'Gain' of object 'A'");
  FormObject nan = objectWith("A", "TX");
  nan.properties.set("Gain", FormValue::list({FormValue::real(NAN)}));
  refuses(nan, "'Gain'");
  FormObject badIdentifier = objectWith("A", "TX");
  badIdentifier.properties.set("Mode", FormValue::identifier("not a name"));
  refuses(badIdentifier, "'not a name'");
  FormObject keywordValue = objectWith("A", "TX");
  keywordValue.properties.set("Mode", FormValue::identifier("end"));
  refuses(keywordValue, "'end'");
  FormObject badSet = objectWith("A", "TX");
  badSet.properties.set("Options", FormValue::set({"a.b"}));
  refuses(badSet, "'a.b'");
}

}  // namespace
}  // namespace fc
