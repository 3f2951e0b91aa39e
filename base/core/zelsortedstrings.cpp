#include "base/core/zelsortedstrings.h"

#include <algorithm>

qsizetype TzelSortedStrings::LowerBound(const QString &s) const
{
    const auto it = std::lower_bound(FItems.cbegin(), FItems.cend(), s, [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return it - FItems.cbegin();
}

void TzelSortedStrings::Add(const QString &s)
{
    const qsizetype i = LowerBound(s);
    if (i < FItems.size() && FItems.at(i).compare(s, Qt::CaseInsensitive) == 0)
        return;
    FItems.insert(i, s);
}

bool TzelSortedStrings::Contains(const QString &s) const
{
    const qsizetype i = LowerBound(s);
    return i < FItems.size() && FItems.at(i).compare(s, Qt::CaseInsensitive) == 0;
}

QString TzelSortedStrings::Text() const
{
    return FItems.join(QStringLiteral("\r\n"));
}

void TzelSortedStrings::SetText(const QString &text)
{
    FItems.clear();
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalized.split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines)
        Add(line);
}
