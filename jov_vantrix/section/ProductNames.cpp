#include "jov_vantrix/section/ProductNames.h"

#include "jov_vantrix/network/CJovData.h"

CString ProductName(const CJovData& data, const char* branch) {
  const char* designation = data.GetProperty("_QPROD");
  if (!designation || !*designation) designation = data.GetProperty("TY");
  const CString code = data.m_typeCode.IsEmpty() ? CString("?") : data.m_typeCode.ToCString();
  CString name;
  name.Format("(%s, branch %s)", code.GetString(), (branch && *branch) ? branch : "?");
  if (designation && *designation) name = CString(designation) + " " + name;
  return name;
}

CString LeftOutText(const CStringArray& names) {
  CString text;
  text.Format("%d: ", static_cast<int>(names.GetSize()));
  for (INT_PTR i = 0; i < names.GetSize(); ++i) {
    if (i) text += ", ";
    text += names[i];
  }
  return text;
}
