#pragma once
/// \file

#include "script/engine/kvrttimodule.h"

class TzelClassInfo;

/// The report classes as scripts see them: constants, enumerations and sets
/// of the report model, the process-wide variables, the report's date and
/// aggregate functions, and a class binding for every report class with its
/// published properties (through the reflection tables) and its methods.
class TzelClassRTTI : public TkvRTTIModule
{
public:
    /// Registers into Script.
    explicit TzelClassRTTI(TkvScript *script);
};

/// Binds Info (and its ancestors and the classes of its nested objects) in
/// Script, when not bound yet: every published property becomes a member.
void zelBindClass(TkvScript &script, const TzelClassInfo &info);
