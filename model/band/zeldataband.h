#pragma once
/// \file

#include "model/band/zelband.h"
#include "model/data/zeldatasetlink.h"

#include <memory>

class TzelUserDataSet;

/// A band printed once per record of its data set (or RowCount times when it
/// has none), optionally in columns across the band.
class TzelDataBand : public TzelBand
{
    ZEL_CLASS(TzelDataBand, TzelBand)

    /// Creates the band with tree parent Owner.
    explicit TzelDataBand(TzelComponent *owner = nullptr);
    ~TzelDataBand() override;

    int Columns = 0;              ///< number of columns the rows are spread over
    double ColumnWidth = 0;       ///< width of a column, report units
    double ColumnGap = 0;         ///< gap between columns, report units
    bool FooterAfterEach = false; ///< the footer follows every row
    QString Filter;               ///< expression a record must satisfy to print
    bool KeepFooter = false;      ///< the last row stays with the footer
    bool KeepHeader = false;      ///< the header stays with the first row
    bool KeepTogether = false;    ///< the rows with header and footer stay on one page
    bool PrintIfDetailEmpty = false; ///< printed when its detail bands have no rows
    QString OnMasterDetail;       ///< script procedure: when the detail is opened

    /// The data set the rows come from, or nullptr (also once it was freed).
    TzelDataSet *DataSet() const { return FDataSet.DataSet(); }
    /// Refers to Value and takes its user name as DataSetName.
    void SetDataSet(TzelDataSet *value) { FDataSet.SetDataSet(value); }
    /// The data set's user name, or the name given while none is found.
    QString DataSetName() const { return FDataSet.Name(); }
    /// Looks the data set up by name (zelFindDataSet); empty clears it.
    void SetDataSetName(const QString &value) { FDataSet.SetName(this, value); }

    /// Rows printed when the band has no data set: the record count of
    /// VirtualDataSet.
    int RowCount() const { return FRowCount; }
    /// Sets RowCount.
    void SetRowCount(int value);
    /// The band's own data set, which yields RowCount empty records. It is
    /// kept out of the lists of data sets a report offers.
    TzelUserDataSet &VirtualDataSet() { return *FVirtualDataSet; }
    /// Where the rows come from: DataSet, else VirtualDataSet when RowCount
    /// is set, else nullptr (the band never prints).
    TzelDataSet *RowSource() const;

    /// The column being printed, 1 to Columns.
    int CurColumn() const { return FCurColumn; }
    /// Moves the band to column Value (a value outside 1 to Columns means 1);
    /// column 1 also resets MaxY.
    void SetCurColumn(int value);
    /// Lowest bottom, in report units, reached by the columns printed so far.
    double MaxY = 0;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelDataBand> &p);

private:
    TzelDataSetLink FDataSet;
    std::unique_ptr<TzelUserDataSet> FVirtualDataSet;
    int FRowCount = 0;
    int FCurColumn = 1;
};
