#include "UIEC_Device.h"

#include "XmlDoc.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

// ---- Type templates ----------------------------------------------------------------------------

struct TIEC_TplChild;
using TIEC_TplList = std::vector<TIEC_TplChild>;

// One child of a type template: a DO of an LNodeType, an SDO or DA of a DOType, a BDA of a
// DAType. Texts as the file gives them (the device's copies, see TTextPool); Has* tell whether the
// attribute was there at all.
struct TIEC_TplChild {
    bool IsSDO = false; // in a DOType: SDO (true) or DA (false)
    bool HasFC = false;
    bool HasType = false;
    const String *Name, *Type, *bType, *FC;
    // The children of the type this child expands to (the DOType of a DO or SDO, the DAType of
    // a structured DA or BDA), looked up once when the templates are read; null when there is
    // none or the type is not followed (no type, an enumeration).
    const TIEC_TplList* Sub = nullptr;
};

// The file's DataTypeTemplates, indexed by id. Every template with a given id contributes its
// children, in document order, so two templates with one id act as one with both child lists.
struct TIEC_Templates {
    QHash<String, TIEC_TplList> LNodeTypes;
    QHash<String, TIEC_TplList> DOTypes;
    QHash<String, TIEC_TplList> DATypes;
};

// The texts of a device by number, in chunks that never move, so that references to them stay
// valid while more are added.
struct TIEC_TextStore {
    static constexpr uint32_t ChunkBits = 8, ChunkSize = 1u << ChunkBits;
    const String& operator[](uint32_t id) const { return Chunks[id >> ChunkBits][id & (ChunkSize - 1)]; }
    uint32_t Add(String s) {
        if ((Count & (ChunkSize - 1)) == 0) Chunks.emplace_back(new String[ChunkSize]);
        Chunks.back()[Count & (ChunkSize - 1)] = std::move(s);
        return Count++;
    }
    std::vector<std::unique_ptr<String[]>> Chunks;
    uint32_t Count = 0;
};

namespace {

// Whether the text s is the literal name (compared up to the literal's end, which stops at the
// end of s as well).
template <size_t N> inline bool Is(const char* s, const char (&name)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (s[i] != name[i]) return false;
    return true;
}

// Whether n is an element named name. Only elements have names among the nodes that the
// decoder's parse options keep (texts have an empty one).
template <size_t N> inline bool NameIs(pugi::xml_node n, const char (&name)[N]) {
    return Is(n.name(), name);
}

// Converts attribute texts, sharing one String per distinct text: names, types and functional
// constraints repeat all over a file, and shared strings keep the model small. Each distinct
// text also has a number, so that texts can be compared and indexed as numbers while decoding.
// The Strings go to a store that the device keeps (its objects refer to them); the index is
// dropped with the pool.
class TTextPool {
public:
    TTextPool() : FSlots(1024), FStore(std::make_shared<TIEC_TextStore>()) {}

    // The number of the text s (a new one for a text not seen before).
    uint32_t Id(const char* s) {
        if (!*s) return FEmpty != NoId ? FEmpty : (FEmpty = Add(s, 0, 0));
        // FNV-1a over the text, finding its length on the way, its bits mixed at the end (the
        // table takes the low ones).
        uint32_t h = 2166136261u;
        const char* e = s;
        for (; *e; ++e) h = (h ^ uint8_t(*e)) * 16777619u;
        h ^= h >> 16;
        h *= 0x85ebca6bu;
        h ^= h >> 13;
        const uint32_t len = uint32_t(e - s);
        const size_t mask = FSlots.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            const TSlot& slot = FSlots[i];
            if (slot.Id == NoId) return Add(s, len, h);
            if (slot.Hash == h && slot.Len == len && Same(FKeys.data() + slot.Offset, s, len)) return slot.Id;
        }
    }
    const String& Str(uint32_t id) const { return (*FStore)[id]; }
    const String& Get(const char* s) { return Str(Id(s)); }
    // The attribute's text, or an empty text when the element does not have it.
    const String& Attr(pugi::xml_node n, const char* name) { return Get(n.attribute(name).value()); }
    // The Strings, for the device to keep.
    std::shared_ptr<const TIEC_TextStore> Store() const { return FStore; }

private:
    static constexpr uint32_t NoId = ~0u;
    static bool Same(const char* a, const char* b, uint32_t len) {
        if (len > 16) return std::memcmp(a, b, len) == 0;
        for (uint32_t i = 0; i < len; ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    struct TSlot {
        uint32_t Offset = 0, Len = 0, Hash = 0, Id = NoId;
    };
    // A text not seen before (the empty text has no slot).
    [[gnu::noinline]] uint32_t Add(const char* s, uint32_t len, uint32_t h) {
        const uint32_t id = FStore->Add(String::fromUtf8(s, qsizetype(len)));
        if (len == 0) return id;
        const size_t mask = FSlots.size() - 1;
        size_t i = h & mask;
        while (FSlots[i].Id != NoId) i = (i + 1) & mask;
        FSlots[i] = {uint32_t(FKeys.size()), len, h, id};
        FKeys.insert(FKeys.end(), s, s + len);
        if (size_t(id) * 2 > FSlots.size()) Grow();
        return id;
    }
    void Grow() {
        std::vector<TSlot> old(FSlots.size() * 2);
        old.swap(FSlots);
        const size_t mask = FSlots.size() - 1;
        for (const TSlot& slot : old) {
            if (slot.Id == NoId) continue;
            size_t i = slot.Hash & mask;
            while (FSlots[i].Id != NoId) i = (i + 1) & mask;
            FSlots[i] = slot;
        }
    }
    std::vector<TSlot> FSlots; // open addressing; a power of two, at most half full
    std::vector<char> FKeys;   // the texts' bytes, one after the other
    uint32_t FEmpty = NoId;    // the empty text's number, once it has one
    std::shared_ptr<TIEC_TextStore> FStore;
};

void ReadTemplates(pugi::xml_node dtt, TTextPool& pool, TIEC_Templates& t) {
    for (pugi::xml_node tpl = dtt.first_child(); tpl; tpl = tpl.next_sibling()) {
        enum { LNodeType, DOType, DAType } kind;
        QHash<String, TIEC_TplList>* map;
        if (NameIs(tpl, "LNodeType")) {
            kind = LNodeType;
            map = &t.LNodeTypes;
        } else if (NameIs(tpl, "DOType")) {
            kind = DOType;
            map = &t.DOTypes;
        } else if (NameIs(tpl, "DAType")) {
            kind = DAType;
            map = &t.DATypes;
        } else {
            continue;
        }
        TIEC_TplList& list = (*map)[pool.Attr(tpl, "id")];
        for (pugi::xml_node c = tpl.first_child(); c; c = c.next_sibling()) {
            TIEC_TplChild ch;
            if (kind == LNodeType) {
                if (!NameIs(c, "DO")) continue;
            } else if (kind == DAType) {
                if (!NameIs(c, "BDA")) continue;
            } else if (NameIs(c, "SDO")) {
                ch.IsSDO = true;
            } else if (!NameIs(c, "DA")) {
                continue;
            }
            ch.Name = &pool.Attr(c, "name");
            pugi::xml_attribute type = c.attribute("type");
            ch.HasType = bool(type);
            ch.Type = &pool.Get(type.value());
            ch.bType = &pool.Attr(c, "bType");
            pugi::xml_attribute fc = c.attribute("fc");
            ch.HasFC = bool(fc);
            ch.FC = &pool.Get(fc.value());
            list.push_back(std::move(ch));
        }
    }

    // The types the children expand to. The maps are complete now, so pointers to their lists
    // stay valid.
    auto find = [](const QHash<String, TIEC_TplList>& map, const String& id) -> const TIEC_TplList* {
        auto it = map.constFind(id);
        return it == map.constEnd() ? nullptr : &*it;
    };
    for (TIEC_TplList& list : t.LNodeTypes)
        for (TIEC_TplChild& c : list)
            if (!c.Type->isEmpty()) c.Sub = find(t.DOTypes, *c.Type);
    for (TIEC_TplList& list : t.DOTypes)
        for (TIEC_TplChild& c : list)
            if (c.IsSDO ? !c.Type->isEmpty() : c.HasType && *c.bType != QLatin1String("Enum"))
                c.Sub = find(c.IsSDO ? t.DOTypes : t.DATypes, *c.Type);
    for (TIEC_TplList& list : t.DATypes)
        for (TIEC_TplChild& c : list)
            // The type of an enumerated attribute names an enumeration, which is not followed.
            if (c.HasType && *c.bType != QLatin1String("Enum")) c.Sub = find(t.DATypes, *c.Type);
}

// A logical node by its logical device's position and the numbers of its class, prefix and
// instance texts.
struct TLNName {
    uint32_t LDevice, Class, Prefix, Inst;
    bool operator==(const TLNName&) const = default;
};

// The logical nodes of a device by name: an open-addressing table that keeps the first node of
// each name (the first in the file).
class TLNTable {
public:
    void Build(const std::vector<std::pair<TLNName, TIEC_LN*>>& nodes) {
        size_t size = 16;
        while (size < nodes.size() * 2) size *= 2;
        FSlots.assign(size, {});
        for (const auto& [name, ln] : nodes) {
            TSlot& slot = Find(name);
            if (!slot.LN) slot = {name, ln};
        }
    }
    TIEC_LN* Get(const TLNName& name) const { return FSlots.empty() ? nullptr : Find(name).LN; }

private:
    struct TSlot {
        TLNName Name{};
        TIEC_LN* LN = nullptr;
    };
    static size_t Hash(const TLNName& n) {
        uint64_t h = n.LDevice;
        for (uint32_t v : {n.Class, n.Prefix, n.Inst}) h = (h ^ v) * 0x9E3779B97F4A7C15ull;
        return size_t(h ^ (h >> 29));
    }
    // The slot of name, or the empty slot where it would go.
    TSlot& Find(const TLNName& name) const {
        const size_t mask = FSlots.size() - 1;
        for (size_t i = Hash(name) & mask;; i = (i + 1) & mask)
            if (!FSlots[i].LN || FSlots[i].Name == name) return const_cast<TSlot&>(FSlots[i]);
    }
    std::vector<TSlot> FSlots;
};

// A data-set member as the file names it (numbers of its texts), kept until every logical
// device is known.
struct TPendingMember {
    TIEC_DataSet* DataSet;
    uint32_t LdInst, Prefix, LnClass, LnInst, DoName, DaName, FC;
};

} // namespace

// Expands data objects of one logical node from the templates.
class TIEC_Expander {
public:
    explicit TIEC_Expander(const TIEC_LN* ln, Int64& deviceCount) : FLN(ln), FDeviceCount(deviceCount) {}

    // A data object of the node (Parent null) or a sub-data object, with all it holds.
    TIEC_DO* NewDO(const TIEC_DO* Parent, const TIEC_TplChild& c);

    bool CutShort = false;

private:
    void DecodeDO(TIEC_DO* d, const TIEC_TplChild& c);
    // fcFather: the functional constraint of the attribute holding this one (null: none).
    void DecodeDA(TIEC_DA* a, const TIEC_TplChild& c, const String* fcFather);

    bool Take() {
        if (FLN->FNodeCount >= IEC_MaxNodesPerLN || FDeviceCount >= IEC_MaxNodesPerDevice) {
            CutShort = true;
            return false;
        }
        ++FLN->FNodeCount;
        ++FDeviceCount;
        return true;
    }
    static bool OnPath(const std::vector<const TIEC_TplList*>& path, const TIEC_TplList* type) {
        for (const TIEC_TplList* p : path)
            if (p == type) return true;
        return false;
    }

    const TIEC_LN* FLN;
    Int64& FDeviceCount;
    std::vector<const TIEC_TplList*> FDOPath, FDAPath; // types being expanded on the current path
};

// Builds the model; a friend of the model classes.
class TIEC_Decoder {
public:
    static void Decode(TIEC_Device* dev, TXMLDocument& doc);
    // The children of the LNodeType lnType, or null when there is none.
    static const TIEC_TplList* LNodeType(const TIEC_Device* dev, const String& lnType) {
        if (!dev || !dev->FTemplates || lnType.isEmpty()) return nullptr;
        const TIEC_Templates& t = *dev->FTemplates;
        auto it = t.LNodeTypes.constFind(lnType);
        return it == t.LNodeTypes.constEnd() ? nullptr : &*it;
    }

private:
    explicit TIEC_Decoder(TIEC_Device* dev) : FDev(dev) {}
    void DecodeServer(pugi::xml_node server);
    // Position of the member's logical device in the device's list, or -1.
    ptrdiff_t FindLDevice(uint32_t ldInst);
    TIEC_DA* Resolve(const TPendingMember& m);
    TPendingMember Member(TIEC_DataSet* ds, pugi::xml_node fcda);

    TIEC_Device* FDev;
    TTextPool FPool;
    std::vector<std::pair<TLNName, TIEC_LN*>> FLNNames; // every logical node, in file order
    TLNTable FLNs;
    std::unordered_map<uint32_t, size_t> FLDByInst; // the first logical device of each inst
    QHash<String, size_t> FLDByReference;           // the same by full name, made when first needed
};

TIEC_DO* TIEC_Expander::NewDO(const TIEC_DO* Parent, const TIEC_TplChild& c) {
    TIEC_DO* d = new TIEC_DO;
    d->FParentDO = Parent;
    d->FParentLN = Parent ? nullptr : FLN;
    d->FName = c.Name;
    DecodeDO(d, c);
    return d;
}

void TIEC_Expander::DecodeDO(TIEC_DO* d, const TIEC_TplChild& c) {
    if (!c.Sub) return;
    if (OnPath(FDOPath, c.Sub)) return; // a type that contains itself: not expanded again
    FDOPath.push_back(c.Sub);
    for (const TIEC_TplChild& ch : *c.Sub) {
        if (!Take()) break;
        if (ch.IsSDO) {
            d->FList_DO.push_back(NewDO(d, ch));
        } else {
            TIEC_DA* a = new TIEC_DA;
            a->FParentDO = d;
            d->FList_DA.push_back(a);
            DecodeDA(a, ch, nullptr);
        }
    }
    FDOPath.pop_back();
}

void TIEC_Expander::DecodeDA(TIEC_DA* a, const TIEC_TplChild& c, const String* fcFather) {
    a->FFC = c.HasFC ? c.FC : fcFather;
    a->FbType = c.bType;
    a->FName = c.Name;
    if (!c.Sub || OnPath(FDAPath, c.Sub)) return;
    FDAPath.push_back(c.Sub);
    for (const TIEC_TplChild& ch : *c.Sub) {
        if (!Take()) break;
        TIEC_DA* sub = new TIEC_DA;
        sub->FParentDA = a;
        a->FList_DA.push_back(sub);
        DecodeDA(sub, ch, a->FFC);
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
    if (FReference) return *FReference;
    String parent = FParentDA ? FParentDA->Reference() : FParentDO ? FParentDO->Reference() : String();
    return parent + QLatin1Char('.') + Name();
}

String TIEC_DO::Reference() const {
    String parent = FParentDO ? FParentDO->Reference() : FParentLN ? FParentLN->Reference() : String();
    return parent + QLatin1Char('.') + Name();
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
    return l + QLatin1Char('/') + Prefix() + lnClass() + Inst();
}

const std::vector<TIEC_DO*>& TIEC_LN::List_DO() const {
    if (!FExpanded) Expand();
    return FList_DO;
}

void TIEC_LN::NoteCutShort() const {
    FCutShort = true;
    TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    if (dev)
        dev->FWarnings << "Logical node " + Reference() +
                              ": its types nest too deeply or the device is too large; not every object and "
                              "attribute is shown";
}

void TIEC_LN::Expand() const {
    FExpanded = true;
    TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    const TIEC_TplList* type = TIEC_Decoder::LNodeType(dev, lnType());
    if (!type) return;
    if (FList_DO.empty()) FList_DO.resize(type->size());
    TIEC_Expander x(this, dev->FNodeCount);
    for (size_t i = 0; i < type->size() && !FCutShort; ++i) {
        if (FList_DO[i]) continue; // expanded on its own before
        FList_DO[i] = x.NewDO(nullptr, (*type)[i]);
        if (x.CutShort) NoteCutShort();
    }
    // Cut short: the objects not reached are left out.
    if (FCutShort) std::erase(FList_DO, nullptr);
}

TIEC_DO* TIEC_LN::TopDO(QStringView DO_Name) const {
    if (FExpanded) {
        for (TIEC_DO* d : FList_DO)
            if (d->Name() == DO_Name) return d;
        return nullptr;
    }
    TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    const TIEC_TplList* type = TIEC_Decoder::LNodeType(dev, lnType());
    if (!type) return nullptr;
    if (FList_DO.empty()) FList_DO.resize(type->size());
    for (size_t i = 0; i < type->size(); ++i) {
        if (*(*type)[i].Name != DO_Name) continue;
        if (!FList_DO[i] && !FCutShort) {
            TIEC_Expander x(this, dev->FNodeCount);
            FList_DO[i] = x.NewDO(nullptr, (*type)[i]);
            if (x.CutShort) NoteCutShort();
        }
        return FList_DO[i];
    }
    return nullptr;
}

TIEC_DO* TIEC_LN::Find_DO(const String& DO_Name) const {
    for (TIEC_DO* d : List_DO()) {
        if (d->Name() == DO_Name) return d;
        if (TIEC_DO* hit = d->Find_DO(DO_Name)) return hit;
    }
    return nullptr;
}

TIEC_LDevice::~TIEC_LDevice() {
    // The nodes are freed as TObject::Free would free them, all at once.
    for (TIEC_LN* ln : FList_LN) ln->BeforeDestruction();
    FList_LN.clear();
    FLNs.reset();
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
    doc.LoadFromFile(FileName_icd, XmlReadOnlyParseOptions);
    TIEC_Decoder::Decode(this, doc);
}

TIEC_Device::TIEC_Device(const QByteArray& Data, const String& FileName) {
    fFileName = FilePart(FileName);
    TXMLDocument doc(nullptr);
    doc.LoadFromXML(Data, XmlReadOnlyParseOptions);
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
    TIEC_Decoder decoder(dev);
    dev->fName = decoder.FPool.Attr(ied, "name");
    pugi::xml_node server = ied.child("AccessPoint").child("Server");
    if (!server) return;

    auto templates = std::make_shared<TIEC_Templates>();
    ReadTemplates(dtt, decoder.FPool, *templates);
    scl.remove_child(dtt); // read once; the model keeps what it needs of it
    dev->FTemplates = templates;
    dev->FTexts = decoder.FPool.Store();
    decoder.DecodeServer(server);
}

void TIEC_Decoder::DecodeServer(pugi::xml_node server) {
    TTextPool& pool = FPool;
    // First pass: logical devices, logical nodes and data sets. The data objects of a node come
    // from the templates when first asked for; the members of a data set are resolved once every
    // logical device is known, as they may lie in one that comes later in the file. A logical
    // device's part of the document is released as soon as it has been read (the pool has copied
    // the texts it needs), so the document and the model do not both have to be held whole.
    std::vector<TPendingMember> members;
    std::vector<pugi::xml_node> gooses; // the GOOSE controls of one node
    pugi::xml_node next;
    for (pugi::xml_node ldn = server.first_child(); ldn; ldn = next) {
        next = ldn.next_sibling();
        if (!NameIs(ldn, "LDevice")) continue;
        TIEC_LDevice* ld = new TIEC_LDevice;
        const size_t ldPos = FDev->FList_LDevice.size();
        FDev->FList_LDevice.push_back(ld);
        ld->FOwner = FDev;
        const uint32_t ldInst = pool.Id(ldn.attribute("inst").value());
        ld->fName = pool.Str(ldInst);
        ld->FReference = FDev->fName + ld->fName;
        FLDByInst.emplace(ldInst, ldPos);
        size_t count = 0;
        for (pugi::xml_node lnn = ldn.first_child(); lnn; lnn = lnn.next_sibling())
            if (NameIs(lnn, "LN") || NameIs(lnn, "LN0")) ++count;
        ld->FLNs.reset(new TIEC_LN[count]);
        ld->FList_LN.reserve(count);
        for (pugi::xml_node lnn = ldn.first_child(); lnn; lnn = lnn.next_sibling()) {
            if (!NameIs(lnn, "LN") && !NameIs(lnn, "LN0")) continue;
            TIEC_LN* ln = &ld->FLNs[ld->FList_LN.size()];
            TLNName name{uint32_t(ldPos), 0, 0, 0};
            ld->FList_LN.push_back(ln);
            ln->FOwner = ld;
            // The four attributes in one walk; the first of a name counts, as for attribute().
            bool cls = false, type = false, prefix = false, inst = false;
            for (pugi::xml_attribute a = lnn.first_attribute(); a; a = a.next_attribute()) {
                const char* n = a.name();
                if (!cls && Is(n, "lnClass")) {
                    name.Class = pool.Id(a.value());
                    cls = true;
                } else if (!type && Is(n, "lnType")) {
                    ln->FlnType = &pool.Get(a.value());
                    type = true;
                } else if (!prefix && Is(n, "prefix")) {
                    name.Prefix = pool.Id(a.value());
                    prefix = true;
                } else if (!inst && Is(n, "inst")) {
                    name.Inst = pool.Id(a.value());
                    inst = true;
                }
            }
            if (!type) ln->FlnType = &pool.Get("");
            if (!cls) name.Class = pool.Id("");
            if (!prefix) name.Prefix = pool.Id("");
            if (!inst) name.Inst = pool.Id("");
            ln->FlnClass = &pool.Str(name.Class);
            ln->FPrefix = &pool.Str(name.Prefix);
            ln->FInst = &pool.Str(name.Inst);
            FLNNames.emplace_back(name, ln);

            // A node without a type has no data sets and no GOOSE names either.
            if (ln->FlnType->isEmpty()) continue;
            gooses.clear();
            for (pugi::xml_node c = lnn.first_child(); c; c = c.next_sibling()) {
                if (NameIs(c, "GSEControl")) {
                    gooses.push_back(c);
                    continue;
                }
                if (!NameIs(c, "DataSet")) continue;
                TIEC_DataSet* ds = new TIEC_DataSet;
                ln->FList_DataSet.push_back(ds);
                ds->fName = pool.Attr(c, "name");
                ds->fReference = ln->Reference() + QLatin1Char('.') + ds->fName;
                for (pugi::xml_node f = c.first_child(); f; f = f.next_sibling())
                    if (NameIs(f, "FCDA")) members.push_back(Member(ds, f));
            }
            // Each GOOSE control names the first data set of its node with the name it gives.
            for (pugi::xml_node g : gooses) {
                const String name = pool.Attr(g, "name");
                const String datSet = pool.Attr(g, "datSet");
                if (name.isEmpty() || datSet.isEmpty()) continue;
                for (TIEC_DataSet* ds : ln->FList_DataSet)
                    if (ds->fName == datSet) {
                        ds->fGooseName = name;
                        break;
                    }
            }
        }
        server.remove_child(ldn);
    }
    if (!members.empty()) FLNs.Build(FLNNames);
    FLNNames = {};

    // Second pass: the members, in the order of the file.
    for (const TPendingMember& m : members) {
        if (TIEC_DA* a = Resolve(m)) {
            m.DataSet->FList_DA.push_back(a);
            continue;
        }
        const String& daName = pool.Str(m.DaName);
        FDev->FWarnings << "Data set " + m.DataSet->fReference + ": member " + pool.Str(m.LdInst) + "/" +
                               pool.Str(m.Prefix) + pool.Str(m.LnClass) + pool.Str(m.LnInst) + "." +
                               pool.Str(m.DoName) + (daName.isEmpty() ? String() : "." + daName) + " [" +
                               pool.Str(m.FC) + "] not found";
    }
}

// The texts of an FCDA; attributes read in one walk, the first of a name counting.
TPendingMember TIEC_Decoder::Member(TIEC_DataSet* ds, pugi::xml_node fcda) {
    const char* t[7] = {"", "", "", "", "", "", ""};
    bool seen[7] = {};
    for (pugi::xml_attribute a = fcda.first_attribute(); a; a = a.next_attribute()) {
        const char* n = a.name();
        const int i = Is(n, "ldInst")    ? 0
                      : Is(n, "prefix")  ? 1
                      : Is(n, "lnClass") ? 2
                      : Is(n, "lnInst")  ? 3
                      : Is(n, "doName")  ? 4
                      : Is(n, "daName")  ? 5
                      : Is(n, "fc")      ? 6
                                         : -1;
        if (i >= 0 && !seen[i]) {
            t[i] = a.value();
            seen[i] = true;
        }
    }
    TPendingMember m{ds, 0, 0, 0, 0, 0, 0, 0};
    uint32_t* ids[7] = {&m.LdInst, &m.Prefix, &m.LnClass, &m.LnInst, &m.DoName, &m.DaName, &m.FC};
    for (int i = 0; i < 7; ++i) *ids[i] = FPool.Id(t[i]);
    return m;
}

// The logical device whose inst is ldInst; else the one whose full name (IED name + inst) it is,
// as some tools write it.
ptrdiff_t TIEC_Decoder::FindLDevice(uint32_t ldInst) {
    auto it = FLDByInst.find(ldInst);
    if (it != FLDByInst.end()) return ptrdiff_t(it->second);
    if (FLDByReference.isEmpty())
        for (size_t i = 0; i < FDev->FList_LDevice.size(); ++i)
            FLDByReference.insert(FDev->FList_LDevice[i]->FReference, i); // keeps the first
    auto ref = FLDByReference.constFind(FPool.Str(ldInst));
    return ref == FLDByReference.constEnd() ? -1 : ptrdiff_t(*ref);
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

// The parts of a dotted name (A.phsB: A, phsB).
static std::vector<QStringView> Parts(const String& name) {
    std::vector<QStringView> parts;
    qsizetype from = 0;
    for (qsizetype dot; (dot = name.indexOf(QLatin1Char('.'), from)) >= 0; from = dot + 1)
        parts.push_back(QStringView(name).mid(from, dot - from));
    parts.push_back(QStringView(name).mid(from));
    return parts;
}

TIEC_DA* TIEC_Decoder::Resolve(const TPendingMember& m) {
    const String& doName = FPool.Str(m.DoName);
    const String& daName = FPool.Str(m.DaName);
    if (FPool.Str(m.LdInst).isEmpty() || FPool.Str(m.LnClass).isEmpty() || doName.isEmpty()) return nullptr;
    const ptrdiff_t ld = FindLDevice(m.LdInst);
    if (ld < 0) return nullptr;
    TIEC_LN* ln = FLNs.Get({uint32_t(ld), m.LnClass, m.Prefix, m.LnInst});
    if (!ln) return nullptr;

    // The data object: each part of a dotted doName names a sub-data object of the previous.
    TIEC_DO* d = nullptr;
    for (QStringView part : Parts(doName)) {
        TIEC_DO* next = nullptr;
        if (!d) {
            next = ln->TopDO(part); // only that object of the node is expanded
        } else {
            for (TIEC_DO* c : d->List_DO())
                if (c->Name() == part) {
                    next = c;
                    break;
                }
        }
        if (!next) return nullptr;
        d = next;
    }

    if (daName.isEmpty()) {
        const String& fc = FPool.Str(m.FC);
        if (!fc.isEmpty())
            if (TIEC_DA* a = FirstLeafWithFC(d->List_DA(), fc)) return a;
        return d->Find_First_DA();
    }
    // The attribute: each part of a dotted daName names a nested attribute of the previous.
    TIEC_DA* a = nullptr;
    for (QStringView part : Parts(daName)) {
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
