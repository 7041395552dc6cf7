// The surface layer under hostile callers: raster, recording, SVG and PDF DCs, memory DCs
// and bitmaps of any size up to the limits (copied onto every kind of DC), text of any bytes, copies with rectangles
// partly or wholly outside, GDI+ lines, polygons, paths, pies, regions and clips with NaN and infinities, and a
// recording replayed onto a raster, onto itself and onto one of its own bitmaps, a vector document finished and then
// drawn on. Promises checked: a surface past the size limit is refused, a recording never holds more records than its
// limit, and a replay onto itself adds exactly the records it started with (up to the limit).
#include <memory>
#include <vector>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>

#include "FuzzDC.h"
#include "surface/Limits.h"

using kelo::fuzz::Input;
namespace gp = Gdiplus;

namespace {

gp::PointF PointOf(Input& in) { return gp::PointF(in.Float(), in.Float()); }

void Paths(Input& in, CDC* dc) {
  gp::Graphics g(dc);
  // Any value the enumeration can hold (-8 to 7), named or not.
  g.SetSmoothingMode(static_cast<gp::SmoothingMode>(static_cast<int>(in.Pick(16)) - 8));
  gp::Pen pen(gp::Color(in.U32()), in.Float());
  pen.SetDashStyle(static_cast<gp::DashStyle>(in.Pick(8)));
  gp::SolidBrush brush(gp::Color(in.U32()));
  std::vector<gp::PointF> points(in.Pick(12));
  for (auto& p : points) p = PointOf(in);
  const int count = in.Byte() < 16 ? in.Int() : static_cast<int>(points.size());
  const gp::PointF* data = points.empty() ? nullptr : points.data();
  const bool sane = count >= 0 && static_cast<std::size_t>(count) <= points.size();
  gp::GraphicsPath path(static_cast<gp::FillMode>(in.Pick(2)));
  switch (in.Pick(9)) {
    case 0: g.DrawLine(&pen, in.Float(), in.Float(), in.Float(), in.Float()); break;
    case 1: g.DrawLine(&pen, in.Int(), in.Int(), in.Int(), in.Int()); break;
    case 2:
      if (sane) g.DrawLines(&pen, data, count);
      break;
    case 3:
      if (sane) g.FillPolygon(&brush, data, count, static_cast<gp::FillMode>(in.Pick(2)));
      break;
    case 4: g.FillRectangle(&brush, in.Float(), in.Float(), in.Float(), in.Float()); break;
    case 5: g.FillPie(&brush, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float()); break;
    case 6:
      if (sane) path.AddLines(data, count);
      path.AddLine(in.Float(), in.Float(), in.Float(), in.Float());
      if (in.Byte() & 1) path.CloseFigure();
      g.DrawPath(&pen, &path);
      g.FillPath(&brush, &path);
      break;
    case 7: {
      if (sane) path.AddPolygon(data, count);
      gp::Region region(&path);
      g.SetClip(&region, static_cast<gp::CombineMode>(in.Pick(2)));
      g.SetClip(&path, gp::CombineModeIntersect);
      g.FillRectangle(&brush, in.Int(), in.Int(), in.Int(), in.Int());
      g.FillRegion(&brush, &region);
      g.ResetClip();
      break;
    }
    case 8: {
      gp::Region region(gp::Rect(in.Int(), in.Int(), in.Int(), in.Int()));
      g.SetClip(&region);
      g.FillPie(&brush, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float());
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  // A recording for 4 in 8 inputs (the byte 0 too), a raster for 2, an SVG or PDF page for 1.
  std::shared_ptr<kelo::surface::VectorBackend> page;
  std::unique_ptr<CDC> screen;
  switch (const std::uint8_t kind = in.Byte() % 8) {
    case 4:
    case 5: screen = CDC::CreateRaster(80, 60); break;
    case 6:
    case 7: {
      using kelo::surface::VectorBackend;
      page = std::make_shared<VectorBackend>(kind == 6 ? VectorBackend::Format::kSvg : VectorBackend::Format::kPdf, 80,
                                             60);
      screen = CDC::FromBackend(page);
      break;
    }
    default: screen = CDC::CreateRecording(640, 400);
  }
  bool finished = false;
  CDC memory;
  memory.CreateCompatibleDC(screen.get());
  std::vector<std::unique_ptr<CBitmap>> bitmaps;
  CPen pen;
  CFont font;
  // Surface calls are cheap, one at a time; twice as many as a chart input makes.
  for (int calls = 0; calls < 2 * kelo::fuzz::kMaxCalls && !in.Empty(); ++calls) {
    CDC* dc = in.Byte() & 1 ? &memory : screen.get();
    switch (in.Pick(13)) {
      case 0: {
        int w = in.Byte() < 32 ? in.Int() : in.Byte() % 200, h = in.Byte() < 32 ? in.Int() : in.Byte() % 200;
        // What a large pane's layer holds: 1 Mpx at the side limit in the inputs that may take
        // a heavy argument, the whole limit (256 MB, seconds to make) in one input of 4096.
        if (in.Byte() == 255 && in.Heavy()) w = 16384, h = in.Rare() ? 4096 : 64;
        auto bitmap = std::make_unique<CBitmap>();
        const bool ok = bitmap->CreateCompatibleBitmap(screen.get(), w, h);
        KELO_FUZZ_CHECK(ok == kelo::surface::detail::SurfaceSizeOk(w, h));
        if (ok) memory.SelectObject(bitmap.get());
        bitmaps.push_back(std::move(bitmap));
        break;
      }
      case 1:
        if (!bitmaps.empty()) bitmaps.erase(bitmaps.begin() + in.Pick(static_cast<unsigned>(bitmaps.size())));
        break;
      case 2:
        pen.CreatePen(in.Int(), in.Int(), in.U32());
        dc->SelectObject(&pen);
        break;
      case 3:
        dc->MoveTo(in.Int(), in.Int());
        dc->LineTo(in.Int(), in.Int());
        break;
      case 4: dc->FillSolidRect(in.Int(), in.Int(), in.Int(), in.Int(), in.U32()); break;
      case 5: {
        LOGFONT record;
        record.lfHeight = in.Int();
        record.lfWeight = in.Int();
        record.lfItalic = in.Byte();
        record.lfUnderline = in.Byte();
        const std::string face = in.Text();
        std::snprintf(record.lfFaceName, LF_FACESIZE, "%s", face.c_str());
        font.CreateFontIndirect(&record);
        dc->SelectObject(&font);
        break;
      }
      case 6: {
        const std::string text = in.Text();
        CRect rect = in.Rect();
        dc->SetBkMode(in.Byte() & 1 ? TRANSPARENT : OPAQUE);
        dc->DrawText(text.data(), in.Byte() < 16 ? in.Int() : static_cast<int>(text.size()), &rect, in.U32());
        dc->GetTextExtent(text.data(), static_cast<int>(text.size()));
        break;
      }
      case 7:
        dc->BitBlt(in.Int(), in.Int(), in.Int(), in.Int(), in.Byte() & 1 ? &memory : screen.get(), in.Int(), in.Int(),
                   SRCCOPY);
        break;
      case 8:
        dc->TransparentBlt(in.Int(), in.Int(), in.Int(), in.Int(), in.Byte() & 1 ? &memory : screen.get(), in.Int(),
                           in.Int(), in.Int(), in.Int(), in.U32());
        break;
      case 9: Paths(in, dc); break;
      case 10: {
        auto* recording = kelo::surface::RecordingOf(*screen);
        // Doubling a long log again and again only repeats known work: every replay of a
        // full list (2^18 records) onto a raster takes seconds under the sanitizers.
        if (recording == nullptr || recording->Log().size() > 4096) break;
        const std::size_t before = recording->Records().size();
        kelo::surface::Replay(recording->Records(), *recording);
        const std::size_t want = std::min(2 * before, kelo::surface::detail::kMaxRecords);
        KELO_FUZZ_CHECK(recording->Records().size() <= want);
        if (recording->Log().size() == recording->Records().size())
          KELO_FUZZ_CHECK(recording->Records().size() == want);
        if (memory.GetBackend() != nullptr) kelo::surface::Replay(recording->Log(), *memory.GetBackend());
        break;
      }
      case 11: {
        auto* recording = kelo::surface::RecordingOf(*screen);
        if (recording == nullptr) break;
        kelo::surface::RasterBackend target(64, 48, in.U32());
        kelo::surface::Replay(recording->Log(), target);
        KELO_FUZZ_CHECK(recording->Log().size() <= kelo::surface::detail::kMaxRecords);
        break;
      }
      case 12:
        // Ends the document (once with its bytes); what is drawn afterwards has no effect.
        if (page) KELO_FUZZ_CHECK(!page->Finish().empty() || finished);
        finished = true;
        break;
    }
  }
  return 0;
}
