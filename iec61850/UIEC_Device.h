// The IEC 61850 device model decoded from an SCL file (.scd, .ssd, .sed, .icd, .iid, .cid):
// one device (the file's first IED), its logical devices, logical nodes, data objects with
// their sub-data objects, data attributes with the attributes nested in structured attributes,
// and the data sets of each logical node with their members and GOOSE names.
//
// Every data attribute and data set carries its object reference:
//   logical device    L = IED name + inst                              IED1LD0
//   logical node      N = L + "/" + prefix + lnClass + inst            IED1LD0/Q0XCBR1
//   attribute         N + "." + object names + "." + attribute names   IED1LD0/Q0XCBR1.Pos.stVal
//   data set          N + "." + data-set name                          IED1LD0/LLN0.DS1
//
// Decoding reads the IED section and the type templates only. The file is parsed piece by piece
// (the elements the model needs, and everything else in pieces of bounded size, so that every part
// is checked by the parser but the parsed document is never held whole); a file that cannot be
// cut that way (another encoding than UTF-8, a document type declaration, a structure error) is
// parsed whole, with the same result. Type definitions are indexed by id once per file; the data
// objects of a logical node are expanded from the templates the first time they are asked for
// (List_DO, the lookups), so a file with thousands of logical nodes costs memory in proportion to
// what is looked at. Expansion never recurses into a type that is already being expanded on the
// same path (a type that contains itself, directly or through others), and stops at a depth of
// IEC_MaxDepth levels below the logical node, so that every walk over the model is bounded. Every
// text is kept once per device, so that a device's model takes less memory than its file.
//
// A data set's members are resolved while decoding: ldInst, prefix, lnClass and lnInst name the
// logical node (ldInst may also be the logical device's full name, IED name + inst, as some
// tools write it; LLN0, unique in its logical device, is found whatever prefix and lnInst say); a
// doName or daName with dots walks through sub-objects and nested attributes, and a part with an
// index, "phsAHar(7)", names that element of an array object or attribute (one with a count). An
// FCDA without daName stands for the first leaf attribute of its data object that has the
// FCDA's functional constraint (the first leaf at all when none has it). Members that cannot be
// resolved are listed in the device's Warnings instead of being dropped without a word.
#pragma once

#include "System.h"

#include <QHash>
#include <QStringList>

#include <memory>
#include <vector>

class TTreeNode;
class TIEC_Device;
class TIEC_LDevice;
class TIEC_LN;
class TIEC_DO;
class TIEC_DA;
struct TIEC_Templates;
struct TIEC_Name;
struct TIEC_TextStore;
class TIEC_Arena;
class TIEC_Expander;

// The texts of the model objects are kept once per device (names, types and functional
// constraints repeat all over a file): an object refers to the device's copy. A text given
// through a setter is kept by the object itself (and so are an array's elements).
struct TIEC_OwnTexts {
    String Texts[4];
    unsigned Set = 0; // bit i: Texts[i] was given
    int Index = -1;   // for an element of an array, its index
    // For an array, the elements made so far (owned).
    std::vector<TIEC_DA*> DAElements;
    std::vector<TIEC_DO*> DOElements;
};

// What an object without a text of its own answers.
inline const String& IEC_NoText() {
    static const String empty;
    return empty;
}

// A child of a type template (kept by the device): the objects and attributes of the model take
// their name, basic type and array size from the one they were made from.
struct TIEC_TplChild;

class TIEC_DA : public TObject {
public:
    TIEC_DA() = default;
    ~TIEC_DA() override;

    // The object reference: the parent's reference, "." and Name (no functional constraint in
    // it). Composed from the parents when asked for, unless set explicitly.
    String Reference() const;
    void SetReference(const String& Value) { Own(3, Value); }
    const String& FC() const;
    void SetFC(const String& Value) { Own(0, Value); }
    const String& bType() const;
    void SetbType(const String& Value) { Own(1, Value); }
    // For an element of an array, the array's name with the index: "har(7)".
    const String& Name() const;
    void SetName(const String& Value) { Own(2, Value); }
    // The number of elements of an array attribute (its count); 0 for any other attribute, an
    // element of an array among them.
    int Count() const;

    // The nested attributes of a structured attribute, in order (owned). For an array of
    // structures, those of each element.
    const std::vector<TIEC_DA*>& List_DA() const { return FList_DA; }
    // The elements of an array attribute made so far (owned): those that data-set members name,
    // in the order they were first named. Each has the array's type.
    const std::vector<TIEC_DA*>& List_Element() const;

    // Depth first through the nested attributes: the first whose Name equals DA_Name.
    TIEC_DA* Find_DA(const String& DA_Name) const;
    // The leftmost leaf attribute below this one, or nullptr when it has no nested attributes.
    TIEC_DA* Find_First_DA() const;

    TTreeNode* TreeNode = nullptr;

private:
    friend class TIEC_Decoder;
    friend class TIEC_Expander;
    friend class TIEC_Arena;
    friend struct TIEC_Model;
    bool Own(int i) const { return FOwn && (FOwn->Set >> i & 1); }
    void Own(int i, const String& Value);

    int Index() const { return FOwn ? FOwn->Index : -1; }

    const TIEC_TplChild* FTpl = nullptr; // the template it was made from
    std::unique_ptr<TIEC_OwnTexts> FOwn; // texts set on it, array elements
    const TObject* FParent = nullptr;    // the attribute (FParentIsDA) or data object holding it
    std::vector<TIEC_DA*> FList_DA;
    // While only some children are made (a shell): one place per child of its type, null where
    // the child is not made yet; List_DA is filled when the shell is completed.
    TIEC_DA** FSlots = nullptr;
    bool FParentIsDA = false;
    bool FPartial = false;
    bool FInArena = false; // made in the device's arena, which destroys it; owners only refer to it
};

class TIEC_DO : public TObject {
public:
    TIEC_DO() = default;
    ~TIEC_DO() override;

    // For an element of an array, the array's name with the index: "phsAHar(7)".
    const String& Name() const;
    void SetName(const String& Value);
    // The reference of the object: its parent's reference, "." and Name.
    String Reference() const;
    // The number of elements of an array object (an SDO with a count); 0 for any other.
    int Count() const;

    // Sub-data objects and data attributes, each in document order (owned).
    const std::vector<TIEC_DO*>& List_DO() const { return FList_DO; }
    const std::vector<TIEC_DA*>& List_DA() const { return FList_DA; }
    // The elements of an array object made so far (owned), as for attributes.
    const std::vector<TIEC_DO*>& List_Element() const;

    // Depth first through the sub-data objects: the first whose Name equals DO_Name.
    TIEC_DO* Find_DO(const String& DO_Name) const;
    // Depth first through the attributes and their nested attributes (sub-objects not entered).
    TIEC_DA* Find_DA(const String& DA_Name) const;
    // The leftmost leaf attribute, or nullptr when the object has no attributes.
    TIEC_DA* Find_First_DA() const;

    TTreeNode* TreeNode = nullptr;

private:
    friend class TIEC_Decoder;
    friend class TIEC_Expander;
    friend class TIEC_Arena;
    friend struct TIEC_Model;
    int Index() const { return FOwn ? FOwn->Index : -1; }

    const TIEC_TplChild* FTpl = nullptr;
    std::unique_ptr<TIEC_OwnTexts> FOwn;
    const TObject* FParent = nullptr; // the data object (FParentIsDO) or logical node holding it
    std::vector<TIEC_DO*> FList_DO;
    std::vector<TIEC_DA*> FList_DA;
    // While a shell: the places of its sub-objects, then those of its attributes (see TIEC_DA).
    TObject** FSlots = nullptr;
    bool FParentIsDO = false;
    bool FPartial = false;
    bool FInArena = false;
};

class TIEC_DataSet : public TObject {
public:
    TIEC_DataSet() = default;

    const String& Name() const { return fName; }
    void SetName(const String& Value) { fName = Value; }
    const String& Reference() const { return fReference; }
    void SetReference(const String& Value) { fReference = Value; }
    // Name of the GOOSE control block that publishes this data set; empty when none.
    const String& GooseName() const { return fGooseName; }
    void SetGooseName(const String& Value) { fGooseName = Value; }

    // The members in FCDA order; not owned: each belongs to a data object of the same device.
    const std::vector<TIEC_DA*>& List_DA() const { return FList_DA; }

    TTreeNode* TreeNode = nullptr;

private:
    friend class TIEC_Decoder;
    String fName, fReference, fGooseName;
    std::vector<TIEC_DA*> FList_DA;
};

class TIEC_LN : public TObject {
public:
    TIEC_LN() = default;
    ~TIEC_LN() override;

    const String& lnClass() const { return Text(FlnClass); }
    void SetlnClass(const String& Value) { FlnClass = &Own(0, Value); }
    const String& lnType() const { return Text(FlnType); }
    void SetlnType(const String& Value) {
        FlnType = &Own(1, Value);
        FTypeKnown = false;
    }
    const String& Prefix() const { return Text(FPrefix); }
    void SetPrefix(const String& Value) { FPrefix = &Own(2, Value); }
    const String& Inst() const;
    void SetInst(const String& Value) { FInst = &Own(3, Value); }

    // The node's reference: its logical device's reference, "/", prefix, lnClass and inst.
    String Reference() const;

    // The data objects of the node's type, in document order (owned); expanded on first use.
    const std::vector<TIEC_DO*>& List_DO() const;
    // The data sets of the node, in document order (owned).
    const std::vector<TIEC_DataSet*>& List_DataSet() const { return FList_DataSet; }

    // Depth first through the data objects and their sub-data objects.
    TIEC_DO* Find_DO(const String& DO_Name) const;

    TTreeNode* TreeNode = nullptr;

private:
    friend class TIEC_Decoder;
    friend class TIEC_Expander;
    static const String& Text(const String* s) { return s ? *s : IEC_NoText(); }
    const String& Own(int i, const String& Value) {
        if (!FOwn) FOwn = std::make_unique<TIEC_OwnTexts>();
        return FOwn->Texts[i] = Value;
    }
    void Expand() const;
    // The children of the node's LNodeType, or null.
    const std::vector<TIEC_TplChild>* Type(const TIEC_Device* dev) const;
    // The first data object of the node's type named DO_Name (UTF-8, as the file gives it); when the node is
    // not expanded yet, made through x without its children (resolving a data-set member needs only the
    // objects on its path).
    TIEC_DO* TopDO(const TIEC_Name& DO_Name, TIEC_Expander& x) const;
    // Reports that an expansion was cut (once per node); Stop: the node's budget is spent, nothing
    // more is expanded for it.
    void NoteCutShort(bool Stop) const;

    const String *FlnClass = nullptr, *FlnType = nullptr, *FPrefix = nullptr, *FInst = nullptr;
    // Without an instance text of its own (FInst): the number of the decoded one among the
    // device's texts, made a String when first asked for (most nodes' never are).
    uint32_t FInstId = ~0u;
    std::unique_ptr<TIEC_OwnTexts> FOwn;
    TIEC_LDevice* FOwner = nullptr;
    mutable bool FExpanded = false;
    mutable bool FCutShort = false;
    mutable bool FWarned = false;
    mutable bool FTypeKnown = false;
    mutable const std::vector<TIEC_TplChild>* FType = nullptr;
    mutable int FNodeCount = 0; // objects and attributes expanded for this node so far
    mutable std::vector<TIEC_DO*> FList_DO;
    // Until the node is expanded: one place per data object of its type, null until that object
    // is asked for on its own.
    mutable TIEC_DO** FSlots = nullptr;
    std::vector<TIEC_DataSet*> FList_DataSet;
};

class TIEC_LDevice : public TObject {
public:
    TIEC_LDevice() = default;
    ~TIEC_LDevice() override;

    // The LDevice's inst.
    const String& Name() const { return fName; }
    void SetName(const String& Value) { fName = Value; }
    // The logical device's reference: the IED name followed directly by Name.
    const String& Reference() const { return FReference; }

    // The LN0 and LN elements in document order (owned).
    const std::vector<TIEC_LN*>& List_LN() const { return FList_LN; }

    // The first logical node of class LN_Class (prefix and instance not compared).
    TIEC_LN* Find_LN(const String& LN_Class) const;
    // The first logical node with this prefix, class and instance.
    TIEC_LN* Find_LN(const String& Prefix, const String& LN_Class, const String& Inst) const;

    TTreeNode* TreeNode = nullptr;

private:
    friend class TIEC_Decoder;
    friend class TIEC_LN;
    String fName, FReference;
    TIEC_Device* FOwner = nullptr;
    std::vector<TIEC_LN*> FList_LN;
    // The logical nodes themselves, made in a few pieces by the decoder (a device may have
    // thousands); freed with the logical device.
    std::vector<std::unique_ptr<TIEC_LN[]>> FLNBlocks;
};

class TIEC_Device : public TObject {
public:
    // Decodes the SCL file FileName_icd. A missing file gives an empty device; a file the XML
    // parser rejects raises EXMLDocError and no device exists.
    explicit TIEC_Device(const String& FileName_icd);
    // Decodes SCL text held in memory (FileName is only recorded).
    TIEC_Device(const QByteArray& Data, const String& FileName);
    ~TIEC_Device() override;

    // The first IED's name; the root of every reference of this device.
    const String& Name() const { return fName; }
    void SetName(const String& Value) { fName = Value; }
    // The decoded file's name without its folder.
    const String& FileName() const { return fFileName; }
    void SetFileName(const String& Value) { fFileName = Value; }

    // Logical devices in document order (owned).
    const std::vector<TIEC_LDevice*>& List_LDevice() const { return FList_LDevice; }

    // The logical device whose Name (its inst) equals LD_Name.
    TIEC_LDevice* Find_LDevice(const String& LD_Name) const;

    // What decoding could not place: data-set members that do not resolve, expansions cut
    // short. Empty for a file that decodes completely.
    const QStringList& Warnings() const { return FWarnings; }

    TTreeNode* TreeNode = nullptr;

private:
    friend class TIEC_Decoder;
    friend class TIEC_Expander;
    friend class TIEC_LN;
    String fName, fFileName;
    std::vector<TIEC_LDevice*> FList_LDevice;
    std::shared_ptr<const TIEC_Templates> FTemplates; // the type templates, for expanding nodes
    std::shared_ptr<const TIEC_TextStore> FTexts;     // the texts the objects refer to
    std::unique_ptr<TIEC_Arena> FArena;               // where expanded objects are made
    mutable QStringList FWarnings;
    mutable Int64 FNodeCount = 0; // objects and attributes expanded so far
};

// The deepest an object or attribute lies below its logical node: a data object is at level 1,
// its sub-objects and attributes at 2, and so on. Real models nest a few levels; types that
// chain deeper are cut there, with a warning.
constexpr int IEC_MaxDepth = 64;

// For tests: decode every file from its whole parsed document, the way files that cannot be
// parsed piece by piece are decoded (the model must be the same either way).
void IEC_SetWholeDocumentDecoding(bool On);

// The most data objects and attributes one logical node, and all nodes of one device together,
// expand to; a node whose types would give more (types that nest each other many times over) is
// cut there, with a warning. Real nodes have a few hundred.
constexpr int IEC_MaxNodesPerLN = 200000;
constexpr Int64 IEC_MaxNodesPerDevice = 5000000;
