#pragma once
/// \file

/// Registers the views, frames, fills and highlights by class name, so that
/// templates can name them.
void zelRegisterViewClasses();
