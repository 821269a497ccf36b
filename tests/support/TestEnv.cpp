#include "tests/support/TestEnv.h"

#include <QDir>

namespace
{
QString g_folder;
}

void TestEnv::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    g_folder = m_dir->path();
    qputenv("REELMIX_REGISTRY", QDir(g_folder).filePath("registry.db").toUtf8());
    // Desktop files and settings a test may write stay in its folder too.
    qputenv("XDG_DATA_HOME", QDir(g_folder).filePath("share").toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(g_folder).filePath("config").toUtf8());
    QDir::setCurrent(g_folder);
}

void TestEnv::TearDown()
{
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

QString TestEnv::Folder()
{
    return g_folder;
}
