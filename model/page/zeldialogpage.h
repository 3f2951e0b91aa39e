#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/page/zelpage.h"
#include "model/page/zelpagetypes.h"

/// A window the report shows before it is built, holding dialog controls. The
/// model keeps what a template stores; the window itself belongs to the GUI.
class TzelDialogPage : public TzelPage
{
    ZEL_CLASS(TzelDialogPage, TzelPage)

    /// Creates a dialog page with a Tahoma 8 pt font whose tree parent is Owner.
    explicit TzelDialogPage(TzelComponent *owner = nullptr);

    TzelFormBorderStyle BorderStyle = bsSizeable; ///< the window's border
    QString Caption;                   ///< the window's title
    int Color = clBtnFace;             ///< the window's colour
    bool DoubleBuffered = false;       ///< the window paints off-screen first
    double ClientWidth = 0;            ///< client width, units at 96 dpi; 0: from Width
    double ClientHeight = 0;           ///< client height, units at 96 dpi; 0: from Height
    TzelFormPosition Position = poScreenCenter; ///< where the window opens
    bool Scaled = true;                ///< the window follows the screen's resolution
    TzelWindowState WindowState = wsNormal; ///< normal, minimized or maximized

    // Script procedures called by the window.
    QString OnActivate;   ///< (Sender)
    QString OnClick;      ///< (Sender)
    QString OnDeactivate; ///< (Sender)
    QString OnHide;       ///< (Sender)
    QString OnShow;       ///< (Sender)
    QString OnResize;     ///< (Sender)
    QString OnCloseQuery; ///< (Sender, var CanClose)
    QString OnKeyDown;    ///< (Sender, var Key, Shift)
    QString OnKeyUp;      ///< (Sender, var Key, Shift)
    QString OnKeyPress;   ///< (Sender, var Key)

    /// "Dialog form".
    QString GetDescription() const override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelDialogPage> &p);

protected:
    bool KeepsChildCoordinates() const override { return true; }
};
