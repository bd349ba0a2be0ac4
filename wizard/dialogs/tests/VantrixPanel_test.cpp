// The Vantrix panel of the parametric dialog on a radiator: the project
// list's floor, room and item chosen from the last ones, the record placed
// by OK and marked in the list, the outside radiator catalogue instead,
// and the panel's forms for products of other kinds.
#include <filesystem>

#include "common/VantrixDataList.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/driver/radiator_script.h"
#include "platform/win32/driver/session_script.h"
#include "wizard/dialogs/CPPDlg.h"
#include "wizard/dialogs/ComboSelection.h"
#include "wizard/dialogs/tests/DialogTest.h"
#include "wizard/dialogs/tests/TestCatalogue.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/RecordLookups.h"

using namespace dialog_tests;

namespace {

struct Item {
  const char* floor;
  const char* room;
  const char* item;
  const char* length;
  bool marked;
  bool complete = true;
};

class VantrixPanel : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    db = Catalogue(TestCatalogue(), 'T', "TXR0001-0001");
    RegisterRadiatorScriptKeyword();
  }
  void TearDown() override {
    CurrentSessionScript().Clear();
    DialogTest::TearDown();
  }
  // The project list "project.vtx" of the items, in this order.
  void ProjectList(const std::vector<Item>& items) {
    CVantrixData list;
    for (const Item& i : items) {
      auto* record = new CVantrixData(CVantrixData::kFieldCount);
      const std::string type = std::string("Type ") + i.item;
      const char* fields[18] = {i.item,           type.c_str(), "Panel", "Korpalin", i.length, "600",
                                "100",            "M22",  "1450",  i.complete ? "65" : "", i.room, "In",
                                "Out",            i.floor, "a",     "b",     "c",   "d"};
      for (uint32_t f = 0; f < 18; ++f) record->SetField(f, fields[f]);
      record->marked = i.marked;
      list.AddTail(record);
    }
    std::filesystem::create_directories(Profile("Vantrix"));
    std::filesystem::remove(folder.Path() + "/Vantrix/project.vtx");
    VantrixListLoad none;
    ASSERT_TRUE(SaveVantrixDataList(list, (folder.Path() + "/Vantrix/project.vtx").c_str(), none));
  }
  INT_PTR Run(CPPDlg& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_PP, std::move(actions));
    return dialog.DoModal();
  }
  static std::string Selected(const CComboBox& combo) { return SelectedText(combo).GetString(); }
  static std::string Value(CPPDlg& d, const char* name) {
    const char* v = FindParamByName(*d.params, name)->GetText(ParamText::kValue);
    return v ? v : "";
  }
  static std::string Text(HWND dialog, int id) {
    char text[128] = "";
    ::GetWindowTextA(::GetDlgItem(dialog, id), text, sizeof text);
    return text;
  }
  // Marked flags of the saved list, in its order.
  std::string SavedMarks() {
    CVantrixData list;
    LoadVantrixDataList(list, (folder.Path() + "/Vantrix/project.vtx").c_str());
    std::string marks;
    for (const CVantrixData* r = list.First(); r; r = r->Next()) marks += r->marked ? '1' : '0';
    return marks;
  }
  void CatalogueInstalled() { Host().korpalinPath = JOV_TEST_MODULE_DIR "/Korpalin_stl_x64.dll"; }

  jovDatabase::Database* db = nullptr;
  const std::vector<Item> items = {{"1NP", "101 Kitchen", "T1", "1000", false},
                                   {"1NP", "104", "T2", "1200", false},
                                   {"1NP", "112", "T3", "1400", true},
                                   {"1NP", "115", "T4", "1600", false},
                                   {"1NP", "116", "T9", "900", false, false},  // incomplete: never listed
                                   {"2NP", "201", "T5", "800", false}};
};

}  // namespace

TEST_F(VantrixPanel, TheLastFloorAndRoomChooseTheNextUnplacedItem) {
  ProjectList(items);
  struct Case {
    const char* lastFloor;
    const char* lastRoom;
    const char* floor;
    const char* room;
    const char* item;
    const char* length;
  };
  const Case cases[] = {
      {"", "0", "1NP", "101 Kitchen", "T1", "1000"},  {"1NP", "12", "1NP", "101 Kitchen", "T1", "1000"},
      {"1NP", "110", "1NP", "115", "T4", "1600"},      {"1NP", "500", "1NP", "101 Kitchen", "T1", "1000"},
      {"2NP", "0", "2NP", "201", "T5", "800"},         {"3NP", "0", "1NP", "101 Kitchen", "T1", "1000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lastFloor) + "/" + c.lastRoom);
    Settings(std::string("[VANTRIX]\r\nVANTRIX_ACTUAL=project.vtx\r\nLAST_FLOOR=") + c.lastFloor +
             "\r\nLAST_ROOM=" + c.lastRoom + "\r\n");
    CPPDlg dialog(1, nullptr, false, false);
    dialog.SetConnection(0, 0, nullptr, true);
    Run(dialog, {DialogAction::Run([&](HWND d) {
                   EXPECT_EQ(Selected(dialog.floorCombo), c.floor);
                   EXPECT_EQ(Selected(dialog.roomCombo), c.room);
                   EXPECT_EQ(Selected(dialog.itemCombo), c.item);
                   EXPECT_EQ(Value(dialog, "L"), c.length);
                   EXPECT_EQ(Text(d, IDC_PP_FIELD1), std::string("Type ") + c.item);
                   EXPECT_EQ(Text(d, IDC_PP_FIELD9), "65");
                   EXPECT_EQ(dialog.floorCombo.GetCount(), 2) << "each floor once";
                   EXPECT_EQ(dialog.markedCombo.GetCount(), 1);
                   EXPECT_EQ(Selected(dialog.markedCombo), "112 - T3");
                 }),
                 DialogAction::Cancel()});
  }
}

TEST_F(VantrixPanel, OkPlacesTheItemMarksItAndTheLastItemEndsTheProjectsUse) {
  ProjectList(items);
  Settings("[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=project.vtx\r\nLAST_FLOOR=1NP\r\nLAST_ROOM=104\r\n");
  CPPDlg dialog(1, nullptr, false, false);
  dialog.SetConnection(0, 0, nullptr, true);
  ASSERT_EQ(Run(dialog, {// A floor changed chooses the next room from the old one's number on.
                         DialogAction::Choose(IDC_PP_FLOOR, "2NP"), DialogAction::Run([&](HWND) {
                           EXPECT_EQ(Selected(dialog.roomCombo), "201");
                           EXPECT_EQ(Value(dialog, "L"), "800");
                         }),
                         DialogAction::Choose(IDC_PP_FLOOR, "1NP"), DialogAction::Run([&](HWND) {
                           EXPECT_EQ(Selected(dialog.roomCombo), "101 Kitchen") << "no room of 201 or more";
                         }),
                         DialogAction::Choose(IDC_PP_ROOM, "115"), DialogAction::Run([&](HWND) {
                           EXPECT_EQ(Value(dialog, "L"), "1600");
                           EXPECT_EQ(dialog.list.GetItemText(0, 1), "1600.00");
                         }),
                         DialogAction::Ok()}),
            IDOK);
  EXPECT_EQ(XDataTexts("_VANTRIX"), (std::vector<std::string>{"#12", "T4", "Type T4", "Panel", "Korpalin", "M22",
                                                              "1450", "65", "1NP", "a", "b", "c", "d"}));
  EXPECT_EQ(SavedMarks(), "00110") << "T4 placed; the incomplete item left the file";
  EXPECT_EQ(Setting("VANTRIX", "LAST_ROOM"), "115");
  EXPECT_EQ(Setting("VANTRIX", "LAST_FLOOR"), "1NP");
  EXPECT_EQ(Setting("VANTRIX", "VANTRIX_USE"), "1");

  // The last item placed ends the project's use.
  ProjectList({{"1NP", "101", "T1", "1000", true}, {"1NP", "102", "T2", "1000", false}});
  CPPDlg last(1, nullptr, false, false);
  last.SetConnection(0, 0, nullptr, true);
  ASSERT_EQ(Run(last, {DialogAction::Ok()}), IDOK);
  EXPECT_EQ(SavedMarks(), "11");
  EXPECT_EQ(Setting("VANTRIX", "VANTRIX_USE"), "0");
}

TEST_F(VantrixPanel, AProjectListThatCannotBeWrittenKeepsTheItemOfferedAndTheDialogOpen) {
  ProjectList(items);
  Settings("[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=project.vtx\r\n");
  CPPDlg dialog(1, nullptr, false, false);
  dialog.SetConnection(0, 0, nullptr, true);
  const std::string list = folder.Path() + "/Vantrix/project.vtx";
  ASSERT_EQ(Run(dialog, {DialogAction::Run([&](HWND) {
                           // Read when the dialog opened; a folder in its place now.
                           std::filesystem::remove(list);
                           std::filesystem::create_directories(list + "/in the way");
                         }),
                         DialogAction::Ok(), DialogAction::Run([&](HWND d) {
                           EXPECT_TRUE(::IsWindowVisible(d));
                           ASSERT_EQ(MessageTexts().size(), 1u);
                           EXPECT_NE(MessageTexts()[0].find("project.vtx"), std::string::npos) << MessageTexts()[0];
                         }),
                         DialogAction::Cancel()}),
            IDCANCEL);
  EXPECT_EQ(dialog.vantrixList.First()->marked, 0) << "the item is still to be placed";
}

TEST_F(VantrixPanel, WithoutAProjectListNothingIsWrittenAndTheUseStays) {
  for (const char* settings : {"[VANTRIX]\r\nVANTRIX_USE=1\r\n", "[VANTRIX]\r\nVANTRIX_USE=1\r\nVANTRIX_ACTUAL=none.vtx\r\n"}) {
    SCOPED_TRACE(settings);
    Settings(std::string(settings) + "LAST_FLOOR=1NP\r\nLAST_ROOM=104\r\n");
    CPPDlg dialog(1, nullptr, false, false);
    dialog.SetConnection(0, 0, nullptr, true);
    ASSERT_EQ(Run(dialog, {DialogAction::Run([&](HWND d) {
                             EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(d, IDC_PP_ROOM)));
                             for (int empty : {IDC_PP_FLOOR, IDC_PP_ROOM, IDC_PP_ITEM})
                               EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, empty))) << empty;
                           }),
                           DialogAction::Ok()}),
              IDOK);
    EXPECT_EQ(CountOf("_VANTRIX"), 0);
    EXPECT_EQ(Setting("VANTRIX", "VANTRIX_USE"), "1") << "an empty list is no project placed";
    EXPECT_EQ(Setting("VANTRIX", "LAST_FLOOR") + " " + Setting("VANTRIX", "LAST_ROOM"), "1NP 104") << "the stored choice";
    TheWizardApp().FreeResultChains();
  }
}

TEST_F(VantrixPanel, TheRadiatorCatalogueGivesTheSizeAndItsOwnRecord) {
  ProjectList(items);
  Settings("[VANTRIX]\r\nVANTRIX_ACTUAL=project.vtx\r\n");
  CatalogueInstalled();
  std::string error;
  ASSERT_TRUE(CurrentSessionScript().LoadText(
      "radiator cancel\n"
      "radiator RK22 \"Panel radiator 22\" K600 \"Korpalin 22, 600 high\" 1 2 3 1400 650 110 1450 65\n",
      "/", &error))
      << error;
  CPPDlg dialog(1, nullptr, false, false);
  dialog.SetConnection(0, 0, nullptr, true);
  ASSERT_EQ(Run(dialog, {DialogAction::Click(IDC_PP_CATALOGUE), DialogAction::Run([&](HWND) {
                           EXPECT_FALSE(dialog.catalogueUsed) << "nothing chosen";
                           EXPECT_EQ(Value(dialog, "L"), "1000");
                         }),
                         DialogAction::Click(IDC_PP_CATALOGUE), DialogAction::Run([&](HWND) {
                           EXPECT_TRUE(dialog.catalogueUsed);
                           EXPECT_EQ(Value(dialog, "L"), "1400");
                           EXPECT_EQ(Value(dialog, "V"), "650");
                           EXPECT_EQ(Value(dialog, "S"), "110");
                           EXPECT_EQ(dialog.list.GetItemText(0, 1), "1400.00");
                         }),
                         DialogAction::Ok()}),
            IDOK);
  // The catalogue's record with the CT of the project item chosen before,
  // and nothing marked.
  EXPECT_EQ(XDataTexts("_VANTRIX"),
            (std::vector<std::string>{"#12", "T1", "RK22", "Panel radiator 22", "K600", "65", "1450", "", "",
                                      "Korpalin 22, 600 high", "1", "2", "3"}));
  EXPECT_EQ(SavedMarks(), "00100");
}

TEST_F(VantrixPanel, OtherProductsAndRadiatorsWithoutTheProjectShowLessOfThePanel) {
  CatalogueInstalled();
  struct Case {
    const char* item;
    bool vantrix;
    const char* library;  // where the registry says the catalogue is ("": not installed)
    bool group, combos, button;
  };
  const char* const installed = JOV_TEST_MODULE_DIR "/Korpalin_stl_x64.dll";
  const Case cases[] = {
      {"TXP0001-0001", true, installed, false, false, false},  // not a radiator
      {"TXR0001-0001", false, installed, true, false, true},   // the catalogue button alone
      {"TXR0001-0001", false, "", false, false, false},  // no empty group
      {"TXR0001-0001", true, "", true, true, false},
      // Entered in the registry, but the library is not there.
      {"TXR0001-0001", false, JOV_TEST_MODULE_DIR "/missing/Korpalin_stl_x64.dll", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.item) + (c.vantrix ? " project " : " ") + c.library);
    Host().korpalinPath = c.library;
    ASSERT_EQ(db->GoIndexID(c.item), jovDatabase::eOK);
    CPPDlg dialog(1, nullptr, false, false);
    dialog.SetConnection(0, 0, nullptr, c.vantrix);
    Run(dialog, {DialogAction::Run([&](HWND d) {
                   EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d, IDC_PP_PANEL)) != FALSE, c.group);
                   EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d, IDC_PP_FLOOR)) != FALSE, c.combos);
                   EXPECT_EQ(::IsWindowVisible(::GetDlgItem(d, IDC_PP_CATALOGUE)) != FALSE, c.button);
                   if (c.group) {
                     EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(d, IDC_PP_CATALOGUE)) != FALSE, c.button);
                   }
                   RECT list, group;
                   ::GetWindowRect(::GetDlgItem(d, IDC_PP_PARAMS), &list);
                   ::GetWindowRect(::GetDlgItem(d, IDC_PP_PANEL), &group);
                   // The list reaches down to the shrunk panel, over the hidden one,
                   // and stays above the whole one.
                   if (!c.group)
                     EXPECT_EQ(list.bottom, group.bottom - 2);
                   else if (!c.combos)
                     EXPECT_EQ(list.bottom, group.top - 2);
                   else
                     EXPECT_LT(list.bottom, group.top);
                 }),
                 DialogAction::Cancel()});
  }
}
