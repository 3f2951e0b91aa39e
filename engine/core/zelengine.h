#pragma once

#include "engine/core/zelheaderlist.h"
#include "model/report/zelcustomengine.h"
#include "model/view/zelviewtypes.h"

#include <QList>
#include <memory>

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

private:
    void RunReportPages(TzelReportPage *page);
    void RunReportPage(TzelReportPage *page);
    void RunPage();
    void InitPage();
    void OpenPage();
    void StartColumn();
    // Puts the kept block cut before a break at column position X and the
    // cursor below it, moving its outline entries and anchors along.
    void PasteKeptBlock(double x);
    void ReprintBand(TzelBand *band);
    void ShowColumnFooter();
    void ShowPageFooter(TzelBand *band);
    void ShowPageObjects();
    void AddPageOutline();
    void DoShow(TzelBand *band);
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
};
