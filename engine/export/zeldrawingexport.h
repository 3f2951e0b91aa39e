#pragma once
/// \file

#include "model/report/zelcustomexportfilter.h"

#include <memory>

class Canvas;
class QByteArray;
class QPainter;
class QPainterCanvas;

/// An export filter that draws every object of a page on a canvas of its own,
/// as the preview draws it.
class TzelDrawingExport : public TzelCustomExportFilter
{
public:
    /// A filter; it enters the list of export filters unless made with NoRegister.
    explicit TzelDrawingExport(Registration registration = Register);
    ~TzelDrawingExport() override;

    /// Draws Object when it is a visible view; bands show through their views.
    void ExportObject(TzelComponent *object) override;
    /// The description of the files written (FilterDesc).
    QString GetDescription() const override { return FilterDesc; }

protected:
    /// Device pixels per report unit.
    virtual double Scale() const = 0;
    /// Objects are drawn with Painter, on a device of Dpi dots per inch,
    /// until EndPageDrawing.
    void BeginPageDrawing(QPainter &painter, double dpi);
    /// Ends the drawing begun by BeginPageDrawing.
    void EndPageDrawing();
    /// The file of page Index: FileName with "%d" replaced by the page
    /// number, or with "-N" added before the extension when it has no "%d".
    QString PageFileName(int index) const;
    /// Writes Data as the file of page Index through the transport.
    void WritePageFile(int index, const QByteArray &data);

private:
    std::unique_ptr<QPainterCanvas> FCanvas; // of the page being drawn
};
