#include "wizard/frame/CWizardDllApp.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "dataformat/HeapCopy.h"
#include "common/HostModule.h"
#include "common/SettingsWrite.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"
#include "wizard/frame/engine/EngineState.h"

namespace {

CWizardDllApp theApp;

const char* g_registryRoot = "Software\\Quenlor\\Dravik 2d\\";

constexpr unsigned kPathSize = 260;

// Replaces an owned text with a copy (null, or empty where told, frees it).
void Replace(char*& slot, const char* text, bool emptyIsNone = false) {
  std::free(slot);
  slot = text && (!emptyIsNone || *text) ? DupString(text) : nullptr;
}

void Free(char*& slot) {
  std::free(slot);
  slot = nullptr;
}

// Cuts a path after its last '\' or '/'.
void CutAfterSeparator(char* path) {
  char* cut = nullptr;
  for (char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') cut = p;
  if (cut) cut[1] = '\0';
}

bool EndsWithSeparator(const char* path) {
  const size_t n = std::strlen(path);
  return n > 0 && (path[n - 1] == '\\' || path[n - 1] == '/');
}

void Join(char* out, const char* folder, const char* relative) {
  if (!out) return;
  std::string joined = std::string(folder) + (relative ? relative : "");
  CopyStringN(out, kPathSize, joined.substr(0, kPathSize - 1).c_str());
}

}  // namespace

CWizardDllApp& TheWizardApp() { return theApp; }

const char* WizardRegistryRoot() { return g_registryRoot; }

CWizardDllApp::CWizardDllApp() : CWinApp(nullptr) {}

CWizardDllApp::~CWizardDllApp() {
  // ExitInstance has normally freed all of it already.
  delete m_resources;
  FreeResultChains();
  for (char*& t : m_producer) Free(t);
  for (char*& t : m_level) Free(t);
  Free(m_date);
  Free(m_slope);
  Free(m_dimensionText);
}

bool CWizardDllApp::DetectHostAndFolders() {
  m_hostMode = kHostFull;
  m_profileFolder[0] = '\0';
  if (GetModuleFileNameA(nullptr, m_baseFolder, kPathSize) == 0) return false;
  char program[kPathSize];
  FileNameOfPath(m_baseFolder, program, kPathSize);
  if (_mbsicmp(program, "DUVOZEDO.EXE") == 0)
    m_hostMode = kHostLT;
  else if (_mbsicmp(program, "JovMgr.exe") == 0)
    m_hostMode = kHostManager;
  g_registryRoot = m_hostMode == kHostFull ? "Software\\Quenlor\\Dravik 2d\\" : "Software\\Quenlor\\Dravik lt\\";
  if (m_hostMode == kHostFull && GetModuleFileNameA(AfxGetInstanceHandle(), m_baseFolder, kPathSize) == 0)
    return false;
  CutAfterSeparator(m_baseFolder);

  // The manager program has no host to ask for a profile.
  if (m_hostMode != kHostManager) {
    HMODULE host = GetModuleHandleA(m_hostMode == kHostLT ? "DUVOZEDO.EXE" : "Dravik2D.arx");
    auto getProfilePath =
        host ? reinterpret_cast<GetProfilePathFn>(GetProcAddress(host, "GetProfilePath")) : nullptr;
    if (getProfilePath) {
      getProfilePath(0, m_profileFolder, kPathSize);
      m_profileFolder[kPathSize - 1] = '\0';
      if (!EndsWithSeparator(m_profileFolder) && std::strlen(m_profileFolder) < kPathSize - 1)
        std::strcat(m_profileFolder, "\\");
    }
  }
  SetProfileFolder(m_profileFolder);
  return true;
}

BOOL CWizardDllApp::InitInstance() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  m_hostTable = nullptr;
  if (!DetectHostAndFolders()) return FALSE;
  SetSettingsNotKeptMessage(IDS_SETTINGS_NOT_KEPT);
  if (m_hostMode != kHostManager) {
    m_hostTable = GetHostExportTable();
    if (!m_hostTable) return FALSE;
  }
  return CWinApp::InitInstance();
}

int CWizardDllApp::ExitInstance() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  delete m_resources;
  m_resources = nullptr;
  SetCallerTexts(nullptr, nullptr, nullptr);
  Free(m_date);
  Free(m_slope);
  Free(m_dimensionText);
  for (char*& t : m_producer) Free(t);
  for (char*& t : m_level) Free(t);
  for (int& index : m_retry) index = -1;
  FreeResultChains();
  return CWinApp::ExitInstance();
}

void CWizardDllApp::MakeBasePath(char* out, const char* relative) const { Join(out, m_baseFolder, relative); }

void CWizardDllApp::MakeProfilePath(char* out, const char* relative) const {
  Join(out, m_profileFolder, relative);
}

void CWizardDllApp::FreeResultChains() {
  DeleteGroupCodeChain(&m_resultChain1);
  DeleteGroupCodeChain(&m_resultChain2);
}

void CWizardDllApp::SetPP2Date(const char* date) { Replace(m_date, date); }

void CWizardDllApp::SetSlope(const char* slope) { Replace(m_slope, slope); }

void CWizardDllApp::SetProducerData(const char* const texts[kProducerTexts]) {
  for (int i = 0; i < kProducerTexts; ++i) Replace(m_producer[i], texts ? texts[i] : nullptr, true);
}

void CWizardDllApp::GetProducerData(const char* out[kProducerTexts]) const {
  for (int i = 0; i < kProducerTexts; ++i) out[i] = m_producer[i];
}

void CWizardDllApp::SetRetryIndices(const int indices[kRetryIndices]) {
  for (int i = 0; i < kRetryIndices; ++i) m_retry[i] = indices[i];
}

void CWizardDllApp::GetRetryIndices(int out[kRetryIndices]) const {
  for (int i = 0; i < kRetryIndices; ++i) out[i] = m_retry[i];
}

void CWizardDllApp::SetZLevelTexts(const char* zLevel, const char* zA, const char* zB, const char* zC) {
  const char* texts[] = {zLevel, zA, zB, zC};
  for (int i = 0; i < 4; ++i) Replace(m_level[i], texts[i], true);
  Free(m_level[kComputedLevel]);
}

void CWizardDllApp::GetZLevelTexts(const char* out[kLevelTexts]) const {
  for (int i = 0; i < kLevelTexts; ++i) out[i] = m_level[i];
}

void CWizardDllApp::SetComputedLevel(const char* level) { Replace(m_level[kComputedLevel], level, true); }

void CWizardDllApp::SetDimText(const char* text) { Replace(m_dimensionText, text); }

bool EnsureWizardResources() {
  CWizardDllApp& app = TheWizardApp();
  if (app.GetResources()) return true;
  char path[kPathSize] = "";
  GetModuleFileNameA(GetModuleHandleA("Wizard.dll"), path, kPathSize);
  CutAfterSeparator(path);
  if (std::strlen(path) + std::strlen("Wizard.qmr") >= kPathSize) return false;
  std::strcat(path, "Wizard.qmr");
  auto* resources = new CResourceQmr(path);
  if (!resources->IsLoaded()) {
    delete resources;
    return false;
  }
  app.SetResources(resources);
  app.SetIcon(LoadIconA(resources->GetLibrary(), MAKEINTRESOURCEA(IDI_WIZARD)));
  return true;
}

namespace {

int CopyOfferedName(const jovDatabase::TNameStruct* record, void* context) {
  CopyStringN(static_cast<char*>(context), 256, record->name ? record->name : "");
  return 1;
}

}  // namespace

int GetTradeLetter() {
  jovDatabase::Database* db = CurrentCatalogue();
  if (!db) return -1;
  char name[256] = "";
  if (db->EnumNames("MODI", &CopyOfferedName, name, false) != jovDatabase::eOK) return -1;
  switch (name[0]) {
    case 'Z': return 0;
    case 'E': return 1;
    case 'V': return 2;
    case 'T': return 3;
  }
  return -1;
}

