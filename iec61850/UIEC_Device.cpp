#include "UIEC_Device.h"

#include "XmlDoc.h"

#include <QFile>

#include <cstring>
#include <string_view>
#include <unordered_map>

// ---- Type templates ----------------------------------------------------------------------------

// One child of a type template: a DO of an LNodeType, an SDO or DA of a DOType, a BDA of a
// DAType. Texts as the file gives them; Has* tell whether the attribute was there at all.
struct TIEC_TplChild {
    bool IsSDO = false; // in a DOType: SDO (true) or DA (false)
    bool HasFC = false;
    bool HasType = false;
    String Name, Type, bType, FC;
};

using TIEC_TplList = std::vector<TIEC_TplChild>;

// The file's DataTypeTemplates, indexed by id. Every template with a given id contributes its
// children, in document order, so two templates with one id act as one with both child lists.
struct TIEC_Templates {
    QHash<String, TIEC_TplList> LNodeTypes;
    QHash<String, TIEC_TplList> DOTypes;
    QHash<String, TIEC_TplList> DATypes;
};

namespace {

bool NameIs(pugi::xml_node n, const char* name) {
    return n.type() == pugi::node_element && std::strcmp(n.name(), name) == 0;
}

// Converts attribute texts, sharing one String per distinct text: names, types and functional
// constraints repeat all over a file, and shared strings keep the model small.
class TTextPool {
public:
    const String& Get(const char* s) {
        std::string_view key(s);
        auto it = FMap.find(key);
        if (it != FMap.end()) return it->second;
        return FMap.emplace(key, String::fromUtf8(s, qsizetype(key.size()))).first->second;
    }
    // The attribute's text, or an empty text when the element does not have it.
    const String& Attr(pugi::xml_node n, const char* name) { return Get(n.attribute(name).value()); }

private:
    std::unordered_map<std::string_view, String> FMap;
};

void ReadTemplates(pugi::xml_node dtt, TTextPool& pool, TIEC_Templates& t) {
    for (pugi::xml_node tpl = dtt.first_child(); tpl; tpl = tpl.next_sibling()) {
        const char* childName;
        QHash<String, TIEC_TplList>* map;
        if (NameIs(tpl, "LNodeType")) {
            childName = "DO";
            map = &t.LNodeTypes;
        } else if (NameIs(tpl, "DOType")) {
            childName = nullptr; // SDO and DA
            map = &t.DOTypes;
        } else if (NameIs(tpl, "DAType")) {
            childName = "BDA";
            map = &t.DATypes;
        } else {
            continue;
        }
        TIEC_TplList& list = (*map)[pool.Attr(tpl, "id")];
        for (pugi::xml_node c = tpl.first_child(); c; c = c.next_sibling()) {
            TIEC_TplChild ch;
            if (childName) {
                if (!NameIs(c, childName)) continue;
            } else if (NameIs(c, "SDO")) {
                ch.IsSDO = true;
            } else if (!NameIs(c, "DA")) {
                continue;
            }
            ch.Name = pool.Attr(c, "name");
            pugi::xml_attribute type = c.attribute("type");
            ch.HasType = bool(type);
            ch.Type = pool.Get(type.value());
            ch.bType = pool.Attr(c, "bType");
            pugi::xml_attribute fc = c.attribute("fc");
            ch.HasFC = bool(fc);
            ch.FC = pool.Get(fc.value());
            list.push_back(std::move(ch));
        }
    }
}

// Expands the data objects of one logical node from the templates.
class TExpander {
public:
    TExpander(const TIEC_Templates& t, Int64& deviceCount) : T(t), FDeviceCount(deviceCount) {}

    void DecodeDO(TIEC_DO* d, const TIEC_TplChild& c);
    void DecodeDA(TIEC_DA* a, const TIEC_TplChild& c, const String& fcFather);

    bool CutShort = false;

private:
    bool Take() {
        if (FCount >= IEC_MaxNodesPerLN || FDeviceCount >= IEC_MaxNodesPerDevice) {
            CutShort = true;
            return false;
        }
        ++FCount;
        ++FDeviceCount;
        return true;
    }
    static bool OnPath(const std::vector<const String*>& path, const String& id) {
        for (const String* p : path)
            if (*p == id) return true;
        return false;
    }

    const TIEC_Templates& T;
    int FCount = 0;
    Int64& FDeviceCount;
    std::vector<const String*> FDOPath, FDAPath; // types being expanded on the current path
};

// Prefix, class and instance: what names a logical node inside its logical device.
struct TLNKey {
    String Prefix, Class, Inst;
    bool operator==(const TLNKey&) const = default;
};
struct TLNKeyHash {
    size_t operator()(const TLNKey& k) const { return qHashMulti(0, k.Prefix, k.Class, k.Inst); }
};
using TLNIndex = std::unordered_map<TLNKey, TIEC_LN*, TLNKeyHash>;

} // namespace

// Builds the model; a friend of the model classes.
class TIEC_Decoder {
public:
    static void Decode(TIEC_Device* dev, TXMLDocument& doc);
    static void SetDA(TIEC_DA* a, const String& fc, const String& bType, const String& name) {
        a->fFC = fc;
        a->fbType = bType;
        a->fName = name;
    }
    static TIEC_DA* NewDA(const TIEC_DA* parentDA, const TIEC_DO* parentDO) {
        TIEC_DA* a = new TIEC_DA;
        a->FParentDA = parentDA;
        a->FParentDO = parentDO;
        return a;
    }
    static TIEC_DO* NewDO(const TIEC_DO* parentDO, const TIEC_LN* parentLN) {
        TIEC_DO* d = new TIEC_DO;
        d->FParentDO = parentDO;
        d->FParentLN = parentLN;
        return d;
    }
    static std::vector<TIEC_DA*>& DAList(TIEC_DA* a) { return a->FList_DA; }
    static std::vector<TIEC_DA*>& DAList(TIEC_DO* d) { return d->FList_DA; }
    static std::vector<TIEC_DO*>& DOList(TIEC_DO* d) { return d->FList_DO; }

private:
    static TIEC_DA* Resolve(TIEC_Device* dev, pugi::xml_node fcda, TTextPool& pool,
                            QHash<String, TLNIndex>& index);
};

void TExpander::DecodeDO(TIEC_DO* d, const TIEC_TplChild& c) {
    d->SetName(c.Name);
    if (c.Type.isEmpty()) return;
    if (OnPath(FDOPath, c.Type)) return; // a type that contains itself: not expanded again
    auto it = T.DOTypes.constFind(c.Type);
    if (it == T.DOTypes.constEnd()) return;
    FDOPath.push_back(&c.Type);
    for (const TIEC_TplChild& ch : *it) {
        if (!Take()) break;
        if (ch.IsSDO) {
            TIEC_DO* sub = TIEC_Decoder::NewDO(d, nullptr);
            TIEC_Decoder::DOList(d).push_back(sub);
            DecodeDO(sub, ch);
        } else {
            TIEC_DA* a = TIEC_Decoder::NewDA(nullptr, d);
            TIEC_Decoder::DAList(d).push_back(a);
            DecodeDA(a, ch, String());
        }
    }
    FDOPath.pop_back();
}

void TExpander::DecodeDA(TIEC_DA* a, const TIEC_TplChild& c, const String& fcFather) {
    TIEC_Decoder::SetDA(a, c.HasFC ? c.FC : fcFather, c.bType, c.Name);
    // The type of an enumerated attribute names an enumeration, which is not followed.
    if (!c.HasType || c.bType == QLatin1String("Enum")) return;
    if (OnPath(FDAPath, c.Type)) return;
    auto it = T.DATypes.constFind(c.Type);
    if (it == T.DATypes.constEnd()) return;
    FDAPath.push_back(&c.Type);
    for (const TIEC_TplChild& ch : *it) {
        if (!Take()) break;
        TIEC_DA* sub = TIEC_Decoder::NewDA(a, nullptr);
        TIEC_Decoder::DAList(a).push_back(sub);
        DecodeDA(sub, ch, a->FC());
    }
    FDAPath.pop_back();
}

// ---- Lookups -----------------------------------------------------------------------------------

template <class T> static void FreeAll(std::vector<T*>& list) {
    for (T* p : list) TObject::Free(p);
    list.clear();
}

TIEC_DA::~TIEC_DA() {
    FreeAll(FList_DA);
}

String TIEC_DA::Reference() const {
    if (FRefSet) return fReference;
    String parent = FParentDA ? FParentDA->Reference() : FParentDO ? FParentDO->Reference() : String();
    return parent + QLatin1Char('.') + fName;
}

String TIEC_DO::Reference() const {
    String parent = FParentDO ? FParentDO->Reference() : FParentLN ? FParentLN->Reference() : String();
    return parent + QLatin1Char('.') + fName;
}

TIEC_DA* TIEC_DA::Find_DA(const String& DA_Name) const {
    for (TIEC_DA* a : FList_DA) {
        if (a->Name() == DA_Name) return a;
        if (TIEC_DA* hit = a->Find_DA(DA_Name)) return hit;
    }
    return nullptr;
}

TIEC_DA* TIEC_DA::Find_First_DA() const {
    if (FList_DA.empty()) return nullptr;
    TIEC_DA* first = FList_DA[0];
    return first->List_DA().empty() ? first : first->Find_First_DA();
}

TIEC_DO::~TIEC_DO() {
    FreeAll(FList_DO);
    FreeAll(FList_DA);
}

TIEC_DO* TIEC_DO::Find_DO(const String& DO_Name) const {
    for (TIEC_DO* d : FList_DO) {
        if (d->Name() == DO_Name) return d;
        if (TIEC_DO* hit = d->Find_DO(DO_Name)) return hit;
    }
    return nullptr;
}

TIEC_DA* TIEC_DO::Find_DA(const String& DA_Name) const {
    for (TIEC_DA* a : FList_DA) {
        if (a->Name() == DA_Name) return a;
        if (TIEC_DA* hit = a->Find_DA(DA_Name)) return hit;
    }
    return nullptr;
}

TIEC_DA* TIEC_DO::Find_First_DA() const {
    if (FList_DA.empty()) return nullptr;
    TIEC_DA* first = FList_DA[0];
    return first->List_DA().empty() ? first : first->Find_First_DA();
}

TIEC_LN::~TIEC_LN() {
    FreeAll(FList_DataSet);
    FreeAll(FList_DO);
}

String TIEC_LN::Reference() const {
    String l = FOwner ? FOwner->Reference() : String();
    return l + QLatin1Char('/') + fPrefix + flnClass + fInst;
}

const std::vector<TIEC_DO*>& TIEC_LN::List_DO() const {
    if (!FExpanded) Expand();
    return FList_DO;
}

void TIEC_LN::Expand() const {
    FExpanded = true;
    const TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    if (!dev || !dev->FTemplates || flnType.isEmpty()) return;
    const TIEC_Templates& t = *dev->FTemplates;
    auto it = t.LNodeTypes.constFind(flnType);
    if (it == t.LNodeTypes.constEnd()) return;
    TExpander x(t, dev->FNodeCount);
    for (const TIEC_TplChild& c : *it) {
        TIEC_DO* d = TIEC_Decoder::NewDO(nullptr, this);
        FList_DO.push_back(d);
        x.DecodeDO(d, c);
        if (x.CutShort) break;
    }
    if (x.CutShort)
        dev->FWarnings << "Logical node " + Reference() +
                              ": its types nest too deeply or the device is too large; not every object and "
                              "attribute is shown";
}

TIEC_DO* TIEC_LN::Find_DO(const String& DO_Name) const {
    for (TIEC_DO* d : List_DO()) {
        if (d->Name() == DO_Name) return d;
        if (TIEC_DO* hit = d->Find_DO(DO_Name)) return hit;
    }
    return nullptr;
}

TIEC_LDevice::~TIEC_LDevice() {
    FreeAll(FList_LN);
}

TIEC_LN* TIEC_LDevice::Find_LN(const String& LN_Class) const {
    for (TIEC_LN* ln : FList_LN)
        if (ln->lnClass() == LN_Class) return ln;
    return nullptr;
}

TIEC_LN* TIEC_LDevice::Find_LN(const String& Prefix, const String& LN_Class, const String& Inst) const {
    for (TIEC_LN* ln : FList_LN)
        if (ln->lnClass() == LN_Class && ln->Prefix() == Prefix && ln->Inst() == Inst) return ln;
    return nullptr;
}

// ---- Device and decoding -----------------------------------------------------------------------

static String FilePart(const String& path) {
    const qsizetype p = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(p + 1);
}

TIEC_Device::TIEC_Device(const String& FileName_icd) {
    fFileName = FilePart(FileName_icd);
    if (!QFile::exists(XmlNativePath(FileName_icd))) return;
    TXMLDocument doc(nullptr);
    doc.LoadFromFile(FileName_icd);
    TIEC_Decoder::Decode(this, doc);
}

TIEC_Device::TIEC_Device(const QByteArray& Data, const String& FileName) {
    fFileName = FilePart(FileName);
    TXMLDocument doc(nullptr);
    doc.LoadFromXML(Data);
    TIEC_Decoder::Decode(this, doc);
}

TIEC_Device::~TIEC_Device() {
    FreeAll(FList_LDevice);
}

TIEC_LDevice* TIEC_Device::Find_LDevice(const String& LD_Name) const {
    for (TIEC_LDevice* ld : FList_LDevice)
        if (ld->Name() == LD_Name) return ld;
    return nullptr;
}

void TIEC_Decoder::Decode(TIEC_Device* dev, TXMLDocument& doc) {
    pugi::xml_node scl = doc.Handle().child("SCL");
    if (!scl) return;
    pugi::xml_node ied = scl.child("IED");
    pugi::xml_node dtt = scl.child("DataTypeTemplates");
    if (!ied || !dtt) return;
    TTextPool pool;
    dev->fName = pool.Attr(ied, "name");
    pugi::xml_node server = ied.child("AccessPoint").child("Server");
    if (!server) return;

    auto templates = std::make_shared<TIEC_Templates>();
    ReadTemplates(dtt, pool, *templates);
    dev->FTemplates = templates;

    // First pass: logical devices and logical nodes (their data objects come from the
    // templates when first asked for).
    std::vector<pugi::xml_node> ldNodes;
    for (pugi::xml_node ldn = server.first_child(); ldn; ldn = ldn.next_sibling()) {
        if (!NameIs(ldn, "LDevice")) continue;
        ldNodes.push_back(ldn);
        TIEC_LDevice* ld = new TIEC_LDevice;
        ld->FOwner = dev;
        ld->fName = pool.Attr(ldn, "inst");
        ld->FReference = dev->fName + ld->fName;
        dev->FList_LDevice.push_back(ld);
        for (pugi::xml_node lnn = ldn.first_child(); lnn; lnn = lnn.next_sibling()) {
            if (!NameIs(lnn, "LN0") && !NameIs(lnn, "LN")) continue;
            TIEC_LN* ln = new TIEC_LN;
            ln->FOwner = ld;
            ln->flnClass = pool.Attr(lnn, "lnClass");
            ln->flnType = pool.Attr(lnn, "lnType");
            ln->fPrefix = pool.Attr(lnn, "prefix");
            ln->fInst = String::fromUtf8(lnn.attribute("inst").value()); // mostly distinct: not pooled
            ld->FList_LN.push_back(ln);
        }
    }

    // Second pass: data sets, whose members may lie in any logical device of the IED, also in
    // one that comes later in the file.
    QHash<String, TLNIndex> index; // per logical device: prefix/class/inst -> node
    for (size_t k = 0; k < ldNodes.size(); ++k) {
        TIEC_LDevice* ld = dev->FList_LDevice[k];
        size_t j = 0;
        for (pugi::xml_node lnn = ldNodes[k].first_child(); lnn; lnn = lnn.next_sibling()) {
            if (!NameIs(lnn, "LN0") && !NameIs(lnn, "LN")) continue;
            TIEC_LN* ln = ld->FList_LN[j++];
            if (ln->flnType.isEmpty()) continue;
            for (pugi::xml_node dsn = lnn.first_child(); dsn; dsn = dsn.next_sibling()) {
                if (!NameIs(dsn, "DataSet")) continue;
                TIEC_DataSet* ds = new TIEC_DataSet;
                ln->FList_DataSet.push_back(ds);
                ds->fName = pool.Attr(dsn, "name");
                ds->fReference = ln->Reference() + QLatin1Char('.') + ds->fName;
                for (pugi::xml_node f = dsn.first_child(); f; f = f.next_sibling()) {
                    if (!NameIs(f, "FCDA")) continue;
                    if (TIEC_DA* a = Resolve(dev, f, pool, index))
                        ds->FList_DA.push_back(a);
                    else
                        dev->FWarnings
                            << "Data set " + ds->fReference + ": member " + pool.Attr(f, "ldInst") + "/" +
                                   pool.Attr(f, "prefix") + pool.Attr(f, "lnClass") + pool.Attr(f, "lnInst") +
                                   "." + pool.Attr(f, "doName") +
                                   (pool.Attr(f, "daName").isEmpty() ? String()
                                                                     : "." + pool.Attr(f, "daName")) +
                                   " [" + pool.Attr(f, "fc") + "] not found";
                }
            }
            for (pugi::xml_node g = lnn.first_child(); g; g = g.next_sibling()) {
                if (!NameIs(g, "GSEControl")) continue;
                const String& name = pool.Attr(g, "name");
                const String& datSet = pool.Attr(g, "datSet");
                if (name.isEmpty() || datSet.isEmpty()) continue;
                for (TIEC_DataSet* ds : ln->FList_DataSet)
                    if (ds->fName == datSet) {
                        ds->fGooseName = name;
                        break;
                    }
            }
        }
    }
}

namespace {

// The leftmost leaf below the attributes of List whose functional constraint is FC.
TIEC_DA* FirstLeafWithFC(const std::vector<TIEC_DA*>& list, const String& fc) {
    for (TIEC_DA* a : list) {
        if (a->List_DA().empty()) {
            if (a->FC() == fc) return a;
        } else if (TIEC_DA* hit = FirstLeafWithFC(a->List_DA(), fc)) {
            return hit;
        }
    }
    return nullptr;
}

} // namespace

TIEC_DA* TIEC_Decoder::Resolve(TIEC_Device* dev, pugi::xml_node fcda, TTextPool& pool,
                               QHash<String, TLNIndex>& index) {
    const String& ldInst = pool.Attr(fcda, "ldInst");
    const String& lnClass = pool.Attr(fcda, "lnClass");
    const String& doName = pool.Attr(fcda, "doName");
    const String& daName = pool.Attr(fcda, "daName");
    if (ldInst.isEmpty() || lnClass.isEmpty() || doName.isEmpty()) return nullptr;
    TIEC_LDevice* ld = dev->Find_LDevice(ldInst);
    if (!ld) {
        // Some tools write the logical device's full name (IED name + inst) as ldInst.
        for (TIEC_LDevice* l : dev->FList_LDevice)
            if (l->FReference == ldInst) {
                ld = l;
                break;
            }
        if (!ld) return nullptr;
    }

    auto lnsIt = index.find(ldInst);
    if (lnsIt == index.end()) {
        lnsIt = index.insert(ldInst, TLNIndex());
        for (TIEC_LN* ln : ld->FList_LN) lnsIt->emplace(TLNKey{ln->Prefix(), ln->lnClass(), ln->Inst()}, ln);
    }
    auto found = lnsIt->find(TLNKey{pool.Attr(fcda, "prefix"), lnClass, pool.Attr(fcda, "lnInst")});
    TIEC_LN* ln = found == lnsIt->end() ? nullptr : found->second;
    if (!ln) return nullptr;

    // The data object: each part of a dotted doName names a sub-data object of the previous.
    TIEC_DO* d = nullptr;
    const QStringList doParts = doName.split(QLatin1Char('.'));
    for (const String& part : doParts) {
        const std::vector<TIEC_DO*>& list = d ? d->List_DO() : ln->List_DO();
        TIEC_DO* next = nullptr;
        for (TIEC_DO* c : list)
            if (c->Name() == part) {
                next = c;
                break;
            }
        if (!next) return nullptr;
        d = next;
    }

    if (daName.isEmpty()) {
        const String& fc = pool.Attr(fcda, "fc");
        if (!fc.isEmpty())
            if (TIEC_DA* a = FirstLeafWithFC(d->List_DA(), fc)) return a;
        return d->Find_First_DA();
    }
    // The attribute: each part of a dotted daName names a nested attribute of the previous.
    TIEC_DA* a = nullptr;
    const QStringList daParts = daName.split(QLatin1Char('.'));
    for (const String& part : daParts) {
        const std::vector<TIEC_DA*>& list = a ? a->List_DA() : d->List_DA();
        TIEC_DA* next = nullptr;
        for (TIEC_DA* c : list)
            if (c->Name() == part) {
                next = c;
                break;
            }
        if (!next) return nullptr;
        a = next;
    }
    return a;
}
