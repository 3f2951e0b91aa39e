// main() of the headless tests.
#include "support/testsupport.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    zelPrepareTestEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
