#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "script/engine/kvtypes.h"

#include <QString>

#include <memory>
#include <vector>

class TkvVariable;

/// An executable expression node. Names, members and slots are resolved when
/// the node is built, so evaluation touches only values.
class TkvExpr
{
public:
    virtual ~TkvExpr();

    /// The value: either Tmp, filled by the node, or a reference to storage
    /// that stays valid until the program next writes a variable.
    virtual const Variant &Eval(Variant &tmp) = 0;
    /// The value as a condition: converted to a Boolean.
    virtual bool EvalBool()
    {
        Variant tmp;
        return Eval(tmp).ToBool();
    }
    /// Writes through the node; only writable nodes (IsReadOnly false) get it.
    virtual void Assign(Variant &&value);
    /// The storage an in-place operation may change, when the node is a
    /// plain variable; nullptr otherwise.
    virtual TkvVariable *Variable() { return nullptr; }
    /// Where the value always is, for constants and plain variables, so
    /// that operators read it without a call; nullptr otherwise.
    virtual const Variant *Direct() { return nullptr; }

    /// The value as an independent copy.
    Variant Value()
    {
        Variant tmp;
        const Variant &v = Eval(tmp);
        if (&v == &tmp)
            return tmp;
        return v;
    }

    TkvVarType Typ = fvtVariant; ///< static type
    QString TypeName;            ///< class, enumeration or declared type name
    bool IsReadOnly = true;      ///< whether Assign may be used
    bool IsConst = false;        ///< a constant: Eval always gives the same value
    bool SideEffects = false;    ///< evaluation may call code that writes variables
};

/// An owned expression node.
using TkvExprPtr = std::unique_ptr<TkvExpr>;

/// An operand as an operator reads it: straight from its storage when it has
/// one, through Eval otherwise.
class TkvOperand
{
public:
    /// Wraps Expr, noting whether its value can be read in place.
    explicit TkvOperand(TkvExprPtr expr) : FExpr(std::move(expr)), FDirect(FExpr->Direct()) {}
    /// The value, in Tmp or in the operand's storage.
    const Variant &Get(Variant &tmp) const { return FDirect ? *FDirect : FExpr->Eval(tmp); }
    /// The node.
    TkvExpr &Node() const { return *FExpr; }

private:
    TkvExprPtr FExpr;
    const Variant *FDirect;
};

/// Operators in the order of their codes.
enum TkvOperatorType : quint8 {
    opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor, opMul,
    opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket, opNot, opUnMinus,
    opIn, opIs,
};

/// A constant.
TkvExprPtr kvConstNode(Variant value);
/// A two-operand operator. StrCat: the text concatenation that falls back
/// to addition when the left value is not a text. OptimizeBool: and/or of
/// Booleans, skipping the right operand when the left decides.
TkvExprPtr kvBinaryNode(TkvOperatorType op, TkvExprPtr left, TkvExprPtr right, bool strCat, bool optimizeBool);
/// not, or unary minus.
TkvExprPtr kvUnaryNode(TkvOperatorType op, TkvExprPtr operand);
/// A set constructor [a, b..c]: Items with a nullptr marking a range between
/// its neighbours. Its value is a variant array in the same encoding.
TkvExprPtr kvSetNode(std::vector<TkvExprPtr> items);
/// Left in Set, where Set came from kvSetNode or is any expression giving
/// an array in the set encoding.
TkvExprPtr kvInNode(TkvExprPtr left, TkvExprPtr set);
/// Whether a value is in the set held by a node made by kvSetNode.
bool kvSetContains(TkvExpr &set, const Variant &value);
