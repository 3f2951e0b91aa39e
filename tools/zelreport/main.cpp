// zelreport: runs reports in batch. It never opens a window or waits for input.
#include "engine/export/zelexportfilters.h"
#include "engine/core/zelengineclasses.h"
#include "model/report/zelreport.h"
#include "model/sql/zelsqlclasses.h"
#include "script/gui/kvguirtti.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/output.h"

#include <QApplication>
#include <cstring>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>

namespace {

constexpr qsizetype kWidth = 100;

// Text broken into lines of at most Width characters, each led by Indent.
QString wrapped(const QString &text, int indent)
{
    QString out;
    QString line;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && indent + line.size() + 1 + word.size() > kWidth) {
            out += QString(indent, u' ') + line + u'\n';
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        out += QString(indent, u' ') + line + u'\n';
    return out;
}

// Parts joined by blanks into lines of at most Width characters, the first
// led by Indent blanks, the others by Continued.
QString joined(const QStringList &parts, int indent, int continued)
{
    QString out;
    QString line = QString(indent, u' ');
    qsizetype lineStart = 0;
    for (const QString &part : parts) {
        if (line.size() - lineStart > indent && line.size() + 1 + part.size() > kWidth) {
            out += line + u'\n';
            line = QString(continued, u' ');
            indent = continued;
        } else if (line.size() > indent) {
            line += u' ';
        }
        line += part;
    }
    return out + line + u'\n';
}

void printUsage(FILE *out)
{
    QString text = QStringLiteral("Usage: zelreport COMMAND ARGS [OPTIONS]\n\nCommands:\n");
    for (const TzelCommand &c : zelCommands()) {
        text += joined(c.UsageParts(), 2, 8) + wrapped(QString::fromUtf8(c.Description), 6);
        for (const TzelCommandOption &o : c.Options) {
            const QString name = QString::fromLatin1(o.Name) + (o.Value ? u' ' + QString::fromLatin1(o.Value) : QString());
            text += QString(6, u' ') + name.leftJustified(20) + u' ' + QString::fromUtf8(o.Description) + u'\n';
        }
    }
    text += QStringLiteral("\n  --help      list the commands\n  --version   print the version\n");
    std::fputs(qUtf8Printable(text), out);
}

// Takes Args apart for Command; says what is wrong when they do not fit.
bool parse(const TzelCommand &command, const QStringList &args, TzelCommandArgs &parsed)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(QStringLiteral("--"))) {
            parsed.Positional << arg;
            continue;
        }
        const TzelCommandOption *option = nullptr;
        for (const TzelCommandOption &o : command.Options)
            if (arg == QLatin1StringView(o.Name))
                option = &o;
        if (!option) {
            zelSay(QStringLiteral("\"%1\" is no option of \"%2\"").arg(arg, QLatin1StringView(command.Name)));
            return false;
        }
        QString value;
        if (option->Value) {
            if (i + 1 >= args.size()) {
                zelSay(QStringLiteral("\"%1\" needs a value (%2)").arg(arg, QLatin1StringView(option->Value)));
                return false;
            }
            value = args.at(++i);
        }
        if (parsed.Values.contains(arg) && !option->Repeatable) {
            zelSay(QStringLiteral("\"%1\" is given twice").arg(arg));
            return false;
        }
        parsed.Values[arg] << value;
    }
    const qsizetype wanted = QString::fromLatin1(command.Arguments).split(u' ', Qt::SkipEmptyParts).size();
    if (parsed.Positional.size() != wanted) {
        zelSay(QStringLiteral("\"%1\" takes %2 arguments, %3 given")
                   .arg(QLatin1StringView(command.Name))
                   .arg(wanted)
                   .arg(parsed.Positional.size()));
        return false;
    }
    return true;
}

} // namespace

QStringList TzelCommand::UsageParts() const
{
    QStringList parts{QString::fromLatin1(Name) + u' ' + QString::fromLatin1(Arguments)};
    for (const TzelCommandOption &o : Options)
        parts << QStringLiteral("[") + QString::fromLatin1(o.Name)
                     + (o.Value ? u' ' + QString::fromLatin1(o.Value) : QString()) + u']'
                     + (o.Repeatable ? QStringLiteral("...") : QString());
    return parts;
}

QString TzelCommand::Usage() const
{
    return UsageParts().join(u' ');
}

TzelCommandOption zelPasswordOption()
{
    return {"--password", "TEXT", "the password of a protected template"};
}

TzelCommandOption zelVarOption()
{
    return {"--var", "NAME=VALUE", "set report variable NAME to the expression VALUE (text in quotes)", true};
}

TzelCommandOption zelRestrictedOption()
{
    return {"--restricted", nullptr, "untrusted template: its script may not use files, printers or windows"};
}

std::vector<TzelCommandOption> zelLoadOptions(std::vector<TzelCommandOption> own)
{
    own.insert(own.end(), {zelPasswordOption(),
                           {"--db-user", "NAME", "the login for the template's databases"},
                           {"--db-password", "TEXT", "its password"},
                           {"--allow-pipe", nullptr, "let a CSV data set read a named pipe"},
                           zelRestrictedOption()});
    return own;
}

const std::vector<TzelCommand> &zelCommands()
{
    static const std::vector<TzelCommand> list = {zelResaveCommand(), zelBuildCommand(), zelTextCommand(),
                                                  zelPagesCommand(), zelDataCommand(),  zelDrawCommand(),
                                                  zelScriptCommand(), zelExportCommand(), zelPreviewCommand()};
    return list;
}

int main(int argc, char **argv)
{
    // Fonts and the widgets scripts build need an application object; only
    // the preview shows a window, so the other commands need no display.
    const bool window = argc > 1 && std::strcmp(argv[1], "preview") == 0;
    if (!window && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (cron, CI) Qt picks a runtime folder itself but warns
    // on every run; the tool takes the same folder quietly.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime = QFile::encodeName(QDir::tempPath()) + "/runtime-" + QByteArray::number(getuid());
        if (mkdir(runtime.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
    QApplication app(argc, argv);
    kvRegisterGuiRTTI();
    // Nobody answers a window in batch: a script's modal form is cancelled
    // at once, as the console dialog service cancels its questions.
    kvSetRunModal([](QDialog &) { return 2; });
    zelRegisterSqlClasses();
    zelRegisterEngine();
    zelRegisterExportFilters();
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
    for (const TzelCommand &c : zelCommands()) {
        if (name != QLatin1StringView(c.Name))
            continue;
        TzelCommandArgs parsed;
        if (!parse(c, args, parsed)) {
            std::fprintf(stderr, "Usage: zelreport %s\n", qUtf8Printable(c.Usage()));
            return 2;
        }
        try {
            return c.Run(parsed);
        } catch (const std::exception &e) {
            zelSay(QString::fromUtf8(e.what()));
            return 1;
        }
    }
    zelSay(QStringLiteral("unknown command \"%1\"; \"zelreport --help\" lists the commands").arg(name));
    return 2;
}
