// The description files checked by tools that are not ours: python3 reads the EDS with its
// configparser in strict mode and checks it against the rules of CiA 306 an EDS reader relies
// on, reads the EDE with its csv module, and smilint (Debian's smitools) compiles the MIB
// against small stand-ins of the base modules it imports. scripts/install-deps.sh installs
// python3 and smitools; a missing tool fails the check rather than skipping it.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace outside_check {

// Runs Program with Args; the merged output, or a failure when the tool is missing or hangs.
inline QString Run(const QString& Program, const QStringList& Args, const QProcessEnvironment& Env = {},
                   int* ExitCode = nullptr) {
    const QString exe = QStandardPaths::findExecutable(Program);
    if (exe.isEmpty()) {
        ADD_FAILURE() << Program.toStdString() << " not found: scripts/install-deps.sh installs it";
        return QStringLiteral("<missing tool>");
    }
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!Env.isEmpty()) p.setProcessEnvironment(Env);
    p.start(exe, Args);
    if (!p.waitForFinished(120000)) {
        ADD_FAILURE() << Program.toStdString() << " did not finish";
        return QStringLiteral("<no end>");
    }
    if (ExitCode) *ExitCode = p.exitCode();
    return QString::fromLocal8Bit(p.readAll());
}

// The EDS rules, written from CiA 306 as a reader applies them: every section name once (the
// strict parser refuses a repeated section or key); every object listed in the three object
// lists exists, with SupportedObjects equal to the count; each object with SubNumber has exactly
// that many sub sections; ObjectType, DataType and AccessType take defined values; each mapping
// entry names an existing sub-object that may be mapped and is 8 bits wide, with the length the
// entry gives; the creation time and date have their forms; NrOfRXPDO and NrOfTXPDO count the
// communication parameters. Prints one line per fault.
inline const char* const Eds_Script = R"PY(
import configparser, re, sys
errors = []
p = configparser.RawConfigParser(strict=True, interpolation=None)
p.optionxform = str
try:
    with open(sys.argv[1], encoding='cp1252', newline='') as f:
        p.read_file(f)
except configparser.Error as e:
    print('configparser:', str(e).splitlines()[0]); sys.exit(1)
names = {s.upper(): s for s in p.sections()}
def num(text):
    return int(text, 0)
def subs(index):
    pat = re.compile('^%04XSUB([0-9A-F]+)$' % index)
    return {int(m.group(1), 16): names[n] for n in names for m in [pat.match(n)] if m}
listed = []
for lst in ('MandatoryObjects', 'OptionalObjects', 'ManufacturerObjects'):
    if lst not in p: errors.append('no [%s]' % lst); continue
    n = num(p[lst]['SupportedObjects'])
    keys = [k for k in p[lst] if k != 'SupportedObjects']
    if sorted(keys, key=int) != [str(i) for i in range(1, n + 1)]:
        errors.append('[%s] SupportedObjects=%d but entries %s' % (lst, n, keys))
    listed += [num(p[lst][k]) for k in keys]
if len(set(listed)) != len(listed): errors.append('an object is listed twice')
def variable(name):
    s = p[name]
    for key in ('ParameterName', 'ObjectType', 'DataType', 'AccessType'):
        if key not in s: errors.append('[%s] without %s' % (name, key)); return
    if num(s['ObjectType']) != 7: errors.append('[%s] ObjectType %s' % (name, s['ObjectType']))
    if num(s['DataType']) not in (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15, 16, 18, 19, 20, 21, 22, 24, 25, 26, 27):
        errors.append('[%s] DataType %s' % (name, s['DataType']))
    if s['AccessType'].lower() not in ('ro', 'wo', 'rw', 'rwr', 'rww', 'const'):
        errors.append('[%s] AccessType %s' % (name, s['AccessType']))
for index in listed:
    name = names.get('%04X' % index)
    if name is None: errors.append('no section for 0x%04X' % index); continue
    s = p[name]
    if 'SubNumber' in s:
        if num(s['ObjectType']) not in (8, 9): errors.append('[%s] ObjectType %s' % (name, s['ObjectType']))
        found = subs(index)
        if num(s['SubNumber']) != len(found):
            errors.append('[%s] SubNumber=%s but %d sub sections' % (name, s['SubNumber'], len(found)))
        for sub in found.values(): variable(sub)
    else:
        variable(name)
for name in names:
    m = re.match('^([0-9A-F]{4})(SUB[0-9A-F]+)?$', name)
    if m and num('0x' + m.group(1)) not in listed: errors.append('[%s] is not listed' % names[name])
for base in (0x1600, 0x1A00):
    for index in range(base, base + 0x200):
        for k, sub in subs(index).items():
            if k == 0: continue
            v = num(p[sub]['DefaultValue'])
            obj, si, bits = v >> 16, (v >> 8) & 0xFF, v & 0xFF
            target = subs(obj).get(si)
            if target is None: errors.append('[%s] maps 0x%04X sub %d, which does not exist' % (sub, obj, si)); continue
            t = p[target]
            if t.get('PDOMapping') != '1': errors.append('[%s] maps [%s], which may not be mapped' % (sub, target))
            if num(t['DataType']) not in (2, 5) or bits != 8: errors.append('[%s] maps [%s] with %d bits' % (sub, target, bits))
info = p['FileInfo']
for key in ('CreationTime', 'ModificationTime'):
    if not re.match(r'^(0\d|1[0-2]):[0-5]\d(AM|PM)$', info[key]): errors.append('%s=%s' % (key, info[key]))
for key in ('CreationDate', 'ModificationDate'):
    if not re.match(r'^(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01])-\d{4}$', info[key]): errors.append('%s=%s' % (key, info[key]))
dev = p['DeviceInfo']
for key, lo in (('NrOfRXPDO', 0x1400), ('NrOfTXPDO', 0x1800)):
    if num(dev[key]) != len([i for i in listed if lo <= i < lo + 0x200]): errors.append('%s=%s' % (key, dev[key]))
for e in errors: print(e)
sys.exit(1 if errors else 0)
)PY";

// The EDE read as a reader reads it: the csv module with ";" takes every line after the header;
// each object line has the field count of the "#" column line. With Strict (ParGen.xml gave the
// device instance) the mandatory fields are set, type and instance are integers, and the column
// the "#" line names "unit-code" holds an integer.
inline const char* const Ede_Script = R"PY(
import csv, sys
errors = []
with open(sys.argv[1], encoding='cp1252', newline='') as f:
    rows = list(csv.reader(f, delimiter=';'))
columns = [r for r in rows if r and r[0].startswith('#')][-1]
columns[0] = columns[0][1:].strip()
objects = rows[7:]
for n, r in enumerate(objects, 8):
    if len(r) != len(columns): errors.append('line %d: %d fields, not %d' % (n, len(r), len(columns))); continue
    if sys.argv[2] == 'strict':
        for i in range(5):
            if not r[i]: errors.append('line %d: %s empty' % (n, columns[i]))
        for i in (3, 4):
            if not r[i].isdigit(): errors.append('line %d: %s %r' % (n, columns[i], r[i]))
        unit = r[columns.index('unit-code')]
        if not unit.isdigit(): errors.append('line %d: unit-code %r' % (n, unit))
print('objects', len(objects))
for e in errors: print(e)
sys.exit(1 if errors else 0)
)PY";

// The output of a python check of the file; "" when the file passes.
inline QString Python(const char* Script, const QString& File, const QStringList& More = {}) {
    int code = -1;
    const QString out =
        Run(QStringLiteral("python3"),
            QStringList{QStringLiteral("-c"), QString::fromUtf8(Script), File} + More, {}, &code);
    return code == 0 ? QString() : out.isEmpty() ? QStringLiteral("<exit %1>").arg(code) : out;
}

inline QString EdsFaults(const QString& File) {
    return Python(Eds_Script, File);
}
// The object lines a passing EDE holds; the faults otherwise, as a failure.
inline int EdeObjects(const QString& File, bool Strict) {
    int code = -1;
    const QString out = Run(QStringLiteral("python3"),
                            {QStringLiteral("-c"), QString::fromUtf8(Ede_Script), File,
                             Strict ? QStringLiteral("strict") : QStringLiteral("layout")},
                            {}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    return out.startsWith(QStringLiteral("objects ")) ? out.section(u' ', 1, 1).trimmed().toInt() : -1;
}

// Stand-ins of the base modules the MIB imports, written for these tests: just the macros,
// nodes and conventions it names, with every type they use defined.
inline const char* const Smi_Stand_In = R"MIB(SNMPv2-SMI DEFINITIONS ::= BEGIN

org            OBJECT IDENTIFIER ::= { iso 3 }
dod            OBJECT IDENTIFIER ::= { org 6 }
internet       OBJECT IDENTIFIER ::= { dod 1 }
private        OBJECT IDENTIFIER ::= { internet 4 }
enterprises    OBJECT IDENTIFIER ::= { private 1 }

ObjectName ::= OBJECT IDENTIFIER
Integer32 ::= INTEGER (-2147483648..2147483647)
TimeTicks ::= [APPLICATION 3] IMPLICIT INTEGER (0..4294967295)

MODULE-IDENTITY MACRO ::=
BEGIN
    TYPE NOTATION ::= "LAST-UPDATED" value(Update ExtUTCTime)
                      "ORGANIZATION" Text
                      "CONTACT-INFO" Text
                      "DESCRIPTION" Text
                      RevisionPart
    VALUE NOTATION ::= value(VALUE OBJECT IDENTIFIER)
    RevisionPart ::= Revisions | empty
    Revisions ::= Revision | Revisions Revision
    Revision ::= "REVISION" value(Update ExtUTCTime)
                 "DESCRIPTION" Text
    Text ::= value(IA5String)
END

OBJECT-TYPE MACRO ::=
BEGIN
    TYPE NOTATION ::= "SYNTAX" Syntax
                      UnitsPart
                      "MAX-ACCESS" Access
                      "STATUS" Status
                      "DESCRIPTION" Text
                      ReferPart
                      IndexPart
                      DefValPart
    VALUE NOTATION ::= value(VALUE ObjectName)
    Syntax ::= type
    UnitsPart ::= "UNITS" Text | empty
    Access ::= "not-accessible" | "accessible-for-notify" | "read-only"
               | "read-write" | "read-create"
    Status ::= "current" | "deprecated" | "obsolete"
    ReferPart ::= "REFERENCE" Text | empty
    IndexPart ::= "INDEX" "{" IndexTypes "}" | "AUGMENTS" "{" Entry "}" | empty
    IndexTypes ::= IndexType | IndexTypes "," IndexType
    IndexType ::= "IMPLIED" Index | Index
    Index ::= value(ObjectName)
    Entry ::= value(ObjectName)
    DefValPart ::= "DEFVAL" "{" Defvalue "}" | empty
    Defvalue ::= value(ObjectSyntax)
    Text ::= value(IA5String)
END

NOTIFICATION-TYPE MACRO ::=
BEGIN
    TYPE NOTATION ::= ObjectsPart
                      "STATUS" Status
                      "DESCRIPTION" Text
                      ReferPart
    VALUE NOTATION ::= value(VALUE NotificationName)
    ObjectsPart ::= "OBJECTS" "{" Objects "}" | empty
    Objects ::= Object | Objects "," Object
    Object ::= value(ObjectName)
    Status ::= "current" | "deprecated" | "obsolete"
    ReferPart ::= "REFERENCE" Text | empty
    Text ::= value(IA5String)
END

END
)MIB";

inline const char* const Tc_Stand_In = R"MIB(SNMPv2-TC DEFINITIONS ::= BEGIN

IMPORTS
    TimeTicks FROM SNMPv2-SMI;

TEXTUAL-CONVENTION MACRO ::=
BEGIN
    TYPE NOTATION ::= DisplayPart
                      "STATUS" Status
                      "DESCRIPTION" Text
                      ReferPart
                      "SYNTAX" Syntax
    VALUE NOTATION ::= value(VALUE Syntax)
    DisplayPart ::= "DISPLAY-HINT" Text | empty
    Status ::= "current" | "deprecated" | "obsolete"
    ReferPart ::= "REFERENCE" Text | empty
    Text ::= value(IA5String)
    Syntax ::= type
END

DisplayString ::= TEXTUAL-CONVENTION
    DISPLAY-HINT "255a"
    STATUS       current
    DESCRIPTION  "Text of printable characters."
    SYNTAX       OCTET STRING (SIZE (0..255))

TimeStamp ::= TEXTUAL-CONVENTION
    STATUS       current
    DESCRIPTION  "The value of sysUpTime at an event."
    SYNTAX       TimeTicks

END
)MIB";

inline const char* const Rfc1155_Stand_In = R"MIB(RFC1155-SMI DEFINITIONS ::= BEGIN

internet      OBJECT IDENTIFIER ::= { iso org(3) dod(6) 1 }
private       OBJECT IDENTIFIER ::= { internet 4 }
enterprises   OBJECT IDENTIFIER ::= { private 1 }

END
)MIB";

// The messages of severity 1 to 3 that "smilint -s -l 3" gives for the module (it exits 0 even
// after errors, so its output is what counts), the stand-ins found through SMIPATH.
inline QStringList SmilintErrors(const QString& File) {
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    for (const auto& [name, text] :
         {std::pair{"SNMPv2-SMI", Smi_Stand_In}, std::pair{"SNMPv2-TC", Tc_Stand_In},
          std::pair{"RFC1155-SMI", Rfc1155_Stand_In}}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SMIPATH"), dir.path());
    const QString out = Run(QStringLiteral("smilint"),
                            {QStringLiteral("-s"), QStringLiteral("-l"), QStringLiteral("3"), File}, env);
    QStringList errors;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) errors << line;
    return errors;
}

} // namespace outside_check
