// Decoding SCL files into the device model.
#include "TestSupport.h"
#include "UIEC_Device.h"
#include "XmlDoc.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <pugixml.hpp>

namespace {

// A small SCL file: one IED named IED1 with the given logical devices, and the given templates.
QByteArray Scl(const char* lDevices, const char* templates, const char* extraIeds = "") {
    return QByteArray("<?xml version=\"1.0\"?>\n<!-- written by hand -->\n<SCL>\n"
                      "<IED name=\"IED1\"><AccessPoint name=\"AP1\"><Server>") +
           lDevices + "</Server></AccessPoint></IED>\n" + extraIeds + "<DataTypeTemplates>" + templates +
           "</DataTypeTemplates></SCL>\n";
}

// Templates shared by most fixtures: a breaker position, a measured value with a nested
// structure, a controllable with a CF attribute, and an enumeration-typed attribute.
const char* Types = R"(
  <LNodeType id="XCBR_T" lnClass="XCBR"><DO name="Pos" type="DPC_T"/><DO name="Mod" type="INC_T"/></LNodeType>
  <LNodeType id="MMXU_T" lnClass="MMXU"><DO name="TotW" type="MV_T"/><DO name="A" type="WYE_T"/></LNodeType>
  <LNodeType id="LLN0_T" lnClass="LLN0"><DO name="Mod" type="INC_T"/></LNodeType>
  <LNodeType id="GGIO_T" lnClass="GGIO"><DO name="Ind" type="SPS_T"/></LNodeType>
  <DOType id="DPC_T" cdc="DPC"><DA name="ctlModel" bType="Enum" type="ctlModelKind" fc="CF"/>
    <DA name="stVal" bType="Dbpos" fc="ST"/><DA name="q" bType="Quality" fc="ST"/></DOType>
  <DOType id="INC_T" cdc="INC"><DA name="stVal" bType="INT32" fc="ST"/></DOType>
  <DOType id="SPS_T" cdc="SPS"><DA name="stVal" bType="BOOLEAN" fc="ST"/></DOType>
  <DOType id="MV_T" cdc="MV"><DA name="cVal" bType="Struct" type="Vector_T" fc="MX"/><DA name="q" bType="Quality" fc="MX"/></DOType>
  <DOType id="CMV_T" cdc="CMV"><DA name="cVal" bType="Struct" type="Vector_T" fc="MX"/></DOType>
  <DOType id="WYE_T" cdc="WYE"><SDO name="phsA" type="CMV_T"/><SDO name="phsB" type="CMV_T"/></DOType>
  <DAType id="Vector_T"><BDA name="mag" bType="Struct" type="AV_T"/><BDA name="ang" bType="Struct" type="AV_T"/></DAType>
  <DAType id="AV_T"><BDA name="f" bType="FLOAT32"/></DAType>
  <DAType id="ctlModelKind"><BDA name="never" bType="INT8"/></DAType>
  <EnumType id="ctlModelKind"><EnumVal ord="0">status-only</EnumVal></EnumType>
)";

TIEC_LN* LN(const TIEC_Device& d, int ld, int ln) {
    return d.List_LDevice().at(size_t(ld))->List_LN().at(size_t(ln));
}

QStringList Refs(const std::vector<TIEC_DA*>& list) {
    QStringList r;
    for (TIEC_DA* a : list) r << a->Reference();
    return r;
}

QStringList Names(const std::vector<TIEC_DO*>& list) {
    QStringList r;
    for (TIEC_DO* d : list) r << d->Name();
    return r;
}

// The whole model as text, every node expanded: what two decodings of one file must agree on.
void Dump(const TIEC_DA* a, QString& out) {
    out +=
        "DA " + a->Reference() + " " + a->FC() + " " + a->bType() + " " + QString::number(a->Count()) + "\n";
    for (const TIEC_DA* c : a->List_DA()) Dump(c, out);
    for (const TIEC_DA* e : a->List_Element()) Dump(e, out);
}

void Dump(const TIEC_DO* d, QString& out) {
    out += "DO " + d->Reference() + " " + QString::number(d->Count()) + "\n";
    for (const TIEC_DO* c : d->List_DO()) Dump(c, out);
    for (const TIEC_DA* c : d->List_DA()) Dump(c, out);
    for (const TIEC_DO* e : d->List_Element()) Dump(e, out);
}

QString Dump(const TIEC_Device& dev) {
    QString out = "Device " + dev.Name() + "\n";
    for (const TIEC_LDevice* ld : dev.List_LDevice()) {
        out += "LD " + ld->Name() + "\n";
        for (const TIEC_LN* ln : ld->List_LN()) {
            out += "LN " + ln->Reference() + " " + ln->lnType() + "\n";
            // Members first: resolving them must not depend on the node being expanded.
            for (const TIEC_DataSet* ds : ln->List_DataSet()) {
                out += "DS " + ds->Reference() + " " + ds->GooseName() + "\n";
                for (const TIEC_DA* m : ds->List_DA()) out += "  " + m->Reference() + " " + m->FC() + "\n";
            }
            for (const TIEC_DO* d : ln->List_DO()) Dump(d, out);
        }
    }
    for (const QString& w : dev.Warnings()) out += "W " + w + "\n";
    return out;
}

// Decodes Xml piece by piece (as always) and from its whole document: the two models are the
// same. Returns the model's text.
QString DumpBothWays(const QByteArray& Xml) {
    TIEC_Device pieces(Xml, "x.scd");
    const QString a = Dump(pieces);
    IEC_SetWholeDocumentDecoding(true);
    QString b;
    try {
        TIEC_Device whole(Xml, "x.scd");
        b = Dump(whole);
    } catch (...) {
        IEC_SetWholeDocumentDecoding(false);
        throw;
    }
    IEC_SetWholeDocumentDecoding(false);
    EXPECT_EQ(a.toStdString(), b.toStdString());
    return a;
}

} // namespace

TEST(IEC_Device, BuildsReferencesTypesAndInheritedFunctionalConstraints) {
    TIEC_Device d(Scl(R"(<LDevice inst="LD0">
        <LN0 lnClass="LLN0" lnType="LLN0_T" inst=""/>
        <LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="1"/>
        <LN lnClass="MMXU" lnType="MMXU_T" inst="1"/></LDevice>)",
                      Types),
                  "dir/sub\\file.icd");
    EXPECT_EQ(d.Name(), "IED1");
    EXPECT_EQ(d.FileName(), "file.icd");
    ASSERT_EQ(d.List_LDevice().size(), 1u);
    EXPECT_EQ(d.List_LDevice()[0]->Name(), "LD0");
    ASSERT_EQ(d.List_LDevice()[0]->List_LN().size(), 3u);

    TIEC_LN* xcbr = LN(d, 0, 1);
    EXPECT_EQ(xcbr->Prefix(), "Q0");
    EXPECT_EQ(xcbr->Inst(), "1");
    EXPECT_EQ(xcbr->lnType(), "XCBR_T");
    TIEC_DA* stVal = xcbr->Find_DO("Pos")->Find_DA("stVal");
    ASSERT_TRUE(stVal);
    EXPECT_EQ(stVal->Reference(), "IED1LD0/Q0XCBR1.Pos.stVal");
    EXPECT_EQ(stVal->FC(), "ST");
    EXPECT_EQ(stVal->bType(), "Dbpos");

    // An enumerated attribute's type is not followed, even when a DAType has the same id.
    TIEC_DA* ctl = xcbr->Find_DO("Pos")->Find_DA("ctlModel");
    EXPECT_TRUE(ctl->List_DA().empty());

    // Nested attributes inherit the functional constraint of the attribute holding them.
    TIEC_DO* totW = LN(d, 0, 2)->Find_DO("TotW");
    TIEC_DA* f = totW->Find_First_DA();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Reference(), "IED1LD0/MMXU1.TotW.cVal.mag.f");
    EXPECT_EQ(f->FC(), "MX");
    EXPECT_EQ(f->bType(), "FLOAT32");

    // Sub-data objects.
    TIEC_DO* phsB = LN(d, 0, 2)->Find_DO("phsB");
    ASSERT_TRUE(phsB);
    EXPECT_EQ(phsB->Find_First_DA()->Reference(), "IED1LD0/MMXU1.A.phsB.cVal.mag.f");
    EXPECT_TRUE(d.Warnings().isEmpty());
}

TEST(IEC_Device, NestedAttributeWithOwnFunctionalConstraintPassesItOn) {
    TIEC_Device d(Scl(R"(<LDevice inst="LD0"><LN lnClass="GGIO" lnType="G" inst="1"/></LDevice>)",
                      R"(<LNodeType id="G" lnClass="GGIO"><DO name="X" type="D"/></LNodeType>
                         <DOType id="D"><DA name="a" bType="Struct" type="S1" fc="ST"/></DOType>
                         <DAType id="S1"><BDA name="b" bType="Struct" type="S2" fc="CF"/><BDA name="c" bType="INT8"/></DAType>
                         <DAType id="S2"><BDA name="e" bType="INT8"/></DAType>)"),
                  "x.icd");
    TIEC_DA* a = LN(d, 0, 0)->Find_DO("X")->Find_DA("a");
    ASSERT_EQ(a->List_DA().size(), 2u);
    EXPECT_EQ(a->List_DA()[0]->FC(), "CF");
    EXPECT_EQ(a->List_DA()[0]->List_DA()[0]->FC(), "CF");
    EXPECT_EQ(a->List_DA()[1]->FC(), "ST");
}

TEST(IEC_Device, OnlyTheFirstIedAndTemplatesWithOneIdJoin) {
    TIEC_Device d(
        Scl(R"(<LDevice inst="A"><LN lnClass="GGIO" lnType="T" inst="1"/></LDevice>)",
            R"(<LNodeType id="T" lnClass="GGIO"><DO name="One" type="D"/></LNodeType>
                         <DOType id="D"><SDO name="s" type="E"/><DA name="v" bType="INT8" fc="ST"/><SDO name="t" type="E"/></DOType>
                         <DOType id="E"><DA name="w" bType="INT8" fc="MX"/></DOType>
                         <LNodeType id="T" lnClass="GGIO"><DO name="Two" type="D"/></LNodeType>)",
            R"(<IED name="IED2"><AccessPoint><Server><LDevice inst="B"/></Server></AccessPoint></IED>)"),
        "x.icd");
    EXPECT_EQ(d.Name(), "IED1");
    ASSERT_EQ(d.List_LDevice().size(), 1u);
    TIEC_LN* ln = LN(d, 0, 0);
    EXPECT_EQ(Names(ln->List_DO()), QStringList({"One", "Two"}));
    // Sub-objects and attributes both kept, each in document order.
    EXPECT_EQ(Names(ln->List_DO()[0]->List_DO()), QStringList({"s", "t"}));
    EXPECT_EQ(Refs(ln->List_DO()[0]->List_DA()), QStringList({"IED1A/GGIO1.One.v"}));
}

TEST(IEC_Device, TypesThatContainThemselvesAreExpandedOncePerPath) {
    TIEC_Device d(Scl(R"(<LDevice inst="LD"><LN lnClass="GGIO" lnType="T" inst="1"/></LDevice>)",
                      R"(<LNodeType id="T" lnClass="GGIO"><DO name="X" type="D1"/></LNodeType>
                         <DOType id="D1"><SDO name="self" type="D1"/><SDO name="other" type="D2"/>
                           <DA name="a" bType="Struct" type="A1" fc="ST"/></DOType>
                         <DOType id="D2"><SDO name="back" type="D1"/></DOType>
                         <DAType id="A1"><BDA name="loop" bType="Struct" type="A1"/><BDA name="b" bType="Struct" type="A2"/></DAType>
                         <DAType id="A2"><BDA name="c" bType="Struct" type="A1"/><BDA name="leaf" bType="INT8"/></DAType>)"),
                  "x.icd");
    TIEC_DO* x = LN(d, 0, 0)->Find_DO("X");
    ASSERT_TRUE(x);
    // "self" names the type being expanded: it stays without children; so does "back" below
    // "other", which leads to the same type again.
    EXPECT_TRUE(x->List_DO()[0]->List_DO().empty());
    EXPECT_TRUE(x->List_DO()[1]->List_DO()[0]->List_DO().empty());
    TIEC_DA* a = x->Find_DA("a");
    EXPECT_TRUE(a->List_DA()[0]->List_DA().empty());               // loop
    EXPECT_TRUE(a->List_DA()[1]->List_DA()[0]->List_DA().empty()); // b.c
    EXPECT_EQ(a->Find_DA("leaf")->Reference(), "IED1LD/GGIO1.X.a.b.leaf");
}

TEST(IEC_Device, DataSetsResolveMembersByFullNodeNameAndPaths) {
    TIEC_Device d(Scl(R"(
      <LDevice inst="LD0">
        <LN0 lnClass="LLN0" lnType="LLN0_T" inst="">
          <DataSet name="DS1">
            <FCDA ldInst="LD0" lnClass="XCBR" prefix="Q0" lnInst="2" doName="Pos" daName="stVal" fc="ST"/>
            <FCDA ldInst="LD1" lnClass="MMXU" lnInst="1" doName="A.phsB" daName="cVal.mag.f" fc="MX"/>
            <FCDA ldInst="IED1LD1" lnClass="MMXU" lnInst="1" doName="TotW" daName="q" fc="MX"/>
            <FCDA ldInst="LD0" lnClass="XCBR" prefix="Q0" lnInst="1" doName="Pos" fc="ST"/>
            <FCDA ldInst="LD1" lnClass="MMXU" lnInst="1" doName="TotW" fc="MX"/>
            <FCDA ldInst="LD0" lnClass="XCBR" lnInst="1" doName="Pos" daName="stVal" fc="ST"/>
            <FCDA ldInst="LD1" lnClass="MMXU" lnInst="1" doName="A" fc="MX"/>
            <FCDA ldInst="LD0" lnClass="XCBR" prefix="Q0" lnInst="1" doName="Pos" daName="nothing" fc="ST"/>
          </DataSet>
          <DataSet name="Empty"/>
        </LN0>
        <LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="1"/>
        <LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="2"/>
        <LN lnClass="GGIO" lnType="GGIO_T" prefix="My" inst="1">
          <DataSet name="DS1"><FCDA ldInst="LD0" lnClass="GGIO" prefix="My" lnInst="1" doName="Ind" daName="stVal"/></DataSet>
        </LN>
      </LDevice>
      <LDevice inst="LD1"><LN lnClass="MMXU" lnType="MMXU_T" inst="1"/></LDevice>)",
                      Types),
                  "x.icd");
    TIEC_LN* lln0 = LN(d, 0, 0);
    ASSERT_EQ(lln0->List_DataSet().size(), 2u);
    TIEC_DataSet* ds = lln0->List_DataSet()[0];
    EXPECT_EQ(ds->Reference(), "IED1LD0/LLN0.DS1");
    EXPECT_EQ(Refs(ds->List_DA()),
              QStringList({
                  "IED1LD0/Q0XCBR2.Pos.stVal",       // the instance named, not the first XCBR
                  "IED1LD1/MMXU1.A.phsB.cVal.mag.f", // a later logical device, dotted names
                  "IED1LD1/MMXU1.TotW.q",            // ldInst written as the full name
                  "IED1LD0/Q0XCBR1.Pos.stVal",       // no daName: first leaf with fc ST
                  "IED1LD1/MMXU1.TotW.cVal.mag.f",   // no daName: first leaf with fc MX
              }));
    // The member is the very attribute of the model.
    EXPECT_EQ(ds->List_DA()[0], LN(d, 0, 2)->Find_DO("Pos")->Find_DA("stVal"));
    EXPECT_TRUE(lln0->List_DataSet()[1]->List_DA().empty());

    // The data set's reference carries its node's prefix and instance.
    TIEC_DataSet* my = LN(d, 0, 3)->List_DataSet().at(0);
    EXPECT_EQ(my->Reference(), "IED1LD0/MyGGIO1.DS1");
    EXPECT_EQ(Refs(my->List_DA()), QStringList({"IED1LD0/MyGGIO1.Ind.stVal"}));

    // Three members do not resolve (no prefix given for a prefixed node, a data object with
    // sub-objects only, an unknown attribute): each is reported.
    ASSERT_EQ(d.Warnings().size(), 3);
    EXPECT_TRUE(d.Warnings()[0].contains("IED1LD0/LLN0.DS1")) << d.Warnings()[0].toStdString();
    EXPECT_TRUE(d.Warnings()[0].contains("LD0/XCBR1.Pos.stVal")) << d.Warnings()[0].toStdString();
    EXPECT_TRUE(d.Warnings()[2].contains("Pos.nothing")) << d.Warnings()[2].toStdString();
}

TEST(IEC_Device, GooseControlNamesTheFirstDataSetOfItsNode) {
    TIEC_Device d(Scl(R"(<LDevice inst="LD0"><LN0 lnClass="LLN0" lnType="LLN0_T" inst="">
        <DataSet name="A"/><DataSet name="A"/><DataSet name="B"/>
        <GSEControl name="gcbA" datSet="A"/><GSEControl name="gcbNone" datSet="Missing"/><GSEControl name="" datSet="B"/>
        </LN0></LDevice>)",
                      Types),
                  "x.icd");
    const auto& sets = LN(d, 0, 0)->List_DataSet();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0]->GooseName(), "gcbA");
    EXPECT_EQ(sets[1]->GooseName(), "");
    EXPECT_EQ(sets[2]->GooseName(), "");
}

// Gaps in a file leave a smaller model.
TEST(IEC_Device, IncompleteFilesGiveSmallerModels) {
    struct Case {
        const char* what;
        QByteArray xml;
        const char* name;
        size_t lDevices;
    };
    const Case cases[] = {
        {"no SCL root", "<Other><IED name=\"I\"/></Other>", "", 0},
        {"no templates",
         "<SCL><IED name=\"I\"><AccessPoint><Server><LDevice inst=\"L\"/></Server></AccessPoint></IED></SCL>",
         "", 0},
        {"no access point", "<SCL><IED name=\"I\"/><DataTypeTemplates/></SCL>", "I", 0},
        {"no server", "<SCL><IED name=\"I\"><AccessPoint/></IED><DataTypeTemplates/></SCL>", "I", 0},
        {"bare logical device",
         "<SCL><IED name=\"I\"><AccessPoint><Server><LDevice "
         "inst=\"L\"/></Server></AccessPoint></IED><DataTypeTemplates/></SCL>",
         "I", 1},
    };
    for (const Case& c : cases) {
        TIEC_Device d(c.xml, "f.scd");
        EXPECT_EQ(d.Name(), c.name) << c.what;
        EXPECT_EQ(d.List_LDevice().size(), c.lDevices) << c.what;
    }

    // A node without lnType: no data objects and no data sets; an unknown type: no children.
    TIEC_Device d(Scl(R"(<LDevice inst="L"><LN lnClass="GGIO" inst="1"><DataSet name="D"/></LN>
                         <LN lnClass="GGIO" inst="2" lnType="Unknown"/>
                         <LN lnClass="GGIO" inst="3" lnType="T"/></LDevice>)",
                      R"(<LNodeType id="T"><DO name="NoType"/><DO name="BadType" type="Nope"/></LNodeType>)"),
                  "f.scd");
    EXPECT_TRUE(LN(d, 0, 0)->List_DO().empty());
    EXPECT_TRUE(LN(d, 0, 0)->List_DataSet().empty());
    EXPECT_TRUE(LN(d, 0, 1)->List_DO().empty());
    ASSERT_EQ(LN(d, 0, 2)->List_DO().size(), 2u);
    EXPECT_TRUE(LN(d, 0, 2)->List_DO()[0]->List_DA().empty());
    EXPECT_TRUE(LN(d, 0, 2)->List_DO()[1]->List_DA().empty());
}

TEST(IEC_Device, MissingFileGivesAnEmptyDeviceAndBrokenXmlRaises) {
    QTemporaryDir dir;
    TIEC_Device missing(dir.path() + "/none.icd");
    EXPECT_EQ(missing.FileName(), "none.icd");
    EXPECT_EQ(missing.Name(), "");
    EXPECT_TRUE(missing.List_LDevice().empty());

    QFile f(dir.path() + "/bad.icd");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<SCL><IED name=\"x\"></SCL>");
    f.close();
    EXPECT_THROW(TIEC_Device(dir.path() + "/bad.icd"), EXMLDocError);
}

// Every sample file written by other tools decodes, with the logical devices, logical nodes and
// data sets it holds (counted here straight from the file), and with the objects, attributes and
// resolved members it had before the decoder read files piece by piece.
TEST(IEC_Device, SampleFilesDecode) {
    SKIP_WITHOUT_TESTDATA("scl");
    const QString folder = TestDataPath("scl");
    struct Counts {
        const char* file;
        int objects, attributes, members;
    };
    const Counts expected[] = {
        {"beagle_demo.icd", 185, 444, 4},
        {"complexModel.icd", 67, 215, 4},
        {"sampleModel_with_dataset.icd", 33, 91, 3},
        {"sg_demo.cid", 15, 72, 0},
        {"simpleIO_direct_control_goose.scd", 23, 113, 8},
        {"wtur.cid", 41, 286, 0},
    };
    QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        TIEC_Device d(path);
        EXPECT_EQ(d.FileName(), name);

        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file(path.toUtf8().constData()));
        pugi::xml_node ied = doc.child("SCL").child("IED");
        EXPECT_EQ(d.Name(), QString::fromUtf8(ied.attribute("name").value()));
        pugi::xml_node server = ied.child("AccessPoint").child("Server");
        size_t lds = 0;
        for (pugi::xml_node ld : server.children("LDevice")) {
            ASSERT_LT(lds, d.List_LDevice().size());
            TIEC_LDevice* m = d.List_LDevice()[lds++];
            EXPECT_EQ(m->Name(), QString::fromUtf8(ld.attribute("inst").value()));
            size_t lns = 0, sets = 0, modelSets = 0;
            for (pugi::xml_node ln : ld.children()) {
                if (std::string(ln.name()) != "LN" && std::string(ln.name()) != "LN0") continue;
                ++lns;
                for (pugi::xml_node ds : ln.children("DataSet")) {
                    (void)ds;
                    ++sets;
                }
            }
            ASSERT_EQ(m->List_LN().size(), lns);
            for (TIEC_LN* ln : m->List_LN()) {
                modelSets += ln->List_DataSet().size();
                EXPECT_FALSE(ln->List_DO().empty()) << ln->Reference().toStdString();
            }
            EXPECT_EQ(modelSets, sets);
        }
        EXPECT_EQ(d.List_LDevice().size(), lds);
        EXPECT_GT(lds, 0u);
        EXPECT_TRUE(d.Warnings().isEmpty()) << d.Warnings().join("\n").toStdString();

        const QString model = Dump(d);
        for (const Counts& c : expected)
            if (name == c.file) {
                EXPECT_EQ(model.count(QRegularExpression("^DO ", QRegularExpression::MultilineOption)),
                          c.objects);
                EXPECT_EQ(model.count(QRegularExpression("^DA ", QRegularExpression::MultilineOption)),
                          c.attributes);
                EXPECT_EQ(model.count(QRegularExpression("^  ", QRegularExpression::MultilineOption)),
                          c.members);
            }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(DumpBothWays(f.readAll()).toStdString(), model.toStdString());
    }
}

// Types that nest each other many times over (each level doubling the attributes) are cut at a
// bound, with a warning, instead of exhausting memory.
TEST(IEC_Device, ExplodingTypesAreCutShort) {
    QByteArray types = R"(<LNodeType id="T"><DO name="X" type="D"/></LNodeType>
                          <DOType id="D"><DA name="a" bType="Struct" type="S0" fc="ST"/></DOType>)";
    for (int i = 0; i < 24; ++i)
        types += "<DAType id=\"S" + QByteArray::number(i) + "\"><BDA name=\"l\" bType=\"Struct\" type=\"S" +
                 QByteArray::number(i + 1) + "\"/><BDA name=\"r\" bType=\"Struct\" type=\"S" +
                 QByteArray::number(i + 1) + "\"/></DAType>";
    TIEC_Device d(Scl(R"(<LDevice inst="L"><LN lnClass="GGIO" lnType="T" inst="1"/></LDevice>)", types),
                  "x.icd");
    TIEC_LN* ln = d.List_LDevice()[0]->List_LN()[0];
    ASSERT_EQ(ln->List_DO().size(), 1u);
    ASSERT_EQ(d.Warnings().size(), 1);
    EXPECT_TRUE(d.Warnings()[0].contains("IED1L/GGIO1")) << d.Warnings()[0].toStdString();
}

// A data-set member is resolved before its node is expanded: it expands that one data object
// alone. Expanding the node later keeps that very object, in its place among the others.
TEST(IEC_Device, MembersResolvedBeforeExpansionStayInTheExpandedNode) {
    TIEC_Device d(Scl(R"(<LDevice inst="LD0">
        <LN0 lnClass="LLN0" lnType="LLN0_T" inst="">
          <DataSet name="DS"><FCDA ldInst="LD1" lnClass="MMXU" lnInst="1" doName="A.phsB" daName="cVal.mag.f" fc="MX"/>
            <FCDA ldInst="LD1" lnClass="XCBR" prefix="Q0" lnInst="1" doName="Mod" daName="stVal" fc="ST"/></DataSet>
          <GSEControl name="gcb" datSet="DS"/>
        </LN0></LDevice>
        <LDevice inst="LD1"><LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="1"/>
          <LN lnClass="MMXU" lnType="MMXU_T" inst="1"/></LDevice>)",
                      Types),
                  "x.icd");
    TIEC_DataSet* ds = LN(d, 0, 0)->List_DataSet().at(0);
    EXPECT_EQ(ds->GooseName(), "gcb");
    ASSERT_EQ(ds->List_DA().size(), 2u);
    TIEC_DA* f = ds->List_DA()[0];
    TIEC_DA* stVal = ds->List_DA()[1];

    TIEC_LN* mmxu = LN(d, 1, 1);
    EXPECT_EQ(Names(mmxu->List_DO()), QStringList({"TotW", "A"}));
    EXPECT_EQ(mmxu->Find_DO("phsB")->Find_DA("f"), f);
    EXPECT_EQ(f->Reference(), "IED1LD1/MMXU1.A.phsB.cVal.mag.f");
    EXPECT_EQ(f->FC(), "MX");
    // The first object of the type was not asked for before; it is complete now.
    EXPECT_EQ(Refs(mmxu->List_DO()[0]->List_DA()),
              QStringList({"IED1LD1/MMXU1.TotW.cVal", "IED1LD1/MMXU1.TotW.q"}));

    TIEC_LN* xcbr = LN(d, 1, 0);
    EXPECT_EQ(Names(xcbr->List_DO()), QStringList({"Pos", "Mod"}));
    EXPECT_EQ(xcbr->List_DO()[1]->Find_DA("stVal"), stVal);
    EXPECT_EQ(stVal->Reference(), "IED1LD1/Q0XCBR1.Mod.stVal");
}

// A node cut short after one of its later objects was expanded for a member: the list holds no
// gaps, and the cut is reported.
TEST(IEC_Device, NodeCutShortAfterAMemberHasNoGaps) {
    QByteArray types =
        R"(<LNodeType id="T"><DO name="Big" type="D"/><DO name="Skipped" type="E"/><DO name="Small" type="E"/></LNodeType>
                          <DOType id="D"><DA name="a" bType="Struct" type="S0" fc="ST"/></DOType>
                          <DOType id="E"><DA name="v" bType="INT8" fc="ST"/></DOType>)";
    for (int i = 0; i < 24; ++i)
        types += "<DAType id=\"S" + QByteArray::number(i) + "\"><BDA name=\"l\" bType=\"Struct\" type=\"S" +
                 QByteArray::number(i + 1) + "\"/><BDA name=\"r\" bType=\"Struct\" type=\"S" +
                 QByteArray::number(i + 1) + "\"/></DAType>";
    TIEC_Device d(Scl(R"(<LDevice inst="L"><LN0 lnClass="LLN0" lnType="T" inst="">
                           <DataSet name="DS"><FCDA ldInst="L" lnClass="LLN0" doName="Small" daName="v"/></DataSet>
                         </LN0></LDevice>)",
                      types),
                  "x.icd");
    TIEC_LN* ln = LN(d, 0, 0);
    TIEC_DA* member = ln->List_DataSet().at(0)->List_DA().at(0);
    EXPECT_TRUE(d.Warnings().isEmpty()); // the member's own object is small
    const std::vector<TIEC_DO*>& list = ln->List_DO();
    EXPECT_EQ(Names(list), QStringList({"Big", "Small"}));
    EXPECT_EQ(list.back()->Find_DA("v"), member);
    ASSERT_EQ(d.Warnings().size(), 1);
    EXPECT_TRUE(d.Warnings()[0].contains("IED1L/LLN0")) << d.Warnings()[0].toStdString();
}

// Hundreds of distinct names and instances, more than the decoder's text tables start with:
// every node keeps its own texts, and members find the node they name.
TEST(IEC_Device, ManyDistinctNamesKeepTheirTexts) {
    QByteArray lns;
    for (int i = 1; i <= 700; ++i)
        lns += "<LN lnClass=\"GGIO\" lnType=\"GGIO_T\" prefix=\"P" + QByteArray::number(i % 300) +
               "\" inst=\"" + QByteArray::number(i) + "\"/>";
    TIEC_Device d(
        Scl("<LDevice inst=\"LD0\"><LN0 lnClass=\"LLN0\" lnType=\"LLN0_T\" inst=\"\"><DataSet name=\"DS\">"
            "<FCDA ldInst=\"LD0\" lnClass=\"GGIO\" prefix=\"P50\" lnInst=\"650\" doName=\"Ind\" "
            "daName=\"stVal\"/>"
            "<FCDA ldInst=\"LD0\" lnClass=\"GGIO\" prefix=\"P1\" lnInst=\"1\" doName=\"Ind\" "
            "daName=\"stVal\"/>"
            "</DataSet></LN0>" +
                lns + "</LDevice>",
            Types),
        "x.icd");
    const std::vector<TIEC_LN*>& list = d.List_LDevice().at(0)->List_LN();
    ASSERT_EQ(list.size(), 701u);
    for (int i = 1; i <= 700; ++i) {
        ASSERT_EQ(list[size_t(i)]->Inst(), QString::number(i));
        ASSERT_EQ(list[size_t(i)]->Prefix(), "P" + QString::number(i % 300));
    }
    EXPECT_EQ(Refs(list[0]->List_DataSet().at(0)->List_DA()),
              QStringList({"IED1LD0/P50GGIO650.Ind.stVal", "IED1LD0/P1GGIO1.Ind.stVal"}));
}

// Texts are kept once per device and shared by the objects that have them; a text set on one
// object changes that object only.
TEST(IEC_Device, SettingATextChangesOneObjectOnly) {
    TIEC_Device d(Scl(R"(<LDevice inst="LD0"><LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="1"/>
                         <LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="2"/></LDevice>)",
                      Types),
                  "x.icd");
    TIEC_LN* one = LN(d, 0, 0);
    TIEC_LN* two = LN(d, 0, 1);
    TIEC_DA* q1 = one->Find_DO("Pos")->Find_DA("q");
    TIEC_DA* q2 = two->Find_DO("Pos")->Find_DA("q");
    one->SetlnClass("YCBR");
    one->SetPrefix("");
    q1->SetName("quality");
    q1->SetFC("XX");
    one->Find_DO("Pos")->SetName("Position");
    EXPECT_EQ(one->Reference(), "IED1LD0/YCBR1");
    EXPECT_EQ(q1->Reference(), "IED1LD0/YCBR1.Position.quality");
    EXPECT_EQ(q1->FC(), "XX");
    EXPECT_EQ(q1->bType(), "Quality");
    EXPECT_EQ(two->Reference(), "IED1LD0/Q0XCBR2");
    EXPECT_EQ(q2->Reference(), "IED1LD0/Q0XCBR2.Pos.q");
    EXPECT_EQ(q2->FC(), "ST");
    q2->SetReference("given");
    EXPECT_EQ(q2->Reference(), "given");

    // Objects made on their own start empty and keep what they are given.
    TIEC_DA a;
    EXPECT_TRUE(a.Name().isEmpty() && a.FC().isEmpty() && a.bType().isEmpty());
    a.SetName("n");
    a.SetbType("INT8");
    EXPECT_EQ(a.Name(), "n");
    EXPECT_EQ(a.bType(), "INT8");
    EXPECT_EQ(a.Reference(), ".n");
    TIEC_LN ln;
    EXPECT_TRUE(ln.lnType().isEmpty() && ln.List_DO().empty());
    ln.SetInst("3");
    EXPECT_EQ(ln.Inst(), "3");
}

namespace {

// A harmonic measurement: an array of 16 complex values as sub-data objects, an array of four
// integers, an array of two structures.
const char* ArrayTypes = R"(
  <LNodeType id="MHAI_T" lnClass="MHAI"><DO name="HA" type="HWYE_T"/><DO name="Hist" type="HST_T"/></LNodeType>
  <DOType id="HWYE_T" cdc="HWYE"><SDO name="phsAHar" type="CMV_T" count="16"/><DA name="numHar" bType="INT16U" fc="CF"/></DOType>
  <DOType id="HST_T"><DA name="vals" bType="INT32" count="4" fc="ST"/><DA name="pts" bType="Struct" type="PT_T" count="2" fc="ST"/>
    <DA name="byName" bType="INT32" count="numHar" fc="ST"/></DOType>
  <DAType id="PT_T"><BDA name="t" bType="Timestamp"/><BDA name="v" bType="FLOAT32"/></DAType>
)";

// The byte size the mapping editor gives a member of these types (its byte-size rule); 0 where
// the user gives it.
int ByteSize(const String& bType) {
    const String t = bType.toUpper();
    if (t == "FLOAT32" || t == "INT32" || t == "INT32U" || t == "QUALITY") return 4;
    if (t == "INT16" || t == "INT16U") return 2;
    return 0;
}

} // namespace

// LLN0 is unique in its logical device: tools that name it with an instance still reach it. Array
// members name an element of an array object or attribute, which has the array's type; an index
// at or past the array's count, or on something that is not an array, is reported.
TEST(IEC_Device, LLN0WithAnInstanceAndArrayElementsResolve) {
    const QByteArray xml = Scl(R"xml(
      <LDevice inst="LD0">
        <LN0 lnClass="LLN0" lnType="LLN0_T" inst="">
          <DataSet name="DS">
            <FCDA ldInst="LD0" lnClass="LLN0" lnInst="1" doName="Mod" daName="stVal" fc="ST"/>
            <FCDA ldInst="LD0" prefix="" lnClass="MHAI" lnInst="1" doName="HA.phsAHar(7)" daName="cVal.mag.f" fc="MX"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="Hist" daName="vals(3)" fc="ST"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="Hist" daName="pts(1).v" fc="ST"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="HA.phsAHar(7)" fc="MX"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="HA.phsAHar(16)" daName="cVal.mag.f" fc="MX"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="Hist" daName="vals(4)" fc="ST"/>
            <FCDA ldInst="LD0" lnClass="LLN0" doName="Mod(0)" daName="stVal" fc="ST"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="Hist" daName="byName(0)" fc="ST"/>
            <FCDA ldInst="LD0" lnClass="MHAI" lnInst="1" doName="Hist" daName="vals(x)" fc="ST"/>
          </DataSet>
        </LN0>
        <LN lnClass="MHAI" lnType="MHAI_T" inst="1"/>
      </LDevice>
      <LDevice inst="LD1"><LN lnClass="GGIO" lnType="GGIO_T" inst="1">
        <DataSet name="D"><FCDA ldInst="LD1" lnClass="LLN0" lnInst="1" doName="Mod" daName="stVal" fc="ST"/></DataSet>
      </LN></LDevice>)xml",
                               QByteArray(Types) + ArrayTypes);
    TIEC_Device d(xml, "x.icd");
    const std::vector<TIEC_DA*>& members = LN(d, 0, 0)->List_DataSet().at(0)->List_DA();
    struct Member {
        const char* reference;
        const char* fc;
        const char* bType;
        int bytes;
    };
    const Member expected[] = {
        {"IED1LD0/LLN0.Mod.stVal", "ST", "INT32", 4},
        {"IED1LD0/MHAI1.HA.phsAHar(7).cVal.mag.f", "MX", "FLOAT32", 4},
        {"IED1LD0/MHAI1.Hist.vals(3)", "ST", "INT32", 4},
        {"IED1LD0/MHAI1.Hist.pts(1).v", "ST", "FLOAT32", 4},
        {"IED1LD0/MHAI1.HA.phsAHar(7).cVal.mag.f", "MX", "FLOAT32", 4},
    };
    ASSERT_EQ(members.size(), std::size(expected)) << d.Warnings().join("\n").toStdString();
    for (size_t i = 0; i < members.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(members[i]->Reference(), expected[i].reference);
        EXPECT_EQ(members[i]->FC(), expected[i].fc);
        EXPECT_EQ(members[i]->bType(), expected[i].bType);
        EXPECT_EQ(ByteSize(members[i]->bType()), expected[i].bytes);
    }
    // One element, whether named by its path or by its data object alone.
    EXPECT_EQ(members[1], members[4]);

    // The warnings name each member that is refused, and why.
    const QStringList& w = d.Warnings();
    ASSERT_EQ(w.size(), 6) << w.join("\n").toStdString();
    EXPECT_TRUE(w[0].contains("MHAI1.HA.phsAHar(16).cVal.mag.f") &&
                w[0].contains("phsAHar, which has 16 elements"))
        << w[0].toStdString();
    EXPECT_TRUE(w[1].contains("MHAI1.Hist.vals(4)") && w[1].contains("vals, which has 4 elements"))
        << w[1].toStdString();
    EXPECT_TRUE(w[2].contains("LLN0.Mod(0).stVal") && w[2].contains("Mod is not an array"))
        << w[2].toStdString();
    // A count that names another attribute gives no size in the templates: not an array here.
    EXPECT_TRUE(w[3].contains("Hist.byName(0)")) << w[3].toStdString();
    EXPECT_TRUE(w[4].contains("Hist.vals(x)")) << w[4].toStdString();
    // Without an LLN0 in the logical device, the member stays out with a warning.
    EXPECT_TRUE(w[5].contains("IED1LD1/GGIO1.D") && w[5].contains("LD1/LLN01.Mod.stVal"))
        << w[5].toStdString();

    // In the model: the tree holds each array once, with its count; its elements hang below it.
    TIEC_LN* mhai = LN(d, 0, 1);
    TIEC_DO* ha = mhai->Find_DO("HA");
    ASSERT_TRUE(ha);
    ASSERT_EQ(Names(ha->List_DO()), QStringList({"phsAHar"}));
    TIEC_DO* har = ha->List_DO()[0];
    EXPECT_EQ(har->Count(), 16);
    ASSERT_EQ(har->List_Element().size(), 1u);
    TIEC_DO* seventh = har->List_Element()[0];
    EXPECT_EQ(seventh->Name(), "phsAHar(7)");
    EXPECT_EQ(seventh->Count(), 0);
    EXPECT_EQ(seventh->Find_First_DA(), members[1]);
    EXPECT_EQ(Refs(har->List_DA()), QStringList({"IED1LD0/MHAI1.HA.phsAHar.cVal"}));
    TIEC_DA* vals = mhai->Find_DO("Hist")->Find_DA("vals");
    EXPECT_EQ(vals->Count(), 4);
    EXPECT_EQ(vals->List_Element(), std::vector<TIEC_DA*>({members[2]}));
    TIEC_DA* pts = mhai->Find_DO("Hist")->Find_DA("pts");
    EXPECT_EQ(pts->List_Element().at(0)->Find_DA("v"), members[3]);
    EXPECT_EQ(pts->List_Element().at(0)->bType(), "Struct");
    EXPECT_EQ(mhai->Find_DO("Hist")->Find_DA("byName")->Count(), 0);

    DumpBothWays(xml);
}

// Types that chain each other deeper than the model nests (every DOType holding one SDO of the
// next, every DAType one structured BDA of the next) are cut at IEC_MaxDepth levels, with the
// warning: decoding, expanding, composing references, looking up and freeing stay bounded.
TEST(IEC_Device, DeeplyChainedTypesAreCutAtTheDepthLimit) {
    constexpr int Levels = 100000;
    QByteArray types = R"(<LNodeType id="T"><DO name="X" type="D0"/><DO name="Y" type="E"/></LNodeType>
                          <DOType id="E"><DA name="a" bType="Struct" type="A0" fc="ST"/></DOType>)";
    types.reserve(Levels * 120);
    for (int i = 0; i < Levels; ++i) {
        const QByteArray n = QByteArray::number(i), next = QByteArray::number(i + 1);
        types += "<DOType id=\"D" + n + "\"><SDO name=\"s\" type=\"D" + next + "\"/></DOType>";
        types +=
            "<DAType id=\"A" + n + "\"><BDA name=\"b\" bType=\"Struct\" type=\"A" + next + "\"/></DAType>";
    }
    const QByteArray xml = Scl(R"(<LDevice inst="L"><LN0 lnClass="LLN0" lnType="T" inst="">
        <DataSet name="DS"><FCDA ldInst="L" lnClass="LLN0" doName="X.s.s" fc="ST"/>
          <FCDA ldInst="L" lnClass="LLN0" doName="Y" daName="a.b.b" fc="ST"/></DataSet></LN0></LDevice>)",
                               types);
    TIEC_Device d(xml, "deep.scd");
    TIEC_LN* ln = LN(d, 0, 0);
    EXPECT_EQ(Refs(ln->List_DataSet().at(0)->List_DA()), QStringList({"IED1L/LLN0.Y.a.b.b"}));
    ASSERT_EQ(ln->List_DO().size(), 2u);
    // The member whose object is the chain: the chain is cut (reported once for the node), and
    // it has no leaf attribute to stand for.
    ASSERT_EQ(d.Warnings().size(), 2) << d.Warnings().join("\n").toStdString();
    EXPECT_TRUE(d.Warnings()[0].contains("Logical node IED1L/LLN0") &&
                d.Warnings()[0].contains("nest too deeply"))
        << d.Warnings()[0].toStdString();
    EXPECT_TRUE(d.Warnings()[1].contains("LLN0.X.s.s [ST] not found")) << d.Warnings()[1].toStdString();

    int levels = 1;
    const TIEC_DO* o = ln->List_DO()[0];
    for (; !o->List_DO().empty(); ++levels) o = o->List_DO()[0];
    EXPECT_EQ(levels, IEC_MaxDepth);
    EXPECT_EQ(o->Reference().count(".s"), IEC_MaxDepth - 1);
    levels = 2;
    const TIEC_DA* a = ln->List_DO()[1]->List_DA().at(0);
    for (; !a->List_DA().empty(); ++levels) a = a->List_DA()[0];
    EXPECT_EQ(levels, IEC_MaxDepth);
    EXPECT_FALSE(ln->Find_DO("none"));
    EXPECT_FALSE(ln->List_DO()[1]->Find_DA("none"));
}

// Files the reader does not cut into pieces (another encoding, a document type, markup that only
// looks like the tags it follows) are decoded from their whole document, with the same model;
// a file the parser rejects raises either way.
TEST(IEC_Device, FilesThatCannotBeCutDecodeWhole) {
    const char* lds = R"(<LDevice inst="LD0"><LN0 lnClass="LLN0" lnType="LLN0_T" inst="">
        <DataSet name="DS"><FCDA ldInst="LD0" lnClass="XCBR" prefix="Q0" lnInst="1" doName="Pos" daName="stVal" fc="ST"/></DataSet>
        </LN0>%1<LN lnClass="XCBR" lnType="XCBR_T" prefix="Q0" inst="1"/></LDevice>)";
    const QByteArray plain = Scl(QString(lds).arg("").toUtf8(), Types);
    const QString model = DumpBothWays(plain);
    EXPECT_TRUE(model.contains("  IED1LD0/Q0XCBR1.Pos.stVal ST")) << model.toStdString();

    struct Case {
        const char* what;
        QByteArray xml;
    };
    QByteArray utf16;
    {
        const QString text = QString::fromUtf8(plain).replace("<?xml version=\"1.0\"?>",
                                                              "<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
        utf16 = QByteArray("\xFF\xFE", 2) +
                QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    }
    const Case cases[] = {
        {"UTF-16", utf16},
        {"Latin-1", QByteArray(plain).replace("<?xml version=\"1.0\"?>",
                                              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>")},
        {"document type", QByteArray(plain).replace("<!-- written by hand -->", "<!DOCTYPE SCL>")},
        {"node in a comment",
         Scl(QString(lds)
                 .arg("<!-- <LN lnClass=\"XCBR\" lnType=\"XCBR_T\" prefix=\"Q0\" inst=\"1\"/> -->")
                 .toUtf8(),
             Types)},
        {"end tag in a comment",
         Scl(QString(lds).arg("<!-- </LDevice> <LDevice inst=\"LD9\"/> -->").toUtf8(), Types)},
        {"end tag in CDATA",
         Scl(QString(lds).arg("<Private><![CDATA[</LDevice></Server>]]></Private>").toUtf8(), Types)},
        {"device in a private section",
         QByteArray(plain).replace("<IED name=\"IED1\">",
                                   "<Private><IED name=\"fake\"/></Private><IED name=\"IED1\">")},
        {"server in a comment", QByteArray(plain).replace("<AccessPoint name=\"AP1\">",
                                                          "<AccessPoint name=\"AP1\"><!-- <Server/> -->")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DumpBothWays(c.xml).toStdString(), model.toStdString());
    }

    const char* broken[] = {
        "<SCL><IED name=\"I\"><AccessPoint><Server><LDevice "
        "inst=\"L\"></Server></AccessPoint></IED><DataTypeTemplates/></SCL>",
        "<SCL><IED name=\"I\"><AccessPoint><Server><LDevice inst=\"L\"><LN lnClass=\"A\" "
        "x=y/></LDevice></Server>"
        "</AccessPoint></IED><DataTypeTemplates/></SCL>",
        "<SCL><IED name=\"I\"/><DataTypeTemplates/></SCL><Trailing",
        "<SCL><IED name=\"I\"/><DataTypeTemplates/>",
        "just text",
    };
    for (const char* xml : broken) {
        SCOPED_TRACE(xml);
        EXPECT_THROW(TIEC_Device(QByteArray(xml), "x.scd"), EXMLDocError);
        IEC_SetWholeDocumentDecoding(true);
        EXPECT_THROW(TIEC_Device(QByteArray(xml), "x.scd"), EXMLDocError);
        IEC_SetWholeDocumentDecoding(false);
    }
}

// Members name nodes, objects and attributes by the texts the parser gives: a character reference
// or an entity matches the character it stands for, names beyond ASCII match, and a member finds a
// node that lies pieces of the file behind its data set, whichever way the file is decoded.
TEST(IEC_Device, MembersMatchTheTextsTheParserGives) {
    const char* types = R"(
      <LNodeType id="GGIO_T" lnClass="GGIO"><DO name="Ind" type="SPS_T"/><DO name="Wärme" type="SPS_T"/></LNodeType>
      <LNodeType id="LLN0_T" lnClass="LLN0"/>
      <DOType id="SPS_T" cdc="SPS"><DA name="stVal" bType="BOOLEAN" fc="ST"/><DA name="Größe" bType="INT32" fc="ST"/></DOType>)";
    QByteArray nodes;
    for (int i = 0; i < 2000; ++i)
        nodes += "<LN lnClass=\"GGIO\" lnType=\"GGIO_T\" prefix=\"F\" inst=\"" + QByteArray::number(i) +
                 "\"><DOI name=\"Ind\"/></LN>\n";
    const QByteArray lds =
        "<LDevice inst=\"LD0\"><LN0 lnClass=\"LLN0\" lnType=\"LLN0_T\" inst=\"\"><DataSet name=\"DS\">"
        "<FCDA ldInst=\"LD0\" lnClass=\"GGIO\" prefix=\"&#196;b\" lnInst=\"1\" doName=\"I&#110;d\" "
        "daName=\"stVal\" fc=\"ST\"/>"
        "<FCDA ldInst=\"LD0\" lnClass=\"GGIO\" prefix=\"Äb\" lnInst=\"1\" doName=\"Wärme\" daName=\"Größe\" "
        "fc=\"ST\"/>"
        "<FCDA ldInst=\"LD0\" lnClass=\"GGIO\" prefix=\"A&amp;B\" lnInst=\"2\" doName=\"W&#228;rme\" "
        "fc=\"ST\"/>"
        "<FCDA ldInst=\"LD0\" lnClass=\"GGIO\" prefix=\"Äb\" lnInst=\"1\" doName=\"Warme\" daName=\"stVal\" "
        "fc=\"ST\"/>"
        "</DataSet></LN0>" +
        nodes +
        "<LN lnClass=\"GGIO\" lnType=\"GGIO_T\" prefix=\"Äb\" inst=\"1\"/>"
        "<LN lnClass=\"GGIO\" lnType=\"GGIO_T\" prefix=\"A&amp;B\" inst=\"2\"/></LDevice>";
    const QByteArray xml = Scl(lds.constData(), types);
    ASSERT_GT(xml.size(), 2 * 64 * 1024); // the nodes named lie pieces behind the data set
    DumpBothWays(xml);

    TIEC_Device d(xml, "x.icd");
    const TIEC_DataSet* ds = LN(d, 0, 0)->List_DataSet().at(0);
    EXPECT_EQ(Refs(ds->List_DA()), QStringList({
                                       "IED1LD0/ÄbGGIO1.Ind.stVal", "IED1LD0/ÄbGGIO1.Wärme.Größe",
                                       "IED1LD0/A&BGGIO2.Wärme.stVal", // no daName: the first leaf with fc ST
                                   }));
    EXPECT_EQ(ds->List_DA()[1], LN(d, 0, 2001)->Find_DO("Wärme")->Find_DA("Größe"));
    // The name that only looks alike is reported, as the file writes it.
    ASSERT_EQ(d.Warnings().size(), 1);
    EXPECT_TRUE(d.Warnings()[0].contains("LD0/ÄbGGIO1.Warme.stVal [ST] not found"))
        << d.Warnings()[0].toStdString();
}
