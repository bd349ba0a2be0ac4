// The product preview of the parametric dialog (its control 1001), as far
// as the dialog drives it: the scene made once, one of two drawings shown,
// the connection point marked, mirrored display and background.
#pragma once

#include <memory>

#include "dataformat/resbuf.h"
#include "wizard/dialogs/CViewJovGL.h"

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
  // Mirrored about the axis of the marked connection point, or not.
  virtual void SetMirrored(bool mirrored) = 0;
  // The background scheme: 0 black, 1 white, 2 grey.
  virtual void SetBackground(int scheme) = 0;

  // The catalogue's drawing or the product, as the dialogs' switch says,
  // with the product's own connection group marked.
  void ShowSwitched(bool catalogue, const resbuf* catalogueChain, const resbuf* productChain, unsigned ownGroup);
};

// The product preview view on the dialog's button, in kind 4 until told
// otherwise.
class ViewProductPreview : public ProductPreview {
 public:
  ViewProductPreview() : view(ProductPreview::kProduct, 1, 0, 0) {}
  bool Create(CWnd* dialog, UINT controlId) override;
  void Show(int kind, const resbuf* chain) override;
  void SelectConnectionGroup(unsigned number) override { view.SelectPoint(number); }
  void SetMirrored(bool mirrored) override { view.SetMirror(mirrored, view.GetSelectedAngle(), true); }
  void SetBackground(int scheme) override { view.SetBackground(static_cast<uint32_t>(scheme), true); }

  CViewJovGL view;
};

// The preview a new parametric dialog gets.
std::unique_ptr<ProductPreview> MakeProductPreview();
