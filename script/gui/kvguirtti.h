#pragma once
/// \file

#include <functional>

class QDialog;

// The GUI side of the script engine: drawing classes, forms and controls,
// and dialogs, on QtWidgets. The core engine (kv_script) stays headless;
// programs with windows, and tools that let scripts build forms, link this.

/// Registers the graphics, forms and dialogs binding modules (after the basic
/// classes they descend from) for every script made afterwards, the global
/// unit too when it is made later. Repeated calls do nothing.
void kvRegisterGuiRTTI();

/// Runs Form as a modal window and returns its modal result (an mr* value).
using TkvRunModal = std::function<int(QDialog &form)>;
/// Replaces how TCustomForm.ShowModal runs a form: tests fire events and
/// return a result, batch tools answer at once. Empty restores the default,
/// QDialog::exec.
void kvSetRunModal(TkvRunModal runner);
