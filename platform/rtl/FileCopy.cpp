#include "FileCopy.h"

#include "SysUtils.h"

#include <QFile>
#include <QSaveFile>

bool CopyFileOver(const String& Source, const String& Target) {
    QFile in(NativePath(Source));
    if (!in.open(QIODevice::ReadOnly)) return false;
    QSaveFile out(NativePath(Target));
    if (!out.open(QIODevice::WriteOnly)) return false;
    char buffer[65536];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            out.cancelWriting();
            return false;
        }
        if (n == 0) break;
        if (out.write(buffer, n) != n) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}
