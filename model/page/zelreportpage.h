#pragma once
/// \file

#include "model/data/zeldatasetlink.h"
#include "model/page/zelpage.h"
#include "model/page/zelpagetypes.h"
#include "model/page/zelreporttypes.h"

#include <QSizeF>
#include <memory>

class TzelBand;
class TzelFrame;
class TzelPicture;
class TzelPictureView;
class TzelSubreport;

/// A printed page of the template: paper, margins, page columns and the bands
/// that fill it. Its Width and Height are the paper's size in report units.
class TzelReportPage : public TzelPage
{
    ZEL_CLASS(TzelReportPage, TzelPage)

    /// Creates an A4 portrait page without margins whose tree parent is Owner.
    explicit TzelReportPage(TzelComponent *owner = nullptr);
    ~TzelReportPage() override;
    /// A page made for the preview on behalf of Report.
    static TzelReportPage *CreateInPreview(TzelComponent *owner, TzelReport *report);

    // Paper.
    /// Orientation; a change swaps the paper's sides and turns the margins.
    TzelPrinterOrientation Orientation() const { return FOrientation; }
    /// Sets Orientation.
    void SetOrientation(TzelPrinterOrientation value);
    /// Paper width, millimetres; setting it makes the paper custom.
    double PaperWidth() const { return FPaperWidth; }
    /// Sets PaperWidth.
    void SetPaperWidth(double value);
    /// Paper height, millimetres; setting it makes the paper custom.
    double PaperHeight() const { return FPaperHeight; }
    /// Sets PaperHeight.
    void SetPaperHeight(double value);
    /// Paper code; a standard one takes its size from the paper table.
    int PaperSize() const { return FPaperSize; }
    /// Sets PaperSize.
    void SetPaperSize(int value);
    /// Sets code and size at once, without consulting the paper table.
    void SetSizeAndDimensions(int size, double width, double height);
    /// Margins of 10 mm and the current printer's default paper.
    void SetDefaults();

    double LeftMargin = 0;   ///< millimetres
    double RightMargin = 0;  ///< millimetres
    double TopMargin = 0;    ///< millimetres
    double BottomMargin = 0; ///< millimetres
    bool MirrorMargins = false; ///< even pages swap the left and right margins
    /// Width and height of the printable area in millimetres: the paper inside its margins.
    QSizeF PrintableSize() const;
    /// The margin at the left of the page with index Index (from 0): the
    /// right margin on the even pages when the margins are mirrored.
    double LeftMarginAt(int index) const { return MirrorMargins && index % 2 == 1 ? RightMargin : LeftMargin; }

    // Page columns.
    /// Number of page columns; setting it lays the columns out evenly. More
    /// than 1000 raises "Invalid property value" and changes nothing.
    int Columns() const { return FColumns; }
    /// Sets Columns.
    void SetColumns(int value);
    double ColumnWidth = 0;      ///< millimetres
    QStringList ColumnPositions; ///< left edges of the columns, millimetres, as text

    int Bin = 7;           ///< paper source of the first page
    int BinOtherPages = 7; ///< paper source of the other pages

    // The background: a picture view of the page's own that is never a child.
    /// The background picture.
    TzelPicture &BackPicture();
    /// Read-only access.
    const TzelPicture &BackPicture() const;
    /// The background colour (clNone: none).
    int Color() const;
    /// Sets Color.
    void SetColor(int value);
    /// The frame around the page.
    TzelFrame &Frame();
    /// Read-only access.
    const TzelFrame &Frame() const;
    /// The view that draws colour, frame and picture behind the bands.
    TzelPictureView &BackPictureView() const { return *FBackPictureView; }
    bool BackPictureVisible = true;   ///< the background picture shows in the designer
    bool BackPicturePrintable = true; ///< the background picture is printed
    bool BackPictureStretched = true; ///< the background picture fills the page
    /// How many times the page is printed; only positive values are taken.
    int PageCount() const { return FPageCount; }
    /// Sets PageCount.
    void SetPageCount(int value);

    /// The data set the page is printed for, or nullptr (also once it was freed).
    TzelDataSet *DataSet() const { return FDataSet.DataSet(); }
    /// Refers to Value and takes its user name as DataSetName.
    void SetDataSet(TzelDataSet *value) { FDataSet.SetDataSet(value); }
    /// The data set's user name, or the name given while none is found.
    QString DataSetName() const { return FDataSet.Name(); }
    /// Looks the data set up by name (zelFindDataSet); empty clears it.
    void SetDataSetName(const QString &value) { FDataSet.SetName(this, value); }

    TzelDuplexMode Duplex = dmNone; ///< duplex printing of this page
    bool EndlessHeight = false;     ///< the page grows down with its content
    bool EndlessWidth = false;      ///< the page grows right with its content
    bool LargeDesignHeight = false; ///< the designer shows a taller page
    TzelMirrorControlModes MirrorMode; ///< how the page's content is mirrored
    QString OutlineText;            ///< expression for the preview outline
    bool PrintIfEmpty = true;       ///< printed when its data set is empty
    bool PrintOnPreviousPage = false; ///< starts on the last page of the previous one
    bool ShowTitleOnPreviousPage = true; ///< the title may join the previous page
    bool ResetPageNumbers = false;  ///< page numbers restart with this page
    bool TitleBeforeHeader = true;  ///< the report title prints above the page header
    QString OnAfterPrint;           ///< script procedure: after the page is printed
    QString OnBeforePrint;          ///< script procedure: before the page is printed
    QString OnManualBuild;          ///< script procedure that builds the page itself

    // Run-time state.
    /// The subreport object that prints this page; nullptr for a top-level page.
    TzelSubreport *SubReport = nullptr;
    /// The report a page made in the preview belongs to.
    TzelReport *ParentReport = nullptr;
    /// Whether a subreport prints this page.
    bool IsSubReport() const { return SubReport != nullptr; }
    /// The page's top-level data bands, horizontal and vertical, linked by
    /// the engine before every build.
    QList<TzelBand *> FSubBands;
    QList<TzelBand *> FVSubBands; ///< the vertical ones of the two

    /// The first band of class BandClass (or derived from it), or nullptr.
    TzelBand *FindBand(const TzelClassInfo &bandClass) const;
    /// Sizes the page to its printable area, aligns the objects on it and
    /// stretches every band across it (or down it), then restores the
    /// paper size.
    void AlignChildren(bool ignoreInvisible = false, TzelMirrorControlModes modes = {}) override;
    /// "Report page".
    QString GetDescription() const override;
    /// Report pages are named Page1, Page2, ...
    QString BaseName() const override { return QStringLiteral("Page"); }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelReportPage> &p);

private:
    void UpdateDimensions();
    bool IsBackPictureStored() const;

    TzelPrinterOrientation FOrientation = poPortrait;
    double FPaperWidth = 210;
    double FPaperHeight = 297;
    int FPaperSize = 9;
    int FColumns = 0;
    int FPageCount = 1;
    TzelDataSetLink FDataSet;
    std::unique_ptr<TzelPictureView> FBackPictureView;
};
