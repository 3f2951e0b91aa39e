#pragma once
/// \file

class TzelPictureView;

/// Where a picture object hands its picture when it is stored by number
/// rather than by content: the picture cache of the prepared pages being
/// written, or the designer's own cache for undo and the clipboard.
class TzelPictureStore
{
public:
    virtual ~TzelPictureStore() = default;
    /// Stores Picture's picture and sets its ImageIndex (0 when it has none).
    virtual void AddPicture(TzelPictureView *picture) = 0;
};
