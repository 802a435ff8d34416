// The start-up probe shared by the configurator and the empty-window program of
// scripts/startup_bench.sh. It does nothing unless the environment variable
// VELMORA_STARTUP_PROBE holds the wall-clock time (seconds since the epoch, as bash's
// $EPOCHREALTIME gives it) at which the program was started. Then the program prints
//     startup_ms <milliseconds from that time to the first idle> cpu_ms <processor time till then>
// on stdout at its first idle after the first paint of a top-level window, and Quit is called.
// "Idle" is the event loop of the main thread about to wait for new events; the processor time
// (user and system, all threads) says the same with less noise on a busy machine.
// VELMORA_STARTUP_PROBE_EXIT (any value) ends the program right there, for profiling the start.
#pragma once

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

inline void InstallStartupProbe(std::function<void()> Quit) {
    const char* start = std::getenv("VELMORA_STARTUP_PROBE");
    if (!start || !*start || !QCoreApplication::instance()) return;
    const double startSeconds = std::strtod(start, nullptr);

    struct TProbe : QObject {
        std::function<void()> Quit;
        double Start = 0;
        bool Painted = false;
        bool Done = false;
        bool eventFilter(QObject* Watched, QEvent* Event) override {
            if (!Painted && Event->type() == QEvent::Paint) {
                auto* w = qobject_cast<QWidget*>(Watched);
                if (w && w->isWindow()) Painted = true;
            }
            return false;
        }
        void Idle() {
            if (!Painted || Done) return;
            Done = true;
            const double now =
                std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
            std::printf("startup_ms %.3f cpu_ms %.3f\n", (now - Start) * 1000.0,
                        ms(usage.ru_utime) + ms(usage.ru_stime));
            std::fflush(stdout);
            // For profiling the start alone: leave at once, without the shut-down.
            if (std::getenv("VELMORA_STARTUP_PROBE_EXIT")) std::_Exit(0);
            Quit();
        }
    };
    auto* probe = new TProbe;
    probe->setParent(QCoreApplication::instance());
    probe->Quit = std::move(Quit);
    probe->Start = startSeconds;
    QCoreApplication::instance()->installEventFilter(probe);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, probe,
                     [probe] { probe->Idle(); });
}
