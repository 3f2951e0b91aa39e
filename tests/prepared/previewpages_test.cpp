#include "base/xml/zelxmlitem.h"
#include "preparedtest.h"
#include "model/diff_testsupport.h"
#include "model/reflect/zelclassregistry.h"
#include "model/reversingcompressor.h"
#include "model/report/zelcustomoutline.h"
#include "prepared/zelpicturecache.h"
#include "prepared/zelpostprocessor.h"
#include "model/report/zelpreviewpageslist.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QByteArray fileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

using PreviewPages = PreparedTest;

TEST_F(PreviewPages, RebuiltPagesEqualWhatWasPrinted)
{
    TzelPreviewPages pages(&report);
    const auto printed = build(pages, 3);
    ASSERT_EQ(pages.Count(), 3);
    expectPages(pages, printed);

    // Only the differences are stored: a row carries its text, the band its top.
    TzelXMLItem *first = pages.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"))->Items(0);
    EXPECT_EQ(first->Name(), QStringLiteral("page0"));
    const TzelXMLItem *band = first->Items(1);
    EXPECT_EQ(band->Text(), QStringLiteral("t=\"60\""));
    EXPECT_EQ(band->Items(0)->Text(), QStringLiteral("u=\"Row 0 of page 1&#13;&#10;second line\""));
    // The picture printed unchanged is stored once; every change adds one.
    EXPECT_EQ(pages.PictureCache().Count(), 2);
}

TEST_F(PreviewPages, SourcePagesGetShortUniqueNames)
{
    TzelPreviewPages pages(&report);
    build(pages, 1, 1);
    const TzelDictionary &names = pages.Dictionary();
    EXPECT_EQ(names.GetSourceName(header->AliasName), QStringLiteral("Page0.PageHeader1"));
    EXPECT_EQ(header->AliasName, QStringLiteral("b1"));
    EXPECT_EQ(master->AliasName, QStringLiteral("b2"));
    EXPECT_EQ(footer->AliasName, QStringLiteral("b3"));
    EXPECT_EQ(title->AliasName, QStringLiteral("m1"));
    EXPECT_EQ(row->AliasName, QStringLiteral("m2"));
    EXPECT_EQ(picture->AliasName, QStringLiteral("p1"));
    EXPECT_EQ(line->AliasName, QStringLiteral("l1"));
    EXPECT_EQ(shape->AliasName, QStringLiteral("s1"));
    EXPECT_EQ(pageNo->AliasName, QStringLiteral("m3"));

    TzelDictionary many;
    for (int i = 0; i < 12; ++i)
        many.AddUnique(QStringLiteral("m"), QStringLiteral("Page0.M%1").arg(i), nullptr);
    EXPECT_TRUE(many.Contains(QStringLiteral("m12")));
    EXPECT_EQ(many.CreateUniqueName(QStringLiteral("m")), QStringLiteral("m13"));
    EXPECT_EQ(many.CreateUniqueName(QStringLiteral("b")), QStringLiteral("b1"));
}

TEST_F(PreviewPages, FilesRoundTripPagesOutlineAnchorsAndNumbers)
{
    QTemporaryDir dir;
    FakeEngine engine;
    TzelPreviewPages pages(&report);
    pages.Engine = &engine;
    start(pages);
    QList<QList<QByteArray>> printed;
    for (int p = 0; p < 4; ++p) {
        pages.AddPage(page);
        pages.Outline().AddItem(QStringLiteral("Group <%1>").arg(p), 10 * p);
        pages.Outline().AddItem(QStringLiteral("Detail"), 5);
        pages.Outline().LevelUp();
        pages.Outline().LevelUp();
        engine.curY = 33.6;
        pages.AddAnchor(QStringLiteral("A%1").arg(p));
        row->SetText(QStringLiteral("Text & \"quotes\" %1").arg(p));
        pages.AddObject(master);
        printed << QList<QByteArray>{snapshot(master)};
        if (p == 1)
            pages.ResetLogicalPageNumber(); // a run of two pages ends here
    }
    pages.ResetLogicalPageNumber();
    pages.Finish();
    pages.Engine = nullptr;
    report.ReportOptions().Name = QStringLiteral("Orders");

    const QString file = dir.filePath(QStringLiteral("orders.zp3"));
    pages.SaveToFile(file);
    const QByteArray saved = fileBytes(file);
    EXPECT_TRUE(saved.contains("<preparedreport>"));
    EXPECT_FALSE(saved.contains("cutted"));

    TzelReport other;
    TzelPreviewPages loaded(&other);
    ASSERT_TRUE(loaded.LoadFromFile(file));
    ASSERT_TRUE(loaded.StreamLoaded());
    EXPECT_TRUE(other.Errors().IsEmpty()) << other.Errors().Text().toStdString();
    EXPECT_EQ(other.ReportOptions().Name, QStringLiteral("Orders"));
    ASSERT_EQ(loaded.Count(), 4);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(bandsOf(loaded.GetPage(p)), printed[p]);
        loaded.SetCurPage(p);
        EXPECT_EQ(loaded.GetLogicalPageNo(), p % 2 + 1);
        EXPECT_EQ(loaded.GetLogicalTotalPages(), 2);
        EXPECT_EQ(loaded.GetAnchorPage(QStringLiteral("a%1").arg(p)), p + 1);
    }
    EXPECT_EQ(loaded.FindAnchor(QStringLiteral("A3"))->Prop(QStringLiteral("top")), QStringLiteral("34"));
    TzelCustomOutline &outline = loaded.Outline();
    outline.LevelRoot();
    ASSERT_EQ(outline.Count(), 4);
    QString text;
    int pageIndex = 0, top = 0;
    outline.GetItem(2, text, pageIndex, top);
    EXPECT_EQ(text, QStringLiteral("Group <2>"));
    EXPECT_EQ(pageIndex, 2);
    EXPECT_EQ(top, 20);
    outline.LevelDown(2);
    EXPECT_EQ(outline.Count(), 1);

    // A second save of what was loaded writes the same file.
    const QString again = dir.filePath(QStringLiteral("again.zp3"));
    loaded.SaveToFile(again);
    EXPECT_EQ(fileBytes(again), saved);
}

TEST_F(PreviewPages, SwappedPagesComeBackUnchanged)
{
    QTemporaryDir dir;
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().MaxMemSize = 0; // every finished page goes out
    report.EngineOptions().TempDir = dir.path();
    report.PreviewOptions().PagesInCache = 2;
    TzelPreviewPages pages(&report);
    const auto printed = build(pages, 8);
    TzelXMLItem *list = pages.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"));
    EXPECT_TRUE(list->Items(0)->Loaded()) << "the first two pages stay";
    EXPECT_FALSE(list->Items(5)->Loaded());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    const QString swapFile = dir.filePath(QDir(dir.path()).entryList(QDir::Files).value(0));
    for (int p : {5, 2, 7, 5, 0, 3})
        EXPECT_EQ(bandsOf(pages.GetPage(p)), printed[p]) << "page " << p;
    // Pages evicted from the cache go back out to the file, which already
    // holds them: browsing writes nothing more.
    EXPECT_FALSE(list->Items(2)->Loaded());
    const qint64 swapped = QFileInfo(swapFile).size();
    for (int p : {5, 2, 7, 5, 0, 3})
        pages.GetPage(p);
    EXPECT_EQ(QFileInfo(swapFile).size(), swapped);

    const QString file = dir.filePath(QStringLiteral("swapped.zp3"));
    pages.SaveToFile(file);
    TzelPreviewPages loaded(&report);
    loaded.LoadFromFile(file);
    expectPages(loaded, printed);
}

TEST_F(PreviewPages, PartialLoadingReadsPagesOnDemandAndSavesOverItsOwnFile)
{
    QTemporaryDir dir;
    TzelPreviewPages pages(&report);
    const auto printed = build(pages, 6);
    const QString file = dir.filePath(QStringLiteral("lazy.zp3"));
    pages.SaveToFile(file);

    TzelReport other;
    TzelPreviewPages loaded(&other);
    loaded.LoadFromFile(file);
    ASSERT_TRUE(loaded.AllowPartialLoading());
    TzelXMLItem *list = loaded.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"));
    EXPECT_FALSE(list->Items(4)->Loaded());
    EXPECT_EQ(bandsOf(loaded.GetPage(4)), printed[4]);

    loaded.SaveToFile(file); // the file it reads its pages from
    expectPages(loaded, printed);
    TzelPreviewPages reread(&other);
    reread.LoadFromFile(file);
    expectPages(reread, printed);
}

TEST_F(PreviewPages, TwoPassBuildKeepsOnlyTheFinalPass)
{
    FakeEngine engine;
    engine.doublePass = true;
    engine.finalPass = false;
    TzelPreviewPages pages(&report);
    pages.Engine = &engine;
    pages.Initialize();
    pages.AddSourcePage(page);
    for (int pass = 0; pass < 2; ++pass) {
        pages.BeginPass();
        for (int p = 0; p < 3; ++p) {
            pages.AddPage(page);
            pages.Outline().AddItem(QStringLiteral("Page %1").arg(p), 0);
            pages.Outline().LevelUp();
            row->SetText(QStringLiteral("pass %1").arg(pass));
            pages.AddObject(master);
        }
        if (pass == 0) {
            // First pass: geometry only.
            TzelXMLItem *band = pages.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"))->Items(0)->Items(0);
            EXPECT_EQ(band->Items(0)->Text(), QString());
            pages.ResetLogicalPageNumber();
            engine.finalPass = true;
            pages.ClearFirstPassPages();
        }
    }
    pages.Finish();
    pages.Engine = nullptr;
    ASSERT_EQ(pages.Count(), 3);
    EXPECT_EQ(pages.Outline().Root()->Count(), 3);
    EXPECT_EQ(pages.XMLDocument().Root()->FindItem(QStringLiteral("logicalpagenumbers"))->Count(), 3);
    auto *rebuilt = dynamic_cast<TzelMemoView *>(pages.GetPage(2)->FindObject(QStringLiteral("Row")));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->Text(), QStringLiteral("pass 1"));
    pages.SetCurPage(2);
    EXPECT_EQ(pages.GetLogicalTotalPages(), 3);
}

TEST_F(PreviewPages, CutAndPasteMoveObjectsAnchorsAndOutlineToTheNextPage)
{
    FakeEngine engine;
    TzelPreviewPages pages(&report);
    pages.Engine = &engine;
    start(pages);
    pages.AddPage(page);
    pages.AddObject(header);
    const int position = pages.GetCurPosition();
    const int anchor = pages.GetAnchorCurPosition();
    TzelXMLItem *outlinePos = pages.Outline().GetCurPosition();
    engine.curY = 900;
    pages.AddAnchor(QStringLiteral("kept together"));
    pages.Outline().AddItem(QStringLiteral("block"), 900);
    pages.Outline().LevelUp();
    master->SetTop(900);
    pages.AddObject(master);
    master->SetTop(924);
    pages.AddObject(master);

    pages.CutObjects(position);
    EXPECT_EQ(pages.GetCurPosition(), 1);
    pages.AddPage(page);
    pages.PasteObjects(0, 50);
    pages.ShiftAnchors(anchor, 50);
    pages.Outline().ShiftItems(outlinePos, 50);
    pages.Finish();
    master->SetTop(60);
    pages.Engine = nullptr;

    const QList<TzelComponent *> moved = pages.GetPage(1)->Objects();
    ASSERT_EQ(moved.size(), 2);
    EXPECT_DOUBLE_EQ(moved[0]->Top(), 50);
    EXPECT_DOUBLE_EQ(moved[1]->Top(), 74);
    EXPECT_EQ(pages.GetAnchorPage(QStringLiteral("kept together")), 2);
    EXPECT_EQ(pages.FindAnchor(QStringLiteral("kept together"))->Prop(QStringLiteral("top")), QStringLiteral("50"));
    EXPECT_EQ(pages.Outline().Root()->Items(0)->Prop(QStringLiteral("page")), QStringLiteral("1"));
    EXPECT_EQ(pages.XMLDocument().Root()->Find(QStringLiteral("cutted")), -1);
}

TEST_F(PreviewPages, LastYAndBandsOnThePage)
{
    TzelPreviewPages pages(&report);
    start(pages);
    pages.AddPage(page);
    pages.AddObject(footer);
    EXPECT_EQ(pages.GetLastY(), 0) << "page footers do not count";
    EXPECT_TRUE(pages.BandExists(footer));
    EXPECT_FALSE(pages.BandExists(master));
    pages.AddObject(header);
    master->SetTop(100);
    pages.AddObject(master);
    EXPECT_DOUBLE_EQ(pages.GetLastY(), 124);
    EXPECT_TRUE(pages.BandExists(master));
    EXPECT_DOUBLE_EQ(pages.GetLastY(350), 40) << "another column: only headers count";

    pages.UpdatePageLastColumn(2, 350.5);
    int column = 0;
    double position = 0;
    pages.GetLastColumnPos(column, position);
    EXPECT_EQ(column, 2);
    EXPECT_DOUBLE_EQ(position, 350.5);

    pages.UpdatePageDimension(0, 100, 50);
    EXPECT_EQ(pages.GetPageSize(0), QPoint(378, 189));
    EXPECT_EQ(pages.GetPageSize(1), QPoint(0, 0));
    pages.Finish();
    master->SetTop(60);
}

TEST_F(PreviewPages, EditingPages)
{
    TzelPreviewPages pages(&report);
    const auto printed = build(pages, 3);

    TzelReportPage *second = pages.GetPage(1);
    auto *text = dynamic_cast<TzelMemoView *>(second->FindObject(QStringLiteral("Title")));
    text->SetText(QStringLiteral("Edited"));
    pages.ModifyObject(text);
    pages.AddEmptyPage(0);
    ASSERT_EQ(pages.Count(), 4);
    EXPECT_TRUE(pages.GetPage(0)->Objects().isEmpty());
    auto *edited = dynamic_cast<TzelMemoView *>(pages.GetPage(2)->FindObject(QStringLiteral("Title")));
    EXPECT_EQ(edited->Text(), QStringLiteral("Edited"));

    TzelReportPage *whole = pages.GetPage(3);
    whole->Objects().at(0)->SetTop(7);
    const QList<QByteArray> expected = bandsOf(whole);
    pages.ModifyPage(3, whole);
    EXPECT_EQ(bandsOf(pages.GetPage(3)), expected);

    for (int i = 0; i < 4; ++i)
        pages.DeletePage(0);
    EXPECT_EQ(pages.Count(), 1) << "the last page is never deleted";
}

TEST_F(PreviewPages, AddFromAppendsAnotherReportsPages)
{
    TzelPreviewPages first(&report);
    const auto printed = build(first, 2);
    first.SetCurPage(1);
    first.AddAnchor(QStringLiteral("end"));
    first.Outline().AddItem(QStringLiteral("last"), 3);

    TzelReport other;
    TzelPreviewPages pages(&other);
    pages.AddFrom(first);
    pages.AddFrom(first);
    ASSERT_EQ(pages.Count(), 4);
    EXPECT_EQ(bandsOf(pages.GetPage(3)), printed[1]);
    EXPECT_EQ(pages.GetAnchorPage(QStringLiteral("end")), 4);
    EXPECT_EQ(pages.Outline().Root()->Items(1)->Prop(QStringLiteral("page")), QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(pages.GetLastY(), 132) << "the next band goes below the appended page";
}

TEST_F(PreviewPages, PostProcessedValuesSurviveAFile)
{
    QTemporaryDir dir;
    TzelPreviewPages pages(&report);
    start(pages);
    pages.AddPage(page);
    // A total shown before it is known: the page stores an index.
    const int index = pages.PostProcessor().Add(QStringLiteral("Title"), QString(), false);
    title->SetText(QString::number(index));
    pages.AddObject(header);
    pages.PostProcessor().Complete(QStringLiteral("Title"), QStringLiteral("Total: 42"));
    pages.Finish();
    title->SetText(QStringLiteral("Orders"));

    const QString file = dir.filePath(QStringLiteral("post.zp3"));
    pages.SaveToFile(file);
    TzelPreviewPages loaded(&report);
    loaded.LoadFromFile(file);
    auto *memo = dynamic_cast<TzelMemoView *>(loaded.GetPage(0)->FindObject(QStringLiteral("Title")));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Text(), QStringLiteral("Total: 42"));
    EXPECT_EQ(loaded.XMLDocument().Root()->Find(QStringLiteral("postprocessing")), -1);
}

TEST_F(PreviewPages, PagesListKeepsItsMainContainer)
{
    TzelPreviewPagesList list([this] { return std::make_unique<TzelPreviewPages>(&report); });
    TzelCustomPreviewPages *main = list.Main();
    QList<TzelCustomPreviewPages *> selected;
    list.OnCurrentChanged = [&selected](TzelCustomPreviewPages *p) { selected << p; };
    TzelCustomPreviewPages *detail = list.AddAsCurrent();
    EXPECT_EQ(list.Current(), detail);
    list.Delete(detail);
    EXPECT_EQ(list.Current(), main);
    list.Delete(main);
    EXPECT_EQ(list.Count(), 1);
    list.Add();
    list.Add();
    list.Clear();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Main(), main);
    EXPECT_EQ(selected, (QList<TzelCustomPreviewPages *>{detail, main, main}));
}

// Bad files: a clear message, never a crash; what can be used stays usable.
TEST_F(PreviewPages, DamagedFilesGiveClearErrors)
{
    QTemporaryDir dir;
    TzelPreviewPages pages(&report);
    build(pages, 3);
    const QString file = dir.filePath(QStringLiteral("good.zp3"));
    pages.SaveToFile(file);
    const QByteArray good = fileBytes(file);

    struct Case
    {
        const char *name;
        QByteArray bytes;
        const char *error;
        int pages;
    };
    QByteArray unknownObject = good;
    unknownObject.replace("<m2 u=\"Row 0", "<zz9 u=\"Row 0");
    QByteArray badPicture = good;
    badPicture.replace(badPicture.indexOf("stream=\"") + 8, 4, "ZZ");
    const Case cases[] = {
        {"truncated", good.left(good.size() / 2), "Invalid file format", 0},
        {"not xml", "this is not a prepared report", "Invalid file format", 0},
        {"unknown object", unknownObject, "zz9", 3},
        {"picture not hexadecimal", badPicture, "damaged", 3},
    };
    report.EngineOptions().NewSilentMode = simSilent;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = dir.filePath(QString::fromLatin1(c.name));
        writeBytes(name, c.bytes);
        report.Errors().Clear();
        TzelPreviewPages loaded(&report);
        loaded.LoadFromFile(name);
        ASSERT_EQ(loaded.Count(), c.pages);
        for (int p = 0; p < c.pages; ++p)
            EXPECT_NE(loaded.GetPage(p), nullptr);
        EXPECT_TRUE(report.Errors().Text().contains(QLatin1StringView(c.error))) << report.Errors().Text().toStdString();
    }
}

TEST_F(PreviewPages, UnwritableTempFolderKeepsPagesInMemory)
{
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().MaxMemSize = 0;
    report.EngineOptions().TempDir = QStringLiteral("/proc");
    TzelPreviewPages pages(&report);
    const auto printed = build(pages, 5);
    EXPECT_TRUE(report.Errors().Text().contains(QStringLiteral("temporary"))) << report.Errors().Text().toStdString();
    expectPages(pages, printed);
}

// Objects made while the report builds: registered ones are stored by
// reference like template objects, the others whole by class name.
TEST_F(PreviewPages, ObjectsMadeDuringTheBuild)
{
    TzelPreviewPages pages(&report);
    start(pages);
    pages.AddPage(page);
    auto *registered = new TzelMemoView(master);
    registered->SetName(QStringLiteral("Made"));
    registered->SetBounds(500, 0, 80, 20);
    registered->Font().SetSize(14);
    pages.AddToSourcePage(registered);
    auto *loose = new TzelShapeView(master);
    loose->SetBounds(600, 0, 10, 10);
    registered->SetText(QStringLiteral("made at run time"));
    pages.AddObject(master);
    // The copy of a registered object is named anew in its source page.
    const QByteArray printed = snapshot(master).replace("Name=\"Made\"", "Name=\"Memo1\"");
    pages.Finish();

    const TzelXMLItem *band = pages.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"))->Items(0)->Items(0);
    EXPECT_EQ(band->Items(4)->Name(), registered->AliasName);
    EXPECT_EQ(band->Items(4)->Text(), QStringLiteral("u=\"made at run time\""));
    EXPECT_EQ(band->Items(5)->Name(), QStringLiteral("TzelShapeView"));
    delete registered;
    delete loose;
    EXPECT_EQ(bandsOf(pages.GetPage(0)), QList<QByteArray>{printed});
}

// A build appended to the pages of an earlier one (or of a loaded file) uses
// its own source pages, sizes included.
TEST_F(PreviewPages, AppendedBuildsUseTheirOwnSourcePages)
{
    QTemporaryDir dir;
    TzelPreviewPages pages(&report);
    build(pages, 1);
    page->SetSizeAndDimensions(256, 100, 100);
    build(pages, 1);
    const TzelXMLItem *list = pages.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"));
    EXPECT_EQ(list->Items(1)->Name(), QStringLiteral("page1"));
    EXPECT_EQ(pages.GetPage(1)->PaperWidth(), 100);
    EXPECT_EQ(pages.GetPage(0)->PaperWidth(), 210);
    EXPECT_EQ(pages.GetPage(0)->Name(), QStringLiteral("Page1"));

    const QString file = dir.filePath(QStringLiteral("two.zp3"));
    pages.SaveToFile(file);
    TzelPreviewPages loaded(&report);
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.GetPage(0)->Name(), QStringLiteral("Page1")) << "page names survive a file";
    build(loaded, 1);
    EXPECT_EQ(loaded.XMLDocument().Root()->FindItem(QStringLiteral("previewpages"))->Items(2)->Name(),
              QStringLiteral("page2"));
    EXPECT_EQ(loaded.GetPage(2)->PaperWidth(), 100);
    EXPECT_EQ(loaded.GetPageSize(2), QPoint(378, 378));
}

// Edits of rebuilt objects reach the file whatever happened to the page
// element in between: swapped out and read back, locked, stored whole.
TEST_F(PreviewPages, EditsSurviveSwappingLockingAndWholePages)
{
    QTemporaryDir dir;
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().MaxMemSize = 0;
    report.EngineOptions().TempDir = dir.path();
    report.PreviewOptions().PagesInCache = 1;
    TzelPreviewPages pages(&report);
    build(pages, 6);
    auto titleOf = [&pages](int index) {
        return dynamic_cast<TzelMemoView *>(pages.GetPage(index)->FindObject(QStringLiteral("Title")));
    };

    TzelMemoView *locked = titleOf(3);
    pages.LockPage();
    TzelReportPage *other = pages.GetPage(4); // with one page cached, neither may go
    TzelReportPage *third = pages.GetPage(5); // evicts page 4, swapping its element out
    EXPECT_NE(other, third);
    locked->SetText(QStringLiteral("edited while locked"));
    locked->LastParaBreak = true;
    pages.ModifyObject(locked);
    pages.ModifyObject(locked);
    EXPECT_TRUE(locked->LastParaBreak) << "storing again leaves a split text's flags";
    pages.UnlockPage();

    TzelReportPage *whole = pages.GetPage(2);
    pages.ModifyPage(2, whole);
    TzelMemoView *onWhole = titleOf(2);
    onWhole->SetText(QStringLiteral("edited on a whole page"));
    pages.ModifyObject(onWhole);
    pages.GetPage(0);

    const QString file = dir.filePath(QStringLiteral("edited.zp3"));
    pages.SaveToFile(file);
    TzelPreviewPages loaded(&report);
    loaded.LoadFromFile(file);
    auto loadedTitle = [&loaded](int index) {
        return dynamic_cast<TzelMemoView *>(loaded.GetPage(index)->FindObject(QStringLiteral("Title")))->Text();
    };
    EXPECT_EQ(loadedTitle(3), QStringLiteral("edited while locked"));
    EXPECT_EQ(loadedTitle(2), QStringLiteral("edited on a whole page"));
    EXPECT_EQ(loadedTitle(4), QStringLiteral("Orders"));
}

TEST_F(PreviewPages, FirstPassPasteKeepsBandsApart)
{
    FakeEngine engine;
    engine.doublePass = true;
    engine.finalPass = false;
    TzelPreviewPages pages(&report);
    pages.Engine = &engine;
    start(pages);
    pages.AddPage(page);
    for (double top : {60.0, 84.0}) {
        master->SetTop(top); // the first at the template's own top
        pages.AddObject(master);
    }
    pages.CutObjects(0);
    pages.AddPage(page);
    pages.PasteObjects(0, 50);
    EXPECT_DOUBLE_EQ(pages.GetLastY(), 98);
    pages.Engine = nullptr;
    master->SetTop(60);
}

TEST_F(PreviewPages, SavesToARelativePath)
{
    QTemporaryDir dir;
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QDir().mkdir(QStringLiteral("sub"));
    TzelPreviewPages pages(&report);
    build(pages, 1);
    EXPECT_NO_THROW(pages.SaveToFile(QStringLiteral("sub/out.zp3")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("sub/out.zp3"))));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files).size(), 1);
    QDir::setCurrent(saved);
}


TEST_F(PreviewPages, FilesGoThroughARegisteredCompressor)
{
    TzelPreviewPages pages(&report);
    const auto printed = build(pages, 3);
    report.ReportOptions().Compressed = true;
    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    pages.SaveToStream(&plain);
    EXPECT_TRUE(plain.data().startsWith("<?xml")) << "no compressor registered: plain XML";

    TzelCustomCompressor::Register([] { return std::make_unique<ReversingCompressor>(); });
    struct Unregister
    {
        ~Unregister() { TzelCustomCompressor::Register({}); }
    } unregister;
    QBuffer packed;
    packed.open(QIODevice::ReadWrite);
    pages.SaveToStream(&packed);
    EXPECT_TRUE(packed.data().startsWith("ZC"));
    for (QBuffer *stream : {&packed, &plain}) { // a plain file still reads
        stream->seek(0);
        TzelPreviewPages loaded(&report);
        loaded.LoadFromStream(stream);
        expectPages(loaded, printed);
    }

    report.EngineOptions().NewSilentMode = simSilent;
    QByteArray bad("ZCbroken");
    QBuffer broken(&bad);
    broken.open(QIODevice::ReadOnly);
    TzelPreviewPages loaded(&report);
    loaded.LoadFromStream(&broken);
    EXPECT_EQ(loaded.Count(), 0);
    EXPECT_TRUE(report.Errors().Contains(QStringLiteral("Stream decompress error")));

    // The plug-in's stream is a temporary file here, in a folder that cannot take one.
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().TempDir = QStringLiteral("/proc");
    packed.seek(0);
    report.Errors().Clear();
    EXPECT_NO_THROW(loaded.LoadFromStream(&packed));
    EXPECT_EQ(loaded.Count(), 0);
    EXPECT_TRUE(report.Errors().Text().contains(QStringLiteral("temporary"))) << report.Errors().Text().toStdString();
}

// Every kind of printed object, changed in everything its difference text
// carries, comes back the same from a swapped-out page and from a file.
TEST_F(PreviewPages, EveryObjectKindSurvivesSwappingAndFiles)
{
    QTemporaryDir dir;
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().MaxMemSize = 0;
    report.EngineOptions().TempDir = dir.path();
    report.PreviewOptions().PagesInCache = 1;
    QList<TzelComponent *> objects;
    for (const TzelClassInfo *cls : TzelClassRegistry::Classes()) {
        if (!cls->InheritsFrom(TzelView::StaticClassInfo()) || !cls->CanCreate())
            continue;
        auto *obj = dynamic_cast<TzelComponent *>(cls->Create());
        if (!obj->qzComponentStyle.Contains(csPreviewVisible)) {
            delete obj;
            continue;
        }
        obj->SetParent(master);
        obj->SetName(QStringLiteral("Kind%1").arg(objects.size() + 1));
        obj->SetBounds(10.0 * objects.size(), 1, 8, 8);
        objects << obj;
    }
    ASSERT_GE(objects.size(), 5);

    TzelPreviewPages pages(&report);
    start(pages);
    QList<QList<QByteArray>> printed;
    for (int p = 0; p < 4; ++p) {
        pages.AddPage(page);
        if (p == 1 || p == 2) {
            for (TzelComponent *obj : std::as_const(objects)) {
                zelChangePrintedCopy(*obj);
                obj->SetVisible(true);                       // invisible objects are not stored
                if (auto *view = dynamic_cast<TzelView *>(obj))
                    view->Align = baNone;                    // the rebuilt page would align them again
            }
        }
        pages.AddObject(master);
        printed << QList<QByteArray>{snapshot(master)};
    }
    pages.Finish();
    expectPages(pages, printed);

    const QString file = dir.filePath(QStringLiteral("kinds.zp3"));
    pages.SaveToFile(file);
    TzelPreviewPages loaded(&report);
    loaded.LoadFromFile(file);
    expectPages(loaded, printed);
    EXPECT_TRUE(report.Errors().IsEmpty()) << report.Errors().Text().toStdString();
}
