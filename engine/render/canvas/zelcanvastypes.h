#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/component/zelcomponenttypes.h"
#include "model/view/zelviewtypes.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

// The values one drawing call of a Canvas takes. Colours are the model's
// (0x00BBGGRR, clNone for none, negative for the desktop's named colours);
// lengths are device pixels.

/// Patterns of a pen.
enum class TzelPenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, Custom };

/// Ends of a pen's lines.
enum class TzelPenCap { Square, Flat, Round };

/// How lines are stroked.
struct TzelCanvasPen
{
    int Color = clBlack;                       ///< the line colour; clNone draws nothing
    double Width = 1;                          ///< in pixels; at most 1 is a one-pixel line
    TzelPenStyle Style = TzelPenStyle::Solid;  ///< the pattern
    TzelPenCap Cap = TzelPenCap::Square;       ///< the line ends
    QList<double> Dashes{};                      ///< dash and gap lengths in pixels, for Custom

    /// Pens are equal when every setting is.
    bool operator==(const TzelCanvasPen &) const = default;
    /// Whether the pen draws anything.
    bool IsVisible() const { return Style != TzelPenStyle::Clear && Color != clNone; }
};

/// How areas are filled: a colour, or a hatch in that colour over what is beneath.
struct TzelCanvasBrush
{
    int Color = clNone;              ///< clNone fills nothing
    TzelBrushStyle Style = bsSolid;  ///< bsClear fills nothing

    /// Brushes are equal when every setting is.
    bool operator==(const TzelCanvasBrush &) const = default;
    /// Whether the brush fills anything.
    bool IsVisible() const { return Style != bsClear && Color != clNone; }
};

/// A font as drawn: the model's face name and style at a size in device pixels.
struct TzelCanvasFont
{
    QString Name{};             ///< the face as the template names it ("Arial")
    double PixelSize = 13;    ///< em height in device pixels
    TzelFontStyles Style{};     ///< bold, italic, underline, strike-out
    int Color = clBlack;      ///< text colour

    /// Fonts are equal when every setting is.
    bool operator==(const TzelCanvasFont &) const = default;
};

/// Flags of a text call.
enum TzelTextFlag {
    tfClipped = 4,       ///< drawn only inside Clip
    tfRTLReading = 128,  ///< reads right to left: the first character at the run's right end
};

/// One run of text: characters placed by explicit advances.
struct TzelCanvasText
{
    QPointF Origin{};          ///< top-left of the first character cell, before rotation
    QString Text{};            ///< the characters, in reading order
    QList<double> Advances{};  ///< per character, in pixels; empty: the font's own widths
    TzelCanvasFont Font{};     ///< face, size, style and colour
    double Angle = 0;        ///< rotation about Origin, degrees counter-clockwise
    int Flags = 0;           ///< TzelTextFlag values
    QRectF Clip{};             ///< the clip rectangle with tfClipped

    /// Text runs are equal when every setting is.
    bool operator==(const TzelCanvasText &) const = default;
};
