// Small helpers shared by the test programs.
#pragma once

#include "System.h"
#include "VelmoraPaths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <utility>

// Runs a function when the scope ends, also when an ASSERT leaves the test early: tests free what
// they made through one of these instead of by hand at their end.
template <class F> class ScopeGuard {
public:
    explicit ScopeGuard(F Fn) : FFn(std::move(Fn)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() {
        if (FActive) FFn();
    }
    // The test takes over: nothing runs at the end of the scope.
    void Dismiss() { FActive = false; }

private:
    F FFn;
    bool FActive = true;
};

// Frees a class-library object with TObject::Free when the scope ends, also when an ASSERT leaves
// the test early:
//     auto* Form = new TForm(nullptr);
//     auto freeForm = FreeAtEnd(Form);
// It frees what the pointer holds at that moment, so a test that frees the object itself first
// through FreeAndNil leaves nothing to free twice. Guards end in the reverse order of their
// making; what an owner frees needs none.
template <class T> [[nodiscard]] auto FreeAtEnd(T*& Object) {
    return ScopeGuard([&Object] { TObject::Free(Object); });
}

// The path of a file or folder among the real files from other tools (../shared/testdata beside
// the checkout, or the folder VELMORA_TESTDATA names, for a checkout that lies elsewhere).
inline QString TestDataPath(const QString& Relative) {
    const QString folder = qEnvironmentVariableIsSet("VELMORA_TESTDATA")
                               ? qEnvironmentVariable("VELMORA_TESTDATA")
                               : QStringLiteral(VELMORA_TESTDATA_DIR);
    return QDir::cleanPath(folder + u'/' + Relative);
}

// Skips the running test, naming the path, where the real files from other tools are absent: a
// plain clone has no shared folder beside it. Where they are present the test runs in full.
#define SKIP_WITHOUT_TESTDATA(Relative)                                                                      \
    do {                                                                                                     \
        const QString testDataPath_ = TestDataPath(Relative);                                                \
        if (!QFileInfo::exists(testDataPath_))                                                               \
            GTEST_SKIP() << "test data folder absent: " << testDataPath_.toStdString();                      \
    } while (0)
