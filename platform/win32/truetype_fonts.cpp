// The machine's TrueType fonts behind the font calls: fontconfig finds the
// file of a face name (with its aliases), FreeType reads the outlines
// unhinted in font units; they are scaled here to the logical font's size.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32/code_page.h"
#include "platform/win32/glyph_outline.h"
#include "platform/win32/headless_metrics.h"

namespace {

// What a logical font needs of a face, in font units.
struct TrueTypeFace {
  FT_Face face = nullptr;
  double unitsPerEm = 2048;
  double winAscent = 0, winDescent = 0;             // OS/2 usWinAscent / usWinDescent
  double ascender = 0, descender = 0, lineGap = 0;  // hhea
  double averageWidth = 0, maxAdvance = 0;
  LONG weight = FW_NORMAL;
  bool italic = false;
  bool fixedPitch = false;

  TrueTypeFace() = default;
  TrueTypeFace(const TrueTypeFace&) = delete;
  TrueTypeFace& operator=(const TrueTypeFace&) = delete;
  ~TrueTypeFace() {
    if (face) FT_Done_Face(face);
  }

  // Pixels per em of a logical font height: positive is the cell height,
  // negative the em height.
  double Ppem(LONG height) const {
    if (height == 0) height = -headless::kFontHeight;
    if (height < 0) return -static_cast<double>(height);
    const double cell = winAscent + winDescent;
    return cell > 0 ? height * unitsPerEm / cell : height;
  }
};

class TrueTypeGlyphSource : public GlyphSource {
 public:
  bool TextMetrics(const LOGFONTA& font, TEXTMETRICA* out) override;
  bool GlyphOutline(const LOGFONTA& font, BYTE ch, GLYPHMETRICS* metrics, std::vector<BYTE>* records) override;

 private:
  TrueTypeFace* Find(const LOGFONTA& font);
  std::unique_ptr<TrueTypeFace> Open(const LOGFONTA& font);

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  bool started_ = false;
  // By face name (case folded), weight and slant; null for no match, so a
  // missing face is looked for once.
  std::map<std::string, std::unique_ptr<TrueTypeFace>> faces_;
};

std::string FaceKey(const LOGFONTA& font) {
  std::string key;
  for (size_t i = 0; i < LF_FACESIZE && font.lfFaceName[i]; ++i)
    key += static_cast<char>(Cp1250ToLower(static_cast<unsigned char>(font.lfFaceName[i])));
  key += font.lfWeight >= 600 ? "|b" : "|r";
  key += font.lfItalic ? "i" : "";
  return key;
}

TrueTypeFace* TrueTypeGlyphSource::Find(const LOGFONTA& font) {
  if (!started_) {
    started_ = true;
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
    if (!FcInit()) library_ = nullptr;
  }
  if (!library_) return nullptr;
  const std::string key = FaceKey(font);
  auto it = faces_.find(key);
  if (it == faces_.end()) it = faces_.emplace(key, Open(font)).first;
  return it->second.get();
}

std::unique_ptr<TrueTypeFace> TrueTypeGlyphSource::Open(const LOGFONTA& font) {
  const std::string name = Cp1250ToUtf8(std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.empty() ? "sans-serif" : name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, font.lfWeight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, font.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  std::unique_ptr<TrueTypeFace> found;
  for (int i = 0; set && i < set->nfont && !found; ++i) {
    FcChar8* file = nullptr;
    FcChar8* format = nullptr;
    int index = 0;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    if (FcPatternGetString(set->fonts[i], FC_FONTFORMAT, 0, &format) != FcResultMatch ||
        std::strcmp(reinterpret_cast<const char*>(format), "TrueType") != 0)
      continue;
    FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
    FT_Face face = nullptr;
    if (FT_New_Face(library_, reinterpret_cast<const char*>(file), index, &face) != 0) continue;
    const char* kind = FT_Get_Font_Format(face);
    if (!FT_IS_SCALABLE(face) || !kind || std::strcmp(kind, "TrueType") != 0) {
      FT_Done_Face(face);
      continue;
    }
    auto f = std::make_unique<TrueTypeFace>();
    f->face = face;
    f->unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
    f->ascender = face->ascender;
    f->descender = face->descender;
    f->lineGap = face->height - (face->ascender - face->descender);
    f->maxAdvance = face->max_advance_width;
    if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
      f->ascender = hhea->Ascender;
      f->descender = hhea->Descender;
      f->lineGap = hhea->Line_Gap;
      f->maxAdvance = hhea->advance_Width_Max;
    }
    f->winAscent = f->ascender;
    f->winDescent = -f->descender;
    f->averageWidth = f->maxAdvance / 2;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
      f->winAscent = os2->usWinAscent;
      f->winDescent = os2->usWinDescent;
      f->averageWidth = os2->xAvgCharWidth;
      f->weight = os2->usWeightClass;
    }
    f->italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    f->fixedPitch = FT_IS_FIXED_WIDTH(face);
    found = std::move(f);
  }
  if (set) FcFontSetDestroy(set);
  FcPatternDestroy(pattern);
  return found;
}

LONG Round(double v) { return static_cast<LONG>(std::lround(v)); }

bool TrueTypeGlyphSource::TextMetrics(const LOGFONTA& font, TEXTMETRICA* out) {
  std::lock_guard<std::mutex> lock(mutex_);
  const TrueTypeFace* f = Find(font);
  if (!f) return false;
  const double ppem = f->Ppem(font.lfHeight), s = ppem / f->unitsPerEm;
  TEXTMETRICA m{};
  m.tmAscent = Round(f->winAscent * s);
  m.tmDescent = Round(f->winDescent * s);
  m.tmHeight = m.tmAscent + m.tmDescent;
  m.tmInternalLeading = Round(m.tmHeight - ppem);
  const double cellGap = (f->winAscent + f->winDescent) - (f->ascender - f->descender);
  m.tmExternalLeading = Round(std::max(0.0, f->lineGap - cellGap) * s);
  m.tmAveCharWidth = Round(f->averageWidth * s);
  m.tmMaxCharWidth = Round(f->maxAdvance * s);
  m.tmWeight = f->weight;
  m.tmDigitizedAspectX = m.tmDigitizedAspectY = GetHeadlessMetrics().dotsPerInch;
  m.tmFirstChar = 0x1E;
  m.tmLastChar = 0xFF;
  m.tmDefaultChar = 0x1F;
  m.tmBreakChar = 0x20;
  m.tmItalic = f->italic ? 1 : 0;
  m.tmUnderlined = font.lfUnderline ? 1 : 0;
  m.tmStruckOut = font.lfStrikeOut ? 1 : 0;
  // Low bits: variable pitch (named "fixed pitch"), outline, TrueType.
  m.tmPitchAndFamily = static_cast<BYTE>((font.lfPitchAndFamily & 0xF0) | (f->fixedPitch ? 0 : 1) | 2 | 4);
  m.tmCharSet = font.lfCharSet == DEFAULT_CHARSET ? EASTEUROPE_CHARSET : font.lfCharSet;
  *out = m;
  return true;
}

bool TrueTypeGlyphSource::GlyphOutline(const LOGFONTA& font, BYTE ch, GLYPHMETRICS* metrics,
                                       std::vector<BYTE>* records) {
  std::lock_guard<std::mutex> lock(mutex_);
  TrueTypeFace* f = Find(font);
  if (!f) return false;
  // Bytes of the code page; its undefined bytes find no glyph (.notdef).
  const char byte = static_cast<char>(ch);
  WCHAR wide = 0;
  if (MultiByteToWideChar(CP_1250, 0, &byte, 1, &wide, 1) != 1) return false;
  const FT_UInt index = FT_Get_Char_Index(f->face, wide);
  if (FT_Load_Glyph(f->face, index, FT_LOAD_NO_SCALE) != 0) return false;
  const FT_GlyphSlot slot = f->face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;

  const double ppem = f->Ppem(font.lfHeight), scale = ppem * 64.0 / f->unitsPerEm;
  QuadraticOutline outline;
  const FT_Outline& o = slot->outline;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (int i = 0; i < o.n_points; ++i) {
    const int tag = FT_CURVE_TAG(o.tags[i]);
    if (tag == FT_CURVE_TAG_CUBIC) return false;
    const double x = std::round(o.points[i].x * scale), y = std::round(o.points[i].y * scale);
    if (std::fabs(x) > INT32_MAX || std::fabs(y) > INT32_MAX) return false;
    outline.points.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y), tag == FT_CURVE_TAG_ON});
    minX = i ? std::min(minX, x) : x;
    maxX = i ? std::max(maxX, x) : x;
    minY = i ? std::min(minY, y) : y;
    maxY = i ? std::max(maxY, y) : y;
  }
  for (int c = 0; c < o.n_contours; ++c) outline.contourEnds.push_back(static_cast<size_t>(o.contours[c]));
  if (!EncodeNativeOutline(outline, records)) return false;

  GLYPHMETRICS m{};
  m.gmBlackBoxX = m.gmBlackBoxY = 1;
  if (o.n_points > 0) {
    const LONG left = static_cast<LONG>(std::floor(minX / 64)), right = static_cast<LONG>(std::ceil(maxX / 64));
    const LONG bottom = static_cast<LONG>(std::floor(minY / 64)), top = static_cast<LONG>(std::ceil(maxY / 64));
    m.gmBlackBoxX = static_cast<UINT>(std::max<LONG>(1, right - left));
    m.gmBlackBoxY = static_cast<UINT>(std::max<LONG>(1, top - bottom));
    m.gmptGlyphOrigin = {left, top};
  }
  const double advance = std::round(slot->metrics.horiAdvance * ppem / f->unitsPerEm);
  m.gmCellIncX = static_cast<short>(std::clamp(advance, -32768.0, 32767.0));
  *metrics = m;
  return true;
}

}  // namespace

GlyphSource& SystemGlyphSource() {
  static auto* source = new TrueTypeGlyphSource;
  return *source;
}
