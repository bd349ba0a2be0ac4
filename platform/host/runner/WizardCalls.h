// How the runner calls the 24 exports of the product library "Wizard.dll":
// each export's parameters as the command line gives them (the two result
// chain out-pointers are the runner's own), the argument words, and the
// call itself.
//
// Argument words, by the parameter they stand for:
//   number        integers and reals; an integer or character parameter
//                 also takes one character, standing for its code ("E")
//   text          any word (UTF-8, passed on in code page 1250); "-" is a
//                 null text; \n, \r and \\ stand for a line feed, a
//                 carriage return and a backslash
//   main          the host's main window ("-": none)
//   db:T[:ID]     the host's catalogue of trade T (GetDatabase), positioned
//                 on the product ID with GoIndexID ("-": none)
//   flags:0,1,... a byte array, its count the next argument ("-": none)
//   entity:H      the chain of the drawing's entity with handle H ("-": none)
//   a number for a real pointer points at that number ("-": null)
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataformat/resbuf.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/win32_types.h"

namespace jovDatabase {
class Database;
}

enum class WizardParam {
  Int,
  Unsigned,
  Char,
  Bool,
  Text,
  Window,
  Database,
  Flags,
  FlagCount,
  Entity,
  RealPointer,
};

enum class WizardResult { Void, Int, Unsigned, Bool };

// One resolved argument.
struct WizardArg {
  int64_t integer = 0;
  double real = 0;
  std::string text;
  bool null = false;
  std::vector<unsigned char> bytes;
  void* pointer = nullptr;
};

using WizardInvoker = int64_t (*)(FARPROC proc, std::vector<WizardArg>& args, resbuf** chain1, resbuf** chain2);

struct WizardExport {
  const char* name;
  WizardResult result;
  std::vector<WizardParam> params;
  const char* usage;     // the parameters in words, for errors
  bool handsOutChains;   // takes the two result-chain out-pointers
  WizardInvoker invoke;
};

// Null for a name that is not one of the 24.
const WizardExport* FindWizardExport(const std::string& name);

// Whether the words fit the export: their count and the form of each. The
// reason names the word.
bool CheckWizardArgs(const WizardExport& e, const std::vector<std::string>& words, std::string* error);

// What the host gives the argument words.
struct WizardHostAccess {
  std::function<HWND()> mainWindow;
  std::function<jovDatabase::Database*(char trade)> database;
  // The chain of an entity by its hexadecimal handle; null with the reason.
  std::function<resbuf*(const std::string& handle, std::string* error)> entity;
};

// Resolves the (checked) words of a call just before it is made; false with
// the reason when the host cannot give what a word names.
bool ResolveWizardArgs(const WizardExport& e, const std::vector<std::string>& words, const WizardHostAccess& host,
                       std::vector<WizardArg>& out, std::string* error);

// The "result: ..." text of a call's answer ("-" for a void export).
std::string WizardResultText(const WizardExport& e, int64_t value);
