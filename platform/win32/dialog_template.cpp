#include "platform/win32/dialog_template.h"

#include <cstring>

#include "platform/win32/code_page.h"
#include "platform/win32/template_stream.h"

namespace {

constexpr char kMagic[4] = {'D', 'L', 'G', 'T'};
constexpr uint32_t kVersion = 1;

struct Predefined {
  WORD atom;
  const char* name;
};
constexpr Predefined kPredefined[] = {{0x80, "Button"},  {0x81, "Edit"},      {0x82, "Static"},
                                      {0x83, "ListBox"}, {0x84, "ScrollBar"}, {0x85, "ComboBox"}};

void WriteRef(templates::Writer& w, const TemplateRef& r) {
  switch (r.kind) {
    case TemplateRef::Kind::None: w.U8(0); break;
    case TemplateRef::Kind::Number:
      w.U8(1);
      w.U16(r.number);
      break;
    case TemplateRef::Kind::Name:
      w.U8(2);
      w.Text(r.name);
      break;
  }
}

bool ReadRef(templates::Reader& r, TemplateRef& out) {
  uint32_t tag, n;
  if (!r.U8(tag)) return false;
  if (tag == 0) {
    out = TemplateRef();
    return true;
  }
  if (tag == 1) {
    if (!r.U16(n)) return false;
    out = TemplateRef::Number(static_cast<WORD>(n));
    return true;
  }
  if (tag == 2) {
    std::string s;
    if (!r.Text(s)) return false;
    out = TemplateRef::Name(std::move(s));
    return true;
  }
  return false;
}

void WriteBox(templates::Writer& w, short x, short y, short cx, short cy) {
  w.U16(static_cast<uint16_t>(x));
  w.U16(static_cast<uint16_t>(y));
  w.U16(static_cast<uint16_t>(cx));
  w.U16(static_cast<uint16_t>(cy));
}

bool ReadBox(templates::Reader& r, short& x, short& y, short& cx, short& cy) {
  uint32_t a, b, c, d;
  if (!r.U16(a) || !r.U16(b) || !r.U16(c) || !r.U16(d)) return false;
  x = static_cast<short>(a);
  y = static_cast<short>(b);
  cx = static_cast<short>(c);
  cy = static_cast<short>(d);
  return true;
}

}  // namespace

TemplateRef TemplateRef::Number(WORD n) {
  TemplateRef r;
  r.kind = Kind::Number;
  r.number = n;
  return r;
}

TemplateRef TemplateRef::Name(std::string text) {
  TemplateRef r;
  r.kind = Kind::Name;
  r.name = std::move(text);
  return r;
}

const char* PredefinedClassName(WORD atom) {
  for (const Predefined& p : kPredefined)
    if (p.atom == atom) return p.name;
  return nullptr;
}

WORD PredefinedClassAtom(const std::string& name) {
  for (const Predefined& p : kPredefined)
    if (_mbsicmp(p.name, name.c_str()) == 0) return p.atom;
  return 0;
}

std::vector<BYTE> SerializeDialogTemplate(const DialogTemplate& t) {
  templates::Writer w;
  for (char c : kMagic) w.U8(static_cast<uint8_t>(c));
  w.U32(0);  // size, patched below
  w.U8(kVersion);
  w.U8(t.extended ? 1 : 0);
  w.U32(t.style);
  w.U32(t.exStyle);
  w.U32(t.helpId);
  WriteBox(w, t.x, t.y, t.cx, t.cy);
  WriteRef(w, t.menu);
  WriteRef(w, t.windowClass);
  w.Text(t.caption);
  w.U8(t.hasFont ? 1 : 0);
  if (t.hasFont) {
    w.U16(t.pointSize);
    w.U16(t.weight);
    w.U8(t.italic);
    w.U8(t.charset);
    w.Text(t.typeface);
  }
  w.U16(static_cast<uint32_t>(t.items.size()));
  for (const DialogTemplateItem& item : t.items) {
    w.U32(item.style);
    w.U32(item.exStyle);
    w.U32(item.helpId);
    WriteBox(w, item.x, item.y, item.cx, item.cy);
    w.U32(static_cast<uint32_t>(item.id));
    WriteRef(w, item.windowClass);
    WriteRef(w, item.title);
    w.U16(static_cast<uint32_t>(item.creationData.size()));
    w.Bytes(item.creationData);
  }
  w.PatchU32(4, static_cast<uint32_t>(w.bytes().size()));
  return std::move(w.bytes());
}

bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate* out, std::string* error) {
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return false;
  };
  if (!data || size < 8 || std::memcmp(data, kMagic, 4) != 0) return fail("not a dialog template");
  templates::Reader r(data, size);
  uint32_t v, declared;
  for (int i = 0; i < 4; ++i) r.U8(v);
  r.U32(declared);
  if (declared != size) return fail("dialog template of the wrong size");
  DialogTemplate t;
  uint32_t version, extended, count;
  if (!r.U8(version) || version != kVersion) return fail("unknown dialog template version");
  if (!r.U8(extended) || !r.U32(t.style) || !r.U32(t.exStyle) || !r.U32(t.helpId) ||
      !ReadBox(r, t.x, t.y, t.cx, t.cy) || !ReadRef(r, t.menu) || !ReadRef(r, t.windowClass) || !r.Text(t.caption))
    return fail("damaged dialog template header");
  t.extended = extended != 0;
  uint32_t hasFont;
  if (!r.U8(hasFont)) return fail("damaged dialog template header");
  t.hasFont = hasFont != 0;
  if (t.hasFont) {
    uint32_t point, weight, italic, charset;
    if (!r.U16(point) || !r.U16(weight) || !r.U8(italic) || !r.U8(charset) || !r.Text(t.typeface))
      return fail("damaged dialog template font");
    t.pointSize = static_cast<WORD>(point);
    t.weight = static_cast<WORD>(weight);
    t.italic = static_cast<BYTE>(italic);
    t.charset = static_cast<BYTE>(charset);
  }
  if (!r.U16(count)) return fail("damaged dialog template header");
  for (uint32_t i = 0; i < count; ++i) {
    DialogTemplateItem item;
    uint32_t id, dataSize;
    if (!r.U32(item.style) || !r.U32(item.exStyle) || !r.U32(item.helpId) ||
        !ReadBox(r, item.x, item.y, item.cx, item.cy) || !r.U32(id) || !ReadRef(r, item.windowClass) ||
        !ReadRef(r, item.title) || !r.U16(dataSize) || !r.Bytes(dataSize, item.creationData))
      return fail("damaged dialog template item");
    item.id = static_cast<int>(id);
    t.items.push_back(std::move(item));
  }
  if (!r.AtEnd()) return fail("data after the last dialog template item");
  *out = std::move(t);
  return true;
}

bool ParseDialogTemplate(const void* data, DialogTemplate* out, std::string* error) {
  const BYTE* p = static_cast<const BYTE*>(data);
  if (!p || std::memcmp(p, kMagic, 4) != 0) {
    if (error) *error = "not a dialog template";
    return false;
  }
  const uint32_t size = p[4] | (p[5] << 8) | (p[6] << 16) | (static_cast<uint32_t>(p[7]) << 24);
  return ParseDialogTemplate(p, size, out, error);
}
