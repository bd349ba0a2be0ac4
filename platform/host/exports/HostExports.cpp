// What the host module exports: the slot table (GetExport2D), the
// functions the plug-in fetches by name, and the runner's control
// interface. Everything forwards to the module's one HostSession.
#include <cstdarg>
#include <cstring>
#include <string>

#include "dataformat/HeapCopy.h"
#include "dataformat/HostExportTable.h"
#include "platform/host/DxfPair.h"
#include "platform/host/exports/HostControl.h"
#include "platform/host/core/HostSession.h"
#include "platform/win32/driver/session_script.h"

#define DRAVIK_EXPORT extern "C" __attribute__((visibility("default")))

namespace jovDatabase {
class Database;
}

using host::TheHost;

namespace {

resbuf* SlotSelectionNext(int first) { return TheHost().SelectionNext(first); }
int SlotEntityWrite(resbuf* chain, int flags) { return TheHost().EntityWrite(chain, flags); }
void SlotBeginChange() { TheHost().BeginChange(); }
void SlotEndChange(int status) { TheHost().EndChange(status); }
HWND SlotMainWindow() { return TheHost().MainWindow(); }

int SlotBlockDefine(int op, ...) {
  va_list args;
  va_start(args, op);
  int result = HOST_ERROR;
  switch (op) {
    case kHostBlockBegin: {
      const char* name = va_arg(args, const char*);
      int flag = va_arg(args, int);
      double x = va_arg(args, double);
      double y = va_arg(args, double);
      double z = va_arg(args, double);
      result = TheHost().BlockBegin(name, flag, x, y, z);
      break;
    }
    case kHostBlockAdd:
      result = TheHost().BlockAddEntity(va_arg(args, resbuf*));
      break;
    case kHostBlockEnd:
      result = TheHost().BlockEnd(va_arg(args, char*));
      break;
    default:
      result = TheHost().Unsupported(("BlockDefine op " + std::to_string(op)).c_str());
  }
  va_end(args);
  return result;
}

const char* SlotGetVariable(const char* name) { return TheHost().GetVariable(name); }
double SlotDrawingScale() { return TheHost().DrawingScale(); }
int SlotDrawingUnits() { return TheHost().DrawingUnits(); }
int SlotGetPoint(int flags, const char* prompt, double out[3]) { return TheHost().GetPoint(flags, prompt, out); }
int SlotUcsToWcs(double point[3], bool displacement) { return TheHost().UcsToWcs(point, displacement); }
int SlotWcsToUcs(double point[3], bool displacement) { return TheHost().WcsToUcs(point, displacement); }
int SlotSelect(const char* prompt, int mode, int option, double* pickPoint) {
  return TheHost().Select(prompt, mode, option, pickPoint);
}
const char* SlotGetEnvString(const char* name) { return TheHost().GetEnvString(name); }
int SlotInputState() { return TheHost().InputState(); }
const char* SlotProductTitle() { return TheHost().ProductTitle(); }

template <typename Fn>
void Put(HostExport2D& table, int slot, Fn fn) {
  table.slot[slot] = reinterpret_cast<HostProc>(fn);
}

HostExport2D* BuildTable() {
  static HostExport2D table{};
  Put(table, HostSlot::SelectionNext, &SlotSelectionNext);
  Put(table, HostSlot::EntityWrite, &SlotEntityWrite);
  Put(table, HostSlot::BeginChange, &SlotBeginChange);
  Put(table, HostSlot::EndChange, &SlotEndChange);
  Put(table, HostSlot::MainWindow, &SlotMainWindow);
  Put(table, HostSlot::BlockDefine, &SlotBlockDefine);
  Put(table, HostSlot::GetVariable, &SlotGetVariable);
  Put(table, HostSlot::DrawingScale, &SlotDrawingScale);
  Put(table, HostSlot::DrawingUnits, &SlotDrawingUnits);
  Put(table, HostSlot::GetPoint, &SlotGetPoint);
  Put(table, HostSlot::UcsToWcs, &SlotUcsToWcs);
  Put(table, HostSlot::WcsToUcs, &SlotWcsToUcs);
  Put(table, HostSlot::Select, &SlotSelect);
  Put(table, HostSlot::GetEnvString, &SlotGetEnvString);
  Put(table, HostSlot::InputState, &SlotInputState);
  Put(table, HostSlot::ProductTitle, &SlotProductTitle);
  return &table;
}

// ---- Control -----------------------------------------------------------------

int Refuse(char* error, int size, const std::string& message) {
  if (error && size > 0) CopyStringN(error, static_cast<size_t>(size), message.c_str());
  return 0;
}

int ControlSetOption(const char* name, const char* value, char* error, int size) {
  if (!name || !value) return Refuse(error, size, "option without a name or value");
  host::HostOptions& o = TheHost().Options();
  std::string key = name, text = value;
  if (key == "edition") {
    if (text != "lt" && text != "full") return Refuse(error, size, "edition is lt or full");
    o.lt = text == "lt";
  } else if (key == "units") {
    if (text != "1" && text != "1000") return Refuse(error, size, "units are 1 or 1000, not '" + text + "'");
    o.units = std::stoi(text);
  } else if (key == "scale") {
    std::optional<double> s = host::ParseDxfReal(text);
    if (!s || !(*s > 0)) return Refuse(error, size, "scale is a positive number, not '" + text + "'");
    o.scale = *s;
  } else if (key == "env") {
    size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return Refuse(error, size, "env takes NAME=VALUE, not '" + text + "'");
    o.env[text.substr(0, eq)] = text.substr(eq + 1);
  } else if (key == "profile") {
    o.profileFolder = text;
  } else if (key == "catalogue") {
    o.catalogueFolder = text;
  } else if (key == "module-folder") {
    o.moduleFolder = text;
  } else if (key == "exit-after-shutdown") {
    if (text != "0" && text != "1") return Refuse(error, size, "exit-after-shutdown is 0 or 1");
    o.exitAfterShutdown = text == "1";
  } else if (key == "log") {
    if (!TheHost().Log().Open(text)) return Refuse(error, size, "cannot write the log " + text);
  } else {
    return Refuse(error, size, "unknown option " + key);
  }
  return 1;
}

int ControlOpenDrawing(const char* path, char* error, int size) {
  host::DxfError e;
  if (!path) return Refuse(error, size, "no drawing");
  if (!TheHost().OpenDrawing(path, &e)) return Refuse(error, size, e.ToString());
  return 1;
}

int ControlPreselect(const char* handles, char* error, int size) {
  std::vector<uint64_t> list;
  std::string text = handles ? handles : "";
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t comma = text.find(',', pos);
    if (comma == std::string::npos) comma = text.size();
    std::string word = text.substr(pos, comma - pos);
    uint64_t h = 0;
    if (!ParseScriptHandle(word, &h)) return Refuse(error, size, "'" + word + "' is not an entity handle");
    list.push_back(h);
    pos = comma + 1;
  }
  std::string why;
  if (!TheHost().Preselect(list, &why)) return Refuse(error, size, why);
  return 1;
}

resbuf* ControlEntityChain(const char* handle, char* error, int size) {
  uint64_t h = 0;
  if (!handle || !ParseScriptHandle(handle, &h)) {
    Refuse(error, size, std::string("'") + (handle ? handle : "") + "' is not an entity handle");
    return nullptr;
  }
  std::string why;
  resbuf* chain = TheHost().EntityChain(h, &why);
  if (!chain) Refuse(error, size, why);
  return chain;
}

int ControlDrawingUnits() { return TheHost().Units(); }
HWND ControlMainWindow() { return TheHost().Window(); }
void ControlBeginCommand() { TheHost().BeginCommand(); }

int ControlEndCommand() {
  switch (TheHost().EndCommand()) {
    case host::ChangeOutcome::Committed: return kDravikCommitted;
    case host::ChangeOutcome::Cancelled: return kDravikCancelled;
    case host::ChangeOutcome::LeftOpen: return kDravikLeftOpen;
    case host::ChangeOutcome::Refused: return kDravikRefused;
    case host::ChangeOutcome::Unchanged: break;
  }
  return kDravikUnchanged;
}

int ControlSaveDrawing(const char* path, char* error, int size) {
  host::DxfError e;
  if (!path) return Refuse(error, size, "no file name");
  if (!TheHost().Drawing().Save(path, &e)) return Refuse(error, size, e.ToString());
  return 1;
}

void ControlShutdown() { TheHost().Shutdown(); }
const char* ControlRefusal() { return TheHost().Refusal().c_str(); }

}  // namespace

// ---- The host's exports --------------------------------------------------------

DRAVIK_EXPORT HostExport2D* GetExport2D() {
  static HostExport2D* table = BuildTable();
  TheHost().Log().Call("GetExport2D", "", "table");
  return table;
}

DRAVIK_EXPORT int GetProfilePath(int kind, char* buffer, int size) {
  return TheHost().GetProfilePath(kind, buffer, size);
}

DRAVIK_EXPORT jovDatabase::Database* GetDatabase(char trade) { return TheHost().GetDatabase(trade); }

DRAVIK_EXPORT resbuf* alt_entnext(int first) { return TheHost().AltEntNext(first); }

DRAVIK_EXPORT int unlink_DXF() { return TheHost().UnlinkDxf(); }

DRAVIK_EXPORT resbuf* alt_entnext_app(int first, const char* application) {
  return TheHost().AltEntNextApp(first, application);
}

DRAVIK_EXPORT int alt_entdel(const resbuf* chain) { return TheHost().AltEntDel(chain); }

DRAVIK_EXPORT const char* alt_lasterror() { return TheHost().AltLastError(); }

// Fetched by the plug-in but never called: they answer with an error.
#define DRAVIK_UNSUPPORTED(name) \
  DRAVIK_EXPORT int name() { return TheHost().Unsupported(#name); }
DRAVIK_UNSUPPORTED(alt_blknext)
DRAVIK_UNSUPPORTED(alt_layernext)
DRAVIK_UNSUPPORTED(alt_layerfind)
DRAVIK_UNSUPPORTED(alt_prompt)
DRAVIK_UNSUPPORTED(err_message)
DRAVIK_UNSUPPORTED(DXF_HEADER_BIN)
DRAVIK_UNSUPPORTED(DXF_EOF_BIN)
DRAVIK_UNSUPPORTED(DXF_HEADER)
DRAVIK_UNSUPPORTED(DXF_EOF)
DRAVIK_UNSUPPORTED(GetBlockHandle)
DRAVIK_UNSUPPORTED(alt_blkmake)
DRAVIK_UNSUPPORTED(alt_blkmake_bin)
DRAVIK_UNSUPPORTED(alt_send)
DRAVIK_UNSUPPORTED(GetLastHandle)
DRAVIK_UNSUPPORTED(alt_entmake)
DRAVIK_UNSUPPORTED(alt_entmake_txt)
DRAVIK_UNSUPPORTED(alt_entmake_bin)
DRAVIK_UNSUPPORTED(WriteAcadEnvStr)
DRAVIK_UNSUPPORTED(RegAppBin)
DRAVIK_UNSUPPORTED(CreateDefLineType)
DRAVIK_UNSUPPORTED(alt_makeblockdef)
DRAVIK_UNSUPPORTED(makeblockdef_txt)
DRAVIK_UNSUPPORTED(makeblockdef_bin)
#undef DRAVIK_UNSUPPORTED

DRAVIK_EXPORT const DravikHostControl* GetDravikControl() {
  static const DravikHostControl control = {
      kDravikControlVersion, &ControlSetOption,   &ControlOpenDrawing, &ControlPreselect,
      &ControlEntityChain,   &ControlDrawingUnits, &ControlMainWindow, &ControlBeginCommand,
      &ControlEndCommand,    &ControlSaveDrawing,  &ControlShutdown,     &ControlRefusal,
  };
  return &control;
}
