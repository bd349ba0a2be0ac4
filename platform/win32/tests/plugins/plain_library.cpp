// A library without an application object, loaded by the loader tests.
// Its counter starts at 0 each time the library is really mapped.
namespace {
int g_calls = 0;
}

extern "C" __attribute__((visibility("default"))) int PlainLibrary_Answer() {
  ++g_calls;
  return 42;
}

extern "C" __attribute__((visibility("default"))) int PlainLibrary_Calls() { return g_calls; }
