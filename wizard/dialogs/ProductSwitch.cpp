#include "wizard/dialogs/ProductSwitch.h"

#include "platform/mfc/CWnd.h"
#include "platform/resources/wizard/resource_ids.h"

bool SetUpProductSwitch(CWnd* dialog, UINT check, UINT productRadio, UINT catalogueRadio, CString& catalogueCaption,
                        CString& productCaption) {
  CWnd* box = dialog->GetDlgItem(static_cast<int>(check));
  box->GetWindowText(catalogueCaption);
  productCaption.LoadString(IDS_PRODUCT_SWITCH);
  const bool radio = productCaption == "Voransicht";
  if (radio) {
    box->ShowWindow(SW_HIDE);
  } else {
    dialog->GetDlgItem(static_cast<int>(productRadio))->ShowWindow(SW_HIDE);
    dialog->GetDlgItem(static_cast<int>(catalogueRadio))->ShowWindow(SW_HIDE);
  }
  return radio;
}
