#pragma once
// A private temporary folder per test program: the working directory and the settings store.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

class TestEnv : public ::testing::Environment
{
public:
    void SetUp() override;
    void TearDown() override;

    // The folder all tests of this program work in.
    static QString Folder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};
