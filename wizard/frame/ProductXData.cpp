#include "wizard/frame/ProductXData.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/HostModule.h"
#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/code_page.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/PlacedTextLimit.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ExpressionEvaluator.h"
#include "wizard/frame/engine/ParamStatus.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/TextLines.h"
#include "wizard/frame/engine/ValueEntry.h"

namespace {

constexpr size_t kPropertyLine = 1023;

// Appends 1000 (or 1001) text nodes to result chain 2.
class XDataWriter {
 public:
  explicit XDataWriter(resbuf*& head) : tail_(&head) {
    while (*tail_) tail_ = &(*tail_)->next;
  }
  bool Add(int16_t code, const char* text) {
    resbuf* node = nullptr;
    if (!CreateGroupCodeNode(&node, code, text ? text : "")) return false;
    *tail_ = node;
    tail_ = &node->next;
    return true;
  }
  bool Pair(const char* key, const char* value) { return Add(1000, key) && Add(1000, value); }

 private:
  resbuf** tail_;
};

std::string Text(const qmString& text) { return text.GetString() ? text.GetString() : ""; }

// The points of the view's group, each line followed by "\n"; a name line
// of '#' names becomes their parameters' values joined by '/', up to the
// first name that is no parameter (whose separator is kept).
std::string ViewPoints(const std::string& points, unsigned view, const CObjectSez& params, bool& unknownName) {
  std::string out, line;
  size_t position = 0;
  for (unsigned group = 0; position < points.size() && group <= view; ++group) {
    ReadTextLine(points, position, line);
    const long count = std::atol(line.c_str());
    if (group == view) out += line + "\n";
    // A count may claim more points than the text holds: the text ends first.
    for (long i = 0; i / 4 < count && position < points.size(); ++i) {
      ReadTextLine(points, position, line);
      if (group != view) continue;
      std::vector<std::string> names;
      if (i % 4 == 0 && SplitParamNames(line, names)) {
        std::string joined;
        for (size_t n = 0; n < names.size(); ++n) {
          if (n) joined += '/';
          char value[1024];
          if (!GetParamValueText(params, names[n].c_str(), value, sizeof value)) {
            unknownName = true;
            break;
          }
          joined += value;
        }
        line = joined;
      }
      out += line + "\n";
    }
  }
  return out;
}

int AddEnumNameToArray(const jovDatabase::TNameStruct* record, void* context) {
  static_cast<std::vector<std::string>*>(context)->push_back(record->name ? record->name : "");
  return 1;
}

// Evaluates text + ";" over the definitions; an error other than an
// undefined name keeps the text as it was.
std::string Evaluated(const std::string& definitions, const char* text) {
  std::string defs = definitions, expression = std::string(text) + ";", output;
  double result = 0;
  const int error = EvaluateExpression(defs, expression, output, result, kEvaluationDepth);
  return error == EVAL_OK || error == EVAL_UNDEFINED ? output : std::string(text);
}

bool IsLevelParam(const char* name) {
  return std::strcmp(name, "zA") == 0 || std::strcmp(name, "zB") == 0 || std::strcmp(name, "zC") == 0;
}

const char* ValueOf(const CValueParam& param) {
  const char* value = param.GetText(ParamText::kValue);
  return value && *value ? value : param.GetText(ParamText::kDefault);
}

}  // namespace

bool BuildProductXData(HWND owner, unsigned view, CObjectSez* parameters, unsigned char* propertyFlags,
                       unsigned flagCount, const char* product, const char* slope, const char* branch) {
  CWizardDllApp& app = TheWizardApp();
  jovDatabase::Database* db = CurrentCatalogue();
  if (!db || !IsUsableSlopeText(slope)) return false;
  XDataWriter out(app.ResultChain2());

  qmString id, points;
  unsigned type = 0;
  if (!out.Add(1001, "JOV_DATA") || db->GetIndexID(id) != jovDatabase::eOK || !out.Add(1000, Text(id).c_str()))
    return false;
  if (db->GetIndexType(type) != jovDatabase::eOK || !out.Pair("_TYPE", std::to_string(type).c_str())) return false;

  std::unique_ptr<CObjectSez> own;
  if (!parameters) {
    own = std::make_unique<CObjectSez>();
    if (!LoadProductParameters(*own)) return false;
    parameters = own.get();
  }

  if (db->GetItemsPoints(points) != jovDatabase::eOK) return false;
  if (!Text(points).empty()) {
    bool unknownName = false;
    const std::string value = ViewPoints(Text(points), view, *parameters, unknownName);
    if (unknownName) MessageBoxRes(owner, IDS_POINT_NAME_NOT_A_PARAMETER, MB_ICONWARNING);
    if (!out.Pair("_PTS", value.c_str())) return false;
  }

  std::vector<std::string> properties;
  db->EnumNames("PROP", &AddEnumNameToArray, &properties, true);
  std::string definitions;
  BuildDefinitions(*parameters, definitions, false);

  // Without the caller's flags the build keeps its own, one per property
  // from the fifth on (none when there are fewer than five).
  std::vector<unsigned char> ownFlags;
  if (!propertyFlags) {
    ownFlags.assign(properties.size() > 4 ? properties.size() - 4 : 0, 0);
    propertyFlags = ownFlags.data();
    flagCount = static_cast<unsigned>(ownFlags.size());
  }

  for (CValueParam* p = FirstOf<CValueParam>(*parameters); p; p = NextOf(p)) {
    const char* name = p->GetText(ParamText::kName);
    if (!name || !*name) continue;
    const char* value = p->GetText(ParamText::kValue);
    if (IsLevelParam(name)) {
      if (value) p->SetText(ParamText::kValue, Evaluated(definitions, value).c_str());
    } else {
      const bool computed = p->status & ParamStatus::kAnyComputed;
      if (computed && !(p->status & ParamStatus::kAnyFormula)) continue;
      // A formula value not yet given is its catalogue formula, evaluated
      // like any other.
      const char* formula = ValueOf(*p);
      const bool given = formula && *formula;
      if ((p->status & ParamStatus::kFormula) && given) {
        p->SetText(ParamText::kValue, Evaluated(definitions, formula).c_str());
      } else if ((p->status & ParamStatus::kFormulaDefs) && given) {
        std::string output;
        EvaluateWithDefinitions(definitions, formula, output);
        p->SetText(ParamText::kValue, output.c_str());
      }
    }
    const char* label = p->GetText(ParamText::kLabel);
    if ((p->status & ParamStatus::kFree) && label) {
      for (size_t i = 0; i < properties.size(); ++i)
        if (_mbsicmp(properties[i].c_str(), label) == 0) {
          if (i >= 4 && i - 4 < flagCount) propertyFlags[i - 4] = 1;
          break;
        }
    }
    if (!out.Pair(name, ValueOf(*p))) return false;
  }

  qmString propertyText;
  db->GetItemsProperties(propertyText);
  const std::string lines = Text(propertyText);
  size_t position = 0;
  for (size_t i = 0; i < properties.size(); ++i) {
    std::string line;
    if (position < lines.size()) ReadTextLine(lines, position, line);
    if (line.size() > kPropertyLine) line.resize(kPropertyLine);
    if (i >= 4 && !(i - 4 < flagCount && propertyFlags[i - 4])) continue;
    std::string value = line;
    CValueParam* labelled = nullptr;
    for (CValueParam* p = FirstOf<CValueParam>(*parameters); p; p = NextOf(p)) {
      const char* label = p->GetText(ParamText::kLabel);
      if ((p->status & ParamStatus::kFree) && label && properties[i] == label) {
        labelled = p;
        break;
      }
    }
    if (labelled) {
      const char* v = ValueOf(*labelled);
      value = v ? v : "";
    } else if (i == 3 && app.GetDimText()) {
      value = app.GetDimText();
      app.SetDimText(nullptr);
    }
    if (!out.Pair(properties[i].c_str(), value.c_str())) return false;
  }

  if (product && *product && !out.Pair("_QPROD", product)) return false;
  if (slope && *slope && !out.Pair("_SLOPE", slope)) return false;
  if (branch && *branch && !out.Pair("_BRANCH", branch)) return false;
  if (const char* level = app.GetComputedLevel()) {
    const bool added = out.Pair("_ZLEVEL", level);
    app.SetComputedLevel(nullptr);
    if (!added) return false;
  }
  // A string of a drawing's extended data holds 255 bytes: a longer one
  // would be cut or refused where the product is placed.
  return FirstOverlongPlacedText(app.ResultChain2()) == nullptr;
}
