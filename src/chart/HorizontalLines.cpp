// Horizontal reference lines and their texts: the evenly divided grid with its middle line,
// the price axis split at the reference price (two scales, labels kept apart, short price
// texts with underlined tails), the volume-style side labels, and the underlined label itself.
#include <cstdint>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloDataFormat.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

#include "chart/LabelPaint.h"
#include "chart/YLabelLayout.h"

using kelo::detail::DrawLabel;
using kelo::detail::kMaxAxisLines;
using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat32;
using kelo::detail::TruncSat64;

namespace {

// Format of the parts of an underlined label: one line, centred vertically, right-aligned.
constexpr UINT kUnderlinePartFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;  // 0x26
// Colours of the price axis edge and of the top line redrawn when no edge is drawn.
constexpr COLORREF kEdgeColor = 0xa8a8a8;
constexpr COLORREF kDashedTopLineColor = 0x9b9b9b;
constexpr COLORREF kHighlightedUnitBack = 0x3c3c3c;

void DrawLine(CDC* dc, const CRect& rect, std::int32_t y) {
  dc->MoveTo(rect.left, y);
  dc->LineTo(rect.right, y);
}

// max - min of two 64-bit values; beyond the 64-bit range the difference is taken in double.
double Difference64(std::int64_t maxValue, std::int64_t minValue) {
  std::int64_t difference = 0;
  if (__builtin_sub_overflow(maxValue, minValue, &difference)) {
    return static_cast<double>(maxValue) - static_cast<double>(minValue);
  }
  return static_cast<double>(difference);
}

}  // namespace

void CKeloBaseChart::DrawHorizontalLine(CDC* dc, const CRect& rect, std::int32_t cellCount) {
  if (dc == nullptr || cellCount < 1 || cellCount > kMaxAxisLines) return;
  const double step = kelo::detail::RectHeight(rect) / cellCount;
  savedPen = dc->SelectObject(&yLinePen);
  for (std::int32_t i = 1; i <= cellCount; ++i) {
    DrawLine(dc, rect, TruncSat32(static_cast<double>(rect.bottom) - i * step));
  }
  dc->SelectObject(savedPen);

  // For an odd count the middle line lies half a cell above the true middle.
  CPen* previous = dc->SelectObject(&midYLinePen);
  DrawLine(dc, rect, TruncSat32(static_cast<double>(rect.top) + (cellCount / 2) * step));
  dc->SelectObject(previous);
}

void CKeloBaseChart::DrawHorizontalLineWithTextByRange(CDC* dc, const CRect& rect, const _SDataInfor& data,
                                                       unsigned int shortFormatKind) {
  if (dc == nullptr) return;
  const kelo::detail::AxisMetrics m = LabelMetrics();
  const kelo::detail::PriceAxisLayout axis =
      kelo::detail::PriceAxisYLayout(rect, data.values, data.maxValue, data.baseValue, data.minValue, m);
  if (!axis.valid) return;
  const std::int64_t n = static_cast<std::int64_t>(data.values.size());

  dc->SetBkMode(TRANSPARENT);
  savedPen = dc->SelectObject(&yLinePen);
  DrawLine(dc, rect, axis.lineY[0]);
  for (std::int64_t i = 1; i < n; ++i) {
    const std::int32_t y = axis.lineY[static_cast<std::size_t>(i)];
    DrawLine(dc, rect, y);
    if (i != n - 1) continue;
    if (isDrawRTLine != 0) {
      KeloUtility::DrawColorEdge(dc, rect, kEdgeColor, 1, KeloUtility::eDrawEdgeTop);
    } else {
      // Without the grey edge the top line is drawn once more, dashed grey, and the grid
      // pen gets its former style, width and colour back afterwards.
      const int style = yLineStyle;
      const int width = yLineWidth;
      const COLORREF color = yLineColor;
      SetYLinePen(PS_DASH, yLineWidth, kDashedTopLineColor);
      CPen* previous = dc->SelectObject(&yLinePen);
      DrawLine(dc, rect, y);
      dc->SelectObject(previous);
      SetYLinePen(style, width, color);
    }
  }
  dc->SelectObject(savedPen);

  const CString noSuffix;
  CString text;
  dc->SetTextColor(defaultTextColor);
  for (std::int64_t i = 1; i <= n - 2; ++i) {
    const SLabelSlot& slot = axis.slots[static_cast<std::size_t>(i)];
    if (slot.visible == 0) continue;
    text = kelo::detail::FormatScaledPrice(data.values[static_cast<std::size_t>(i)], data.priceScale, yValueUnit);
    int count = 0;
    ConvertToShortPriceFormat(shortFormatKind, &text, &count);
    dc->SetTextColor(i == axis.baseIndex ? yMidTextColor : defaultTextColor);
    DrawUnderlineString(dc, slot.rect, count, text, noSuffix, 1);
  }

  // The middle line goes over the line of the reference price, after the labels.
  CPen* previous = dc->SelectObject(&midYLinePen);
  DrawLine(dc, rect, TruncSat32(static_cast<double>(rect.bottom) - axis.half));
  dc->SelectObject(previous);

  dc->SetTextColor(yMaxTextColor);
  text = kelo::detail::FormatScaledPrice(data.maxValue, data.priceScale, yValueUnit);
  int count = 0;
  ConvertToShortPriceFormat(shortFormatKind, &text, &count);
  DrawUnderlineString(dc, axis.slots[static_cast<std::size_t>(n - 1)].rect, count, text, noSuffix, 1);

  dc->SetTextColor(yMinTextColor);
  text = kelo::detail::FormatScaledPrice(data.minValue, data.priceScale, yValueUnit);
  count = 0;
  ConvertToShortPriceFormat(shortFormatKind, &text, &count);
  DrawUnderlineString(dc, axis.slots[0].rect, count, text, noSuffix, 1);
}

void CKeloBaseChart::DrawHorizontalText(CDC* dc, const CRect& rect, std::int64_t maxValue, std::int64_t minValue,
                                        std::int32_t cellCount, int drawLeft, int drawRight, int topInset,
                                        std::uint32_t rightFormat, int drawLines, unsigned int shortFormatKind) {
  if (dc == nullptr || cellCount < 1 || cellCount > kMaxAxisLines) return;
  const std::int64_t height = static_cast<std::int64_t>(rect.bottom) - rect.top;
  horizontalLineOffset = topInset != 0 ? NarrowSat32(height / (2 * static_cast<std::int64_t>(cellCount))) : 0;
  if (rect != yLabelRect || cellCount != yLabelCount) {
    yLabelRect = rect;
    yLabelCount = cellCount;
  }
  ReCalculateYInforPos();

  const double valueStep = Difference64(maxValue, minValue) / cellCount;
  const std::int64_t slotCount = static_cast<std::int64_t>(yLabelSlots.size());
  const std::int64_t columnWidth = static_cast<std::int64_t>(bmpDeflateLeft) * fontWidth;
  const double bottom = static_cast<double>(rect.bottom);

  if (drawLeft != 0) {
    double pixelStep = static_cast<double>(height) / cellCount;
    if (drawLines != 0) {
      horizontalLineOffset = TruncSat32(pixelStep * 0.5);
      pixelStep = (static_cast<double>(height) - horizontalLineOffset) / cellCount;
      savedPen = dc->SelectObject(&yLinePen);
    }
    dc->SetTextColor(leftYTextColor);
    for (std::int64_t i = 1; i < slotCount; ++i) {
      const SLabelSlot& slot = yLabelSlots[static_cast<std::size_t>(i)];
      if (slot.visible == 0) continue;
      const std::int64_t value = TruncSat64(static_cast<double>(i) * valueStep + static_cast<double>(minValue));
      CString text;
      CString suffix;
      int count = 0;
      ConvertToShortVolumeFormat(shortFormatKind, value, &text, &suffix, &count, 0);
      DrawUnderlineString(dc, slot.rect, count, text, suffix, 1);
      if (drawLines != 0) DrawLine(dc, rect, TruncSat32(bottom - static_cast<double>(i) * pixelStep));
    }
    if (drawLines != 0) dc->SelectObject(savedPen);

    const std::int32_t columnRight = TruncSat32(static_cast<double>(rect.left) - halfFontWidth);
    const std::int32_t columnLeft = rect.left < 0 ? 0 : NarrowSat32(columnRight - columnWidth);
    const std::int32_t top = TruncSat32(bottom - halfFontHeight);
    CRect unitRect(columnLeft, top, columnRight, TruncSat32(static_cast<double>(fontHeight) + top + 1.0));
    if (leftUnitHighlight != 0) {
      unitRect.right = NarrowSat32(static_cast<std::int64_t>(unitRect.right) + 3);
      unitRect.left = 2;
      dc->SetTextColor(CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kTextColor]);
      dc->FillSolidRect(&unitRect, kHighlightedUnitBack);
      DrawLabel(dc, leftUnit, unitRect, DT_CENTER | DT_VCENTER);
    } else {
      DrawLabel(dc, leftUnit, unitRect, DT_RIGHT);
    }
  }

  if (drawRight != 0) {
    dc->SetTextColor(rightYTextColor);
    const std::int32_t columnLeft = TruncSat32(static_cast<double>(rect.right) + halfFontWidth);
    const std::int32_t columnRight = NarrowSat32(columnLeft + columnWidth);
    // The right side shows the distance from the bottom value, not the value itself.
    CString text;
    for (std::int64_t i = 1; i < slotCount; ++i) {
      const SLabelSlot& slot = yLabelSlots[static_cast<std::size_t>(i)];
      if (slot.visible == 0) continue;
      KeloUtility::VolumeFormatA(text, TruncSat64(static_cast<double>(i) * valueStep), 1);
      DrawLabel(dc, text, CRect(columnLeft, slot.rect.top, columnRight, slot.rect.bottom), rightFormat);
    }
    const std::int32_t top = TruncSat32(bottom - halfFontHeight);
    const CRect unitRect(columnLeft, top, columnRight, TruncSat32(2.0 * static_cast<double>(fontHeight) + top + 1.0));
    DrawLabel(dc, rightUnit, unitRect, DT_LEFT | DT_TOP);
  }
  dc->SetTextColor(defaultTextColor);
}

void CKeloBaseChart::DrawUnderlineString(CDC* dc, const CRect& rect, int underlineCount, CString text, CString suffix,
                                         int keepFontSize) const {
  if (dc == nullptr) return;
  CRect rc = rect;
  CString s = text;
  const int fullLength = s.GetLength();
  int n = underlineCount;

  // Too wide for the rectangle: drop up to two characters, each from the underlined tail.
  const std::int64_t room = static_cast<std::int64_t>(rc.right) - rc.left;
  if (dc->GetTextExtent(s).cx > room && n > 1) {
    --n;
    s = text.Left(fullLength - 1);
    if (dc->GetTextExtent(s).cx > room && n > 1) {
      --n;
      s = text.Left(fullLength - 2);
    }
  }

  // A font whose holder was released after it was selected can still be drawn with but never
  // selected again: the label is then drawn whole in it, so that the DC keeps its font.
  const CFont* current = dc->GetCurrentFont();
  if (current == nullptr || !current->HasHandle()) {
    DrawLabel(dc, s, rc, kUnderlinePartFormat);
    return;
  }

  // The font the caller selected is learnt by selecting a stand-in and keeping what the
  // selection hands back; the stand-in is never drawn with.
  LOGFONT standInRecord;
  standInRecord.lfHeight = 14;
  standInRecord.lfUnderline = 1;
  CFont standIn;
  standIn.CreateFontIndirectA(&standInRecord);
  CFont* base = dc->SelectObject(&standIn);
  if (base == nullptr) {
    DrawLabel(dc, s, rc, kUnderlinePartFormat);
    return;
  }

  LOGFONT record;
  base->GetObject(static_cast<int>(sizeof(record)), &record);
  record.lfUnderline = 1;
  if (keepFontSize == 0) {
    const LONG smaller = MulDiv(3, dc->GetDeviceCaps(LOGPIXELSY), 72);
    if (record.lfHeight > 0) {
      record.lfHeight = NarrowSat32(static_cast<std::int64_t>(record.lfHeight) - smaller);
    } else {
      record.lfHeight = NarrowSat32(static_cast<std::int64_t>(record.lfHeight) + smaller);
    }
  }
  CFont underlined;
  underlined.CreateFontIndirectA(&record);

  int length = s.GetLength();
  if (length <= n) {
    dc->SelectObject(&underlined);
    DrawLabel(dc, s, rc, kUnderlinePartFormat);
  } else {
    // Right to left: the suffix's last character in place of the text's last one, the
    // underlined tail, then the plain head.
    if (!suffix.IsEmpty()) {
      const CString last = suffix.Right(1);
      dc->SelectObject(base);
      DrawLabel(dc, last, rc, kUnderlinePartFormat);
      rc.right = NarrowSat32(static_cast<std::int64_t>(rc.right) - dc->GetTextExtent(last).cx);
      s = s.Left(length - 1);
      --length;
    }
    const CString tail = s.Right(n);
    dc->SelectObject(&underlined);
    DrawLabel(dc, tail, rc, kUnderlinePartFormat);
    rc.right = NarrowSat32(static_cast<std::int64_t>(rc.right) - dc->GetTextExtent(tail).cx);
    const CString head = s.Left(NarrowSat32(static_cast<std::int64_t>(length) - n));
    dc->SelectObject(base);
    DrawLabel(dc, head, rc, kUnderlinePartFormat);
  }

  dc->SelectObject(base);
  standIn.DeleteObject();
  underlined.DeleteObject();
}
