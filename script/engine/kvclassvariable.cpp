#include "script/engine/kvclassvariable.h"

#include "base/core/zelformat.h"
#include "script/engine/kvevents.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvobjects.h"
#include "script/engine/kvrunerror.h"

TkvPropertyHelper::TkvPropertyHelper(QString name, TkvVarType typ, QString typeName, TkvGetValueEvent get,
                                     TkvSetValueEvent set)
    : TkvCustomVariable(Kind::Property, std::move(name), typ, std::move(typeName)), FGet(std::move(get)),
      FSet(std::move(set)), FUpperName(Name.toUpper())
{
    IsReadOnly = !FSet;
}

Variant TkvPropertyHelper::Get(const Variant &instance, TkvScript &) const
{
    Variant value = FGet ? FGet(instance, FUpperName) : Variant::Null();
    if (Typ == fvtBool && !value.IsNull())
        value = Variant(value.ToBool());
    return value;
}

void TkvPropertyHelper::Set(const Variant &instance, const Variant &value, TkvScript &) const
{
    if (FSet)
        FSet(instance, FUpperName, value);
}

TkvComponentHelper::TkvComponentHelper(const QString &name, const QString &className)
    : TkvPropertyHelper(name, fvtClass, className, nullptr, nullptr)
{
    IsReadOnly = false; // a write reaches Set and its error
}

Variant TkvComponentHelper::Get(const Variant &instance, TkvScript &) const
{
    const Variant component = TkvObjects::FindComponent(instance, Name);
    if (TkvObjects::IsNil(component))
        throw TkvRunError(zelFormat(kvMessage("SComponentNotFound"), {Name}), QStringLiteral("Exception"));
    return component;
}

void TkvComponentHelper::Set(const Variant &, const Variant &, TkvScript &) const
{
    throw TkvRunError(zelFormat(kvMessage("SComponentAssign"), {Name}), QStringLiteral("Exception"));
}

TkvClassVariable::TkvClassVariable(const QString &className, const QString &ancestorName, TkvScript *script)
    : TkvCustomVariable(Kind::Class, className, fvtClass, className), Ancestor(ancestorName), FScript(script)
{
    IsReadOnly = true;
    // The one parameter of a type cast.
    auto cast = std::make_unique<TkvParamItem>(QStringLiteral("Value"), fvtVariant);
    cast->IsOptional = true;
    AddParam(std::move(cast));
    if (const TkvClassVariable *ancestor = AncestorClass())
        FDefProperty = ancestor->DefaultProperty();
}

TkvClassVariable::~TkvClassVariable() = default;

Variant TkvClassVariable::Value()
{
    Variant &cast = *Params(0)->PValue();
    Variant result = cast.IsNull() || cast.IsEmpty() ? Variant(0) : cast;
    cast = Variant::Null();
    return result;
}

TkvCustomVariable *TkvClassVariable::AddMember(std::unique_ptr<TkvCustomVariable> member)
{
    FMembers.push_back(std::move(member));
    return FMembers.back().get();
}

TkvMethodHelper *TkvClassVariable::AddConstructor(const QString &syntax, TkvCallMethodEvent call)
{
    QString function = syntax.trimmed();
    function = QStringLiteral("function") + function.mid(function.indexOf(QLatin1Char(' ')))
             + QStringLiteral(": Constructor");
    return AddMethod(function, std::move(call));
}

TkvMethodHelper *TkvClassVariable::AddMethod(const QString &syntax, TkvCallMethodEvent call)
{
    return static_cast<TkvMethodHelper *>(AddMember(std::make_unique<TkvMethodHelper>(syntax, std::move(call), FScript)));
}

TkvPropertyHelper *TkvClassVariable::AddProperty(const QString &name, const QString &typeName, TkvGetValueEvent get,
                                                 TkvSetValueEvent set)
{
    const TkvCustomVariable *type = FScript->Find(typeName);
    const TkvVarType typ = type && (type->EntryKind() == Kind::Type || type->Typ == fvtEnum) ? type->Typ : fvtClass;
    return static_cast<TkvPropertyHelper *>(
        AddMember(std::make_unique<TkvPropertyHelper>(name, typ, typeName, std::move(get), std::move(set))));
}

TkvMethodHelper *TkvClassVariable::AddIndexProperty(const QString &name, const QString &paramTypes,
                                                    const QString &typeName, TkvCallMethodEvent call, bool isReadOnly)
{
    QStringList params;
    const QStringList types = paramTypes.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < types.size(); ++i)
        params << QStringLiteral("p%1: %2").arg(i).arg(types[i].trimmed());
    TkvMethodHelper *method = AddMethod(
        QStringLiteral("function %1(%2): %3").arg(name, params.join(QStringLiteral("; ")), typeName), std::move(call));
    method->IndexMethod = true;
    method->IsReadOnly = isReadOnly;
    return method;
}

TkvMethodHelper *TkvClassVariable::AddDefaultProperty(const QString &name, const QString &paramTypes,
                                                      const QString &typeName, TkvCallMethodEvent call, bool isReadOnly)
{
    FDefProperty = AddIndexProperty(name, paramTypes, typeName, std::move(call), isReadOnly);
    return FDefProperty;
}

TkvClassVariable *TkvClassVariable::AncestorClass() const
{
    if (Ancestor.isEmpty())
        return nullptr;
    TkvCustomVariable *entry = FScript->Find(Ancestor);
    return entry && entry->EntryKind() == Kind::Class && entry != this ? static_cast<TkvClassVariable *>(entry)
                                                                       : nullptr;
}

TkvCustomVariable *TkvClassVariable::Find(const QString &name, bool includeComponents) const
{
    int depth = 0;
    for (const TkvClassVariable *c = this; c && depth < 64; c = c->AncestorClass(), ++depth)
        for (const auto &member : c->FMembers)
            if (member->Name.compare(name, Qt::CaseInsensitive) == 0
                && (includeComponents || !dynamic_cast<const TkvComponentHelper *>(member.get())))
                return member.get();
    return nullptr;
}

TkvEventHelper *TkvClassVariable::AddEvent(const QString &name, TkvEventFactory factory)
{
    return static_cast<TkvEventHelper *>(AddMember(std::make_unique<TkvEventHelper>(name, std::move(factory))));
}

TkvComponentHelper *TkvClassVariable::AddComponent(const QString &name, const QString &className)
{
    if (TkvCustomVariable *existing = Find(name))
        return dynamic_cast<TkvComponentHelper *>(existing);
    return static_cast<TkvComponentHelper *>(AddMember(std::make_unique<TkvComponentHelper>(name, className)));
}

TkvMethodHelper *TkvClassVariable::DefaultProperty() const
{
    int depth = 0;
    for (const TkvClassVariable *c = this; c && depth < 64; c = c->AncestorClass(), ++depth)
        if (c->FDefProperty)
            return c->FDefProperty;
    return nullptr;
}

bool TkvClassVariable::InheritsFrom(const QString &className) const
{
    int depth = 0;
    for (const TkvClassVariable *c = this; c && depth < 64; c = c->AncestorClass(), ++depth)
        if (c->Name.compare(className, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
