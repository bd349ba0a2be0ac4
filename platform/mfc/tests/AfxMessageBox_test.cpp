// The framework's message box: the module's name as caption, the usual
// icon for a box without one, the active window as owner, texts from the
// string table of any length.
#include "platform/mfc/AfxMessageBox.h"

#include <string>

#include "platform/mfc/CString.h"
#include "platform/mfc/tests/framework_fixture.h"

namespace {

class FrameworkMessageBoxes : public FrameworkTest {
 protected:
  MessageBoxCall LastBox() {
    auto boxes = Events(UiEvent::Kind::MessageBox);
    return boxes.empty() ? MessageBoxCall{} : boxes.back().box;
  }
};

}  // namespace

TEST_F(FrameworkMessageBoxes, CaptionIconAndOwnerFollowTheFrameworksRules) {
  HWND main = TopLevel();
  HWND control = Child(main, 3, {0, 0, 10, 10});
  ::SetFocus(control);
  driver.AnswerMessageBox(IDNO);
  EXPECT_EQ(AfxMessageBox("Delete it?", MB_YESNO), IDNO);
  MessageBoxCall box = LastBox();
  EXPECT_EQ(box.caption, "DialogTests");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(box.owner, main) << "the active top-level window";

  EXPECT_EQ(AfxMessageBox("Done.", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION)) << "an icon given is kept";
  AfxMessageBox("Retry?", MB_RETRYCANCEL);
  EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_RETRYCANCEL)) << "no usual icon for this kind";
}

TEST_F(FrameworkMessageBoxes, PromptsComeWholeFromTheStringTable) {
  AfxMessageBox(IDS_LONG);
  MessageBoxCall box = LastBox();
  std::string expected;
  for (int i = 0; i < 20; ++i) expected += "Ein sehr langer Text. ";
  EXPECT_EQ(box.text, expected) << "longer than the first buffer tried";
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(box.owner, nullptr) << "no window is active";

  CString missing("left over");
  EXPECT_FALSE(missing.LoadString(9999));
  EXPECT_EQ(missing, "");
}
