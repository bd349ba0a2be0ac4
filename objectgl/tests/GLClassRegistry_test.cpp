#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GLTestSupport.h"
#include "objectgl/GLClassHierarchy.h"
#include "objectgl/GLException.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLShell.h"

namespace {

std::vector<std::string> Children(const GLClass* parent) {
  std::vector<std::string> names;
  for (GLClass* c = parent->GetFirstChild(); c; c = c->GetNextSibling()) names.push_back(c->GetName());
  return names;
}

TEST(GLClassRegistry, TheLibraryTreeIsLinkedByBaseNameInRegistrationOrder) {
  GLClass* root = GLClassHierarchy::Library().GetRoot();
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->GetName(), "GLObject");
  EXPECT_EQ(root->GetBaseName(), nullptr);
  EXPECT_EQ(Children(root), (std::vector<std::string>{"GLClass", "GLScene", "GLLight", "GLCamera", "GLEntity",
                                                      "GLViewport", "GLMatLib", "GLMaterial", "GLTexture",
                                                      "GLTextStyle"}));
  EXPECT_EQ(Children(GLEntity::classRecord),
            (std::vector<std::string>{"GLLine", "GLFace", "GLFace4", "GLCircle", "GLShell", "GLMesh", "GLTeaPot",
                                      "GLName", "GLSelectPoint", "GLArrow", "GLArc", "GLEllipse", "GLPolygon",
                                      "GLText", "GLPushMatrix", "GLPopMatrix"}));
  EXPECT_EQ(Children(GLShell::classRecord), (std::vector<std::string>{"GLPolygonArray"}));
  EXPECT_EQ(Children(GLLight::classRecord), (std::vector<std::string>{"GLOmniLight"}));
  EXPECT_EQ(GLDirectionLight::classRecord->GetParent(), GLOmniLight::classRecord);

  // Every class in its place of the order, with its factory.
  const std::vector<std::string> order = {
      "GLObject",      "GLClass",     "GLScene",     "GLLight",        "GLCamera",       "GLEntity",
      "GLLine",        "GLFace",      "GLFace4",     "GLCircle",       "GLViewport",     "GLViewportWin",
      "GLMatLib",      "GLMaterial",  "GLTexture",   "GLOmniLight",    "GLDirectionLight", "GLShell",
      "GLPolygonArray", "GLMesh",     "GLTeaPot",    "GLName",         "GLSelectPoint",  "GLArrow",
      "GLArc",         "GLEllipse",   "GLPolygon",   "GLTextStyle",    "GLText",         "GLPushMatrix",
      "GLPopMatrix"};
  GLClassHierarchy& library = GLClassHierarchy::Library();
  ASSERT_EQ(library.GetCount(), order.size());
  for (uint32_t i = 0; i < library.GetCount(); ++i) {
    GLClass* c = library.GetAt(i);
    EXPECT_EQ(c->GetName(), order[i]);
    EXPECT_STREQ(c->GetLibraryName(), "ObjectGL");
    const bool abstract = order[i] == "GLLight" || order[i] == "GLEntity" || order[i] == "GLViewport";
    EXPECT_EQ(c->IsAbstract(), abstract) << order[i];
    if (abstract) continue;
    // What a factory makes answers with its own record.
    std::unique_ptr<GLObject> made(c->CreateObject());
    ASSERT_NE(made, nullptr) << order[i];
    EXPECT_EQ(made->GetClass(), c) << order[i];
  }
}

TEST(GLClassRegistry, DerivationIsDecidedByNameAlongTheParents) {
  struct Case {
    GLClass* of;
    GLClass* against;
    bool derived;
  };
  const Case cases[] = {
      {GLDirectionLight::classRecord, GLLight::classRecord, true},
      {GLDirectionLight::classRecord, GLObject::classRecord, true},
      {GLLight::classRecord, GLOmniLight::classRecord, false},
      {GLName::classRecord, GLName::classRecord, true},
      {GLViewportWin::classRecord, GLViewport::classRecord, true},
      {GLPushMatrix::classRecord, GLPopMatrix::classRecord, false},
      {GLScene::classRecord, nullptr, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.of->IsDerivedFrom(c.against), c.derived)
        << c.of->GetName() << " / " << (c.against ? c.against->GetName() : "null");

  // Another record of the same name counts as the same class.
  GLClass twin("GLLight", "GLObject", "Other", nullptr);
  EXPECT_TRUE(GLDirectionLight::classRecord->IsDerivedFrom(&twin));
}

TEST(GLClassRegistry, CastsAndFactoriesFollowTheRecords) {
  GLName name(5);
  GLPushMatrix push;
  EXPECT_EQ(GLDynamicCast<GLEntity>(&name), &name);
  EXPECT_EQ(GLDynamicCast<GLName>(static_cast<GLObject*>(&push)), nullptr);
  EXPECT_EQ(GLDynamicCast<GLPushMatrix>(static_cast<GLObject*>(&push)), &push);
  EXPECT_EQ(GLDynamicCast<GLName>(static_cast<GLObject*>(nullptr)), nullptr);
  gltest::TestLine line(GLVector(), GLVector(1, 0, 0));
  EXPECT_EQ(GLDynamicCast<GLName>(&line), nullptr);

  for (GLClass* abstract : {GLEntity::classRecord, GLLight::classRecord, GLViewport::classRecord}) {
    EXPECT_TRUE(abstract->IsAbstract());
    EXPECT_EQ(abstract->CreateObject(), nullptr) << abstract->GetName();
  }
  std::unique_ptr<GLObject> made(GLName::classRecord->CreateObject());
  ASSERT_NE(GLDynamicCast<GLName>(made.get()), nullptr);
  EXPECT_EQ(static_cast<GLName*>(made.get())->GetId(), 0xFFFFFFFFu);
  std::unique_ptr<GLObject> record(GLClass::classRecord->CreateObject());
  auto* empty = GLDynamicCast<GLClass>(record.get());
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetName(), nullptr);
  EXPECT_EQ(empty->GetParent(), nullptr);
  std::unique_ptr<GLObject> light(GLDirectionLight::classRecord->CreateObject());
  EXPECT_EQ(light->GetClass(), GLDirectionLight::classRecord);
}

TEST(GLClassRegistry, ARegistryOfItsOwnLinksOnlyWhatItHolds) {
  GLClassHierarchy registry;
  registry.Register("GLObject", nullptr, "ObjectGL", nullptr);
  registry.BuildTree();
  EXPECT_EQ(registry.GetRoot(), nullptr) << "a single record has no tree";

  registry.Register("B", "GLObject", "ObjectGL", nullptr);
  registry.Register("C", "B", "ObjectGL", nullptr);
  registry.Register("Loop", "Loop", "ObjectGL", nullptr);  // never reached from the root
  registry.Register("GLObject", "GLObject", "ObjectGL", nullptr);  // names its own base
  EXPECT_FALSE(registry.GetAt(2)->IsDerivedFrom(registry.GetAt(1))) << "before the tree only the name matches";
  registry.BuildTree();
  EXPECT_EQ(registry.GetRoot(), registry.GetAt(0));
  EXPECT_EQ(Children(registry.GetAt(0)), (std::vector<std::string>{"B", "GLObject"}));
  EXPECT_TRUE(registry.GetAt(2)->IsDerivedFrom(registry.GetAt(1)));
  EXPECT_EQ(registry.GetAt(3)->GetParent(), nullptr);
}

TEST(GLClassRegistry, AnInvalidRegistrationIsShownAndGivesNull) {
  gltest::ScopedRegistry noSharedFolder;
  ClearUiJournal();
  EXPECT_THROW(GLClass(nullptr, "GLObject", "ObjectGL", nullptr), GLException);
  EXPECT_EQ(GLRegisterClass("Orphan", nullptr, "ObjectGL", nullptr), nullptr);
  const auto boxes = gltest::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].type, 48u);
  EXPECT_EQ(boxes[0].text, "*** I cannot find resource file \"GLOBJECT.GLR\". ***\n\n0");
  EXPECT_EQ(GLClassHierarchy::Library().GetCount(), 31u);
}

}  // namespace
