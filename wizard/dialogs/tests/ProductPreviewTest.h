// The product preview tests' desk: a clean headless desktop, the scene
// library's resources where they are looked for, the test dialog's
// resources (with the preview's menu and cursors) current, a driver for
// menus, and the dialog open modeless with its view 400 x 300 pixels. The
// dialog keeps what the view told it and answers picks as told.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "dataformat/tests/ChainFixtures.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "objectgl/preview/tests/PreviewTestDesk.h"
#include "platform/mfc/CDataExchange.h"
#include "platform/mfc/CDialog.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/headless_input.h"
#include "wizard/dialogs/CViewJovGL.h"
#include "wizard/dialogs/tests/data/product_preview_dialog_ids.h"
#include "wizard/frame/controls/CSelPoint.h"

namespace product_preview_tests {

using preview_desk::kHeight;
using preview_desk::kWidth;

// The view with its arrow in reach.
class TestView : public CViewJovGL {
 public:
  using CViewJovGL::CViewJovGL;
  GLArrow* Arrow() const { return arrow_; }
};

// What the view told its parent.
struct Told {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  double angle = 0;          // 0x81F4: the angle lParam pointed at
  POINT point{};             // 0x8066: the point lParam pointed at
  size_t menusShown = 0;     // how many menus had been shown by then
};

class PreviewDialog : public CDialog {
 public:
  PreviewDialog(uint32_t kind, uint32_t menuId)
      : CDialog(IDD_PRODUCT_PREVIEW_TEST, nullptr), view(kind, 1, menuId, 0) {}

  TestView view;
  std::vector<Told> told;
  std::vector<UINT> commands;
  BOOL pickAnswer = FALSE;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PRODUCT_PREVIEW_VIEW, view);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    // As the definition editor sets it up.
    view.SetPanCursors(IDC_PRODUCT_PREVIEW_PAN, IDC_PRODUCT_PREVIEW_PAN);
    view.SetZoomCursors(IDC_PRODUCT_PREVIEW_ZOOM, IDC_PRODUCT_PREVIEW_ZOOM);
    view.EnableMouseNavigation(true);
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->hwnd != view.m_hWnd) return CDialog::PreTranslateMessage(msg);
    Told t{msg->message, msg->wParam, msg->lParam};
    for (const UiEvent& e : UiJournal()) t.menusShown += e.kind == UiEvent::Kind::Menu;
    if (msg->message == COpenGLBtn::kRotationMessage) t.angle = *reinterpret_cast<const double*>(msg->lParam);
    if (msg->message == CViewJovGL::kRightClickMessage) t.point = *reinterpret_cast<const POINT*>(msg->lParam);
    told.push_back(t);
    return msg->message == CViewJovGL::kPickMessage ? pickAnswer : TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
  }
};

class ProductPreviewTest : public preview_desk::PreviewTestDesk<PreviewDialog> {
 protected:
  ProductPreviewTest() : PreviewTestDesk(JOV_PRODUCT_PREVIEW_RESOURCES, "ProductPreviewTests", "product-preview") {}

  // The dialog shown, its view of the kind kWidth x kHeight.
  TestView& Open(uint32_t kind, uint32_t menuId = 0) {
    return Show(std::make_unique<PreviewDialog>(kind, menuId), IDD_PRODUCT_PREVIEW_TEST);
  }
  // The client point (y from the top) showing a world point of the plain
  // top view.
  POINT ClientOf(const GLVector& p) {
    const double pixel = Scene().GetUnitsPerPixel();
    const GLVector& t = Camera().GetTarget();
    return {static_cast<LONG>(std::floor(kWidth / 2.0 + (p.x - t.x) / pixel)),
            static_cast<LONG>(std::floor(kHeight / 2.0 - (p.y - t.y) / pixel))};
  }
  // Where on the view a click picks the group; fails the test when none.
  POINT PickPoint(uint32_t id) {
    POINT p{-1, -1};
    EXPECT_TRUE(View().FindPickPoint(id, &p)) << "group " << id;
    return p;
  }
  // The scene's entities as "Class material" (texts with their first line,
  // markers "name N"), hidden ones marked so.
  std::vector<std::string> Content() {
    std::vector<std::string> out;
    for (uint32_t i = 0; i < Scene().GetEntityCount(); ++i) {
      GLEntity* e = Scene().GetEntity(i);
      if (auto* name = GLDynamicCast<GLName>(e)) {
        out.push_back("name " + std::to_string(static_cast<int32_t>(name->GetId())));
        continue;
      }
      std::string line = std::string(e->GetClass()->GetName()) + " " + std::to_string(e->GetMaterial());
      if (auto* text = GLDynamicCast<GLText>(e)) line += " \"" + text->GetLine(0) + "\"";
      out.push_back(line + (e->IsHidden() ? " hidden" : ""));
    }
    return out;
  }
  const CSelPoint* Point(uint32_t id) { return View().FindPoint(id); }
};

}  // namespace product_preview_tests
