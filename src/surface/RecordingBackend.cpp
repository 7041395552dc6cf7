// The recording surface: every call becomes a value-typed record of the surface's own list
// and of the log shared by all surfaces made compatible with the root, and a record list can
// be replayed onto any backend.
#include <kelochart/surface/RecordingBackend.h>

#include <algorithm>
#include <map>
#include <tuple>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>

#include "surface/CopyWindow.h"

#include "surface/FontEngine.h"
#include "surface/Limits.h"

namespace kelo::surface {

struct RecordingBackend::Shared {
  std::vector<Record> log;
  std::uint64_t bitmaps = 0;  // 64 bits: the names never wrap
};

RecordingBackend::RecordingBackend(int width, int height)
    : RecordingBackend(width, height, std::make_shared<Shared>(), "screen", 0xFFFFFF) {}

RecordingBackend::RecordingBackend(int width, int height, std::shared_ptr<Shared> shared,
                                   std::string name, COLORREF initial)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      initial_(initial),
      shared_(std::move(shared)),
      name_(std::move(name)) {}

int RecordingBackend::Width() const { return width_; }
int RecordingBackend::Height() const { return height_; }
std::string RecordingBackend::Name() const { return name_; }
void RecordingBackend::SetName(std::string name) { name_ = std::move(name); }

std::shared_ptr<SurfaceBackend> RecordingBackend::CreateCompatible(int width, int height) {
  if (!detail::SurfaceSizeOk(width, height)) return nullptr;
  ++shared_->bitmaps;
  return std::shared_ptr<RecordingBackend>(new RecordingBackend(
      width, height, shared_, "bitmap#" + std::to_string(shared_->bitmaps), 0x000000));
}

void RecordingBackend::Add(Operation op) {
  if (records_.size() >= detail::kMaxRecords || shared_->log.size() >= detail::kMaxRecords) {
    ++dropped_;
    return;
  }
  Record record{name_, std::move(op)};
  shared_->log.push_back(record);
  records_.push_back(std::move(record));
}

void RecordingBackend::FillSolidRect(const CRect& rect, COLORREF color) {
  Add(FillRectRecord{rect, color});
}

void RecordingBackend::GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) {
  Add(LineRecord{from, to, pen});
}

void RecordingBackend::DrawText(const TextDesc& text) { Add(TextRecord{text}); }

CSize RecordingBackend::MeasureText(const FontDesc& font, std::string_view text) {
  return detail::FontEngine::Instance().Measure(font, text);
}

void RecordingBackend::Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin,
                            bool useKey, COLORREF key) {
  std::shared_ptr<const RecordingSnapshot> shared;
  if (auto* recording = dynamic_cast<RecordingBackend*>(&source)) {
    shared = recording->SharedSnapshot();
  } else {
    // Pixels of another kind of surface are kept as a copy of that surface.
    auto snapshot = std::make_shared<RecordingSnapshot>();
    snapshot->width = source.Width();
    snapshot->height = source.Height();
    if (auto copy = source.CreateCompatible(source.Width(), source.Height())) {
      copy->Blit(CRect(0, 0, source.Width(), source.Height()), source, CPoint(0, 0), false, 0);
      snapshot->image = std::move(copy);
    }
    shared = std::move(snapshot);
  }
  BlitRecord record;
  record.dst = dst;
  record.sourceOrigin = sourceOrigin;
  record.useKey = useKey;
  record.key = key;
  record.sourceName = source.Name();
  record.source = std::move(shared);
  Add(std::move(record));
}

void RecordingBackend::RecordCopy(BlitRecord copy) { Add(std::move(copy)); }

void RecordingBackend::StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) {
  Add(StrokePathRecord{path, pen, state});
}

void RecordingBackend::FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) {
  Add(FillPathRecord{path, argb, state});
}

void RecordingBackend::FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle,
                               std::uint32_t argb, const GpState& state) {
  Add(FillPieRecord{x, y, w, h, startAngle, sweepAngle, argb, state});
}

const std::vector<Record>& RecordingBackend::Records() const { return records_; }
const std::vector<Record>& RecordingBackend::Log() const { return shared_->log; }

void RecordingBackend::Clear() {
  records_.clear();
  lastSnapshot_.reset();
  dropped_ = 0;
  shared_->log.clear();
}

RecordingSnapshot RecordingBackend::Snapshot() const {
  RecordingSnapshot snapshot;
  snapshot.width = width_;
  snapshot.height = height_;
  snapshot.records = records_;
  snapshot.initial = initial_;
  return snapshot;
}

std::shared_ptr<SurfaceBackend> RenderSnapshot(const RecordingSnapshot& snapshot, SurfaceBackend& like) {
  auto surface = like.CreateCompatible(snapshot.width, snapshot.height);
  if (!surface) return nullptr;
  // A new compatible surface starts black; anything else is painted first.
  if (snapshot.initial != 0x000000) surface->FillSolidRect(CRect(0, 0, snapshot.width, snapshot.height), snapshot.initial);
  Replay(snapshot.records, *surface);
  return surface;
}

namespace {

bool IsEmptyWindow(const CRect& window) { return window.right <= window.left || window.bottom <= window.top; }

// The window of a snapshot's surface, drawn on a raster holding just that window.
std::shared_ptr<SurfaceBackend> RenderWindow(const RecordingSnapshot& snapshot, const CRect& window) {
  std::shared_ptr<SurfaceBackend> surface = RasterBackend::MakeWindow(snapshot.width, snapshot.height, window);
  if (!surface) return nullptr;
  if (snapshot.initial != 0x000000) surface->FillSolidRect(CRect(0, 0, snapshot.width, snapshot.height), snapshot.initial);
  Replay(snapshot.records, *surface);
  return surface;
}

}  // namespace

std::shared_ptr<SurfaceBackend> RenderCopySource(const RecordingSnapshot& snapshot, SurfaceBackend& target,
                                                 const CRect& dst, CPoint sourceOrigin) {
  // A copy can read no more than the destination holds: a copy onto a small raster (or onto
  // the window of a bitmap read by an outer copy) renders that many source pixels at most,
  // wherever its rectangles point, so a chain of copies out of large recorded bitmaps costs
  // the pixels it shows, not the bitmaps' sizes.
  auto* raster = dynamic_cast<RasterBackend*>(&target);
  const CRect visible = raster != nullptr ? raster->Window() : CRect(0, 0, target.Width(), target.Height());
  const CRect window = detail::CopyReadWindow(dst, sourceOrigin, visible, snapshot.width, snapshot.height);
  if (IsEmptyWindow(window)) return nullptr;
  if (raster != nullptr) return RenderWindow(snapshot, window);
  auto surface = target.CreateCompatible(window.right, window.bottom);
  if (!surface) return nullptr;
  if (snapshot.initial != 0x000000) surface->FillSolidRect(CRect(0, 0, snapshot.width, snapshot.height), snapshot.initial);
  Replay(snapshot.records, *surface);
  return surface;
}

std::shared_ptr<const RecordingSnapshot> RecordingBackend::SharedSnapshot() const {
  if (!lastSnapshot_ || lastSnapshot_->records.size() != records_.size()) {
    lastSnapshot_ = std::make_shared<const RecordingSnapshot>(Snapshot());
  }
  return lastSnapshot_;
}

namespace {

// Windows of recorded bitmaps drawn during one replay, by snapshot and window: a bitmap copied
// from many times unchanged, or reached through many nested copies, is drawn once per window
// it is read through, not once per copy (copies of copies would otherwise multiply). A
// snapshot never changes, so an entry holds until the outermost replay ends. Entries stop
// being kept past kMaxCachedPixels, so the cache never holds more than 64 MB of pixels.
struct WindowCache {
  static constexpr std::int64_t kMaxCachedPixels = 16LL * 1024 * 1024;
  using Key = std::tuple<const RecordingSnapshot*, int, int, int, int>;
  struct Entry {
    std::shared_ptr<const RecordingSnapshot> snapshot;  // keeps the key's address alive
    std::shared_ptr<SurfaceBackend> pixels;
  };
  int depth = 0;
  std::int64_t pixels = 0;
  std::map<Key, Entry> entries;
};
thread_local WindowCache windowCache;

// Marks one replay in progress on this thread; the outermost one empties the cache at its end.
struct ReplayScope {
  ReplayScope() { ++windowCache.depth; }
  ~ReplayScope() {
    if (--windowCache.depth == 0) {
      windowCache.entries.clear();
      windowCache.pixels = 0;
    }
  }
  ReplayScope(const ReplayScope&) = delete;
  ReplayScope& operator=(const ReplayScope&) = delete;
};

std::shared_ptr<SurfaceBackend> CachedWindow(const std::shared_ptr<const RecordingSnapshot>& snapshot,
                                             const CRect& window) {
  const WindowCache::Key key{snapshot.get(), window.left, window.top, window.right, window.bottom};
  if (auto it = windowCache.entries.find(key); it != windowCache.entries.end()) return it->second.pixels;
  auto surface = RenderWindow(*snapshot, window);
  const std::int64_t size = static_cast<std::int64_t>(window.right - window.left) * (window.bottom - window.top);
  if (surface && windowCache.pixels + size <= WindowCache::kMaxCachedPixels) {
    windowCache.pixels += size;
    windowCache.entries.emplace(key, WindowCache::Entry{snapshot, surface});
  }
  return surface;
}

// One replay per operation and no generic fallback: Replay visits the variant made from
// KELO_RECORD_TYPES, so an operation listed without its own replay does not compile.
void ReplayOp(const FillRectRecord& op, SurfaceBackend& target) { target.FillSolidRect(op.rect, op.color); }
void ReplayOp(const LineRecord& op, SurfaceBackend& target) { target.GdiLine(op.from, op.to, op.pen); }
void ReplayOp(const TextRecord& op, SurfaceBackend& target) { target.DrawText(op.text); }
void ReplayOp(const StrokePathRecord& op, SurfaceBackend& target) { target.StrokePath(op.path, op.pen, op.state); }
void ReplayOp(const FillPathRecord& op, SurfaceBackend& target) { target.FillPath(op.path, op.argb, op.state); }
void ReplayOp(const FillPieRecord& op, SurfaceBackend& target) {
  target.FillPie(op.x, op.y, op.w, op.h, op.startAngle, op.sweepAngle, op.argb, op.state);
}
void ReplayOp(const BlitRecord& op, SurfaceBackend& target) {
  if (!op.source) return;
  const RecordingSnapshot& snap = *op.source;
  if (snap.image) {
    target.Blit(op.dst, *snap.image, op.sourceOrigin, op.useKey, op.key);
    return;
  }
  // Onto a raster only the window of the source the copy reads is rendered, once per replay;
  // a recording target records the same copy of the same source.
  std::shared_ptr<SurfaceBackend> scratch;
  if (auto* raster = dynamic_cast<RasterBackend*>(&target)) {
    const CRect window = detail::CopyReadWindow(op.dst, op.sourceOrigin, raster->Window(), snap.width, snap.height);
    if (!IsEmptyWindow(window)) scratch = CachedWindow(op.source, window);
  } else if (auto* recording = dynamic_cast<RecordingBackend*>(&target)) {
    recording->RecordCopy(op);
    return;
  } else {
    scratch = RenderCopySource(snap, target, op.dst, op.sourceOrigin);
  }
  if (scratch) {
    target.Blit(op.dst, *scratch, op.sourceOrigin, op.useKey, op.key);
  }
}

}  // namespace

void Replay(const std::vector<Record>& records, SurfaceBackend& target) {
  // A recording target may append to the very list replayed (a recording replayed onto
  // itself, or the shared log onto one of its own bitmaps). Only the records present at the
  // start are replayed, by index, and onto a recording each from a copy, so no reference
  // into a vector that may reallocate is held across a call of the target.
  const ReplayScope scope;
  const std::size_t count = records.size();
  const bool mayAppend = dynamic_cast<RecordingBackend*>(&target) != nullptr;
  const auto replay = [&target](const auto& op) { ReplayOp(op, target); };
  for (std::size_t i = 0; i < count; ++i) {
    if (mayAppend) {
      const Operation op = records[i].op;
      std::visit(replay, op);
    } else {
      std::visit(replay, records[i].op);
    }
  }
}

RecordingBackend* RecordingOf(CDC& dc) { return dynamic_cast<RecordingBackend*>(dc.GetBackend()); }

}  // namespace kelo::surface
