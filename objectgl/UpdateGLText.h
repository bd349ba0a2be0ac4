// Relabels a text of a preview scene: the number labels of the export
// preview change as their records are numbered.
#pragma once

class GLText;

// Sets the text and compiles its display list again in the context of its
// own scene (whose viewport is made current first), without drawing it;
// the old list goes.
void UpdateGLText(GLText* label, const char* text);
