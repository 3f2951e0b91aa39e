#pragma once
/// \file

#include "model/view/zelpicture.h"
#include "model/view/zelview.h"

class QIODevice;

/// A picture object: a PNG or JPEG picture drawn stretched, centred or at its
/// own size. The picture comes from the template, a file, a data field or the
/// prepared report's picture cache (by ImageIndex).
class TzelPictureView : public TzelView
{
    ZEL_CLASS(TzelPictureView, TzelView)

    /// Creates a picture object whose tree parent is Owner.
    explicit TzelPictureView(TzelComponent *owner = nullptr);
    ~TzelPictureView() override;

    QString GetDescription() const override;

    bool Center = false;          ///< the picture is centred in the object
    QString FileLink;             ///< file name, or expression giving it, of the picture
    int ImageIndex = 0;           ///< 1-based entry of a picture cache; 0 for none
    bool KeepAspectRatio = true;  ///< stretching keeps the proportions
    bool Stretched = true;        ///< the picture fills the object
    bool HightQuality = false;    ///< smooth resampling when scaled
    bool Transparent = false;     ///< TransparentColor is not drawn
    int TransparentColor = clWhite; ///< the colour left out when Transparent

    /// Whether the object takes the picture's size.
    bool AutoSize() const { return FAutoSize; }
    /// True sets Width and Height to the picture's size when there is one.
    void SetAutoSize(bool value);
    /// The picture.
    TzelPicture &Picture() { return FPicture; }
    /// Read-only access.
    const TzelPicture &Picture() const { return FPicture; }
    /// Copies Value's picture.
    void SetPicture(const TzelPicture &value) { FPicture = value; }
    /// Loads the picture from Stream, from its start unless ResetStreamPos is False.
    void LoadPictureFromStream(QIODevice *stream, bool resetStreamPos = true);
    /// Loads the picture from the file FileName.
    void LoadFromFile(const QString &fileName) { FPicture.LoadFromFile(fileName); }

    /// Set by every change of the picture; the prepared report's picture
    /// store clears it once it holds the picture.
    bool PictureChanged = false;
    /// Whether templates store the picture (the designer's undo stores
    /// ImageIndex instead).
    bool StorePicture = true;
    /// Whether templates store ImageIndex.
    bool StoreImageIndex = false;

    /// Hands a changed picture to the report's picture store first (which
    /// sets ImageIndex), then: a blank, the view's differences, ImageIndex
    /// always, and Transparent and TransparentColor when not the defaults.
    QString Diff(const TzelComponent *other) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelPictureView> &p);

private:
    void PictureChangedNotify();
    void ApplyAutoSize();
    bool IsPictureStored() const { return StorePicture; }
    bool IsImageIndexStored() const { return StoreImageIndex; }

    bool FAutoSize = false;
    TzelPicture FPicture;
};
