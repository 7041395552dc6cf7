#include "RecordHelpers.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace kelo::test {

using namespace kelo::surface;

Log OnSurface(const Log& log, const std::string& surface) {
  Log out;
  for (const auto& record : log) {
    if (record.surface == surface) out.push_back(record);
  }
  return out;
}

std::vector<LineRecord> Lines(const Log& log) { return OfType<LineRecord>(log); }

std::vector<LineRecord> LinesWithPen(const Log& log, const GdiPenDesc& pen) {
  std::vector<LineRecord> out;
  for (const auto& line : Lines(log)) {
    if (line.pen == pen) out.push_back(line);
  }
  return out;
}

std::vector<FillRectRecord> Fills(const Log& log) { return OfType<FillRectRecord>(log); }
std::vector<TextRecord> TextRecords(const Log& log) { return OfType<TextRecord>(log); }
std::vector<BlitRecord> Blits(const Log& log) { return OfType<BlitRecord>(log); }
std::vector<StrokePathRecord> Strokes(const Log& log) { return OfType<StrokePathRecord>(log); }

std::vector<std::string> Texts(const Log& log) {
  std::vector<std::string> out;
  for (const auto& text : TextRecords(log)) out.push_back(text.text.text);
  return out;
}

GdiPenDesc Pen(int style, int width, COLORREF color, bool geometric) {
  return GdiPenDesc{style, width, color, geometric};
}

LineRecord Line(int x0, int y0, int x1, int y1, const GdiPenDesc& pen) {
  return LineRecord{CPoint(x0, y0), CPoint(x1, y1), pen};
}

std::string Describe(const Log& log) {
  std::ostringstream os;
  for (std::size_t i = 0; i < log.size(); ++i) os << "  [" << i << "] " << log[i] << "\n";
  return os.str();
}

std::vector<std::string> SurfaceNames(const Log& log) {
  std::vector<std::string> out;
  for (const auto& record : log) {
    if (std::find(out.begin(), out.end(), record.surface) == out.end()) out.push_back(record.surface);
  }
  return out;
}

const Log& LogOf(CDC& dc) {
  static const Log empty;
  RecordingBackend* recording = RecordingOf(dc);
  return recording ? recording->Log() : empty;
}

}  // namespace kelo::test

namespace {

struct Hex {
  std::uint32_t v;
  int digits;
};
std::ostream& operator<<(std::ostream& os, Hex h) {
  const auto flags = os.flags();
  const char fill = os.fill();
  os << "0x" << std::hex << std::setw(h.digits) << std::setfill('0') << h.v;
  os.flags(flags);
  os.fill(fill);
  return os;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const CRect& r) {
  return os << "CRect(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
std::ostream& operator<<(std::ostream& os, const CPoint& p) { return os << "(" << p.x << ", " << p.y << ")"; }
std::ostream& operator<<(std::ostream& os, const CSize& s) { return os << "CSize(" << s.cx << ", " << s.cy << ")"; }

namespace kelo::surface {

std::ostream& operator<<(std::ostream& os, const GdiPenDesc& pen) {
  static const char* kStyles[] = {"SOLID", "DASH", "DOT", "DASHDOT", "DASHDOTDOT", "NULL"};
  os << "Pen{";
  if (pen.style >= 0 && pen.style <= 5) {
    os << kStyles[pen.style];
  } else {
    os << "style " << pen.style;
  }
  return os << ", w " << pen.width << ", " << Hex{pen.color, 6} << (pen.geometric ? ", geometric" : ", cosmetic")
            << "}";
}

std::ostream& operator<<(std::ostream& os, const FontDesc& f) {
  os << "Font{\"" << f.face << "\", h " << f.height;
  if (f.width != 0) os << ", w " << f.width;
  if (f.weight != FW_NORMAL) os << ", weight " << f.weight;
  if (f.italic) os << ", italic";
  if (f.underline) os << ", underline";
  return os << "}";
}

std::ostream& operator<<(std::ostream& os, const TextDesc& t) {
  os << "\"" << t.text << "\" in " << t.rect << " fmt " << Hex{t.format, 3} << " " << t.font << " colour "
     << Hex{t.color, 6};
  if (t.bkMode == TRANSPARENT) return os << " transparent";
  return os << " opaque bk " << Hex{t.bkColor, 6};
}

std::ostream& operator<<(std::ostream& os, const PointF& p) { return os << "(" << p.x << ", " << p.y << ")"; }

std::ostream& operator<<(std::ostream& os, const PathDesc& path) {
  os << "Path{";
  for (std::size_t f = 0; f < path.figures.size(); ++f) {
    if (f) os << " | ";
    const auto& fig = path.figures[f];
    for (std::size_t i = 0; i < fig.points.size(); ++i) os << (i ? " " : "") << fig.points[i];
    if (fig.closed) os << " closed";
  }
  return os << (path.windingFill ? ", winding}" : "}");
}

std::ostream& operator<<(std::ostream& os, const GpPenDesc& pen) {
  return os << "GpPen{" << Hex{pen.argb, 8} << ", w " << pen.width << ", dash " << pen.dashStyle << "}";
}

std::ostream& operator<<(std::ostream& os, const GpState& s) {
  os << (s.antiAlias ? "aa" : "aliased");
  if (s.clipped) os << ", clip " << *s.clip;
  for (const auto& more : *s.moreClips) os << " and " << more;
  return os;
}

namespace {

// One printer per operation and no generic fallback: the printers below are made from the
// list of operations, so an operation listed without its own printer does not compile.
std::ostream& Print(std::ostream& os, const FillRectRecord& r) {
  return os << "FillSolidRect " << r.rect << " " << Hex{r.color, 6};
}
std::ostream& Print(std::ostream& os, const LineRecord& r) {
  return os << "Line " << r.from << " -> " << r.to << " " << r.pen;
}
std::ostream& Print(std::ostream& os, const TextRecord& r) { return os << "Text " << r.text; }
std::ostream& Print(std::ostream& os, const BlitRecord& r) {
  os << (r.useKey ? "TransparentBlt " : "BitBlt ") << r.dst << " from " << r.sourceName << " at " << r.sourceOrigin;
  if (r.useKey) os << " key " << Hex{r.key, 6};
  return os;
}
std::ostream& Print(std::ostream& os, const StrokePathRecord& r) {
  return os << "Stroke " << r.path << " " << r.pen << " " << r.state;
}
std::ostream& Print(std::ostream& os, const FillPathRecord& r) {
  return os << "Fill " << r.path << " " << Hex{r.argb, 8} << " " << r.state;
}
std::ostream& Print(std::ostream& os, const FillPieRecord& r) {
  return os << "FillPie (" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ") from " << r.startAngle << " sweep "
            << r.sweepAngle << " " << Hex{r.argb, 8} << " " << r.state;
}

}  // namespace

#define KELO_DEFINE_RECORD_PRINTER(T) \
  std::ostream& operator<<(std::ostream& os, const T& r) { return Print(os, r); }
KELO_RECORD_TYPES(KELO_DEFINE_RECORD_PRINTER)
#undef KELO_DEFINE_RECORD_PRINTER

std::ostream& operator<<(std::ostream& os, const Operation& op) {
  return std::visit([&os](const auto& o) -> std::ostream& { return Print(os, o); }, op);
}
std::ostream& operator<<(std::ostream& os, const Record& r) { return os << r.surface << ": " << r.op; }

}  // namespace kelo::surface
