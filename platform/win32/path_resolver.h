// The one way from a path as the system builds it to a file on this machine.
// The system's paths are code page 1250 texts with '\' separators and letter
// case that need not match the disk; every file access of the platform layer
// goes through here.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Code page 1250 path -> UTF-8 path: '\' becomes '/', each component that
// exists is replaced by the directory's real entry that equals it without
// regard to case (code page 1250 folding), components that do not exist are
// kept as given. Nothing is cached: the disk is asked on every call.
// When several entries differ only in case, an exact match wins, otherwise
// the entry that sorts first by bytes.
std::string ResolvePath(std::string_view path);

// fopen of the resolved path.
FILE* OpenResolved(std::string_view path, const char* mode);

// A name as the file system gives it (UTF-8) in the system's code page.
std::string FileNameToCp1250(std::string_view utf8Name);
