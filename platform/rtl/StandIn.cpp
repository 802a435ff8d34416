#include "StandIn.h"

#ifndef NDEBUG

#include <QtGlobal>

#include <mutex>
#include <set>
#include <string>
#include <string_view>

void PlatformStandIn(const char* EntryPoint) {
    static std::mutex lock;
    // Never freed: a stand-in used while static objects are destroyed still finds it.
    static auto* warned = new std::set<std::string, std::less<>>;
    const std::string_view name(EntryPoint ? EntryPoint : "");
    {
        std::lock_guard<std::mutex> guard(lock);
        if (warned->count(name)) return;
        warned->emplace(name);
    }
    qWarning("Platform stand-in: %s is accepted but has no effect here (docs/DESIGN.md, \"Honest "
             "stand-ins\")",
             EntryPoint ? EntryPoint : "");
}

#endif
