// A surface that keeps every drawing call as a plain, value-typed record with its resolved
// state, deep-copied at record time, and can replay them onto any other backend. Surfaces
// made compatible with a recording (bitmaps of memory DCs) are recordings too and share one
// log, so a test sees every layer's calls in order, each tagged with the surface it went to.
#pragma once

#include <cstdint>
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
  std::string sourceName;  // the source recording's name; "pixels" for any other source
  // The source as it was at the time of the copy: a recording's calls, or the pixels of the
  // window the copy read. Null when the copy read nothing.
  std::shared_ptr<const RecordingSnapshot> source;
  friend bool operator==(const BlitRecord& a, const BlitRecord& b) {
    return a.dst == b.dst && a.sourceOrigin == b.sourceOrigin && a.useKey == b.useKey && a.key == b.key &&
           a.sourceName == b.sourceName;
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
  // For a source that is not a recording: a copy of the pixels the copy read (a raster
  // holding that window of the source), taken at the time of the copy (records is then empty).
  std::shared_ptr<SurfaceBackend> image;
  // The version of the source's pixels it shows (see PixelWindow), and the bytes it holds.
  std::uint64_t version = 0;
  std::uint64_t bytes = 0;
};

// Replays the records of one surface onto target, in order. A copy is replayed as a copy
// from its recorded source, which the target reads like any other surface. The target may
// append to records (a recording replayed onto itself): the records present when the replay
// starts are replayed, once.
void Replay(const std::vector<Record>& records, SurfaceBackend& target);

class RecordingBackend : public SurfaceBackend {
 public:
  RecordingBackend(int width, int height);  // the root surface, named "screen", white

  std::shared_ptr<SurfaceBackend> CreateCompatible(int width, int height) override;
  void FillSolidRect(const CRect& rect, COLORREF color) override;
  void GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) override;
  void DrawText(const TextDesc& text) override;
  // A recording source is kept as its calls (one snapshot shared while it does not change);
  // any other source as a copy of the window read, shared by copies of the same pixels.
  void Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) override;
  void StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) override;
  void FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) override;
  void FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle, std::uint32_t argb,
               const GpState& state) override;
  // The window drawn from the records onto a raster holding just that window.
  PixelWindow ReadPixels(const CRect& window) override;

  // Stable name of this surface in records and messages: "screen", "bitmap#2", or the name
  // its owner gave it, such as "curve.base".
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Calls made on this surface only, in order.
  const std::vector<Record>& Records() const;
  // Calls made on this surface and every surface made compatible with it (shared log).
  const std::vector<Record>& Log() const;
  void Clear();  // forgets this surface's records and the shared log
  // A list keeps at most 2^20 records and 256 MB (a 24-hour one-second tick curve fits);
  // calls made on this surface once its list or the shared log is full are not recorded, only
  // counted here.
  std::uint64_t Dropped() const { return dropped_; }
  // The bytes this surface's list holds: its records with their paths, texts and copied
  // pixels, a source snapshot shared by several records counted once.
  std::uint64_t Bytes() const;
  RecordingSnapshot Snapshot() const;
  // The same, shared: copies made while the list has not changed since get one snapshot,
  // which is also what a replay renders once and reuses.
  std::shared_ptr<const RecordingSnapshot> SharedSnapshot() const;

 private:
  struct Shared;
  struct ListBytes;
  RecordingBackend(int width, int height, std::shared_ptr<Shared> shared, std::string name, COLORREF initial);
  // A read-only surface over a recorded copy's source, for replaying the copy.
  RecordingBackend(std::shared_ptr<const RecordingSnapshot> source, std::string name);
  friend void ReplayCopy(const BlitRecord& op, SurfaceBackend& target);
  // Appends op unless the surface is read-only or the record or byte bound is reached; whether
  // it was recorded.
  bool Add(Operation op);
  COLORREF initial_;
  std::shared_ptr<Shared> shared_;
  std::string name_;
  std::vector<Record> records_;
  std::uint64_t dropped_ = 0;
  std::shared_ptr<ListBytes> bytes_;  // of records_
  std::uint64_t version_;             // of the pixels the records draw (see PixelWindow)
  // The last shared snapshot: valid while its version is version_ (records are only added,
  // or all cleared, which drops it). A read-only surface holds its source here for good.
  mutable std::shared_ptr<const RecordingSnapshot> lastSnapshot_;
  bool readOnly_ = false;
};

// The recording behind a DC made with CDC::CreateRecording, or behind a surface (null for
// other DCs and surfaces).
RecordingBackend* RecordingOf(CDC& dc);
RecordingBackend* RecordingOf(SurfaceBackend* surface);

}  // namespace kelo::surface
