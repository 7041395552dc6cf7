// The shared user-interface pool: the classic dark palette of Taiwanese trading screens
// (black background, red for up, green for down, light text, dark grey grid) and the
// default label font.
#include <kelochart/services/KeloPalette.h>

#include <cstring>
#include <mutex>

namespace {

constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kText = RGB(200, 200, 200);
constexpr COLORREF kUpText = RGB(255, 96, 96);
constexpr COLORREF kDownText = RGB(0, 200, 0);
constexpr COLORREF kReference = RGB(255, 255, 160);
constexpr COLORREF kGrid = RGB(96, 96, 96);

struct Entry {
  unsigned index;
  std::uint32_t value;
};

// Every entry the charts read (their roles: the names in KeloPalette.h). All other entries
// hold the text colour, so that a chart reading an unexpected entry still draws something
// legible on the background (and never the background itself, which layer composition keys
// out).
constexpr Entry kEntries[] = {
    // GDI colours (0x00BBGGRR)
    {CKeloPalette::kUpBarColor, RGB(255, 60, 60)},
    {CKeloPalette::kDownBarColor, RGB(0, 200, 0)},
    {CKeloPalette::kState0BarBrush, RGB(230, 190, 0)},
    {CKeloPalette::kState0BarColor, RGB(230, 190, 0)},
    {CKeloPalette::kState1BarBrush, RGB(0, 190, 230)},
    {CKeloPalette::kState1BarColor, RGB(0, 190, 230)},
    {CKeloPalette::kGroupBar3Brush, RGB(220, 200, 60)},
    {CKeloPalette::kReferenceColor, kReference},
    {CKeloPalette::kGridColor, kGrid},
    {CKeloPalette::kGroupBar5Brush, RGB(160, 160, 160)},
    {CKeloPalette::kTextColor, kText},
    {CKeloPalette::kGroupBar1Brush, RGB(0, 170, 0)},
    {CKeloPalette::kDownTextColor, kDownText},
    {CKeloPalette::kGroupBar2Brush, RGB(220, 50, 50)},
    {CKeloPalette::kUpTextColor, kUpText},
    {CKeloPalette::kAppendedBarBrush, RGB(70, 130, 230)},
    // GDI+ colours (0xAARRGGBB)
    {CKeloPalette::kUpDifferencePen, 0xFFFF3C3C},
    {CKeloPalette::kDownDifferencePen, 0xFF00C800},
    {CKeloPalette::kNeutralTickPen, 0xFFC8C8C8},
    {CKeloPalette::kInnerTickPen, 0xFF00C800},
    {CKeloPalette::kOuterTickPen, 0xFFFF3C3C},
    {CKeloPalette::kTickVolumePen, 0xFFFFD200},
    {CKeloPalette::kTickValuePen, 0xFF00D2FF},
    {CKeloPalette::kUpDownCurve2Pen, 0xFFFF64FF},
    {CKeloPalette::kUpDownCurve1Pen, 0xFFF0F0F0},
};

// The default label font: a monospaced face so that label widths follow the byte count.
constexpr const char* kLabelFace = "DejaVu Sans Mono";
constexpr LONG kLabelPixelHeight = -12;  // em height of 12 px (9 pt at 96 dpi)
constexpr LONG kLabelPointSize = 9;
constexpr LONG kLabelCharWidth = 7;
constexpr LONG kLabelCharHeight = 14;

LOGFONT LabelLogFont(LONG weight) {
  LOGFONT logFont;
  logFont.lfHeight = kLabelPixelHeight;
  logFont.lfWeight = weight;
  std::strncpy(logFont.lfFaceName, kLabelFace, LF_FACESIZE - 1);
  return logFont;
}

}  // namespace

CKeloPalette::CKeloPalette() {
  colorTable.fill(kText);
  for (const Entry& entry : kEntries) colorTable[entry.index] = entry.value;
  layoutColors_.fill(kBackground);
  layoutColors_[kLayoutZeroLabel] = RGB(255, 255, 255);
  layoutColors_[kLayoutBackground] = kBackground;
}

CKeloPalette::~CKeloPalette() = default;

COLORREF CKeloPalette::GetLayoutColor(unsigned index) const {
  return index < kLayoutColorCount ? layoutColors_[index] : layoutColors_[kLayoutBackground];
}

Gdiplus::SolidBrush* CKeloPalette::GetGPBrushByIndex(unsigned index) {
  if (index >= kColorTableSize) index = 0;
  // The pool's palette is shared by charts drawing on several threads: a brush is made
  // under a lock, once. (One lock for every palette: brushes are made rarely.)
  static std::mutex brushMutex;
  std::lock_guard<std::mutex> lock(brushMutex);
  auto& brush = brushes_[index];
  // Made on first use and kept: callers hold the pointer for as long as they like.
  if (!brush) {
    brush = std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(kelo::surface::OpaqueArgb(colorTable[index])));
  }
  return brush.get();
}

CKeloUIObjectSingletonPool::CKeloUIObjectSingletonPool() {
  themeName = "dark";
  const LOGFONT label = LabelLogFont(FW_NORMAL);
  const LOGFONT bold = LabelLogFont(FW_BOLD);
  labelFont_.CreateFontIndirect(&label);
  boldFont_.CreateFontIndirect(&bold);
  defaultFont.faceName = kLabelFace;
  defaultFont.font = &labelFont_;
  defaultFont.boldFont = &boldFont_;
  defaultFont.pixelHeight = kLabelPixelHeight;
  defaultFont.pointSize = kLabelPointSize;
  defaultFont.charWidth = kLabelCharWidth;
  defaultFont.charHeight = kLabelCharHeight;
}

CKeloUIObjectSingletonPool* CKeloUIObjectSingletonPool::Instance() {
  // Never destroyed: chart objects with static lifetime may still refer to its font and
  // brushes while the process ends.
  static CKeloUIObjectSingletonPool* const pool = new CKeloUIObjectSingletonPool();
  return pool;
}
