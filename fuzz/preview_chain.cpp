// Drawing entities as the export dialog hands them to its preview: the
// input is the group-code text of one or more entities (each from its 0
// pair), turned into one chain by the host, converted by the preview with
// and without texts and user coordinates, then painted and picked. The
// whole chain is read; every entity made stands in the scene behind its own
// name marker, is a line, circle, arc or text, and no more are made than
// the chain has nodes.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "common/GroupCodeChain.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/preview/CMyViewJovGL.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "platform/host/DxfGroupText.h"
#include "platform/host/core/EntityChain.h"
#include "platform/win32/registry.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"

namespace {

constexpr uint32_t kName = 7;

CMyViewJovGL* g_view = nullptr;

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

}  // namespace

// What the off-screen renderer and the font library keep until the process
// ends, as the tests' suppressions have it; a leak of our own still counts.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libOSMesa.so\nleak:libglapi.so\nleak:libLLVM\nleak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ShareResourceFile();
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr, nullptr,
                                nullptr);
  HWND button = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 200, 150, parent,
                                nullptr, nullptr, nullptr);
  g_view = new CMyViewJovGL;
  g_view->SubclassWindow(button);
  FUZZ_CHECK(g_view->IsReady(), "the preview has no scene");
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
    (void)g_view->DescribeContent();
  }
  return 0;
}
