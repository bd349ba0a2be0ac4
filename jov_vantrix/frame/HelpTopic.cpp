#include "jov_vantrix/frame/HelpTopic.h"

#include <string>

#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "platform/win32/help.h"

void ShowHelpTopic(HWND caller, const char* topic) {
  char file[MAX_PATH];
  TheApp().GetModulePath(file, "Help\\jov2d.chm", MAX_PATH);
  const std::string path = std::string(file) + "::/zdroje\\" + topic;
  HtmlHelpA(caller, path.c_str(), HH_DISPLAY_TOPIC, 0);
}
