#pragma once
/// \file

#include <QString>
#include <QStringList>

/// The lines joined by CR LF, as string lists travel as one text.
QString zelJoinLines(const QStringList &lines);
/// The lines of Text, split at CR LF, CR or LF. A break at the very end
/// ends the last line when LastBreakEndsLine ("a\n" is one line), and
/// otherwise starts an empty one ("a\n" is "a" and "").
QStringList zelSplitLines(const QString &text, bool lastBreakEndsLine = false);
