// What the runner prints after a command, one line each, in UTF-8:
//   message: caption="Dravik 2D" type=16 text="..." answer=ok [(unanswered)]
//   clipboard CF_VANTRIX_CAD: 5.0000
// Texts are quoted with \" \\ \n \r \t escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/driver/ui_driver.h"

std::string QuoteForReport(std::string_view cp1250);

// One line per user-interface event of the journal, in order:
//   message: ... answer=WORD [(unanswered) | (refused WORD)]
//   beep: type=N
//   file: open|save title="..." answer="PATH"|cancel [(unanswered)] [(failed: WHY)]
//   help: file="..." topic="..."
//   menu: command=N "TEXT" | menu: dismissed [(unanswered)] [(failed: WHY)]
//   dialog 5005 "Title": ran out of input, cancelled (IDCANCEL)
//   dialog 5005 "Title": failed: ACTION: WHY
//   dialog 5005 "Title": closed result=N
// A box the script did not answer is marked "(unanswered)"; an answer that
// is not a button of the box "(refused WORD)". Verbose output adds each
// dialog's opening and actions, its controls and values when it closed
// (indented lines), and the cursors made current.
std::vector<std::string> UiLines(const std::vector<UiEvent>& journal, bool verbose = false);

// Whether the journal holds a box, file dialog or menu the script did not
// answer (or answered with a word the box lacks), or a dialog that ran out
// of input: the run went off its script.
bool WentOffScript(const std::vector<UiEvent>& journal);

// One line per registered clipboard format that holds data, with its text
// up to the first NUL.
std::vector<std::string> ClipboardLines();
