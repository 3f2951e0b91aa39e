#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

const QByteArray zelEmptyTemplate =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
    "<TzelReport Version=\"6.9.6\" DotMatrixReport=\"False\" IniFile=\"\\Software\\Zelworks\" "
    "PreviewOptions.Buttons=\"167935\" PreviewOptions.Zoom=\"1\" PrintOptions.Printer=\"Default\" "
    "PrintOptions.PrintOnSheet=\"0\" ReportOptions.CreateDate=\"46000.5\" ReportOptions.LastChange=\"46000.5\" "
    "ReportOptions.Description.Text=\"\" ScriptLanguage=\"PascalScript\" "
    "ScriptText.Text=\"begin&#13;&#10;&#13;&#10;end.\">\r\n"
    "  <TzelDataPage Name=\"Data\" HGuides.Text=\"\" VGuides.Text=\"\" Height=\"1000\" Left=\"0\" Top=\"0\" "
    "Width=\"1000\"/>\r\n"
    "</TzelReport>\r\n";

void zelPrepareTestEnvironment()
{
    const QByteArray home = ZEL_TEST_HOME;
    QDir().mkpath(QString::fromLocal8Bit(home + "/.config"));
    QDir().mkpath(QString::fromLocal8Bit(home + "/run"));
    QFile::setPermissions(QString::fromLocal8Bit(home + "/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_RUNTIME_DIR", home + "/run");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString zelProgramPath(const QString &name)
{
    return QStringLiteral(ZEL_BIN_DIR) + u'/' + name;
}

QString zelSourcePath(const QString &relative)
{
    return QStringLiteral(ZEL_SOURCE_DIR) + u'/' + relative;
}

QByteArray zelReadFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void zelWriteFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    ASSERT_EQ(f.write(data), data.size());
}

FakeDialogService::FakeDialogService()
{
    SetInstance(this);
}

FakeDialogService::~FakeDialogService()
{
    SetInstance(nullptr);
}

int FakeDialogService::MessageBox(const QString &text, const QString &caption, int buttons, Icon)
{
    Messages << caption + QStringLiteral(": ") + text;
    MessageButtons << buttons;
    if (NextButton)
        return NextButton;
    return (buttons & mbOK) ? mbOK : mbYes;
}

bool FakeDialogService::InputPassword(const QString &caption, QString &password)
{
    PasswordCaptions << caption;
    password = PasswordText;
    return PasswordAccepted;
}

TzelDialogService::FileResult FakeDialogService::FileDialog(const FileRequest &request)
{
    FileRequests << request;
    return NextFile;
}

bool FakeDialogService::InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    Queries << caption + QStringLiteral(": ") + prompt + QStringLiteral(": ") + value;
    if (QueryAccepted)
        value = QueryText;
    return QueryAccepted;
}

bool FakeDialogService::ColorDialog(int &color)
{
    Choosers << QStringLiteral("color");
    if (ChoiceAccepted)
        color = ChosenColor;
    return ChoiceAccepted;
}

bool FakeDialogService::FontDialog(FontChoice &font)
{
    Choosers << QStringLiteral("font");
    if (ChoiceAccepted)
        font = ChosenFont;
    return ChoiceAccepted;
}

bool FakeDialogService::PrintDialog(PrintRequest &request)
{
    Choosers << (request.SetupOnly ? QStringLiteral("printsetup") : QStringLiteral("print"));
    if (ChoiceAccepted)
        request = ChosenPrint;
    return ChoiceAccepted;
}

// Numbers are printed in the user's format: the locale is pinned.
ZelToolRun zelRun(const QString &program, const QStringList &args, const QString &workingDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.start(program, args);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000)) << qPrintable(process.errorString());
    // A crash is no exit status the program gives.
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

ZelToolRun zelreport(const QStringList &args, const QString &workingDir)
{
    return zelRun(zelProgramPath(QStringLiteral("zelreport")), args, workingDir);
}
