// zelreport: runs reports in batch. It never opens a window or waits for input.
#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/data/zelcsvdataset.h"
#include "model/data/zelcustomdatabase.h"
#include "model/data/zeldataset.h"
#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "model/page/zelreportpage.h"
#include "prepared/zelcustomoutline.h"
#include "prepared/zelpreviewpages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

// Options every command takes; they are removed from Args.
struct CommonOptions
{
    QString Password;
    bool HasPassword = false;
    QString DbUser;             // login for the template's databases
    QString DbPassword;
    bool HasDbLogin = false;
    bool AllowPipe = false;     // a data file may be a named pipe

    bool Parse(QStringList &args)
    {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString &name = args.at(i);
            if (name == QLatin1StringView("--allow-pipe")) {
                AllowPipe = true;
                args.remove(i--);
                continue;
            }
            QString *target = name == QLatin1StringView("--password")      ? &Password
                              : name == QLatin1StringView("--db-user")     ? &DbUser
                              : name == QLatin1StringView("--db-password") ? &DbPassword
                                                                           : nullptr;
            if (!target)
                continue;
            if (i + 1 >= args.size())
                return false;
            *target = args.at(i + 1);
            if (target == &Password)
                HasPassword = true;
            else
                HasDbLogin = true;
            args.remove(i, 2);
            --i;
        }
        return true;
    }
};

// Whether the input file is there; says so when not.
bool inputExists(const QString &fileName)
{
    if (QFileInfo(fileName).isFile())
        return true;
    printError(zelFormat(zelRes("clFileNotFound"), {fileName}));
    return false;
}

// Ends a command: prints what the report collected, if anything, and gives
// the status, 1 when anything was collected.
int finish(const TzelReport &report, int status = 0)
{
    if (report.Errors().IsEmpty())
        return status;
    printError(report.ErrorsText());
    return 1;
}

// Loads a template for batch use: errors are collected, never shown.
bool loadTemplate(TzelReport &report, const QString &fileName, const CommonOptions &options)
{
    report.EngineOptions().NewSilentMode = simSilent;
    if (options.HasPassword)
        report.ReportOptions().HiddenPassword = options.Password;
    if (!inputExists(fileName))
        return false;
    report.LoadFromFile(fileName);
    // The silence belongs to this tool, not to the template.
    report.EngineOptions().NewSilentMode = simMessageBoxes;
    // The login and what data files may be come with the command, not with the template.
    for (TzelComponent *c : report.AllObjects()) {
        if (auto *database = dynamic_cast<TzelCustomDatabase *>(c); database && options.HasDbLogin)
            database->SetLogin(options.DbUser, options.DbPassword);
        if (auto *csv = dynamic_cast<TzelCSVDataSet *>(c))
            csv->AllowPipe = options.AllowPipe;
    }
    return report.StreamLoaded();
}

// Prints the records of a data set of the template, a tab between values.
int data(const QStringList &args, const CommonOptions &options)
{
    TzelReport report;
    if (!loadTemplate(report, args.at(0), options))
        return finish(report, 1);
    auto *dataSet = dynamic_cast<TzelDataSet *>(report.FindObject(args.at(1)));
    if (!dataSet)
        dataSet = report.GetDataset(args.at(1));
    if (!dataSet) {
        finish(report);
        printError(zelFormat(zelResources().Get(QStringLiteral("clDSNotExist")), {args.at(1)}));
        return 1;
    }
    // Written as bytes: a value may hold a NUL, which must not end the line.
    auto line = [](const QStringList &values) {
        const QByteArray bytes = values.join(u'\t').toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    };
    try {
        dataSet->ReportRef = &report;
        dataSet->Initialize();
        QStringList fields;
        dataSet->First();
        dataSet->GetFieldList(fields);
        line(fields);
        for (; !dataSet->Eof(); dataSet->Next()) {
            QStringList values;
            for (const QString &field : std::as_const(fields))
                values << dataSet->GetDisplayText(field);
            line(values);
        }
        dataSet->Close();
        dataSet->Finalize();
    } catch (const TzelException &e) {
        finish(report);
        printError(e.message());
        return 1;
    }
    return finish(report);
}

bool isPreparedReport(const QString &fileName)
{
    return QFileInfo(fileName).suffix().compare(QStringLiteral("zp3"), Qt::CaseInsensitive) == 0;
}

// Loads a prepared report for batch use: errors are collected, never shown.
bool loadPrepared(TzelPreviewPages &pages, const QString &fileName)
{
    TzelReport &report = *pages.Report();
    report.EngineOptions().NewSilentMode = simSilent;
    if (!inputExists(fileName))
        return false;
    pages.LoadFromFile(fileName, true);
    return pages.StreamLoaded();
}

void printOutline(TzelCustomOutline &outline, int level)
{
    for (int i = 0; i < outline.Count(); ++i) {
        QString text;
        int page = 0;
        int top = 0;
        outline.GetItem(i, text, page, top);
        std::printf("%*s%s (page %d)\n", 2 * level + 2, "", qUtf8Printable(text), page + 1);
        outline.LevelDown(i);
        printOutline(outline, level + 1);
        outline.LevelUp();
    }
}

// Prints each page of a prepared report (number, size, objects), then the outline.
int pages(const QStringList &args, const CommonOptions &)
{
    TzelReport report;
    TzelPreviewPages prepared(&report);
    if (!loadPrepared(prepared, args.at(0)))
        return finish(report, 1);
    for (int i = 0; i < prepared.Count(); ++i) {
        const TzelReportPage *page = prepared.GetPage(i);
        if (!page)
            continue;
        std::printf("Page %d: %s x %s mm, %lld objects\n", i + 1, qUtf8Printable(QString::number(page->PaperWidth())),
                    qUtf8Printable(QString::number(page->PaperHeight())),
                    static_cast<long long>(page->AllObjects().size()));
    }
    TzelCustomOutline &outline = prepared.Outline();
    outline.LevelRoot();
    if (outline.Count() > 0) {
        std::printf("Outline:\n");
        printOutline(outline, 0);
    }
    // Pages rebuilt above may have collected errors of their own.
    return finish(report);
}

int resave(const QStringList &args, const CommonOptions &options)
{
    const QString &input = args.at(0);
    const QString &output = args.at(1);
    TzelReport report;
    std::optional<TzelPreviewPages> prepared;
    if (isPreparedReport(input))
        prepared.emplace(&report);
    const bool loaded = prepared ? loadPrepared(*prepared, input) : loadTemplate(report, input, options);
    if (!loaded)
        return finish(report, 1);
    try {
        if (prepared)
            prepared->SaveToFile(output);
        else
            report.SaveToFile(output);
    } catch (const TzelException &e) {
        finish(report);
        printError(e.message());
        return 1;
    }
    return finish(report);
}

struct Command
{
    const char *name;
    const char *usage;
    const char *description;
    int argumentCount;
    std::function<int(const QStringList &args, const CommonOptions &options)> run;
};

const std::vector<Command> &commands();

void printUsage(FILE *out)
{
    std::fprintf(out, "Usage: zelreport COMMAND [ARGS]\n\nCommands:\n");
    std::fprintf(out, "  %-42s %s\n", "--help", "list the commands");
    std::fprintf(out, "  %-42s %s\n", "--version", "print the version");
    for (const Command &c : commands())
        std::fprintf(out, "  %-42s %s\n", c.usage, c.description);
}

const std::vector<Command> &commands()
{
    static const std::vector<Command> list = {
        {"resave", "resave IN OUT [--password TEXT]",
         "load a template (.zt3) or prepared report (.zp3) and write it again; status 1 when the load reported errors",
         2, resave},
        {"pages", "pages IN.zp3", "print each page of a prepared report (number, size, objects) and the outline", 1,
         pages},
        {"data", "data IN.zt3 DATASET [--db-user NAME --db-password TEXT] [--allow-pipe]",
         "print the records of a data set of the template, tab-separated, field names first; --allow-pipe lets "
         "a CSV data set read a named pipe",
         2, data},
    };
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    zelRegisterSqlClasses();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h")) {
        printUsage(stdout);
        return 0;
    }
    if (name == QStringLiteral("--version")) {
        std::printf("zelreport %s\n", TzelReport::CurrentVersion);
        return 0;
    }
    CommonOptions options;
    QStringList positional = args;
    const bool optionsOk = options.Parse(positional);
    for (const Command &c : commands()) {
        if (name != QLatin1StringView(c.name))
            continue;
        if (!optionsOk || positional.size() != c.argumentCount) {
            std::fprintf(stderr, "Usage: zelreport %s\n", c.usage);
            return 2;
        }
        try {
            return c.run(positional, options);
        } catch (const std::exception &e) {
            printError(QString::fromUtf8(e.what()));
            return 1;
        }
    }
    std::fprintf(stderr, "zelreport: unknown command \"%s\"\n", qUtf8Printable(name));
    printUsage(stderr);
    return 2;
}
