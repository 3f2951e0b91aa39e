#include "model/sql/zelsqlquery.h"

#include "base/core/zeldatetime.h"
#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/sql/zelsqldatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>
#include <utility>
#include <vector>

namespace {

TzelFieldType fieldType(const QMetaType &type)
{
    switch (type.id()) {
    case QMetaType::Bool:
        return fftBoolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return fftNumeric;
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return fftDateTime;
    default:
        return fftString;
    }
}

// The common types are read in place, without Qt's conversion machinery: this
// runs for every field of every row.
template <class T>
const T &stored(const QVariant &v)
{
    return *static_cast<const T *>(v.constData());
}

Variant toVariant(const QVariant &v)
{
    if (v.isNull())
        return Variant::Null();
    switch (v.typeId()) {
    case QMetaType::QString:
        return Variant(stored<QString>(v));
    case QMetaType::Double:
        return Variant(stored<double>(v));
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return Variant(v.toInt());
    case QMetaType::LongLong:
    case QMetaType::Long: {
        const qint64 i = v.typeId() == QMetaType::LongLong ? stored<qlonglong>(v) : v.toLongLong();
        // Small integers stay Integer, as most report code expects.
        return i >= std::numeric_limits<qint32>::min() && i <= std::numeric_limits<qint32>::max() ? Variant(qint32(i))
                                                                                                 : Variant(i);
    }
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return Variant(v.toULongLong());
    case QMetaType::Float:
        return Variant(v.toDouble());
    case QMetaType::Bool:
        return Variant(v.toBool());
    case QMetaType::QDate:
        return Variant::FromDate(zelDateTimeToSerial(v.toDate().startOfDay()));
    case QMetaType::QDateTime:
        return Variant::FromDate(zelDateTimeToSerial(v.toDateTime()));
    case QMetaType::QTime:
        return Variant::FromDate(v.toTime().msecsSinceStartOfDay() / 86400000.0);
    case QMetaType::QByteArray:
        // One character per byte, so the bytes survive as text.
        return Variant(QString::fromLatin1(v.toByteArray()));
    default:
        return Variant(v.toString());
    }
}

// A parameter value: 'text' in quotes, a number when it reads as one, else text.
QVariant paramValue(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(u'\'') && text.endsWith(u'\''))
        return text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    bool ok = false;
    const qlonglong i = text.toLongLong(&ok);
    if (ok)
        return i;
    const double f = text.toDouble(&ok);
    if (ok)
        return f;
    return text;
}

} // namespace

struct TzelSQLQuery::Private
{
    std::optional<QSqlQuery> Query;
    QStringList Names;
    QList<TzelFieldType> Types;
    std::vector<std::pair<QString, int>> IndexCache; // names asked for, as given
    int Row = -1;          // row of the cursor, from 0
    bool AtEnd = true;     // the cursor is past the last row
    bool Moved = false;    // Next ran since the statement last ran
    bool RangeDone = false; // the reCurrent range is used up
    int EndRow = -1;       // last row of a reCurrent range
    int Count = -1;        // rows counted by the database
    // The row before the cursor's, kept so that one step back (a group
    // footer looking at the group's last row) and the end (which shows the
    // last row) need no second run of the statement.
    QList<QVariant> Previous;
    bool HasPrevious = false;
    bool Back = false;     // the cursor stands on Previous
};

TzelSQLQuery::TzelSQLQuery(TzelComponent *owner)
    : TzelCustomDBDataSet(owner), d(std::make_unique<Private>())
{
}

TzelSQLQuery::~TzelSQLQuery()
{
    Close();
    if (FDatabase)
        FDatabase->Detach(this);
}

void TzelSQLQuery::SetDatabase(TzelSQLDatabase *value)
{
    if (value == FDatabase)
        return;
    Close();
    if (FDatabase)
        FDatabase->Detach(this);
    FDatabase = value;
    if (FDatabase)
        FDatabase->Attach(this);
}

bool TzelSQLQuery::Active() const
{
    return d->Query.has_value();
}

void TzelSQLQuery::Fail(const QString &message) const
{
    QString statement = SQL.join(u' ').simplified();
    if (statement.size() > 200)
        statement = statement.left(200) + QStringLiteral("...");
    throw TzelException(zelFormat(zelRes("dbQueryError"), {UserName(), message.trimmed(), statement}));
}

void TzelSQLQuery::Execute()
{
    d->Query.reset();
    d->Query.emplace(FDatabase->Handle());
    QSqlQuery &q = *d->Query;
    q.setForwardOnly(true);
    const QString sql = SQL.join(u'\n');
    auto failed = [this](const QSqlQuery &query) {
        const QString message = query.lastError().text();
        // The transaction first, so that the statement can still be freed.
        FDatabase->StatementFailed();
        d->Query.reset();
        Fail(message);
    };
    if (!q.prepare(sql))
        failed(q);
    for (const QString &line : Params) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        QString name = line.left(eq).trimmed();
        if (!name.startsWith(u':'))
            name.prepend(u':');
        if (sql.contains(name))
            q.bindValue(name, paramValue(line.mid(eq + 1).trimmed()));
    }
    if (!q.exec())
        failed(q);
    d->AtEnd = !q.next();
    d->Row = d->AtEnd ? -1 : 0;
    d->Moved = false;
    d->RangeDone = false;
    d->HasPrevious = d->Back = false;
}

void TzelSQLQuery::Open()
{
    if (!FDatabase)
        throw TzelException(zelFormat(zelRes("dbNoDatabase"), {UserName()}));
    if (Active())
        return;
    FDatabase->Connect();
    Execute();
    const QSqlRecord record = d->Query->record();
    d->Names.clear();
    d->Types.clear();
    for (int i = 0; i < record.count(); ++i) {
        d->Names << record.fieldName(i);
        d->Types << fieldType(record.field(i).metaType());
    }
    d->IndexCache.clear();
    d->Count = -1;
    SetRecNo(0);
    TzelCustomDBDataSet::Open();
}

void TzelSQLQuery::Close()
{
    if (!Active())
        return;
    d->Query.reset();
    d->AtEnd = true;
    d->Row = -1;
    TzelCustomDBDataSet::Close();
}

void TzelSQLQuery::Rewind(int row)
{
    Execute();
    while (!d->AtEnd && d->Row < row)
        Fetch();
}

void TzelSQLQuery::First()
{
    if (!Active())
        Open();
    const int current = std::max(d->Row, 0);
    const bool keep = RangeBegin == rbCurrent && !d->AtEnd;
    if (!keep && d->Moved)
        Rewind(0);
    d->RangeDone = false;
    // The range ends at the row that was current when it started.
    d->EndRow = RangeEnd == reCurrent ? std::max(current, d->Row) : -1;
    TzelCustomDBDataSet::First();
}

void TzelSQLQuery::Next()
{
    TzelCustomDBDataSet::Next();
    if (RangeEnded() || !Active() || d->AtEnd || d->RangeDone)
        return;
    if (d->EndRow >= 0 && d->Row >= d->EndRow) {
        d->RangeDone = true;
        return;
    }
    d->Moved = true;
    if (!std::exchange(d->Back, false))
        Fetch();
}

void TzelSQLQuery::Fetch()
{
    QSqlQuery &q = *d->Query;
    const int fields = int(d->Names.size());
    d->Previous.resize(fields);
    for (int i = 0; i < fields; ++i)
        d->Previous[i] = q.value(i);
    d->HasPrevious = true;
    if (q.next()) {
        ++d->Row;
        return;
    }
    d->AtEnd = true;
    // A read that fails (the database gone) is not the end of the rows.
    if (q.lastError().isValid())
        Fail(q.lastError().text());
}

void TzelSQLQuery::Prior()
{
    TzelCustomDBDataSet::Prior();
    if (!Active())
        return;
    if (d->HasPrevious && !d->Back) {
        d->Back = true;
        return;
    }
    const int current = d->AtEnd ? d->Row + 1 : d->Row; // past the end: one after the last
    const int target = current - (d->Back ? 2 : 1);
    if (target >= 0) {
        Rewind(target);
        d->Moved = true;
    }
}

bool TzelSQLQuery::Eof()
{
    if (!Active() || (d->AtEnd && !d->Back) || d->RangeDone) {
        bool eof = true;
        if (OnCheckEOF)
            OnCheckEOF(this, eof);
        return eof;
    }
    return TzelCustomDBDataSet::Eof();
}

int TzelSQLQuery::RecordCount()
{
    if (RangeBegin == rbFirst && RangeEnd == reCount)
        return TzelCustomDBDataSet::RecordCount();
    if (!Active())
        Open();
    if (d->Count < 0) {
        d->Count = d->Query->size();
        if (d->Count < 0) {
            // The driver cannot tell: let the database count the statement's rows.
            QString sql = SQL.join(u'\n').trimmed();
            while (sql.endsWith(u';'))
                sql.chop(1);
            QSqlQuery count(FDatabase->Handle());
            count.setForwardOnly(true);
            bool ok = count.prepare(QStringLiteral("SELECT COUNT(*) FROM (") + sql + QStringLiteral("\n)"));
            for (const QString &line : Params) {
                const qsizetype eq = line.indexOf(u'=');
                if (ok && eq > 0) {
                    QString name = line.left(eq).trimmed();
                    if (!name.startsWith(u':'))
                        name.prepend(u':');
                    if (sql.contains(name))
                        count.bindValue(name, paramValue(line.mid(eq + 1).trimmed()));
                }
            }
            d->Count = ok && count.exec() && count.next() ? count.value(0).toInt() : 0;
        }
    }
    return d->Count;
}

int TzelSQLQuery::FieldsCount()
{
    if (!Active())
        Open();
    return int(d->Names.size());
}

void TzelSQLQuery::GetFieldList(QStringList &list)
{
    if (!Active())
        Open();
    list.clear();
    for (const QString &name : std::as_const(d->Names))
        list << GetAlias(name);
}

int TzelSQLQuery::FieldIndex(const QString &index)
{
    for (const auto &[name, i] : d->IndexCache)
        if (name == index)
            return i;
    if (!Active())
        Open();
    const QString field = ConvertAlias(index);
    for (qsizetype i = 0; i < d->Names.size(); ++i)
        if (d->Names.at(i).compare(field, Qt::CaseInsensitive) == 0) {
            d->IndexCache.emplace_back(index, int(i));
            return int(i);
        }
    throw TzelException(zelFormat(zelRes("dsFieldNotFound"), {index, UserName()}));
}

Variant TzelSQLQuery::GetValueAt(int field)
{
    if (!Active())
        return Variant::Null();
    if (d->Back || d->AtEnd)
        return d->HasPrevious ? toVariant(d->Previous.value(field)) : Variant::Null();
    return d->Row < 0 ? Variant::Null() : toVariant(d->Query->value(field));
}

Variant TzelSQLQuery::GetValue(const QString &index)
{
    return GetValueAt(FieldIndex(index));
}

QString TzelSQLQuery::GetDisplayText(const QString &index)
{
    return zelVariantDisplayText(GetValue(index));
}

TzelFieldType TzelSQLQuery::GetFieldType(const QString &index)
{
    return d->Types.value(FieldIndex(index), fftString);
}

bool TzelSQLQuery::IsBlobField(const QString &fName)
{
    if (!Active())
        Open();
    const QString field = ConvertAlias(fName);
    for (qsizetype i = 0; i < d->Names.size(); ++i)
        if (d->Names.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return d->Query->record().field(int(i)).metaType().id() == QMetaType::QByteArray;
    return false;
}

void TzelSQLQuery::AssignBlobTo(const QString &fName, QByteArray &blob)
{
    const int field = FieldIndex(fName);
    blob = Active() && !d->AtEnd && d->Row >= 0 ? d->Query->value(field).toByteArray() : QByteArray();
}

void TzelSQLQuery::Publish(TzelPublisher<TzelSQLQuery> &p)
{
    using T = TzelSQLQuery;
    p.Ref("Database", &T::Database, &T::SetDatabase);
    p.Prop("SQL", &T::SQL);
    p.Prop("Params", &T::Params);
}
