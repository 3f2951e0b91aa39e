#include "base/core/zelexception.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmltext.h"
#include "model/component/zelreportcomponent.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

// Fonts and their inheritance, difference texts and the published properties.

namespace {

class TzelProbeView : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeView, TzelReportComponent)

    explicit TzelProbeView(TzelComponent *owner = nullptr) : TzelReportComponent(owner) {}
};

class TzelProbeBand : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeBand, TzelReportComponent)

    explicit TzelProbeBand(TzelComponent *owner = nullptr) : TzelReportComponent(owner) {}

    bool DiffAlwaysWritesTop() const override { return true; }
};

class TzelProbeAutoWidthView : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeAutoWidthView, TzelReportComponent)

    bool DiffSkipsWidth() const override { return true; }
};

TzelFont courier()
{
    TzelFont f;
    f.SetName(QStringLiteral("Courier New"));
    f.SetSize(12);
    f.SetStyle({fsBold});
    return f;
}

QStringList propertyNames(const TzelClassInfo &info)
{
    QStringList names;
    for (const TzelPropInfo *p : info.Properties())
        names << p->Name;
    return names;
}

} // namespace

TEST(ComponentFont, DefaultsAndSizeHeightConversion)
{
    const TzelFont f;
    EXPECT_EQ(f.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.Height(), -13);
    EXPECT_EQ(f.Color(), clBlack);
    EXPECT_EQ(f.Charset(), TzelFont::DefaultCharset);
    EXPECT_TRUE(f.Style().IsEmpty());

    const struct
    {
        int size, height;
    } sizes[] = {{8, -11}, {10, -13}, {12, -16}, {72, -96}};
    for (const auto &s : sizes) {
        TzelFont g;
        g.SetSize(s.size);
        EXPECT_EQ(g.Height(), s.height) << s.size;
        EXPECT_EQ(g.Size(), s.size) << s.size;
    }
    const struct
    {
        int height, size;
    } heights[] = {{-15, 11}, {-14, 11}, {-13, 10}, {-20, 15}}; // halves away from zero
    for (const auto &h : heights) {
        TzelFont g;
        g.SetHeight(h.height);
        EXPECT_EQ(g.Size(), h.size) << h.height;
    }
}

TEST(ComponentFont, ChildTakesTheParentsFontOnCreationAndMove)
{
    TzelProbeBand band;
    band.SetFont(courier());
    auto *child = new TzelProbeView(&band);
    EXPECT_TRUE(child->ParentFont());
    EXPECT_EQ(child->Font(), courier());

    TzelProbeBand other;
    other.Font().SetName(QStringLiteral("Times New Roman"));
    child->SetParent(&other);
    EXPECT_EQ(child->Font().Name(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(child->ParentFont());

    child->Font().SetColor(0xFF);
    child->SetParent(&band);
    EXPECT_FALSE(child->ParentFont());
    EXPECT_EQ(child->Font().Name(), QStringLiteral("Times New Roman"));

    child->SetParentFont(true);
    EXPECT_EQ(child->Font(), courier());
    EXPECT_TRUE(child->ParentFont());
}

TEST(ComponentFont, ChangingAFontClearsParentFontAndFlowsDown)
{
    TzelProbeBand page;
    auto *band = new TzelProbeBand(&page);
    auto *memo = new TzelProbeView(band);
    auto *own = new TzelProbeView(band);
    own->Font().SetName(QStringLiteral("Verdana"));
    ASSERT_FALSE(own->ParentFont());

    page.Font().SetColor(0xFF);
    EXPECT_FALSE(page.ParentFont());
    EXPECT_TRUE(band->ParentFont());
    EXPECT_TRUE(memo->ParentFont());
    EXPECT_EQ(memo->Font().Color(), 0xFF);
    EXPECT_EQ(own->Font().Color(), clBlack);
    EXPECT_EQ(own->Font().Name(), QStringLiteral("Verdana"));

    band->Font().SetStyle({fsItalic});
    EXPECT_FALSE(band->ParentFont());
    EXPECT_EQ(memo->Font().Style(), TzelFontStyles{fsItalic});
    EXPECT_EQ(memo->Font().Color(), 0xFF);
}

TEST(ComponentFont, AssigningAFontCopiesItAndClearsParentFont)
{
    TzelProbeBand band;
    auto *memo = new TzelProbeView(&band);
    auto *inner = new TzelProbeView(memo);

    memo->SetFont(band.Font()); // the same values still count as the memo's own
    EXPECT_FALSE(memo->ParentFont());

    TzelFont source = courier();
    memo->SetFont(source);
    source.SetName(QStringLiteral("Verdana"));
    EXPECT_EQ(memo->Font().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(inner->Font(), courier());
    EXPECT_TRUE(inner->ParentFont());
}

TEST(ComponentDiff, IdenticalObjectsDifferOnlyInTheTopOfBands)
{
    TzelProbeView memo, sameMemo;
    memo.SetBounds(10, 20, 30, 40);
    sameMemo.SetBounds(10.00005, 20, 30, 40);
    EXPECT_EQ(memo.Diff(&sameMemo), QString());

    TzelProbeBand band, sameBand;
    band.SetBounds(0, 20, 300, 40);
    sameBand.SetBounds(0, 20, 300, 40);
    EXPECT_EQ(band.Diff(&sameBand), QStringLiteral(" t=\"20\""));
}

TEST(ComponentDiff, WritesEveryDifferingAttributeInOrder)
{
    TzelProbeView memo, original;
    memo.SetBounds(1, 2, 3, 12.25);
    memo.SetVisible(false);
    memo.SetParentFont(false);
    memo.Tag = -7;
    memo.AllowMirrorMode = true;
    const QString h = QStringLiteral("12") + zelFormatSettings().DecimalSeparator + QStringLiteral("25");
    EXPECT_EQ(memo.Diff(&original),
              QStringLiteral(" l=\"1\" t=\"2\" w=\"3\" h=\"%1\" Visible=\"0\" ParentFont=\"0\" Tag=\"-7\""
                             " AllowMirrorMode=\"1\"")
                  .arg(h));
    EXPECT_EQ(original.Diff(&memo),
              QStringLiteral(" l=\"0\" t=\"0\" w=\"0\" h=\"0\" Visible=\"1\" ParentFont=\"1\" Tag=\"0\""
                             " AllowMirrorMode=\"0\""));

    TzelProbeAutoWidthView autoWidth, other;
    autoWidth.SetWidth(50);
    EXPECT_EQ(autoWidth.Diff(&other), QString());
}

TEST(ComponentDiff, FontFieldsOnlyWithoutParentFont)
{
    struct Case
    {
        std::function<void(TzelFont &)> change;
        QString expected;
    };
    const Case cases[] = {
        {[](TzelFont &f) { f.SetName(QStringLiteral("Courier New")); }, " Font.Name=\"Courier New\""},
        {[](TzelFont &f) { f.SetSize(12); }, " Font.Size=\"12\""},
        {[](TzelFont &f) { f.SetColor(0xFF8000); }, " Font.Color=\"16744448\""},
        {[](TzelFont &f) { f.SetColor(clWindowText); }, " Font.Color=\"-2147483640\""},
        {[](TzelFont &f) { f.SetStyle({fsBold, fsItalic}); }, " Font.Style=\"3\""},
        {[](TzelFont &f) { f.SetStyle({fsUnderline, fsStrikeOut}); }, " Font.Style=\"12\""},
        {[](TzelFont &f) { f.SetCharset(204); }, " Font.Charset=\"204\""},
        {[](TzelFont &f) {
             f.SetName(QStringLiteral("A&\"B"));
             f.SetCharset(0);
         },
         QStringLiteral(" Font.Name=\"%1\" Font.Charset=\"0\"").arg(EscapeXMLText(QStringLiteral("A&\"B")))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        TzelProbeView memo, original;
        original.SetParentFont(false);
        c.change(memo.Font());
        ASSERT_FALSE(memo.ParentFont());
        EXPECT_EQ(memo.Diff(&original), c.expected);

        memo.SetParentFont(true); // a root keeps its font; only the flag changes
        EXPECT_EQ(memo.Diff(&original), QStringLiteral(" ParentFont=\"1\""));
    }
}

TEST(ComponentProperties, ComponentPublishesNameAndTag)
{
    const TzelClassInfo &info = TzelComponent::StaticClassInfo();
    EXPECT_EQ(propertyNames(info), (QStringList{"Name", "Tag"}));

    const TzelPropInfo *name = info.FindProperty(u"name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Kind, TzelPropKind::String);
    EXPECT_EQ(name->TypeName, QStringLiteral("TComponentName"));
    EXPECT_FALSE(name->Default.has_value());

    const TzelPropInfo *tag = info.FindProperty(u"Tag");
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->Kind, TzelPropKind::Integer);

    TzelReport report;
    auto *a = new TzelProbeView(&report);
    auto *b = new TzelProbeView(&report);
    name->Set(*a, Variant(QStringLiteral("Memo1")));
    EXPECT_EQ(a->Name(), QStringLiteral("Memo1"));
    EXPECT_THROW(name->Set(*b, Variant(QStringLiteral("MEMO1"))), TzelDuplicateNameError);
    EXPECT_EQ(name->Get(*a).ToString(), QStringLiteral("Memo1"));

    EXPECT_TRUE(tag->HoldsDefault(*a));
    tag->Set(*a, Variant(5));
    EXPECT_EQ(a->Tag, 5);
    EXPECT_FALSE(tag->HoldsDefault(*a));
}

TEST(ComponentProperties, ReportComponentStoresIndexTagOnlyWhenPositive)
{
    const TzelClassInfo &info = TzelReportComponent::StaticClassInfo();
    EXPECT_EQ(propertyNames(info), (QStringList{"Name", "Tag", "Description", "IndexTag"}));
    const TzelPropInfo *indexTag = info.FindProperty(u"IndexTag");
    ASSERT_NE(indexTag, nullptr);
    TzelProbeView v;
    for (const auto &[value, stored] : {std::pair{-1, false}, {0, false}, {1, true}, {42, true}}) {
        indexTag->Set(v, Variant(value));
        EXPECT_EQ(v.IndexTag, value);
        EXPECT_EQ(indexTag->IsStored(v), stored) << value;
    }
    EXPECT_TRUE(info.FindProperty(u"Description")->IsStored(v));
}

TEST(ComponentProperties, FontPublishesItsValues)
{
    const TzelClassInfo &info = TzelFont::StaticClassInfo();
    struct Expected
    {
        const char *name;
        TzelPropKind kind;
        const char *typeName;
        bool stored;
    };
    const Expected expected[] = {
        {"Charset", TzelPropKind::Integer, "TFontCharset", true},
        {"Color", TzelPropKind::Color, "TColor", true},
        {"Height", TzelPropKind::Integer, "Integer", true},
        {"Name", TzelPropKind::String, "TFontName", true},
        {"Size", TzelPropKind::Integer, "Integer", false},
        {"Style", TzelPropKind::Set, "TFontStyles", true},
    };
    TzelFont font;
    ASSERT_EQ(info.Properties().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const TzelPropInfo *p = info.Properties()[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(p->Name, QString::fromLatin1(expected[i].name));
        EXPECT_EQ(p->Kind, expected[i].kind);
        EXPECT_EQ(p->TypeName, QString::fromLatin1(expected[i].typeName));
        EXPECT_EQ(p->IsStored(font), expected[i].stored);
    }

    info.FindProperty(u"Size")->Set(font, Variant(12));
    EXPECT_EQ(font.Height(), -16);
    EXPECT_EQ(info.FindProperty(u"Height")->Get(font).ToInt(), -16);
    info.FindProperty(u"Style")->Set(font, Variant(qint64(3)));
    EXPECT_EQ(font.Style(), (TzelFontStyles{fsBold, fsItalic}));
    info.FindProperty(u"Color")->Set(font, Variant(0xFF));
    EXPECT_EQ(font.Color(), 0xFF);
    info.FindProperty(u"Name")->Set(font, Variant(QStringLiteral("Verdana")));
    info.FindProperty(u"Charset")->Set(font, Variant(204));
    EXPECT_EQ(font.Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(font.Charset(), 204);
}
