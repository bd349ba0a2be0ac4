#include "platform/win32/help.h"

#include <string>

#include "platform/win32/message_queue.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/window_api.h"

namespace {

HWND HelpWindow() {
  static HWND window = nullptr;
  if (IsWindow(window)) return window;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "HH Parent";
  RegisterClassA(&wc);
  window = CreateWindowExA(0, "HH Parent", "HTML Help", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  return window;
}

void Record(HelpCall call) {
  UiEvent event;
  event.kind = UiEvent::Kind::Help;
  event.help = std::move(call);
  RecordUiEvent(std::move(event));
}

}  // namespace

HWND HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
  HelpCall call;
  call.caller = caller;
  call.file = file ? file : "";
  call.command = command;
  call.data = data;
  switch (command) {
    case HH_DISPLAY_TOPIC:
      if (data) {
        call.topic = reinterpret_cast<const char*>(data);
      } else {
        size_t sep = call.file.find("::");
        call.topic = sep == std::string::npos ? std::string() : call.file.substr(sep + 2);
        if (!call.topic.empty() && call.topic[0] == '/') call.topic.erase(0, 1);
      }
      break;
    case HH_HELP_CONTEXT: call.topic = "context " + std::to_string(data); break;
    case HH_DISPLAY_TEXT_POPUP: {
      auto* popup = reinterpret_cast<const HH_POPUP*>(data);
      if (popup && popup->idString)
        call.topic = "string " + std::to_string(popup->idString);
      else if (popup && popup->pszText)
        call.topic = popup->pszText;
      break;
    }
    default: break;
  }
  Record(std::move(call));
  return command == HH_CLOSE_ALL ? nullptr : HelpWindow();
}

BOOL WinHelpA(HWND caller, LPCSTR file, UINT command, ULONG_PTR data) {
  HelpCall call;
  call.caller = caller;
  call.winHelp = true;
  call.file = file ? file : "";
  call.command = command;
  call.data = data;
  if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) call.topic = "context " + std::to_string(data);
  Record(std::move(call));
  return TRUE;
}
