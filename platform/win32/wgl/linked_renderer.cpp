// Where the renderer is linked directly it is loaded with the program.
#include "platform/win32/wgl/wgl.h"

bool OpenGLRendererLoaded() { return true; }

void PrepareOpenGLRenderer() {}
