#include "base/core/zelexception.h"
#include "base/stream/zelsafefile.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The mode bits; the "user" ones say what this process may do, which for root is anything.
constexpr QFileDevice::Permissions kWriteBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

class SafeFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("report.zt3"));
        zelWriteFile(path, "old contents");
    }

    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST_F(SafeFile, AWriterThatFailsHalfWayLeavesTheOldFileAndNothingElse)
{
    EXPECT_THROW(zelSaveFile(path,
                             [](QIODevice *stream) {
                                 stream->write(QByteArray(100000, 'n'));
                                 throw TzelException(QStringLiteral("the writer gave up"));
                             }),
                 TzelException);
    EXPECT_EQ(zelReadFile(path), "old contents");
    EXPECT_EQ(files(), QStringList{QStringLiteral("report.zt3")});

    // A file dropped without Commit is as good as never written.
    {
        TzelSafeFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("never committed");
    }
    EXPECT_EQ(zelReadFile(path), "old contents");
}

TEST_F(SafeFile, TheNewFileKeepsTheOldOnesPermissionsAndLinks)
{
    const QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path, mode));
    const QString link = dir.filePath(QStringLiteral("link.zt3"));
    ASSERT_TRUE(QFile::link(path, link));

    zelSaveFile(link, [](QIODevice *stream) { stream->write("new contents"); });
    EXPECT_EQ(zelReadFile(path), "new contents");
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link is written through, not replaced";
    EXPECT_EQ(QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), mode);
    EXPECT_EQ(files(), (QStringList{QStringLiteral("link.zt3"), QStringLiteral("report.zt3")}));
}

TEST_F(SafeFile, TargetsThatCannotBeReplacedAreRefusedByName)
{
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    const QString folder = dir.filePath(QStringLiteral("folder.zt3"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.zt3")));
    const std::pair<QString, QString> cases[] = {
        {path, QStringLiteral("Cannot create file \"%1\": the file is write-protected").arg(path)},
        {folder, QStringLiteral("Cannot create file \"%1\": it is a folder").arg(folder)},
    };
    for (const auto &[target, message] : cases) {
        try {
            zelSaveFile(target, [](QIODevice *stream) { stream->write("x"); });
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const TzelFileError &e) {
            EXPECT_EQ(e.message(), message);
        }
    }
    EXPECT_EQ(zelReadFile(path), "old contents");
    EXPECT_FALSE(QFileInfo(path).permissions() & kWriteBits);
}
