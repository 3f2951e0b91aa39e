#pragma once
/// \file

#include "base/services/zeldialogservice.h"

/// The dialog service of a program with windows: Qt message boxes, input
/// dialogs for passwords and texts, Qt's file, colour and font dialogs, and a
/// small window of print settings.
class TzelWidgetDialogService : public TzelDialogService
{
public:
    int MessageBox(const QString &text, const QString &caption, int buttons, Icon icon) override;
    bool InputPassword(const QString &caption, QString &password) override;
    FileResult FileDialog(const FileRequest &request) override;
    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;
    bool ColorDialog(int &color) override;
    bool FontDialog(FontChoice &font) override;
    bool PrintDialog(PrintRequest &request) override;

    /// Turns "Desc|*.a|Desc|*.b" into Qt's "Desc (*.a);;Desc (*.b)".
    static QString QtFilter(const QString &filter);
};
