#include "model/report/zelpagenumbers.h"

#include <algorithm>

QStringList zelParsePageNumbers(const QString &text, int pageCount)
{
    QString s;
    for (const QChar c : text)
        if (c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('-'))
            s += c;
    QStringList pages;
    if (s.isEmpty())
        return pages;
    if (s.endsWith(QLatin1Char('-')))
        s += QString::number(pageCount);
    s += QLatin1Char(',');
    QString number;
    bool range = false;
    qint64 start = 0;
    for (const QChar c : std::as_const(s)) {
        if (c.isDigit()) {
            number += c;
            continue;
        }
        const qint64 n = number.toLongLong();
        number.clear();
        if (c == QLatin1Char('-')) {
            start = n;
            range = true;
            continue;
        }
        // A range reaching far past the pages adds only the pages there are.
        const qint64 last = range ? std::min(n, std::max<qint64>(start, pageCount)) : n;
        for (qint64 p = range ? start : n; p <= last; ++p)
            pages << QString::number(p);
        range = false;
    }
    return pages;
}

bool zelNamesNoPage(const QString &text, int pageCount)
{
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
        return false;
    const QStringList pages = zelParsePageNumbers(text, pageCount);
    return std::none_of(pages.cbegin(), pages.cend(), [pageCount](const QString &page) {
        const int n = page.toInt();
        return n >= 1 && n <= pageCount;
    });
}
