#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class TkvScript;
struct TkvMethodCall;

// How the GUI bindings hand Qt objects and drawing objects to scripts, who
// owns what, and the few rules every GUI member follows (messages, the
// application check, errors of event handlers).

/// The script value of Object (0 for nullptr). Its script class is the one it
/// was created as (kvSetGuiClass), or the one its Qt class stands for
/// (a QPushButton is a TButton, a QDialog a TForm).
Variant kvGuiObject(QObject *object);
/// The object Value refers to; nullptr for nil. Raises "Invalid object
/// reference" when Value names no live Qt object.
QObject *kvGuiObjectOf(const Variant &value);
/// Like kvGuiObjectOf, but the object must be a T: raises otherwise.
template <class T>
T *kvGuiObjectAs(const Variant &value);
/// The T that Value refers to: raises "Invalid object reference" for nil too.
template <class T>
T &kvGui(const Variant &value);
/// Makes ClassName the script class of Object.
void kvSetGuiClass(QObject *object, const QString &className);
/// The script class of Object.
QString kvGuiClassName(const QObject *object);

/// Records that Owner owns Component: scripts find it by name through Owner
/// (Form1.Button1), and it is freed when Owner is (unless Owner is the
/// application, whose components live until the process ends).
void kvSetOwner(QObject *component, QObject *owner);
/// A plain component of the script class ClassName owned by the object Owner.
QObject *kvNewComponent(const QString &className, const Variant &owner);
/// The owner of Component; nullptr when none.
QObject *kvOwnerOf(const QObject *component);
/// The components Owner owns, then the named widgets below it that nobody
/// owns (the controls of a window a host built).
QList<QObject *> kvComponentsOf(QObject *owner);
/// The component Name (case ignored) among kvComponentsOf(Owner); nullptr when none.
QObject *kvFindComponent(QObject *owner, const QString &name);

/// Frees Object now, or once control is back in the event loop when one of
/// its event handlers (or one of its children's) is still running.
void kvFreeObject(QObject *object);

/// The text of the GUI message Key, filled with Args ("%s" in order).
QString kvGuiMessage(const char *key, const QStringList &args = {});
/// Raises the GUI message Key as a script error.
[[noreturn]] void kvGuiError(const char *key, const QStringList &args = {});
/// Raises "What needs a running QApplication" unless widgets can be made.
void kvCheckWidgets(const QString &what);
/// Raises "What needs a running QGuiApplication" unless fonts can be used.
void kvCheckFonts(const QString &what);

/// Runs Native, code that may fire event handlers (a click, a resize, a
/// close): an error of a handler is raised to the script after Native
/// returns. With UserLoop (a modal window, ProcessMessages) the handlers
/// answer the user instead, so their errors are shown as they happen.
void kvNativeCall(const std::function<void()> &native, bool userLoop = false);
/// Runs a script's event handler for Object: an error goes to the script
/// member that made the event happen (kvNativeCall), or to the dialog service
/// when the event came from the user.
void kvRunHandler(QObject *object, const std::function<void()> &handler);

/// Adds the enumeration (or, with IsSet, the set) TypeName with the
/// comma-separated Names through the engine. Names already visible (Integer
/// constants of the same values, such as bsNone or taCenter) stay what they
/// are and the type takes them as its values.
void kvAddEnum(TkvScript &script, const QString &typeName, const QString &names, bool isSet = false);
/// Makes the parameters and result of Method that are declared with an
/// enumeration take its values, and those declared with a set take a bit
/// mask or an array of members ([fsBold, fsItalic]).
void kvTypeParams(TkvScript &script, class TkvMethodHelper *method);
/// Makes a property declared with a set take a bit mask or an array of members.
void kvTypeProperty(class TkvPropertyHelper *property);
/// The bit mask of a set value: a number, or an array of members.
int kvSetOf(const Variant &value);

/// Copies Source into the object Target; False when the two do not fit.
using TkvAssignHandler = std::function<bool(const Variant &target, const Variant &source)>;
/// Gives the class of Binder, a direct descendant of TPersistent, what
/// TPersistent declares, working on the GUI modules' objects: Free (of the
/// drawing objects scripts own; the parts of others stay) and Assign
/// (through Assign, failing when it answers False).
void kvAddPersistentMembers(class TkvBinder &binder, TkvAssignHandler assign);
/// Gives the class of Binder, a direct descendant of TComponent, what
/// TComponent declares, working on Qt objects: Free, Name, Tag, Owner,
/// ComponentCount, Components and FindComponent.
void kvAddComponentMembers(class TkvBinder &binder);

/// Raises "Invalid object reference".
[[noreturn]] void kvNilObject();

template <class T>
T *kvGuiObjectAs(const Variant &value)
{
    QObject *object = kvGuiObjectOf(value);
    T *typed = dynamic_cast<T *>(object); // our own widgets have no meta-object of their own
    if (object && !typed)
        kvGuiError("SGuiWrongObject", {kvGuiClassName(object)});
    return typed;
}

template <class T>
T &kvGui(const Variant &value)
{
    T *object = kvGuiObjectAs<T>(value);
    if (!object)
        kvNilObject();
    return *object;
}
