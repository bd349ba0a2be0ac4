// The preview tests' dialog (template IDD_PREVIEW_TEST): the drawing preview
// as control 5058, set up as the export dialog sets it up (pan and zoom
// cursors, mouse navigation), filled by the test, with the picks it
// reports kept. The unit tests and the runner's test plug-in both run it.
#pragma once

#include <functional>
#include <vector>

#include "jov_vantrix/preview/CMyViewJovGL.h"
#include "jov_vantrix/tests/data/preview_dialog_ids.h"
#include "platform/mfc/CDialog.h"

namespace preview_tests {

// The view with its menu in reach of the tests.
class PreviewView : public CMyViewJovGL {
 public:
  CMenu& Menu() { return menu_; }
  uint8_t Dragging() const { return dragging_; }
};

class PreviewDialog : public CDialog {
 public:
  explicit PreviewDialog(CWnd* parent = nullptr) : CDialog(IDD_PREVIEW_TEST, parent) {}

  PreviewView view;
  // Runs once the view is set up, to fill it.
  std::function<void(PreviewView&)> fill;
  // The lParam of every pick the view reported.
  std::vector<LPARAM> picks;

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
};

}  // namespace preview_tests
