// media_files.cpp - test media made by the ffmpeg command.
#include "tests/support/media_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <fstream>
#include <iterator>
#include <mutex>

namespace fc::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kVideo25 = "-f lavfi -i testsrc=size=64x48:rate=25";
constexpr const char* kStereoTone = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -ac 2";

struct TRecipe {
  const char* name;
  std::string arguments;
};

const std::vector<TRecipe>& Recipes() {
  static const std::vector<TRecipe> recipes = {
      {"av.wmv", std::string(kVideo25) + ":duration=0.48 " + kStereoTone +
                     " -c:v wmv2 -c:a wmav2 -metadata title='Test clip' -metadata author=Framecraft"},
      {"audio.wma", "-f lavfi -i sine=frequency=330:sample_rate=44100:duration=1 -c:a wmav2"},
      {"video.avi", std::string(kVideo25) + ":duration=0.4 -c:v mjpeg"},
      {"nocodec.mkv", "-f lavfi -i testsrc=size=320x200:rate=25:duration=0.2 " + std::string(kStereoTone) +
                          " -c:v a64multi -c:a wmav2"},
      {"clip.mp4", std::string(kVideo25) + ":duration=0.48 " + kStereoTone + " -c:v mpeg4 -c:a aac"},
      {"stream.ts", std::string(kVideo25) + ":duration=8 -f lavfi -i sine=sample_rate=44100:duration=8" +
                        " -c:v mpeg2video -c:a mp2 -f mpegts"},
  };
  return recipes;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// A temporary folder, removed when the test program ends.
class TFolder {
public:
  TFolder() {
    std::string pattern = (fs::temp_directory_path() / "framecraft-media-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

private:
  fs::path path_;
};

const fs::path& Folder() {
  static const TFolder folder;
  return folder.Path();
}

// Makes the file of that recipe; true when ffmpeg made it.
bool Make(const TRecipe& recipe) {
  if (Folder().empty()) return false;
  const std::string command =
      "ffmpeg -nostdin -v error -y " + recipe.arguments + " " + Quoted((Folder() / recipe.name).string());
  return std::system(command.c_str()) == 0;
}

std::vector<std::uint8_t> OutputOf(const std::string& command) {
  std::vector<std::uint8_t> bytes;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return bytes;
  std::uint8_t chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  pclose(pipe);
  return bytes;
}

}  // namespace

std::string MediaFile(const std::string& name) {
  // Each file is made when a test first asks for it, so a test program
  // runs ffmpeg only for the files its tests use.
  static std::mutex mutex;
  static std::map<std::string, bool> made;
  std::lock_guard guard(mutex);
  auto found = made.find(name);
  if (found == made.end()) {
    bool ok = false;
    for (const TRecipe& recipe : Recipes())
      if (recipe.name == name) ok = Make(recipe);
    found = made.emplace(name, ok).first;
  }
  EXPECT_TRUE(found->second) << "the ffmpeg command could not make " << name;
  return (Folder() / name).string();
}

std::string FileContents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> FFmpegVideoBytes(const std::string& path) {
  return OutputOf("ffmpeg -nostdin -v error -i " + Quoted(path) +
                  " -map 0:v:0 -fps_mode passthrough -sws_flags bicubic -f rawvideo -pix_fmt bgr24 -");
}

std::vector<std::uint8_t> FFmpegAudioBytes(const std::string& path) {
  return OutputOf("ffmpeg -nostdin -v error -i " + Quoted(path) + " -map 0:a:0 -f s16le -acodec pcm_s16le -");
}

}  // namespace fc::test
