// The product preview of the parametric dialog (its control 1001), as far
// as the dialog drives it: the scene made once, one of two drawings shown,
// the connection point marked, mirrored display and background colour.
// Until the OpenGL preview takes the control over, the control stays the
// plain button of the template and the preview only keeps what it was
// asked to show.
#pragma once

#include <memory>

#include "common/resbuf.h"
#include "platform/mfc/CButton.h"

class CWnd;

class ProductPreview {
 public:
  // What is shown.
  static constexpr int kCatalogue = 3;  // the catalogue's drawing of the view
  static constexpr int kProduct = 4;    // the product as regenerated

  virtual ~ProductPreview();
  // Takes the dialog's control over and makes the scene; false when the
  // scene cannot be made.
  virtual bool Create(CWnd* dialog, UINT controlId) = 0;
  // Shows a chain (owned by the caller, which keeps it alive while shown).
  virtual void Show(int kind, const resbuf* chain) = 0;
  // Marks the connection group of the product's own point (1-based).
  virtual void SelectConnectionGroup(unsigned number) = 0;
  // Mirrored about the preview's current axis, or not.
  virtual void SetMirrored(bool mirrored) = 0;
  // A palette index of the scene's material library.
  virtual void SetBackground(int colour) = 0;
};

// The template's button, keeping what it was asked to show.
class PlainProductPreview : public ProductPreview {
 public:
  bool Create(CWnd* dialog, UINT controlId) override;
  void Show(int kind, const resbuf* chain) override;
  void SelectConnectionGroup(unsigned number) override { group = number; }
  void SetMirrored(bool value) override { mirrored = value; }
  void SetBackground(int colour) override { background = colour; }

  CButton button;
  int kind = 0;
  const resbuf* shown = nullptr;
  unsigned group = 0;
  bool mirrored = false;
  int background = 0;
  int shows = 0;  // how often a drawing was shown
};

// The preview a new parametric dialog gets.
std::unique_ptr<ProductPreview> MakeProductPreview();
