// Marks what the catalogue library exports. The library builds with hidden
// visibility (it carries private copies of the string and heap helpers), so
// every class and function its callers reach is marked here.
#pragma once

#define JOVDBASE_API __attribute__((visibility("default")))
