// Helpers over the records of the recording surface: pick the records of one kind, one
// surface or one pen, list the texts in draw order, and print every record readably, so
// that a failing expectation shows what was drawn.
#pragma once

#include <ostream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

namespace kelo::test {

using Log = std::vector<kelo::surface::Record>;

// The operations of type T (LineRecord, TextRecord, FillRectRecord, ...) in order.
template <typename T>
std::vector<T> OfType(const Log& log) {
  std::vector<T> out;
  for (const auto& record : log) {
    if (const T* op = std::get_if<T>(&record.op)) out.push_back(*op);
  }
  return out;
}

// The records drawn on one surface ("screen", "bitmap#1", ...), in order.
Log OnSurface(const Log& log, const std::string& surface);

std::vector<kelo::surface::LineRecord> Lines(const Log& log);
std::vector<kelo::surface::LineRecord> LinesWithPen(const Log& log, const kelo::surface::GdiPenDesc& pen);
std::vector<kelo::surface::FillRectRecord> Fills(const Log& log);
std::vector<kelo::surface::TextRecord> TextRecords(const Log& log);
// The texts drawn, in draw order.
std::vector<std::string> Texts(const Log& log);
std::vector<kelo::surface::BlitRecord> Blits(const Log& log);
std::vector<kelo::surface::StrokePathRecord> Strokes(const Log& log);

// A GDI pen as recorded; geometric for pens made with ExtCreatePen | PS_GEOMETRIC.
kelo::surface::GdiPenDesc Pen(int style, int width, COLORREF color, bool geometric = false);
// A line record from (x0, y0) to (x1, y1) with pen.
kelo::surface::LineRecord Line(int x0, int y0, int x1, int y1, const kelo::surface::GdiPenDesc& pen);

// The whole log, one record a line (for messages).
std::string Describe(const Log& log);

// Record i of log is an operation of type T: returns it. Otherwise adds a test failure that
// prints the whole log and returns a default T, so a test reads
//   EXPECT_EQ(ExpectOp<LineRecord>(log, 3).to, CPoint(10, 20));
template <typename T>
T ExpectOp(const Log& log, std::size_t i) {
  const T* op = i < log.size() ? std::get_if<T>(&log[i].op) : nullptr;
  if (op != nullptr) return *op;
  ADD_FAILURE() << "record " << i << " is not a " << kelo::surface::kRecordName<T> << "; the records:\n"
                << Describe(log);
  return T{};
}

// The names of the surfaces drawn on, in order of their first record ("screen",
// "curve.base", "bitmap#2", ...); OnSurface(log, name) gives the records of one of them.
std::vector<std::string> SurfaceNames(const Log& log);

// The shared log of the recording behind dc (every surface made compatible with it).
const Log& LogOf(CDC& dc);

}  // namespace kelo::test

// Printers for gtest (found by argument-dependent lookup).
std::ostream& operator<<(std::ostream& os, const CRect& r);
std::ostream& operator<<(std::ostream& os, const CPoint& p);
std::ostream& operator<<(std::ostream& os, const CSize& s);

namespace kelo::surface {
std::ostream& operator<<(std::ostream& os, const GdiPenDesc& pen);
std::ostream& operator<<(std::ostream& os, const FontDesc& font);
std::ostream& operator<<(std::ostream& os, const TextDesc& text);
std::ostream& operator<<(std::ostream& os, const PointF& p);
std::ostream& operator<<(std::ostream& os, const PathDesc& path);
std::ostream& operator<<(std::ostream& os, const GpPenDesc& pen);
std::ostream& operator<<(std::ostream& os, const GpState& state);
// One printer per recorded operation, declared from the list of operations.
#define KELO_DECLARE_RECORD_PRINTER(T)                    \
  std::ostream& operator<<(std::ostream& os, const T& r); \
  inline void PrintTo(const T& r, std::ostream* os) { *os << r; }
KELO_RECORD_TYPES(KELO_DECLARE_RECORD_PRINTER)
#undef KELO_DECLARE_RECORD_PRINTER
std::ostream& operator<<(std::ostream& os, const Operation& op);
std::ostream& operator<<(std::ostream& os, const Record& r);
inline void PrintTo(const Record& r, std::ostream* os) { *os << r; }
}  // namespace kelo::surface
