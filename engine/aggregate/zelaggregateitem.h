#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QString>
#include <vector>

class TzelBand;
class TzelReport;

/// The five aggregate functions.
enum TzelAggregateFunction { agSum, agAvg, agMin, agMax, agCount };

/// The function an aggregate call names: SUM, AVG, MIN, MAX, anything else COUNT.
TzelAggregateFunction zelAggregateFunction(const QString &name);

/// One aggregate call of a template (SUM(<items."amount">, MasterData1, 2)):
/// what it counts, where it prints, and its running count and value. The
/// engine adds a row whenever the counted band prints and resets the item
/// after the band it prints in.
class TzelAggregateItem
{
public:
    /// Flag bits of an aggregate call.
    enum Flags { CountInvisibleBands = 1, DontReset = 2 };

    /// An item of Report computing Function over Expression for the rows of
    /// Band, printed in ParentBand by the memo MemoName as OriginalName.
    TzelAggregateItem(TzelReport *report, TzelAggregateFunction function, const QString &expression,
                      TzelBand *band, int flags, TzelBand *parentBand, const QString &memoName,
                      const QString &originalName);

    /// The function the item computes.
    TzelAggregateFunction Function() const { return FAggregateFunction; }
    /// The band whose rows are counted.
    TzelBand *Band() const { return FBand; }
    /// The band the call prints in.
    TzelBand *ParentBand() const { return FParentBand; }
    /// The expression as written, trimmed (empty for COUNT).
    const QString &Expression() const { return FExpression; }
    /// The call as written, trimmed.
    const QString &OriginalName() const { return FOriginalName; }
    /// The call's flag bits.
    int Flags() const { return (FCountInvisibleBands ? CountInvisibleBands : 0) | (FDontReset ? DontReset : 0); }

    /// Counts the current row of Band in vertical column VColumn (0: none).
    void Calc(int vColumn);
    /// The result: the average, the count or the accumulated value; 0 when
    /// nothing was counted. VColumn (from 1) reads one vertical column.
    Variant Value(int vColumn = 0) const;
    /// Starts counting aside (page-footer items while a keep block is open).
    void StartKeep();
    /// Adds what was counted aside since StartKeep.
    void EndKeep();
    /// Takes the last counted row back.
    void DeleteValue();
    /// Remembers the count and value, for RestoreValue.
    void SaveValue();
    /// Brings back what SaveValue remembered.
    void RestoreValue();
    /// Restarts counting unless the item is a running total that counted
    /// already; Force restarts running totals too.
    void Reset(bool force = false);
    /// Whether the item prints in a page footer.
    bool IsPageFooter() const { return FIsPageFooter; }

private:
    // Counts Value into Count and Accumulated by the function's rule.
    void Combine(const Variant &value, int &count, Variant &accumulated) const;
    // Folds Value into Accumulated: added, or kept when smaller or larger.
    void Accumulate(const Variant &value, Variant &accumulated) const;

    TzelReport *FReport;
    TzelAggregateFunction FAggregateFunction;
    QString FExpression;
    TzelBand *FBand;
    TzelBand *FParentBand;
    QString FMemoName;
    QString FOriginalName;
    bool FCountInvisibleBands;
    bool FDontReset;
    bool FIsPageFooter;
    bool FKeeping = false;
    int FItemsCount = 0;
    Variant FItemsValue = Variant::Null();
    int FTempItemsCount = 0;
    Variant FTempItemsValue = Variant::Null();
    int FLastCount = 0;
    Variant FLastValue = Variant::Null();
    int FSavedCount = 0;
    Variant FSavedValue = Variant::Null();
    // Per vertical column (1 to 1000), made on first use.
    std::vector<Variant> FItemsArray;
    std::vector<int> FItemsCountArray;
};
