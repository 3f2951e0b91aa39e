#pragma once

#include "base/services/zeldialogservice.h"

// The dialog service of a program with windows: Qt message boxes, an input
// dialog for passwords and Qt's file dialogs.
class TzelWidgetDialogService : public TzelDialogService
{
public:
    int MessageBox(const QString &text, const QString &caption, int buttons, Icon icon) override;
    bool InputPassword(const QString &caption, QString &password) override;
    FileResult FileDialog(const FileRequest &request) override;

    /// Turns "Desc|*.a|Desc|*.b" into Qt's "Desc (*.a);;Desc (*.b)".
    static QString QtFilter(const QString &filter);
};
