#include "UIEC_Device.h"

#include "XmlDoc.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <functional>
#include <new>
#include <type_traits>

#include <QVarLengthArray>

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
    int Count = 0; // the number of elements of an array (count attribute), else 0
    // Its place among the children of its kind in the object made from the list it belongs to
    // (the object's List_DO or List_DA); the numbers of sub-objects and attributes of Sub.
    uint32_t Slot = 0, SubSDOs = 0, SubDAs = 0;
    uint32_t NameHash = 0; // of Name's characters (see TIEC_Name)
    const String *Name, *Type, *bType, *FC;
    // The children of the type this child expands to (the DOType of a DO or SDO, the DAType of
    // a structured DA or BDA), looked up once when the templates are read; null when there is
    // none or the type is not followed (no type, an enumeration).
    const TIEC_TplList* Sub = nullptr;
};

// A name a data-set member gives (a part of its doName or daName), as the file writes it (UTF-8),
// with the hash of its characters when it is ASCII.
struct TIEC_Name {
    std::string_view Text;
    uint32_t Hash = 0;
    bool Ascii = true;

    // Whether the model's name s is this one.
    bool Is(const String& s) const {
        const size_t n = Text.size();
        if (!Ascii) return s == String::fromUtf8(Text.data(), qsizetype(n));
        if (size_t(s.size()) != n) return false;
        const QChar* c = s.constData();
        for (size_t i = 0; i < n; ++i)
            if (c[i].unicode() != uint8_t(Text[i])) return false;
        return true;
    }
    // Whether the template child c has this name.
    bool Is(const TIEC_TplChild& c) const { return (!Ascii || c.NameHash == Hash) && Is(*c.Name); }
};

// The file's DataTypeTemplates, indexed by id. Every template with a given id contributes its
// children, in document order, so two templates with one id act as one with both child lists.
struct TIEC_Templates {
    // The LNodeType of an lnType text (texts are kept once per device, so one text, one
    // pointer), filled as nodes ask.
    mutable QHash<const String*, const TIEC_TplList*> LNodeTypeOf;
    QHash<String, TIEC_TplList> LNodeTypes;
    QHash<String, TIEC_TplList> DOTypes;
    QHash<String, TIEC_TplList> DATypes;
};

// The texts of a device by number, in chunks that never move, so that references to them stay
// valid while more are added. A text is kept as the file's bytes and made a String the first time
// it is asked for: most texts that occur once (a node's instance number) are never looked at.
struct TIEC_TextStore {
    static constexpr uint32_t ChunkBits = 8, ChunkSize = 1u << ChunkBits;
    const String& operator[](uint32_t id) const {
        TText& t = Chunks[id >> ChunkBits][id & (ChunkSize - 1)];
        if (!t.Made) Make(t);
        return t.Str;
    }
    // A text of Len bytes (UTF-8) at S.
    uint32_t Add(const char* S, uint32_t Len) {
        if ((Count & (ChunkSize - 1)) == 0) Chunks.emplace_back(new TText[ChunkSize]);
        TText& t = Chunks.back()[Count & (ChunkSize - 1)];
        t.Offset = uint32_t(Bytes.size());
        t.Len = Len;
        Bytes.insert(Bytes.end(), S, S + Len);
        return Count++;
    }
    struct TText {
        String Str;
        uint32_t Offset = 0;
        uint32_t Len : 31 = 0;
        uint32_t Made : 1 = 0;
    };
    // Out of line, so that asking for a text already made stays a few instructions in place.
    [[gnu::noinline]] void Make(TText& t) const {
        const char* s = Bytes.data() + t.Offset;
        t.Str =
            Ascii(s, t.Len) ? String::fromLatin1(s, qsizetype(t.Len)) : String::fromUtf8(s, qsizetype(t.Len));
        t.Made = 1;
    }
    // Appends the text id to Out without making it a String of its own (a reference that holds a
    // text asked for nowhere else). Out's capacity is best reserved for Bytes(id) more.
    void AppendTo(String& Out, uint32_t id) const {
        const TText& t = Chunks[id >> ChunkBits][id & (ChunkSize - 1)];
        const char* s = Bytes.data() + t.Offset;
        if (t.Made)
            Out += t.Str;
        else if (Ascii(s, t.Len))
            Out += QLatin1StringView(s, qsizetype(t.Len));
        else
            Out += String::fromUtf8(s, qsizetype(t.Len));
    }
    // The length of the text id in bytes (at least its length as a String).
    uint32_t Length(uint32_t id) const { return Chunks[id >> ChunkBits][id & (ChunkSize - 1)].Len; }
    static bool Ascii(const char* s, uint32_t Len) {
        bool ascii = true;
        for (uint32_t i = 0; i < Len; ++i) ascii &= uint8_t(s[i]) < 0x80;
        return ascii;
    }
    std::vector<std::unique_ptr<TText[]>> Chunks;
    std::vector<char> Bytes; // the texts' bytes, one after the other
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

// The hash of a name by its characters (FNV-1a): the same for a String and for the UTF-8 text of
// an ASCII name.
template <class C> inline uint32_t HashOfName(const C* s, size_t n) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) h = (h ^ uint32_t(s[i])) * 16777619u;
    return h;
}

// Whether two texts are equal (short ones, compared in place).
inline bool Same(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (*a != *b) return false;
        if (!*a) return true;
    }
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
            if (slot.Hash == h && slot.Len == len && Same(FStore->Bytes.data() + slot.Offset, s, len))
                return slot.Id;
        }
    }
    // The number of the text s, kept without looking for an equal one (a text that mostly occurs
    // once, such as a node's instance number).
    uint32_t Keep(const char* s) { return FStore->Add(s, uint32_t(std::strlen(s))); }
    const String& Str(uint32_t id) const { return (*FStore)[id]; }
    const String& Get(const char* s) { return Str(Id(s)); }
    // The attribute's text, or an empty text when the element does not have it.
    const String& Attr(pugi::xml_node n, const char* name) { return Get(n.attribute(name).value()); }
    // The Strings, for the device to keep.
    std::shared_ptr<const TIEC_TextStore> Store() const { return FStore; }
    const TIEC_TextStore& Texts() const { return *FStore; }
    // Releases the index: no more texts are added, Str still answers.
    void DropIndex() { FSlots = {}; }

private:
    static constexpr uint32_t NoId = ~0u;
    static bool Same(const char* a, const char* b, uint32_t len) {
        if (len > 16) return std::memcmp(a, b, len) == 0;
        for (uint32_t i = 0; i < len; ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    struct TSlot {
        uint32_t Offset = 0, Len = 0, Hash = 0, Id = NoId; // Offset: of its bytes in the store
    };
    // A text not seen before (the empty text has no slot).
    [[gnu::noinline]] uint32_t Add(const char* s, uint32_t len, uint32_t h) {
        const uint32_t offset = uint32_t(FStore->Bytes.size());
        const uint32_t id = FStore->Add(s, len);
        if (len == 0) return id;
        const size_t mask = FSlots.size() - 1;
        size_t i = h & mask;
        while (FSlots[i].Id != NoId) i = (i + 1) & mask;
        FSlots[i] = {offset, len, h, id};
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
    uint32_t FEmpty = NoId;    // the empty text's number, once it has one
    std::shared_ptr<TIEC_TextStore> FStore;
};

// The number of elements of an array: a count written as a decimal number (an attribute name in
// its place, whose value only instances give, does not make an array of the template).
int ArrayCount(const char* s) {
    if (!*s) return 0;
    int64_t n = 0;
    for (; *s; ++s) {
        if (*s < '0' || *s > '9') return 0;
        n = n * 10 + (*s - '0');
        if (n > INT32_MAX) return 0;
    }
    return int(n);
}

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
            ch.NameHash =
                HashOfName(reinterpret_cast<const char16_t*>(ch.Name->constData()), size_t(ch.Name->size()));
            pugi::xml_attribute type = c.attribute("type");
            ch.HasType = bool(type);
            ch.Type = &pool.Get(type.value());
            ch.bType = &pool.Attr(c, "bType");
            pugi::xml_attribute fc = c.attribute("fc");
            ch.HasFC = bool(fc);
            ch.FC = &pool.Get(fc.value());
            ch.Count = ArrayCount(c.attribute("count").value());
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
    // Places and numbers, for objects that are made a child at a time.
    for (auto* map : {&t.LNodeTypes, &t.DOTypes, &t.DATypes})
        for (TIEC_TplList& list : *map) {
            uint32_t sdos = 0, das = 0;
            for (TIEC_TplChild& c : list) c.Slot = c.IsSDO ? sdos++ : das++;
        }
    for (auto* map : {&t.LNodeTypes, &t.DOTypes, &t.DATypes})
        for (TIEC_TplList& list : *map)
            for (TIEC_TplChild& c : list)
                if (c.Sub)
                    for (const TIEC_TplChild& s : *c.Sub) ++(s.IsSDO ? c.SubSDOs : c.SubDAs);
}

// A text of the parsed file as the parser left it: UTF-8, ended by a zero byte. Such texts stay
// where the parser put them until the members are resolved.
using TRawText = const char*;

// Whether two texts of the file are equal.
inline bool SameRaw(TRawText a, TRawText b) {
    return a == b || Same(a, b);
}

// A logical node by its logical device's position and its class, prefix and instance as the
// file gives them.
struct TLNName {
    uint32_t LDevice;
    TRawText Class, Prefix, Inst;
    uint32_t TextHash; // of the three texts (TextHashOf), taken while they are at hand
};

// FNV-1a over a node's class, prefix and instance, each with its end.
inline uint32_t TextHashOf(TRawText Class, TRawText Prefix, TRawText Inst) {
    uint32_t h = 2166136261u;
    for (TRawText s : {Class, Prefix, Inst}) {
        for (; *s; ++s) h = (h ^ uint8_t(*s)) * 16777619u;
        h = (h ^ 0xFFu) * 16777619u;
    }
    return h;
}

// The logical nodes of a device by name: an open-addressing table over the decoder's list of
// nodes that keeps the first node of each name (the first in the file). A slot holds the name's
// hash and the node's place in the list, so that the table stays small.
class TLNTable {
public:
    using TNames = std::vector<std::pair<TLNName, TIEC_LN*>>;
    void Build(const TNames& nodes) {
        FNodes = &nodes;
        size_t size = 16;
        while (size < nodes.size() * 2) size *= 2;
        FSlots.assign(size, {});
        for (uint32_t n = 0; n < nodes.size(); ++n) {
            const uint32_t h = Hash(nodes[n].first);
            TSlot& slot = Find(nodes[n].first, h);
            if (slot.Node == NoNode) slot = {h, n};
        }
    }
    TIEC_LN* Get(const TLNName& name) const {
        if (FSlots.empty()) return nullptr;
        const TSlot& slot = Find(name, Hash(name));
        return slot.Node == NoNode ? nullptr : (*FNodes)[slot.Node].second;
    }

private:
    static constexpr uint32_t NoNode = ~0u;
    struct TSlot {
        uint32_t Hash = 0, Node = NoNode;
    };
    static uint32_t Hash(const TLNName& n) {
        // The texts' hash and the logical device, the bits mixed at the end (the table takes the
        // low ones).
        uint32_t h = (n.TextHash ^ n.LDevice) * 16777619u;
        h ^= h >> 16;
        h *= 0x85ebca6bu;
        h ^= h >> 13;
        return h;
    }
    static bool Equal(const TLNName& a, const TLNName& b) {
        return a.LDevice == b.LDevice && SameRaw(a.Class, b.Class) && SameRaw(a.Prefix, b.Prefix) &&
               SameRaw(a.Inst, b.Inst);
    }
    // The slot of name, or the empty slot where it would go.
    TSlot& Find(const TLNName& name, uint32_t h) const {
        const size_t mask = FSlots.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            const TSlot& slot = FSlots[i];
            if (slot.Node == NoNode || (slot.Hash == h && Equal((*FNodes)[slot.Node].first, name)))
                return const_cast<TSlot&>(slot);
        }
    }
    std::vector<TSlot> FSlots;
    const TNames* FNodes = nullptr;
};

// A data-set member as the file names it, kept until every logical device is known.
struct TPendingMember {
    TIEC_DataSet* DataSet;
    TRawText LdInst, Prefix, LnClass, LnInst, DoName, DaName, FC;
    uint32_t LNTextHash; // of the node's texts, as TLNName::TextHash
};

// Hashes std::string and std::string_view alike, so that a map keyed by std::string is searched
// with a view.
struct TTextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};

// The members in file order, in blocks that are freed as the members are taken from the front.
class TMemberQueue {
public:
    bool empty() const { return FFront == FCount; }
    void push_back(const TPendingMember& m) {
        if (FCount % BlockSize == 0) FBlocks.emplace_back(new TPendingMember[BlockSize]);
        FBlocks.back()[FCount++ % BlockSize] = m;
    }
    const TPendingMember& front() const { return FBlocks[FFront / BlockSize][FFront % BlockSize]; }
    void pop_front() {
        if (++FFront % BlockSize == 0) FBlocks[FFront / BlockSize - 1].reset();
    }

private:
    static constexpr size_t BlockSize = 256;
    std::vector<std::unique_ptr<TPendingMember[]>> FBlocks;
    size_t FCount = 0, FFront = 0;
};

// Thrown where a file cannot be read piece by piece: it is then parsed whole.
struct TParseWhole {};

} // namespace

// Memory for the model's data sets, data objects and attributes: taken in blocks, one row of
// objects of a kind each, and given back all at once with the device, which destroys the
// objects a block at a time; their owners only refer to them. Expanding a node makes many small
// objects; one allocation each, and a walk through the model to free them, would cost more in
// time and in the allocator's overhead than the objects themselves.
class TIEC_Arena {
public:
    template <class T> T* Make() {
        T* p = Chain<T>().Make();
        if constexpr (!std::is_same_v<T, TIEC_DataSet>) p->FInArena = true;
        return p;
    }
    // An array of n null pointers.
    template <class T> T** Slots(size_t n) {
        const size_t size = n * sizeof(T*);
        if (FLeft < size) {
            FBlockSize = std::min<size_t>(FBlockSize * 2, MaxBlock);
            FBlocks.emplace_back(
                new std::max_align_t[(std::max(FBlockSize, size) + sizeof(std::max_align_t) - 1) /
                                     sizeof(std::max_align_t)]);
            FNext = reinterpret_cast<char*>(FBlocks.back().get());
            FLeft = std::max(FBlockSize, size);
        }
        T** p = reinterpret_cast<T**>(FNext);
        std::fill_n(p, n, nullptr);
        FNext += size;
        FLeft -= size;
        return p;
    }

private:
    // Objects of one class, in blocks that grow to MaxObjects objects.
    template <class T> class TChain {
    public:
        TChain() = default;
        TChain(const TChain&) = delete;
        TChain& operator=(const TChain&) = delete;
        ~TChain() {
            // The objects are exactly of class T: their destructors are called directly (no
            // BeforeDestruction, which these classes leave as TObject's).
            for (const TBlock& b : FBlocks) {
                for (size_t i = 0; i < b.Count; ++i) b.Objects[i].T::~T();
                ::operator delete(b.Objects);
            }
        }
        T* Make() {
            if (FBlocks.empty() || FBlocks.back().Count == FCapacity) {
                FCapacity = FBlocks.empty() ? 16 : std::min<size_t>(FCapacity * 2, MaxObjects);
                FBlocks.push_back({static_cast<T*>(::operator new(FCapacity * sizeof(T))), 0});
            }
            TBlock& b = FBlocks.back();
            T* p = new (b.Objects + b.Count) T;
            ++b.Count;
            return p;
        }

    private:
        static constexpr size_t MaxObjects = 512;
        struct TBlock {
            T* Objects;
            size_t Count;
        };
        std::vector<TBlock> FBlocks;
        size_t FCapacity = 0; // of the last block
    };
    template <class T> TChain<T>& Chain() {
        if constexpr (std::is_same_v<T, TIEC_DO>)
            return FDOs;
        else if constexpr (std::is_same_v<T, TIEC_DA>)
            return FDAs;
        else
            return FDataSets;
    }

    static constexpr size_t MaxBlock = 64 * 1024;
    std::vector<std::unique_ptr<std::max_align_t[]>> FBlocks; // the places of shells' children
    char* FNext = nullptr;
    size_t FLeft = 0;
    size_t FBlockSize = 1024;
    TChain<TIEC_DataSet> FDataSets;
    TChain<TIEC_DO> FDOs;
    TChain<TIEC_DA> FDAs;
};

// Helpers over the model's private parts.
struct TIEC_Model {
    template <class T> static bool InArena(const T* p) {
        if constexpr (std::is_same_v<T, TIEC_DA> || std::is_same_v<T, TIEC_DO>)
            return p->FInArena;
        else
            return false;
    }
    // The level of an object below its logical node (1: an object of the node).
    static int LevelOf(const TIEC_DO* d) {
        int level = 1;
        for (; d->FParentIsDO; d = static_cast<const TIEC_DO*>(d->FParent)) ++level;
        return level;
    }
    static int LevelOf(const TIEC_DA* a) {
        int level = 1;
        for (; a->FParentIsDA; a = static_cast<const TIEC_DA*>(a->FParent)) ++level;
        const TIEC_DO* d = static_cast<const TIEC_DO*>(a->FParent);
        return d ? level + LevelOf(d) : level;
    }
    static String ReferenceOf(const TIEC_DO* d, QVarLengthArray<const String*, 16>& names);
};

namespace {

// Frees the objects of an owned list; those made in the arena are left to it.
template <class T> void FreeOne(T* p) {
    if (p && !TIEC_Model::InArena(p)) TObject::Free(p);
}

template <class T> void FreeAll(std::vector<T*>& list) {
    for (T* p : list) FreeOne(p);
    list.clear();
}

const std::vector<TIEC_DA*> NoDAs;
const std::vector<TIEC_DO*> NoDOs;

} // namespace

// Expands data objects of one logical node from the templates. An object is made whole (NewDO,
// NewDA: with everything below it), or as a shell (Shell*: its children made one at a time, as a
// data-set member's path needs them, each in its place) and completed later (Complete*), with
// the same result as if it had been made whole. Only shells and the objects the expander made
// whole are ever in the model half-made, and never where the model's users can reach them: a
// logical node completes its objects before it hands them out.
class TIEC_Expander {
public:
    TIEC_Expander(const TIEC_LN* ln, TIEC_Device* dev) : FLN(ln), FDev(dev) {}

    // A data object (at Level: 1 for an object of the node) with all it holds.
    TIEC_DO* NewDO(const TObject* Parent, bool ParentIsDO, const TIEC_TplChild& c, int Level);
    // An attribute with all it holds.
    TIEC_DA* NewDA(const TObject* Parent, bool ParentIsDA, const TIEC_TplChild& c, int Level);
    // An object or attribute without its children, or nullptr when the budget is spent.
    TIEC_DO* ShellDO(const TObject* Parent, bool ParentIsDO, const TIEC_TplChild& c);
    TIEC_DA* ShellDA(const TObject* Parent, bool ParentIsDA, const TIEC_TplChild& c);
    template <class T> T** Slots(size_t n) { return Arena().Slots<T>(n); }
    // Down a member's path: the child of d (at Level) named Name, made when it is not there yet;
    // the types on the path are noted as the expansion of d would note them.
    TIEC_DO* ChildDO(TIEC_DO* d, int Level, const TIEC_Name& Name);
    TIEC_DA* ChildDA(TIEC_DO* d, int Level, const TIEC_Name& Name);
    TIEC_DA* ChildDA(TIEC_DA* a, int Level, const TIEC_Name& Name);
    // Makes what d (at Level) lacks below it; with the budget spent, only closes the gaps.
    void CompleteDO(TIEC_DO* d, int Level);
    void CompleteDA(TIEC_DA* a, int Level);
    // Before expanding an element of an array: the types being expanded on the path from the
    // logical node down to the array, as the array's own expansion saw them.
    void EnterPathOf(const TIEC_DO* d);
    void EnterPathOf(const TIEC_DA* a);

    bool CutShort = false; // the budget of the node or the device is spent
    bool TooDeep = false;  // a type nests deeper than IEC_MaxDepth

private:
    void DecodeDO(TIEC_DO* d, const TIEC_TplChild& c, int Level);
    void DecodeDA(TIEC_DA* a, const TIEC_TplChild& c, int Level);
    // The child of a shell made from t (at Level) named Name, of Kind (0 a sub-object, 1 an
    // attribute, -1 either), as its template gives it; null when the shell has no such child.
    const TIEC_TplChild* ShellChild(const TIEC_TplChild& t, int Level, bool DO, int Kind,
                                    const TIEC_Name& Name);
    // Whether the children of an object made from c at Level exist (DO: a data object).
    bool Expands(const TIEC_TplChild& c, int Level, bool DO) {
        return c.Sub && !OnPath(DO ? FDOPath : FDAPath, c.Sub) && Deeper(Level);
    }

    bool Take() {
        if (FLN->FNodeCount >= IEC_MaxNodesPerLN || FDev->FNodeCount >= IEC_MaxNodesPerDevice) {
            CutShort = true;
            return false;
        }
        ++FLN->FNodeCount;
        ++FDev->FNodeCount;
        return true;
    }
    // Whether the children of an object at Level may be made.
    bool Deeper(int Level) {
        if (Level < IEC_MaxDepth) return true;
        TooDeep = true;
        return false;
    }
    // The types on a path: held in place for the few levels real models have, so that resolving
    // a member allocates nothing for it.
    using TPath = QVarLengthArray<const TIEC_TplList*, 16>;
    static bool OnPath(const TPath& path, const TIEC_TplList* type) {
        for (const TIEC_TplList* p : path)
            if (p == type) return true;
        return false;
    }
    TIEC_Arena& Arena() {
        if (!FDev->FArena) FDev->FArena = std::make_unique<TIEC_Arena>();
        return *FDev->FArena;
    }

    const TIEC_LN* FLN;
    TIEC_Device* FDev;
    TPath FDOPath, FDAPath; // types being expanded on the current path
};

// A logical device as the decoder fills it.
struct TLDeviceBuild {
    TIEC_LDevice* LD;
    TIEC_LN* LLN0 = nullptr; // its first node of class LLN0
    TIEC_LN* Next = nullptr; // the next free node of its last block
    size_t BlockLeft = 0;    // nodes still free there
};

// Builds the model; a friend of the model classes. The file's parts come in through the
// methods below, in document order, from the piecewise reader or from a whole document.
class TIEC_Decoder {
public:
    // Decodes the file in Data (Size bytes, writable: parsed in place, released once read), or,
    // when it cannot be read piece by piece, the document that Load loads.
    static void Decode(TIEC_Device* dev, std::unique_ptr<char[]> Data, size_t Size,
                       const std::function<void(TXMLDocument&)>& Load);
    // The children of the LNodeType lnType, or null when there is none.
    // Kept: lnType is one of the device's texts (not one set on a node, which may change).
    static const TIEC_TplList* LNodeType(const TIEC_Device* dev, const String& lnType, bool Kept) {
        if (!dev || !dev->FTemplates || lnType.isEmpty()) return nullptr;
        const TIEC_Templates& t = *dev->FTemplates;
        if (!Kept) {
            auto it = t.LNodeTypes.constFind(lnType);
            return it == t.LNodeTypes.constEnd() ? nullptr : &*it;
        }
        auto known = t.LNodeTypeOf.constFind(&lnType);
        if (known != t.LNodeTypeOf.constEnd()) return *known;
        auto it = t.LNodeTypes.constFind(lnType);
        const TIEC_TplList* type = it == t.LNodeTypes.constEnd() ? nullptr : &*it;
        t.LNodeTypeOf.insert(&lnType, type);
        return type;
    }

    // The parts of a file.
    void IED(pugi::xml_node ied) { FIedName = &FPool.Attr(ied, "name"); }
    void Templates(pugi::xml_node dtt);
    void LDevice(pugi::xml_node ldn);
    void LN(pugi::xml_node lnn);
    // After the whole file: whether it had an IED, templates and a server in the IED.
    void Finish(bool HaveIED, bool HaveTemplates);

private:
    // The device refers to the texts from the start: nodes made a String of theirs when asked.
    explicit TIEC_Decoder(TIEC_Device* dev) : FDev(dev) { dev->FTexts = FPool.Store(); }
    static void Clear(TIEC_Device* dev);
    // The parts of a whole document; false when it has no IED or no templates.
    bool DecodeWhole(pugi::xml_node scl);
    // Position of the member's logical device in the device's list, or -1.
    ptrdiff_t FindLDevice(TRawText ldInst);
    TIEC_DA* Resolve(const TPendingMember& m, String& Why);
    TIEC_DA* ResolveIn(TIEC_LN* ln, TIEC_Expander& x, const TPendingMember& m, String& Why);
    TPendingMember Member(TIEC_DataSet* ds, pugi::xml_node fcda);
    template <class T> T* Element(T* Array, int Index, String& Why);
    TIEC_Arena& Arena() {
        if (!FDev->FArena) FDev->FArena = std::make_unique<TIEC_Arena>();
        return *FDev->FArena;
    }

    TIEC_Device* FDev;
    TTextPool FPool;
    const String* FIedName = nullptr;
    std::shared_ptr<TIEC_Templates> FTemplates;
    std::vector<TLDeviceBuild> FLDs;
    TMemberQueue FMembers;
    std::vector<pugi::xml_node> FGooses;                // the GOOSE controls of one node
    std::vector<std::pair<TLNName, TIEC_LN*>> FLNNames; // every logical node, in file order
    TLNTable FLNs;
    // The first logical device of each inst.
    std::unordered_map<std::string, size_t, TTextHash, std::equal_to<>> FLDByInst;
    QHash<String, size_t> FLDByReference; // the same by full name, made when first needed
    TRawText FLastLdInst = nullptr;       // the last ldInst looked up and what it gave
    ptrdiff_t FLastLd = -1;
};

TIEC_DO* TIEC_Expander::NewDO(const TObject* Parent, bool ParentIsDO, const TIEC_TplChild& c, int Level) {
    TIEC_DO* d = ShellDO(Parent, ParentIsDO, c);
    d->FPartial = false;
    DecodeDO(d, c, Level);
    return d;
}

TIEC_DA* TIEC_Expander::NewDA(const TObject* Parent, bool ParentIsDA, const TIEC_TplChild& c, int Level) {
    TIEC_DA* a = ShellDA(Parent, ParentIsDA, c);
    a->FPartial = false;
    DecodeDA(a, c, Level);
    return a;
}

TIEC_DO* TIEC_Expander::ShellDO(const TObject* Parent, bool ParentIsDO, const TIEC_TplChild& c) {
    TIEC_DO* d = Arena().Make<TIEC_DO>();
    d->FParent = Parent;
    d->FParentIsDO = ParentIsDO;
    d->FTpl = &c;
    d->FPartial = c.Sub != nullptr;
    return d;
}

TIEC_DA* TIEC_Expander::ShellDA(const TObject* Parent, bool ParentIsDA, const TIEC_TplChild& c) {
    TIEC_DA* a = Arena().Make<TIEC_DA>();
    a->FParent = Parent;
    a->FParentIsDA = ParentIsDA;
    a->FTpl = &c;
    a->FPartial = c.Sub != nullptr;
    return a;
}

void TIEC_Expander::DecodeDO(TIEC_DO* d, const TIEC_TplChild& c, int Level) {
    if (!Expands(c, Level, true)) return; // a type that contains itself is not expanded again
    d->FList_DO.reserve(c.SubSDOs);
    d->FList_DA.reserve(c.SubDAs);
    FDOPath.push_back(c.Sub);
    for (const TIEC_TplChild& ch : *c.Sub) {
        if (!Take()) break;
        if (ch.IsSDO)
            d->FList_DO.push_back(NewDO(d, true, ch, Level + 1));
        else
            d->FList_DA.push_back(NewDA(d, false, ch, Level + 1));
    }
    FDOPath.pop_back();
}

void TIEC_Expander::DecodeDA(TIEC_DA* a, const TIEC_TplChild& c, int Level) {
    if (!Expands(c, Level, false)) return;
    a->FList_DA.reserve(c.SubDAs);
    FDAPath.push_back(c.Sub);
    for (const TIEC_TplChild& ch : *c.Sub) {
        if (!Take()) break;
        a->FList_DA.push_back(NewDA(a, true, ch, Level + 1));
    }
    FDAPath.pop_back();
}

namespace {

template <class T> T* Named(const std::vector<T*>& list, const TIEC_Name& Name) {
    for (T* c : list)
        if (Name.Is(c->Name())) return c;
    return nullptr;
}

} // namespace

const TIEC_TplChild* TIEC_Expander::ShellChild(const TIEC_TplChild& t, int Level, bool DO, int Kind,
                                               const TIEC_Name& Name) {
    if (!Expands(t, Level, DO)) return nullptr;
    for (const TIEC_TplChild& ch : *t.Sub)
        if ((Kind < 0 || ch.IsSDO == (Kind == 0)) && Name.Is(ch)) {
            (DO ? FDOPath : FDAPath).push_back(t.Sub); // going down into the child
            return &ch;
        }
    return nullptr;
}

TIEC_DO* TIEC_Expander::ChildDO(TIEC_DO* d, int Level, const TIEC_Name& Name) {
    if (!d->FPartial) return Named(d->FList_DO, Name);
    const TIEC_TplChild* ch = ShellChild(*d->FTpl, Level, true, 0, Name);
    if (!ch) return nullptr;
    if (!d->FSlots) d->FSlots = Arena().Slots<TObject>(d->FTpl->SubSDOs + d->FTpl->SubDAs);
    TObject*& slot = d->FSlots[ch->Slot];
    if (!slot && Take()) slot = ShellDO(d, true, *ch);
    return static_cast<TIEC_DO*>(slot);
}

TIEC_DA* TIEC_Expander::ChildDA(TIEC_DO* d, int Level, const TIEC_Name& Name) {
    if (!d->FPartial) return Named(d->FList_DA, Name);
    const TIEC_TplChild* ch = ShellChild(*d->FTpl, Level, true, 1, Name);
    if (!ch) return nullptr;
    if (!d->FSlots) d->FSlots = Arena().Slots<TObject>(d->FTpl->SubSDOs + d->FTpl->SubDAs);
    TObject*& slot = d->FSlots[d->FTpl->SubSDOs + ch->Slot];
    if (!slot && Take()) slot = ShellDA(d, false, *ch);
    return static_cast<TIEC_DA*>(slot);
}

TIEC_DA* TIEC_Expander::ChildDA(TIEC_DA* a, int Level, const TIEC_Name& Name) {
    if (!a->FPartial) return Named(a->FList_DA, Name);
    const TIEC_TplChild* ch = ShellChild(*a->FTpl, Level, false, -1, Name);
    if (!ch) return nullptr;
    if (!a->FSlots) a->FSlots = Arena().Slots<TIEC_DA>(a->FTpl->SubDAs);
    TIEC_DA*& slot = a->FSlots[ch->Slot];
    if (!slot && Take()) slot = ShellDA(a, true, *ch);
    return slot;
}

void TIEC_Expander::CompleteDO(TIEC_DO* d, int Level) {
    if (!d->FPartial) return;
    d->FPartial = false;
    const TIEC_TplChild& c = *d->FTpl;
    TObject** places = d->FSlots;
    d->FSlots = nullptr;
    if (!places) return DecodeDO(d, c, Level); // nothing made yet
    // Some children are there, in their places (a shell's children exist only where its type
    // expands, so the checks of DecodeDO hold); with the budget spent, the others are left out.
    d->FList_DO.reserve(c.SubSDOs);
    d->FList_DA.reserve(c.SubDAs);
    FDOPath.push_back(c.Sub);
    for (const TIEC_TplChild& ch : *c.Sub) {
        if (ch.IsSDO) {
            auto* made = static_cast<TIEC_DO*>(places[ch.Slot]);
            if (made)
                CompleteDO(made, Level + 1);
            else if (!CutShort && Take())
                made = NewDO(d, true, ch, Level + 1);
            if (made) d->FList_DO.push_back(made);
        } else {
            auto* made = static_cast<TIEC_DA*>(places[c.SubSDOs + ch.Slot]);
            if (made)
                CompleteDA(made, Level + 1);
            else if (!CutShort && Take())
                made = NewDA(d, false, ch, Level + 1);
            if (made) d->FList_DA.push_back(made);
        }
    }
    FDOPath.pop_back();
}

void TIEC_Expander::CompleteDA(TIEC_DA* a, int Level) {
    if (!a->FPartial) return;
    a->FPartial = false;
    const TIEC_TplChild& c = *a->FTpl;
    TIEC_DA** places = a->FSlots;
    a->FSlots = nullptr;
    if (!places) return DecodeDA(a, c, Level);
    a->FList_DA.reserve(c.SubDAs);
    FDAPath.push_back(c.Sub);
    for (const TIEC_TplChild& ch : *c.Sub) {
        TIEC_DA* made = places[ch.Slot];
        if (made)
            CompleteDA(made, Level + 1);
        else if (!CutShort && Take())
            made = NewDA(a, true, ch, Level + 1);
        if (made) a->FList_DA.push_back(made);
    }
    FDAPath.pop_back();
}

void TIEC_Expander::EnterPathOf(const TIEC_DO* d) {
    FDOPath.clear();
    for (d = d->FParentIsDO ? static_cast<const TIEC_DO*>(d->FParent) : nullptr; d;
         d = d->FParentIsDO ? static_cast<const TIEC_DO*>(d->FParent) : nullptr)
        if (d->FTpl && d->FTpl->Sub) FDOPath.insert(FDOPath.begin(), d->FTpl->Sub);
}

void TIEC_Expander::EnterPathOf(const TIEC_DA* a) {
    FDAPath.clear();
    const TIEC_DA* p = a;
    while (p->FParentIsDA) {
        p = static_cast<const TIEC_DA*>(p->FParent);
        if (p->FTpl && p->FTpl->Sub) FDAPath.insert(FDAPath.begin(), p->FTpl->Sub);
    }
    // The data object holding the outermost attribute, and the objects above it.
    if (const TIEC_DO* d = static_cast<const TIEC_DO*>(p->FParent)) {
        EnterPathOf(d);
        if (d->FTpl && d->FTpl->Sub) FDOPath.push_back(d->FTpl->Sub);
    }
}

// ---- Model objects -----------------------------------------------------------------------------

namespace {

// The reference Base followed by "." and each of Names, last first.
String Compose(const String& Base, const QVarLengthArray<const String*, 16>& Names) {
    qsizetype length = Base.size();
    for (const String* n : Names) length += 1 + n->size();
    String r;
    r.reserve(length);
    r += Base;
    for (qsizetype i = Names.size(); i-- > 0;) {
        r += QLatin1Char('.');
        r += *Names[i];
    }
    return r;
}

} // namespace

String TIEC_Model::ReferenceOf(const TIEC_DO* d, QVarLengthArray<const String*, 16>& names) {
    for (;;) {
        names.push_back(&d->Name());
        if (!d->FParent) return Compose(String(), names);
        if (!d->FParentIsDO) return Compose(static_cast<const TIEC_LN*>(d->FParent)->Reference(), names);
        d = static_cast<const TIEC_DO*>(d->FParent);
    }
}

void TIEC_DA::Own(int i, const String& Value) {
    if (!FOwn) FOwn = std::make_unique<TIEC_OwnTexts>();
    FOwn->Texts[i] = Value;
    FOwn->Set |= 1u << i;
}

const String& TIEC_DA::bType() const {
    return Own(1) ? FOwn->Texts[1] : FTpl ? *FTpl->bType : IEC_NoText();
}

const String& TIEC_DA::Name() const {
    return Own(2) ? FOwn->Texts[2] : FTpl ? *FTpl->Name : IEC_NoText();
}

// An attribute's functional constraint as its template gives it: its own fc, else the one of
// the attribute holding it (a text set on an object changes that object only).
const String& TIEC_DA::FC() const {
    if (Own(0)) return FOwn->Texts[0];
    for (const TIEC_DA* a = this; a->FTpl; a = static_cast<const TIEC_DA*>(a->FParent)) {
        if (a->FTpl->HasFC) return *a->FTpl->FC;
        if (!a->FParentIsDA) break;
    }
    return IEC_NoText();
}

int TIEC_DA::Count() const {
    return FTpl && Index() < 0 ? FTpl->Count : 0;
}

const std::vector<TIEC_DA*>& TIEC_DA::List_Element() const {
    return FOwn ? FOwn->DAElements : NoDAs;
}

TIEC_DA::~TIEC_DA() {
    if (FInArena) return; // its attributes and elements are in the arena too, which destroys them
    FreeAll(FList_DA);
    if (FSlots)
        for (uint32_t i = 0; i < FTpl->SubDAs; ++i) FreeOne(FSlots[i]);
    if (FOwn) FreeAll(FOwn->DAElements);
}

String TIEC_DA::Reference() const {
    if (Own(3)) return FOwn->Texts[3];
    QVarLengthArray<const String*, 16> names;
    const TIEC_DA* a = this;
    for (;;) {
        names.push_back(&a->Name());
        if (!a->FParent) return Compose(String(), names);
        if (!a->FParentIsDA) return TIEC_Model::ReferenceOf(static_cast<const TIEC_DO*>(a->FParent), names);
        a = static_cast<const TIEC_DA*>(a->FParent);
        if (a->Own(3)) return Compose(a->FOwn->Texts[3], names); // a reference set explicitly
    }
}

const String& TIEC_DO::Name() const {
    return FOwn && (FOwn->Set & 1) ? FOwn->Texts[0] : FTpl ? *FTpl->Name : IEC_NoText();
}

void TIEC_DO::SetName(const String& Value) {
    if (!FOwn) FOwn = std::make_unique<TIEC_OwnTexts>();
    FOwn->Texts[0] = Value;
    FOwn->Set |= 1;
}

int TIEC_DO::Count() const {
    return FTpl && Index() < 0 ? FTpl->Count : 0;
}

const std::vector<TIEC_DO*>& TIEC_DO::List_Element() const {
    return FOwn ? FOwn->DOElements : NoDOs;
}

String TIEC_DO::Reference() const {
    QVarLengthArray<const String*, 16> names;
    return TIEC_Model::ReferenceOf(this, names);
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
    if (FInArena) return; // as for attributes
    FreeAll(FList_DO);
    FreeAll(FList_DA);
    if (FSlots) {
        for (uint32_t i = 0; i < FTpl->SubSDOs; ++i) FreeOne(static_cast<TIEC_DO*>(FSlots[i]));
        for (uint32_t i = 0; i < FTpl->SubDAs; ++i) FreeOne(static_cast<TIEC_DA*>(FSlots[FTpl->SubSDOs + i]));
    }
    if (FOwn) FreeAll(FOwn->DOElements);
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

// The node's data sets, data objects and their places are in the device's arena, which
// destroys them.
TIEC_LN::~TIEC_LN() = default;

const String& TIEC_LN::Inst() const {
    if (FInst) return *FInst;
    const TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    return FInstId != ~0u && dev && dev->FTexts ? (*dev->FTexts)[FInstId] : IEC_NoText();
}

String TIEC_LN::Reference() const {
    const String& l = FOwner ? FOwner->Reference() : IEC_NoText();
    const String* parts[] = {&l, nullptr, &Prefix(), &lnClass(), &Inst()};
    qsizetype length = 1;
    for (const String* p : parts)
        if (p) length += p->size();
    String r(length, Qt::Uninitialized);
    QChar* out = r.data();
    for (const String* p : parts) {
        if (!p) {
            *out++ = QLatin1Char('/');
            continue;
        }
        std::memcpy(out, p->constData(), size_t(p->size()) * sizeof(QChar));
        out += p->size();
    }
    return r;
}

const std::vector<TIEC_DO*>& TIEC_LN::List_DO() const {
    if (!FExpanded) Expand();
    return FList_DO;
}

void TIEC_LN::NoteCutShort(bool Stop) const {
    if (Stop) FCutShort = true;
    if (FWarned) return;
    FWarned = true;
    TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    if (dev)
        dev->FWarnings << "Logical node " + Reference() +
                              ": its types nest too deeply or the device is too large; not every object and "
                              "attribute is shown";
}

const TIEC_TplList* TIEC_LN::Type(const TIEC_Device* dev) const {
    if (!FTypeKnown) {
        FType = TIEC_Decoder::LNodeType(dev, lnType(), !(FOwn && FlnType == &FOwn->Texts[1]));
        FTypeKnown = dev && dev->FTemplates; // known once the templates are read
    }
    return FType;
}

void TIEC_LN::Expand() const {
    FExpanded = true;
    TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    const TIEC_TplList* type = Type(dev);
    if (!type) return;
    TIEC_DO** places = FSlots;
    FSlots = nullptr;
    FList_DO.reserve(type->size());
    for (size_t i = 0; i < type->size(); ++i) {
        TIEC_Expander x(this, dev);
        TIEC_DO* d = places ? places[i] : nullptr;
        if (d)
            x.CompleteDO(d, 1); // made for a member before: the rest of it
        else if (!FCutShort)
            d = x.NewDO(this, false, (*type)[i], 1);
        // Cut short: the objects not reached are left out.
        if (d) FList_DO.push_back(d);
        if (x.CutShort || x.TooDeep) NoteCutShort(x.CutShort);
    }
}

TIEC_DO* TIEC_LN::TopDO(const TIEC_Name& DO_Name, TIEC_Expander& x) const {
    if (FExpanded) {
        for (TIEC_DO* d : FList_DO)
            if (DO_Name.Is(d->Name())) return d;
        return nullptr;
    }
    TIEC_Device* dev = FOwner ? FOwner->FOwner : nullptr;
    const TIEC_TplList* type = Type(dev);
    if (!type) return nullptr;
    for (size_t i = 0; i < type->size(); ++i) {
        if (!DO_Name.Is((*type)[i])) continue;
        if (!FSlots) FSlots = x.Slots<TIEC_DO>(type->size());
        if (!FSlots[i] && !FCutShort) FSlots[i] = x.ShellDO(this, false, (*type)[i]);
        return FSlots[i];
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
    // The nodes are freed as TObject::Free would free them, a block at a time.
    for (TIEC_LN* ln : FList_LN) ln->BeforeDestruction();
    FList_LN.clear();
    FLNBlocks.clear();
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

// ---- Reading a file piece by piece -------------------------------------------------------------

namespace {

bool WholeDocuments = false;

// Reads a UTF-8 SCL file held in a writable buffer without holding its parsed document whole.
// It follows the markup down the path the model needs (SCL, the first IED, its first
// AccessPoint, that one's first Server, each LDevice) and hands everything else to the parser in
// pieces: the text between the tags it follows, cut before a child element (an LN, an IED) once a
// piece has PieceSize bytes. Each piece is parsed in place as a fragment, its elements that the
// model needs are read, and it is dropped before the next. So the parser checks every byte of
// the file but the start and end tags followed, which are checked here, and the decoder sees the
// elements a whole load would give it.
// The reader finds tags by their text alone. Where such a text is not the tag it looks like (it
// lies in a comment, a CDATA section or an attribute value, or the element is not where SCL puts
// it), the piece before it ends inside that construct, the parser rejects the piece, and the
// file goes to a whole load (TParseWhole), as does anything else the reader does not follow.
class TPieceReader {
public:
    TPieceReader(char* Begin, char* End, TIEC_Decoder& Decoder) : P(Begin), E(End), FDecoder(Decoder) {}

    void Run();

    bool HaveIED = false, HaveTemplates = false;

private:
    enum TLevel { DocumentLevel, SCLLevel, IEDLevel, AccessPointLevel, ServerLevel, LDeviceLevel };
    static constexpr size_t PieceSize = 64 * 1024;

    static bool EndsName(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/';
    }
    // Whether the tag at q ("<Name" or "</Name", Slash) names Name.
    bool Names(const char* q, std::string_view Name, bool Slash) const {
        const char* n = q + 1 + Slash;
        return size_t(E - n) > Name.size() && (!Slash || q[1] == '/') &&
               std::memcmp(n, Name.data(), Name.size()) == 0 && EndsName(n[Name.size()]) &&
               !(Slash && n[Name.size()] == '/');
    }
    // The first occurrence of Text in [From, To), or null.
    static char* Find(char* From, char* To, std::string_view Text) {
        return From < To ? static_cast<char*>(memmem(From, size_t(To - From), Text.data(), Text.size()))
                         : nullptr;
    }
    // From P: the first start tag of Child (none when empty) or end tag of Own; At the end tag.
    char* Next(std::string_view Child, std::string_view Own, bool& AtEnd) const;
    // The content of an element from P (after its start tag) to its end tag, which P is moved past.
    void SCL();
    void IED();
    void AccessPoint();
    void Server();
    void LDevice();
    // Parses [Begin, End) in pieces, cut before a start tag of one of Splits.
    void Pieces(TLevel Level, char* Begin, char* End, std::initializer_list<std::string_view> Splits);
    // Parses [Begin, End) as a fragment and hands its elements to the decoder.
    void Piece(TLevel Level, char* Begin, char* End);
    // The start tag at P, parsed alone; P is moved past it. Returns whether it closes itself.
    bool StartTag(pugi::xml_node& Node);
    // Moves P past the end tag of Name at At.
    void EndTag(char* At, std::string_view Name);

    char* P;
    char* E;
    TIEC_Decoder& FDecoder;
    pugi::xml_document FPiece, FTag;
    std::string FTagText;
};

[[noreturn]] void ParseWhole() {
    throw TParseWhole();
}

void TPieceReader::Run() {
    // Only UTF-8 is read piecewise: a byte-order mark of another encoding, an encoding named in the
    // declaration or a zero byte (which UTF-16 and UTF-32 text has) sends the file to a whole load.
    if (E - P >= 2 && ((uint8_t(P[0]) == 0xFE && uint8_t(P[1]) == 0xFF) ||
                       (uint8_t(P[0]) == 0xFF && uint8_t(P[1]) == 0xFE)))
        ParseWhole();
    if (std::memchr(P, 0, size_t(E - P))) ParseWhole();
    if (E - P >= 3 && uint8_t(P[0]) == 0xEF && uint8_t(P[1]) == 0xBB && uint8_t(P[2]) == 0xBF) P += 3;
    if (E - P >= 5 && std::memcmp(P, "<?xml", 5) == 0) {
        const char* end = static_cast<const char*>(std::memchr(P, '>', size_t(E - P)));
        if (!end) ParseWhole();
        std::string_view decl(P, size_t(end - P));
        const size_t at = decl.find("encoding");
        if (at != std::string_view::npos) {
            std::string_view rest = decl.substr(at + 8);
            const size_t q = rest.find_first_of("\"'");
            if (q == std::string_view::npos) ParseWhole();
            const size_t q2 = rest.find(rest[q], q + 1);
            if (q2 == std::string_view::npos) ParseWhole();
            const QByteArray name = QByteArray(rest.data() + q + 1, qsizetype(q2 - q - 1)).toLower();
            if (name != "utf-8" && name != "utf8") ParseWhole();
        }
    }
    // The root: the first SCL element; its end tag, the last one of the file.
    bool atEnd = false;
    char* scl = Next("SCL", {}, atEnd);
    if (!scl) ParseWhole(); // the whole load tells whether there is a root element at all
    Piece(DocumentLevel, P, scl);
    P = scl;
    pugi::xml_node tag;
    if (!StartTag(tag)) {
        const size_t end = std::string_view(P, size_t(E - P)).rfind("</SCL");
        if (end == std::string_view::npos) ParseWhole();
        char* sclEnd = P + end;
        SCL();
        if (P > sclEnd) ParseWhole(); // the first IED did not end inside the root
        Pieces(SCLLevel, P, sclEnd, {"IED", "DataTypeTemplates", "Communication", "Substation"});
        EndTag(sclEnd, "SCL");
    }
    Piece(DocumentLevel, P, E);
}

char* TPieceReader::Next(std::string_view Child, std::string_view Own, bool& AtEnd) const {
    for (char* q = P; (q = static_cast<char*>(std::memchr(q, '<', size_t(E - q)))); ++q) {
        if (!Own.empty() && Names(q, Own, true)) {
            AtEnd = true;
            return q;
        }
        if (!Child.empty() && Names(q, Child, false)) {
            AtEnd = false;
            return q;
        }
    }
    if (!Own.empty()) ParseWhole(); // the element does not end
    return nullptr;
}

void TPieceReader::SCL() {
    // Up to the first IED, which is followed; the rest of the content is left to Run.
    bool atEnd = false;
    char* ied = Next("IED", {}, atEnd);
    if (!ied) return;
    Pieces(SCLLevel, P, ied, {"DataTypeTemplates", "Communication", "Substation"});
    P = ied;
    HaveIED = true;
    pugi::xml_node tag;
    const bool closed = StartTag(tag);
    FDecoder.IED(tag);
    if (!closed) IED();
}

void TPieceReader::IED() {
    bool atEnd = false;
    char* at = Next("AccessPoint", "IED", atEnd);
    Piece(IEDLevel, P, at);
    P = at;
    if (!atEnd) {
        pugi::xml_node tag;
        if (!StartTag(tag)) AccessPoint();
        at = Next({}, "IED", atEnd);
        Pieces(IEDLevel, P, at, {"AccessPoint"});
    }
    EndTag(at, "IED");
}

void TPieceReader::AccessPoint() {
    bool atEnd = false;
    char* at = Next("Server", "AccessPoint", atEnd);
    Piece(AccessPointLevel, P, at);
    P = at;
    if (!atEnd) {
        pugi::xml_node tag;
        if (!StartTag(tag)) Server();
        at = Next({}, "AccessPoint", atEnd);
        Pieces(AccessPointLevel, P, at, {});
    }
    EndTag(at, "AccessPoint");
}

void TPieceReader::Server() {
    for (;;) {
        bool atEnd = false;
        char* at = Next("LDevice", "Server", atEnd);
        Piece(ServerLevel, P, at);
        if (atEnd) return EndTag(at, "Server");
        P = at;
        pugi::xml_node tag;
        const bool closed = StartTag(tag);
        FDecoder.LDevice(tag);
        if (!closed) LDevice();
    }
}

void TPieceReader::LDevice() {
    // The end: the first end tag of LDevice; the places to cut: the first LN or LN0 start tag
    // once a piece has PieceSize bytes. Both are searched as texts, not tag by tag: a logical
    // device holds thousands of tags.
    char* end = Find(P, E, "</LDevice");
    while (end && !Names(end, "LDevice", true)) end = Find(end + 1, E, "</LDevice");
    if (!end) ParseWhole(); // the element does not end
    char* piece = P;
    while (size_t(end - piece) > PieceSize) {
        char* cut = Find(piece + PieceSize, end, "<LN");
        while (cut && !Names(cut, "LN", false) && !Names(cut, "LN0", false)) cut = Find(cut + 1, end, "<LN");
        if (!cut) break;
        Piece(LDeviceLevel, piece, cut);
        piece = cut;
    }
    Piece(LDeviceLevel, piece, end);
    EndTag(end, "LDevice");
}

void TPieceReader::Pieces(TLevel Level, char* Begin, char* End,
                          std::initializer_list<std::string_view> Splits) {
    while (size_t(End - Begin) > PieceSize && Splits.size()) {
        char* cut = nullptr;
        for (char* q = Begin + PieceSize;
             !cut && (q = static_cast<char*>(std::memchr(q, '<', size_t(End - q)))); ++q)
            for (std::string_view s : Splits)
                if (Names(q, s, false)) {
                    cut = q;
                    break;
                }
        if (!cut) break;
        Piece(Level, Begin, cut);
        Begin = cut;
    }
    Piece(Level, Begin, End);
}

bool TPieceReader::StartTag(pugi::xml_node& Node) {
    // The tag's end: the first '>' outside quoted attribute values.
    char* s = P + 1;
    for (;; ++s) {
        if (s >= E) ParseWhole();
        if (*s == '"' || *s == '\'') {
            s = static_cast<char*>(std::memchr(s + 1, *s, size_t(E - s - 1)));
            if (!s) ParseWhole();
        } else if (*s == '>') {
            break;
        } else if (*s == '<') {
            ParseWhole();
        }
    }
    const bool closed = s[-1] == '/';
    FTagText.assign(P, size_t(s + 1 - P));
    P = s + 1;
    if (!closed) FTagText.insert(FTagText.size() - 1, 1, '/');
    if (!FTag.load_buffer_inplace(FTagText.data(), FTagText.size(), XmlReadOnlyParseOptions,
                                  pugi::encoding_utf8))
        ParseWhole();
    Node = FTag.first_child();
    return closed;
}

void TPieceReader::EndTag(char* At, std::string_view Name) {
    char* s = At + 2 + Name.size();
    while (s < E && (*s == ' ' || *s == '\t' || *s == '\r' || *s == '\n')) ++s;
    if (s == E || *s != '>') ParseWhole();
    P = s + 1;
}

void TPieceReader::Piece(TLevel Level, char* Begin, char* End) {
    if (Begin >= End) return;
    if (!FPiece.load_buffer_inplace(Begin, size_t(End - Begin),
                                    XmlReadOnlyParseOptions | pugi::parse_fragment, pugi::encoding_utf8))
        ParseWhole();
    for (pugi::xml_node n = FPiece.first_child(); n; n = n.next_sibling()) {
        if (Level == SCLLevel && !HaveTemplates && NameIs(n, "DataTypeTemplates")) {
            HaveTemplates = true;
            FDecoder.Templates(n);
        } else if (Level == LDeviceLevel && (NameIs(n, "LN") || NameIs(n, "LN0"))) {
            FDecoder.LN(n);
        }
    }
    FPiece.reset();
}

} // namespace

// ---- Device and decoding -----------------------------------------------------------------------

void IEC_SetWholeDocumentDecoding(bool On) {
    WholeDocuments = On;
}

static String FilePart(const String& path) {
    const qsizetype p = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(p + 1);
}

TIEC_Device::TIEC_Device(const String& FileName_icd) {
    fFileName = FilePart(FileName_icd);
    if (!QFile::exists(XmlNativePath(FileName_icd))) return;
    auto load = [&](TXMLDocument& doc) { doc.LoadFromFile(FileName_icd, XmlReadOnlyParseOptions); };
    QFile f(XmlNativePath(FileName_icd));
    const qint64 size = f.open(QIODevice::ReadOnly) ? f.size() : -1;
    std::unique_ptr<char[]> data(size > 0 ? new (std::nothrow) char[size_t(size)] : nullptr);
    if (!data || f.read(data.get(), size) != size) data.reset(); // the document's load tells what is wrong
    f.close();
    TIEC_Decoder::Decode(this, std::move(data), size_t(size), load);
}

TIEC_Device::TIEC_Device(const QByteArray& Data, const String& FileName) {
    fFileName = FilePart(FileName);
    auto load = [&](TXMLDocument& doc) { doc.LoadFromXML(Data, XmlReadOnlyParseOptions); };
    std::unique_ptr<char[]> data(new char[size_t(Data.size()) + 1]);
    std::memcpy(data.get(), Data.constData(), size_t(Data.size()));
    TIEC_Decoder::Decode(this, std::move(data), size_t(Data.size()), load);
}

TIEC_Device::~TIEC_Device() {
    FreeAll(FList_LDevice);
}

TIEC_LDevice* TIEC_Device::Find_LDevice(const String& LD_Name) const {
    for (TIEC_LDevice* ld : FList_LDevice)
        if (ld->Name() == LD_Name) return ld;
    return nullptr;
}

void TIEC_Decoder::Clear(TIEC_Device* dev) {
    FreeAll(dev->FList_LDevice);
    dev->FArena.reset();
    dev->fName.clear();
    dev->FWarnings.clear();
    dev->FTemplates.reset();
    dev->FTexts.reset();
    dev->FNodeCount = 0;
}

void TIEC_Decoder::Decode(TIEC_Device* dev, std::unique_ptr<char[]> Data, size_t Size,
                          const std::function<void(TXMLDocument&)>& Load) {
    if (Data && !WholeDocuments) {
        try {
            TIEC_Decoder decoder(dev);
            TPieceReader reader(Data.get(), Data.get() + Size, decoder);
            reader.Run();
            // The model's texts are its own; the members are resolved from the file's texts.
            decoder.Finish(reader.HaveIED, reader.HaveTemplates);
            return;
        } catch (const TParseWhole&) {
            Clear(dev);
        }
    }
    Data.reset();
    TXMLDocument doc(nullptr);
    Load(doc);
    TIEC_Decoder decoder(dev);
    if (!decoder.DecodeWhole(doc.Handle().child("SCL"))) return;
    decoder.Finish(true, true); // as above, from the document's texts
}

bool TIEC_Decoder::DecodeWhole(pugi::xml_node scl) {
    pugi::xml_node ied = scl.child("IED");
    pugi::xml_node dtt = scl.child("DataTypeTemplates");
    if (!ied || !dtt) return false;
    IED(ied);
    pugi::xml_node server = ied.child("AccessPoint").child("Server");
    Templates(dtt);
    for (pugi::xml_node ldn = server.first_child(); ldn; ldn = ldn.next_sibling()) {
        if (!NameIs(ldn, "LDevice")) continue;
        LDevice(ldn);
        for (pugi::xml_node lnn = ldn.first_child(); lnn; lnn = lnn.next_sibling())
            if (NameIs(lnn, "LN") || NameIs(lnn, "LN0")) LN(lnn);
    }
    return true;
}

void TIEC_Decoder::Templates(pugi::xml_node dtt) {
    FTemplates = std::make_shared<TIEC_Templates>();
    ReadTemplates(dtt, FPool, *FTemplates);
}

void TIEC_Decoder::LDevice(pugi::xml_node ldn) {
    TIEC_LDevice* ld = new TIEC_LDevice;
    const size_t ldPos = FDev->FList_LDevice.size();
    FDev->FList_LDevice.push_back(ld);
    ld->FOwner = FDev;
    const char* inst = ldn.attribute("inst").value();
    ld->fName = FPool.Get(inst);
    ld->FReference = (FIedName ? *FIedName : IEC_NoText()) + ld->fName;
    FLDByInst.emplace(inst, ldPos); // keeps the first
    FLDs.push_back({ld});
}

void TIEC_Decoder::LN(pugi::xml_node lnn) {
    TTextPool& pool = FPool;
    TLDeviceBuild& b = FLDs.back();
    TIEC_LDevice* ld = b.LD;
    if (!b.BlockLeft) {
        b.BlockLeft = std::min<size_t>(std::max<size_t>(ld->FList_LN.size(), 16), 1024);
        ld->FLNBlocks.emplace_back(new TIEC_LN[b.BlockLeft]);
        b.Next = ld->FLNBlocks.back().get();
    }
    TIEC_LN* ln = b.Next++;
    --b.BlockLeft;
    ld->FList_LN.push_back(ln);
    ln->FOwner = ld;
    // The four attributes in one walk; the first of a name counts, as for attribute(). The
    // texts of the node's name stay in the file until the members are resolved.
    TLNName name{uint32_t(FLDs.size() - 1), nullptr, nullptr, nullptr, 0};
    const char* type = nullptr;
    for (pugi::xml_attribute a = lnn.first_attribute();; a = a.next_attribute()) {
        const char* n = a.name();
        if (!*n) break; // past the last (a parsed attribute has a name)
        if (n[0] == 'l') {
            if (!name.Class && Is(n, "lnClass"))
                name.Class = a.value();
            else if (!type && Is(n, "lnType"))
                type = a.value();
        } else if (n[0] == 'p') {
            if (!name.Prefix && Is(n, "prefix")) name.Prefix = a.value();
        } else if (n[0] == 'i') {
            if (!name.Inst && Is(n, "inst")) name.Inst = a.value();
        }
    }
    if (!name.Class) name.Class = "";
    if (!name.Prefix) name.Prefix = "";
    if (!name.Inst) name.Inst = "";
    name.TextHash = TextHashOf(name.Class, name.Prefix, name.Inst);
    ln->FlnType = &pool.Get(type ? type : "");
    ln->FlnClass = &pool.Get(name.Class);
    ln->FPrefix = &pool.Get(name.Prefix);
    ln->FInstId = pool.Keep(name.Inst);
    FLNNames.emplace_back(name, ln);
    if (!b.LLN0 && *ln->FlnClass == QLatin1String("LLN0")) b.LLN0 = ln;

    // A node without a type has no data sets and no GOOSE names either.
    if (ln->FlnType->isEmpty()) return;
    FGooses.clear();
    const TIEC_TextStore& texts = FPool.Texts();
    for (pugi::xml_node c = lnn.first_child(); c; c = c.next_sibling()) {
        if (NameIs(c, "GSEControl")) {
            FGooses.push_back(c);
            continue;
        }
        if (!NameIs(c, "DataSet")) continue;
        TIEC_DataSet* ds = Arena().Make<TIEC_DataSet>();
        ln->FList_DataSet.push_back(ds);
        ds->fName = pool.Attr(c, "name");
        // The node's reference (as Reference composes it), "." and the name, made in one piece; the
        // node's instance stays a text of the store, not made a String for this.
        String& r = ds->fReference;
        r.reserve(ld->FReference.size() + ln->FPrefix->size() + ln->FlnClass->size() +
                  qsizetype(texts.Length(ln->FInstId)) + ds->fName.size() + 2);
        r += ld->FReference;
        r += QLatin1Char('/');
        r += *ln->FPrefix;
        r += *ln->FlnClass;
        texts.AppendTo(r, ln->FInstId);
        r += QLatin1Char('.');
        r += ds->fName;
        size_t n = 0;
        for (pugi::xml_node f = c.first_child(); f; f = f.next_sibling())
            if (NameIs(f, "FCDA")) {
                FMembers.push_back(Member(ds, f));
                ++n;
            }
        ds->FList_DA.reserve(n);
    }
    // Each GOOSE control names the first data set of its node with the name it gives.
    for (pugi::xml_node g : FGooses) {
        const String& gname = pool.Attr(g, "name");
        const String& datSet = pool.Attr(g, "datSet");
        if (gname.isEmpty() || datSet.isEmpty()) continue;
        for (TIEC_DataSet* ds : ln->FList_DataSet)
            if (ds->fName == datSet) {
                ds->fGooseName = gname;
                break;
            }
    }
}

void TIEC_Decoder::Finish(bool HaveIED, bool HaveTemplates) {
    if (!HaveIED || !HaveTemplates) {
        Clear(FDev); // the file is not read without both
        return;
    }
    FDev->fName = *FIedName;
    FDev->FTemplates = FTemplates;
    FDev->FTexts = FPool.Store();
    FPool.DropIndex(); // every text is in
    if (!FMembers.empty()) FLNs.Build(FLNNames);

    // The members, in the order of the file.
    auto text = [](TRawText t) { return String::fromUtf8(t); };
    // Each is dropped once resolved, so that the shells made for them take the place it held.
    for (; !FMembers.empty(); FMembers.pop_front()) {
        const TPendingMember& m = FMembers.front();
        String why;
        if (TIEC_DA* a = Resolve(m, why)) {
            m.DataSet->FList_DA.push_back(a);
            continue;
        }
        FDev->FWarnings << "Data set " + m.DataSet->fReference + ": member " + text(m.LdInst) + "/" +
                               text(m.Prefix) + text(m.LnClass) + text(m.LnInst) + "." + text(m.DoName) +
                               (*m.DaName ? "." + text(m.DaName) : String()) + " [" + text(m.FC) +
                               "] not found" + (why.isEmpty() ? String() : ": " + why);
    }
    FLNs = {};
    FLNNames = {};
}

// The texts of an FCDA, as they stand in the file; attributes read in one walk, the first of a
// name counting.
TPendingMember TIEC_Decoder::Member(TIEC_DataSet* ds, pugi::xml_node fcda) {
    TPendingMember m{ds, "", "", "", "", "", "", "", 0};
    TRawText* t[7] = {&m.LdInst, &m.Prefix, &m.LnClass, &m.LnInst, &m.DoName, &m.DaName, &m.FC};
    unsigned seen = 0;
    for (pugi::xml_attribute a = fcda.first_attribute();; a = a.next_attribute()) {
        const char* n = a.name();
        if (!*n) break; // past the last (a parsed attribute has a name)
        int i = -1;
        switch (n[0]) {
            case 'l': i = Is(n, "ldInst") ? 0 : Is(n, "lnClass") ? 2 : Is(n, "lnInst") ? 3 : -1; break;
            case 'p': i = Is(n, "prefix") ? 1 : -1; break;
            case 'd': i = Is(n, "doName") ? 4 : Is(n, "daName") ? 5 : -1; break;
            case 'f': i = Is(n, "fc") ? 6 : -1; break;
        }
        if (i >= 0 && !(seen >> i & 1)) {
            *t[i] = a.value();
            seen |= 1u << i;
        }
    }
    m.LNTextHash = TextHashOf(m.LnClass, m.Prefix, m.LnInst);
    return m;
}

// The logical device whose inst is ldInst; else the one whose full name (IED name + inst) it is,
// as some tools write it.
ptrdiff_t TIEC_Decoder::FindLDevice(TRawText ldInst) {
    // Members mostly name the logical device of the member before.
    if (FLastLdInst && SameRaw(ldInst, FLastLdInst)) return FLastLd;
    FLastLdInst = ldInst;
    auto it = FLDByInst.find(std::string_view(ldInst));
    if (it != FLDByInst.end()) return FLastLd = ptrdiff_t(it->second);
    if (FLDByReference.isEmpty())
        for (size_t i = 0; i < FDev->FList_LDevice.size(); ++i)
            FLDByReference.insert(FDev->FList_LDevice[i]->FReference, i); // keeps the first
    auto ref = FLDByReference.constFind(String::fromUtf8(ldInst));
    return FLastLd = ref == FLDByReference.constEnd() ? -1 : ptrdiff_t(*ref);
}

namespace {

// The leftmost leaf below the attributes of List whose functional constraint is FC.
TIEC_DA* FirstLeafWithFC(const std::vector<TIEC_DA*>& list, const TIEC_Name& fc) {
    for (TIEC_DA* a : list) {
        if (a->List_DA().empty()) {
            if (fc.Is(a->FC())) return a;
        } else if (TIEC_DA* hit = FirstLeafWithFC(a->List_DA(), fc)) {
            return hit;
        }
    }
    return nullptr;
}

// A text of the file as a name.
TIEC_Name NameOf(std::string_view Text) {
    TIEC_Name n{Text};
    for (char c : Text) n.Ascii &= uint8_t(c) < 0x80;
    if (n.Ascii) n.Hash = HashOfName(reinterpret_cast<const uint8_t*>(Text.data()), Text.size());
    return n;
}

// One part of a dotted name: "phsB", or "phsAHar(7)" for an element of an array.
struct TNamePart {
    TIEC_Name Name;
    int Index = -1; // -1: no index
    bool Valid = true;
};

// The next part of a dotted name (A.phsB: A, then phsB) from From, which is moved past it;
// false after the last.
bool NextPart(std::string_view name, size_t& From, TNamePart& p) {
    if (From > name.size()) return false;
    // One pass finds the part's end and its index, and hashes the name before the index.
    size_t end = From, open = std::string_view::npos;
    uint32_t h = 2166136261u;
    bool ascii = true;
    for (; end < name.size() && name[end] != '.'; ++end) {
        const uint8_t c = uint8_t(name[end]);
        if (open != std::string_view::npos) continue;
        if (c == '(') {
            open = end - From;
            continue;
        }
        ascii &= c < 0x80;
        h = (h ^ c) * 16777619u;
    }
    std::string_view part = name.substr(From, end - From);
    From = end + 1;
    p.Index = -1;
    p.Valid = true;
    if (open != std::string_view::npos) {
        // name(n): n decimal digits, nothing after the closing parenthesis.
        std::string_view digits = part.substr(open + 1, part.size() - open - 2);
        bool ok = part.back() == ')' && !digits.empty() && digits.size() <= 9;
        int n = 0;
        for (char d : digits) {
            ok = ok && d >= '0' && d <= '9';
            n = n * 10 + (d - '0');
        }
        p.Valid = ok;
        p.Index = ok ? n : -1;
        part = part.substr(0, open);
    }
    p.Name = {part, ascii ? h : 0, ascii};
    return true;
}

} // namespace

// The element Index of the array Array (a data object or attribute), made the first time it is
// named; nullptr, with the reason in Why, when Array is not an array or has no such element.
template <class T> T* TIEC_Decoder::Element(T* Array, int Index, String& Why) {
    const int count = Array->Count();
    if (count == 0) {
        Why = Array->Name() + " is not an array";
        return nullptr;
    }
    if (Index >= count) {
        Why = "index " + QString::number(Index) + " is past the end of " + Array->Name() + ", which has " +
              QString::number(count) + " elements";
        return nullptr;
    }
    if (!Array->FOwn) Array->FOwn = std::make_unique<TIEC_OwnTexts>();
    std::vector<T*>* elements;
    if constexpr (std::is_same_v<T, TIEC_DO>)
        elements = &Array->FOwn->DOElements;
    else
        elements = &Array->FOwn->DAElements;
    for (T* e : *elements)
        if (e->Index() == Index) return e;
    // The element is made as its array was, at the same place in the model; it stays out of the
    // parent's lists (which hold the array) and belongs to the array.
    const TIEC_LN* ln = nullptr;
    T* e = nullptr;
    if constexpr (std::is_same_v<T, TIEC_DO>) {
        const TIEC_DO* top = Array;
        while (top->FParentIsDO) top = static_cast<const TIEC_DO*>(top->FParent);
        ln = static_cast<const TIEC_LN*>(top->FParent);
        TIEC_Expander x(ln, FDev);
        x.EnterPathOf(Array);
        e = x.NewDO(Array->FParent, Array->FParentIsDO, *Array->FTpl, TIEC_Model::LevelOf(Array));
        if (x.CutShort || x.TooDeep) ln->NoteCutShort(false);
    } else {
        const TIEC_DA* top = Array;
        while (top->FParentIsDA) top = static_cast<const TIEC_DA*>(top->FParent);
        const TIEC_DO* d = static_cast<const TIEC_DO*>(top->FParent);
        while (d->FParentIsDO) d = static_cast<const TIEC_DO*>(d->FParent);
        ln = static_cast<const TIEC_LN*>(d->FParent);
        TIEC_Expander x(ln, FDev);
        x.EnterPathOf(Array);
        e = x.NewDA(Array->FParent, Array->FParentIsDA, *Array->FTpl, TIEC_Model::LevelOf(Array));
        if (x.CutShort || x.TooDeep) ln->NoteCutShort(false);
    }
    if (!e->FOwn) e->FOwn = std::make_unique<TIEC_OwnTexts>();
    e->FOwn->Index = Index;
    e->FOwn->Texts[std::is_same_v<T, TIEC_DO> ? 0 : 2] = Array->Name() + "(" + QString::number(Index) + ")";
    e->FOwn->Set |= std::is_same_v<T, TIEC_DO> ? 1u : 4u;
    elements->push_back(e);
    return e;
}

TIEC_DA* TIEC_Decoder::Resolve(const TPendingMember& m, String& Why) {
    if (!*m.LdInst || !*m.LnClass || !*m.DoName) return nullptr;
    const ptrdiff_t ld = FindLDevice(m.LdInst);
    if (ld < 0) return nullptr;
    // LLN0 is unique in its logical device: tools name it with an instance or prefix it does
    // not have.
    TIEC_LN* ln = Same(m.LnClass, "LLN0")
                      ? FLDs[size_t(ld)].LLN0
                      : FLNs.Get({uint32_t(ld), m.LnClass, m.Prefix, m.LnInst, m.LNTextHash});
    if (!ln) return nullptr;

    // Only the objects on the member's path are made (and the member with all it holds); the
    // node makes the rest when it is expanded.
    TIEC_Expander x(ln, FDev);
    TIEC_DA* member = ResolveIn(ln, x, m, Why);
    if (x.CutShort || x.TooDeep) ln->NoteCutShort(x.CutShort);
    return member;
}

TIEC_DA* TIEC_Decoder::ResolveIn(TIEC_LN* ln, TIEC_Expander& x, const TPendingMember& m, String& Why) {
    // The data object: each part of a dotted doName names a sub-data object of the previous (or
    // an element of it, with an index).
    TNamePart part;
    size_t from = 0;
    TIEC_DO* d = nullptr;
    int level = 0; // of d
    const std::string_view doName(m.DoName);
    while (NextPart(doName, from, part)) {
        if (!part.Valid) return nullptr;
        TIEC_DO* next = d ? x.ChildDO(d, level, part.Name) : ln->TopDO(part.Name, x);
        if (next && part.Index >= 0) next = Element(next, part.Index, Why);
        if (!next) return nullptr;
        d = next;
        ++level;
    }

    const std::string_view daName(m.DaName);
    if (daName.empty()) {
        x.CompleteDO(d, level);
        if (*m.FC)
            if (TIEC_DA* a = FirstLeafWithFC(d->List_DA(), NameOf(m.FC))) return a;
        return d->Find_First_DA();
    }
    // The attribute: each part of a dotted daName names a nested attribute of the previous.
    from = 0;
    TIEC_DA* a = nullptr;
    while (NextPart(daName, from, part)) {
        if (!part.Valid) return nullptr;
        TIEC_DA* next = a ? x.ChildDA(a, level, part.Name) : x.ChildDA(d, level, part.Name);
        if (next && part.Index >= 0) next = Element(next, part.Index, Why);
        if (!next) return nullptr;
        a = next;
        ++level;
    }
    x.CompleteDA(a, level);
    return a;
}
