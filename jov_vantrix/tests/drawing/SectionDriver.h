// Drives the section generators as the command does, in process: the real
// host library with a drawing open and entities preselected, the plug-in's
// resource texts, the test product library "Wizard.dll" beside this program
// (it hands out the chains a test gives it and records every call) and a
// small catalogue. The parameter block is filled from settings files as the
// section dialog fills it before it generates.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "common/CResourceQmr.h"
#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutParamsRules.h"
#include "jov_vantrix/section/CutSettings.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/tests/TestClock.h"
#include "jov_vantrix/tests/TestProductLibrary.h"
#include "jov_vantrix/tests/drawing/RealHost.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/resources.h"
#include "tests/support/ProgramRun.h"


class SectionDriver {
 public:
  SectionDriver() : resources_(JOV_TEST_MODULE_DIR "/Jov_Vantrix.qmr") {}
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
    if (!wizard_.Load()) {
      ADD_FAILURE() << "Wizard.dll beside the test program";
      return false;
    }
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

  // The parameter block as the branch section's dialog hands it to the
  // generator, from settings files of the given texts: the drawing
  // settings and the values its controls open with, stored and the pipe
  // start recomputed as OK does, the pipe types the list's markers choose,
  // then the layers and the conversion to drawing units of the generate
  // step.
  void FillBranchParams(JovCutParams& p, const CObjSezNew& list, const std::string& settings,
                        const std::string& pipeTypes, const GLVector& basePoint) {
    const SettingsFiles files = WriteSettings(settings, pipeTypes);
    const HostExport2D* host = TheApp().m_pHostTable;
    p.m_units = HostDrawingUnits(host);
    p.m_scale = HostDrawingScale(host);
    p.m_basePoint = basePoint;
    ReadDrawingSettings(files.settings.c_str(), p);
    StoreCutValues(ReadCutValues(files.settings.c_str(), CutDialog::Branch), p);
    p.m_text2 = Text(IDS_LAYER_BASE_LINE);
    p.m_text3 = Text(IDS_LAYER_FLOOR_MARK);
    p.m_text4 = Text(IDS_LAYER_BUBBLES);
    RecomputePipeBeginLength(p);
    ReadPipeTypes(files.pipeTypes.c_str(), list.m_marker1, list.m_marker2, p);
    ConvertForGeneration(p);
    ApplyLayerRules(p, CString(), HostGetVariable(host, "CLAYER"));
    p.m_text1 = Text(IDS_LAYER_FIRST_DESCRIPTION);
    p.m_riserCircleLayer = Text(IDS_LAYER_RISER);
  }

  // The same for the riser section's dialog and its older block: its own
  // keys, the pipe types "0" and "1", the layers of its generate step.
  void FillRiserParams(JovCutParamsOld& p, const std::string& settings, const std::string& pipeTypes,
                       const GLVector& basePoint) {
    const SettingsFiles files = WriteSettings(settings, pipeTypes);
    const HostExport2D* host = TheApp().m_pHostTable;
    p.m_unit = HostDrawingUnits(host);
    p.m_scale = HostDrawingScale(host);
    p.m_basePoint = basePoint;
    ReadDrawingSettings(files.settings.c_str(), p);
    StoreCutValues(ReadCutValues(files.settings.c_str(), CutDialog::Riser), p);
    p.m_baseLineLayer = Text(IDS_LAYER_BASE_LINE);
    p.m_floorMarkLayer = Text(IDS_LAYER_FLOOR_MARK);
    p.m_bubbleLayer = Text(IDS_LAYER_BUBBLES);
    RecomputePipeBeginLength(p);
    ReadPipeTypes(files.pipeTypes.c_str(), p);
    ConvertForGeneration(p);
    ApplyLayerRules(p, CString(), HostGetVariable(host, "CLAYER"));
    p.m_firstLineLayer = Text(IDS_LAYER_FIRST_DESCRIPTION);
    p.m_riserLayer = Text(IDS_LAYER_RISER);
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
  struct SettingsFiles {
    std::string settings, pipeTypes;
  };
  // "Jov.ini" and "Jov_lin.dat" of the given texts in the scratch folder.
  SettingsFiles WriteSettings(const std::string& settings, const std::string& pipeTypes) {
    SettingsFiles files{Folder() + "/" + kCutSettingsFile, Folder() + "/" + kPipeTypeFile};
    std::ofstream(files.settings, std::ios::binary) << settings;
    std::ofstream(files.pipeTypes, std::ios::binary) << pipeTypes;
    return files;
  }

  template <typename F>
  static F Control(const char* name) {
    return TestProductLibrary::Control<F>(name);
  }

  RealHost host_;
  CResourceQmr resources_;
  TestProductLibrary wizard_;
};
