#include "model/io/zeliotransportfile.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

class RecordingCommand : public TzelDelayedCommand
{
public:
    RecordingCommand(QString name, QStringList &log) : FName(std::move(name)), FLog(log) {}
    QString ClassName() const override { return FName; }
    void Execute(TzelReport &report) override
    {
        FLog << FName;
        // Commands queued while the queue runs are dropped.
        report.DelayedCommands().Add(std::make_unique<RecordingCommand>(QStringLiteral("TzelLate"), FLog));
    }

private:
    QString FName;
    QStringList &FLog;
};

} // namespace

TEST(DelayedCommands, KeepTheLatestOfEachKindAndRunInNameOrder)
{
    TzelReport report;
    QStringList log;
    TzelDelayedCommandManager &manager = report.DelayedCommands();
    for (const char *name : {"TzelShowReportCommand", "TzelLoadFromFileCommand", "TzelShowReportCommand",
                             "TzelPrepareReportCommand"})
        manager.Add(std::make_unique<RecordingCommand>(QString::fromLatin1(name), log));
    EXPECT_EQ(manager.Count(), 3);
    report.RunDelayedCommands();
    EXPECT_EQ(log, (QStringList{"TzelLoadFromFileCommand", "TzelPrepareReportCommand", "TzelShowReportCommand"}));
    EXPECT_EQ(manager.Count(), 0);
}

TEST(DelayedCommands, ActionsAskedForDuringAnActionAreQueued)
{
    FakeDialogService dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.zt3"));
    zelWriteFile(path, "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport/>");

    TzelReport report;
    report.SetEngineRunning(true);
    report.ShowReport();
    report.ShowReport(false);
    EXPECT_FALSE(report.LoadFromFile(path));
    QByteArray data = "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport/>";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(report.LoadFromStream(&buffer));
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    EXPECT_FALSE(report.LoadFromFilter(&transport, path));
    EXPECT_EQ(report.DelayedCommands().Count(), 4);
    EXPECT_TRUE(report.FileName().isEmpty());
    EXPECT_TRUE(dialogs.Messages.isEmpty());

    report.SetEngineRunning(false);
    report.RunDelayedCommands();
    // The load ran first; the single show then reported that no preview exists.
    EXPECT_EQ(report.FileName(), path);
    EXPECT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(report.DelayedCommands().Count(), 0);
}

TEST(DelayedCommands, QueuedShowRestoresTheEngineOptionsItWasAskedWith)
{
    FakeDialogService dialogs;
    TzelReport report;
    report.SetScriptRunning(true);
    report.EngineOptions().NewSilentMode = simSilent;
    report.ShowReport();
    report.EngineOptions().NewSilentMode = simMessageBoxes;
    report.SetScriptRunning(false);
    report.RunDelayedCommands();
    EXPECT_EQ(report.EngineOptions().NewSilentMode, simSilent);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}
