// pipeline_in_code.cpp - the demo's first steps built in C++ instead of a
// form file: a Jaehne generator, a gamma filter and a mirror, ending in a sink
// of our own that writes each frame as a binary PPM picture.
//
//   build/examples/pipeline_in_code [frames] [output-dir]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "components/Fcgammafilter.h"
#include "components/Fcjaehnegen.h"
#include "components/Fcmirror.h"
#include "contracts/video/sink_filter.h"
#include "platform/runtime/error.h"

namespace {

/// Writes every frame that reaches it as frame-NNN.ppm (red, green, blue).
class TPpmWriter : public fc::TFCSinkFilter {
public:
  TPpmWriter(fc::TComponent* owner, std::filesystem::path folder)
      : TFCSinkFilter(owner), folder_(std::move(folder)) {}
  ~TPpmWriter() override { RetirePins(); }

  int Written() const { return written_; }

protected:
  void ProcessImage(const fc::TFCImageBuffer& frame) override {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03d.ppm", written_++);
    std::ofstream out(folder_ / name, std::ios::binary);
    out << "P6\n" << frame.Width() << ' ' << frame.Height() << "\n255\n";
    const Ipp8u* row = frame.Read();
    for (int y = 0; y < frame.Height(); ++y, row += frame.Step())
      for (int x = 0; x < frame.Width(); ++x) {
        const Ipp8u* bgr = row + 3 * x;
        const char rgb[3] = {char(bgr[2]), char(bgr[1]), char(bgr[0])};
        out.write(rgb, 3);
      }
  }

private:
  std::filesystem::path folder_;
  int written_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 5;
  const std::filesystem::path folder = argc > 2 ? argv[2] : "pipeline-out";
  try {
    std::filesystem::create_directories(folder);

    // The form owns the components and deletes them with itself.
    fc::TComponent form(nullptr);
    auto* generator = new fc::TFCJaehneGen(&form);
    auto* gamma = new fc::TFCGammaFilter(&form);
    auto* mirror = new fc::TFCMirror(&form);
    auto* writer = new TPpmWriter(&form, folder);

    // Properties go through the same registry the form files use.
    fc::SetPropertyText(*generator, "ImageSize.Width", "320");
    fc::SetPropertyText(*generator, "ImageSize.Height", "240");
    fc::SetPropertyText(*generator, "Pacing", "gpPump");  // as fast as the sink asks
    gamma->SetGammaType(fc::gtInverse);
    mirror->SetMirrorType(fc::mtBoth);

    generator->GetOutputPin()->Connect(*gamma->GetInputPin());
    gamma->GetOutputPin()->Connect(*mirror->GetInputPin());
    mirror->GetOutputPin()->Connect(*writer->GetInputPin());

    generator->Start();
    for (int i = 0; i < frames; ++i) writer->RequestFrame();
    generator->Stop();

    std::printf("%d frames written to %s\n", writer->Written(), folder.c_str());
    return 0;
  } catch (const fc::EFCError& error) {
    std::fprintf(stderr, "pipeline_in_code: %s\n", error.what());
    return 1;
  }
}
