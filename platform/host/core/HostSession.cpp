#include "platform/host/core/HostSession.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unordered_set>

#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "platform/catalogue/Database.h"
#include "platform/host/core/EntityBounds.h"
#include "platform/host/core/EntityChain.h"
#include "platform/host/ParallelTasks.h"
#include "platform/win32/code_page.h"
#include "platform/win32/driver/window_pictures.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"

namespace host {
namespace {

std::string Int(int64_t v) { return std::to_string(v); }

std::string PointText(const double* p) {
  return "(" + HostLog::Number(p[0]) + ", " + HostLog::Number(p[1]) + ", " + HostLog::Number(p[2]) + ")";
}

// The point of group code (code, code + 10, code + 20) of the object's own
// data; nothing when the x is missing.
std::optional<std::array<double, 3>> PointOf(const DxfEntity& e, int16_t code) {
  const DxfPair* x = e.Find(code);
  if (!x) return std::nullopt;
  std::array<double, 3> p{ParseDxfReal(x->value).value_or(0.0), 0.0, 0.0};
  for (int a = 1; a < 3; ++a)
    if (const DxfPair* c = e.Find(static_cast<int16_t>(code + 10 * a)))
      p[static_cast<size_t>(a)] = ParseDxfReal(c->value).value_or(0.0);
  return p;
}

std::array<double, 3> Normalized(std::array<double, 3> v) {
  double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (n == 0.0) return v;
  return {v[0] / n, v[1] / n, v[2] / n};
}

double Dot(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

std::array<double, 3> Cross(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

std::string FolderOfProgram() {
  char path[4096] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string utf8 = Cp1250ToUtf8(path);
  size_t slash = utf8.find_last_of('/');
  return slash == std::string::npos ? "." : utf8.substr(0, slash);
}

// Blocks of the written pair lists and values, mapped 2 MB at a time, the
// next 2 MB on a thread while these fill: a write-back of tens of thousands
// of entities fills megabytes of them, and each small page would be a
// fault of its own. Large enough that most steps lie inside one block
// (pages never reached take no memory).
constexpr size_t kWrittenPairBlock = size_t{32} << 20;

}  // namespace

HostSession::HostSession()
    : writtenPairs_(std::make_unique<PairArena>(kWrittenPairBlock, true, true)), drawing_(std::make_unique<DxfDrawing>()) {
  Window();
}

void HostSession::Replace(std::unique_ptr<DxfDrawing> drawing) {
  ReleaseChains();
  ForgetUcs();
  selection_.clear();
  drawing_ = std::move(drawing);
  writing_ = PairList();  // its room may lie in the blocks let go next
  // Only once the drawing whose pairs lie in it is gone.
  writtenPairs_ = std::make_unique<PairArena>(kWrittenPairBlock, true, true);
}

HostSession::~HostSession() { Shutdown(); }

SessionScript& HostSession::Script() const { return script_ ? *script_ : CurrentSessionScript(); }

bool HostSession::OpenDrawing(const std::string& path, DxfError* error) {
  auto drawing = std::make_unique<DxfDrawing>();
  if (!drawing->Load(path, error)) return false;
  Replace(std::move(drawing));
  return true;
}

bool HostSession::OpenDrawingText(std::string_view text, DxfError* error) {
  auto drawing = std::make_unique<DxfDrawing>();
  if (!drawing->LoadText(text, error)) return false;
  Replace(std::move(drawing));
  return true;
}

DxfEntity* HostSession::TopEntity(uint64_t handle) const {
  DxfEntity* e = drawing_->FindByHandle(handle);
  if (!e) return nullptr;
  for (const auto& top : drawing_->Entities())
    if (top.get() == e) return e;
  return nullptr;
}

bool HostSession::Preselect(const std::vector<uint64_t>& handles, std::string* error) {
  std::vector<uint64_t> ids;
  for (uint64_t h : handles) {
    DxfEntity* e = TopEntity(h);
    if (!e) {
      if (error) *error = "the drawing has no entity with handle " + FormatHandle(h);
      return false;
    }
    ids.push_back(e->id);
  }
  SetSelection(std::move(ids), false);
  return true;
}

std::vector<uint64_t> HostSession::SelectedHandles() const {
  std::vector<uint64_t> out;
  for (uint64_t id : selection_)
    if (const DxfEntity* e = drawing_->FindById(id)) out.push_back(e->Handle().value_or(0));
  return out;
}

void HostSession::SetSelection(std::vector<uint64_t> ids, bool add) {
  ReleaseChains();
  if (!add) selection_.clear();
  // An id taken twice is kept once, where it came first. The drawing's ids
  // lie close together: a window over the drawing takes tens of thousands,
  // told by a bit each over their range rather than a node of a hash set.
  uint64_t lo = UINT64_MAX, hi = 0;
  for (const std::vector<uint64_t>* list : {&selection_, &ids})
    for (uint64_t id : *list) {
      lo = std::min(lo, id);
      hi = std::max(hi, id);
    }
  const size_t count = selection_.size() + ids.size();
  if (count != 0 && hi - lo < 8 * count + 4096) {
    std::vector<bool> present(hi - lo + 1);
    for (uint64_t id : selection_) present[id - lo] = true;
    for (uint64_t id : ids)
      if (!present[id - lo]) {
        present[id - lo] = true;
        selection_.push_back(id);
      }
  } else {
    std::unordered_set<uint64_t> present(selection_.begin(), selection_.end());
    for (uint64_t id : ids)
      if (present.insert(id).second) selection_.push_back(id);
  }
  selectionCursor_ = 0;
  entNextCursor_ = 0;
}

resbuf* HostSession::EntityChain(uint64_t handle, std::string* error) {
  const DxfEntity* e = TopEntity(handle);
  if (!e) {
    if (error) *error = "the drawing has no entity with handle " + FormatHandle(handle);
    return nullptr;
  }
  resbuf* chain = HandOut(*e);
  if (!chain && error) *error = "out of memory";
  return chain;
}

resbuf* HostSession::HandOut(const DxfEntity& entity) {
  const ChainBlocks::Mark before = handedOut_.Position();
  resbuf* chain = EntityToChain(entity, &handedOut_);
  if (!chain) handedOut_.RollBack(before);
  lastHandedOut_ = chain;
  beforeLastHandedOut_ = before;
  return chain;
}

void HostSession::ReleaseChains() {
  handedOut_.Clear();
  lastHandedOut_ = nullptr;
  lastEntNext_ = nullptr;
}

void HostSession::BeginCommand() {
  ::SetWindowTextA(Window(), TitleText());
  ReleaseChains();
  drawing_->KeepJournal(true);
  changeMark_.reset();
  modified_ = committed_ = cancelled_ = false;
  refusal_.clear();
  inputState_ = 0;
  selectionCursor_ = entNextCursor_ = 0;
  appWalk_.clear();
  appWalkCursor_ = 0;
  lastError_.clear();
}

ChangeOutcome HostSession::EndCommand() {
  ReleaseChains();
  bool leftOpen = modified_;
  drawing_->RollBack(0);
  ForgetUcs();
  drawing_->KeepJournal(false);
  modified_ = false;
  changeMark_.reset();
  if (!refusal_.empty()) return ChangeOutcome::Refused;
  if (committed_) return ChangeOutcome::Committed;
  if (cancelled_) return ChangeOutcome::Cancelled;
  return leftOpen ? ChangeOutcome::LeftOpen : ChangeOutcome::Unchanged;
}

void HostSession::Shutdown() {
  changeMark_.reset();
#ifdef __SANITIZE_ADDRESS__
  // The leak check sees no further than the arenas: values owned by pairs
  // in them would read as lost.
  constexpr bool kLeakChecked = true;
#else
  constexpr bool kLeakChecked = false;
#endif
  if (options_.exitAfterShutdown && !kLeakChecked) {
    // The process ends next and the system takes its memory back at once,
    // where letting go of a large drawing walks every object of it.
    static auto* const left = new std::vector<std::unique_ptr<DxfDrawing>>();
    left->push_back(std::exchange(drawing_, std::make_unique<DxfDrawing>()));
  }
  Replace(std::make_unique<DxfDrawing>());
  variableTexts_.clear();
  for (auto& [trade, db] : catalogues_) jovDatabase::Database::Close(db);
  catalogues_.clear();
  log_.Close();
  if (::IsWindow(mainWindow_)) ::DestroyWindow(mainWindow_);
  mainWindow_ = nullptr;
}

HWND HostSession::Window() {
  if (::IsWindow(mainWindow_)) return mainWindow_;
  static constexpr char kClass[] = "DravikMainWindow";
  WNDCLASSA windowClass{};
  if (!::GetClassInfoA(nullptr, kClass, &windowClass)) {
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kClass;
    ::RegisterClassA(&windowClass);
  }
  // Hidden: nothing is shown, but it owns what the plug-in opens.
  mainWindow_ = ::CreateWindowExA(0, kClass, TitleText(), WS_OVERLAPPEDWINDOW, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
                                  ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
  return mainWindow_;
}

const char* HostSession::TitleText() const { return options_.lt ? "Dravik 2D LT" : "Dravik 2D"; }

// ---- Slots ---------------------------------------------------------------

resbuf* HostSession::SelectionNext(int first) {
  if (first) selectionCursor_ = 0;
  resbuf* chain = nullptr;
  while (!chain && selectionCursor_ < selection_.size()) {
    const DxfEntity* e = drawing_->FindById(selection_[selectionCursor_++]);
    if (e) chain = HandOut(*e);
  }
  if (log_.IsOpen()) log_.Call("SelectionNext", Int(first), HostLog::Chain(chain));
  return chain;
}

int HostSession::EntityWrite(resbuf* chain, int flags) {
  // The pairs are worked out in a list kept across writes; only what the
  // drawing keeps is taken from the written pairs' blocks.
  PairList& pairs = writing_;
  std::optional<EntityName> name = ChainEntityName(chain);
  DxfEntity* target = name ? drawing_->FindById(name->id) : nullptr;
  DxfError error;
  int result = HOST_ERROR;
  std::string why;
  size_t insertAt = SIZE_MAX;
  if (name && !target) {
    why = "the named entity is not in the drawing";
  } else if (target && ChainSetsValues(chain, *target, writingPlaces_, pairs, writtenPairs_.get(), &insertAt) &&
             drawing_->ReplaceValues(*target, writingPlaces_, pairs, insertAt, writtenPairs_.get())) {
    // Most entities a command writes back keep their codes and change a
    // few values or none, or gain a run of extended data: those are set
    // without building the entity's pairs.
    result = HOST_NORMAL;
  } else if (!ChainToPairs(chain, target, pairs, nullptr, &error, writtenPairs_.get())) {
    why = error.message;
  } else if (target) {
    const PairArenaScope written(writtenPairs_.get());
    if (drawing_->ReplaceEntityFrom(*target, pairs, &error)) result = HOST_NORMAL;
    else why = error.message;
  } else {
    const PairArenaScope written(writtenPairs_.get());
    // Room for what a new entity is given: handle, owner, layer and up to
    // three subclass markers (a TEXT takes two of its type's), so that its
    // list is never made again while it is completed.
    PairList kept;
    kept.reserve(pairs.size() + 6);
    kept.insert(kept.end(), std::make_move_iterator(pairs.begin()), std::make_move_iterator(pairs.end()));
    if (drawing_->AppendEntity(std::move(kept), &error)) result = HOST_NORMAL;
    else why = error.message;
  }
  pairs.clear();
  if (result == HOST_NORMAL) Modified();
  if (result == HOST_NORMAL && !HandlesLeft(why)) result = HOST_ERROR;
  lastError_ = why;
  if (log_.IsOpen())
    log_.Call("EntityWrite", HostLog::Chain(chain) + ", " + Int(flags),
              Int(result) + (why.empty() ? "" : " (" + why + ")"));
  return result;
}

void HostSession::BeginChange() {
  bool nested = changeMark_.has_value();
  if (!nested) {
    changeMark_ = drawing_->JournalMark();
    modifiedAtMark_ = modified_;
  }
  log_.Call("BeginChange", "", nested ? "already open" : "marked");
}

bool HostSession::HandlesLeft(std::string& why) {
  std::optional<std::string> full = drawing_->HandleLimitReached();
  if (!full) return true;
  why = *full;
  if (refusal_.empty()) refusal_ = *full;
  return false;
}

void HostSession::EndChange(int status) {
  if (status == 1 && refusal_.empty()) {
    committed_ = true;
    drawing_->ForgetJournal();
    modified_ = false;
  } else {
    // Back to the mark, or without one to the last commit.
    drawing_->RollBack(changeMark_.value_or(0));
    ForgetUcs();
    modified_ = changeMark_ ? modifiedAtMark_ : false;
    // Chains of entities that went with the rollback stay the caller's
    // until the selection changes; the selection walks over missing ones.
    cancelled_ = true;
  }
  changeMark_.reset();
  log_.Call("EndChange", Int(status), status == 1 && refusal_.empty() ? "committed" : "rolled back");
}

HWND HostSession::MainWindow() {
  HWND window = Window();
  log_.Call("MainWindow", "", window ? "main window" : "null");
  return window;
}

int HostSession::BlockBegin(const char* name, int flag, double x, double y, double z) {
  DxfError error;
  int result = name && drawing_->BeginBlock(name, {x, y, z}, &error) ? HOST_NORMAL : HOST_ERROR;
  if (!name) error.message = "no name";
  if (result == HOST_NORMAL) Modified();
  if (result == HOST_NORMAL && !HandlesLeft(error.message)) result = HOST_ERROR;
  log_.Call("BlockDefine", "0, " + HostLog::Text(name) + ", " + Int(flag) + ", " + HostLog::Number(x) +
                               ", " + HostLog::Number(y) + ", " + HostLog::Number(z),
            Int(result) + (result == HOST_NORMAL ? "" : " (" + error.message + ")"));
  return result;
}

int HostSession::BlockAddEntity(const resbuf* chain) {
  PairList pairs;
  DxfError error;
  int result = ChainToPairs(chain, nullptr, pairs, nullptr, &error) &&
                       drawing_->AddBlockEntity(std::move(pairs), &error)
                   ? HOST_NORMAL
                   : HOST_ERROR;
  if (result == HOST_NORMAL && !HandlesLeft(error.message)) result = HOST_ERROR;
  log_.Call("BlockDefine", "1, " + HostLog::Chain(chain),
            Int(result) + (result == HOST_NORMAL ? "" : " (" + error.message + ")"));
  return result;
}

int HostSession::BlockEnd(char* nameOut) {
  DxfError error;
  std::optional<std::string> name = drawing_->EndBlock(&error);
  if (name) Modified();
  if (name && !HandlesLeft(error.message)) name.reset();
  int result = name ? HOST_NORMAL : HOST_ERROR;
  if (name && nameOut) CopyStringN(nameOut, 256, name->c_str());
  log_.Call("BlockDefine", "2", Int(result) + (name ? " " + HostLog::Text(name->c_str()) : " (" + error.message + ")"));
  return result;
}

const char* HostSession::GetVariable(const char* name) {
  const char* result = nullptr;
  if (name) {
    std::string key = name;
    if (!key.empty() && key[0] == '$') key.erase(0, 1);
    std::optional<std::string> value = drawing_->HeaderValue("$" + key);
    if (!value && SameName(key, "CLAYER")) value = "0";
    if (value) {
      std::string& stored = variableTexts_[key];
      stored = *value;
      result = stored.c_str();
    }
  }
  log_.Call("GetVariable", HostLog::Text(name), HostLog::Text(result));
  return result;
}

double HostSession::DrawingScale() {
  log_.Call("DrawingScale", "", HostLog::Number(options_.scale));
  return options_.scale;
}

int HostSession::Units() const {
  if (options_.units) return *options_.units;
  if (std::optional<std::string> v = drawing_->HeaderValue("$INSUNITS")) {
    std::optional<int64_t> n = ParseDxfInt(*v);
    if (n == 6) return 1;
  }
  return 1000;
}

int HostSession::DrawingUnits() {
  int units = Units();
  log_.Call("DrawingUnits", "", Int(units));
  return units;
}

std::string HostSession::PromptCall(const char* function, const char* prompt,
                                    const std::string& what) const {
  return std::string(function) + " " + HostLog::Text(prompt) + " (" + what + ")";
}

int HostSession::PromptFailed(int result) {
  inputState_ = 0;
  return result;
}

int HostSession::GetPoint(int flags, const char* prompt, double out[3]) {
  PictureModelessDialogs();
  int result = HOST_CANCEL;
  std::optional<ScriptLine> line = Script().TakeFor({"point", "cancel"}, PromptCall("GetPoint", prompt, "point"));
  if (!line || line->keyword == "cancel") {
    result = PromptFailed(HOST_CANCEL);
  } else {
    double p[3] = {0, 0, 0};
    for (size_t a = 0; a < line->args.size() && a < 3; ++a) ParseScriptNumber(line->args[a], &p[a]);
    if (out) std::memcpy(out, p, sizeof p);
    inputState_ = 2;
    result = HOST_NORMAL;
  }
  log_.Call("GetPoint", Int(flags) + ", " + HostLog::Text(prompt),
            Int(result) + (result == HOST_NORMAL && out ? " " + PointText(out) : ""));
  return result;
}

const HostSession::Ucs& HostSession::CurrentUcs() const {
  // Asked for once per point a preview draws: read from the header once
  // and kept until ForgetUcs.
  if (ucs_) return *ucs_;
  Ucs ucs;
  auto read = [&](const char* name, std::array<double, 3>& into) {
    const PairList* values = drawing_->HeaderVariable(name);
    if (!values) return false;
    std::array<double, 3> p = into;
    bool any = false;
    for (const DxfPair& pair : *values)
      if (pair.code == 10 || pair.code == 20 || pair.code == 30) {
        p[static_cast<size_t>(pair.code / 10 - 1)] = ParseDxfReal(pair.value).value_or(0.0);
        any = true;
      }
    if (any) into = p;
    return any;
  };
  read("$UCSORG", ucs.origin);
  std::array<double, 3> x = ucs.x, y = ucs.y;
  read("$UCSXDIR", x);
  read("$UCSYDIR", y);
  x = Normalized(x);
  // Y made square to X, in case the file's axes are not quite.
  double d = Dot(y, x);
  y = Normalized({y[0] - d * x[0], y[1] - d * x[1], y[2] - d * x[2]});
  std::array<double, 3> z = Cross(x, y);
  if (Dot(x, x) == 0.0 || Dot(z, z) == 0.0) {
    ucs_ = Ucs{ucs.origin};
  } else {
    ucs.x = x;
    ucs.y = y;
    ucs.z = z;
    ucs_ = ucs;
  }
  return *ucs_;
}

void HostSession::ForgetUcs() { ucs_.reset(); }

int HostSession::UcsToWcs(double point[3], bool displacement) {
  std::string before = log_.IsOpen() ? (point ? PointText(point) : "null") : std::string();
  int result = HOST_ERROR;
  if (point) {
    const Ucs& u = CurrentUcs();
    double p[3] = {point[0], point[1], point[2]};
    for (size_t a = 0; a < 3; ++a)
      point[a] = (displacement ? 0.0 : u.origin[a]) + p[0] * u.x[a] + p[1] * u.y[a] + p[2] * u.z[a];
    result = HOST_NORMAL;
  }
  if (log_.IsOpen())
    log_.Call("UcsToWcs", before + ", " + Int(displacement), Int(result) + (point ? " " + PointText(point) : ""));
  return result;
}

int HostSession::WcsToUcs(double point[3], bool displacement) {
  std::string before = log_.IsOpen() ? (point ? PointText(point) : "null") : std::string();
  int result = HOST_ERROR;
  if (point) {
    const Ucs& u = CurrentUcs();
    std::array<double, 3> d{point[0], point[1], point[2]};
    if (!displacement)
      for (size_t a = 0; a < 3; ++a) d[a] -= u.origin[a];
    point[0] = Dot(d, u.x);
    point[1] = Dot(d, u.y);
    point[2] = Dot(d, u.z);
    result = HOST_NORMAL;
  }
  if (log_.IsOpen())
    log_.Call("WcsToUcs", before + ", " + Int(displacement), Int(result) + (point ? " " + PointText(point) : ""));
  return result;
}

bool HostSession::ResolveHandles(const ScriptLine& line, std::vector<uint64_t>& ids) {
  for (const std::string& arg : line.args) {
    uint64_t h = 0;
    ParseScriptHandle(arg, &h);
    DxfEntity* e = TopEntity(h);
    if (!e) {
      Script().ReportError(line, "the drawing has no entity with handle " + arg);
      return false;
    }
    ids.push_back(e->id);
  }
  return true;
}

namespace {

// Whether the entity has points and all lie inside the window lo..hi: told
// point by point, with nothing kept per entity.
bool WhollyInside(const DxfEntity& e, const double (&lo)[2], const double (&hi)[2]) {
  bool any = false, all = true;
  auto take = [&](double x, double y) {
    any = true;
    all = all && x >= lo[0] && x <= hi[0] && y >= lo[1] && y <= hi[1];
  };
  auto takePoint = [&](const DxfEntity& of, int16_t code) {
    if (std::optional<std::array<double, 3>> p = PointOf(of, code)) take((*p)[0], (*p)[1]);
  };
  const std::string_view type = e.Type();
  auto is = [type](const char* name) { return SameName(type, name); };
  if (is("LWPOLYLINE") || is("LINE") || is("CIRCLE") || is("ARC") || is("ELLIPSE") || is("SOLID")) {
    if (std::optional<Bounds2D> box = EntityBounds(e)) {
      take(box->minX, box->minY);
      take(box->maxX, box->maxY);
    }
  } else if (is("INSERT") || is("TEXT") || is("MTEXT") || is("ATTDEF") || is("POINT")) {
    bool aligned = is("TEXT") && (ParseDxfInt(e.Value(72, "0")).value_or(0) != 0 ||
                                  ParseDxfInt(e.Value(73, "0")).value_or(0) != 0);
    std::optional<std::array<double, 3>> p = aligned ? PointOf(e, 11) : std::nullopt;
    if (!p) p = PointOf(e, 10);
    if (p) take((*p)[0], (*p)[1]);
  } else if (is("POLYLINE")) {
    for (const DxfEntity& v : e.children)
      if (v.IsType("VERTEX")) takePoint(v, 10);
  } else {
    for (int16_t code = 10; code <= 18; ++code) takePoint(e, code);
  }
  return any && all;
}

// Below this many entities a window is told on the calling thread alone.
constexpr size_t kEntitiesPerSlice = 4096;

}  // namespace

std::vector<uint64_t> HostSession::WindowSelection(double x1, double y1, double x2, double y2) const {
  const double lo[2] = {std::min(x1, x2), std::min(y1, y2)};
  const double hi[2] = {std::max(x1, x2), std::max(y1, y2)};
  // A window takes the whole drawing at times, tens of thousands of
  // entities, each measured from its text: slices of the drawing are told
  // on a few threads (nothing is written to the drawing meanwhile) and
  // joined in the drawing's order.
  const auto& entities = drawing_->Entities();
  const size_t slices = std::max<size_t>(1, std::min<size_t>(WorkThreads(), entities.size() / kEntitiesPerSlice));
  std::vector<std::vector<uint64_t>> taken(slices);
  RunTasks(slices, static_cast<unsigned>(slices), [&](size_t slice) {
    const size_t begin = entities.size() * slice / slices, end = entities.size() * (slice + 1) / slices;
    // Room for every entity: pages a small window leaves untouched cost nothing.
    std::vector<uint64_t>& ids = taken[slice];
    ids.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) {
      const DxfEntity& e = *entities[i];
      if (DxfDrawing::InModelSpace(e) && WhollyInside(e, lo, hi)) ids.push_back(e.id);
    }
  });
  if (slices == 1) return std::move(taken[0]);
  size_t count = 0;
  for (const auto& ids : taken) count += ids.size();
  std::vector<uint64_t> ids;
  ids.reserve(count);
  for (const auto& part : taken) ids.insert(ids.end(), part.begin(), part.end());
  return ids;
}

int HostSession::Select(const char* prompt, int mode, int option, double* pickPoint) {
  // What the user sees while picking: a banner over the drawing, say.
  PictureModelessDialogs();
  int result = HOST_ERROR;
  std::string detail;
  if (mode == 0) {
    result = selection_.empty() ? HOST_NONE : HOST_NORMAL;
  } else if (mode == 1) {
    std::optional<ScriptLine> line =
        Script().TakeFor({"pick", "cancel"}, PromptCall("Select", prompt, "single pick"));
    std::vector<uint64_t> ids;
    if (!line || line->keyword == "cancel") {
      result = PromptFailed(HOST_CANCEL);
      detail = line ? "cancel" : "unanswered";
    } else if (!ResolveHandles({line->number, line->keyword, {line->args[0]}, line->text}, ids)) {
      result = PromptFailed(HOST_ERROR);
    } else {
      SetSelection(ids, false);
      if (pickPoint) {
        std::array<double, 3> p{0, 0, 0};
        if (line->args.size() == 3) {
          ParseScriptNumber(line->args[1], &p[0]);
          ParseScriptNumber(line->args[2], &p[1]);
        } else if (auto first = PointOf(*drawing_->FindById(ids[0]), 10)) {
          p = *first;
        }
        std::memcpy(pickPoint, p.data(), sizeof(double) * 3);
      }
      inputState_ = 1;
      result = HOST_NORMAL;
      detail = "pick " + line->args[0] + (pickPoint ? " " + PointText(pickPoint) : "");
    }
  } else if (mode == 2) {
    std::optional<ScriptLine> line = Script().TakeFor({"select", "select-window", "cancel"},
                                                      PromptCall("Select", prompt, "selection"));
    std::vector<uint64_t> ids;
    bool ok = false;
    if (!line || line->keyword == "cancel") {
      result = PromptFailed(HOST_CANCEL);
      detail = line ? "cancel" : "unanswered";
    } else if (line->keyword == "select") {
      ok = ResolveHandles(*line, ids);
      if (!ok) result = PromptFailed(HOST_ERROR);
    } else {
      double c[4] = {0, 0, 0, 0};
      for (size_t i = 0; i < 4; ++i) ParseScriptNumber(line->args[i], &c[i]);
      ids = WindowSelection(c[0], c[1], c[2], c[3]);
      ok = true;
    }
    if (ok) {
      SetSelection(std::move(ids), option == 4);  // a window may take tens of thousands
      inputState_ = 1;
      result = selection_.empty() ? HOST_NONE : HOST_NORMAL;
      detail = Int(static_cast<int64_t>(selection_.size())) + " selected";
    }
  }
  log_.Call("Select", HostLog::Text(prompt) + ", " + Int(mode) + ", " + Int(option) + ", " +
                          (pickPoint ? "point" : "null"),
            Int(result) + (detail.empty() ? "" : " [" + detail + "]"));
  return result;
}

const char* HostSession::GetEnvString(const char* name) {
  const char* result = "";
  if (name)
    for (const auto& [key, value] : options_.env)
      if (_mbsicmp(key.c_str(), name) == 0) result = value.c_str();
  log_.Call("GetEnvString", HostLog::Text(name), HostLog::Text(result));
  return result;
}

int HostSession::InputState() {
  log_.Call("InputState", "", Int(inputState_));
  return inputState_;
}

const char* HostSession::ProductTitle() {
  const char* title = TitleText();
  log_.Call("ProductTitle", "", HostLog::Text(title));
  return title;
}

// ---- By name ---------------------------------------------------------------

resbuf* HostSession::AltEntNext(int first) {
  if (first) entNextCursor_ = 0;
  resbuf* chain = nullptr;
  while (!chain && entNextCursor_ < selection_.size()) {
    const DxfEntity* e = drawing_->FindById(selection_[entNextCursor_++]);
    if (e) chain = HandOut(*e);
  }
  lastEntNext_ = chain;
  if (log_.IsOpen()) log_.Call("alt_entnext", Int(first), HostLog::Chain(chain));
  return chain;
}

int HostSession::UnlinkDxf() {
  std::string what = "nothing";
  if (lastEntNext_) {
    if (log_.IsOpen()) what = HostLog::Chain(lastEntNext_);
    // Its room is taken again when nothing was handed out after it; else
    // it goes with the others.
    if (lastEntNext_ == lastHandedOut_) {
      handedOut_.RollBack(beforeLastHandedOut_);
      lastHandedOut_ = nullptr;
    }
    lastEntNext_ = nullptr;
  }
  if (log_.IsOpen()) log_.Call("unlink_DXF", "", Int(HOST_NORMAL) + " [released " + what + "]");
  return HOST_NORMAL;
}

resbuf* HostSession::AltEntNextApp(int first, const char* application) {
  if (first) {
    appWalk_.clear();
    appWalkCursor_ = 0;
    const std::string_view wanted = application ? application : "";
    // The application first: most entities name none the walk asks for,
    // and are then not looked at for their space.
    for (const auto& e : drawing_->Entities()) {
      bool tagged = wanted.empty();
      for (size_t i = ExtendedDataStart(e->pairs); !tagged && i < e->pairs.size(); ++i)
        tagged = e->pairs[i].code == 1001 && SameName(TrimDxf(e->pairs[i].value), wanted);
      if (tagged && DxfDrawing::InModelSpace(*e)) appWalk_.push_back(e->id);
    }
  }
  resbuf* chain = nullptr;
  while (!chain && appWalkCursor_ < appWalk_.size()) {
    const DxfEntity* e = drawing_->FindById(appWalk_[appWalkCursor_++]);
    if (e) chain = HandOut(*e);
  }
  if (log_.IsOpen())
    log_.Call("alt_entnext_app", Int(first) + ", " + HostLog::Text(application), HostLog::Chain(chain));
  return chain;
}

int HostSession::AltEntDel(const resbuf* chain) {
  std::optional<EntityName> name = ChainEntityName(chain);
  const DxfEntity* target = name ? drawing_->FindById(name->id) : nullptr;
  DxfError error;
  int result = HOST_ERROR;
  if (!name)
    error.message = "no entity name";
  else if (!target)
    error.message = "the named entity is not in the drawing";
  else if (drawing_->EraseEntity(*target, &error))
    result = HOST_NORMAL;
  if (result == HOST_NORMAL) Modified();
  lastError_ = result == HOST_NORMAL ? "" : error.message;
  log_.Call("alt_entdel", HostLog::Chain(chain), Int(result) + (lastError_.empty() ? "" : " (" + lastError_ + ")"));
  return result;
}

const char* HostSession::AltLastError() {
  log_.Call("alt_lasterror", "", HostLog::Text(lastError_.c_str()));
  return lastError_.c_str();
}

std::string HostSession::ProfileFolder() const {
  if (!options_.profileFolder.empty()) return options_.profileFolder;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return std::string(xdg) + "/dravik";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/dravik";
}

std::string HostSession::CatalogueFolder() const {
  if (!options_.catalogueFolder.empty()) return options_.catalogueFolder;
  std::string module = options_.moduleFolder.empty() ? FolderOfProgram() : options_.moduleFolder;
  return module + "/Catalogue";
}

int HostSession::GetProfilePath(int kind, char* buffer, int size) {
  std::string folder = ProfileFolder();
  std::error_code ec;
  // Any profile is laid out as the installed host lays it out: the add-ons
  // keep their settings in "Dat" and their projects in "Vantrix". A folder
  // of the user's own (empty, older, "Dat" deleted) gets what it lacks; one
  // that cannot take them is still handed out, its writes then fail alone.
  std::filesystem::create_directories(folder, ec);
  std::string missing;
  if (!ec) {
    for (const char* sub : {"Dat", "Vantrix"}) {
      std::error_code subError;
      std::filesystem::create_directories(std::filesystem::path(folder) / sub, subError);
      if (subError) missing += std::string(missing.empty() ? "" : ", ") + sub + ": " + subError.message();
    }
  }
  std::string page = Utf8ToCp1250(folder);
  if (page.empty() || page.back() != '/') page += '/';
  int result = HOST_ERROR;
  if (buffer && size > 0) {
    result = CopyStringN(buffer, static_cast<size_t>(size), page.c_str()) && !ec ? HOST_NORMAL : HOST_ERROR;
  }
  log_.Call("GetProfilePath", Int(kind) + ", buffer, " + Int(size),
            Int(result) + " " + HostLog::Text(page.c_str()) + (ec ? " (" + ec.message() + ")" : "") +
                (missing.empty() ? "" : " (not made: " + missing + ")"));
  return result;
}

jovDatabase::Database* HostSession::GetDatabase(char trade) {
  char letter = trade >= 'a' && trade <= 'z' ? static_cast<char>(trade - 'a' + 'A') : trade;
  jovDatabase::Database* db = nullptr;
  auto it = catalogues_.find(letter);
  if (it != catalogues_.end()) {
    db = it->second;
  } else {
    db = jovDatabase::Database::Open(CatalogueFolder().c_str(), letter);
    if (db) catalogues_[letter] = db;
  }
  char shown[2] = {trade, 0};
  log_.Call("GetDatabase", HostLog::Text(shown), db ? "catalogue " + std::string(1, letter) : "null");
  return db;
}

int HostSession::Unsupported(const char* name) {
  log_.Call(name, "...", Int(HOST_ERROR));
  return HOST_ERROR;
}

HostSession& TheHost() {
  // Lives to the end of the process: the plug-in may call in while it
  // shuts down.
  static HostSession* host = new HostSession;
  return *host;
}

}  // namespace host
