#include "wizard/dialogs/ProductPreview.h"

#include "platform/mfc/CWnd.h"

ProductPreview::~ProductPreview() = default;

bool PlainProductPreview::Create(CWnd* dialog, UINT controlId) {
  return dialog && button.SubclassDlgItem(controlId, dialog);
}

void PlainProductPreview::Show(int what, const resbuf* chain) {
  kind = what;
  shown = chain;
  ++shows;
}

std::unique_ptr<ProductPreview> MakeProductPreview() { return std::make_unique<PlainProductPreview>(); }
