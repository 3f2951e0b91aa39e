#pragma once
/// \file

#include "base/variant/zelvariant.h"
#include "model/report/zelpagesengine.h"

#include <QDateTime>
#include <QList>

class TzelBand;
class TzelClassInfo;
class TzelComponent;
class TzelCustomPreviewPages;
class TzelPage;
class TzelReport;
class TzelView;

/// The report engine as the report, the script and the preview see it: the
/// output cursor, the pass state and the operations that print bands and
/// break pages. The layer above the model supplies the implementation.
class TzelCustomEngine : public TzelPagesEngine
{
public:
    /// An engine owned by Report.
    explicit TzelCustomEngine(TzelReport *report) : FReport(report) {}
    ~TzelCustomEngine() override = default;
    TzelCustomEngine(const TzelCustomEngine &) = delete;
    TzelCustomEngine &operator=(const TzelCustomEngine &) = delete;

    /// Height of the printable area of the current page.
    virtual double GetPageHeight() = 0;
    /// Finishes the current output page (footers, summary on the last one).
    virtual void EndPage() = 0;
    /// Closes any open keep block without moving what it holds.
    virtual void BreakAllKeep() = 0;
    /// Goes on in the next page column, or on a new page after the last one.
    virtual void NewColumn() = 0;
    /// Finishes the page and starts the next one, moving an open keep block.
    virtual void NewPage() = 0;
    /// Builds the shift structure of Container on first use.
    virtual void PrepareShiftTree(TzelComponent *container) = 0;
    /// Prints Band at the cursor; returns the band whose child fills rows, or nullptr.
    virtual TzelBand *ShowBand(TzelBand *band) = 0;
    /// Prints the first band of class BandClass of the page being built.
    virtual void ShowBand(const TzelClassInfo &bandClass) = 0;
    /// Lets the objects of Container grow or shrink to their content.
    virtual void Stretch(TzelComponent *container) = 0;
    /// Gives the objects of Container their designed geometry back.
    virtual void UnStretch(TzelComponent *container) = 0;
    /// Heights of the page and column headers with their children; with
    /// AddReprintOnNewPage also the other bands reprinted on every page.
    virtual double HeaderHeight(bool addReprintOnNewPage) = 0;
    /// Heights of the column footer and the page footer.
    virtual double FooterHeight() = 0;
    /// Room left below the cursor on the current page or column.
    virtual double FreeSpace() = 0;
    /// Completes an object whose value is computed on request.
    virtual void ProcessObject(TzelView *reportObject) = 0;
    /// Builds the report (or only Page); False when it was not built.
    virtual bool Run(bool runDialogs, bool clearLast, TzelPage *page) = 0;
    /// The total Name ("SUM", "AVG", "MIN", "MAX", "COUNT") of Expression
    /// over the rows of Band (0: the default band) with Flags, as the band
    /// being printed has accumulated it; Null when no such total is kept.
    virtual Variant GetAggregateValue(const QString &name, const QString &expression, const Variant &band,
                                      int flags) = 0;

    /// Prints the band named BandName; nothing when there is none.
    void ShowBandByName(const QString &bandName);
    /// Asks the running build to stop at the next band.
    void StopReport();

    /// The owner.
    TzelReport *Report() const { return FReport; }
    /// The output container; setting it makes the container report to this engine.
    TzelCustomPreviewPages *PreviewPages() const { return FPreviewPages; }
    /// Sets PreviewPages.
    void SetPreviewPages(TzelCustomPreviewPages *value);
    /// Whether the report makes two passes.
    bool DoublePass() const override;
    bool Running() const override { return FRunning; }
    bool FinalPass() const override { return FFinalPass; }
    double CurY() const override { return FCurY; }
    /// Sets CurY.
    void SetCurY(double value) { FCurY = value; }
    int TotalPages() const override { return FTotalPages; }
    /// Printable height of the current page, as GetPageHeight gives it.
    double PageHeight() { return GetPageHeight(); }
    /// Printable width of the current page.
    double PageWidth() const { return FPageWidth; }
    /// Left of the next band, relative to the printable area.
    double CurX() const { return FCurX; }
    /// Sets CurX.
    void SetCurX(double value) { FCurX = value; }
    /// Current page column, 1-based.
    int CurColumn() const { return FCurColumn; }
    /// Sets CurColumn.
    void SetCurColumn(int value) { FCurColumn = value; }
    /// Current vertical band column, 0 when none.
    int CurVColumn() const { return FCurVColumn; }
    /// Row of the band being printed within its data band.
    int CurLine() const { return FCurLine; }
    /// Sets CurLine.
    void SetCurLine(int value) { FCurLine = value; }
    /// Row counted through the whole report.
    int CurLineThrough() const { return FCurLineThrough; }
    /// Sets CurLineThrough.
    void SetCurLineThrough(int value) { FCurLineThrough = value; }
    /// Cursor of table objects: row and column.
    int CurTableRow() const { return FCurTableRow; }
    /// Column of the table cursor.
    int CurTableColumn() const { return FCurTableColumn; }
    /// Objects told of every data row.
    QList<TzelComponent *> &NotifyList() { return FNotifyList; }
    /// Date and time the build started.
    QDate StartDate() const { return FStartDate; }
    /// Time the build started.
    QTime StartTime() const { return FStartTime; }
    /// True while a band is stretched again for the next page.
    bool SecondScriptCall() const { return FSecondScriptCall; }

protected:
    int FCurColumn = 1; ///< backs CurColumn
    int FCurVColumn = 0; ///< backs CurVColumn
    int FCurLine = 0; ///< backs CurLine
    int FCurLineThrough = 0; ///< backs CurLineThrough
    bool FFinalPass = true; ///< backs FinalPass
    QList<TzelComponent *> FNotifyList; ///< backs NotifyList
    double FPageHeight = 0; ///< backs PageHeight
    double FPageWidth = 0; ///< backs PageWidth
    TzelCustomPreviewPages *FPreviewPages = nullptr; ///< backs PreviewPages
    TzelReport *FReport; ///< the report being built
    bool FRunning = false; ///< backs Running
    QDate FStartDate; ///< backs StartDate
    QTime FStartTime; ///< backs StartTime
    int FTotalPages = 0; ///< backs TotalPages
    bool FSecondScriptCall = false; ///< backs SecondScriptCall
    int FCurTableRow = 0; ///< backs CurTableRow
    int FCurTableColumn = 0; ///< backs CurTableColumn
    double FCurX = 0; ///< backs CurX
    double FCurY = 0; ///< backs CurY
};
