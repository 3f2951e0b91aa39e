#pragma once
/// \file

#include "model/component/zelcomponenttypes.h"

#include <vector>

/// Vertical placement of a character: on the line, lowered or raised and smaller.
enum TzelSubStyle { ssNormal, ssSubscript, ssSuperscript };

/// The look of one character of a text formatted with tags.
struct TzelHTMLTag
{
    int Position = 0;                 ///< index of the character in the plain text
    int Size = 0;                     ///< font size in points
    int AddY = 0;                     ///< downward offset in font sizes: 1 for a subscript
    TzelFontStyles Style;             ///< bold, italic, underline, strike-out
    int Color = 0;                    ///< text colour
    bool Default = true;              ///< looks like the character before it: the run goes on
    bool Small = false;               ///< drawn at the reduced size of a subscript or superscript
    bool DontWRAP = false;            ///< inside a no-wrap pair: a blank here is no break
    TzelSubStyle SubType = ssNormal;  ///< normal, subscript or superscript

    /// Whether both characters are drawn alike (the same font, colour and offset).
    bool SameLook(const TzelHTMLTag &other) const
    {
        return Size == other.Size && AddY == other.AddY && Style == other.Style && Color == other.Color;
    }
};

/// The tags of the characters of one line of a text, in order.
using TzelHTMLTags = std::vector<TzelHTMLTag>;
