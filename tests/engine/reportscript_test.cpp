#include "enginetemplate.h"

#include "model/band/zelreporttitle.h"
#include "model/data/zeluserdataset.h"
#include "prepared/zelpagestext.h"
#include "support/testsupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>

// Report scripts: the main block, event procedures and embedded expressions
// in every language, the objects' published properties, the errors a build
// reports, and restricted mode.

namespace {

struct ScriptTemplate : Template
{
    TzelReportTitle *Title;

    ScriptTemplate()
    {
        Title = Band<TzelReportTitle>("ReportTitle1", 90);
        Report.SetName(QStringLiteral("Report1"));
    }

    TzelMemoView *Memo(const char *name, const QString &text, const char *onBeforePrint = "")
    {
        const int row = Title->Objects().size();
        TzelMemoView *memo = addMemo(Title, name, row * 10, 10, text);
        memo->SetWidth(kPage);
        memo->OnBeforePrint = QString::fromLatin1(onBeforePrint);
        return memo;
    }

    void SetScript(const char *language, const QString &text)
    {
        Report.ScriptLanguage = QString::fromLatin1(language);
        Report.ScriptText = text.split(QLatin1Char('\n'));
    }

    // Builds and returns the collected errors, each on a line.
    std::string Failures()
    {
        EXPECT_FALSE(Report.PrepareReport());
        return Report.Errors().Text().toStdString();
    }
};

} // namespace

TEST(ReportScript, EventsAndExpressionsRunInEveryLanguage)
{
    struct Case
    {
        const char *Language;
        const char *Script;
        char Quote; // of string constants
    };
    const Case cases[] = {
        {"PascalScript", "var Counter: Integer;\n"
                         "procedure TitleBefore(Sender: TzelComponent);\n"
                         "begin\n"
                         "  Counter := Counter + 20;\n"
                         "end;\n"
                         "procedure Memo3Before(Sender: TzelComponent);\n"
                         "begin\n"
                         "  TzelMemoView(Sender).Text := 'set by ' + Sender.Name + ' ' + IntToStr(Counter);\n"
                         "end;\n"
                         "begin\n"
                         "  Counter := 1;\n"
                         "end.",
         '\''},
        {"C++Script", "int Counter;\n"
                      "void TitleBefore(TzelComponent Sender)\n"
                      "{\n"
                      "  Counter = Counter + 20;\n"
                      "}\n"
                      "void Memo3Before(TzelComponent Sender)\n"
                      "{\n"
                      "  TzelMemoView(Sender).Text = \"set by \" + Sender.Name + \" \" + IntToStr(Counter);\n"
                      "}\n"
                      "{\n"
                      "  Counter = 1;\n"
                      "}",
         '"'},
        {"BasicScript", "dim Counter\n"
                        "sub TitleBefore(Sender)\n"
                        "  Counter = Counter + 20\n"
                        "end sub\n"
                        "sub Memo3Before(Sender)\n"
                        "  Sender.Text = \"set by \" + Sender.Name + \" \" + IntToStr(Counter)\n"
                        "end sub\n"
                        "Counter = 1",
         '"'},
        {"JScript", "var Counter;\n"
                    "function TitleBefore(Sender)\n"
                    "{\n"
                    "  Counter = Counter + 20;\n"
                    "}\n"
                    "function Memo3Before(Sender)\n"
                    "{\n"
                    "  Sender.Text = \"set by \" + Sender.Name + \" \" + IntToStr(Counter);\n"
                    "}\n"
                    "Counter = 1;",
         '"'},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Language);
        ScriptTemplate t;
        t.Title->OnBeforePrint = QStringLiteral("TitleBefore");
        const auto quoted = [&c](const char *text) { return QString::fromLatin1(text).replace(u'`', c.Quote); };
        t.Memo("Memo1", quoted("[FormatFloat(`#,##0.00`, 1234.5)]"));
        t.Memo("Memo2", quoted("[IIF(1 > 0, `pos`, `neg`)] on page [Page#]"));
        t.Memo("Memo3", QStringLiteral("design text"), "Memo3Before");
        t.Memo("Memo4", QStringLiteral("[Counter * 2] in [Self.Name], [Report.Name]"));
        t.SetScript(c.Language, QString::fromLatin1(c.Script));
        t.Build();
        EXPECT_EQ(t.Texts(), std::string("Memo1: 1,234.50\n"
                                            "Memo2: pos on page 1\n"
                                            "Memo3: set by Memo3 21\n"
                                            "Memo4: 42 in Memo4, Report1"));
    }
}

TEST(ReportScript, ObjectsArePublishedPropertiesAndMethods)
{
    ScriptTemplate t;
    t.Memo("Memo1", QStringLiteral("big"));
    t.Memo("Memo2", QStringLiteral("[Memo1.Font.Size] [Memo1.HAlign = haRight] [Memo1.WordWrap] [Memo2.Left]"));
    t.Memo("Memo3", QStringLiteral("hidden"));
    t.SetScript("PascalScript", QStringLiteral("begin\n"
                                               "  Memo1.Font.Size := 14;\n"
                                               "  Memo1.HAlign := haRight;\n"
                                               "  Memo1.WordWrap := False;\n"
                                               "  Memo3.Visible := ReportTitle1.FindObject('Memo3') = nil;\n"
                                               "  Memo2.SetBounds(5, 10, 300, 10);\n"
                                               "end."));
    t.Build();
    EXPECT_EQ(t.Texts(), std::string("Memo1: big\nMemo2: 14 True False 5"));
    EXPECT_EQ(t.Memo("Memo9", QString())->Font().Size(), 10) << "a new object keeps the default font";
}

TEST(ReportScript, ReferencesToObjectsThatAreGoneAreRefused)
{
    ScriptTemplate t;
    t.Memo("Memo1", QStringLiteral("x"));
    // The fill is replaced when its kind changes: the old one is gone.
    t.SetScript("PascalScript", QStringLiteral("var f: TzelBrushFill;\n"
                                               "begin\n"
                                               "  f := Memo1.Fill;\n"
                                               "  Memo1.FillType := ftGradient;\n"
                                               "  f.BackColor := 255;\n"
                                               "end."));
    EXPECT_EQ(t.Failures(), std::string("Script error at 5:3: Invalid object reference"));
}

TEST(ReportScript, ErrorsNameTheirObjectEventAndPosition)
{
    struct Case
    {
        const char *Script;
        const char *MemoText;
        const char *OnBeforePrint;
        const char *Expected;
    };
    const Case cases[] = {
        {"var z: Integer;\nprocedure Fail(Sender: TzelComponent);\nbegin\n  z := 0;\n  z := 10 div z;\nend;\n"
         "begin\nend.",
         "x", "Fail", "Memo1: OnBeforePrint (Fail): Script error at 5:3: Division by zero"},
        {"begin\nend.", "[1 +* 2]", "", "Memo1: Error in expression '1 +* 2': ';' expected"},
        {"begin\nend.", "x", "Missing", "Memo1.OnBeforePrint: the event procedure \"Missing\" does not exist"},
        {"begin\n  x := 1;\nend.", "x", "", "Script error at 2:3: Undeclared identifier: 'x'"},
        {"begin\n  RaiseException('stop here');\nend.", "x", "", "Script error at 2:3: stop here"},
        {"begin\nend.", "[<nodata>]", "", "Unknown variable or datafield: nodata"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Script);
        ScriptTemplate t;
        t.Memo("Memo1", QString::fromLatin1(c.MemoText), c.OnBeforePrint);
        t.SetScript("PascalScript", QString::fromLatin1(c.Script));
        EXPECT_EQ(t.Failures(), c.Expected);
    }
}

TEST(ReportScript, AFailingEventKeepsThePagesBuiltSoFar)
{
    ScriptTemplate t;
    t.Title->SetHeight(40);
    t.Memo("Memo1", QStringLiteral("[Report.Variables['Rows']]"), "Tally");
    t.SetScript("PascalScript", QStringLiteral("procedure Tally(Sender: TzelComponent);\n"
                                               "begin\n"
                                               "  Report.Variables['Rows'] := Report.Variables['Rows'] + 1;\n"
                                               "  if Get('Rows') = 5 then RaiseException('row five');\n"
                                               "end;\n"
                                               "begin\n"
                                               "  Report.Variables['Rows'] := 0;\n"
                                               "end."));
    t.ShowRows(t.Title, 10);
    EXPECT_EQ(t.Failures(), std::string("Memo1: OnBeforePrint (Tally): Script error at 4:27: row five"));
    EXPECT_EQ(t.Texts(), "Memo1: 1\nMemo1: 2\nMemo1: 3\nMemo1: 4");
}

TEST(ReportScript, TheMainBlockMayStopTheBuild)
{
    ScriptTemplate t;
    t.Memo("Memo1", QStringLiteral("x"));
    t.SetScript("PascalScript", QStringLiteral("begin\n  Report.Terminated := True;\nend."));
    EXPECT_EQ(t.Failures(), "");
    EXPECT_EQ(t.Report.PreviewPages()->Count(), 0);

    t.SetScript("PascalScript", QStringLiteral("begin\n\nend."));
    t.Build();
    EXPECT_EQ(t.Texts(), std::string("Memo1: x"));
}

TEST(ReportScript, MemoTextsExpandTheirExpressions)
{
    struct Case
    {
        const char *Text;
        const char *Delimiters;
        const char *Expected;
    };
    const Case cases[] = {
        {"[2 + 3] and [Copy('[ab]', 2, 2)]", "[,]", "5 and ab"},
        {"<%2 + 3%> and [literal]", "<%,%>", "5 and [literal]"},
        {"[1234.5 #n%2.2f] [Flag #bNo,Yes] [0.5 #n0.00]", "[,]", "1234.50 Yes 0.50"},
        {"[Total] [Memo]", "[,]", "7 two\r\nlines"},
        {"[EncodeDate(2026, 12, 11) #ddd.mm.yyyy]", "[,]", "11.12.2026"},
        {"Page [Page#] of [TotalPages#] [unclosed", "[,]", "Page 1 of [TotalPages#] [unclosed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        ScriptTemplate t;
        t.Report.Variables().SetValue(QStringLiteral("Total"), Variant(QStringLiteral("3 + 4")));
        t.Report.Variables().SetValue(QStringLiteral("Memo"), Variant(QStringLiteral("two\r\nlines")));
        t.Report.Variables().SetValue(QStringLiteral("Flag"), Variant(true));
        t.Memo("Memo1", QString::fromLatin1(c.Text))->ExpressionDelimiters = QString::fromLatin1(c.Delimiters);
        t.Build();
        const auto *memo = static_cast<TzelMemoView *>(
            t.Report.PreviewPages()->GetPage(0)->FindObject(QStringLiteral("Memo1")));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->Text().toStdString(), c.Expected);
    }
}

TEST(ReportScript, IgnoredExpressionErrorsPrintTheExpression)
{
    ScriptTemplate t;
    t.Report.EngineOptions().IgnoreExprError = true;
    t.Memo("Memo1", QStringLiteral("[1 +* 2] [<nodata>]"));
    t.Build();
    EXPECT_EQ(t.Texts(), std::string("Memo1: 1 +* 2 nodata"));
}

TEST(ReportScript, RestrictedModeRefusesFilesWindowsAndPrinting)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("copy.zt3"));
    const QString script = QStringLiteral("begin\n  Report.SaveToFile('%1');\nend.").arg(target);
    {
        ScriptTemplate t;
        t.Memo("Memo1", QStringLiteral("x"));
        t.SetScript("PascalScript", script);
        t.Build();
        EXPECT_TRUE(QFile::exists(target)) << "trusted by default";
        QFile::remove(target);
    }
    struct Case
    {
        const char *Statement;
        const char *Member;
    };
    const Case cases[] = {
        {"Report.SaveToFile('%1')", "TzelReport.SaveToFile"},
        {"ShowMessage('%1')", "ShowMessage"},
        {"Report.LoadFromFile('%1')", "TzelReport.LoadFromFile"},
        {"Report.ShowReport", "TzelReport.ShowReport"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Statement);
        ScriptTemplate t;
        t.Report.EngineOptions().Restricted = true;
        t.Memo("Memo1", QStringLiteral("x"));
        t.SetScript("PascalScript",
                    QStringLiteral("begin\n  %1;\nend.").arg(QString::fromLatin1(c.Statement).replace(QStringLiteral("%1"), target)));
        EXPECT_EQ(t.Failures(), "Script error at 2:3: " + std::string(c.Member) + " is not allowed in restricted mode");
        EXPECT_FALSE(QFile::exists(target));
    }
}

TEST(ReportScript, ExpressionsReadDataFieldsAndTheScriptsVariables)
{
    ScriptTemplate t;
    t.Report.CheckDataPage();
    auto *items = new TzelUserDataSet(t.Report.FindObject(QStringLiteral("Data")));
    items->SetName(QStringLiteral("Items"));
    items->SetUserName(QStringLiteral("items"));
    items->Fields = QStringList{QStringLiteral("amount")};
    items->OnGetValue = [](const QString &, Variant &value) { value = Variant(12.345); };
    t.Report.DataSets().Add(items);
    t.Memo("Memo1", QStringLiteral("[FormatFloat('0.00', <items.\"amount\">)] [Tax] [Lines.Count]"));
    t.SetScript("PascalScript", QStringLiteral("var Tax: Extended;\n"
                                               "    Lines: TStringList;\n"
                                               "begin\n"
                                               "  Tax := 0.2;\n"
                                               "  Lines := TStringList.Create;\n"
                                               "  Lines.Add('a');\n"
                                               "end."));
    t.Build();
    EXPECT_EQ(t.Texts(), std::string("Memo1: 12.35 0.2 1"));
}

TEST(ReportScript, HostFunctionsAndHooks)
{
    ScriptTemplate t;
    t.Report.AddFunction(QStringLiteral("function Tax(Amount: Extended; var Note: String): Extended"));
    QStringList called;
    t.Report.OnUserFunction = [&called](const QString &name, QList<Variant> &params) {
        called << name;
        params[1] = Variant(QStringLiteral("taxed"));
        return Variant(params[0].ToDouble() * 0.25);
    };
    t.Report.OnAfterScriptCompile = [&called] { called << QStringLiteral("compiled"); };
    zelGlobalScriptEvents().OnGetScriptValue = [](const QString &name, Variant &value) {
        value = Variant(name.size());
        return name.startsWith(QLatin1String("host."));
    };
    t.Memo("Memo1", QStringLiteral("[Tax(8, Note)] [Note] [<host.length>]"));
    t.SetScript("PascalScript", QStringLiteral("var Note: String;\nbegin\nend."));
    t.Build();
    zelGlobalScriptEvents().OnGetScriptValue = nullptr;
    EXPECT_EQ(t.Texts(), "Memo1: 2 taxed 11");
    EXPECT_EQ(called.join(QLatin1Char(' ')).toStdString(), "compiled TAX");
}

TEST(ReportScript, ClassTableMembersReachTheReport)
{
    struct Case
    {
        const char *Body; // of the procedure that fills the memo Out
        const char *Out;
    };
    const Case cases[] = {
        {"Out.Text := IntToStr(ReportTitle1.Objects.Count) + Memo1.Page.Name + IntToStr(Page1.AllObjects.Count);",
         "2Page13"},
        {"Memo1.Lines.Add('two'); Out.Text := IntToStr(Memo1.Lines.Count) + Memo1.Lines[1] + Memo1.Lines.Text;",
         "2twoone\r\ntwo\r\n"},
        {"a := TzelArray.Create; a[5] := 'x'; a['k'] := 2; Out.Text := a[5] + IntToStr(a['k']); a.Free;", "x2"},
        {"Report.Styles.Add.Name := 'Bold'; Out.Text := Report.Styles.Find('Bold').Name + Report.Styles[0].Name;",
         "BoldBold"},
        {"if (Memo1.Fill.AsBrushFill <> nil) and (Memo1.Fill.AsGlassFill = nil) then Out.Text := 'brush';", "brush"},
        {"Engine.AddAnchor('here'); Out.Text := IntToStr(Engine.GetAnchorPage('here')) + "
         "IntToStr(Engine.GetAnchorPage('nowhere'));",
         "11"},
        {"Report.DrillState.Add('G.1'); Out.Text := Report.DrillState[0];", "G.1"},
        {"Engine.GetPostProcessor.ResetDuplicates; "
         "Out.Text := IntToStr(Engine.GetPostProcessor.GetMacroList('Memo1').Count);",
         "0"},
        {"if (Memo1.CalcWidth > 0) and (Memo1.CalcWidth < Memo1.Width) then Out.Text := 'measured';", "measured"},
        {"m := TMemoryStream.Create; l := TStringList.Create; Memo1.SaveToStream(m); m.Position := 0; "
         "l.LoadFromStream(m); if Pos('Text=\"one\"', l.Text) > 0 then Out.Text := 'saved'; l.Free; m.Free;",
         "saved"},
        {"Out.AnsiText := 'ansi' + IntToStr(PreviewPages.Count);", "ansi1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Body);
        ScriptTemplate t;
        t.Memo("Memo1", QStringLiteral("one"));
        t.Memo("Out", QString(), "FillOut");
        t.SetScript("PascalScript",
                    QStringLiteral("procedure FillOut(Sender: TObject);\n"
                                   "var a: TzelArray; m: TMemoryStream; l: TStringList;\n"
                                   "begin\n  %1\nend;\n\nbegin\nend.")
                        .arg(QString::fromLatin1(c.Body)));
        t.Build();
        EXPECT_TRUE(t.Report.Errors().IsEmpty()) << t.Report.Errors().Text().toStdString();
        const QStringList texts = QString::fromStdString(t.Texts()).split(QStringLiteral("\nOut: "));
        EXPECT_EQ(texts.value(1).toStdString(), c.Out);
    }

    // A page that is not there is named.
    ScriptTemplate t;
    t.Memo("Out", QString(), "FillOut");
    t.SetScript("PascalScript", QStringLiteral("procedure FillOut(Sender: TObject);\nbegin\n"
                                               "  Out.Text := PreviewPages.Page[3].Name;\nend;\n\nbegin\nend."));
    EXPECT_NE(t.Failures().find("There is no page 3 of 1 pages"), std::string::npos);
}

TEST(ReportScript, AnInheritedReportRunsItsParentsProceduresOnItsOwnObjects)
{
    QTemporaryDir dir;
    const auto writeParent = [&dir](const QString &script) {
        ScriptTemplate parent;
        parent.Memo("Memo1", QString(), "ParentMark");
        parent.SetScript("PascalScript", script);
        parent.Report.SaveToFile(dir.filePath(QStringLiteral("parent.zt3")));
    };
    const auto loadChild = [&dir](TzelReport &child) {
        const QString path = dir.filePath(QStringLiteral("child.zt3"));
        zelWriteFile(path, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                           "<TzelReport ParentReport=\"parent.zt3\" ScriptLanguage=\"PascalScript\" ScriptText.Text=\""
                           "procedure ChildMark(Sender: TObject);&#13;&#10;begin&#13;&#10;"
                           "  Memo2.Text := 'child sees ' + Memo1.Text;&#13;&#10;end;&#13;&#10;begin&#13;&#10;end.\">\n"
                           "  <inherited Name=\"Page1\">\n"
                           "    <inherited Name=\"ReportTitle1\">\n"
                           "      <TzelMemoView Name=\"Memo2\" Left=\"0\" Top=\"20\" Width=\"300\" Height=\"10\""
                           " OnBeforePrint=\"ChildMark\"/>\n"
                           "    </inherited>\n"
                           "  </inherited>\n"
                           "</TzelReport>\n");
        ASSERT_TRUE(child.LoadFromFile(path)) << child.Errors().Text().toStdString();
    };

    writeParent(QStringLiteral("procedure ParentMark(Sender: TObject);\nbegin\n"
                               "  Memo1.Text := 'parent of ' + Report.ScriptLanguage;\nend;\n\nbegin\nend."));
    {
        Template child;
        loadChild(child.Report);
        EXPECT_TRUE(child.Report.PrepareReport()) << child.Report.Errors().Text().toStdString();
        EXPECT_EQ(child.Texts(), "Memo1: parent of PascalScript\nMemo2: child sees parent of PascalScript");
    }

    // A parent whose script does not compile is named.
    writeParent(QStringLiteral("procedure ParentMark(Sender: TObject);\nbegin\n  Memo1.Text := ;\nend;\n\nbegin\nend."));
    Template child;
    loadChild(child.Report);
    EXPECT_FALSE(child.Report.PrepareReport());
    EXPECT_EQ(child.Report.Errors().Text().left(46).toStdString(), "Script error at Parent report: parent.zt3 Line");
}
