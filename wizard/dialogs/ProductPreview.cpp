#include "wizard/dialogs/ProductPreview.h"

#include "platform/mfc/CWnd.h"

ProductPreview::~ProductPreview() = default;

void ProductPreview::ShowSwitched(bool catalogue, const resbuf* catalogueChain, const resbuf* productChain,
                                  unsigned ownGroup) {
  if (catalogue)
    Show(kCatalogue, catalogueChain);
  else
    Show(kProduct, productChain);
  SelectConnectionGroup(ownGroup);
}

bool ViewProductPreview::Create(CWnd* dialog, UINT controlId) {
  // The scene is made as the button is taken over.
  return dialog && view.SubclassDlgItem(controlId, dialog) && view.IsReady();
}

void ViewProductPreview::Show(int kind, const resbuf* chain) {
  view.SetKind(static_cast<uint32_t>(kind));
  view.ShowPreview(chain, true);
}

std::unique_ptr<ProductPreview> MakeProductPreview() { return std::make_unique<ViewProductPreview>(); }
