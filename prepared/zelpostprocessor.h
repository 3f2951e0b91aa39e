#pragma once
/// \file

#include "model/report/zelcustompostprocessor.h"
#include "model/view/zelviewtypes.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <vector>

class TzelBand;
class TzelCustomMemoView;
class TzelReport;
class TzelView;
class TzelXMLItem;

/// Values of objects that are completed after they were stored on a page
/// (totals shown before they are known) and the duplicate state of repeated
/// values. Each object name owns a list of contents; a stored object holds
/// the index of its content in place of its text.
class TzelPostProcessor : public TzelCustomPostProcessor
{
public:
    /// Appends Content to the list of Name and returns its index; Ready is
    /// False for a value that is completed later.
    int Add(const QString &name, const QString &content, bool ready);
    /// Replaces the last content of Name by its final value.
    void Complete(const QString &name, const QString &content);
    /// The contents stored for Name, or nullptr.
    const QStringList *GetMacroList(const QString &name) const override;
    /// Content Index of Name; empty while it is not ready or out of range.
    QString GetValue(const QString &name, int index) const;
    /// Writes the "postprocessing" element.
    void SaveToXML(TzelXMLItem *item) const;
    /// Replaces the contents by those of a "postprocessing" element.
    void LoadFromXML(const TzelXMLItem *item);
    /// Forgets every content.
    void Clear();

    /// Whether Memo's content is completed later instead of when it is stored.
    static bool IsDeferred(const TzelCustomMemoView &memo);
    /// Whether Memo's content goes through the post-processor: completed
    /// later, or merged with equal neighbours (Duplicates other than dmShow).
    static bool TakesPart(const TzelCustomMemoView &memo);
    /// Stores the content of Memo, which is completed later, and returns its index.
    int AddDeferred(TzelCustomMemoView &memo);
    /// Stores the content of Memo, printed in band BandName, and returns
    /// its index: a content equal to the last one of its name takes that
    /// one's index, unless the band's duplicates were reset since.
    int AddContent(TzelCustomMemoView &memo, const QString &bandName);
    /// A new run of band BandName (empty: of every band) starts: equal
    /// values no longer join those stored before.
    void ResetDuplicates(const QString &bandName) override;
    /// Completes the deferred objects whose moment Mode has come, Band
    /// being the band that ended it: each computes its data again with the
    /// current values.
    void ProcessExpressions(TzelReport *report, TzelBand *band, TzelProcessAt mode);
    /// Completes View now (objects completed on the script's request).
    void ProcessObject(TzelReport *report, TzelView *view);
    /// A data band starts its rows: deferred objects entered now wait for its end.
    void EnterData() { ++FDataLevel; }
    /// A data band ended its rows.
    void LeaveData() { FDataLevel = std::max(0, FDataLevel - 1); }
    /// A group of level Level starts.
    void EnterGroup(int level) { FGroupLevel = level; }

private:
    // An object stored before its value is known.
    struct Deferred
    {
        TzelCustomMemoView *Memo;
        int Index; // of its content
        TzelProcessAt At;
        int GroupLevel;
        int DataLevel;
    };
    bool IsDue(const Deferred &d, TzelProcessAt mode) const;
    void Complete(TzelReport *report, const Deferred &deferred);

    struct Macro
    {
        QStringList Contents;
        std::vector<bool> Ready;
        QString Band;               // band of the duplicate-handled memo
        bool DuplicatesReset = true; // the next content starts a new run
    };
    QHash<QString, Macro> FMacros;
    QStringList FOrder; // names in the order they were first stored
    std::vector<Deferred> FDeferred;
    int FDataLevel = 0;
    int FGroupLevel = 0;
};
