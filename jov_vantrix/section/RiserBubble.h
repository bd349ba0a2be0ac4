// Whether a riser or branch label gets its bubble (with the stem that
// leads to it): shared by both section generators.
#pragma once

// Switched on and of a size that shows: a stem pointing at nothing, or a
// circle of no size, is never drawn.
inline bool DrawsBubble(int bubbleSwitch, double diameter) { return bubbleSwitch == 1 && diameter > 0.0; }
