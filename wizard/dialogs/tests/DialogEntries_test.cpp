// The dialogs as the exports open them: the mask editor on a definition
// proposed from an element, or on a kind's active mask.
#include "wizard/dialogs/DialogEntries.h"

#include <string>
#include <vector>

#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/dialogs.h"
#include "wizard/dialogs/CMaskDefDlg.h"
#include "wizard/dialogs/MaskFieldCodes.h"
#include "wizard/dialogs/tests/DialogsTest.h"

namespace dialogs_tests {
namespace {

class MaskPresets : public DialogsTest {
 protected:
  // The rows of the editor's mask list when it opened.
  DialogAction LookAtParts() {
    return DialogAction::Run([this](HWND dialog) {
      HWND list = ::GetDlgItem(dialog, IDC_MASK_PARTS);
      std::string rows;
      for (int row = 0, n = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); row < n; ++row) {
        char text[256] = "";
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        rows += (row ? " | " : "") + std::string(text);
      }
      parts.push_back(rows);
    });
  }
  std::vector<std::string> parts;
};

resbuf Node(int16_t code, const char* text, resbuf* next) {
  resbuf node{};
  node.code = code;
  node.value.text = const_cast<char*>(text);
  node.next = next;
  return node;
}

TEST_F(MaskPresets, AnElementsDataOpensTheEditorOnItsKeysAndOkMakesItTheActiveMask) {
  Write(SetFile(), "INFO", "_MATERIAL", "CM");
  ReadMaskFieldCodes(SetFile().c_str());  // whatever an earlier test of this process left
  Write(SetFile(), "MASK_TOP", "MASK0", "Material code;#1");
  Write(SetFile(), "DESC_TOP", "MASK0", "Kept;&DN");
  resbuf value2 = Node(1000, "15", nullptr), key2 = Node(1000, "VE", &value2), value1 = Node(1000, "steel", &key2),
         key1 = Node(1000, "CM", &value1), pts2 = Node(1000, "0\n", &key1), pts1 = Node(1000, "_PTS", &pts2),
         type2 = Node(1000, "128", &pts1), type1 = Node(1000, "_TYPE", &type2), code = Node(1000, "TPP0015-0001", &type1),
         app = Node(1001, "JOV_DATA", &code), layer = Node(8, "0", &app), entity = Node(0, "LINE", &layer);
  driver.OnDialog(IDD_MASK_DEF, {LookAtParts(), DialogAction::Ok()});
  EXPECT_EQ(RunMaskPreset(&entity, 0, 'Z', nullptr), 1);
  EXPECT_EQ(parts, std::vector<std::string>{"Material code | Text \" \" | Text \"&VE\" | Text \" \""});
  EXPECT_EQ(Read(IniFile(), "DESC", "MASK_TOP"), "#1 &VE") << "the type code's letter chose the kind";
  EXPECT_EQ(Section(SetFile(), "DESC_TOP"), "MASK0=Kept;&DN|MASK1=Proposed mask;#1 &VE");
  EXPECT_TRUE(Boxes().empty());

  driver.OnDialog(IDD_MASK_DEF, {DialogAction::Cancel()});
  EXPECT_EQ(RunMaskPreset(&entity, 0, 0, nullptr), 0) << "any end but OK";
}

TEST_F(MaskPresets, WithALetterTheEditorOpensOnThatKindsActiveMask) {
  Write(IniFile(), "DESC", "MASK_ZDRAVO", "&DN-&PN");
  driver.OnDialog(IDD_MASK_DEF, {LookAtParts(), DialogAction::Cancel()});
  const resbuf noData = Node(0, "LINE", nullptr);
  EXPECT_EQ(RunMaskPreset(&noData, 1, 'z', nullptr), 0);
  EXPECT_EQ(parts, std::vector<std::string>{"Text \"&DN\" | Text \"-\" | Text \"&PN\""})
      << "the sanitary kind's active mask; without field entries its tokens are free texts";
  EXPECT_TRUE(Boxes().empty()) << "the element is not looked at";
}

TEST_F(MaskPresets, AnElementWithoutDataIsToldAndOpensNothing) {
  const resbuf other = Node(1001, "OTHER", nullptr);
  const resbuf cut = Node(1001, "JOV_DATA", nullptr);
  for (const resbuf* chain : {static_cast<const resbuf*>(nullptr), &other, &cut}) {
    ClearUiJournal();
    EXPECT_EQ(RunMaskPreset(chain, 0, 'T', nullptr), -1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{String(IDS_NO_ELEMENT_DATA_CAPTION) + "|" + String(IDS_NO_ELEMENT_DATA) +
                                                "|" + std::to_string(MB_ICONERROR)});
    EXPECT_TRUE(Events(UiEvent::Kind::DialogOpened).empty());
  }
}

}  // namespace
}  // namespace dialogs_tests
