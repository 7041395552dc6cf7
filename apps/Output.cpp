// Rendering pictures into PNG, SVG or PDF bytes and writing them atomically.
#include "Output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>

#include "surface/Png.h"

namespace kelo::cli {

std::optional<OutputFormat> FormatForPath(const std::string& path) {
  if (path == "-") return OutputFormat::kPng;
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".png") return OutputFormat::kPng;
  if (ext == ".svg") return OutputFormat::kSvg;
  if (ext == ".pdf") return OutputFormat::kPdf;
  return std::nullopt;
}

namespace {

// cairo names an SVG's surfaces and images after process-wide counters ("surface107",
// "image128"), so the same chart drawn later in a long-running process (the render service,
// the Python package) would differ from the tool's by those numbers alone. They are
// renumbered 1, 2, ... per family in order of first appearance, wherever they stand as
// id="..." or a "#..." reference: every front end gives the same bytes for the same chart.
void CanonicalSvgIds(std::vector<std::uint8_t>& bytes) {
  const std::string text(bytes.begin(), bytes.end());
  std::string out;
  out.reserve(text.size());
  std::map<std::string, std::map<std::string, int>> numbers;  // family -> old number -> new
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const bool anchor = c == '#' || (c == '"' && i >= 3 && text.compare(i - 3, 4, "id=\"") == 0);
    std::size_t matched = 0;
    if (anchor) {
      for (const char* family : {"surface", "image"}) {
        const std::size_t n = std::char_traits<char>::length(family);
        std::size_t end = i + 1 + n;
        if (text.compare(i + 1, n, family) != 0) continue;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == i + 1 + n || end >= text.size() || text[end] != '"') continue;
        auto& ids = numbers[family];
        const auto inserted = ids.emplace(text.substr(i + 1 + n, end - i - 1 - n), static_cast<int>(ids.size()) + 1);
        out += c;
        out += family;
        out += std::to_string(inserted.first->second);
        matched = end - i;
        break;
      }
    }
    if (matched) {
      i += matched;
    } else {
      out += c;
      ++i;
    }
  }
  bytes.assign(out.begin(), out.end());
}

}  // namespace

bool RenderPicture(const DrawFunction& draw, int width, int height, OutputFormat format, Theme theme,
                   std::vector<std::uint8_t>& bytes, bool viaRecording) {
  using namespace kelo::surface;
  bytes.clear();
  std::shared_ptr<SurfaceBackend> target;
  std::shared_ptr<VectorBackend> vector;
  if (format == OutputFormat::kPng) {
    target = std::make_shared<RasterBackend>(width, height, 0xFFFFFF);
  } else {
    vector = std::make_shared<VectorBackend>(
        format == OutputFormat::kSvg ? VectorBackend::Format::kSvg : VectorBackend::Format::kPdf, width, height);
    target = vector;
  }
  if (target->Width() != width || target->Height() != height) return false;
  if (viaRecording || theme == Theme::kLight) {
    auto recording = CDC::CreateRecording(width, height);
    draw(recording.get());
    const auto& records = RecordingOf(*recording)->Records();
    Replay(theme == Theme::kLight ? LightRecords(records) : records, *target);
  } else {
    auto dc = CDC::FromBackend(target);
    draw(dc.get());
  }
  if (vector) {
    bytes = vector->Finish();
    if (format == OutputFormat::kSvg) CanonicalSvgIds(bytes);
    return !bytes.empty();
  }
  const auto& raster = static_cast<RasterBackend&>(*target);
  return kelo::surface::detail::EncodeArgb32Png(raster.Data(), width, height, raster.Stride(),
                                                kelo::surface::detail::DefaultPngSettings(), bytes);
}

std::optional<std::string> WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  auto writeAll = [&](int fd) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  };
  if (path == "-") {
    if (!writeAll(STDOUT_FILENO)) return "cannot write to standard output: " + std::string(std::strerror(errno));
    return std::nullopt;
  }
  std::string temp = path + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return "cannot create " + temp + ": " + std::strerror(errno);
  ::fchmod(fd, 0644);
  const bool ok = writeAll(fd);
  const int error = errno;
  if (::close(fd) != 0 || !ok) {
    ::unlink(temp.c_str());
    return "cannot write " + path + ": " + std::strerror(ok ? errno : error);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string message = "cannot write " + path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return message;
  }
  return std::nullopt;
}

}  // namespace kelo::cli
