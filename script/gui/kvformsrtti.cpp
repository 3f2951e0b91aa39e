#include "script/gui/kvformsrtti.h"

#include "base/core/zelformat.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvscript.h"
#include "script/gui/kvgraphics.h"
#include "script/gui/kvguibinder.h"
#include "script/gui/kvguievents.h"
#include "script/gui/kvguiobjects.h"
#include "script/gui/kvguirtti.h"
#include "script/rtti/kvclassesrtti.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScopeGuard>
#include <QScrollBar>

namespace {

using Call = TkvMethodCall;

enum CloseAction { caNone, caHide, caFree, caMinimize };
constexpr int mrNone = 0;
constexpr int mrCancel = 2;

TkvRunModal &runModal()
{
    static TkvRunModal runner;
    return runner;
}

Variant none()
{
    return Variant::Null();
}

void setModalResult(QDialog &form, int value)
{
    form.setResult(value);
    // A modal form closes as soon as it has a result.
    if (value != mrNone && form.property("kvInModal").toBool())
        form.close();
}

// OnCreate: once, before the form is first shown.
void created(QDialog &form)
{
    if (form.property("kvCreated").toBool())
        return;
    form.setProperty("kvCreated", true);
    TkvControlEvent event(TkvControlEvent::Create);
    kvSendControlEvent(&form, event);
}

// A script's form: a dialog whose closing asks OnCloseQuery and OnClose, and
// whose canvas draws on a surface the window shows.
class FormWidget final : public QDialog
{
public:
    FormWidget() { resize(320, 240); }
    ~FormWidget() override
    {
        TkvControlEvent event(TkvControlEvent::Destroy);
        kvSendControlEvent(this, event);
    }

    TkvCanvas &Canvas()
    {
        if (!FCanvas) {
            FCanvas = std::make_shared<TkvCanvas>([this] { return &Surface(); });
            FCanvas->OnChange = [this] {
                if (!FPainting)
                    update();
            };
        }
        return *FCanvas;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        FPainting = true;
        TkvControlEvent event(TkvControlEvent::Paint);
        kvSendControlEvent(this, event);
        FPainting = false;
        if (FCanvas) {
            QPainter painter(this);
            painter.drawImage(0, 0, Surface());
        }
    }

    void closeEvent(QCloseEvent *event) override
    {
        const bool modal = property("kvInModal").toBool();
        TkvControlEvent query(TkvControlEvent::CloseQuery);
        kvSendControlEvent(this, query);
        TkvControlEvent close(TkvControlEvent::Close);
        if (query.Allow) {
            close.Action = caHide;
            kvSendControlEvent(this, close);
        }
        if (!query.Allow || close.Action == caNone || close.Action == caMinimize) {
            event->ignore();
            if (modal)
                setResult(mrNone);
            if (query.Allow && close.Action == caMinimize)
                showMinimized();
            return;
        }
        event->accept();
        if (close.Action == caFree)
            deleteLater();
        if (modal)
            done(result() != mrNone ? result() : mrCancel);
    }

    // Return and Escape are keys like others: no default or cancel button.
    void keyPressEvent(QKeyEvent *event) override { QWidget::keyPressEvent(event); }

private:
    QImage &Surface()
    {
        if (FSurface.size() != size()) {
            QImage grown(size(), QImage::Format_RGB32);
            grown.fill(palette().window().color());
            if (!FSurface.isNull()) {
                QPainter painter(&grown);
                painter.drawImage(0, 0, FSurface);
            }
            FSurface = grown;
        }
        return FSurface;
    }

    std::shared_ptr<TkvCanvas> FCanvas;
    QImage FSurface;
    bool FPainting = false;
};

// Editable like the usual drop-down combo box, and telling when its list
// drops down and closes up.
class ComboBox final : public QComboBox
{
public:
    ComboBox() { setEditable(true); }
    void showPopup() override
    {
        TkvControlEvent event(TkvControlEvent::DropDown);
        kvSendControlEvent(this, event);
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        TkvControlEvent event(TkvControlEvent::CloseUp);
        kvSendControlEvent(this, event);
    }
};

QWidget *newScrollBox()
{
    auto *area = new QScrollArea;
    area->setWidget(new QWidget);
    return area;
}

QWidget *newButton()
{
    auto *button = new QPushButton;
    QObject::connect(button, &QPushButton::clicked, button, [button] {
        const int result = button->property("kvModalResult").toInt();
        if (auto *form = dynamic_cast<QDialog *>(button->window()); form && result != mrNone)
            setModalResult(*form, result);
    });
    return button;
}

// The script's controls: their widgets and first sizes.
struct ControlKind
{
    const char *Name;
    const char *Ancestor;
    QWidget *(*Make)();
    int Width;
    int Height;
};

const ControlKind kControls[] = {
    {"TControl", "TComponent", [] { return new QWidget; }, 100, 30},
    {"TWinControl", "TControl", [] { return new QWidget; }, 100, 30},
    {"TCustomControl", "TWinControl", [] { return new QWidget; }, 100, 30},
    {"TGraphicControl", "TControl", [] { return new QWidget; }, 100, 30},
    {"TGroupBox", "TWinControl", [] { return static_cast<QWidget *>(new QGroupBox); }, 185, 105},
    {"TEdit", "TWinControl", [] { return static_cast<QWidget *>(new QLineEdit); }, 121, 21},
    {"TMemo", "TWinControl", [] { return static_cast<QWidget *>(new QPlainTextEdit); }, 185, 89},
    {"TButton", "TWinControl", newButton, 75, 25},
    {"TCheckBox", "TWinControl", [] { return static_cast<QWidget *>(new QCheckBox); }, 97, 17},
    {"TRadioButton", "TWinControl", [] { return static_cast<QWidget *>(new QRadioButton); }, 113, 17},
    {"TLabel", "TControl", [] { return static_cast<QWidget *>(new QLabel); }, 65, 13},
    {"TCustomComboBox", "TWinControl", [] { return static_cast<QWidget *>(new ComboBox); }, 145, 21},
    {"TComboBox", "TCustomComboBox", [] { return static_cast<QWidget *>(new ComboBox); }, 145, 21},
    {"TCustomListBox", "TWinControl", [] { return static_cast<QWidget *>(new QListWidget); }, 121, 97},
    {"TListBox", "TCustomListBox", [] { return static_cast<QWidget *>(new QListWidget); }, 121, 97},
    {"TScrollingWinControl", "TWinControl", newScrollBox, 185, 41},
    {"TScrollBox", "TScrollingWinControl", newScrollBox, 185, 41},
    {"TCustomForm", "TScrollingWinControl", [] { return static_cast<QWidget *>(new FormWidget); }, 320, 240},
    {"TForm", "TCustomForm", [] { return static_cast<QWidget *>(new FormWidget); }, 320, 240},
};

QWidget &control(const Variant &self)
{
    return kvGui<QWidget>(self);
}

// A form standing as a window of its own (not placed in another control).
bool isWindow(const QWidget &w)
{
    return dynamic_cast<const QDialog *>(&w) && !w.parentWidget();
}

// Where the children of Parent go: a scroll box's content.
QWidget *containerOf(QWidget *parent)
{
    if (auto *area = dynamic_cast<QScrollArea *>(parent); area && area->widget())
        return area->widget();
    return parent;
}

// The scroll box whose content Widget is, if any.
QScrollArea *scrollBoxOf(QWidget *content)
{
    QWidget *viewport = content ? content->parentWidget() : nullptr;
    auto *area = dynamic_cast<QScrollArea *>(viewport ? viewport->parentWidget() : nullptr);
    return area && area->widget() == content ? area : nullptr;
}

// A scroll box's content covers its controls, and at least its view.
void fitContent(QScrollArea *area)
{
    if (!area)
        return;
    QWidget *content = area->widget();
    const QRect used = content->childrenRect();
    content->resize(qMax(area->viewport()->width(), used.right() + 1),
                    qMax(area->viewport()->height(), used.bottom() + 1));
}

QWidget *parentOf(const QWidget &w)
{
    QWidget *parent = w.parentWidget();
    if (QScrollArea *area = scrollBoxOf(parent))
        return area;
    return parent;
}

bool visibleOf(const QWidget &w)
{
    if (isWindow(w))
        return w.isVisible();
    if (!w.parentWidget()) // a control not placed yet shows once it is
        return w.property("kvVisible").isValid() ? w.property("kvVisible").toBool() : true;
    return !w.isHidden();
}

// Shows a window for Script; without one (a property was set), for the
// script that made the window.
void show(QDialog &form, const TkvScript *script)
{
    const QString what = QStringLiteral("TCustomForm.Show");
    if (script)
        script->CheckAllowed(what);
    else if (form.property("kvRestricted").toBool())
        throw TkvRunError(zelFormat(kvMessage("SRestricted"), {what}), QStringLiteral("Exception"));
    created(form);
    form.show();
    form.raise();
}

void setVisible(QWidget &w, bool visible, const TkvScript *script)
{
    if (isWindow(w)) {
        if (visible)
            show(static_cast<QDialog &>(w), script);
        else
            w.hide();
    } else if (!w.parentWidget()) {
        w.setProperty("kvVisible", visible);
    } else {
        w.setVisible(visible);
    }
}

void setParent(QWidget &w, const Variant &value)
{
    QWidget *parent = kvGuiObjectAs<QWidget>(value);
    const bool visible = visibleOf(w);
    QScrollArea *oldBox = scrollBoxOf(w.parentWidget());
    if (dynamic_cast<QDialog *>(&w))
        w.setParent(parent ? containerOf(parent) : nullptr, parent ? Qt::Widget : Qt::Dialog);
    else
        w.setParent(parent ? containerOf(parent) : nullptr);
    if (parent)
        w.setVisible(visible);
    else
        w.setProperty("kvVisible", visible);
    fitContent(oldBox);
    fitContent(scrollBoxOf(w.parentWidget()));
}

// Resizing asks OnCanResize first.
void resize(QWidget &w, int width, int height)
{
    TkvControlEvent event(TkvControlEvent::CanResize);
    event.Width = width;
    event.Height = height;
    kvSendControlEvent(&w, event);
    if (!event.Allow)
        return;
    w.resize(qMax(0, event.Width), qMax(0, event.Height));
    fitContent(scrollBoxOf(w.parentWidget()));
}

void move(QWidget &w, int left, int top)
{
    w.move(left, top);
    fitContent(scrollBoxOf(w.parentWidget()));
}

QString textOf(const QWidget &w)
{
    if (auto *button = dynamic_cast<const QAbstractButton *>(&w))
        return button->text();
    if (auto *label = dynamic_cast<const QLabel *>(&w))
        return label->text();
    if (auto *box = dynamic_cast<const QGroupBox *>(&w))
        return box->title();
    if (auto *edit = dynamic_cast<const QLineEdit *>(&w))
        return edit->text();
    if (auto *memo = dynamic_cast<const QPlainTextEdit *>(&w))
        return memo->toPlainText();
    if (auto *combo = dynamic_cast<const QComboBox *>(&w))
        return combo->currentText();
    if (dynamic_cast<const QDialog *>(&w))
        return w.windowTitle();
    return w.property("kvText").toString();
}

// Line ends as scripts write them (CR LF) are single line feeds here.
QString lineFeeds(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void setText(QWidget &w, const QString &text)
{
    if (auto *button = dynamic_cast<QAbstractButton *>(&w)) {
        button->setText(text);
    } else if (auto *label = dynamic_cast<QLabel *>(&w)) {
        label->setText(text);
        if (!label->property("kvAutoSize").isValid() || label->property("kvAutoSize").toBool())
            label->adjustSize();
    } else if (auto *box = dynamic_cast<QGroupBox *>(&w)) {
        box->setTitle(text);
    } else if (auto *edit = dynamic_cast<QLineEdit *>(&w)) {
        edit->setText(text);
    } else if (auto *memo = dynamic_cast<QPlainTextEdit *>(&w)) {
        memo->setPlainText(lineFeeds(text));
    } else if (auto *combo = dynamic_cast<QComboBox *>(&w)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentText(text);
    } else if (dynamic_cast<QDialog *>(&w)) {
        w.setWindowTitle(text);
    } else {
        w.setProperty("kvText", text);
    }
}


// The lines of a combo box, a list box or a memo, as TControlStrings.
class Lines
{
public:
    explicit Lines(QObject *control) : FControl(control) {}

    int Count() const
    {
        if (auto *combo = dynamic_cast<QComboBox *>(FControl))
            return combo->count();
        if (auto *list = dynamic_cast<QListWidget *>(FControl))
            return list->count();
        return int(MemoLines().size());
    }
    QString At(int index) const
    {
        Check(index, Count());
        if (auto *combo = dynamic_cast<QComboBox *>(FControl))
            return combo->itemText(index);
        if (auto *list = dynamic_cast<QListWidget *>(FControl))
            return list->item(index)->text();
        return MemoLines().at(index);
    }
    void Set(int index, const QString &s) const
    {
        Check(index, Count());
        if (auto *combo = dynamic_cast<QComboBox *>(FControl)) {
            combo->setItemText(index, s);
        } else if (auto *list = dynamic_cast<QListWidget *>(FControl)) {
            list->item(index)->setText(s);
        } else {
            QStringList lines = MemoLines();
            lines[index] = s;
            SetMemoLines(lines);
        }
    }
    void Insert(int index, const QString &s) const
    {
        Check(index, Count() + 1);
        if (auto *combo = dynamic_cast<QComboBox *>(FControl)) {
            combo->insertItem(index, s);
        } else if (auto *list = dynamic_cast<QListWidget *>(FControl)) {
            list->insertItem(index, s);
        } else {
            QStringList lines = MemoLines();
            lines.insert(index, s);
            SetMemoLines(lines);
        }
    }
    void Remove(int index) const
    {
        Check(index, Count());
        if (auto *combo = dynamic_cast<QComboBox *>(FControl)) {
            combo->removeItem(index);
        } else if (auto *list = dynamic_cast<QListWidget *>(FControl)) {
            delete list->takeItem(index);
        } else {
            QStringList lines = MemoLines();
            lines.removeAt(index);
            SetMemoLines(lines);
        }
    }
    QStringList All() const
    {
        QStringList lines;
        for (int i = 0; i < Count(); ++i)
            lines << At(i);
        return lines;
    }
    void SetAll(const QStringList &lines) const
    {
        if (auto *combo = dynamic_cast<QComboBox *>(FControl)) {
            combo->clear();
            combo->addItems(lines);
        } else if (auto *list = dynamic_cast<QListWidget *>(FControl)) {
            list->clear();
            list->addItems(lines);
        } else {
            SetMemoLines(lines);
        }
    }

private:
    static void Check(int index, int count)
    {
        if (index < 0 || index >= count)
            kvGuiError("SGuiListIndex", {QString::number(index)});
    }
    QStringList MemoLines() const
    {
        const auto *memo = dynamic_cast<QPlainTextEdit *>(FControl);
        const QString text = memo ? memo->toPlainText() : QString();
        if (text.isEmpty())
            return {};
        QStringList lines = text.split(QLatin1Char('\n'));
        if (lines.constLast().isEmpty()) // a text ending with a line break
            lines.removeLast();
        return lines;
    }
    void SetMemoLines(const QStringList &lines) const
    {
        if (auto *memo = dynamic_cast<QPlainTextEdit *>(FControl))
            memo->setPlainText(lines.join(QLatin1Char('\n')));
    }

    QObject *FControl;
};

// The script value of a control's lines: a part of the control.
Variant linesOf(QWidget &w)
{
    for (QObject *child : w.children())
        if (child->objectName() == QLatin1String("qt_kv_lines"))
            return kvGuiObject(child);
    auto *part = new QObject(&w);
    part->setObjectName(QStringLiteral("qt_kv_lines"));
    kvSetGuiClass(part, QStringLiteral("TControlStrings"));
    return kvGuiObject(part);
}

Lines linesAt(const Variant &self)
{
    return Lines(kvGui<QObject>(self).parent());
}

QStringList splitLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(breaks);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// The lines of another control's lines or of a string list; False for anything else.
bool linesFrom(const Variant &source, QStringList &lines)
{
    if (auto *part = TkvObjects::TryGet<QObject>(source); part && part->objectName() == QLatin1String("qt_kv_lines")) {
        lines = Lines(part->parent()).All();
        return true;
    }
    if (auto *list = dynamic_cast<TkvStringList *>(TkvObjects::TryGet<TkvBasicObject>(source))) {
        lines = list->Lines();
        return true;
    }
    return false;
}

bool assignLines(const Variant &target, const Variant &source)
{
    QStringList lines;
    if (!linesFrom(source, lines))
        return false;
    linesAt(target).SetAll(lines);
    return true;
}

QScrollBar &scrollBarOf(const Variant &self)
{
    return kvGui<QScrollBar>(self);
}

QScrollArea *areaOf(const QScrollBar &bar)
{
    for (QObject *o = bar.parent(); o; o = o->parent())
        if (auto *area = dynamic_cast<QScrollArea *>(o))
            return area;
    return nullptr;
}

void addConstants(TkvScript &s)
{
    static const std::pair<const char *, int> constants[] = {
        {"mrNone", 0}, {"mrOk", 1}, {"mrCancel", 2}, {"mrAbort", 3}, {"mrRetry", 4}, {"mrIgnore", 5},
        {"mrYes", 6}, {"mrNo", 7}, {"mrAll", 8}, {"mrNoToAll", 9}, {"mrYesToAll", 10},
        {"crDefault", 0}, {"crNone", -1}, {"crArrow", -2}, {"crCross", -3}, {"crIBeam", -4}, {"crSize", -22},
        {"crSizeNESW", -6}, {"crSizeNS", -7}, {"crSizeNWSE", -8}, {"crSizeWE", -9}, {"crUpArrow", -10},
        {"crHourGlass", -11}, {"crDrag", -12}, {"crNoDrop", -13}, {"crHSplit", -14}, {"crVSplit", -15},
        {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18}, {"crAppStart", -19}, {"crHelp", -20},
        {"crHandPoint", -21}, {"crSizeAll", -22},
        {"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4},
        {"bsSizeToolWin", 5},
        {"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2},
        {"VK_LBUTTON", 1}, {"VK_RBUTTON", 2}, {"VK_CANCEL", 3}, {"VK_MBUTTON", 4}, {"VK_BACK", 8}, {"VK_TAB", 9},
        {"VK_CLEAR", 12}, {"VK_RETURN", 13}, {"VK_SHIFT", 16}, {"VK_CONTROL", 17}, {"VK_MENU", 18},
        {"VK_PAUSE", 19}, {"VK_CAPITAL", 20}, {"VK_ESCAPE", 27}, {"VK_SPACE", 32}, {"VK_PRIOR", 33},
        {"VK_NEXT", 34}, {"VK_END", 35}, {"VK_HOME", 36}, {"VK_LEFT", 37}, {"VK_UP", 38}, {"VK_RIGHT", 39},
        {"VK_DOWN", 40}, {"VK_SELECT", 41}, {"VK_PRINT", 42}, {"VK_EXECUTE", 43}, {"VK_SNAPSHOT", 44},
        {"VK_INSERT", 45}, {"VK_DELETE", 46}, {"VK_HELP", 47}, {"VK_LWIN", 91}, {"VK_RWIN", 92}, {"VK_APPS", 93},
        {"VK_NUMPAD0", 96}, {"VK_NUMPAD1", 97}, {"VK_NUMPAD2", 98}, {"VK_NUMPAD3", 99}, {"VK_NUMPAD4", 100},
        {"VK_NUMPAD5", 101}, {"VK_NUMPAD6", 102}, {"VK_NUMPAD7", 103}, {"VK_NUMPAD8", 104}, {"VK_NUMPAD9", 105},
        {"VK_MULTIPLY", 106}, {"VK_ADD", 107}, {"VK_SEPARATOR", 108}, {"VK_SUBTRACT", 109}, {"VK_DECIMAL", 110},
        {"VK_DIVIDE", 111}, {"VK_NUMLOCK", 144}, {"VK_SCROLL", 145},
    };
    for (const auto &[name, value] : constants)
        s.AddConst(QString::fromLatin1(name), QStringLiteral("Integer"), Variant(value));
    for (int f = 1; f <= 24; ++f)
        s.AddConst(QStringLiteral("VK_F%1").arg(f), QStringLiteral("Integer"), Variant(111 + f));
    s.AddType(QStringLiteral("TModalResult"), fvtInt);
    s.AddType(QStringLiteral("TCursor"), fvtInt);

    // The border styles and alignments are the Integer constants above.
    kvAddEnum(s, QStringLiteral("TFormBorderStyle"),
              QStringLiteral("bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin"));
    kvAddEnum(s, QStringLiteral("TBorderStyle"), QStringLiteral("bsNone, bsSingle"));
    kvAddEnum(s, QStringLiteral("TAlignment"), QStringLiteral("taLeftJustify, taRightJustify, taCenter"));
    kvAddEnum(s, QStringLiteral("TLeftRight"), QStringLiteral("taLeftJustify, taRightJustify"));
    kvAddEnum(s, QStringLiteral("TShiftState"), QStringLiteral("ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble"),
              true);
    kvAddEnum(s, QStringLiteral("TAlign"), QStringLiteral("alNone, alTop, alBottom, alLeft, alRight, alClient"));
    kvAddEnum(s, QStringLiteral("TMouseButton"), QStringLiteral("mbLeft, mbRight, mbMiddle"));
    kvAddEnum(s, QStringLiteral("TAnchors"), QStringLiteral("akLeft, akTop, akRight, akBottom"), true);
    kvAddEnum(s, QStringLiteral("TBevelCut"), QStringLiteral("bvNone, bvLowered, bvRaised, bvSpace"));
    kvAddEnum(s, QStringLiteral("TTextLayout"), QStringLiteral("tlTop, tlCenter, tlBottom"));
    kvAddEnum(s, QStringLiteral("TCloseAction"), QStringLiteral("caNone, caHide, caFree, caMinimize"));
}

template <class T>
TkvEventFactory factory()
{
    return kvEventFactory<T>();
}

// The control classes made here, by name.
using Made = QHash<QString, TkvClassVariable *>;

Made addControl(TkvScript &s)
{
    TkvBinder c(s, QStringLiteral("TControl"), QStringLiteral("TComponent"), true);
    kvAddComponentMembers(c);
    c.Prop(
        "Parent", "TWinControl", [](const Variant &self) { return kvGuiObject(parentOf(control(self))); },
        [](const Variant &self, const Variant &value) { setParent(control(self), value); });
    c.Prop(
        "Left", "Integer", [](const Variant &self) { return Variant(control(self).x()); },
        [](const Variant &self, const Variant &value) { move(control(self), value.ToInt(), control(self).y()); });
    c.Prop(
        "Top", "Integer", [](const Variant &self) { return Variant(control(self).y()); },
        [](const Variant &self, const Variant &value) { move(control(self), control(self).x(), value.ToInt()); });
    c.Prop(
        "Width", "Integer", [](const Variant &self) { return Variant(control(self).width()); },
        [](const Variant &self, const Variant &value) { resize(control(self), value.ToInt(), control(self).height()); });
    c.Prop(
        "Height", "Integer", [](const Variant &self) { return Variant(control(self).height()); },
        [](const Variant &self, const Variant &value) { resize(control(self), control(self).width(), value.ToInt()); });
    c.Method("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Integer)", [](Call &call) {
        QWidget &w = control(call.Instance);
        move(w, call.Params[0].ToInt(), call.Params[1].ToInt());
        resize(w, call.Params[2].ToInt(), call.Params[3].ToInt());
        return none();
    });
    c.Method("procedure Show", [](Call &call) {
        setVisible(control(call.Instance), true, &call.Script);
        return none();
    });
    c.Method("procedure Hide", [](Call &call) {
        setVisible(control(call.Instance), false, &call.Script);
        return none();
    });
    c.Prop(
        "Visible", "Boolean", [](const Variant &self) { return Variant(visibleOf(control(self))); },
        [](const Variant &self, const Variant &value) { setVisible(control(self), value.ToBool(), nullptr); });
    c.Prop(
        "Enabled", "Boolean", [](const Variant &self) { return Variant(!control(self).testAttribute(Qt::WA_ForceDisabled)); },
        [](const Variant &self, const Variant &value) { control(self).setEnabled(value.ToBool()); });
    c.Prop(
        "Caption", "String", [](const Variant &self) { return Variant(textOf(control(self))); },
        [](const Variant &self, const Variant &value) { setText(control(self), value.ToString()); });
    c.Prop(
        "Text", "String", [](const Variant &self) { return Variant(textOf(control(self))); },
        [](const Variant &self, const Variant &value) { setText(control(self), value.ToString()); });
    c.Prop(
        "Hint", "String", [](const Variant &self) { return Variant(control(self).toolTip()); },
        [](const Variant &self, const Variant &value) { control(self).setToolTip(value.ToString()); });
    c.Prop(
        "Cursor", "TCursor", [](const Variant &self) { return Variant(control(self).property("kvCursor").toInt()); },
        [](const Variant &self, const Variant &value) {
            QWidget &w = control(self);
            w.setProperty("kvCursor", value.ToInt());
            if (value.ToInt() == 0)
                w.unsetCursor();
            else
                w.setCursor(kvCursorShape(value.ToInt()));
        });
    c.Event("OnCanResize", factory<TkvCanResizeEvent>());
    c.Event("OnClick", factory<TkvNotifyEvent>());
    c.Event("OnDblClick", factory<TkvNotifyEvent>());
    c.Event("OnMouseDown", factory<TkvMouseEvent>());
    c.Event("OnMouseMove", factory<TkvMouseMoveEvent>());
    c.Event("OnMouseUp", factory<TkvMouseEvent>());
    c.Event("OnResize", factory<TkvNotifyEvent>());

    TkvBinder w(s, QStringLiteral("TWinControl"), QStringLiteral("TControl"), true);
    w.Method("procedure SetFocus", [](Call &call) {
        control(call.Instance).setFocus();
        return none();
    });
    w.Method("function Focused: Boolean", [](Call &call) { return Variant(control(call.Instance).hasFocus()); });
    w.Method("procedure Invalidate", [](Call &call) {
        control(call.Instance).update();
        return none();
    });
    w.Event("OnEnter", factory<TkvNotifyEvent>());
    w.Event("OnExit", factory<TkvNotifyEvent>());
    w.Event("OnKeyDown", factory<TkvKeyEvent>());
    w.Event("OnKeyPress", factory<TkvKeyPressEvent>());
    w.Event("OnKeyUp", factory<TkvKeyEvent>());
    return {{QStringLiteral("TControl"), c.Class()}, {QStringLiteral("TWinControl"), w.Class()}};
}

Made addControls(TkvScript &s, Made made)
{
    // Each class makes its own widget: a constructor is found in ancestors too.
    for (const ControlKind &kind : kControls) {
        const QString className = QString::fromLatin1(kind.Name);
        if (!made.contains(className))
            made.insert(className, s.AddClass(className, QString::fromLatin1(kind.Ancestor)));
        TkvClassVariable *binding = made.value(className);
        TkvBinder(s, binding, true).Constructor("constructor Create(AOwner: TComponent)", [kind, className](Call &call) {
            kvCheckWidgets(className + QStringLiteral(".Create"));
            QObject *owner = kvGuiObjectOf(call.Params[0]);
            QWidget *w = kind.Make();
            kvSetGuiClass(w, className);
            w->setProperty("kvRestricted", call.Script.IsRestricted());
            w->resize(kind.Width, kind.Height);
            if (owner)
                kvSetOwner(w, owner);
            return kvGuiObject(w);
        });
    }
    const auto binder = [&s, &made](const char *name) { return TkvBinder(s, made.value(QString::fromLatin1(name)), true); };

    TkvBinder lines(s, QStringLiteral("TControlStrings"), QStringLiteral("TStrings"), true);
    kvAddPersistentMembers(lines, assignLines);
    lines.Method("function Add(const S: String): Integer", [](Call &call) {
        const Lines l = linesAt(call.Instance);
        const int index = l.Count();
        l.Insert(index, call.Params[0].ToString());
        return Variant(index);
    });
    lines.Method("procedure Clear", [](Call &call) {
        linesAt(call.Instance).SetAll({});
        return none();
    });
    lines.Method("procedure Delete(Index: Integer)", [](Call &call) {
        linesAt(call.Instance).Remove(call.Params[0].ToInt());
        return none();
    });
    lines.Method("procedure Insert(Index: Integer; const S: String)", [](Call &call) {
        linesAt(call.Instance).Insert(call.Params[0].ToInt(), call.Params[1].ToString());
        return none();
    });
    lines.Method("function IndexOf(const S: String): Integer", [](Call &call) {
        const QStringList all = linesAt(call.Instance).All();
        const QString wanted = call.Params[0].ToString();
        for (qsizetype i = 0; i < all.size(); ++i)
            if (all.at(i).compare(wanted, Qt::CaseInsensitive) == 0)
                return Variant(int(i));
        return Variant(-1);
    });
    lines.Prop("Count", "Integer", [](const Variant &self) { return Variant(linesAt(self).Count()); });
    lines.Prop(
        "Text", "String",
        [](const Variant &self) {
            QString text;
            for (const QString &line : linesAt(self).All())
                text += line + QStringLiteral("\r\n");
            return Variant(text);
        },
        [](const Variant &self, const Variant &value) { linesAt(self).SetAll(splitLines(value.ToString())); });
    lines.Indexed(
        "Strings", "Integer", "String",
        [](Call &call) {
            const Lines l = linesAt(call.Instance);
            const int index = call.Params[0].ToInt();
            if (call.Name.endsWith(QLatin1String(".SET")))
                l.Set(index, call.Params[1].ToString());
            return Variant(l.At(index));
        },
        false, true);

    const auto linesProperty = [](TkvBinder &b, const char *name) {
        b.Prop(
            name, "TControlStrings", [](const Variant &self) { return linesOf(control(self)); },
            [](const Variant &self, const Variant &value) {
                const Variant target = linesOf(control(self));
                if (!assignLines(target, value))
                    kvGuiError("SGuiCannotAssign", {TkvObjects::ClassName(value), QStringLiteral("TControlStrings")});
            });
    };

    TkvBinder edit = binder("TEdit");
    edit.Prop(
        "ReadOnly", "Boolean", [](const Variant &self) { return Variant(kvGui<QLineEdit>(self).isReadOnly()); },
        [](const Variant &self, const Variant &value) { kvGui<QLineEdit>(self).setReadOnly(value.ToBool()); });
    edit.Prop(
        "MaxLength", "Integer",
        [](const Variant &self) {
            const int length = kvGui<QLineEdit>(self).maxLength();
            return Variant(length == 32767 ? 0 : length);
        },
        [](const Variant &self, const Variant &value) {
            kvGui<QLineEdit>(self).setMaxLength(value.ToInt() > 0 ? value.ToInt() : 32767);
        });
    edit.Prop(
        "PasswordChar", "Char",
        [](const Variant &self) {
            return Variant(kvGui<QLineEdit>(self).echoMode() == QLineEdit::Password ? QStringLiteral("*") : QString(QChar(0)));
        },
        [](const Variant &self, const Variant &value) {
            const QString c = value.ToString();
            kvGui<QLineEdit>(self).setEchoMode(c.isEmpty() || c.at(0).isNull() ? QLineEdit::Normal : QLineEdit::Password);
        });
    edit.Method("procedure Clear", [](Call &call) {
        kvGui<QLineEdit>(call.Instance).clear();
        return none();
    });
    edit.Method("procedure SelectAll", [](Call &call) {
        kvGui<QLineEdit>(call.Instance).selectAll();
        return none();
    });
    edit.Event("OnChange", factory<TkvNotifyEvent>());

    TkvBinder memo = binder("TMemo");
    linesProperty(memo, "Lines");
    memo.Prop(
        "ReadOnly", "Boolean", [](const Variant &self) { return Variant(kvGui<QPlainTextEdit>(self).isReadOnly()); },
        [](const Variant &self, const Variant &value) { kvGui<QPlainTextEdit>(self).setReadOnly(value.ToBool()); });
    memo.Prop(
        "WordWrap", "Boolean",
        [](const Variant &self) { return Variant(kvGui<QPlainTextEdit>(self).lineWrapMode() != QPlainTextEdit::NoWrap); },
        [](const Variant &self, const Variant &value) {
            kvGui<QPlainTextEdit>(self).setLineWrapMode(value.ToBool() ? QPlainTextEdit::WidgetWidth
                                                                       : QPlainTextEdit::NoWrap);
        });
    memo.Method("procedure Clear", [](Call &call) {
        kvGui<QPlainTextEdit>(call.Instance).clear();
        return none();
    });
    memo.Event("OnChange", factory<TkvNotifyEvent>());

    TkvBinder button = binder("TButton");
    button.Method("procedure Click", [](Call &call) {
        kvGui<QPushButton>(call.Instance).click();
        return none();
    });
    button.Prop(
        "ModalResult", "TModalResult",
        [](const Variant &self) { return Variant(kvGui<QPushButton>(self).property("kvModalResult").toInt()); },
        [](const Variant &self, const Variant &value) { kvGui<QPushButton>(self).setProperty("kvModalResult", value.ToInt()); });
    button.Prop(
        "Default", "Boolean", [](const Variant &self) { return Variant(kvGui<QPushButton>(self).isDefault()); },
        [](const Variant &self, const Variant &value) { kvGui<QPushButton>(self).setDefault(value.ToBool()); });

    for (const char *name : {"TCheckBox", "TRadioButton"}) {
        TkvBinder check = binder(name);
        check.Prop(
            "Checked", "Boolean", [](const Variant &self) { return Variant(kvGui<QAbstractButton>(self).isChecked()); },
            [](const Variant &self, const Variant &value) { kvGui<QAbstractButton>(self).setChecked(value.ToBool()); });
        // Right-justified: the caption right of the box, as usual.
        check.Prop(
            "Alignment", "TLeftRight",
            [](const Variant &self) { return Variant(control(self).layoutDirection() == Qt::RightToLeft ? 0 : 1); },
            [](const Variant &self, const Variant &value) {
                control(self).setLayoutDirection(value.ToInt() == 0 ? Qt::RightToLeft : Qt::LeftToRight);
            });
    }

    TkvBinder label = binder("TLabel");
    label.Prop(
        "AutoSize", "Boolean",
        [](const Variant &self) {
            const QVariant autoSize = kvGui<QLabel>(self).property("kvAutoSize");
            return Variant(!autoSize.isValid() || autoSize.toBool());
        },
        [](const Variant &self, const Variant &value) {
            QLabel &l = kvGui<QLabel>(self);
            l.setProperty("kvAutoSize", value.ToBool());
            if (value.ToBool())
                l.adjustSize();
        });
    label.Prop(
        "WordWrap", "Boolean", [](const Variant &self) { return Variant(kvGui<QLabel>(self).wordWrap()); },
        [](const Variant &self, const Variant &value) { kvGui<QLabel>(self).setWordWrap(value.ToBool()); });
    label.Prop(
        "Alignment", "TAlignment",
        [](const Variant &self) {
            const Qt::Alignment a = kvGui<QLabel>(self).alignment();
            return Variant((a & Qt::AlignHCenter) ? 2 : (a & Qt::AlignRight) ? 1 : 0);
        },
        [](const Variant &self, const Variant &value) {
            QLabel &l = kvGui<QLabel>(self);
            const Qt::Alignment h = value.ToInt() == 2 ? Qt::AlignHCenter : value.ToInt() == 1 ? Qt::AlignRight : Qt::AlignLeft;
            l.setAlignment(h | (l.alignment() & Qt::AlignVertical_Mask));
        });
    label.Prop(
        "Layout", "TTextLayout",
        [](const Variant &self) {
            const Qt::Alignment a = kvGui<QLabel>(self).alignment();
            return Variant((a & Qt::AlignVCenter) ? 1 : (a & Qt::AlignBottom) ? 2 : 0);
        },
        [](const Variant &self, const Variant &value) {
            QLabel &l = kvGui<QLabel>(self);
            const Qt::Alignment v = value.ToInt() == 1 ? Qt::AlignVCenter : value.ToInt() == 2 ? Qt::AlignBottom : Qt::AlignTop;
            l.setAlignment(v | (l.alignment() & Qt::AlignHorizontal_Mask));
        });

    TkvBinder combo = binder("TCustomComboBox");
    linesProperty(combo, "Items");
    combo.Prop(
        "ItemIndex", "Integer", [](const Variant &self) { return Variant(kvGui<QComboBox>(self).currentIndex()); },
        [](const Variant &self, const Variant &value) { kvGui<QComboBox>(self).setCurrentIndex(value.ToInt()); });
    combo.Prop(
        "DroppedDown", "Boolean",
        [](const Variant &self) { return Variant(kvGui<QComboBox>(self).view()->isVisible()); },
        [](const Variant &self, const Variant &value) {
            QComboBox &c = kvGui<QComboBox>(self);
            if (value.ToBool())
                c.showPopup();
            else
                c.hidePopup();
        });
    combo.Event("OnChange", factory<TkvNotifyEvent>());
    combo.Event("OnDropDown", factory<TkvNotifyEvent>());
    combo.Event("OnCloseUp", factory<TkvNotifyEvent>());

    TkvBinder list = binder("TCustomListBox");
    linesProperty(list, "Items");
    list.Prop(
        "ItemIndex", "Integer", [](const Variant &self) { return Variant(kvGui<QListWidget>(self).currentRow()); },
        [](const Variant &self, const Variant &value) { kvGui<QListWidget>(self).setCurrentRow(value.ToInt()); });
    list.Prop(
        "MultiSelect", "Boolean",
        [](const Variant &self) {
            return Variant(kvGui<QListWidget>(self).selectionMode() == QAbstractItemView::ExtendedSelection);
        },
        [](const Variant &self, const Variant &value) {
            kvGui<QListWidget>(self).setSelectionMode(value.ToBool() ? QAbstractItemView::ExtendedSelection
                                                                     : QAbstractItemView::SingleSelection);
        });
    list.Prop("SelCount", "Integer", [](const Variant &self) {
        QListWidget &l = kvGui<QListWidget>(self);
        // A list choosing one item answers -1, as there is no count to give.
        return Variant(l.selectionMode() == QAbstractItemView::ExtendedSelection ? int(l.selectedItems().size()) : -1);
    });
    list.Indexed("Selected", "Integer", "Boolean", [](Call &call) {
        QListWidget &l = kvGui<QListWidget>(call.Instance);
        const int index = call.Params[0].ToInt();
        QListWidgetItem *item = l.item(index);
        if (!item)
            kvGuiError("SGuiListIndex", {QString::number(index)});
        if (call.Name.endsWith(QLatin1String(".SET")))
            item->setSelected(call.Params[1].ToBool());
        return Variant(item->isSelected());
    });
    list.Method("procedure Clear", [](Call &call) {
        kvGui<QListWidget>(call.Instance).clear();
        return none();
    });

    TkvBinder bar(s, QStringLiteral("TControlScrollBar"), QStringLiteral("TPersistent"), true);
    kvAddPersistentMembers(bar, nullptr);
    bar.Prop(
        "Position", "Integer", [](const Variant &self) { return Variant(scrollBarOf(self).value()); },
        [](const Variant &self, const Variant &value) { scrollBarOf(self).setValue(value.ToInt()); });
    bar.Prop(
        "Increment", "Integer", [](const Variant &self) { return Variant(scrollBarOf(self).singleStep()); },
        [](const Variant &self, const Variant &value) { scrollBarOf(self).setSingleStep(qMax(1, value.ToInt())); });
    bar.Prop(
        "Range", "Integer",
        [](const Variant &self) {
            const QScrollBar &b = scrollBarOf(self);
            const QScrollArea *area = areaOf(b);
            const QWidget *content = area ? area->widget() : nullptr;
            if (!content)
                return Variant(0);
            return Variant(b.orientation() == Qt::Horizontal ? content->width() : content->height());
        },
        [](const Variant &self, const Variant &value) {
            const QScrollBar &b = scrollBarOf(self);
            QScrollArea *area = areaOf(b);
            if (QWidget *content = area ? area->widget() : nullptr) {
                if (b.orientation() == Qt::Horizontal)
                    content->resize(qMax(0, value.ToInt()), content->height());
                else
                    content->resize(content->width(), qMax(0, value.ToInt()));
            }
        });
    bar.Prop(
        "Visible", "Boolean",
        [](const Variant &self) {
            const QScrollBar &b = scrollBarOf(self);
            const QScrollArea *area = areaOf(b);
            if (!area)
                return Variant(false);
            const Qt::ScrollBarPolicy policy = b.orientation() == Qt::Horizontal ? area->horizontalScrollBarPolicy()
                                                                                 : area->verticalScrollBarPolicy();
            return Variant(policy != Qt::ScrollBarAlwaysOff);
        },
        [](const Variant &self, const Variant &value) {
            const QScrollBar &b = scrollBarOf(self);
            if (QScrollArea *area = areaOf(b)) {
                const Qt::ScrollBarPolicy policy = value.ToBool() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
                if (b.orientation() == Qt::Horizontal)
                    area->setHorizontalScrollBarPolicy(policy);
                else
                    area->setVerticalScrollBarPolicy(policy);
            }
        });

    TkvBinder scrolling = binder("TScrollingWinControl");
    const auto scrollBar = [](const Variant &self, bool horizontal) {
        QWidget &w = control(self);
        QScrollBar *b = nullptr;
        if (auto *area = dynamic_cast<QScrollArea *>(&w))
            b = horizontal ? area->horizontalScrollBar() : area->verticalScrollBar();
        if (b)
            kvSetGuiClass(b, QStringLiteral("TControlScrollBar"));
        return kvGuiObject(b);
    };
    scrolling.Prop("HorzScrollBar", "TControlScrollBar", [scrollBar](const Variant &self) { return scrollBar(self, true); });
    scrolling.Prop("VertScrollBar", "TControlScrollBar", [scrollBar](const Variant &self) { return scrollBar(self, false); });
    return made;
}

void addForms(TkvScript &s, const Made &made)
{
    const auto binder = [&s, &made](const char *name) { return TkvBinder(s, made.value(QString::fromLatin1(name)), true); };
    TkvBinder form = binder("TCustomForm");
    form.Method("procedure Show", [](Call &call) {
        show(kvGui<QDialog>(call.Instance), &call.Script);
        return none();
    });
    form.Method("procedure Hide", [](Call &call) {
        kvGui<QDialog>(call.Instance).hide();
        return none();
    });
    form.Method("procedure Close", [](Call &call) {
        kvGui<QDialog>(call.Instance).close();
        return none();
    });
    form.Method("procedure Release", [](Call &call) {
        kvGui<QDialog>(call.Instance).deleteLater();
        return none();
    });
    form.Method("function ShowModal: Integer", [](Call &call) {
        call.Script.CheckAllowed(QStringLiteral("TCustomForm.ShowModal"));
        QDialog &f = kvGui<QDialog>(call.Instance);
        if (f.isVisible())
            kvGuiError("SGuiVisibleModal");
        created(f);
        f.setResult(mrNone);
        f.setProperty("kvInModal", true);
        const QPointer<QDialog> alive(&f);
        int result = mrNone;
        const auto finish = qScopeGuard([&alive] {
            if (alive)
                alive->setProperty("kvInModal", false);
        });
        // The user answers the window: handler errors are shown, not raised here.
        kvNativeCall(
            [&] {
                if (const TkvRunModal &runner = runModal())
                    result = runner(f);
                else
                    result = f.exec();
            },
            true);
        if (alive && alive->isVisible())
            alive->hide();
        return Variant(result);
    });
    form.Prop(
        "ModalResult", "TModalResult", [](const Variant &self) { return Variant(kvGui<QDialog>(self).result()); },
        [](const Variant &self, const Variant &value) { setModalResult(kvGui<QDialog>(self), value.ToInt()); });
    form.Prop("Canvas", "TCanvas", [](const Variant &self) { return kvGraphicsRef(&kvGui<FormWidget>(self).Canvas()); });
    form.Prop(
        "ClientWidth", "Integer", [](const Variant &self) { return Variant(control(self).width()); },
        [](const Variant &self, const Variant &value) { resize(control(self), value.ToInt(), control(self).height()); });
    form.Prop(
        "ClientHeight", "Integer", [](const Variant &self) { return Variant(control(self).height()); },
        [](const Variant &self, const Variant &value) { resize(control(self), control(self).width(), value.ToInt()); });
    form.Prop(
        "BorderStyle", "TFormBorderStyle",
        [](const Variant &self) {
            const QVariant style = control(self).property("kvBorderStyle");
            return Variant(style.isValid() ? style.toInt() : 2);
        },
        [](const Variant &self, const Variant &value) {
            QWidget &w = control(self);
            const int style = value.ToInt();
            w.setProperty("kvBorderStyle", style);
            Qt::WindowFlags flags = Qt::Dialog;
            if (style == 0)
                flags |= Qt::FramelessWindowHint;
            else if (style == 4 || style == 5)
                flags = Qt::Tool;
            const bool visible = w.isVisible();
            w.setWindowFlags(flags);
            // Single and dialog borders do not let the user resize.
            if (style == 1 || style == 3 || style == 4) {
                w.setFixedSize(w.size());
            } else {
                w.setMinimumSize(0, 0);
                w.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            }
            if (visible)
                w.show();
        });
    form.Event("OnActivate", factory<TkvNotifyEvent>());
    form.Event("OnClose", factory<TkvCloseEvent>());
    form.Event("OnCloseQuery", factory<TkvCloseQueryEvent>());
    form.Event("OnCreate", factory<TkvNotifyEvent>());
    form.Event("OnDestroy", factory<TkvNotifyEvent>());
    form.Event("OnDeactivate", factory<TkvNotifyEvent>());
    form.Event("OnHide", factory<TkvNotifyEvent>());
    form.Event("OnPaint", factory<TkvNotifyEvent>());
    form.Event("OnShow", factory<TkvNotifyEvent>());

    TkvBinder module(s, QStringLiteral("TDataModule"), QStringLiteral("TComponent"), true);
    kvAddComponentMembers(module);
    module.Constructor("constructor Create(AOwner: TComponent)", [](Call &call) {
        return kvGuiObject(kvNewComponent(QStringLiteral("TDataModule"), call.Params[0]));
    });

    TkvBinder app(s, QStringLiteral("TApplication"), QStringLiteral("TComponent"), true);
    kvAddComponentMembers(app);
    app.Method("procedure ProcessMessages", [](Call &) {
        kvNativeCall([] { QCoreApplication::processEvents(); }, true);
        return none();
    });
    app.Method("procedure Minimize", [](Call &) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->showMinimized();
        return none();
    });
    app.Method("procedure Restore", [](Call &) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isMinimized())
                w->showNormal();
        return none();
    });
    app.Prop("ExeName", "String", [](const Variant &) { return Variant(QCoreApplication::applicationFilePath()); });
    app.Prop(
        "Title", "String", [](const Variant &) { return Variant(QCoreApplication::applicationName()); },
        [](const Variant &, const Variant &value) { QCoreApplication::setApplicationName(value.ToString()); });
    // The application object may come after the scripts: read it when used.
    s.AddVariable(QStringLiteral("Application"), QStringLiteral("TApplication"), Variant(0));
    if (TkvCustomVariable *application = s.FindLocal(QStringLiteral("Application")))
        application->OnGetVarValue = [](const QString &, TkvVarType, const Variant &) {
            return kvGuiObject(QCoreApplication::instance());
        };
}

} // namespace

TkvFormsRTTI::TkvFormsRTTI(TkvScript *script) : TkvRTTIModule(script)
{
    TkvScript &s = *script;
    addConstants(s);
    addForms(s, addControls(s, addControl(s)));
}

void kvSetRunModal(TkvRunModal runner)
{
    runModal() = std::move(runner);
}
