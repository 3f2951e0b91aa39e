#include "scriptrun.h"

#include "script/engine/kvclassvariable.h"

#include <gtest/gtest.h>

#include <map>

// Host classes as scripts use them: constructors, methods, properties,
// default and named indexed properties, with, is and freeing, the same in
// every language; members of Variant values are found when they run.

namespace {

// A host that hands out string lists as numbered objects.
class ListHost
{
public:
    ListHost() : Scope(TkvScript::GlobalUnit())
    {
        Scope.OnGetObjectClass = [this](const Variant &object) {
            return object.VarType() == varInteger && Lists.count(object.ToInt()) ? QStringLiteral("TItemList")
                                                                                   : QString();
        };
        TkvClassVariable *base = Scope.AddClass(QStringLiteral("TItemObject"), QString());
        base->AddMethod(QStringLiteral("procedure Free"), [this](TkvMethodCall &call) {
            Lists.erase(call.Instance.ToInt());
            return Variant::Null();
        });
        TkvClassVariable *list = Scope.AddClass(QStringLiteral("TItemList"), QStringLiteral("TItemObject"));
        list->AddConstructor(QStringLiteral("constructor Create"), [this](TkvMethodCall &) {
            Lists[Next] = {};
            return Variant(Next++);
        });
        list->AddMethod(QStringLiteral("procedure Add(S: String)"), [this](TkvMethodCall &call) {
            Lists.at(call.Instance.ToInt()) << call.Params[0].ToString();
            return Variant::Null();
        });
        list->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"),
                          [this](const Variant &object, const QString &) { return Variant(int(Lists.at(object.ToInt()).size())); });
        list->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("String"),
                                 [this](TkvMethodCall &call) {
                                     QStringList &items = Lists.at(call.Instance.ToInt());
                                     const int index = call.Params[0].ToInt();
                                     if (call.Name == QLatin1String("ITEMS.SET"))
                                         items[index] = call.Params[1].ToString();
                                     return Variant(items.value(index));
                                 });
    }

    TkvScript Scope;
    std::map<int, QStringList> Lists;
    int Next = 1;
};

TEST(ScriptClasses, ObjectsWorkAlikeInEveryLanguage)
{
    struct Case
    {
        const char *Language;
        const char *Source;
    };
    const Case cases[] = {
        {"PascalScript", "var l: TItemList;\n"
                         "begin\n"
                         "  l := TItemList.Create;\n"
                         "  l.Add('a');\n"
                         "  l.Add('b');\n"
                         "  l[1] := 'B';\n"
                         "  l.Items[0] := 'A';\n"
                         "  ShowMessage(l.Count);\n"
                         "  ShowMessage(l[0] + l.Items[1]);\n"
                         "  with l do\n"
                         "  begin\n"
                         "    Add('c');\n"
                         "    ShowMessage(Count)\n"
                         "  end;\n"
                         "  if l is TItemList then ShowMessage('list');\n"
                         "  l.Free;\n"
                         "end.\n"},
        {"C++Script", "{\n"
                      "  TItemList l = new TItemList;\n"
                      "  l.Add(\"a\");\n"
                      "  l.Add(\"b\");\n"
                      "  l[1] = \"B\";\n"
                      "  l.Items[0] = \"A\";\n"
                      "  ShowMessage(l.Count);\n"
                      "  ShowMessage(l[0] + l.Items[1]);\n"
                      "  l.Add(\"c\");\n"
                      "  ShowMessage(l.Count);\n"
                      "  if (l is TItemList) ShowMessage(\"list\");\n"
                      "  delete l;\n"
                      "}\n"},
        {"BasicScript", "Dim l = New TItemList\n"
                        "l.Add(\"a\")\n"
                        "l.Add(\"b\")\n"
                        "l[1] = \"B\"\n"
                        "l.Items[0] = \"A\"\n"
                        "ShowMessage(l.Count)\n"
                        "ShowMessage(l[0] + l.Items[1])\n"
                        "With l\n"
                        "  Add(\"c\")\n"
                        "  ShowMessage(Count)\n"
                        "End With\n"
                        "If l Is TItemList Then ShowMessage(\"list\")\n"
                        "Delete l\n"},
        {"JScript", "var l = new TItemList;\n"
                    "l.Add(\"a\");\n"
                    "l.Add(\"b\");\n"
                    "l[1] = \"B\";\n"
                    "l.Items[0] = \"A\";\n"
                    "ShowMessage(l.Count);\n"
                    "ShowMessage(l[0] + l.Items[1]);\n"
                    "with (l) { Add(\"c\"); ShowMessage(Count); }\n"
                    "if (l is TItemList) ShowMessage(\"list\");\n"
                    "delete l;\n"},
    };
    for (const Case &c : cases) {
        ListHost host;
        const ScriptOutcome r = runScript(QString::fromLatin1(c.Language), QString::fromUtf8(c.Source), &host.Scope);
        EXPECT_EQ(r.Error.toStdString(), "") << c.Language;
        EXPECT_EQ(r.Output.toStdString(), "2\nAB\n3\nlist\n") << c.Language;
        EXPECT_TRUE(host.Lists.empty()) << c.Language << ": the list was not freed";
    }
}

TEST(ScriptClasses, MembersThatDoNotExist)
{
    struct Case
    {
        const char *What;
        const char *Language;
        const char *Source;
        const char *Error;
    };
    const Case cases[] = {
        {"a typed object's missing member fails to compile", "PascalScript",
         "var l: TItemList;\nbegin\n  l := TItemList.Create;\n  l.Missing\nend.\n",
         "ERROR at 4:5: Undeclared identifier: 'Missing'"},
        {"a Variant's missing member fails when it runs", "JScript", "var l = new TItemList;\nl.Missing(1);\n",
         "ERROR at 2:1: Undeclared identifier: 'Missing'"},
        {"a class without a default property", "PascalScript", "var o: TItemObject;\nbegin\n  o[1] := 2\nend.\n",
         "ERROR at 3:4: Class TItemObject does not have a default property"},
        {"new of something that is not a class", "JScript", "var x = new ShowMessage;\n",
         "ERROR at 1:13: Class type required"},
        {"is on a value that is no object", "PascalScript",
         "var v: Variant;\nbegin\n  v := 5;\n  if v is TItemList then ShowMessage('list') else ShowMessage('no')\nend.\n", ""},
    };
    for (const Case &c : cases) {
        ListHost host;
        const ScriptOutcome r = runScript(QString::fromLatin1(c.Language), QString::fromUtf8(c.Source), &host.Scope);
        EXPECT_EQ(r.Error.toStdString(), c.Error) << c.What;
    }
}

} // namespace
