#include <QCoreApplication>
#include <gtest/gtest.h>

#include "support/TestProcess.h"

// Core tests run with no display: an event loop for the queued signals, timers
// and threads of the logic, and no window system at all.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    vorlu::test::prepareTestProcess();
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
