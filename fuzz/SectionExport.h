// What the targets that write the section exchange file share: the written
// text checked against the sections it was written from.
#pragma once

#include <string>

#include "jov_vantrix/network/RecordText.h"
#include "platform/mfc/CString.h"

class CSecSezNew;

namespace fuzz {

inline std::string Std(const CString& text) { return std::string(text.GetString(), static_cast<size_t>(text.GetLength())); }
inline std::string Std(const RecordText& text) { return std::string(text.GetString(), static_cast<size_t>(text.GetLength())); }

// Stops the run unless the written lines hold the export: the header when
// asked, then a branch line per name of the list and each section of that
// branch (in list order) as its two lines, field for field, nothing more.
void CheckSectionExport(const CSecSezNew& list, const std::string& written, bool header);

}  // namespace fuzz
