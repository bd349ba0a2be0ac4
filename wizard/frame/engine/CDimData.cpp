#include "wizard/frame/engine/CDimData.h"

void CDimData::SetFolder(const char* folder) {
  m_folder = folder ? folder : "";
  if (!m_folder.empty() && m_folder.back() != '\\') m_folder += '\\';
}
