#include "base/resources/zelresources.h"
#include "model/reflect/zelclassregistry.h"
#include "model/serial/zelpropstream.h"
#include "model/serial/zelserialhooks.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelview.h"
#include "support/testsupport.h"
#include "view_testsupport.h"

namespace {

struct ClassCase
{
    const char *ClassName;
    const char *BaseName;    // stem of generated names; empty for non-components
    const char *Description; // resource key of the designer's description
    const char *NewText;     // attributes a new object writes
    bool DefaultDiff;        // differences are the view's plain ones
};

void PrintTo(const ClassCase &c, std::ostream *os)
{
    *os << c.ClassName;
}

const char *const bounds = " AllowVectorExport=\"True\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\"";

const ClassCase classCases[] = {
    {"TzelMemoView", "Memo", "obText", " Frame.Typ=\"0\" Text=\"\"", false},
    {"TzelSysMemoView", "SysMemo", "obSysText", " Frame.Typ=\"0\" Text=\"\"", false},
    {"TzelCustomMemoView", "CustomMemo", "obText", " Text=\"\"", false},
    {"TzelLineView", "Line", "obLine", " Frame.Typ=\"0\"", false},
    {"TzelCustomLineView", "CustomLine", "obLine", "", false},
    {"TzelPictureView", "Picture", "obPicture",
     " Frame.Typ=\"0\" HightQuality=\"False\" Transparent=\"False\" TransparentColor=\"16777215\"", false},
    {"TzelShapeView", "Shape", "obShape", " Frame.Typ=\"0\"", false},
    {"TzelSubreport", "Subreport", "obSubRep", "", true},
    {"TzelFrame", "", "", " Typ=\"0\"", false},
    {"TzelHighlight", "", "",
     " Font.Charset=\"1\" Font.Color=\"255\" Font.Height=\"-13\" Font.Name=\"Arial\" Font.Style=\"0\" Frame.Typ=\"0\"",
     false},
    {"TzelBrushFill", "", "", "", false},
    {"TzelGradientFill", "", "", " GradientStyle=\"gsHorizontal\"", false},
    {"TzelGlassFill", "", "", " Color=\"8421504\" Blend=\"0.5\"", false},
};

// A value other than the property's declared default (or than its present
// value when it has none), and unlike the values of its neighbours, so that
// properties read into each other's place show.
Variant otherValue(const TzelPropInfo &p, const TzelPersistent &obj)
{
    const Variant base = p.Default ? *p.Default : p.Get(obj);
    switch (p.Kind) {
    case TzelPropKind::Integer:
        return Variant(base.ToInt() + 7 + p.Index);
    case TzelPropKind::Int64:
        return Variant(base.ToInt64() + 7 + p.Index);
    case TzelPropKind::Char:
        return Variant(int(u'Q'));
    case TzelPropKind::Color:
        return Variant(0x010203 * (p.Index + 1));
    case TzelPropKind::Boolean:
        return Variant(!base.ToBool());
    case TzelPropKind::Enum:
        return Variant((base.ToInt() + 1) % p.Enum->Count());
    case TzelPropKind::Set:
        return Variant(base.ToInt64() ^ 1);
    case TzelPropKind::Float:
        return Variant(base.ToDouble() + 1.25 + p.Index);
    case TzelPropKind::StringList:
        return Variant(QStringLiteral("first\r\nsecond"));
    default:
        return Variant(QStringLiteral("v") + p.Name);
    }
}

// Gives every writable property, nested ones included, a value of its own.
// References have tests of their own.
void setEverything(TzelPersistent &obj)
{
    for (const TzelPropInfo *p : obj.ClassInfo().Properties()) {
        if (p->Kind == TzelPropKind::Object)
            setEverything(*p->Nested(obj));
        else if (p->Set && p->Kind != TzelPropKind::Callback)
            p->Set(obj, otherValue(*p, obj));
    }
}

// Every stored property of Expected, nested ones included, has the same value in Actual.
void expectSame(const TzelPersistent &expected, const TzelPersistent &actual, const QString &path = QString())
{
    ASSERT_EQ(expected.ClassName(), actual.ClassName()) << path.toStdString();
    for (const TzelPropInfo *p : expected.ClassInfo().Properties()) {
        if (p->Kind == TzelPropKind::Callback || p->Kind == TzelPropKind::ComponentRef || !p->IsStored(expected))
            continue;
        if (p->Kind == TzelPropKind::Object) {
            expectSame(*p->Nested(expected), *p->Nested(actual), path + p->Name + u'.');
            continue;
        }
        const Variant e = p->Get(expected), a = p->Get(actual);
        EXPECT_TRUE(Variant::Identical(e, a))
            << (path + p->Name).toStdString() << ": " << e.ToString().toStdString() << " became "
            << a.ToString().toStdString();
    }
    EXPECT_EQ(zelWritePropData(expected), zelWritePropData(actual)) << path.toStdString();
    if (const auto *text = dynamic_cast<const TzelTextOwner *>(&expected)) {
        EXPECT_EQ(dynamic_cast<const TzelTextOwner &>(actual).StoredText(), text->StoredText());
    }
}

class ViewClasses : public ViewTest, public ::testing::WithParamInterface<ClassCase>
{
protected:
    std::unique_ptr<TzelPersistent> create() const
    {
        const TzelClassInfo *cls = TzelClassRegistry::Find(QString::fromLatin1(GetParam().ClassName));
        EXPECT_NE(cls, nullptr) << "not registered";
        return std::unique_ptr<TzelPersistent>(cls ? cls->Create() : nullptr);
    }
};

} // namespace

TEST_P(ViewClasses, NewObjectsWriteOnlyWhatTheirStoringRulesAsk)
{
    const ClassCase &c = GetParam();
    std::unique_ptr<TzelPersistent> obj = create();
    ASSERT_NE(obj, nullptr);
    const bool isView = dynamic_cast<TzelView *>(obj.get()) != nullptr;
    TzelXMLSerializer serializer;
    EXPECT_EQ(serializer.ObjToXML(obj.get()), (isView ? QLatin1StringView(bounds) : QString()) + QLatin1StringView(c.NewText));
    if (auto *view = dynamic_cast<TzelView *>(obj.get())) {
        EXPECT_EQ(view->BaseName(), QLatin1StringView(c.BaseName));
        EXPECT_EQ(view->GetDescription(), zelResources().Get(QLatin1StringView(c.Description)));
        EXPECT_EQ(view->qzComponentStyle.Contains(csDefaultDiff), c.DefaultDiff);
    }
}

TEST_P(ViewClasses, EveryPublishedPropertySurvivesATemplateRoundTrip)
{
    std::unique_ptr<TzelPersistent> made = create();
    ASSERT_NE(made, nullptr);
    setEverything(*made);
    if (auto *picture = dynamic_cast<TzelPictureView *>(made.get()))
        picture->Picture().LoadFromData(zelTestPng(3, 2));

    if (auto *view = dynamic_cast<TzelView *>(made.get())) {
        TzelReport report;
        view->SetParent(&report);
        made.release();
        const QByteArray text = save(report);
        TzelReport copy;
        EXPECT_EQ(load(copy, text), QStringList());
        const TzelComponent *read = copy.FindObject(view->Name());
        ASSERT_NE(read, nullptr) << text.toStdString();
        expectSame(*view, *read);
        EXPECT_EQ(save(copy), text);
    } else {
        TzelXMLSerializer serializer;
        const QString text = serializer.ObjToXML(made.get());
        std::unique_ptr<TzelPersistent> read = create();
        serializer.XMLToObj(text, read.get());
        EXPECT_TRUE(serializer.Errors.IsEmpty()) << serializer.Errors.Items().join(u'\n').toStdString();
        expectSame(*made, *read);
        EXPECT_EQ(serializer.ObjToXML(read.get()), text);
    }
}

INSTANTIATE_TEST_SUITE_P(All, ViewClasses, ::testing::ValuesIn(classCases),
                         [](const ::testing::TestParamInfo<ClassCase> &param) { return param.param.ClassName; });
