#pragma once
/// \file

#include <QStringList>

class TzelComponent;
class TzelCustomMemoView;

/// While it lives, a text object of a built page shows what only a finished
/// report knows: the page count and the copy's name in its macros, and the
/// width of its text with AutoWidth. Then the stored text comes back, so the
/// page can be drawn or exported again with other values.
class TzelSettledText
{
public:
    /// Settles Object when it is a text object; other objects stay as they are.
    TzelSettledText(TzelComponent *object, int totalPages, int copyNo);
    /// Gives the text object its stored text back.
    ~TzelSettledText();
    TzelSettledText(const TzelSettledText &) = delete;
    TzelSettledText &operator=(const TzelSettledText &) = delete;

private:
    TzelCustomMemoView *FMemo;
    QStringList FText;
};
