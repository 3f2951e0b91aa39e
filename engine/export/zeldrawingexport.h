#pragma once

#include "model/report/zelcustomexportfilter.h"

class Canvas;
class QByteArray;

// An export filter that draws every object of a page on a canvas of its own,
// as the preview draws it.
class TzelDrawingExport : public TzelCustomExportFilter
{
public:
    using TzelCustomExportFilter::TzelCustomExportFilter;

    /// Draws Object when it is a visible view; bands show through their views.
    void ExportObject(TzelComponent *object) override;

protected:
    /// The canvas of the page being exported; nullptr outside a page.
    virtual Canvas *PageCanvas() = 0;
    /// Device pixels per report unit.
    virtual double Scale() const = 0;
    /// The file of page Index: FileName with "%d" replaced by the page
    /// number, or with "-N" added before the extension when it has no "%d".
    QString PageFileName(int index) const;
    /// Writes Data as the file of page Index through the transport.
    void WritePageFile(int index, const QByteArray &data);
};
