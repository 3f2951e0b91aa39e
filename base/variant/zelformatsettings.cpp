#include "base/variant/zelformatsettings.h"

#include "base/core/zeldatetime.h"

#include <charconv>
#include <cmath>

namespace {

// Time-zone fields make no sense for day serials, and two-digit years would
// read back into the wrong century. Quoted literal text is left alone.
QString CleanPattern(const QString &pattern)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            continue;
        } else if (!quoted && c == QLatin1Char('y')) {
            qsizetype run = 1;
            while (i + run < pattern.size() && pattern.at(i + run) == QLatin1Char('y'))
                ++run;
            out.append(QString(run == 2 ? 4 : run, QLatin1Char('y')));
            i += run - 1;
            continue;
        }
        out.append(c);
    }
    return out.trimmed();
}

TzelFormatSettings &Current()
{
    static TzelFormatSettings settings = TzelFormatSettings::FromLocale(QLocale());
    return settings;
}

// Digits and decimal exponent of a finite, non-zero value, as produced by
// to_chars in scientific notation: "d.ddde+XX". Kept in fixed buffers: every
// float of a template is written through here.
struct Decimal
{
    char Digits[32];
    int Count = 0;
    int Exponent = 0;
};

Decimal SplitScientific(const char *first, const char *last)
{
    Decimal result;
    const char *p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9' && result.Count < int(sizeof result.Digits))
            result.Digits[result.Count++] = *p;
    }
    if (p != last) {
        ++p;
        if (p != last && *p == '+')
            ++p;
        std::from_chars(p, last, result.Exponent);
    }
    while (result.Count > 1 && result.Digits[result.Count - 1] == '0')
        --result.Count;
    return result;
}

QString Layout(bool negative, const Decimal &d)
{
    const char16_t sep = zelFormatSettings().DecimalSeparator.unicode();
    char16_t text[64];
    int length = 0;
    const auto put = [&](char16_t c) { text[length++] = c; };
    const auto digits = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            put(char16_t(d.Digits[i]));
    };
    if (negative)
        put(u'-');
    const int n = d.Count;
    if (d.Exponent >= 15 || d.Exponent < -5) {
        digits(0, 1);
        if (n > 1) {
            put(sep);
            digits(1, n);
        }
        put(u'E');
        char exponent[8];
        const auto r = std::to_chars(exponent, exponent + sizeof exponent, d.Exponent);
        for (const char *e = exponent; e != r.ptr; ++e)
            put(char16_t(*e));
    } else if (d.Exponent < 0) {
        put(u'0');
        put(sep);
        for (int i = 0; i < -d.Exponent - 1; ++i)
            put(u'0');
        digits(0, n);
    } else if (n <= d.Exponent + 1) {
        digits(0, n);
        for (int i = n; i < d.Exponent + 1; ++i)
            put(u'0');
    } else {
        digits(0, d.Exponent + 1);
        put(sep);
        digits(d.Exponent + 1, n);
    }
    return QString(reinterpret_cast<const QChar *>(text), length);
}

template <typename F>
QString FloatText(F value, int maxDigits)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");
    // Whole numbers, the most common in templates, need no digit search.
    if (std::abs(value) < F(1e9) && value == F(qint64(value)))
        return QString::number(qint64(value));
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    Decimal d = SplitScientific(buf, r.ptr);
    if (d.Count > maxDigits) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, maxDigits - 1);
        d = SplitScientific(buf, r.ptr);
    }
    return Layout(value < 0, d);
}

} // namespace

TzelFormatSettings TzelFormatSettings::FromLocale(const QLocale &locale)
{
    TzelFormatSettings s;
    s.Locale = locale;
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    s.DecimalSeparator = point.isEmpty() ? QLatin1Char('.') : point.front();
    s.ThousandSeparator = group.isEmpty() ? QLatin1Char(',') : group.front();
    s.ShortDateFormat = CleanPattern(locale.dateFormat(QLocale::ShortFormat));
    s.LongDateFormat = CleanPattern(locale.dateFormat(QLocale::LongFormat));
    s.ShortTimeFormat = CleanPattern(locale.timeFormat(QLocale::ShortFormat));
    s.LongTimeFormat = CleanPattern(locale.timeFormat(QLocale::LongFormat));
    return s;
}

const TzelFormatSettings &zelFormatSettings()
{
    return Current();
}

void zelSetFormatSettings(const TzelFormatSettings &settings)
{
    Current() = settings;
}

QString zelFloatToStr(double value)
{
    return FloatText(value, 15);
}

QString zelSingleToStr(float value)
{
    return FloatText(value, 9);
}

QString zelCurrToStr(qint64 scaled)
{
    const bool negative = scaled < 0;
    // Magnitude as unsigned so that the most negative value works too.
    const quint64 magnitude = negative ? 0 - quint64(scaled) : quint64(scaled);
    QString text = QString::number(magnitude / 10000);
    if (negative)
        text.prepend(QLatin1Char('-'));
    quint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text.append(zelFormatSettings().DecimalSeparator).append(digits);
    }
    return text;
}

QString zelDateTimeToStr(double serial)
{
    QString text = zelDateToStr(serial);
    if (zelSerialToDateTime(serial).time() != QTime(0, 0))
        text.append(QLatin1Char(' ')).append(zelTimeToStr(serial));
    return text;
}

QString zelDateToStr(double serial)
{
    const TzelFormatSettings &s = zelFormatSettings();
    return s.Locale.toString(zelSerialToDateTime(serial).date(), s.ShortDateFormat);
}

QString zelTimeToStr(double serial)
{
    const TzelFormatSettings &s = zelFormatSettings();
    return s.Locale.toString(zelSerialToDateTime(serial).time(), s.LongTimeFormat);
}

bool zelTryStrToFloat(QStringView text, double &value)
{
    const TzelFormatSettings &s = zelFormatSettings();
    bool ok = false;
    double d = s.Locale.toDouble(text, &ok);
    if (!ok) {
        // Plain notation with the program's separator; a '.' is only a
        // separator when the program says so.
        const QChar sep = s.DecimalSeparator;
        if (sep == QLatin1Char('.') || !text.contains(QLatin1Char('.'))) {
            QString plain = text.toString();
            plain.replace(sep, QLatin1Char('.'));
            QLocale c = QLocale::c();
            c.setNumberOptions(QLocale::RejectGroupSeparator);
            d = c.toDouble(plain, &ok);
        }
    }
    if (!ok || !std::isfinite(d))
        return false;
    value = d;
    return true;
}

bool zelTryStrToInt64(QStringView text, qint64 &value)
{
    bool ok = false;
    const qint64 v = zelFormatSettings().Locale.toLongLong(text, &ok);
    if (ok) {
        value = v;
        return true;
    }
    QStringView t = text.trimmed();
    if (t.startsWith(QLatin1Char('$')))
        t = t.mid(1);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    else
        return false;
    if (t.isEmpty() || t.front() == QLatin1Char('+') || t.front() == QLatin1Char('-'))
        return false;
    const quint64 bits = t.toULongLong(&ok, 16);
    if (!ok)
        return false;
    value = qint64(bits);
    return true;
}

bool zelTryStrToDateTime(QStringView text, double &serial)
{
    const TzelFormatSettings &s = zelFormatSettings();
    const QString t = text.trimmed().toString();
    if (t.isEmpty())
        return false;
    const QString space = QStringLiteral(" ");
    for (const QString &time : {s.LongTimeFormat, s.ShortTimeFormat}) {
        const QDateTime dt = s.Locale.toDateTime(t, s.ShortDateFormat + space + time);
        if (dt.isValid()) {
            serial = zelDateTimeToSerial(dt);
            return true;
        }
    }
    const QDate date = s.Locale.toDate(t, s.ShortDateFormat);
    if (date.isValid()) {
        serial = zelDateTimeToSerial(QDateTime(date, QTime(0, 0)));
        return true;
    }
    for (const QString &time : {s.LongTimeFormat, s.ShortTimeFormat}) {
        const QTime tm = s.Locale.toTime(t, time);
        if (tm.isValid()) {
            serial = tm.msecsSinceStartOfDay() / 86400000.0;
            return true;
        }
    }
    QDateTime iso = QDateTime::fromString(t, Qt::ISODate);
    if (!iso.isValid()) {
        const QDate isoDate = QDate::fromString(t, Qt::ISODate);
        if (isoDate.isValid())
            iso = QDateTime(isoDate, QTime(0, 0));
    }
    if (iso.isValid()) {
        serial = zelDateTimeToSerial(iso);
        return true;
    }
    return false;
}
