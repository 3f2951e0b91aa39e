#pragma once
/// \file

#include <QSize>

class Canvas;
class TzelReportPage;

// A report page as the designer shows it: the paper, its margins, each band
// under its caption strip with its fill and frame, and the objects on it as
// written (expressions unevaluated).

/// The height of a band's caption strip in report units (5 mm).
constexpr double zelBandCaptionHeight = 18.89765;

/// The size in pixels of Page's paper at Scale pixels per report unit.
QSize zelDesignPageSize(const TzelReportPage &page, double scale);
/// Draws Page at Scale pixels per report unit, its paper's top-left corner at the canvas origin.
void zelDrawDesignPage(const TzelReportPage &page, Canvas &canvas, double scale);
