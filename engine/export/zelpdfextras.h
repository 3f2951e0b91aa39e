#pragma once

#include <QList>
#include <QRectF>
#include <QString>

class QIODevice;

// What Qt's PDF writer cannot write, added to its finished file: the
// outline as bookmarks, links as annotations, and the document information.
struct TzelPdfExtras
{
    // A place in the document: page (0-based) and a point in PDF units (1/72
    // inch, from the page's lower left corner).
    struct Target
    {
        int Page = 0;
        double Left = 0;
        double Top = 0;
    };
    // A bookmark and the ones below it.
    struct Bookmark
    {
        QString Title;
        Target Destination;
        QList<Bookmark> Children;
    };
    // A clickable rectangle of a page that opens an address or goes to a place.
    struct Link
    {
        int Page = 0;
        QRectF Rect; ///< in PDF units
        QString Uri; ///< empty: Destination
        Target Destination;
    };

    QList<Bookmark> Bookmarks;
    QList<Link> Links;
    QString Title;
    QString Author;
    QString Subject;
    QString Creator;

    /// Reads the PDF file Source, adds the extras and writes the result to
    /// Output; raises TzelException when qpdf cannot read or write it.
    void Apply(const QString &source, QIODevice &output) const;
};
