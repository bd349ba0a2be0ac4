#include "jov_vantrix/frame/CJov_VantrixApp.h"

#include <cstring>
#include <string>

#include "common/HostModule.h"
#include "common/SettingsWrite.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

namespace {

CJov_VantrixApp theApp;

const char* HostModuleName(bool isLT) { return isLT ? "duvozedo.exe" : "dravik2d.arx"; }

// Bounded concatenation into a caller's buffer of `size` bytes.
void JoinInto(char* out, size_t size, const char* first, const char* second) {
  if (!out || size == 0) return;
  std::string joined = std::string(first ? first : "") + (second ? second : "");
  if (joined.size() >= size) joined.resize(size - 1);
  std::memcpy(out, joined.c_str(), joined.size() + 1);
}

bool EndsWithSeparator(const char* path) {
  size_t n = std::strlen(path);
  return n > 0 && (path[n - 1] == '\\' || path[n - 1] == '/');
}

}  // namespace

CJov_VantrixApp& TheApp() { return theApp; }

CJov_VantrixApp::CJov_VantrixApp() : CWinApp(nullptr) {}

CJov_VantrixApp::~CJov_VantrixApp() = default;

BOOL CJov_VantrixApp::InitInstance() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!InitPaths()) return FALSE;
  SetSettingsNotKeptMessage(IDS_SETTINGS_NOT_KEPT);
  m_pHostTable = GetHostExportTable();
  if (!m_pHostTable) return FALSE;
  return CWinApp::InitInstance();
}

int CJov_VantrixApp::ExitInstance() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  delete m_pResources;
  m_pResources = nullptr;
  m_hResourceModule = nullptr;
  if (m_hWizard) {
    FreeLibrary(m_hWizard);
    m_hWizard = nullptr;
  }
  return CWinApp::ExitInstance();
}

bool CJov_VantrixApp::InitPaths() {
  if (GetModuleFileNameA(nullptr, m_moduleFolder, MAX_PATH) == 0 || !m_moduleFolder[0])
    return false;
  char hostName[MAX_PATH];
  FileNameOfPath(m_moduleFolder, hostName, MAX_PATH);
  m_isLT = _mbsicmp(hostName, "duvozedo.exe") == 0;
  if (!m_isLT) {
    // Under the full host the companion files lie beside this library.
    if (GetModuleFileNameA(AfxGetInstanceHandle(), m_moduleFolder, MAX_PATH) == 0 ||
        !m_moduleFolder[0])
      return false;
  }
  char* cut = std::strrchr(m_moduleFolder, '\\');
  char* slash = std::strrchr(m_moduleFolder, '/');
  if (!cut || (slash && slash > cut)) cut = slash;
  if (cut) cut[1] = '\0';

  // A host without its profile export cannot give the settings folder; the
  // library then refuses to load rather than call through null.
  HMODULE host = GetModuleHandleA(HostModuleName(m_isLT));
  auto getProfilePath =
      host ? reinterpret_cast<GetProfilePathFn>(GetProcAddress(host, "GetProfilePath")) : nullptr;
  if (!getProfilePath) return false;
  m_profileFolder[0] = '\0';
  getProfilePath(0, m_profileFolder, MAX_PATH);
  m_profileFolder[MAX_PATH - 1] = '\0';
  if (!EndsWithSeparator(m_profileFolder)) JoinInto(m_profileFolder, MAX_PATH, m_profileFolder, "\\");
  return true;
}

void CJov_VantrixApp::GetModulePath(char* out, const char* name, size_t size) const {
  JoinInto(out, size, m_moduleFolder, name);
}

void CJov_VantrixApp::GetDataPath(char* out, const char* name, size_t size) const {
  if (!name) {
    JoinInto(out, size, m_profileFolder, nullptr);
    return;
  }
  JoinInto(out, size, m_profileFolder, (std::string("Dat\\") + name).c_str());
}

void CJov_VantrixApp::GetHostPath(char* out, size_t size) const {
  JoinInto(out, size, m_moduleFolder, HostModuleName(m_isLT));
}

jovDatabase::Database* CJov_VantrixApp::GetDatabase(char tradeLetter) const {
  using GetDatabaseFn = jovDatabase::Database* (*)(char);
  HMODULE host = GetModuleHandleA(HostModuleName(m_isLT));
  if (!host) return nullptr;
  auto getDatabase = reinterpret_cast<GetDatabaseFn>(GetProcAddress(host, "GetDatabase"));
  return getDatabase ? getDatabase(tradeLetter) : nullptr;
}

bool CJov_VantrixApp::LoadResourceDll() {
  if (m_pResources) return true;
  char path[MAX_PATH];
  GetModulePath(path, "Jov_Vantrix.qmr", MAX_PATH);
  auto* resources = new CResourceQmr(path);
  if (!resources->IsLoaded()) {
    delete resources;
    return false;
  }
  m_pResources = resources;
  m_hResourceModule = resources->GetLibrary();
  m_hIcon = LoadIconA(m_hResourceModule, MAKEINTRESOURCE(IDI_JOV_VANTRIX));
  return true;
}

bool CJov_VantrixApp::LoadWizardDll() {
  char path[516];
  GetModulePath(path, "Wizard.dll", sizeof path);
  HMODULE wizard = LoadModuleNearHost(path);
  if (!wizard) return false;
  // Every run adds a load; shut-down gives back one.
  m_hWizard = wizard;
  m_pPPGetResbufEx = reinterpret_cast<PPGetResbufExFn>(GetProcAddress(wizard, "PPGetResbufEx"));
  m_pPPFree = reinterpret_cast<PPFreeFn>(GetProcAddress(wizard, "PPFree"));
  return m_pPPGetResbufEx && m_pPPFree;
}

HMODULE LoadModuleNearHost(const char* name) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!name) return nullptr;
  if (std::strpbrk(name, "\\/")) return LoadLibraryA(name);
  HMODULE host = GetModuleHandleA("DUVOZEDO.EXE");
  if (!host) host = GetModuleHandleA("DRAVIK2D.ARX");
  char hostPath[1024];
  if (!host || GetModuleFileNameA(host, hostPath, sizeof hostPath) == 0) return LoadLibraryA(name);
  char* cut = std::strrchr(hostPath, '\\');
  char* slash = std::strrchr(hostPath, '/');
  if (!cut || (slash && slash > cut)) cut = slash;
  if (!cut) return LoadLibraryA(name);
  cut[1] = '\0';
  std::string path = std::string(hostPath) + name;
  return LoadLibraryA(path.c_str());
}

void GetOpenFileNameStructSize(void*, DWORD* out) {
  // Every system this runs on is past version 4: the large structure.
  if (out) *out = 152;
}
