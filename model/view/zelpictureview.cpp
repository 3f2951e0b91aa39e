#include "model/view/zelpictureview.h"

#include "base/resources/zelresources.h"
#include "model/component/zeldiffwriter.h"
#include "model/component/zelreportcontext.h"
#include "model/component/zelpicturestore.h"

#include <QIODevice>

TzelPictureView::TzelPictureView(TzelComponent *owner)
    : TzelView(owner)
{
    qzComponentStyle.Exclude(csDefaultDiff);
    FPicture.OnChange = [this] { PictureChangedNotify(); };
}

TzelPictureView::~TzelPictureView() = default;

QString TzelPictureView::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obPicture"));
}

void TzelPictureView::SetAutoSize(bool value)
{
    FAutoSize = value;
    ApplyAutoSize();
}

void TzelPictureView::ApplyAutoSize()
{
    if (!FAutoSize || FPicture.IsEmpty())
        return;
    SetWidth(FPicture.Width());
    SetHeight(FPicture.Height());
}

void TzelPictureView::PictureChangedNotify()
{
    PictureChanged = true;
    ApplyAutoSize();
}

void TzelPictureView::LoadPictureFromStream(QIODevice *stream, bool resetStreamPos)
{
    if (resetStreamPos)
        stream->seek(0);
    FPicture.LoadFromStream(stream);
}

QString TzelPictureView::Diff(const TzelComponent *other)
{
    const TzelReportContext *report = Context();
    if (TzelPictureStore *store = report ? report->PictureStore() : nullptr; store && PictureChanged) {
        store->AddPicture(this);
        PictureChanged = false;
    }
    // The picture's text starts with a blank of its own; readers skip it.
    QString s = u' ' + TzelView::Diff(other);
    TzelDiffWriter d(s);
    d.Add("ImageIndex", QString::number(ImageIndex));
    if (Transparent)
        d.Add("Transparent", TzelDiffWriter::BoolText(true));
    if (TransparentColor != clWhite)
        d.Add("TransparentColor", QString::number(TransparentColor));
    return s;
}

void TzelPictureView::Publish(TzelPublisher<TzelPictureView> &p)
{
    using T = TzelPictureView;
    using V = TzelView;
    p.Prop("Cursor", &V::Cursor).Default(0).Type("TCursor");
    p.Prop("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(false);
    p.Prop("Center", &T::Center).Default(false);
    p.Prop("DataField", &V::DataField);
    zelPublishDataSetLink(p, &T::FDataSet);
    p.Object("Frame", &V::Frame);
    p.Prop("FillType", &V::FillType, &V::SetFillType).Default(ftBrush);
    p.Object("Fill", &V::Fill);
    p.Prop("FileLink", &T::FileLink);
    p.Prop("ImageIndex", &T::ImageIndex).StoredIf(&T::IsImageIndexStored);
    p.Prop("KeepAspectRatio", &T::KeepAspectRatio).Default(true);
    p.Object("Picture", &T::FPicture).StoredIf(&T::IsPictureStored);
    p.Prop("Stretched", &T::Stretched).Default(true);
    p.Prop("TagStr", &V::TagStr);
    p.Prop("URL", &V::URL, &V::SetURL).NotStored();
    p.Prop("HightQuality", &T::HightQuality);
    p.Prop("Transparent", &T::Transparent);
    p.Color("TransparentColor", &T::TransparentColor);
}
