// The interactive start of the section command: the user picks a riser or
// a branch start and selects the network around it; a branch is read into
// the branch dialog's records, and the section's insertion point comes
// from a picked pipe of the branch or from a point prompt, with the
// rotation of the user coordinate system.
#pragma once

#include "platform/win32/win32_types.h"

class CJov_CutDlg;
class CJov_CutDlgNew;

// Results of PickRiserAndPipes.
constexpr int kPickNothing = 0;   // nothing to draw; a change opened is closed
constexpr int kPickFailed = -1;   // a message was shown
constexpr int kPickRiser = 1;     // the riser dialog follows
constexpr int kPickBranch = 2;    // the branch dialog follows

// Results of AddPipeToScheme.
constexpr int kPipeAccepted = 1;
constexpr int kPipeStop = 0;
constexpr int kPipePickAgain = -1;

// The whole step; owner is the parent of its messages. The host's change
// is opened (and the current dialog knows it) before either dialog runs.
int PickRiserAndPipes(CJov_CutDlg& older, CJov_CutDlgNew& current, HWND owner);

// The first entity of the host's selection as the picked pipe of the
// branch: the dialog takes its distance, side and end points and the
// section's insertion point and scheme stamp from it.
int AddPipeToScheme(CJov_CutDlgNew& dialog, const double pickPoint[3]);

// What follows a pipe prompt that did not give a pipe, by the prompt's
// result and the host's input state afterwards.
// A section needs a point to stand at: without a pipe, the point prompt
// follows unless the user cancelled.
enum class AfterPipePrompt {
  AskPoint,  // the point prompt gives the insertion point
  Close,     // the step ends with nothing and closes the change unchanged
};
AfterPipePrompt NextAfterPipePrompt(int promptResult, int inputState);
