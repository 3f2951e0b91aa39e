#include "model/reflect/zelclassregistry.h"
#include "model/reflect/zelpersistent.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace {

ZEL_ENUM(TzelSampleAlign, saLeft, saRight, saCenter)
ZEL_ENUM(TzelSampleFlag, sfOne, sfTwo, sfThree)

class SampleNested : public TzelPersistent
{
    ZEL_CLASS(SampleNested, TzelPersistent)

    int Width = 1;

    static void Publish(TzelPublisher<SampleNested> &p) { p.Prop("Width", &SampleNested::Width).Default(1); }
};

class SampleBase : public TzelPersistent
{
    ZEL_CLASS(SampleBase, TzelPersistent)

    QString Caption;
    double Left = 0;
    double GetLeft() const { return Left; }
    void SetLeft(double v) { Left = v; }

    static void Publish(TzelPublisher<SampleBase> &p)
    {
        p.Prop("Caption", &SampleBase::Caption);
        p.Prop("Left", &SampleBase::GetLeft, &SampleBase::SetLeft);
    }
};

class SampleDerived : public SampleBase
{
    ZEL_CLASS(SampleDerived, SampleBase)

    TzelSampleAlign Align = saLeft;
    TzelSet<TzelSampleFlag> Flags;
    int Color = 0x1FFFFFFF;
    bool Shown = true;
    QStringList Lines;
    SampleNested Frame;
    QString OnClick;
    SampleDerived *Link = nullptr;
    SampleDerived *GetLink() const { return Link; }
    void SetLink(SampleDerived *v) { Link = v; }
    bool IsFrameStored() const { return Shown; }

    static void Publish(TzelPublisher<SampleDerived> &p)
    {
        p.Prop("Align", &SampleDerived::Align).Default(saLeft);
        p.Prop("Flags", &SampleDerived::Flags).Default({}).Type("TzelSampleFlags");
        p.Color("Color", &SampleDerived::Color).Default(0x1FFFFFFF);
        p.Prop("Shown", &SampleDerived::Shown).Default(true);
        p.Prop("Lines", &SampleDerived::Lines);
        p.Object("Frame", &SampleDerived::Frame).StoredIf(&SampleDerived::IsFrameStored);
        p.Event("OnClick", &SampleDerived::OnClick);
        p.Ref("Link", &SampleDerived::GetLink, &SampleDerived::SetLink);
        p.Prop("Left", &SampleBase::GetLeft, &SampleBase::SetLeft); // published again: keeps its place
        p.Callback("OnHost", "TzelHostEvent");
    }
};

} // namespace

TEST(Reflection, ListsPropertiesBaseFirstWithKindsAndTypeNames)
{
    const TzelClassInfo &info = SampleDerived::StaticClassInfo();
    EXPECT_EQ(info.ClassName(), QStringLiteral("SampleDerived"));
    EXPECT_EQ(info.Base(), &SampleBase::StaticClassInfo());
    QStringList names, types;
    for (const TzelPropInfo *p : info.Properties()) {
        names << p->Name;
        types << p->TypeName;
    }
    EXPECT_EQ(names, (QStringList{"Caption", "Left", "Align", "Flags", "Color", "Shown", "Lines", "Frame", "OnClick",
                                  "Link", "OnHost"}));
    EXPECT_EQ(types, (QStringList{"String", "Extended", "TzelSampleAlign", "TzelSampleFlags", "TColor", "Boolean",
                                  "TStrings", "SampleNested", "TzelNotifyEvent", "SampleDerived", "TzelHostEvent"}));
    for (int i = 0; i < int(info.Properties().size()); ++i)
        EXPECT_EQ(info.Properties()[size_t(i)]->Index, i);
    EXPECT_EQ(info.FindProperty(u"ALIGN")->Kind, TzelPropKind::Enum);
    EXPECT_EQ(info.FindProperty(u"color")->Kind, TzelPropKind::Color);
    EXPECT_EQ(info.FindProperty(u"Link")->Kind, TzelPropKind::ComponentRef);
    EXPECT_EQ(info.FindProperty(u"OnHost")->Kind, TzelPropKind::Callback);
    EXPECT_EQ(info.FindProperty(u"Nope"), nullptr);
    EXPECT_TRUE(info.InheritsFrom(SampleBase::StaticClassInfo()));
    EXPECT_TRUE(info.InheritsFrom(u"tzelpersistent"));
    EXPECT_FALSE(SampleBase::StaticClassInfo().InheritsFrom(info));
}

TEST(Reflection, ReadsAndWritesThroughVariantsAndKnowsDefaults)
{
    SampleDerived o;
    const TzelClassInfo &info = o.ClassInfo();
    const TzelPropInfo &align = *info.FindProperty(u"Align");
    EXPECT_TRUE(align.HoldsDefault(o));
    align.Set(o, Variant(2));
    EXPECT_EQ(o.Align, saCenter);
    EXPECT_FALSE(align.HoldsDefault(o));
    EXPECT_EQ(align.Enum->NameOf(align.Get(o).ToInt()), QStringLiteral("saCenter"));

    info.FindProperty(u"Flags")->Set(o, Variant(5));
    EXPECT_TRUE(o.Flags.Contains(sfOne) && o.Flags.Contains(sfThree) && !o.Flags.Contains(sfTwo));

    info.FindProperty(u"Lines")->Set(o, Variant(QStringLiteral("a\r\n\r\nc")));
    EXPECT_EQ(o.Lines, (QStringList{"a", "", "c"}));
    EXPECT_EQ(info.FindProperty(u"Lines")->Get(o).ToString(), QStringLiteral("a\r\n\r\nc"));

    info.FindProperty(u"Left")->Set(o, Variant(12.5));
    EXPECT_EQ(o.Left, 12.5);
    EXPECT_FALSE(info.FindProperty(u"Caption")->Default.has_value());

    const TzelPropInfo &frame = *info.FindProperty(u"Frame");
    EXPECT_EQ(frame.Nested(o), &o.Frame);
    EXPECT_TRUE(frame.IsStored(o));
    o.Shown = false;
    EXPECT_FALSE(frame.IsStored(o));

    SampleDerived other;
    info.FindProperty(u"Link")->SetRef(o, &other);
    EXPECT_EQ(o.Link, &other);
    EXPECT_EQ(info.FindProperty(u"Link")->GetRef(o), &other);
    SampleNested wrongClass;
    info.FindProperty(u"Link")->SetRef(o, &wrongClass); // no reference
    EXPECT_EQ(o.Link, nullptr);
}

TEST(Reflection, RegistryFindsClassesByNameIgnoringCaseAndCreatesThem)
{
    zelRegisterClass<SampleDerived>();
    zelRegisterClass<SampleDerived>();
    const TzelClassInfo *info = TzelClassRegistry::Find(u"samplederived");
    ASSERT_EQ(info, &SampleDerived::StaticClassInfo());
    EXPECT_EQ(TzelClassRegistry::Classes().count(info), 1);
    std::unique_ptr<TzelPersistent> made(info->Create());
    EXPECT_EQ(made->ClassName(), QStringLiteral("SampleDerived"));
    EXPECT_EQ(TzelClassRegistry::Find(u"NoSuchClass"), nullptr);
}
