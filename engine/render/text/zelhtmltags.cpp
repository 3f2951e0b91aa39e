#include "engine/render/text/zelhtmltags.h"

#include "base/core/zelcaseless.h"
#include "engine/render/canvas/zelcolor.h"
#include "model/component/zelcolors.h"

#include <cmath>
#include <optional>

namespace {

struct NamedColor
{
    QStringView Ident;
    int Value;
};

// The colour idents a template may name, with the desktop's colours as
// system colour values so they follow the same palette as frames and fills.
constexpr NamedColor namedColors[] = {
    {u"clBlack", 0x000000},
    {u"clMaroon", 0x000080},
    {u"clGreen", 0x008000},
    {u"clOlive", 0x008080},
    {u"clNavy", 0x800000},
    {u"clPurple", 0x800080},
    {u"clTeal", 0x808000},
    {u"clGray", 0x808080},
    {u"clSilver", 0xC0C0C0},
    {u"clRed", 0x0000FF},
    {u"clLime", 0x00FF00},
    {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},
    {u"clFuchsia", 0xFF00FF},
    {u"clAqua", 0xFFFF00},
    {u"clWhite", 0xFFFFFF},
    {u"clMoneyGreen", 0xC0DCC0},
    {u"clSkyBlue", 0xF0CAA6},
    {u"clCream", 0xF0FBFF},
    {u"clMedGray", 0xA4A0A0},
    {u"clLtGray", 0xC0C0C0},
    {u"clDkGray", 0x808080},
    {u"clScrollBar", clSystemColor | 0},
    {u"clBackground", clSystemColor | 1},
    {u"clActiveCaption", clSystemColor | 2},
    {u"clInactiveCaption", clSystemColor | 3},
    {u"clMenu", clSystemColor | 4},
    {u"clWindow", clWindow},
    {u"clWindowFrame", clSystemColor | 6},
    {u"clMenuText", clSystemColor | 7},
    {u"clWindowText", clWindowText},
    {u"clCaptionText", clSystemColor | 9},
    {u"clActiveBorder", clSystemColor | 10},
    {u"clInactiveBorder", clSystemColor | 11},
    {u"clAppWorkSpace", clSystemColor | 12},
    {u"clHighlight", clSystemColor | 13},
    {u"clHighlightText", clSystemColor | 14},
    {u"clBtnFace", clBtnFace},
    {u"clBtnShadow", clSystemColor | 16},
    {u"clGrayText", clSystemColor | 17},
    {u"clBtnText", clSystemColor | 18},
    {u"clInactiveCaptionText", clSystemColor | 19},
    {u"clBtnHighlight", clSystemColor | 20},
    {u"cl3DDkShadow", clSystemColor | 21},
    {u"cl3DLight", clSystemColor | 22},
    {u"clInfoText", clSystemColor | 23},
    {u"clInfoBk", clSystemColor | 24},
    {u"clHotLight", clSystemColor | 26},
    {u"clGradientActiveCaption", clSystemColor | 27},
    {u"clGradientInactiveCaption", clSystemColor | 28},
    {u"clMenuHighlight", clSystemColor | 29},
    {u"clMenuBar", clSystemColor | 30},
};

// "#RRGGBB", or a colour name that is an ident without its "cl".
std::optional<int> colorValue(QStringView value)
{
    if (value.startsWith(u'#')) {
        if (value.size() != 7)
            return std::nullopt;
        bool ok = false;
        const uint rgb = value.sliced(1).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return int(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
    }
    for (const NamedColor &c : namedColors)
        if (zelSameName(c.Ident.sliced(2), value))
            return c.Value;
    return std::nullopt;
}

// Value of a tag of the form: font color = "value" (quotes optional).
std::optional<int> fontColor(QStringView tag)
{
    if (tag.size() < 5 || !zelSameName(tag.first(4), u"font") || !tag[4].isSpace())
        return std::nullopt;
    QStringView rest = tag.sliced(5).trimmed();
    if (rest.size() < 5 || !zelSameName(rest.first(5), u"color"))
        return std::nullopt;
    rest = rest.sliced(5).trimmed();
    if (!rest.startsWith(u'='))
        return std::nullopt;
    rest = rest.sliced(1).trimmed();
    if (!rest.isEmpty() && (rest.front() == u'"' || rest.front() == u'\'')) {
        if (rest.size() < 2 || rest.back() != rest.front())
            return std::nullopt;
        rest = rest.sliced(1, rest.size() - 2);
    }
    return colorValue(rest);
}

// Index of the ">" closing a tag opened at Start, or -1: a tag holds no "<".
qsizetype tagEnd(QStringView line, qsizetype start)
{
    for (qsizetype i = start + 1; i < line.size(); ++i) {
        if (line[i] == u'>')
            return i;
        if (line[i] == u'<')
            return -1;
    }
    return -1;
}

} // namespace

void TzelHTMLTagsList::SetDefaults(int color, int size, TzelFontStyles style)
{
    FLines.clear();
    FColor = FDefColor = color;
    FSize = FDefSize = size;
    FStyle = FDefStyle = style;
    FAddY = 0;
    FPosition = 0;
    FDontWRAP = false;
    FSubStyle = ssNormal;
}

TzelHTMLTag TzelHTMLTagsList::State() const
{
    TzelHTMLTag tag;
    tag.Position = FPosition;
    tag.Size = FSize;
    tag.AddY = FAddY;
    tag.Style = FStyle;
    tag.Color = FColor;
    tag.Small = FSubStyle != ssNormal;
    tag.DontWRAP = FDontWRAP;
    tag.SubType = FSubStyle;
    return tag;
}

void TzelHTMLTagsList::SetSubStyle(TzelSubStyle value)
{
    FSubStyle = value;
    FSize = value == ssNormal ? FDefSize : int(std::lround(FDefSize / 1.5));
    FAddY = value == ssSubscript ? 1 : 0;
}

bool TzelHTMLTagsList::ApplyTag(QStringView tag)
{
    const bool closing = tag.startsWith(u'/');
    const QStringView name = closing ? tag.sliced(1) : tag;
    const auto style = [&](TzelFontStyle s) {
        if (closing)
            FStyle.Exclude(s);
        else
            FStyle.Include(s);
        return true;
    };
    if (zelSameName(name, u"b"))
        return style(fsBold);
    if (zelSameName(name, u"i"))
        return style(fsItalic);
    if (zelSameName(name, u"u"))
        return style(fsUnderline);
    if (zelSameName(name, u"s") || zelSameName(name, u"strike"))
        return style(fsStrikeOut);
    if (zelSameName(name, u"sub") || zelSameName(name, u"sup")) {
        SetSubStyle(closing ? ssNormal : zelSameName(name, u"sub") ? ssSubscript : ssSuperscript);
        return true;
    }
    if (zelSameName(name, u"nowrap")) {
        FDontWRAP = !closing;
        return true;
    }
    if (closing) {
        if (!zelSameName(name, u"font"))
            return false;
        FColor = FDefColor;
        return true;
    }
    const std::optional<int> color = fontColor(name);
    if (!color)
        return false;
    FColor = *color;
    return true;
}

QString TzelHTMLTagsList::Strip(QStringView line, TzelHTMLTags *tags, std::vector<int> *sourceIndex)
{
    const qsizetype n = line.size();
    if (sourceIndex)
        sourceIndex->clear();
    if (tags)
        tags->reserve(size_t(n));
    const bool parse = FAllowTags && line.contains(u'<');
    QString plain;
    plain.reserve(n);
    TzelHTMLTag previous = State();
    for (qsizetype i = 0; i < n; ++i) {
        if (parse && line[i] == u'<') {
            const qsizetype end = tagEnd(line, i);
            if (end > 0 && ApplyTag(line.sliced(i + 1, end - i - 1))) {
                i = end;
                continue;
            }
        }
        plain.append(line[i]);
        if (sourceIndex)
            sourceIndex->push_back(int(i));
        if (tags) {
            TzelHTMLTag tag = State();
            tag.Position = FPosition++;
            tag.Default = tag.SameLook(previous);
            previous = tag;
            tags->push_back(tag);
        }
    }
    return plain;
}

void TzelHTMLTagsList::ExpandHTMLTags(QString &line, std::vector<int> *sourceIndex)
{
    TzelHTMLTags &tags = FLines.emplace_back();
    line = Strip(line, &tags, sourceIndex);
    if (line.isEmpty()) {
        line = QStringLiteral(" ");
        tags.push_back(State());
        ++FPosition;
        if (sourceIndex)
            sourceIndex->push_back(0);
    }
    FPosition += 2;
}

QString TzelHTMLTagsList::DeleteTags(const QString &text)
{
    TzelHTMLTagsList parser;
    parser.SetAllowTags(true);
    return parser.Strip(text, nullptr, nullptr);
}

QString TzelHTMLTagsList::OpeningTags(const TzelHTMLTag &tag)
{
    QString tags;
    if (tag.Style.Contains(fsBold))
        tags += QStringLiteral("<b>");
    if (tag.Style.Contains(fsItalic))
        tags += QStringLiteral("<i>");
    if (tag.Style.Contains(fsUnderline))
        tags += QStringLiteral("<u>");
    if (tag.Style.Contains(fsStrikeOut))
        tags += QStringLiteral("<s>");
    if (tag.SubType == ssSubscript)
        tags += QStringLiteral("<sub>");
    else if (tag.SubType == ssSuperscript)
        tags += QStringLiteral("<sup>");
    if (tag.DontWRAP)
        tags += QStringLiteral("<nowrap>");
    const QColor color = zelQColor(tag.Color);
    return tags + QString::asprintf("<font color=\"#%02X%02X%02X\">", color.red(), color.green(), color.blue());
}
