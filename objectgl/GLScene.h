// The container and renderer of the scene library: entities in drawing
// order, lights, cameras, viewports, text styles and a material library.
// Renders through the current camera into the current viewport in one of
// four render modes, picks the named group under a window point, keeps the
// union of its entities' extents and a model matrix that shifts the whole
// drawing without touching its entities.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/GLMatrix.h"
#include "common/GLVector.h"
#include "objectgl/GLEntityArena.h"
#include "objectgl/GLExtents.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLObject.h"
#include "objectgl/GLObjectArray.h"

class GLCamera;
class GLEntity;
class GLLight;
class GLName;
class GLTextStyle;
class GLViewport;

// Part of a scene's entities for a selection pass, in list order: each with
// the GLName it falls under (its index; kNone before the first) and the
// GLPushMatrix entities in force (contexts[context], outermost first;
// context 0 has none).
struct GLPickSubset {
  static constexpr uint32_t kNone = 0xFFFFFFFF;
  struct Item {
    uint32_t entity = 0;
    uint32_t name = kNone;
    uint32_t context = 0;
    // kNone: the entity selects itself. Otherwise its hit was decided
    // already: the triangle at stand[stand] (entity coordinates) goes to
    // selection in its place, in the entity draw modes of standModes.
    uint32_t stand = kNone;
    uint32_t standModes = 0;
  };
  std::vector<Item> items;
  std::vector<GLVector> stand;
  std::vector<std::vector<uint32_t>> contexts{{}};
  // The list's last GLName: the name a second pass starts under.
  uint32_t lastName = kNone;
};

// The clock of drawing deadlines: monotonic milliseconds (wrapping at 32
// bits). Tests put their own in; null restores the system's.
using GLDeadlineClock = uint32_t (*)();
uint32_t GLDeadlineNow();
void GLSetDeadlineClock(GLDeadlineClock clock);

class GLScene : public GLObject {
  GL_DECLARE_CLASS()

 public:
  static constexpr uint32_t kNoDeadline = 0xFFFFFFFF;

  GLScene() = default;
  GLScene(const GLScene&) = delete;
  GLScene& operator=(const GLScene&) = delete;
  // Deletes its content with its own viewport's context current; the
  // viewports go last.
  ~GLScene() override;

  virtual GLExtents GetExtents() const { return extents_; }
  // Recomputes the extents with the matrix entities' transforms.
  virtual void ComputeExtents();

  // Content: the scene becomes the owner.
  bool AddEntity(GLEntity* entity);
  // A new entity in the scene's own room, for entities made by the ten
  // thousand: it is to be added to this scene and goes with its entities,
  // never by delete (nor does RemoveAllEntities hand it over).
  template <class T, class... Args>
  T* MakeEntity(Args&&... args) {
    return arena_.Make<T>(std::forward<Args>(args)...);
  }
  bool AddLight(GLLight* light);
  uint32_t AddCamera(GLCamera* camera);
  // 0 for null or when the viewport has no context and cannot get one.
  uint32_t AddViewport(GLViewport* viewport);
  // Returns the style's 0-based index (0 for null).
  uint32_t AddTextStyle(GLTextStyle* style);
  uint32_t AddMaterial(GLMaterial* material);
  void DeleteAllEntities();
  // Forgets the entities without deleting them; those MakeEntity made stay
  // in the scene's room until its entities are deleted.
  void RemoveAllEntities();

  GLEntity* GetEntity(uint32_t index);
  uint32_t GetEntityCount() const { return entities_.GetCount(); }
  // GetEntity for a walk in ascending order: a block of entries is read
  // under one lock, not each entry under its own.
  class EntityWalk {
   public:
    explicit EntityWalk(GLScene& scene) : entities_(scene.entities_) {}
    // As GetEntity(index).
    GLEntity* At(uint32_t index);

   private:
    static constexpr uint32_t kBlock = 256;
    GLObjectArray& entities_;
    GLObject* block_[kBlock];
    uint32_t from_ = 0, count_ = 0;
  };
  GLLight* GetLight(uint32_t index);
  uint32_t GetLightCount() const { return lights_.GetCount(); }
  // Null at the count; GLException 1003 beyond it.
  GLTextStyle* GetTextStyle(uint32_t index);
  uint32_t GetTextStyleCount() const { return textStyles_.GetCount(); }
  uint32_t GetViewportCount() const { return viewports_.GetCount(); }
  uint32_t GetCameraCount() const { return cameras_.GetCount(); }
  // GLException 1003 when the scene has no camera.
  GLCamera* GetCurrentCamera();
  GLViewport* GetCurrentViewport(uint32_t* index = nullptr);
  GLViewport* SetCurrentViewport(uint32_t index);
  GLMatLib& GetMatLib() { return matLib_; }

  void SetRenderMode(uint32_t mode);
  uint32_t GetRenderMode() const { return renderMode_; }
  void SetUseDisplayList(bool on);
  bool GetUseDisplayList() const { return useDisplayList_; }
  bool IsDisplayListValid() const { return displayListValid_; }
  // Whatever is compiled is stale: the next render with display lists
  // compiles again.
  void InvalidateDisplayList();
  // As InvalidateDisplayList, when only how entities look changed
  // (highlight, materials, line widths): where they can be hit stays.
  void InvalidateLooks();
  // Changes whenever the content or how it is drawn may have changed (the
  // occasions that make the display list stale); no two scenes share one.
  uint64_t GetContentVersion() const { return contentVersion_; }
  // As the content version, but kept by changes of looks only.
  uint64_t GetShapeVersion() const { return shapeVersion_; }
  void SetDrawStep(uint32_t step);
  uint32_t GetDrawStep() const { return drawStep_; }
  // A GLDeadlineNow value after which a pass stops, or kNoDeadline.
  void SetDeadline(uint32_t deadline) { deadline_ = deadline; }
  uint32_t GetDeadline() const { return deadline_; }
  void SetLineSmooth(bool on);
  bool IsLineSmooth() const;
  void SetBlending(bool on);
  bool IsBlending() const;

  void EnableFog(bool on) { fogEnabled_ = on; }
  bool IsFogEnabled() const { return fogEnabled_; }
  void SetFogMode(uint32_t mode);
  uint32_t GetFogMode() const { return fogMode_; }
  void SetFogRange(float start, float end);
  void GetFogRange(float* start, float* end) const;
  void SetFogColor(float r, float g, float b, float a);
  void GetFogColor(float* r, float* g, float* b, float* a) const;
  void SetFogDensity(float density);
  float GetFogDensity() const { return fogDensity_; }
  // Fog from the extents as the current camera sees them; nothing for empty
  // extents.
  void AutoFog();

  void Render();
  // Compiles the pass of the render mode into the scene's list (and draws).
  void BuildDisplayList();
  // The id of the named group under the window point (y from the top), -1
  // for none; the point stands for a square of size pixels (5 by default).
  int32_t Pick(int x, int y, double size = 5.0);
  // Pick's answer from a selection over the subset's entities only: the
  // same as Pick's when the subset holds every entity that can be hit
  // there.
  int32_t PickAmong(int x, int y, double size, const GLPickSubset& subset);
  void HighlightGroup(int32_t id, bool clearAll, bool on);
  int32_t GetHighlightedGroup() const { return highlightedGroup_; }
  void SetGroupMaterial(uint32_t id, uint32_t material);
  void GetGroupMaterial(uint32_t id, uint32_t* material);
  GLName* FindName(uint32_t id, uint32_t* index);

  // Makes the current viewport's context current; false when there is a
  // viewport whose context cannot be (its window is gone, say): nothing may
  // then be drawn or freed, or it would reach another scene's context.
  bool MakeContextCurrent();

  // Camera fitting (the current camera; GLException 1003 without one).
  void ZoomExtents(const double* factor);
  void FitClipping();
  // Scene units per pixel; 1.0 without camera or viewport or for a
  // zero-size viewport.
  double GetUnitsPerPixel();
  static void GetViewExtents(const GLMatrix& view, const GLVector& centre, const GLVector& min, const GLVector& max,
                             double* width, double* height, double* depth);
  bool MoveExtentsToOrigin(GLMatrix& out, bool applyToEntities);

  void SetModelMatrix(const GLMatrix& m);
  const GLMatrix& GetModelMatrix() const { return model_; }
  // Changes with the model matrix: what an entity compiled through the
  // matrix is stale when the number differs from the one it compiled with.
  uint64_t GetModelVersion() const { return modelVersion_; }
  // Through the model matrix of `scene`; unchanged with a null scene.
  // Inline: a pass maps every vertex it sends.
  static GLVector MapPoint(const GLVector& p, const GLScene* scene) {
    if (!scene) return p;
    const double* m = scene->model_.GetData();
    GLVector out;
    for (int i = 0; i < 3; ++i) out[i] = p.x * m[i] + p.y * m[4 + i] + p.z * m[8 + i] + m[12 + i];
    return out;
  }
  static GLVector MapDirection(const GLVector& d, const GLScene* scene);
  static std::array<float, 4> MapHomogeneous(const float p[4], const GLScene* scene);
  static GLMatrix MapMatrix(const GLMatrix& m, const GLScene* scene);
  static GLMatrix MapMatrixInverse(const GLMatrix& m, const GLScene* scene);

 private:
  enum class Pass { kDraw, kSelect };
  void ApplyFog();
  void ApplyLights(bool cameraRelative);
  // Runs the passes of the render mode; `timed` honours the draw step and
  // the deadline.
  void RunPasses(Pass pass, bool timed);
  // The passes of the render mode, each drawn by draw(entity draw mode,
  // whether it is the mode's second pass).
  template <class Draw>
  void RunModePasses(Draw&& draw);
  void DrawEntities(uint32_t mode, Pass pass, bool timed);
  template <class F>
  void ForGroup(uint32_t id, F&& f);
  static uint64_t NewContentVersion();
  // The model matrix's translation set so that `centre` maps to the
  // origin; its other elements stay.
  void CentreModelMatrixOn(const GLVector& centre);
  // Selection at the point with `pass` drawing; Pick's answer from its hits.
  template <class SelectDraw>
  int32_t Select(int x, int y, double size, SelectDraw&& pass);
  void DrawSubset(uint32_t mode, const GLPickSubset& subset, bool secondPass, uint32_t* loaded);
  // Ends every entity (those of the arena in place) and forgets them.
  void DeleteEntities();

  GLEntityArena arena_;
  GLObjectArray entities_;
  GLObjectArray lights_;
  GLObjectArray cameras_;
  GLObjectArray viewports_;
  GLObjectArray textStyles_;
  GLMatLib matLib_;
  uint32_t currentCamera_ = 0;
  uint32_t currentViewport_ = 0;
  uint32_t renderMode_ = 0;
  bool useDisplayList_ = false;
  bool displayListValid_ = false;
  uint32_t displayList_ = 0;
  uint32_t drawStep_ = 1;
  GLExtents extents_;
  bool fogEnabled_ = false;
  uint32_t fogMode_ = 0;
  float fogStart_ = 0.0f;
  float fogEnd_ = 1.0f;
  float fogColor_[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  float fogDensity_ = 1.0f;
  uint32_t deadline_ = kNoDeadline;
  int32_t highlightedGroup_ = -1;
  GLMatrix model_;
  uint64_t modelVersion_ = NewContentVersion();
  uint64_t contentVersion_ = NewContentVersion();
  uint64_t shapeVersion_ = contentVersion_;
};
