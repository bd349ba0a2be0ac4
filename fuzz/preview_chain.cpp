// Drawing entities as the previews take them: the input is the group-code
// text of one or more entities (each from its 0 pair), turned into one
// chain by the host.
// - The export dialog's preview converts it with and without texts and
//   user coordinates, then paints and picks it, fitted and zoomed far in.
//   The whole chain is read; every entity made stands in the scene behind
//   its own name marker, is a line, circle, arc or text, and no more are
//   made than the chain has nodes.
// - The wizard's product preview shows it in each of its five kinds, then
//   paints, picks and selects. Only the product's kinds of entity are made;
//   connection points (numbered 1, 2 ... and pointing between 0 and 2 pi)
//   come only in kinds 1, 3 and 4, with their markers and arrows in the
//   scene; kind 0 shows nothing of them.
// - Every HATCH's boundaries are read on their own and leave the cursor
//   on the entity after it.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "dataformat/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/preview/CMyViewJovGL.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLArrow.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLContour.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLPolygon.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLText.h"
#include "objectgl/preview/GLPreviewChainReader.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/core/EntityChain.h"
#include "platform/win32/driver/preview_reader.h"
#include "platform/win32/registry.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"
#include "wizard/dialogs/CViewJovGL.h"
#include "wizard/frame/controls/CSelPoint.h"

namespace {

constexpr uint32_t kName = 7;

CMyViewJovGL* g_view = nullptr;
CViewJovGL* g_product = nullptr;

// The scene library finds its resource file in the machine's shared folder.
void ShareResourceFile() {
  const char* modules = std::getenv("JOV_MODULE_DIR");
  const std::string from = std::string(modules ? modules : JOV_FUZZ_MODULE_DIR) + "/GLOBJECT.GLR";
  const std::string common = fuzz::ScratchFolder() + "/common";
  std::filesystem::create_directories(common + "/Quenlor Shared");
  std::filesystem::copy_file(from, common + "/Quenlor Shared/GLOBJECT.GLR",
                             std::filesystem::copy_options::overwrite_existing);
  SetRegistryFolder(fuzz::ScratchFolder() + "/registry");
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", &key);
  RegSetValueExA(key, "CommonFilesDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(common.c_str()),
                 static_cast<DWORD>(common.size() + 1));
  RegCloseKey(key);
}

struct Chain {
  resbuf* head = nullptr;
  ~Chain() { FreeGroupCodeChain(head); }
};

size_t Nodes(const resbuf* chain) {
  size_t n = 0;
  for (; chain; chain = chain->next) ++n;
  return n;
}

bool Made(GLEntity* e) {
  return GLDynamicCast<GLLine>(e) || GLDynamicCast<GLCircle>(e) || GLDynamicCast<GLArc>(e) ||
         GLDynamicCast<GLText>(e);
}

bool MadeForAProduct(GLEntity* e) {
  return Made(e) || GLDynamicCast<GLEllipse>(e) || GLDynamicCast<GLPolygon>(e) || GLDynamicCast<GLName>(e) ||
         GLDynamicCast<GLSelectPoint>(e) || GLDynamicCast<GLArrow>(e);
}

HWND PreviewButton() {
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr, nullptr,
                                nullptr);
  return CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 200, 150, parent, nullptr,
                         nullptr, nullptr);
}

void ShowProduct(resbuf* chain, size_t nodes) {
  GLScene* scene = g_product->GetScene();
  for (uint32_t kind = 0; kind <= 4; ++kind) {
    g_product->SetKind(kind);
    g_product->ShowPreview(chain, false);
    const bool connects = kind == 1 || kind == 3 || kind == 4;
    const CSeznam& points = g_product->Points();
    FUZZ_CHECK(connects || points.GetCount() == 0, "connection points in kind " + std::to_string(kind));
    FUZZ_CHECK(points.GetCount() <= nodes, "more connection points than nodes");
    uint32_t id = 0;
    for (auto* p = static_cast<const CSelPoint*>(points.GetHead()); p; p = static_cast<const CSelPoint*>(p->GetNext())) {
      FUZZ_CHECK(p->id == ++id, "connection points are not numbered in order");
      FUZZ_CHECK(p->angle >= 0.0 && p->angle <= 2 * 3.14159265358979324, "an angle outside 0 to 2 pi");
      FUZZ_CHECK(p->marker && p->marker->GetScene() == scene, "a connection point's marker is not shown");
      FUZZ_CHECK((kind == 1) == !p->arrow && (!p->arrow || p->arrow->GetScene() == scene),
                 "a connection point's arrow is wrong for kind " + std::to_string(kind));
    }
    for (uint32_t i = 0; i < scene->GetEntityCount(); ++i) {
      GLEntity* e = scene->GetEntity(i);
      FUZZ_CHECK(MadeForAProduct(e), "kind " + std::to_string(kind) + " made an entity of another kind");
      FUZZ_CHECK(connects || !(GLDynamicCast<GLSelectPoint>(e) || GLDynamicCast<GLArrow>(e)),
                 "kind " + std::to_string(kind) + " shows a connection");
    }
    scene->Render();
    scene->Pick(100, 75);
    g_product->SelectPoint(points.GetCount());
    g_product->MarkSelectedPoint(1);
    FUZZ_CHECK(!DescribePreview(g_product->m_hWnd).empty(), "the product preview tells nothing of its content");
  }
}

// Each HATCH read on its own stops at the entity after it.
void ReadHatches(resbuf* chain) {
  for (resbuf* node = chain; node; node = node->next) {
    if (node->code != 0 || !node->value.text || std::string(node->value.text) != "HATCH") continue;
    resbuf* end = node->next;
    while (end && end->code != 0) end = end->next;
    resbuf* cursor = node->next;
    GLArray<GLContour*> contours;
    char layer[256];
    int32_t colour = 0;
    ReadHatchBoundaries(&cursor, contours, layer, &colour);
    FUZZ_CHECK(cursor == end, "a hatch's reading did not stop at the next entity");
    FUZZ_CHECK(colour >= 1 && colour <= 255, "a hatch's colour " + std::to_string(colour));
    for (GLContour* c : contours) delete c;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ShareResourceFile();
  g_view = new CMyViewJovGL;
  g_view->SubclassWindow(PreviewButton());
  FUZZ_CHECK(g_view->IsReady(), "the preview has no scene");
  g_product = new CViewJovGL(4, 1, 0, 0);
  g_product->SubclassWindow(PreviewButton());
  FUZZ_CHECK(g_product->IsReady(), "the product preview has no scene");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host::PairList pairs;
  if (!host::ParsePairs(fuzz::Text(data, size), pairs, nullptr)) return 0;
  Chain chain;
  resbuf** tail = &chain.head;
  uint64_t id = 1;
  for (size_t i = 0; i < pairs.size();) {
    host::DxfEntity entity;
    entity.id = id++;
    entity.pairs.push_back(pairs[i].code == 0 ? pairs[i++] : host::DxfPair{0, "LINE"});
    while (i < pairs.size() && pairs[i].code != 0) entity.pairs.push_back(pairs[i++]);
    *tail = host::EntityToChain(entity);
    while (*tail) tail = &(*tail)->next;
  }
  const size_t nodes = Nodes(chain.head);

  GLScene* scene = g_view->GetScene();
  for (bool inUcs : {false, true}) {
    g_view->ClearScene(false);
    CPtrArray created;
    resbuf* cursor = chain.head;
    g_view->AddEntityChain(&cursor, nullptr, nullptr, kName, &created, 7, inUcs);
    FUZZ_CHECK(cursor == nullptr, "the walk stopped before the chain's end");
    const auto count = static_cast<uint32_t>(created.GetSize());
    FUZZ_CHECK(count <= nodes, std::to_string(count) + " entities from " + std::to_string(nodes) + " nodes");
    FUZZ_CHECK(scene->GetEntityCount() == 2 * count, "entities and name markers do not pair up");
    for (uint32_t i = 0; i < count; ++i) {
      auto* name = GLDynamicCast<GLName>(scene->GetEntity(2 * i));
      FUZZ_CHECK(name && name->GetId() == kName, "entity " + std::to_string(i) + " has no name marker of its own");
      FUZZ_CHECK(scene->GetEntity(2 * i + 1) == created.GetAt(static_cast<int>(i)) &&
                     Made(scene->GetEntity(2 * i + 1)),
                 "entity " + std::to_string(i) + " is not what was made");
    }
    const double margin = 1.25;
    g_view->ZoomExtents(false, &margin);
    scene->Render();
    uint32_t picked = 0;
    g_view->PickNear({100, 75}, &picked);
    // Zoomed in by sixty notches of the wheel, the cursor hovering: most of
    // the drawing now lies far outside the window.
    for (int notch = 0; notch < 60; ++notch) g_view->Zoom(-25.0);
    scene->Render();
    g_view->PickNear({100, 75}, &picked);
    FUZZ_CHECK(!DescribePreview(g_view->m_hWnd).empty(), "the preview tells nothing of its content");
  }
  ShowProduct(chain.head, nodes);
  ReadHatches(chain.head);
  return 0;
}
