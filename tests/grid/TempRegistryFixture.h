// A registry of its own in a temporary folder for each test, and the platform switches restored
// afterwards.
#pragma once

#include "OSInfo.h"
#include "Registry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class TempRegistryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        SetRegistryFileName(FDir.filePath(QStringLiteral("registry.ini")));
    }
    void TearDown() override {
        SetRegistryFileName(QString());
        ResetPlatformSwitches();
    }
    QTemporaryDir FDir;
};
