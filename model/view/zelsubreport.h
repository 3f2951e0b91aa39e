#pragma once
/// \file

#include "model/view/zelview.h"

class TzelReportPage;

/// A placeholder that prints another report page in its place.
class TzelSubreport : public TzelView
{
    ZEL_CLASS(TzelSubreport, TzelView)

    /// All four frame lines, Tahoma 8 pt, silver.
    explicit TzelSubreport(TzelComponent *owner = nullptr);
    ~TzelSubreport() override;

    QString GetDescription() const override;

    bool PrintOnParent = false; ///< printed inside the parent band rather than on its own

    /// The page printed here, or nullptr.
    TzelReportPage *Page() const { return FPage; }
    /// Prints Value here; the page learns which subreport prints it.
    void SetPage(TzelReportPage *value);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelSubreport> &p);

private:
    TzelReportPage *FPage = nullptr;
};
