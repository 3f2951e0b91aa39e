#include "model/data/zelcsvdataset.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/data/zeldatafiles.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <filesystem>
#include <vector>

namespace {

constexpr qint64 kBlockSize = 64 * 1024;

[[noreturn]] void fail(const char *key, const QStringList &args)
{
    throw TzelException(zelFormat(zelRes(key), args));
}

// Refuses what is not a regular file before it is opened: a device never
// ends, and opening a pipe waits for a writer.
void checkFileKind(const QString &path, bool allowPipe)
{
    std::error_code error;
    const auto kind = std::filesystem::status(QFile::encodeName(path).toStdString(), error).type();
    if (kind == std::filesystem::file_type::regular || kind == std::filesystem::file_type::not_found || error)
        return; // a missing file is reported when it is opened
    if (kind != std::filesystem::file_type::fifo)
        fail("csvNotRegular", {path});
    if (!allowPipe)
        fail("csvPipeNotAllowed", {path});
}

} // namespace

struct TzelCSVDataSet::Private
{
    // The file as UTF-8 text: the file itself, or a temporary copy of a pipe
    // or of a file in another encoding.
    std::unique_ptr<QIODevice> Source;
    QString Path;
    QStringList Fields;
    std::vector<qint64> Offsets; ///< where each data record starts in Source
    std::vector<int> Lines;      ///< the line each data record starts on
    int Current = -1;            ///< the record Values belong to
    QStringList Values;
};

TzelCSVDataSet::TzelCSVDataSet(TzelComponent *owner)
    : TzelDataSet(owner)
{
}

TzelCSVDataSet::~TzelCSVDataSet() = default;

bool TzelCSVDataSet::Active() const
{
    return d != nullptr;
}

void TzelCSVDataSet::Open()
{
    const QString path = zelDataFilePath(this, FileName);
    if (path.isEmpty())
        fail("ioCantOpen", {path, zelRes("csvNoFile")});
    checkFileKind(path, AllowPipe);
    const QString encoding = Encoding.isEmpty() ? QStringLiteral("UTF-8") : Encoding;
    // The initial byte order mark comes through, so that offsets count it.
    QStringDecoder decoder(qPrintable(encoding), QStringConverter::Flag::ConvertInitialBom);
    if (!decoder.isValid())
        fail("csvBadEncoding", {encoding, path});

    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        fail("ioCantOpen", {path, file->errorString()});
    // Records are read again by their offsets, which needs UTF-8 text that
    // can be sought: anything else goes through a temporary copy.
    const bool utf8 = QStringConverter::encodingForName(qPrintable(encoding)) == QStringConverter::Utf8;
    std::unique_ptr<QTemporaryFile> copy;
    QStringEncoder toUtf8(QStringConverter::Utf8);
    if (!utf8 || file->isSequential()) {
        copy = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("qzXXXXXX")));
        if (!copy->open())
            fail("ioCantCreateTemp", {QDir::toNativeSeparators(QDir::tempPath()), copy->errorString()});
    }

    auto p = std::make_unique<Private>();
    p->Path = path;
    qsizetype width = -1;
    TzelCSVScanner scanner(Delimiter, Quote, Limits, path);
    const TzelCSVScanner::Handler note = [&](const TzelCSVScanner::Record &r) {
        if (width < 0) {
            width = r.Count;
            scanner.SetKeepValues(false);
            if (HeaderRow) {
                p->Fields = r.Values;
                return true;
            }
            for (qsizetype i = 1; i <= width; ++i)
                p->Fields << QStringLiteral("Field") + QString::number(i);
        } else if (r.Count != width) {
            fail("csvRaggedRow", {QString::number(r.Line), path, QString::number(r.Count), QString::number(width)});
        }
        p->Offsets.push_back(r.Offset);
        p->Lines.push_back(r.Line);
        return true;
    };
    QByteArray block(kBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file->read(block.data(), kBlockSize);
        if (got < 0)
            fail("ioCantRead", {path, file->errorString()});
        if (got == 0)
            break;
        const QString text = decoder.decode(QByteArrayView(block.constData(), got));
        if (decoder.hasError())
            fail("csvBadText", {path, encoding});
        if (copy) {
            const QByteArray bytes = toUtf8.encode(text);
            if (copy->write(bytes) != bytes.size())
                fail("ioCantWrite", {copy->fileName(), copy->errorString()});
        }
        scanner.Feed(text, note);
    }
    if (decoder.hasError()) // a sequence cut off by the end of the file
        fail("csvBadText", {path, encoding});
    scanner.Finish(note);

    if (copy) {
        if (!copy->flush() || !copy->seek(0))
            fail("ioCantWrite", {copy->fileName(), copy->errorString()});
        p->Source = std::move(copy);
    } else {
        p->Source = std::move(file);
    }
    d = std::move(p);
    TzelDataSet::Open();
}

void TzelCSVDataSet::Close()
{
    d.reset();
    TzelDataSet::Close();
}

void TzelCSVDataSet::OpenIfNeeded()
{
    if (!d)
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
    if (!d || RecNo() >= qsizetype(d->Offsets.size()) || RecNo() < 0) {
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
    return int(d->Offsets.size());
}

int TzelCSVDataSet::FieldsCount()
{
    OpenIfNeeded();
    return int(d->Fields.size());
}

void TzelCSVDataSet::GetFieldList(QStringList &list)
{
    OpenIfNeeded();
    list = d->Fields;
}

int TzelCSVDataSet::FieldIndex(const QString &name)
{
    OpenIfNeeded();
    for (qsizetype i = 0; i < d->Fields.size(); ++i)
        if (d->Fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    throw TzelException(zelFormat(zelRes("dsFieldNotFound"), {name, UserName()}));
}

Variant TzelCSVDataSet::GetValue(const QString &index)
{
    const int field = FieldIndex(index);
    const int row = RecNo();
    if (row < 0 || row >= qsizetype(d->Offsets.size()))
        return Variant::Null();
    if (d->Current != row) {
        // Read the record again from where the scan found it.
        d->Current = -1;
        d->Values.clear();
        QIODevice &source = *d->Source;
        if (!source.seek(d->Offsets[size_t(row)]))
            fail("ioCantRead", {d->Path, source.errorString()});
        TzelCSVScanner scanner(Delimiter, Quote, Limits, d->Path);
        scanner.Restart(d->Offsets[size_t(row)], d->Lines[size_t(row)]);
        QStringDecoder utf8(QStringConverter::Utf8);
        bool found = false;
        const TzelCSVScanner::Handler take = [&](const TzelCSVScanner::Record &r) {
            d->Values = r.Values;
            found = true;
            return false;
        };
        while (!found) {
            const QByteArray bytes = source.read(kBlockSize / 4);
            if (bytes.isEmpty()) {
                scanner.Finish(take);
                break;
            }
            scanner.Feed(QString(utf8.decode(bytes)), take);
        }
        d->Current = row;
    }
    // A file changed since it was opened may have lost the field.
    return field < d->Values.size() ? Variant(d->Values.at(field)) : Variant::Null();
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
