// Stand-in for the external update program: reads Ethernet_Update.xml from its own folder (or
// the file named by its one argument), checks it and prints what it would send to which
// address and port. Exit code 0 when everything is in order, 1 with a message otherwise.
#include "Update_Plan.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString file =
        args.size() > 1
            ? args[1]
            : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Ethernet_Update.xml"));
    QStringList out, err;
    const int code = Run_Update(file, out, err);
    for (const QString& line : out) std::printf("%s\n", line.toLocal8Bit().constData());
    for (const QString& line : err) std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    return code;
}
