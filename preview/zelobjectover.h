#pragma once
/// \file

#include "model/view/zelhyperlink.h"

#include <QPointF>
#include <QString>

class TzelCustomPreviewPages;
class TzelReport;

/// A mouse event on the preview's pages, as the objects receive it.
enum class TzelPageMouseEvent { Move, Down, Up, Click, DoubleClick };

/// What the preview is to do after an object had a mouse event.
struct TzelObjectOverResult
{
    Qt::CursorShape Cursor = Qt::ArrowCursor; ///< the cursor over the point
    QString Hint;                             ///< the object's hint, empty for none
    bool Redraw = false;                      ///< an object changed: draw its page again
    bool FollowLink = false;                  ///< Link is to be followed
    TzelHyperlink Link;                       ///< the clicked object's link
    bool ToggleDrill = false;                 ///< DrillName is to be folded or unfolded
    QString DrillName;                        ///< the clicked group header's fold state
};

/// Mouse events on the objects of prepared pages: the object under the mouse
/// gets its script events (entering, leaving, buttons, clicks), interactive
/// highlights take effect, and a click finds the link or foldable group
/// header it lands on. An object a script or highlight changed is stored
/// back into its page. The object last under the mouse is remembered by page
/// and position, as page objects are rebuilt on demand.
class TzelObjectOver
{
public:
    /// Handles Event at Point (report units from the page's top-left corner)
    /// of page Index.
    TzelObjectOverResult Handle(TzelReport *report, TzelCustomPreviewPages &pages, int index, QPointF point,
                                TzelPageMouseEvent event, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    /// The mouse left the pages: the object last under it gets its leave
    /// event; True when its page is to be drawn again.
    bool FireMouseLeave(TzelReport *report, TzelCustomPreviewPages *pages);
    /// Forgets the object last under the mouse (the pages changed).
    void Forget() { FLastPage = FLastObject = -1; }

private:
    int FLastPage = -1;
    int FLastObject = -1;
};
