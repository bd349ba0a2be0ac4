// The product library's application object: which program loaded it, where
// its own files and the user's profile are, the host's export table, the
// resource library "Wizard.qmr", and the state its exports share between
// calls (result chains, texts set by the state exports, the producer and
// level texts of the product being placed). What the parameter engine reads
// of it (the catalogue, the profile folder, the caller's three texts) lives
// in the engine's shared state.
#pragma once

#include "common/CResourceQmr.h"
#include "common/HostExport2D.h"
#include "dataformat/resbuf.h"
#include "platform/mfc/CWinApp.h"

class CObjectSez;

// Who loaded the library.
enum WizardHostMode : int {
  kHostManager = 0,  // the manager program "JovMgr.exe"
  kHostLT = 1,       // the stand-alone LT host "DUVOZEDO.EXE"
  kHostFull = 2,     // the full 2D host, module "Dravik2D.arx"
};

class CWizardDllApp : public CWinApp {
 public:
  static constexpr int kProducerTexts = 7;
  // The producer dialog's choices (producer, date, group 1, group 2, type,
  // measurement), kept for its return from the parametric dialog.
  static constexpr int kRetryIndices = 6;
  // _ZLEVEL, zA, zB, zC of the connected element, then the computed level.
  static constexpr int kLevelTexts = 5;
  static constexpr int kComputedLevel = 4;

  CWizardDllApp();
  ~CWizardDllApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // Host mode, registry root, base and profile folders; false when the
  // program's or the library's own path cannot be read.
  bool DetectHostAndFolders();

  // Folder + relative into out (260 characters).
  void MakeBasePath(char* out, const char* relative) const;
  void MakeProfilePath(char* out, const char* relative) const;

  int GetHostMode() const { return m_hostMode; }
  HostExport2D* GetHostTable() const { return m_hostTable; }
  const char* GetBaseFolder() const { return m_baseFolder; }
  const char* GetProfileFolder() const { return m_profileFolder; }
  HICON GetIcon() const { return m_icon; }
  void SetIcon(HICON icon) { m_icon = icon; }
  CResourceQmr* GetResources() const { return m_resources; }
  void SetResources(CResourceQmr* resources) { m_resources = resources; }

  // The result chains of the last product request: owned here until PPFree.
  resbuf*& ResultChain1() { return m_resultChain1; }
  resbuf*& ResultChain2() { return m_resultChain2; }
  void FreeResultChains();

  void SetPP2Date(const char* date);
  const char* GetPP2Date() const { return m_date; }
  void SetSlope(const char* slope);
  const char* GetSlope() const { return m_slope; }
  // Null or empty texts leave their slot empty.
  void SetProducerData(const char* const texts[kProducerTexts]);
  void GetProducerData(const char* out[kProducerTexts]) const;
  void SetRetryIndices(const int indices[kRetryIndices]);
  void GetRetryIndices(int out[kRetryIndices]) const;
  // Replaces the four texts of the connected element and clears the
  // computed level.
  void SetZLevelTexts(const char* zLevel, const char* zA, const char* zB, const char* zC);
  void GetZLevelTexts(const char* out[kLevelTexts]) const;
  void SetComputedLevel(const char* level);
  const char* GetComputedLevel() const { return m_level[kComputedLevel]; }
  int GetMirror() const { return m_mirror; }
  void SetMirror(int mirror) { m_mirror = mirror; }
  void SetDimText(const char* text);
  const char* GetDimText() const { return m_dimensionText; }

  // Name line (line 1) of point `index` (0-based) of `group` (view) in a
  // points text; lines up to 255 characters. False for a null or empty
  // text or a point that is not there.
  bool GetPointText(const char* pointsText, unsigned index, unsigned group, char* out, unsigned size) const;
  // Path of the outside radiator catalogue "Korpalin_stl_x64.dll" beside
  // the library when the registry of the machine says that the Vantrix
  // programs are installed; false (out empty) otherwise.
  bool FindKorpalinLibrary(char* out, unsigned size) const;
  // The level of the product from the element it is connected to, kept as
  // the computed level text.
  void ApplyConnectionLevel(unsigned view, unsigned otherIndex, const char* otherPoints, unsigned ownNumber,
                            CObjectSez* parameters);

 private:
  int m_hostMode = kHostFull;
  HICON m_icon = nullptr;
  resbuf* m_resultChain1 = nullptr;
  resbuf* m_resultChain2 = nullptr;
  HostExport2D* m_hostTable = nullptr;
  char m_baseFolder[260] = "";
  char m_profileFolder[260] = "";
  CResourceQmr* m_resources = nullptr;
  char* m_date = nullptr;
  char* m_slope = nullptr;
  char* m_producer[kProducerTexts] = {};
  int m_retry[kRetryIndices] = {-1, -1, -1, -1, -1, -1};
  char* m_level[kLevelTexts] = {};
  int m_mirror = -1;
  char* m_dimensionText = nullptr;
};

// The library's one application object.
CWizardDllApp& TheWizardApp();

// Root of the wizard's own registry keys under HKEY_CURRENT_USER, chosen
// by the host mode at start-up.
const char* WizardRegistryRoot();

// Loads "Wizard.qmr" from the folder of "Wizard.dll" on first need and makes
// it the current resource library; a failed load is tried again next time.
bool EnsureWizardResources();

// Trade of the current catalogue by its "MODI" name: 0 sanitary ('Z'), 1
// electrical ('E'), 2 air ('V'), 3 heating ('T'); -1 for none or another.
int GetTradeLetter();

