#include "wizard/frame/engine/CLineData.h"

CLineData::~CLineData() = default;
