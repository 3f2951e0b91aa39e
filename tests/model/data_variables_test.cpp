#include "base/core/zelexception.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"
#include "model/data/zelarray.h"
#include "model/data/zeluserdataset.h"
#include "model/report/zelvaluelookup.h"
#include "model/data/zelvariables.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QStringList names(const TzelVariables &vars)
{
    QStringList list;
    for (int i = 0; i < vars.Count(); ++i)
        list << vars.Items(i)->Name;
    return list;
}

// " Cat A", a, b, " Cat B", c, with x before the first heading.
void fill(TzelVariables &vars)
{
    for (const char *name : {"x", " Cat A", "a", "b", " Cat B", "c"}) {
        TzelVariable *v = vars.Add();
        v->Name = QString::fromLatin1(name);
        v->Value = Variant(QStringLiteral("'") + v->Name.trimmed() + u'\'');
    }
}

} // namespace

TEST(Variables, CategoriesRunToTheNextHeading)
{
    TzelVariables vars;
    fill(vars);
    QStringList list{QStringLiteral("kept")};
    vars.GetCategoriesList(list, false);
    EXPECT_EQ(list, (QStringList{"kept", "Cat A", "Cat B"}));
    vars.GetCategoriesList(list);
    EXPECT_EQ(list, (QStringList{"Cat A", "Cat B"}));

    vars.GetVariablesList(QStringLiteral("cat a"), list);
    EXPECT_EQ(list, (QStringList{"a", "b"}));
    vars.GetVariablesList(QString(), list);
    EXPECT_EQ(list, QStringList{"x"});
    vars.GetVariablesList(QStringLiteral("Cat C"), list);
    EXPECT_TRUE(list.isEmpty());

    EXPECT_EQ(vars.Value(QStringLiteral("B")).ToString(), QStringLiteral("'b'"));
    EXPECT_TRUE(vars.Value(QStringLiteral("missing")).IsNull());
    vars.SetValue(QStringLiteral("new"), Variant(7));
    EXPECT_EQ(names(vars).last(), QStringLiteral("new"));

    vars.DeleteCategory(QStringLiteral("Cat A"));
    EXPECT_EQ(names(vars), (QStringList{"x", " Cat B", "c", "new"}));
    vars.DeleteVariable(QStringLiteral("Cat B")); // headings are not variables
    vars.DeleteVariable(QStringLiteral("C"));
    EXPECT_EQ(names(vars), (QStringList{"x", " Cat B", "new"}));
}

TEST(Variables, AddVariablePlacesNewVariablesAtTheEndOfTheirCategory)
{
    struct Case
    {
        QString category;
        QString name;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("Cat A"), QStringLiteral("n"), {"x", " Cat A", "a", "b", "n", " Cat B", "c"}},
        {QStringLiteral("Cat B"), QStringLiteral("n"), {"x", " Cat A", "a", "b", " Cat B", "c", "n"}},
        {QString(), QStringLiteral("n"), {"x", "n", " Cat A", "a", "b", " Cat B", "c"}},
        {QStringLiteral("Cat A"), QStringLiteral("C"), {"x", " Cat A", "a", "b", " Cat B", "c"}}, // replaced where it is
        {QStringLiteral("Missing"), QStringLiteral("a"), {"x", " Cat A", "a", "b", " Cat B", "c"}}, // nothing at all
    };
    for (const Case &c : cases) {
        TzelVariables vars;
        fill(vars);
        vars.AddVariable(c.category, c.name, Variant(42));
        EXPECT_EQ(names(vars), c.expected) << c.category.toStdString() << "/" << c.name.toStdString();
        const int i = vars.IndexOf(c.name);
        const bool changed = c.category != QLatin1StringView("Missing");
        EXPECT_EQ(i >= 0 && vars.Items(i)->Value.ToString() == QLatin1StringView("42"), changed);
    }
}

TEST(Variables, FilesHoldOneItemPerEntryUnderTheRootVariables)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vars.xml"));
    TzelVariables vars;
    fill(vars);
    vars.Items(2)->Value = Variant(QStringLiteral("line 1\r\n<line 2> & \"3\""));
    vars.SaveToFile(path);

    const QByteArray text = zelReadFile(path);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<variables>\r\n"
                                "  <item Name=\"x\" Value=\"'x'\"/>\r\n  <item Name=\" Cat A\""))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Value=\"line 1&#13;&#10;&#60;line 2&#62; &#38; &#34;3&#34;\""));

    TzelVariables read;
    read.SetValue(QStringLiteral("old"), Variant(1));
    read.LoadFromFile(path);
    EXPECT_EQ(names(read), names(vars));
    EXPECT_EQ(read.Items(2)->Value.ToString(), vars.Items(2)->Value.ToString());

    // Only elements named item count, whatever the root is called.
    QByteArray other = "<?xml version=\"1.0\"?><whatever><item Name=\"a\" Value=\"1\"/><note Name=\"b\"/>"
                       "<ITEM Name=\"c\"/></whatever>";
    QBuffer in(&other);
    in.open(QIODevice::ReadOnly);
    read.LoadFromStream(&in);
    EXPECT_EQ(names(read), (QStringList{"a", "c"}));

    EXPECT_THROW(read.LoadFromFile(dir.filePath(QStringLiteral("none.xml"))), TzelFileError);
    zelWriteFile(path, "<variables><item Name=\"a\"");
    EXPECT_THROW(read.LoadFromFile(path), TzelInvalidXMLException);
}

TEST(Variables, TravelInTheTemplateAndInheritedEntriesUpdateTheirNamesakes)
{
    FakeDialogService dialogs;
    TzelReport report;
    fill(report.Variables());
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    report.SaveToStream(&out);
    EXPECT_TRUE(out.data().contains("  <Variables>\r\n    <item Name=\"x\" Value=\"'x'\"/>\r\n"));

    TzelReport copy;
    QByteArray text = out.data();
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    ASSERT_TRUE(copy.LoadFromStream(&in));
    EXPECT_EQ(names(copy.Variables()), names(report.Variables()));

    // An entry carrying InheritedName changes the entry of that name, or nothing.
    QByteArray child = "<?xml version=\"1.0\"?><TzelReport><Variables><item InheritedName=\"a\" Name=\"a\" Value=\"changed\"/>"
                       "<item InheritedName=\"gone\" Name=\"gone\" Value=\"1\"/><item Name=\"y\" Value=\"2\"/>"
                       "</Variables></TzelReport>";
    TzelVariables &vars = copy.Variables();
    TzelXMLDocument document;
    QBuffer childIn(&child);
    childIn.open(QIODevice::ReadOnly);
    document.LoadFromStream(&childIn);
    ASSERT_TRUE(copy.ReadNestedProperty(document.Root()->Items(0)));
    EXPECT_EQ(names(vars), (QStringList{"x", " Cat A", "a", "b", " Cat B", "c", "y"}));
    EXPECT_EQ(vars.Value(QStringLiteral("a")).ToString(), QStringLiteral("changed"));
    EXPECT_TRUE(vars.Items(2)->IsInherited);
}

TEST(Variables, AnArrayLooksEntriesUpByTheTextOfItsKey)
{
    TzelArray array;
    array.Set(Variant(1), Variant(QStringLiteral("one")));
    array.Set(Variant(QStringLiteral("1")), Variant(QStringLiteral("uno")));
    array.Set(Variant(2.5), Variant(true));
    EXPECT_EQ(array.Count(), 2);
    EXPECT_EQ(array.Get(Variant(1)).ToString(), QStringLiteral("uno"));
    EXPECT_TRUE(array.Get(Variant(2.5)).ToBool());
    EXPECT_TRUE(array.Get(Variant(3)).IsNull());
}

class NameLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        customers = new TzelUserDataSet(&report);
        customers->SetName(QStringLiteral("Customers"));
        customers->Fields = QStringList{QStringLiteral("Company"), QStringLiteral("Paid")};
        customers->OnGetValue = [](const QString &field, Variant &value) {
            if (field == QLatin1StringView("Company"))
                value = Variant(QStringLiteral("Zelworks"));
        };
        report.DataSets().Add(customers);
    }
    void TearDown() override { zelGlobalVariables().Clear(); }

    Variant lookup(const QString &name, bool expectResolved = true)
    {
        Variant value;
        EXPECT_EQ(report.LookupValue(name, value), expectResolved) << name.toStdString();
        return value;
    }

    TzelReport report;
    TzelUserDataSet *customers = nullptr;
};

TEST_F(NameLookup, FieldsConvertNullsByTheirTypeWhenAsked)
{
    EXPECT_EQ(lookup(QStringLiteral("Customers.\"Company\"")).ToString(), QStringLiteral("Zelworks"));
    // A user data set's fields are numeric: a null reads as 0, or stays Null.
    const Variant paid = lookup(QStringLiteral("Customers.\"Paid\""));
    EXPECT_EQ(paid.VarType(), varInteger);
    EXPECT_EQ(paid.ToInt(), 0);
    report.EngineOptions().ConvertNulls = false;
    EXPECT_TRUE(lookup(QStringLiteral("Customers.\"Paid\"")).IsNull());

    EXPECT_EQ(zelConvertNull(fftString).VarType(), varUString);
    EXPECT_EQ(zelConvertNull(fftBoolean).ToBool(), false);
    EXPECT_EQ(zelConvertNull(fftDateTime).ToInt(), 0);
}

TEST_F(NameLookup, StepsComeInTheirFixedOrder)
{
    report.Variables().SetValue(QStringLiteral("Total"), Variant(QStringLiteral("2+3")));
    report.Variables().SetValue(QStringLiteral("Memo"), Variant(QStringLiteral("2+3\r\nsecond line")));
    report.Variables().SetValue(QStringLiteral("Count"), Variant(4));
    zelGlobalVariables().SetValue(QStringLiteral("CopyName0"), Variant(QStringLiteral("Original")));
    zelGlobalVariables().SetValue(QStringLiteral("Total"), Variant(QStringLiteral("global")));

    // Without an expression engine a variable's text is its value.
    EXPECT_EQ(lookup(QStringLiteral("Total")).ToString(), QStringLiteral("2+3"));
    report.ValueHooks.Calc = [](const QString &expression) {
        return expression == QLatin1StringView("2+3") ? Variant(5) : Variant(QStringLiteral("?"));
    };
    EXPECT_EQ(lookup(QStringLiteral("Total")).ToInt(), 5);
    EXPECT_EQ(lookup(QStringLiteral("Memo")).ToString(), QStringLiteral("2+3\r\nsecond line"));
    EXPECT_EQ(lookup(QStringLiteral("Count")).ToInt(), 4);
    EXPECT_EQ(lookup(QStringLiteral("CopyName0")).ToString(), QStringLiteral("Original"));
    lookup(QStringLiteral("Unknown"), false);

    // The host comes before variables, the system variables before the host.
    report.OnNewGetValue = [](TzelComponent *, const QString &name, Variant &value) {
        if (name == QLatin1StringView("Total") || name == QLatin1StringView("Page"))
            value = Variant(QStringLiteral("host"));
    };
    EXPECT_EQ(lookup(QStringLiteral("Total")).ToString(), QStringLiteral("host"));
    EXPECT_EQ(lookup(QStringLiteral("Page")).ToString(), QStringLiteral("host"));
    report.ValueHooks.SystemVariable = [](const QString &, Variant &value) {
        value = Variant(3);
        return true;
    };
    EXPECT_EQ(lookup(QStringLiteral("Page")).ToInt(), 3);

    // The script answers last, the compatibility hook first.
    report.ValueHooks.ScriptVariable = [](const QString &name, Variant &value) {
        value = Variant(name);
        return true;
    };
    EXPECT_EQ(lookup(QStringLiteral("Unknown")).ToString(), QStringLiteral("Unknown"));
    zelGlobalGetValueHook() = [](const QString &name, Variant &value) {
        value = Variant(QStringLiteral("legacy"));
        return name == QLatin1StringView("Count");
    };
    EXPECT_EQ(lookup(QStringLiteral("Count")).ToString(), QStringLiteral("legacy"));
    zelGlobalGetValueHook() = nullptr;
}

TEST_F(NameLookup, AVariableThatNamesItselfIsAnErrorNotAnEndlessLoop)
{
    report.Variables().SetValue(QStringLiteral("Loop"), Variant(QStringLiteral("Loop")));
    report.ValueHooks.Calc = [this](const QString &expression) {
        Variant value;
        report.LookupValue(expression, value);
        return value;
    };
    try {
        lookup(QStringLiteral("Loop"));
        ADD_FAILURE() << "no error";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Variable \"Loop\" refers to itself"));
    }
    // The guard unwound: other names still resolve.
    report.Variables().SetValue(QStringLiteral("Fine"), Variant(1));
    EXPECT_EQ(lookup(QStringLiteral("Fine")).ToInt(), 1);
}
