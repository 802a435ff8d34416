// The yardstick of scripts/startup_bench.sh: the least a Qt program does to show a main window.
// It shows an empty QMainWindow and runs the event loop; with VELMORA_STARTUP_PROBE set it quits
// at its first idle after the window's first paint and prints the time (StartupProbe.h).
#include "StartupProbe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(700, 560); // about the configurator's main window
    InstallStartupProbe([] { QCoreApplication::quit(); });
    window.show();
    return app.exec();
}
