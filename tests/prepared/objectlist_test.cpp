#include "base/core/zelexception.h"
#include "model/component/zelcomponent.h"
#include "prepared/zelextendedobjectlist.h"

#include <QRandomGenerator>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A list of children of Parent, each keyed by its Top.
void appendTops(TzelExtendedObjectList &list, TzelComponent &parent, std::initializer_list<double> tops)
{
    for (double top : tops) {
        auto *object = new TzelComponent(&parent);
        object->SetTop(top);
        list.AppendObject(object, top);
    }
}

// Every key still travels with its object.
void expectPaired(const TzelExtendedObjectList &list)
{
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Objects(i)->Top(), list.Items(i)) << i;
}

} // namespace

TEST(ExtendedObjectList, SortComparesHundredthsRoundedHalfToEven)
{
    // The partition exchanges keys it finds equal, so two keys given in
    // exact order come out reversed exactly when they compare equal.
    const struct
    {
        double First;
        double Second;
        bool Equal;
    } cases[] = {
        {10.001, 10.004, true},
        {0.12, 0.125, true}, // 12.5 rounds to the even 12
        {10.00, 10.01, false},
        {0.125, 0.13, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.First << " " << c.Second);
        TzelComponent parent;
        TzelExtendedObjectList list;
        appendTops(list, parent, {c.First, c.Second});
        list.SortList();
        EXPECT_EQ(list.Items(0), c.Equal ? c.Second : c.First);
        expectPaired(list);

        // Given the other way round, keys that differ are put in order.
        TzelExtendedObjectList reversed;
        appendTops(reversed, parent, {c.Second, c.First});
        reversed.SortList();
        if (!c.Equal) {
            EXPECT_EQ(reversed.Items(0), c.First);
        }
    }
}

TEST(ExtendedObjectList, SortOrdersManyKeysWithTheirObjects)
{
    TzelComponent parent;
    TzelExtendedObjectList list;
    QRandomGenerator random(7);
    for (int i = 0; i < 300; ++i)
        appendTops(list, parent, {double(random.bounded(5000)) / 1000});
    list.SortList();
    ASSERT_EQ(list.Count(), 300);
    for (int i = 1; i < list.Count(); ++i)
        EXPECT_LE(std::nearbyint(list.Items(i - 1) * 100), std::nearbyint(list.Items(i) * 100)) << i;
    expectPaired(list);

    TzelExtendedObjectList single;
    appendTops(single, parent, {1});
    single.SortList();
    TzelExtendedObjectList empty;
    empty.SortList();
    EXPECT_EQ(single.Items(0), 1);
}

TEST(ExtendedObjectList, EditingMovesKeysAndObjectsTogether)
{
    TzelComponent parent;
    TzelExtendedObjectList list;
    auto *inserted = new TzelComponent(&parent);
    list.InsertObject(5, inserted, 0.5); // an empty list appends, whatever the index
    appendTops(list, parent, {1, 2, 3});
    list.SetItems(0, 0);
    inserted->SetTop(0);
    ASSERT_EQ(list.Count(), 4);

    auto *front = new TzelComponent(&parent);
    front->SetTop(-1);
    list.InsertObject(0, front, -1);
    auto *middle = new TzelComponent(&parent);
    middle->SetTop(1.5);
    list.InsertObject(3, middle, 1.5);
    list.Delete(1);
    list.Exchange(0, 4);
    expectPaired(list);
    std::vector<double> keys;
    for (int i = 0; i < list.Count(); ++i)
        keys.push_back(list.Items(i));
    EXPECT_EQ(keys, (std::vector<double>{3, 1, 1.5, 2, -1}));
    EXPECT_EQ(list.Objects(4), front);

    // Replacing an object leaves its key.
    list.SetObjects(4, inserted);
    EXPECT_EQ(list.Items(4), -1);
    EXPECT_EQ(list.Objects(4), inserted);

    // Keys added without an object have none.
    list.Append(9);
    list.Insert(0, 8);
    EXPECT_EQ(list.Objects(0), nullptr);
    EXPECT_EQ(list.Objects(list.Count() - 1), nullptr);
    EXPECT_EQ(list.Objects(3), middle);
}

TEST(ExtendedObjectList, BadIndexesRaiseIndexOutOfBounds)
{
    TzelComponent parent;
    TzelExtendedObjectList list;
    appendTops(list, parent, {1, 2});
    const std::function<void()> operations[] = {
        [&] { list.Items(2); },
        [&] { list.Items(-1); },
        [&] { list.Objects(2); },
        [&] { list.SetItems(2, 0); },
        [&] { list.SetObjects(-1, nullptr); },
        [&] { list.Delete(2); },
        [&] { list.Insert(2, 0); },
        [&] { list.InsertObject(-1, nullptr, 0); },
        [&] { list.Exchange(0, 2); },
    };
    for (size_t i = 0; i < std::size(operations); ++i) {
        SCOPED_TRACE(i);
        try {
            operations[i]();
            ADD_FAILURE() << "no exception";
        } catch (const TzelException &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Index out of bounds"));
        }
    }
    EXPECT_EQ(list.Count(), 2);
    expectPaired(list);
}

TEST(ExtendedObjectList, CapacityGrowsInSteps)
{
    TzelExtendedObjectList list;
    std::vector<int> capacities;
    for (int i = 0; i < 100; ++i) {
        list.AppendObject(nullptr, i);
        if (capacities.empty() || capacities.back() != list.Capacity())
            capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    EXPECT_EQ(list.Items(99), 99);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(ExtendedObjectList, FreeObjectsDecidesWhetherClearDeletesThem)
{
    TzelComponent parent;
    {
        TzelExtendedObjectList list;
        appendTops(list, parent, {1, 2});
        list.Clear();
        EXPECT_EQ(parent.Objects().size(), 2);

        list.SetFreeObjects(true);
        for (TzelComponent *object : parent.Objects())
            list.AppendObject(object, object->Top());
        list.Clear();
        EXPECT_TRUE(parent.Objects().isEmpty());

        appendTops(list, parent, {3});
    }
    // Destroying the list clears it.
    EXPECT_TRUE(parent.Objects().isEmpty());
}
