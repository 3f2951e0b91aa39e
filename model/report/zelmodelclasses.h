#pragma once
/// \file

/// Registers every class of the report model by name, so that templates can
/// name them; safe to call more than once.
void zelRegisterModelClasses();
