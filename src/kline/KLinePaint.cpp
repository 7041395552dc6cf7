// The painters of the K-line chart: they draw what the scene and the candle geometry give,
// through the frame's device-context operations (solid rectangles for grid rows, candles and
// volume bars, so a repainted tail lines up with the rest pixel for pixel) and GDI+ for the
// indicator lines, clipped to their pane.
#include <kelochart/kline/KeloKLine.h>

#include <algorithm>
#include <cstdio>

#include <kelochart/surface/Gdiplus.h>

#include "kline/KLineScene.h"

namespace {

using kelo::detail::KLineScene;

void Fill(CDC* dc, const CRect& r, COLORREF color) {
  if (r.right > r.left && r.bottom > r.top) dc->FillSolidRect(&r, color);
}

COLORREF ColorrefOf(std::uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

std::string PriceText(double price, std::int32_t scale) {
  int decimals = 0;
  for (std::int32_t s = scale; s >= 10; s /= 10) ++decimals;
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, price / (scale > 0 ? scale : 1));
  return text;
}

void Text(CDC* dc, int x, int y, const std::string& text, COLORREF color, UINT align) {
  const CSize size = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size()));
  CRect r(x, y, x + size.cx, y + size.cy);
  if (align & DT_RIGHT) r = CRect(x - size.cx, y, x, y + size.cy);
  dc->SetTextColor(color);
  dc->DrawText(text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
}

// Values of a pane to rows: the price pane, the volume pane (0 at its bottom) and the lower pane.
kelo::detail::ValueRows RowsOf(const KLineScene& s, int pane) {
  if (pane == 0) return s.priceRows;
  if (pane == 1) return {s.panes.volume.top, s.panes.volume.Height(), static_cast<double>(s.volumeTop), 0.0};
  return s.lowerRows;
}

const CRect& PaneRect(const KLineScene& s, int pane) {
  return pane == 0 ? s.panes.price : pane == 1 ? s.panes.volume : s.panes.lower;
}

}  // namespace

// Grid rows and columns, candles, volume bars, the MACD histogram, the lines and the axes, for
// slots from fromSlot on, inside the columns [x0, x1). A full paint is the span of the whole
// chart; a tail repaint the span of the last slots on a cleared background.
void CKeloKLine::PaintSpan(CDC* dc, const KLineScene& s, int x0, int x1, std::size_t fromSlot, std::size_t fromPoint) {
  const int panes = s.lowerPane != 0 ? 3 : 2;
  // Grid rows of each pane, then the columns between months or trading days.
  for (int p = 0; p < panes; ++p) {
    const CRect& pane = PaneRect(s, p);
    const kelo::detail::ValueRows rows = RowsOf(s, p);
    const int l = std::max<int>(x0, pane.left), r = std::min<int>(x1, pane.right);
    std::vector<double> values;
    if (p == 0) values.assign(s.price.lines.begin(), s.price.lines.end());
    if (p == 1) values = {static_cast<double>(s.volumeTop) / 2.0};
    if (p == 2) values = s.lowerLines;
    for (double v : values) {
      const int y = rows.Y(v);
      Fill(dc, CRect(l, y, r, y + 1), yLineColor);
    }
    for (const std::vector<int>* xs : {&s.time.gridLines, &s.time.separators}) {
      for (int x : *xs) {
        if (x >= l && x < r) Fill(dc, CRect(x, pane.top, x + 1, pane.bottom), xLineColor);
      }
    }
  }

  const int bw = s.bodyWidth, half = bw > 0 ? (bw - 1) / 2 : 0;
  auto colorOf = [&](kelo::detail::Direction d) {
    return d == kelo::detail::Direction::kUp ? upColor : d == kelo::detail::Direction::kDown ? downColor : neutralColor;
  };
  for (std::size_t j = fromSlot; j < s.shown; ++j) {
    const SKBar& bar = bars[s.first + j];
    const int c = s.slots.Center(j);
    if (kLineStyle == eOHLC) {
      const kelo::detail::OhlcShape o = kelo::detail::Ohlc(bar, c, bw, s.priceRows);
      const COLORREF color = colorOf(o.direction);
      Fill(dc, o.line, color);
      Fill(dc, o.openTick, color);
      Fill(dc, o.closeTick, color);
    } else {
      const kelo::detail::CandleShape k = kelo::detail::Candle(bar, c, bw, s.priceRows);
      const COLORREF color = colorOf(k.direction);
      const CRect& b = k.body;
      if (!k.lineOnly && hollowUp && k.direction == kelo::detail::Direction::kUp && b.Width() > 2 && b.Height() > 2) {
        // An outline with the background showing through: the wick stops at the body.
        Fill(dc, CRect(k.wick.left, k.wick.top, k.wick.right, b.top), color);
        Fill(dc, CRect(k.wick.left, b.bottom, k.wick.right, k.wick.bottom), color);
        Fill(dc, CRect(b.left, b.top, b.right, b.top + 1), color);
        Fill(dc, CRect(b.left, b.bottom - 1, b.right, b.bottom), color);
        Fill(dc, CRect(b.left, b.top + 1, b.left + 1, b.bottom - 1), color);
        Fill(dc, CRect(b.right - 1, b.top + 1, b.right, b.bottom - 1), color);
      } else {
        Fill(dc, k.wick, color);
        Fill(dc, b, color);
      }
    }
    // The volume bar under the candle's centre, as wide as its body.
    const kelo::detail::Rows v = kelo::detail::VolumeRows(bar.volume, s.volumeTop, s.panes.volume);
    Fill(dc, CRect(c - half, v.top, c + half + 1, v.bottom), colorOf(kelo::detail::DirectionOf(bar)));
    if (s.lowerPane == eLowerMACD && s.histogram.Defined(s.first + j)) {
      const double h = s.histogram.values[s.first + j];
      const int zero = s.lowerRows.Y(0.0), y = s.lowerRows.Y(h);
      Fill(dc, CRect(c - half, std::min(zero, y), c + half + 1, std::max(zero, y) + 1), h >= 0 ? upColor : downColor);
    }
  }

  // The lines, each pane clipped to its plot and to the span.
  Gdiplus::Graphics g(dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  std::vector<Gdiplus::PointF> points;
  for (int p = 0; p < panes; ++p) {
    const CRect& pane = PaneRect(s, p);
    const int l = std::max<int>(x0, pane.left), r = std::min<int>(x1, pane.right);
    if (r <= l) continue;
    // GDI+ puts pixel centres on whole numbers: pixel columns l .. r - 1 lie between l - 0.5 and r - 0.5.
    const float cl = static_cast<float>(l) - 0.5f, cr = static_cast<float>(r) - 0.5f;
    const float ct = static_cast<float>(pane.top) - 0.5f, cb = static_cast<float>(pane.bottom) - 0.5f;
    const Gdiplus::PointF corners[4] = {{cl, ct}, {cr, ct}, {cr, cb}, {cl, cb}};
    Gdiplus::GraphicsPath clip;
    clip.AddPolygon(corners, 4);
    g.SetClip(&clip);
    const kelo::detail::ValueRows rows = RowsOf(s, p);
    for (const KLineScene::Line& line : s.lines) {
      if (line.pane != p) continue;
      points.clear();
      for (std::size_t j = fromPoint; j < s.shown; ++j) {
        if (!line.series.Defined(s.first + j)) continue;
        points.emplace_back(static_cast<float>(s.slots.Center(j)),
                            static_cast<float>(rows.Y(line.series.values[s.first + j])));
      }
      if (points.size() < 2) continue;
      const Gdiplus::Pen pen(Gdiplus::Color(line.argb), 1.5f);
      g.DrawLines(&pen, points.data(), static_cast<Gdiplus::INT>(points.size()));
    }
  }
  g.ResetClip();
  for (int p = 0; p < panes; ++p) DrawAxis(dc, PaneRect(s, p));
}

void CKeloKLine::PaintFull(CDC* dc, const KLineScene& s) {
  Fill(dc, s.rect, bkColor);
  if (!s.panes.valid) return;
  CFont* oldFont = dc->SelectObject(font);
  const COLORREF oldColor = dc->GetTextColor();
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const int panes = s.lowerPane != 0 ? 3 : 2;
  const int fh = fontHeight;
  // Y labels left of each pane, one a text row apart at least.
  for (int p = 0; p < panes; ++p) {
    const CRect& pane = PaneRect(s, p);
    const kelo::detail::ValueRows rows = RowsOf(s, p);
    std::vector<std::pair<double, std::string>> labels;
    if (p == 0) {
      for (std::int32_t price : s.price.lines)
        labels.push_back({static_cast<double>(price), PriceText(price, priceScale)});
    } else if (p == 1) {
      labels.push_back({static_cast<double>(s.volumeTop), kelo::detail::VolumeText(s.volumeTop)});
      labels.push_back({static_cast<double>(s.volumeTop) / 2.0, kelo::detail::VolumeText(s.volumeTop / 2)});
    } else {
      for (double v : s.lowerLines)
        labels.push_back({v, s.lowerPane == eLowerMACD ? PriceText(v, priceScale) : PriceText(v, 1)});
      if (s.lowerPane == eLowerMACD) {
        labels.push_back({s.lowerRows.high, PriceText(s.lowerRows.high, priceScale)});
        labels.push_back({s.lowerRows.low, PriceText(s.lowerRows.low, priceScale)});
      }
    }
    int lastY = INT32_MIN;
    std::sort(labels.begin(), labels.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [value, text] : labels) {
      const int y = std::clamp(rows.Y(value) - fh / 2, pane.top - fh / 2, pane.bottom - fh / 2);
      if (lastY != INT32_MIN && y - lastY < fh) continue;
      Text(dc, pane.left - 4, y, text, leftYTextColor, DT_RIGHT);
      lastY = y;
    }
    // The legend row above the pane: the names of its lines in their colours.
    int x = pane.left + 4;
    const int y = pane.top - fh;
    auto legend = [&](const std::string& text, COLORREF color) {
      Text(dc, x, y, text, color, DT_LEFT);
      x += dc->GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx + fontWidth * 2;
    };
    if (p == 1) legend("VOL", neutralColor);
    if (p == 2) legend(s.lowerPane == eLowerKD ? "KD" : s.lowerPane == eLowerMACD ? "MACD" : "RSI", neutralColor);
    for (const KLineScene::Line& line : s.lines) {
      if (line.pane == p && !line.name.empty()) legend(line.name, ColorrefOf(line.argb));
    }
  }
  // Time labels under the last pane.
  const CRect& last = PaneRect(s, panes - 1);
  for (const auto& label : s.time.labels) Text(dc, label.left, last.bottom + 3, label.text, xTextColor, DT_LEFT);
  dc->SetBkMode(oldMode);
  dc->SetTextColor(oldColor);
  dc->SelectObject(oldFont);
  PaintSpan(dc, s, s.rect.left, s.rect.right, 0, 0);
}

void CKeloKLine::PaintTail(CDC* dc, const KLineScene& s, std::size_t fromSlot) {
  // The columns from just right of the candle before fromSlot to the plot's right edge: no
  // other candle reaches into them (BodyWidth keeps a free column between bodies).
  const int half = s.bodyWidth > 0 ? (s.bodyWidth - 1) / 2 : 0;
  const int x0 = fromSlot == 0 ? s.rect.left : s.slots.Center(fromSlot - 1) + half + 1;
  const int x1 = s.panes.price.right;
  const int panes = s.lowerPane != 0 ? 3 : 2;
  for (int p = 0; p < panes; ++p) {
    const CRect& pane = PaneRect(s, p);
    Fill(dc, CRect(std::max<int>(x0, pane.left), pane.top, x1, pane.bottom), bkColor);
  }
  // Lines start far enough back that a mitred join outside the span cannot reach into it.
  const double step = s.slots.Step();
  const std::size_t back = 1 + static_cast<std::size_t>(10.0 / std::max(step, 0.5));
  PaintSpan(dc, s, x0, x1, fromSlot, fromSlot > back ? fromSlot - back : 0);
}
