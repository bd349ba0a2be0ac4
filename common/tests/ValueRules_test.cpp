// The layer rule against an outside DXF library, for every byte of code
// page 1250: it takes no byte ezdxf refuses in "L<byte>X", and every letter.
#include "common/ValueRules.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/ProgramRun.h"

TEST(ValueRules, TheLayerRuleTakesNoByteADrawingReaderRefusesAndEveryLetter) {
  const char* script = R"(
import sys, ezdxf
for b in range(1, 256):
    ours = sys.argv[1][b - 1] == '1'
    try: ch = bytes([b]).decode('cp1250')
    except UnicodeDecodeError:
        if ours: print('undefined byte taken', b)
        continue
    doc = ezdxf.new('R2000')
    try: doc.modelspace().add_line((0, 0), (1, 0), dxfattribs={'layer': 'L' + ch + 'X'}); theirs = not doc.audit().has_errors
    except Exception: theirs = False
    if ours and not theirs or b >= 0x80 and ch.isalpha() and not ours: print('byte', b, ours))";
  std::string verdicts;
  for (int b = 1; b < 256; ++b) {
    const char name[] = {'L', static_cast<char>(b), 'X', '\0'};
    verdicts += IsUsableLayerName(name) ? '1' : '0';
  }
  const auto scratch = std::filesystem::temp_directory_path() / ("jov_layers_" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  const testsupport::Outcome o = testsupport::RunProgram("/usr/bin/python3", {"-c", script, verdicts}, scratch);
  std::filesystem::remove_all(scratch);
  EXPECT_EQ(o.exit, 0) << o.err;
  EXPECT_EQ(o.out, "");
}
