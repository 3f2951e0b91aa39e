#include "model/report/zelpreviewoptions.h"

void TzelPreviewOptions::Clear()
{
    OutlineExpand = true;
    OutlineVisible = false;
    OutlineWidth = 120;
    PagesInCache = 50;
    ThumbnailVisible = false;
}

void TzelPreviewOptions::Publish(TzelPublisher<TzelPreviewOptions> &p)
{
    using T = TzelPreviewOptions;
    p.Prop("AllowEdit", &T::AllowEdit).Default(true);
    p.Prop("AllowPreviewEdit", &T::AllowPreviewEdit).Default(true);
    p.Prop("Buttons", &T::Buttons).Type("TzelPreviewButtons");
    p.Prop("DoubleBuffered", &T::DoubleBuffered).Default(true);
    p.Prop("Maximized", &T::Maximized).Default(true);
    p.Prop("MDIChild", &T::MDIChild).Default(false);
    p.Prop("Modal", &T::Modal).Default(true);
    p.Prop("OutlineExpand", &T::OutlineExpand).Default(true);
    p.Prop("OutlineVisible", &T::OutlineVisible).Default(false);
    p.Prop("OutlineWidth", &T::OutlineWidth).Default(120);
    p.Prop("PagesInCache", &T::PagesInCache).Default(50);
    p.Prop("ThumbnailVisible", &T::ThumbnailVisible).Default(false);
    p.Prop("ShowCaptions", &T::ShowCaptions).Default(false);
    p.Prop("Zoom", &T::Zoom);
    p.Prop("ZoomMode", &T::ZoomMode).Default(zmDefault);
    p.Prop("PictureCacheInFile", &T::PictureCacheInFile).Default(false);
}
