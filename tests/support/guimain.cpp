// main() of the tests that need a GUI application.
#include "support/testsupport.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    zelPrepareTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
