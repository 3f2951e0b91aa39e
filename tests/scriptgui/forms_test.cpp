#include "guiprogram.h"

#include "script/gui/kvguiobjects.h"
#include "script/gui/kvguirtti.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <gtest/gtest.h>

// Forms and controls built by scripts: placing them, finding them by name,
// their events with the values handlers give back, and modal windows.

namespace {

struct Program
{
    const char *Language;
    const char *Source;
};

// A form with an edit and a button whose click copies the edit's text, the
// same in each language; the button is found through the form by its name.
const Program kClickForm[] = {
    {"PascalScript", "var Form1: TForm; e: TEdit; b: TButton;\n"
                     "procedure ButtonClick(Sender: TObject);\n"
                     "begin\n"
                     "  ShowMessage(TButton(Sender).Caption + ': ' + e.Text);\n"
                     "  TButton(Form1.FindComponent('Button1')).Caption := 'Done'\n"
                     "end;\n"
                     "begin\n"
                     "  Form1 := TForm.Create(nil);\n"
                     "  Form1.Caption := 'Greeting';\n"
                     "  e := TEdit.Create(Form1);\n"
                     "  e.Name := 'Edit1';\n"
                     "  e.Parent := Form1;\n"
                     "  e.Text := 'hello';\n"
                     "  b := TButton.Create(Form1);\n"
                     "  b.Name := 'Button1';\n"
                     "  b.Parent := Form1;\n"
                     "  b.SetBounds(10, 40, 80, 30);\n"
                     "  b.Caption := 'Copy';\n"
                     "  b.OnClick := 'ButtonClick';\n"
                     "  ShowMessage(IntToStr(Form1.ComponentCount) + ' ' + IntToStr(b.Left + b.Width));\n"
                     "end.\n"},
    {"C++Script", "Variant Form1, e, b;\n"
                  "void ButtonClick(Variant Sender)\n"
                  "{\n"
                  "  ShowMessage(Sender.Caption + \": \" + Form1.Edit1.Text);\n"
                  "  Form1.Button1.Caption = \"Done\";\n"
                  "}\n"
                  "{\n"
                  "  Form1 = new TForm(nil);\n"
                  "  Form1.Caption = \"Greeting\";\n"
                  "  e = new TEdit(Form1);\n"
                  "  e.Name = \"Edit1\";\n"
                  "  e.Parent = Form1;\n"
                  "  e.Text = \"hello\";\n"
                  "  b = new TButton(Form1);\n"
                  "  b.Name = \"Button1\";\n"
                  "  b.Parent = Form1;\n"
                  "  b.SetBounds(10, 40, 80, 30);\n"
                  "  b.Caption = \"Copy\";\n"
                  "  b.OnClick = \"ButtonClick\";\n"
                  "  ShowMessage(IntToStr(Form1.ComponentCount) + \" \" + IntToStr(b.Left + b.Width));\n"
                  "}\n"},
    {"BasicScript", "Dim Form1, e, b\n"
                    "Sub ButtonClick(Sender)\n"
                    "  ShowMessage(Sender.Caption + \": \" + Form1.Edit1.Text)\n"
                    "  Form1.Button1.Caption = \"Done\"\n"
                    "End Sub\n"
                    "Form1 = New TForm(nil)\n"
                    "Form1.Caption = \"Greeting\"\n"
                    "e = New TEdit(Form1)\n"
                    "e.Name = \"Edit1\"\n"
                    "e.Parent = Form1\n"
                    "e.Text = \"hello\"\n"
                    "b = New TButton(Form1)\n"
                    "b.Name = \"Button1\"\n"
                    "b.Parent = Form1\n"
                    "b.SetBounds(10, 40, 80, 30)\n"
                    "b.Caption = \"Copy\"\n"
                    "b.OnClick = \"ButtonClick\"\n"
                    "ShowMessage(IntToStr(Form1.ComponentCount) + \" \" + IntToStr(b.Left + b.Width))\n"},
};

TEST(ScriptForms, ABuiltFormRunsItsClickHandler)
{
    for (const Program &p : kClickForm) {
        FakeDialogService dialogs;
        GuiProgram program(p.Language, p.Source);
        ASSERT_EQ(program.Run(), QString()) << p.Language;
        EXPECT_EQ(shown(dialogs), QStringLiteral("2 90")) << p.Language;

        auto *form = qobject_cast<QDialog *>(program.Object("Form1"));
        ASSERT_NE(form, nullptr) << p.Language;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Greeting"));
        auto *button = form->findChild<QPushButton *>(QStringLiteral("Button1"));
        ASSERT_NE(button, nullptr) << p.Language << ": the button is not placed on the form";
        EXPECT_EQ(button->geometry(), QRect(10, 40, 80, 30));
        button->click();
        EXPECT_EQ(shown(dialogs), QStringLiteral("Copy: hello")) << p.Language;
        EXPECT_EQ(button->text(), QStringLiteral("Done")) << p.Language;
        delete form;
    }
}

// ShowModal runs this instead of a modal loop while a test needs it.
class ModalRunner
{
public:
    explicit ModalRunner(TkvRunModal runner) { kvSetRunModal(std::move(runner)); }
    ~ModalRunner() { kvSetRunModal(nullptr); }
};

TEST(ScriptForms, ComponentsAreMembersOfTheirOwner)
{
    FakeDialogService dialogs;
    GuiProgram maker("PascalScript", "var Form1: TForm; box: TGroupBox; b: TButton; l: TLabel;\n"
                                     "begin\n"
                                     "  Form1 := TForm.Create(nil);\n"
                                     "  box := TGroupBox.Create(Form1);\n"
                                     "  box.Name := 'Box';\n"
                                     "  box.Parent := Form1;\n"
                                     "  b := TButton.Create(Form1);\n"
                                     "  b.Name := 'Button1';\n"
                                     "  b.Parent := Form1;\n"
                                     "  l := TLabel.Create(Form1);\n"
                                     "  l.Name := 'Label1';\n"
                                     "  l.Parent := box;\n"
                                     "end.\n");
    ASSERT_EQ(maker.Run(), QString());
    const std::unique_ptr<QObject> form(maker.Object("Form1"));

    // Compiled while Form1 holds the form, a program reaches the form's
    // components as typed members, wherever they are placed.
    struct Case
    {
        const char *What;
        const char *Source;
        const char *Output;
        const char *Error;
    };
    const Case cases[] = {
        {"members of the form's components",
         "begin\n"
         "  Form1.Button1.Caption := 'Go';\n"
         "  Form1.Label1.Caption := Form1.Button1.Caption + '!';\n"
         "  ShowMessage(Form1.Label1.Caption + ' ' + Form1.Label1.Parent.Name + ' ' + Form1.Button1.Owner.ClassName);\n"
         "end.\n",
         "Go! Box TForm", ""},
        {"the components in order",
         "var i: Integer;\n"
         "begin\n"
         "  for i := 0 to Form1.ComponentCount - 1 do ShowMessage(TControl(Form1.Components[i]).Name);\n"
         "end.\n",
         "Box\nButton1\nLabel1", ""},
        {"a name no component has", "begin\n  Form1.Button2.Caption := 'x'\nend.\n", "",
         "ERROR at 2:9: Undeclared identifier: 'Button2'"},
        {"a component is no variable", "begin\n  Form1.Button1 := nil\nend.\n", "",
         "ERROR at 2:3: Can not assign value to component field Button1"},
        {"a second component of the same name", "begin\n  Form1.Label1.Name := 'button1'\nend.\n", "",
         "ERROR at 2:3: A component named button1 already exists"},
    };
    for (const Case &c : cases) {
        TkvScript user(&maker.Script);
        user.Lines = {QString::fromUtf8(c.Source)};
        QString error;
        try {
            if (user.Compile())
                user.Execute();
        } catch (const TzelException &) {
        }
        if (!user.ErrorMsg.isEmpty())
            error = QStringLiteral("ERROR at ") + user.ErrorText();
        EXPECT_EQ(error, QString::fromUtf8(c.Error)) << c.What;
        EXPECT_EQ(shown(dialogs), QString::fromUtf8(c.Output)) << c.What;
    }
}

// Typing into an edit whose handlers change or swallow keys: the control
// gets the keys as the handlers leave them.
TEST(ScriptForms, KeyHandlersChangeTheKeysTheControlGets)
{
    const Program programs[] = {
        {"PascalScript", "var e: TEdit;\n"
                         "procedure KeyPress(Sender: TObject; var Key: Char);\n"
                         "begin\n"
                         "  if Key = 'a' then Key := 'b';\n"
                         "  if Key = 'x' then Key := #0\n"
                         "end;\n"
                         "procedure KeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);\n"
                         "begin\n"
                         "  if Key = VK_DELETE then Key := 0;\n"
                         "  if Key = VK_LEFT then Key := VK_END\n"
                         "end;\n"
                         "begin\n"
                         "  e := TEdit.Create(nil);\n"
                         "  e.OnKeyPress := 'KeyPress';\n"
                         "  e.OnKeyDown := 'KeyDown'\n"
                         "end.\n"},
        {"C++Script", "TEdit e;\n"
                      "void KeyPress(TObject Sender, string &Key)\n"
                      "{\n"
                      "  if (Key == \"a\") Key = \"b\";\n"
                      "  if (Key == \"x\") Key = Chr(0);\n"
                      "}\n"
                      "void KeyDown(TObject Sender, int &Key, int Shift)\n"
                      "{\n"
                      "  if (Key == VK_DELETE) Key = 0;\n"
                      "  if (Key == VK_LEFT) Key = VK_END;\n"
                      "}\n"
                      "{\n"
                      "  e = new TEdit(nil);\n"
                      "  e.OnKeyPress = \"KeyPress\";\n"
                      "  e.OnKeyDown = \"KeyDown\";\n"
                      "}\n"},
    };
    for (const Program &p : programs) {
        FakeDialogService dialogs;
        GuiProgram program(p.Language, p.Source);
        ASSERT_EQ(program.Run(), QString()) << p.Language;
        const std::unique_ptr<QObject> object(program.Object("e"));
        auto *edit = qobject_cast<QLineEdit *>(object.get());
        ASSERT_NE(edit, nullptr);
        const auto press = [edit](int key, const QString &text) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(edit, &event);
        };
        press(Qt::Key_A, QStringLiteral("a"));
        press(Qt::Key_X, QStringLiteral("x"));
        press(Qt::Key_C, QStringLiteral("c"));
        EXPECT_EQ(edit->text(), QStringLiteral("bc")) << p.Language;
        edit->setCursorPosition(0);
        press(Qt::Key_Delete, QString());
        EXPECT_EQ(edit->text(), QStringLiteral("bc")) << p.Language << ": Delete was not swallowed";
        edit->setCursorPosition(1);
        press(Qt::Key_Left, QString()); // turned into End
        press(Qt::Key_D, QStringLiteral("d"));
        EXPECT_EQ(edit->text(), QStringLiteral("bcd")) << p.Language;
    }
}

TEST(ScriptForms, HandlersComeAndGo)
{
    FakeDialogService dialogs;
    GuiProgram program("PascalScript", "var b: TButton; n: Integer;\n"
                                       "procedure Once(Sender: TObject);\n"
                                       "begin\n"
                                       "  n := n + 1;\n"
                                       "  ShowMessage('click ' + IntToStr(n));\n"
                                       "  b.OnClick := '0'\n"
                                       "end;\n"
                                       "procedure Never(Sender: TObject);\n"
                                       "begin\n"
                                       "  ShowMessage('never')\n"
                                       "end;\n"
                                       "begin\n"
                                       "  b := TButton.Create(nil);\n"
                                       "  b.OnClick := 'Never';\n"
                                       "  b.OnClick := 'Once';\n"
                                       "  b.OnDblClick := 'Never';\n"
                                       "  b.OnDblClick := '0'\n"
                                       "end.\n");
    ASSERT_EQ(program.Run(), QString());
    const std::unique_ptr<QObject> object(program.Object("b"));
    auto *button = qobject_cast<QPushButton *>(object.get());
    ASSERT_NE(button, nullptr);
    button->click();
    button->click(); // the handler removed itself
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(button, &twice);
    EXPECT_EQ(shown(dialogs), QStringLiteral("click 1"));

    // A freed script leaves no handler behind.
    GuiProgram other("PascalScript", "var b: TButton;\n"
                                     "procedure Click(Sender: TObject); begin ShowMessage('gone?') end;\n"
                                     "begin\n  b := TButton.Create(nil);\n  b.OnClick := 'Click'\nend.\n");
    ASSERT_EQ(other.Run(), QString());
    std::unique_ptr<QObject> kept(other.Object("b"));
    other.Script.Clear();
    qobject_cast<QPushButton *>(kept.get())->click();
    EXPECT_EQ(shown(dialogs), QString());
}

TEST(ScriptForms, OnlyProceduresHandleEvents)
{
    const Program programs[] = {
        {"PascalScript", "var b: TButton; n: Integer;\nbegin\n  b := TButton.Create(nil);\n  b.OnClick := 'Missing'\nend.\n"},
        {"PascalScript", "var b: TButton; n: Integer;\nbegin\n  b := TButton.Create(nil);\n  b.OnClick := 'n'\nend.\n"},
        {"JScript", "var b = new TButton(nil), n;\nb.OnClick = \"n\";\n"},
    };
    for (const Program &p : programs) {
        FakeDialogService dialogs;
        GuiProgram program(p.Language, p.Source);
        const QString error = program.Run();
        EXPECT_TRUE(error.endsWith(QLatin1String(": Event handler must be a procedure"))) << error.toStdString();
    }
}

// A handler's error goes to the script member that made the event happen,
// and to the user when nothing in the script waits for it.
TEST(ScriptForms, HandlerErrorsReachTheirCause)
{
    FakeDialogService dialogs;
    GuiProgram program("PascalScript", "var b: TButton;\n"
                                       "procedure Fail(Sender: TObject);\n"
                                       "begin\n"
                                       "  RaiseException('broken')\n"
                                       "end;\n"
                                       "begin\n"
                                       "  b := TButton.Create(nil);\n"
                                       "  b.OnClick := 'Fail';\n"
                                       "  try\n"
                                       "    b.Click;\n"
                                       "    ShowMessage('not here')\n"
                                       "  except\n"
                                       "    ShowMessage('caught ' + ExceptionMessage)\n"
                                       "  end\n"
                                       "end.\n");
    ASSERT_EQ(program.Run(), QString());
    EXPECT_EQ(shown(dialogs), QStringLiteral("caught broken"));
    const std::unique_ptr<QObject> button(program.Object("b"));
    qobject_cast<QPushButton *>(button.get())->click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages.at(0), QStringLiteral("Error: 4:3: broken"));
}

TEST(ScriptForms, MouseAndSizeEventsSayWhatHappened)
{
    FakeDialogService dialogs;
    GuiProgram program("PascalScript",
                       "var w: TCustomControl;\n"
                       "procedure Down(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);\n"
                       "begin\n"
                       "  ShowMessage(Format('down %d %d %d %d', [Button, Shift, X, Y]))\n"
                       "end;\n"
                       "procedure Up(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);\n"
                       "begin\n"
                       "  ShowMessage(Format('up %d %d %d %d', [Button, Shift, X, Y]))\n"
                       "end;\n"
                       "procedure Click(Sender: TObject);\n"
                       "begin\n"
                       "  ShowMessage('click')\n"
                       "end;\n"
                       "procedure CanResize(Sender: TObject; var NewWidth, NewHeight: Integer; var Resize: Boolean);\n"
                       "begin\n"
                       "  if NewWidth > 200 then NewWidth := 200;\n"
                       "  Resize := NewHeight <> 13\n"
                       "end;\n"
                       "begin\n"
                       "  w := TCustomControl.Create(nil);\n"
                       "  w.OnMouseDown := 'Down';\n"
                       "  w.OnMouseUp := 'Up';\n"
                       "  w.OnClick := 'Click';\n"
                       "  w.OnCanResize := 'CanResize';\n"
                       "  w.Width := 500;\n"
                       "  w.Height := 13;\n"
                       "  ShowMessage(IntToStr(w.Width) + 'x' + IntToStr(w.Height));\n"
                       "end.\n");
    ASSERT_EQ(program.Run(), QString());
    EXPECT_EQ(shown(dialogs), QStringLiteral("200x30"));
    const std::unique_ptr<QObject> object(program.Object("w"));
    auto *widget = qobject_cast<QWidget *>(object.get());
    ASSERT_NE(widget, nullptr);
    const auto mouse = [widget](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                                Qt::KeyboardModifiers modifiers, QPoint at) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, modifiers);
        QCoreApplication::sendEvent(widget, &event);
    };
    mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 6));
    mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, Qt::ShiftModifier, QPoint(5, 6));
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier, QPoint(7, 8));
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, QPoint(7, 8));
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, QPoint(300, 1)); // let go outside
    EXPECT_EQ(shown(dialogs), QStringLiteral("down 1 17 5 6\nup 1 1 5 6\n"
                                             "down 0 12 7 8\nup 0 0 7 8\nclick\n"
                                             "down 0 8 1 1\nup 0 0 300 1"));

    // A list box takes the mouse in its viewport, a scroll box in its
    // content, which leaves it to the viewport and then to the box: the
    // handlers hear each event once, placed in the control.
    for (const char *kind : {"TListBox", "TScrollBox"}) {
        const QByteArray source = QStringLiteral("var c: %1;\n"
                                                 "procedure Down(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);\n"
                                                 "begin\n"
                                                 "  ShowMessage(Format('down %d %d', [X, Y]))\n"
                                                 "end;\n"
                                                 "procedure Click(Sender: TObject);\n"
                                                 "begin\n"
                                                 "  ShowMessage('click')\n"
                                                 "end;\n"
                                                 "begin\n"
                                                 "  c := %1.Create(nil);\n"
                                                 "  c.SetBounds(0, 0, 100, 100);\n"
                                                 "  c.OnMouseDown := 'Down';\n"
                                                 "  c.OnClick := 'Click'\n"
                                                 "end.\n")
                                      .arg(QLatin1String(kind))
                                      .toUtf8();
        GuiProgram scrolled("PascalScript", source.constData());
        ASSERT_EQ(scrolled.Run(), QString()) << kind;
        const std::unique_ptr<QObject> control(scrolled.Object("c"));
        auto *area = qobject_cast<QAbstractScrollArea *>(control.get());
        ASSERT_NE(area, nullptr) << kind;
        auto *box = qobject_cast<QScrollArea *>(area);
        QWidget *target = box ? box->widget() : area->viewport();
        const QPoint local(4, 3);
        const QPoint at = target->mapTo(area, local);
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &event);
        }
        EXPECT_EQ(shown(dialogs), QStringLiteral("down %1 %2\nclick").arg(at.x()).arg(at.y())) << kind;
    }
}

// ShowModal through the test's runner: the window's events fire as in a
// modal loop, and a button's modal result ends it unless the form refuses.
TEST(ScriptForms, ShowModalReturnsTheResultTheFormGot)
{
    const ModalRunner runner([](QDialog &form) {
        form.show();
        form.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
        return form.result();
    });
    struct Case
    {
        const char *CanClose;
        const char *Output;
    };
    const Case cases[] = {
        {"true", "create\nshow\nquery\nclose 1\nhide\nresult 1"},
        {"false", "create\nshow\nquery\nhide\nresult 0"},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        const std::string source = std::string("TForm f;\n"
                                               "TButton ok;\n"
                                               "void Created(TObject Sender) { ShowMessage(\"create\"); }\n"
                                               "void Shown(TObject Sender) { ShowMessage(\"show\"); }\n"
                                               "void Hidden(TObject Sender) { ShowMessage(\"hide\"); }\n"
                                               "void Query(TObject Sender, bool &CanClose)\n"
                                               "{\n"
                                               "  ShowMessage(\"query\");\n"
                                               "  CanClose = ")
                                 + c.CanClose
                                 + ";\n"
                                   "}\n"
                                   "void Closing(TObject Sender, int &Action) { ShowMessage(\"close \" + IntToStr(Action)); }\n"
                                   "{\n"
                                   "  f = new TForm(nil);\n"
                                   "  ok = new TButton(f);\n"
                                   "  ok.Name = \"OkButton\";\n"
                                   "  ok.Parent = f;\n"
                                   "  ok.ModalResult = mrOk;\n"
                                   "  f.OnCreate = \"Created\";\n"
                                   "  f.OnShow = \"Shown\";\n"
                                   "  f.OnHide = \"Hidden\";\n"
                                   "  f.OnCloseQuery = \"Query\";\n"
                                   "  f.OnClose = \"Closing\";\n"
                                   "  ShowMessage(\"result \" + IntToStr(f.ShowModal));\n"
                                   "  f.Free;\n"
                                   "}\n";
        GuiProgram program("C++Script", source.c_str());
        ASSERT_EQ(program.Run(), QString()) << c.CanClose;
        EXPECT_EQ(shown(dialogs), QString::fromUtf8(c.Output)) << c.CanClose;
    }
}

// Freeing a control frees what it owns; freeing it from its own handler
// waits until the handler is done.
TEST(ScriptForms, FreedObjectsAreGoneSafely)
{
    FakeDialogService dialogs;
    GuiProgram program("PascalScript", "var f: TForm; b, spare: TButton;\n"
                                       "procedure Bye(Sender: TObject);\n"
                                       "begin\n"
                                       "  f.Free;\n"
                                       "  ShowMessage('still running')\n"
                                       "end;\n"
                                       "begin\n"
                                       "  f := TForm.Create(nil);\n"
                                       "  spare := TButton.Create(f);\n"
                                       "  b := TButton.Create(f);\n"
                                       "  b.Parent := f;\n"
                                       "  b.OnClick := 'Bye'\n"
                                       "end.\n");
    ASSERT_EQ(program.Run(), QString());
    const QPointer<QObject> form(program.Object("f"));
    const QPointer<QObject> spare(program.Object("spare"));
    qobject_cast<QPushButton *>(program.Object("b"))->click();
    EXPECT_EQ(shown(dialogs), QStringLiteral("still running"));
    ASSERT_FALSE(form.isNull()) << "freed under its running handler";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(spare.isNull()) << "the form's unplaced component outlived it";

    GuiProgram after("PascalScript", "var f: TForm; b: TButton;\n"
                                     "begin\n"
                                     "  f := TForm.Create(nil);\n"
                                     "  b := TButton.Create(f);\n"
                                     "  f.Free;\n"
                                     "  ShowMessage(b.Caption)\n"
                                     "end.\n");
    EXPECT_EQ(after.Run(), QStringLiteral("ERROR at 6:3: Invalid object reference"));
}

TEST(ScriptForms, ListsOfComboListAndMemoControls)
{
    FakeDialogService dialogs;
    GuiProgram program("PascalScript", "var c: TComboBox; l: TListBox; m: TMemo; s: TStringList;\n"
                                       "procedure Changed(Sender: TObject);\n"
                                       "begin\n"
                                       "  ShowMessage('changed to ' + c.Text)\n"
                                       "end;\n"
                                       "begin\n"
                                       "  c := TComboBox.Create(nil);\n"
                                       "  c.Items.Add('one');\n"
                                       "  c.Items.Add('two');\n"
                                       "  c.Items.Insert(0, 'zero');\n"
                                       "  c.OnChange := 'Changed';\n"
                                       "  c.ItemIndex := 2;\n"
                                       "  ShowMessage(IntToStr(c.Items.Count) + ' ' + c.Items[1] + ' ' + IntToStr(c.Items.IndexOf('TWO')));\n"
                                       "  l := TListBox.Create(nil);\n"
                                       "  l.Items.Text := 'a' + #13#10 + 'b' + #13#10 + 'c';\n"
                                       "  l.MultiSelect := True;\n"
                                       "  l.Selected[0] := True;\n"
                                       "  l.Selected[2] := True;\n"
                                       "  ShowMessage(IntToStr(l.SelCount) + ' ' + l.Items.Strings[2]);\n"
                                       "  m := TMemo.Create(nil);\n"
                                       "  m.Lines := c.Items;\n"
                                       "  m.Lines.Delete(0);\n"
                                       "  m.Lines[0] := 'uno';\n"
                                       "  ShowMessage(m.Text);\n"
                                       "  s := TStringList.Create;\n"
                                       "  s.Add('from a list');\n"
                                       "  l.Items.Assign(s);\n"
                                       "  ShowMessage(l.Items.Text);\n"
                                       "  s.Free;\n"
                                       "  l.Items[5] := 'no such line'\n"
                                       "end.\n");
    EXPECT_EQ(program.Run(), QStringLiteral("ERROR at 30:3: List index out of bounds (5)"));
    EXPECT_EQ(shown(dialogs), QStringLiteral("changed to two\n3 one 2\n2 c\nuno\ntwo\nfrom a list\r\n"));
    for (const char *name : {"c", "l", "m"})
        delete program.Object(name);
}

// Border styles and alignments are Integer constants that their
// enumerations share; other enumerations stay types of their own.
TEST(ScriptForms, ConstantsAndEnumerationsShareNames)
{
    struct Case
    {
        const char *What;
        const char *Source; ///< PascalScript
        const char *Output;
        const char *Error;
    };
    const Case cases[] = {
        {"shared and own values",
         "var f: TForm; l: TLabel; b: TBrush; s: TFormBorderStyle;\n"
         "begin\n"
         "  f := TForm.Create(Application);\n"
         "  f.BorderStyle := bsDialog;\n"
         "  s := bsToolWindow;\n"
         "  l := TLabel.Create(f);\n"
         "  l.Alignment := taCenter;\n"
         "  b := TBrush.Create;\n"
         "  b.Style := bsClear;\n"
         "  ShowMessage(Format('%d %d %d %d %d %d %d', [f.BorderStyle, s, l.Alignment, b.Style, crHandPoint, VK_F12, mrYesToAll]));\n"
         "  ShowMessage(Application.ClassName + ' ' + f.Owner.ClassName);\n"
         "  f.Free;\n"
         "  b.Free\n"
         "end.\n",
         "3 4 2 1 -21 123 10\nTApplication TApplication", ""},
        {"a pen style is no brush style", "var b: TBrush;\nbegin\n  b := TBrush.Create;\n  b.Style := psDash\nend.\n", "",
         "ERROR at 4:3: Incompatible types: 'TBrushStyle', 'TPenStyle'"},
    };
    for (const Case &c : cases) {
        FakeDialogService dialogs;
        GuiProgram program("PascalScript", c.Source);
        EXPECT_EQ(program.Run(), QString::fromUtf8(c.Error)) << c.What;
        EXPECT_EQ(shown(dialogs), QString::fromUtf8(c.Output)) << c.What;
    }
}

// A form paints what its OnPaint handler draws on its canvas.
TEST(ScriptForms, OnPaintDrawsOnTheFormsCanvas)
{
    FakeDialogService dialogs;
    GuiProgram program("PascalScript", "var f: TForm;\n"
                                       "procedure Paint(Sender: TObject);\n"
                                       "begin\n"
                                       "  f.Canvas.Brush.Color := $FF0000;\n"
                                       "  f.Canvas.Pen.Style := psClear;\n"
                                       "  f.Canvas.Rectangle(0, 0, 10, 10)\n"
                                       "end;\n"
                                       "begin\n"
                                       "  f := TForm.Create(nil);\n"
                                       "  f.SetBounds(0, 0, 40, 30);\n"
                                       "  f.OnPaint := 'Paint'\n"
                                       "end.\n");
    ASSERT_EQ(program.Run(), QString());
    const std::unique_ptr<QObject> object(program.Object("f"));
    auto *form = qobject_cast<QWidget *>(object.get());
    ASSERT_NE(form, nullptr);
    const QImage painted = form->grab().toImage();
    EXPECT_EQ(painted.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(painted.pixel(20, 20), form->palette().window().color().rgb());
}

} // namespace
