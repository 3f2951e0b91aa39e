#pragma once
/// \file

#include "script/engine/kvrttimodule.h"

/// The drawing classes of scripts: TFont, TPen, TBrush, TCanvas, TGraphic,
/// TBitmap, TMetafile, TMetafileCanvas and TPicture over Qt's painter, with
/// their style enumerations. They descend from the basic classes' TPersistent.
class TkvGraphicsRTTI : public TkvRTTIModule
{
public:
    /// Registers into Script.
    explicit TkvGraphicsRTTI(TkvScript *script);
};
