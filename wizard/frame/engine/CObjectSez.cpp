#include "wizard/frame/engine/CObjectSez.h"

CObjectSez::~CObjectSez() = default;
