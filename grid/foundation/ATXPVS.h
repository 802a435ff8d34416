// The drop-down controls' own binding of the platform's visual-styles library: the same entry
// points as AdvXPVS, bound and released separately (releasing one binding leaves the other
// bound).
#pragma once

#include "AdvXPVS.h"

extern TThemeBinding ATXPVS;
