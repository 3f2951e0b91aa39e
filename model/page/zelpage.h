#pragma once
/// \file

#include "model/component/zelcomponent.h"

#include <QStringList>

/// The base of pages: report pages with their bands, the data page with the
/// non-visual components, and dialog pages.
class TzelPage : public TzelComponent
{
    ZEL_CLASS(TzelPage, TzelComponent)

    /// Creates a page whose tree parent is Owner.
    explicit TzelPage(TzelComponent *owner = nullptr);
    ~TzelPage() override;

    QStringList HGuides; ///< positions of the designer's horizontal guides
    QStringList VGuides; ///< positions of the designer's vertical guides

    /// Removes every guide.
    void ClearGuides();
    /// Whether the designer offers guides on this page.
    virtual bool IsSupportsGuidlines() const { return true; }
    /// The name of the kind of page, as the designer shows it.
    virtual QString GetDescription() const { return ClassName(); }
    /// Whether bands and objects on this page keep to character cells.
    virtual bool SnapsToCharacterCells() const { return false; }

    /// The nearest ancestor-or-self of Component that is a page, or nullptr.
    static TzelPage *PageOf(const TzelComponent *component);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelPage> &p);

private:
    bool IsFontStored() const { return !ParentFont(); }
};
