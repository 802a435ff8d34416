// The XML document component: a document object model over pugixml with the operations the
// configurator's windows and generators use on their project files and on SCL files.
//
// Reading: a file is parsed with comments, processing instructions, the declaration and
// whitespace-only text left out, so the nodes a reader sees are elements (and the text inside
// them); "the document's first node" is therefore always its first element, whatever comes
// before it in the file. Writing: files are saved as UTF-8 without a declaration (the readers of
// the system take the first node as the root), indented with tabs, attributes in the order they
// were set; the file is replaced whole or not at all.
#pragma once

#include "Classes.h"
#include "System.h"

#include <pugixml.hpp>

#include <memory>

// Raised when a file cannot be parsed, read or written; carries the parser's or the system's
// message and the file's name.
class EXMLDocError : public Exception {
    using Exception::Exception;
};

// A node of a document: a light handle, copied by value, null when it names nothing. Handles
// stay valid while their document keeps its content (until Clear, LoadFromFile or the
// document's destruction).
class TXMLNode {
public:
    TXMLNode() = default;
    explicit TXMLNode(pugi::xml_node node) : FNode(node) {}

    bool IsNull() const { return !FNode; }
    explicit operator bool() const { return bool(FNode); }
    bool IsElement() const { return FNode.type() == pugi::node_element; }
    bool IsComment() const { return FNode.type() == pugi::node_comment; }
    // The element's name as written (qualified, no namespace processing); empty for other nodes.
    String NodeName() const;

    // Child elements, in document order.
    int ChildCount() const;
    TXMLNode FirstChild() const;
    TXMLNode NextSibling() const;
    // The first child element whose name equals Name exactly, or a null node.
    TXMLNode FindNode(const String& Name) const;
    // Appends a new child element and returns it.
    TXMLNode AddChild(const String& Name);

    bool HasAttribute(const String& Name) const;
    // The attribute's value; empty when the element does not have it.
    String Attribute(const String& Name) const;
    // The attribute's value into Value when the element has it; false (Value untouched) when not.
    bool TryAttribute(const String& Name, String& Value) const;
    // The attribute's value; raises EConvertError naming the element and the attribute when the
    // element does not have it (the "required attribute" rule of the project files).
    String RequiredAttribute(const String& Name) const;
    // Sets an attribute; a new one is appended after the existing ones.
    void SetAttribute(const String& Name, const String& Value);

    // The text of the element (its first text child), empty when it has none.
    String Text() const;
    void SetText(const String& Value);
    // True when the element holds child elements (its text is then not a plain value).
    bool HasChildElements() const;

    // Every child node in document order: elements and their text (ChildCount counts the
    // elements only).
    int NodeCount() const;
    TXMLNode Nodes(int Index) const;
    bool IsText() const { return FNode.type() == pugi::node_pcdata || FNode.type() == pugi::node_cdata; }
    // The text of the node and everything inside it, joined.
    String InnerText() const;
    // The attributes in the order they stand.
    int AttributeCount() const;
    String AttributeName(int Index) const;
    String AttributeValue(int Index) const;

    // The underlying node, for decoders that walk large documents without building texts.
    pugi::xml_node Handle() const { return FNode; }

private:
    pugi::xml_node FNode;
};

class TXMLDocument : public TComponent {
public:
    explicit TXMLDocument(TComponent* AOwner);
    ~TXMLDocument() override;

    // An inactive document is empty; activating an empty document gives an empty document,
    // deactivating drops what it held.
    bool Active() const { return FActive; }
    void SetActive(bool Value);

    // Replaces the content with the parsed file; on a parse or read error raises EXMLDocError
    // with the parser's message and leaves the document empty. Paths may use "\" separators.
    void LoadFromFile(const String& FileName);
    // Parses text held in memory (same rules as LoadFromFile).
    void LoadFromXML(const QByteArray& Data);
    // The same with the parser's options given (pugi::parse_* flags), for readers that need
    // less of the document than XmlParseOptions keeps (see XmlReadOnlyParseOptions).
    void LoadFromFile(const String& FileName, unsigned Options);
    void LoadFromXML(const QByteArray& Data, unsigned Options);
    // Writes the document to FileName through a temporary file in the same folder, replacing
    // the file only when everything was written; raises EXMLDocError on failure.
    void SaveToFile(const String& FileName) const;
    // The document as it would be saved.
    QByteArray SaveToXML() const;

    // Removes every node of the document.
    void Clear();
    // Appends an element at document level (the root when the document is empty).
    TXMLNode AddChild(const String& Name);
    // Appends a comment at document level, after the nodes already there.
    void AppendComment(const String& Text);

    // The first top-level element (the root), or a null node for an empty document.
    TXMLNode DocumentElement() const;
    // The first top-level element whose name equals Name exactly, or a null node.
    TXMLNode FindNode(const String& Name) const;

    pugi::xml_document& Handle() { return *FDoc; }
    // The parser's status of the last load (pugi::xml_parse_status, 0 for success) and the byte
    // offset where it stopped.
    int ParseStatus() const { return FParseStatus; }
    qint64 ParseOffset() const { return FParseOffset; }

private:
    void Load(const pugi::xml_parse_result& Result, const String& Source);

    std::unique_ptr<pugi::xml_document> FDoc;
    bool FActive = false;
    int FParseStatus = 0;
    qint64 FParseOffset = 0;
};

// The parse options of every document load: elements and their text, entities expanded, line
// ends normalised; comments, declaration, processing instructions, DOCTYPE and whitespace-only
// text left out.
constexpr unsigned XmlParseOptions = pugi::parse_default;

// For readers that only walk a document, never change or save it: as XmlParseOptions, but the
// text of an element is kept in the element itself instead of a child node (TXMLNode::Text and
// pugixml's child_value still give it), which saves a node per text; CDATA sections are left out.
constexpr unsigned XmlReadOnlyParseOptions =
    (pugi::parse_default & ~pugi::parse_cdata) | pugi::parse_embed_pcdata;

// Maps the "\" separators of the system's paths to the native ones.
String XmlNativePath(const String& FileName);
