#pragma once
/// \file

#include "engine/export/zeldrawingexport.h"

#include <QImage>
#include <memory>

class QPainter;

/// Writes every page as a PNG file, anti-aliased, at Resolution dots per inch.
class TzelPNGExport : public TzelDrawingExport
{
public:
    /// A PNG filter; it enters the list of export filters unless made with NoRegister.
    explicit TzelPNGExport(Registration registration = Register);
    ~TzelPNGExport() override;

    void StartPage(TzelReportPage *page, int index) override;
    void FinishPage(TzelReportPage *page, int index) override;

    int Resolution = 96; ///< dots per inch

protected:
    double Scale() const override { return Resolution / 96.0; }

private:
    QImage FImage;
    std::unique_ptr<QPainter> FPainter;
};
