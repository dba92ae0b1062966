// What the resize, rotate, shear and warp components have in common: frames
// with nothing to map are dropped as failures.
#include <gtest/gtest.h>

#include <memory>

#include "components/Fcresize.h"
#include "components/Fcrotate.h"
#include "components/Fcshear.h"
#include "components/Fcwarp.h"
#include "tests/components/filter_run.h"
#include "tests/components/geometry_mapping.h"

namespace fc {
namespace {

using test::NoiseFrame;
using test::SetOutputSize;
using test::TFilterRun;

// Each size filter, made fresh, for the cases below.
std::vector<std::unique_ptr<TFCCommonROISizeFilter>> SizeFilters() {
  std::vector<std::unique_ptr<TFCCommonROISizeFilter>> filters;
  filters.push_back(std::make_unique<TFCResize>(nullptr));
  filters.push_back(std::make_unique<TFCRotate>(nullptr));
  filters.push_back(std::make_unique<TFCShear>(nullptr));
  filters.push_back(std::make_unique<TFCWarp>(nullptr));
  return filters;
}

TEST(GeometryFrames, FramesWithNothingToMapAreDroppedAndCounted) {
  struct Case {
    const char* name;
    int inWidth, inHeight, outWidth, outHeight;
  } cases[] = {{"empty input", 0, 0, 6, 4}, {"empty output", 5, 3, 0, 0}, {"output without rows", 5, 3, 6, 0}};
  for (TFCVideoFormat format : {vfRGB24, vfGray8})
    for (const Case& c : cases)
      for (const auto& filter : SizeFilters()) {
        TFilterRun run(*filter);
        SetOutputSize(*filter, c.outWidth, c.outHeight);
        const std::string what = filter->ClassInfo().Name() + ": " + c.name;
        EXPECT_TRUE(run.Run({NoiseFrame(c.inWidth, c.inHeight, format)}).empty()) << what;
        EXPECT_EQ(filter->ErrorCount(), 1) << what;
      }
}

}  // namespace
}  // namespace fc
