// The registry: a file-backed store of keys and typed values. Each root key
// is one text file in the registry folder (the user's config folder unless
// JOV_REGISTRY_DIR or SetRegistryFolder says otherwise). Key paths and value
// names are code page 1250 texts compared without regard to case. Every
// change is written through at once; every open reads the file again, so
// programs sharing the folder see each other's values.
#pragma once

#include <string>

#include "platform/win32/error_codes.h"
#include "platform/win32/win32_types.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003u)))

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD ERROR_MORE_DATA = 234;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
// RegCreateKeyExA's disposition.
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens an existing key (a null or empty sub-key opens the key itself).
// ERROR_FILE_NOT_FOUND when it does not exist.
LSTATUS RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result);
// The same; a key opened for reading only refuses values being set.
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating it and the keys above it when missing.
LSTATUS RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result);
// The same with the access asked for (without KEY_SET_VALUE the key refuses
// values being set) and whether the key was made (REG_CREATED_NEW_KEY) or
// was there (REG_OPENED_EXISTING_KEY); the class, options and security are
// not kept.
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                        REGSAM access, void* security, PHKEY result, DWORD* disposition);
LSTATUS RegCloseKey(HKEY key);
// Null data asks the size only. A buffer too small gives ERROR_MORE_DATA
// with the size needed. A null or empty name is the key's default value.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* size);
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);
LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName);

// --- For tests and the runner ---------------------------------------------

// Points the store at another folder (created on the first write); an empty
// text goes back to the default folder.
void SetRegistryFolder(const std::string& folder);
std::string RegistryFolder();

// What an installer leaves behind, such as the machine's program paths under
// HKEY_LOCAL_MACHINE: the key is made when missing and the value set.
LSTATUS SeedRegistryValue(HKEY root, LPCSTR subKey, LPCSTR valueName, DWORD type, const void* data,
                          DWORD size);
