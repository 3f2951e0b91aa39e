#pragma once
/// \file

#include "engine/render/canvas/zelfontface.h"

#include <QString>
#include <QStringList>
#include <memory>

/// Turns the face names templates use into installed faces, the same way for
/// measuring and drawing. A name that is installed is used as it is; otherwise
/// the first installed of its stand-ins: Arial -> Liberation Sans, Times New
/// Roman -> Liberation Serif, Courier New -> Liberation Mono (the same widths
/// as the faces they stand for), Tahoma and MS Sans Serif -> the Wine faces of
/// those names, then DejaVu Sans; any other name -> Liberation Sans, then
/// DejaVu Sans. The name stored in the template never changes.
class TzelFontResolver
{
public:
    /// The installed family that draws Name.
    static QString Family(const QString &name);
    /// The faces tried for Name, in order (Name first).
    static QStringList Candidates(const QString &name);
    /// The shared face for Name at PixelSize (em height) with Style. Faces are
    /// kept for the next caller; the least recently used go beyond a few hundred.
    static std::shared_ptr<const TzelFontFace> Face(const QString &name, double pixelSize, TzelFontStyles style);
};
