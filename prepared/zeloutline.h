#pragma once
/// \file

#include "model/report/zelcustomoutline.h"

/// The outline kept as the "outline" element of the prepared report: nested
/// "item" elements with "text", "page" and "top".
class TzelOutline : public TzelCustomOutline
{
public:
    /// An outline kept by Pages in the "outline" child of DocumentRoot.
    TzelOutline(TzelCustomPreviewPages *pages, TzelXMLItem *documentRoot)
        : TzelCustomOutline(pages), FDocumentRoot(documentRoot)
    {
    }

    void AddItem(const QString &text, int top) override;
    void DeleteItems(TzelXMLItem *from) override;
    void LevelDown(int index) override;
    void LevelRoot() override;
    void LevelUp() override;
    void GetItem(int index, QString &text, int &page, int &top) const override;
    void ShiftItems(TzelXMLItem *from, int newTop) override;
    TzelXMLItem *GetCurPosition() const override;
    int Count() const override;
    TzelXMLItem *Root() const override;

private:
    TzelXMLItem *Current() const;
    TzelXMLItem *Siblings(TzelXMLItem *from, int &first) const;

    TzelXMLItem *FDocumentRoot;
    TzelXMLItem *FCurItem = nullptr; // nullptr: the root
};
