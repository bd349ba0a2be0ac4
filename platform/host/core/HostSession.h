// The CAD host's state during a run and what it answers its plug-ins: the
// drawing, the current selection, the chains handed out, the change
// bracket, block definitions, units and coordinate systems, and the
// interactive prompts, answered from the session script.
//
// Selection and prompts (the host's choices):
//  - Select mode 1 is a single pick, answered by `pick H [X Y]` or `cancel`:
//    the picked entity becomes the selection, and a given pick point
//    receives X Y (0) or, without them, the entity's first point (group
//    10).
//  - Select mode 2 is a selection prompt, answered by `select H...`,
//    `select-window X1 Y1 X2 Y2` or `cancel`. Option 4 adds to the current
//    selection (entities already in it keep their place, so a pick followed
//    by (prompt, 2, 4) keeps the picked entity first); any other option
//    starts a new selection. A window takes the model-space entities lying
//    wholly inside it: by their extents (LINE, CIRCLE, ARC, ELLIPSE, SOLID,
//    LWPOLYLINE), by their insertion point (INSERT, TEXT, MTEXT, ATTDEF,
//    POINT; an aligned TEXT by its alignment point), by their vertices
//    (POLYLINE), otherwise by all their points.
//  - Select mode 0 ends the selection without a script line: 5100 when
//    something is selected, else 5000.
//  - An answered prompt gives 5100 (5000 when the selection came out
//    empty); `cancel` and an unanswered prompt give -5002 (the latter is
//    reported), a line naming an unknown handle gives -5001 (reported as a
//    script error) and leaves the selection as it was.
//  - InputState: 0 after a cancelled, unanswered or failed prompt, 1 after
//    an entity answer, 2 after a point answer.
//  - GetPoint is answered by `point X Y [Z]` or `cancel`; the point is
//    returned as given.
//  - --select preselects before the command; SelectionNext and alt_entnext
//    walk the selection (each with its own cursor).
//
// Chains handed out (SelectionNext, alt_entnext) belong to the host and
// stay valid until the selection changes or the command ends; unlink_DXF
// releases the last alt_entnext chain at once. They are read only: their
// nodes and texts lie in the host's blocks, not one heap block each.
//
// Writing: EntityWrite(chain, 0) with a chain that begins with an entity
// name replaces that entity (handle and owner kept); a chain that begins
// with code 0 appends a new model-space entity (handle, owner, layer and
// application names completed). BlockDefine op 0 (name, flag, x, y, z as
// doubles; the flag is not used) begins a definition, op 1 (chain) adds an
// entity, op 2 (char[256]) ends it and gives the final name ("*U<n>" for
// anonymous ones); each answers 5100 or -5001.
//
// Main window: the host has a hidden top-level window from its start (made
// again should it be destroyed, gone at Shutdown) titled with the product's
// name; MainWindow gives it, so that the plug-in's dialogs and message
// boxes have the host as their owner.
//
// Changes: BeginChange marks the drawing (a nested call keeps the first
// mark); EndChange(1) commits, any other status rolls the drawing back to
// the mark, or, without an open change, to the last commit (the command's
// start or the last EndChange(1)). At the end of a command whatever was not
// committed is rolled back. The drawing keeps a journal of what each change
// replaced during a command, so a rollback costs what the change touched
// and a command that only reads costs nothing.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataformat/resbuf.h"
#include "platform/host/DxfDrawing.h"
#include "platform/host/core/EntityChain.h"
#include "platform/host/core/HostLog.h"
#include "platform/win32/driver/session_script.h"
#include "platform/win32/win32_types.h"

namespace jovDatabase {
class Database;
}

namespace host {

struct HostOptions {
  bool lt = false;             // the LT edition
  std::optional<int> units;    // drawing units per metre; else from $INSUNITS
  double scale = 1.0;          // DrawingScale
  std::map<std::string, std::string> env;  // GetEnvString, names compared without case
  std::string profileFolder;   // UTF-8; empty: ${XDG_CONFIG_HOME:-$HOME/.config}/dravik
  std::string catalogueFolder; // UTF-8; empty: <module folder>/Catalogue
  std::string moduleFolder;    // UTF-8; empty: the running program's folder
  bool exitAfterShutdown = false;  // Shutdown leaves the drawing to the system
};

// How a command left the drawing.
enum class ChangeOutcome {
  Unchanged,  // no change was committed or cancelled
  Committed,  // EndChange(1) at least once: the drawing has changed
  Cancelled,  // only cancelled changes: the drawing is as before
  LeftOpen,   // changed without EndChange: rolled back
  Refused,    // an edit the drawing could not take: its change rolled back (Refusal says why)
};

class HostSession {
 public:
  HostSession();
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // ---- Set-up by the runner.
  HostOptions& Options() { return options_; }
  HostLog& Log() { return log_; }
  // Null: the process's session script.
  void SetScript(SessionScript* script) { script_ = script; }
  bool OpenDrawing(const std::string& path, DxfError* error);
  bool OpenDrawingText(std::string_view text, DxfError* error);
  // Whoever edits the drawing from outside may change its UCS.
  DxfDrawing& Drawing() {
    ForgetUcs();
    return *drawing_;
  }
  bool Preselect(const std::vector<uint64_t>& handles, std::string* error);
  std::vector<uint64_t> SelectedHandles() const;
  // The chain of the model-space entity with that handle, handed out as
  // SelectionNext's are (the runner passes it to a library); null with the
  // reason when the drawing has no such entity.
  resbuf* EntityChain(uint64_t handle, std::string* error);
  void BeginCommand();
  ChangeOutcome EndCommand();
  // Why the last command was refused; empty unless it was.
  const std::string& Refusal() const { return refusal_; }
  // Closes the catalogues, releases every chain and destroys the main
  // window.
  void Shutdown();
  // The main window without logging (the runner's parent for commands that
  // take one).
  HWND Window();

  // ---- The export table's slots.
  resbuf* SelectionNext(int first);
  int EntityWrite(resbuf* chain, int flags);
  void BeginChange();
  void EndChange(int status);
  HWND MainWindow();
  int BlockBegin(const char* name, int flag, double x, double y, double z);
  int BlockAddEntity(const resbuf* chain);
  int BlockEnd(char* nameOut);
  const char* GetVariable(const char* name);
  double DrawingScale();
  int DrawingUnits();
  int GetPoint(int flags, const char* prompt, double out[3]);
  int UcsToWcs(double point[3], bool displacement);
  int WcsToUcs(double point[3], bool displacement);
  int Select(const char* prompt, int mode, int option, double* pickPoint);
  const char* GetEnvString(const char* name);
  int InputState();
  const char* ProductTitle();

  // ---- Functions fetched by name.
  resbuf* AltEntNext(int first);
  int UnlinkDxf();
  // Walks the drawing's model space whatever is selected: with 1 the first
  // entity whose extended data names the application (without regard to
  // case; null or "" for every entity), with 0 the next. The entities are
  // those of the drawing at the first call; chains are handed out as
  // SelectionNext's are.
  resbuf* AltEntNextApp(int first, const char* application);
  // Erases the entity the chain's leading entity-name node names (an
  // INSERT's attributes or a POLYLINE's vertices go with it) inside the
  // current change, which a rollback puts back: 5100, or -5001 when the
  // drawing holds no such model- or paper-space entity.
  int AltEntDel(const resbuf* chain);
  // Why the host last refused a write or an erase, "" when it took the
  // last one.
  const char* AltLastError();
  // The profile folder (made when missing) in code page 1250 with a
  // trailing '/'; -5001 and an empty buffer when it does not fit.
  int GetProfilePath(int kind, char* buffer, int size);
  jovDatabase::Database* GetDatabase(char trade);
  // The 23 functions the system fetches but never calls.
  int Unsupported(const char* name);

  // Drawing units without logging (the runner's default --arg).
  int Units() const;
  // The profile and catalogue folders in use (UTF-8).
  std::string ProfileFolder() const;
  std::string CatalogueFolder() const;

 private:
  struct Ucs {
    std::array<double, 3> origin{0, 0, 0}, x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  };

  SessionScript& Script() const;
  DxfEntity* TopEntity(uint64_t handle) const;
  bool ResolveHandles(const ScriptLine& line, std::vector<uint64_t>& ids);
  std::vector<uint64_t> WindowSelection(double x1, double y1, double x2, double y2) const;
  void SetSelection(std::vector<uint64_t> ids, bool add);
  // A new drawing takes the place of the open one.
  void Replace(std::unique_ptr<DxfDrawing> drawing);
  resbuf* HandOut(const DxfEntity& entity);
  void ReleaseChains();
  // The header's UCS, kept once read; every road that may change the
  // header (a new drawing, a rollback, the drawing handed out) forgets it.
  const Ucs& CurrentUcs() const;
  void ForgetUcs();
  void Modified() { modified_ = true; }
  // False with the reason once an edit used up the drawing's handles; the
  // change it belongs to is then never committed.
  bool HandlesLeft(std::string& why);
  std::string PromptCall(const char* function, const char* prompt, const std::string& what) const;
  int PromptFailed(int result);
  const char* TitleText() const;

  HostOptions options_;
  HostLog log_;
  SessionScript* script_ = nullptr;
  // The pair lists the plug-in writes into the open drawing and the bytes
  // of their new values: taken from large blocks, not one heap block each,
  // and let go after the drawing they belong to (so declared before it).
  std::unique_ptr<PairArena> writtenPairs_;
  std::unique_ptr<DxfDrawing> drawing_;
  PairList writing_;  // EntityWrite's pairs before the drawing takes them
  std::vector<uint32_t> writingPlaces_;  // where EntityWrite sets the values it has in writing_

  std::vector<uint64_t> selection_;  // entity ids in order
  size_t selectionCursor_ = 0;
  size_t entNextCursor_ = 0;
  std::vector<uint64_t> appWalk_;  // entity ids of AltEntNextApp's walk
  size_t appWalkCursor_ = 0;
  std::string lastError_;
  ChainBlocks handedOut_;     // every chain handed out since ReleaseChains
  resbuf* lastHandedOut_ = nullptr;
  ChainBlocks::Mark beforeLastHandedOut_;
  resbuf* lastEntNext_ = nullptr;
  int inputState_ = 0;
  mutable std::optional<Ucs> ucs_;

  // The drawing's journal length at BeginChange; the journal starts again
  // at each commit.
  std::optional<size_t> changeMark_;
  bool modified_ = false;                    // since the last commit
  bool modifiedAtMark_ = false;
  bool committed_ = false;
  bool cancelled_ = false;
  std::string refusal_;

  std::map<std::string, std::string> variableTexts_;  // GetVariable answers stay valid
  std::map<char, jovDatabase::Database*> catalogues_;
  HWND mainWindow_ = nullptr;
};

// The host of this module (the library or the LT program each have one).
HostSession& TheHost();

}  // namespace host
