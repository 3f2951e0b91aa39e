#include "model/view/zelexpressiontext.h"

TzelExpressionDelimiters TzelExpressionDelimiters::FromText(const QString &text)
{
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return {text, QString()};
    return {text.left(comma), text.mid(comma + 1)};
}

bool TzelExpressionDelimiters::Find(const QString &text, qsizetype from, qsizetype &begin, qsizetype &end) const
{
    if (Open.isEmpty() || Close.isEmpty())
        return false;
    begin = text.indexOf(Open, from);
    if (begin < 0)
        return false;
    // Jump from delimiter to delimiter: an opening one before the next
    // closing one nests.
    int depth = 1;
    qsizetype pos = begin + Open.size();
    for (;;) {
        const qsizetype close = text.indexOf(Close, pos);
        if (close < 0)
            return false;
        const qsizetype open = text.indexOf(Open, pos);
        if (open >= 0 && open < close) {
            ++depth;
            pos = open + Open.size();
            continue;
        }
        pos = close + Close.size();
        if (--depth == 0) {
            end = pos;
            return true;
        }
    }
}
