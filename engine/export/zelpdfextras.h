#pragma once
/// \file

#include <QList>
#include <QRectF>
#include <QString>

class QIODevice;

/// What Qt's PDF writer cannot write, added to its finished file: the
/// outline as bookmarks, links as annotations, and the document information.
struct TzelPdfExtras
{
    /// A place in the document: page (0-based) and a point in PDF units (1/72
    /// inch, from the page's lower left corner).
    struct Target
    {
        int Page = 0; ///< 0-based page index
        double Left = 0; ///< distance from the left edge, PDF units
        double Top = 0; ///< distance from the bottom edge, PDF units
    };
    /// A bookmark and the ones below it.
    struct Bookmark
    {
        QString Title; ///< the text shown
        Target Destination; ///< where a click goes
        QList<Bookmark> Children; ///< the bookmarks one level down
    };
    /// A clickable rectangle of a page that opens an address or goes to a place.
    struct Link
    {
        int Page = 0; ///< 0-based page index
        QRectF Rect; ///< in PDF units
        QString Uri; ///< empty: Destination
        Target Destination; ///< where a click goes when Uri is empty
    };

    QList<Bookmark> Bookmarks; ///< the outline, top level first
    QList<Link> Links; ///< every link of every page
    QString Title; ///< document information: title
    QString Author; ///< document information: author
    QString Subject; ///< document information: subject
    QString Creator; ///< document information: creating program

    /// Reads the PDF file Source, adds the extras and writes the result to
    /// Output; raises TzelException when qpdf cannot read or write it.
    void Apply(const QString &source, QIODevice &output) const;
};
