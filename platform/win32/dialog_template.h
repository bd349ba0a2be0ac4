// Dialog templates: what a DIALOG or DIALOGEX statement of a resource script
// describes, and the form the compiled resource file keeps it in (the
// RT_DIALOG resource data; the resource compiler writes it, the dialog
// manager reads it).
//
// Binary form (little-endian; text = u16 length + code page 1250 bytes):
//   "DLGT"  u32 total size (header included)  u8 version (1)  u8 extended
//   u32 style, exStyle, helpId   i16 x, y, cx, cy
//   ref menu   ref class   text caption
//   u8 has font [u16 point size, u16 weight, u8 italic, u8 charset, text face]
//   u16 item count, then per item:
//     u32 style, exStyle, helpId   i16 x, y, cx, cy   i32 id
//     ref class   ref title   u16 size + creation data
//   ref = u8 0 (none) | u8 1 + u16 number | u8 2 + text
// Item classes given by number use the predefined atoms: 0x80 Button,
// 0x81 Edit, 0x82 Static, 0x83 ListBox, 0x84 ScrollBar, 0x85 ComboBox.
// Coordinates are dialog units.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/win32_types.h"

// A number or a name, or nothing.
struct TemplateRef {
  enum class Kind { None, Number, Name };
  Kind kind = Kind::None;
  WORD number = 0;
  std::string name;

  static TemplateRef Number(WORD n);
  static TemplateRef Name(std::string text);
  bool operator==(const TemplateRef&) const = default;
};

struct DialogTemplateItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  TemplateRef windowClass;  // a predefined atom or a class name
  TemplateRef title;        // text, or a resource number (icons)
  std::vector<BYTE> creationData;
  bool operator==(const DialogTemplateItem&) const = default;
};

struct DialogTemplate {
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  TemplateRef menu;
  TemplateRef windowClass;
  std::string caption;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::string typeface;
  std::vector<DialogTemplateItem> items;
  bool operator==(const DialogTemplate&) const = default;
};

// The name of a predefined class atom ("Button" ...); null for others.
const char* PredefinedClassName(WORD atom);
// The atom of a predefined class name (compared without case); 0 for others.
WORD PredefinedClassAtom(const std::string& name);

std::vector<BYTE> SerializeDialogTemplate(const DialogTemplate& tmpl);
// False with the reason for data that is no template or is damaged.
bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate* out, std::string* error);
// The same for data whose size is only known from its header (a template
// handed over by pointer).
bool ParseDialogTemplate(const void* data, DialogTemplate* out, std::string* error);
