// The settings file Velmora.xml: defaults, the round trip and reading key by key.
#include "ShellFixture.h"
#include "USettings.h"
#include "XmlDoc.h"

namespace {

const char* FullFile = R"(<Conf_Settings>
  <lastproj><projectname>Plant1</projectname></lastproj>
  <lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>
  <lastlang><language>Deutsch</language></lastlang>
  <lastinternet>
    <enable_internet>1</enable_internet>
    <enable_update>1</enable_update>
    <enable_jump_field_tables>1</enable_jump_field_tables>
    <Double_Click_Auto_Size>1</Double_Click_Auto_Size>
  </lastinternet>
</Conf_Settings>)";

struct Values {
    QString Project, Ip, Language;
    bool Internet, Update, Jump, AutoSize;
    bool operator==(const Values&) const = default;
};

Values Current() {
    return {Name_Project,          Last_IP_Address, Language,
            Enable_Internet,       Enable_Update,   Enable_Jump_Field_Tables,
            Double_Click_Auto_Size};
}

std::ostream& operator<<(std::ostream& os, const Values& v) {
    return os << v.Project.toStdString() << "|" << v.Ip.toStdString() << "|" << v.Language.toStdString()
              << "|" << v.Internet << v.Update << v.Jump << v.AutoSize;
}

const Values Defaults{"", "192.168.2.205", "English", false, false, false, false};
const Values Full{"Plant1", "10.0.0.7", "Deutsch", true, true, true, true};

} // namespace

class SettingsTest : public ShellFolderTest {
protected:
    Values ReadFile(const QByteArray& Content) {
        Write("Velmora.xml", Content);
        TXMLDocument xml(nullptr);
        Read_Settings(&xml);
        return Current();
    }
};

TEST_F(SettingsTest, NoFileOrUnreadableFileGivesDefaults) {
    TXMLDocument xml(nullptr);
    Name_Project = "stale";
    Read_Settings(&xml);
    EXPECT_EQ(Current(), Defaults);
    EXPECT_EQ(ReadFile("<Conf_Settings><lastproj>"), Defaults);
    EXPECT_EQ(ReadFile(""), Defaults);
    EXPECT_EQ(ReadFile(QByteArray("\x00\x01\x02 binary", 10)), Defaults);
}

TEST_F(SettingsTest, RoundTrip) {
    Name_Project = "Plant 2";
    Last_IP_Address = "172.16.0.1";
    Language = "Italiano";
    Enable_Internet = true;
    Enable_Update = false;
    Enable_Jump_Field_Tables = true;
    Double_Click_Auto_Size = false;
    const Values written = Current();
    TXMLDocument xml(nullptr);
    xml.SetActive(true);
    xml.AddChild("Leftover"); // whatever another user of the document left in it
    ASSERT_TRUE(Save_Settings(&xml));
    ResetShellState();
    TXMLDocument reader(nullptr);
    Read_Settings(&reader);
    EXPECT_EQ(Current(), written);

    // The file holds the one root and the elements in the order written.
    const QByteArray text = Read("Velmora.xml");
    EXPECT_FALSE(text.contains("<?xml"));
    EXPECT_FALSE(text.contains("Leftover"));
    QStringList order;
    for (const char* name : {"Conf_Settings", "lastproj", "projectname", "lastipadd", "ipaddress", "lastlang",
                             "language", "lastinternet", "enable_internet", "enable_update",
                             "enable_jump_field_tables", "Double_Click_Auto_Size"})
        order << QString::number(text.indexOf(QByteArray("<") + name));
    for (int i = 1; i < order.size(); ++i) EXPECT_LT(order[i - 1].toInt(), order[i].toInt()) << i;
    EXPECT_TRUE(text.contains("<enable_update>0</enable_update>"));
}

TEST_F(SettingsTest, EachKeyFallsBackOnItsOwn) {
    const QByteArray full(FullFile);
    const struct {
        const char* Name;
        QByteArray From, To;
        Values Expected;
    } cases[] = {
        {"no lastproj",
         "<lastproj><projectname>Plant1</projectname></lastproj>",
         "",
         {"", "10.0.0.7", "Deutsch", true, true, true, true}},
        {"no ipaddress",
         "<ipaddress>10.0.0.7</ipaddress>",
         "",
         {"Plant1", "192.168.2.205", "Deutsch", true, true, true, true}},
        {"empty ipaddress", "10.0.0.7", "", {"Plant1", "", "Deutsch", true, true, true, true}},
        {"no language",
         "<language>Deutsch</language>",
         "",
         {"Plant1", "10.0.0.7", "English", true, true, true, true}},
        {"no lastinternet",
         "lastinternet>",
         "otherflags>",
         {"Plant1", "10.0.0.7", "Deutsch", false, false, false, false}},
        {"no enable_update",
         "<enable_update>1</enable_update>",
         "",
         {"Plant1", "10.0.0.7", "Deutsch", true, false, true, true}},
        {"flag reads true",
         "<enable_internet>1",
         "<enable_internet>true",
         {"Plant1", "10.0.0.7", "Deutsch", false, true, true, true}},
        {"flag with blank",
         "<enable_internet>1",
         "<enable_internet> 1",
         {"Plant1", "10.0.0.7", "Deutsch", false, true, true, true}},
        {"mixed-case key is exact",
         "Double_Click_Auto_Size>",
         "double_click_auto_size>",
         {"Plant1", "10.0.0.7", "Deutsch", true, true, true, false}},
        {"element instead of text",
         "<projectname>Plant1</projectname>",
         "<projectname><x>Plant1</x></projectname>",
         {"", "10.0.0.7", "Deutsch", true, true, true, true}},
        {"root named otherwise", "Conf_Settings>", "Settings>", Full},
        {"declaration and comment first", "<Conf_Settings>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- saved by hand -->\n<Conf_Settings>", Full},
    };
    for (const auto& c : cases) {
        QByteArray content = full;
        content.replace(c.From, c.To);
        ASSERT_NE(content, full) << c.Name;
        ResetShellState();
        EXPECT_EQ(ReadFile(content), c.Expected) << c.Name;
    }
}

TEST_F(SettingsTest, NamesThatAreNoPlainNamesAreNotTaken) {
    const struct {
        const char* Project;
        const char* Language;
    } cases[] = {{"../outside", "../../etc/passwd"}, {"a/b", "x\\y"}, {"..", "."}, {" padded ", "C:"}};
    for (const auto& c : cases) {
        QByteArray content(FullFile);
        content.replace("Plant1", c.Project);
        content.replace("Deutsch", c.Language);
        ResetShellState();
        const Values v = ReadFile(content);
        EXPECT_EQ(v.Project, "") << c.Project;
        EXPECT_EQ(v.Language, "English") << c.Language;
        EXPECT_EQ(v.Ip, "10.0.0.7");
    }
}

TEST_F(SettingsTest, AFailedWriteReportsIt) {
    // A folder in the way of the file: nothing can replace it.
    QDir().mkpath(In("Velmora.xml/inside"));
    TXMLDocument xml(nullptr);
    EXPECT_FALSE(Save_Settings(&xml));
    EXPECT_TRUE(QDir(In("Velmora.xml/inside")).exists());
    // No program folder at all.
    Path_Program = Path_Program + "\\gone";
    EXPECT_FALSE(Save_Settings(&xml));
}
