// Catalogue files are built from a text source, one per trade. The source
// (UTF-8) is a list of sections:
//
//   # comment
//   [catalogue]           trade = T, title = ...
//   [names]               rows  list | entry | id | name | comment | status
//   [partypes]            rows  id | title | status | lo | hi | second id
//   [producers]           rows  id | name | comment | status
//   [products]            rows  id | producer id | item index id | YYYY-MM-DD
//                               | names id | price | unit names id | comment
//   [item]                one product: key = value lines (id, idi, title,
//                         type, status) and text blocks
//
// In rows, trailing fields may be left out (empty text, 0) and \n, \r, \t,
// \| and \\ stand for those characters. A text block is "name <<", its
// lines verbatim, then a line ">>": points, properties, params, parA, parB,
// parC, par3D (the last five are stored with CR LF line ends), and dxfA,
// dxfB, dxfC, dxf3D, whose lines are "code value" pairs (blank lines and
// lines starting with '#' skipped) stored as "code\nvalue\n".
//
// The build checks what the catalogue's readers rely on: 12-character index
// ids of the trade with '-' as the 8th character, geometry that reads as a
// group-code chain, view bits of the status that match the geometry given,
// points texts of four view groups, products of known items.
#pragma once

#include <string>

#include "platform/catalogue/JovDBaseApi.h"

namespace jovDatabase {

// Builds the catalogue file outputPath from source text; an existing file
// is replaced only when the build succeeds. False with error ("name:line:
// what", name being sourceName) on any fault in the source or the output.
JOVDBASE_API bool BuildCatalogueFromText(const std::string& source, const char* outputPath,
                                         std::string& error, const char* sourceName = "source");

// The same from a source file.
JOVDBASE_API bool BuildCatalogueFile(const char* sourcePath, const char* outputPath,
                                     std::string& error);

}  // namespace jovDatabase
