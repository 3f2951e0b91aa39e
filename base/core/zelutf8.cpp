#include "base/core/zelutf8.h"

namespace {

// Length of the well-formed sequence at I, or 0.
int sequenceLength(const unsigned char *s, qsizetype i, qsizetype size)
{
    const unsigned char c = s[i];
    if (c < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > size)
        return 0;
    if (s[i + 1] < low || s[i + 1] > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (s[i + k] < 0x80 || s[i + k] > 0xBF)
            return 0;
    return length;
}

} // namespace

bool zelDecodeUtf8(const QByteArray &bytes, QString &text, qsizetype &bad)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceLength(s, i, bytes.size());
        if (length == 0) {
            bad = i;
            return false;
        }
        i += length;
    }
    text = QString::fromUtf8(bytes);
    return true;
}

QString zelUtf8Position(const QByteArray &bytes, qsizetype offset)
{
    const QByteArray before = bytes.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    const qsizetype line = before.count('\n') + 1;
    const qsizetype column = QString::fromUtf8(before.mid(lineStart)).size() + 1;
    return QString::number(line) + QLatin1Char(':') + QString::number(column);
}
