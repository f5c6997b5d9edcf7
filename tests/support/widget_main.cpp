#include <QApplication>
#include <gtest/gtest.h>

#include "support/TestProcess.h"

// Widget and GL tests need an application object; it lives for the whole run.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    vorlu::test::prepareTestProcess();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
