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

// Every entry the charts read, with its role. All other entries hold the text colour, so
// that a chart reading an unexpected entry still draws something legible on the
// background (and never the background itself, which layer composition keys out).
constexpr Entry kEntries[] = {
    // GDI colours (0x00BBGGRR)
    {5, RGB(255, 60, 60)},     // up bars of the up/down bar chart
    {9, RGB(0, 200, 0)},       // down bars of the up/down bar chart
    {16, RGB(230, 190, 0)},    // brush: bar fill, state 0 (as entry 17)
    {17, RGB(230, 190, 0)},    // bar fill, state 0: volume yellow
    {18, RGB(0, 190, 230)},    // brush: bar fill, state 1 (as entry 19)
    {19, RGB(0, 190, 230)},    // bar fill, state 1: cyan
    {298, RGB(220, 200, 60)},  // brush: third bar of a group
    {299, kReference},         // middle label, reference line text, zero bar
    {303, kGrid},              // grid and axes
    {306, RGB(160, 160, 160)}, // brush: fifth bar brush
    {307, kText},              // default text
    {310, RGB(0, 170, 0)},     // brush: plain bars and the first bar of a group
    {311, kDownText},          // left Y labels, bottom label, losses
    {320, RGB(220, 50, 50)},   // brush: second bar of a group
    {321, kUpText},            // X and time labels, right Y labels, top label, mid and
                               // special lines, profits
    {332, RGB(70, 130, 230)},  // brush: appended bars
    // GDI+ colours (0xAARRGGBB)
    {1416, 0xFFFF3C3C},  // up difference bars
    {1420, 0xFF00C800},  // down difference bars
    {1426, 0xFFC8C8C8},  // ticks of neither state, zero line of inner/outer charts
    {1428, 0xFF00C800},  // inner-state ticks (sold at the bid: green)
    {1430, 0xFFFF3C3C},  // outer-state ticks (bought at the ask: red)
    {1676, 0xFFFFD200},  // tick volume lines
    {1678, 0xFF00D2FF},  // tick value lines
    {1710, 0xFFFF64FF},  // second curve of the inner/outer up/down chart
    {1738, 0xFFF0F0F0},  // first curve of the inner/outer up/down chart
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
  layoutColors_[1] = RGB(255, 255, 255);  // the zero label of a profit-and-loss axis
  layoutColors_[4] = kBackground;         // chart background, cleared layers, label areas
}

CKeloPalette::~CKeloPalette() = default;

COLORREF CKeloPalette::GetLayoutColor(unsigned index) const {
  return index < kLayoutColorCount ? layoutColors_[index] : layoutColors_[4];
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
