#pragma once
/// \file

#include "engine/export/zeldrawingexport.h"

#include <QBuffer>
#include <memory>

class QPainter;
class QSvgGenerator;

/// Writes every page as an SVG file, one report unit (1/96 inch) a user unit.
class TzelSVGExport : public TzelDrawingExport
{
public:
    /// An SVG filter; it enters the list of export filters unless made with NoRegister.
    explicit TzelSVGExport(Registration registration = Register);
    ~TzelSVGExport() override;

    void StartPage(TzelReportPage *page, int index) override;
    void FinishPage(TzelReportPage *page, int index) override;

protected:
    double Scale() const override { return 1; }

private:
    QBuffer FBuffer;
    std::unique_ptr<QSvgGenerator> FGenerator;
    std::unique_ptr<QPainter> FPainter;
};
