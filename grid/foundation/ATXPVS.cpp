#include "ATXPVS.h"

TThemeBinding ATXPVS("ATXPVS", 1537);

namespace {

// Binds at program start and releases at its end.
struct TATXPVSUnit {
    TATXPVSUnit() { ATXPVS.Startup(); }
    ~TATXPVSUnit() { ATXPVS.Shutdown(); }
} ATXPVSUnit;

} // namespace
