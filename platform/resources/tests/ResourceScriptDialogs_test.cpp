// DIALOG, DIALOGEX and MENU statements.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/resources/compiler/ResourceScriptCompiler.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_styles.h"

namespace fs = std::filesystem;

namespace {

class DialogScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jov_rcd_XXXXXX";
    dir_ = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(dir_); }

  ResourceTable Compile(const std::string& script) {
    std::ofstream(dir_ + "/d.rc") << script;
    return ResourceScriptCompiler().Compile(dir_ + "/d.rc");
  }
  std::string ErrorOf(const std::string& script) {
    try {
      Compile(script);
    } catch (const ScriptError& e) {
      return e.what();
    }
    return "<compiled>";
  }
  DialogTemplate Dialog(const ResourceTable& table, WORD id) {
    const ResourceEntry* e = table.Find(ResourceKey::Number(kRtDialog), ResourceKey::Number(id));
    DialogTemplate t;
    std::string why;
    EXPECT_TRUE(e && ParseDialogTemplate(e->data.data(), e->data.size(), &t, &why)) << why;
    return t;
  }
  std::string dir_;
};

}  // namespace

TEST_F(DialogScripts, DialogExWithEveryControlStatement) {
  DialogTemplate t = Dialog(Compile(R"(
#define IDD_EXPORT 5005
#define IDC_FILE 5039
IDD_EXPORT DIALOGEX 0, 0, 320, 200, 77
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
EXSTYLE WS_EX_CONTROLPARENT
CAPTION "Export to Vantrix – sekce"
FONT 8, "MS Shell Dlg", 400, 0, 0x1
MENU 300
BEGIN
    LTEXT           "File:",IDC_STATIC,7,7,40,8
    COMBOBOX        IDC_FILE,50,7,200,80,CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL
    PUSHBUTTON      "...",5038,255,7,20,14, NOT WS_TABSTOP
    EDITTEXT        5054,50,25,40,12,ES_AUTOHSCROLL | ES_NUMBER, WS_EX_CLIENTEDGE, 12
    CONTROL         "Descriptions",5050,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,7,45,100,10
    CONTROL         "",5058,"SysListView32",LVS_REPORT | LVS_SINGLESEL | WS_BORDER,7,60,150,100
    CONTROL         "",5060,"msctls_trackbar32",TBS_AUTOTICKS | WS_TABSTOP,160,60,100,15
    CONTROL         "x",5061,BUTTON,BS_PUSHBUTTON,160,80,20,10
    ICON            5001,IDC_STATIC,280,30,21,20
    AUTORADIOBUTTON "A",5070,7,170,30,10,WS_GROUP
    AUTORADIOBUTTON "B",5071,40,170,30,10
    GROUPBOX        "Group",5072,200,150,100,40
    DEFPUSHBUTTON   "OK",IDOK,200,180,50,14
    PUSHBUTTON      "Cancel",IDCANCEL,260,180,50,14
    CONTROL         "",5080,"Static",SS_BLACKFRAME,0,0,1,1
    BEGIN 1, 2 END
END
)"),
                            5005);
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(t.helpId, 77u);
  EXPECT_EQ(t.style, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  EXPECT_EQ(t.exStyle, WS_EX_CONTROLPARENT);
  EXPECT_EQ(t.caption, "Export to Vantrix \x96 sekce") << "code page 1250 en dash";
  EXPECT_TRUE(t.hasFont);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.typeface, "MS Shell Dlg");
  EXPECT_EQ(t.weight, 400);
  EXPECT_EQ(t.charset, 1);
  EXPECT_EQ(t.menu, TemplateRef::Number(300));
  ASSERT_EQ(t.items.size(), 15u);
  const DWORD base = WS_CHILD | WS_VISIBLE;
  EXPECT_EQ(t.items[0].style, base | SS_LEFT | WS_GROUP);
  EXPECT_EQ(t.items[0].id, -1) << "32-bit ids in a DIALOGEX";
  EXPECT_EQ(t.items[0].windowClass, TemplateRef::Number(0x82));
  EXPECT_EQ(t.items[1].style, base | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL)
      << "the given style adds to COMBOBOX's";
  EXPECT_EQ(t.items[1].cy, 80);
  EXPECT_EQ(t.items[2].style, base | BS_PUSHBUTTON) << "NOT clears the default tab stop";
  EXPECT_EQ(t.items[3].style, base | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER);
  EXPECT_EQ(t.items[3].exStyle, WS_EX_CLIENTEDGE);
  EXPECT_EQ(t.items[3].helpId, 12u);
  EXPECT_EQ(t.items[4].windowClass, TemplateRef::Number(0x80)) << "known class names become atoms";
  EXPECT_EQ(t.items[4].title, TemplateRef::Name("Descriptions"));
  EXPECT_EQ(t.items[5].windowClass, TemplateRef::Name("SysListView32"));
  EXPECT_EQ(t.items[5].style, base | LVS_REPORT | LVS_SINGLESEL | WS_BORDER);
  EXPECT_EQ(t.items[6].windowClass, TemplateRef::Name("msctls_trackbar32"));
  EXPECT_EQ(t.items[7].windowClass, TemplateRef::Number(0x80));
  EXPECT_EQ(t.items[8].title, TemplateRef::Number(5001)) << "an icon is named by its resource";
  EXPECT_EQ(t.items[8].style, base | SS_ICON);
  EXPECT_EQ(t.items[9].style, base | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP);
  EXPECT_EQ(t.items[11].style, base | BS_GROUPBOX);
  EXPECT_EQ(t.items[12].style, base | BS_DEFPUSHBUTTON | WS_TABSTOP);
  EXPECT_EQ(t.items[12].id, IDOK);
  EXPECT_EQ(t.items[14].creationData, (std::vector<BYTE>{1, 0, 2, 0}));
}

TEST_F(DialogScripts, PlainDialogDefaults) {
  DialogTemplate t = Dialog(Compile(R"(
5010 DIALOG DISCARDABLE 20, 20, 180, 30
CAPTION "Pick"
BEGIN
  LTEXT "", 5063, 5, 5, 170, 20
  LTEXT "", -1, 5, 5, 170, 20
END
)"),
                            5010);
  EXPECT_FALSE(t.extended);
  EXPECT_EQ(t.style, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION) << "default style, caption added";
  EXPECT_FALSE(t.hasFont);
  EXPECT_EQ(t.items[0].id, 5063);
  EXPECT_EQ(t.items[1].id, 65535) << "16-bit ids in a DIALOG";
  EXPECT_EQ(t.x, 20);
  EXPECT_EQ(t.cy, 30);
}

TEST_F(DialogScripts, Menus) {
  ResourceTable table = Compile(R"(
300 MENU
BEGIN
  POPUP "&File"
  BEGIN
    MENUITEM "&Open", 100
    MENUITEM SEPARATOR
    POPUP "Recent", GRAYED
    BEGIN
      MENUITEM "one.cad", 110, CHECKED
    END
  END
  MENUITEM "Help", 200, HELP INACTIVE
END
)");
  const ResourceEntry* e = table.Find(ResourceKey::Number(kRtMenu), ResourceKey::Number(300));
  ASSERT_NE(e, nullptr);
  std::vector<MenuTemplateItem> items;
  ASSERT_TRUE(ParseMenuTemplate(e->data.data(), e->data.size(), &items, nullptr));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].flags, MF_POPUP);
  EXPECT_EQ(items[0].text, "&File");
  ASSERT_EQ(items[0].children.size(), 3u);
  EXPECT_EQ(items[0].children[1].flags, MF_SEPARATOR);
  EXPECT_EQ(items[0].children[2].flags, MF_POPUP | MF_GRAYED);
  EXPECT_EQ(items[0].children[2].children[0].flags, MF_CHECKED);
  EXPECT_EQ(items[0].children[2].children[0].id, 110u);
  EXPECT_EQ(items[1].flags, MF_HELP | MF_DISABLED);
}

TEST_F(DialogScripts, FaultsNameTheLine) {
  EXPECT_NE(ErrorOf("1 DIALOG 0, 0, 10, 10\nBEGIN\n  FROB 1, 2\nEND\n").find("d.rc:3: error: unknown control statement"),
            std::string::npos);
  EXPECT_NE(ErrorOf("1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\" 1, 2, 3, 4, 5\nEND\n").find("d.rc:3: error: expected ','"),
            std::string::npos);
  EXPECT_NE(ErrorOf("1 DIALOG 0, 0, 40000, 10\nBEGIN\nEND\n").find("no dialog coordinate"), std::string::npos);
  EXPECT_NE(ErrorOf("1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 2, 3, 4, 5\n").find("dialog without END"),
            std::string::npos);
  EXPECT_NE(ErrorOf("1 MENU BEGIN MENUITEM \"a\" END\n").find("expected ','"), std::string::npos);
  EXPECT_NE(ErrorOf("1 DIALOG 0, 0, 10, 10\nBEGIN\n  CONTROL \"\", 1, 5, 0, 0, 0, 1, 1\nEND\n").find("window class"),
            std::string::npos);
}
