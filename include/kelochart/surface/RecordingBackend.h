// A surface that keeps every drawing call as a plain, value-typed record with its resolved
// state, deep-copied at record time, and can replay them onto any other backend. Surfaces
// made compatible with a recording (bitmaps of memory DCs) are recordings too and share one
// log, so a test sees every layer's calls in order, each tagged with the surface it went to.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <kelochart/surface/Backend.h>

class CDC;

namespace kelo::surface {

struct FillRectRecord {
  CRect rect;
  COLORREF color = 0;
  friend bool operator==(const FillRectRecord&, const FillRectRecord&) = default;
};
struct LineRecord {  // GDI MoveTo/LineTo
  CPoint from;
  CPoint to;
  GdiPenDesc pen;
  friend bool operator==(const LineRecord&, const LineRecord&) = default;
};
struct TextRecord {
  TextDesc text;
  friend bool operator==(const TextRecord&, const TextRecord&) = default;
};
struct RecordingSnapshot;
struct BlitRecord {
  CRect dst;
  CPoint sourceOrigin;
  bool useKey = false;  // TransparentBlt when set
  COLORREF key = 0;
  std::string sourceName;
  // The source as it was at the time of the copy (recorded calls or pixels).
  std::shared_ptr<const RecordingSnapshot> source;
  friend bool operator==(const BlitRecord& a, const BlitRecord& b) {
    return a.dst == b.dst && a.sourceOrigin == b.sourceOrigin && a.useKey == b.useKey &&
           a.key == b.key && a.sourceName == b.sourceName;
  }
};
struct StrokePathRecord {  // Graphics::DrawLine, DrawLines, DrawPath
  PathDesc path;
  GpPenDesc pen;
  GpState state;
  friend bool operator==(const StrokePathRecord&, const StrokePathRecord&) = default;
};
struct FillPathRecord {  // Graphics::FillRectangle, FillPolygon, FillPath, FillRegion
  PathDesc path;
  std::uint32_t argb = 0;
  GpState state;
  friend bool operator==(const FillPathRecord&, const FillPathRecord&) = default;
};
struct FillPieRecord {
  float x = 0, y = 0, w = 0, h = 0, startAngle = 0, sweepAngle = 0;
  std::uint32_t argb = 0;
  GpState state;
  friend bool operator==(const FillPieRecord&, const FillPieRecord&) = default;
};

// Every recorded operation, once (as Skia's SK_RECORD_TYPES). The record variant, the
// names below, replay and the printers of the tests follow from this list; replay and the
// printers check at compile time that each operation listed has its own branch, so a new
// operation cannot replay or print as nothing.
#define KELO_RECORD_TYPES(M) \
  M(FillRectRecord)          \
  M(LineRecord)              \
  M(TextRecord)              \
  M(BlitRecord)              \
  M(StrokePathRecord)        \
  M(FillPathRecord)          \
  M(FillPieRecord)

namespace detail {
template <typename Ignored, typename... T>
using VariantOfRest = std::variant<T...>;
}  // namespace detail

#define KELO_RECORD_TYPE_ARG(T) , T
using Operation = detail::VariantOfRest<void KELO_RECORD_TYPES(KELO_RECORD_TYPE_ARG)>;
#undef KELO_RECORD_TYPE_ARG

// The name of each operation ("LineRecord"), for messages.
template <typename T>
inline constexpr std::string_view kRecordName = "?";
#define KELO_RECORD_NAME(T) \
  template <>               \
  inline constexpr std::string_view kRecordName<T> = #T;
KELO_RECORD_TYPES(KELO_RECORD_NAME)
#undef KELO_RECORD_NAME

struct Record {
  std::string surface;  // Name() of the surface drawn on: "screen", "bitmap#1", ...
  Operation op;
};

struct RecordingSnapshot {
  int width = 0;
  int height = 0;
  std::vector<Record> records;  // the calls of that surface only
  // The colour the surface started with: white for a screen, black for a bitmap.
  COLORREF initial = 0x000000;
  // For a source that is not a recording: a copy of its pixels at the time of the copy
  // (records is then empty).
  std::shared_ptr<SurfaceBackend> image;
};

// Replays the records of one surface onto target, in order. A copy from another surface
// is replayed by drawing its snapshot into a compatible surface of the target first. The
// target may append to records (a recording replayed onto itself): the records present
// when the replay starts are replayed, once.
void Replay(const std::vector<Record>& records, SurfaceBackend& target);

// The recorded surface of a snapshot drawn onto a new surface compatible with like: its
// starting colour, then its records. Null when like cannot make a surface of that size.
std::shared_ptr<SurfaceBackend> RenderSnapshot(const RecordingSnapshot& snapshot, SurfaceBackend& like);

// The part of a snapshot's surface that a copy of dst from sourceOrigin onto target reads,
// drawn in the snapshot's coordinates onto a new surface for target's Blit: onto a raster
// only the window the copy reads within what target holds, onto others the corner up to
// it. Null when the copy reads nothing.
std::shared_ptr<SurfaceBackend> RenderCopySource(const RecordingSnapshot& snapshot, SurfaceBackend& target,
                                                 const CRect& dst, CPoint sourceOrigin);

class RecordingBackend : public SurfaceBackend {
 public:
  RecordingBackend(int width, int height);  // the root surface, named "screen", white

  KELO_SURFACE_OPERATIONS(, override)

  // Calls made on this surface only, in order.
  const std::vector<Record>& Records() const;
  // Calls made on this surface and every surface made compatible with it (shared log).
  const std::vector<Record>& Log() const;
  void Clear();  // forgets this surface's records and the shared log
  // A list keeps at most 2^20 records (a 24-hour one-second tick curve fits); calls made on this
  // surface once its list or the shared log is full are not recorded, only counted here.
  std::uint64_t Dropped() const { return dropped_; }
  RecordingSnapshot Snapshot() const;
  // Records a copy replayed from another list as it stands: the same source snapshot, not a
  // new bitmap holding that source's records again (which nested copies would multiply).
  void RecordCopy(BlitRecord copy);
  // The same, shared: copies made while the list has not changed since get one snapshot,
  // which is also what a replay renders once and reuses.
  std::shared_ptr<const RecordingSnapshot> SharedSnapshot() const;

 private:
  struct Shared;
  RecordingBackend(int width, int height, std::shared_ptr<Shared> shared, std::string name,
                   COLORREF initial);
  void Add(Operation op);
  int width_;
  int height_;
  COLORREF initial_;
  std::shared_ptr<Shared> shared_;
  std::string name_;
  std::vector<Record> records_;
  std::uint64_t dropped_ = 0;
  // The last shared snapshot: valid while records_ has as many records (records are only
  // added, or all cleared, which drops it).
  mutable std::shared_ptr<const RecordingSnapshot> lastSnapshot_;
};

// The recording behind a DC made with CDC::CreateRecording (null for other DCs).
RecordingBackend* RecordingOf(CDC& dc);

}  // namespace kelo::surface
