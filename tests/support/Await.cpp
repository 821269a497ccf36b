#include "tests/support/Await.h"

#include <QTest>

bool Await(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 30000);
}
