#include "platform/runtime/form_saver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/runtime/form_error.h"
#include "platform/runtime/form_loader.h"
#include "platform/runtime/form_reader.h"
#include "platform/runtime/form_writer.h"
#include "tests/platform/runtime/form_test_components.h"

namespace fc {
namespace {

using test::TTestFilter;

TTestFilter& addFilter(TComponent& owner, const char* name) {
  auto* filter = new TTestFilter(&owner);  // the owner deletes it
  filter->SetName(name);
  return *filter;
}

TEST(FormSaver, FreshComponentsStoreNothingButTheirAlwaysStoredProperties) {
  TComponent root;
  root.SetName("Pipeline1");
  addFilter(root, "Resize1");
  FormDocument document = SaveForm(root, "pipe.fcf");
  EXPECT_EQ(writeForm(document),
            "object Pipeline1: TComponent\n"
            "  object Resize1: TTestFilter\n"
            "    Caption = ''\n"  // no stored default: always written
            "  end\n"
            "end\n");
}

TEST(FormSaver, SavedPipelineLoadsBackAndSavesTheSame) {
  TComponent root;
  root.SetName("Pipeline1");
  TTestFilter& source = addFilter(root, "Source");
  TTestFilter& a = addFilter(root, "A");
  TTestFilter& b = addFilter(root, "B");
  source.SetWidth(-5);
  source.SetGain(0.1);
  source.SetLevel(1.0f / 3.0f);
  source.SetEnabled(false);
  source.SetCaption("line\r\nbreak 'quoted'");
  source.SetMode(test::tmSecond);
  source.Region()->SetWidth(20);
  source.Items()->Add().SetLabel("first");
  source.Items()->Add().SetLevel(-2.5);
  b.Shape()->Cells() = {1, 0, 1, 1};
  source.OutputPin()->Connect(*b.InputPin());
  source.OutputPin()->Connect(*a.InputPin());
  a.OutputPin()->Connect(*source.InputPin());
  auto* mixer = new test::TTestMixer(&root);
  mixer->SetName("Mixer");
  mixer->OutputPins()->GetPin(1)->Connect(*mixer->InputPins()->GetPin(0));
  b.OutputPin()->Connect(*mixer->InputPins()->GetPin(1));
  mixer->Channels()->Add();
  mixer->Channels()->Add().OutputPin()->Connect(*mixer->Channels()->Items(0).InputPin());
  a.OutputPin()->Connect(*mixer->Channels()->Items(1).InputPin());

  FormDocument saved = SaveForm(root, "pipe.fcf");
  std::string text = writeForm(saved);
  EXPECT_NE(text.find("    OutputPin.SinkPins = (B.InputPin, A.InputPin)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    OutputPin.SinkPins = (Mixer.InputPins.1)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    OutputPins.1.SinkPins = (Mixer.InputPins.0)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    OutputPin.SinkPins = (Source.InputPin, Mixer.Channels.1.InputPin)\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("        OutputPin.SinkPins = (Mixer.Channels.0.InputPin)\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("    Shape.MatrixData = (4, 1, 0, 1, 1)\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Matrix ="), std::string::npos) << "the older form is never written";
  EXPECT_EQ(text.find("Region.X"), std::string::npos) << "defaults are not written";
  EXPECT_EQ(text.find("Frames"), std::string::npos) << "read-only properties are not written";

  auto loaded = LoadForm(readForm(text, "pipe.fcf"), test::FindTestClass);
  FormDocument again = SaveForm(*loaded, "pipe.fcf");
  EXPECT_EQ(again.root, saved.root);
  auto& loadedSource = dynamic_cast<TTestFilter&>(*loaded->FindComponent("Source"));
  EXPECT_EQ(loadedSource.GetLevel(), 1.0f / 3.0f);
  EXPECT_EQ(loadedSource.GetGain(), 0.1);
}

TEST(FormSaver, FilesOnDisk) {
  auto path = std::filesystem::temp_directory_path() / ("form_saver_" + std::to_string(::getpid()) + ".fcf");
  TComponent root;
  root.SetName("P");
  addFilter(root, "F").SetWidth(3);
  SaveFormFile(root, path);
  auto loaded = LoadFormFile(path, test::FindTestClass);
  EXPECT_EQ(dynamic_cast<TTestFilter&>(*loaded->FindComponent("F")).GetWidth(), 3);
  std::filesystem::remove(path);
}

TEST(FormSaver, ConnectionsThatCannotBeStoredAreRefused) {
  TComponent root;
  root.SetName("P");
  TTestFilter& inside = addFilter(root, "Inside");
  TTestFilter outside(nullptr);
  outside.SetName("Outside");
  inside.OutputPin()->Connect(*outside.InputPin());
  try {
    SaveForm(root, "pipe.fcf");
    FAIL() << "no error";
  } catch (const EFormError& error) {
    EXPECT_EQ(error.fileName(), "pipe.fcf");
    EXPECT_NE(error.message().find("not on a component of the form"), std::string::npos) << error.what();
  }
  inside.OutputPin()->DisconnectAll();
  TTestFilter& unnamed = addFilter(root, "");
  inside.OutputPin()->Connect(*unnamed.InputPin());
  EXPECT_THROW(SaveForm(root, "pipe.fcf"), EFormError);
}

}  // namespace
}  // namespace fc
