#include "common/HostModule.h"

#include <gtest/gtest.h>

TEST(FileNameOfPath, TakesTheTextAfterTheLastSeparator) {
  char out[64];
  FileNameOfPath("C:/hosts\\dravik/bin\\DUVOZEDO.EXE", out, sizeof out);
  EXPECT_STREQ(out, "DUVOZEDO.EXE");
  FileNameOfPath("a\\b/c.dll", out, sizeof out);
  EXPECT_STREQ(out, "c.dll");
  FileNameOfPath("bare.arx", out, sizeof out);
  EXPECT_STREQ(out, "bare.arx");
  FileNameOfPath("dir/wizard.dll", out, 3);
  EXPECT_STREQ(out, "wi");
  FileNameOfPath(nullptr, out, sizeof out);
  EXPECT_STREQ(out, "");
  FileNameOfPath("x", nullptr, 4);  // nothing to write into
}

TEST(HostModule, WithoutAHostTheTitleIsError) {
  EXPECT_EQ(GetHostModule(), nullptr);
  EXPECT_EQ(GetHostExportTable(), nullptr);
  EXPECT_STREQ(GetHostProductTitle(), "ERROR");
}
