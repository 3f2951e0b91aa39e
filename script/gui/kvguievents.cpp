#include "script/gui/kvguievents.h"

#include "script/gui/kvguiobjects.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QWidget>

QEvent::Type TkvControlEvent::EventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

TkvControlEvent::~TkvControlEvent() = default;

TkvControlEvent &kvSendControlEvent(QObject *object, TkvControlEvent &event)
{
    QCoreApplication::sendEvent(object, &event);
    return event;
}

namespace {

const struct
{
    int Qt;
    int Vk;
} kKeys[] = {
    {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},      {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},       {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},         {Qt::Key_Pause, 19},       {Qt::Key_CapsLock, 20},    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},      {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},        {Qt::Key_Left, 37},        {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},        {Qt::Key_Select, 41},      {Qt::Key_Printer, 42},     {Qt::Key_Execute, 43},
    {Qt::Key_Print, 44},       {Qt::Key_Insert, 45},      {Qt::Key_Delete, 46},      {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},        {Qt::Key_Menu, 93},        {Qt::Key_NumLock, 144},    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186},  {Qt::Key_Equal, 187},      {Qt::Key_Comma, 188},      {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},     {Qt::Key_Slash, 191},      {Qt::Key_QuoteLeft, 192},  {Qt::Key_BracketLeft, 219},
    {Qt::Key_Backslash, 220},  {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
};
} // namespace

// The events of one control, fired from its Qt events in a fixed order.
// It lives as a child of the control and watches the control and the inner
// widgets that take its input (a scroll area's viewport, a combo box's editor).
class TkvEventDispatcher final : public QObject
{
public:
    /// The dispatcher of Control, made on first use.
    static TkvEventDispatcher *Of(QObject *control)
    {
        for (QObject *child : control->children())
            if (auto *d = dynamic_cast<TkvEventDispatcher *>(child))
                return d;
        return new TkvEventDispatcher(control);
    }

    void Attach(const QString &event, TkvWidgetEvent *adapter) { FHandlers.insert(event.toUpper(), adapter); }
    void Detach(const TkvWidgetEvent *adapter)
    {
        for (auto it = FHandlers.begin(); it != FHandlers.end();)
            it = it.value() == adapter ? FHandlers.erase(it) : std::next(it);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TkvEventDispatcher(QObject *control) : QObject(control)
    {
        setObjectName(QStringLiteral("qt_kv_events"));
        control->installEventFilter(this);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
            area->viewport()->installEventFilter(this);
        if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }

    template <class T>
    T *Handler(const char *name) const
    {
        return dynamic_cast<T *>(FHandlers.value(QLatin1String(name)));
    }
    bool Notify(const char *name) const
    {
        if (auto *h = Handler<TkvNotifyEvent>(name)) {
            h->Notify();
            return true;
        }
        return false;
    }
    bool Mouse(QObject *watched, QMouseEvent *event);
    bool Key(QObject *watched, QKeyEvent *event);
    void Control(TkvControlEvent *event);

    // Whether Event, seen by the control, is one an inner widget already
    // handled and left to its parent; remembers events the inner widgets see.
    bool Seen(QObject *watched, const QInputEvent *event);

    QHash<QString, TkvWidgetEvent *> FHandlers; // by upper-case event name
    bool FReplaying = false;                    // a key event the handlers changed goes on unseen
    struct
    {
        QEvent::Type Type = QEvent::None;
        quint64 Time = 0;
        QPointF Global;
        int Key = 0;
    } FInnerEvent;                              // the last input event of an inner widget
};

bool TkvEventDispatcher::Mouse(QObject *watched, QMouseEvent *event)
{
    auto *control = static_cast<QWidget *>(parent());
    QPoint at = event->position().toPoint();
    if (watched != control && watched->isWidgetType())
        at = static_cast<QWidget *>(watched)->mapTo(control, at);
    int shift = kvShiftState(event->modifiers(), event->buttons());
    const int button = kvMouseButton(event->button());
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        Notify("ONDBLCLICK");
        shift |= 64; // ssDouble
        [[fallthrough]];
    case QEvent::MouseButtonPress:
        if (auto *h = Handler<TkvMouseEvent>("ONMOUSEDOWN"))
            h->Mouse(button, shift, at.x(), at.y());
        break;
    case QEvent::MouseButtonRelease:
        if (auto *h = Handler<TkvMouseEvent>("ONMOUSEUP"))
            h->Mouse(button, shift, at.x(), at.y());
        // Buttons click through their signal; other controls on a release
        // of the left button over them.
        if (event->button() == Qt::LeftButton && !qobject_cast<QAbstractButton *>(control)
            && control->rect().contains(at))
            Notify("ONCLICK");
        break;
    case QEvent::MouseMove:
        if (auto *h = Handler<TkvMouseMoveEvent>("ONMOUSEMOVE"))
            h->Move(shift, at.x(), at.y());
        break;
    default:
        break;
    }
    return false;
}

bool TkvEventDispatcher::Key(QObject *watched, QKeyEvent *event)
{
    const int shift = kvShiftState(event->modifiers());
    const int vk = kvVirtualKey(event->key(), event->modifiers());
    int key = vk;
    QString text = event->text();
    if (event->type() == QEvent::KeyRelease) {
        if (auto *h = Handler<TkvKeyEvent>("ONKEYUP"))
            h->Key(key, shift);
        return key != vk && key == 0;
    }
    if (auto *h = Handler<TkvKeyEvent>("ONKEYDOWN")) {
        h->Key(key, shift);
        if (key != vk && key == 0)
            return true;
    }
    if (!text.isEmpty())
        if (auto *h = Handler<TkvKeyPressEvent>("ONKEYPRESS")) {
            const QString typed = text;
            h->Press(text);
            if (text != typed && (text.isEmpty() || text.at(0).isNull()))
                return true;
        }
    if (key == vk && text == event->text())
        return false;
    // The control gets the keystroke as the handlers left it.
    const int qtKey = key == vk ? event->key() : kvQtKey(key);
    QKeyEvent changed(event->type(), qtKey, event->modifiers(), text, event->isAutoRepeat(), event->count());
    FReplaying = true;
    QCoreApplication::sendEvent(watched, &changed);
    FReplaying = false;
    return true;
}

void TkvEventDispatcher::Control(TkvControlEvent *event)
{
    switch (event->What) {
    case TkvControlEvent::CanResize:
        if (auto *h = Handler<TkvCanResizeEvent>("ONCANRESIZE"))
            h->CanResize(event->Width, event->Height, event->Allow);
        break;
    case TkvControlEvent::CloseQuery:
        if (auto *h = Handler<TkvCloseQueryEvent>("ONCLOSEQUERY"))
            h->Query(event->Allow);
        break;
    case TkvControlEvent::Close:
        if (auto *h = Handler<TkvCloseEvent>("ONCLOSE"))
            h->Close(event->Action);
        break;
    case TkvControlEvent::Paint:
        Notify("ONPAINT");
        break;
    case TkvControlEvent::DropDown:
        Notify("ONDROPDOWN");
        break;
    case TkvControlEvent::CloseUp:
        Notify("ONCLOSEUP");
        break;
    case TkvControlEvent::Create:
        Notify("ONCREATE");
        break;
    case TkvControlEvent::Destroy:
        Notify("ONDESTROY");
        break;
    }
}

bool TkvEventDispatcher::Seen(QObject *watched, const QInputEvent *event)
{
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    const QPointF global = isKey ? QPointF() : static_cast<const QMouseEvent *>(event)->globalPosition();
    const int key = isKey ? static_cast<const QKeyEvent *>(event)->key() : 0;
    if (watched != parent()) {
        FInnerEvent = {event->type(), event->timestamp(), global, key};
        return false;
    }
    const bool seen = FInnerEvent.Type == event->type() && FInnerEvent.Time == event->timestamp()
                   && FInnerEvent.Global == global && FInnerEvent.Key == key;
    FInnerEvent.Type = QEvent::None;
    return seen;
}

bool TkvEventDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (FReplaying || FHandlers.isEmpty())
        return false;
    const bool own = watched == parent();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (Seen(watched, static_cast<QInputEvent *>(event)))
            return false;
        return Mouse(watched, static_cast<QMouseEvent *>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (Seen(watched, static_cast<QInputEvent *>(event)))
            return false;
        return Key(watched, static_cast<QKeyEvent *>(event));
    case QEvent::Resize:
        if (own)
            Notify("ONRESIZE");
        break;
    case QEvent::FocusIn:
        if (own)
            Notify("ONENTER");
        break;
    case QEvent::FocusOut:
        if (own)
            Notify("ONEXIT");
        break;
    case QEvent::Show:
        if (own)
            Notify("ONSHOW");
        break;
    case QEvent::Hide:
        if (own)
            Notify("ONHIDE");
        break;
    case QEvent::WindowActivate:
        if (own)
            Notify("ONACTIVATE");
        break;
    case QEvent::WindowDeactivate:
        if (own)
            Notify("ONDEACTIVATE");
        break;
    default:
        if (own && event->type() == TkvControlEvent::EventType())
            Control(static_cast<TkvControlEvent *>(event));
        break;
    }
    return false;
}

TkvWidgetEvent::TkvWidgetEvent(TkvEventTarget target)
    : TkvCustomEvent(std::move(target)), FObject(kvGuiObjectOf(Target().Instance))
{
    if (FObject) {
        FDispatcher = TkvEventDispatcher::Of(FObject);
        FDispatcher->Attach(Target().EventName, this);
    }
}

TkvWidgetEvent::~TkvWidgetEvent()
{
    Detach();
    QObject::disconnect(FConnection);
}

void TkvWidgetEvent::Detach()
{
    if (FDispatcher)
        FDispatcher->Detach(this);
    FDispatcher = nullptr;
}

void TkvWidgetEvent::Fire(std::span<Variant> args) const
{
    kvRunHandler(FObject.data(), [this, args] { CallHandler(args); });
}

TkvNotifyEvent::TkvNotifyEvent(TkvEventTarget target) : TkvWidgetEvent(std::move(target))
{
    QObject *object = Object();
    const QString &event = Target().EventName;
    if (event.compare(QLatin1String("OnClick"), Qt::CaseInsensitive) == 0) {
        if (auto *button = qobject_cast<QAbstractButton *>(object))
            ConnectSignal(button, &QAbstractButton::clicked);
        else if (auto *combo = qobject_cast<QComboBox *>(object))
            ConnectSignal(combo, &QComboBox::activated);
    } else if (event.compare(QLatin1String("OnChange"), Qt::CaseInsensitive) == 0) {
        if (auto *edit = qobject_cast<QLineEdit *>(object))
            ConnectSignal(edit, &QLineEdit::textChanged);
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(object))
            ConnectSignal(memo, &QPlainTextEdit::textChanged);
        else if (auto *combo = qobject_cast<QComboBox *>(object))
            ConnectSignal(combo, &QComboBox::currentTextChanged);
    }
}

void TkvNotifyEvent::Notify() const
{
    Variant args[] = {Target().Instance};
    Fire(args);
}

void TkvMouseEvent::Mouse(int button, int shift, int x, int y) const
{
    Variant args[] = {Target().Instance, Variant(button), Variant(shift), Variant(x), Variant(y)};
    Fire(args);
}

TkvMouseMoveEvent::TkvMouseMoveEvent(TkvEventTarget target) : TkvWidgetEvent(std::move(target))
{
    // Qt reports moves without a pressed button only to those who ask.
    if (auto *widget = qobject_cast<QWidget *>(Object())) {
        widget->setMouseTracking(true);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
            area->viewport()->setMouseTracking(true);
    }
}

void TkvMouseMoveEvent::Move(int shift, int x, int y) const
{
    Variant args[] = {Target().Instance, Variant(shift), Variant(x), Variant(y)};
    Fire(args);
}

void TkvKeyEvent::Key(int &key, int shift) const
{
    Variant args[] = {Target().Instance, Variant(key), Variant(shift)};
    Fire(args);
    key = args[1].ToInt();
}

void TkvKeyPressEvent::Press(QString &key) const
{
    Variant args[] = {Target().Instance, Variant(key.left(1))};
    Fire(args);
    key = args[1].IsNull() || args[1].IsEmpty() ? QString() : args[1].ToString().left(1);
}

void TkvCloseEvent::Close(int &action) const
{
    Variant args[] = {Target().Instance, Variant(action)};
    Fire(args);
    action = args[1].ToInt();
}

void TkvCloseQueryEvent::Query(bool &canClose) const
{
    Variant args[] = {Target().Instance, Variant(canClose)};
    Fire(args);
    canClose = args[1].ToBool();
}

void TkvCanResizeEvent::CanResize(int &width, int &height, bool &resize) const
{
    Variant args[] = {Target().Instance, Variant(width), Variant(height), Variant(resize)};
    Fire(args);
    width = args[1].ToInt();
    height = args[2].ToInt();
    resize = args[3].ToBool();
}

int kvVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (modifiers & Qt::KeypadModifier) ? 96 + qtKey - Qt::Key_0 : qtKey;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + qtKey - Qt::Key_F1;
    if (modifiers & Qt::KeypadModifier) {
        switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    for (const auto &k : kKeys)
        if (k.Qt == qtKey)
            return k.Vk;
    return 0;
}

int kvQtKey(int virtualKey)
{
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return virtualKey;
    if (virtualKey >= 96 && virtualKey <= 105)
        return Qt::Key_0 + virtualKey - 96;
    if (virtualKey >= 112 && virtualKey <= 135)
        return Qt::Key_F1 + virtualKey - 112;
    for (const auto &k : kKeys)
        if (k.Vk == virtualKey)
            return k.Qt;
    return 0;
}

int kvMouseButton(Qt::MouseButton button)
{
    return button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
}

Qt::CursorShape kvCursorShape(int cursor)
{
    switch (cursor) {
    case -1: return Qt::BlankCursor;
    case -3: return Qt::CrossCursor;
    case -4: return Qt::IBeamCursor;
    case -6: return Qt::SizeBDiagCursor;
    case -7: return Qt::SizeVerCursor;
    case -8: return Qt::SizeFDiagCursor;
    case -9: return Qt::SizeHorCursor;
    case -10: return Qt::UpArrowCursor;
    case -11: return Qt::WaitCursor;
    case -12: return Qt::DragMoveCursor;
    case -13: case -18: return Qt::ForbiddenCursor;
    case -14: return Qt::SplitHCursor;
    case -15: return Qt::SplitVCursor;
    case -16: return Qt::DragCopyCursor;
    case -17: case -19: return Qt::BusyCursor;
    case -20: return Qt::WhatsThisCursor;
    case -21: return Qt::PointingHandCursor;
    case -22: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

int kvShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::AltModifier)
        shift |= 2;
    if (modifiers & Qt::ControlModifier)
        shift |= 4;
    if (buttons & Qt::LeftButton)
        shift |= 8;
    if (buttons & Qt::RightButton)
        shift |= 16;
    if (buttons & Qt::MiddleButton)
        shift |= 32;
    return shift;
}
