// Marks what the catalogue library exports. The library builds with hidden
// visibility (it carries a private copy of the heap helpers), so every class
// and function its callers reach, its string type included, is marked here.
#pragma once

#define JOVDBASE_API __attribute__((visibility("default")))
