#include "script/exec/kvdesignators.h"

#include "base/core/zelformat.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvclassvariable.h"
#include "script/engine/kvobjects.h"

#include <array>
#include <new>

namespace {

class VariableNode final : public TkvExpr
{
public:
    explicit VariableNode(TkvVariable *variable) : FVariable(variable) {}
    const Variant &Eval(Variant &) override { return *FVariable->PValue(); }
    const Variant *Direct() override { return FVariable->PValue(); }
    void Assign(Variant &&value) override { FVariable->Store(std::move(value)); }
    TkvVariable *Variable() override { return FVariable; }

private:
    TkvVariable *FVariable;
};

// An entry read through its Value: variables with a read hook, constants of
// hosts, types.
class EntryNode final : public TkvExpr
{
public:
    explicit EntryNode(TkvCustomVariable *entry) : FEntry(entry) {}
    const Variant &Eval(Variant &tmp) override
    {
        tmp = FEntry->Value();
        return tmp;
    }
    void Assign(Variant &&value) override { FEntry->SetValue(value); }

private:
    TkvCustomVariable *FEntry;
};

// Argument values of one call: on the stack for the usual few, and only
// as many as the call has.
class ArgBuffer
{
public:
    explicit ArgBuffer(size_t count)
    {
        if (count <= kInline) {
            auto *first = reinterpret_cast<Variant *>(FInline);
            for (size_t i = 0; i < count; ++i)
                new (first + i) Variant();
            FArgs = std::span<Variant>(first, count);
        } else {
            FHeap.resize(count);
            FArgs = FHeap;
        }
    }
    ~ArgBuffer()
    {
        if (FHeap.empty())
            for (Variant &v : FArgs)
                v.~Variant();
    }
    ArgBuffer(const ArgBuffer &) = delete;
    ArgBuffer &operator=(const ArgBuffer &) = delete;
    std::span<Variant> Args() const { return FArgs; }

private:
    static constexpr size_t kInline = 4;
    alignas(Variant) unsigned char FInline[kInline * sizeof(Variant)];
    std::vector<Variant> FHeap;
    std::span<Variant> FArgs;
};

// What calls share: the arguments, and which of them take back the values of
// by-reference parameters.
class CallNode : public TkvExpr
{
protected:
    CallNode(TkvCustomVariable *callee, std::vector<TkvExprPtr> args) : FArgs(std::move(args))
    {
        SideEffects = true;
        for (size_t i = 0; i < FArgs.size(); ++i)
            if (callee->Params(int(i))->IsVarParam && !FArgs[i]->IsReadOnly)
                FByRef.push_back(i);
    }
    void EvalArgs(std::span<Variant> values)
    {
        for (size_t i = 0; i < FArgs.size(); ++i) {
            const Variant &v = FArgs[i]->Eval(values[i]);
            if (&v != &values[i])
                values[i] = v;
        }
    }
    void WriteBack(std::span<Variant> values)
    {
        for (size_t i : FByRef)
            FArgs[i]->Assign(std::move(values[i]));
    }

    std::vector<TkvExprPtr> FArgs;
    std::vector<size_t> FByRef;
};

class ProcCallNode final : public CallNode
{
public:
    ProcCallNode(TkvProcVariable *proc, std::vector<TkvExprPtr> args) : CallNode(proc, std::move(args)), FProc(proc)
    {
    }
    const Variant &Eval(Variant &tmp) override
    {
        ArgBuffer buffer(FArgs.size());
        EvalArgs(buffer.Args());
        tmp = FProc->Invoke(buffer.Args());
        WriteBack(buffer.Args());
        return tmp;
    }

private:
    TkvProcVariable *FProc;
};

class MethodCallNode final : public CallNode
{
public:
    MethodCallNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> args, TkvScript *script)
        : CallNode(method, std::move(args)), FMethod(method), FInstance(std::move(instance)), FScript(script)
    {
    }
    const Variant &Eval(Variant &tmp) override
    {
        const Variant instance = FInstance ? FInstance->Value() : Variant::Null();
        ArgBuffer buffer(FArgs.size());
        EvalArgs(buffer.Args());
        tmp = FMethod->Call(instance, buffer.Args(), *FScript);
        WriteBack(buffer.Args());
        return tmp;
    }

private:
    TkvMethodHelper *FMethod;
    TkvExprPtr FInstance;
    TkvScript *FScript;
};

// Index of a character in Text, checked.
qsizetype charIndex(const QString &text, int index)
{
    if (index < 1 || index > text.size())
        throw TkvRunError(zelFormat(kvMessage("SIndexOutOfBounds"), {QString::number(index)}),
                          QStringLiteral("ERangeError"));
    return index - 1;
}

// The values of Exprs, in order.
std::vector<Variant> valuesOf(const std::vector<TkvExprPtr> &exprs)
{
    std::vector<Variant> values;
    values.reserve(exprs.size());
    for (const TkvExprPtr &expr : exprs)
        values.push_back(expr->Value());
    return values;
}

class IndexNode final : public TkvExpr
{
public:
    IndexNode(TkvExprPtr base, std::vector<TkvExprPtr> indices, TkvScript *script)
        : FBase(std::move(base)), FIndices(std::move(indices)), FScript(script)
    {
        for (const TkvExprPtr &index : FIndices)
            SideEffects = SideEffects || index->SideEffects;
        SideEffects = SideEffects || FBase->SideEffects;
        IsReadOnly = FBase->IsReadOnly;
    }
    const Variant &Eval(Variant &tmp) override
    {
        std::array<int, 3> at{};
        const std::span<const int> indices = EvalIndices(at);
        Variant bt;
        const Variant &base = FBase->Eval(bt);
        if (base.IsArray()) {
            tmp = base.GetElement(indices);
        } else if (base.IsString() && indices.size() == 1) {
            const QString text = base.ToString();
            tmp = Variant(QString(text.at(charIndex(text, indices[0]))));
        } else {
            std::vector<Variant> args(indices.begin(), indices.end());
            TkvMethodHelper &property = DefaultProperty(base);
            tmp = property.CallIndexed(base, args, *FScript, false);
        }
        return tmp;
    }
    void Assign(Variant &&value) override
    {
        std::array<int, 3> at{};
        const std::span<const int> indices = EvalIndices(at);
        Variant bt;
        const Variant &current = FBase->Eval(bt);
        if (!current.IsArray() && !current.IsString()) {
            std::vector<Variant> args(indices.begin(), indices.end());
            args.push_back(std::move(value));
            TkvMethodHelper &property = DefaultProperty(current);
            property.CallIndexed(current, args, *FScript, true);
        } else if (TkvVariable *variable = FBase->Variable()) {
            Put(*variable->PValue(), indices, value);
            variable->Normalize();
        } else {
            Variant base = &current == &bt ? std::move(bt) : Variant(current);
            Put(base, indices, value);
            FBase->Assign(std::move(base));
        }
    }

private:
    TkvMethodHelper &DefaultProperty(const Variant &object) const
    {
        const TkvClassVariable *binding = FScript ? FScript->ClassOf(object) : nullptr;
        TkvMethodHelper *property = binding ? binding->DefaultProperty() : nullptr;
        if (!property)
            TkvRunError::Raise("SArrayRequired");
        return *property;
    }
    std::span<const int> EvalIndices(std::array<int, 3> &at)
    {
        if (FIndices.size() > at.size())
            TkvRunError::Raise("SArrayRequired");
        for (size_t i = 0; i < FIndices.size(); ++i)
            at[i] = FIndices[i]->Value().ToInt();
        return std::span<const int>(at.data(), FIndices.size());
    }
    static void Put(Variant &base, std::span<const int> indices, const Variant &value)
    {
        if (base.IsArray()) {
            base.PutElement(indices, value);
        } else if (base.IsString() && indices.size() == 1) {
            QString text = base.ToString();
            const QString put = value.ToString();
            text[charIndex(text, indices[0])] = put.isEmpty() ? QChar() : put.at(0);
            base = Variant(std::move(text));
        } else {
            TkvRunError::Raise("SArrayRequired");
        }
    }

    TkvExprPtr FBase;
    std::vector<TkvExprPtr> FIndices;
    TkvScript *FScript;
};

} // namespace

namespace {

// Node, with the static type of the entry it reads; read-only like the entry
// when ReadOnly says so (calls are never written).
TkvExprPtr typedLike(TkvExprPtr node, const TkvCustomVariable *entry, bool readOnly)
{
    node->Typ = entry->Typ;
    node->TypeName = entry->TypeName;
    if (readOnly)
        node->IsReadOnly = entry->IsReadOnly;
    return node;
}

} // namespace

TkvExprPtr kvVariableNode(TkvVariable *variable)
{
    if (variable->HasReadHook())
        return typedLike(std::make_unique<EntryNode>(variable), variable, true);
    return typedLike(std::make_unique<VariableNode>(variable), variable, true);
}

TkvExprPtr kvEntryNode(TkvCustomVariable *entry)
{
    return typedLike(std::make_unique<EntryNode>(entry), entry, true);
}

TkvExprPtr kvProcCallNode(TkvProcVariable *proc, std::vector<TkvExprPtr> args)
{
    return typedLike(std::make_unique<ProcCallNode>(proc, std::move(args)), proc, false);
}

TkvExprPtr kvMethodCallNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> args,
                            TkvScript *script)
{
    return typedLike(std::make_unique<MethodCallNode>(method, std::move(instance), std::move(args), script), method,
                     false);
}

TkvExprPtr kvIndexNode(TkvExprPtr base, std::vector<TkvExprPtr> indices, TkvScript *script)
{
    const TkvVarType baseType = base->Typ;
    auto node = std::make_unique<IndexNode>(std::move(base), std::move(indices), script);
    node->Typ = baseType == fvtString || baseType == fvtChar ? fvtChar : fvtVariant;
    return node;
}

namespace {

class PropertyNode final : public TkvExpr
{
public:
    PropertyNode(TkvPropertyHelper *property, TkvExprPtr instance, TkvScript *script)
        : FProperty(property), FInstance(std::move(instance)), FScript(script)
    {
        SideEffects = true;
    }
    const Variant &Eval(Variant &tmp) override
    {
        tmp = FProperty->Get(FInstance->Value(), *FScript);
        return tmp;
    }
    void Assign(Variant &&value) override { FProperty->Set(FInstance->Value(), value, *FScript); }

private:
    TkvPropertyHelper *FProperty;
    TkvExprPtr FInstance;
    TkvScript *FScript;
};

class IndexedPropertyNode final : public TkvExpr
{
public:
    IndexedPropertyNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> indices,
                        TkvScript *script)
        : FMethod(method), FInstance(std::move(instance)), FIndices(std::move(indices)), FScript(script)
    {
        SideEffects = true;
    }
    const Variant &Eval(Variant &tmp) override
    {
        const Variant instance = FInstance->Value();
        std::vector<Variant> args = valuesOf(FIndices);
        tmp = FMethod->CallIndexed(instance, args, *FScript, false);
        return tmp;
    }
    void Assign(Variant &&value) override
    {
        const Variant instance = FInstance->Value();
        std::vector<Variant> args = valuesOf(FIndices);
        args.push_back(std::move(value));
        FMethod->CallIndexed(instance, args, *FScript, true);
    }

private:
    TkvMethodHelper *FMethod;
    TkvExprPtr FInstance;
    std::vector<TkvExprPtr> FIndices;
    TkvScript *FScript;
};

class ClassCastNode final : public TkvExpr
{
public:
    explicit ClassCastNode(TkvExprPtr value) : FValue(std::move(value)) { SideEffects = FValue->SideEffects; }
    const Variant &Eval(Variant &tmp) override { return FValue->Eval(tmp); }

private:
    TkvExprPtr FValue;
};

class IsNode final : public TkvExpr
{
public:
    IsNode(TkvExprPtr left, TkvClassVariable *binding, TkvScript *script)
        : FLeft(std::move(left)), FBinding(binding), FScript(script)
    {
        SideEffects = FLeft->SideEffects;
        Typ = fvtBool;
    }
    const Variant &Eval(Variant &tmp) override
    {
        const TkvClassVariable *binding = FScript->ClassOf(FLeft->Value());
        tmp = Variant(binding && binding->InheritsFrom(FBinding->Name));
        return tmp;
    }

private:
    TkvExprPtr FLeft;
    TkvClassVariable *FBinding;
    TkvScript *FScript;
};

class LateMemberNode final : public TkvExpr
{
public:
    LateMemberNode(TkvExprPtr instance, const QString &name, std::vector<TkvExprPtr> args, TkvScript *script,
                   bool indexed)
        : FInstance(std::move(instance)), FName(name), FArgs(std::move(args)), FScript(script), FIndexed(indexed)
    {
        SideEffects = true;
        IsReadOnly = false;
    }
    const Variant &Eval(Variant &tmp) override
    {
        const Variant instance = FInstance->Value();
        TkvCustomVariable *member = Member(instance, tmp);
        std::vector<Variant> args = valuesOf(FArgs);
        if (!member) {
            // a component the object owns: its value is in tmp
        } else if (member->EntryKind() == TkvCustomVariable::Kind::Property) {
            tmp = static_cast<TkvPropertyHelper *>(member)->Get(instance, *FScript);
            if (FIndexed) { // an element of the property's value
                std::vector<int> indices;
                for (const Variant &arg : args)
                    indices.push_back(arg.ToInt());
                tmp = tmp.GetElement(indices);
            }
        } else if (member->EntryKind() == TkvCustomVariable::Kind::Method) {
            auto *method = static_cast<TkvMethodHelper *>(member);
            if (method->IndexMethod) {
                tmp = method->CallIndexed(instance, args, *FScript, false);
            } else {
                for (int i = int(args.size()); i < method->ParamCount(); ++i)
                    args.push_back(method->Params(i)->DefValue);
                tmp = method->Call(instance, args, *FScript);
                // By-reference arguments that name storage get their new values.
                for (size_t i = 0; i < FArgs.size() && int(i) < method->ParamCount(); ++i)
                    if (method->Params(int(i))->IsVarParam && !FArgs[i]->IsReadOnly)
                        FArgs[i]->Assign(std::move(args[i]));
            }
        } else {
            Undeclared();
        }
        return tmp;
    }
    void Assign(Variant &&value) override
    {
        const Variant instance = FInstance->Value();
        Variant component;
        TkvCustomVariable *member = Member(instance, component);
        if (!member)
            throw TkvRunError(zelFormat(kvMessage("SComponentAssign"), {FName}), QStringLiteral("Exception"));
        std::vector<Variant> args = valuesOf(FArgs);
        if (member->IsReadOnly && !(FIndexed && member->EntryKind() == TkvCustomVariable::Kind::Method))
            TkvRunError::Raise("SLeftCantAssigned");
        if (member->EntryKind() == TkvCustomVariable::Kind::Property && !FIndexed) {
            static_cast<TkvPropertyHelper *>(member)->Set(instance, value, *FScript);
        } else if (member->EntryKind() == TkvCustomVariable::Kind::Method
                   && static_cast<TkvMethodHelper *>(member)->IndexMethod) {
            auto *method = static_cast<TkvMethodHelper *>(member);
            args.push_back(std::move(value));
            method->CallIndexed(instance, args, *FScript, true);
        } else {
            TkvRunError::Raise("SLeftCantAssigned");
        }
    }

private:
    // The member FName of the object's class; nullptr when the name is a
    // component the object owns instead, whose value goes to Component.
    TkvCustomVariable *Member(const Variant &instance, Variant &component)
    {
        const TkvClassVariable *binding = FScript->ClassOf(instance);
        if (TkvCustomVariable *member = binding ? binding->Find(FName) : nullptr)
            return member;
        component = TkvObjects::FindComponent(instance, FName);
        if (TkvObjects::IsNil(component))
            Undeclared();
        return nullptr;
    }
    [[noreturn]] void Undeclared() const
    {
        TkvRunError::Raise("SIdUndeclared", QLatin1Char('\'') + FName + QLatin1Char('\''));
    }

    TkvExprPtr FInstance;
    QString FName;
    std::vector<TkvExprPtr> FArgs;
    TkvScript *FScript;
    bool FIndexed;
};

} // namespace

TkvExprPtr kvPropertyNode(TkvPropertyHelper *property, TkvExprPtr instance, TkvScript *script)
{
    return typedLike(std::make_unique<PropertyNode>(property, std::move(instance), script), property, true);
}

TkvExprPtr kvIndexedPropertyNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> indices,
                                 TkvScript *script)
{
    return typedLike(std::make_unique<IndexedPropertyNode>(method, std::move(instance), std::move(indices), script),
                     method, true);
}

TkvExprPtr kvClassCastNode(TkvClassVariable *binding, TkvExprPtr value)
{
    auto node = std::make_unique<ClassCastNode>(std::move(value));
    node->Typ = fvtClass;
    node->TypeName = binding->Name;
    return node;
}

TkvExprPtr kvIsNode(TkvExprPtr left, TkvClassVariable *binding, TkvScript *script)
{
    return std::make_unique<IsNode>(std::move(left), binding, script);
}

TkvExprPtr kvLateMemberNode(TkvExprPtr instance, const QString &name, std::vector<TkvExprPtr> args,
                            TkvScript *script, bool indexed)
{
    return std::make_unique<LateMemberNode>(std::move(instance), name, std::move(args), script, indexed);
}
