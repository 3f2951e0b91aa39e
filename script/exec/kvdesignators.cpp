#include "script/exec/kvdesignators.h"

#include "base/core/zelformat.h"
#include "script/engine/kvmessages.h"
#include "script/engine/kvrunerror.h"
#include "script/engine/kvvariables.h"

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
        for (size_t i = 0; i < FArgs.size(); ++i)
            values[i] = FArgs[i]->Value();
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

[[noreturn]] void arrayRequired()
{
    throw TkvRunError(kvMessage("SArrayRequired"), QStringLiteral("Exception"));
}

// Index of a character in Text, checked.
qsizetype charIndex(const QString &text, int index)
{
    if (index < 1 || index > text.size())
        throw TkvRunError(zelFormat(kvMessage("SIndexOutOfBounds"), {QString::number(index)}),
                          QStringLiteral("ERangeError"));
    return index - 1;
}

class IndexNode final : public TkvExpr
{
public:
    IndexNode(TkvExprPtr base, std::vector<TkvExprPtr> indices) : FBase(std::move(base)), FIndices(std::move(indices))
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
            arrayRequired();
        }
        return tmp;
    }
    void Assign(Variant &&value) override
    {
        std::array<int, 3> at{};
        const std::span<const int> indices = EvalIndices(at);
        if (TkvVariable *variable = FBase->Variable()) {
            Put(*variable->PValue(), indices, value);
            variable->Normalize();
        } else {
            Variant base = FBase->Value();
            Put(base, indices, value);
            FBase->Assign(std::move(base));
        }
    }

private:
    std::span<const int> EvalIndices(std::array<int, 3> &at)
    {
        if (FIndices.size() > at.size())
            arrayRequired();
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
            arrayRequired();
        }
    }

    TkvExprPtr FBase;
    std::vector<TkvExprPtr> FIndices;
};

} // namespace

TkvExprPtr kvVariableNode(TkvVariable *variable)
{
    TkvExprPtr node;
    if (variable->HasReadHook())
        node = std::make_unique<EntryNode>(variable);
    else
        node = std::make_unique<VariableNode>(variable);
    node->Typ = variable->Typ;
    node->TypeName = variable->TypeName;
    node->IsReadOnly = variable->IsReadOnly;
    return node;
}

TkvExprPtr kvEntryNode(TkvCustomVariable *entry)
{
    auto node = std::make_unique<EntryNode>(entry);
    node->Typ = entry->Typ;
    node->TypeName = entry->TypeName;
    node->IsReadOnly = entry->IsReadOnly;
    return node;
}

TkvExprPtr kvProcCallNode(TkvProcVariable *proc, std::vector<TkvExprPtr> args)
{
    auto node = std::make_unique<ProcCallNode>(proc, std::move(args));
    node->Typ = proc->Typ;
    node->TypeName = proc->TypeName;
    return node;
}

TkvExprPtr kvMethodCallNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> args,
                            TkvScript *script)
{
    auto node = std::make_unique<MethodCallNode>(method, std::move(instance), std::move(args), script);
    node->Typ = method->Typ;
    node->TypeName = method->TypeName;
    return node;
}

TkvExprPtr kvIndexNode(TkvExprPtr base, std::vector<TkvExprPtr> indices)
{
    const TkvVarType baseType = base->Typ;
    auto node = std::make_unique<IndexNode>(std::move(base), std::move(indices));
    node->Typ = baseType == fvtString || baseType == fvtChar ? fvtChar : fvtVariant;
    return node;
}
