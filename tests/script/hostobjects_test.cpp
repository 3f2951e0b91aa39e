#include "scriptrun.h"

#include "script/engine/kvclassvariable.h"
#include "script/engine/kvevents.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvscript.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

// Host objects as scripts hold them: handles that refuse freed objects,
// components found by name, event properties that run script procedures,
// and restricted mode.

namespace {

// A host widget: a name, owned children and one event the host fires.
struct Widget
{
    QString Name;
    std::vector<std::shared_ptr<Widget>> Children;
    std::function<void(int &key)> OnKey; // the native handler slot
    std::shared_ptr<char> Life = std::make_shared<char>();
};

class WidgetType final : public TkvObjectType
{
public:
    QString ClassName(const void *) const override { return QStringLiteral("TWidget"); }
    Variant FindComponent(void *owner, const QString &name) const override;
};
const WidgetType widgetType;

Variant valueOf(Widget *w)
{
    std::weak_ptr<char> life = w->Life;
    return TkvObjects::Ref(w, &widgetType, [life] { return !life.expired(); });
}

Variant WidgetType::FindComponent(void *owner, const QString &name) const
{
    for (const auto &child : static_cast<Widget *>(owner)->Children)
        if (child->Name.compare(name, Qt::CaseInsensitive) == 0)
            return valueOf(child.get());
    return Variant::Null();
}

// The adapter of the key event: passes Sender and a by-reference key.
class KeyEvent final : public TkvCustomEvent
{
public:
    explicit KeyEvent(const TkvEventTarget &target) : TkvCustomEvent(target)
    {
        FWidget = TkvObjects::Get<Widget>(target.Instance);
        FWidget->OnKey = [this](int &key) {
            std::array<Variant, 2> args{Target().Instance, Variant(key)};
            CallHandler(args);
            key = args[1].ToInt();
        };
    }
    ~KeyEvent() override { FWidget->OnKey = nullptr; }

private:
    Widget *FWidget;
};

struct Host
{
    TkvScript Scope{TkvScript::GlobalUnit()};
    Widget Form{QStringLiteral("Form1"), {}, {}};

    Host()
    {
        auto button = std::make_shared<Widget>();
        button->Name = QStringLiteral("Button1");
        Form.Children.push_back(button);
        TkvClassVariable *c = Scope.AddClass(QStringLiteral("TWidget"), QString());
        c->AddProperty(QStringLiteral("Name"), QStringLiteral("String"), [](const Variant &o, const QString &) {
            return Variant(TkvObjects::Get<Widget>(o)->Name);
        });
        c->AddEvent(QStringLiteral("OnKey"), [](const TkvEventTarget &t) { return std::make_unique<KeyEvent>(t); });
        Scope.AddVariable(QStringLiteral("Form1"), QStringLiteral("TWidget"), valueOf(&Form));
    }

    int PressKey(int key)
    {
        if (Form.OnKey)
            Form.OnKey(key);
        return key;
    }
};

} // namespace

TEST(HostObjects, HandlesRefuseObjectsThatAreGone)
{
    auto widget = std::make_unique<Widget>();
    const Variant handle = valueOf(widget.get());
    EXPECT_EQ(TkvObjects::Get<Widget>(handle), widget.get());
    EXPECT_TRUE(Variant::Identical(valueOf(widget.get()), handle)) << "an object keeps its handle";
    EXPECT_EQ(TkvObjects::Get<Widget>(Variant(0)), nullptr) << "nil";
    EXPECT_EQ(TkvObjects::TryGet<int>(handle), nullptr) << "another kind of object";
    widget.reset();
    for (const Variant &bad : {handle, Variant(123456789), Variant(-1), Variant(QStringLiteral("1"))}) {
        try {
            TkvObjects::Get<Widget>(bad);
            ADD_FAILURE() << "accepted " << bad.ToString().toStdString();
        } catch (const TzelException &e) {
            EXPECT_EQ(e.message().toStdString(), "Invalid object reference");
        }
    }
}

TEST(HostObjects, ComponentsAreFoundByName)
{
    struct Case
    {
        const char *Source;
        const char *Output;
        const char *Error;
    };
    const Case cases[] = {
        {"begin ShowMessage(Form1.Button1.Name) end.", "Button1\n", ""},
        {"begin Form1.Button1 := nil end.", "", "ERROR at 1:7: Can not assign value to component field Button1"},
        {"begin ShowMessage(Form1.Button2.Name) end.", "", "ERROR at 1:25: Undeclared identifier: 'Button2'"},
    };
    for (const Case &c : cases) {
        Host host;
        const ScriptOutcome r = runScript(QStringLiteral("PascalScript"), QString::fromLatin1(c.Source), &host.Scope);
        EXPECT_EQ(r.Output.toStdString(), c.Output) << c.Source;
        EXPECT_EQ(r.Error.toStdString(), c.Error) << c.Source;
    }
}

TEST(HostObjects, EventPropertiesRunScriptProcedures)
{
    Host host;
    TkvScript script(&host.Scope);
    script.Lines = {QStringLiteral("procedure KeyDown(Sender: TWidget; var Key: Integer);\n"
                                   "begin\n"
                                   "  Key := Key * 10 + Length(Sender.Name);\n"
                                   "end;\n"

                                   "begin\n"
                                   "  Form1.OnKey := 'KeyDown';\n"
                                   "end.")};
    ASSERT_TRUE(script.Run()) << script.ErrorText().toStdString();
    EXPECT_EQ(host.PressKey(4), 45) << "the var parameter comes back";

    script.Lines = {QStringLiteral("begin Form1.OnKey := '0' end.")};
    script.ClearItems(nullptr);
    ASSERT_TRUE(script.Run()) << script.ErrorText().toStdString();
    EXPECT_EQ(host.PressKey(4), 4) << "the handler is gone";

    // A function serves too (every JScript routine is one); a variable does not.
    TkvScript wrong(&host.Scope);
    wrong.Lines = {QStringLiteral("var F: Integer;\nbegin Form1.OnKey := 'F' end.")};
    EXPECT_THROW(wrong.Run(), TzelException);
    EXPECT_EQ(wrong.ErrorText().toStdString(), "2:7: Event handler must be a procedure");
}

TEST(HostObjects, RestrictedScopesRefuseWhatTouchesTheSystem)
{
    TkvScript restricted(TkvScript::GlobalUnit());
    restricted.Restricted = true;
    const ScriptOutcome r = runScript(QStringLiteral("JScript"), QStringLiteral("ShowMessage(1);"), &restricted);
    EXPECT_EQ(r.Error.toStdString(), "ERROR at 1:1: ShowMessage is not allowed in restricted mode");
    EXPECT_EQ(r.Output.toStdString(), "");
}

TEST(HostObjects, LibraryEdges)
{
    struct Case
    {
        const char *Language;
        const char *Source;
        const char *Output;
        const char *Error;
    };
    const Case cases[] = {
        {"PascalScript", "begin ShowMessage(FormatFloat('#,##0.0', 1234.56)) end.", "1,234.6\n", ""},
        {"PascalScript", "begin ShowMessage(FormatMaskText('000-00;0;_', '1234')) end.", "123-4_\n", ""},
        {"PascalScript", "begin ShowMessage(Format('%5.1f|%-3d|', [2.25, 7])) end.", "  2.3|7  |\n", ""},
        {"PascalScript", "var o: Variant;\nbegin o := CreateOleObject('Word.Application') end.", "",
         "ERROR at 2:7: Automation objects are not available on this system: Word.Application"},
        // The end of the text ends the last line of a line-based language.
        {"BasicScript", "dim c\nc = 1\nShowMessage(c)", "1\n", ""},
    };
    for (const Case &c : cases) {
        const ScriptOutcome r = runScript(QString::fromLatin1(c.Language), QString::fromLatin1(c.Source));
        EXPECT_EQ(r.Output.toStdString(), c.Output) << c.Source;
        EXPECT_EQ(r.Error.toStdString(), c.Error) << c.Source;
    }
}
