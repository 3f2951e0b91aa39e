#pragma once
/// \file

#include "script/engine/kvevents.h"

#include <QEvent>
#include <QMetaObject>
#include <QPointer>

class TkvEventDispatcher;

// The events of controls as scripts see them. A control's Qt events reach
// its adapters through one event filter per control (TkvEventDispatcher),
// which fires them in a fixed order (OnKeyDown before OnKeyPress, OnMouseUp
// before OnClick); clicks of buttons and changes of texts come from Qt's
// signals. Values a handler changes through a var parameter go back into
// the Qt event: a key set to 0 or #0 is swallowed, another key replaces it.

/// What the GUI code asks of a control's handlers, sent to the control as an
/// event (Qt has no signal for these).
class TkvControlEvent final : public QEvent
{
public:
    /// The request.
    enum Kind { CanResize, CloseQuery, Close, Paint, DropDown, CloseUp, Create, Destroy };
    /// The event type of every control event.
    static QEvent::Type EventType();

    /// An event asking Kind of the handlers.
    explicit TkvControlEvent(Kind kind) : QEvent(EventType()), What(kind) {}
    ~TkvControlEvent() override;

    Kind What; ///< the request
    int Width = 0;     ///< CanResize: the new size, as the handler leaves it
    int Height = 0; ///< CanResize: the new height, as the handler leaves it
    bool Allow = true; ///< CanResize: the size may change; CloseQuery: the window may close
    int Action = 1;    ///< Close: a TCloseAction, caHide unless the handler says otherwise
};

/// Sends Event to Object and returns it as the handlers left it.
TkvControlEvent &kvSendControlEvent(QObject *object, TkvControlEvent &event);

/// The base of the control event adapters: attaches to the control's
/// dispatcher (or to a Qt signal) and detaches when freed.
class TkvWidgetEvent : public TkvCustomEvent
{
public:
    /// Attaches to the control Target names.
    explicit TkvWidgetEvent(TkvEventTarget target);
    ~TkvWidgetEvent() override;

    /// The control.
    QObject *Object() const { return FObject.data(); }

protected:
    /// Runs the handler with Args (Sender first), as kvRunHandler says.
    void Fire(std::span<Variant> args) const;
    /// Fires the handler from Signal of the control instead of the dispatcher.
    template <class Sender, class Signal>
    void ConnectSignal(Sender *sender, Signal signal);

private:
    void Detach();

    QPointer<QObject> FObject;
    QPointer<TkvEventDispatcher> FDispatcher;
    QMetaObject::Connection FConnection;
};

/// procedure(Sender: TObject)
class TkvNotifyEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    explicit TkvNotifyEvent(TkvEventTarget target);
    /// Runs the handler with the control as Sender.
    void Notify() const;
};

/// procedure(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer)
class TkvMouseEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    using TkvWidgetEvent::TkvWidgetEvent;
    /// Runs the handler with the button, the shift state and the point.
    void Mouse(int button, int shift, int x, int y) const;
};

/// procedure(Sender: TObject; Shift: TShiftState; X, Y: Integer)
class TkvMouseMoveEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    explicit TkvMouseMoveEvent(TkvEventTarget target);
    /// Runs the handler with the shift state and the point.
    void Move(int shift, int x, int y) const;
};

/// procedure(Sender: TObject; var Key: Word; Shift: TShiftState)
class TkvKeyEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    using TkvWidgetEvent::TkvWidgetEvent;
    /// Runs the handler; Key comes back as the handler left it (0: swallowed).
    void Key(int &key, int shift) const;
};

/// procedure(Sender: TObject; var Key: Char)
class TkvKeyPressEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    using TkvWidgetEvent::TkvWidgetEvent;
    /// Runs the handler; Key comes back as the handler left it (empty or #0: swallowed).
    void Press(QString &key) const;
};

/// procedure(Sender: TObject; var Action: TCloseAction)
class TkvCloseEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    using TkvWidgetEvent::TkvWidgetEvent;
    /// Runs the handler; Action comes back as the handler left it.
    void Close(int &action) const;
};

/// procedure(Sender: TObject; var CanClose: Boolean)
class TkvCloseQueryEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    using TkvWidgetEvent::TkvWidgetEvent;
    /// Runs the handler; CanClose comes back as the handler left it.
    void Query(bool &canClose) const;
};

/// procedure(Sender: TObject; var NewWidth, NewHeight: Integer; var Resize: Boolean)
class TkvCanResizeEvent final : public TkvWidgetEvent
{
public:
    /// Attaches to the control Target names.
    using TkvWidgetEvent::TkvWidgetEvent;
    /// Runs the handler; the size and Resize come back as the handler left them.
    void CanResize(int &width, int &height, bool &resize) const;
};

/// The factory of adapters of type T, for TkvClassVariable::AddEvent.
template <class T>
TkvEventFactory kvEventFactory()
{
    return [](const TkvEventTarget &target) { return std::make_unique<T>(target); };
}

/// The virtual key code of a Qt key (VK_RETURN for Qt::Key_Return); 0 when none.
int kvVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/// The Qt key of a virtual key code; 0 when none.
int kvQtKey(int virtualKey);
/// The TMouseButton of a Qt button (mbLeft 0, mbRight 1, mbMiddle 2).
int kvMouseButton(Qt::MouseButton button);
/// The Qt cursor of a cursor number as forms and views store it (crHandPoint -21).
Qt::CursorShape kvCursorShape(int cursor);
/// The TShiftState of Qt's modifier keys and mouse buttons.
int kvShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

template <class Sender, class Signal>
void TkvWidgetEvent::ConnectSignal(Sender *sender, Signal signal)
{
    Detach();
    FConnection = QObject::connect(sender, signal, [this] {
        Variant args[] = {Target().Instance};
        Fire(args);
    });
}
