#pragma once
/// \file

#include <QList>
#include <QRectF>
#include <QString>

class TzelCustomPreviewPages;

/// A piece of text as a page draws it, with the rectangle it covers in
/// report units (the page's top-left corner at the origin).
struct TzelPageTextRun
{
    QString Text; ///< the characters of the run
    QRectF Rect; ///< where the run stands on the page
};

/// The text runs of page Index of Pages in drawing order: what the preview
/// searches. Nothing for an index out of range.
QList<TzelPageTextRun> zelPageTextRuns(TzelCustomPreviewPages &pages, int index);
