// GDI lines and pixel copies, written straight into the image. Every loop is bounded by the
// image size, never by the line's length, so hostile coordinates cost nothing.
#include "surface/GdiLine.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <vector>

namespace kelo::surface::detail {

namespace {

// Dash patterns in pixels. A thin cosmetic pen uses the classic fixed patterns; a geometric
// pen (or a cosmetic pen wider than one pixel) scales unit patterns by its width.
constexpr int kCosmetic[4][6] = {{18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
constexpr int kGeometric[4][6] = {{3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
constexpr int kCounts[4] = {2, 2, 4, 6};

inline bool DashOn(const DashPattern& dash, std::int64_t i) {
  if (dash.count == 0) return true;
  std::int64_t p = i % dash.period;
  for (int k = 0; k < dash.count; ++k) {
    if (p < dash.lengths[k]) return (k % 2) == 0;
    p -= dash.lengths[k];
  }
  return false;
}

}  // namespace

DashPattern GdiDashPattern(const GdiPenDesc& pen) {
  DashPattern dash;
  if (pen.style < PS_DASH || pen.style > PS_DASHDOTDOT) return dash;
  const int k = pen.style - PS_DASH;
  const std::int64_t width = pen.width > 1 ? pen.width : 1;
  const bool scaled = pen.geometric || width > 1;
  dash.count = kCounts[k];
  for (int i = 0; i < dash.count; ++i) {
    dash.lengths[i] = scaled ? kGeometric[k][i] * width : kCosmetic[k][i];
    dash.period += dash.lengths[i];
  }
  return dash;
}

void DrawGdiLine(const PixelTarget& t, CPoint from, CPoint to, const GdiPenDesc& pen, std::uint32_t pixel) {
  if (t.pixels == nullptr || pen.style == PS_NULL) return;
  const std::int64_t x0 = from.x - t.originX, y0 = from.y - t.originY;
  const std::int64_t dx = static_cast<std::int64_t>(to.x) - from.x;
  const std::int64_t dy = static_cast<std::int64_t>(to.y) - from.y;
  if (dx == 0 && dy == 0) return;
  const std::int64_t width = pen.width > 1 ? pen.width : 1;
  const DashPattern dash = GdiDashPattern(pen);
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const std::int64_t major0 = xMajor ? x0 : y0;
  const std::int64_t minor0 = xMajor ? y0 : x0;
  const std::int64_t amaj = xMajor ? adx : ady;
  const std::int64_t amin = xMajor ? ady : adx;
  const std::int64_t smaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t smin = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t majorSize = xMajor ? t.width : t.height;
  const std::int64_t minorSize = xMajor ? t.height : t.width;

  // Steps i = 0 .. amaj - 1 (the end point is left out) whose major coordinate is inside.
  std::int64_t iLo = 0, iHi = amaj;
  if (smaj > 0) {
    iLo = std::max(iLo, -major0);
    iHi = std::min(iHi, majorSize - major0);
  } else {
    iLo = std::max(iLo, major0 - majorSize + 1);
    iHi = std::min(iHi, major0 + 1);
  }
  if (iLo >= iHi) return;
  // The band across the line: from minor - width / 2 for width pixels.
  const std::int64_t bandBefore = width / 2;

  if (amin == 0) {
    // Axis-aligned: the band is fixed, so fill it span by span along the line.
    const std::int64_t bLo = std::max<std::int64_t>(minor0 - bandBefore, 0);
    const std::int64_t bHi = std::min<std::int64_t>(minor0 - bandBefore + width, minorSize);
    if (bLo >= bHi) return;
    const std::int64_t mA = smaj > 0 ? major0 + iLo : major0 - (iHi - 1);
    const std::int64_t mB = smaj > 0 ? major0 + iHi : major0 - iLo + 1;  // [mA, mB)
    if (xMajor) {
      for (std::int64_t row = bLo; row < bHi; ++row) {
        std::uint32_t* line = t.pixels + row * t.stride;
        if (dash.count == 0) {
          std::fill(line + mA, line + mB, pixel);
        } else {
          for (std::int64_t m = mA; m < mB; ++m) {
            if (DashOn(dash, smaj > 0 ? m - major0 : major0 - m)) line[m] = pixel;
          }
        }
      }
    } else {
      for (std::int64_t m = mA; m < mB; ++m) {
        if (dash.count != 0 && !DashOn(dash, smaj > 0 ? m - major0 : major0 - m)) continue;
        std::uint32_t* line = t.pixels + m * t.stride;
        std::fill(line + bLo, line + bHi, pixel);
      }
    }
    return;
  }

  // Any other slope: minor(i) = minor0 + smin * floor((2 i amin + amaj) / (2 amaj)), that is
  // the exact position rounded, halves away from the start. Stepped with a remainder.
  const std::int64_t den = 2 * amaj;
  const __int128 n0 = static_cast<__int128>(2) * iLo * amin + amaj;
  std::int64_t q = static_cast<std::int64_t>(n0 / den);
  std::int64_t r = static_cast<std::int64_t>(n0 % den);
  const std::int64_t inc = 2 * amin;
  for (std::int64_t i = iLo; i < iHi; ++i) {
    if (DashOn(dash, i)) {
      const std::int64_t major = major0 + smaj * i;
      const std::int64_t minor = minor0 + smin * q;
      const std::int64_t bLo = std::max<std::int64_t>(minor - bandBefore, 0);
      const std::int64_t bHi = std::min<std::int64_t>(minor - bandBefore + width, minorSize);
      for (std::int64_t b = bLo; b < bHi; ++b) {
        if (xMajor) {
          t.pixels[b * t.stride + major] = pixel;
        } else {
          t.pixels[major * t.stride + b] = pixel;
        }
      }
    }
    r += inc;
    if (r >= den) {
      r -= den;
      ++q;
    }
  }
}

void CopyPixels(const PixelTarget& dst, const PixelTarget& src, std::int64_t dx, std::int64_t dy, std::int64_t sx,
                std::int64_t sy, std::int64_t w, std::int64_t h, bool useKey, std::uint32_t keyPixel) {
  if (dst.pixels == nullptr || src.pixels == nullptr || w <= 0 || h <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(std::uint32_t);
  // A view into the destination's own image (a copy within one image) may start anywhere in it:
  // the two memory ranges are compared as addresses.
  const auto at = [](const std::uint32_t* p) { return reinterpret_cast<std::uintptr_t>(p); };
  const std::uintptr_t dstEnd = at(dst.pixels) + static_cast<std::uintptr_t>(dst.height) * dst.stride * 4;
  const std::uintptr_t srcEnd = at(src.pixels) + static_cast<std::uintptr_t>(src.height) * src.stride * 4;
  if (at(src.pixels) < dstEnd && at(dst.pixels) < srcEnd) {
    // A copy within one image: take the source block first, so overlap cannot smear it.
    std::vector<std::uint32_t> block(static_cast<std::size_t>(w * h));
    for (std::int64_t v = 0; v < h; ++v) {
      std::memcpy(block.data() + v * w, src.pixels + (sy + v) * src.stride + sx, rowBytes);
    }
    const PixelTarget tmp{block.data(), static_cast<int>(w), static_cast<int>(h), static_cast<int>(w)};
    CopyPixels(dst, tmp, dx, dy, 0, 0, w, h, useKey, keyPixel);
    return;
  }
  for (std::int64_t v = 0; v < h; ++v) {
    std::uint32_t* __restrict d = dst.pixels + (dy + v) * dst.stride + dx;
    const std::uint32_t* __restrict s = src.pixels + (sy + v) * src.stride + sx;
    if (!useKey) {
      std::memcpy(d, s, rowBytes);
      continue;
    }
    std::int64_t u = 0;
#if defined(__SSE2__)
    // Four pixels at a time. An upper layer is mostly its background (the key), so a block
    // that is all key is skipped without touching the destination at all.
    const __m128i key = _mm_set1_epi32(static_cast<int>(keyPixel));
    // A cache line (16 pixels) of key pixels is skipped with one test.
    for (; u + 16 <= w; u += 16) {
      const auto* in = reinterpret_cast<const __m128i*>(s + u);
      const __m128i p0 = _mm_loadu_si128(in), p1 = _mm_loadu_si128(in + 1);
      const __m128i p2 = _mm_loadu_si128(in + 2), p3 = _mm_loadu_si128(in + 3);
      const __m128i e0 = _mm_cmpeq_epi32(p0, key), e1 = _mm_cmpeq_epi32(p1, key);
      const __m128i e2 = _mm_cmpeq_epi32(p2, key), e3 = _mm_cmpeq_epi32(p3, key);
      const __m128i all = _mm_and_si128(_mm_and_si128(e0, e1), _mm_and_si128(e2, e3));
      if (_mm_movemask_epi8(all) == 0xFFFF) continue;
      __m128i* out = reinterpret_cast<__m128i*>(d + u);
      const __m128i any = _mm_or_si128(_mm_or_si128(e0, e1), _mm_or_si128(e2, e3));
      if (_mm_movemask_epi8(any) == 0) {  // no key pixel: a plain copy of the line
        _mm_storeu_si128(out, p0);
        _mm_storeu_si128(out + 1, p1);
        _mm_storeu_si128(out + 2, p2);
        _mm_storeu_si128(out + 3, p3);
        continue;
      }
      const __m128i ps[4] = {p0, p1, p2, p3};
      const __m128i es[4] = {e0, e1, e2, e3};
      for (int k = 0; k < 4; ++k) {
        const int mask = _mm_movemask_epi8(es[k]);
        if (mask == 0xFFFF) continue;
        if (mask == 0) {
          _mm_storeu_si128(out + k, ps[k]);
        } else {
          const __m128i old = _mm_loadu_si128(out + k);
          _mm_storeu_si128(out + k, _mm_or_si128(_mm_and_si128(es[k], old), _mm_andnot_si128(es[k], ps[k])));
        }
      }
    }
    for (; u + 4 <= w; u += 4) {
      const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + u));
      const __m128i eq = _mm_cmpeq_epi32(p, key);
      const int mask = _mm_movemask_epi8(eq);
      if (mask == 0xFFFF) continue;
      __m128i* out = reinterpret_cast<__m128i*>(d + u);
      if (mask == 0) {
        _mm_storeu_si128(out, p);
      } else {
        const __m128i old = _mm_loadu_si128(out);
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(eq, old), _mm_andnot_si128(eq, p)));
      }
    }
#endif
    for (; u < w; ++u) {
      const std::uint32_t p = s[u];
      if (p != keyPixel) d[u] = p;
    }
  }
}

}  // namespace kelo::surface::detail
