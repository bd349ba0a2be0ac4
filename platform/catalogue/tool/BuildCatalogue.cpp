// Build step: turns a catalogue source text into the catalogue file of its
// trade.  Usage: jov_catalogue_build SOURCE OUTPUT
#include <cstdio>
#include <string>

#include "platform/catalogue/CatalogueSource.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SOURCE OUTPUT\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!jovDatabase::BuildCatalogueFile(argv[1], argv[2], error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}
