// The input queue behind the posted messages (platform internal): what the
// headless keyboard and mouse produce.
#pragma once

#include <functional>

#include "platform/win32/messages.h"

namespace winmodel {

struct InputEvent {
  bool mouse = false;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  HWND target = nullptr;  // mouse: the window aimed at
  POINT screen{};         // mouse: the screen point
  // A message for `target` as it stands (actions of the input driver that
  // must keep their place among the keys and clicks).
  bool direct = false;
  // A step of an input driver (headless::QueueStep): run in its turn,
  // giving no message.
  std::function<void()> step;
};

void QueueInput(const InputEvent& event);
bool InputQueued();
void ClearInputQueue();
// Posted messages, input or painting waiting.
bool HasQueuedMessages();
POINT CursorPosition();
// All keys up (a fresh keyboard).
void ResetKeyboard();

}  // namespace winmodel
