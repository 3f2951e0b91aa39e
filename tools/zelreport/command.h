#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

/// An option a command takes: "--name", with a value when Value names it.
struct TzelCommandOption
{
    const char *Name;        ///< "--password"
    const char *Value;       ///< the value's name in the usage ("TEXT"), or nullptr for a flag
    const char *Description; ///< one line
    bool Repeatable = false; ///< may be given more than once
};

/// The option that gives the password of a protected template.
TzelCommandOption zelPasswordOption();
/// The option that sets a report variable, "--var NAME=VALUE".
TzelCommandOption zelVarOption();
/// The option that runs a template's script in restricted mode.
TzelCommandOption zelRestrictedOption();
/// Own, followed by the options of every command that reads a template's
/// data: its password, the login of its databases and what its CSV data sets
/// may read.
std::vector<TzelCommandOption> zelLoadOptions(std::vector<TzelCommandOption> own = {});

/// A command line taken apart: the arguments in order and the options given.
struct TzelCommandArgs
{
    QStringList Positional;         ///< the arguments that are not options
    QHash<QString, QStringList> Values; ///< option name to its values in order ("" for a flag)

    /// Whether option Name was given.
    bool Has(const char *name) const { return Values.contains(QLatin1StringView(name)); }
    /// The value of option Name, empty when not given.
    QString Value(const char *name) const
    {
        const QStringList values = Values.value(QLatin1StringView(name));
        return values.isEmpty() ? QString() : values.last();
    }
    /// Every value of a repeatable option Name, in order.
    QStringList All(const char *name) const { return Values.value(QLatin1StringView(name)); }
};

/// One command of zelreport.
struct TzelCommand
{
    const char *Name;                         ///< "resave"
    const char *Arguments;                    ///< "IN OUT"
    const char *Description;                  ///< what it does, a sentence or two
    std::vector<TzelCommandOption> Options;   ///< the options it takes
    std::function<int(const TzelCommandArgs &args)> Run; ///< its exit status

    /// "resave IN OUT [--password TEXT]".
    QString Usage() const;
    /// The same in parts: name and arguments, then each option.
    QStringList UsageParts() const;
};

/// The commands, in the order the help lists them.
const std::vector<TzelCommand> &zelCommands();

// The commands, one per source file.
TzelCommand zelResaveCommand();
TzelCommand zelPagesCommand();
TzelCommand zelDataCommand();
TzelCommand zelDrawCommand();
TzelCommand zelBuildCommand();
TzelCommand zelTextCommand();
TzelCommand zelScriptCommand();
TzelCommand zelExportCommand();
TzelCommand zelPreviewCommand();
