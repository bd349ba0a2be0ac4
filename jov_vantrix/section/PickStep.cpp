#include "jov_vantrix/section/PickStep.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/CLocaleNumber.h"
#include "common/HostExport2D.h"
#include "common/HostModule.h"
#include "common/ValueRules.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/section/CJov_CutDlg.h"
#include "jov_vantrix/section/CJov_CutDlgNew.h"
#include "jov_vantrix/section/CutDialogControls.h"
#include "jov_vantrix/section/CutObjectsReader.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "objectgl/GLGeometry.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/ui_services.h"

namespace {

// Type flags.
constexpr uint32_t kNetworkInsert = 0x81;
constexpr uint32_t kPipe = 0x80;

const HostExport2D* Host() { return TheApp().m_pHostTable; }

// The first entity of the host's selection as a record of its own, its
// extended data parsed.
std::unique_ptr<CObjDataNew> FirstSelected() {
  const resbuf* entity = HostSelectionNext(Host(), true);
  if (!entity) return nullptr;
  std::unique_ptr<CObjDataNew> record(NewReadRecord(entity, 0));
  record->m_jovData.ReadXData(record->m_entityChain.GetChain());
  return record;
}

// An entity of the type whose "JOV_DATA" parsed and has all the flags.
bool IsNetworkEntity(const CObjDataNew& record, const char* type, uint32_t flags) {
  const char* name = GetEntityString(record.m_entityChain.GetChain(), 0);
  return name && _mbsicmp(name, type) == 0 && record.m_jovData.GetAppChain(CJovData::kAppJovData) &&
         record.m_jovData.m_typeFlags.HasAll(flags);
}

CString Value(const CObjDataNew* record, const char* key) {
  const char* value = record ? record->m_jovData.GetProperty(key) : nullptr;
  return value ? value : "";
}

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The point the user gave and the rotation of the user coordinate system
// (the angle of its X axis in world coordinates) go into the riser block,
// from where a branch section without a picked pipe takes them too.
void StoreInsertionPoint(JovCutParamsOld& block, const double point[3]) {
  double axis[3] = {1.0, 0.0, 0.0};
  HostUcsToWcs(Host(), axis, true);
  const double origin[3] = {0.0, 0.0, 0.0};
  block.m_angle = AngleOfPoints(origin, axis);
  block.m_basePoint = GLVector(point);
}

// The point prompt; the host's answer.
int AskPoint(CJov_CutDlg& older, CJov_CutDlgNew& current, double point[3]) {
  const int result = HostGetPoint(Host(), 0, CutResourceText(IDS_PROMPT_SECTION_POINT), point);
  if (result == HOST_NORMAL) {
    StoreInsertionPoint(older.m_params, point);
    current.m_pipePicked = false;
  }
  return result;
}

// The pipe loop of a branch that starts at a riser: a pipe of the branch
// gives the insertion point, Enter (or a cancel) leads to the point prompt.
int PickPipe(CJov_CutDlg& older, CJov_CutDlgNew& current) {
  const CString prompt = CutResourceText(IDS_PROMPT_PICK_PIPE);
  for (;;) {
    double pick[3] = {0.0, 0.0, 0.0};
    int result = HostSelect(Host(), prompt, 1, 0, pick);
    HostSelect(Host(), prompt, 0, 3, nullptr);
    if (result == HOST_NORMAL) {
      result = AddPipeToScheme(current, pick);
      if (result == kPipeAccepted) return kPickBranch;
      if (result == kPipeStop) {
        current.CloseUnchanged();
        return kPickNothing;
      }
      continue;
    }
    switch (NextAfterPipePrompt(result, HostInputState(Host()))) {
      case AfterPipePrompt::AskPoint: {
        double point[3] = {0.0, 0.0, 0.0};
        if (AskPoint(older, current, point) == HOST_NORMAL) return kPickBranch;
        current.CloseUnchanged();
        return kPickNothing;
      }
      case AfterPipePrompt::Close:
        current.CloseUnchanged();
        return kPickNothing;
    }
  }
}

}  // namespace

AfterPipePrompt NextAfterPipePrompt(int promptResult, int inputState) {
  // Cancel in the prompt (input state 0) is the user's Enter for a point.
  if (promptResult == HOST_CANCEL && inputState != 0) return AfterPipePrompt::Close;
  return AfterPipePrompt::AskPoint;
}

int PickRiserAndPipes(CJov_CutDlg& older, CJov_CutDlgNew& current, HWND owner) {
  if (HostSelect(Host(), CutResourceText(IDS_PROMPT_PICK_SECTION_START), 1, 0, nullptr) != HOST_NORMAL ||
      HostSelect(Host(), CutResourceText(IDS_PROMPT_SELECT_SECTION), 2, 4, nullptr) != HOST_NORMAL)
    return kPickNothing;

  const std::unique_ptr<CObjDataNew> first = FirstSelected();
  if (!first || !IsNetworkEntity(*first, "INSERT", kNetworkInsert)) {
    MessageBoxRes(owner, IDS_NO_SECTION_START, MB_ICONHAND);
    return kPickFailed;
  }
  int result = kPickRiser;
  if (!Value(first.get(), "_NBRANCH").IsEmpty()) {
    result = kPickBranch;
    static constexpr struct {
      int read;
      UINT message;
    } kReadFailures[] = {{kCutReadNoStart, IDS_NO_SECTION_START},
                         {kCutReadPipesUnpaired, IDS_PIPES_NOT_PROCESSED},
                         {kCutReadSecondStart, IDS_SECOND_BRANCH_START}};
    const int read = current.ReadSelection();
    for (const auto& failure : kReadFailures)
      if (read == failure.read) {
        MessageBoxRes(owner, failure.message, MB_ICONHAND);
        return kPickFailed;
      }
  }

  current.BeginChange();
  if (result == kPickBranch && current.m_riserMarker != "0") return PickPipe(older, current);

  double point[3] = {0.0, 0.0, 0.0};
  const int answer = AskPoint(older, current, point);
  if (answer == HOST_NORMAL) return result;
  if (answer == HOST_CANCEL && result == kPickRiser) {
    MessageBoxRes(owner, IDS_PIPES_NOT_PROCESSED, MB_ICONHAND);
    return kPickFailed;
  }
  current.CloseUnchanged();
  return kPickNothing;
}

int AddPipeToScheme(CJov_CutDlgNew& dialog, const double pickPoint[3]) {
  const HWND owner = HostMainWindow(Host());
  const std::unique_ptr<CObjDataNew> pipe = FirstSelected();
  if (!pipe) return kPipeStop;
  const RecordText& code = pipe->m_jovData.m_typeCode;
  if (!IsNetworkEntity(*pipe, "LWPOLYLINE", kPipe) || code.GetLength() < 8 || code[7] != 'i') {
    MessageBoxRes(owner, IDS_NOT_A_BRANCH_PIPE, MB_ICONHAND);
    return kPipePickAgain;
  }

  dialog.m_pipePicked = true;
  const CObjDataNew* start = dialog.m_start;
  const int unit = dialog.m_params.m_units;
  if (start) {
    if (CutSettingFault f = CheckRiserLength(*start, true)) {
      MessageBoxRes(owner, f.message, MB_ICONHAND, f.what);
      return kPipeStop;
    }
  }
  const CString riserLength = Value(start, "_LENGTH_RISER");
  const double lift = riserLength.IsEmpty() ? 0.0 : std::fabs(AtofC(riserLength)) * unit;

  // The end with the greater y is the upper one; on a level pipe the last
  // vertex.
  GLVector upper = pipe->m_end, lower = pipe->m_start;
  if (pipe->m_start.y > pipe->m_end.y) std::swap(upper, lower);

  // A distance the dialog could not take is typed by the user; the column
  // then stays where the pipe is.
  const CString distanceText = Value(pipe.get(), "_DIST_PIPE");
  double distance = 0.0;
  if (ReadPickedPipeDistance(distanceText, unit, dialog.m_pickedPipeDistance)) {
    distance = AtofC(distanceText) / unit;
  } else {
    dialog.m_pickedPipeDistance.Empty();
    MessageBoxRes(owner, IDS_PICKED_DISTANCE_UNUSABLE, MB_ICONEXCLAMATION,
                  EntityKeyText(pipe->m_entityChain.GetChain(), "_DIST_PIPE"));
  }

  const CString side = Value(pipe.get(), "_SIDE_PIPE");
  if (side.IsEmpty()) {
    MessageBoxRes(owner, IDS_PIPE_WITHOUT_SIDE, MB_ICONHAND);
    return kPipeStop;
  }
  // A return pipe lies on the other side of the pair.
  const bool returnPipe = StartsWith(code, "TPZ");
  const bool pipeSide = returnPipe ? side != "1" : side == "1";

  // The insertion column moves by the distance between the pipes as the
  // pipe's side and the start's side say.
  const double shift = distance * unit;
  if (start && (returnPipe || StartsWith(code, "TPP") || StartsWith(code, "TP6"))) {
    const RecordText& startSide = start->m_sideNumber;
    const bool towardsLeft = returnPipe ? !pipeSide : pipeSide;
    double dx = 0.0;
    if (towardsLeft && startSide == "0") dx = -shift;
    if (!towardsLeft && startSide == "1") dx = shift;
    upper.x += dx;
    lower.x += dx;
  }
  dialog.m_pipeSide = pipeSide;
  dialog.m_upperPipePoint = upper;
  dialog.m_lowerPipePoint = lower;

  if (Value(pipe.get(), "_NUM_RISER") != (start ? start->m_riserNumber : CString())) {
    MessageBoxRes(owner, IDS_NOT_A_BRANCH_PIPE, MB_ICONHAND);
    return kPipePickAgain;
  }
  const CString startPosition = start ? start->m_riserPosition.ToCString() : CString();
  const CString pipePosition = Value(pipe.get(), "_POS_RISER");
  if (startPosition == pipePosition && (startPosition == "0" || pipePosition == "2")) {
    MessageBoxRes(owner, IDS_PIPE_AT_START_POSITION, MB_ICONHAND);
    return kPipeStop;
  }

  GLVector& base = dialog.m_params.m_basePoint;
  const GLVector lowered(lower.x, lower.y - lift, lower.z);
  switch (std::atoi(pipePosition)) {
    case 0:
      base = upper;
      break;
    case 1:
      if (startPosition == "0") {
        base = lowered;
      } else if (startPosition == "2") {
        base = upper;
      } else if (startPosition == "1") {
        const GLVector picked(pickPoint);
        base = GLDistance(lower, picked) > GLDistance(upper, picked) ? upper : lowered;
      }
      break;
    case 2:
      base = lowered;
      break;
    default:
      break;
  }
  dialog.m_params.m_schemeStamp = Value(pipe.get(), "_SCH_ASSOC");
  return kPipeAccepted;
}
