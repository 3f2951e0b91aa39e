#include "base/core/zelformat.h"

#include <gtest/gtest.h>

TEST(ZelFormat, FillsPlacesInOrder)
{
    struct Case { const char *fmt; QStringList args; const char *expected; };
    const Case cases[] = {
        {"Dataset \"%s\" does not exist", {"Orders"}, "Dataset \"Orders\" does not exist"},
        {"Page %d of %d", {"2", "7"}, "Page 2 of 7"},
        {"100%% done", {}, "100% done"},
        {"%s and %s", {"a"}, "a and "},
        {"trailing %", {}, "trailing %"},
        {"%x stays", {"a"}, "%x stays"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(zelFormat(QString::fromUtf8(c.fmt), c.args), QString::fromUtf8(c.expected)) << c.fmt;
}
