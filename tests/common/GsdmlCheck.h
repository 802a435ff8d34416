// What a GSDML consumer needs of a written file, checked on its bytes: the UTF-8 byte-order mark,
// CR LF after every line and no bare line feed, a well-formed document by an outside parser
// (xmllint, which scripts/install-deps.sh installs: a missing xmllint fails the check), every
// TextId used defined in the ExternalTextList, and every ID reference resolving.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QString>

#include <pugixml.hpp>

#include <gtest/gtest.h>

// Runs "xmllint --noout Path": true when it accepts the file. Output gets what it printed.
inline bool XmllintAccepts(const QString& Path, QString* Output = nullptr) {
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (exe.isEmpty()) {
        ADD_FAILURE() << "xmllint not found: scripts/install-deps.sh installs it (libxml2-utils)";
        return false;
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, {QStringLiteral("--noout"), Path});
    if (!p.waitForFinished(60000)) {
        ADD_FAILURE() << "xmllint did not finish";
        return false;
    }
    if (Output) *Output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

namespace gsdml_check {

// The element whose ID each reference attribute names.
inline const QMap<QString, QString>& ReferenceTargets() {
    static const QMap<QString, QString> targets{{"ModuleItemTarget", "ModuleItem"},
                                                {"ValueItemTarget", "ValueItem"},
                                                {"ParameterTarget", "Ref"},
                                                {"MenuTarget", "MenuItem"}};
    return targets;
}

struct Walk {
    QSet<QString> TextIdsUsed, TextIdsDefined;
    QMap<QString, QSet<QString>> Ids;              // element name -> IDs
    QList<std::pair<QString, QString>> References; // attribute -> value
    int Texts = 0;

    void Visit(const pugi::xml_node& Node, bool InTextList) {
        const QString name = QString::fromUtf8(Node.name());
        const bool textList = InTextList || name == QStringLiteral("PrimaryLanguage");
        for (const pugi::xml_attribute& a : Node.attributes()) {
            const QString attr = QString::fromUtf8(a.name()), value = QString::fromUtf8(a.value());
            if (attr == QStringLiteral("TextId")) {
                if (textList && name == QStringLiteral("Text")) {
                    EXPECT_FALSE(TextIdsDefined.contains(value))
                        << "text defined twice: " << value.toStdString();
                    TextIdsDefined << value;
                    ++Texts;
                } else {
                    TextIdsUsed << value;
                }
            } else if (attr == QStringLiteral("ID")) {
                Ids[name] << value;
            } else if (attr.endsWith(QStringLiteral("Target"))) {
                References << std::pair{attr, value};
            }
        }
        for (const pugi::xml_node& c : Node.children())
            if (c.type() == pugi::node_element) Visit(c, textList);
    }
};

} // namespace gsdml_check

// Every check of the file header; Texts is the number of texts the ExternalTextList must hold.
inline void ExpectSoundGsdml(const QString& Path, int Texts = 40) {
    SCOPED_TRACE(Path.toStdString());
    QFile f(Path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "no UTF-8 byte-order mark";
    ASSERT_TRUE(bytes.endsWith("\r\n")) << "the last line has no CR LF";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at byte " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
    QString lint;
    EXPECT_TRUE(XmllintAccepts(Path, &lint)) << lint.toStdString();

    pugi::xml_document doc;
    const pugi::xml_parse_result r = doc.load_buffer(bytes.constData(), size_t(bytes.size()));
    ASSERT_TRUE(r) << r.description();
    const pugi::xml_node root = doc.document_element();
    ASSERT_STREQ(root.name(), "ISO15745Profile");
    gsdml_check::Walk w;
    w.Visit(root, false);
    EXPECT_EQ(w.Texts, Texts);
    for (const QString& id : w.TextIdsUsed)
        EXPECT_TRUE(w.TextIdsDefined.contains(id)) << "TextId without text: " << id.toStdString();
    EXPECT_FALSE(w.References.isEmpty());
    for (const auto& [attr, value] : w.References) {
        const auto target = gsdml_check::ReferenceTargets().find(attr);
        if (target == gsdml_check::ReferenceTargets().end()) {
            ADD_FAILURE() << "reference of an unknown kind: " << attr.toStdString();
            continue;
        }
        EXPECT_TRUE(w.Ids.value(*target).contains(value))
            << attr.toStdString() << "=\"" << value.toStdString() << "\" names no " << target->toStdString();
    }
}
