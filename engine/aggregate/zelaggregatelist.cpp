#include "engine/aggregate/zelaggregatelist.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/band/zelchild.h"
#include "model/band/zelcolumnfooter.h"
#include "model/band/zeldataband.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelpagefooter.h"
#include "model/band/zelreportsummary.h"
#include "model/data/zelvariables.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelreport.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelexpressiontext.h"
#include "script/report/zelexpressioncache.h"

#include <QSet>

namespace {

bool IsSkipped(QChar c)
{
    return c < QLatin1Char(' ') || QStringView(u" !#$%&*+,-./0123456789=[]^|").contains(c);
}

bool EndsIdentifier(QChar c)
{
    return c < QLatin1Char(' ') || QStringView(u" !#$%&(*+,-./=[]^|").contains(c);
}

// Index of the character closing the bracket Open at Pos (nesting and quotes
// honoured), or the text's size when it is not closed.
qsizetype MatchingClose(const QString &text, qsizetype pos, QChar open, QChar close)
{
    int depth = 0;
    for (qsizetype i = pos; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = text.indexOf(c, i + 1);
            if (end < 0)
                return text.size();
            i = end;
        } else if (c == open) {
            ++depth;
        } else if (c == close && --depth == 0) {
            return i;
        }
    }
    return text.size();
}

// The arguments of the call whose "(" is at Open and ")" at Close: commas at
// depth 1 outside quotes separate them, three at most.
QStringList SplitArguments(const QString &text, qsizetype open, qsizetype close)
{
    QStringList args;
    int depth = 0;
    qsizetype start = open + 1;
    for (qsizetype i = open; i < close; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = text.indexOf(c, i + 1);
            i = end < 0 || end > close ? close : end;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (c == QLatin1Char(',') && depth == 1 && args.size() < 2) {
            args.append(text.mid(start, i - start).trimmed());
            start = i + 1;
        }
    }
    args.append(text.mid(start, close - start).trimmed());
    return args;
}

// The band the object prints in: its nearest band ancestor, or the total
// row a vertical band took the object from (whose cells read the totals).
TzelBand *EnclosingBand(TzelView *object)
{
    TzelBand *band = nullptr;
    for (TzelComponent *c = object->Parent(); c && !band; c = c->Parent())
        band = zelAs<TzelBand>(c);
    TzelBand *original = object->OriginalBand;
    if (band && band->Vertical && original &&
        (zelAs<TzelReportSummary>(original) || zelAs<TzelPageFooter>(original) || zelAs<TzelFooter>(original) ||
         zelAs<TzelGroupFooter>(original)))
        return original;
    return band;
}

const QStringList &AggregateNames()
{
    static const QStringList names{QStringLiteral("SUM"), QStringLiteral("AVG"), QStringLiteral("MIN"),
                                   QStringLiteral("MAX"), QStringLiteral("COUNT")};
    return names;
}

} // namespace

// Reads the memo texts of one page for aggregate calls and makes their items.
class TzelAggregateList::Finder
{
public:
    Finder(TzelAggregateList &list, TzelReport *report) : FList(list), FReport(report) {}

    // The memos of Band and its child chain, counting DefaultBand's rows
    // unless a call names another band.
    void ScanBandChain(TzelBand *band, TzelBand *defaultBand)
    {
        FDefaultBand = defaultBand;
        for (TzelBand *b = band; b; b = b->Child())
            for (TzelComponent *c : b->AllObjects())
                if (auto *memo = zelAs<TzelCustomMemoView>(c); memo && memo->AllowExpressions)
                    ScanMemo(memo);
    }

private:
    void ScanMemo(TzelCustomMemoView *memo)
    {
        FMemo = memo;
        const TzelExpressionDelimiters delimiters = TzelExpressionDelimiters::FromText(memo->ExpressionDelimiters);
        const QString text = memo->Text();
        qsizetype pos = 0, begin = 0, end = 0;
        while (delimiters.Find(text, pos, begin, end)) {
            const qsizetype open = begin + delimiters.Open.size();
            ScanExpression(text.mid(open, end - delimiters.Close.size() - open));
            pos = end;
        }
    }

    // A whole expression, or a reference in angle brackets: a report
    // variable's own expression is scanned instead.
    void ScanExpression(const QString &text)
    {
        if (!ScanVariable(text.trimmed()))
            Scan(text);
    }

    // Scans the expression of the report variable Name; False when Name is
    // not one. A variable that refers to itself is read once.
    bool ScanVariable(const QString &name)
    {
        if (FReport->Variables().IndexOf(name) < 0)
            return false;
        if (!FVisiting.contains(name)) {
            FVisiting.insert(name);
            Scan(FReport->Variables().Value(name).ToString());
            FVisiting.remove(name);
        }
        return true;
    }

    void Scan(const QString &text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (IsSkipped(c))
                continue;
            if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                const qsizetype end = text.indexOf(c, i + 1);
                if (end < 0)
                    return;
                i = end;
            } else if (c == QLatin1Char('(')) {
                const qsizetype close = MatchingClose(text, i, u'(', u')');
                Scan(text.mid(i + 1, close - i - 1));
                i = close;
            } else if (c == QLatin1Char('<')) {
                const qsizetype close = MatchingClose(text, i, u'<', u'>');
                ScanExpression(text.mid(i + 1, close - i - 1));
                i = close;
            } else {
                qsizetype end = i;
                while (end < text.size() && !EndsIdentifier(text[end]))
                    ++end;
                const QString name = text.mid(i, end - i);
                if (AggregateNames().contains(name.toUpper()) && end < text.size() && text[end] == u'(') {
                    const qsizetype close = MatchingClose(text, end, u'(', u')');
                    if (close < text.size())
                        AddCall(text.mid(i, close - i + 1), name, SplitArguments(text, end, close));
                    i = close;
                } else {
                    ScanVariable(name);
                    i = end - 1;
                }
            }
        }
    }

    void AddCall(const QString &call, const QString &name, const QStringList &args)
    {
        const TzelAggregateFunction function = zelAggregateFunction(name);
        const int first = function == agCount ? 0 : 1;
        // As the expression cache compiles it, so the call finds its item.
        const QString expression = function == agCount ? QString() : zelReferenceHashNames(args.value(0));
        const QString bandName = args.value(first);
        TzelBand *band = FDefaultBand;
        if (!bandName.isEmpty() && bandName != QLatin1String("0")) {
            band = zelAs<TzelDataBand>(FReport->FindObject(bandName));
            if (!band)
                throw TzelException(zelFormat(zelRes("clAggregateBand"), {FMemo->Name(), call, bandName}));
        }
        int flags = 0;
        if (const QString text = args.value(first + 1); !text.isEmpty()) {
            bool ok = false;
            flags = text.toInt(&ok);
            if (!ok)
                throw TzelException(zelFormat(zelRes("clAggregateFlags"), {FMemo->Name(), call, text}));
        }
        FList.Add(std::make_unique<TzelAggregateItem>(FReport, function, expression, band, flags,
                                                      EnclosingBand(FMemo), FMemo->Name(), call));
    }

    TzelAggregateList &FList;
    TzelReport *FReport;
    TzelBand *FDefaultBand = nullptr;
    TzelCustomMemoView *FMemo = nullptr;
    QSet<QString> FVisiting;
};

TzelAggregateList::TzelAggregateList(TzelReport *report) : FReport(report) {}

TzelAggregateList::~TzelAggregateList() = default;

void TzelAggregateList::Clear()
{
    FItems.clear();
    FByBand.clear();
    FByParent.clear();
    FPageFooterItems.clear();
}

void TzelAggregateList::ClearValues()
{
    for (const auto &item : FItems)
        item->Reset(true);
}

void TzelAggregateList::AddItems(TzelReportPage *page)
{
    Finder finder(*this, FReport);
    // Footers of every data band and of its groups count that band's rows.
    const std::function<void(TzelBand *)> scanDataBand = [&](TzelBand *band) {
        finder.ScanBandChain(band->FFooter, band);
        if (band->FGroup)
            for (TzelBand *header : band->FGroup->FSubBands)
                finder.ScanBandChain(header->FFooter, band);
        if (band->Vertical)
            finder.ScanBandChain(band, band);
        for (TzelBand *detail : band->FSubBands)
            scanDataBand(detail);
    };
    for (TzelBand *band : page->FSubBands)
        scanDataBand(band);
    for (TzelBand *band : page->FVSubBands)
        scanDataBand(band);
    // Page totals count the page's first data band.
    TzelBand *first = !page->FSubBands.isEmpty() ? page->FSubBands.first()
                      : !page->FVSubBands.isEmpty() ? page->FVSubBands.first()
                                                     : nullptr;
    if (first)
        for (const TzelClassInfo *kind : {&TzelPageFooter::StaticClassInfo(), &TzelColumnFooter::StaticClassInfo(),
                                          &TzelReportSummary::StaticClassInfo()})
            finder.ScanBandChain(page->FindBand(*kind), first);
}

void TzelAggregateList::Add(std::unique_ptr<TzelAggregateItem> item)
{
    // The same call twice in one band reads one total.
    for (const auto &known : FItems)
        if (known->ParentBand() == item->ParentBand() && known->Function() == item->Function() &&
            known->Band() == item->Band() && known->Flags() == item->Flags() &&
            known->OriginalName().compare(item->OriginalName(), Qt::CaseInsensitive) == 0)
            return;
    FByBand[item->Band()].append(item.get());
    FByParent[item->ParentBand()].append(item.get());
    if (item->IsPageFooter())
        FPageFooterItems.append(item.get());
    FItems.push_back(std::move(item));
}

template <class F> void TzelAggregateList::ForEach(const Index &index, TzelBand *band, F &&f)
{
    const auto it = index.constFind(band);
    if (it != index.cend())
        for (TzelAggregateItem *item : *it)
            f(item);
}

void TzelAggregateList::AddValue(TzelBand *band, int vColumn)
{
    ForEach(FByBand, band, [vColumn](TzelAggregateItem *item) { item->Calc(vColumn); });
}

void TzelAggregateList::DeleteValue(TzelBand *band)
{
    ForEach(FByBand, band, [](TzelAggregateItem *item) { item->DeleteValue(); });
}

void TzelAggregateList::SaveValue(TzelBand *band)
{
    ForEach(FByBand, band, [](TzelAggregateItem *item) { item->SaveValue(); });
}

void TzelAggregateList::RestoreValue(TzelBand *band)
{
    ForEach(FByBand, band, [](TzelAggregateItem *item) { item->RestoreValue(); });
}

void TzelAggregateList::StartKeep()
{
    for (TzelAggregateItem *item : FPageFooterItems)
        item->StartKeep();
}

void TzelAggregateList::EndKeep()
{
    for (TzelAggregateItem *item : FPageFooterItems)
        item->EndKeep();
}

void TzelAggregateList::Reset(TzelBand *parentBand)
{
    ForEach(FByParent, parentBand, [](TzelAggregateItem *item) { item->Reset(); });
}

Variant TzelAggregateList::GetValue(TzelBand *parentBand, int vColumn, const QString &complexName) const
{
    const QString name = complexName.trimmed();
    for (const auto &item : FItems)
        if (item->ParentBand() == parentBand && item->OriginalName().compare(name, Qt::CaseInsensitive) == 0)
            return item->Value(vColumn);
    return Variant::Null();
}

Variant TzelAggregateList::GetValue(TzelBand *parentBand, int vColumn, const QString &name,
                                    const QString &expression, TzelBand *band, int flags) const
{
    const TzelAggregateFunction function = zelAggregateFunction(name);
    const QString trimmed = expression.trimmed();
    const int bits = flags & (TzelAggregateItem::CountInvisibleBands | TzelAggregateItem::DontReset);
    for (const auto &item : FItems)
        if (item->ParentBand() == parentBand && item->Function() == function &&
            (!band || item->Band() == band) && item->Flags() == bits &&
            item->Expression().compare(trimmed, Qt::CaseInsensitive) == 0)
            return item->Value(vColumn);
    return Variant::Null();
}
