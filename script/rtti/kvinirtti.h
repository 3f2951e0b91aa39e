#pragma once
/// \file

#include "script/engine/kvrttimodule.h"

/// The binding module of the INI file classes: TCustomIniFile, TMemIniFile,
/// which changes its file only on UpdateFile, and TIniFile, which writes every
/// change to its file at once. Their string-list and stream parameters are
/// the objects of the basic classes (kvclassesrtti.h).
class TkvIniRTTI : public TkvRTTIModule
{
public:
    /// Registers the classes into Script.
    explicit TkvIniRTTI(TkvScript *script);
};

/// Adds TkvIniRTTI, after the basic classes it relies on, to the modules
/// every script's AddRTTI makes; once, from whichever threads it is called.
void kvRegisterIniRTTI();
