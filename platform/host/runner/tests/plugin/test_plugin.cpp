// A plug-in for the runner's tests: the seven command names of the real
// one, each exercising part of the host the way the system does, and
// telling what it saw through message boxes (which the runner prints).
//   Jov_Length(unit)        the length of the selected line to the clipboard
//   Jov_CutDlg(0, null)     pick + selection, write-back, block, new
//                           entities; a Yes/No box decides EndChange(1/-1)
//   Jov_Vantrix_Export      host values, a point prompt, UCS, catalogue
//   Jov_Vantrix_Import(n)   change brackets: 0 left open, 1 commit then a
//                           cancelled second change, 2 cancelled; 3 a
//                           modal dialog (edit 100, check box 101) that
//                           reports its values and returns its result
//   Jov_Vantrix_M(parent)   returns the answer of a Yes/No/Cancel box
//   Exclude_From            window selection marked with extended data
//   Include_In              the by-name table: every name, the refusals
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "dataformat/HostExportTable.h"
#include "platform/host/tests/HostSlots.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/ui_services.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

HMODULE HostModule() {
  HMODULE host = GetModuleHandleA("DUVOZEDO.EXE");
  return host ? host : GetModuleHandleA("DRAVIK2D.ARX");
}

template <typename Fn>
Fn HostFunction(const char* name) {
  HMODULE host = HostModule();
  return host ? reinterpret_cast<Fn>(GetProcAddress(host, name)) : nullptr;
}

HostExport2D* Table() {
  auto get = HostFunction<GetExport2DFn>("GetExport2D");
  return get ? get() : nullptr;
}

int Box(const std::string& text, UINT type) {
  HostExport2D* t = Table();
  return MessageBoxA(Slot<HostMainWindowFn>(t, HostSlot::MainWindow)(), text.c_str(), Slot<HostProductTitleFn>(t, HostSlot::ProductTitle)(), type);
}

std::string Num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

std::string Point(const double* p) { return "(" + Num(p[0]) + ", " + Num(p[1]) + ", " + Num(p[2]) + ")"; }

std::string HandleOf(const resbuf* chain) {
  const char* h = GetEntityString(chain, 5);
  return h ? h : "?";
}

std::string TypeOf(const resbuf* chain) {
  const char* t = GetEntityString(chain, 0);
  return t ? t : "?";
}

resbuf* Node(int16_t code) {
  auto* node = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  node->code = code;
  return node;
}

// Builds a chain from a small description, appended at *tail.
struct ChainBuilder {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  ChainBuilder& Text(int16_t code, const char* text) {
    resbuf* n = Node(code);
    n->value.text = DupString(text);
    return Add(n);
  }
  ChainBuilder& Real(int16_t code, double v) {
    resbuf* n = Node(code);
    n->value.real = v;
    return Add(n);
  }
  ChainBuilder& Int16(int16_t code, int16_t v) {
    resbuf* n = Node(code);
    n->value.i16 = v;
    return Add(n);
  }
  ChainBuilder& Int32(int16_t code, int32_t v) {
    resbuf* n = Node(code);
    n->value.i32 = v;
    return Add(n);
  }
  ChainBuilder& Pt(int16_t code, double x, double y, double z = 0) {
    resbuf* n = Node(code);
    n->value.point[0] = x;
    n->value.point[1] = y;
    n->value.point[2] = z;
    return Add(n);
  }
  ChainBuilder& Add(resbuf* n) {
    *tail = n;
    tail = &n->next;
    return *this;
  }
};

// A copy of a host chain with one more application's extended data.
int WriteMarked(HostExport2D* t, const resbuf* chain, const char* app, const char* value) {
  resbuf* copy = CopyGroupCodeChain(chain);
  ChainBuilder more;
  more.Text(1001, app).Text(1000, value);
  LastGroupCodeNode(&copy)->next = more.head;
  int r = Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(copy, 0);
  FreeGroupCodeChain(copy);
  return r;
}

}  // namespace

PLUGIN_EXPORT int Jov_Length(int unit) {
  using EntNext = resbuf* (*)(int);
  using Unlink = int (*)();
  auto entnext = HostFunction<EntNext>("alt_entnext");
  auto unlink = HostFunction<Unlink>("unlink_DXF");
  if (!entnext || !unlink) return -1;
  resbuf* chain = entnext(1);
  if (chain && (!chain->next || strcasecmp(chain->next->value.text, "LINE") != 0)) chain = nullptr;
  double a[3] = {0, 0, 0}, b[3] = {0, 0, 0};
  int bits = 0;
  for (resbuf* n = chain; n; n = n->next) {
    if (n->code == 10) std::memcpy(a, n->value.point, sizeof a), bits |= 1;
    if (n->code == 11) std::memcpy(b, n->value.point, sizeof b), bits |= 2;
  }
  if (bits != 3) {
    unlink();
    return -1;
  }
  double length = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                            (a[2] - b[2]) * (a[2] - b[2]));
  if (unit == 1000) length /= 1000.0;
  UINT format = RegisterClipboardFormatA("CF_VANTRIX_CAD");
  int result = -1;
  if (format && OpenClipboard(nullptr)) {
    EmptyClipboard();
    char text[128];
    std::snprintf(text, sizeof text, "%.4f", length);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::strlen(text) + 1);
    std::memcpy(GlobalLock(block), text, std::strlen(text) + 1);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) GlobalFree(block);
    CloseClipboard();
    result = 0;
  }
  unlink();
  return result;
}

PLUGIN_EXPORT int Jov_CutDlg(int, void*) {
  HostExport2D* t = Table();
  double pick[3] = {0, 0, 0};
  int first = Slot<HostSelectFn>(t, HostSlot::Select)("Pick the riser", 1, 0, pick);
  if (first != HOST_NORMAL) {
    Box("pick: " + std::to_string(first) + " state " + std::to_string(Slot<HostInputStateFn>(t, HostSlot::InputState)()), 16);
    return -1;
  }
  int second = Slot<HostSelectFn>(t, HostSlot::Select)("Select the network", 2, 4, nullptr);
  std::string seen = "picked " + Point(pick) + "; selection " + std::to_string(second) + ":";
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  for (resbuf* e = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(1); e; e = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(0)) {
    seen += " " + TypeOf(e) + " " + HandleOf(e);
    WriteMarked(t, e, "JOV_TEST", "touched");
  }
  // A block from two entities and an INSERT of it at the pick point.
  double x = pick[0], y = pick[1], z = 0;
  int begin = Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockBegin, "*UJOVCUT20041", 1, x, y, z);
  ChainBuilder circle;
  circle.Text(0, "CIRCLE").Text(8, "JOV_SYMBOL").Pt(10, x, y).Real(40, 50.0);
  ChainBuilder line;
  line.Text(0, "LINE").Text(8, "0").Pt(10, x - 50, y).Pt(11, x + 50, y);
  int added = Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockAdd, circle.head) == HOST_NORMAL && Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockAdd, line.head) == HOST_NORMAL;
  FreeGroupCodeChain(circle.head);
  FreeGroupCodeChain(line.head);
  char name[256] = {};
  int end = Slot<HostBlockDefineFn>(t, HostSlot::BlockDefine)(kHostBlockEnd, name);
  seen += "; block " + std::to_string(begin) + "/" + std::to_string(added) + "/" + std::to_string(end) + " " + name;

  ChainBuilder insert;
  insert.Text(0, "INSERT").Text(100, "AcDbEntity").Text(8, "JOV_SYMBOL").Text(100, "AcDbBlockReference")
      .Text(2, name).Pt(10, x, y).Real(41, 1.0).Real(50, 1.5707963267948966)
      .Text(1001, "JOV_DATA").Text(1000, "TCD0000i0002").Text(1000, "_NUM_RISER").Text(1000, "1");
  ChainBuilder poly;
  poly.Text(0, "LWPOLYLINE").Text(100, "AcDbEntity").Text(8, "JOV_TRUBKY").Int16(62, 256)
      .Text(100, "AcDbPolyline").Int32(90, 3).Int16(70, 0).Real(43, 0.0)
      .Pt(10, 0, 0).Real(42, 1.0).Pt(10, 100, 0).Pt(10, 100, 50)
      .Text(1001, "JOV_DATA").Text(1000, "TCD0000i0001").Text(1000, "_TYPE").Text(1000, "128");
  ChainBuilder text;
  text.Text(0, "TEXT").Text(8, "JOV_TEXT").Pt(10, 10, 20).Real(40, 2.5)
      .Text(1, "Potrub\xED \xE8\xED\x73lo").Real(50, 0.0);
  int writes = 0;
  for (ChainBuilder* c : {&insert, &poly, &text}) {
    writes += Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(c->head, 0) == HOST_NORMAL;
    FreeGroupCodeChain(c->head);
  }
  seen += "; new " + std::to_string(writes);
  int answer = Box(seen + ". Keep?", MB_YESNO | MB_ICONQUESTION);
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(answer == IDYES ? 1 : -1);
  return -1;
}

PLUGIN_EXPORT int Jov_Vantrix_Export(int, void*) {
  HostExport2D* t = Table();
  double axis[3] = {1, 0, 0};
  Slot<HostCoordFn>(t, HostSlot::UcsToWcs)(axis, true);
  // The UCS x axis's angle in the WCS, in [0, 2 pi).
  double angle = std::atan2(axis[1], axis[0]);
  if (angle < 0) angle += 2 * M_PI;
  if (angle >= 2 * M_PI) angle = 0;
  char profile[260] = {};
  if (auto get = HostFunction<GetProfilePathFn>("GetProfilePath")) get(0, profile, sizeof profile);
  using GetDb = void* (*)(char);
  auto db = HostFunction<GetDb>("GetDatabase");
  const char* layer = Slot<HostGetVariableFn>(t, HostSlot::GetVariable)("CLAYER");
  std::string info = "units=" + std::to_string(Slot<HostDrawingUnitsFn>(t, HostSlot::DrawingUnits)()) + " scale=" + Num(Slot<HostDrawingScaleFn>(t, HostSlot::DrawingScale)()) +
                     " layer=" + (layer ? layer : "(null)") + " env=" + Slot<HostGetEnvStringFn>(t, HostSlot::GetEnvString)("JOV_OFFSET") +
                     " angle=" + Num(angle) + " window=" + (Slot<HostMainWindowFn>(t, HostSlot::MainWindow)() ? "yes" : "null") +
                     " catalogue T=" + (db && db('T') ? "yes" : "no") + " X=" + (db && db('X') ? "yes" : "no") +
                     " same=" + (db && db('T') == db('t') ? "yes" : "no") + " profile=" + profile;
  Box(info, MB_ICONINFORMATION);
  double p[3] = {0, 0, 0};
  int r = Slot<HostGetPointFn>(t, HostSlot::GetPoint)(0, "Insertion point", p);
  std::string where = "point " + std::to_string(r) + " state " + std::to_string(Slot<HostInputStateFn>(t, HostSlot::InputState)());
  if (r == HOST_NORMAL) {
    double w[3] = {p[0], p[1], p[2]};
    Slot<HostCoordFn>(t, HostSlot::UcsToWcs)(w, false);
    double back[3] = {w[0], w[1], w[2]};
    Slot<HostCoordFn>(t, HostSlot::WcsToUcs)(back, false);
    where += " " + Point(p) + " world " + Point(w) + " back " + Point(back);
  }
  Box(where, MB_ICONINFORMATION);
  return -1;
}

// A dialog from a template in memory: a text, a check box, OK and Cancel.
std::vector<BYTE> ImportDialog() {
  DialogTemplate d;
  d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  d.cx = 160;
  d.cy = 60;
  d.caption = "Import";
  auto item = [&](WORD atom, int id, DWORD style, short x, short y, short cx, short cy, const char* text) {
    DialogTemplateItem i;
    i.style = WS_CHILD | WS_VISIBLE | style;
    i.x = x, i.y = y, i.cx = cx, i.cy = cy;
    i.id = id;
    i.windowClass = TemplateRef::Number(atom);
    i.title = TemplateRef::Name(text);
    d.items.push_back(i);
  };
  item(0x81, 100, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 5, 5, 100, 12, "start");
  item(0x80, 101, WS_TABSTOP | BS_AUTOCHECKBOX, 5, 20, 100, 10, "Overwrite");
  item(0x80, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 5, 45, 14, "OK");
  item(0x80, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 110, 22, 45, 14, "Cancel");
  return SerializeDialogTemplate(d);
}

std::string g_importText;
UINT g_importCheck = 0;

INT_PTR ImportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    char text[256] = "";
    GetDlgItemTextA(dialog, 100, text, sizeof text);
    g_importText = text;
    g_importCheck = IsDlgButtonChecked(dialog, 101);
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

PLUGIN_EXPORT int Jov_Vantrix_Import(int mode, void*) {
  HostExport2D* t = Table();
  if (mode == 3) {
    const std::vector<BYTE> tmpl = ImportDialog();
    const INT_PTR result = DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                                   Slot<HostMainWindowFn>(t, HostSlot::MainWindow)(), ImportProc, 0);
    Box("dialog " + std::to_string(result) + " text=" + g_importText + " check=" + std::to_string(g_importCheck),
        MB_ICONINFORMATION);
    return static_cast<int>(result);
  }
  ChainBuilder a;
  a.Text(0, "LINE").Text(8, "JOV_IMPORT").Pt(10, 0, 0).Pt(11, 10, 10);
  ChainBuilder b;
  b.Text(0, "CIRCLE").Text(8, "JOV_IMPORT").Pt(10, 5, 5).Real(40, 1.0);
  if (mode == 0) {
    Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(a.head, 0);  // no bracket: the host rolls it back
  } else if (mode == 1) {
    Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
    Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(a.head, 0);
    Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1);
    Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
    Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(b.head, 0);
    Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
  } else {
    Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
    Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(a.head, 0);
    Slot<HostEntityWriteFn>(t, HostSlot::EntityWrite)(b.head, 0);
    Slot<HostEndChangeFn>(t, HostSlot::EndChange)(-1);
  }
  FreeGroupCodeChain(a.head);
  FreeGroupCodeChain(b.head);
  return -1;
}

PLUGIN_EXPORT int Jov_Vantrix_M(HWND parent) {
  return Box(std::string("parent ") + (parent ? "window" : "null") + ". Save the list?",
             MB_YESNOCANCEL | MB_ICONQUESTION);
}

PLUGIN_EXPORT int Exclude_From() {
  HostExport2D* t = Table();
  int a = Slot<HostSelectFn>(t, HostSlot::Select)("Select what to exclude", 2, 0, nullptr);
  int b = Slot<HostSelectFn>(t, HostSlot::Select)("Select what to exclude", 0, 4, nullptr);
  if (a != HOST_NORMAL || b != HOST_NORMAL) {
    Box("selection " + std::to_string(a) + " " + std::to_string(b), 48);
    return 1;
  }
  std::string seen = "excluded:";
  Slot<HostBeginChangeFn>(t, HostSlot::BeginChange)();
  for (resbuf* e = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(1); e; e = Slot<HostSelectionNextFn>(t, HostSlot::SelectionNext)(0)) {
    seen += " " + HandleOf(e);
    WriteMarked(t, e, "JOV_EXCLUDE", "1");
  }
  Slot<HostEndChangeFn>(t, HostSlot::EndChange)(1);
  Box(seen, MB_ICONINFORMATION);
  return 1;
}

PLUGIN_EXPORT int Include_In() {
  static const char* const names[] = {
      "alt_entnext",  "alt_blknext",     "alt_layernext",    "alt_layerfind",   "alt_prompt",
      "err_message",  "DXF_HEADER_BIN",  "DXF_EOF_BIN",      "DXF_HEADER",      "DXF_EOF",
      "GetBlockHandle", "alt_blkmake",   "alt_blkmake_bin",  "alt_send",        "GetLastHandle",
      "alt_entmake",  "alt_entmake_txt", "alt_entmake_bin",  "WriteAcadEnvStr", "unlink_DXF",
      "GetDatabase",  "RegAppBin",       "CreateDefLineType", "alt_makeblockdef", "makeblockdef_txt",
      "makeblockdef_bin", "GetProfilePath"};
  int found = 0, refusing = 0;
  std::string missing;
  for (const char* name : names) {
    FARPROC p = GetProcAddress(HostModule(), name);
    if (!p) {
      missing += std::string(" ") + name;
      continue;
    }
    ++found;
    bool called = std::strcmp(name, "alt_entnext") && std::strcmp(name, "unlink_DXF") &&
                  std::strcmp(name, "GetDatabase") && std::strcmp(name, "GetProfilePath");
    if (called && reinterpret_cast<int (*)()>(p)() == HOST_ERROR) ++refusing;
  }
  Box("by name: " + std::to_string(found) + " found, " + std::to_string(refusing) + " refuse" +
          (missing.empty() ? "" : "; missing" + missing),
      MB_ICONINFORMATION);
  return 1;
}
