#pragma once
/// \file

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
class TzelView;
class TzelXMLItem;

/// The report engine: walks the template pages, prints bands at a vertical
/// cursor, breaks columns and pages, reprints headers, keeps blocks of bands
/// together, splits bands taller than the free space and stretches objects.
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
    /// The bands reprinted on every new page and column, or, for a
    /// vertical band, at the left of every horizontal page.
    TzelHeaderList &HeaderListOf(const TzelBand *band);
    /// Whether a keep block is open.
    bool Keeping() const { return FKeeping; }
    /// The band being printed.
    TzelBand *CurBand() const { return FCurBand; }
    /// The aggregate calls of the pages being built.
    TzelAggregateList &Aggregates() { return *FAggregates; }

private:
    // A place in the output: the object, outline entry and anchor that
    // come next, and the cursor.
    struct TzelOutputMark
    {
        int Position = 0;
        TzelXMLItem *Outline = nullptr;
        int Anchor = 0;
        double Top = 0;
        void Take(TzelCustomPreviewPages *pages, double y);
    };
    // Where a strip of a multi-column data band began; the first strip
    // also knows where its kept header began.
    struct TzelColumnStrip
    {
        TzelOutputMark Rows;
        TzelOutputMark Header;
        TzelBand *KeptHeader = nullptr; // until the first strip is complete
        double RowTop = 0;              // top of the row being printed
    };
    // Where the rows of a data band ended, for the filler rows of its child.
    struct TzelFillState
    {
        int Pages = 0;
        TzelOutputMark End;
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

    // Vertical (cross) bands.
    // Moves the objects of Page's horizontal bands that lie inside a
    // vertical band into it; ReturnTakenOver puts them back.
    void TakeOverObjects(TzelReportPage *page);
    void ReturnTakenOver();
    // Runs the vertical bands across Master, copying their objects into it;
    // returns where each horizontal page's objects begin.
    QList<qsizetype> RunVerticalBands(TzelBand *master);
    void ShowVerticalBand(TzelBand *band);
    // Copies into the master band the objects Band took over from it, at
    // the cursor.
    void CopyTakenOver(TzelBand *band, TzelBand *master);
    // Outputs Master's objects of each horizontal page on its own page.
    void OutputVerticalPages(TzelBand *master, const QList<qsizetype> &pages);
    void OpenHorizontalPage();
    void EndHorizontalPage();

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
    // Follows the band of the printing subreports to where the keep block
    // is pasted (at the cursor).
    void MoveSubreportStart();
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
    // Puts Band at the cursor and outputs it; a vertical master band on
    // each of its horizontal pages (VerticalPages, empty for other bands).
    void PlaceAndOutput(TzelBand *band, const QList<qsizetype> &verticalPages);
    // Container's BeforePrint and its OnBeforePrint; UnStretch undoes them.
    void BeginPrinting(TzelReportComponent *container);
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
    // Containers holding copies made while they print (subreports printed
    // on them, a vertical master band's cells): their own objects' count.
    QHash<TzelComponent *, qsizetype> FParentOriginalCount;
    // An object a vertical band took over: where it stood in its band.
    struct TzelTakenOver
    {
        TzelView *Object;
        TzelBand *Band;
        qsizetype Index;
        double Left;
    };
    QList<TzelTakenOver> FTakenOver;
    // Where the subreports of a band start; a keep block that moves the
    // band moves it along.
    struct TzelSubreportStart
    {
        bool Active = false;
        int Page = 0;
        int Column = 1;
        double Top = 0;
    };
    TzelSubreportStart FSubStart;
    TzelBand *FVMaster = nullptr;     // the horizontal band vertical bands print across
    TzelHeaderList FVHeaderList;      // vertical bands reprinted on every horizontal page
    QList<qsizetype> FVPageList;      // where the master's objects of each horizontal page begin
    bool FVerticalOutput = false;     // a master band goes to its horizontal pages
    bool FReprintingVHeaders = false;
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
    int FKeepPage = 0;   // page and column the keep block stands in
    int FKeepColumn = 1;
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
