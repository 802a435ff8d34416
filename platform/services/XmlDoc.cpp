#include "XmlDoc.h"

#include <QFile>
#include <QSaveFile>

namespace {

QByteArray Utf8(const String& s) {
    return s.toUtf8();
}

String FromUtf8(const char* s) {
    return String::fromUtf8(s);
}

// Writes into a byte array for pugixml's save.
struct ByteWriter : pugi::xml_writer {
    QByteArray Data;
    void write(const void* data, size_t size) override {
        Data.append(static_cast<const char*>(data), qsizetype(size));
    }
};

} // namespace

String XmlNativePath(const String& FileName) {
    String s = FileName;
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return s;
}

// ---- TXMLNode ----------------------------------------------------------------------------------

String TXMLNode::NodeName() const {
    return IsElement() ? FromUtf8(FNode.name()) : String();
}

int TXMLNode::ChildCount() const {
    int n = 0;
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) ++n;
    return n;
}

TXMLNode TXMLNode::FirstChild() const {
    pugi::xml_node c = FNode.first_child();
    while (c && c.type() != pugi::node_element) c = c.next_sibling();
    return TXMLNode(c);
}

TXMLNode TXMLNode::NextSibling() const {
    pugi::xml_node c = FNode.next_sibling();
    while (c && c.type() != pugi::node_element) c = c.next_sibling();
    return TXMLNode(c);
}

TXMLNode TXMLNode::FindNode(const String& Name) const {
    if (!FNode) return TXMLNode();
    return TXMLNode(FNode.child(Utf8(Name).constData()));
}

TXMLNode TXMLNode::AddChild(const String& Name) {
    if (!FNode) throw EXMLDocError("Cannot add the element \"" + Name + "\" to an empty node");
    return TXMLNode(FNode.append_child(Utf8(Name).constData()));
}

bool TXMLNode::HasAttribute(const String& Name) const {
    return FNode && bool(FNode.attribute(Utf8(Name).constData()));
}

String TXMLNode::Attribute(const String& Name) const {
    if (!FNode) return String();
    return FromUtf8(FNode.attribute(Utf8(Name).constData()).value());
}

bool TXMLNode::TryAttribute(const String& Name, String& Value) const {
    if (!FNode) return false;
    pugi::xml_attribute a = FNode.attribute(Utf8(Name).constData());
    if (!a) return false;
    Value = FromUtf8(a.value());
    return true;
}

String TXMLNode::RequiredAttribute(const String& Name) const {
    String v;
    if (!TryAttribute(Name, v))
        throw EConvertError("The attribute \"" + Name + "\" is missing in the element \"" + NodeName() +
                            "\"");
    return v;
}

void TXMLNode::SetAttribute(const String& Name, const String& Value) {
    if (!IsElement())
        throw EXMLDocError("Cannot set the attribute \"" + Name + "\" of a node that is no element");
    QByteArray n = Utf8(Name);
    pugi::xml_attribute a = FNode.attribute(n.constData());
    if (!a) a = FNode.append_attribute(n.constData());
    a.set_value(Utf8(Value).constData());
}

int TXMLNode::NodeCount() const {
    int n = 0;
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling()) ++n;
    return n;
}

TXMLNode TXMLNode::Nodes(int Index) const {
    pugi::xml_node c = FNode.first_child();
    for (int i = 0; c && i < Index; ++i) c = c.next_sibling();
    return TXMLNode(Index < 0 ? pugi::xml_node() : c);
}

String TXMLNode::InnerText() const {
    if (IsText()) return FromUtf8(FNode.value());
    std::string text;
    struct TCollect : pugi::xml_tree_walker {
        std::string* Out;
        bool for_each(pugi::xml_node& N) override {
            if (N.type() == pugi::node_pcdata || N.type() == pugi::node_cdata) *Out += N.value();
            return true;
        }
    } walker;
    walker.Out = &text;
    // Text kept in the element itself (embedded text) comes first.
    if (FNode.type() == pugi::node_element && *FNode.value()) text += FNode.value();
    pugi::xml_node node = FNode;
    node.traverse(walker);
    return String::fromUtf8(text.data(), qsizetype(text.size()));
}

int TXMLNode::AttributeCount() const {
    int n = 0;
    for (pugi::xml_attribute a = FNode.first_attribute(); a; a = a.next_attribute()) ++n;
    return n;
}

String TXMLNode::AttributeName(int Index) const {
    pugi::xml_attribute a = FNode.first_attribute();
    for (int i = 0; a && i < Index; ++i) a = a.next_attribute();
    return Index >= 0 && a ? FromUtf8(a.name()) : String();
}

String TXMLNode::AttributeValue(int Index) const {
    pugi::xml_attribute a = FNode.first_attribute();
    for (int i = 0; a && i < Index; ++i) a = a.next_attribute();
    return Index >= 0 && a ? FromUtf8(a.value()) : String();
}

String TXMLNode::Text() const {
    return FNode ? FromUtf8(FNode.child_value()) : String();
}

void TXMLNode::SetText(const String& Value) {
    if (!IsElement()) throw EXMLDocError("Cannot set the text of a node that is no element");
    FNode.text().set(Utf8(Value).constData());
}

bool TXMLNode::HasChildElements() const {
    return bool(FirstChild());
}

// ---- TXMLDocument ------------------------------------------------------------------------------

TXMLDocument::TXMLDocument(TComponent* AOwner) : TComponent(AOwner), FDoc(new pugi::xml_document) {}

TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::SetActive(bool Value) {
    if (!Value) FDoc->reset();
    FActive = Value;
}

void TXMLDocument::Load(const pugi::xml_parse_result& Result, const String& Source) {
    FParseStatus = int(Result.status);
    FParseOffset = qint64(Result.offset);
    if (!Result) {
        String msg = String::fromUtf8(Result.description());
        FDoc->reset();
        throw EXMLDocError(msg + " (" + Source + ", offset " + QString::number(qlonglong(Result.offset)) +
                           ")");
    }
    FActive = true;
}

void TXMLDocument::LoadFromFile(const String& FileName) {
    LoadFromFile(FileName, XmlParseOptions);
}

void TXMLDocument::LoadFromXML(const QByteArray& Data) {
    LoadFromXML(Data, XmlParseOptions);
}

void TXMLDocument::LoadFromFile(const String& FileName, unsigned Options) {
    FDoc->reset();
    QFile f(XmlNativePath(FileName));
    if (!f.open(QIODevice::ReadOnly))
        throw EXMLDocError("Cannot open the file \"" + FileName + "\": " + f.errorString());
    const qint64 size = f.size();
    // The parser works in place on a buffer it owns, so the text is held only once.
    void* buffer = pugi::get_memory_allocation_function()(size_t(size > 0 ? size : 1));
    if (!buffer) throw EXMLDocError("Out of memory reading \"" + FileName + "\"");
    qint64 got = size > 0 ? f.read(static_cast<char*>(buffer), size) : 0;
    if (got != size) {
        pugi::get_memory_deallocation_function()(buffer);
        throw EXMLDocError("Cannot read the file \"" + FileName + "\": " + f.errorString());
    }
    Load(FDoc->load_buffer_inplace_own(buffer, size_t(size), Options), FileName);
}

void TXMLDocument::LoadFromXML(const QByteArray& Data, unsigned Options) {
    FDoc->reset();
    Load(FDoc->load_buffer(Data.constData(), size_t(Data.size()), Options), "XML text");
}

QByteArray TXMLDocument::SaveToXML() const {
    ByteWriter w;
    FDoc->save(w, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return w.Data;
}

void TXMLDocument::SaveToFile(const String& FileName) const {
    const QByteArray data = SaveToXML();
    QSaveFile f(XmlNativePath(FileName));
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit())
        throw EXMLDocError("Cannot write the file \"" + FileName + "\": " + f.errorString());
}

void TXMLDocument::Clear() {
    FDoc->reset();
}

TXMLNode TXMLDocument::AddChild(const String& Name) {
    FActive = true;
    return TXMLNode(FDoc->append_child(Utf8(Name).constData()));
}

void TXMLDocument::AppendComment(const String& Text) {
    FActive = true;
    FDoc->append_child(pugi::node_comment).set_value(Utf8(Text).constData());
}

TXMLNode TXMLDocument::DocumentElement() const {
    return TXMLNode(FDoc->document_element());
}

TXMLNode TXMLDocument::FindNode(const String& Name) const {
    return TXMLNode(FDoc->child(Utf8(Name).constData()));
}
