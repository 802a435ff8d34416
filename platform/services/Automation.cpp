// Late-bound automation: the variant's calls and the provider in place.
#include "Automation.h"

namespace {

// No office suite, database engine or other automation program exists here.
class TNoAutomationServers : public TAutomationProvider {
public:
    OleVariant Create(const String& ProgID) override {
        throw EOleSysError(QStringLiteral("Automation server not available: ") + ProgID, REGDB_E_CLASSNOTREG);
    }
    OleVariant GetActive(const String& ProgID) override {
        throw EOleSysError(QStringLiteral("Automation server not available: ") + ProgID, MK_E_UNAVAILABLE);
    }
};

std::shared_ptr<TAutomationProvider>& Provider() {
    static std::shared_ptr<TAutomationProvider> provider = std::make_shared<TNoAutomationServers>();
    return provider;
}

TAutomationObject* Target(const OleVariant& V) {
    if (!V.IsObject()) throw EOleError(QStringLiteral("Variant does not reference an automation object"));
    return V.Object();
}

} // namespace

OleVariant OleVariant::Get(const String& Name, const TOleArgs& Args) const {
    return Target(*this)->Invoke(Name, ikPropertyGet, Args);
}

void OleVariant::Set(const String& Name, const OleVariant& Value) const {
    TOleArgs args{TOleArg(Value)};
    Target(*this)->Invoke(Name, ikPropertyPut, args);
}

OleVariant OleVariant::Call(const String& Name, const TOleArgs& Args) const {
    return Target(*this)->Invoke(Name, ikMethod, Args);
}

OleVariant CreateOleObject(const String& ProgID) {
    return Provider()->Create(ProgID);
}

OleVariant GetActiveOleObject(const String& ProgID) {
    return Provider()->GetActive(ProgID);
}

std::shared_ptr<TAutomationProvider> SetAutomationProvider(std::shared_ptr<TAutomationProvider> NewProvider) {
    std::shared_ptr<TAutomationProvider> old = Provider();
    Provider() = NewProvider ? std::move(NewProvider) : std::make_shared<TNoAutomationServers>();
    return old;
}
