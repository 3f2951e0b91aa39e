#include "base/core/zelexception.h"
#include "model/io/zeliotransportfile.h"
#include "model/io/zelnode.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FileTransport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        base = dir.path() + u'/';
        transport.SetBasePath(base);
    }

    QString path(const QString &relative) const { return base + relative; }

    QTemporaryDir dir;
    QString base;
    TzelIOTransportFile transport{TzelIOTransportFile::NoRegister};
};

} // namespace

TEST_F(FileTransport, SameNameWhileWritingGivesSameStreamAndSwitchingAccessReopens)
{
    transport.SetFilterAccess(faWrite);
    QIODevice *written = transport.GetStream(path(QStringLiteral("a.txt")));
    ASSERT_NE(written, nullptr);
    EXPECT_TRUE(written->isWritable());
    EXPECT_EQ(transport.GetStream(path(QStringLiteral("A.TXT"))), written) << "node names ignore case";
    written->write("hello");
    EXPECT_EQ(transport.RootNode()->FilesCount(), 1);

    transport.SetFilterAccess(faRead);
    QIODevice *read = transport.GetStream(path(QStringLiteral("a.txt")));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->isReadable());
    EXPECT_FALSE(read->isWritable());
    EXPECT_EQ(read->readAll(), QByteArray("hello")) << "the writer was flushed and freed first";
    EXPECT_EQ(transport.RootNode()->FilesCount(), 1);

    const TzelNode *node = transport.GetFileNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->ObjectData(), read);
    EXPECT_EQ(node->FilterAccess(), faRead);
    EXPECT_EQ(node->OriginalName(), path(QStringLiteral("a.txt")));
}

TEST_F(FileTransport, WritingBelowBasePathCreatesMissingFolders)
{
    transport.SetFilterAccess(faWrite);
    // Windows-style separators are accepted as well.
    QIODevice *stream = transport.GetStream(base + QStringLiteral("sub\\deeper/a.txt"));
    stream->write("x");
    transport.FreeStream(stream);

    EXPECT_TRUE(QFileInfo(path(QStringLiteral("sub/deeper"))).isDir());
    EXPECT_EQ(zelReadFile(path(QStringLiteral("sub/deeper/a.txt"))), QByteArray("x"));

    const TzelNode *sub = transport.RootNode()->Find(QStringLiteral("sub"), false);
    ASSERT_NE(sub, nullptr);
    EXPECT_NE(sub->Find(QStringLiteral("deeper"), false), nullptr);
    EXPECT_EQ(transport.RootNode()->Count(), 1) << "the base path itself is not part of the tree";

    // A relative name lands below the base path too.
    stream = transport.GetStream(QStringLiteral("rel\\b.txt"));
    transport.FreeStream(stream);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("rel/b.txt"))));
}

TEST_F(FileTransport, ReadingCreatesNoFolders)
{
    zelWriteFile(path(QStringLiteral("r.txt")), "data");
    transport.SetFilterAccess(faRead);
    QIODevice *stream = transport.GetStream(path(QStringLiteral("r.txt")));
    EXPECT_EQ(stream->readAll(), QByteArray("data"));
    EXPECT_THROW(transport.GetStream(path(QStringLiteral("nothere/r.txt"))), TzelFileError);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("nothere"))));
}

TEST_F(FileTransport, AbsoluteNameOutsideBasePathMakesNoFoldersBelowIt)
{
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    transport.SetFilterAccess(faWrite);
    transport.FreeStream(transport.GetStream(other.path() + QStringLiteral("/out/a.txt")));

    EXPECT_TRUE(QFileInfo::exists(other.path() + QStringLiteral("/out/a.txt")));
    EXPECT_EQ(QDir(base).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST_F(FileTransport, FileErrorsNameTheFileAndLeaveNoStream)
{
    struct Case { const char *what; TzelFilterAccess access; QString name; };
    zelWriteFile(path(QStringLiteral("blocker")), "a file where a folder is wanted");
    ASSERT_TRUE(QDir(base).mkdir(QStringLiteral("adir")));
    const Case cases[] = {
        {"missing file", faRead, path(QStringLiteral("missing.txt"))},
        {"folder read as a file", faRead, base},
        {"folder cannot be created", faWrite, path(QStringLiteral("blocker/sub/a.txt"))},
        {"file cannot be created", faWrite, path(QStringLiteral("adir"))},
    };
    for (const Case &c : cases) {
        transport.SetFilterAccess(c.access);
        try {
            transport.GetStream(c.name);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const TzelFileError &e) {
            EXPECT_TRUE(e.message().contains(dir.path())) << c.what << ": " << qPrintable(e.message());
        }
        EXPECT_EQ(transport.GetFileNode(), nullptr) << c.what;
    }
    // A failed folder is not remembered: once the way is clear, it is made.
    QFile::remove(path(QStringLiteral("blocker")));
    transport.SetFilterAccess(faWrite);
    EXPECT_NO_THROW(transport.FreeStream(transport.GetStream(path(QStringLiteral("blocker/a.txt")))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("blocker/a.txt"))));
}

TEST_F(FileTransport, WriteFailureSurfacesWhenTheStreamIsFreed)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    transport.SetFilterAccess(faWrite);
    QIODevice *stream = transport.GetStream(QStringLiteral("/dev/full"));
    stream->write("lost");
    EXPECT_THROW(transport.FreeStream(stream), TzelFileError);
    EXPECT_EQ(transport.RootNode()->Find(stream, true), nullptr) << "the stream is freed all the same";
    EXPECT_NO_THROW(transport.FreeStream(stream));
}

TEST_F(FileTransport, FreeingAStreamTwiceDoesNothingTheSecondTime)
{
    transport.SetFilterAccess(faWrite);
    QIODevice *a = transport.GetStream(path(QStringLiteral("a.txt")));
    QIODevice *b = transport.GetStream(path(QStringLiteral("b.txt")));
    transport.FreeStream(a);
    transport.FreeStream(a); // dangling: must not be touched
    transport.FreeStream(nullptr);

    TzelCustomIOTransport::StreamList names;
    transport.CopyStreamsNames(names, true);
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(names[0].second, b);

    names.clear();
    transport.CopyStreamsNames(names, false);
    EXPECT_EQ(names.size(), 2) << "a closed stream keeps its node";
    EXPECT_EQ(transport.RootNode()->FilesCount(), 2);
}

TEST_F(FileTransport, ReopensClosedStreamsAndClosesEverythingOnCloseFilter)
{
    transport.SetFilterAccess(faWrite);
    transport.FreeStream(transport.GetStream(path(QStringLiteral("one.txt"))));
    transport.GetStream(path(QStringLiteral("sub/two.txt")))->write("2");

    transport.LoadClosedStreams();
    TzelCustomIOTransport::StreamList names;
    transport.CopyStreamsNames(names, true);
    ASSERT_EQ(names.size(), 2);
    EXPECT_EQ(names[0].first, path(QStringLiteral("one.txt")));
    EXPECT_EQ(names[1].first, path(QStringLiteral("sub/two.txt")));

    transport.CloseFilter();
    EXPECT_EQ(transport.RootNode()->Count(), 0);
    EXPECT_EQ(transport.RootNode()->FilesCount(), 0);
    EXPECT_EQ(transport.GetFileNode(), nullptr);
    EXPECT_EQ(zelReadFile(path(QStringLiteral("sub/two.txt"))), QByteArray("2"));

    // The streams of a list are fetched by name again.
    transport.SetFilterAccess(faRead);
    transport.LoadStreamsList(names);
    ASSERT_NE(names[1].second, nullptr);
    EXPECT_EQ(names[1].second->readAll(), QByteArray("2"));
}

TEST_F(FileTransport, TempContainerIsAFreshFolderRemovedWithEverythingInIt)
{
    TzelIOTransportFile temp(TzelIOTransportFile::NoRegister);
    temp.SetFilterAccess(faWrite);
    temp.CreateTempContainer();
    ASSERT_TRUE(temp.TempFolderExists());
    const QString folder = temp.BasePath();
    EXPECT_NE(folder, base);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).dirName().startsWith(QStringLiteral("qz")));
    temp.CreateTempContainer();
    EXPECT_EQ(temp.BasePath(), folder) << "made once";

    temp.GetStream(QStringLiteral("page1.xml"))->write("p");
    QIODevice *picture = temp.GetStream(QStringLiteral("pics\\1.png"));
    picture->write("i");
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("pics")).isDir());
    temp.FreeStream(picture);
    EXPECT_EQ(zelReadFile(folder + QStringLiteral("pics/1.png")), QByteArray("i"));

    temp.FreeTempContainer();
    EXPECT_FALSE(temp.TempFolderExists());
    EXPECT_FALSE(QFileInfo::exists(folder));
    temp.FreeTempContainer();

    // The temporary transport of another one goes at CloseFilter; a file
    // transport left with its folder removes it when destroyed.
    const QString tempOfTransport = transport.TempFilter()->BasePath();
    EXPECT_TRUE(QFileInfo(tempOfTransport).isDir());
    transport.CloseFilter();
    EXPECT_FALSE(QFileInfo::exists(tempOfTransport));

    QString leftOver;
    {
        TzelIOTransportFile scoped(TzelIOTransportFile::NoRegister);
        scoped.CreateTempContainer();
        leftOver = scoped.BasePath();
    }
    EXPECT_FALSE(QFileInfo::exists(leftOver));
}

TEST_F(FileTransport, ContainersAreMadeAndDeletedBelowTheCurrentOne)
{
    transport.SetFilterAccess(faWrite);
    TzelNode *node = transport.CreateContainer(QStringLiteral("a\\b"), true);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(transport.CurrentContainer(), QStringLiteral("b"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("a/b"))).isDir());
    EXPECT_EQ(transport.CreateContainer(QStringLiteral("c"), false)->Parent(), node);

    transport.DeleteContainer(QStringLiteral("C"));
    EXPECT_EQ(node->Count(), 0);
}

TEST(FileTransportClass, IsNeverListedAndDescribedAsFile)
{
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    transport.SetVisibility({fvDesigner, fvPreview});
    EXPECT_TRUE(transport.GetVisibility().IsEmpty());
    EXPECT_EQ(transport.GetDescription(), QStringLiteral("File"));
}
