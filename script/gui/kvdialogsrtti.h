#pragma once
/// \file

#include "script/engine/kvrttimodule.h"

/// The dialogs of scripts: the file, colour, font and print dialog
/// components and the functions MessageDlg, InputBox and InputQuery. All of
/// them ask TzelDialogService, so batch tools and tests answer without a
/// window; all refuse to run in restricted mode.
class TkvDialogsRTTI : public TkvRTTIModule
{
public:
    /// Registers into Script.
    explicit TkvDialogsRTTI(TkvScript *script);
};
