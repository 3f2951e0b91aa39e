#pragma once
/// \file

class Canvas;

/// Where a view is drawn: the canvas, the scale and offset, and the device
/// rectangle worked out from them when drawing begins.
struct TzelViewDrawState
{
    Canvas *Target = nullptr;  ///< the canvas drawn on
    double ScaleX = 1;         ///< device pixels per report unit, horizontally
    double ScaleY = 1;         ///< the same vertically
    double OffsetX = 0;        ///< device position of the page's left edge
    double OffsetY = 0;        ///< device position of the page's top edge
    double PrintScale = 1;     ///< extra scale of printed text (the memo's FPrintScale)
    bool Designing = false;    ///< drawn in the designer: corner marks, field names
    bool OnDataPage = false;   ///< the view lies on a data page: no corner marks

    int X = 0;           ///< left edge in device pixels
    int Y = 0;           ///< top edge
    int X1 = 0;          ///< right edge (exclusive)
    int Y1 = 0;          ///< bottom edge (exclusive)
    int FrameWidth = 0;  ///< the frame width in device pixels

    /// Width and height in device pixels.
    int DX() const { return X1 - X; }
    /// Height in device pixels.
    int DY() const { return Y1 - Y; }
};
