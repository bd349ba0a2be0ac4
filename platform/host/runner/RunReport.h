// What the runner prints after a command, one line each, in UTF-8:
//   message: caption="Dravik 2D" type=16 text="..." answer=ok [(unanswered)]
//   clipboard CF_VANTRIX_CAD: 5.0000
// Texts are quoted with \" \\ \n \r \t escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/ui_services.h"

std::string QuoteForReport(std::string_view cp1250);

// One line per message box (and beep) of the journal, in order. A box the
// script did not answer is marked "(unanswered)"; an answer that is not a
// button of the box "(refused WORD)".
std::vector<std::string> MessageLines(const std::vector<UiEvent>& journal);

// One line per registered clipboard format that holds data, with its text
// up to the first NUL.
std::vector<std::string> ClipboardLines();
