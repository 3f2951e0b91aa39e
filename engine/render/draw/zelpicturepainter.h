#pragma once
/// \file

struct TzelViewDrawState;
class TzelPictureView;

/// Draws Picture after begin-draw: background, the picture placed and
/// clipped to the object, frame, corner marks; an empty picture shows a
/// placeholder in the designer.
void zelDrawPicture(const TzelPictureView &picture, const TzelViewDrawState &state);
