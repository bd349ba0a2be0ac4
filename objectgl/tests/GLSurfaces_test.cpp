// Index arrays, meshes, shells, the teapot and single faces: strips, normals,
// edge flags, written forms, and streams from outside that do not fit.
#include <gtest/gtest.h>

#include <cstring>

#include "GLTestSupport.h"
#include "objectgl/GLException.h"
#include "objectgl/GLFace.h"
#include "objectgl/GLFace4.h"
#include "objectgl/GLMesh.h"
#include "objectgl/GLShell.h"
#include "objectgl/GLTeaPot.h"

namespace {

std::vector<uint32_t> Indices(const GLUIntArray& a) { return {a.GetData(), a.GetData() + a.GetCount()}; }

std::vector<GLVector> Grid(uint32_t rows, uint32_t cols) {
  std::vector<GLVector> v;
  for (uint32_t r = 0; r < rows; ++r)
    for (uint32_t c = 0; c < cols; ++c) v.emplace_back(c * 10.0, r * 10.0, 0);
  return v;
}

TEST(GLUIntArray, GrowsAndRefusesIndicesPastItsEnd) {
  const uint32_t none = 0;
  GLUIntArray a(none, none);  // a grow step of 0 still grows
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(a.Add(i * 2), i + 1);
  EXPECT_EQ(a.GetAt(4), 8u);
  try {
    a.GetAt(5);
    ADD_FAILURE() << "no exception";
  } catch (const GLException& e) {
    EXPECT_EQ(e.GetCode(), 1003u);
  }
  const uint32_t values[] = {7, 8, 9};
  GLUIntArray b(values, 3);
  EXPECT_EQ(b.GetCapacity(), 3u);
  EXPECT_EQ(b.GetGrowStep(), 10u);
  GLUIntArray c(b);
  c.Add(10);
  EXPECT_EQ(Indices(c), (std::vector<uint32_t>{7, 8, 9, 10}));
  EXPECT_EQ(Indices(b), (std::vector<uint32_t>{7, 8, 9}));

  const auto bytes = gltest::Written(c);
  ASSERT_EQ(bytes.size(), 8u + 16u);
  GLUIntArray back;
  GLIstream is(bytes.data(), static_cast<uint32_t>(bytes.size()));
  ASSERT_TRUE(back.Read(is));
  EXPECT_EQ(Indices(back), Indices(c));
  EXPECT_EQ(back.GetCapacity(), 4u);
  gltest::ExpectEveryPrefixFails<GLUIntArray>(bytes, "index list");
}

TEST(GLMesh, StripsRunAlongTheLongerSide) {
  struct Case {
    uint32_t rows, cols;
    uint32_t strips, length;
    std::vector<uint32_t> indices;
  };
  const Case cases[] = {
      {2, 3, 1, 3, {3, 0, 4, 1, 5, 2}},
      {3, 2, 1, 3, {0, 1, 2, 3, 4, 5}},
      {3, 3, 2, 3, {3, 0, 4, 1, 5, 2, 6, 3, 7, 4, 8, 5}},
      {0, 4, 0, 0, {}},
  };
  for (const Case& c : cases) {
    const std::vector<GLVector> grid = Grid(c.rows, c.cols);
    GLMesh mesh(c.rows, c.cols, grid.data(), grid.data(), nullptr, 0);
    EXPECT_EQ(mesh.GetStripCount(), c.strips) << c.rows << "x" << c.cols;
    EXPECT_EQ(mesh.GetStripLength(), c.length);
    EXPECT_EQ(Indices(*mesh.GetIndices()), c.indices);
  }
}

TEST(GLMesh, QuadStripsWithNormalsOrNothing) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  const std::vector<GLVector> grid = Grid(2, 3);
  const std::vector<GLVector> up(6, GLAxisZ);
  GLMesh lit(2, 3, grid.data(), up.data(), nullptr, 0);
  EXPECT_EQ(gltest::Feedback([&] { lit.Draw(0, nullptr); }).size(), 4u);  // two quads, four triangles
  EXPECT_EQ(lit.GetExtents().Max(), GLVector(20, 10, 0));
  GLMesh bare(2, 3, grid.data(), nullptr, grid.data(), 0);
  EXPECT_TRUE(gltest::Feedback([&] { bare.Draw(0, nullptr); }).empty()) << "no normals, nothing drawn";
}

TEST(GLShell, TheWorkListsAreRefilledAtEachDraw) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  const std::vector<GLVector> v = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {20, 0, 0}, {20, 10, 0}};
  const uint32_t quads[] = {0, 1, 2, 3, 1, 4, 5, 2};
  GLShell shell(8, quads, 6, v.data(), nullptr, nullptr, 0);
  const auto once = gltest::Feedback([&] { shell.Draw(0, nullptr); });
  EXPECT_EQ(once.size(), 4u);
  EXPECT_EQ(shell.GetMappedVertices().GetCount(), 6u);
  EXPECT_EQ(gltest::Feedback([&] { shell.Draw(0, nullptr); }).size(), once.size());
  EXPECT_EQ(shell.GetMappedVertices().GetCount(), 6u);

  const uint32_t ring[] = {0, 1, 4, 5, 2, 3};
  GLPolygonArray polygon(6, ring, 6, v.data(), nullptr, nullptr, 0);
  EXPECT_EQ(gltest::Feedback([&] { polygon.Draw(0, nullptr); }).size(), 4u);  // one hexagon
  GLShell noIndices(0, nullptr, 6, v.data(), nullptr, nullptr, 0);
  EXPECT_TRUE(gltest::Feedback([&] { noIndices.Draw(0, nullptr); }).empty());
  glDisableClientState(GL_VERTEX_ARRAY);
}

TEST(GLTeaPot, StateAndMatrixOnly) {
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  auto* pot = new GLTeaPot(GLVector(1, 2, 3), 2.0, 0, 1);
  s.scene.AddEntity(pot);
  EXPECT_EQ(pot->GetExtents().Min(), GLVector(-1, 0, 1));
  EXPECT_EQ(pot->GetExtents().Max(), GLVector(3, 4, 5));

  auto state = [] {
    GLint front = 0, matrixDepth = 0, attribDepth = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &matrixDepth);
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &attribDepth);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    std::vector<double> s = {double(front), double(matrixDepth), double(attribDepth)};
    s.push_back(glIsEnabled(GL_NORMALIZE));
    s.insert(s.end(), colour, colour + 3);
    return s;
  };
  glColor3f(0, 0, 1);
  const auto before = state();
  s.scene.SetRenderMode(2);
  pot->Draw(3, &s.scene.GetMatLib());
  EXPECT_EQ(state(), before) << "mode 3 under render mode 2 changes nothing";
  EXPECT_TRUE(gltest::Feedback([&] { pot->Draw(0, &s.scene.GetMatLib()); }).empty());
  pot->Draw(0, &s.scene.GetMatLib());
  const auto after = state();
  EXPECT_EQ(std::vector<double>(after.begin(), after.begin() + 4),
            std::vector<double>(before.begin(), before.begin() + 4))
      << "attributes and matrix popped";
  EXPECT_EQ(after[4], 1.0) << "the front material's colour";

  const auto bytes = gltest::Written(*pot);
  ASSERT_EQ(bytes.size(), 32u);
  GLTeaPot back;
  GLIstream is(bytes.data(), 32);
  ASSERT_TRUE(back.Read(is));
  EXPECT_EQ(back.GetPosition(), GLVector(1, 2, 3));
  EXPECT_EQ(back.GetSize(), 2.0);
  gltest::ExpectEveryPrefixFails<GLTeaPot>(bytes, "teapot");
}

TEST(GLFace4, NormalsCornersAndEdgeFlags) {
  // The first three corners on a line: the normal from corners 1, 2, 3.
  GLFace4 bent(GLVector(0, 0, 0), GLVector(1, 0, 0), GLVector(2, 0, 0), GLVector(2, 0, 1), 3);
  ASSERT_EQ(bent.GetNormalKind(), GLFace4::Normals::kFace);
  EXPECT_EQ(bent.GetNormalSlot(4), GLVector(0, -1, 0));
  // Setting corner 2's normal drops the face normal: the others start at 0.
  bent.SetNormal(GLVector(0, 0, 1), 2);
  EXPECT_EQ(bent.GetNormalKind(), GLFace4::Normals::kCorner);
  EXPECT_EQ(bent.GetNormalSlot(2), GLVector(0, 0, 1));
  for (uint32_t k : {1u, 3u, 4u}) EXPECT_EQ(bent.GetNormalSlot(k), GLVector()) << k;
  bent.SetNormal(GLVector(1, 0, 0), 0);
  EXPECT_EQ(bent.GetNormalKind(), GLFace4::Normals::kFace);
  bent.SetNormal(GLVector(9, 9, 9), 5);  // ignored
  EXPECT_EQ(bent.GetNormalSlot(4), GLVector(1, 0, 0));

  GLFace4 face;
  EXPECT_EQ(face.GetNormalKind(), GLFace4::Normals::kNone);
  face.SetCornerMaterial(6, 0);
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(face.GetCornerMaterial(i), 6u);
  face.SetCornerMaterial(7, 5);
  face.SetCornerMaterial(8, 4);
  EXPECT_EQ(face.GetCornerMaterial(3), 8u);
  EXPECT_EQ(face.GetCornerMaterial(2), 6u);
  face.SetVertex(GLVector(1, 1, 0), 5);  // ignored
  EXPECT_EQ(face.GetCorner(0), GLVector());

  // Edge flags go with mode 0 only: in the outline pass (render mode 0) a
  // flagged-off edge is left out; the filled pass ignores them.
  for (uint32_t renderMode : {0u, 2u}) {
    gltest::SceneOnWindow s(100, 100, 100, 100);
    ASSERT_TRUE(s.ok);
    auto* square = new GLFace4(GLVector(10, 10, 0), GLVector(90, 10, 0), GLVector(90, 90, 0), GLVector(10, 90, 0), 0);
    square->SetEdgeFlags(0b1011);  // the edge from corner 2 (the top) is inner
    s.scene.AddEntity(square);
    s.scene.SetRenderMode(renderMode);
    s.scene.Render();
    const GlFrame f = gltest::FrameOf(s.window, renderMode ? "face-filled" : "face-edges");
    auto inked = [&](int x, int y) { return f.Rgb(x, y) != 0xFFFFFF || f.Rgb(x + 1, y + 1) != 0xFFFFFF; };
    EXPECT_TRUE(inked(9, 49)) << "left edge, render mode " << renderMode;
    EXPECT_TRUE(inked(49, 89)) << "bottom edge, render mode " << renderMode;
    EXPECT_EQ(inked(49, 9), renderMode == 2) << "top edge, render mode " << renderMode;
    EXPECT_EQ(inked(49, 49), renderMode == 2) << "inside, render mode " << renderMode;
  }
  gltest::SceneOnWindow s(10, 10, 10, 10);
  ASSERT_TRUE(s.ok);
  s.viewport->MakeCurrent();
  GLFace4 square(GLVector(0, 0, 0), GLVector(100, 0, 0), GLVector(100, 100, 0), GLVector(0, 100, 0), 0);
  EXPECT_EQ(gltest::Feedback([&] { square.Draw(1, nullptr); }).size(), 2u);
  EXPECT_TRUE(gltest::Feedback([&] { square.Draw(4, nullptr); }).empty());
  GLFace triangle(GLVector(0, 0, 0), GLVector(100, 0, 0), GLVector(0, 100, 0), 0);
  EXPECT_EQ(triangle.GetNormalSlot(3), GLVector(0, 0, 1));
  EXPECT_EQ(gltest::Feedback([&] { triangle.Draw(2, &s.scene.GetMatLib()); }).size(), 1u);
}

template <class Face>
void RoundTrip(const Face& face, size_t size, const char* what) {
  const auto bytes = gltest::Written(face);
  ASSERT_EQ(bytes.size(), size) << what;
  Face back;
  GLIstream is(bytes.data(), static_cast<uint32_t>(bytes.size()));
  ASSERT_TRUE(back.Read(is)) << what;
  EXPECT_EQ(back.GetNormalKind(), face.GetNormalKind()) << what;
  EXPECT_EQ(gltest::Written(back), bytes) << what;
  gltest::ExpectEveryPrefixFails<Face>(bytes, what);
}

TEST(GLFaces, WrittenFormsOfEachKindOfNormal) {
  const GLVector a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0), n(0, 0, 1);
  RoundTrip(GLFace4(a, b, c, d, 1), 137, "quad, face normal");
  RoundTrip(GLFace4(a, b, c, d, n, n, n, n, 1), 209, "quad, corner normals");
  RoundTrip(GLFace4(), 137, "quad without normals");
  RoundTrip(GLFace(a, b, c, 1), 109, "triangle, face normal");
  RoundTrip(GLFace(a, b, c, n, n, n, 1), 157, "triangle, corner normals");
  RoundTrip(GLFace(), 109, "triangle without normals");

  // Corner normals are written by slot: slot 4 (corner 0) last.
  GLFace4 sloped(a, b, c, d, GLVector(1, 0, 0), GLVector(2, 0, 0), GLVector(3, 0, 0), GLVector(4, 0, 0), 0);
  const auto bytes = gltest::Written(sloped);
  double x = 0;
  std::memcpy(&x, &bytes[113 + 3 * 24], 8);
  EXPECT_EQ(x, 1.0);
  std::memcpy(&x, &bytes[113], 8);
  EXPECT_EQ(x, 2.0);
}

// Little-endian pieces of hand-made streams.
struct Bytes {
  std::vector<unsigned char> b;
  Bytes& U32(uint32_t v) {
    b.insert(b.end(), reinterpret_cast<unsigned char*>(&v), reinterpret_cast<unsigned char*>(&v) + 4);
    return *this;
  }
  Bytes& Vectors(uint32_t n) {
    U32(n).U32(10);
    for (uint32_t i = 0; i < 3 * n; ++i) {
      double d = i;
      b.insert(b.end(), reinterpret_cast<unsigned char*>(&d), reinterpret_cast<unsigned char*>(&d) + 8);
    }
    return *this;
  }
  Bytes& Indices(std::initializer_list<uint32_t> values) {
    U32(10).U32(static_cast<uint32_t>(values.size()));
    for (uint32_t v : values) U32(v);
    return *this;
  }
};

template <class T>
bool Reads(const Bytes& bytes) {
  T entity;
  GLIstream is(bytes.b.data(), static_cast<uint32_t>(bytes.b.size()));
  return entity.Read(is);
}

TEST(GLSurfaces, StreamsThatDoNotFitReadFalse) {
  // The forms the entities write read back; every shorter prefix fails.
  const std::vector<GLVector> grid = Grid(2, 3);
  GLMesh mesh(2, 3, grid.data(), grid.data(), grid.data(), 4);
  const auto meshBytes = gltest::Written(mesh);
  GLMesh meshBack;
  GLIstream in(meshBytes.data(), static_cast<uint32_t>(meshBytes.size()));
  ASSERT_TRUE(meshBack.Read(in));
  EXPECT_EQ(Indices(*meshBack.GetIndices()), Indices(*mesh.GetIndices()));
  EXPECT_EQ(meshBack.GetStripCount(), 1u);
  EXPECT_EQ(gltest::Written(meshBack), meshBytes);
  gltest::ExpectEveryPrefixFails<GLMesh>(meshBytes, "mesh");
  const uint32_t quad[] = {0, 1, 4, 3};
  GLShell shell(4, quad, 6, grid.data(), grid.data(), nullptr, 2);
  const auto shellBytes = gltest::Written(shell);
  GLShell shellBack;
  GLIstream shellIn(shellBytes.data(), static_cast<uint32_t>(shellBytes.size()));
  ASSERT_TRUE(shellBack.Read(shellIn));
  EXPECT_EQ(gltest::Written(shellBack), shellBytes);
  gltest::ExpectEveryPrefixFails<GLPolygonArray>(shellBytes, "shell");

  // Hand-made streams: flags, lists, indices, then material and sizes.
  struct Case {
    const char* what;
    Bytes bytes;
    bool mesh;
    bool ok;
  };
  const Case cases[] = {
      {"a 2x2 mesh", Bytes().U32(1 | 2 | 8).Vectors(4).Vectors(4).Indices({2, 0, 3, 1}).U32(0).U32(2).U32(2), true,
       true},
      {"rows x cols not the vertices", Bytes().U32(1).Vectors(4).U32(0).U32(2).U32(3), true, false},
      {"normals not the vertices", Bytes().U32(1 | 2).Vectors(4).Vectors(3).U32(0).U32(2).U32(2), true, false},
      {"an index past the vertices",
       Bytes().U32(1 | 2 | 8).Vectors(4).Vectors(4).Indices({2, 0, 3, 4}).U32(0).U32(2).U32(2), true, false},
      {"fewer indices than the strips",
       Bytes().U32(1 | 2 | 8).Vectors(4).Vectors(4).Indices({2, 0}).U32(0).U32(2).U32(2), true, false},
      {"a vector count past the end", Bytes().U32(1).U32(0x10000000).U32(10).U32(0).U32(1).U32(1), true, false},
      {"an index count past the end", Bytes().U32(8).U32(10).U32(0x20000000).U32(0), true, false},
      {"a shell", Bytes().U32(1 | 8).Vectors(4).Indices({0, 1, 2, 3}).U32(0).U32(4), false, true},
      {"a shell drawing more indices than it has", Bytes().U32(1 | 8).Vectors(4).Indices({0, 1, 2, 3}).U32(0).U32(5),
       false, false},
      {"a shell index past the vertices", Bytes().U32(1 | 8).Vectors(4).Indices({0, 1, 2, 4}).U32(0).U32(4), false,
       false},
      {"texture coordinates not the vertices", Bytes().U32(1 | 4).Vectors(4).Vectors(5).U32(0).U32(0), false, false},
      {"a shell vector count past the end", Bytes().U32(2).U32(0xFFFFFFFF).U32(10), false, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.mesh ? Reads<GLMesh>(c.bytes) : Reads<GLShell>(c.bytes), c.ok) << c.what;

  // A failed read leaves the entity as it was.
  GLIstream bad(cases[3].bytes.b.data(), static_cast<uint32_t>(cases[3].bytes.b.size()));
  EXPECT_FALSE(meshBack.Read(bad));
  EXPECT_EQ(gltest::Written(meshBack), meshBytes);
}

}  // namespace
