// A pipeline of components run end to end: Jaehne pattern, gamma, mirror,
// and a sink that paces it.
#include <gtest/gtest.h>

#include "components/Fcgammafilter.h"
#include "components/Fcjaehnegen.h"
#include "components/Fcmirror.h"
#include "contracts/video/helper_primitives.h"
#include "contracts/video/sink_filter.h"
#include "dispatch/primitives.h"

namespace fc {
namespace {

// Keeps every frame it receives and asks for the next one.
class TFrameSink : public TFCSinkFilter {
public:
  using TFCSinkFilter::TFCSinkFilter;
  ~TFrameSink() override { RetirePins(); }
  std::vector<TFCImageBuffer> frames;

protected:
  void ProcessImage(const TFCImageBuffer& buffer) override {
    auto section = WriteLock();
    frames.push_back(buffer);
  }
};

TEST(Pipeline, JaehneThroughGammaAndMirrorArrivesAtTheSink) {
  TComponent form(nullptr);
  auto* jaehne = new TFCJaehneGen(&form);
  auto* gamma = new TFCGammaFilter(&form);
  auto* mirror = new TFCMirror(&form);
  auto* sink = new TFrameSink(&form);
  jaehne->GetOutputPin()->Connect(*gamma->GetInputPin());
  gamma->GetOutputPin()->Connect(*mirror->GetInputPin());
  mirror->GetOutputPin()->Connect(*sink->GetInputPin());
  SetPropertyText(*jaehne, "ImageSize.Width", "33");
  SetPropertyText(*jaehne, "ImageSize.Height", "21");
  SetPropertyText(*jaehne, "Pacing", "gpPump");
  SetPropertyText(*mirror, "MirrorType", "mtBoth");

  jaehne->Start();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(sink->RequestFrame());
  jaehne->Stop();

  TFCImageBuffer pattern(33, 21), corrected(33, 21), expected(33, 21);
  const int step = pattern.Step();
  ASSERT_EQ(fc_entry(ippiImageJaehne_8u_C3R)(pattern.Write(), step, pattern.SizeRecord()), ippStsNoErr);
  ASSERT_EQ(fc_entry(ippiGammaFwd_8u_C3R)(pattern.Read(), step, corrected.Write(), step, pattern.SizeRecord()),
            ippStsNoErr);
  ASSERT_EQ(ippiMirror_8u_C3R(corrected.Read(), step, expected.Write(), step, pattern.SizeRecord(), ippAxsBoth),
            ippStsNoErr);
  ASSERT_EQ(sink->frames.size(), 3u);
  for (const TFCImageBuffer& frame : sink->frames) {
    ASSERT_EQ(frame.Size(), expected.Size());
    EXPECT_TRUE(std::equal(frame.Read(), frame.Read() + frame.Size(), expected.Read()));
  }
}

}  // namespace
}  // namespace fc
