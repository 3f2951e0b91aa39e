#include "script/scan/kvparser.h"

#include <algorithm>

namespace {

constexpr char16_t CR = 13;
constexpr char16_t LF = 10;

bool isDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int compareWords(QStringView a, QStringView b, bool caseSensitive)
{
    return a.compare(b, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

} // namespace

TkvParser::TkvParser()
{
    Clear();
    SetText(QString());
}

void TkvParser::Clear()
{
    FSkipFrom = FSkipTo = 0;
    CommentLine1 = QStringLiteral("//");
    SetCommentBlock1(QStringLiteral("{,}"));
    SetCommentBlock2(QStringLiteral("(*,*)"));
    HexSequence = QStringLiteral("$");
    ConstructCharset(QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"));
    FKeywords.clear();
    SkipChar.clear();
    SkipEOL = true;
    SkipSpace = true;
    StringQuotes = QStringLiteral("'");
    SpecStrChar = false;
}

void TkvParser::ConstructCharset(const QString &chars)
{
    IdentifierCharset.reset();
    for (QChar c : chars)
        IdentifierCharset.set(c.unicode() % 256);
}

TkvParser::Pair TkvParser::BlockPair(const QString &value)
{
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0)
        return {value, value, QString()};
    return {value, value.left(comma), value.mid(comma + 1)};
}

void TkvParser::AddKeyword(const QString &word)
{
    const auto at = std::lower_bound(FKeywords.begin(), FKeywords.end(), word, [](const QString &a, const QString &b) {
        return compareWords(a, b, false) < 0;
    });
    FKeywords.insert(at, word);
}

void TkvParser::SetText(const QString &text)
{
    FText = text;
    FText.append(QChar(0));
    FData = reinterpret_cast<const char16_t *>(FText.utf16());
    FSize = int(text.size());
    SetPosition(1);
    FSkipFrom = FSkipTo = 0;
    FLines.clear();
    if (UseY) {
        FLines.push_back(0);
        for (int i = 0; i < FSize; ++i)
            if (FData[i] == LF)
                FLines.push_back(i + 1);
    }
}

bool TkvParser::IsBlank(int position) const
{
    const char16_t c = At(position);
    if (c > 32)
        return false;
    if (SkipEOL)
        return true;
    // Line ends are tokens: a CR, or an LF that does not end a CR LF pair
    // (files whose lines end in LF alone).
    return c != CR && (c != LF || (position > 1 && At(position - 1) == CR));
}

bool TkvParser::IsIdentStart(char16_t c) const
{
    return c >= 127 || (!isDigit(c) && IdentifierCharset.test(c));
}

bool TkvParser::IsIdentChar(char16_t c) const
{
    return c >= 127 || IdentifierCharset.test(c);
}

bool TkvParser::Follows(const QString &marker) const
{
    return !marker.isEmpty() && FData[FPosition - 1] == marker.front().unicode() &&
           FPosition + marker.size() - 1 <= FSize && QStringView(FData + FPosition - 1, marker.size()) == marker;
}

void TkvParser::SkipSpaces()
{
    // The walker skips at the same places over and over while it tries
    // alternatives: the last skip is remembered.
    if (FPosition == FSkipFrom) {
        FPosition = FLastPosition = FSkipTo;
        return;
    }
    const int from = FPosition;
    // A continuation character takes the line end after it (and the blanks
    // and comments before that) with it.
    bool continued = false;
    for (;;) {
        while (FPosition <= FSize && IsBlank(FPosition))
            ++FPosition;
        if (!SkipChar.isEmpty() && FPosition <= FSize && At(FPosition) == SkipChar.front().unicode()) {
            ++FPosition;
            continued = true;
            continue;
        }
        if (FPosition < FSize && (Follows(CommentLine1) || Follows(CommentLine2))) {
            const bool startsLine = FPosition == 1 || At(FPosition - 1) == LF;
            const bool endAtCR = !SkipEOL && !startsLine;
            while (FPosition <= FSize && At(FPosition) != LF && !(endAtCR && At(FPosition) == CR))
                ++FPosition;
            // A comment line of its own leaves no line end behind, also when
            // the line ends in LF alone.
            if (!SkipEOL && startsLine && FPosition <= FSize && At(FPosition) == LF)
                ++FPosition;
            continue;
        }
        const Pair *block = nullptr;
        if (FPosition < FSize && Follows(FBlock1.Open))
            block = &FBlock1;
        else if (FPosition < FSize && Follows(FBlock2.Open))
            block = &FBlock2;
        if (block) {
            FPosition += int(block->Open.size());
            while (FPosition <= FSize && !Follows(block->Close))
                ++FPosition;
            FPosition = std::min(FSize + 1, FPosition + int(block->Close.size()));
            continue;
        }
        if (continued && ConsumeLineEnd()) {
            continued = false;
            continue;
        }
        break;
    }
    FLastPosition = FPosition;
    FSkipFrom = from;
    FSkipTo = FPosition;
}

bool TkvParser::ConsumeLineEnd()
{
    if (FPosition > FSize || (At(FPosition) != CR && At(FPosition) != LF))
        return false;
    while (FPosition <= FSize && (At(FPosition) == CR || At(FPosition) == LF))
        ++FPosition;
    return true;
}

bool TkvParser::GetEOL()
{
    SkipSpaces();
    return ConsumeLineEnd();
}

QStringView TkvParser::GetWord()
{
    if (SkipSpace)
        SkipSpaces();
    if (FPosition > FSize || !IsIdentStart(At(FPosition)))
        return {};
    const int start = FPosition;
    while (FPosition <= FSize && IsIdentChar(At(FPosition)))
        ++FPosition;
    return QStringView(FData + start - 1, FPosition - start);
}

QStringView TkvParser::GetIdent()
{
    const QStringView word = GetWord();
    return IsKeyWord(word) ? QStringView() : word;
}

bool TkvParser::IsKeyWord(QStringView word) const
{
    if (word.isEmpty())
        return false;
    if (CaseSensitive)
        return std::any_of(FKeywords.begin(), FKeywords.end(), [word](const QString &k) { return k == word; });
    const auto at = std::lower_bound(FKeywords.begin(), FKeywords.end(), word, [](const QString &a, QStringView b) {
        return compareWords(a, b, false) < 0;
    });
    return at != FKeywords.end() && compareWords(*at, word, false) == 0;
}

QStringView TkvParser::GetChar()
{
    if (FPosition > FSize || !kvIsPunctuation(At(FPosition)))
        return {};
    ++FPosition;
    return QStringView(FData + FPosition - 2, 1);
}

bool TkvParser::ReadUnsigned()
{
    const int start = FPosition;
    bool hex = false;
    if (Follows(HexSequence)) {
        FPosition += int(HexSequence.size());
        hex = true;
    }
    const int digits = FPosition;
    while (FPosition <= FSize && (hex ? isHexDigit(At(FPosition)) : isDigit(At(FPosition))))
        ++FPosition;
    if (FPosition == digits) {
        FPosition = start;
        return false;
    }
    return true;
}

bool TkvParser::ReadReal()
{
    const int start = FPosition;
    if (!ReadUnsigned())
        return false;
    if (At(FPosition) == '.') {
        ++FPosition;
        if (!isDigit(At(FPosition))) {
            FPosition = start;
            return false;
        }
        while (isDigit(At(FPosition)))
            ++FPosition;
    }
    if (At(FPosition) == 'E' || At(FPosition) == 'e') {
        const int e = FPosition++;
        if (At(FPosition) == '+' || At(FPosition) == '-')
            ++FPosition;
        if (!isDigit(At(FPosition)))
            FPosition = e;
        while (isDigit(At(FPosition)))
            ++FPosition;
    }
    return true;
}

QString TkvParser::GetNumber()
{
    if (SkipSpace)
        SkipSpaces();
    if (!ReadReal() && !ReadUnsigned())
        return {};
    QString number = QStringView(FData + FLastPosition - 1, FPosition - FLastPosition).toString();
    if (!HexSequence.isEmpty() && HexSequence != QLatin1String("$"))
        number.replace(HexSequence, QStringLiteral("$"));
    return number;
}

bool TkvParser::ReadQuoted(QString &out)
{
    if (StringQuotes.isEmpty() || FPosition > FSize || At(FPosition) != StringQuotes.front().unicode())
        return false;
    const char16_t quote = At(FPosition);
    const int start = FPosition++;
    const qsizetype kept = out.size();
    for (;;) {
        const char16_t c = At(FPosition);
        if (FPosition > FSize || (c < 32 && c != 9)) {
            // No closing quote on this line: there is no string here.
            FPosition = start;
            out.truncate(kept);
            return false;
        }
        ++FPosition;
        if (SpecStrChar && c == '\\') {
            const char16_t e = At(FPosition);
            if (FPosition > FSize)
                continue;
            ++FPosition;
            if (e == 'n' || e == 'N') {
                out += QChar(LF);
            } else if (e == 'r' || e == 'R') {
                out += QChar(CR);
            } else if (e == 'x' || e == 'X') {
                uint code = 0;
                const int digits = FPosition;
                while (FPosition <= FSize && isHexDigit(At(FPosition))) {
                    const char16_t d = At(FPosition++);
                    code = std::min(0x10FFFFu, code * 16 + uint(isDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10));
                }
                if (FPosition > digits)
                    out += QChar::fromUcs4(code);
            } else {
                out += QChar(e);
            }
        } else if (c == quote) {
            if (!SpecStrChar && At(FPosition) == quote) {
                out += QChar(quote);
                ++FPosition;
            } else {
                return true;
            }
        } else {
            out += QChar(c);
        }
    }
}

bool TkvParser::ReadCharCode(QString &out)
{
    if (FPosition > FSize || At(FPosition) != '#')
        return false;
    const int start = FPosition++;
    const int digits = FPosition;
    if (!ReadUnsigned()) {
        FPosition = start;
        return false;
    }
    QStringView number(FData + digits - 1, FPosition - digits);
    bool ok = false;
    uint code = 0;
    if (number.startsWith(HexSequence))
        code = number.mid(HexSequence.size()).toUInt(&ok, 16);
    else
        code = number.toUInt(&ok, 10);
    out += QChar::fromUcs4(ok ? std::min(code, 0x10FFFFu) : 0x10FFFFu);
    return true;
}

QString TkvParser::GetString()
{
    if (SkipSpace)
        SkipSpaces();
    QString text;
    bool any = false;
    while (ReadQuoted(text) || ReadCharCode(text))
        any = true;
    if (!any)
        return {};
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString TkvParser::GetQZString()
{
    const int start = FPosition;
    int depth = 1;
    bool inDouble = false;
    bool inSingle = false;
    for (; FPosition <= FSize; ++FPosition) {
        const char16_t c = At(FPosition);
        if (c == '"' && !inSingle)
            inDouble = !inDouble;
        else if (c == '\'' && !inDouble)
            inSingle = !inSingle;
        else if (!inDouble && !inSingle) {
            if (c == '<' || c == '[')
                ++depth;
            else if ((c == '>' || c == ']') && --depth == 0)
                break;
        }
    }
    return QStringView(FData + start - 1, FPosition - start).toString();
}

QPoint TkvParser::LineColumn(int position) const
{
    if (FLines.empty())
        return {};
    position = std::max(1, position);
    // Entries below Position: an LF belongs to the line it ends.
    const auto at = std::lower_bound(FLines.begin(), FLines.end(), position);
    const int line = int(at - FLines.begin());
    return QPoint(position - FLines[size_t(line - 1)], line);
}

QString TkvParser::XYPosition(int position) const
{
    // Called for every element of a program tree: no general formatting.
    const QPoint p = LineColumn(position);
    char text[24];
    char *end = text + sizeof text;
    char *at = end;
    const auto put = [&at](int n) {
        unsigned v = unsigned(n < 0 ? 0 : n);
        do {
            *--at = char('0' + v % 10);
            v /= 10;
        } while (v);
    };
    put(p.x());
    *--at = ':';
    put(p.y());
    return QString::fromLatin1(at, end - at);
}

int TkvParser::GetPlainPosition(QPoint point) const
{
    if (point.y() < 1 || point.y() > int(FLines.size()))
        return -1;
    return point.x() + FLines[size_t(point.y() - 1)];
}

QPoint kvPositionToPoint(const QString &position)
{
    if (position.isEmpty())
        return {};
    const QString text = position.left(255);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    return QPoint(text.mid(colon + 1).toInt(), text.left(colon).toInt());
}

bool kvIsPunctuation(char16_t c)
{
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}
