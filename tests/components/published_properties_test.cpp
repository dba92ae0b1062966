// What the components publish, as a description of each class lists it.
#include <gtest/gtest.h>

#include "components/Fccolortwist.h"
#include "components/Fccrop.h"
#include "components/Fcgammafilter.h"
#include "components/Fcgaussnoise.h"
#include "components/Fcgrayscale.h"
#include "components/Fcimagegen.h"
#include "components/Fcjaehnegen.h"
#include "components/Fcmirror.h"
#include "components/Fcthreshold.h"
#include "components/Fcuniformnoise.h"
#include "package/framecraft_package.h"

namespace fc {
namespace {

// "Name: Type = default" or "Name: Type (identifiers)" for each property a
// class adds, as a describe listing shows it.
std::vector<std::string> OwnProperties(const TClassInfo& info) {
  std::vector<std::string> lines;
  for (const TPropertyInfo& p : info.OwnProperties()) {
    std::string line = p.Name() + ": " + p.TypeName();
    if (p.Enum()) {
      std::string ids;
      for (const std::string& id : p.Enum()->Identifiers()) ids += (ids.empty() ? "" : ", ") + id;
      line += " (" + ids + ")";
    }
    if (p.HasDefault()) line += " = " + p.DefaultText();
    lines.push_back(line);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(PublishedProperties, EachClassListsItsPropertiesDefaultsAndIdentifiers) {
  EXPECT_EQ(OwnProperties(TFCGaussNoise::StaticClassInfo()),
            (Lines{"Mean: Byte = 0", "StDev: Byte = 100", "Seed: Word = 31192"}));
  EXPECT_EQ(OwnProperties(TFCUniformNoise::StaticClassInfo()),
            (Lines{"Low: Byte = 0", "High: Byte = 255", "Seed: Word = 31192"}));
  EXPECT_EQ(OwnProperties(TFCJaehneGen::StaticClassInfo()), Lines{});
  EXPECT_NE(TFCJaehneGen::StaticClassInfo().FindProperty("ImageSize"), nullptr);
  EXPECT_EQ(OwnProperties(TFCImageGen::StaticClassInfo()), Lines{"Picture: TPicture"});
  EXPECT_EQ(OwnProperties(TFCGammaFilter::StaticClassInfo()),
            Lines{"GammaType: TFCGammaType (gtForward, gtInverse)"});
  EXPECT_EQ(OwnProperties(TFCGrayScale::StaticClassInfo()), Lines{});
  EXPECT_EQ(OwnProperties(TFCColorTwist::StaticClassInfo()), Lines{"ColorTwists: TFCColorTwists"});
  EXPECT_EQ(OwnProperties(TFCColorTwists::StaticClassInfo()),
            (Lines{"RedTwist: TFCColorChannelTwist", "GreenTwist: TFCColorChannelTwist",
                   "BlueTwist: TFCColorChannelTwist"}));
  EXPECT_EQ(OwnProperties(TFCColorChannelTwist::StaticClassInfo()),
            (Lines{"Red: Single", "Green: Single", "Blue: Single", "Offset: Single"}));
  EXPECT_EQ(OwnProperties(TFCThreshold::StaticClassInfo()),
            (Lines{"ThresholdTop: TFCThresholdValueTop", "ThresholdBottom: TFCThresholdValueBottom"}));
  EXPECT_EQ(OwnProperties(TFCThresholdValueTop::StaticClassInfo()),
            (Lines{"Threshold: TColor = 8421504", "Value: TColor", "Enabled: Boolean = True"}));
  EXPECT_EQ(OwnProperties(TFCThresholdValueBottom::StaticClassInfo()),
            (Lines{"Threshold: TColor", "Value: TColor", "Enabled: Boolean = True"}));
  EXPECT_TRUE(TFCThresholdValueTop::StaticClassInfo().InheritsFrom(TFCThresholdValue::StaticClassInfo()));
  EXPECT_EQ(OwnProperties(TFCMirror::StaticClassInfo()),
            Lines{"MirrorType: TFCMirrorType (mtHorizontal, mtVertical, mtBoth)"});
  EXPECT_EQ(OwnProperties(TFCCrop::StaticClassInfo()), Lines{"Region: TFCRectRegion"});
}

// The picture generator is left out: its ImageSize follows its picture.
TEST(PublishedProperties, NewComponentsHoldTheirStoredDefaults) {
  for (const TClassInfo* info :
       {&TFCGaussNoise::StaticClassInfo(), &TFCUniformNoise::StaticClassInfo(), &TFCJaehneGen::StaticClassInfo(),
        &TFCGammaFilter::StaticClassInfo(), &TFCGrayScale::StaticClassInfo(),
        &TFCColorTwist::StaticClassInfo(), &TFCThreshold::StaticClassInfo(), &TFCMirror::StaticClassInfo(),
        &TFCCrop::StaticClassInfo()}) {
    ASSERT_TRUE(info->CanCreate()) << info->Name();
    const std::unique_ptr<TComponent> component = info->Create(nullptr);
    EXPECT_EQ(PropertiesDifferingFromDefault(*component), std::vector<std::string>{}) << info->Name();
  }
}

TEST(PublishedProperties, ThePackageRegistersEveryClassByName) {
  package::Register();
  for (const char* name : {"TFCGaussNoise", "TFCUniformNoise", "TFCJaehneGen", "TFCImageGen", "TFCGammaFilter",
                           "TFCGrayScale", "TFCColorTwist", "TFCThreshold", "TFCMirror", "TFCCrop"})
    EXPECT_NE(PackageCatalogue().FindClass(name), nullptr) << name;
}

}  // namespace
}  // namespace fc
