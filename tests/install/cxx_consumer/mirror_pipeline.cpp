// Builds a small pipeline in code against the installed library: a Jaehne
// generator whose frames go both straight to one sink and through a mirror
// (both axes) to another; the mirrored frame must be the straight one turned
// by half a circle, byte for byte.
#include <cstdio>
#include <cstring>

#include <components/Fcjaehnegen.h>
#include <components/Fcmirror.h>
#include <contracts/video/sink_filter.h>
#include <platform/runtime/error.h>

namespace {

// Keeps the last frame it received.
class TLastFrame : public fc::TFCSinkFilter {
public:
  explicit TLastFrame(fc::TComponent* owner) : TFCSinkFilter(owner) {}
  ~TLastFrame() override { RetirePins(); }

  fc::TFCImageBuffer frame;
  int received = 0;

protected:
  void ProcessImage(const fc::TFCImageBuffer& image) override {
    frame = image;
    ++received;
  }
};

// Counts the pixels of `turned` that differ from `straight` turned by 180 degrees.
int WrongPixels(const fc::TFCImageBuffer& straight, const fc::TFCImageBuffer& turned) {
  const int width = straight.Width(), height = straight.Height(), bytes = straight.BytesPerPixel();
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Ipp8u* a = straight.Read() + y * straight.Step() + x * bytes;
      const Ipp8u* b = turned.Read() + (height - 1 - y) * turned.Step() + (width - 1 - x) * bytes;
      wrong += std::memcmp(a, b, bytes) != 0;
    }
  return wrong;
}

}  // namespace

int main() {
  try {
    fc::TComponent form(nullptr);  // owns and deletes the components
    auto* generator = new fc::TFCJaehneGen(&form);
    auto* mirror = new fc::TFCMirror(&form);
    auto* straight = new TLastFrame(&form);
    auto* turned = new TLastFrame(&form);

    fc::SetPropertyText(*generator, "ImageSize.Width", "33");
    fc::SetPropertyText(*generator, "ImageSize.Height", "20");
    fc::SetPropertyText(*generator, "Pacing", "gpPump");
    mirror->SetMirrorType(fc::mtBoth);
    generator->GetOutputPin()->Connect(*straight->GetInputPin());
    generator->GetOutputPin()->Connect(*mirror->GetInputPin());
    mirror->GetOutputPin()->Connect(*turned->GetInputPin());

    generator->Start();
    turned->RequestFrame();
    generator->Stop();

    const fc::TFCImageBuffer& a = straight->frame;
    const fc::TFCImageBuffer& b = turned->frame;
    if (straight->received != 1 || turned->received != 1 || a.Width() != 33 || a.Height() != 20 ||
        b.Width() != 33 || b.Height() != 20 || a.Format() != b.Format()) {
      std::printf("frames: %d straight %dx%d, %d mirrored %dx%d\n", straight->received, a.Width(), a.Height(),
                  turned->received, b.Width(), b.Height());
      return 1;
    }
    const int wrong = WrongPixels(a, b);
    std::printf("%dx%d frame mirrored, %d wrong pixels\n", b.Width(), b.Height(), wrong);
    return wrong == 0 ? 0 : 1;
  } catch (const fc::EFCError& error) {
    std::printf("error: %s\n", error.what());
    return 1;
  }
}
