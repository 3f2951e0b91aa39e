#pragma once

#include "base/services/zeldialogservice.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

/// Prints a QString readably in assertion messages.
void PrintTo(const QString &s, std::ostream *os);

/// Prints a byte array readably in assertion messages.
void PrintTo(const QByteArray &bytes, std::ostream *os);

/// A template of an empty report as the library writes it (fixed dates).
extern const QByteArray zelEmptyTemplate;

/// Points HOME and the XDG folders at a folder of the build and selects the
/// offscreen platform, so that no test touches the user's settings or screen.
void zelPrepareTestEnvironment();
/// Path of a program built into build/bin.
QString zelProgramPath(const QString &name);
/// What a run of a program left: exit status and both output streams.
struct ZelToolRun
{
    int status; ///< the exit status; -1 for a crash
    QString out;
    QString err;
};
/// Runs Program with Args in the C.UTF-8 locale, in WorkingDir when given,
/// and waits for it.
ZelToolRun zelRun(const QString &program, const QStringList &args, const QString &workingDir = QString());
/// Runs the zelreport program with Args in the C.UTF-8 locale and waits for it.
ZelToolRun zelreport(const QStringList &args, const QString &workingDir = QString());
/// Path of a file below the source tree (examples, fixtures).
QString zelSourcePath(const QString &relative);
/// Reads a whole file; empty when it cannot be read.
QByteArray zelReadFile(const QString &path);
/// Writes a whole file, failing the test when it cannot.
void zelWriteFile(const QString &path, const QByteArray &data);

// A dialog service for tests: records every message box and answers with
// scripted replies instead of waiting for a user. Installs itself while alive.
class FakeDialogService : public TzelDialogService
{
public:
    FakeDialogService();
    ~FakeDialogService() override;

    int MessageBox(const QString &text, const QString &caption, int buttons, Icon icon) override;
    bool InputPassword(const QString &caption, QString &password) override;
    FileResult FileDialog(const FileRequest &request) override;
    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;
    bool ColorDialog(int &color) override;
    bool FontDialog(FontChoice &font) override;
    bool PrintDialog(PrintRequest &request) override;

    QStringList Messages;          ///< "caption: text" of every message box shown
    QList<int> MessageButtons;     ///< buttons offered by every message box shown
    int NextButton = 0;            ///< reply of message boxes; 0: OK when offered, otherwise Yes
    QStringList PasswordCaptions;  ///< caption of every password window shown
    bool PasswordAccepted = false; ///< reply of the password window
    QString PasswordText;          ///< text typed into the password window
    FileResult NextFile;           ///< reply of the next file dialog
    QList<FileRequest> FileRequests; ///< every file dialog asked for
    QStringList Queries;           ///< "caption: prompt: proposed value" of every text query
    bool QueryAccepted = false;    ///< reply of text queries
    QString QueryText;             ///< text typed into text queries
    QStringList Choosers;          ///< "color", "font", "print" or "printsetup" per chooser shown
    bool ChoiceAccepted = false;   ///< reply of the colour, font and print choosers
    int ChosenColor = 0;           ///< colour an accepted colour chooser returns
    FontChoice ChosenFont;         ///< font an accepted font chooser returns
    PrintRequest ChosenPrint;      ///< settings an accepted print chooser returns
};
