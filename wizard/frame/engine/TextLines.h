// Line readers over catalogue texts. Lines are returned whole: a caller
// that keeps a line in a fixed buffer cuts it there and goes on with the
// next line, so later lines stay in step.
#pragma once

#include <cstddef>
#include <string>

// The characters from position up to a line feed, a carriage return or the
// end of the text; position then steps over one carriage return, if there
// is one, and then over one line feed, if there is one.
void ReadTextLine(const std::string& text, size_t& position, std::string& line);

// The same line; then steps over one carriage return and returns true, or
// else over one line feed (if there is one) and returns false.
bool ReadTextLineCR(const std::string& text, size_t& position, std::string& line);
