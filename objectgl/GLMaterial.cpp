#include "objectgl/GLMaterial.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "objectgl/GLResourceSupp.h"
#include "common/GLStream.h"

namespace {
void Copy4(float* to, const float* from) { std::memcpy(to, from, 4 * sizeof(float)); }
}  // namespace

GLMaterial::GLMaterial(const GLMaterial& other) : GLObject(other) { *this = other; }

GLMaterial::GLMaterial(const float rgba[4]) { Copy4(diffuse, rgba); }

GLMaterial::GLMaterial(const float d[4], const float a[4], const float s[4], const float e[4], float shine,
                       GLTexture* texture)
    : shininess(shine), texture_(texture) {
  Copy4(diffuse, d);
  Copy4(ambient, a);
  Copy4(specular, s);
  Copy4(emission, e);
}

GLMaterial& GLMaterial::operator=(const GLMaterial& other) {
  if (this == &other) return *this;
  Copy4(diffuse, other.diffuse);
  Copy4(ambient, other.ambient);
  Copy4(specular, other.specular);
  Copy4(emission, other.emission);
  shininess = other.shininess;
  delete texture_;
  texture_ = other.texture_ ? new GLTexture : nullptr;
  return *this;
}

GLMaterial::~GLMaterial() { delete texture_; }

void GLMaterial::ApplyColor() const { glColor4fv(diffuse); }

void GLMaterial::Apply(uint32_t face) const {
  glMaterialfv(face, GL_AMBIENT, ambient);
  glMaterialfv(face, GL_DIFFUSE, diffuse);
  glMaterialfv(face, GL_SPECULAR, specular);
  glMaterialfv(face, GL_EMISSION, emission);
  glMaterialf(face, GL_SHININESS, shininess);
}

void GLMaterial::ApplyToLight(uint32_t lightNumber) const {
  const GLenum light = GL_LIGHT0 + lightNumber;
  glLightfv(light, GL_DIFFUSE, diffuse);
  glLightfv(light, GL_SPECULAR, specular);
  glLightfv(light, GL_AMBIENT, ambient);
}

bool GLMaterial::Write(GLOstream& os) const {
  // Stops at the first put the stream refuses, as the entities do.
  if (!os.WriteBytes(diffuse, 16) || !os.WriteBytes(ambient, 16) || !os.WriteBytes(specular, 16) ||
      !os.WriteBytes(emission, 16) || !os.Write(shininess) || !os.Write(static_cast<unsigned char>(texture_ ? 1 : 0)))
    return false;
  return texture_ ? texture_->Write(os) : true;
}

bool GLMaterial::Read(GLIstream& is) {
  // Into a copy first: a short or failed stream leaves the material as it
  // was.
  float colours[4][4];
  float readShininess = 0;
  unsigned char hasTexture = 0;
  for (auto& c : colours)
    if (!is.ReadBytes(c, 16)) return false;
  if (!is.Read(readShininess) || !is.Read(hasTexture)) return false;
  GLTexture* readTexture = nullptr;
  if (hasTexture == 1) {
    readTexture = new GLTexture;
    if (!readTexture->Read(is)) {
      delete readTexture;
      return false;
    }
  }
  std::copy(colours[0], colours[0] + 4, diffuse);
  std::copy(colours[1], colours[1] + 4, ambient);
  std::copy(colours[2], colours[2] + 4, specular);
  std::copy(colours[3], colours[3] + 4, emission);
  shininess = readShininess;
  delete texture_;
  texture_ = readTexture;
  return true;
}

GLMatLib::~GLMatLib() {
  if (materials_) materials_->DeleteAll();
  delete materials_;
}

uint32_t GLMatLib::AddMaterial(GLMaterial* material) {
  if (!material) return 0;
  if (!materials_) {
    materials_ = new GLObjectArray;
    materials_->SetGrowStep(10);
  }
  return materials_->Add(material);
}

GLMaterial* GLMatLib::GetMaterial(uint32_t index) {
  if (!materials_ || index >= materials_->GetCount()) return nullptr;
  return static_cast<GLMaterial*>(materials_->GetAt(index));
}

void GLMatLib::SetCurrent(uint32_t index) {
  if (index == current_) return;
  current_ = index;
  colorApplied_ = materialApplied_ = lightApplied_ = false;
}

void GLMatLib::ResetState() {
  current_ = kNone;
  colorApplied_ = materialApplied_ = lightApplied_ = false;
}

const GLMaterial& GLMatLib::CurrentOrDefault() {
  static const GLMaterial fallback;
  const GLMaterial* m = GetMaterial(current_);
  return m ? *m : fallback;
}

void GLMatLib::ApplyColor() {
  if (colorApplied_) return;
  colorApplied_ = true;
  materialApplied_ = lightApplied_ = false;
  CurrentOrDefault().ApplyColor();
}

void GLMatLib::ApplyMaterial(uint32_t face) {
  if (materialApplied_) return;
  materialApplied_ = true;
  colorApplied_ = lightApplied_ = false;
  CurrentOrDefault().Apply(face);
}

void GLMatLib::ApplyLight(uint32_t lightNumber) {
  if (lightApplied_) return;
  lightApplied_ = true;
  colorApplied_ = materialApplied_ = false;
  CurrentOrDefault().ApplyToLight(lightNumber);
}

bool GLMatLib::LoadPalette() {
  constexpr WORD kPaletteId = 107;
  constexpr uint32_t kHeader = 12, kRecord = 16;
  GLResourceSupp resources(kObjectGLResourceFile, true, nullptr);
  HGLOBAL data = resources.LoadResourceById(kPaletteId, "Binary");
  if (!data) return false;
  const void* bytes = LockResource(data);
  if (!bytes) return false;
  const DWORD size = resources.SizeOfResourceById(kPaletteId, "Binary");
  GLIstream is(bytes, size);
  int32_t count = 0, unused1 = 0, unused2 = 0;
  if (!is.Read(count) || !is.Read(unused1) || !is.Read(unused2)) return false;
  if (count < 0 || (size - kHeader) / kRecord < static_cast<uint32_t>(count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    float rgba[4];
    is.ReadBytes(rgba, kRecord);
    auto* m = new GLMaterial(rgba);
    for (int c = 0; c < 3; ++c) m->ambient[c] = m->specular[c] = 0.4f * rgba[c];
    m->ambient[3] = m->specular[3] = 1.0f;
    AddMaterial(m);
  }
  // Two entries of the standard palette are see-through.
  for (uint32_t index : {4u, 144u}) {
    if (GLMaterial* m = GetMaterial(index)) m->diffuse[3] = m->ambient[3] = m->specular[3] = 0.2f;
  }
  return true;
}
