// The font engine's answers kept on disk (see <kelochart/surface/FontAnswers.h>): what a
// face request resolved to, and the stamps of what fontconfig read to answer it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace kelo::surface::detail {

// A face request (name, weight, italic) and the face fontconfig matched for it.
using FaceRequest = std::tuple<std::string, int, bool>;
struct FaceAnswer {
  std::string file;
  int index = 0;
  bool embolden = false;
  friend bool operator==(const FaceAnswer&, const FaceAnswer&) = default;
};

// A file or folder fontconfig read, as it stood: a change to one of them (a font installed,
// a configuration edited, fc-cache run) changes its time or size.
struct PathStamp {
  std::string path;
  std::int64_t mtimeNs = -1;  // -1: the path did not exist
  std::int64_t size = -1;
  friend bool operator==(const PathStamp&, const PathStamp&) = default;
};
PathStamp StampOf(const std::string& path);

struct FontAnswers {
  std::string environment;  // the FONTCONFIG_* and home variables fontconfig reads
  std::vector<PathStamp> stamps;
  std::map<FaceRequest, FaceAnswer> answers;
};

// The variables that change what fontconfig reads, as one text.
std::string FontEnvironment();

// The answers of a kept file, or none when the file is missing, malformed, from another
// environment or when one of its stamped paths changed since.
FontAnswers ReadFontAnswers(const std::string& path, const std::string& environment);
// Writes through a temporary file renamed over path (a process reading it sees the old or
// the new whole); false when it cannot.
bool WriteFontAnswers(const std::string& path, const FontAnswers& answers);

// At most this many answers are kept: requests are caller-chosen face names.
inline constexpr std::size_t kMaxFontAnswers = 64;

}  // namespace kelo::surface::detail
