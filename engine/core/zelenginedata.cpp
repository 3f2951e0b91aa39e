// The engine's data loops: the links between data bands, headers, footers
// and groups, the row loop of every data band, group breaks, multi-column
// strips and filler rows.
#include "engine/core/zelengine.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "engine/aggregate/zelaggregatelist.h"
#include "model/band/zelchild.h"
#include "model/band/zeldataband.h"
#include "model/band/zelfooter.h"
#include "model/band/zelgroupfooter.h"
#include "model/band/zelgroupheader.h"
#include "model/band/zelheader.h"
#include "model/component/zelunits.h"
#include "model/data/zeldataset.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomoutline.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/view/zelcustommemoview.h"
#include "prepared/zelpostprocessor.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

// Band numbers of the kinds the band tree links.
constexpr int kHeader = 4;
constexpr int kFooter = 5;
constexpr int kMasterData = 6;
constexpr int kDataBand6 = 11;
constexpr int kGroupHeader = 12;
constexpr int kGroupFooter = 13;

bool IsDataLevel(int number)
{
    return number >= kMasterData && number <= kDataBand6;
}

// Whether two condition values belong to one group: equal values, or both
// null. Values that do not compare differ.
bool SameGroup(const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull())
        return a.IsNull() && b.IsNull();
    if (Variant::Identical(a, b))
        return true;
    try {
        return Variant::Equal(a, b);
    } catch (const std::exception &) {
        return false;
    }
}

// Whether a filter's value lets the row through: True, or a value equal to it.
bool IsTrue(const Variant &value)
{
    return SameGroup(value, Variant(true));
}

void ResetSuppressed(TzelBand *band)
{
    for (TzelComponent *c : band->AllObjects())
        if (auto *memo = zelAs<TzelCustomMemoView>(c))
            memo->ResetSuppress();
}

} // namespace

void TzelEngine::PrepareBandTree(TzelReportPage *page, bool vertical)
{
    QList<TzelBand *> bands;
    for (TzelComponent *c : page->Objects())
        if (auto *band = zelAs<TzelBand>(c); band && band->Vertical == vertical)
            bands.append(band);
    for (TzelBand *band : std::as_const(bands)) {
        band->FSubBands.clear();
        band->FHeader = band->FFooter = band->FGroup = nullptr;
        band->FHasVBands = false;
    }
    if (!vertical) {
        // Shift trees are made of what stays in each band.
        TakeOverObjects(page);
        for (TzelBand *band : std::as_const(bands))
            PrepareShiftTree(band);
    }
    QList<TzelBand *> &top = vertical ? page->FVSubBands : page->FSubBands;
    top.clear();

    // Data bands, headers, footers and groups in the order they stand.
    QList<TzelBand *> list;
    for (TzelBand *band : std::as_const(bands))
        if (band->BandNumber() >= kHeader && band->BandNumber() <= kGroupFooter)
            list.append(band);
    std::stable_sort(list.begin(), list.end(), [vertical](TzelBand *a, TzelBand *b) {
        const auto key = [vertical](TzelBand *band) {
            return std::llround((vertical ? band->Left() : band->Top()) * 100);
        };
        return key(a) < key(b);
    });
    const auto report = [this](const char *key, TzelBand *band) {
        FReport->Errors().Add(zelRes(key) + QLatin1Char(' ') + band->Name());
    };

    // A run of group headers is one chain, outermost first, grouping the
    // next data band; each group footer closes the nearest open header.
    QList<TzelBand *> rest;
    QList<TzelBand *> openHeaders;
    for (qsizetype i = 0; i < list.size(); ++i) {
        TzelBand *band = list[i];
        if (band->BandNumber() == kGroupHeader) {
            TzelBand *first = band;
            while (i < list.size() && list[i]->BandNumber() == kGroupHeader) {
                first->FSubBands.append(list[i]);
                openHeaders.append(list[i]);
                ++i;
            }
            const auto data = std::find_if(list.begin() + i, list.end(),
                                           [](TzelBand *b) { return IsDataLevel(b->BandNumber()); });
            if (data != list.end())
                (*data)->FGroup = first;
            else
                report("enUnconnGroup", first);
            --i;
        } else if (band->BandNumber() == kGroupFooter) {
            const auto header = std::find_if(openHeaders.rbegin(), openHeaders.rend(),
                                             [](TzelBand *h) { return !h->FFooter; });
            if (header != openHeaders.rend())
                (*header)->FFooter = band;
            else
                report("enUnconnGFooter", band);
        } else {
            rest.append(band);
        }
    }

    // A header stands right before its data band. A footer follows its data
    // band, past the bands already paired in between (a detail band with
    // its footer, say).
    QList<TzelBand *> data;
    QSet<TzelBand *> paired;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        TzelBand *band = rest[i];
        const int number = band->BandNumber();
        if (IsDataLevel(number)) {
            data.append(band);
            continue;
        }
        TzelBand *owner = nullptr;
        if (number == kHeader) {
            owner = rest.value(i + 1);
        } else {
            for (qsizetype j = i - 1; j >= 0 && !owner; --j)
                if (!paired.contains(rest[j]))
                    owner = rest[j];
        }
        if (owner && IsDataLevel(owner->BandNumber()) && !(number == kHeader ? owner->FHeader : owner->FFooter)) {
            (number == kHeader ? owner->FHeader : owner->FFooter) = band;
            paired.insert(band);
            if (number == kFooter)
                paired.insert(owner);
        } else {
            report("enUnconnHeader", band);
        }
    }

    // Master bands and their details, each level the one below the last.
    // Bands without rows are left out without a word: they never print.
    const std::function<qsizetype(TzelBand *, qsizetype)> nest = [&](TzelBand *parent, qsizetype i) {
        while (i < data.size()) {
            TzelBand *band = data[i];
            const int number = band->BandNumber();
            if (number <= parent->BandNumber())
                return i;
            if (number != parent->BandNumber() + 1) {
                report("enBandPos", band);
                ++i;
                continue;
            }
            ++i;
            if (static_cast<TzelDataBand *>(band)->RowSource()) {
                parent->FSubBands.append(band);
                i = nest(band, i);
            }
        }
        return i;
    };
    for (qsizetype i = 0; i < data.size();) {
        TzelBand *band = data[i++];
        if (band->BandNumber() != kMasterData) {
            report("enBandPos", band);
            continue;
        }
        if (static_cast<TzelDataBand *>(band)->RowSource())
            top.append(band);
        i = nest(band, i);
    }
}

const QList<TzelBand *> &TzelEngine::SubBandsOf(TzelComponent *component) const
{
    if (auto *page = zelAs<TzelReportPage>(component))
        return page->FSubBands;
    return static_cast<TzelBand *>(component)->FSubBands;
}

bool TzelEngine::HasPrintableData(TzelComponent *component, bool printAnyway)
{
    if (printAnyway)
        return true;
    const QList<TzelBand *> &subBands = SubBandsOf(component);
    if (subBands.isEmpty())
        return zelAs<TzelBand>(component) != nullptr;
    for (TzelBand *b : subBands) {
        auto *band = static_cast<TzelDataBand *>(b);
        TzelDataSet *ds = band->RowSource();
        FReport->DoNotifyEvent(band, band->OnMasterDetail);
        for (Navigate(band, ds, &TzelDataSet::First); !ds->Eof(); Navigate(band, ds, &TzelDataSet::Next))
            if (HasPrintableData(band, band->PrintIfDetailEmpty))
                return true;
    }
    return false;
}

void TzelEngine::RunDataBands(TzelComponent *component)
{
    // A progress window may set Terminated; asking it a few times a second
    // costs nothing per row.
    if (!FReport->EngineOptions().EnableThreadSafe && QCoreApplication::instance() &&
        (!FEventTimer.isValid() || FEventTimer.hasExpired(50))) {
        QCoreApplication::processEvents();
        FEventTimer.start();
    }
    for (TzelBand *band : SubBandsOf(component)) {
        if (FReport->Terminated)
            return;
        RunDataBand(static_cast<TzelDataBand *>(band));
    }
}

void TzelEngine::Navigate(TzelComponent *owner, TzelDataSet *ds, void (TzelDataSet::*step)())
{
    // A data set that fails (the database gone, a malformed row) names
    // itself and the row it was on, after the object it runs for.
    FReport->CurObject = owner->Name();
    try {
        (ds->*step)();
    } catch (const TzelException &e) {
        throw TzelException(zelFormat(zelRes("clDataSetFailed"),
                                      {ds->UserName(), QString::number(ds->RecNo() + 1), e.message()}));
    }
}

Variant TzelEngine::CalcForBand(TzelBand *band, const QString &expression)
{
    FReport->CurObject = band->Name();
    return FReport->Calc(expression);
}

Variant TzelEngine::GroupValue(TzelGroupHeader *header)
{
    // Without a condition all rows are one group.
    return header->Condition.trimmed().isEmpty() ? Variant::Null() : CalcForBand(header, header->Condition);
}

void TzelEngine::RunDataBand(TzelDataBand *band)
{
    TzelDataSet *ds = band->RowSource();
    auto *group = static_cast<TzelGroupHeader *>(band->FGroup);
    TzelBand *header = band->FHeader;
    TzelBand *footer = band->FFooter;
    const bool vertical = band->Vertical;
    const bool multiColumn = band->Columns > 1 && !vertical;
    const double designLeft = band->Left();
    // Columns move the band; it stands where it was designed afterwards,
    // also when an error ends the build.
    const auto restoreLeft = qScopeGuard([band, designLeft] { band->SetLeft(designLeft); });

    Navigate(band, ds, &TzelDataSet::First);
    band->FLineN = band->FLineThrough = 1;
    band->SetCurColumn(1);
    ResetSuppressed(band);
    FPreviewPages->PostProcessor().EnterData();
    FPreviewPages->PostProcessor().ResetDuplicates(band->Name());

    TzelColumnStrip strip;
    bool printed = false;
    bool headerKeep = false; // the header's keep block, open until the second row
    int footerPosition = 0;
    TzelBand *fillBand = nullptr;
    while (!ds->Eof() && !FReport->Terminated) {
        if (headerKeep && printed) {
            EndKeep(band);
            headerKeep = false;
        }
        const bool counted = band->Filter.trimmed().isEmpty() || IsTrue(CalcForBand(band, band->Filter));
        if (counted && HasPrintableData(band, band->PrintIfDetailEmpty)) {
            if (!printed) {
                if (header && band->KeepHeader && !vertical) {
                    if (FIsFirstBand)
                        FIsFirstBand = !FTitlePrinted;
                    FKeepHeader = !FIsFirstBand;
                    StartKeep(band);
                    headerKeep = FKeeping && FKeepBand == band;
                }
                if (header && multiColumn && band->KeepHeader) {
                    // The first strip takes its header along when it moves.
                    strip.Header.Take(FPreviewPages, FCurY);
                    strip.KeptHeader = header;
                }
                if (header) {
                    if (auto *h = zelAs<TzelHeader>(header); h && h->ReprintOnNewPage)
                        HeaderListOf(band).AddItem(header, FCurX, headerKeep);
                    ShowBand(header);
                }
                if (band->KeepTogether && !headerKeep)
                    StartKeep(band);
            } else if (!group && band->KeepTogether) {
                StartKeep(band);
            }
            if (group) {
                if (!printed)
                    InitGroups(band, group, true, 0);
                else
                    CheckGroups(band, group, strip);
            }
            if (band->KeepFooter)
                footerPosition = FPreviewPages->GetCurPosition();
            if (multiColumn) {
                if (band->CurColumn() == 1)
                    strip.Rows.Take(FPreviewPages, FCurY);
                band->SetLeft(designLeft + (band->ColumnWidth + band->ColumnGap) * (band->CurColumn() - 1));
            }
            strip.RowTop = FCurY;
            FCurLine = band->FLineN;
            FCurLineThrough = band->FLineThrough;
            if (TzelBand *b = ShowBand(band))
                fillBand = b;
            FKeepHeader = false;
            for (TzelComponent *c : std::as_const(FNotifyList))
                c->OnNotify(band);
            if (headerKeep && !(footer && band->KeepFooter)) {
                EndKeep(band);
                headerKeep = false;
            }
            FDrillPath.append({band, band->FLineThrough});
            ++band->FLineN;
            ++band->FLineThrough;
            AdvanceColumn(band, strip);
            const bool outlined = AddBandOutline(band);
            RunDataBands(band);
            FDrillPath.removeLast();
            if (outlined)
                FPreviewPages->Outline().LevelUp();
            FIsFirstBand = false;
            printed = true;
            if (band->FooterAfterEach)
                ShowDataFooter(band, footerPosition, headerKeep);
        }
        if (!group && band->KeepTogether && !headerKeep)
            EndKeep(band);
        Navigate(band, ds, &TzelDataSet::Next);
        if (band->RowCount() > 0 && band->FLineN > band->RowCount())
            break;
    }

    if (multiColumn && printed) {
        band->SetCurColumn(band->Columns);
        AdvanceColumn(band, strip);
    }
    // Filler rows go between the rows and the footers printed next.
    TzelFillState fill;
    if (fillBand) {
        fill.Pages = FPreviewPages->Count();
        fill.End.Take(FPreviewPages, FCurY);
        FLockResetAggregates = true;
    }
    if (printed) {
        if (group)
            ShowGroupFooters(group, 0, band);
        if (header && FKeeping)
            HeaderListOf(band).RemoveItem(header);
        if (!band->FooterAfterEach)
            ShowDataFooter(band, footerPosition, headerKeep);
        if (header)
            HeaderListOf(band).RemoveItem(header);
        if (group && band->KeepTogether)
            EndKeep(band);
    }
    if (headerKeep)
        EndKeep(band);
    if (fillBand)
        FillToNRows(band, fillBand, fill);
    FPreviewPages->PostProcessor().LeaveData();
    FIsFirstBand = false;
}

void TzelEngine::ShowDataFooter(TzelDataBand *band, int keepPosition, bool headerKeep)
{
    TzelBand *footer = band->FFooter;
    if (!footer)
        return;
    // The last row goes with the footer: the block starts where that row did.
    const bool keep = band->KeepFooter;
    if (keep && !headerKeep)
        StartKeep(band, keepPosition);
    {
        const QScopedValueRollback<bool> keepFooter(FKeepFooter, keep && FKeeping);
        ShowBand(footer);
    }
    if (keep)
        EndKeep(band);
}

void TzelEngine::InitGroups(TzelDataBand *band, TzelGroupHeader *group, bool resetAll, qsizetype from)
{
    const QList<TzelBand *> &chain = group->FSubBands;
    for (qsizetype i = from; i < chain.size(); ++i) {
        TzelBand *header = chain[i];
        if (resetAll) {
            header->FLineN = header->FLineThrough = 1;
            ResetSuppressed(header);
        } else {
            ++header->FLineN;
            if (i + 1 < chain.size())
                chain[i + 1]->FLineN = 0;
            ++header->FLineThrough;
        }
    }
    band->SetCurColumn(1);
    CheckDrill(band, group);
    for (qsizetype i = from; i < chain.size(); ++i) {
        auto *header = static_cast<TzelGroupHeader *>(chain[i]);
        FCurLine = header->FLineN;
        FCurLineThrough = header->FLineThrough;
        header->FLastValue = GroupValue(header);
        if (header->KeepTogether)
            StartKeep(header);
        FPreviewPages->PostProcessor().EnterGroup(int(i));
        ShowBand(header);
        AddBandOutline(header);
        if (header->ReprintOnNewPage)
            HeaderListOf(header).AddItem(header, FCurX, false);
    }
}

void TzelEngine::CheckGroups(TzelDataBand *band, TzelGroupHeader *group, TzelColumnStrip &strip)
{
    CheckDrill(band, group);
    const QList<TzelBand *> &chain = group->FSubBands;
    qsizetype level = -1;
    for (qsizetype i = 0; i < chain.size() && level < 0; ++i) {
        auto *header = static_cast<TzelGroupHeader *>(chain[i]);
        if (!SameGroup(GroupValue(header), header->FLastValue))
            level = i;
    }
    if (level < 0)
        return;
    // The footers see the last row of the group they close.
    TzelDataSet *ds = band->RowSource();
    band->SetCurColumn(band->Columns);
    Navigate(band, ds, &TzelDataSet::Prior);
    AdvanceColumn(band, strip);
    ShowGroupFooters(group, level, band);
    Navigate(band, ds, &TzelDataSet::Next);
    InitGroups(band, group, false, level);
    band->FLineN = 1;
    ResetSuppressed(band);
}

void TzelEngine::ShowGroupFooters(TzelGroupHeader *group, qsizetype level, TzelDataBand *band)
{
    const QList<TzelBand *> &chain = group->FSubBands;
    for (qsizetype i = chain.size() - 1; i >= level; --i) {
        auto *header = static_cast<TzelGroupHeader *>(chain[i]);
        if (auto *footer = static_cast<TzelGroupFooter *>(header->FFooter)) {
            // A single-row group hides its footer but still restarts its totals.
            if (footer->HideIfSingleDataRecord && band->FLineN < 3)
                PostProcessBand(footer, paGroupFinished);
            else
                ShowBand(footer);
        }
        if (FOutlinedGroups.remove(header))
            FPreviewPages->Outline().LevelUp();
        HeaderListOf(header).RemoveItem(header);
        if (header->KeepTogether)
            EndKeep(header);
    }
}

void TzelEngine::CheckDrill(TzelDataBand *band, TzelGroupHeader *group)
{
    const QList<TzelBand *> &chain = group->FSubBands;
    QString path;
    for (const auto &[row, line] : std::as_const(FDrillPath))
        path += row->Name() + QLatin1Char('.') + QString::number(line) + QLatin1Char('.');
    for (qsizetype i = 0; i < chain.size(); ++i) {
        auto *header = static_cast<TzelGroupHeader *>(chain[i]);
        if (!header->DrillDown)
            continue;
        header->DrillName = path + header->Name() + QLatin1Char('.') + QString::number(header->FLineThrough);
        const bool expanded = FReport->DrillState.contains(header->DrillName) != header->ExpandDrillDown;
        if (TzelBand *child = header->Child(); child && !header->ShowChildIfDrillDown)
            SetDrillVisible(child, expanded);
        for (qsizetype j = i + 1; j < chain.size(); ++j) {
            SetDrillVisible(chain[j], expanded);
            if (chain[j]->FFooter)
                SetDrillVisible(chain[j]->FFooter, expanded);
        }
        SetDrillVisible(band, expanded);
        if (header->FFooter && !header->ShowFooterIfDrillDown)
            SetDrillVisible(header->FFooter, expanded);
        if (!expanded)
            break;
    }
}

void TzelEngine::SetDrillVisible(TzelBand *band, bool visible)
{
    if (!FDrillVisibility.contains(band))
        FDrillVisibility.insert(band, band->Visible());
    band->SetVisible(visible);
}

bool TzelEngine::AddBandOutline(TzelBand *band)
{
    if (band->OutlineText.isEmpty() || !band->Visible() || band->Vertical)
        return false;
    FReport->CurObject = band->Name();
    const QString text = FReport->Calc(band->OutlineText).ToString();
    const double h = band->Stretched ? band->FStretchedHeight : band->Height();
    FPreviewPages->Outline().AddItem(text, int(std::round(FCurY - h)));
    if (zelAs<TzelGroupHeader>(band))
        FOutlinedGroups.insert(band);
    return true;
}

void TzelEngine::TzelOutputMark::Take(TzelCustomPreviewPages *pages, double y)
{
    Position = pages->GetCurPosition();
    Outline = pages->Outline().GetCurPosition();
    Anchor = pages->GetAnchorCurPosition();
    Top = y;
}

void TzelEngine::AdvanceColumn(TzelDataBand *band, TzelColumnStrip &strip)
{
    if (band->Columns <= 1 || !band->Visible() || band->Vertical)
        return;
    band->MaxY = std::max(band->MaxY, FCurY);
    if (band->CurColumn() < band->Columns) {
        FCurY = strip.RowTop;
    } else if (!FPage->EndlessHeight && GetPageHeight() - FooterHeight() - band->MaxY <= zelFloatTolerance) {
        // The strip crosses the bottom: it moves whole to the next column.
        if (FKeeping && FCurY - FKeepCurY > GetPageHeight() - FooterHeight() - HeaderHeight(false))
            BreakAllKeep();
        if (FKeeping) {
            NewColumn();
        } else {
            // A kept header goes along with the first strip when both fit
            // on a page; it is not reprinted above itself then.
            TzelBand *header = strip.KeptHeader;
            if (header && band->MaxY - strip.Header.Top > GetPageHeight() - FooterHeight() - HeaderHeight(false))
                header = nullptr;
            const TzelOutputMark &from = header ? strip.Header : strip.Rows;
            QList<TzelBand *> unlisted;
            if (header) {
                QList<TzelBand *> kept{header};
                if (band->FGroup)
                    kept.append(band->FGroup->FSubBands);
                for (TzelBand *b : std::as_const(kept))
                    if (FHeaderList.Contains(b)) {
                        FHeaderList.RemoveItem(b);
                        unlisted.append(b);
                    }
            }
            FPreviewPages->CutObjects(from.Position);
            FCurY = from.Top;
            NewColumn();
            PasteBlock(FCurX, from.Outline, from.Anchor);
            for (TzelBand *b : std::as_const(unlisted))
                FHeaderList.AddItem(b, 0, false);
        }
    } else {
        FCurY = band->MaxY;
    }
    if (band->CurColumn() == band->Columns)
        strip.KeptHeader = nullptr;
    band->SetCurColumn(band->CurColumn() + 1);
}

void TzelEngine::FillToNRows(TzelDataBand *band, TzelBand *fillBand, const TzelFillState &state)
{
    FLockResetAggregates = false;
    if (FPreviewPages->Count() != state.Pages)
        return;
    // The footers printed after the rows step aside while the filler rows
    // print, and keep their room at the bottom.
    FPreviewPages->CutObjects(state.End.Position);
    const double lastY = FPreviewPages->GetLastY(FCurX);
    FPrevFooterHeight = FCurY - lastY + FooterHeight();
    FCurY = lastY;

    TzelChild *child = fillBand->Child();
    const QScopedValueRollback<bool> breakTree(FBreakShowBandTree, false);
    int counter = child->ToNRowsMode == rmAddToCount ? 1 : band->FLineN;
    child->FLineN = 1;
    while (!FReport->Terminated &&
           (counter <= child->ToNRows || (child->ToNRowsMode == rmTillPageEnds && !FBreakShowBandTree))) {
        FCurLine = band->FLineN;
        FCurLineThrough = band->FLineThrough;
        const double before = FCurY;
        DoShow(child);
        ++counter;
        ++band->FLineN;
        ++band->FLineThrough;
        // A child that takes no room would fill the page forever.
        if (child->ToNRowsMode == rmTillPageEnds && FCurY <= before)
            break;
    }

    PasteBlock(FCurX, state.End.Outline, state.End.Anchor);
    FPrevFooterHeight = 0;
    PostProcessBand(band->FFooter, paDataFinished);
}
