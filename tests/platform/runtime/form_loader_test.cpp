#include "platform/runtime/form_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/form_defined_data.h"
#include "platform/runtime/form_error.h"
#include "platform/runtime/form_reader.h"
#include "tests/platform/runtime/form_test_components.h"

namespace fc {
namespace {

using test::TTestFilter;

std::unique_ptr<TComponent> load(const std::string& text) {
  return LoadForm(readForm(text, "pipe.fcf"), test::FindTestClass);
}

TTestFilter& filter(TComponent& root, std::string_view name) {
  auto* found = dynamic_cast<TTestFilter*>(root.FindComponent(name));
  if (!found) throw std::runtime_error("no test filter " + std::string(name));
  return *found;
}

TEST(FormLoader, SetsEveryKindOfPropertyAndConnectsPinsInOrder) {
  auto root = load(
      "object Pipeline1: TComponent\n"
      "  object Source: TTestFilter\n"
      "    Width = -20\n"
      "    Gain = 3\n"  // an integer for a float property
      "    Level = 0.25\n"
      "    Enabled = false\n"  // any letter case
      "    Caption = 'It''s'#10\n"
      "    Mode = tmThird\n"
      "    Region.X = 7\n"
      "    Region.Width = 20\n"
      "    Items = <\n"
      "      item Label = 'a' Level = 1.5 end\n"
      "      item end>\n"
      "    OutputPin.SinkPins = (B.InputPin, A.InputPin)\n"  // before A and B exist
      "  end\n"
      "  object A: TTestFilter\n"
      "    OutputPin.SinkPins = (Source.InputPin)\n"
      "  end\n"
      "  object B: TTestFilter\n"
      "    Shape.MatrixData = (4, 1, 0, 0, 1)\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(root->Name(), "Pipeline1");
  ASSERT_EQ(root->ComponentCount(), 3);
  TTestFilter& source = filter(*root, "Source");
  EXPECT_EQ(source.GetWidth(), -20);
  EXPECT_EQ(source.GetGain(), 3.0);
  EXPECT_EQ(source.GetLevel(), 0.25f);
  EXPECT_FALSE(source.GetEnabled());
  EXPECT_EQ(source.GetCaption(), "It's\n");
  EXPECT_EQ(source.GetMode(), test::tmThird);
  EXPECT_EQ(source.Region()->GetX(), 7);
  EXPECT_EQ(source.Region()->GetWidth(), 20);
  ASSERT_EQ(source.Items()->Count(), 2);
  EXPECT_EQ(source.Items()->Items(0).GetLabel(), "a");
  EXPECT_EQ(source.Items()->Items(0).GetLevel(), 1.5);
  EXPECT_EQ(source.Items()->Items(1).GetLabel(), "");
  TTestFilter& a = filter(*root, "A");
  TTestFilter& b = filter(*root, "B");
  EXPECT_EQ(source.OutputPin()->ConnectedSinks(), (std::vector<TPMPin*>{b.InputPin(), a.InputPin()}));
  // Untouched properties keep their constructor values.
  EXPECT_EQ(a.GetWidth(), 100);
  EXPECT_TRUE(a.GetEnabled());
  EXPECT_EQ(b.Shape()->Cells(), (std::vector<std::uint8_t>{1, 0, 0, 1}));
  root.reset();
  EXPECT_EQ(TTestFilter::Alive(), 0);
}

TEST(FormLoader, PinsOfPinListsAndCollectionItemsAreNamedByIndex) {
  auto root = load(
      "object P: TComponent\n"
      "  object M: TTestMixer\n"
      "    OutputPins.1.SinkPins = (F.InputPin, M.InputPins.0)\n"
      "    Channels = <\n"
      "      item end\n"
      "      item OutputPin.SinkPins = (M.Channels.0.InputPin) end>\n"
      "  end\n"
      "  object F: TTestFilter\n"
      "    OutputPin.SinkPins = (M.InputPins.1, M.Channels.1.InputPin)\n"
      "    Items = <item end>\n"
      "    Items.0.Label = 'set through its index'\n"
      "  end\n"
      "end\n");
  auto& mixer = dynamic_cast<test::TTestMixer&>(*root->FindComponent("M"));
  TTestFilter& f = filter(*root, "F");
  EXPECT_EQ(mixer.OutputPins()->GetPin(1)->ConnectedSinks(),
            (std::vector<TPMPin*>{f.InputPin(), mixer.InputPins()->GetPin(0)}));
  EXPECT_TRUE(mixer.OutputPins()->GetPin(0)->ConnectedSinks().empty());
  ASSERT_EQ(mixer.Channels()->Count(), 2);
  EXPECT_EQ(f.OutputPin()->ConnectedSinks(),
            (std::vector<TPMPin*>{mixer.InputPins()->GetPin(1), mixer.Channels()->Items(1).InputPin()}));
  EXPECT_EQ(mixer.Channels()->Items(1).OutputPin()->ConnectedSinks(),
            std::vector<TPMPin*>{mixer.Channels()->Items(0).InputPin()});
  EXPECT_EQ(f.Items()->Items(0).GetLabel(), "set through its index");
}

TEST(FormLoader, OlderBinaryMatrixGivesTheSameCellsAsMatrixData) {
  auto fromList = load("object F: TTestFilter\n  Shape.MatrixData = (3, 1, 0, 1)\nend\n");
  auto fromBinary =
      load("object F: TTestFilter\n  Shape.Matrix = {03000000 01000000 00000000 01FFFF00}\nend\n");
  EXPECT_EQ(dynamic_cast<TTestFilter&>(*fromList).Shape()->Cells(),
            dynamic_cast<TTestFilter&>(*fromBinary).Shape()->Cells());
}

TEST(FormLoader, StoredDataHelpersCheckTheListTheyRead) {
  FormValue strings = FormListOf(std::vector<std::string>{"0.5", "", "a'b"});
  EXPECT_EQ(FormStringList(strings, "P.StrValue"), (std::vector<std::string>{"0.5", "", "a'b"}));
  EXPECT_EQ(FormIntegerList(FormListOf(std::vector<std::int64_t>{-1, 2}), "M"),
            (std::vector<std::int64_t>{-1, 2}));
  EXPECT_TRUE(FormStringList(FormValue::list({}), "P.StrValue").empty());
  try {
    FormStringList(FormValue::list({FormValue::string("a"), FormValue::integer(1)}), "P.StrValue");
    FAIL() << "a mixed list must be refused";
  } catch (const EFCError& error) {
    EXPECT_STREQ(error.what(), "P.StrValue: expects a list of strings");
  }
  EXPECT_THROW(FormIntegerList(FormValue::integer(1), "M"), EFCError);
}

struct LoadErrorCase {
  const char* what;
  std::string body;  // placed inside "object P: TComponent ... end" from line 2 on
  int line;
  const char* message;
};

// Every loading fault names file and line, and leaves no component alive.
TEST(FormLoader, FaultsNameFileAndLineAndLeaveNothingBuilt) {
  const LoadErrorCase cases[] = {
      {"unknown class", "  object A: TTestFilter\n  end\n  object B: TNoSuchClass\n  end\n", 4,
       "unknown class 'TNoSuchClass' of object 'B'"},
      {"class that is no component", "  object A: TTestRegion\n  end\n", 2,
       "class 'TTestRegion' cannot be created"},
      {"component name twice", "  object A: TTestFilter\n  end\n  object a: TTestFilter\n  end\n", 4,
       "A component named a already exists"},
      {"unknown property", "  object A: TTestFilter\n    Widht = 3\n  end\n", 3,
       "unknown property 'Widht' of A (TTestFilter)"},
      {"unknown sub-property", "  object A: TTestFilter\n    Region.Height = 3\n  end\n", 3,
       "unknown property 'Height' of A.Region (TTestRegion)"},
      {"unknown sub-object", "  object A: TTestFilter\n    Area.Width = 3\n  end\n", 3,
       "unknown property 'Area' of A (TTestFilter)"},
      {"dotted scalar", "  object A: TTestFilter\n    Width.X = 3\n  end\n", 3,
       "A.Width: has no property 'X'"},
      {"string for integer", "  object A: TTestFilter\n    Width = '3'\n  end\n", 3,
       "A.Width: expects an integer, not a string"},
      {"float for integer", "  object A: TTestFilter\n    Width = 3.5\n  end\n", 3,
       "A.Width: expects an integer, not a float"},
      {"integer for boolean", "  object A: TTestFilter\n    Enabled = 1\n  end\n", 3,
       "A.Enabled: expects True or False, not an integer"},
      {"unknown identifier", "  object A: TTestFilter\n    Mode = tmFourth\n  end\n", 3,
       "A.Mode: expects one of tmFirst, tmSecond, tmThird, not 'tmFourth'"},
      {"identifier for string", "  object A: TTestFilter\n    Caption = abc\n  end\n", 3,
       "A.Caption: expects a string, not 'abc'"},
      {"out of range", "  object A: TTestFilter\n    Region.Width = 65536\n  end\n", 3,
       "A.Region.Width: value 65536 out of range 0..65535"},
      {"enum ordinal out of range", "  object A: TTestFilter\n    Mode = 3\n  end\n", 3,
       "A.Mode: value 3 out of range 0..2"},
      {"read-only", "  object A: TTestFilter\n    Frames = 3\n  end\n", 3, "A.Frames: is read-only"},
      {"value for sub-object", "  object A: TTestFilter\n    Region = 3\n  end\n", 3,
       "A.Region: is an object; set its properties as Region.<property>"},
      {"value for pin", "  object A: TTestFilter\n    OutputPin = 3\n  end\n", 3,
       "A.OutputPin: is a pin; its connections are stored as OutputPin.SinkPins"},
      {"list for collection", "  object A: TTestFilter\n    Items = (1)\n  end\n", 3,
       "A.Items: expects a collection < item ... end >, not a list"},
      {"bad item property",
       "  object A: TTestFilter\n    Items = <\n      item end\n      item Lavel = 1 end>\n  end\n", 5,
       "unknown property 'Lavel' of A.Items[1] (TTestItem)"},
      {"bad stored data", "  object A: TTestFilter\n    Shape.MatrixData = (2, 1)\n  end\n", 3,
       "A.Shape.MatrixData: the cell count does not match the cells"},
      {"stored data of wrong kind", "  object A: TTestFilter\n    Shape.MatrixData = 'x'\n  end\n", 3,
       "A.Shape.MatrixData: expects a list of integers"},
      {"no such component", "  object A: TTestFilter\n    OutputPin.SinkPins = (B.InputPin)\n  end\n", 3,
       "dangling connection 'B.InputPin': no component 'B'"},
      {"no such pin",
       "  object A: TTestFilter\n  end\n  object B: TTestFilter\n    OutputPin.SinkPins = (A.Input)\n  end\n",
       5, "dangling connection 'A.Input': A (TTestFilter) has no pin 'Input'"},
      {"property that is no pin", "  object A: TTestFilter\n    OutputPin.SinkPins = (A.Width)\n  end\n", 3,
       "dangling connection 'A.Width': A (TTestFilter) has no pin 'Width'"},
      {"no pin named", "  object A: TTestFilter\n    OutputPin.SinkPins = (A)\n  end\n", 3,
       "dangling connection 'A': expects <component>.<pin>"},
      {"pin list index out of range",
       "  object A: TTestFilter\n    OutputPin.SinkPins = (M.InputPins.2)\n  end\n  object M: TTestMixer\n  "
       "end\n",
       3, "dangling connection 'M.InputPins.2': M (TTestMixer) has no pin 'InputPins.2'"},
      {"pin list named by pin name",
       "  object M: TTestMixer\n    OutputPins.a.SinkPins = (M.InputPins.0)\n  end\n", 3,
       "no index a in M.OutputPins (pins of a list and items of a collection are named by index)"},
      {"item index out of range", "  object A: TTestFilter\n    Items.0.Label = 'x'\n  end\n", 3,
       "no index 0 in A.Items (pins of a list and items of a collection are named by index)"},
      {"not a list of pins", "  object A: TTestFilter\n    OutputPin.SinkPins = A.InputPin\n  end\n", 3,
       "A.OutputPin.SinkPins: expects a list of pins such as (Resize1.InputPin), not 'A.InputPin'"},
  };
  for (const LoadErrorCase& c : cases) {
    std::string text = "object P: TComponent\n" + c.body + "end\n";
    try {
      load(text);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EFormError& error) {
      EXPECT_EQ(error.line(), c.line) << c.what << ": " << error.what();
      EXPECT_EQ(error.message(), c.message) << c.what;
      EXPECT_EQ(error.fileName(), "pipe.fcf") << c.what;
    }
    EXPECT_EQ(TTestFilter::Alive(), 0) << c.what;
  }
}

TEST(FormLoader, RefusedConnectionIsReportedWithItsLine) {
  const char* text =
      "object P: TComponent\n"
      "  object A: TTestFilter\n"
      "    OutputPin.SinkPins = (Other.InputPin)\n"
      "  end\n"
      "  object Other: TTestOtherSink\n"
      "  end\n"
      "end\n";
  try {
    load(text);
    FAIL() << "no error";
  } catch (const EFormError& error) {
    EXPECT_EQ(error.line(), 3);
    EXPECT_NE(error.message().find("Other"), std::string::npos) << error.what();
  }
  EXPECT_EQ(TTestFilter::Alive(), 0);
}

TEST(FormLoader, MissingClassLookupOrFileAreErrors) {
  EXPECT_THROW(LoadForm(readForm("object A: TComponent\nend\n", "x.fcf"), nullptr), EFormError);
  EXPECT_THROW(LoadFormFile("/nonexistent/dir/pipe.fcf", test::FindTestClass), EFormError);
}

}  // namespace
}  // namespace fc
