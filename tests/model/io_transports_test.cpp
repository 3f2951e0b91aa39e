#include "model/report/zelreport.h"
#include "model/io/zelcustomiotransport.h"
#include "model/io/zeliotransportfiledialog.h"
#include "model/io/zeliotransportscollection.h"
#include "model/io/zelnode.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

class TzelReport; // only its address travels through the transports

namespace {

// A transport that keeps streams in memory and counts its live instances,
// so tests can see clones being made and freed.
class MemoryTransport : public TzelCustomIOTransport
{
public:
    explicit MemoryTransport(Registration registration = Register)
        : TzelCustomIOTransport(registration)
    {
        ++alive;
        SetFilterString(QStringLiteral("Memory (*.mem)|*.mem"));
        SetDefaultExt(QStringLiteral(".mem"));
        SetVisibility({fvDesigner, fvDesignerFileFilter});
    }
    ~MemoryTransport() override { --alive; }

    QIODevice *DoCreateStream(const QString &, const QString &) override
    {
        auto *buffer = new QBuffer;
        buffer->open(QIODevice::ReadWrite);
        return buffer;
    }
    bool OpenFilter() override
    {
        ++opened;
        return openResult;
    }
    void AssignSharedProperties(const TzelCustomIOTransport &source) override
    {
        if (auto *memory = dynamic_cast<const MemoryTransport *>(&source))
            openResult = memory->openResult;
    }
    QString GetDescription() const override { return QStringLiteral("Memory"); }
    std::unique_ptr<TzelCustomIOTransport> NewInstance() const override
    {
        return CreateNoRegister<MemoryTransport>();
    }

    static inline int alive = 0;
    int opened = 0;
    bool openResult = true;
};

TzelReport *fakeReport()
{
    static TzelReport report;
    return &report;
}

int timesListed(const TzelIOTransportsCollection::Entries &entries, const TzelCustomIOTransport *t)
{
    return int(std::count_if(entries.begin(), entries.end(), [t](const auto &e) { return e.second == t; }));
}

} // namespace

TEST(IOTransportRegistration, ListsRegisteredTransportsOncePerStateInOrder)
{
    TzelIOTransportsCollection &list = zelIOTransports();
    auto hidden = TzelCustomIOTransport::CreateNoRegister<MemoryTransport>();
    EXPECT_EQ(list.IndexOf(hidden.get()), -1);
    {
        MemoryTransport first;
        MemoryTransport second;
        second.SetVisibility({fvPreview});
        list.Register(&first); // already listed: ignored
        EXPECT_LT(list.IndexOf(&first), list.IndexOf(&second));

        const auto designer = list.List(fvDesigner);
        EXPECT_EQ(timesListed(designer, &first), 1);
        EXPECT_EQ(timesListed(designer, &second), 0);
        EXPECT_EQ(timesListed(designer, hidden.get()), 0);
        EXPECT_EQ(timesListed(list.List(fvPreview), &second), 1);
        const auto it = std::find_if(designer.begin(), designer.end(), [&](const auto &e) { return e.second == &first; });
        ASSERT_NE(it, designer.end());
        EXPECT_EQ(it->first, QStringLiteral("Memory"));

        list.Unregister(&second);
        EXPECT_EQ(list.IndexOf(&second), -1);
        const int before = list.Count();
        auto *temporary = new MemoryTransport;
        EXPECT_EQ(list.Count(), before + 1);
        delete temporary;
        EXPECT_EQ(list.Count(), before) << "destruction unregisters";
    }
}

TEST(IOTransportRegistration, DefaultDialogTransportIsTheOneFileEntryOfDesignerAndPreview)
{
    zelRegisterDefaultTransports();
    zelRegisterDefaultTransports();
    for (TzelFilterVisibleState state : {fvDesigner, fvPreview, fvExport}) {
        const auto entries = zelIOTransports().List(state);
        ASSERT_EQ(entries.size(), 1) << state;
        EXPECT_EQ(entries[0].first, QStringLiteral("File"));
        EXPECT_NE(dynamic_cast<TzelIOTransportFileDialog *>(entries[0].second), nullptr);
    }
    EXPECT_TRUE(zelIOTransports().List(fvDesignerFileFilter).isEmpty());

    const auto dialog = zelIOTransports().CreateDefaultDialogTransport();
    ASSERT_NE(dynamic_cast<TzelIOTransportFileDialog *>(dialog.get()), nullptr);
    EXPECT_EQ(timesListed(zelIOTransports().List(fvDesigner), dialog.get()), 0);
    EXPECT_NE(dynamic_cast<TzelIOTransportFile *>(zelIOTransports().CreateDefaultFileTransport().get()), nullptr);
}

TEST(IOTransportClone, IsAnUnregisteredTwinThatRemembersItsSource)
{
    MemoryTransport source;
    source.SetReport(fakeReport());
    source.SetShowDialog(true);
    source.SetOverwritePrompt(true);
    source.SetDefaultPath(QStringLiteral("/out"));
    source.SetFileName(QStringLiteral("a.mem"));
    source.SetDefaultExt(QStringLiteral(".mm"));
    source.SetExtDescription(QStringLiteral("Memory file"));
    source.SetBasePath(QStringLiteral("/not/copied/"));

    const std::unique_ptr<TzelCustomIOTransport> clone = source.CreateFilterClone(fvPreview);
    ASSERT_NE(dynamic_cast<MemoryTransport *>(clone.get()), nullptr);
    EXPECT_EQ(zelIOTransports().IndexOf(clone.get()), -1);
    EXPECT_EQ(clone->ClonedFrom(), &source);
    EXPECT_EQ(clone->CreatedFrom(), fvPreview);
    EXPECT_EQ(clone->Report(), fakeReport());
    EXPECT_TRUE(clone->ShowDialog());
    EXPECT_TRUE(clone->OverwritePrompt());
    EXPECT_EQ(clone->DefaultPath(), QStringLiteral("/out"));
    EXPECT_EQ(clone->FileName(), QStringLiteral("a.mem"));
    EXPECT_EQ(clone->DefaultExt(), QStringLiteral(".mm"));
    EXPECT_EQ(clone->ExtDescription(), QStringLiteral("Memory file"));
    EXPECT_TRUE(clone->BasePath().isEmpty());
}

TEST(IOTransportExport, TakesOutputSettingsWithTheFilesFolderAsBasePath)
{
    struct Case { QString fileName; QString expectedBase; };
    const Case cases[] = {
        {QStringLiteral("/exports/x/a.pdf"), QStringLiteral("/exports/x/")},
        {QStringLiteral("a.pdf"), QStringLiteral("/default/")},
    };
    for (const Case &c : cases) {
        TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
        TzelCustomIOTransport::ExportTarget target;
        target.Report = fakeReport();
        target.FileName = c.fileName;
        target.DefaultPath = QStringLiteral("/default/");
        target.DefaultExt = QStringLiteral(".pdf");
        target.FilterString = QStringLiteral("PDF (*.pdf)|*.pdf");
        target.OverwritePrompt = true;
        transport.InitFromExport(target);
        EXPECT_EQ(transport.BasePath(), c.expectedBase) << qPrintable(c.fileName);
        EXPECT_EQ(transport.FileName(), c.fileName);
        EXPECT_EQ(transport.FilterAccess(), faWrite);
        EXPECT_EQ(transport.GetFilterString(), target.FilterString);
        EXPECT_EQ(transport.DefaultExt(), QStringLiteral(".pdf"));
        EXPECT_TRUE(transport.OverwritePrompt());
        EXPECT_EQ(transport.Report(), fakeReport());
    }
}

namespace {

class DialogTransport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        transport.SetFilterString(QStringLiteral("Report (*.zt3)|*.zt3"));
        transport.SetDefaultExt(QStringLiteral(".zt3"));
        transport.SetCreatedFrom(fvDesigner);
    }

    void choose(const QString &name, int filterIndex)
    {
        dialogs.NextFile.Accepted = true;
        dialogs.NextFile.FileName = name;
        dialogs.NextFile.FilterIndex = filterIndex;
    }

    FakeDialogService dialogs;
    QTemporaryDir dir;
    TzelIOTransportFileDialog transport{TzelIOTransportFileDialog::NoRegister};
};

} // namespace

TEST_F(DialogTransport, CancelAnswersFalseAfterAskingWithTheTransportsSettings)
{
    TzelReport report;
    report.SetFileName(QStringLiteral("C:\\reports\\Sales.old.zt3"));
    transport.SetReport(&report);
    transport.SetFilterAccess(faWrite);
    transport.SetOverwritePrompt(true);
    transport.SetDefaultPath(QStringLiteral("/start"));

    EXPECT_FALSE(transport.OpenFilter());
    ASSERT_EQ(dialogs.FileRequests.size(), 1);
    const TzelDialogService::FileRequest &request = dialogs.FileRequests[0];
    EXPECT_TRUE(request.Save);
    EXPECT_TRUE(request.OverwritePrompt);
    EXPECT_EQ(request.DefaultExt, QStringLiteral(".zt3"));
    EXPECT_EQ(request.Filter, QStringLiteral("Report (*.zt3)|*.zt3"));
    EXPECT_EQ(transport.FileName(), QStringLiteral("Sales.old.zt3")) << "report's name without folder";
    EXPECT_EQ(request.FileName, QStringLiteral("Sales.old"));
    EXPECT_EQ(request.InitialDir, QStringLiteral("/start"));
    EXPECT_EQ(transport.Delegate(), nullptr);

    // Reading opens an open dialog in the folder of the name.
    transport.SetFilterAccess(faRead);
    transport.SetFileName(QStringLiteral("/data/in.zt3"));
    EXPECT_FALSE(transport.OpenFilter());
    EXPECT_FALSE(dialogs.FileRequests[1].Save);
    EXPECT_FALSE(dialogs.FileRequests[1].OverwritePrompt);
    EXPECT_EQ(dialogs.FileRequests[1].InitialDir, QStringLiteral("/data/"));
}

TEST_F(DialogTransport, ConfirmedOwnTypeWritesTheChosenFile)
{
    MemoryTransport offered; // listed, so the dialog shows its type as the second
    const QString chosen = dir.path() + QStringLiteral("/sub/out.zt3");
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    choose(chosen, 1);
    transport.SetFilterAccess(faWrite);

    ASSERT_TRUE(transport.OpenFilter());
    EXPECT_EQ(dialogs.FileRequests[0].Filter, QStringLiteral("Report (*.zt3)|*.zt3|Memory (*.mem)|*.mem"));
    EXPECT_EQ(transport.FileName(), chosen);
    EXPECT_EQ(transport.BasePath(), dir.path() + QStringLiteral("/sub/"));
    EXPECT_EQ(transport.Delegate(), nullptr);
    EXPECT_EQ(MemoryTransport::alive, 1) << "clones not chosen are freed";

    transport.GetStream(QString())->write("tpl");
    transport.CloseFilter();
    EXPECT_EQ(zelReadFile(chosen), QByteArray("tpl"));
}

TEST_F(DialogTransport, ChoosingAnotherTypeDelegatesToAClone)
{
    MemoryTransport offered;
    MemoryTransport other;
    other.SetFilterString(QStringLiteral("Other (*.oth)|*.oth"));
    transport.SetReport(fakeReport());
    transport.SetFilterAccess(faWrite);
    choose(dir.path() + QStringLiteral("/picked.zt3"), 3);

    ASSERT_TRUE(transport.OpenFilter());
    auto *delegate = dynamic_cast<MemoryTransport *>(transport.Delegate());
    ASSERT_NE(delegate, nullptr);
    EXPECT_EQ(delegate->ClonedFrom(), &other);
    EXPECT_EQ(delegate->CreatedFrom(), fvDesigner);
    EXPECT_EQ(delegate->opened, 1);
    EXPECT_EQ(delegate->FilterAccess(), faWrite);
    EXPECT_EQ(delegate->Report(), fakeReport());
    EXPECT_EQ(transport.FileName(), dir.path() + QStringLiteral("/picked.mem"));
    EXPECT_EQ(delegate->FileName(), transport.FileName());
    EXPECT_EQ(delegate->BasePath(), dir.path() + u'/');
    EXPECT_EQ(MemoryTransport::alive, 3);

    QIODevice *stream = transport.GetStream(QString());
    EXPECT_NE(qobject_cast<QBuffer *>(stream), nullptr);
    EXPECT_EQ(delegate->GetFileNode()->ObjectData(), stream);
    EXPECT_EQ(transport.GetFileNode(), nullptr);
    transport.FreeStream(stream);
    EXPECT_EQ(delegate->GetFileNode()->ObjectData(), nullptr);

    transport.CloseFilter();
    EXPECT_EQ(transport.Delegate(), nullptr);
    EXPECT_EQ(MemoryTransport::alive, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/picked.mem")));

    // The clone's answer is the dialog's answer.
    other.openResult = false;
    choose(dir.path() + QStringLiteral("/again.zt3"), 3);
    EXPECT_FALSE(transport.OpenFilter());
}
