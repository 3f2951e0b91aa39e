#pragma once
/// \file

#include "engine/render/text/zelhtmltag.h"

#include <QString>
#include <QStringView>
#include <vector>

/// The small set of HTML-like tags a text may carry: `<b>`, `<i>`, `<u>`, `<s>` or
/// `<strike>`, `<font color=...>`, `<sub>`, `<sup>`, `<nowrap>` and their closing forms,
/// names in any case. A tag that does not parse stays in the text. The look
/// set by a tag goes on across lines until it is closed.
class TzelHTMLTagsList
{
public:
    /// Whether tags are recognised; when not, every character is text.
    bool AllowTags() const { return FAllowTags; }
    /// Sets AllowTags.
    void SetAllowTags(bool value) { FAllowTags = value; }

    /// Forgets the lines and starts a text whose untagged characters have
    /// Color, Size (points) and Style.
    void SetDefaults(int color, int size, TzelFontStyles style);
    /// The look the next character gets unless a tag changes it.
    TzelHTMLTag State() const;

    /// Removes the tags from Line and appends the records of the characters
    /// left as the next line. A line left empty becomes one blank, so every
    /// line has a character. Positions go on from the previous line plus the
    /// line break (two characters) that joins them. SourceIndex, when given,
    /// receives for every character left its index in the original Line.
    void ExpandHTMLTags(QString &line, std::vector<int> *sourceIndex = nullptr);
    /// The number of lines.
    int Count() const { return int(FLines.size()); }
    /// The records of line Index, one per character.
    const TzelHTMLTags &Items(int index) const { return FLines[size_t(index)]; }

    /// Text with every tag that parses removed.
    static QString DeleteTags(const QString &text);
    /// The tags that give text starting without tags the look of Tag:
    /// its styles, its vertical placement, no-wrap, then its colour.
    static QString OpeningTags(const TzelHTMLTag &tag);

private:
    QString Strip(QStringView line, TzelHTMLTags *tags, std::vector<int> *sourceIndex);
    bool ApplyTag(QStringView tag);
    void SetSubStyle(TzelSubStyle value);

    bool FAllowTags = false;
    int FColor = 0;
    int FDefColor = 0;
    int FSize = 10;
    int FDefSize = 10;
    TzelFontStyles FStyle;
    TzelFontStyles FDefStyle;
    int FAddY = 0;
    int FPosition = 0;
    bool FDontWRAP = false;
    TzelSubStyle FSubStyle = ssNormal;
    std::vector<TzelHTMLTags> FLines;
};
