#include "scriptrun.h"

#include "script/engine/kvrttimodule.h"
#include "script/engine/kvscript.h"
#include "script/rtti/kvclassesrtti.h"
#include "support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The basic classes as scripts use them: string lists, lists, streams,
// components and XML documents, their errors, files and restricted mode.

namespace {

// A scope under the global unit, which holds the basic classes once they
// are registered (whether it was made before or after).
class ClassesScope
{
public:
    ClassesScope() : Scope(registered()) {}

    static TkvScript *registered()
    {
        kvRegisterClassesRTTI();
        return TkvScript::GlobalUnit();
    }

    TkvScript Scope;
};

struct Program
{
    const char *Language;
    const char *Source;
};

// Runs each program and expects the same output from all.
void expectOutput(std::initializer_list<Program> programs, const char *expected, bool restricted = false)
{
    for (const Program &p : programs) {
        ClassesScope scope;
        scope.Scope.Restricted = restricted;
        const ScriptOutcome r = runScript(QString::fromLatin1(p.Language), QString::fromUtf8(p.Source), &scope.Scope);
        EXPECT_EQ(r.Error.toStdString(), "") << p.Language;
        EXPECT_EQ(r.Output.toStdString(), expected) << p.Language;
    }
}

struct Failure
{
    const char *What;
    const char *Source; ///< PascalScript
    const char *Error;
};

void expectErrors(std::span<const Failure> cases, bool restricted = false)
{
    for (const Failure &c : cases) {
        ClassesScope scope;
        scope.Scope.Restricted = restricted;
        const ScriptOutcome r = runScript(QStringLiteral("PascalScript"), QString::fromUtf8(c.Source), &scope.Scope);
        EXPECT_EQ(r.Error.toStdString(), c.Error) << c.What;
    }
}

} // namespace

TEST(ScriptBasicClasses, RegistrationReachesTheGlobalUnitOnce)
{
    TkvScript *global = TkvScript::GlobalUnit();
    kvRegisterClassesRTTI();
    const size_t modules = kvRTTIModules().size();
    kvRegisterClassesRTTI();
    EXPECT_EQ(kvRTTIModules().size(), modules);
    EXPECT_EQ(TkvScript::GlobalUnit(), global);
    EXPECT_NE(global->FindClass(QStringLiteral("TStringList")), nullptr);
    EXPECT_NE(global->FindLocal(QStringLiteral("fmCreate")), nullptr);
}

TEST(ScriptBasicClasses, StringListsSortFindAndSplit)
{
    expectOutput({{"PascalScript", "var l: TStringList; i: Integer;\n"
                                   "begin\n"
                                   "  l := TStringList.Create;\n"
                                   "  l.Add('pear');\n"
                                   "  l.Add('Apple');\n"
                                   "  l.AddObject('fig tree', l);\n"
                                   "  l.Sorted := True;\n"
                                   "  ShowMessage(l.CommaText);\n"
                                   "  if l.Find('APPLE', i) then ShowMessage(i);\n"
                                   "  if not l.Find('banana', i) then ShowMessage(i);\n"
                                   "  ShowMessage(IntToStr(l.Add('apple')) + ' ' + IntToStr(l.Count));\n"
                                   "  ShowMessage(l.IndexOfObject(l));\n"
                                   "  l.Sorted := False;\n"
                                   "  l.Values['Size'] := '10';\n"
                                   "  ShowMessage(l.Values['SIZE'] + '|' + l.Names[3] + '|' + l[3] + '|' + l.Names[0] + '|');\n"
                                   "  l.Values['size'] := '';\n"
                                   "  l.Move(0, 2);\n"
                                   "  l.Insert(0, 'kiwi');\n"
                                   "  l.Delete(1);\n"
                                   "  ShowMessage(l.Text);\n"
                                   "  l.CommaText := ' a, \"b \"\"c\"\"\",,d, ';\n"
                                   "  ShowMessage(IntToStr(l.Count) + ':' + l.CommaText);\n"
                                   "  l.Text := 'x' + #13#10 + 'y' + #10 + #10;\n"
                                   "  ShowMessage(IntToStr(l.Count) + ':' + l.CommaText);\n"
                                   "  l.Free;\n"
                                   "end.\n"},
                  // Typed, so that Find's var parameter is written back.
                  {"C++Script", "{\n"
                                "  TStringList l = new TStringList;\n"
                                "  int i = 0;\n"
                                "  l.Add(\"pear\");\n"
                                "  l.Add(\"Apple\");\n"
                                "  l.AddObject(\"fig tree\", l);\n"
                                "  l.Sorted = true;\n"
                                "  ShowMessage(l.CommaText);\n"
                                "  if (l.Find(\"APPLE\", i)) ShowMessage(i);\n"
                                "  if (!l.Find(\"banana\", i)) ShowMessage(i);\n"
                                "  ShowMessage(IntToStr(l.Add(\"apple\")) + \" \" + IntToStr(l.Count));\n"
                                "  ShowMessage(l.IndexOfObject(l));\n"
                                "  l.Sorted = false;\n"
                                "  l.Values[\"Size\"] = \"10\";\n"
                                "  ShowMessage(l.Values[\"SIZE\"] + \"|\" + l.Names[3] + \"|\" + l[3] + \"|\" + l.Names[0] + \"|\");\n"
                                "  l.Values[\"size\"] = \"\";\n"
                                "  l.Move(0, 2);\n"
                                "  l.Insert(0, \"kiwi\");\n"
                                "  l.Delete(1);\n"
                                "  ShowMessage(l.Text);\n"
                                "  l.CommaText = \" a, \\\"b \\\"\\\"c\\\"\\\"\\\",,d, \";\n"
                                "  ShowMessage(IntToStr(l.Count) + \":\" + l.CommaText);\n"
                                "  l.Text = \"x\" + Chr(13) + Chr(10) + \"y\" + Chr(10) + Chr(10);\n"
                                "  ShowMessage(IntToStr(l.Count) + \":\" + l.CommaText);\n"
                                "  delete l;\n"
                                "}\n"}},
                 "Apple,\"fig tree\",pear\n"
                 "0\n"
                 "1\n"
                 "0 3\n"
                 "1\n"
                 "10|Size|Size=10||\n"
                 "kiwi\r\npear\r\nApple\r\n\n"
                 "4:a,\"b \"\"c\"\"\",\"\",d\n"
                 "3:x,y,\"\"\n");
}

TEST(ScriptBasicClasses, SortedListsAndDuplicates)
{
    expectOutput({{"PascalScript", "var l: TStringList; i: Integer;\n"
                                   "begin\n"
                                   "  l := TStringList.Create;\n"
                                   "  l.CommaText := 'b,C,a,B';\n"
                                   "  l.Sort;\n"
                                   "  ShowMessage(l.CommaText);\n"
                                   "  l.Duplicates := dupAccept;\n"
                                   "  l.Sorted := True;\n"
                                   "  l.Add('c');\n"
                                   "  ShowMessage(l.CommaText);\n"
                                   "  ShowMessage(l.IndexOf('C'));\n"
                                   "  l.Free;\n"
                                   "end.\n"},
                  {"C++Script", "{\n"
                                "  TStringList l = new TStringList;\n"
                                "  l.CommaText = \"b,C,a,B\";\n"
                                "  l.Sort;\n"
                                "  ShowMessage(l.CommaText);\n"
                                "  l.Duplicates = dupAccept;\n"
                                "  l.Sorted = true;\n"
                                "  l.Add(\"c\");\n"
                                "  ShowMessage(l.CommaText);\n"
                                "  ShowMessage(l.IndexOf(\"C\"));\n"
                                "  delete l;\n"
                                "}\n"}},
                 "a,b,B,C\n"
                 "a,b,B,c,C\n"
                 "3\n");
}

TEST(ScriptBasicClasses, ListsComponentsAndMemoryStreams)
{
    expectOutput({{"PascalScript",
                   "var l: TList; m, c: TMemoryStream; s: String; owner, child: TComponent;\n"
                   "begin\n"
                   "  l := TList.Create;\n"
                   "  l.Add(10); l.Add('x'); l.Insert(0, 2.5);\n"
                   "  ShowMessage(IntToStr(l.Count) + ' ' + IntToStr(l.IndexOf('x')) + ' ' + IntToStr(l.IndexOf(11)));\n"
                   "  l[1] := 11;\n"
                   "  ShowMessage(IntToStr(l.Remove(11)) + ' ' + VarToStr(l[0]) + VarToStr(l.Items[1]));\n"
                   "  l.Free;\n"
                   "  m := TMemoryStream.Create;\n"
                   "  ShowMessage(m.Write('hello world', 5));\n"
                   "  m.Write(Chr(0) + Chr(255), 2);\n"
                   "  ShowMessage(IntToStr(m.Size) + ' ' + IntToStr(m.Position) + ' ' + IntToStr(m.Seek(-6, soFromEnd)));\n"
                   "  ShowMessage(IntToStr(m.Read(s, 100)) + ' ' + IntToStr(Ord(s[6])) + ' ' + Copy(s, 1, 4));\n"
                   "  c := TMemoryStream.Create;\n"
                   "  ShowMessage(c.CopyFrom(m, 0));\n"
                   "  c.Size := 2; c.Position := 0;\n"
                   "  c.Read(s, 2);\n"
                   "  ShowMessage(s + ' ' + c.ClassName);\n"
                   "  c.Clear;\n"
                   "  ShowMessage(c.Size);\n"
                   "  m.Free; c.Free;\n"
                   "  owner := TComponent.Create(nil);\n"
                   "  child := TComponent.Create(owner);\n"
                   "  if child.Owner = owner then ShowMessage('owned');\n"
                   "  child.Free;\n"
                   "  owner.Free;\n"
                   "end.\n"},
                  {"C++Script",
                   "{\n"
                   "  TList l = new TList;\n"
                   "  l.Add(10); l.Add(\"x\"); l.Insert(0, 2.5);\n"
                   "  ShowMessage(IntToStr(l.Count) + \" \" + IntToStr(l.IndexOf(\"x\")) + \" \" + IntToStr(l.IndexOf(11)));\n"
                   "  l[1] = 11;\n"
                   "  ShowMessage(IntToStr(l.Remove(11)) + \" \" + VarToStr(l[0]) + VarToStr(l.Items[1]));\n"
                   "  delete l;\n"
                   "  TMemoryStream m = new TMemoryStream;\n"
                   "  string s = \"\";\n"
                   "  ShowMessage(m.Write(\"hello world\", 5));\n"
                   "  m.Write(Chr(0) + Chr(255), 2);\n"
                   "  ShowMessage(IntToStr(m.Size) + \" \" + IntToStr(m.Position) + \" \" + IntToStr(m.Seek(-6, soFromEnd)));\n"
                   "  ShowMessage(IntToStr(m.Read(s, 100)) + \" \" + IntToStr(Ord(s[6])) + \" \" + Copy(s, 1, 4));\n"
                   "  TMemoryStream c = new TMemoryStream;\n"
                   "  ShowMessage(c.CopyFrom(m, 0));\n"
                   "  c.Size = 2; c.Position = 0;\n"
                   "  c.Read(s, 2);\n"
                   "  ShowMessage(s + \" \" + c.ClassName);\n"
                   "  c.Clear;\n"
                   "  ShowMessage(c.Size);\n"
                   "  delete m; delete c;\n"
                   "  TComponent owner = new TComponent(nil), child = new TComponent(owner);\n"
                   "  if (child.Owner == owner) ShowMessage(\"owned\");\n"
                   "  delete child;\n"
                   "  delete owner;\n"
                   "}\n"}},
                 "3 2 -1\n"
                 "1 2.5x\n"
                 "5\n"
                 "7 7 1\n"
                 "6 255 ello\n"
                 "7\n"
                 "he TMemoryStream\n"
                 "0\n"
                 "owned\n");
}

TEST(ScriptBasicClasses, BadArgumentsAndFreedObjectsAreClearErrors)
{
    const Failure cases[] = {
        {"a line past the end", "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.Add('a');\n  ShowMessage(l[5])\nend.\n",
         "ERROR at 5:3: List index out of bounds (5)"},
        {"a negative line", "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.Strings[-1] := 'x'\nend.\n",
         "ERROR at 4:3: List index out of bounds (-1)"},
        {"a list item past the end", "var l: TList;\nbegin\n  l := TList.Create;\n  l.Delete(0)\nend.\n",
         "ERROR at 4:3: List index out of bounds (0)"},
        {"a list used after Free", "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.Free;\n  l.Add('a')\nend.\n",
         "ERROR at 5:3: Invalid object reference"},
        {"a second Free", "var l: TList;\nbegin\n  l := TList.Create;\n  l.Free;\n  l.Free\nend.\n",
         "ERROR at 5:3: Invalid object reference"},
        {"a number made up as an object", "var l: TStringList;\nbegin\n  l := TStringList(99999999);\n  ShowMessage(l.Count)\nend.\n",
         "ERROR at 4:3: Invalid object reference"},
        {"an object of another class", "var l: TStringList;\nbegin\n  l := TStringList(TList.Create);\n  l.Add('a')\nend.\n",
         "ERROR at 4:3: Invalid object reference"},
        {"a component freed with its owner",
         "var o, c: TComponent;\nbegin\n  o := TComponent.Create(nil);\n  c := TComponent.Create(o);\n  o.Free;\n"
         "  ShowMessage(c.ClassName)\nend.\n",
         "ERROR at 6:3: Invalid object reference"},
        {"an insert into a sorted list",
         "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.Sorted := True;\n  l.Insert(0, 'a')\nend.\n",
         "ERROR at 5:3: Operation not allowed on sorted list"},
        {"a duplicate where they are errors",
         "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.Sorted := True;\n  l.Duplicates := dupError;\n"
         "  l.Add('a');\n  l.Add('A')\nend.\n",
         "ERROR at 7:3: String list does not allow duplicates"},
        {"a negative count", "var m: TMemoryStream; s: String;\nbegin\n  m := TMemoryStream.Create;\n  m.Read(s, -1)\nend.\n",
         "ERROR at 4:3: Invalid count (-1)"},
        {"a position past the end", "var m: TMemoryStream;\nbegin\n  m := TMemoryStream.Create;\n  m.Position := 3\nend.\n",
         "ERROR at 4:3: Invalid stream position (3)"},
        {"a copy of more than there is",
         "var a, b: TMemoryStream;\nbegin\n  a := TMemoryStream.Create;\n  b := TMemoryStream.Create;\n"
         "  a.Write('abc', 3);\n  a.Position := 1;\n  b.CopyFrom(a, 5)\nend.\n",
         "ERROR at 7:3: Stream read error"},
        {"an assignment between kinds",
         "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.Assign(TList.Create)\nend.\n",
         "ERROR at 4:3: Cannot assign a TList to a TStringList"},
        {"a missing file is named", "var l: TStringList;\nbegin\n  l := TStringList.Create;\n  l.LoadFromFile('/nonexistent/list.txt')\nend.\n",
         "ERROR at 4:3: Cannot open file \"/nonexistent/list.txt\": No such file or directory"},
        {"a missing file to read as a stream",
         "var f: TFileStream;\nbegin\n  f := TFileStream.Create('/nonexistent/data.bin', fmOpenRead)\nend.\n",
         "ERROR at 3:3: Cannot open file \"/nonexistent/data.bin\": No such file or directory"},
    };
    expectErrors(cases);
}

TEST(ScriptBasicClasses, XmlItemsAndTheirLifetime)
{
    expectOutput({{"PascalScript",
                   "var d: TkvXMLDocument; root, a, b, loose: TkvXMLItem; m: TMemoryStream;\n"
                   "begin\n"
                   "  d := TkvXMLDocument.Create;\n"
                   "  root := d.Root;\n"
                   "  root.Name := 'report';\n"
                   "  a := root.Add;\n"
                   "  a.Name := 'page';\n"
                   "  a.Prop['width'] := '210';\n"
                   "  b := root.FindItem('band');\n"
                   "  b.Data := 42;\n"
                   "  loose := TkvXMLItem.Create;\n"
                   "  loose.Name := 'memo';\n"
                   "  root.InsertItem(0, loose);\n"
                   "  ShowMessage(IntToStr(root.Count) + ' ' + root[0].Name + ' ' + IntToStr(root.Find('PAGE')));\n"
                   "  ShowMessage(a.Prop['WIDTH'] + ' ' + a.Parent.Name + ' ' + IntToStr(b.Data) + ' ' + loose.Root.Name);\n"
                   "  b.AddItem(a);\n"
                   "  ShowMessage(IntToStr(root.Count) + ' ' + b[0].Name + ' ' + a.Parent.Name);\n"
                   "  m := TMemoryStream.Create;\n"
                   "  d.SaveToStream(m);\n"
                   "  m.Position := 0;\n"
                   "  a.Free;\n"
                   "  ShowMessage(b.Count);\n"
                   "  d.LoadFromStream(m);\n"
                   "  ShowMessage(d.Root.Items[1].Items[0].Prop['width']);\n"
                   "  d.Free;\n"
                   "  m.Free;\n"
                   "end.\n"},
                  {"JScript",
                   "var d = new TkvXMLDocument, root = d.Root;\n"
                   "root.Name = \"report\";\n"
                   "var a = root.Add;\n"
                   "a.Name = \"page\";\n"
                   "a.Prop[\"width\"] = \"210\";\n"
                   "var b = root.FindItem(\"band\");\n"
                   "b.Data = 42;\n"
                   "var loose = new TkvXMLItem;\n"
                   "loose.Name = \"memo\";\n"
                   "root.InsertItem(0, loose);\n"
                   "ShowMessage(IntToStr(root.Count) + \" \" + root[0].Name + \" \" + IntToStr(root.Find(\"PAGE\")));\n"
                   "ShowMessage(a.Prop[\"WIDTH\"] + \" \" + a.Parent.Name + \" \" + IntToStr(b.Data) + \" \" + loose.Root.Name);\n"
                   "b.AddItem(a);\n"
                   "ShowMessage(IntToStr(root.Count) + \" \" + b[0].Name + \" \" + a.Parent.Name);\n"
                   "var m = new TMemoryStream;\n"
                   "d.SaveToStream(m);\n"
                   "m.Position = 0;\n"
                   "a.Free;\n"
                   "ShowMessage(b.Count);\n"
                   "d.LoadFromStream(m);\n"
                   "ShowMessage(d.Root.Items[1].Items[0].Prop[\"width\"]);\n"
                   "d.Free;\n"
                   "m.Free;\n"}},
                 "3 memo 1\n"
                 "210 report 42 report\n"
                 "2 page band\n"
                 "0\n"
                 "210\n");

    const Failure cases[] = {
        {"a child freed with its parent",
         "var d: TkvXMLDocument; a, b: TkvXMLItem;\nbegin\n  d := TkvXMLDocument.Create;\n  a := d.Root.Add;\n"
         "  b := a.Add;\n  a.Free;\n  ShowMessage(b.Name)\nend.\n",
         "ERROR at 7:3: Invalid object reference"},
        {"items of a cleared item",
         "var d: TkvXMLDocument; a: TkvXMLItem;\nbegin\n  d := TkvXMLDocument.Create;\n  a := d.Root.Add;\n"
         "  d.Root.Clear;\n  a.Name := 'x'\nend.\n",
         "ERROR at 6:3: Invalid object reference"},
        {"items of a freed document",
         "var d: TkvXMLDocument; a: TkvXMLItem;\nbegin\n  d := TkvXMLDocument.Create;\n  a := d.Root.Add;\n"
         "  d.Free;\n  a.Add\nend.\n",
         "ERROR at 6:3: Invalid object reference"},
        {"an item added into itself",
         "var d: TkvXMLDocument; a, b: TkvXMLItem;\nbegin\n  d := TkvXMLDocument.Create;\n  a := d.Root.Add;\n"
         "  b := a.Add;\n  b.AddItem(a)\nend.\n",
         "ERROR at 6:3: An XML item cannot be added to itself or to one of its own items"},
        {"a document's root moved",
         "var d: TkvXMLDocument; a: TkvXMLItem;\nbegin\n  d := TkvXMLDocument.Create;\n  a := TkvXMLItem.Create;\n"
         "  a.AddItem(d.Root)\nend.\n",
         "ERROR at 5:3: The root of a document cannot be moved"},
        {"a document's root freed",
         "var d: TkvXMLDocument;\nbegin\n  d := TkvXMLDocument.Create;\n  d.Root.Free\nend.\n",
         "ERROR at 4:3: The root of a document cannot be freed"},
        {"an insert past the end",
         "var d: TkvXMLDocument;\nbegin\n  d := TkvXMLDocument.Create;\n  d.Root.InsertItem(2, TkvXMLItem.Create)\nend.\n",
         "ERROR at 4:3: List index out of bounds (2)"},
    };
    expectErrors(cases);
}

TEST(ScriptBasicClasses, FilesRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = QStringLiteral(
        "var l, back: TStringList; f: TFileStream; m: TMemoryStream; d, e: TkvXMLDocument; s: String;\n"
        "begin\n"
        "  l := TStringList.Create;\n"
        "  l.Add('one'); l.Add('zwei=\u00fc');\n"
        "  l.SaveToFile('%1/list.txt');\n"
        "  back := TStringList.Create;\n"
        "  back.LoadFromFile('%1/list.txt');\n"
        "  ShowMessage(back.Values['zwei'] + ' ' + IntToStr(back.Count));\n"
        "  f := TFileStream.Create('%1/data.bin', fmCreate);\n"
        "  f.Write('abc', 3);\n"
        "  f.Free;\n"
        "  f := TFileStream.Create('%1/data.bin', fmOpenReadWrite);\n"
        "  f.Seek(0, soFromEnd);\n"
        "  f.Write('de', 2);\n"
        "  f.Free;\n"
        "  m := TMemoryStream.Create;\n"
        "  m.LoadFromFile('%1/data.bin');\n"
        "  m.Read(s, 10);\n"
        "  ShowMessage(s);\n"
        "  m.SaveToFile('%1/copy.bin');\n"
        "  f := TFileStream.Create('%1/copy.bin', fmOpenRead);\n"
        "  back.LoadFromStream(f);\n"
        "  ShowMessage(back.Text);\n"
        "  f.Free;\n"
        "  d := TkvXMLDocument.Create;\n"
        "  d.Root.Name := 'settings';\n"
        "  d.Root.Add.Name := 'item';\n"
        "  d.Root[0].Prop['name'] := 'a&b';\n"
        "  d.SaveToFile('%1/doc.xml');\n"
        "  e := TkvXMLDocument.Create;\n"
        "  e.LoadFromFile('%1/doc.xml');\n"
        "  ShowMessage(e.Root.Name + ' ' + e.Root[0].Prop['name']);\n"
        "end.\n")
                               .arg(dir.path());
    ClassesScope scope;
    const ScriptOutcome r = runScript(QStringLiteral("PascalScript"), source, &scope.Scope);
    EXPECT_EQ(r.Error, QString());
    EXPECT_EQ(r.Output, QStringLiteral("\u00fc 2\nabcde\nabcde\r\n\nsettings a&b\n"));
    EXPECT_EQ(zelReadFile(dir.filePath(QStringLiteral("list.txt"))), QByteArray("one\r\nzwei=\xC3\xBC\r\n"));
    EXPECT_EQ(zelReadFile(dir.filePath(QStringLiteral("copy.bin"))), QByteArray("abcde"));
}

TEST(ScriptBasicClasses, AFileStreamThatIsNotWrittenWholeLeavesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString stopped = dir.filePath(QStringLiteral("stopped.txt"));
    const QString locked = dir.filePath(QStringLiteral("locked.txt"));
    zelWriteFile(stopped, "old");
    zelWriteFile(locked, "old");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("f := TFileStream.Create('%1', fmCreate);\n  f.Write('half', 4);\n  RaiseException('stopped')")
             .arg(stopped),
         QStringLiteral("ERROR at 5:3: stopped")},
        {QStringLiteral("f := TFileStream.Create('%1', fmOpenReadWrite);\n  f.Write('new', 3);\n  f.Free").arg(locked),
         QStringLiteral("ERROR at 5:3: Cannot create file \"%1\": the file is write-protected").arg(locked)},
    };
    for (const auto &[statements, error] : cases) {
        ClassesScope scope;
        const ScriptOutcome r = runScript(QStringLiteral("PascalScript"),
                                          QStringLiteral("var f: TFileStream;\nbegin\n  %1\nend.\n").arg(statements),
                                          &scope.Scope);
        EXPECT_EQ(r.Error, error);
    }
    EXPECT_EQ(zelReadFile(stopped), "old");
    EXPECT_EQ(zelReadFile(locked), "old");
}

TEST(ScriptBasicClasses, RestrictedScriptsNeitherReadNorWriteFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept.txt"));
    zelWriteFile(path, "old");
    struct Case
    {
        const char *Statement;
        const char *Member;
    };
    const Case cases[] = {
        {"TStringList.Create.SaveToFile(F)", "TStrings.SaveToFile"},
        {"TStringList.Create.LoadFromFile(F)", "TStrings.LoadFromFile"},
        {"TFileStream.Create(F, fmCreate)", "TFileStream.Create"},
        {"TFileStream.Create(F, fmOpenRead)", "TFileStream.Create"},
        {"TMemoryStream.Create.SaveToFile(F)", "TMemoryStream.SaveToFile"},
        {"TMemoryStream.Create.LoadFromFile(F)", "TMemoryStream.LoadFromFile"},
        {"TkvXMLDocument.Create.SaveToFile(F)", "TkvXMLDocument.SaveToFile"},
        {"TkvXMLDocument.Create.LoadFromFile(F)", "TkvXMLDocument.LoadFromFile"},
    };
    for (const Case &c : cases) {
        ClassesScope scope;
        scope.Scope.Restricted = true;
        const QString source = QStringLiteral("const F = '%1';\nbegin\n  %2\nend.\n")
                                   .arg(path, QString::fromUtf8(c.Statement));
        const ScriptOutcome r = runScript(QStringLiteral("PascalScript"), source, &scope.Scope);
        EXPECT_EQ(r.Error, QStringLiteral("ERROR at 3:3: %1 is not allowed in restricted mode").arg(QLatin1String(c.Member)))
            << c.Statement;
        EXPECT_EQ(zelReadFile(path), "old") << c.Statement;
    }
}
