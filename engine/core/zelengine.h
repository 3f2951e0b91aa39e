#pragma once

#include "engine/core/zelheaderlist.h"
#include "model/report/zelcustomengine.h"
#include "model/view/zelviewtypes.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <memory>
#include <utility>

class TzelAggregateList;
class TzelDataBand;
class TzelDataSet;
class TzelGroupHeader;
class TzelNullBand;
class TzelReportComponent;
class TzelReportPage;
class TzelShiftEngine;
class TzelXMLItem;

// The report engine: walks the template pages, prints bands at a vertical
// cursor, breaks columns and pages, reprints headers, keeps blocks of bands
// together, splits bands taller than the free space and stretches objects.
class TzelEngine : public TzelCustomEngine
{
public:
    /// The engine of Report.
    explicit TzelEngine(TzelReport *report);
    ~TzelEngine() override;

    double GetPageHeight() override;
    void EndPage() override;
    void BreakAllKeep() override;
    void NewColumn() override;
    void NewPage() override;
    void PrepareShiftTree(TzelComponent *container) override;
    TzelBand *ShowBand(TzelBand *band) override;
    void ShowBand(const TzelClassInfo &bandClass) override;
    void Stretch(TzelComponent *container) override;
    void UnStretch(TzelComponent *container) override;
    double HeaderHeight(bool addReprintOnNewPage) override;
    double FooterHeight() override;
    double FreeSpace() override;
    void ProcessObject(TzelView *reportObject) override;
    Variant GetAggregateValue(const QString &name, const QString &expression, const Variant &band,
                              int flags) override;
    /// The value of the system variable Name ("Page#", "Line"...); False
    /// for any other name.
    bool SystemVariable(const QString &name, Variant &value);
    bool Run(bool runDialogs, bool clearLast, TzelPage *page) override;

    /// Starts a build: resets the state and checks the template; False
    /// when errors were collected.
    bool Initialize();
    /// Ends a build, also after a failure.
    void Finalize();
    /// Opens a keep block at Band unless one is open or nothing printed yet.
    void StartKeep(TzelBand *band, int position = 0);
    /// Closes the keep block that Band opened.
    void EndKeep(TzelBand *band);
    /// The bands reprinted on every new page and column.
    TzelHeaderList &HeaderList() { return FHeaderList; }
    /// Whether a keep block is open.
    bool Keeping() const { return FKeeping; }
    /// The band being printed.
    TzelBand *CurBand() const { return FCurBand; }
    /// The aggregate calls of the pages being built.
    TzelAggregateList &Aggregates() { return *FAggregates; }

private:
    // Where a strip of a multi-column data band began.
    struct TzelColumnStrip
    {
        int Position = 0;
        TzelXMLItem *Outline = nullptr;
        int Anchor = 0;
        double Top = 0;
        double RowTop = 0; // top of the row being printed
        void Start(TzelCustomPreviewPages *pages, double y);
    };
    // Where the rows of a data band ended, for the filler rows of its child.
    struct TzelFillState
    {
        int Pages = 0;
        int Position = 0;
        TzelXMLItem *Outline = nullptr;
        int Anchor = 0;
    };

    // The data loops.
    // Links Page's data bands, headers, footers and groups (horizontal or
    // vertical ones); errors go to the report's errors.
    void PrepareBandTree(TzelReportPage *page, bool vertical);
    const QList<TzelBand *> &SubBandsOf(TzelComponent *component) const;
    bool HasPrintableData(TzelComponent *component, bool printAnyway);
    void RunDataBands(TzelComponent *component);
    void RunDataBand(TzelDataBand *band);
    void ShowDataFooter(TzelDataBand *band, int keepPosition, bool headerKeep);
    void InitGroups(TzelDataBand *band, TzelGroupHeader *group, bool resetAll, qsizetype from);
    void CheckGroups(TzelDataBand *band, TzelGroupHeader *group, TzelColumnStrip &strip);
    void ShowGroupFooters(TzelGroupHeader *group, qsizetype level, TzelDataBand *band);
    void CheckDrill(TzelDataBand *band, TzelGroupHeader *group);
    // Shows or hides Band for a folded group; Finalize restores it.
    void SetDrillVisible(TzelBand *band, bool visible);
    // Adds Band's outline entry; False when it has none.
    bool AddBandOutline(TzelBand *band);
    void AdvanceColumn(TzelDataBand *band, TzelColumnStrip &strip);
    void FillToNRows(TzelDataBand *band, TzelBand *fillBand, const TzelFillState &state);
    // Moves DS by Step (First, Next, Prior) for Owner, naming both and the
    // row in an error.
    void Navigate(TzelComponent *owner, TzelDataSet *ds, void (TzelDataSet::*step)());
    // Band's expression, with Band named in its errors.
    Variant CalcForBand(TzelBand *band, const QString &expression);
    // The value of Header's condition for the current row.
    Variant GroupValue(TzelGroupHeader *header);

    void RunReportPages(TzelReportPage *page);
    void RunReportPage(TzelReportPage *page);
    void RunPage();
    void InitPage();
    void OpenPage();
    void StartColumn();
    // Puts the objects cut before a break at column position X and the
    // cursor below them, moving the outline entries and anchors made since
    // Outline and Anchor along.
    void PasteBlock(double x, TzelXMLItem *outline, int anchor);
    void ReprintBand(TzelBand *band);
    void ShowColumnFooter();
    void ShowPageFooter(TzelBand *band);
    void ShowPageObjects();
    void AddPageOutline();
    void DoShow(TzelBand *band);
    // Prints the PrintOnParent subreports of Container into it.
    void RunParentSubreports(TzelComponent *container);
    // Prints the subreports of Band, printed at BandTop, side by side below it.
    void RunSubreports(TzelBand *band, double bandTop);
    void SplitBand(TzelBand *band);
    void FitToLastPart(TzelBand *band, const QList<TzelComponent *> &part);
    void RestretchForNewPage(TzelBand *band);
    void PlaceAndOutput(TzelBand *band);
    // Gives the objects printed from index From on their design state back.
    void RestorePrinted(qsizetype from);
    void ReportNoRoom(TzelBand *band);
    // The paper around a printable area of the page being built, in units.
    double PaperWidthAround(double printableWidth) const;
    double PaperHeightAround(double printableHeight) const;
    // Completes the deferred objects whose moment Band (or, without a band,
    // Mode) ends; paDefault takes the moment from the band's class.
    void PostProcessBand(TzelBand *band, TzelProcessAt mode);
    bool CheckPage(TzelReportPage *page);
    void CheckDataSets(const QList<TzelReportPage *> &pages);
    bool RunDialogs();
    void RunPasses(TzelReportPage *onlyPage);
    void ReportProgress();
    template <class T> T *FindBand() const;

    std::unique_ptr<TzelShiftEngine> FShiftEngine;
    std::unique_ptr<TzelAggregateList> FAggregates;
    // Data band and row of each open data level; fold names are made of it
    // only where a group folds.
    QList<std::pair<TzelBand *, int>> FDrillPath;
    QHash<TzelBand *, bool> FDrillVisibility; // design visibility of bands a fold changed
    QSet<TzelBand *> FOutlinedGroups;       // group headers with an open outline entry
    QHash<TzelComponent *, qsizetype> FParentOriginalCount; // containers holding printed subreports: own objects
    TzelNullBand *FOutputTo = nullptr;      // bands are copied here instead of output
    QElapsedTimer FEventTimer;
    TzelHeaderList FHeaderList;
    QList<TzelReportComponent *> FPrinting; // between BeforePrint and AfterPrint, innermost last
    TzelReportPage *FPage = nullptr;
    TzelBand *FCurBand = nullptr;
    TzelBand *FLastBandOnPage = nullptr;
    TzelBand *FStartNewPageBand = nullptr;
    TzelBand *FKeepBand = nullptr;
    TzelXMLItem *FKeepOutline = nullptr;
    double FFirstColumnY = 0;
    double FPageCurX = 0;
    double FKeepCurY = 0;
    double FPrevFooterHeight = 0;
    int FKeepPosition = 0;
    int FKeepAnchor = 0;
    bool FCallFromAddPage = false;
    bool FCallFromEndPage = false;
    bool FCallFromPHeader = false;
    bool FFirstReportPage = false;
    bool FIsFirstBand = false;
    bool FIsFirstPage = false;
    bool FIsLastPage = false;
    bool FTitlePrinted = false;
    bool FKeeping = false;
    bool FKeepHeader = false;
    bool FKeepFooter = false;
    bool FDataSetsOpen = false;
    bool FLockResetAggregates = false;
    bool FBreakShowBandTree = false;
};
