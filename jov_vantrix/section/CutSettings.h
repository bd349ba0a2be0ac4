// The section dialogs' settings files in the profile's data folder:
// "Jov.ini" keeps the values last confirmed with OK and the fixed drawing
// distances, "Jov_set.dat" the preset lists of the combo boxes and the layer
// placeholder, "Jov_lin.dat" the two pipe types. Read and written per key;
// missing files, sections and keys give the defaults. Plain functions, so
// that the dialogs only move values between them and their controls.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/mfc/CString.h"
#include "platform/win32/win32_types.h"

class JovCutParams;
class JovCutParamsOld;

constexpr char kCutSettingsFile[] = "Jov.ini";
constexpr char kCutPresetFile[] = "Jov_set.dat";
constexpr char kPipeTypeFile[] = "Jov_lin.dat";
// The floor descriptions typed earlier, kept by the combo box.
constexpr char kCutHistorySection[] = "CUT_DLG_HIST";
constexpr char kCutHistoryPrefix[] = "HIST";
constexpr uint32_t kCutHistorySaved = 50;

enum class CutDialog {
  Branch,  // the current dialog of a branch section
  Riser,   // the older dialog of a riser section
};

// What a section dialog's controls show, as "Jov.ini" keeps it. Texts are
// the combo boxes' (numbers in metres as typed), the rest check states.
struct CutDialogValues {
  CString cutNumber;          // riser: the next section's number
  CString height;             // riser
  CString riserDistance;
  CString elementDistance;
  CString floorHeight;
  CString pipeDistance;
  CString floorDescription;
  CString pipeFloorDistance;
  CString sameLength;         // "SAME_LENGTH", for a riser "SAME_ITEM_LENGTH"
  CString sameHeight;         // branch
  int sameLengthOn = 0;
  int sameHeightOn = 0;       // branch
  int describeElements = 1;
  int describeRisers = 1;
  int describeLastRiser = 0;  // branch
  int drawFloor = 0;
  int drawPipe = 1;           // riser
  int lastFloor = 0;          // riser
  int pipeSwitch = 1;         // radio IDC_CUT_PIPE_SWITCH_ON checked
};

enum class CutValueKind {
  Number,     // combo text; saved with a '0' before a leading '.'
  Text,       // combo text, saved as typed
  CutNumber,  // read as an integer and shown one higher; saved as typed
              // by SaveCutNumber
  Check,      // check state, saved as "%d"
  Switch,     // saved as "1" or "0"
};

// One key of section "CUT_DLG" with the control that shows it.
struct CutSettingKey {
  const char* key;
  UINT control;  // the pipe switch: IDC_CUT_PIPE_SWITCH_ON, its opposite the other radio
  CutValueKind kind;
  int fallback;  // an integer's value when the key is missing
  CString CutDialogValues::*text;
  int CutDialogValues::*state;
  bool read;  // "DESC_HEIGHT" is only written
};

// The keys of a dialog, in the order its OK handler writes them.
std::span<const CutSettingKey> CutSettingKeys(CutDialog dialog);

// The values a dialog opens with. With "DESC_RISER" on, "DESC_LASTRISER"
// reads as off: the two exclude each other.
CutDialogValues ReadCutValues(const char* settingsFile, CutDialog dialog);
// Writes the dialog's keys but the riser section's number. A number
// beginning with '.' gets its '0', in values as in the file. A riser
// section without a number writes nothing and gives false.
bool SaveCutValues(const char* settingsFile, CutDialog dialog, CutDialogValues& values);
// The riser section's number, as typed, once its section is in the drawing:
// a section not drawn leaves its number to the next one.
void SaveCutNumber(const char* settingsFile, const char* number);

// A typed number as it is saved: a '0' before a leading '.'.
CString WithLeadingZero(const CString& number);

// "DESC" and the fixed distances and description masks of "CUT_DLG".
void ReadDrawingSettings(const char* settingsFile, JovCutParams& block);
void ReadDrawingSettings(const char* settingsFile, JovCutParamsOld& block);
// Only the three description masks.
void ReadDescriptionMasks(const char* settingsFile, JovCutParams& block);

// One value of "MODULE_T": type code, second text, third text (the layer).
struct PipeType {
  CString typeCode;
  CString text2;
  CString text3;
};
// The fields up to the first ';', up to the second, and the rest. The type
// code gets 'i' (in the network) as its eighth character when it has one.
PipeType ParsePipeType(const char* value);
// The supply and the return pipe type of "MODULE_T". A riser section always
// takes the keys "0" and "1".
void ReadPipeTypes(const char* pipeTypeFile, const char* supplyKey, const char* returnKey, JovCutParams& block);
void ReadPipeTypes(const char* pipeTypeFile, JovCutParamsOld& block);

// A combo box's preset list in "Jov_set.dat".
struct CutPresetList {
  const char* section;
  UINT control;
};
// In the order the dialog fills them.
std::span<const CutPresetList> CutPresetLists(CutDialog dialog);
// The values of keys "0", "1" ... "99" up to the first that is empty or missing.
std::vector<CString> ReadPresets(const char* presetFile, const char* section);
// "DESC_LAYERS" key "0": a layer setting equal to it is drawn on the current layer.
CString ReadLayerPlaceholder(const char* presetFile);
