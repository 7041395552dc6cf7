#include "surface/FontAnswers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <kelochart/surface/FontAnswers.h>

namespace kelo::surface::detail {

namespace {

constexpr const char* kHeader = "kelochart font answers 1";
constexpr std::size_t kMaxFileBytes = 1 << 20;  // a larger file is not ours
constexpr std::size_t kMaxStamps = 4096;

// Strings go into the file as hex: face names are any bytes the caller chose, paths may hold
// spaces or line breaks.
std::string Hex(const std::string& s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  out.reserve(s.size() * 2 + 1);
  out.push_back('x');  // never an empty word
  for (unsigned char c : s) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

bool Unhex(const std::string& word, std::string& out) {
  if (word.empty() || word[0] != 'x' || word.size() % 2 != 1) return false;
  out.clear();
  auto nibble = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (std::size_t i = 1; i < word.size(); i += 2) {
    const int hi = nibble(word[i]), lo = nibble(word[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
  }
  return true;
}

}  // namespace

PathStamp StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return PathStamp{path, -1, -1};
  return PathStamp{path, static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                   static_cast<std::int64_t>(st.st_size)};
}

std::string FontEnvironment() {
  std::string text;
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME", "XDG_CONFIG_HOME",
                           "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
    const char* value = std::getenv(name);
    text.append(name);
    if (value != nullptr) {
      text.push_back('=');
      text.append(value);
    } else {
      text.push_back('-');
    }
    text.push_back('\n');
  }
  return text;
}

FontAnswers ReadFontAnswers(const std::string& path, const std::string& environment) {
  const PathStamp file = StampOf(path);
  if (file.size < 0 || file.size > static_cast<std::int64_t>(kMaxFileBytes)) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text(static_cast<std::size_t>(file.size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || line != kHeader) return {};
  FontAnswers kept;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string kind, a, b;
    words >> kind;
    if (kind == "environment") {
      if (!(words >> a) || !Unhex(a, kept.environment)) return {};
    } else if (kind == "stamp") {
      PathStamp stamp;
      if (!(words >> stamp.mtimeNs >> stamp.size >> a) || !Unhex(a, stamp.path)) return {};
      if (kept.stamps.size() >= kMaxStamps) return {};
      kept.stamps.push_back(std::move(stamp));
    } else if (kind == "answer") {
      std::string name;
      int weight = 0, italic = 0, embolden = 0;
      FaceAnswer answer;
      if (!(words >> weight >> italic >> embolden >> answer.index >> a >> b)) return {};
      if (!Unhex(a, name) || !Unhex(b, answer.file) || italic < 0 || italic > 1 || embolden < 0 || embolden > 1) {
        return {};
      }
      answer.embolden = embolden == 1;
      if (kept.answers.size() >= kMaxFontAnswers) return {};
      kept.answers[FaceRequest{name, weight, italic == 1}] = answer;
    } else {
      return {};
    }
    std::string rest;
    if (words >> rest) return {};  // more words than the kind has
  }
  if (kept.environment != environment || kept.stamps.empty()) return {};
  for (const PathStamp& stamp : kept.stamps) {
    if (!(StampOf(stamp.path) == stamp)) return {};
  }
  return kept;
}

bool WriteFontAnswers(const std::string& path, const FontAnswers& answers) {
  std::ostringstream out;
  out << kHeader << '\n' << "environment " << Hex(answers.environment) << '\n';
  for (const PathStamp& stamp : answers.stamps) {
    out << "stamp " << stamp.mtimeNs << ' ' << stamp.size << ' ' << Hex(stamp.path) << '\n';
  }
  for (const auto& [request, answer] : answers.answers) {
    out << "answer " << std::get<1>(request) << ' ' << (std::get<2>(request) ? 1 : 0) << ' '
        << (answer.embolden ? 1 : 0) << ' ' << answer.index << ' ' << Hex(std::get<0>(request)) << ' '
        << Hex(answer.file) << '\n';
  }
  const std::string text = out.str();
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace kelo::surface::detail

namespace kelo::surface {

std::string DefaultFontAnswersPath() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/kelochart/font-answers";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.cache/kelochart/font-answers";
  return {};
}

}  // namespace kelo::surface
