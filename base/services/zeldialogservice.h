#pragma once

#include <QString>

// The modal actions the library asks of its host: message boxes, the password
// window and file dialogs. The host program installs a widget implementation;
// batch tools and tests install their own, so nothing below the GUI layers
// ever opens a window or waits in a modal loop.
class TzelDialogService
{
public:
    /// Buttons of a message box, as bits.
    enum Button { mbOK = 1, mbCancel = 2, mbYes = 4, mbNo = 8 };
    /// The icon a message box shows.
    enum Icon { miNone, miInformation, miWarning, miError, miQuestion };

    /// What a file dialog is asked to show.
    struct FileRequest
    {
        bool Save = false;            ///< a save dialog, otherwise an open dialog
        bool OverwritePrompt = false; ///< ask before replacing an existing file
        QString Filter;               ///< "Description|*.ext|Description|*.ext"
        int FilterIndex = 1;          ///< 1-based index of the type shown first
        QString DefaultExt;           ///< extension added to a name typed without one
        QString InitialDir;           ///< folder the dialog starts in
        QString FileName;             ///< proposed name, without folder
    };
    /// What the user chose in a file dialog.
    struct FileResult
    {
        bool Accepted = false; ///< False when the user cancelled
        QString FileName;      ///< the full path chosen
        int FilterIndex = 1;   ///< 1-based index of the chosen type
    };

    virtual ~TzelDialogService();

    /// Shows a message box and returns the button pressed.
    virtual int MessageBox(const QString &text, const QString &caption, int buttons, Icon icon) = 0;
    /// Asks for a password; returns False when cancelled.
    virtual bool InputPassword(const QString &caption, QString &password) = 0;
    /// Shows an open or save dialog.
    virtual FileResult FileDialog(const FileRequest &request) = 0;

    /// The service in use: the one installed last, or one that writes messages
    /// to standard error and answers every question with Cancel.
    static TzelDialogService &Instance();
    /// Installs Service (not owned); nullptr restores the console service.
    static void SetInstance(TzelDialogService *service);
};
