// Every list of a template follows one bounds rule: an index outside the
// list raises, whatever the call, instead of reading or freeing past its end.
#include "base/core/zelexception.h"
#include "model/report/zelreportdatasets.h"
#include "model/data/zelvariables.h"
#include "model/style/zelstylesheet.h"
#include "model/view/zelcustommemoview.h"

#include <gtest/gtest.h>

namespace {

template <class List>
void expectBounds(List &list)
{
    const int count = list.Count();
    for (const int index : {-1, count, count + 5}) {
        for (const auto &[what, call] : std::initializer_list<std::pair<const char *, std::function<void()>>>{
                 {"Items", [&] { list.Items(index); }},
                 {"Delete", [&] { list.Delete(index); }},
             }) {
            try {
                call();
                ADD_FAILURE() << what << "(" << index << ") did not raise";
            } catch (const TzelException &e) {
                EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (%1)").arg(index)) << what;
            }
        }
    }
    EXPECT_EQ(list.Count(), count);
}

} // namespace

TEST(Collections, EveryListRaisesForAnIndexOutsideIt)
{
    TzelOwnedList<TzelFormat> formats;
    formats.Add();
    expectBounds(formats);
    TzelHighlights highlights;
    highlights.Add();
    expectBounds(highlights);
    TzelStyles styles;
    styles.Add();
    expectBounds(styles);
    TzelStyleSheet sheet;
    sheet.Add();
    expectBounds(sheet);
    TzelVariables variables;
    variables.Add();
    expectBounds(variables);
    EXPECT_THROW(variables.Insert(3), TzelException);
    EXPECT_NE(variables.Insert(1), nullptr) << "the end is a place to insert";
    TzelReportDataSets dataSets;
    dataSets.Add();
    expectBounds(dataSets);
}
