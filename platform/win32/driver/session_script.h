// The ordered session script of a headless run: one answer per line for the
// interactive calls of the CAD host (selections, picks, points) and of the
// user-interface services (message boxes, file dialogs, later dialog
// actions), consumed in order by whoever asks next. There is one script per
// process (CurrentSessionScript), shared by the host library and the
// runner's user-interface driver.
//
// File format (UTF-8 text): one line per answer, a keyword and its
// arguments separated by blanks; an argument with blanks is written in
// double quotes ("a b", \" and \\ inside). '#' starts a comment outside
// quotes; blank lines are skipped. Built-in keywords:
//   select H [H...]            entities by handle (hexadecimal)
//   select-window X1 Y1 X2 Y2  entities lying wholly inside the rectangle
//   pick H [X Y]               one entity, with the pick point
//   point X Y [Z]              a point
//   cancel                     the next prompt is cancelled
//   answer ok|cancel|yes|no|abort|retry|ignore|tryagain|continue
//                              the next message box
//   file PATH                  the next file dialog; relative to the
//                              script's folder
// Other layers add their keywords with RegisterSessionKeyword before the
// script is loaded; an unknown keyword or bad arguments fail the load with
// the line number.
//
// Consumers take a line only when it answers them (Take with the keywords
// they accept). A call whose next line is something else, or that finds
// the script at its end, leaves the line where it is and reports itself
// unanswered (ReportUnanswered); the runner prints the reports.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ScriptLine {
  int number = 0;                 // 1-based line of the file
  std::string keyword;            // lower case as written
  std::vector<std::string> args;  // UTF-8, quotes removed
  std::string text;               // the line as written, trimmed, for reports
};

// Checks a line's arguments; false with the reason.
using ScriptArgumentCheck = std::function<bool(const std::vector<std::string>& args, std::string* why)>;

// Adds a keyword to every script loaded afterwards. False when the keyword
// is already known (the existing check stays).
bool RegisterSessionKeyword(const std::string& keyword, ScriptArgumentCheck check);
bool IsSessionKeyword(std::string_view keyword);

// Argument checks for keyword authors.
bool ParseScriptNumber(std::string_view text, double* out);
bool ParseScriptHandle(std::string_view text, uint64_t* out);  // hexadecimal, not 0

class SessionScript {
 public:
  // Replaces the script with a file's lines. False, with "FILE line N:
  // reason" in *error, when the file cannot be read or a line is bad; the
  // script is then empty.
  bool Load(const std::string& path, std::string* error);
  // The same from text; folder is where relative file names are found.
  bool LoadText(std::string_view text, const std::string& folder, std::string* error,
                const std::string& name = "script");
  // Empties the script, its reports and errors.
  void Clear();

  bool Loaded() const { return loaded_; }
  const std::string& Name() const { return name_; }
  const std::string& Folder() const { return folder_; }

  // The next unconsumed line, null at the end.
  const ScriptLine* Peek() const;
  bool NextIs(std::initializer_list<std::string_view> keywords) const;
  // Consumes and returns the next line when its keyword is one of these.
  std::optional<ScriptLine> Take(std::initializer_list<std::string_view> keywords);
  // Take for a call described by `call` (e.g. `GetPoint "Insertion point"`):
  // when the next line does not answer it, the call is reported unanswered.
  std::optional<ScriptLine> TakeFor(std::initializer_list<std::string_view> keywords,
                                    const std::string& call);

  // "CALL: script line N is "TEXT"" or "CALL: the script has no more lines".
  void ReportUnanswered(const std::string& call);
  const std::vector<std::string>& Unanswered() const { return unanswered_; }
  // A line that answered its call but could not be carried out (an unknown
  // handle, a missing file): "line N: MESSAGE".
  void ReportError(const ScriptLine& line, const std::string& message);
  const std::vector<std::string>& Errors() const { return errors_; }

  // Lines never consumed.
  std::vector<ScriptLine> Remaining() const;

  // A path of a `file` line as the system sees it: code page 1250, joined
  // to the script's folder when relative.
  std::string ResolveFile(const std::string& path) const;

 private:
  bool loaded_ = false;
  std::string name_;
  std::string folder_;
  std::vector<ScriptLine> lines_;
  size_t next_ = 0;
  std::vector<std::string> unanswered_;
  std::vector<std::string> errors_;
};

// The process's one script (empty until loaded).
SessionScript& CurrentSessionScript();
