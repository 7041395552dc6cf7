// Font engine: fontconfig picks the faces, FreeType maps characters to glyphs, cairo keeps
// the scaled fonts that rasterise them. What is resolved is cached: faces per file, families
// per logical font, glyph lookups per (family, character), scaled fonts and advances per
// (face, size), so laying out a label costs a few hash look-ups per character. Faces and
// sizes are bounded by the installed font files and the clamped em (1 to 1024 pixels) and
// live for the process; families are keyed by caller-chosen face names, so at most
// kMaxFontFamilies are kept (least recently used goes first) and each keeps at most
// kMaxGlyphsPerFamily glyph look-ups.
#include "surface/FontEngine.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

#include <filesystem>
#include <set>

#include <kelochart/surface/FontAnswers.h>

#include "surface/FontAnswers.h"
#include "surface/Limits.h"
#include "surface/StockObjects.h"

namespace kelo::surface::detail {

namespace {

constexpr double kMinEm = 1.0;
constexpr double kMaxEm = 1024.0;  // a hostile height would make cairo rasterise huge glyphs
constexpr double kDefaultEm = 12.0;

struct Face {
  FT_Face ft = nullptr;
  cairo_font_face_t* cairo = nullptr;
  double unitsPerEm = 2048;
  double cellAscent = 0;          // font units (Windows ascent of the OS/2 table when present)
  double cellDescent = 0;         // font units, positive
  double underlinePosition = 0;   // font units, negative below the baseline
  double underlineThickness = 0;  // font units
};

struct Family {
  int primary = -1;
  // The request, kept as values: fontconfig patterns hide their element arrays behind
  // offsets, which leak checkers cannot follow, so patterns live only while they are used.
  std::string name;
  int weight = FW_NORMAL;
  bool italic = false;
  FcFontSet* sorted = nullptr;
  bool sortTried = false;
  bool wantBold = false;
  std::unordered_map<std::uint32_t, std::pair<int, std::uint32_t>> glyphs;  // char -> (face, glyph)
  std::uint64_t lastUse = 0;  // the engine's use clock when the family was last asked for
};

struct Sized {
  cairo_scaled_font_t* font = nullptr;
  std::unordered_map<std::uint32_t, int> advances;  // glyph -> whole pixels
};

}  // namespace

struct FontEngine::Impl {
  std::mutex mutex;
  // A fontconfig configuration of the engine's own, destroyed at exit: fontconfig keeps
  // its patterns behind offsets that leak checkers cannot follow, and the process-wide
  // configuration is never freed.
  // Made when fontconfig is first asked: a process whose faces all come from kept answers
  // never reads the configuration.
  FcConfig* config = nullptr;
  bool shutDown = false;
  std::string answersPath;  // empty: answers are not kept
  FontAnswers kept;
  FT_Library library = nullptr;
  cairo_font_options_t* options = nullptr;
  std::map<std::tuple<std::string, int, bool>, int> faceIds;  // (file, index, embolden)
  std::vector<Face> faces;
  std::map<std::tuple<std::string, int, bool>, std::unique_ptr<Family>> families;  // (name, weight, italic)
  std::uint64_t useClock = 0;
  std::map<std::pair<int, double>, Sized> sized;  // (face, em)

  int FaceFor(const std::string& file, int index, bool embolden) {
    const auto key = std::make_tuple(file, index, embolden);
    if (auto it = faceIds.find(key); it != faceIds.end()) return it->second;
    Face face;
    if (FT_New_Face(library, file.c_str(), index, &face.ft) != 0) {
      faceIds[key] = -1;
      return -1;
    }
    face.cairo = cairo_ft_font_face_create_for_ft_face(face.ft, 0);
    if (embolden) cairo_ft_font_face_set_synthesize(face.cairo, CAIRO_FT_SYNTHESIZE_BOLD);
    face.unitsPerEm = face.ft->units_per_EM > 0 ? face.ft->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.ft, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      face.cellAscent = os2->usWinAscent;
      face.cellDescent = os2->usWinDescent;
    } else {
      face.cellAscent = face.ft->ascender;
      face.cellDescent = -face.ft->descender;
    }
    if (face.cellAscent + face.cellDescent <= 0) {
      face.cellAscent = face.unitsPerEm * 0.8;
      face.cellDescent = face.unitsPerEm * 0.2;
    }
    face.underlinePosition = face.ft->underline_position;
    face.underlineThickness = face.ft->underline_thickness;
    const int id = static_cast<int>(faces.size());
    faces.push_back(face);
    faceIds[key] = id;
    return id;
  }

  static bool PatternFile(FcPattern* pattern, std::string& file, int& index) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &path) != FcResultMatch || path == nullptr) return false;
    file = reinterpret_cast<const char*>(path);
    index = 0;
    FcPatternGetInteger(pattern, FC_INDEX, 0, &index);
    return true;
  }

  FcConfig* Config() {
    if (config == nullptr && !shutDown) config = FcInitLoadConfigAndFonts();
    return config;
  }

  // What fontconfig read to answer: its configuration files and their folders (a file added
  // to conf.d), the user's configuration places whether they exist or not, the font and
  // cache folders.
  std::vector<PathStamp> ConfigStamps() {
    std::set<std::string> paths;
    auto add = [&](FcStrList* list, bool withFolder) {
      if (list == nullptr) return;
      while (FcChar8* s = FcStrListNext(list)) {
        const std::string path(reinterpret_cast<const char*>(s));
        paths.insert(path);
        if (withFolder) paths.insert(std::filesystem::path(path).parent_path().string());
      }
      FcStrListDone(list);
    };
    add(FcConfigGetConfigFiles(config), true);
    add(FcConfigGetConfigDirs(config), false);
    add(FcConfigGetFontDirs(config), false);
    add(FcConfigGetCacheDirs(config), false);
    const char* home = std::getenv("HOME");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string configHome = xdg && xdg[0] ? std::string(xdg) : home ? std::string(home) + "/.config" : "";
    if (!configHome.empty()) {
      paths.insert(configHome + "/fontconfig");
      paths.insert(configHome + "/fontconfig/fonts.conf");
      paths.insert(configHome + "/fontconfig/conf.d");
    }
    if (home != nullptr) {
      paths.insert(std::string(home) + "/.fonts.conf");
      paths.insert(std::string(home) + "/.fonts.conf.d");
      paths.insert(std::string(home) + "/.fonts");
    }
    std::vector<PathStamp> stamps;
    for (const std::string& path : paths) stamps.push_back(StampOf(path));
    return stamps;
  }

  void KeepAnswer(const FaceRequest& request, const FaceAnswer& answer) {
    if (answersPath.empty() || config == nullptr) return;
    if (kept.answers.size() >= kMaxFontAnswers) kept.answers.clear();
    kept.answers[request] = answer;
    kept.environment = FontEnvironment();
    kept.stamps = ConfigStamps();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(answersPath).parent_path(), ec);
    WriteFontAnswers(answersPath, kept);
  }

  // The fontconfig request of a family, substituted as for a match; the caller destroys it.
  FcPattern* Request(const Family& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(family.weight));
    FcPatternAddInteger(pattern, FC_SLANT, family.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(Config(), pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
  }

  // Families are only used under the engine's lock and never kept past a call, so the one
  // asked for least recently can go; its faces stay (they are few and shared).
  void EvictLeastRecentFamily() {
    auto oldest = families.begin();
    for (auto it = families.begin(); it != families.end(); ++it) {
      if (it->second->lastUse < oldest->second->lastUse) oldest = it;
    }
    if (oldest == families.end()) return;
    if (oldest->second->sorted != nullptr) FcFontSetDestroy(oldest->second->sorted);
    families.erase(oldest);
  }

  Family& FamilyFor(const FontDesc& request) {
    const std::string name = request.face.empty() ? std::string(kLabelFace) : request.face;
    const int weight = request.weight <= 0 ? FW_NORMAL : (request.weight > 1000 ? 1000 : request.weight);
    const auto key = std::make_tuple(name, weight, request.italic);
    if (auto it = families.find(key); it != families.end()) {
      it->second->lastUse = ++useClock;
      return *it->second;
    }
    if (families.size() >= kMaxFontFamilies) EvictLeastRecentFamily();
    auto family = std::make_unique<Family>();
    family->lastUse = ++useClock;
    family->wantBold = weight >= 600;
    family->name = name;
    family->weight = weight;
    family->italic = request.italic;
    if (shutDown) {  // after shutdown: no faces any more
      Family& ref = *family;
      families.emplace(key, std::move(family));
      return ref;
    }
    if (auto answer = kept.answers.find(key); answer != kept.answers.end()) {
      family->primary = FaceFor(answer->second.file, answer->second.index, answer->second.embolden);
    }
    if (family->primary < 0 && Config() != nullptr) {
      FcPattern* pattern = Request(*family);
      FcResult result = FcResultNoMatch;
      if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
        FaceAnswer answer;
        FcBool embolden = FcFalse;
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        answer.embolden = embolden == FcTrue;
        if (PatternFile(match, answer.file, answer.index)) {
          family->primary = FaceFor(answer.file, answer.index, answer.embolden);
          if (family->primary >= 0) KeepAnswer(key, answer);
        }
        FcPatternDestroy(match);
      }
      FcPatternDestroy(pattern);
    }
    Family& ref = *family;
    families.emplace(key, std::move(family));
    return ref;
  }

  // The face and glyph that draw character c in the family: the family's own face when it
  // has the glyph, else the first face of fontconfig's sort order whose charset has it.
  std::pair<int, std::uint32_t> GlyphFor(Family& family, std::uint32_t c) {
    if (auto it = family.glyphs.find(c); it != family.glyphs.end()) return it->second;
    std::pair<int, std::uint32_t> found{family.primary, 0};
    if (family.primary >= 0) {
      const FT_UInt g = FT_Get_Char_Index(faces[static_cast<std::size_t>(family.primary)].ft, c);
      if (g != 0) found = {family.primary, g};
    }
    if (found.second == 0) {
      if (!family.sortTried && Config() != nullptr) {
        family.sortTried = true;
        FcResult result = FcResultNoMatch;
        FcPattern* request = Request(family);
        family.sorted = FcFontSort(config, request, FcTrue, nullptr, &result);
        FcPatternDestroy(request);
      }
      if (family.sorted != nullptr) {
        for (int i = 0; i < family.sorted->nfont; ++i) {
          FcPattern* font = family.sorted->fonts[i];
          FcCharSet* charset = nullptr;
          if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch) continue;
          if (!FcCharSetHasChar(charset, c)) continue;
          std::string file;
          int index = 0;
          if (!PatternFile(font, file, index)) continue;
          int weight = FC_WEIGHT_REGULAR;
          FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
          const bool embolden = family.wantBold && weight < FC_WEIGHT_DEMIBOLD;
          const int face = FaceFor(file, index, embolden);
          if (face < 0) continue;
          const FT_UInt g = FT_Get_Char_Index(faces[static_cast<std::size_t>(face)].ft, c);
          if (g == 0) continue;
          found = {face, g};
          break;
        }
      }
    }
    if (family.glyphs.size() >= kMaxGlyphsPerFamily) family.glyphs.clear();
    family.glyphs.emplace(c, found);
    return found;
  }

  Sized& SizedFor(int face, double em) {
    const auto key = std::make_pair(face, em);
    if (auto it = sized.find(key); it != sized.end()) return it->second;
    cairo_matrix_t fontMatrix;
    cairo_matrix_t ctm;
    cairo_matrix_init_scale(&fontMatrix, em, em);
    cairo_matrix_init_identity(&ctm);
    Sized s;
    s.font = cairo_scaled_font_create(faces[static_cast<std::size_t>(face)].cairo, &fontMatrix, &ctm, options);
    return sized.emplace(key, std::move(s)).first->second;
  }

  int Advance(Sized& s, std::uint32_t glyph) {
    if (auto it = s.advances.find(glyph); it != s.advances.end()) return it->second;
    cairo_glyph_t g{glyph, 0, 0};
    cairo_text_extents_t extents{};
    cairo_scaled_font_glyph_extents(s.font, &g, 1, &extents);
    double a = extents.x_advance;
    if (!(a == a) || a < 0) a = 0;
    if (a > 4096) a = 4096;
    const int advance = static_cast<int>(std::lround(a));
    s.advances.emplace(glyph, advance);
    return advance;
  }

  double Em(const FontDesc& request, const Family& family) const {
    const std::int64_t h = request.height;
    if (h == 0) return kDefaultEm;
    double em = 0;
    if (h < 0) {
      em = static_cast<double>(-h);
    } else {
      const Face* face = family.primary >= 0 ? &faces[static_cast<std::size_t>(family.primary)] : nullptr;
      const double cell = face ? face->cellAscent + face->cellDescent : 1.0;
      const double upem = face ? face->unitsPerEm : 1.0;
      em = static_cast<double>(h) * upem / cell;
    }
    if (em < kMinEm) em = kMinEm;
    if (em > kMaxEm) em = kMaxEm;
    return em;
  }
};

FontEngine& FontEngine::Instance() {
  static FontEngine* engine = new FontEngine();  // never destroyed: cairo holds its faces
  return *engine;
}

void FontEngine::Shutdown() {
  FontEngine& engine = Instance();
  std::lock_guard<std::mutex> lock(engine.impl_->mutex);
  Impl& im = *engine.impl_;
  for (auto& [key, family] : im.families) {
    if (family->sorted != nullptr) FcFontSetDestroy(family->sorted);
    family->sorted = nullptr;
    family->sortTried = true;
  }
  if (im.config != nullptr) FcConfigDestroy(im.config);
  im.config = nullptr;
  im.shutDown = true;
}

void FontEngine::KeepAnswers(const std::string& path) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->answersPath = path;
  impl_->kept = path.empty() ? FontAnswers{} : ReadFontAnswers(path, FontEnvironment());
}

FontEngine::FontEngine() : impl_(new Impl) {
  std::atexit(&FontEngine::Shutdown);
  FT_Init_FreeType(&impl_->library);
  impl_->options = cairo_font_options_create();
  // Grey-scale anti-aliased glyphs with light hinting and whole-pixel advances, so labels
  // are crisp and their widths are integers, as GDI text is.
  cairo_font_options_set_antialias(impl_->options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(impl_->options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(impl_->options, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_subpixel_order(impl_->options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
}

FontEngine::~FontEngine() = default;

double FontEngine::EmPixels(const FontDesc& font) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->Em(font, impl_->FamilyFor(font));
}

std::size_t FontEngine::CachedFamilies() {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->families.size();
}

std::size_t CachedFontFamilies() { return FontEngine::Instance().CachedFamilies(); }

TextLayout FontEngine::Layout(const FontDesc& font, std::string_view utf8) { return LayoutText(font, utf8, true); }

TextLayout FontEngine::LayoutText(const FontDesc& font, std::string_view utf8, bool withGlyphs) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  Impl& im = *impl_;
  Family& family = im.FamilyFor(font);
  const double em = im.Em(font, family);
  TextLayout layout;
  if (family.primary >= 0) {
    const Face& face = im.faces[static_cast<std::size_t>(family.primary)];
    const std::int64_t h = font.height;
    if (h > 0 && h <= static_cast<std::int64_t>(kMaxEm)) {
      // A cell height is kept exactly: ascent and descent split it in the face's proportion.
      layout.height = static_cast<int>(h);
      layout.ascent = static_cast<int>(
          std::lround(static_cast<double>(h) * face.cellAscent / (face.cellAscent + face.cellDescent)));
      layout.descent = layout.height - layout.ascent;
    } else {
      const double scale = em / face.unitsPerEm;
      layout.ascent = static_cast<int>(std::lround(face.cellAscent * scale));
      layout.descent = static_cast<int>(std::lround(face.cellDescent * scale));
      layout.height = layout.ascent + layout.descent;
    }
    const double scale = em / face.unitsPerEm;
    int thickness = static_cast<int>(std::lround(face.underlineThickness * scale));
    if (thickness < 1) thickness = 1;
    int offset = static_cast<int>(std::lround(-face.underlinePosition * scale)) - thickness / 2;
    if (offset < 1) offset = 1;
    if (offset + thickness > layout.descent) offset = layout.descent - thickness;
    if (offset < 0) offset = 0;
    layout.underlineOffset = offset;
    layout.underlineThickness = thickness;
  }
  int x = 0;
  int runFace = -2;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::uint32_t c = NextCodepoint(utf8, i);
    if (c < 0x20 || c == 0x7F) continue;  // control characters take no room
    const auto [faceId, glyph] = im.GlyphFor(family, c);
    if (faceId < 0) continue;
    Sized& s = im.SizedFor(faceId, em);
    if (withGlyphs) {
      if (faceId != runFace) {
        layout.runs.push_back(GlyphRun{s.font, {}});
        runFace = faceId;
      }
      layout.runs.back().glyphs.push_back(cairo_glyph_t{glyph, static_cast<double>(x), 0.0});
    }
    const int advance = im.Advance(s, glyph);
    x = x > INT32_MAX - advance ? INT32_MAX : x + advance;
  }
  layout.width = x;
  return layout;
}

CSize FontEngine::Measure(const FontDesc& font, std::string_view utf8) {
  const TextLayout layout = LayoutText(font, utf8, false);
  return CSize(layout.width, layout.height);
}

std::uint32_t NextCodepoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra = 0;
  std::uint32_t c = 0;
  std::uint32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    c = b0 & 0x1F;
    min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    c = b0 & 0x0F;
    min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    c = b0 & 0x07;
    min = 0x10000;
  } else {
    ++i;
    return '?';
  }
  if (i + static_cast<std::size_t>(extra) >= text.size()) {  // cut short
    ++i;
    return '?';
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned char b = byte(i + static_cast<std::size_t>(k));
    if ((b & 0xC0) != 0x80) {
      ++i;
      return '?';
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return '?';
  }
  i += static_cast<std::size_t>(extra) + 1;
  return c;
}

}  // namespace kelo::surface::detail

namespace kelo::surface {

void KeepFontAnswers(const std::string& path) { detail::FontEngine::Instance().KeepAnswers(path); }

}  // namespace kelo::surface
