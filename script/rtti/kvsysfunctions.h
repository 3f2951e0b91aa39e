#pragma once
/// \file

#include "script/engine/kvrttimodule.h"

/// The standard library every script sees: basic types, constants, the
/// exception variables and the conversion, string, maths and other functions.
class TkvSysFunctions : public TkvRTTIModule
{
public:
    /// Registers the library into Script.
    explicit TkvSysFunctions(TkvScript *script);
};
