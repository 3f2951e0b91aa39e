#pragma once
/// \file

/// Registers every band kind by class name, so that templates can name them.
void zelRegisterBandClasses();
