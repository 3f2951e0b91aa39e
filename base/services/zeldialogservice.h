#pragma once
/// \file

#include <QString>

/// The modal actions the library asks of its host: message boxes, the password
/// window, file dialogs and the choosers scripts open (a line of text, a
/// colour, a font, print settings). The host program installs a widget
/// implementation; batch tools and tests install their own, so nothing below
/// the GUI layers ever opens a window or waits in a modal loop.
class TzelDialogService
{
public:
    /// Buttons of a message box, as bits.
    enum Button {
        mbOK = 1, mbCancel = 2, mbYes = 4, mbNo = 8, mbAbort = 16, mbRetry = 32,
        mbIgnore = 64, mbAll = 128, mbNoToAll = 256, mbYesToAll = 512, mbHelp = 1024
    };
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
        QString Title;                ///< the window's caption; the usual one when empty
    };
    /// What the user chose in a file dialog.
    struct FileResult
    {
        bool Accepted = false; ///< False when the user cancelled
        QString FileName;      ///< the full path chosen
        int FilterIndex = 1;   ///< 1-based index of the chosen type
    };

    /// A font as a font dialog proposes and returns it.
    struct FontChoice
    {
        QString Name;  ///< family
        int Size = 10; ///< in points
        int Style = 0; ///< bits: 1 bold, 2 italic, 4 underline, 8 strikeout
        int Color = 0; ///< 0x00BBGGRR
    };
    /// What a print dialog proposes and what the user chose.
    struct PrintRequest
    {
        bool SetupOnly = false;   ///< the printer setup window, without pages and copies
        int Copies = 1;           ///< number of copies
        bool Collate = false;     ///< copies printed whole one after the other
        int Range = 0;            ///< 0 all pages, 1 the selection, 2 FromPage..ToPage
        int FromPage = 0;         ///< first page of the range
        int ToPage = 0;           ///< last page of the range
        int MinPage = 0;          ///< lowest page that can be chosen
        int MaxPage = 0;          ///< highest page that can be chosen (0: no limit)
        bool PrintToFile = false; ///< print into a file
    };

    virtual ~TzelDialogService();

    /// Shows a message box and returns the button pressed.
    virtual int MessageBox(const QString &text, const QString &caption, int buttons, Icon icon) = 0;
    /// Asks for a password; returns False when cancelled.
    virtual bool InputPassword(const QString &caption, QString &password) = 0;
    /// Shows an open or save dialog.
    virtual FileResult FileDialog(const FileRequest &request) = 0;
    /// Asks for a line of text under Prompt; Value is proposed and takes the
    /// answer. False when cancelled (the default answer).
    virtual bool InputQuery(const QString &caption, const QString &prompt, QString &value);
    /// Lets the user pick a colour (0x00BBGGRR); False when cancelled (the default answer).
    virtual bool ColorDialog(int &color);
    /// Lets the user pick a font; False when cancelled (the default answer).
    virtual bool FontDialog(FontChoice &font);
    /// Asks how to print, or for the printer setup; False when cancelled (the default answer).
    virtual bool PrintDialog(PrintRequest &request);

    /// The service in use: the one installed last, or one that writes messages
    /// to standard error and answers every question with Cancel.
    static TzelDialogService &Instance();
    /// Installs Service (not owned); nullptr restores the console service.
    static void SetInstance(TzelDialogService *service);
};
