#include "base/xml/zelxmltext.h"

#include "base/core/zelexception.h"

#include <cstring>

namespace {

// Bits of the seven codes that are written as character references.
constexpr quint64 kEscapeMask = (1ull << 0) | (1ull << 10) | (1ull << 13) | (1ull << '"')
    | (1ull << '&') | (1ull << '<') | (1ull << '>');

inline bool needsEscape(char16_t c)
{
    return c < 64 && ((kEscapeMask >> c) & 1);
}

inline bool isQuotEntity(const char16_t *p, qsizetype i, qsizetype n)
{
    // p[i] is '&'; "quot;" must follow it.
    return n - i >= 6 && p[i + 1] == u'q' && p[i + 2] == u'u' && p[i + 3] == u'o'
        && p[i + 4] == u't' && p[i + 5] == u';';
}

inline char16_t *putReference(char16_t *out, int code)
{
    *out++ = u'&';
    *out++ = u'#';
    if (code >= 10)
        *out++ = char16_t(u'0' + code / 10);
    *out++ = char16_t(u'0' + code % 10);
    *out++ = u';';
    return out;
}

bool matchesAt(QStringView s, qsizetype i, QStringView what)
{
    return s.size() - i >= what.size() && s.sliced(i, what.size()) == what;
}

[[noreturn]] void invalidNumber(QStringView digits)
{
    throw TzelConvertError(QStringLiteral("'%1' is not a valid integer value").arg(digits));
}

// Decimal code of a numeric reference; only plain digits form a valid one.
char32_t parseCode(QStringView digits)
{
    if (digits.isEmpty())
        invalidNumber(digits);
    char32_t code = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            invalidNumber(digits);
        code = code * 10 + char32_t(c.unicode() - u'0');
        if (code > 0x10FFFF)
            invalidNumber(digits);
    }
    return code;
}

} // namespace

QString EscapeXMLText(const QString &s)
{
    const char16_t *p = QStringView(s).utf16();
    const qsizetype n = s.size();
    // A code 0 keeps short texts readable as a reference but costs nothing in
    // long ones, where it is most likely binary noise.
    const bool zeroAsBlank = n >= 32;

    qsizetype extra = 0;
    qsizetype first = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (!needsEscape(c))
            continue;
        if (first < 0)
            first = i;
        if (c == 0)
            extra += zeroAsBlank ? 0 : 3;
        else if (c == u'&' && isQuotEntity(p, i, n)) {
            extra -= 1;
            i += 5;
        } else
            extra += 4;
    }
    if (first < 0)
        return s;

    QString result(n + extra, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    std::memcpy(out, p, size_t(first) * sizeof(char16_t));
    out += first;
    for (qsizetype i = first; i < n; ++i) {
        const char16_t c = p[i];
        if (!needsEscape(c)) {
            *out++ = c;
            continue;
        }
        if (c == 0) {
            if (zeroAsBlank)
                *out++ = u' ';
            else
                out = putReference(out, 0);
        } else if (c == u'&' && isQuotEntity(p, i, n)) {
            out = putReference(out, '"');
            i += 5;
        } else
            out = putReference(out, c);
    }
    Q_ASSERT(out == reinterpret_cast<char16_t *>(result.data()) + result.size());
    return result;
}

namespace {

// Position of the first ampersand of Text that can start a reference (one in
// the last place cannot), or -1.
qsizetype firstReference(QStringView text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i] == u'&')
            return i;
    return -1;
}

} // namespace

QString UnescapeXMLText(const QString &s)
{
    return firstReference(s) < 0 ? s : UnescapeXMLText(QStringView(s));
}

QString UnescapeXMLText(QStringView v)
{
    const qsizetype n = v.size();
    qsizetype amp = firstReference(v);
    if (amp < 0)
        return v.toString();

    QString result;
    result.reserve(n);
    qsizetype done = 0;
    while (amp >= 0) {
        result.append(v.sliced(done, amp - done));
        qsizetype next = amp + 1;
        if (v[amp + 1] == u'#') {
            const qsizetype semicolon = v.indexOf(u';', amp + 2);
            if (semicolon < 0) {
                result.append(u'&');
            } else {
                const char32_t code = parseCode(v.sliced(amp + 2, semicolon - amp - 2));
                if (code > 0xFFFF) {
                    const char32_t ucs4[1] = {code};
                    result.append(QString::fromUcs4(ucs4, 1));
                } else
                    result.append(QChar(char16_t(code)));
                next = semicolon + 1;
            }
        } else if (matchesAt(v, amp + 1, u"quot;")) {
            result.append(u'"');
            next = amp + 6;
        } else if (matchesAt(v, amp + 1, u"amp;")) {
            result.append(u'&');
            next = amp + 5;
        } else if (matchesAt(v, amp + 1, u"lt;")) {
            result.append(u'<');
            next = amp + 4;
        } else if (matchesAt(v, amp + 1, u"gt;")) {
            result.append(u'>');
            next = amp + 4;
        } else {
            result.append(u'&');
        }
        done = next;
        amp = done < n - 1 ? v.first(n - 1).indexOf(u'&', done) : -1;
    }
    result.append(v.sliced(done));
    return result;
}
