// zelreport: runs reports in batch. It never opens a window or waits for input.
#include "model/report/zelreport.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace {

struct Command
{
    const char *name;
    const char *usage;
    const char *description;
    std::function<int(const QStringList &args)> run;
};

const std::vector<Command> &commands();

void printUsage(FILE *out)
{
    std::fprintf(out, "Usage: zelreport COMMAND [ARGS]\n\nCommands:\n");
    std::fprintf(out, "  %-28s %s\n", "--help", "list the commands");
    std::fprintf(out, "  %-28s %s\n", "--version", "print the version");
    for (const Command &c : commands())
        std::fprintf(out, "  %-28s %s\n", c.usage, c.description);
}

const std::vector<Command> &commands()
{
    static const std::vector<Command> list = {};
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
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
    for (const Command &c : commands())
        if (name == QLatin1StringView(c.name))
            return c.run(args);
    std::fprintf(stderr, "zelreport: unknown command \"%s\"\n", qUtf8Printable(name));
    printUsage(stderr);
    return 2;
}
