#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/view/zelviewtypes.h"

#include <QString>

class TzelDiffWriter;

/// Where a click on a view in the preview leads: a web address, an anchor, a
/// page, a detail report or page, or a script-defined target.
class TzelHyperlink : public TzelPersistent
{
    ZEL_CLASS(TzelHyperlink, TzelPersistent)

    TzelHyperlinkKind Kind = hkURL;             ///< the kind of target
    QString DetailReport;                       ///< file of the detail report (hkDetailReport)
    QString DetailPage;                         ///< name of the detail page (hkDetailPage)
    QString Expression;                         ///< expression giving Value while the report is built
    QString ReportVariable;                     ///< variable of the detail report that receives Value
    QString TabCaption;                         ///< caption of the preview tab a detail opens in
    QString Value;                              ///< address, anchor name or page number
    QString ValuesSeparator = QStringLiteral(";"); ///< separates several values

    /// Whether the link leads nowhere: no value for URL, anchor and page
    /// number, no detail for the two detail kinds, and kind hkNone.
    bool IsEmpty() const;
    /// Whether a detail kind has no detail report or page to open.
    bool DetailIsEmpty() const;
    /// Copies every value of Source.
    void Assign(const TzelHyperlink &source) { *this = source; }
    /// Whether every value is equal.
    bool operator==(const TzelHyperlink &other) const;

    /// Writes the attributes that differ from Other. Expression is left out:
    /// a printed object holds its result in Value.
    void Diff(TzelDiffWriter &out, const TzelHyperlink &other) const;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelHyperlink> &p);

private:
    bool IsValuesSeparatorStored() const { return ValuesSeparator != QLatin1StringView(";"); }
};
