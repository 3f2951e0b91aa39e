// What a user saved is never lost: saves land where their names say, replace
// the old file only when complete, and report every failure by the file.
#include "support/testsupport.h"
#include "toolfixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>

namespace {

// Whether Pid holds a file open for writing below Folder other than Except.
bool writesBelow(qint64 pid, const QString &folder, const QString &except)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::Files | QDir::System)) {
        const QString target = fd.symLinkTarget();
        if (target.startsWith(folder) && target != except)
            return true;
    }
    return false;
}

} // namespace

TEST(ZelreportSafeSave, SavesLandWhereTheirNamesSay)
{
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("work/deeper"));
    ASSERT_TRUE(QDir().mkpath(work));
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    zelWriteFile(in, zelEmptyTemplate);
    struct Case
    {
        QString name;     ///< as given, relative to Work
        QString expected; ///< where it must land
    };
    const Case cases[] = {
        {QStringLiteral("sub/b.zt3"), work + QStringLiteral("/sub/b.zt3")},
        {QStringLiteral("../up.zt3"), dir.filePath(QStringLiteral("work/up.zt3"))},
        {QStringLiteral("with space/Ünïcødé €.zt3"), work + QStringLiteral("/with space/Ünïcødé €.zt3")},
        {dir.filePath(QStringLiteral("absolute.zt3")), dir.filePath(QStringLiteral("absolute.zt3"))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        if (c.name.contains(u'/') && !QDir::isAbsolutePath(c.name)) {
            ASSERT_TRUE(QDir(work).mkpath(QFileInfo(c.name).path()));
        }
        const ZelToolRun r = zelreport({QStringLiteral("resave"), in, c.name}, work);
        EXPECT_EQ(r.status, 0) << qPrintable(r.err);
        EXPECT_EQ(zelReadFile(c.expected), zelEmptyTemplate);
    }
    EXPECT_FALSE(QFileInfo::exists(work + QStringLiteral("/sub/sub")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("up.zt3"))));
}

TEST(ZelreportSafeSave, AWriteErrorAtCloseIsAnErrorOfTheSave)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    const QString full = dir.filePath(QStringLiteral("full.zt3"));
    zelWriteFile(in, zelEmptyTemplate);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), full));
    const ZelToolRun r = zelreport({QStringLiteral("resave"), in, full});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("zelreport: Cannot write file \"%1\": No space left on device\n").arg(full));
}

TEST(ZelreportSafeSave, AFullDiskLeavesTheOldFileAsItWas)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("big.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    writeTemplate(in, 200);
    zelWriteFile(out, zelEmptyTemplate);
    // The shell limits the size of files the program may write to 8 KiB; a
    // write beyond it fails as on a full disk.
    const ZelToolRun r = zelRun(QStringLiteral("sh"),
                                {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 8; exec \"$0\" \"$@\""),
                                 zelProgramPath(QStringLiteral("zelreport")), QStringLiteral("resave"), in, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("zelreport: Cannot write file \"%1\": File too large\n").arg(out));
    EXPECT_EQ(zelReadFile(out), zelEmptyTemplate);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("big.zt3"), QStringLiteral("out.zt3")}));
}

TEST(ZelreportSafeSave, KillingTheProgramWhileItWritesLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("big.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    writeTemplate(in, 60000);
    zelWriteFile(out, zelEmptyTemplate);

    QProcess process;
    process.start(zelProgramPath(QStringLiteral("zelreport")), {QStringLiteral("resave"), in, out});
    ASSERT_TRUE(process.waitForStarted());
    // Killed as soon as it has a file open for writing beside the old one.
    QElapsedTimer timer;
    timer.start();
    bool caught = false;
    while (process.state() == QProcess::Running && timer.elapsed() < 60000) {
        if (writesBelow(process.processId(), dir.path(), in)) {
            ::kill(pid_t(process.processId()), SIGKILL);
            caught = true;
            break;
        }
        QThread::usleep(200);
    }
    process.waitForFinished();
    ASSERT_TRUE(caught) << "the program ended before it could be caught writing";
    EXPECT_EQ(zelReadFile(out), zelEmptyTemplate);
}

TEST(ZelreportSafeSave, AWriteProtectedFileIsRefusedForTemplatesAndPreparedReports)
{
    QTemporaryDir dir;
    const QString prepared = writePrepared(dir);
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    zelWriteFile(in, zelEmptyTemplate);
    for (const QString &source : {in, prepared}) {
        SCOPED_TRACE(source.toStdString());
        const QString out = dir.filePath(QStringLiteral("out.") + QFileInfo(source).suffix());
        zelWriteFile(out, "kept");
        ASSERT_TRUE(QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        const ZelToolRun r = zelreport({QStringLiteral("resave"), source, out});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, QStringLiteral("zelreport: Cannot create file \"%1\": the file is write-protected\n").arg(out));
        EXPECT_EQ(zelReadFile(out), "kept");
        EXPECT_FALSE(QFileInfo(out).permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteOther));
    }
}

TEST(ZelreportSafeSave, ATruncatedTemplateIsAnErrorThatKeepsWhatWasRead)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.zt3"));
    const QString cut = dir.filePath(QStringLiteral("cut.zt3"));
    const QString out = dir.filePath(QStringLiteral("out.zt3"));
    writeTemplate(in, 3);
    QByteArray bytes = zelReadFile(in);
    bytes.truncate(bytes.indexOf("<TzelMemoView Name=\"Memo3\""));
    zelWriteFile(cut, bytes);
    const ZelToolRun r = zelreport({QStringLiteral("resave"), cut, out});
    EXPECT_EQ(r.status, 1);
    const int lines = int(bytes.count('\n')) + 1;
    const int column = int(bytes.size() - bytes.lastIndexOf('\n'));
    EXPECT_EQ(r.err, QStringLiteral("The following error(s) have occured:\n%1:%2:%3: The file ends before the report is "
                                    "complete\n")
                         .arg(cut)
                         .arg(lines)
                         .arg(column));
    const QByteArray saved = zelReadFile(out);
    EXPECT_TRUE(saved.contains("Name=\"Memo2\"")) << saved.toStdString();
    EXPECT_FALSE(saved.contains("Name=\"Memo3\""));
}
