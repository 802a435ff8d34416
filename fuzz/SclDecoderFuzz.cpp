// Decodes arbitrary bytes as an SCL file and walks the whole model: no input may crash, hang,
// leak or leave a data-set member that is not an attribute of the model; and the file decodes to
// the same model (or the same rejection) piece by piece as from its whole document.
#include "UIEC_Device.h"
#include "XmlDoc.h"

#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

void Walk(const TIEC_DA* a, std::set<const TIEC_DA*>& seen, QString& out) {
    seen.insert(a);
    out += a->Reference() + a->FC() + a->bType() + QString::number(a->Count()) + '\n';
    for (const TIEC_DA* c : a->List_DA()) Walk(c, seen, out);
    for (const TIEC_DA* e : a->List_Element()) Walk(e, seen, out);
}

void Walk(const TIEC_DO* d, std::set<const TIEC_DA*>& seen, QString& out) {
    (void)d->Find_First_DA();
    out += d->Reference() + '\n';
    for (const TIEC_DO* c : d->List_DO()) Walk(c, seen, out);
    for (const TIEC_DA* c : d->List_DA()) Walk(c, seen, out);
    for (const TIEC_DO* e : d->List_Element()) Walk(e, seen, out);
}

// The model as text ("error" when the parser rejects the file).
QString Decode(const QByteArray& data, bool whole) {
    IEC_SetWholeDocumentDecoding(whole);
    QString out;
    try {
        TIEC_Device dev(data, "fuzz.scd");
        out = dev.Name() + '\n';
        std::set<const TIEC_DA*> seen;
        for (const TIEC_LDevice* ld : dev.List_LDevice())
            for (const TIEC_LN* ln : ld->List_LN()) {
                // Members first: resolving them must not depend on the node being expanded.
                for (const TIEC_DataSet* ds : ln->List_DataSet()) {
                    out += ds->Reference() + ds->GooseName() + '\n';
                    for (const TIEC_DA* m : ds->List_DA()) out += "member " + m->Reference() + '\n';
                }
                for (const TIEC_DO* d : ln->List_DO()) Walk(d, seen, out);
            }
        for (const TIEC_LDevice* ld : dev.List_LDevice())
            for (const TIEC_LN* ln : ld->List_LN())
                for (const TIEC_DataSet* ds : ln->List_DataSet())
                    for (const TIEC_DA* m : ds->List_DA())
                        if (!seen.count(m)) std::abort(); // a member outside the model
        out += dev.Warnings().join('\n');
    } catch (const Exception&) {
        out = "error"; // a file the parser rejects
    }
    IEC_SetWholeDocumentDecoding(false);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (Decode(bytes, false) != Decode(bytes, true)) std::abort(); // the two ways disagree
    return 0;
}
