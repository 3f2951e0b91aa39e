#pragma once
/// \file

/// Registers the report classes and functions for every script made
/// afterwards (and for the shared global unit); once per process.
void zelRegisterScriptBindings();
