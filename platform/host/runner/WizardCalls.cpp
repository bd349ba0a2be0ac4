#include "platform/host/runner/WizardCalls.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "platform/catalogue/Database.h"
#include "platform/win32/code_page.h"

namespace {

using P = WizardParam;
using Db = jovDatabase::Database;

// ---- Arguments as the exports take them.

unsigned U(const WizardArg& a) { return static_cast<unsigned>(a.integer); }
int I(const WizardArg& a) { return static_cast<int>(a.integer); }
char C(const WizardArg& a) { return static_cast<char>(a.integer); }
const char* T(const WizardArg& a) { return a.null ? nullptr : a.text.c_str(); }
unsigned char* Bytes(WizardArg& a) { return a.null ? nullptr : a.bytes.data(); }
const double* Real(const WizardArg& a) { return a.null ? nullptr : &a.real; }
HWND W(const WizardArg& a) { return static_cast<HWND>(a.pointer); }
Db* D(const WizardArg& a) { return static_cast<Db*>(a.pointer); }
resbuf* E(const WizardArg& a) { return static_cast<resbuf*>(a.pointer); }

template <typename Fn>
Fn As(FARPROC proc) {
  return reinterpret_cast<Fn>(proc);
}

using Args = std::vector<WizardArg>;

int64_t CallVoid(FARPROC p, Args&, resbuf**, resbuf**) {
  As<void (*)()>(p)();
  return 0;
}

int64_t CallIntNoArgs(FARPROC p, Args&, resbuf**, resbuf**) { return As<int (*)()>(p)(); }

int64_t CallText(FARPROC p, Args& a, resbuf**, resbuf**) {
  As<void (*)(const char*)>(p)(T(a[0]));
  return 0;
}

int64_t CallProductDialog(FARPROC p, Args& a, resbuf** c1, resbuf** c2) {
  using Fn = int (*)(HWND, Db*, unsigned, resbuf**, resbuf**, unsigned char*, unsigned, unsigned, unsigned,
                     const char*, unsigned, const char*, const char*, const char*, const char*);
  return As<Fn>(p)(W(a[0]), D(a[1]), U(a[2]), c1, c2, Bytes(a[3]), U(a[4]), U(a[5]), U(a[6]), T(a[7]), U(a[8]),
                   T(a[9]), T(a[10]), T(a[11]), T(a[12]));
}

const std::vector<P> kProductDialogParams = {P::Window, P::Database, P::Unsigned, P::Flags,    P::FlagCount,
                                             P::Unsigned, P::Unsigned, P::Text,   P::Unsigned, P::Text,
                                             P::Text,     P::Text,     P::Text};
const char* const kProductDialogUsage =
    "parent db view flags count lengthMode pointIndex pointsText ownPoint product branch arg13 group";

const std::vector<WizardExport>& Exports() {
  static const std::vector<WizardExport> exports = {
      {"setPPDisplayPP2OnlyWithValidProd", WizardResult::Void, {}, "", false, &CallVoid},
      {"PPFree", WizardResult::Void, {}, "", false, &CallVoid},
      {"SetSlope", WizardResult::Void, {P::Text}, "slope", false, &CallText},
      {"SetPPMirror", WizardResult::Void, {P::Unsigned}, "flag", false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t {
         As<void (*)(unsigned)>(p)(U(a[0]));
         return 0;
       }},
      {"GetPPMirror", WizardResult::Bool, {}, "", false,
       [](FARPROC p, Args&, resbuf**, resbuf**) -> int64_t { return As<bool (*)()>(p)() ? 1 : 0; }},
      {"SetPPData", WizardResult::Void, {P::Text, P::Text, P::Text}, "text1 text2 text3", false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t {
         As<void (*)(const char*, const char*, const char*)>(p)(T(a[0]), T(a[1]), T(a[2]));
         return 0;
       }},
      {"SetPP2Date", WizardResult::Void, {P::Text}, "date", false, &CallText},
      {"SetPPLastStoreExt", WizardResult::Void, {P::Text}, "extension", false, &CallText},
      {"PPDlg", WizardResult::Int, kProductDialogParams, kProductDialogUsage, true, &CallProductDialog},
      {"PPDlgNoInitialRecalc", WizardResult::Int, kProductDialogParams, kProductDialogUsage, true,
       &CallProductDialog},
      {"PPGetResbufEx", WizardResult::Int,
       {P::Database, P::Unsigned, P::Flags, P::FlagCount, P::Text, P::Text, P::Text, P::Text, P::Text},
       "db view flags count names values product slope branch", true,
       [](FARPROC p, Args& a, resbuf** c1, resbuf** c2) -> int64_t {
         using Fn = int (*)(Db*, unsigned, resbuf**, resbuf**, unsigned char*, unsigned, const char*, const char*,
                            const char*, const char*, const char*);
         return As<Fn>(p)(D(a[0]), U(a[1]), c1, c2, Bytes(a[2]), U(a[3]), T(a[4]), T(a[5]), T(a[6]), T(a[7]),
                          T(a[8]));
       }},
      {"PPGetResbuf", WizardResult::Int,
       {P::Database, P::Unsigned, P::Flags, P::FlagCount, P::RealPointer, P::RealPointer, P::Text, P::Text,
        P::Text},
       "db view flags count length dn product slope branch", true,
       [](FARPROC p, Args& a, resbuf** c1, resbuf** c2) -> int64_t {
         using Fn = int (*)(Db*, unsigned, resbuf**, resbuf**, unsigned char*, unsigned, const double*,
                            const double*, const char*, const char*, const char*);
         return As<Fn>(p)(D(a[0]), U(a[1]), c1, c2, Bytes(a[2]), U(a[3]), Real(a[4]), Real(a[5]), T(a[6]),
                          T(a[7]), T(a[8]));
       }},
      {"ModifyDBParam", WizardResult::Unsigned, {P::Database, P::Unsigned}, "db view", false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t {
         return As<unsigned (*)(Db*, unsigned)>(p)(D(a[0]), U(a[1]));
       }},
      {"DimDlg", WizardResult::Int, {P::Window, P::Char}, "parent kind", false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t { return As<int (*)(HWND, char)>(p)(W(a[0]), C(a[1])); }},
      {"JOV_MASK", WizardResult::Int, {P::Int}, "kind", false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t { return As<int (*)(int)>(p)(I(a[0])); }},
      {"JOV_MASK_EDIT", WizardResult::Int, {P::Window, P::Unsigned}, "parent kind", false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t {
         return As<int (*)(HWND, unsigned)>(p)(W(a[0]), U(a[1]));
       }},
      {"JOV_MASK_E_PIPE", WizardResult::Int, {}, "", false, &CallIntNoArgs},
      {"JOV_MASK_Z", WizardResult::Int, {}, "", false, &CallIntNoArgs},
      {"JOV_MASK_E", WizardResult::Int, {}, "", false, &CallIntNoArgs},
      {"JOV_MASK_V", WizardResult::Int, {}, "", false, &CallIntNoArgs},
      {"JOV_MASK_T", WizardResult::Int, {}, "", false, &CallIntNoArgs},
      {"WizardDialog", WizardResult::Int, {P::Window, P::Database, P::Unsigned, P::Bool}, "parent db view viewOnly",
       false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t {
         return As<int (*)(HWND, Db*, unsigned, bool)>(p)(W(a[0]), D(a[1]), U(a[2]), a[3].integer != 0);
       }},
      {"maskDefPreset", WizardResult::Int, {P::Entity, P::Int, P::Char, P::Window}, "entity useLetter kind parent",
       false,
       [](FARPROC p, Args& a, resbuf**, resbuf**) -> int64_t {
         return As<int (*)(resbuf*, int, char, HWND)>(p)(E(a[0]), I(a[1]), C(a[2]), W(a[3]));
       }},
      {"maskDefPresetEntSel", WizardResult::Int, {}, "", false, &CallIntNoArgs},
  };
  return exports;
}

// ---- Words.

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool WholeNumber(const std::string& word, int64_t min, int64_t max, int64_t& out) {
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return !word.empty() && ec == std::errc() && end == word.data() + word.size() && out >= min && out <= max;
}

// A number, or one character (not a digit) standing for its code.
bool NumberOrCharacter(const std::string& word, int64_t min, int64_t max, int64_t& out) {
  if (WholeNumber(word, min, max, out)) return true;
  const std::string cp = Utf8ToCp1250(word);
  if (cp.size() != 1 || (cp[0] >= '0' && cp[0] <= '9')) return false;
  out = static_cast<unsigned char>(cp[0]);
  return out >= min && out <= max;
}

std::string Unescape(const std::string& word) {
  std::string out;
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '\\' && i + 1 < word.size()) {
      const char next = word[i + 1];
      if (next == 'n' || next == 'r' || next == '\\') {
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
        ++i;
        continue;
      }
    }
    out += word[i];
  }
  return Utf8ToCp1250(out);
}

bool StartsWith(const std::string& word, const char* prefix) { return word.rfind(prefix, 0) == 0; }

// One word; with host null only its form is checked.
bool ParseWord(P kind, const std::string& word, const WizardHostAccess* host, WizardArg& arg, std::string* error) {
  const bool nullable = kind == P::Text || kind == P::Window || kind == P::Database || kind == P::Flags ||
                        kind == P::Entity || kind == P::RealPointer;
  if (nullable && word == "-") {
    arg.null = true;
    return true;
  }
  switch (kind) {
    case P::Int:
      if (!NumberOrCharacter(word, INT_MIN, INT_MAX, arg.integer))
        return Fail(error, "'" + word + "' is not a whole number or a character");
      return true;
    case P::Unsigned:
    case P::FlagCount:
      if (!NumberOrCharacter(word, 0, UINT_MAX, arg.integer))
        return Fail(error, "'" + word + "' is not a whole number from 0");
      return true;
    case P::Char:
      if (!NumberOrCharacter(word, -128, 255, arg.integer))
        return Fail(error, "'" + word + "' is not a character");
      return true;
    case P::Bool:
      if (!WholeNumber(word, 0, 1, arg.integer)) return Fail(error, "'" + word + "' is not 0 or 1");
      return true;
    case P::Text:
      arg.text = Unescape(word);
      return true;
    case P::Window:
      if (word != "main") return Fail(error, "'" + word + "' is not a window (main or -)");
      if (host) arg.pointer = host->mainWindow();
      return true;
    case P::Database: {
      // db:T or db:T:ID
      if (!StartsWith(word, "db:") || word.size() < 4 || (word.size() > 4 && word[4] != ':') ||
          !std::isalpha(static_cast<unsigned char>(word[3])))
        return Fail(error, "'" + word + "' is not a catalogue (db:T or db:T:ID)");
      if (!host) return true;
      const char trade = word[3];
      Db* db = host->database(trade);
      if (!db) return Fail(error, "the host has no catalogue of trade " + std::string(1, trade));
      if (word.size() > 5 && db->GoIndexID(Utf8ToCp1250(word.substr(5)).c_str()) != jovDatabase::eOK)
        return Fail(error, "the catalogue of trade " + std::string(1, trade) + " has no product " + word.substr(5));
      arg.pointer = db;
      return true;
    }
    case P::Flags: {
      if (!StartsWith(word, "flags:")) return Fail(error, "'" + word + "' is not a byte array (flags:0,1,...)");
      const std::string list = word.substr(6);
      size_t pos = 0;
      while (pos < list.size()) {
        size_t comma = list.find(',', pos);
        if (comma == std::string::npos) comma = list.size();
        int64_t byte = 0;
        if (!WholeNumber(list.substr(pos, comma - pos), 0, 255, byte))
          return Fail(error, "'" + word + "': '" + list.substr(pos, comma - pos) + "' is not a byte");
        arg.bytes.push_back(static_cast<unsigned char>(byte));
        pos = comma + 1;
      }
      return true;
    }
    case P::Entity: {
      if (!StartsWith(word, "entity:") || word.size() == 7)
        return Fail(error, "'" + word + "' is not an entity (entity:HANDLE)");
      if (!host) return true;
      resbuf* chain = host->entity(word.substr(7), error);
      if (!chain) return false;
      arg.pointer = chain;
      return true;
    }
    case P::RealPointer: {
      auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), arg.real);
      if (word.empty() || ec != std::errc() || end != word.data() + word.size())
        return Fail(error, "'" + word + "' is not a number");
      return true;
    }
  }
  return Fail(error, "unknown parameter");
}

bool ParseWords(const WizardExport& e, const std::vector<std::string>& words, const WizardHostAccess* host,
                std::vector<WizardArg>& out, std::string* error) {
  if (words.size() != e.params.size()) {
    std::string message = std::string(e.name) + " takes " + std::to_string(e.params.size()) + " argument" +
                          (e.params.size() == 1 ? "" : "s");
    if (*e.usage) message += std::string(" (") + e.usage + ")";
    return Fail(error, message + ", not " + std::to_string(words.size()));
  }
  out.assign(words.size(), WizardArg());
  for (size_t i = 0; i < words.size(); ++i) {
    std::string why;
    if (!ParseWord(e.params[i], words[i], host, out[i], &why))
      return Fail(error, std::string(e.name) + " argument " + std::to_string(i + 1) + ": " + why);
    // The library may write as many flags as it is told there are.
    if (e.params[i] == P::FlagCount && i > 0 && e.params[i - 1] == P::Flags && !out[i - 1].null &&
        out[i - 1].bytes.size() < static_cast<size_t>(out[i].integer))
      out[i - 1].bytes.resize(static_cast<size_t>(out[i].integer), 0);
  }
  return true;
}

}  // namespace

const WizardExport* FindWizardExport(const std::string& name) {
  for (const WizardExport& e : Exports())
    if (name == e.name) return &e;
  return nullptr;
}

bool CheckWizardArgs(const WizardExport& e, const std::vector<std::string>& words, std::string* error) {
  std::vector<WizardArg> ignored;
  return ParseWords(e, words, nullptr, ignored, error);
}

bool ResolveWizardArgs(const WizardExport& e, const std::vector<std::string>& words, const WizardHostAccess& host,
                       std::vector<WizardArg>& out, std::string* error) {
  return ParseWords(e, words, &host, out, error);
}

std::string WizardResultText(const WizardExport& e, int64_t value) {
  switch (e.result) {
    case WizardResult::Void: return "-";
    case WizardResult::Unsigned: return std::to_string(static_cast<uint32_t>(value));
    case WizardResult::Bool:
    case WizardResult::Int: return std::to_string(value);
  }
  return "-";
}
