// DIALOG, DIALOGEX and MENU statements of the resource-script compiler.
#include "platform/resources/compiler/ResourceScriptCompiler.h"

#include <cctype>

#include "platform/win32/control_messages.h"
#include "platform/win32/window_styles.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Reads one term of a style: stops at a '|' outside parentheses.
class TermSource : public ScriptExpression::Source {
 public:
  explicit TermSource(ScriptLexer& lexer) : lexer_(lexer) {}
  const Token& Peek() override {
    const Token& t = lexer_.Peek();
    if (depth_ == 0 && t.Is("|")) {
      end_ = t;
      end_.kind = Token::Kind::End;
      return end_;
    }
    return t;
  }
  Token Next() override {
    Token t = lexer_.Next();
    if (t.Is("(")) ++depth_;
    if (t.Is(")")) --depth_;
    return t;
  }
  void Fail(const Token& at, const std::string& message) override { lexer_.Fail(at, message); }

 private:
  ScriptLexer& lexer_;
  Token end_;
  int depth_ = 0;
};

struct ControlKind {
  const char* keyword;
  WORD atom;
  DWORD style;  // default style besides WS_CHILD | WS_VISIBLE
  DWORD typeMask;
  bool hasText;
};

constexpr ControlKind kControls[] = {
    {"LTEXT", 0x82, SS_LEFT | WS_GROUP, SS_TYPEMASK, true},
    {"RTEXT", 0x82, SS_RIGHT | WS_GROUP, SS_TYPEMASK, true},
    {"CTEXT", 0x82, SS_CENTER | WS_GROUP, SS_TYPEMASK, true},
    {"PUSHBUTTON", 0x80, BS_PUSHBUTTON | WS_TABSTOP, BS_TYPEMASK, true},
    {"DEFPUSHBUTTON", 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, BS_TYPEMASK, true},
    {"PUSHBOX", 0x80, BS_PUSHBOX | WS_TABSTOP, BS_TYPEMASK, true},
    {"CHECKBOX", 0x80, BS_CHECKBOX | WS_TABSTOP, BS_TYPEMASK, true},
    {"AUTOCHECKBOX", 0x80, BS_AUTOCHECKBOX | WS_TABSTOP, BS_TYPEMASK, true},
    {"STATE3", 0x80, BS_3STATE | WS_TABSTOP, BS_TYPEMASK, true},
    {"AUTO3STATE", 0x80, BS_AUTO3STATE | WS_TABSTOP, BS_TYPEMASK, true},
    {"RADIOBUTTON", 0x80, BS_RADIOBUTTON | WS_TABSTOP, BS_TYPEMASK, true},
    {"AUTORADIOBUTTON", 0x80, BS_AUTORADIOBUTTON | WS_TABSTOP, BS_TYPEMASK, true},
    {"GROUPBOX", 0x80, BS_GROUPBOX, BS_TYPEMASK, true},
    {"EDITTEXT", 0x81, ES_LEFT | WS_BORDER | WS_TABSTOP, 0, false},
    {"COMBOBOX", 0x85, CBS_SIMPLE | WS_TABSTOP, 3, false},
    {"LISTBOX", 0x83, LBS_NOTIFY | WS_BORDER, 0, false},
    {"SCROLLBAR", 0x84, SBS_HORZ, 0, false},
};

const ControlKind* FindControlKind(const Token& t) {
  for (const ControlKind& k : kControls)
    if (t.IsWord(k.keyword)) return &k;
  return nullptr;
}

bool IsClassKeyword(const Token& t, WORD* atom) {
  static const std::pair<const char*, WORD> kClasses[] = {{"BUTTON", 0x80},  {"EDIT", 0x81},      {"STATIC", 0x82},
                                                          {"LISTBOX", 0x83}, {"SCROLLBAR", 0x84}, {"COMBOBOX", 0x85}};
  for (const auto& c : kClasses)
    if (t.IsWord(c.first)) {
      *atom = c.second;
      return true;
    }
  return false;
}

}  // namespace

DWORD ResourceScriptCompiler::ParseStyle(DWORD base, DWORD typeMask) {
  ScriptLexer& lx = *lexer_;
  DWORD set = 0, clear = 0;
  for (;;) {
    bool negate = false;
    if (lx.Peek().IsWord("NOT")) {
      lx.Next();
      negate = true;
    }
    const Token at = lx.Peek();
    TermSource source(lx);
    const int64_t term = ScriptExpression(source).Evaluate();
    if (term < INT32_MIN || term > static_cast<int64_t>(UINT32_MAX)) lx.Fail(at, "style does not fit in 32 bits");
    const DWORD bits = static_cast<DWORD>(term);
    if (negate) {
      clear |= bits;
      set &= ~bits;
    } else {
      set |= bits;
      clear &= ~bits;
    }
    if (!lx.Peek().Is("|")) break;
    lx.Next();
  }
  if (set & typeMask) base &= ~typeMask;
  return (base & ~clear) | set;
}

bool ResourceScriptCompiler::SkipComma() {
  if (!lexer_->Peek().Is(",")) return false;
  lexer_->Next();
  return true;
}

void ResourceScriptCompiler::ExpectComma() {
  Token t = lexer_->Next();
  Expect(t.Is(","), t, "','");
}

short ResourceScriptCompiler::ParseCoordinate() {
  const Token at = lexer_->Peek();
  const int64_t v = ParseNumber();
  if (v < -32768 || v > 32767) lexer_->Fail(at, std::to_string(v) + " is no dialog coordinate (16 bits)");
  return static_cast<short>(v);
}

TemplateRef ResourceScriptCompiler::ParseTextOrId() {
  ScriptLexer& lx = *lexer_;
  const Token& raw = lx.PeekRaw();
  if (raw.kind == Token::Kind::String) return TemplateRef::Name(TextOf(lx.NextRaw(), lx));
  if (raw.kind == Token::Kind::Identifier && !lx.IsMacro(raw.text)) return TemplateRef::Name(lx.NextRaw().text);
  const Token at = lx.Peek();
  const int64_t v = ParseNumber();
  if (v < 0 || v > 0xFFFF) lx.Fail(at, std::to_string(v) + " is out of the id range 0-65535");
  return TemplateRef::Number(static_cast<WORD>(v));
}

void ResourceScriptCompiler::ParseControl(const Token& keyword, DialogTemplate& dialog) {
  ScriptLexer& lx = *lexer_;
  DialogTemplateItem item;
  constexpr DWORD kBase = WS_CHILD | WS_VISIBLE;
  auto id = [&] {
    const Token at = lx.Peek();
    const int64_t v = ParseNumber();
    if (v < INT32_MIN || v > static_cast<int64_t>(UINT32_MAX)) lx.Fail(at, "control id out of range");
    // A DIALOG keeps 16-bit ids (IDC_STATIC is then 65535), a DIALOGEX 32-bit ones.
    item.id = dialog.extended ? static_cast<int>(static_cast<int32_t>(v)) : static_cast<int>(static_cast<WORD>(v));
  };
  auto box = [&](bool sizeOptional) {
    item.x = ParseCoordinate();
    ExpectComma();
    item.y = ParseCoordinate();
    if (sizeOptional && !lx.Peek().Is(",")) return;
    ExpectComma();
    item.cx = ParseCoordinate();
    ExpectComma();
    item.cy = ParseCoordinate();
  };
  auto tail = [&](DWORD defaultStyle, DWORD typeMask) {
    if (SkipComma()) {
      item.style = ParseStyle(kBase | defaultStyle, typeMask);
      if (SkipComma()) item.exStyle = ParseStyle(0);
    }
    if (dialog.extended && SkipComma()) item.helpId = static_cast<DWORD>(ParseNumber());
  };

  if (keyword.IsWord("CONTROL")) {
    item.title = ParseTextOrId();
    ExpectComma();
    id();
    ExpectComma();
    const Token cls = lx.Peek();
    WORD atom = 0;
    if (cls.kind == Token::Kind::String) {
      const std::string name = TextOf(lx.Next(), lx);
      const WORD predefined = PredefinedClassAtom(name);
      item.windowClass = predefined ? TemplateRef::Number(predefined) : TemplateRef::Name(name);
    } else if (cls.kind == Token::Kind::Identifier && IsClassKeyword(cls, &atom)) {
      lx.Next();
      item.windowClass = TemplateRef::Number(atom);
    } else {
      lx.Fail(cls, "expected a window class but found " + cls.Describe());
    }
    ExpectComma();
    item.style = ParseStyle(kBase);
    ExpectComma();
    box(false);
    if (SkipComma()) item.exStyle = ParseStyle(0);
    if (dialog.extended && SkipComma()) item.helpId = static_cast<DWORD>(ParseNumber());
  } else if (keyword.IsWord("ICON")) {
    item.windowClass = TemplateRef::Number(0x82);
    item.title = ParseTextOrId();
    ExpectComma();
    id();
    ExpectComma();
    item.style = kBase | SS_ICON;
    box(true);
    tail(SS_ICON, SS_TYPEMASK);
  } else {
    const ControlKind* kind = FindControlKind(keyword);
    if (!kind) lx.Fail(keyword, "unknown control statement '" + keyword.text + "'");
    item.windowClass = TemplateRef::Number(kind->atom);
    if (kind->hasText) {
      Token text = lx.Next();
      Expect(text.kind == Token::Kind::String, text, "the control's text");
      item.title = TemplateRef::Name(TextOf(text, lx));
      ExpectComma();
    } else {
      item.title = TemplateRef::Name("");
    }
    id();
    ExpectComma();
    box(false);
    item.style = kBase | kind->style;
    tail(kind->style, kind->typeMask);
  }
  if (dialog.extended && IsBegin(lx.Peek())) item.creationData = ParseDataBlock();
  dialog.items.push_back(std::move(item));
}

void ResourceScriptCompiler::DialogStatement(const ResourceKey& name, const Token& keyword) {
  ScriptLexer& lx = *lexer_;
  DialogTemplate dialog;
  dialog.extended = keyword.IsWord("DIALOGEX");
  SkipOptionalStatements();
  dialog.x = ParseCoordinate();
  ExpectComma();
  dialog.y = ParseCoordinate();
  ExpectComma();
  dialog.cx = ParseCoordinate();
  ExpectComma();
  dialog.cy = ParseCoordinate();
  if (dialog.extended && SkipComma()) dialog.helpId = static_cast<DWORD>(ParseNumber());
  bool styled = false, captioned = false;
  for (;;) {
    const Token t = lx.Peek();
    if (t.IsWord("STYLE")) {
      lx.Next();
      dialog.style = ParseStyle(0);
      styled = true;
    } else if (t.IsWord("EXSTYLE")) {
      lx.Next();
      dialog.exStyle = ParseStyle(0);
    } else if (t.IsWord("CAPTION")) {
      lx.Next();
      Token text = lx.Next();
      Expect(text.kind == Token::Kind::String, text, "the caption text");
      dialog.caption = TextOf(text, lx);
      captioned = true;
    } else if (t.IsWord("FONT")) {
      lx.Next();
      const Token at = lx.Peek();
      const int64_t size = ParseNumber();
      if (size < 0 || size > 0xFFFF) lx.Fail(at, "font size out of range");
      dialog.pointSize = static_cast<WORD>(size);
      ExpectComma();
      Token face = lx.Next();
      Expect(face.kind == Token::Kind::String, face, "the font's typeface");
      dialog.typeface = TextOf(face, lx);
      dialog.hasFont = true;
      if (dialog.extended && SkipComma()) {
        dialog.weight = static_cast<WORD>(ParseNumber());
        if (SkipComma()) dialog.italic = static_cast<BYTE>(ParseNumber());
        if (SkipComma()) dialog.charset = static_cast<BYTE>(ParseNumber());
      }
    } else if (t.IsWord("MENU")) {
      lx.Next();
      dialog.menu = ParseTextOrId();
    } else if (t.IsWord("CLASS")) {
      lx.Next();
      dialog.windowClass = ParseTextOrId();
    } else if (t.IsWord("LANGUAGE") || t.IsWord("VERSION") || t.IsWord("CHARACTERISTICS")) {
      SkipOptionalStatements();
    } else {
      break;
    }
  }
  if (!styled) dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
  if (captioned) dialog.style |= WS_CAPTION;
  if (dialog.hasFont) dialog.style |= DS_SETFONT;

  Token open = lx.Next();
  Expect(IsBegin(open), open, "BEGIN");
  for (;;) {
    Token t = lx.Next();
    if (IsEnd(t)) break;
    if (t.kind == Token::Kind::End) lx.Fail(open, "dialog without END");
    if (t.kind != Token::Kind::Identifier) lx.Fail(t, "expected a control statement but found " + t.Describe());
    ParseControl(t, dialog);
  }
  Add(ResourceKey::Number(kRtDialog), name, SerializeDialogTemplate(dialog), keyword);
}

UINT ResourceScriptCompiler::ParseMenuOptions() {
  ScriptLexer& lx = *lexer_;
  UINT flags = 0;
  for (;;) {
    const Token& t = lx.Peek();
    const std::string word = t.kind == Token::Kind::Identifier ? Upper(t.text) : std::string();
    UINT bit = 0;
    if (word == "CHECKED") bit = MF_CHECKED;
    if (word == "GRAYED") bit = MF_GRAYED;
    if (word == "INACTIVE") bit = MF_DISABLED;
    if (word == "HELP") bit = MF_HELP;
    if (word == "MENUBREAK") bit = MF_MENUBREAK;
    if (word == "MENUBARBREAK") bit = MF_MENUBARBREAK;
    if (bit) {
      lx.Next();
      flags |= bit;
      continue;
    }
    if (t.Is(",")) {
      lx.Next();
      continue;
    }
    return flags;
  }
}

void ResourceScriptCompiler::ParseMenuItems(std::vector<MenuTemplateItem>& items, int depth) {
  ScriptLexer& lx = *lexer_;
  Token open = lx.Next();
  Expect(IsBegin(open), open, "BEGIN");
  if (depth > 16) lx.Fail(open, "menus nested too deep");
  for (;;) {
    Token t = lx.Next();
    if (IsEnd(t)) return;
    if (t.kind == Token::Kind::End) lx.Fail(open, "menu without END");
    MenuTemplateItem item;
    if (t.IsWord("MENUITEM")) {
      if (lx.Peek().IsWord("SEPARATOR")) {
        lx.Next();
        item.flags = MF_SEPARATOR;
      } else {
        Token text = lx.Next();
        Expect(text.kind == Token::Kind::String, text, "the item's text");
        item.text = TextOf(text, lx);
        ExpectComma();
        const Token at = lx.Peek();
        const int64_t id = ParseNumber();
        if (id < 0 || id > 0xFFFF) lx.Fail(at, "menu item id out of the range 0-65535");
        item.id = static_cast<UINT>(id);
        item.flags = ParseMenuOptions();
      }
    } else if (t.IsWord("POPUP")) {
      Token text = lx.Next();
      Expect(text.kind == Token::Kind::String, text, "the popup's text");
      item.text = TextOf(text, lx);
      item.flags = MF_POPUP | ParseMenuOptions();
      ParseMenuItems(item.children, depth + 1);
    } else {
      lx.Fail(t, "expected MENUITEM or POPUP but found " + t.Describe());
    }
    items.push_back(std::move(item));
  }
}

void ResourceScriptCompiler::MenuStatement(const ResourceKey& name, const Token& keyword) {
  SkipOptionalStatements();
  std::vector<MenuTemplateItem> items;
  ParseMenuItems(items, 0);
  Add(ResourceKey::Number(kRtMenu), name, SerializeMenuTemplate(items), keyword);
}
