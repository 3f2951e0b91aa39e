#include "base/core/zelexception.h"
#include "model/io/zeliotransportfiledialog.h"
#include "model/io/zeliotransportscollection.h"
#include "model/io/zelsavetocompressedfilter.h"
#include "model/report/zelcustomcompressor.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Stores the data unchanged.
class PlainCompressor : public TzelCustomCompressor
{
public:
    using TzelCustomCompressor::TzelCustomCompressor;
    bool Decompress(QIODevice *) override { return false; }
    void Compress(QIODevice *dest) override { dest->write(Stream()->readAll()); }
};

QStringList tempFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("qz*")}, QDir::Files);
}

const QString kTemplateFilter = QStringLiteral("Compressed report (*.zt3)|*.zt3");
const QString kPreparedFilter = QStringLiteral("Compressed prepared report (*.zp3)|*.zp3");

} // namespace

TEST(CompressorStream, PreparedReportsUsingTheFileCacheGetATemporaryFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct
    {
        bool IsZT3File;
        bool UseFileCache;
        bool InFile;
    } cases[] = {{true, true, false}, {false, false, false}, {false, true, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.IsZT3File << c.UseFileCache);
        TzelReport report;
        report.EngineOptions().UseFileCache = c.UseFileCache;
        report.EngineOptions().TempDir = dir.path();
        {
            PlainCompressor compressor;
            compressor.Report = &report;
            compressor.SetIsZT3File(c.IsZT3File);
            compressor.CreateStream();
            compressor.CreateStream(); // a second stream replaces the first
            EXPECT_EQ(tempFiles(dir.path()).size(), c.InFile ? 1 : 0);
            ASSERT_EQ(compressor.Stream()->write("plain data"), 10);
            ASSERT_TRUE(compressor.Stream()->seek(0));
            EXPECT_EQ(compressor.Stream()->readAll(), "plain data");
        }
        EXPECT_TRUE(tempFiles(dir.path()).isEmpty());
    }
}

TEST(CompressorStream, UnusableTempDirRaisesAFileError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TzelReport report;
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().TempDir = dir.filePath(QStringLiteral("missing"));
    PlainCompressor compressor;
    compressor.Report = &report;
    compressor.SetIsZT3File(false);
    EXPECT_THROW(compressor.CreateStream(), TzelFileError);
    EXPECT_EQ(compressor.Stream(), nullptr);
}

TEST(CompressedSaveFilter, FilterTextAndExtensionFollowWhereItIsUsed)
{
    TzelSaveToCompressedFilter filter(TzelCustomIOTransport::NoRegister);
    EXPECT_EQ(filter.GetDescription(), kTemplateFilter);
    EXPECT_EQ(filter.DefaultExt(), QStringLiteral(".zp3"));
    EXPECT_EQ(filter.GetVisibility(), (TzelFilterVisibility{fvDesignerFileFilter, fvPreviewFileFilter}));

    filter.SetIsZT3File(false);
    EXPECT_EQ(filter.FilterString(), kPreparedFilter);
    filter.SetIsZT3File(true);
    EXPECT_EQ(filter.FilterString(), kTemplateFilter);

    const struct
    {
        TzelFilterVisibleState From;
        QString Filter;
        QString Ext;
    } cases[] = {{fvPreview, kPreparedFilter, ".zp3"}, {fvDesigner, kTemplateFilter, ".zt3"},
                 {fvOther, kTemplateFilter, ".zt3"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.From);
        std::unique_ptr<TzelCustomIOTransport> clone = filter.CreateFilterClone(c.From);
        ASSERT_TRUE(dynamic_cast<TzelSaveToCompressedFilter *>(clone.get()));
        EXPECT_EQ(clone->GetFilterString(), c.Filter);
        EXPECT_EQ(clone->DefaultExt(), c.Ext);
    }
}

TEST(CompressedSaveFilter, OfferedInFileDialogsWhileAKeptCompressorLives)
{
    FakeDialogService dialogs;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TzelReport report;
    const auto offered = [](const TzelSaveToCompressedFilter *filter, TzelFilterVisibleState state) {
        const TzelIOTransportsCollection::Entries entries = zelIOTransports().List(state);
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (entries[i].second == filter)
                return int(i);
        return -1;
    };

    // The instances made for one save or load stay out of the dialogs.
    PlainCompressor temporary;
    EXPECT_EQ(offered(temporary.Filter(), fvDesignerFileFilter), -1);

    const TzelSaveToCompressedFilter *filter = nullptr;
    {
        PlainCompressor kept(TzelCustomIOTransport::Register);
        filter = kept.Filter();
        EXPECT_EQ(offered(filter, fvDesigner), -1);
        const struct
        {
            TzelFilterVisibleState From;
            TzelFilterVisibleState Listed;
            QString Filter;
            QString Ext;
        } cases[] = {{fvDesigner, fvDesignerFileFilter, kTemplateFilter, ".zt3"},
                     {fvPreview, fvPreviewFileFilter, kPreparedFilter, ".zp3"}};
        for (const auto &c : cases) {
            SCOPED_TRACE(c.From);
            const int position = offered(filter, c.Listed);
            ASSERT_GE(position, 0);
            report.ReportOptions().Compressed = false;
            auto dialog = TzelCustomIOTransport::CreateNoRegister<TzelIOTransportFileDialog>();
            dialog->SetCreatedFrom(c.From);
            dialog->SetFilterAccess(faWrite);
            dialog->SetReport(&report);
            // The user picks the compressed type, listed after the dialog's own.
            dialogs.NextFile = {true, dir.filePath(QStringLiteral("out")), position + 2};
            EXPECT_TRUE(dialog->OpenFilter());
            EXPECT_TRUE(dialogs.FileRequests.last().Filter.contains(c.Filter));
            EXPECT_TRUE(report.ReportOptions().Compressed);
            EXPECT_EQ(dialog->FileName(), dir.filePath(QStringLiteral("out")) + c.Ext);
            dialog->CloseFilter();
        }
    }
    EXPECT_EQ(offered(filter, fvDesignerFileFilter), -1);
}
