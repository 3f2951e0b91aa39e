#include "script/gui/kvguiobjects.h"

#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvrunerror.h"
#include "script/gui/kvguibinder.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QScopeGuard>
#include <QSet>
#include <QWidget>

#include <exception>

namespace {

const char kClassProperty[] = "kvClassName";

// The class a Qt object stands for when no script made it.
QString classOfQt(const QObject *object)
{
    static const struct
    {
        const char *QtClass;
        const char *Script;
    } map[] = {
        {"QDialog", "TForm"},          {"QGroupBox", "TGroupBox"},     {"QLineEdit", "TEdit"},
        {"QPlainTextEdit", "TMemo"},   {"QPushButton", "TButton"},     {"QCheckBox", "TCheckBox"},
        {"QRadioButton", "TRadioButton"}, {"QLabel", "TLabel"},        {"QComboBox", "TComboBox"},
        {"QListWidget", "TListBox"},   {"QScrollArea", "TScrollBox"},  {"QScrollBar", "TControlScrollBar"},
        {"QCoreApplication", "TApplication"}, {"QWidget", "TWinControl"},
    };
    for (const auto &m : map)
        if (object->inherits(m.QtClass))
            return QString::fromLatin1(m.Script);
    return QStringLiteral("TComponent");
}

class QtObjectType final : public TkvObjectType
{
public:
    QString ClassName(const void *object) const override
    {
        return kvGuiClassName(static_cast<const QObject *>(object));
    }
    Variant FindComponent(void *owner, const QString &name) const override
    {
        return kvGuiObject(kvFindComponent(static_cast<QObject *>(owner), name));
    }
    QList<QPair<QString, Variant>> Components(void *owner) const override
    {
        QList<QPair<QString, Variant>> result;
        for (QObject *component : kvComponentsOf(static_cast<QObject *>(owner)))
            result.append({component->objectName(), kvGuiObject(component)});
        return result;
    }
};

const QtObjectType &qtType()
{
    static const QtObjectType type;
    return type;
}

// Owners and their components, in the order they were made. Kept apart from
// the Qt object tree: a control's owner (who frees it, who finds it by name)
// is often not its parent (where it shows).
struct Ownership
{
    QHash<const QObject *, QList<QPointer<QObject>>> Owned;
    QHash<const QObject *, QPointer<QObject>> OwnerOf;
};

Ownership &ownership()
{
    static Ownership o;
    return o;
}

bool isAncestor(const QObject *candidate, const QObject *object)
{
    for (const QObject *o = object; o; o = o->parent())
        if (o == candidate)
            return true;
    return false;
}

// Frees what Owner owned once Owner is gone; the application's components
// are left to the end of the process, as widgets must not outlive it.
void ownerDestroyed(const QObject *owner)
{
    Ownership &o = ownership();
    const QList<QPointer<QObject>> owned = o.Owned.take(owner);
    for (const QPointer<QObject> &component : owned) {
        if (component) {
            o.OwnerOf.remove(component.data());
            delete component.data();
        }
    }
}

// Objects whose script event handlers are running; freeing one of them (or
// an ancestor) then waits for the event loop.
QList<QPointer<QObject>> &busyObjects()
{
    static QList<QPointer<QObject>> busy;
    return busy;
}

// Script members running native code that may fire handlers, and the first
// handler error to hand back to them.
struct NativeState
{
    int Depth = 0;
    std::exception_ptr Pending;
};

NativeState &nativeState()
{
    static NativeState state;
    return state;
}

QHash<QString, QString> &guiMessages()
{
    static QHash<QString, QString> texts{
        {QStringLiteral("SGuiNoApplication"), QStringLiteral("%s needs a running QApplication")},
        {QStringLiteral("SGuiNoGuiApplication"), QStringLiteral("%s needs a running QGuiApplication")},
        {QStringLiteral("SGuiWrongObject"), QStringLiteral("A %s cannot be used here")},
        {QStringLiteral("SGuiCannotAssign"), QStringLiteral("Cannot assign a %s to a %s")},
        {QStringLiteral("SGuiDuplicateName"), QStringLiteral("A component named %s already exists")},
        {QStringLiteral("SGuiNoDrawing"), QStringLiteral("Canvas does not allow drawing")},
        {QStringLiteral("SGuiNoMetafileRead"), QStringLiteral("Cannot read \"%s\": this system has no metafile decoder")},
        {QStringLiteral("SGuiNoMetafileWrite"), QStringLiteral("Cannot write \"%s\": this system has no metafile encoder")},
        {QStringLiteral("SGuiCannotLoad"), QStringLiteral("Cannot read the picture \"%s\"")},
        {QStringLiteral("SGuiCannotSave"), QStringLiteral("Cannot write the picture \"%s\"")},
        {QStringLiteral("SGuiEmptyPicture"), QStringLiteral("The picture is empty")},
        {QStringLiteral("SGuiVisibleModal"), QStringLiteral("Cannot make a visible window modal")},
        {QStringLiteral("SGuiListIndex"), QStringLiteral("List index out of bounds (%s)")},
        {QStringLiteral("SGuiWarning"), QStringLiteral("Warning")},
    };
    return texts;
}

// Set types by upper-case name: their values may come as arrays of members.
QSet<QString> &setTypes()
{
    static QSet<QString> names;
    return names;
}

} // namespace

Variant kvGuiObject(QObject *object)
{
    if (!object)
        return Variant(0);
    return TkvObjects::Ref(object, &qtType(), [p = QPointer<QObject>(object)] { return !p.isNull(); });
}

QObject *kvGuiObjectOf(const Variant &value)
{
    return TkvObjects::Get<QObject>(value);
}

void kvSetGuiClass(QObject *object, const QString &className)
{
    object->setProperty(kClassProperty, className);
}

QString kvGuiClassName(const QObject *object)
{
    const QVariant own = object->property(kClassProperty);
    return own.isValid() ? own.toString() : classOfQt(object);
}

void kvSetOwner(QObject *component, QObject *owner)
{
    Ownership &o = ownership();
    if (const QObject *old = o.OwnerOf.value(component))
        o.Owned[old].removeAll(component);
    if (!owner) {
        o.OwnerOf.remove(component);
        return;
    }
    if (!o.Owned.contains(owner) && owner != QCoreApplication::instance())
        QObject::connect(owner, &QObject::destroyed, [owner] { ownerDestroyed(owner); });
    o.Owned[owner].append(component);
    o.OwnerOf.insert(component, owner);
    if (!component->property("kvOwnedHook").toBool()) {
        component->setProperty("kvOwnedHook", true);
        QObject::connect(component, &QObject::destroyed, [component] {
            Ownership &own = ownership();
            const QPointer<QObject> holder = own.OwnerOf.take(component);
            if (holder)
                own.Owned[holder.data()].removeIf([](const QPointer<QObject> &p) { return p.isNull(); });
        });
    }
}

QObject *kvOwnerOf(const QObject *component)
{
    return ownership().OwnerOf.value(component);
}

QList<QObject *> kvComponentsOf(QObject *owner)
{
    QList<QObject *> result;
    if (!owner)
        return result;
    for (const QPointer<QObject> &component : ownership().Owned.value(owner))
        if (component)
            result.append(component.data());
    // Widgets a host placed without an owner; Qt's own parts are named "qt_...".
    if (owner->isWidgetType())
        for (QWidget *child : owner->findChildren<QWidget *>())
            if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_"))
                && !kvOwnerOf(child) && !result.contains(child))
                result.append(child);
    return result;
}

QObject *kvFindComponent(QObject *owner, const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (QObject *component : kvComponentsOf(owner))
        if (component->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return component;
    return nullptr;
}

void kvFreeObject(QObject *object)
{
    if (!object || object == QCoreApplication::instance())
        return;
    for (const QPointer<QObject> &busy : busyObjects()) {
        if (busy && isAncestor(object, busy.data())) {
            if (object->isWidgetType())
                static_cast<QWidget *>(object)->hide();
            object->deleteLater();
            return;
        }
    }
    delete object;
}

QString kvGuiMessage(const char *key, const QStringList &args)
{
    QString text = kvMessage(key);
    // A host may have put its own text under the key; ours fills the gap.
    if (text == QLatin1String(key))
        text = guiMessages().value(text, text);
    return zelFormat(text, args);
}

void kvNilObject()
{
    TkvRunError::Raise("SInvalidObject");
}

void kvGuiError(const char *key, const QStringList &args)
{
    throw TkvRunError(kvGuiMessage(key, args), QStringLiteral("Exception"));
}

void kvCheckWidgets(const QString &what)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        kvGuiError("SGuiNoApplication", {what});
}

void kvCheckFonts(const QString &what)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        kvGuiError("SGuiNoGuiApplication", {what});
}

void kvNativeCall(const std::function<void()> &native, bool userLoop)
{
    NativeState &state = nativeState();
    const int depth = state.Depth;
    const std::exception_ptr pending = std::exchange(state.Pending, nullptr);
    state.Depth = userLoop ? 0 : depth + 1;
    try {
        native();
    } catch (...) {
        state.Depth = depth;
        state.Pending = pending;
        throw;
    }
    state.Depth = depth;
    const std::exception_ptr error = std::exchange(state.Pending, pending);
    if (error)
        std::rethrow_exception(error);
}

namespace {

// An error as the user reads it: where in the script, and what.
QString messageOf(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const TkvRunError &e) {
        return e.Located() ? e.Pos() + QStringLiteral(": ") + e.message() : e.message();
    } catch (const TzelException &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
}

} // namespace

void kvRunHandler(QObject *object, const std::function<void()> &handler)
{
    QList<QPointer<QObject>> &busy = busyObjects();
    busy.append(object);
    const auto done = qScopeGuard([&busy] { busy.removeLast(); });
    try {
        handler();
    } catch (const std::exception &) {
        // Qt's event code cannot pass an exception on.
        NativeState &state = nativeState();
        if (state.Depth > 0) {
            if (!state.Pending)
                state.Pending = std::current_exception();
            return;
        }
        // Nothing in the script waits for this event: tell the user, as a
        // program does with an error no code caught.
        TzelDialogService::Instance().MessageBox(messageOf(std::current_exception()),
                                                 zelResources().Get(QStringLiteral("mbError")),
                                                 TzelDialogService::mbOK, TzelDialogService::miError);
    }
}

void kvAddEnum(TkvScript &script, const QString &typeName, const QString &names, bool isSet)
{
    if (isSet)
        setTypes().insert(typeName.toUpper());
    QStringList members = names.split(QLatin1Char(','));
    bool shared = false;
    for (QString &name : members) {
        name = name.trimmed();
        shared = shared || script.Find(name);
    }
    if (!shared) {
        if (isSet)
            script.AddEnumSet(typeName, names);
        else
            script.AddEnum(typeName, names);
        return;
    }
    // The engine would add a second entry under a name already there.
    auto *type = new TkvVariable(typeName, fvtEnum, typeName);
    type->IsReadOnly = true;
    script.Add(typeName, type);
    qint32 value = isSet ? 1 : 0;
    for (const QString &name : members) {
        if (!script.Find(name)) {
            auto *item = new TkvVariable(name, fvtEnum, typeName);
            item->Store(Variant(value));
            item->IsReadOnly = true;
            script.Add(name, item);
        }
        value = isSet ? qint32(quint32(value) << 1) : value + 1;
    }
}

namespace {

// The static type a declaration with TypeName should have: an enumeration's,
// a Variant for sets (a mask or an array), Typ for anything else.
TkvVarType declaredType(TkvScript &script, TkvVarType typ, const QString &typeName)
{
    if (typ != fvtClass || typeName.isEmpty())
        return typ;
    if (setTypes().contains(typeName.toUpper()))
        return fvtVariant;
    const TkvCustomVariable *entry = script.Find(typeName);
    return entry && entry->Typ == fvtEnum && entry->EntryKind() != TkvCustomVariable::Kind::Class ? fvtEnum : typ;
}

} // namespace

void kvTypeParams(TkvScript &script, TkvMethodHelper *method)
{
    method->Typ = declaredType(script, method->Typ, method->TypeName);
    for (int i = 0; i < method->ParamCount(); ++i) {
        TkvParamItem *param = method->Params(i);
        param->Typ = declaredType(script, param->Typ, param->TypeName);
    }
}

void kvTypeProperty(TkvPropertyHelper *property)
{
    if (setTypes().contains(property->TypeName.toUpper()))
        property->Typ = fvtVariant;
}

int kvSetOf(const Variant &value)
{
    if (!value.IsArray())
        return value.IsNull() || value.IsEmpty() ? 0 : value.ToInt();
    int mask = 0;
    for (int i = value.ArrayLowBound(1); i <= value.ArrayHighBound(1); ++i)
        mask |= value.GetElement(i).ToInt();
    return mask;
}

QObject *kvNewComponent(const QString &className, const Variant &owner)
{
    QObject *ownerObject = kvGuiObjectOf(owner);
    auto *component = new QObject;
    kvSetGuiClass(component, className);
    if (ownerObject)
        kvSetOwner(component, ownerObject);
    return component;
}

namespace {

[[noreturn]] void cannotAssign(const Variant &target, const Variant &source)
{
    const QString from = TkvObjects::IsNil(source) ? QStringLiteral("nil") : TkvObjects::ClassName(source);
    kvGuiError("SGuiCannotAssign", {from, TkvObjects::ClassName(target)});
}

} // namespace

void kvAddPersistentMembers(TkvBinder &binder, TkvAssignHandler assign)
{
    binder.Method("procedure Free", [](TkvMethodCall &call) {
        TkvObjects::Free(call.Instance);
        return Variant::Null();
    });
    binder.Method("procedure Assign(Source: TPersistent)", [assign](TkvMethodCall &call) {
        if (!assign || !assign(call.Instance, call.Params[0]))
            cannotAssign(call.Instance, call.Params[0]);
        return Variant::Null();
    });
}

void kvAddComponentMembers(TkvBinder &binder)
{
    binder.Method("procedure Free", [](TkvMethodCall &call) {
        if (!TkvObjects::IsNil(call.Instance))
            kvNativeCall([&call] { kvFreeObject(&kvGui<QObject>(call.Instance)); });
        return Variant::Null();
    });
    binder.Method("procedure Assign(Source: TPersistent)", [](TkvMethodCall &call) -> Variant {
        cannotAssign(call.Instance, call.Params[0]);
    });
    binder.Prop(
        "Name", "String", [](const Variant &self) { return Variant(kvGui<QObject>(self).objectName()); },
        [](const Variant &self, const Variant &value) {
            QObject &object = kvGui<QObject>(self);
            const QString name = value.ToString();
            if (QObject *owner = kvOwnerOf(&object))
                if (QObject *other = kvFindComponent(owner, name); other && other != &object)
                    kvGuiError("SGuiDuplicateName", {name});
            object.setObjectName(name);
        });
    binder.Prop(
        "Tag", "Integer", [](const Variant &self) { return Variant(kvGui<QObject>(self).property("kvTag").toInt()); },
        [](const Variant &self, const Variant &value) { kvGui<QObject>(self).setProperty("kvTag", value.ToInt()); });
    binder.Prop("Owner", "TComponent", [](const Variant &self) { return kvGuiObject(kvOwnerOf(&kvGui<QObject>(self))); });
    binder.Prop("ComponentCount", "Integer",
                [](const Variant &self) { return Variant(int(kvComponentsOf(&kvGui<QObject>(self)).size())); });
    binder.Indexed(
        "Components", "Integer", "TComponent",
        [](TkvMethodCall &call) {
            const QList<QObject *> components = kvComponentsOf(&kvGui<QObject>(call.Instance));
            const int index = call.Params[0].ToInt();
            if (index < 0 || index >= components.size())
                kvGuiError("SGuiListIndex", {QString::number(index)});
            return kvGuiObject(components.at(index));
        },
        true);
    binder.Method("function FindComponent(AName: String): TComponent", [](TkvMethodCall &call) {
        return kvGuiObject(kvFindComponent(&kvGui<QObject>(call.Instance), call.Params[0].ToString()));
    });
}
