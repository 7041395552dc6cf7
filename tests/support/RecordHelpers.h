// Helpers over the records of the recording surface: pick the records of one kind, one
// surface or one pen, list the texts in draw order, and print every record readably, so
// that a failing expectation shows what was drawn.
#pragma once

#include <ostream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

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
std::ostream& operator<<(std::ostream& os, const FillRectRecord& r);
std::ostream& operator<<(std::ostream& os, const LineRecord& r);
std::ostream& operator<<(std::ostream& os, const TextRecord& r);
std::ostream& operator<<(std::ostream& os, const BlitRecord& r);
std::ostream& operator<<(std::ostream& os, const StrokePathRecord& r);
std::ostream& operator<<(std::ostream& os, const FillPathRecord& r);
std::ostream& operator<<(std::ostream& os, const FillPieRecord& r);
std::ostream& operator<<(std::ostream& os, const Operation& op);
std::ostream& operator<<(std::ostream& os, const Record& r);
inline void PrintTo(const Record& r, std::ostream* os) { *os << r; }
inline void PrintTo(const LineRecord& r, std::ostream* os) { *os << r; }
inline void PrintTo(const TextRecord& r, std::ostream* os) { *os << r; }
inline void PrintTo(const FillRectRecord& r, std::ostream* os) { *os << r; }
inline void PrintTo(const BlitRecord& r, std::ostream* os) { *os << r; }
inline void PrintTo(const StrokePathRecord& r, std::ostream* os) { *os << r; }
inline void PrintTo(const FillPathRecord& r, std::ostream* os) { *os << r; }
inline void PrintTo(const FillPieRecord& r, std::ostream* os) { *os << r; }
}  // namespace kelo::surface
