#pragma once
/// \file

#include "script/engine/kvrttimodule.h"

/// Forms and controls for scripts over QtWidgets: TControl and its kinds
/// (edits, buttons, boxes, lists, scroll boxes), TForm over QDialog,
/// TDataModule, TApplication with the Application variable, their events,
/// and the constants of modal results, cursors, border styles and keys.
class TkvFormsRTTI : public TkvRTTIModule
{
public:
    /// Registers into Script.
    explicit TkvFormsRTTI(TkvScript *script);
};
