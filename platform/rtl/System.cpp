#include "System.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

String TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    String name = String::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    // Drop template arguments and namespaces: the class library's names are plain.
    int lt = name.indexOf(u'<');
    if (lt >= 0) name.truncate(lt);
    int sep = name.lastIndexOf(QStringLiteral("::"));
    if (sep >= 0) name = name.mid(sep + 2);
    return name;
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign a nil to a %1").arg(ClassName()));
}

void TPersistent::AssignTo(TPersistent* Dest) {
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassName(), Dest ? Dest->ClassName() : String("nil")));
}
