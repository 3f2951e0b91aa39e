#include "base/xml/zelxmlitem.h"

#include <gtest/gtest.h>

namespace {

std::string str(const QString &s)
{
    return s.toStdString();
}

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

} // namespace

TEST(XmlItem, PropIgnoresCaseAndNeedsBlankOrStart)
{
    TzelXMLItem item;
    item.SetText(u8(R"(xLeft="9" Left="1" Top="a&#34;b" Empty="" Width ="7")"));
    EXPECT_EQ(str(item.Prop(u8("left"))), "1");
    EXPECT_EQ(str(item.Prop(u8("LEFT"))), "1");
    EXPECT_EQ(str(item.Prop(u8("xleft"))), "9");
    EXPECT_EQ(str(item.Prop(u8("top"))), "a\"b");
    EXPECT_EQ(str(item.Prop(u8("eft"))), "");
    EXPECT_FALSE(item.PropExists(u8("eft")));
    // A missing attribute and an empty one read alike; only PropExists differs.
    EXPECT_EQ(str(item.Prop(u8("Empty"))), "");
    EXPECT_TRUE(item.PropExists(u8("empty")));
    EXPECT_EQ(str(item.Prop(u8("Missing"))), "");
    EXPECT_FALSE(item.PropExists(u8("Missing")));
    EXPECT_FALSE(item.PropExists(u8("Width")));

    TzelXMLItem accents;
    accents.SetText(u8(R"(Größe="1")"));
    EXPECT_EQ(str(accents.Prop(u8("GRÖSSE"))), "");
    EXPECT_EQ(str(accents.Prop(u8("GRÖßE"))), "1");
}

TEST(XmlItem, SetPropReplacesInPlaceOrAppends)
{
    TzelXMLItem item;
    item.SetText(u8(R"(Left="1" Top="2" Width="3")"));
    item.SetProp(u8("left"), u8("5"));
    EXPECT_EQ(str(item.Text()), R"(left="5" Top="2" Width="3")");
    item.SetProp(u8("TOP"), u8("<\"x\">"));
    EXPECT_EQ(str(item.Text()), R"(left="5" TOP="&#60;&#34;x&#34;&#62;" Width="3")");
    EXPECT_EQ(str(item.Prop(u8("top"))), "<\"x\">");
    item.SetProp(u8("Height"), u8(""));
    EXPECT_EQ(str(item.Text()), R"(left="5" TOP="&#60;&#34;x&#34;&#62;" Width="3" Height="")");

    TzelXMLItem fresh;
    fresh.SetProp(u8("a"), u8("1"));
    EXPECT_EQ(str(fresh.Text()), R"(a="1")");
    fresh.SetText(u8(R"(a="1" )"));
    fresh.SetProp(u8("b"), u8("2"));
    EXPECT_EQ(str(fresh.Text()), R"(a="1" b="2")");
}

TEST(XmlItem, DeletePropTakesTheFollowingCharacter)
{
    struct Case { const char *name; const char *expected; };
    const Case cases[] = {
        {"B", R"(a="1" c="3")"},
        {"a", R"(b="2" c="3")"},
        {"c", R"(a="1" b="2" )"},
        {"d", R"(a="1" b="2" c="3")"},
    };
    for (const Case &c : cases) {
        TzelXMLItem item;
        item.SetText(u8(R"(a="1" b="2" c="3")"));
        item.DeleteProp(u8(c.name));
        EXPECT_EQ(str(item.Text()), c.expected) << c.name;
    }
}

TEST(XmlItem, LargeAttributeTextIsSearchedCorrectly)
{
    TzelXMLItem item;
    const QString big(1 << 20, u'=');
    item.SetProp(u8("Big"), big);
    item.SetProp(u8("Small"), u8("s"));
    EXPECT_EQ(item.Prop(u8("big")), big);
    EXPECT_EQ(str(item.Prop(u8("small"))), "s");
    item.DeleteProp(u8("big"));
    EXPECT_EQ(str(item.Text()), R"(Small="s")");
}

TEST(XmlItem, ChildrenMoveBetweenParents)
{
    TzelXMLItem a, b;
    TzelXMLItem *x = a.Add(u8("X"));
    TzelXMLItem *y = a.Add(u8("Y"));
    EXPECT_EQ(x->Parent(), &a);
    EXPECT_EQ(a.Find(u8("y")), 1);
    EXPECT_EQ(a.Find(u8("z")), -1);
    EXPECT_EQ(a.FindItem(u8("x")), x);
    TzelXMLItem *z = a.FindItem(u8("Z"));
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(str(z->Name()), "Z");

    b.AddItem(y);
    EXPECT_EQ(a.Count(), 2);
    EXPECT_EQ(a.IndexOf(y), -1);
    EXPECT_EQ(y->Parent(), &b);

    a.InsertItem(0, z); // moves within the same parent
    EXPECT_EQ(a.IndexOf(z), 0);
    EXPECT_EQ(a.IndexOf(x), 1);

    TzelXMLItem *deep = x->Add()->Add();
    EXPECT_EQ(deep->Root(), &a);
    deep->AddItem(x); // would make a cycle
    EXPECT_EQ(x->Parent(), &a);

    delete x;
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Items(0), z);
}

TEST(XmlItem, ClearUnloadsOnlyUnloadableElements)
{
    TzelXMLItem item;
    item.Add();
    item.Clear();
    EXPECT_EQ(item.Count(), 0);
    EXPECT_TRUE(item.Loaded());

    item.SetUnloadable(true);
    item.Add();
    item.Clear();
    EXPECT_EQ(item.Count(), 0);
    EXPECT_FALSE(item.Loaded());
}
