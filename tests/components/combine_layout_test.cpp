// The pane layout of the combiners.
#include <gtest/gtest.h>

#include <vector>

#include "components/combine_layout.h"

namespace fc {
namespace {

constexpr TFCCombineSizeMode kModes[] = {smIntersect, smWrappingRect, smVerticalIntersect, smHorizontalIntersect,
                                         smCustom};

TFCCombineLayoutInput Input(IppiSize image1, IppiSize image2, int ox, int oy, TFCCombineSizeMode mode,
                            IppiSize custom = {240, 180}) {
  TFCCombineLayoutInput in;
  in.image1 = image1;
  in.image2 = image2;
  in.offsetX = ox;
  in.offsetY = oy;
  SizeModeFlags(mode, in.custom, in.wrapWidth, in.wrapHeight);
  in.customSize = custom;
  return in;
}

// What each output pixel shows, from the panes (psBackground where none).
std::vector<TFCCombinePicToShow> Coverage(const TFCCombineLayout& layout) {
  std::vector<TFCCombinePicToShow> shown(static_cast<std::size_t>(layout.output.width * layout.output.height),
                                         psBackground);
  for (const TFCCombinePane& pane : layout.panes)
    for (int y = pane.y; y < pane.y + pane.height; ++y)
      for (int x = pane.x; x < pane.x + pane.width; ++x) {
        auto& pixel = shown.at(static_cast<std::size_t>(y * layout.output.width + x));
        EXPECT_EQ(pixel, psBackground) << "panes overlap at " << x << "," << y;
        pixel = pane.show;
      }
  return shown;
}

TFCCombinePicToShow At(const TFCCombineLayout& layout, int x, int y) {
  return Coverage(layout).at(static_cast<std::size_t>(y * layout.output.width + x));
}

TEST(CombineLayout, SizeModesAreStoredAsThreeFlags) {
  for (TFCCombineSizeMode mode : kModes) {
    bool custom, wrapWidth, wrapHeight;
    SizeModeFlags(mode, custom, wrapWidth, wrapHeight);
    EXPECT_EQ(SizeModeOfFlags(custom, wrapWidth, wrapHeight), mode);
  }
  EXPECT_EQ(SizeModeOfFlags(true, false, true), smVerticalIntersect);  // custom needs both wraps
}

TEST(CombineLayout, EqualImagesAtNoOffsetAreOnePaneOfBothInEveryComputedMode) {
  for (TFCCombineSizeMode mode : {smIntersect, smWrappingRect, smVerticalIntersect, smHorizontalIntersect}) {
    const TFCCombineLayout layout = LayoutCombinePanes(Input({320, 240}, {320, 240}, 0, 0, mode));
    EXPECT_EQ(layout.output.width, 320);
    EXPECT_EQ(layout.output.height, 240);
    ASSERT_EQ(layout.panes.size(), 1u) << mode;
    const TFCCombinePane& pane = layout.panes[0];
    EXPECT_EQ(pane.show, psImageBoth);
    EXPECT_EQ(pane.width, 320);
    EXPECT_EQ(pane.height, 240);
  }
}

TEST(CombineLayout, OutputSizeOfEachModeWithAnOffset) {
  struct Case {
    TFCCombineSizeMode mode;
    int width, height;
  };
  // Image 1 at (10, 5) over image 2, both 320 x 240.
  for (const Case& c : {Case{smIntersect, 310, 235}, Case{smWrappingRect, 330, 245},
                        Case{smVerticalIntersect, 310, 245}, Case{smHorizontalIntersect, 330, 235},
                        Case{smCustom, 240, 180}}) {
    const TFCCombineLayout layout = LayoutCombinePanes(Input({320, 240}, {320, 240}, 10, 5, c.mode));
    EXPECT_EQ(layout.output.width, c.width) << c.mode;
    EXPECT_EQ(layout.output.height, c.height) << c.mode;
    EXPECT_EQ(layout.overlapSize.width, 310);
    EXPECT_EQ(layout.overlapSize.height, 235);
  }
  const TFCCombineLayout intersect = LayoutCombinePanes(Input({320, 240}, {320, 240}, 10, 0, smIntersect));
  EXPECT_EQ(intersect.output.width, 310);
  EXPECT_EQ(intersect.output.height, 240);
  ASSERT_EQ(intersect.panes.size(), 1u);
  EXPECT_EQ(intersect.panes[0].x1, 0);
  EXPECT_EQ(intersect.panes[0].x2, 10);
}

TEST(CombineLayout, MarginsShowTheImageThatCoversThem) {
  // Image 1 at (10, 5): image 2 leads on both axes, image 1 reaches further.
  const TFCCombineLayout layout = LayoutCombinePanes(Input({320, 240}, {320, 240}, 10, 5, smWrappingRect));
  EXPECT_EQ(At(layout, 0, 0), psImage2);
  EXPECT_EQ(At(layout, 100, 2), psImage2);
  EXPECT_EQ(At(layout, 325, 2), psBackground);  // neither image reaches the top-right corner
  EXPECT_EQ(At(layout, 5, 100), psImage2);
  EXPECT_EQ(At(layout, 100, 100), psImageBoth);
  EXPECT_EQ(At(layout, 325, 100), psImage1);
  EXPECT_EQ(At(layout, 5, 242), psBackground);
  EXPECT_EQ(At(layout, 325, 242), psImage1);
  // Content positions: the overlap starts at (10, 5) in image 2, at 0 in image 1.
  for (const TFCCombinePane& pane : layout.panes)
    if (pane.show == psImageBoth) {
      EXPECT_EQ(pane.x2, 10);
      EXPECT_EQ(pane.y2, 5);
      EXPECT_EQ(pane.x1, 0);
      EXPECT_EQ(pane.y1, 0);
    }
  // A negative offset swaps the roles.
  const TFCCombineLayout negative = LayoutCombinePanes(Input({320, 240}, {100, 80}, -10, -5, smWrappingRect));
  EXPECT_EQ(negative.output.width, 320);
  EXPECT_EQ(negative.output.height, 240);
  EXPECT_EQ(At(negative, 2, 2), psImage1);
  EXPECT_EQ(At(negative, 50, 50), psImageBoth);
  EXPECT_EQ(At(negative, 200, 50), psImage1);
}

TEST(CombineLayout, CustomSizeCutsFromTheRightAndTheBottom) {
  const TFCCombineLayout layout =
      LayoutCombinePanes(Input({320, 240}, {320, 240}, 10, 5, smCustom, {100, 100}));
  EXPECT_EQ(layout.output.width, 100);
  EXPECT_EQ(layout.output.height, 100);
  EXPECT_EQ(At(layout, 5, 2), psImage2);      // leading margins kept
  EXPECT_EQ(At(layout, 99, 99), psImageBoth);  // the overlap fills the rest
  // Larger than the wrapping rectangle: the rest is background.
  const TFCCombineLayout large = LayoutCombinePanes(Input({320, 240}, {320, 240}, 0, 0, smCustom, {400, 300}));
  EXPECT_EQ(At(large, 319, 239), psImageBoth);
  EXPECT_EQ(At(large, 320, 0), psBackground);
  EXPECT_EQ(At(large, 0, 240), psBackground);
}

TEST(CombineLayout, SeparateImagesLieOnTheirWrappingRectangle) {
  const TFCCombineLayout layout = LayoutCombinePanes(Input({100, 50}, {80, 60}, 120, 0, smIntersect));
  EXPECT_FALSE(layout.overlap);
  EXPECT_EQ(layout.output.width, 220);
  EXPECT_EQ(layout.output.height, 60);
  EXPECT_EQ(At(layout, 10, 10), psImage2);
  EXPECT_EQ(At(layout, 100, 10), psBackground);
  EXPECT_EQ(At(layout, 150, 10), psImage1);
  EXPECT_EQ(At(layout, 150, 55), psBackground);
  // Clipped to a custom size; an image starting beyond it is dropped.
  const TFCCombineLayout cut = LayoutCombinePanes(Input({100, 50}, {80, 60}, 120, 0, smCustom, {150, 40}));
  EXPECT_EQ(At(cut, 149, 39), psImage1);
  const TFCCombineLayout dropped = LayoutCombinePanes(Input({100, 50}, {80, 60}, 120, 0, smCustom, {100, 40}));
  ASSERT_EQ(dropped.panes.size(), 1u);
  EXPECT_EQ(dropped.panes[0].show, psImage2);
  EXPECT_EQ(dropped.panes[0].width, 80);
}

TEST(CombineLayout, ALaterLayoutKeepsTheOutputSize) {
  TFCCombineLayoutInput in = Input({320, 240}, {320, 240}, 10, 0, smIntersect);
  const TFCCombineLayout first = LayoutCombinePanes(in);
  in.image1 = {400, 300};
  in.image2 = {200, 100};
  in.setSize = false;
  in.outputSize = first.output;
  const TFCCombineLayout later = LayoutCombinePanes(in);
  EXPECT_EQ(later.output.width, 310);
  EXPECT_EQ(later.output.height, 240);
  Coverage(later);
}

// Over many shapes, offsets and modes: panes never overlap (Coverage checks),
// lie inside the output, and read only inside the images they show.
TEST(CombineLayout, PanesStayInsideTheOutputAndTheImages) {
  const IppiSize sizes[] = {{0, 0}, {1, 1}, {7, 5}, {16, 9}, {3, 20}};
  for (IppiSize a : sizes)
    for (IppiSize b : sizes)
      for (int ox = -25; ox <= 25; ox += 3)
        for (int oy = -22; oy <= 22; oy += 4)
          for (TFCCombineSizeMode mode : kModes) {
            const TFCCombineLayout layout = LayoutCombinePanes(Input(a, b, ox, oy, mode, {11, 6}));
            Coverage(layout);
            for (const TFCCombinePane& p : layout.panes) {
              ASSERT_GT(p.width, 0);
              ASSERT_GT(p.height, 0);
              ASSERT_LE(p.x + p.width, layout.output.width);
              ASSERT_LE(p.y + p.height, layout.output.height);
              if (p.show != psImage2) {
                ASSERT_GE(p.x1, 0);
                ASSERT_GE(p.y1, 0);
                ASSERT_LE(p.x1 + p.width, a.width);
                ASSERT_LE(p.y1 + p.height, a.height);
              }
              if (p.show != psImage1) {
                ASSERT_GE(p.x2, 0);
                ASSERT_GE(p.y2, 0);
                ASSERT_LE(p.x2 + p.width, b.width);
                ASSERT_LE(p.y2 + p.height, b.height);
              }
            }
          }
}

}  // namespace
}  // namespace fc
