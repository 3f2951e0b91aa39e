#include "script/exec/kvexpr.h"

#include "script/engine/kvmessages.h"
#include "script/engine/kvrunerror.h"

TkvExpr::~TkvExpr() = default;

void TkvExpr::Assign(Variant &&)
{
    TkvRunError::Raise("SLeftCantAssigned");
}

namespace {

class ConstNode final : public TkvExpr
{
public:
    explicit ConstNode(Variant value) : FValue(std::move(value)) { IsConst = true; }
    const Variant &Eval(Variant &) override { return FValue; }
    const Variant *Direct() override { return &FValue; }

private:
    Variant FValue;
};

// Left op Right, operands evaluated left first. The left value is copied
// only when the right operand may change the variable it lives in. An
// operand with storage (a constant or a plain variable) is read in place:
// Direct says which of the two are, so the hot paths carry no test for it.
template <typename Op, bool LeftDirect, bool RightDirect>
class BinaryNode final : public TkvExpr
{
public:
    BinaryNode(TkvExprPtr left, TkvExprPtr right)
        : FLeftNode(std::move(left)), FRightNode(std::move(right)), FLeft(FLeftNode->Direct()),
          FRight(FRightNode->Direct()), FCopyLeft(FRightNode->SideEffects)
    {
        SideEffects = FLeftNode->SideEffects || FRightNode->SideEffects;
    }
    const Variant &Eval(Variant &tmp) override
    {
        if constexpr (LeftDirect && RightDirect) {
            tmp = Op::Apply(*FLeft, *FRight);
        } else {
            Variant lt;
            Variant rt;
            const Variant &l = Left(lt); // before the right operand
            tmp = Op::Apply(l, Right(rt));
        }
        return tmp;
    }
    bool EvalBool() override
    {
        if constexpr (requires { Op::IsComparison; }) {
            if constexpr (LeftDirect && RightDirect) {
                return Op::Test(*FLeft, *FRight);
            } else {
                Variant lt;
                Variant rt;
                const Variant &l = Left(lt);
                return Op::Test(l, Right(rt));
            }
        } else {
            return TkvExpr::EvalBool();
        }
    }

private:
    const Variant &Left(Variant &lt)
    {
        if constexpr (LeftDirect) {
            if (!FCopyLeft)
                return *FLeft;
            lt = *FLeft;
            return lt;
        } else {
            return FLeftNode->Eval(lt);
        }
    }
    const Variant &Right(Variant &rt)
    {
        if constexpr (RightDirect)
            return *FRight;
        else
            return FRightNode->Eval(rt);
    }

    TkvExprPtr FLeftNode;
    TkvExprPtr FRightNode;
    const Variant *FLeft;
    const Variant *FRight;
    bool FCopyLeft;
};

// and/or of two Booleans: the right operand runs only when the left one
// does not decide.
template <bool IsAnd>
class ShortCircuitNode final : public TkvExpr
{
public:
    ShortCircuitNode(TkvExprPtr left, TkvExprPtr right) : FLeft(std::move(left)), FRight(std::move(right))
    {
        SideEffects = FLeft->SideEffects || FRight->SideEffects;
    }
    const Variant &Eval(Variant &tmp) override
    {
        const Variant &l = FLeft->Eval(tmp);
        if (l.ToBool() != IsAnd)
            return l;
        return FRight->Eval(tmp);
    }

private:
    TkvExprPtr FLeft;
    TkvExprPtr FRight;
};

template <Variant (*F)(const Variant &, const Variant &)>
struct Arith
{
    static Variant Apply(const Variant &a, const Variant &b) { return F(a, b); }
};

// Comparisons also answer conditions without making a Boolean variant.
template <VarCmp C>
struct Compare
{
    static constexpr bool IsComparison = true;
    static bool Test(const Variant &a, const Variant &b) { return Variant::Compared<C>(a, b); }
    static Variant Apply(const Variant &a, const Variant &b) { return Variant(Test(a, b)); }
};

// The text concatenation operator: texts when the left value is a text.
struct StrCat
{
    static Variant Apply(const Variant &a, const Variant &b)
    {
        if (a.IsString())
            return Variant(a.ToString() + b.ToString());
        return Variant::Add(a, b);
    }
};

template <Variant (*F)(const Variant &)>
class UnaryNode final : public TkvExpr
{
public:
    explicit UnaryNode(TkvExprPtr operand) : FOperand(std::move(operand)) { SideEffects = FOperand->SideEffects; }
    const Variant &Eval(Variant &tmp) override
    {
        Variant t;
        tmp = F(FOperand->Eval(t));
        return tmp;
    }

private:
    TkvExprPtr FOperand;
};

// Whether Value is in a set encoded as items with Null marking a range.
template <typename ItemAt, typename IsRange>
bool setContains(qsizetype count, const Variant &value, ItemAt itemAt, IsRange isRange)
{
    for (qsizetype i = 0; i < count; ++i) {
        if (i + 2 < count && isRange(i + 1)) {
            if (Variant::CompareOp(VarCmp::Le, itemAt(i), value) && Variant::CompareOp(VarCmp::Le, value, itemAt(i + 2)))
                return true;
            i += 2;
        } else if (Variant::Equal(value, itemAt(i))) {
            return true;
        }
    }
    return false;
}

class SetNode final : public TkvExpr
{
public:
    explicit SetNode(std::vector<TkvExprPtr> items) : FItems(std::move(items))
    {
        for (const TkvExprPtr &item : FItems)
            SideEffects = SideEffects || (item && item->SideEffects);
    }
    const Variant &Eval(Variant &tmp) override
    {
        tmp = Variant::CreateArray({{0, int(FItems.size()) - 1}});
        for (size_t i = 0; i < FItems.size(); ++i)
            tmp.PutElement(int(i), FItems[i] ? FItems[i]->Value() : Variant::Null());
        return tmp;
    }
    bool Contains(const Variant &value)
    {
        return setContains(
            qsizetype(FItems.size()), value, [this](qsizetype i) { return FItems[size_t(i)]->Value(); },
            [this](qsizetype i) { return !FItems[size_t(i)]; });
    }

private:
    std::vector<TkvExprPtr> FItems;
};

class InNode final : public TkvExpr
{
public:
    InNode(TkvExprPtr left, TkvExprPtr set) : FLeft(std::move(left)), FSet(std::move(set))
    {
        FSetNode = dynamic_cast<SetNode *>(FSet.get());
        SideEffects = FLeft->SideEffects || FSet->SideEffects;
        Typ = fvtBool;
    }
    const Variant &Eval(Variant &tmp) override
    {
        const Variant value = FLeft->Value();
        if (FSetNode) {
            tmp = Variant(FSetNode->Contains(value));
            return tmp;
        }
        Variant st;
        const Variant &set = FSet->Eval(st);
        if (!set.IsArray()) {
            tmp = Variant(Variant::Equal(value, set));
            return tmp;
        }
        const int low = set.ArrayLowBound(1);
        const qsizetype count = set.ArrayHighBound(1) - low + 1;
        const auto itemAt = [&](qsizetype i) { return set.GetElement(int(low + i)); };
        tmp = Variant(setContains(count, value, itemAt, [&](qsizetype i) { return itemAt(i).IsNull(); }));
        return tmp;
    }

private:
    TkvExprPtr FLeft;
    TkvExprPtr FSet;
    SetNode *FSetNode;
};

template <typename Op>
TkvExprPtr binary(TkvExprPtr left, TkvExprPtr right)
{
    const bool l = left->Direct() != nullptr;
    const bool r = right->Direct() != nullptr;
    if (l && r)
        return std::make_unique<BinaryNode<Op, true, true>>(std::move(left), std::move(right));
    if (l)
        return std::make_unique<BinaryNode<Op, true, false>>(std::move(left), std::move(right));
    if (r)
        return std::make_unique<BinaryNode<Op, false, true>>(std::move(left), std::move(right));
    return std::make_unique<BinaryNode<Op, false, false>>(std::move(left), std::move(right));
}

} // namespace

TkvExprPtr kvConstNode(Variant value)
{
    return std::make_unique<ConstNode>(std::move(value));
}

TkvExprPtr kvBinaryNode(TkvOperatorType op, TkvExprPtr left, TkvExprPtr right, bool strCat, bool optimizeBool)
{
    switch (op) {
    case opGreat:
        return binary<Compare<VarCmp::Gt>>(std::move(left), std::move(right));
    case opLess:
        return binary<Compare<VarCmp::Lt>>(std::move(left), std::move(right));
    case opLessEq:
        return binary<Compare<VarCmp::Le>>(std::move(left), std::move(right));
    case opGreatEq:
        return binary<Compare<VarCmp::Ge>>(std::move(left), std::move(right));
    case opNonEq:
        return binary<Compare<VarCmp::Ne>>(std::move(left), std::move(right));
    case opEq:
        return binary<Compare<VarCmp::Eq>>(std::move(left), std::move(right));
    case opPlus:
        if (strCat)
            return binary<StrCat>(std::move(left), std::move(right));
        return binary<Arith<Variant::Add>>(std::move(left), std::move(right));
    case opMinus:
        return binary<Arith<Variant::Sub>>(std::move(left), std::move(right));
    case opOr:
        if (optimizeBool)
            return std::make_unique<ShortCircuitNode<false>>(std::move(left), std::move(right));
        return binary<Arith<Variant::Or>>(std::move(left), std::move(right));
    case opXor:
        return binary<Arith<Variant::Xor>>(std::move(left), std::move(right));
    case opMul:
        return binary<Arith<Variant::Mul>>(std::move(left), std::move(right));
    case opDivFloat:
        return binary<Arith<Variant::Div>>(std::move(left), std::move(right));
    case opDivInt:
        return binary<Arith<Variant::IntDiv>>(std::move(left), std::move(right));
    case opMod:
        return binary<Arith<Variant::Mod>>(std::move(left), std::move(right));
    case opAnd:
        if (optimizeBool)
            return std::make_unique<ShortCircuitNode<true>>(std::move(left), std::move(right));
        return binary<Arith<Variant::And>>(std::move(left), std::move(right));
    case opShl:
        return binary<Arith<Variant::Shl>>(std::move(left), std::move(right));
    case opShr:
        return binary<Arith<Variant::Shr>>(std::move(left), std::move(right));
    case opIn:
        return std::make_unique<InNode>(std::move(left), std::move(right));
    default:
        Q_UNREACHABLE();
    }
    return nullptr;
}

TkvExprPtr kvUnaryNode(TkvOperatorType op, TkvExprPtr operand)
{
    if (op == opNot)
        return std::make_unique<UnaryNode<Variant::Not>>(std::move(operand));
    return std::make_unique<UnaryNode<Variant::Neg>>(std::move(operand));
}

TkvExprPtr kvSetNode(std::vector<TkvExprPtr> items)
{
    return std::make_unique<SetNode>(std::move(items));
}

TkvExprPtr kvInNode(TkvExprPtr left, TkvExprPtr set)
{
    return std::make_unique<InNode>(std::move(left), std::move(set));
}

bool kvSetContains(TkvExpr &set, const Variant &value)
{
    return static_cast<SetNode &>(set).Contains(value);
}
