#include "ShellApi.h"

#include "StandIn.h"
#include "SysUtils.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace {

TOpenDocumentHook& Hook() {
    static TOpenDocumentHook hook;
    return hook;
}

} // namespace

TOpenDocumentHook SetOpenDocumentHook(TOpenDocumentHook H) {
    return std::exchange(Hook(), std::move(H));
}

intptr_t ShellExecute(HWND, const String& Operation, const String& File, const String& Parameters,
                      const String& Directory, int ShowCmd) {
    // The desktop opens the document its own way: no parameters, folder or show command reach it.
    if (!Parameters.isEmpty() || !Directory.isEmpty()) PlatformStandIn("ShellExecute(Parameters, Directory)");
    if (ShowCmd != SW_SHOWNORMAL && ShowCmd != SW_SHOW) PlatformStandIn("ShellExecute(ShowCmd)");
    if (!Operation.isEmpty() && Operation.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0) return 31;
    if (File.isEmpty()) return 2;
    if (Hook()) return Hook()(File) ? 42 : 31;
    const QUrl parsed(File);
    QUrl url;
    if (parsed.isValid() && parsed.scheme().size() > 1)
        url = parsed;
    else if (FileExists(File) || DirectoryExists(File))
        url = QUrl::fromLocalFile(NativePath(File));
    else
        return 2;
    return QDesktopServices::openUrl(url) ? 42 : 31;
}
