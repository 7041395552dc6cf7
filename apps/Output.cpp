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

#include <kelochart/surface/PngEncoder.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>

#include "SvgIds.h"

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

bool RenderPicture(const DrawFunction& draw, int width, int height, OutputFormat format, Theme theme,
                   std::vector<std::uint8_t>& bytes, bool viaRecording, int pngLevel) {
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
    if (format == OutputFormat::kSvg) NumberSvgIdsInOrder(bytes);
    return !bytes.empty();
  }
  return EncodePng(*target, bytes, pngLevel);
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
