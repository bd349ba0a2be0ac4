#include "objectgl/GLScene.h"

#include <GL/gl.h>

#include <atomic>
#include <chrono>
#include <vector>

#include "objectgl/GLArc.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLDrawState.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLException.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"
#include "objectgl/GLViewport.h"
#include "platform/win32/wgl/wgl.h"

namespace {

uint32_t SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

GLDeadlineClock g_clock = nullptr;

constexpr uint32_t kNoName = 0xFFFFFFFF;
// The selection buffer starts at 100 words and grows when it overflows, up
// to this many.
constexpr size_t kMaxSelectWords = size_t{1} << 24;

}  // namespace

uint64_t GLScene::NewContentVersion() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

void GLScene::InvalidateDisplayList() {
  displayListValid_ = false;
  shapeVersion_ = contentVersion_ = NewContentVersion();
}

void GLScene::InvalidateLooks() {
  displayListValid_ = false;
  contentVersion_ = NewContentVersion();
}

uint32_t GLDeadlineNow() { return g_clock ? g_clock() : SteadyMilliseconds(); }
void GLSetDeadlineClock(GLDeadlineClock clock) { g_clock = clock; }

GLScene::~GLScene() {
  // The lists and contexts of the entities and of the scene belong to this
  // scene's own context, whichever was current before.
  const bool current = MakeContextCurrent();
  DeleteEntities();
  if (displayList_ && current && GetCurrentViewport()) glDeleteLists(displayList_, 1);
  lights_.DeleteAll();
  cameras_.DeleteAll();
  textStyles_.DeleteAll();
  viewports_.DeleteAll();
}

bool GLScene::MakeContextCurrent() {
  GLViewport* viewport = GetCurrentViewport();
  if (!viewport) return true;
  viewport->MakeCurrent();
  return viewport->GetGLRC() && wglGetCurrentContext() == viewport->GetGLRC();
}

bool GLScene::AddEntity(GLEntity* entity) {
  if (!entity) return false;
  entity->SetOwner(this);
  entities_.Add(entity);
  InvalidateDisplayList();
  GLExtents box = entity->GetExtents();
  if (box.IsValid()) extents_.AddExtents(box);
  return true;
}

bool GLScene::AddLight(GLLight* light) {
  if (!light) return false;
  light->SetOwner(this);
  lights_.Add(light);
  return true;
}

uint32_t GLScene::AddCamera(GLCamera* camera) {
  if (!camera) return 0;
  camera->SetOwner(this);
  const uint32_t count = cameras_.Add(camera);
  if (currentCamera_ == 0) currentCamera_ = 1;
  return count;
}

uint32_t GLScene::AddViewport(GLViewport* viewport) {
  if (!viewport) return 0;
  if (!viewport->IsValid() && !viewport->CreateContext()) return 0;
  viewport->SetOwner(this);
  const uint32_t count = viewports_.Add(viewport);
  if (currentViewport_ == 0) currentViewport_ = 1;
  return count;
}

uint32_t GLScene::AddTextStyle(GLTextStyle* style) {
  if (!style) return 0;
  style->SetOwner(this);
  return textStyles_.Add(style) - 1;
}

uint32_t GLScene::AddMaterial(GLMaterial* material) {
  if (!material) return matLib_.GetCount();
  material->SetOwner(this);
  InvalidateDisplayList();
  return matLib_.AddMaterial(material);
}

void GLScene::DeleteAllEntities() {
  MakeContextCurrent();
  DeleteEntities();
  InvalidateDisplayList();
}

void GLScene::DeleteEntities() {
  EntityWalk walk(*this);
  for (uint32_t i = 0, count = entities_.GetCount(); i < count; ++i) {
    GLEntity* e = walk.At(i);
    if (arena_.Holds(e))
      e->~GLEntity();
    else
      delete e;
  }
  entities_.RemoveAll();
  arena_.Release();
}

void GLScene::RemoveAllEntities() {
  entities_.RemoveAll();
  InvalidateDisplayList();
}

GLEntity* GLScene::GetEntity(uint32_t index) { return static_cast<GLEntity*>(entities_.GetAt(index)); }

GLEntity* GLScene::EntityWalk::At(uint32_t index) {
  if (index < from_ || index - from_ >= count_) {
    from_ = index;
    count_ = entities_.GetRange(index, kBlock, block_);
    if (count_ == 0) return nullptr;
  }
  return static_cast<GLEntity*>(block_[index - from_]);
}

GLTextStyle* GLScene::GetTextStyle(uint32_t index) { return static_cast<GLTextStyle*>(textStyles_.GetAt(index)); }

GLLight* GLScene::GetLight(uint32_t index) { return static_cast<GLLight*>(lights_.GetAt(index)); }

GLCamera* GLScene::GetCurrentCamera() {
  if (currentCamera_ == 0 || currentCamera_ > cameras_.GetCount()) throw GLException(GL_ERROR_INDEX);
  return static_cast<GLCamera*>(cameras_.GetAt(currentCamera_ - 1));
}

GLViewport* GLScene::GetCurrentViewport(uint32_t* index) {
  if (index) *index = currentViewport_;
  if (currentViewport_ == 0 || currentViewport_ > viewports_.GetCount()) return nullptr;
  return static_cast<GLViewport*>(viewports_.GetAt(currentViewport_ - 1));
}

GLViewport* GLScene::SetCurrentViewport(uint32_t index) {
  currentViewport_ = index;
  return GetCurrentViewport();
}

void GLScene::SetRenderMode(uint32_t mode) {
  renderMode_ = mode;
  InvalidateDisplayList();
  if (mode < 3) {
    glShadeModel(GL_FLAT);
    glDisable(GL_LIGHTING);
  } else {
    glEnable(GL_LIGHTING);
    glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 1.0f);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    glShadeModel(GL_SMOOTH);
  }
  matLib_.ResetState();
}

void GLScene::SetUseDisplayList(bool on) {
  useDisplayList_ = on;
  InvalidateDisplayList();
}

void GLScene::SetDrawStep(uint32_t step) {
  if (step == 0) return;
  drawStep_ = step;
  InvalidateDisplayList();
}

void GLScene::SetLineSmooth(bool on) {
  if (on) {
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  } else {
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
    glDisable(GL_LINE_SMOOTH);
  }
}

bool GLScene::IsLineSmooth() const { return glIsEnabled(GL_LINE_SMOOTH) == GL_TRUE; }

void GLScene::SetBlending(bool on) {
  if (on) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  } else {
    glDisable(GL_BLEND);
  }
}

bool GLScene::IsBlending() const { return glIsEnabled(GL_BLEND) == GL_TRUE; }

void GLScene::SetFogMode(uint32_t mode) {
  fogMode_ = mode;
  const GLint modes[] = {GL_EXP, GL_EXP2, GL_LINEAR};
  glFogi(GL_FOG_MODE, mode < 3 ? modes[mode] : 0);
}

void GLScene::SetFogRange(float start, float end) {
  fogStart_ = start;
  fogEnd_ = end;
  glFogf(GL_FOG_START, start);
  glFogf(GL_FOG_END, end);
}

void GLScene::GetFogRange(float* start, float* end) const {
  if (start) *start = fogStart_;
  if (end) *end = fogEnd_;
}

void GLScene::SetFogColor(float r, float g, float b, float a) {
  fogColor_[0] = r;
  fogColor_[1] = g;
  fogColor_[2] = b;
  fogColor_[3] = a;
  glFogfv(GL_FOG_COLOR, fogColor_);
  if (glIsEnabled(GL_FOG)) glClearColor(r, g, b, a);
}

void GLScene::GetFogColor(float* r, float* g, float* b, float* a) const {
  if (r) *r = fogColor_[0];
  if (g) *g = fogColor_[1];
  if (b) *b = fogColor_[2];
  if (a) *a = fogColor_[3];
}

void GLScene::SetFogDensity(float density) {
  fogDensity_ = density;
  glFogf(GL_FOG_DENSITY, density);
}

void GLScene::ApplyFog() {
  const bool on = glIsEnabled(GL_FOG) == GL_TRUE;
  if (!on && fogEnabled_) {
    glEnable(GL_FOG);
    SetFogMode(fogMode_);
    glFogfv(GL_FOG_COLOR, fogColor_);
    glFogf(GL_FOG_DENSITY, fogDensity_);
    glFogf(GL_FOG_START, fogStart_);
    glFogf(GL_FOG_END, fogEnd_);
    glHint(GL_FOG_HINT, GL_NICEST);
    glClearColor(fogColor_[0], fogColor_[1], fogColor_[2], fogColor_[3]);
  } else if (on && !fogEnabled_) {
    glDisable(GL_FOG);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    if (GLViewport* viewport = GetCurrentViewport()) viewport->ApplyBackground();
  }
}

void GLScene::ApplyLights(bool cameraRelative) {
  for (uint32_t i = 0; i < lights_.GetCount(); ++i) {
    GLLight* light = GetLight(i);
    if (light && light->IsCameraRelative() == cameraRelative) light->Apply();
  }
}

namespace {

// Lines one after another in a rendering pass, drawn between one glBegin and
// glEnd as GLLine::Draw draws each: lighting off, the line's width, each
// end in its material's colour. Names between them draw nothing and leave
// the run open; a change of width or any other entity closes it.
class LineRun {
 public:
  LineRun(const GLScene* scene, GLMatLib* materials) : scene_(scene), materials_(materials) {}
  ~LineRun() { Close(); }
  LineRun(const LineRun&) = delete;
  LineRun& operator=(const LineRun&) = delete;

  void Add(const GLLine& line) {
    const float width = line.IsHighlighted() ? line.GetHighlightLineWidth() : line.GetLineWidth();
    if (open_ && width != width_) Close();
    if (!open_) {
      lightingWas_ = glIsEnabled(GL_LIGHTING) == GL_TRUE;
      glDisable(GL_LIGHTING);
      GLDrawPass::UseLineWidth(width);
      width_ = width;
      glBegin(GL_LINES);
      open_ = true;
    }
    GLApplyColor(materials_, line.GetMaterial());
    glVertex3dv(GLScene::MapPoint(line.GetStart(), scene_));
    GLApplyColor(materials_, line.GetEndMaterial());
    glVertex3dv(GLScene::MapPoint(line.GetEnd(), scene_));
  }
  void Close() {
    if (!open_) return;
    glEnd();
    if (lightingWas_) glEnable(GL_LIGHTING);
    open_ = false;
  }

 private:
  const GLScene* scene_;
  GLMatLib* materials_;
  bool open_ = false;
  bool lightingWas_ = false;
  float width_ = 0.0f;
};

}  // namespace

void GLScene::DrawEntities(uint32_t mode, Pass pass, bool timed) {
  const uint32_t count = entities_.GetCount();
  GLDrawPass state;
  // Only a pass that renders gathers lines into runs: selecting, lines send
  // their points as arrays and names load between them.
  const bool runs = pass == Pass::kDraw && mode <= 3 && GLDrawPass::Rendering();
  LineRun run(this, &matLib_);
  // Matrix entities are drawn whatever the step, and a pass cut short by the
  // deadline pops what it pushed: the matrix stack always ends as it began.
  int pushed = 0;
  EntityWalk walk(*this);
  for (uint32_t i = 0; i < count; ++i) {
    GLEntity* e = walk.At(i);
    if (e) {
      const GLClass* c = e->GetClass();
      const bool push = c == GLPushMatrix::classRecord, pop = c == GLPopMatrix::classRecord;
      // Curves set their own width and draw no polygons, texts fill theirs
      // and draw no lines, names and matrices draw nothing; anything else
      // draws with the line width and polygon modes the pass began with.
      const bool keeps = c == GLLine::classRecord || c == GLCircle::classRecord || c == GLArc::classRecord ||
                         c == GLEllipse::classRecord || c == GLName::classRecord || c == GLText::classRecord ||
                         push || pop;
      const bool drawn = !timed || i % drawStep_ == 0 || push || pop;
      // Names draw nothing when rendering.
      const bool line = runs && c == GLLine::classRecord && e->GetOwner() == this;
      const bool inRun = line || (runs && c == GLName::classRecord);
      if (line && drawn && e->IsVisible()) run.Add(*static_cast<GLLine*>(e));
      if (!inRun) {
        run.Close();
        if (!keeps) GLDrawPass::Settle();
      }
      if (drawn && !inRun) {
        if (pass == Pass::kDraw)
          e->DrawIfVisible(mode);
        else
          e->DrawForSelectIfVisible(mode);
        if (!keeps) GLDrawPass::Refresh();
        if (push && e->IsVisible()) ++pushed;
        if (pop && e->IsVisible() && pushed > 0) --pushed;
      }
    }
    if (timed && deadline_ != kNoDeadline && i % 50 == 0 &&
        static_cast<int32_t>(GLDeadlineNow() - deadline_) > 0)
      break;
  }
  run.Close();
  for (; pushed > 0; --pushed) glPopMatrix();
  matLib_.ResetState();
}

template <class Draw>
void GLScene::RunModePasses(Draw&& draw) {
  switch (renderMode_) {
    case 0:
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      draw(0, false);
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
    case 1: {
      GLViewport* viewport = GetCurrentViewport();
      if (!viewport) break;
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      glColor4fv(viewport->BackgroundColor());
      draw(3, false);
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      glEnable(GL_POLYGON_OFFSET_LINE);
      glPolygonOffset(-1.0f, 0.0f);
      draw(0, true);
      glDisable(GL_POLYGON_OFFSET_LINE);
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
    }
    case 2:
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      draw(1, false);
      glColor3i(0, 0, 0);
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      glEnable(GL_POLYGON_OFFSET_LINE);
      glPolygonOffset(-1.0f, 100.0f);
      draw(3, true);
      glDisable(GL_POLYGON_OFFSET_LINE);
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
    case 3: draw(2, false); break;
    default: break;
  }
}

void GLScene::RunPasses(Pass pass, bool timed) {
  RunModePasses([&](uint32_t mode, bool) { DrawEntities(mode, pass, timed); });
}

void GLScene::BuildDisplayList() {
  displayListValid_ = true;
  if (displayList_) glDeleteLists(displayList_, 1);
  // Entities compile their own lists first: a list cannot be compiled
  // inside another.
  for (uint32_t i = 0; i < entities_.GetCount(); ++i)
    if (GLEntity* e = GetEntity(i)) e->PrepareLists();
  displayList_ = glGenLists(1);
  glNewList(displayList_, GL_COMPILE_AND_EXECUTE);
  // A compiled list holds everything: the deadline would cut it for good.
  const uint32_t deadline = deadline_;
  deadline_ = kNoDeadline;
  RunPasses(Pass::kDraw, true);
  deadline_ = deadline;
  glEndList();
}

void GLScene::Render() {
  if (!MakeContextCurrent()) return;
  ApplyFog();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  if (renderMode_ == 3) ApplyLights(false);
  GLCamera* camera = currentCamera_ && currentCamera_ <= cameras_.GetCount()
                         ? static_cast<GLCamera*>(cameras_.GetAt(currentCamera_ - 1))
                         : nullptr;
  GLViewport* viewport = GetCurrentViewport();
  if (!camera || !viewport) {
    glPopMatrix();
    return;
  }
  camera->ApplyToViewport(viewport);
  if (renderMode_ == 3) ApplyLights(true);
  if (!useDisplayList_)
    RunPasses(Pass::kDraw, true);
  else if (displayListValid_ && displayList_)
    glCallList(displayList_);
  else
    BuildDisplayList();
  glPopMatrix();
  glFlush();
  SwapBuffers(viewport->GetDC());
  matLib_.ResetState();
}

template <class SelectDraw>
int32_t GLScene::Select(int x, int y, double size, SelectDraw&& pass) {
  GLCamera* camera = currentCamera_ && currentCamera_ <= cameras_.GetCount()
                         ? static_cast<GLCamera*>(cameras_.GetAt(currentCamera_ - 1))
                         : nullptr;
  GLViewport* viewport = GetCurrentViewport();
  if (!camera || !viewport || !MakeContextCurrent()) return -1;
  std::vector<GLuint> buffer(100);
  GLint hits = 0;
  for (;;) {
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(kNoName);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    if (renderMode_ == 3) ApplyLights(false);
    camera->ApplyPickToViewport(viewport, x, y, size);
    if (renderMode_ == 3) ApplyLights(true);
    pass();
    glPopMatrix();
    matLib_.ResetState();
    hits = glRenderMode(GL_RENDER);
    if (hits >= 0 || buffer.size() >= kMaxSelectWords) break;
    buffer.resize(buffer.size() * 4);  // overflowed: select again with room
  }
  if (hits < 1) return -1;
  // Records: name count, min depth, max depth, the names; a record's group
  // is its last name.
  std::vector<GLuint> names;
  size_t at = 0;
  for (GLint h = 0; h < hits && at + 3 <= buffer.size(); ++h) {
    const GLuint count = buffer[at];
    if (at + 3 + count > buffer.size()) break;
    names.push_back(count ? buffer[at + 2 + count] : kNoName);
    at += 3 + count;
  }
  if (names.empty()) return -1;
  GLuint result = names.back();
  for (size_t r = names.size() - 1; result == kNoName && r-- > 0;) result = names[r];
  return result == kNoName ? -1 : static_cast<int32_t>(result);
}

int32_t GLScene::Pick(int x, int y, double size) {
  return Select(x, y, size, [&] { RunPasses(Pass::kSelect, false); });
}

void GLScene::DrawSubset(uint32_t mode, const GLPickSubset& subset, bool secondPass, uint32_t* loaded) {
  for (const GLPickSubset::Item& item : subset.items) {
    GLEntity* e = GetEntity(item.entity);
    if (!e) continue;
    // The name a full pass would have loaded by now: a second pass starts
    // under the list's last one. A load between two entities of different
    // names closes the first one's hit record, as the names between them
    // would.
    const uint32_t name = item.name == GLPickSubset::kNone && secondPass ? subset.lastName : item.name;
    if (name != *loaded) {
      auto* marker = name == GLPickSubset::kNone ? nullptr : GLDynamicCast<GLName>(GetEntity(name));
      glLoadName(marker ? marker->GetId() : kNoName);
      *loaded = name;
    }
    const std::vector<uint32_t>& pushes = subset.contexts[item.context];
    for (uint32_t p : pushes) {
      glPushMatrix();
      glMultMatrixd(static_cast<GLPushMatrix*>(GetEntity(p))->Matrix().GetData());
    }
    if (item.stand == GLPickSubset::kNone) {
      e->DrawForSelectIfVisible(mode);
    } else if (item.standModes & (1u << mode)) {
      GLFilledPolygons filled;
      GLSendPoints(GL_TRIANGLES, &subset.stand[item.stand], 3, e->GetScene());
    }
    for (size_t p = 0; p < pushes.size(); ++p) glPopMatrix();
  }
  matLib_.ResetState();
}

int32_t GLScene::PickAmong(int x, int y, double size, const GLPickSubset& subset) {
  return Select(x, y, size, [&] {
    uint32_t loaded = GLPickSubset::kNone;
    RunModePasses([&](uint32_t mode, bool second) { DrawSubset(mode, subset, second, &loaded); });
  });
}

template <class F>
void GLScene::ForGroup(uint32_t id, F&& f) {
  uint32_t index = 0;
  if (!FindName(id, &index)) return;
  for (uint32_t i = index + 1; i < entities_.GetCount(); ++i) {
    GLEntity* e = GetEntity(i);
    if (GLDynamicCast<GLName>(e)) break;
    if (e) f(e);
  }
}

void GLScene::HighlightGroup(int32_t id, bool clearAll, bool on) {
  if (id == -1) return;
  if (clearAll)
    for (uint32_t i = 0; i < entities_.GetCount(); ++i)
      if (GLEntity* e = GetEntity(i)) e->SetHighlighted(false);
  uint32_t index = 0;
  if (!FindName(static_cast<uint32_t>(id), &index)) return;
  highlightedGroup_ = id;
  ForGroup(static_cast<uint32_t>(id), [on](GLEntity* e) { e->SetHighlighted(on); });
}

void GLScene::SetGroupMaterial(uint32_t id, uint32_t material) {
  if (id == kNoName) return;
  ForGroup(id, [material](GLEntity* e) { e->SetMaterial(material); });
  InvalidateLooks();
}

void GLScene::GetGroupMaterial(uint32_t id, uint32_t* material) {
  uint32_t index = 0;
  if (!material || !FindName(id, &index)) return;
  GLEntity* next = GetEntity(index + 1);
  if (next) *material = next->GetMaterial();
}

GLName* GLScene::FindName(uint32_t id, uint32_t* index) {
  if (id == kNoName) return nullptr;
  for (uint32_t i = 0; i < entities_.GetCount(); ++i) {
    GLName* name = GLDynamicCast<GLName>(GetEntity(i));
    if (name && name->GetId() == id) {
      if (index) *index = i;
      return name;
    }
  }
  return nullptr;
}
