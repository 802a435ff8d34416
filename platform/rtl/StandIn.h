// Entry points of the platform that are accepted but have no effect here (the list, with the
// reasons, is in docs/DESIGN.md under "Honest stand-ins"). Each calls PlatformStandIn with its
// name where the platform it stands for would act: a debug build warns once per process and
// name (qWarning), so that code relying on the missing effect shows up the first time it runs;
// a release build does nothing.
#pragma once

#ifdef NDEBUG
inline void PlatformStandIn(const char*) {}
#else
void PlatformStandIn(const char* EntryPoint);
#endif
