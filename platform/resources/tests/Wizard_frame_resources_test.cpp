// The wizard's resource file as built: the icon and every message its frame
// and exports load.
#include <gtest/gtest.h>

#include <string>

#include "platform/resources/tests/BuiltResourceFile.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"

TEST(WizardFrameResources, TheIconAndEveryMessageOfTheExportsAreThere) {
  HMODULE module = LoadBuiltResourceFile("Wizard.qmr");
  ASSERT_NE(module, nullptr) << LastLoadErrorText();
  for (UINT id : {IDS_POINT_NAME_NOT_A_PARAMETER, IDS_XDATA_NOT_BUILT, IDS_CONNECTION_MISMATCH, IDS_PICK_MASK_ENTITY}) {
    char text[1024] = "";
    const int n = LoadStringA(module, id, text, sizeof text);
    EXPECT_GT(n, 10) << "string " << id;
    // Shown through a format with an optional argument: no stray '%'.
    EXPECT_EQ(std::string(text).find('%'), std::string::npos) << "string " << id;
  }
  ExpectRealIcon(module, IDI_WIZARD);
  FreeLibrary(module);
}
