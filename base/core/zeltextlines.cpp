#include "base/core/zeltextlines.h"

QString zelJoinLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

QStringList zelSplitLines(const QString &text, bool lastBreakEndsLine)
{
    if (text.isEmpty())
        return {};
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size() || !lastBreakEndsLine)
        lines << text.mid(start);
    return lines;
}
