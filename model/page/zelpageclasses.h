#pragma once
/// \file

/// Registers the report, data and dialog pages by class name, so that
/// templates can name them.
void zelRegisterPageClasses();
