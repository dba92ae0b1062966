#include "tools/framecraft/real_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace fc::tool {

namespace {

struct TRange {
  double low, high;
};

// The finite values' range, widened to hold 0 when `withZero`, and to a
// non-empty range when all values are equal.
TRange RangeOf(const double* values, int count, bool withZero) {
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) continue;
    low = std::min(low, values[i]);
    high = std::max(high, values[i]);
  }
  if (low > high) low = high = 0;  // no finite value
  if (withZero) low = std::min(low, 0.0), high = std::max(high, 0.0);
  if (low == high) {
    const double pad = low == 0 ? 1 : std::fabs(low) / 2;
    if (!(withZero && low == 0)) low -= pad;
    high += pad;
  }
  return {low, high};
}

// The picture row of value v; halves keep the difference of extreme values
// finite.
int RowOf(double v, TRange range) {
  const double t = (range.high / 2 - v / 2) / (range.high / 2 - range.low / 2);
  return kPlotTop + static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * (kPlotHeight - 1)));
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", v);
  return text;
}

class TCanvas {
public:
  TCanvas() : frame_(kImageWidth, kImageHeight, vfGray8), pixels_(frame_.Write()) {
    std::memset(pixels_, kPlotBackground, frame_.Size());
  }
  void Put(int x, int y, TPlotShade shade) { PutPixel(frame_, pixels_, x, y, shade); }
  void Fill(int x0, int x1, int y0, int y1, TPlotShade shade) {
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
      for (int x = x0; x <= x1; ++x) Put(x, y, shade);
  }
  // Bresenham's line, both ends included.
  void Line(int x0, int y0, int x1, int y1, TPlotShade shade) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int error = dx + dy;;) {
      Put(x0, y0, shade);
      if (x0 == x1 && y0 == y1) return;
      const int twice = 2 * error;
      if (twice >= dy) error += dy, x0 += sx;
      if (twice <= dx) error += dx, y0 += sy;
    }
  }
  void Label(int x, int y, const std::string& text) { DrawLabel(frame_, x, y, text, kPlotInk); }
  TFCImageBuffer& Frame() { return frame_; }

private:
  TFCImageBuffer frame_;
  Ipp8u* pixels_;
};

void DrawBars(TCanvas& canvas, const double* values, int count, TRange range) {
  const int base = RowOf(std::clamp(0.0, range.low, range.high), range);
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) continue;
    const int x0 = kPlotLeft + static_cast<int>(std::int64_t{i} * kPlotWidth / count);
    const int x1 = kPlotLeft + static_cast<int>(std::int64_t{i + 1} * kPlotWidth / count) - 1;
    canvas.Fill(x0, std::max(x0, x1), RowOf(values[i], range), base, kPlotData);
  }
}

void DrawLine(TCanvas& canvas, const double* values, int count, TRange range) {
  bool joined = false;
  int px = 0, py = 0;
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) {
      joined = false;
      continue;
    }
    const int x = kPlotLeft + static_cast<int>(std::int64_t{i} * (kPlotWidth - 1) / std::max(count - 1, 1));
    const int y = RowOf(values[i], range);
    if (joined)
      canvas.Line(px, py, x, y, kPlotData);
    else
      canvas.Put(x, y, kPlotData);
    px = x, py = y, joined = true;
  }
}

void DrawAxes(TCanvas& canvas, int count, TRange range) {
  const int left = kPlotLeft - 1, bottom = kPlotTop + kPlotHeight;
  canvas.Line(left, kPlotTop, left, bottom, kPlotInk);
  canvas.Line(left, bottom, kPlotLeft + kPlotWidth, bottom, kPlotInk);
  for (int y : {kPlotTop, bottom - 1}) canvas.Line(left - 3, y, left, y, kPlotInk);
  const std::string high = Number(range.high), low = Number(range.low);
  canvas.Label(left - 5 - LabelWidth(high), kPlotTop, high);
  canvas.Label(left - 5 - LabelWidth(low), bottom - kGlyphHeight, low);
  if (count < 1) return;
  const std::string last = Number(count - 1);
  canvas.Label(kPlotLeft, bottom + 5, "0");
  canvas.Label(kPlotLeft + kPlotWidth - LabelWidth(last), bottom + 5, last);
}

}  // namespace

TFCImageBuffer PlotValues(const double* values, int count) {
  TCanvas canvas;
  const bool bars = count <= kMaxBarValues;
  const TRange range = RangeOf(values, count, bars);
  if (bars)
    DrawBars(canvas, values, count, range);
  else
    DrawLine(canvas, values, count, range);
  DrawAxes(canvas, count, range);
  return canvas.Frame();
}

}  // namespace fc::tool
