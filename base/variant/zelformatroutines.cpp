#include "base/variant/zelformatroutines.h"

#include "base/core/zeldatetime.h"
#include "base/core/zelexception.h"
#include "base/variant/zelformatsettings.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

[[noreturn]] void BadFormat(const char *kind, const QString &format, const char *reason)
{
    throw TzelException(QStringLiteral("Invalid %1 \"%2\": %3")
                            .arg(QLatin1String(kind), format, QLatin1String(reason)));
}

bool IsQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

// Index of the quote closing the one at Open.
qsizetype ClosingQuote(const QString &text, qsizetype open, const char *kind, const QString &format)
{
    const qsizetype close = text.indexOf(text.at(open), open + 1);
    if (close < 0)
        BadFormat(kind, format, "unterminated quote");
    return close;
}

// First separator of a QLocale pattern: what its fields are joined with.
QChar PatternSeparator(const QString &pattern, QChar fallback)
{
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetterOrNumber() && !c.isSpace())
            return c;
    }
    return fallback;
}

QChar DateSeparator()
{
    return PatternSeparator(zelFormatSettings().ShortDateFormat, QLatin1Char('/'));
}

QChar TimeSeparator()
{
    return PatternSeparator(zelFormatSettings().ShortTimeFormat, QLatin1Char(':'));
}

// ---- Float pictures -------------------------------------------------------

// Shortest decimal digits that read back as the value: Digits without leading
// zeros, Exponent of the first one. The rounding below works on these, so
// 2.675 rounds as the 2.675 the user wrote and not as the binary value below it.
struct Shortest
{
    std::string Digits;
    int Exponent = 0;
};

Shortest ShortestOf(double magnitude)
{
    Shortest s;
    if (magnitude == 0) {
        s.Digits = "0";
        return s;
    }
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const char *p = buf;
    for (; p != r.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            s.Digits.push_back(*p);
    }
    if (p != r.ptr) {
        ++p;
        if (p != r.ptr && *p == '+')
            ++p;
        std::from_chars(p, r.ptr, s.Exponent);
    }
    return s;
}

// Adds one to a string of decimal digits; grows it on carry out.
void Increment(std::string &digits)
{
    for (auto i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The first Keep digits of S (zero-padded), rounded half away from zero on
// the digit that follows.
std::string RoundDigits(const Shortest &s, int keep)
{
    const int n = int(s.Digits.size());
    std::string kept;
    bool up = false;
    if (keep <= 0) {
        up = keep == 0 && s.Digits[0] >= '5';
    } else if (keep >= n) {
        kept = s.Digits + std::string(std::size_t(keep - n), '0');
    } else {
        kept = s.Digits.substr(0, std::size_t(keep));
        up = s.Digits[std::size_t(keep)] >= '5';
    }
    if (up)
        Increment(kept);
    return kept;
}

bool AllZero(const std::string &digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

// Magnitude rounded to Decimals places: integer digits without leading zeros
// and exactly Decimals fraction digits.
void RoundFixed(double magnitude, int decimals, std::string &whole, std::string &fraction)
{
    const Shortest s = ShortestOf(magnitude);
    std::string n = magnitude == 0 ? std::string() : RoundDigits(s, s.Exponent + 1 + decimals);
    if (int(n.size()) < decimals + 1)
        n.insert(0, std::size_t(decimals + 1) - n.size(), '0');
    whole = n.substr(0, n.size() - std::size_t(decimals));
    fraction = n.substr(n.size() - std::size_t(decimals));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
}

struct FloatToken
{
    enum Kind { Literal, IntDigit, Point, FracDigit, Exponent };
    Kind kind;
    QString text;  ///< literal text, or the picture text of the token
    int index = 0; ///< placeholder number before or after the point
};

struct FloatSection
{
    std::vector<FloatToken> tokens;
    int intCount = 0;
    int intMin = 0; ///< integer digits always shown: from the first '0' on
    int fracCount = 0;
    int fracMin = 0; ///< fraction digits always shown: up to the last '0'
    bool grouping = false;
    bool scientific = false;
    bool expAlwaysSign = false;
    int expDigits = 0;
    QChar expChar;
};

FloatSection ParseFloatSection(const QString &text, const QString &format)
{
    FloatSection sec;
    auto literal = [&](const QString &t) { sec.tokens.push_back({FloatToken::Literal, t, 0}); };
    bool afterPoint = false;
    bool afterExponent = false;
    int firstIntZero = -1;
    int lastFracZero = -1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (IsQuote(c)) {
            const qsizetype close = ClosingQuote(text, i, "float format", format);
            literal(text.mid(i + 1, close - i - 1));
            i = close;
        } else if (afterExponent) {
            literal(QString(c));
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (!afterPoint) {
                if (c == QLatin1Char('0') && firstIntZero < 0)
                    firstIntZero = sec.intCount;
                sec.tokens.push_back({FloatToken::IntDigit, QString(c), sec.intCount++});
            } else {
                if (c == QLatin1Char('0'))
                    lastFracZero = sec.fracCount;
                sec.tokens.push_back({FloatToken::FracDigit, QString(c), sec.fracCount++});
            }
        } else if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            sec.tokens.push_back({FloatToken::Point, QString(c), 0});
        } else if (c == QLatin1Char(',')) {
            if (!afterPoint)
                sec.grouping = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 2 < n
                   && (text.at(i + 1) == QLatin1Char('+') || text.at(i + 1) == QLatin1Char('-'))
                   && text.at(i + 2) == QLatin1Char('0')) {
            sec.scientific = true;
            sec.expChar = c;
            sec.expAlwaysSign = text.at(i + 1) == QLatin1Char('+');
            qsizetype j = i + 2;
            while (j < n && text.at(j) == QLatin1Char('0'))
                ++j;
            sec.expDigits = int(j - i - 2);
            sec.tokens.push_back({FloatToken::Exponent, text.mid(i, j - i), 0});
            afterExponent = true;
            i = j - 1;
        } else {
            literal(QString(c));
        }
    }
    sec.intMin = firstIntZero < 0 ? 0 : sec.intCount - firstIntZero;
    sec.fracMin = lastFracZero + 1;
    return sec;
}

// The magnitude in Sec; the sign is the caller's business.
QString RenderFloat(const FloatSection &sec, double magnitude)
{
    QString out;
    if (sec.intCount + sec.fracCount == 0) {
        for (const FloatToken &t : sec.tokens)
            out += t.text;
        return out;
    }
    const TzelFormatSettings &settings = zelFormatSettings();
    std::string whole;
    std::string fraction;
    int exponent = 0;
    if (sec.scientific) {
        const int intDigits = std::max(sec.intCount, 1);
        const int significant = intDigits + sec.fracCount;
        std::string digits(std::size_t(significant), '0');
        if (magnitude != 0) {
            const Shortest s = ShortestOf(magnitude);
            digits = RoundDigits(s, significant);
            exponent = s.Exponent;
            if (int(digits.size()) > significant) {
                digits.pop_back();
                ++exponent;
            }
            exponent -= intDigits - 1;
        }
        whole = digits.substr(0, std::size_t(intDigits));
        fraction = digits.substr(std::size_t(intDigits));
        whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    } else {
        RoundFixed(magnitude, sec.fracCount, whole, fraction);
    }
    if (int(whole.size()) < sec.intMin)
        whole.insert(0, std::size_t(sec.intMin) - whole.size(), '0');
    int fracShown = int(fraction.size());
    while (fracShown > sec.fracMin && fraction[std::size_t(fracShown - 1)] == '0')
        --fracShown;

    const int length = int(whole.size());
    const bool grouping = sec.grouping && !sec.scientific;
    auto putInt = [&](int k) {
        out += QLatin1Char(whole[std::size_t(k)]);
        if (grouping && k != length - 1 && (length - 1 - k) % 3 == 0)
            out += settings.ThousandSeparator;
    };
    for (const FloatToken &t : sec.tokens) {
        switch (t.kind) {
        case FloatToken::Literal:
            out += t.text;
            break;
        case FloatToken::IntDigit: {
            // Digits the placeholders cannot hold go before the first one.
            if (t.index == 0) {
                for (int k = 0; k < length - sec.intCount; ++k)
                    putInt(k);
            }
            const int k = t.index + length - sec.intCount;
            if (k >= 0)
                putInt(k);
            break;
        }
        case FloatToken::Point:
            if (sec.intCount == 0) {
                for (int k = 0; k < length; ++k)
                    putInt(k);
            }
            if (fracShown > 0)
                out += settings.DecimalSeparator;
            break;
        case FloatToken::FracDigit:
            if (t.index < fracShown)
                out += QLatin1Char(fraction[std::size_t(t.index)]);
            break;
        case FloatToken::Exponent: {
            out += sec.expChar;
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (sec.expAlwaysSign)
                out += QLatin1Char('+');
            out += QString::number(std::abs(exponent)).rightJustified(sec.expDigits, QLatin1Char('0'));
            break;
        }
        }
    }
    return out;
}

// The sections of a picture, split at ';' outside quotes.
QStringList SplitSections(const QString &format)
{
    QStringList sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (IsQuote(c)) {
            i = ClosingQuote(format, i, "float format", format);
        } else if (c == QLatin1Char(';')) {
            sections.append(format.mid(start, i - start));
            start = i + 1;
        }
    }
    sections.append(format.mid(start));
    if (sections.size() > 3)
        BadFormat("float format", format, "more than three sections");
    return sections;
}

// ---- Date-time pictures ---------------------------------------------------

// Length of the run of C (either case) at I, at most Max.
int RunOf(const QString &text, qsizetype i, char c, int max)
{
    int run = 0;
    while (run < max && i + run < text.size() && text.at(i + run).toLower() == QLatin1Char(c))
        ++run;
    return run;
}

QString Padded(int value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

// The position of an am/pm marker at I and its width; 0 when there is none.
int AmPmAt(const QString &format, qsizetype i)
{
    for (const QLatin1String marker : {QLatin1String("am/pm"), QLatin1String("ampm"), QLatin1String("a/p")}) {
        if (QStringView(format).mid(i).startsWith(marker, Qt::CaseInsensitive))
            return int(marker.size());
    }
    return 0;
}

bool HasAmPm(const QString &format)
{
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (IsQuote(format.at(i)))
            i = ClosingQuote(format, i, "date-time format", format);
        else if (AmPmAt(format, i) > 0)
            return true;
    }
    return false;
}

// ---- Edit masks -----------------------------------------------------------

// The ';' fields of an edit mask; a '\' quotes the character after it.
QStringList SplitMask(const QString &editMask)
{
    QStringList fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i < editMask.size(); ++i) {
        if (editMask.at(i) == QLatin1Char('\\')) {
            if (++i == editMask.size())
                BadFormat("edit mask", editMask, "'\\' at the end");
        } else if (editMask.at(i) == QLatin1Char(';')) {
            fields.append(editMask.mid(start, i - start));
            start = i + 1;
        }
    }
    fields.append(editMask.mid(start));
    if (fields.size() > 3)
        BadFormat("edit mask", editMask, "more than three fields");
    return fields;
}

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Whether C may fill the placeholder P.
bool Fits(QChar p, QChar c)
{
    switch (p.unicode()) {
    case 'L':
    case 'l':
        return c.isLetter();
    case 'A':
    case 'a':
        return c.isLetterOrNumber();
    case 'C':
    case 'c':
        return true;
    case '0':
    case '9':
        return IsAsciiDigit(c);
    case '#':
        return IsAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-');
    }
    return false;
}

bool IsPlaceholder(QChar p)
{
    return QStringView(u"LlAaCc09#").contains(p);
}

} // namespace

namespace {

// A float picture split into its sections and parsed; an empty section is
// absent (nullopt) and stands for the first one.
struct FloatPicture
{
    std::vector<std::optional<FloatSection>> Sections;
};

// Pictures are few and used for every row: each is parsed once per thread.
const FloatPicture &ParsedFloatPicture(const QString &format)
{
    thread_local QHash<QString, FloatPicture> cache;
    if (const auto it = cache.constFind(format); it != cache.cend())
        return *it;
    FloatPicture picture;
    for (const QString &section : SplitSections(format))
        picture.Sections.push_back(section.isEmpty() ? std::nullopt
                                                     : std::optional(ParseFloatSection(section, format)));
    if (cache.size() >= 64)
        cache.clear();
    return *cache.insert(format, std::move(picture));
}

} // namespace

QString zelFormatFloat(const QString &format, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (format.isEmpty())
        return zelFloatToStr(value);
    const FloatPicture &picture = ParsedFloatPicture(format);
    const auto &sections = picture.Sections;
    if (!sections.front())
        return zelFloatToStr(value);

    const FloatSection &first = *sections.front();
    const double magnitude = std::fabs(value);
    bool zero = magnitude == 0;
    if (!zero && !first.scientific && first.intCount + first.fracCount > 0) {
        std::string whole;
        std::string fraction;
        RoundFixed(magnitude, first.fracCount, whole, fraction);
        zero = whole.empty() && AllZero(fraction);
    }
    if (zero)
        return RenderFloat(sections.size() == 3 && sections[2] ? *sections[2] : first, 0);
    if (value < 0) {
        if (sections.size() >= 2 && sections[1])
            return RenderFloat(*sections[1], magnitude);
        return QLatin1Char('-') + RenderFloat(first, magnitude);
    }
    return RenderFloat(first, magnitude);
}

QString zelFormatDateTime(const QString &format, double serial)
{
    const QDateTime dt = std::isfinite(serial) ? zelSerialToDateTime(serial) : QDateTime();
    if (!dt.isValid())
        throw TzelException(QStringLiteral("Cannot format %1 as a date with \"%2\"").arg(serial).arg(format));
    if (format.isEmpty())
        return zelDateTimeToStr(serial);

    const TzelFormatSettings &s = zelFormatSettings();
    const QDate date = dt.date();
    const QTime time = dt.time();
    const bool twelveHour = HasAmPm(format);
    QString out;
    // m and mm right after an hour (literals between allowed) are minutes.
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        bool hour = false;
        int used = 1;
        switch (c.toLower().unicode()) {
        case '\'':
        case '"': {
            const qsizetype close = ClosingQuote(format, i, "date-time format", format);
            out += format.mid(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        case 'c':
            out += zelDateTimeToStr(serial);
            break;
        case 'd':
            used = RunOf(format, i, 'd', 6);
            switch (used) {
            case 1: out += QString::number(date.day()); break;
            case 2: out += Padded(date.day(), 2); break;
            case 3: out += s.Locale.dayName(date.dayOfWeek(), QLocale::ShortFormat); break;
            case 4: out += s.Locale.dayName(date.dayOfWeek(), QLocale::LongFormat); break;
            case 5: out += s.Locale.toString(date, s.ShortDateFormat); break;
            default: out += s.Locale.toString(date, s.LongDateFormat); break;
            }
            break;
        case 'm':
            used = RunOf(format, i, 'm', 4);
            if (used <= 2 && afterHour)
                out += used == 1 ? QString::number(time.minute()) : Padded(time.minute(), 2);
            else if (used <= 2)
                out += used == 1 ? QString::number(date.month()) : Padded(date.month(), 2);
            else
                out += s.Locale.monthName(date.month(), used == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'y':
            used = RunOf(format, i, 'y', 4);
            out += used <= 2 ? Padded(std::abs(date.year()) % 100, 2) : Padded(date.year(), 4);
            break;
        case 'h': {
            used = RunOf(format, i, 'h', 2);
            int h = time.hour();
            if (twelveHour)
                h = h % 12 == 0 ? 12 : h % 12;
            out += used == 1 ? QString::number(h) : Padded(h, 2);
            hour = true;
            break;
        }
        case 'n':
            used = RunOf(format, i, 'n', 2);
            out += used == 1 ? QString::number(time.minute()) : Padded(time.minute(), 2);
            break;
        case 's':
            used = RunOf(format, i, 's', 2);
            out += used == 1 ? QString::number(time.second()) : Padded(time.second(), 2);
            break;
        case 'z':
            used = RunOf(format, i, 'z', 3) == 3 ? 3 : 1;
            out += used == 1 ? QString::number(time.msec()) : Padded(time.msec(), 3);
            break;
        case 't':
            used = RunOf(format, i, 't', 2);
            out += s.Locale.toString(time, used == 1 ? s.ShortTimeFormat : s.LongTimeFormat);
            break;
        case 'a':
            used = AmPmAt(format, i);
            if (used == 4) {
                out += time.hour() < 12 ? s.Locale.amText() : s.Locale.pmText();
            } else if (used > 0) {
                // The half of "am/pm" or "a/p" as the picture writes it.
                const qsizetype half = used / 2;
                out += time.hour() < 12 ? format.mid(i, half) : format.mid(i + half + 1, half);
            } else {
                out += c;
                ++i;
                continue;
            }
            break;
        case '/':
            out += DateSeparator();
            ++i;
            continue;
        case ':':
            out += TimeSeparator();
            ++i;
            continue;
        default:
            out += c;
            ++i;
            continue;
        }
        afterHour = hour;
        i += used;
    }
    return out;
}

QString zelFormatMaskText(const QString &editMask, const QString &value)
{
    const QStringList fields = SplitMask(editMask);
    const QString &mask = fields.front();
    if (mask.isEmpty())
        return value;
    const bool saveLiterals = fields.size() < 2 || fields[1] != QLatin1String("0");
    const QChar blank = fields.size() < 3 || fields[2].isEmpty() ? QLatin1Char('_') : fields[2].front();

    enum class Case { Keep, Upper, Lower } mode = Case::Keep;
    QString out;
    qsizetype next = 0; // the value character to place next
    auto putLiteral = [&](QChar literal) {
        if (saveLiterals && next < value.size() && value.at(next) == literal)
            ++next;
        out += literal;
    };
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar p = mask.at(i);
        if (p == QLatin1Char('!')) {
            continue;
        } else if (p == QLatin1Char('>')) {
            mode = Case::Upper;
        } else if (p == QLatin1Char('<')) {
            const bool off = i + 1 < mask.size() && mask.at(i + 1) == QLatin1Char('>');
            mode = off ? Case::Keep : Case::Lower;
            i += off ? 1 : 0;
        } else if (p == QLatin1Char('\\')) {
            putLiteral(mask.at(++i)); // SplitMask ensures a character follows
        } else if (p == QLatin1Char(':')) {
            putLiteral(TimeSeparator());
        } else if (p == QLatin1Char('/')) {
            putLiteral(DateSeparator());
        } else if (p == QLatin1Char('_')) {
            putLiteral(QLatin1Char(' '));
        } else if (IsPlaceholder(p)) {
            if (next >= value.size()) {
                out += blank;
                continue;
            }
            const QChar c = value.at(next++);
            if (!Fits(p, c))
                out += p.isUpper() || p == QLatin1Char('0') ? blank : QLatin1Char(' ');
            else if (mode == Case::Upper)
                out += c.toUpper();
            else if (mode == Case::Lower)
                out += c.toLower();
            else
                out += c;
        } else {
            putLiteral(p);
        }
    }
    return out;
}

QString zelFormatValues(const QString &fmt, std::span<const Variant> args)
{
    const int count = int(args.size());
    int next = 0;
    QString out;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (i + 1 < fmt.size() && fmt.at(i + 1) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        const auto number = [&]() {
            int n = -1;
            while (j < fmt.size() && fmt.at(j).isDigit())
                n = qMax(n, 0) * 10 + fmt.at(j++).digitValue();
            return n;
        };
        int index = -1;
        const qsizetype mark = j;
        const int first = number();
        if (j < fmt.size() && fmt.at(j) == QLatin1Char(':'))
            index = first, ++j;
        else
            j = mark;
        const bool left = j < fmt.size() && fmt.at(j) == QLatin1Char('-');
        if (left)
            ++j;
        const int width = number();
        int precision = -1;
        if (j < fmt.size() && fmt.at(j) == QLatin1Char('.')) {
            ++j;
            precision = qMax(number(), 0);
        }
        if (j >= fmt.size())
            throw TzelException(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fmt));
        const QChar type = fmt.at(j).toLower();
        if (index >= 0)
            next = index;
        if (next >= count)
            throw TzelException(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fmt));
        const Variant &arg = args[size_t(next++)];
        const QChar point = zelFormatSettings().DecimalSeparator;
        QString piece;
        switch (type.unicode()) {
        case 'd':
        case 'u':
            piece = QString::number(arg.ToInt64());
            if (precision > 0) {
                const bool negative = piece.startsWith(QLatin1Char('-'));
                piece = piece.mid(negative ? 1 : 0).rightJustified(precision, QLatin1Char('0'));
                if (negative)
                    piece.prepend(QLatin1Char('-'));
            }
            break;
        case 'x':
            piece = QString::number(quint64(arg.ToInt64()), 16).toUpper();
            if (precision > 0)
                piece = piece.rightJustified(precision, QLatin1Char('0'));
            break;
        case 'f':
        case 'n':
        case 'm':
            piece = QString::number(arg.ToDouble(), 'f', precision < 0 ? 2 : precision);
            piece.replace(QLatin1Char('.'), point);
            break;
        case 'e':
            piece = QString::number(arg.ToDouble(), 'E', precision < 0 ? 15 : qMax(precision - 1, 0));
            piece.replace(QLatin1Char('.'), point);
            break;
        case 'g':
            piece = zelFloatToStr(arg.ToDouble());
            break;
        case 's':
            piece = arg.ToString();
            if (precision >= 0)
                piece.truncate(precision);
            break;
        case 'p':
            piece = QString::number(quint64(arg.ToInt64()), 16).toUpper().rightJustified(8, QLatin1Char('0'));
            break;
        default:
            throw TzelException(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fmt));
        }
        if (width > piece.size())
            piece = left ? piece.leftJustified(width) : piece.rightJustified(width);
        out += piece;
        i = j;
    }
    return out;
}
