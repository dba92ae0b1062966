// The registry of installed video effects and their class identifiers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/media/effect_objects.h"

namespace fc::test {
namespace {

namespace fs = std::filesystem;

TEST(EffectClassIds, NameBasedTextFormAndParsing) {
  const TEffectClassId id = TEffectClassId::FromName("invert0r.so");
  EXPECT_EQ(id, TEffectClassId::FromName("invert0r.so"));
  EXPECT_NE(id, TEffectClassId::FromName("invert1r.so"));
  EXPECT_EQ(id.bytes[6] >> 4, 5);        // version 5
  EXPECT_EQ(id.bytes[8] & 0xC0, 0x80);  // the standard variant
  const std::string text = id.ToString();
  ASSERT_EQ(text.size(), 38u);
  EXPECT_EQ(text[0], '{');
  EXPECT_EQ(text[9], '-');
  EXPECT_EQ(TEffectClassId::FromString(text), id);
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  EXPECT_EQ(TEffectClassId::FromString(lower), id);
  for (const char* bad : {"", "{}", "{00000000-0000-0000-0000-00000000000}", "00000000-0000-0000-0000-000000000000",
                          "{0000000G-0000-0000-0000-000000000000}", "{00000000+0000-0000-0000-000000000000}"})
    EXPECT_FALSE(TEffectClassId::FromString(bad)) << bad;
  EXPECT_TRUE(TEffectClassId{}.IsNull());
  EXPECT_EQ(TEffectClassId{}.ToString(), "{00000000-0000-0000-0000-000000000000}");
}

TEST(EffectRegistry, ListsTheInstalledFiltersAndMixersButNoSources) {
  const std::vector<TEffectInfo> effects = InstalledEffects();
  ASSERT_FALSE(effects.empty());
  std::set<std::string> files;
  for (const TEffectInfo& info : effects) {
    EXPECT_NE(info.type, TEffectType::Source) << info.name;
    EXPECT_TRUE(files.insert(info.fileName).second) << info.fileName << " listed twice";
    EXPECT_EQ(info.classId, EffectClassIdOfFile(info.fileName));
  }
  const auto invert = FindEffectByName("Invert0r");
  ASSERT_TRUE(invert);
  EXPECT_EQ(invert->fileName, "invert0r.so");
  EXPECT_EQ(FindEffectByClassId(invert->classId)->name, "Invert0r");
  EXPECT_EQ(FindEffectByName("addition")->Inputs(), 2);
  EXPECT_FALSE(FindEffectByName("test_pat_B"));  // a source
  EXPECT_FALSE(FindEffectByName("no such effect"));
}

// FREI0R_PATH replaces the standard folders; folders are searched in order
// and a file name found twice counts once.
TEST(EffectRegistry, TheEnvironmentNamesTheFolders) {
  const std::optional<TEffectInfo> invert = FindEffectByName("Invert0r");
  const std::optional<TEffectInfo> brightness = FindEffectByName("Brightness");
  ASSERT_TRUE(invert && brightness);
  const fs::path root = fs::temp_directory_path() / ("fc_effect_folders_" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "a");
  fs::create_directories(root / "b");
  fs::create_symlink(brightness->path, root / "a" / "brightness.so");
  fs::create_symlink(invert->path, root / "b" / "invert0r.so");
  fs::create_symlink(brightness->path, root / "b" / "brightness.so");
  const std::string folders = (root / "a").string() + ":" + (root / "b").string();
  ::setenv("FREI0R_PATH", folders.c_str(), 1);
  const std::vector<TEffectInfo> effects = InstalledEffects();
  ::unsetenv("FREI0R_PATH");
  fs::remove_all(root);
  ASSERT_EQ(effects.size(), 2u);
  EXPECT_EQ(effects[0].path, (root / "a" / "brightness.so").string());
  EXPECT_EQ(effects[1].name, "Invert0r");
}

TEST(EffectValues, TextOfEveryParameterType) {
  using T = TEffectParameterType;
  EXPECT_EQ(ParseEffectValue(T::Bool, "TRUE"), TEffectValue(true));
  EXPECT_EQ(ParseEffectValue(T::Bool, "0"), TEffectValue(false));
  EXPECT_FALSE(ParseEffectValue(T::Bool, "yes"));
  EXPECT_EQ(ParseEffectValue(T::Double, " 0.25 "), TEffectValue(0.25));
  EXPECT_FALSE(ParseEffectValue(T::Double, "0.25x"));
  EXPECT_EQ(ParseEffectValue(T::Color, "1, 0.5,0"), TEffectValue(TEffectColor{1, 0.5f, 0}));
  EXPECT_FALSE(ParseEffectValue(T::Color, "1,0.5"));
  EXPECT_FALSE(ParseEffectValue(T::Color, "2,0,0"));
  EXPECT_EQ(ParseEffectValue(T::Position, "-3,4.5"), TEffectValue(TEffectPosition{-3, 4.5}));
  EXPECT_EQ(ParseEffectValue(T::String, "a=b"), TEffectValue(std::string("a=b")));
  for (const TEffectValue& value : {TEffectValue(true), TEffectValue(0.125), TEffectValue(TEffectColor{0, 0.5f, 1}),
                                    TEffectValue(TEffectPosition{1, -2})})
    EXPECT_EQ(ParseEffectValue(static_cast<T>(value.index()), EffectValueText(value)), value);
}

}  // namespace
}  // namespace fc::test
