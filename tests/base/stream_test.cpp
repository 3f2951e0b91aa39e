#include "base/core/zelexception.h"
#include "base/stream/zelfilestream.h"
#include "base/stream/zelmemorystream.h"
#include "base/stream/zeltempfile.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Both kinds of segment stream, opened for reading and writing.
struct StreamKind
{
    const char *Name;
    std::function<std::unique_ptr<TzelSegmentStream>(const QTemporaryDir &)> Make;
};

const StreamKind kStreamKinds[] = {
    {"memory", [](const QTemporaryDir &) -> std::unique_ptr<TzelSegmentStream> {
         return std::make_unique<TzelMemoryStream>();
     }},
    {"file", [](const QTemporaryDir &dir) -> std::unique_ptr<TzelSegmentStream> {
         return std::make_unique<TzelFileStream>(dir.filePath(QStringLiteral("segment")));
     }},
};

} // namespace

TEST(SegmentStream, VirtualEndBoundsSizeAndReadingUntilReset)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const StreamKind &kind : kStreamKinds) {
        SCOPED_TRACE(kind.Name);
        std::unique_ptr<TzelSegmentStream> s = kind.Make(dir);
        ASSERT_TRUE(s->open(QIODevice::ReadWrite));
        ASSERT_EQ(s->write("0123456789"), 10);

        // A reader that reads to the end gets exactly the range, from where
        // the stream stands.
        s->SetVirtualEnd(7);
        ASSERT_TRUE(s->seek(3));
        EXPECT_EQ(s->size(), 7);
        EXPECT_EQ(s->readAll(), "3456");
        EXPECT_TRUE(s->atEnd());
        ASSERT_TRUE(s->seek(5));
        EXPECT_EQ(s->read(100), "56");

        s->SetVirtualEnd(0);
        EXPECT_EQ(s->size(), 10);
        EXPECT_EQ(s->readAll(), "789");

        // Writing past a virtual end extends the real stream.
        s->SetVirtualEnd(4);
        ASSERT_TRUE(s->seek(10));
        ASSERT_EQ(s->write("AB"), 2);
        s->SetVirtualEnd(0);
        ASSERT_TRUE(s->seek(0));
        EXPECT_EQ(s->readAll(), "0123456789AB");
    }
}

TEST(SegmentStream, FileStreamThatCannotOpenReportsWhy)
{
    TzelFileStream s(QStringLiteral("/nonexistent-folder/segment"));
    EXPECT_FALSE(s.open(QIODevice::ReadWrite));
    EXPECT_FALSE(s.errorString().isEmpty());
    EXPECT_FALSE(s.isOpen());
}

TEST(TempFile, CreatesUniqueEmptyFilesInTheFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The folder without its final separator still receives the files.
    const QString first = zelCreateTempFile(dir.path(), QStringLiteral("qzPic"));
    const QString second = zelCreateTempFile(dir.path() + u'/', QStringLiteral("qzPic"));
    EXPECT_NE(first, second);
    for (const QString &name : {first, second}) {
        const QFileInfo info(name);
        EXPECT_TRUE(info.exists());
        EXPECT_EQ(info.size(), 0);
        EXPECT_EQ(info.absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("qzPic")));
    }

    const QString system = zelCreateTempFile(QString(), QStringLiteral("qz"));
    EXPECT_EQ(QFileInfo(system).absolutePath(), QDir(QDir::tempPath()).absolutePath());
    EXPECT_TRUE(QFile::remove(system));
}

TEST(TempFile, MissingFolderRaisesAFileErrorNamingIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("missing"));
    try {
        zelCreateTempFile(missing, QStringLiteral("qz"));
        ADD_FAILURE() << "no exception";
    } catch (const TzelFileError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot create a temporary file in \"")))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(missing))) << e.message().toStdString();
    }
}

TEST(SegmentStream, ReadingPastTheEndChangesNothing)
{
    QTemporaryDir dir;
    for (const StreamKind &kind : kStreamKinds) {
        SCOPED_TRACE(kind.Name);
        std::unique_ptr<TzelSegmentStream> s = kind.Make(dir);
        ASSERT_TRUE(s->open(QIODevice::ReadWrite));
        s->write("abcd");
        ASSERT_TRUE(s->seek(100));
        EXPECT_TRUE(s->read(1).isEmpty());
        EXPECT_EQ(s->size(), 4);
    }
}
