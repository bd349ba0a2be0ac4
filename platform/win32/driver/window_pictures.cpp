#include "platform/win32/driver/window_pictures.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "platform/win32/classic_look.h"
#include "platform/win32/code_page.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/gdi_raster.h"
#include "platform/win32/headless_metrics.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_model.h"

namespace {

WindowFrameSource g_frames = nullptr;

struct PictureRun {
  std::string folder;
  std::map<std::string, int> openings;   // template name -> openings so far
  std::map<HWND, std::string> numbered;  // open dialog -> "<template>-<n>"
  std::set<HWND> modeless;               // modeless dialogs pictured
  int boxes = 0;
  int menus = 0;
  std::vector<std::string> written;
  std::vector<std::string> failures;
};

PictureRun& Run() {
  static auto* run = new PictureRun;
  return *run;
}

// What a scroll bar shows: its range, page and position, or nothing to
// scroll (disabled, no thumb).
struct BarState {
  bool disabled = true;
  int maximum = 0, page = 0, position = 0;
};

// A list box's bar scrolls its rows and a multi-line edit's its lines;
// with all of them in view the bar stands disabled (the list box keeps it
// only when its style asks so). Other windows' bars have nothing to scroll.
BarState VerticalBar(winmodel::Window* w, cairo_t* cr) {
  BarState bar;
  const HWND h = w->handle;
  int count = 0, first = 0, rows = 1;
  if (EqualsIgnoreCase(w->className, "ListBox")) {
    count = static_cast<int>(SendMessageA(h, LB_GETCOUNT, 0, 0));
    first = static_cast<int>(SendMessageA(h, LB_GETTOPINDEX, 0, 0));
    const int item = std::max(1, static_cast<int>(SendMessageA(h, LB_GETITEMHEIGHT, 0, 0)));
    rows = std::max(1, winmodel::ClientHeight(w) / item);
  } else if (EqualsIgnoreCase(w->className, "Edit") && (w->style & ES_MULTILINE)) {
    count = static_cast<int>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    first = static_cast<int>(SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0));
    cairo_save(cr);
    raster::UseFont(cr, w->font);
    rows = std::max(1, static_cast<int>(winmodel::ClientHeight(w) / std::max(1.0, raster::LineHeight(cr))));
    cairo_restore(cr);
  }
  if (count > rows) bar = {false, count - 1, rows, first};
  return bar;
}

// The frame Windows draws around a child window: borders, edges and
// scroll bars, in the window's own coordinates.
void PaintNonClient(winmodel::Window* w, cairo_t* cr) {
  RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  if (w->exStyle & WS_EX_CLIENTEDGE) classic::Edge(cr, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (w->exStyle & WS_EX_STATICEDGE) classic::Edge(cr, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if ((w->style & WS_BORDER) && !(w->style & WS_DLGFRAME)) {
    RECT inner = r;
    raster::FillRect(cr, {r.left, r.top, r.right, r.top + 1}, GetSysColor(COLOR_WINDOWFRAME));
    raster::FillRect(cr, {r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_WINDOWFRAME));
    raster::FillRect(cr, {r.left, r.top, r.left + 1, r.bottom}, GetSysColor(COLOR_WINDOWFRAME));
    raster::FillRect(cr, {r.right - 1, r.top, r.right, r.bottom}, GetSysColor(COLOR_WINDOWFRAME));
    r = {inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1};
  } else if (w->style & WS_DLGFRAME) {
    classic::Edge(cr, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    classic::Edge(cr, &r, 0, BF_RECT | BF_ADJUST);
  }
  // A combo box's scroll bar styles are its list's.
  const bool combo = EqualsIgnoreCase(w->className, "ComboBox");
  const bool v = !combo && (w->style & WS_VSCROLL), h = !combo && (w->style & WS_HSCROLL);
  const int bar = headless::kScrollBar;
  if (v) {
    const BarState s = VerticalBar(w, cr);
    classic::ScrollBar(cr, {r.right - bar, r.top, r.right, r.bottom - (h ? bar : 0)}, true, 0, s.maximum, s.page,
                       s.position, s.disabled);
  }
  if (h) classic::ScrollBar(cr, {r.left, r.bottom - bar, r.right - (v ? bar : 0), r.bottom}, false, 0, 0, 0, 0, true);
  if (v && h) raster::FillRect(cr, {r.right - bar, r.bottom - bar, r.right, r.bottom}, GetSysColor(COLOR_BTNFACE));
}

void PaintTree(HWND handle, bool root) {
  winmodel::Window* w = winmodel::Find(handle);
  // The window pictured is shown as it stands, even once its dialog has ended
  // and hidden it.
  if (!w || (!root && !w->Visible())) return;
  if (!root) {
    HDC dc = GetWindowDC(handle);
    if (cairo_t* cr = raster::Of(dc)) PaintNonClient(w, cr);
    ReleaseDC(handle, dc);
  }
  // An OpenGL window shows its last frame until its paint swaps a new one.
  std::vector<unsigned char> rgba;
  int fw = 0, fh = 0;
  if (g_frames && g_frames(handle, &rgba, &fw, &fh)) raster::PutClientPixels(handle, rgba.data(), fw, fh);
  winmodel::Invalidate(w, nullptr, true);
  SendMessageA(handle, WM_PAINT, 0, 0);
  w = winmodel::Find(handle);
  if (!w) return;
  w->hasUpdate = false;
  std::vector<HWND> children;
  for (winmodel::Window* c : w->children)
    if (c->IsChild()) children.push_back(c->handle);
  // Bottom of the z-order first: the top ones cover it.
  for (auto it = children.rbegin(); it != children.rend(); ++it) PaintTree(*it, false);
}

WindowPicture FromSurface(cairo_surface_t* s) {
  cairo_surface_flush(s);
  WindowPicture p;
  p.width = cairo_image_surface_get_width(s);
  p.height = cairo_image_surface_get_height(s);
  const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
  const int stride = cairo_image_surface_get_stride(s) / 4;
  p.pixels.resize(static_cast<size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) p.pixels[static_cast<size_t>(y) * p.width + x] = data[y * stride + x] & 0xFFFFFF;
  return p;
}

std::string TemplateName(HWND dialog) {
  int id = -1;
  std::string name;
  GetDialogTemplateOf(dialog, &id, &name);
  if (id >= 0) return std::to_string(id);
  std::string clean;
  for (char c : name) clean += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return clean.empty() ? "dialog" : clean;
}

void Keep(bool ok, const std::string& path, const std::string& why) {
  if (ok) Run().written.push_back(path);
  else Run().failures.push_back(path + ": " + why);
}

}  // namespace

bool PaintWindowPicture(HWND window, WindowPicture* out) {
  winmodel::Window* w = winmodel::Find(window);
  if (!w || !out) return false;
  const int width = winmodel::ClientWidth(w), height = winmodel::ClientHeight(w);
  if (width <= 0 || height <= 0 || static_cast<long>(width) * height > 64L * 1024 * 1024) return false;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return false;
  }
  cairo_t* cr = cairo_create(s);
  raster::SetColor(cr, GetSysColor(COLOR_BTNFACE));
  cairo_paint(cr);
  cairo_destroy(cr);
  const POINT origin = winmodel::ClientOrigin(w);
  raster::OpenCanvas(window, s, origin);
  PaintTree(window, true);
  raster::CloseCanvas(window);
  // Popups the window owns (a choice list, a tip) lie over it, in their own
  // places; the bottom of the z-order first.
  std::vector<HWND> popups;
  for (winmodel::Window* top : winmodel::Desktop()->children)
    for (winmodel::Window* o = top->owner; o; o = o->owner)
      if (o == w && top != w && top->Visible()) {
        popups.push_back(top->handle);
        break;
      }
  for (auto it = popups.rbegin(); it != popups.rend(); ++it) {
    raster::OpenCanvas(*it, s, origin);
    PaintTree(*it, false);
    raster::CloseCanvas(*it);
  }
  *out = FromSurface(s);
  cairo_surface_destroy(s);
  return true;
}

bool WritePicturePng(const WindowPicture& picture, const std::string& path, std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why) *why = reason;
    return false;
  };
  if (picture.width <= 0 || picture.height <= 0) return fail("empty picture");
  std::error_code ec;
  const auto folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) return fail("cannot make folder " + folder.string() + ": " + ec.message());
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
  cairo_surface_flush(s);
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  const int stride = cairo_image_surface_get_stride(s) / 4;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) data[y * stride + x] = 0xFF000000u | picture.At(x, y);
  cairo_surface_mark_dirty(s);
  const cairo_status_t status = cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::filesystem::remove(path, ec);
    return fail(std::string("cannot write: ") + cairo_status_to_string(status));
  }
  return true;
}

WindowPicture PaintMessageBoxPicture(const std::string& caption, const std::string& text, UINT type) {
  cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* pc = cairo_create(probe);
  raster::UseFont(pc, nullptr);
  // The text wraps at word boundaries to at most five eighths of the screen,
  // and the box grows as tall as its lines.
  const bool icon = (type & MB_ICONMASK) != 0;
  const int textLeft = icon ? 62 : 12;
  const HeadlessMetrics& metrics = GetHeadlessMetrics();
  const double wrapWidth = std::max(120, metrics.screenWidth * 5 / 8 - textLeft - 12);
  const std::vector<std::string> lines = raster::TextLines(pc, text, wrapWidth, true);
  double textWidth = 0;
  for (const std::string& line : lines) textWidth = std::max(textWidth, raster::TextWidth(pc, line));
  const int lineHeight = static_cast<int>(raster::LineHeight(pc));
  cairo_destroy(pc);
  cairo_surface_destroy(probe);
  const std::vector<int> buttons = MessageBoxButtons(type);
  const int buttonsWidth = static_cast<int>(buttons.size()) * 81 - 6;
  // Within what one picture can hold (a word longer than the screen, some
  // thousand lines).
  constexpr int kMost = 32000;
  const int width = std::min(std::max({static_cast<int>(std::ceil(textWidth)) + textLeft + 12, buttonsWidth + 24, 160}), kMost);
  const int body = std::min(std::max(icon ? 32 : 0, static_cast<int>(lines.size()) * lineHeight), kMost - 200);
  const int height = headless::kCaption + 24 + body + 20 + 23 + 12;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(s);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  raster::FillRect(cr, {0, 0, width, height}, GetSysColor(COLOR_BTNFACE));
  raster::FillRect(cr, {0, 0, width, headless::kCaption}, RGB(0, 0, 128));
  raster::UseFont(cr, nullptr);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  raster::TextAt(cr, 6, (headless::kCaption - raster::LineHeight(cr)) / 2, caption, RGB(255, 255, 255));
  raster::UseFont(cr, nullptr);
  int y = headless::kCaption + 24;
  if (icon) {
    const UINT kind = type & MB_ICONMASK;
    const WORD id = kind == MB_ICONHAND ? 32513 : kind == MB_ICONQUESTION ? 32514 : kind == MB_ICONEXCLAMATION ? 32515 : 32516;
    HICON stock = LoadIconA(nullptr, MAKEINTRESOURCEA(id));
    raster::IconAt(cr, stock, 12, y, 32);
  }
  int lineTop = y + (body - static_cast<int>(lines.size()) * lineHeight) / 2;
  for (const std::string& line : lines) {
    raster::TextAt(cr, textLeft, lineTop, line, GetSysColor(COLOR_WINDOWTEXT));
    lineTop += lineHeight;
  }
  int x = (width - buttonsWidth) / 2;
  const int by = height - 12 - 23;
  const UINT defaultIndex = (type & MB_DEFMASK) >> 8;
  for (size_t i = 0; i < buttons.size(); ++i, x += 81) {
    classic::PushButtonFrame(cr, {x, by, x + 75, by + 23}, false, i == defaultIndex);
    static const char* const kNames[] = {"", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No", "", "",
                                         "&Try Again", "&Continue"};
    const int id = buttons[i];
    raster::TextIn(cr, id >= 0 && id < 12 ? kNames[id] : "?", {x, by, x + 75, by + 23},
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE, GetSysColor(COLOR_BTNTEXT));
  }
  cairo_destroy(cr);
  WindowPicture p = FromSurface(s);
  cairo_surface_destroy(s);
  return p;
}

WindowPicture PaintMenuPicture(const std::vector<MenuRow>& rows) {
  constexpr int kRow = 18;
  constexpr int kSeparator = 9;
  cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* pc = cairo_create(probe);
  raster::UseFont(pc, nullptr);
  double widest = 60;
  int tall = 0;
  for (const MenuRow& row : rows) {
    widest = std::max(widest, raster::TextWidth(pc, row.text) + 40);
    tall += row.separator ? kSeparator : kRow;
  }
  cairo_destroy(pc);
  cairo_surface_destroy(probe);
  const int width = std::min(static_cast<int>(widest) + 6, 900);
  const int height = std::min(std::max(tall, kRow) + 6, 2000);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(s);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  RECT frame{0, 0, width, height};
  classic::Edge(cr, &frame, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  raster::UseFont(cr, nullptr);
  int y = frame.top + 1;
  for (const MenuRow& item : rows) {
    if (item.separator) {
      RECT line{frame.left + 1, y + kSeparator / 2 - 1, frame.right - 1, y + kSeparator / 2 + 1};
      classic::Edge(cr, &line, EDGE_ETCHED, BF_TOP);
      y += kSeparator;
      continue;
    }
    // An accelerator after a tab stands at the right; a greyed row is
    // embossed as a disabled text is.
    const size_t tab = item.text.find('\t');
    const RECT row{frame.left + 20, y, frame.right - 10, y + kRow};
    auto text = [&](const std::string& part, UINT align) {
      const UINT format = align | DT_SINGLELINE | DT_VCENTER;
      if (item.grayed) classic::DisabledText(cr, part.c_str(), row, format);
      else raster::TextIn(cr, part, row, format, GetSysColor(COLOR_BTNTEXT));
    };
    text(item.text.substr(0, tab), DT_LEFT);
    if (tab != std::string::npos) text(item.text.substr(tab + 1), DT_RIGHT);
    if (item.checked) {
      // The check mark: a tick three pixels thick, as the classic menus draw it.
      raster::SetColor(cr, item.grayed ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT));
      const int x = frame.left + 6, base = y + kRow / 2 + 2;
      for (int i = 0; i < 7; ++i) {
        const int top = i < 3 ? base - 2 + i : base - 2 - (i - 2) + 2;
        cairo_rectangle(cr, x + i, top - 1, 1, 3);
      }
      cairo_fill(cr);
    }
    if (item.submenu) classic::Arrow(cr, {frame.right - 16, y, frame.right - 2, y + kRow}, 3, item.grayed);
    y += kRow;
  }
  cairo_destroy(cr);
  WindowPicture p = FromSurface(s);
  cairo_surface_destroy(s);
  return p;
}

void SetDialogPictureFolder(const std::string& folder) { Run().folder = folder; }

const std::string& DialogPictureFolder() { return Run().folder; }

std::string DialogPictureName(HWND dialog, const char* when) {
  PictureRun& run = Run();
  auto it = run.numbered.find(dialog);
  if (it == run.numbered.end()) {
    const std::string name = TemplateName(dialog);
    // A folder that earlier runs wrote into keeps their pictures.
    int& n = run.openings[name];
    while (std::filesystem::exists(std::filesystem::path(run.folder) / (name + "-" + std::to_string(n + 1) + "-open.png")))
      ++n;
    it = run.numbered.emplace(dialog, name + "-" + std::to_string(++n)).first;
  }
  return it->second + "-" + when + ".png";
}

void PictureDialog(HWND dialog, const char* when) {
  PictureRun& run = Run();
  if (run.folder.empty()) return;
  const std::string path = (std::filesystem::path(run.folder) / DialogPictureName(dialog, when)).string();
  WindowPicture picture;
  std::string why;
  const bool ok = PaintWindowPicture(dialog, &picture) && WritePicturePng(picture, path, &why);
  Keep(ok, path, why.empty() ? "nothing to paint" : why);
  if (std::strcmp(when, "close") == 0) run.numbered.erase(dialog);
}

void PictureMessageBox(const std::string& caption, const std::string& text, UINT type) {
  PictureRun& run = Run();
  if (run.folder.empty()) return;
  std::string path;
  do path = (std::filesystem::path(run.folder) / ("msgbox-" + std::to_string(++run.boxes) + ".png")).string();
  while (std::filesystem::exists(path));
  std::string why;
  Keep(WritePicturePng(PaintMessageBoxPicture(caption, text, type), path, &why), path, why);
}

void PictureModelessDialogs() {
  PictureRun& run = Run();
  if (run.folder.empty()) return;
  std::vector<HWND> shown;
  for (winmodel::Window* top : winmodel::Desktop()->children) {
    int id = -1;
    std::string name;
    if (top->Visible() && GetDialogTemplateOf(top->handle, &id, &name) && !run.numbered.count(top->handle) &&
        !run.modeless.count(top->handle))
      shown.push_back(top->handle);
  }
  for (HWND dialog : shown) {
    run.modeless.insert(dialog);
    PictureDialog(dialog, "open");
    run.numbered.erase(dialog);
  }
}

void PictureMenu(const std::vector<MenuRow>& rows) {
  PictureRun& run = Run();
  if (run.folder.empty()) return;
  std::string path;
  do path = (std::filesystem::path(run.folder) / ("menu-" + std::to_string(++run.menus) + ".png")).string();
  while (std::filesystem::exists(path));
  std::string why;
  Keep(WritePicturePng(PaintMenuPicture(rows), path, &why), path, why);
}

bool SnapshotWindow(HWND window, const std::string& name, std::string* why) {
  std::filesystem::path path = name;
  // A picture name stays inside the picture folder (the working folder
  // without one): no root, no way up and out.
  const std::filesystem::path normal = path.lexically_normal();
  if (name.empty() || path.has_root_path() || path.has_root_name() || normal.empty() || *normal.begin() == ".." ||
      normal == ".") {
    if (why) *why = "the picture name " + name + " leads outside the picture folder";
    return false;
  }
  if (path.extension() != ".png") path += ".png";
  if (!Run().folder.empty() && path.is_relative()) path = std::filesystem::path(Run().folder) / path;
  WindowPicture picture;
  if (!PaintWindowPicture(window, &picture)) {
    if (why) *why = "the window has nothing to paint";
    return false;
  }
  const bool ok = WritePicturePng(picture, path.string(), why);
  if (ok) Run().written.push_back(path.string());
  return ok;
}

const std::vector<std::string>& DialogPicturesWritten() { return Run().written; }

const std::vector<std::string>& DialogPictureFailures() { return Run().failures; }

void SetWindowFrameSource(WindowFrameSource source) { g_frames = source; }
