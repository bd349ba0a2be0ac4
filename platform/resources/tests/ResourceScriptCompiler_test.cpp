#include "platform/resources/compiler/ResourceScriptCompiler.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

namespace fs = std::filesystem;

namespace {

std::vector<BYTE> Bytes(const std::string& s) { return std::vector<BYTE>(s.begin(), s.end()); }

// Smallest .ico: one 1x1 image entry pointing at 4 bytes of data.
std::string TinyIcon(int kind = 1) {
  std::string d = {0, 0, static_cast<char>(kind), 0, 1, 0};
  d += std::string("\x01\x01\x00\x00\x01\x00\x20\x00", 8);
  d += std::string("\x04\x00\x00\x00\x16\x00\x00\x00", 8);
  d += "DATA";
  return d;
}

class Scripts : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/jov_rc_XXXXXX";
    dir_ = mkdtemp(pattern);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  ResourceTable Compile(const std::string& script, std::vector<std::string> includes = {}) {
    ResourceScriptCompiler compiler(std::move(includes));
    ResourceTable table = compiler.Compile(Write("test.rc", script));
    dependencies_ = compiler.Dependencies();
    return table;
  }

  // The error a script gives, as "file:line: error: message".
  std::string ErrorOf(const std::string& script) {
    try {
      Compile(script);
    } catch (const ScriptError& e) {
      return e.what();
    }
    return "<compiled>";
  }

  static std::vector<BYTE> Data(const ResourceTable& table, const ResourceKey& type, const ResourceKey& name) {
    const ResourceEntry* e = table.Find(type, name);
    return e ? e->data : Bytes("<missing>");
  }
  static std::string String(const ResourceTable& table, WORD id) {
    std::vector<BYTE> d = Data(table, ResourceKey::Number(kRtString), ResourceKey::Number(id));
    return std::string(d.begin(), d.end());
  }

  std::string dir_;
  std::vector<std::string> dependencies_;
};

}  // namespace

TEST_F(Scripts, StringTablesWithSharedIds) {
  Write("ids.h",
        "#pragma once\n"
        "// ids shared with the C++ code\n"
        "#define IDS_BASE 100\n"
        "#define IDS_HELLO (IDS_BASE + 1)\n"
        "#define IDS_QUOTE 0x66\n"
        "class Ignored { int member; };  // C++ in a header is no script\n");
  ResourceTable table = Compile(
      "#include \"ids.h\"\n"
      "#include \"ids.h\"  /* once only */\n"
      "STRINGTABLE\n"
      "BEGIN\n"
      "  IDS_HELLO, \"Hello\"\n"
      "  IDS_QUOTE \"Say \"\"hi\"\"\\tnow\\n\"\n"
      "  17 \"two \" \"parts\"\n"
      "END\n"
      "LANGUAGE LANG_CZECH, SUBLANG_DEFAULT\n"
      "stringtable language 5, 1 | 0 { 18 L\"wide\" }\n");
  EXPECT_EQ(String(table, 101), "Hello");
  EXPECT_EQ(String(table, 0x66), "Say \"hi\"\tnow\n");
  EXPECT_EQ(String(table, 17), "two parts");
  EXPECT_EQ(String(table, 18), "wide");
  EXPECT_EQ(table.entries.size(), 4u);
  ASSERT_EQ(dependencies_.size(), 2u);
  EXPECT_NE(dependencies_[1].find("ids.h"), std::string::npos);
}

TEST_F(Scripts, TextsAreStoredInCodePage1250) {
  ResourceTable table = Compile(
      "STRINGTABLE BEGIN\n"
      "  1 \"Příliš žluťoučký kůň\"\n"
      "  2 \"\\x8A raw byte\"\n"
      "END\n");
  EXPECT_EQ(String(table, 1), "P\xF8\xED" "li\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2");
  EXPECT_EQ(String(table, 2), "\x8A raw byte") << "an escape is a byte of the page as it is";

  std::string error = ErrorOf("STRINGTABLE BEGIN\n  1 \"ok\"\n  2 \"漢字\"\nEND\n");
  EXPECT_NE(error.find("test.rc:3: error:"), std::string::npos) << error;
  EXPECT_NE(error.find("U+6F22"), std::string::npos) << error;
}

TEST_F(Scripts, ImagesAndData) {
  Write("art/app.ico", TinyIcon(1));
  Write("art/hand.cur", TinyIcon(2));
  Write("art/logo.bmp", "BM" + std::string(12, 'h') + std::string(40, 'i') + "PIXELS");
  Write("blob.bin", std::string("\x00\x01\xFF", 3));
  ResourceTable table = Compile(
      "#define IDI_APP 5001\n"
      "IDI_APP ICON \"art/app.ico\"\n"
      "HAND CURSOR DISCARDABLE \"art/hand.cur\"\n"
      "7 BITMAP \"art/logo.bmp\"\n"
      "8 RCDATA BEGIN 1, 0x1234, 2L, -1, \"ab\", L\"\\x263A\" END\n"
      "9 GLDATA \"blob.bin\"\n"
      "10 300 { 0xFFFF }\n");
  EXPECT_EQ(Data(table, ResourceKey::Number(kRtGroupIcon), ResourceKey::Number(5001)), Bytes(TinyIcon(1)));
  EXPECT_EQ(Data(table, ResourceKey::Number(kRtGroupCursor), ResourceKey::Name("HAND")), Bytes(TinyIcon(2)));
  EXPECT_EQ(Data(table, ResourceKey::Number(kRtBitmap), ResourceKey::Number(7)),
            Bytes(std::string(40, 'i') + "PIXELS"))
      << "a bitmap is kept without its file header";
  EXPECT_EQ(Data(table, ResourceKey::Number(kRtRcData), ResourceKey::Number(8)),
            Bytes(std::string("\x01\x00\x34\x12\x02\x00\x00\x00\xFF\xFF" "ab\x3A\x26", 14)));
  EXPECT_EQ(Data(table, ResourceKey::Name("gldata"), ResourceKey::Number(9)), Bytes(std::string("\x00\x01\xFF", 3)));
  EXPECT_EQ(Data(table, ResourceKey::Number(300), ResourceKey::Number(10)), Bytes("\xFF\xFF"));
  EXPECT_EQ(dependencies_.size(), 5u) << "the script and the four files it read";
}

TEST_F(Scripts, ConditionalsAndIncludeFolders) {
  Write("inc/common.h", "#ifndef COMMON_H\n#define COMMON_H\n#define LEVEL 2\n#endif\n");
  ResourceTable table = Compile(
      "#include <common.h>\n"
      "#include \"common.h\"\n"
      "#if LEVEL > 1 && defined(LEVEL) && !defined NOTHING\n"
      "STRINGTABLE { 1 \"high\" }\n"
      "#elif LEVEL == 1\n"
      "STRINGTABLE { 1 \"one\" }\n"
      "#else\n"
      "#error never here\n"
      "#endif\n"
      "#ifdef APSTUDIO_INVOKED\n"
      "1 TEXTINCLUDE BEGIN \"resource.h\\0\" END\n"
      "#endif\n",
      {dir_ + "/inc"});
  EXPECT_EQ(String(table, 1), "high");
  EXPECT_EQ(table.entries.size(), 1u);
}

TEST_F(Scripts, FaultsAreReportedWithFileAndLine) {
  EXPECT_NE(ErrorOf("STRINGTABLE BEGIN\n 1 \"a\"\nEND\n\n100 ACCELERATORS BEGIN END\n").find("test.rc:5: error: unknown statement"),
            std::string::npos);
  EXPECT_NE(ErrorOf("MENU\n").find("test.rc:1: error: unknown statement 'MENU'"), std::string::npos);
  std::string twice = ErrorOf("STRINGTABLE BEGIN\n 1 \"a\"\nEND\nSTRINGTABLE BEGIN\n 1 \"b\"\nEND\n");
  EXPECT_NE(twice.find("test.rc:5: error: string 1 is already defined at "), std::string::npos) << twice;
  EXPECT_NE(twice.find("test.rc:2"), std::string::npos) << twice;
  EXPECT_NE(ErrorOf("#include \"missing.h\"\n").find("test.rc:1: error: cannot find include file 'missing.h'"),
            std::string::npos);
  EXPECT_NE(ErrorOf("STRINGTABLE BEGIN\n 1 \"open\nEND\n").find("test.rc:2: error: unterminated string"),
            std::string::npos);
  EXPECT_NE(ErrorOf("STRINGTABLE BEGIN\n 1 \"a\"\n").find("STRINGTABLE without END"), std::string::npos);
  EXPECT_NE(ErrorOf("STRINGTABLE BEGIN\n IDS_NOWHERE \"a\"\nEND\n").find("test.rc:2: error: 'IDS_NOWHERE' is not a defined number"),
            std::string::npos);
  EXPECT_NE(ErrorOf("STRINGTABLE BEGIN\n 70000 \"a\"\nEND\n").find("out of the range"), std::string::npos);
  EXPECT_NE(ErrorOf("1 ICON \"nothing.ico\"\n").find("test.rc:1: error: cannot find file 'nothing.ico'"),
            std::string::npos);
  Write("fake.ico", "not an icon at all");
  EXPECT_NE(ErrorOf("1 ICON \"fake.ico\"\n").find("not an icon file"), std::string::npos);
  EXPECT_NE(ErrorOf("1 ICON fake.ico\n").find("expected a quoted .ico file name"), std::string::npos);
  EXPECT_NE(ErrorOf("LONELY\n").find("expected a resource type after 'LONELY'"), std::string::npos);
  EXPECT_NE(ErrorOf("#if 1\nSTRINGTABLE { 1 \"a\" }\n").find("#if without #endif"), std::string::npos);
  EXPECT_NE(ErrorOf("#endif\n").find("test.rc:1: error: #endif without #if"), std::string::npos);
  EXPECT_NE(ErrorOf("#frobnicate\n").find("unknown directive #frobnicate"), std::string::npos);
  EXPECT_NE(ErrorOf("#error stop here\n").find("test.rc:1: error: #error stop here"), std::string::npos);
  EXPECT_NE(ErrorOf("1 RCDATA { 70000 }\n").find("does not fit in 16 bits"), std::string::npos);
  EXPECT_NE(ErrorOf("#if 1 / 0\n#endif\n").find("division by zero"), std::string::npos);
}

// Scripts that would exhaust the stack or grow without end fail at their
// line instead, in conditions and statements alike.
TEST_F(Scripts, RunawayExpressionsAndExpansionsFailAtTheirLine) {
  std::string doubling;
  doubling += "#define D0 1\n";
  for (int i = 1; i <= 39; ++i)
    doubling += "#define D" + std::to_string(i) + " D" + std::to_string(i - 1) + " + D" + std::to_string(i - 1) + "\n";
  const std::string deepMinus(20000, '-');
  const std::string deepParens = std::string(300, '(') + "1" + std::string(300, ')');
  const std::string fine = std::string(200, '(') + "-~1" + std::string(200, ')');
  std::string manyUses = "#define BASE 100\n#define NEXT BASE + 1\nSTRINGTABLE\nBEGIN\n";
  for (int i = 0; i < 33000; ++i) manyUses += " NEXT + " + std::to_string(i) + " \"text\"\n";
  manyUses += "END\n";
  std::string thirteenDoublings;
  for (int i = 0; i < 33; ++i) thirteenDoublings += " D13";
  // Each macro the next one's body, deeper than one use's fixed limit: a
  // long script may expand a use to as many tokens as it has bytes.
  std::string nested = "#define N0 7\n";
  for (int i = 1; i <= 70000; ++i) nested += "#define N" + std::to_string(i) + " N" + std::to_string(i - 1) + "\n";
  struct Case {
    std::string script;
    std::string error;  // empty: compiles
  };
  const Case cases[] = {
      {"\n#if " + deepMinus + "1\n#endif\n", "test.rc:2: error: expression nests more than 256"},
      {"1 RCDATA\n{ " + deepParens + " }\n", "test.rc:2: error: expression nests more than 256"},
      {"1 RCDATA { " + fine + " }\n", ""},
      {doubling + "#if D39\n#endif\n", "test.rc:41: error: macro expansion exceeds 65536 tokens"},
      {doubling + "1 RCDATA\nBEGIN\n D39\nEND\n", "test.rc:43: error: macro expansion exceeds 65536 tokens"},
      // Thirteen doublings (32768 tokens) still fit the limit.
      {doubling + "#if D13 != 8192\n#error wrong sum\n#endif\n1 RCDATA { D13 }\n", ""},
      // The limit is each use's: many small uses add up to far more...
      {manyUses, ""},
      // ...but not without end: 33 uses of 32,765 tokens pass the script's limit.
      {doubling + "1 RCDATA\nBEGIN\n" + thirteenDoublings + "\nEND\n",
       "test.rc:43: error: macro expansions of the script exceed 1048576 tokens"},
      {nested + "1 RCDATA { N70000 }\n", ""},
  };
  for (const Case& c : cases) {
    const std::string error = ErrorOf(c.script);
    if (c.error.empty())
      EXPECT_EQ(error, "<compiled>") << c.script.substr(0, 60);
    else
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

TEST_F(Scripts, HeaderMacrosAScriptCannotUseFailOnlyWhenUsed) {
  Write("code.h",
        "#define MAX(a, b) ((a) > (b) ? (a) : (b))\n"
        "#define GREETING 'hi'  \n"
        "#define IDS_OK 3\n");
  EXPECT_EQ(String(Compile("#include \"code.h\"\nSTRINGTABLE { IDS_OK \"fine\" }\n"), 3), "fine");
  std::string error = ErrorOf("#include \"code.h\"\nSTRINGTABLE { MAX(1, 2) \"no\" }\n");
  EXPECT_NE(error.find("test.rc:2: error: 'MAX' takes arguments"), std::string::npos) << error;
  error = ErrorOf("#include \"code.h\"\nSTRINGTABLE { GREETING \"no\" }\n");
  EXPECT_NE(error.find("'GREETING' cannot be used"), std::string::npos) << error;
}

TEST_F(Scripts, CompiledFileLoadsAndLoadStringCuts) {
  ResourceTable table = Compile("STRINGTABLE BEGIN\n 17 \"Žluťoučký\"\nEND\n");
  std::vector<BYTE> image = SerializeResourceTable(table);
  const std::string path = dir_ + "/Compiled.qmr";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                               static_cast<std::streamsize>(image.size()));
  HMODULE module = LoadLibraryA(path.c_str());
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  char buf[32];
  EXPECT_EQ(LoadStringA(module, 17, buf, sizeof buf), 9);
  EXPECT_STREQ(buf, "\x8Elu\x9Dou\xE8k\xFD");
  EXPECT_EQ(LoadStringA(module, 17, buf, 4), 3);
  EXPECT_STREQ(buf, "\x8Elu");
  FreeLibrary(module);
}

#ifdef JOV_RC_PATH
TEST_F(Scripts, ToolWritesTheFileAndItsDependencies) {
  Write("ids.h", "#define IDS_A 1\n");
  const std::string good = Write("good.rc", "#include \"ids.h\"\nSTRINGTABLE { IDS_A \"a\" }\n");
  const std::string out = dir_ + "/out/Good.qmr";
  fs::create_directories(dir_ + "/out");
  const std::string dep = dir_ + "/good.d";
  std::string command = std::string(JOV_RC_PATH) + " --depfile " + dep + " -o " + out + " " + good + " 2>" +
                        dir_ + "/stderr.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ResourceTable read;
  std::string error;
  ASSERT_TRUE(ReadResourceFile(out, read, error)) << error;
  EXPECT_NE(read.Find(ResourceKey::Number(kRtString), ResourceKey::Number(1)), nullptr);
  std::stringstream deps;
  deps << std::ifstream(dep).rdbuf();
  EXPECT_EQ(deps.str().rfind(out + ":", 0), 0u) << deps.str();
  EXPECT_NE(deps.str().find("ids.h"), std::string::npos) << deps.str();

  const std::string bad = Write("bad.rc", "STRINGTABLE { 1 \"a\" }\n2 MENUEX BEGIN END\n");
  command = std::string(JOV_RC_PATH) + " -o " + dir_ + "/out/Bad.qmr " + bad + " 2>" + dir_ + "/stderr.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::stringstream message;
  message << std::ifstream(dir_ + "/stderr.txt").rdbuf();
  EXPECT_NE(message.str().find("bad.rc:2: error: unknown statement"), std::string::npos) << message.str();
  EXPECT_FALSE(fs::exists(dir_ + "/out/Bad.qmr")) << "no output after a fault";
}
#endif
