// The recording surface: every call becomes a value-typed record of the surface's own list
// and of the log shared by all surfaces made compatible with the root, and a record list can
// be replayed onto any backend.
#include <kelochart/surface/RecordingBackend.h>

#include <algorithm>
#include <deque>
#include <map>
#include <tuple>
#include <unordered_set>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>

#include "surface/CopyWindow.h"
#include "surface/Limits.h"
#include "surface/PixelVersion.h"

namespace kelo::surface {

namespace {

std::uint64_t PathBytes(const PathDesc& path) {
  std::uint64_t bytes = path.figures.size() * sizeof(PathFigure);
  for (const PathFigure& figure : path.figures) bytes += figure.points.size() * sizeof(PointF);
  return bytes;
}

bool Contains(const CRect& outer, const CRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

CRect Cut(const CRect& window, int width, int height) {
  const CRect cut(std::max(window.left, 0), std::max(window.top, 0), std::min(window.right, width),
                  std::min(window.bottom, height));
  return cut.right > cut.left && cut.bottom > cut.top ? cut : CRect();
}

}  // namespace

// The bytes one record list holds. Values records share (a clip set once for many calls, a
// source snapshot copied from many times) are counted once per list, when first met.
struct RecordingBackend::ListBytes {
  std::uint64_t bytes = 0;
  std::unordered_set<const void*> shared;

  // The bytes record adds; the shared values it adds are appended to fresh.
  std::uint64_t Cost(const Record& record, std::vector<const void*>& fresh) const {
    std::uint64_t cost = sizeof(Record) + record.surface.size();
    const auto sharedValue = [&](const void* value, std::uint64_t bytes) {
      if (shared.count(value) == 0 && std::find(fresh.begin(), fresh.end(), value) == fresh.end()) {
        fresh.push_back(value);
        cost += bytes;
      }
    };
    const auto state = [&](const GpState& s) {
      if (!s.clipped) return;
      sharedValue(&s.clip.get(), PathBytes(*s.clip));
      std::uint64_t more = 0;
      for (const PathDesc& clip : *s.moreClips) more += sizeof(PathDesc) + PathBytes(clip);
      sharedValue(&s.moreClips.get(), more);
    };
    std::visit(
        [&](const auto& op) {
          using T = std::decay_t<decltype(op)>;
          if constexpr (std::is_same_v<T, TextRecord>) {
            cost += op.text.text.size() + op.text.font.face.size();
          } else if constexpr (std::is_same_v<T, BlitRecord>) {
            cost += op.sourceName.size();
            if (op.source) sharedValue(op.source.get(), op.source->bytes);
          } else if constexpr (std::is_same_v<T, StrokePathRecord> || std::is_same_v<T, FillPathRecord>) {
            cost += PathBytes(op.path);
            state(op.state);
          } else if constexpr (std::is_same_v<T, FillPieRecord>) {
            state(op.state);
          }
        },
        record.op);
    return cost;
  }
  void Take(std::uint64_t cost, const std::vector<const void*>& fresh) {
    bytes += cost;
    shared.insert(fresh.begin(), fresh.end());
  }
  void Clear() {
    bytes = 0;
    shared.clear();
  }
};

struct RecordingBackend::Shared {
  std::vector<Record> log;
  ListBytes logBytes;
  std::uint64_t bitmaps = 0;  // 64 bits: the names never wrap
  // The last pixel copies kept from sources that are not recordings: a copy of the same
  // pixels (same version, within a kept window) shares the kept snapshot.
  struct Kept {
    CRect window;
    std::shared_ptr<const RecordingSnapshot> snapshot;
  };
  static constexpr std::size_t kKeptCopies = 8;
  std::deque<Kept> kept;
};

RecordingBackend::RecordingBackend(int width, int height)
    : RecordingBackend(width, height, std::make_shared<Shared>(), "screen", 0xFFFFFF) {}

RecordingBackend::RecordingBackend(int width, int height, std::shared_ptr<Shared> shared, std::string name,
                                   COLORREF initial)
    : initial_(initial), shared_(std::move(shared)), name_(std::move(name)), bytes_(std::make_shared<ListBytes>()),
      version_(detail::NewPixelVersion()) {
  SetSize(width > 0 ? width : 0, height > 0 ? height : 0);
}

RecordingBackend::RecordingBackend(std::shared_ptr<const RecordingSnapshot> source, std::string name)
    : initial_(source->initial), shared_(std::make_shared<Shared>()), name_(std::move(name)),
      bytes_(std::make_shared<ListBytes>()), version_(source->version), lastSnapshot_(std::move(source)),
      readOnly_(true) {
  SetSize(lastSnapshot_->width, lastSnapshot_->height);
}

std::shared_ptr<SurfaceBackend> RecordingBackend::CreateCompatible(int width, int height) {
  if (!detail::SurfaceSizeOk(width, height)) return nullptr;
  ++shared_->bitmaps;
  return std::shared_ptr<RecordingBackend>(
      new RecordingBackend(width, height, shared_, "bitmap#" + std::to_string(shared_->bitmaps), 0x000000));
}

bool RecordingBackend::Add(Operation op) {
  if (readOnly_) return false;
  Record record{name_, std::move(op)};
  std::vector<const void*> ownFresh, logFresh;
  const std::uint64_t ownCost = bytes_->Cost(record, ownFresh);
  const std::uint64_t logCost = shared_->logBytes.Cost(record, logFresh);
  if (records_.size() >= detail::kMaxRecords || shared_->log.size() >= detail::kMaxRecords ||
      bytes_->bytes + ownCost > detail::kMaxRecordingBytes ||
      shared_->logBytes.bytes + logCost > detail::kMaxRecordingBytes) {
    ++dropped_;
    return false;
  }
  bytes_->Take(ownCost, ownFresh);
  shared_->logBytes.Take(logCost, logFresh);
  version_ = detail::NewPixelVersion();
  shared_->log.push_back(record);
  records_.push_back(std::move(record));
  return true;
}

void RecordingBackend::FillSolidRect(const CRect& rect, COLORREF color) { Add(FillRectRecord{rect, color}); }

void RecordingBackend::GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) { Add(LineRecord{from, to, pen}); }

void RecordingBackend::DrawText(const TextDesc& text) { Add(TextRecord{text}); }

void RecordingBackend::Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) {
  // Every argument is copied into the record before it is added: a replay may pass references
  // into the very list the record is appended to.
  BlitRecord record;
  record.dst = dst;
  record.sourceOrigin = sourceOrigin;
  record.useKey = useKey;
  record.key = key;
  if (RecordingBackend* recording = RecordingOf(&source)) {
    // A recording's calls are kept as calls: one snapshot while the source does not change.
    record.sourceName = recording->Name();
    record.source = recording->SharedSnapshot();
    Add(std::move(record));
    return;
  }
  // Pixels: only the window that lands on this surface, shared with an earlier copy of the
  // same pixels.
  record.sourceName = "pixels";
  const CRect window =
      detail::CopyReadWindow(dst, sourceOrigin, CRect(0, 0, Width(), Height()), source.Width(), source.Height());
  const PixelWindow read = window.right > window.left ? source.ReadPixels(window) : PixelWindow();
  std::shared_ptr<RecordingSnapshot> fresh;
  if (!read.Empty()) {
    for (const Shared::Kept& kept : shared_->kept) {
      if (read.version != 0 && kept.snapshot->version == read.version && kept.snapshot->width == source.Width() &&
          kept.snapshot->height == source.Height() && Contains(kept.window, read.window)) {
        record.source = kept.snapshot;
        break;
      }
    }
    if (!record.source) {
      auto snapshot = std::make_shared<RecordingSnapshot>();
      snapshot->width = source.Width();
      snapshot->height = source.Height();
      snapshot->image = RasterBackend::FromPixels(source.Width(), source.Height(), read);
      snapshot->version = read.version;
      snapshot->bytes = sizeof(RecordingSnapshot) + sizeof(RasterBackend) +
                        4ull * static_cast<std::uint64_t>(read.window.right - read.window.left) *
                            static_cast<std::uint64_t>(read.window.bottom - read.window.top);
      if (snapshot->image) {
        record.source = snapshot;
        fresh = std::move(snapshot);
      }
    }
  }
  // Kept for sharing only once recorded: a copy past the recording's bounds is dropped, and
  // its pixels kept beside the list would escape the byte bound (eight of them, a gigabyte).
  if (Add(std::move(record)) && fresh) {
    shared_->kept.push_back({read.window, std::move(fresh)});
    if (shared_->kept.size() > Shared::kKeptCopies) shared_->kept.pop_front();
  }
}

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
std::uint64_t RecordingBackend::Bytes() const { return bytes_->bytes; }

void RecordingBackend::Clear() {
  if (readOnly_) return;
  records_.clear();
  lastSnapshot_.reset();
  dropped_ = 0;
  bytes_->Clear();
  shared_->log.clear();
  shared_->logBytes.Clear();
  shared_->kept.clear();
  version_ = detail::NewPixelVersion();
}

RecordingSnapshot RecordingBackend::Snapshot() const {
  if (readOnly_) return *lastSnapshot_;
  RecordingSnapshot snapshot;
  snapshot.width = Width();
  snapshot.height = Height();
  snapshot.records = records_;
  snapshot.initial = initial_;
  snapshot.version = version_;
  snapshot.bytes = sizeof(RecordingSnapshot) + bytes_->bytes;
  return snapshot;
}

std::shared_ptr<const RecordingSnapshot> RecordingBackend::SharedSnapshot() const {
  if (!readOnly_ && (!lastSnapshot_ || lastSnapshot_->version != version_)) {
    lastSnapshot_ = std::make_shared<const RecordingSnapshot>(Snapshot());
  }
  return lastSnapshot_;
}

namespace {

// The window of a recorded surface (width x height, starting as initial), drawn on a raster
// holding just that window.
std::shared_ptr<SurfaceBackend> RenderWindow(int width, int height, COLORREF initial,
                                             const std::vector<Record>& records, const CRect& window) {
  std::shared_ptr<SurfaceBackend> surface = RasterBackend::MakeWindow(width, height, window);
  if (!surface) return nullptr;
  // A new raster starts black; anything else is painted first.
  if (initial != 0x000000) surface->FillSolidRect(CRect(0, 0, width, height), initial);
  Replay(records, *surface);
  return surface;
}

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

std::shared_ptr<SurfaceBackend> SnapshotWindow(const std::shared_ptr<const RecordingSnapshot>& snapshot,
                                               const CRect& window) {
  const RecordingSnapshot& s = *snapshot;
  if (windowCache.depth == 0) return RenderWindow(s.width, s.height, s.initial, s.records, window);
  const WindowCache::Key key{snapshot.get(), window.left, window.top, window.right, window.bottom};
  if (auto it = windowCache.entries.find(key); it != windowCache.entries.end()) return it->second.pixels;
  auto surface = RenderWindow(s.width, s.height, s.initial, s.records, window);
  const std::int64_t size = static_cast<std::int64_t>(window.right - window.left) * (window.bottom - window.top);
  if (surface && windowCache.pixels + size <= WindowCache::kMaxCachedPixels) {
    windowCache.pixels += size;
    windowCache.entries.emplace(key, WindowCache::Entry{snapshot, surface});
  }
  return surface;
}

// The pixels of a drawn window, held by the surface that has them.
PixelWindow PixelsOf(std::shared_ptr<SurfaceBackend> surface, const CRect& window, std::uint64_t version) {
  if (!surface) return PixelWindow();
  PixelWindow read = surface->ReadPixels(window);
  read.owner = std::move(surface);
  read.version = version;
  return read;
}

}  // namespace

PixelWindow RecordingBackend::ReadPixels(const CRect& window) {
  if (readOnly_ && lastSnapshot_->image) return lastSnapshot_->image->ReadPixels(window);
  const CRect cut = Cut(window, Width(), Height());
  if (cut.right <= cut.left) return PixelWindow();
  if (readOnly_) return PixelsOf(SnapshotWindow(lastSnapshot_, cut), cut, version_);
  return PixelsOf(RenderWindow(Width(), Height(), initial_, records_, cut), cut, version_);
}

// A recorded copy replayed as a copy from a read-only surface over its source: a raster or
// vector target reads the window it needs, a recording records the same source again.
void ReplayCopy(const BlitRecord& op, SurfaceBackend& target) {
  if (!op.source) return;
  RecordingBackend source(op.source, op.sourceName);
  target.Blit(op.dst, source, op.sourceOrigin, op.useKey, op.key);
}

namespace {

// One replay per operation and no generic fallback: Replay visits the variant made from
// KELO_RECORD_TYPES, so an operation listed without its own replay does not compile.
void ReplayOp(const FillRectRecord& op, SurfaceBackend& target) { target.FillSolidRect(op.rect, op.color); }
void ReplayOp(const LineRecord& op, SurfaceBackend& target) { target.GdiLine(op.from, op.to, op.pen); }
void ReplayOp(const TextRecord& op, SurfaceBackend& target) { target.DrawText(op.text); }
void ReplayOp(const BlitRecord& op, SurfaceBackend& target) { ReplayCopy(op, target); }
void ReplayOp(const StrokePathRecord& op, SurfaceBackend& target) { target.StrokePath(op.path, op.pen, op.state); }
void ReplayOp(const FillPathRecord& op, SurfaceBackend& target) { target.FillPath(op.path, op.argb, op.state); }
void ReplayOp(const FillPieRecord& op, SurfaceBackend& target) {
  target.FillPie(op.x, op.y, op.w, op.h, op.startAngle, op.sweepAngle, op.argb, op.state);
}

}  // namespace

void Replay(const std::vector<Record>& records, SurfaceBackend& target) {
  // A recording target may append to the very list replayed (a recording replayed onto
  // itself, or the shared log onto one of its own bitmaps). Only the records present at the
  // start are replayed, by index, and a recording builds each record from the arguments
  // before it appends it, so no reference into a vector that reallocates is used after it.
  const ReplayScope scope;
  const std::size_t count = records.size();
  const auto replay = [&target](const auto& op) { ReplayOp(op, target); };
  for (std::size_t i = 0; i < count; ++i) std::visit(replay, records[i].op);
}

RecordingBackend* RecordingOf(SurfaceBackend* surface) { return dynamic_cast<RecordingBackend*>(surface); }
RecordingBackend* RecordingOf(CDC& dc) { return RecordingOf(dc.GetBackend()); }

}  // namespace kelo::surface
