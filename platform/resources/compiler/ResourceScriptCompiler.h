// Compiles a resource script into a resource table (then written as a
// compiled resource file). The subset understood:
//
//   STRINGTABLE [LANGUAGE a, b] BEGIN  id[,] "text" ...  END
//   id ICON "file.ico"          id CURSOR "file.cur"       id BITMAP "file.bmp"
//   id RCDATA "file"            id RCDATA BEGIN 1, 2L, "bytes", L"wide" END
//   id TYPE "file"              id TYPE BEGIN ... END   (TYPE a name or a number)
//   LANGUAGE a, b               (accepted and ignored)
//   id DIALOG x, y, cx, cy      id DIALOGEX x, y, cx, cy [, help id]
//     [STYLE s] [EXSTYLE s] [CAPTION "text"] [FONT size, "face" [, weight,
//     italic, charset]] [MENU name] [CLASS "name"] [LANGUAGE / VERSION /
//     CHARACTERISTICS]
//   BEGIN
//     LTEXT / RTEXT / CTEXT / PUSHBUTTON / DEFPUSHBUTTON / PUSHBOX /
//     CHECKBOX / AUTOCHECKBOX / STATE3 / AUTO3STATE / RADIOBUTTON /
//     AUTORADIOBUTTON / GROUPBOX  "text", id, x, y, cx, cy [, style [, exstyle]]
//     EDITTEXT / COMBOBOX / LISTBOX / SCROLLBAR  id, x, y, cx, cy [, style [, exstyle]]
//     ICON icon, id, x, y [, cx, cy [, style [, exstyle]]]
//     CONTROL "text" | number, id, class, style, x, y, cx, cy [, exstyle]
//     (DIALOGEX controls take a help id after the extended style and an
//     optional BEGIN data END block)
//   END
//   id MENU BEGIN  MENUITEM "text", id [, options]  MENUITEM SEPARATOR
//                  POPUP "text" [, options] BEGIN ... END  END
//     options: CHECKED GRAYED INACTIVE HELP MENUBREAK MENUBARBREAK
//
// Styles are expressions joined by '|'; NOT before a term clears its bits
// ("WS_TABSTOP | NOT WS_VISIBLE"). A control's style adds to the default
// style of its statement (LTEXT: SS_LEFT | WS_GROUP, EDITTEXT: ES_LEFT |
// WS_BORDER | WS_TABSTOP ...) and to WS_CHILD | WS_VISIBLE; a control type
// it names (CBS_DROPDOWN, BS_AUTOCHECKBOX ...) replaces the default type. The style
// names, IDOK and its kind and IDC_STATIC are known without an include
// (PredefinedSymbols.h).
//
// `id` is a number, an expression of #defined numbers, or a name. Texts are
// UTF-8 in the script and stored in code page 1250; a character the page
// lacks is an error. Files are looked for beside the script naming them,
// then in the include folders. Keywords ignore letter case; BEGIN/END and
// braces are the same.
//
// Further statement kinds (MENUEX, ACCELERATORS ...) are refused with
// file:line.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/resources/compiler/ScriptLexer.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/menus.h"
#include "platform/win32/resource_file.h"

class ResourceScriptCompiler {
 public:
  explicit ResourceScriptCompiler(std::vector<std::string> includeDirs = {});

  // Throws ScriptError (file:line) for any fault.
  ResourceTable Compile(const std::string& scriptPath);

  // The script and every file it read (includes, icons, data files).
  const std::vector<std::string>& Dependencies() const { return dependencies_; }

  // Code page 1250 bytes of a string token; throws for characters the page
  // lacks.
  static std::string TextOf(const Token& token, ScriptLexer& lexer);

 private:
  // Parses what follows "name KEYWORD" of one kind of resource.
  using TypedStatement = void (ResourceScriptCompiler::*)(const ResourceKey& name, const Token& keyword);
  static const std::map<std::string, TypedStatement>& TypedStatements();
  // Keywords of kinds this compiler does not build yet.
  static bool IsReservedKeyword(const Token& keyword);

  void Statement();
  void StringTable();
  void SkipOptionalStatements();
  void SkipLanguageOperands();
  void IconStatement(const ResourceKey& name, const Token& keyword);
  void CursorStatement(const ResourceKey& name, const Token& keyword);
  void BitmapStatement(const ResourceKey& name, const Token& keyword);
  void DataStatement(const ResourceKey& name, const Token& keyword);
  void UserTypeStatement(const ResourceKey& type, const ResourceKey& name, const Token& keyword);
  void DialogStatement(const ResourceKey& name, const Token& keyword);
  void MenuStatement(const ResourceKey& name, const Token& keyword);

  // Dialogs and menus (ResourceScriptDialogs.cpp).
  // The bits a style names and the bits its NOT terms clear, applied to a
  // default: a named control type (the bits of typeMask) replaces the
  // default's.
  DWORD ParseStyle(DWORD base, DWORD typeMask = 0);
  bool SkipComma();  // true when a comma was there
  void ExpectComma();
  short ParseCoordinate();
  TemplateRef ParseTextOrId();
  void ParseControl(const Token& keyword, DialogTemplate& dialog);
  void ParseMenuItems(std::vector<MenuTemplateItem>& items, int depth);
  UINT ParseMenuOptions();

  ResourceKey ParseKey(const char* what);
  int64_t ParseNumber();
  std::vector<BYTE> ReadFileOperand(const Token& at);
  std::vector<BYTE> ParseDataBlock();
  bool IsBegin(const Token& t) const { return t.Is("{") || t.IsWord("BEGIN"); }
  bool IsEnd(const Token& t) const { return t.Is("}") || t.IsWord("END"); }
  void Expect(bool ok, const Token& at, const std::string& what);
  void Add(const ResourceKey& type, const ResourceKey& name, std::vector<BYTE> data, const Token& at);

  std::vector<std::string> includeDirs_;
  ScriptLexer* lexer_ = nullptr;
  ResourceTable table_;
  std::map<std::string, std::string> definedAt_;  // "type/name" -> file:line
  std::vector<std::string> dependencies_;
  std::vector<std::string> dataFiles_;
};
