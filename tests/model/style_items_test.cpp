#include "band_testsupport.h"

#include "base/core/zelexception.h"
#include "model/style/zelstyles.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelglassfill.h"
#include "model/view/zelgradientfill.h"

// Styles and sets of styles: names, colours, fills and copies.

namespace {

using StyleItems = BandTest;

TzelStyleItem *named(TzelStyles &styles, const char *name)
{
    TzelStyleItem *s = styles.Add();
    s->SetName(QLatin1StringView(name));
    return s;
}

} // namespace

TEST_F(StyleItems, NamesAreUniqueInTheirSetIgnoringCase)
{
    TzelStyles styles;
    TzelStyleItem *header = named(styles, "Header");
    TzelStyleItem *data = named(styles, "Data");
    EXPECT_EQ(styles.Find(QStringLiteral("header")), header);
    EXPECT_EQ(styles.Find(QStringLiteral("Footer")), nullptr);

    try {
        data->SetName(QStringLiteral("HEADER"));
        FAIL() << "a duplicate name was taken";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Duplicate name"));
    }
    EXPECT_EQ(data->Name(), QStringLiteral("Data"));
    header->SetName(QStringLiteral("HEADER"));
    EXPECT_EQ(styles.GetList(), (QStringList{QStringLiteral("HEADER"), QStringLiteral("Data")}));

    // Another set may use the same name, and any number of styles may be unnamed.
    TzelStyles other;
    EXPECT_NO_THROW(named(other, "Header"));
    other.Add();
    other.Add();
    TzelStyles copy;
    EXPECT_NO_THROW(copy.Assign(other));
    EXPECT_EQ(copy.GetList(), (QStringList{QStringLiteral("Header"), QString(), QString()}));
    EXPECT_EQ(copy.Find(QString()), nullptr);
}

TEST_F(StyleItems, UniqueNamesFillTheFirstGap)
{
    TzelStyles styles;
    named(styles, "Style1");
    named(styles, "Style3");
    TzelStyleItem *fresh = styles.Add();
    fresh->CreateUniqueName();
    EXPECT_EQ(fresh->Name(), QStringLiteral("Style2"));
    TzelStyleItem *next = styles.Add();
    next->CreateUniqueName();
    EXPECT_EQ(next->Name(), QStringLiteral("Style4"));
    EXPECT_EQ(styles.Add()->InheritedName(), QStringLiteral("zelUIN0"));
    EXPECT_EQ(next->InheritedName(), QStringLiteral("Style4"));
}

TEST_F(StyleItems, ColourFollowsTheKindOfFill)
{
    TzelStyleItem style;
    EXPECT_EQ(style.Color(), clNone);
    style.SetColor(255);
    EXPECT_EQ(dynamic_cast<const TzelBrushFill &>(style.Fill()).BackColor, 255);

    style.SetFillType(ftGradient);
    auto &gradient = dynamic_cast<TzelGradientFill &>(style.Fill());
    gradient.StartColor = 0x000000;
    gradient.EndColor = 0xFFFFFF;
    EXPECT_EQ(style.Color(), 0x7F7F7F);
    style.SetColor(255);
    EXPECT_EQ(style.Color(), 0x7F7F7F);

    style.SetFillType(ftGlass);
    EXPECT_EQ(style.Color(), clNone);
    style.SetColor(255);
    EXPECT_EQ(style.Color(), clNone);

    // A fill assigned switches the kind first.
    TzelBrushFill brush;
    brush.BackColor = 65280;
    style.SetFill(brush);
    EXPECT_EQ(style.FillType(), ftBrush);
    EXPECT_EQ(style.Color(), 65280);
}

TEST_F(StyleItems, AssignCopiesTheWholeLook)
{
    TzelStyles styles;
    TzelStyleItem *source = named(styles, "Title");
    source->SetFillType(ftGlass);
    source->Font().SetHeight(-16);
    source->Frame().Typ = {ftBottom};
    source->ApplyFont = false;
    source->IsInherited = true;

    TzelStyles copy;
    copy.Name = QStringLiteral("Kept");
    named(copy, "Old");
    copy.Assign(styles);
    ASSERT_EQ(copy.Count(), 1);
    const TzelStyleItem *s = copy.Items(0);
    EXPECT_EQ(copy.Name, QStringLiteral("Kept"));
    EXPECT_EQ(s->Collection(), &copy);
    zelExpectSameProperties(*source, *s);
    EXPECT_TRUE(s->IsInherited);
    // Copies are deep: changing the source leaves the copy as it was.
    source->Font().SetHeight(-20);
    EXPECT_EQ(s->Font().Height(), -16);
}
