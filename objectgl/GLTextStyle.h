// A font for solid text: glyph outlines read once from the font (GGO_NATIVE)
// in units of a font 10000 high, turned into closed contours, tessellated
// into triangles and kept per character code; with the font's metrics.
// Characters are code page 1250 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "common/GLMatrix.h"
#include "objectgl/GLArray.h"
#include "objectgl/GLContour.h"
#include "objectgl/GLExtents.h"
#include "objectgl/GLFaces.h"
#include "objectgl/GLObject.h"
#include "platform/win32/glyph_outline.h"

// The font's metrics scaled to a text height.
struct GLTextMetrics {
  double height = 0, ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
  double aveCharWidth = 0, maxCharWidth = 0, weight = 0;
  bool italic = false, underlined = false, struckOut = false;
  uint8_t firstChar = 0, lastChar = 0, defaultChar = 0, breakChar = 0;
  uint8_t pitchAndFamily = 0, charSet = 0;
};

class GLTextStyle : public GLObject {
  GL_DECLARE_CLASS()

 public:
  // The height of the font the caches are measured in.
  static constexpr double kFontUnits = 10000.0;

  // The stock system font, 10000 high, at proof quality.
  GLTextStyle();
  GLTextStyle(const GLTextStyle&) = delete;
  GLTextStyle& operator=(const GLTextStyle&) = delete;
  ~GLTextStyle() override;

  // A new font of that face (at most 31 characters) and its metrics. The
  // glyphs already read stay: set the face before drawing.
  void SetFaceName(const char* face, uint32_t = 0, uint32_t = 0);
  // Reads one character's outline and metrics. A character whose outline
  // cannot be read gets no contours and zero metrics and is read again on
  // the next request.
  void LoadGlyph(uint8_t ch);

  // Appends the character's triangles scaled to the height, moved to offset
  // and through m; *advance is its scaled advance. Tessellates the glyph on
  // first use.
  void GetCharFaces(GLFacesArray& out, uint8_t ch, double* advance, const GLMatrix& m, const GLVector& offset,
                    const double* height);
  // The same with copies of the contours (the caller deletes them); returns
  // the number of the glyph's contours.
  uint32_t GetCharContours(GLArray<GLContour*>& out, uint8_t ch, double* advance, const GLMatrix& m,
                           const GLVector& offset, const double* height);
  void GetScaledExternalLeading(const double* height, double* out) const;
  void GetScaledMetrics(const double* height, GLTextMetrics* out) const;
  // Grows io by the character's outline points, in font units.
  void GetCharBox(uint8_t ch, GLExtents* io);
  void GetCharExtents(const double* height, uint8_t ch, GLExtents* out);
  // x from 0 to the sum of the advances from the first character with an
  // outline on; y over the union of the glyph boxes so far.
  void GetTextExtents(const double* height, const char* text, GLExtents* out);

  const LOGFONTA& GetLogFont() const { return logFont_; }
  const TEXTMETRICA& GetTextMetrics() const { return metrics_; }
  // Null until the character was read (and after a failed read).
  const GLArray<GLContour*>* GetContours(uint8_t ch) const { return contours_[ch].get(); }
  const GLYPHMETRICS* GetGlyphMetrics(uint8_t ch) const { return glyphMetrics_[ch].get(); }
  // How many glyphs were tessellated so far.
  uint32_t GetTessellationCount() const { return tessellations_; }

 private:
  // Deletes the contours it holds.
  struct ContourList : GLArray<GLContour*> {
    ContourList() = default;
    ContourList(const ContourList&) = delete;
    ContourList& operator=(const ContourList&) = delete;
    ~ContourList() {
      for (GLContour* c : *this) delete c;
    }
  };

  void CreateFont();
  // The glyph's contours, read first when missing; null when unreadable.
  const ContourList* Contours(uint8_t ch);
  // *advance (when asked for) and the matrix S, T(offset), m.
  GLMatrix Placement(uint8_t ch, double* advance, const GLMatrix& m, const GLVector& offset, double height) const;

  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  LOGFONTA logFont_{};
  TEXTMETRICA metrics_{};
  std::array<std::unique_ptr<ContourList>, 256> contours_;
  std::array<std::unique_ptr<GLFacesArray>, 256> faces_;
  std::array<std::unique_ptr<GLYPHMETRICS>, 256> glyphMetrics_;
  uint32_t tessellations_ = 0;
};
