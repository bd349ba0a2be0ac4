// The data folder of the dimension dialog's list readers.
#pragma once

#include <string>

class CDimData {
 public:
  explicit CDimData(const char* folder = nullptr) { SetFolder(folder); }

  // A copy of folder ending in '\'; a null or empty folder gives an empty one.
  void SetFolder(const char* folder);
  const std::string& GetFolder() const { return m_folder; }

 private:
  std::string m_folder;
};
