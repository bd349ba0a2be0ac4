#include "jov_vantrix/section/JovCutParamsOld.h"

JovCutParamsOld::JovCutParamsOld(JovClock clock)
    : m_stamp(FormatLocalTime(ReadClock(clock), "%d.%m.%Y-%H.%M.%S")) {}
