// Drives the section generators as the command does, in process: the real
// host library with a drawing open and entities preselected, the plug-in's
// resource texts, the test product library "Wizard.dll" beside this program
// (it hands out the chains a test gives it and records every call) and a
// small catalogue. The section settings are kept as the settings files
// hold them (metres, millimetres of paper) and converted into the
// parameter block as the section dialog does before it generates.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "common/CResourceQmr.h"
#include "common/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/tests/drawing/RealHost.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"
#include "tests/support/ProgramRun.h"

// The settings of a section drawing as "Jov.ini" and "Jov_lin.dat" hold
// them, with the defaults of a missing key.
struct SectionSettings {
  // [CUT_DLG], metres.
  double distRiser = 0.0, distElm = 0.0, heightFloor = 0.0, distPipe = 0.0, pipeFloorDist = 0.0;
  double sameLength = 0.0, sameHeight = 0.0;
  bool enableSameLength = false, enableSameHeight = false;
  double distBubble1 = 0.1, distBubble2 = 0.3, distFloorX = 0.2, arrowFloor = 0.075;
  double lineFloor1 = 0.25, lineFloor2 = 0.25, pipeBeginLen = 0.1, pipeBeginLenVert = 0.1;
  double distDesc = 0.05, distDescSpace = 0.05, riserRadius = 0.08;
  int descElm = 1, descRiser = 1, descLastRiser = 0, drawFloor = 0, pipeSwitch = 1;
  std::string descFloor;
  std::string maskWithoutProd = "-&CM-\\&TY\\&L/&V\\&VE &SR";
  std::string maskDravikProd = "-&CM-\\#T\\&VE &SR";
  // [DESC]: layers, and text sizes in millimetres of paper.
  std::string layer, layerBranch, riserLayer;
  double height = 0.0, heightBranch = 0.0, riserTextHeight = 0.0;
  double bubbleDiameter = 0.0, riserBubbleDia = 0.0, scFactorBranch = 0.0, scFactor = 0.0;
  int bubbleBranch = 1, riserBubble = 1;
  std::string maskScheme = "-&CM-\\#R3\\&VE &SR";
  // [MODULE_T] of "Jov_lin.dat": "type code;second text;layer".
  std::string moduleSupply, moduleReturn;
};

// 5 March 2013, 14:07:09 local time: the stamps "05.03.2013-14.07.09" and
// "14.07.09-05.03.2013".
inline std::time_t SectionTestClock() {
  std::tm moment{};
  moment.tm_year = 113;
  moment.tm_mon = 2;
  moment.tm_mday = 5;
  moment.tm_hour = 14;
  moment.tm_min = 7;
  moment.tm_sec = 9;
  moment.tm_isdst = -1;
  return std::mktime(&moment);
}

class SectionDriver {
 public:
  SectionDriver() : resources_(JOV_TEST_MODULE_DIR "/Jov_Vantrix.qmr") {}
  ~SectionDriver() {
    CJov_VantrixApp& app = TheApp();
    if (app.m_hWizard) {
      if (auto reset = Control<void (*)()>("TestWizard_Reset")) reset();
      FreeLibrary(app.m_hWizard);
    }
    app.m_hWizard = nullptr;
    app.m_pPPGetResbufEx = nullptr;
    app.m_pPPFree = nullptr;
  }
  SectionDriver(const SectionDriver&) = delete;
  SectionDriver& operator=(const SectionDriver&) = delete;

  // Host, texts and catalogue ready; false (with the failures reported)
  // otherwise.
  bool Ready(const std::string& catalogueSource) {
    return host_.Loaded() && resources_.IsLoaded() && host_.Catalogue('T', catalogueSource);
  }
  RealHost& Host() { return host_; }
  const std::string& Folder() const { return host_.Folder(); }

  // Opens the drawing with the entities selected and loads the product
  // library, whose record of calls starts empty.
  bool Open(const std::string& drawing, const std::string& handles) {
    if (!host_.Open(drawing, handles)) return false;
    if (!TheApp().m_hWizard && !TheApp().LoadWizardDll()) {
      ADD_FAILURE() << "Wizard.dll beside the test program";
      return false;
    }
    Control<void (*)()>("TestWizard_Reset")();
    return true;
  }

  // What the product library hands out from now on (copies of the chains).
  void Answer(const resbuf* geometry, const resbuf* data, int result = 1) {
    Control<void (*)(int, const resbuf*, const resbuf*)>("TestWizard_Answer")(result, geometry, data);
  }
  struct Call {
    int view;
    std::string names, values, product;
  };
  std::vector<Call> Calls() {
    std::vector<Call> calls;
    for (int i = 0;; ++i) {
      const int view = Control<int (*)(int)>("TestWizard_CallView")(i);
      if (view < 0) return calls;
      auto text = [&](const char* name) { return std::string(Control<const char* (*)(int)>(name)(i)); };
      calls.push_back({view, text("TestWizard_CallNames"), text("TestWizard_CallValues"),
                       text("TestWizard_CallProduct")});
    }
  }

  // The parameter block as the section dialog hands it to the generator:
  // distances times the drawing's units, text sizes times units / 1000 and
  // the scale, the drawing's own layers, the pipe types of "MODULE_T".
  static void FillParams(JovCutParams& p, const SectionSettings& s, const GLVector& basePoint) {
    const HostExport2D* host = TheApp().m_pHostTable;
    p.m_units = HostDrawingUnits(host);
    p.m_scale = HostDrawingScale(host);
    p.m_basePoint = basePoint;
    const double unit = p.m_units;
    const double paper = unit / 1000.0 * p.m_scale;
    p.m_riserDistance = s.distRiser * unit;
    p.m_elementDistance = s.distElm * unit;
    p.m_floorHeight = s.heightFloor * unit;
    p.m_pipeDistance = s.distPipe * unit;
    p.m_pipeFloorDistance = s.pipeFloorDist * unit;
    p.m_sameLengthOn = s.enableSameLength;
    p.m_sameLength = s.sameLength * unit;
    p.m_sameHeightOn = s.enableSameHeight;
    p.m_sameHeight = s.sameHeight * unit;
    p.m_bubbleDistance1 = s.distBubble1 * unit;
    p.m_bubbleDistance2 = s.distBubble2 * unit;
    p.m_bubbleDistance3 *= unit;
    p.m_floorDistanceX = s.distFloorX * unit;
    p.m_floorArrow = s.arrowFloor * unit;
    p.m_floorLine1 = s.lineFloor1 * unit;
    p.m_floorLine2 = s.lineFloor2 * unit;
    p.m_pipeBeginLength = s.pipeBeginLen * unit;
    p.m_verticalPipeBeginLength = s.pipeBeginLenVert * unit;
    p.m_descriptionDistance = s.distDesc * unit;
    p.m_descriptionLineSpacing = s.distDescSpace * unit;
    p.m_riserRadius = s.riserRadius * unit;
    p.m_descriptionHeight = s.height * paper;
    p.m_branchTextHeight = s.heightBranch * paper;
    p.m_riserTextHeight = s.riserTextHeight * paper;
    p.m_bubbleDiameter = s.bubbleDiameter * paper;
    p.m_riserBubbleDiameter = s.riserBubbleDia * paper;
    p.m_firstLineHeight *= unit * p.m_scale;
    p.m_branchWidthFactor = s.scFactorBranch;
    p.m_descriptionWidthFactor = s.scFactor;
    p.m_branchBubble = s.bubbleBranch;
    p.m_riserBubble = s.riserBubble;
    p.m_describeElements = s.descElm;
    p.m_describeRisers = s.descRiser;
    p.m_describeLastRiser = s.descLastRiser;
    p.m_drawFloors = s.drawFloor;
    p.m_pipeSwitch = s.pipeSwitch != 0;
    p.m_floorDescription = s.descFloor.c_str();
    p.m_maskWithoutProduct = s.maskWithoutProd.c_str();
    p.m_maskWithProduct = s.maskDravikProd.c_str();
    p.m_maskScheme = s.maskScheme.c_str();

    // An empty layer setting (the placeholder's default) or "*" is the
    // drawing's current layer.
    const char* current = HostGetVariable(host, "CLAYER");
    auto layer = [&](const std::string& setting) {
      return CString((setting.empty() || setting == "*") && current ? current : setting.c_str());
    };
    p.m_descriptionLayer = layer(s.layer);
    p.m_branchLayer = layer(s.layerBranch);
    p.m_riserLayer = layer(s.riserLayer);
    p.m_text1 = Text(IDS_LAYER_FIRST_DESCRIPTION_LINE);
    p.m_text2 = Text(IDS_LAYER_BASE_LINE);
    p.m_text3 = Text(IDS_LAYER_FLOOR_MARK);
    p.m_text4 = Text(IDS_LAYER_RISER_BUBBLES);
    p.m_riserCircleLayer = Text(IDS_LAYER_JUNCTION_CIRCLES);

    auto pipeKind = [](const std::string& value, CString& code, CString& second, CString& layer) {
      const size_t a = value.find(';');
      const size_t b = a == std::string::npos ? a : value.find(';', a + 1);
      std::string first = value.substr(0, a);
      if (first.size() > 7) first[7] = 'i';
      code = first.c_str();
      second = a == std::string::npos ? "" : value.substr(a + 1, b == std::string::npos ? b : b - a - 1).c_str();
      layer = b == std::string::npos ? "" : value.substr(b + 1).c_str();
    };
    pipeKind(s.moduleSupply, p.m_pipe1TypeCode, p.m_pipe1Field2, p.m_pipe1Layer);
    pipeKind(s.moduleReturn, p.m_pipe2TypeCode, p.m_pipe2Field2, p.m_pipe2Layer);
  }

  // A resource text of the plug-in.
  static CString Text(UINT id) {
    char text[256] = "";
    LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
    return text;
  }

  // Ends the command and saves the drawing.
  bool Save(const std::string& path) { return host_.Save(path); }

  // Runs a Python check script of the source tree (Debian's python3, for
  // ezdxf) on its arguments; its output when it fails.
  testsupport::Outcome Check(const std::string& script, const std::vector<std::string>& args) {
    std::vector<std::string> all{std::string(JOV_SOURCE_DIR) + "/" + script};
    all.insert(all.end(), args.begin(), args.end());
    return testsupport::RunProgram("/usr/bin/python3", all, Folder());
  }

 private:
  template <typename F>
  F Control(const char* name) {
    return reinterpret_cast<F>(GetProcAddress(TheApp().m_hWizard, name));
  }

  RealHost host_;
  CResourceQmr resources_;
};
