#include "objectgl/UpdateGLText.h"

#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "objectgl/GLViewport.h"

void UpdateGLText(GLText* label, const char* text) {
  if (!label) return;
  // A list belongs to the context it was compiled in: the label's own
  // scene's, whichever preview was drawn last. The old list is freed there
  // by the new text, and the new one compiled there, not drawn: what it
  // would draw outside a paint nobody sees, and the next paint draws it.
  GLScene* scene = label->GetScene();
  GLViewport* viewport = scene ? scene->GetCurrentViewport() : nullptr;
  const bool own = viewport && (viewport->MakeCurrent(), wglGetCurrentContext() == viewport->GetGLRC());
  label->SetText(text);
  if (own) label->PrepareLists();
}
