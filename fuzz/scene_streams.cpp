// Every object of the scene library with a stream form (those that read
// nothing or always refuse included), read from the bounded stream over
// the input. A read stays within the input; what reads
// writes a form that reads again, using all of it, to an object that writes
// the same bytes; objects of fixed fields write exactly the bytes they read.
// A read that fails leaves the object as it was.
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "objectgl/GLArc.h"
#include "objectgl/GLArrow.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLFace.h"
#include "objectgl/GLFace4.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLMesh.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLShell.h"
#include "common/GLStream.h"
#include "objectgl/GLTeaPot.h"
#include "objectgl/GLText.h"
#include "objectgl/GLUIntArray.h"
#include "objectgl/GLVectorArray.h"

namespace {

// A vector array behind the same calls as the objects.
struct VectorArray {
  GLVectorArray array;
  bool Write(GLOstream& os) const { return GLWriteVectorArray(os, array); }
  bool Read(GLIstream& is) { return GLReadVectorArray(is, array); }
};

enum Form : unsigned {
  kExact = 1,           // the bytes written are the bytes read
  kKeepsOnFailure = 2,  // a failed read changes nothing
  kReportsFailure = 4,  // Write and Read say false whatever the stream did
  kSameLength = 8,      // a read takes as many bytes as the object writes
};

template <class T>
std::string Written(const T& object, size_t room, unsigned form, const char* name) {
  std::vector<unsigned char> buffer(room + 1);  // the writer leaves the last byte
  GLOstream os(buffer.data(), buffer.size());
  const bool written = object.Write(os);
  FUZZ_CHECK(written || (form & kReportsFailure), std::string(name) + " does not write");
  return std::string(reinterpret_cast<const char*>(buffer.data()), os.Tell());
}

template <class T>
void Check(const char* name, unsigned form, const uint8_t* data, size_t size) {
  const size_t room = size + 256;
  T object;
  const std::string before = Written(object, room, form, name);
  GLIstream is(data, static_cast<uint32_t>(size));
  const bool read = object.Read(is);
  FUZZ_CHECK(is.Tell() <= size, std::string(name) + " read past the input");
  if (!read && !(form & kReportsFailure)) {
    if (form & kKeepsOnFailure)
      FUZZ_CHECK(Written(object, room, form, name) == before, std::string(name) + ": a failed read changed it");
    return;
  }
  const std::string bytes = Written(object, room, form, name);
  if (form & kSameLength)
    FUZZ_CHECK(bytes.size() == is.Tell(), std::string(name) + " read in part and said it read");
  if (form & kExact)
    FUZZ_CHECK(bytes == fuzz::Text(data, is.Tell()), std::string(name) + " writes other bytes than it read");
  T again;
  GLIstream reread(bytes.data(), static_cast<uint32_t>(bytes.size()));
  FUZZ_CHECK(again.Read(reread) || (form & kReportsFailure), std::string(name) + ": what it wrote does not read");
  FUZZ_CHECK(reread.Tell() == bytes.size(), std::string(name) + ": what it wrote reads in part");
  FUZZ_CHECK(Written(again, room, form, name) == bytes, std::string(name) + ": what it wrote reads otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > UINT32_MAX / 2) return 0;
  Check<GLName>("GLName", kExact | kKeepsOnFailure, data, size);
  Check<GLPushMatrix>("GLPushMatrix", kExact | kKeepsOnFailure, data, size);
  Check<GLPopMatrix>("GLPopMatrix", kExact, data, size);
  Check<GLMaterial>("GLMaterial", kKeepsOnFailure | kSameLength, data, size);
  Check<GLOmniLight>("GLOmniLight", kReportsFailure, data, size);
  Check<GLDirectionLight>("GLDirectionLight", kReportsFailure, data, size);
  Check<GLLine>("GLLine", kExact | kKeepsOnFailure, data, size);
  Check<GLArc>("GLArc", kExact, data, size);
  Check<GLCircle>("GLCircle", kReportsFailure, data, size);
  Check<GLEllipse>("GLEllipse", kExact, data, size);
  Check<GLText>("GLText", kExact, data, size);
  Check<GLSelectPoint>("GLSelectPoint", kExact | kKeepsOnFailure, data, size);
  Check<GLArrow>("GLArrow", kKeepsOnFailure, data, size);
  Check<GLTeaPot>("GLTeaPot", kExact | kKeepsOnFailure, data, size);
  Check<GLFace>("GLFace", kKeepsOnFailure, data, size);
  Check<GLFace4>("GLFace4", kKeepsOnFailure, data, size);
  Check<GLMesh>("GLMesh", kKeepsOnFailure, data, size);
  Check<GLShell>("GLShell", kKeepsOnFailure, data, size);
  Check<GLPolygonArray>("GLPolygonArray", kKeepsOnFailure, data, size);
  Check<GLUIntArray>("GLUIntArray", kExact | kKeepsOnFailure, data, size);
  Check<VectorArray>("GLVectorArray", kExact | kKeepsOnFailure, data, size);
  return 0;
}
