// Decodes arbitrary bytes as an SCL file and walks the whole model: no input may crash, hang,
// leak or leave a data-set member that is not an attribute of the model.
#include "UIEC_Device.h"
#include "XmlDoc.h"

#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

void Walk(const TIEC_DA* a, std::set<const TIEC_DA*>& seen) {
    seen.insert(a);
    (void)a->Reference();
    for (const TIEC_DA* c : a->List_DA()) Walk(c, seen);
}

void Walk(const TIEC_DO* d, std::set<const TIEC_DA*>& seen) {
    (void)d->Find_First_DA();
    for (const TIEC_DO* c : d->List_DO()) Walk(c, seen);
    for (const TIEC_DA* c : d->List_DA()) Walk(c, seen);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        TIEC_Device dev(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), "fuzz.scd");
        std::set<const TIEC_DA*> seen;
        for (const TIEC_LDevice* ld : dev.List_LDevice())
            for (const TIEC_LN* ln : ld->List_LN())
                for (const TIEC_DO* d : ln->List_DO()) Walk(d, seen);
        for (const TIEC_LDevice* ld : dev.List_LDevice())
            for (const TIEC_LN* ln : ld->List_LN())
                for (const TIEC_DataSet* ds : ln->List_DataSet())
                    for (const TIEC_DA* m : ds->List_DA())
                        if (!seen.count(m)) std::abort(); // a member outside the model
    } catch (const Exception&) {
        // a file the parser rejects
    }
    return 0;
}
