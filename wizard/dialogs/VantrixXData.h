// The "_VANTRIX" record a placed radiator carries: where its size came
// from, the Vantrix project list or the outside radiator catalogue.
#pragma once

#include <array>
#include <string>

#include "dataformat/resbuf.h"

class CVantrixData;
struct KorpalinData;

using VantrixFields = std::array<std::string, 12>;

// 1001 "_VANTRIX", 1070 12, then the twelve fields as 1000 strings; null
// when a node cannot be made.
resbuf* MakeVantrixXData(const VantrixFields& fields);

// From the catalogue's choice: the product's CT, texts 1-3, numbers 5 and
// 4, two empty fields, text 4, numbers 1-3. Texts are read within their
// fields.
VantrixFields CatalogueVantrixFields(const KorpalinData& record, const char* ct);

// From a project-list record: its fields 0-3, 7-9 and 13-17.
VantrixFields ProjectVantrixFields(const CVantrixData& record);
