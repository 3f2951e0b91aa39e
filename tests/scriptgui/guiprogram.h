#pragma once

#include "script/engine/kvscript.h"
#include "support/testsupport.h"

class QObject;

// A program with the GUI bindings that stays alive after its run, so that a
// test can fire the events it set up and look at the widgets it made.
class GuiProgram
{
public:
    /// Source in Language, in a scope that has every binding module.
    GuiProgram(const char *language, const char *source, bool restricted = false);

    /// Compiles and runs; the error as "ERROR at LINE:COL: MESSAGE", or empty.
    QString Run();
    /// The Qt object held in the program's variable Name; nullptr when none.
    QObject *Object(const char *name) const;

    TkvScript Scope;  ///< every binding module; the program's parent
    TkvScript Script; ///< the program
};

/// The texts of the message boxes Dialogs recorded, one a line, without the
/// captions; and forgets them.
QString shown(FakeDialogService &dialogs);
