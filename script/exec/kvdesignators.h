#pragma once

#include "script/exec/kvexpr.h"

class TkvCustomVariable;
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
/// 1-based index of a text; writing changes the base in place.
TkvExprPtr kvIndexNode(TkvExprPtr base, std::vector<TkvExprPtr> indices);
