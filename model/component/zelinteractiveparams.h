#pragma once
/// \file

class TzelComponent;

/// Who sends an interactive event.
enum TzelEventSender { esDesigner, esPreview };
/// Grid of the designer's workspace.
enum TzelGridType { gt1pt, gt1cm, gt1in, gtDialog, gtChar, gtNone };

/// What travels with a mouse event from the preview or the designer to the
/// objects of a page and their in-place editors.
struct TzelInteractiveEventsParams
{
    void *Sender = nullptr;                ///< the control that sends the event
    bool Refresh = false;                  ///< out: the control must repaint
    bool Modified = false;                 ///< out: an object was changed
    bool FireParentEvent = false;          ///< in/out: tell the parent too
    TzelEventSender EventSender = esDesigner; ///< designer or preview
    bool PopupVisible = false;             ///< a popup menu is open
    bool EditRestricted = false;           ///< editing in the preview is not allowed
    double OffsetX = 0;                    ///< offset of the page on the control
    double OffsetY = 0; ///< vertical offset of the page on the control
    double Scale = 1;                      ///< zoom
    int DevicePPI = 96;                    ///< pixels per inch of the control
    bool GridAlign = false;                ///< snap to the grid
    TzelGridType GridType = gtNone;        ///< the grid's unit
    double GridX = 0;                      ///< grid step, horizontally
    double GridY = 0;                      ///< grid step, vertically
    TzelComponent *Handled = nullptr;      ///< out: the object that consumed the event
};
