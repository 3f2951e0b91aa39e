#include "prepared/zelpostprocessor.h"

#include "base/xml/zelxmlitem.h"
#include "prepared/zelitemattributes.h"
#include "model/report/zelreport.h"
#include "model/view/zelcustommemoview.h"

#include <QScopeGuard>
#include <utility>

namespace {

// The text of Memo as stored: without one trailing line break.
QString storedContent(const TzelCustomMemoView &memo)
{
    QString content = memo.Text();
    if (content.endsWith(QLatin1String("\r\n")))
        content.chop(2);
    return content;
}

} // namespace

int TzelPostProcessor::Add(const QString &name, const QString &content, bool ready)
{
    auto it = FMacros.find(name);
    if (it == FMacros.end()) {
        it = FMacros.insert(name, Macro());
        FOrder.append(name);
    }
    it->Contents.append(content);
    it->Ready.push_back(ready);
    return int(it->Contents.size()) - 1;
}

void TzelPostProcessor::Complete(const QString &name, const QString &content)
{
    auto it = FMacros.find(name);
    if (it == FMacros.end() || it->Contents.isEmpty())
        return;
    it->Contents.last() = content;
    it->Ready.back() = true;
}

const QStringList *TzelPostProcessor::GetMacroList(const QString &name) const
{
    const auto it = FMacros.constFind(name);
    return it == FMacros.cend() ? nullptr : &it->Contents;
}

QString TzelPostProcessor::GetValue(const QString &name, int index) const
{
    const auto it = FMacros.constFind(name);
    if (it == FMacros.cend() || index < 0 || index >= it->Contents.size() || !it->Ready[size_t(index)])
        return QString();
    return it->Contents.at(index);
}

void TzelPostProcessor::SaveToXML(TzelXMLItem *item) const
{
    item->Clear();
    for (const QString &name : FOrder) {
        TzelXMLItem *macro = item->Add(name);
        for (const QString &content : FMacros.value(name).Contents)
            macro->Add(QStringLiteral("i"))->SetProp(QStringLiteral("cnt"), content);
    }
}

// A saved report is complete: every value read back counts as ready.
void TzelPostProcessor::LoadFromXML(const TzelXMLItem *item)
{
    Clear();
    for (int i = 0; i < item->Count(); ++i) {
        const TzelXMLItem *macro = item->Items(i);
        for (int j = 0; j < macro->Count(); ++j)
            Add(macro->Name(), zelAttr(macro->Items(j), QStringLiteral("cnt")), true);
    }
}

void TzelPostProcessor::Clear()
{
    FMacros.clear();
    FOrder.clear();
    FDeferred.clear();
    FDataLevel = 0;
    FGroupLevel = 0;
}

bool TzelPostProcessor::IsDeferred(const TzelCustomMemoView &memo)
{
    return memo.Processing().ProcessAt != paDefault;
}

bool TzelPostProcessor::TakesPart(const TzelCustomMemoView &memo)
{
    return IsDeferred(memo) || memo.Duplicates != dmShow;
}

int TzelPostProcessor::AddContent(TzelCustomMemoView &memo, const QString &bandName)
{
    if (IsDeferred(memo))
        return AddDeferred(memo);
    const QString content = storedContent(memo);
    if (const auto it = FMacros.find(memo.Name()); it != FMacros.end()) {
        const bool startsRun = std::exchange(it->DuplicatesReset, false);
        it->Band = bandName;
        if (!startsRun && !it->Contents.isEmpty() && it->Contents.last() == content)
            return int(it->Contents.size()) - 1;
    }
    const int index = Add(memo.Name(), content, true);
    Macro &macro = FMacros[memo.Name()];
    macro.Band = bandName;
    macro.DuplicatesReset = false;
    return index;
}

void TzelPostProcessor::ResetDuplicates(const QString &bandName)
{
    for (Macro &macro : FMacros)
        if (bandName.isEmpty() || macro.Band == bandName)
            macro.DuplicatesReset = true;
}

int TzelPostProcessor::AddDeferred(TzelCustomMemoView &memo)
{
    const int index = Add(memo.Name(), storedContent(memo), false);
    FDeferred.push_back({&memo, index, memo.Processing().ProcessAt, memo.Processing().GroupLevel, FDataLevel});
    return index;
}

bool TzelPostProcessor::IsDue(const Deferred &d, TzelProcessAt mode) const
{
    if (d.At != mode)
        return false;
    switch (mode) {
    case paDataFinished:
        return d.DataLevel == FDataLevel;
    case paGroupFinished:
        return d.GroupLevel == FGroupLevel || (d.GroupLevel == 0 && d.DataLevel == FDataLevel);
    case paCustom:
        return false; // completed only on request
    default:
        return true;
    }
}

void TzelPostProcessor::ProcessExpressions(TzelReport *report, TzelBand *, TzelProcessAt mode)
{
    // Completing may run script code that stores more objects: take the due ones out first.
    const auto firstDue = std::stable_partition(FDeferred.begin(), FDeferred.end(),
                                                [&](const Deferred &d) { return !IsDue(d, mode); });
    const std::vector<Deferred> due(firstDue, FDeferred.end());
    FDeferred.erase(firstDue, FDeferred.end());
    for (const Deferred &d : due)
        Complete(report, d);
}

void TzelPostProcessor::ProcessObject(TzelReport *report, TzelView *view)
{
    const auto mine = std::stable_partition(FDeferred.begin(), FDeferred.end(),
                                            [view](const Deferred &d) { return d.Memo != view; });
    const std::vector<Deferred> due(mine, FDeferred.end());
    FDeferred.erase(mine, FDeferred.end());
    for (const Deferred &d : due)
        Complete(report, d);
}

void TzelPostProcessor::Complete(TzelReport *report, const Deferred &deferred)
{
    // The memo computes its data again with the values known now; its
    // design state comes back afterwards, also when the script fails.
    TzelCustomMemoView &memo = *deferred.Memo;
    memo.BeforePrint();
    const auto restore = qScopeGuard([&memo] { memo.AfterPrint(); });
    if (report)
        report->CurObject = memo.Name();
    memo.GetData();
    if (report)
        report->DoNotifyEvent(&memo, memo.OnAfterData);
    Macro &macro = FMacros[memo.Name()];
    macro.Contents[deferred.Index] = storedContent(memo);
    macro.Ready[size_t(deferred.Index)] = true;
}
