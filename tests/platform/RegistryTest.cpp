// The registry file when it cannot be written: nothing is created, neither in the file nor in
// what later calls see.
#include "Registry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

TEST(Registry, AKeyThatCannotBeSavedIsNotCreated) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The registry's folder is a plain file: no file can be written below it.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetRegistryFileName(dir.filePath(QStringLiteral("blocker/registry.ini")));

    const String key = QStringLiteral("Software\\Unsaved");
    const struct {
        const char* Call;
        std::function<bool(TRegistry&)> Create;
    } cases[] = {
        {"OpenKey", [&](TRegistry& R) { return R.OpenKey(key, true); }},
        {"CreateKey", [&](TRegistry& R) { return R.CreateKey(key); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Call);
        TRegistry reg;
        EXPECT_FALSE(c.Create(reg));
        EXPECT_EQ(reg.CurrentKey(), HKEY(0));
        EXPECT_FALSE(reg.KeyExists(key));
        EXPECT_FALSE(reg.OpenKeyReadOnly(key));
        EXPECT_THROW(reg.WriteInteger(QStringLiteral("X"), 1), ERegistryException); // no key open
    }
    EXPECT_FALSE(QFile::exists(RegistryFileName()));
    SetRegistryFileName(QString());
}
