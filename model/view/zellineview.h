#pragma once

#include "model/view/zelcustomlineview.h"

// The line object of templates: drawn with its frame's colour, style and
// width, horizontal or vertical unless diagonal, with optional arrows.
class TzelLineView : public TzelCustomLineView
{
    ZEL_CLASS(TzelLineView, TzelCustomLineView)

    /// Creates a line whose tree parent is Owner.
    explicit TzelLineView(TzelComponent *owner = nullptr);

    bool ArrowEnd = false;   ///< an arrow head at the end
    int ArrowLength = 20;    ///< length of an arrow head
    bool ArrowSolid = false; ///< arrow heads are filled with the colour
    bool ArrowStart = false; ///< an arrow head at the start
    int ArrowWidth = 5;      ///< half width of an arrow head
    bool Diagonal = false;   ///< runs from corner to corner

    /// 0 plain, 1 diagonal, 2 diagonal with an end arrow, 3 with a start
    /// arrow, 4 with both.
    void ApplyDesignFlags(int flags) override;

    static void Publish(TzelPublisher<TzelLineView> &p);
};
