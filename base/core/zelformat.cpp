#include "base/core/zelformat.h"

QString zelFormat(const QString &fmt, const QStringList &args)
{
    QString result;
    result.reserve(fmt.size() + 16 * args.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt.at(i);
        if (c == u'%' && i + 1 < fmt.size()) {
            const QChar spec = fmt.at(i + 1);
            if (spec == u'%') {
                result += u'%';
                ++i;
                continue;
            }
            if (spec == u's' || spec == u'd') {
                if (next < args.size())
                    result += args.at(next);
                ++next;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}
