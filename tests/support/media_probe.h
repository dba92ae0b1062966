// media_probe.h - checks media files with the ffprobe and ffmpeg commands,
// and gives each test a folder of its own for the files it writes.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

namespace fc::test {

/// What a command wrote to its standard output ("" when it failed).
inline std::string CommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return output;
  std::array<char, 4096> chunk;
  std::size_t n;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), n);
  return pclose(pipe) == 0 ? output : std::string();
}

/// The fields ffprobe gives for one stream of a file ("codec_name",
/// "width", "nb_read_frames", "duration" ...), counting its frames; empty
/// when ffprobe cannot open the file or it has no such stream. `selector`
/// is ffprobe's stream specifier ("v:0", "a:0").
inline std::map<std::string, std::string> ProbeStream(const std::filesystem::path& file,
                                                      const std::string& selector) {
  std::map<std::string, std::string> fields;
  std::istringstream lines(CommandOutput("ffprobe -v error -count_frames -select_streams " + selector +
                                         " -show_entries stream -of default=noprint_wrappers=1 '" +
                                         file.string() + "'"));
  for (std::string line; std::getline(lines, line);)
    if (auto eq = line.find('='); eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
  return fields;
}

/// The presentation times in seconds of the packets of one stream, in file
/// order.
inline std::vector<double> PacketTimes(const std::filesystem::path& file, const std::string& selector) {
  std::vector<double> times;
  std::istringstream lines(CommandOutput("ffprobe -v error -select_streams " + selector +
                                         " -show_entries packet=pts_time -of csv=p=0 '" + file.string() + "'"));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) times.push_back(std::stod(line));
  return times;
}

/// Decodes every video frame of a file with the ffmpeg command into raw
/// three-byte pixels (blue, green, red); empty when it fails.
inline std::string DecodeWithFFmpeg(const std::filesystem::path& file) {
  return CommandOutput("ffmpeg -v error -i '" + file.string() + "' -vsync passthrough -f rawvideo -pix_fmt bgr24 -");
}

/// A fresh folder for one test's files, removed with everything in it at
/// the end of the test.
class TMediaFolder {
public:
  TMediaFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("framecraft-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" +
             std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TMediaFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
  std::filesystem::path path_;
};

}  // namespace fc::test
