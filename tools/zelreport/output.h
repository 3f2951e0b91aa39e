#pragma once

#include <QString>
#include <functional>

class TzelReport;

/// Prints a message of the tool itself to standard error: "zelreport: Text".
void zelSay(const QString &text);
/// Prints Text as one line of its own to standard error.
void zelPrintErrorLine(const QString &text);
/// Prints what Report collected while it worked on the file FileName, if
/// anything: the heading, then one line per problem in the order met,
/// "FILE:LINE:COL: OBJECT.PROPERTY: message" (FileName where a problem names
/// no file). Returns Status, or 1 when anything was collected.
int zelFinish(const TzelReport &report, const QString &fileName, int status = 0);
/// Runs Write, which makes the output file of a command on the input file
/// FileName, then reports like zelFinish; a write that fails is said too and
/// gives 1.
int zelWriteOutput(const TzelReport &report, const QString &fileName, const std::function<void()> &write);
/// Builds Report (PrepareReport) in batch: progress goes to standard error
/// as one updating line when it is a terminal. Whether it built without errors.
bool zelBuildReport(TzelReport &report);
/// Writes Text (lines ending in line breaks) to standard output as UTF-8.
void zelPrintText(const QString &text);
/// Writes Text and a line break to standard output as UTF-8 bytes, whatever
/// characters (NUL among them) it holds.
void zelPrintLine(const QString &text);
