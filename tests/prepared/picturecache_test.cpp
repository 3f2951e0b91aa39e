#include "base/core/zelexception.h"
#include "base/xml/zelxmlitem.h"
#include "model/report/zelreport.h"
#include "model/view/zelpictureview.h"
#include "prepared/zelpicturecache.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A PNG picture of Width x Height pixels in one shade.
TzelPicture picture(int width, int height, unsigned char shade)
{
    TzelImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(size_t(width * height * 4), shade);
    TzelPicture result;
    result.SetImage(image);
    return result;
}

// Distinct pictures of different sizes.
QList<TzelPicture> pictures(int count)
{
    QList<TzelPicture> result;
    for (int i = 0; i < count; ++i)
        result.append(picture(2 + i, 3 + 2 * i, static_cast<unsigned char>(40 * i)));
    return result;
}

// The bytes the cache gives back for ImageIndex.
QByteArray stored(const TzelPictureCache &cache, int imageIndex)
{
    TzelPicture result;
    cache.GetPicture(result, imageIndex);
    return result.Data();
}

// Hands every picture to the cache through a picture object; the indexes given.
QList<int> addAll(TzelPictureCache &cache, const QList<TzelPicture> &list)
{
    QList<int> indexes;
    TzelPictureView view;
    for (const TzelPicture &p : list) {
        view.SetPicture(p);
        cache.AddPicture(&view);
        indexes.append(view.ImageIndex);
    }
    return indexes;
}

QStringList segmentFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("qzPic*")}, QDir::Files);
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

} // namespace

TEST(PictureCache, PictureObjectsGetConsecutiveIndexesAndOnePerChange)
{
    TzelReport report;
    TzelPictureCache cache;
    report.SetPictureStore(&cache);
    TzelPictureView source;
    auto *first = new TzelPictureView(&report);
    auto *second = new TzelPictureView(&report);
    auto *none = new TzelPictureView(&report);
    const QList<TzelPicture> list = pictures(3);
    first->SetPicture(list[0]);
    second->SetPicture(list[1]);
    none->ImageIndex = 7;
    // A build starts with every picture object marked.
    for (TzelPictureView *view : {first, second, none})
        view->PictureChanged = true;

    // One row with two pictures, then 999 more rows where nothing changes.
    for (int row = 0; row < 1000; ++row)
        for (TzelPictureView *view : {first, second, none})
            view->Diff(&source);
    EXPECT_EQ(first->ImageIndex, 1);
    EXPECT_EQ(second->ImageIndex, 2);
    EXPECT_EQ(none->ImageIndex, 0);
    EXPECT_EQ(cache.Count(), 2);

    // A changed picture is stored again.
    first->SetPicture(list[2]);
    first->Diff(&source);
    EXPECT_EQ(first->ImageIndex, 3);
    EXPECT_EQ(cache.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(stored(cache, i + 1), list[i].Data()) << i;
    report.SetPictureStore(nullptr);
}

TEST(PictureCache, OutOfRangeAndEmptyPictures)
{
    TzelPictureCache cache;
    const TzelPicture red = picture(4, 4, 200);
    TzelPictureView view;
    view.SetPicture(red);

    // Before anything is stored, the picture object's form empties its picture.
    view.ImageIndex = 1;
    cache.GetPicture(&view);
    EXPECT_TRUE(view.Picture().IsEmpty());

    int index = 5;
    cache.AddPicture(TzelPicture(), index);
    EXPECT_EQ(index, 5);
    EXPECT_EQ(cache.Count(), 0);
    cache.AddPicture(red, index);
    EXPECT_EQ(index, 1);

    for (int bad : {0, -1, 2}) {
        SCOPED_TRACE(bad);
        TzelPicture kept = red;
        cache.GetPicture(kept, bad);
        EXPECT_EQ(kept.Data(), red.Data());
        view.SetPicture(red);
        view.ImageIndex = bad;
        cache.GetPicture(&view);
        EXPECT_TRUE(view.Picture().IsEmpty());
    }
    view.ImageIndex = 1;
    cache.GetPicture(&view);
    EXPECT_EQ(view.Picture().Data(), red.Data());
}

TEST(PictureCache, EntriesAcrossSegmentsReadBackInBothModes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<TzelPicture> list = pictures(7);
    // Small segments: some entries end a segment, some are followed by one in the next.
    const qint64 limit = list[0].Data().size() + list[1].Data().size();
    for (bool inFile : {false, true}) {
        SCOPED_TRACE(inFile ? "file" : "memory");
        TzelPictureCache cache;
        cache.SetUseFileCache(inFile);
        cache.SetTempDir(dir.path());
        cache.SetSegmentLimit(limit);
        EXPECT_EQ(addAll(cache, list), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
        EXPECT_GE(cache.SegmentCount(), 3);
        EXPECT_LT(cache.SegmentCount(), 7);
        for (int i = 0; i < list.size(); ++i)
            EXPECT_EQ(stored(cache, i + 1), list[i].Data()) << i;
        // Reading leaves nothing behind: the next picture still appends correctly.
        int index = 0;
        cache.AddPicture(list[0], index);
        EXPECT_EQ(stored(cache, index), list[0].Data());
        EXPECT_EQ(stored(cache, index - 1), list.last().Data());
        EXPECT_EQ(segmentFiles(dir.path()).size(), inFile ? cache.SegmentCount() : 0);
    }
}

TEST(PictureCache, SavedElementReadsBackToTheSameBytes)
{
    const QList<TzelPicture> list = pictures(5);
    TzelPictureCache cache;
    cache.SetSegmentLimit(list[0].Data().size());
    addAll(cache, list);

    TzelXMLItem element;
    element.Add(QStringLiteral("stale"));
    cache.SaveToXML(&element);
    ASSERT_EQ(element.Count(), list.size());
    EXPECT_EQ(element.Items(0)->Name(), QStringLiteral("item"));
    EXPECT_EQ(element.Items(0)->Prop(QStringLiteral("stream")), hex(list[0].Data()).toUpper());

    for (bool inFile : {false, true}) {
        SCOPED_TRACE(inFile ? "file" : "memory");
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        TzelPictureCache back;
        back.SetUseFileCache(inFile);
        back.SetTempDir(dir.path());
        int replaced = 0;
        back.AddPicture(list[4], replaced); // gone after the load
        QStringList errors;
        back.LoadFromXML(&element, &errors);
        EXPECT_TRUE(errors.isEmpty());
        ASSERT_EQ(back.Count(), list.size());
        for (int i = 0; i < list.size(); ++i)
            EXPECT_EQ(stored(back, i + 1), list[i].Data()) << i;
    }
}

TEST(PictureCache, DamagedEntriesKeepTheirPlaceAndLoadEmpty)
{
    const TzelPicture a = picture(3, 3, 10);
    const TzelPicture b = picture(5, 2, 90);
    const QString bHex = hex(b.Data());
    const struct
    {
        QString Stream;
        QByteArray Expected;
    } cases[] = {
        {QString(), QByteArray()},                               // nothing at the start of the segment
        {QStringLiteral("ZZ") + hex(a.Data()), QByteArray()},    // damaged at once
        {hex(a.Data()), a.Data()},                               // lower case
        {bHex.left(40) + QStringLiteral("G0") + bHex.mid(42), QByteArray()}, // damaged half way
        {QStringLiteral("DEADBEEF"), QByteArray()},              // hexadecimal, but no picture
        {bHex.toUpper(), b.Data()},
    };
    TzelXMLItem element;
    for (const auto &c : cases)
        element.Add(QStringLiteral("item"))->SetProp(QStringLiteral("stream"), c.Stream);

    TzelPictureCache cache;
    QStringList errors;
    cache.LoadFromXML(&element, &errors);
    ASSERT_EQ(cache.Count(), int(std::size(cases)));
    EXPECT_EQ(errors, (QStringList{QStringLiteral("Picture 2 of the prepared report is damaged"),
                                   QStringLiteral("Picture 4 of the prepared report is damaged")}));
    TzelPictureView view;
    for (int i = 0; i < cache.Count(); ++i) {
        SCOPED_TRACE(i + 1);
        view.SetPicture(a);
        view.ImageIndex = i + 1;
        EXPECT_NO_THROW(cache.GetPicture(&view));
        EXPECT_EQ(view.Picture().Data(), cases[i].Expected);
        EXPECT_EQ(stored(cache, i + 1), cases[i].Expected);
    }
    // Loading without an error list still keeps every entry.
    cache.LoadFromXML(&element);
    EXPECT_EQ(cache.Count(), int(std::size(cases)));
}

TEST(PictureCache, FileModeOwnsItsSegmentFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path(); // no final separator
    ASSERT_FALSE(folder.endsWith(u'/'));
    const QList<TzelPicture> list = pictures(3);
    {
        TzelPictureCache cache;
        cache.SetUseFileCache(true);
        cache.SetTempDir(folder);
        cache.SetSegmentLimit(1);
        addAll(cache, list);
        EXPECT_EQ(segmentFiles(folder).size(), 3);

        // Once storing, the mode and folder stay as they were.
        cache.SetUseFileCache(false);
        cache.SetTempDir(QString());
        EXPECT_TRUE(cache.UseFileCache());
        EXPECT_EQ(cache.TempDir(), folder);
        addAll(cache, list);
        EXPECT_EQ(segmentFiles(folder).size(), 6);

        cache.Clear();
        EXPECT_EQ(cache.Count(), 0);
        EXPECT_TRUE(segmentFiles(folder).isEmpty());

        // Cleared, it takes settings again: memory segments leave no file.
        cache.SetUseFileCache(false);
        EXPECT_FALSE(cache.UseFileCache());
        addAll(cache, list);
        EXPECT_TRUE(segmentFiles(folder).isEmpty());
        cache.Clear();

        cache.SetUseFileCache(true);
        addAll(cache, list);
        EXPECT_EQ(segmentFiles(folder).size(), 3);
    }
    // Destruction deletes them too.
    EXPECT_TRUE(segmentFiles(folder).isEmpty());
}

TEST(PictureCache, FileModeUsesTheSystemTemporaryFolderByDefault)
{
    const QStringList before = segmentFiles(QDir::tempPath());
    TzelPictureCache cache;
    cache.SetUseFileCache(true);
    addAll(cache, pictures(1));
    EXPECT_EQ(segmentFiles(QDir::tempPath()).size(), before.size() + 1);
    cache.Clear();
    EXPECT_EQ(segmentFiles(QDir::tempPath()), before);
}

TEST(PictureCache, UnusableTempFolderRaisesAndAddsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("missing"));
    TzelPictureCache cache;
    cache.SetUseFileCache(true);
    cache.SetTempDir(missing);
    TzelPictureView view;
    view.SetPicture(picture(2, 2, 0));
    view.ImageIndex = 9;
    try {
        cache.AddPicture(&view);
        ADD_FAILURE() << "no exception";
    } catch (const TzelFileError &e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(missing))) << e.message().toStdString();
    }
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(view.ImageIndex, 9);

    // Still empty, so the folder can be corrected.
    cache.SetTempDir(dir.path());
    cache.AddPicture(&view);
    EXPECT_EQ(view.ImageIndex, 1);
    EXPECT_EQ(stored(cache, 1), view.Picture().Data());
}
