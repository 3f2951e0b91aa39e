#pragma once

#include <QString>
#include <optional>

class TzelPreviewPages;
class TzelReport;
struct TzelCommandArgs;

/// Whether FileName is a file to read; says why not when it is not.
bool zelInputFile(const QString &fileName);
/// Whether FileName names a prepared report (".zp3") rather than a template.
bool zelIsPreparedReport(const QString &fileName);
/// Whether FileName ends in "." Suffix (any case); says why not when it does not.
bool zelOutputOfKind(const QString &fileName, const char *suffix);
/// Whether FileName may be read as a template; says why not when it is a prepared report.
bool zelTemplateInput(const QString &fileName);
/// Loads a template for batch use: errors are collected, never shown. The
/// password, database login and what data files may be come from Args.
bool zelLoadTemplate(TzelReport &report, const QString &fileName, const TzelCommandArgs &args);
/// Loads a prepared report for batch use: errors are collected, never shown.
bool zelLoadPrepared(TzelPreviewPages &pages, const QString &fileName);
/// Sets the report variables of every "--var NAME=VALUE"; the value is an
/// expression text, as the variables store it. Says which pair is wrong.
bool zelSetVariables(TzelReport &report, const TzelCommandArgs &args);
/// Loads the template FileName, sets the variables of Args and builds it;
/// the exit status when any of it failed (what failed said), nothing when
/// the report is built.
std::optional<int> zelBuildTemplate(TzelReport &report, const QString &fileName, const TzelCommandArgs &args);
/// Reads Input into Report: a prepared report into its pages, or a template
/// with the variables of Args, built when Build. The exit status when any of
/// it failed (what failed said), nothing when the report is read.
std::optional<int> zelReadInput(TzelReport &report, const QString &input, const TzelCommandArgs &args, bool build);
/// The whole number option Name gives, Fallback when absent; nothing (and a
/// message) when it is no number in [Low, High].
std::optional<int> zelNumberOption(const TzelCommandArgs &args, const char *name, int fallback, int low, int high);
