#include "model/data/zelcsvscanner.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"

namespace {

// Bytes of one UTF-16 unit in UTF-8; a surrogate pair makes four together.
qint64 utf8Length(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return 1;
    if (u < 0x800 || c.isSurrogate())
        return 2;
    return 3;
}

} // namespace

TzelCSVScanner::TzelCSVScanner(QChar delimiter, QChar quote, const TzelCSVLimits &limits, QString path)
    : FDelimiter(delimiter), FQuote(quote), FLimits(limits), FPath(std::move(path))
{
}

void TzelCSVScanner::Restart(qint64 offset, int line)
{
    FOffset = offset;
    FLine = line;
    FLineLength = 0;
    FRecordLength = 0;
    FQuoted = false;
    FAfterQuote = false;
    FAfterCR = false;
    FEmpty = true;
    FValue.clear();
    FRecord = Record();
}

void TzelCSVScanner::Fail(const char *key, qsizetype limit, int line) const
{
    throw TzelException(zelFormat(zelRes(key), {QString::number(line), FPath, QString::number(limit)}));
}

void TzelCSVScanner::NewLine()
{
    ++FLine;
    FLineLength = 0;
}

void TzelCSVScanner::Append(QChar c)
{
    if (FValue.size() >= FLimits.Value)
        Fail("csvValueTooLong", FLimits.Value, FRecord.Line);
    FValue += c;
}

void TzelCSVScanner::EndValue()
{
    if (FRecord.Count >= FLimits.Values)
        Fail("csvTooManyValues", FLimits.Values, FRecord.Line);
    ++FRecord.Count;
    if (FKeepValues)
        FRecord.Values << FValue;
    FValue.clear();
}

bool TzelCSVScanner::EndRecord(const Handler &onRecord)
{
    if (FEmpty)
        return true;
    EndValue();
    const bool go = onRecord(FRecord);
    FRecord = Record();
    FRecordLength = 0;
    FEmpty = true;
    return go;
}

bool TzelCSVScanner::Feed(QStringView text, const Handler &onRecord)
{
    const bool quoting = !FQuote.isNull();
    for (const QChar c : text) {
        const qint64 at = FOffset;
        FOffset += utf8Length(c);
        if (at == 0 && c == QChar::ByteOrderMark)
            continue;
        if (++FLineLength > FLimits.Line)
            Fail("csvLineTooLong", FLimits.Line, FLine);
        if (!FEmpty && ++FRecordLength > FLimits.Record)
            Fail("csvRecordTooLong", FLimits.Record, FRecord.Line);
        const bool afterCR = FAfterCR;
        FAfterCR = c == u'\r';

        if (FAfterQuote) {
            FAfterQuote = false;
            if (c == FQuote) { // doubled: one quote of the value
                Append(c);
                continue;
            }
            FQuoted = false; // the value's closing quote; C is read as unquoted
        }
        if (FQuoted) {
            if (c == FQuote) {
                FAfterQuote = true;
                continue;
            }
            if (c == u'\r' || (c == u'\n' && !afterCR))
                NewLine();
            Append(c);
            continue;
        }
        if (c == u'\n' && afterCR)
            continue; // the second half of CR LF
        if (c == u'\r' || c == u'\n') {
            const bool go = EndRecord(onRecord);
            NewLine();
            if (!go)
                return false;
            continue;
        }
        if (FEmpty) {
            FEmpty = false;
            FRecord.Offset = at;
            FRecord.Line = FLine;
            FRecordLength = 1;
        }
        if (c == FDelimiter)
            EndValue();
        else if (quoting && c == FQuote && FValue.isEmpty())
            FQuoted = true;
        else
            Append(c);
    }
    return true;
}

void TzelCSVScanner::Finish(const Handler &onRecord)
{
    if (FAfterQuote) {
        FAfterQuote = false;
        FQuoted = false;
    }
    if (FQuoted)
        throw TzelException(zelFormat(zelRes("csvUnclosedQuote"), {QString::number(FRecord.Line), FPath}));
    EndRecord(onRecord);
}
