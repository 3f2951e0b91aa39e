#pragma once
/// \file

#include "script/exec/kvexpr.h"

class TkvClassVariable;
class TkvCustomVariable;
class TkvPropertyHelper;
class TkvMethodHelper;
class TkvProcVariable;
class TkvScript;

// Designators: the nodes that name things (variables, calls, elements).

/// A variable: reads and writes its storage directly.
TkvExprPtr kvVariableNode(TkvVariable *variable);
/// Any other entry, read through its Value (types, enumeration values).
TkvExprPtr kvEntryNode(TkvCustomVariable *entry);
/// A call of a script procedure with one argument per parameter; by-reference
/// arguments that are writable get the parameters' final values.
TkvExprPtr kvProcCallNode(TkvProcVariable *proc, std::vector<TkvExprPtr> args);
/// A call of a host method on the object Instance gives (nullptr: none).
TkvExprPtr kvMethodCallNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> args,
                            TkvScript *script);
/// Base[indices]: an element of a variant array, or the character at a
/// 1-based index of a text; writing changes the base in place. Any other
/// value is taken as an object and indexed through its class's default
/// property.
TkvExprPtr kvIndexNode(TkvExprPtr base, std::vector<TkvExprPtr> indices, TkvScript *script);
/// A property of the object Instance gives.
TkvExprPtr kvPropertyNode(TkvPropertyHelper *property, TkvExprPtr instance, TkvScript *script);
/// An indexed property of the object Instance gives: read through its
/// method's ".GET" call, written through ".SET" with the value last.
TkvExprPtr kvIndexedPropertyNode(TkvMethodHelper *method, TkvExprPtr instance, std::vector<TkvExprPtr> indices,
                                 TkvScript *script);
/// Class(Value): Value, with the class as its static type.
TkvExprPtr kvClassCastNode(TkvClassVariable *binding, TkvExprPtr value);
/// Left is Class: whether the object's class is Class or descends from it.
TkvExprPtr kvIsNode(TkvExprPtr left, TkvClassVariable *binding, TkvScript *script);
/// Instance.Name(Args) where the class is known only when it runs: the
/// member is found through the object's class binding then. Indexed: the
/// arguments were written Name[Args] (an indexed property, or an element of
/// the member's value).
TkvExprPtr kvLateMemberNode(TkvExprPtr instance, const QString &name, std::vector<TkvExprPtr> args,
                            TkvScript *script, bool indexed);
