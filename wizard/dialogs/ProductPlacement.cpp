#include "wizard/dialogs/ProductPlacement.h"

#include <string>

#include "platform/catalogue/Database.h"
#include "platform/win32/profile.h"
#include "platform/win32/registry.h"
#include "wizard/dialogs/ProductDialogHost.h"
#include "wizard/frame/engine/EngineState.h"

namespace {

std::string PlacementKey() { return TheProductDialogHost().RegistryRoot() + "CPPDlg"; }

void SetDword(HKEY key, const char* name, int value) {
  const DWORD dword = static_cast<DWORD>(value);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
}

}  // namespace

ProductPlacement ReadProductPlacement() {
  ProductPlacement placement;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, PlacementKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return placement;
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExA(key, "Switch", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof value) {
    placement.hasSwitch = true;
    placement.switchValue = static_cast<int>(value);
  }
  size = sizeof placement.rect;
  placement.hasRect = RegQueryValueExA(key, "Rect", nullptr, &type, reinterpret_cast<BYTE*>(&placement.rect),
                                       &size) == ERROR_SUCCESS &&
                      size == sizeof placement.rect;
  if (!placement.hasRect) placement.rect = {};
  RegCloseKey(key);
  return placement;
}

void WriteProductPlacement(int switchValue, const RECT* rect, const int* keepProducerData) {
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_CURRENT_USER, PlacementKey().c_str(), &key) != ERROR_SUCCESS) return;
  SetDword(key, "Switch", switchValue);
  if (keepProducerData) SetDword(key, "SwitchPP1", *keepProducerData);
  if (rect) RegSetValueExA(key, "Rect", 0, REG_BINARY, reinterpret_cast<const BYTE*>(rect), sizeof *rect);
  RegCloseKey(key);
}

int PreviewBackgroundColour() {
  return static_cast<int>(
      GetPrivateProfileIntA("VIEW", "BGCOLOR", 0, MakeProfilePath("Dat\\Jov.ini").c_str()));
}

std::string LastValuesFileOfProduct() {
  jovDatabase::Database* catalogue = CurrentCatalogue();
  qmString id;
  if (!catalogue || catalogue->GetIndexID(id) != jovDatabase::eOK || !id.GetString() || !*id.GetString()) return "";
  return MakeProfilePath("Dat\\PP_Last") + id.GetString()[0] + LastValuesExtension();
}
