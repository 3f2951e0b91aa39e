#pragma once
/// \file

/// Makes ShowReport and ShowPreparedReport open the preview window. Call
/// once at start-up, after QApplication exists.
void zelRegisterPreview();
