#include "model/data/zelcsvdataset.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/data/zeldatafiles.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// One record as read, with the line it starts on.
struct Record
{
    QStringList Values;
    int Line = 0;
};

// Splits Text into records. A record that is an empty line is skipped.
QList<Record> parse(const QString &text, QChar delimiter, QChar quote, const QString &path)
{
    QList<Record> records;
    const bool quoting = !quote.isNull();
    Record record;
    QString value;
    int line = 1;
    record.Line = 1;
    bool quoted = false;   // inside a quoted value
    bool empty = true;     // nothing of the record read yet
    const qsizetype n = text.size();
    auto endRecord = [&] {
        if (!empty) {
            record.Values << value;
            records << record;
        }
        record = Record();
        value.clear();
        empty = true;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == quote) {
                if (i + 1 < n && text.at(i + 1) == quote) {
                    value += quote;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text.at(i + 1) == u'\n')))
                    ++line;
                value += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
            ++line;
            record.Line = line;
            continue;
        }
        empty = false;
        if (c == delimiter) {
            record.Values << value;
            value.clear();
        } else if (quoting && c == quote && value.isEmpty()) {
            quoted = true;
        } else {
            value += c;
        }
    }
    if (quoted)
        throw TzelException(zelFormat(zelRes("csvUnclosedQuote"), {QString::number(record.Line), path}));
    endRecord();
    return records;
}

} // namespace

TzelCSVDataSet::TzelCSVDataSet(TzelComponent *owner)
    : TzelDataSet(owner)
{
}

TzelCSVDataSet::~TzelCSVDataSet() = default;

void TzelCSVDataSet::Open()
{
    const QString path = zelDataFilePath(this, FileName);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw TzelException(zelFormat(zelRes("ioCantOpen"), {path, path.isEmpty() ? zelRes("csvNoFile") : file.errorString()}));
    QByteArray bytes = file.readAll();

    const QString encoding = Encoding.isEmpty() ? QStringLiteral("UTF-8") : Encoding;
    QStringDecoder decoder(qPrintable(encoding), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        throw TzelException(zelFormat(zelRes("csvBadEncoding"), {encoding, path}));
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw TzelException(zelFormat(zelRes("csvBadText"), {path, encoding}));
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);

    const QList<Record> records = parse(text, Delimiter, Quote, path);
    QStringList fields;
    QList<QStringList> rows;
    if (!records.isEmpty()) {
        const qsizetype width = records.first().Values.size();
        for (const Record &r : records)
            if (r.Values.size() != width)
                throw TzelException(zelFormat(zelRes("csvRaggedRow"), {QString::number(r.Line), path,
                                                                   QString::number(r.Values.size()),
                                                                   QString::number(width)}));
        qsizetype first = 0;
        if (HeaderRow) {
            fields = records.first().Values;
            first = 1;
        } else {
            for (qsizetype i = 1; i <= width; ++i)
                fields << QStringLiteral("Field") + QString::number(i);
        }
        rows.reserve(records.size() - first);
        for (qsizetype i = first; i < records.size(); ++i)
            rows << records.at(i).Values;
    }
    FFields = fields;
    FRows = rows;
    FActive = true;
    TzelDataSet::Open();
}

void TzelCSVDataSet::Close()
{
    FFields.clear();
    FRows.clear();
    FActive = false;
    TzelDataSet::Close();
}

void TzelCSVDataSet::OpenIfNeeded()
{
    if (!FActive)
        Open();
}

void TzelCSVDataSet::First()
{
    OpenIfNeeded();
    TzelDataSet::First();
}

bool TzelCSVDataSet::Eof()
{
    // The base has the last word through OnCheckEOF, so the file's end goes in first.
    if (!FActive || RecNo() >= FRows.size() || RecNo() < 0) {
        bool eof = true;
        if (OnCheckEOF)
            OnCheckEOF(this, eof);
        return eof;
    }
    return TzelDataSet::Eof();
}

int TzelCSVDataSet::RecordCount()
{
    if (RangeBegin == rbFirst && RangeEnd == reCount)
        return TzelDataSet::RecordCount();
    OpenIfNeeded();
    return int(FRows.size());
}

int TzelCSVDataSet::FieldsCount()
{
    OpenIfNeeded();
    return int(FFields.size());
}

void TzelCSVDataSet::GetFieldList(QStringList &list)
{
    OpenIfNeeded();
    list = FFields;
}

int TzelCSVDataSet::FieldIndex(const QString &name)
{
    OpenIfNeeded();
    for (qsizetype i = 0; i < FFields.size(); ++i)
        if (FFields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    throw TzelException(zelFormat(zelRes("dsFieldNotFound"), {name, UserName()}));
}

Variant TzelCSVDataSet::GetValue(const QString &index)
{
    const int field = FieldIndex(index);
    const int row = RecNo();
    if (row < 0 || row >= FRows.size())
        return Variant::Null();
    return Variant(FRows.at(row).at(field));
}

QString TzelCSVDataSet::GetDisplayText(const QString &index)
{
    return zelVariantDisplayText(GetValue(index));
}

void TzelCSVDataSet::Publish(TzelPublisher<TzelCSVDataSet> &p)
{
    using T = TzelCSVDataSet;
    p.Prop("FileName", &T::FileName);
    p.Prop("Delimiter", &T::Delimiter).Default(QChar(u','));
    p.Prop("Quote", &T::Quote).Default(QChar(u'"'));
    p.Prop("HeaderRow", &T::HeaderRow).Default(true);
    p.Prop("Encoding", &T::Encoding);
}
