#include "support/testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

QString zelSourcePath(const QString &relative)
{
    const QByteArray root = qgetenv("ZEL_SOURCE_DIR");
    return QString::fromLocal8Bit(root) + u'/' + relative;
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
