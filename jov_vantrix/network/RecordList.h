// A list that owns network records (CObjDataNew): a group's records, a
// command's list and the records a reader holds. Like any list it lets go
// of whatever it holds (the groups' list head holds groups).
#pragma once

#include "common/CSeznam.h"

class RecordList : public CSeznam {
 public:
  RecordList() = default;
  // Lets the elements go as RemoveAll does, hinting the records among them
  // a few steps ahead.
  ~RecordList() override;
};
