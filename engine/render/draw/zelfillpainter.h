#pragma once
/// \file

#include <QRect>

class Canvas;
class TzelCustomFill;

/// Paints Fill over Area, in device pixels: a brush's back colour and hatch,
/// a gradient's stripes, rings or ellipses, or a glass fill's two halves.
void zelDrawFill(const TzelCustomFill &fill, Canvas &canvas, const QRect &area);
