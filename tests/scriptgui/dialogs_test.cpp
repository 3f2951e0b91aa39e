#include "guiprogram.h"

#include "script/gui/kvguirtti.h"

#include <QDialog>
#include <gtest/gtest.h>

// Dialogs scripts open go through the dialog service: what they ask, what
// the answers give back, and restricted mode refusing windows, dialogs and
// files before anything is shown.

namespace {

using Service = TzelDialogService;

TEST(ScriptDialogs, MessageDlgAnswersWithTheModalResultOfTheButton)
{
    struct Case
    {
        const char *Call;
        int Reply; ///< the button pressed; 0 for the fake's default
        const char *Shown;
        int Buttons;
        const char *Result;
    };
    const Case cases[] = {
        {"MessageDlg('Delete?', mtConfirmation, mbYes + mbNo, 0)", Service::mbNo, "Confirm: Delete?",
         Service::mbYes | Service::mbNo, "7"},
        {"MessageDlg('Stuck', mtError, [mbAbort, mbRetry, mbIgnore], 0)", Service::mbRetry, "Error: Stuck",
         Service::mbAbort | Service::mbRetry | Service::mbIgnore, "4"},
        {"MessageDlg('Done', mtInformation, [mbOK], 0)", 0, "Information: Done", Service::mbOK, "1"},
        {"MessageDlg('Careful', mtWarning, [mbYesToAll, mbNoToAll, mbAll], 0)", Service::mbYesToAll,
         "Warning: Careful", Service::mbYesToAll | Service::mbNoToAll | Service::mbAll, "10"},
        {"MessageDlg('Plain', mtCustom, 0, 0)", 0, "test_scriptgui: Plain", Service::mbOK, "1"},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        dialogs.NextButton = c.Reply;
        const QByteArray source = QStringLiteral("begin\n  ShowMessage(%1)\nend.\n").arg(QLatin1String(c.Call)).toUtf8();
        GuiProgram program("PascalScript", source.constData());
        ASSERT_EQ(program.Run(), QString()) << c.Call;
        ASSERT_EQ(dialogs.Messages.size(), 2) << c.Call;
        EXPECT_EQ(dialogs.Messages.at(0), QString::fromUtf8(c.Shown)) << c.Call;
        EXPECT_EQ(dialogs.MessageButtons.at(0), c.Buttons) << c.Call;
        EXPECT_EQ(dialogs.Messages.at(1), QStringLiteral(": ") + QString::fromUtf8(c.Result)) << c.Call;
    }
}

TEST(ScriptDialogs, InputQueryWritesBackOnlyWhatWasAccepted)
{
    struct Case
    {
        const char *Language;
        const char *Source;
    };
    const Case programs[] = {
        {"PascalScript", "var s: String;\n"
                         "begin\n"
                         "  s := 'old';\n"
                         "  if InputQuery('Name', 'Your name:', s) then ShowMessage('yes ' + s) else ShowMessage('no ' + s);\n"
                         "  ShowMessage(InputBox('Town', 'Where?', 'Rome'))\n"
                         "end.\n"},
        {"BasicScript", "Dim s\n"
                        "s = \"old\"\n"
                        "If InputQuery(\"Name\", \"Your name:\", s) Then\n"
                        "  ShowMessage(\"yes \" + s)\n"
                        "Else\n"
                        "  ShowMessage(\"no \" + s)\n"
                        "End If\n"
                        "ShowMessage(InputBox(\"Town\", \"Where?\", \"Rome\"))\n"},
    };
    for (const Case &p : programs) {
        for (const bool accepted : {true, false}) {
            FakeDialogService dialogs;
            dialogs.QueryAccepted = accepted;
            dialogs.QueryText = QStringLiteral("Ann");
            GuiProgram program(p.Language, p.Source);
            ASSERT_EQ(program.Run(), QString()) << p.Language;
            EXPECT_EQ(shown(dialogs), accepted ? QStringLiteral("yes Ann\nAnn") : QStringLiteral("no old\nRome"))
                << p.Language << accepted;
            EXPECT_EQ(dialogs.Queries, (QStringList{QStringLiteral("Name: Your name:: old"),
                                                    QStringLiteral("Town: Where?: Rome")}))
                << p.Language;
        }
    }
}

TEST(ScriptDialogs, DialogComponentsKeepWhatWasChosen)
{
    FakeDialogService dialogs;
    dialogs.NextFile.Accepted = true;
    dialogs.NextFile.FileName = QStringLiteral("/data/report.zt3");
    dialogs.NextFile.FilterIndex = 2;
    dialogs.ChoiceAccepted = true;
    dialogs.ChosenColor = 0x0000FF;
    dialogs.ChosenFont = {QStringLiteral("Mono"), 14, 1, 0xFF0000};
    dialogs.ChosenPrint.Copies = 3;
    dialogs.ChosenPrint.Range = 2;
    dialogs.ChosenPrint.FromPage = 2;
    dialogs.ChosenPrint.ToPage = 5;
    GuiProgram program("PascalScript", "var f: TForm; s: TSaveDialog; c: TColorDialog; d: TFontDialog; p: TPrintDialog;\n"
                                       "begin\n"
                                       "  f := TForm.Create(nil);\n"
                                       "  s := TSaveDialog.Create(f);\n"
                                       "  s.Name := 'SaveDialog1';\n"
                                       "  s.Title := 'Save the report';\n"
                                       "  s.Filter := 'Reports|*.zt3|All|*';\n"
                                       "  s.InitialDir := '/data';\n"
                                       "  s.DefaultExt := 'zt3';\n"
                                       "  s.Options := [ofOverwritePrompt];\n"
                                       "  if TSaveDialog(f.FindComponent('SaveDialog1')).Execute then\n"
                                       "    ShowMessage(s.FileName + ' ' + IntToStr(s.FilterIndex));\n"
                                       "  c := TColorDialog.Create(nil);\n"
                                       "  if c.Execute then ShowMessage(Format('%x', [c.Color]));\n"
                                       "  d := TFontDialog.Create(nil);\n"
                                       "  d.Font.Name := 'Sans';\n"
                                       "  if d.Execute then ShowMessage(d.Font.Name + ' ' + IntToStr(d.Font.Size) + ' ' + IntToStr(d.Font.Style));\n"
                                       "  p := TPrintDialog.Create(nil);\n"
                                       "  if p.Execute and (p.PrintRange = prPageNums) then\n"
                                       "    ShowMessage(Format('%d copies of %d-%d', [p.Copies, p.FromPage, p.ToPage]));\n"
                                       "  TPrinterSetupDialog.Create(nil).Execute;\n"
                                       "  f.Free\n"
                                       "end.\n");
    ASSERT_EQ(program.Run(), QString());
    EXPECT_EQ(shown(dialogs), QStringLiteral("/data/report.zt3 2\nFF\nMono 14 1\n3 copies of 2-5"));
    ASSERT_EQ(dialogs.FileRequests.size(), 1);
    const Service::FileRequest &asked = dialogs.FileRequests.at(0);
    EXPECT_TRUE(asked.Save);
    EXPECT_TRUE(asked.OverwritePrompt);
    EXPECT_EQ(asked.Title, QStringLiteral("Save the report"));
    EXPECT_EQ(asked.Filter, QStringLiteral("Reports|*.zt3|All|*"));
    EXPECT_EQ(asked.InitialDir, QStringLiteral("/data"));
    EXPECT_EQ(asked.DefaultExt, QStringLiteral("zt3"));
    EXPECT_EQ(dialogs.Choosers, (QStringList{QStringLiteral("color"), QStringLiteral("font"), QStringLiteral("print"),
                                             QStringLiteral("printsetup")}));
}

// Windows, dialogs and files are refused in restricted mode before anything
// opens: no message box, no modal run.
TEST(ScriptDialogs, RestrictedModeRefusesWindowsDialogsAndFiles)
{
    bool ranModal = false;
    kvSetRunModal([&ranModal](QDialog &) {
        ranModal = true;
        return 1;
    });
    struct Case
    {
        const char *Language;
        const char *Source;
        const char *Error;
    };
    const Case cases[] = {
        {"PascalScript", "var f: TForm;\nbegin\n  f := TForm.Create(nil);\n  f.ShowModal\nend.\n",
         "ERROR at 4:3: TCustomForm.ShowModal is not allowed in restricted mode"},
        {"JScript", "var f = new TForm(nil);\nf.Show;\n", "ERROR at 2:1: TCustomForm.Show is not allowed in restricted mode"},
        {"PascalScript", "var f: TForm;\nbegin\n  f := TForm.Create(nil);\n  f.Visible := True\nend.\n",
         "ERROR at 4:3: TCustomForm.Show is not allowed in restricted mode"},
        {"PascalScript", "begin\n  MessageDlg('Hi', mtInformation, mbOK, 0)\nend.\n",
         "ERROR at 2:3: MessageDlg is not allowed in restricted mode"},
        {"JScript", "MessageDlg(\"Hi\", mtWarning, mbOK + mbCancel, 0);\n",
         "ERROR at 1:1: MessageDlg is not allowed in restricted mode"},
        {"PascalScript", "var s: String;\nbegin\n  InputQuery('a', 'b', s)\nend.\n",
         "ERROR at 3:3: InputQuery is not allowed in restricted mode"},
        {"PascalScript", "begin\n  InputBox('a', 'b', 'c')\nend.\n", "ERROR at 2:3: InputBox is not allowed in restricted mode"},
        {"PascalScript", "var d: TOpenDialog;\nbegin\n  d := TOpenDialog.Create(nil);\n  d.Execute\nend.\n",
         "ERROR at 4:3: TOpenDialog.Execute is not allowed in restricted mode"},
        {"PascalScript", "var b: TBitmap;\nbegin\n  b := TBitmap.Create;\n  b.SaveToFile('x.bmp')\nend.\n",
         "ERROR at 4:3: TGraphic.SaveToFile is not allowed in restricted mode"},
        {"PascalScript", "var p: TPicture;\nbegin\n  p := TPicture.Create;\n  p.LoadFromFile('x.bmp')\nend.\n",
         "ERROR at 4:3: TPicture.LoadFromFile is not allowed in restricted mode"},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        GuiProgram program(c.Language, c.Source, true);
        EXPECT_EQ(program.Run(), QString::fromUtf8(c.Error)) << c.Source;
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << c.Source;
        EXPECT_TRUE(dialogs.FileRequests.isEmpty()) << c.Source;
    }
    EXPECT_FALSE(ranModal);
    kvSetRunModal(nullptr);
}

} // namespace
