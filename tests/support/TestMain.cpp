// Every test program runs headless, with its own settings store and working folder, so that
// no test touches the user's files or settings.
#include "res/Resources.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    RegisterResources();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TestEnv);
    return RUN_ALL_TESTS();
}
