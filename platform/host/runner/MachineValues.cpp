#include "platform/host/runner/MachineValues.h"

#include "platform/win32/registry.h"

bool SeededMachineValues::Seed(const MachineValue& value, std::string* why) {
  Previous before;
  before.value = value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, value.key.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    DWORD size = 0;
    if (RegQueryValueExA(key, value.name.c_str(), nullptr, &before.type, nullptr, &size) == ERROR_SUCCESS) {
      before.data.resize(size);
      before.existed = RegQueryValueExA(key, value.name.c_str(), nullptr, &before.type, before.data.data(), &size) ==
                       ERROR_SUCCESS;
      before.data.resize(size);
    }
    RegCloseKey(key);
  }
  const LSTATUS status = SeedRegistryValue(HKEY_LOCAL_MACHINE, value.key.c_str(), value.name.c_str(), REG_SZ,
                                           value.text.c_str(), static_cast<DWORD>(value.text.size() + 1));
  if (status != ERROR_SUCCESS) {
    if (why) *why = "cannot set HKEY_LOCAL_MACHINE\\" + value.key + "\\" + value.name;
    return false;
  }
  previous_.push_back(std::move(before));
  return true;
}

SeededMachineValues::~SeededMachineValues() {
  for (auto it = previous_.rbegin(); it != previous_.rend(); ++it) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, it->value.key.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
    if (it->existed)
      RegSetValueExA(key, it->value.name.c_str(), 0, it->type, it->data.data(), static_cast<DWORD>(it->data.size()));
    else
      RegDeleteValueA(key, it->value.name.c_str());
    RegCloseKey(key);
  }
}
