#include "engine/render/text/zeldrawtext.h"

#include "engine/render/canvas/zelcanvas.h"
#include "engine/render/canvas/zelfontresolver.h"
#include "model/component/zelfont.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Reference pixels per report unit.
constexpr double refPerUnit = 600.0 / 96.0;

std::recursive_mutex &layoutSection()
{
    static std::recursive_mutex section;
    return section;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// What slot Index of Count gets when Total whole pixels are spread evenly:
// the quotient, and one more at evenly spaced slots for the remainder.
int spread(qint64 total, qint64 count, qint64 index)
{
    return int(floorDiv((index + 1) * total, count) - floorDiv(index * total, count));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == QChar::Nbsp;
}

bool isPairTrail(QStringView text, qsizetype i)
{
    return i > 0 && text[i].isLowSurrogate() && text[i - 1].isHighSurrogate();
}

// Bold and italic change the widths; underline and strike-out do not, so
// measuring shares one face for them.
int faceSlot(TzelFontStyles style)
{
    return (style.Contains(fsBold) ? 1 : 0) | (style.Contains(fsItalic) ? 2 : 0);
}

TzelFontStyles widthStyle(TzelFontStyles style)
{
    return TzelFontStyles::FromBits(style.Bits() & TzelFontStyles{fsBold, fsItalic}.Bits());
}

// Font height in device pixels of Points on Canvas: printers go by their
// resolution, screens by the zoom.
int devicePixels(double points, const Canvas &canvas, double scaleY, double printScale)
{
    return qRound(canvas.IsPrinter() ? points * canvas.DpiY() * printScale / 72 : points * scaleY * 96 / 72);
}

// Hyphenation of Cyrillic words, on upper-case letters.
constexpr QStringView consonants = u"БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ";
constexpr QStringView vowels = u"АЕЁИОУЫЭЮЯ";

bool isVowel(QChar c)
{
    return vowels.contains(c);
}

bool isConsonant(QChar c)
{
    return consonants.contains(c);
}

bool breaksBefore(QStringView word, qsizetype p)
{
    const QChar before = word[p - 1];
    const QChar after = word[p];
    if (isConsonant(before))
        return after.isLetter() && !isVowel(after) && after != u'Ь' && after != u'Ъ';
    if (!isVowel(before) || after == u'Й')
        return false;
    const bool doubledThenVowel = p + 2 < word.size() && isConsonant(after) && word[p + 1] == after
                                  && isVowel(word[p + 2]);
    return !doubledThenVowel;
}

// A part left by a hyphen must be a syllable: two letters or more, a vowel among them.
bool isSyllable(QStringView part)
{
    int letters = 0;
    bool vowel = false;
    for (QChar c : part) {
        letters += c.isLetter() ? 1 : 0;
        vowel = vowel || isVowel(c);
    }
    return letters >= 2 && vowel;
}

bool endsWord(QChar c)
{
    return c == u' ' || c == u'.' || c == u',' || c == u'-' || c == u';';
}

} // namespace

struct TzelDrawText::Paragraph
{
    int PlainStart = 0;       // first character in FPlainText
    int Length = 0;           // characters, tags removed
    int SrcStart = 0;         // its span in FSource, tags included
    int SrcEnd = 0;
    TzelHTMLTag StartState;   // the look before its first tag
};

struct TzelDrawText::Line
{
    int Paragraph = 0;
    int Start = 0;            // first character, counted in the paragraph
    int Length = 0;
    int Flags = 0;            // 1 first line of its paragraph, 2 last line
    bool Hyphen = false;      // drawn with "-" after it
    double Width = 0;         // reference pixels: spacing and hyphen included
    int SrcStart = 0;         // its span in FSource
    int SrcEnd = 0;
};

// What drawing on one canvas needs besides the layout.
struct TzelDrawText::Device
{
    Canvas &Target;
    Canvas *Vector;
    QString FontName;
    double ScaleY;
    double PrintScale;
    QPointF U;  // one pixel along a line
    QPointF V;  // one pixel down from a line to the next
    std::array<std::shared_ptr<const TzelFontFace>, 8> Faces{};

    int PixelSize(int points) const { return devicePixels(points, Target, ScaleY, PrintScale); }

    const TzelFontFace &Face(const TzelHTMLTag &tag)
    {
        std::shared_ptr<const TzelFontFace> &face = Faces[size_t(faceSlot(tag.Style) | (tag.Small ? 4 : 0))];
        if (!face)
            face = TzelFontResolver::Face(FontName, PixelSize(tag.Size), widthStyle(tag.Style));
        return *face;
    }

    void Output(const TzelCanvasText &text) const
    {
        Target.DrawText(text);
        if (Vector)
            Vector->DrawText(text);
    }
};

TzelDrawText::TzelDrawText()
{
    SetFont(TzelFont());
}

TzelDrawText::~TzelDrawText() = default;

void TzelDrawText::Lock()
{
    layoutSection().lock();
}

void TzelDrawText::Unlock()
{
    layoutSection().unlock();
}

void TzelDrawText::LockCanvas()
{
    FCanvasLock.lock();
}

void TzelDrawText::UnlockCanvas()
{
    FCanvasLock.unlock();
}

void TzelDrawText::SetFont(const TzelFont &font)
{
    FFontName = font.Name();
    FFontSize = font.Size();
    FFontStyle = font.Style();
    FFontColor = font.Color();
    FRefPixelSize = qRound(FFontSize * FDefPPI / 72);
    FRefFaces = {};
    const double cell = RefFace(FFontStyle).CellHeight();
    // A face without readable metrics is as high as its em.
    FRefCellHeight = cell > 0 ? cell : FRefPixelSize;
}

void TzelDrawText::SetOptions(bool wordWrap, bool htmlTags, int rotation, bool wysiwyg, bool clipped, bool wordBreak,
                              bool rtlReading)
{
    FWordWrap = wordWrap;
    FHTMLTags.SetAllowTags(htmlTags);
    FRotation = (rotation % 360 + 360) % 360;
    FWysiwyg = wysiwyg;
    FWordBreak = wordBreak;
    FRTLReading = rtlReading;
    FOptions = (clipped ? tfClipped : 0) | (rtlReading ? tfRTLReading : 0);
}

void TzelDrawText::SetGaps(double lineSpacing, double charSpacing, double paragraphGap)
{
    FLineSpacing = lineSpacing;
    FCharSpacing = charSpacing;
    FParagraphGap = paragraphGap;
}

void TzelDrawText::SetDimensions(const QRectF &originalRect, const QRect &scaledRect, double printScale,
                                 double scaleX, double scaleY)
{
    FOriginalRect = originalRect;
    FScaledRect = scaledRect;
    FPrintScale = printScale;
    FScaleX = scaleX;
    FScaleY = scaleY;
}

const TzelFontFace &TzelDrawText::RefFace(TzelFontStyles style)
{
    std::shared_ptr<const TzelFontFace> &face = FRefFaces[size_t(faceSlot(style))];
    if (!face)
        face = TzelFontResolver::Face(FFontName, FRefPixelSize, widthStyle(style));
    return *face;
}

double *TzelDrawText::TempArray(size_t size)
{
    if (FTempArray.size() < size) {
        // Replaced rather than grown: the old values are not needed, and a
        // failed allocation leaves the buffer empty.
        FTempArray = {};
        FTempArray.resize(size);
    }
    return FTempArray.data();
}

bool TzelDrawText::Sideways() const
{
    return (FRotation >= 90 && FRotation < 180) || FRotation >= 270;
}

void TzelDrawText::MeasureReference(QStringView text, const TzelHTMLTag *tags, double *out)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const int slot = faceSlot(tags[i].Style);
        qsizetype j = i + 1;
        while (j < n && faceSlot(tags[j].Style) == slot)
            ++j;
        RefFace(tags[i].Style).Advances(text.sliced(i, j - i), out + i);
        i = j;
    }
    const double spacing = FCharSpacing * refPerUnit;
    for (qsizetype i = 0; i < n; ++i) {
        if (tags[i].Small)
            out[i] /= 1.5;
        if (!isPairTrail(text, i))
            out[i] += spacing;
    }
}

void TzelDrawText::SetText(const QString &text, bool firstParaBreak)
{
    std::lock_guard guard(FCanvasLock);
    FSource = text;
    FFirstParaBreak = firstParaBreak;
    FLastParaBreak = false;
    FPlainText.clear();
    FParagraphs.clear();
    FText.clear();
    FHTMLTags.SetDefaults(FMonoFont ? clBlack : FFontColor, FFontSize, FFontStyle);
    if (text.isEmpty())
        return;

    const double width = Sideways() ? FOriginalRect.height() : FOriginalRect.width();
    const double limit = qRound(width * refPerUnit);
    const double firstLimit = qRound((width - FParagraphGap) * refPerUnit);
    qsizetype start = 0;
    for (;;) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        Paragraph paragraph;
        paragraph.StartState = FHTMLTags.State();
        QString line = text.sliced(start, end - start);
        FHTMLTags.ExpandHTMLTags(line, &FSourceIndex);
        paragraph.PlainStart = int(FPlainText.size());
        paragraph.Length = int(line.size());
        paragraph.SrcStart = int(start);
        paragraph.SrcEnd = int(end);
        FPlainText += line;
        FPlainText += QLatin1StringView("\r\n");
        FParagraphs.push_back(paragraph);
        const int index = int(FParagraphs.size()) - 1;
        WrapParagraph(index, index == 0 && firstParaBreak ? limit : firstLimit, limit);
        if (end == text.size())
            break;
        start = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
}

void TzelDrawText::WrapParagraph(int index, double firstLimit, double limit)
{
    const Paragraph &paragraph = FParagraphs[size_t(index)];
    const QStringView text = QStringView(FPlainText).sliced(paragraph.PlainStart, paragraph.Length);
    const TzelHTMLTag *tags = FHTMLTags.Items(index).data();
    const int n = paragraph.Length;
    double *cum = TempArray(size_t(n) + 1);
    cum[0] = 0;
    MeasureReference(text, tags, cum + 1);
    for (int i = 0; i < n; ++i)
        cum[i + 1] += cum[i];

    const size_t firstLine = FText.size();
    const auto addLine = [&](int start, int end, bool hyphen) {
        Line line;
        line.Paragraph = index;
        line.Start = start;
        line.Length = end - start;
        line.Hyphen = hyphen;
        line.Width = cum[end] - cum[start];
        if (hyphen)
            line.Width += HyphenWidth(tags[end - 1]);
        line.SrcStart = paragraph.SrcStart + (start == 0 ? 0 : FSourceIndex[size_t(start)]);
        line.SrcEnd = end == n ? paragraph.SrcEnd : paragraph.SrcStart + FSourceIndex[size_t(end) - 1] + 1;
        FText.push_back(line);
    };

    int lineStart = 0;
    if (FWordWrap && n > 1 && cum[n] > firstLimit) {
        const bool tagsOn = FHTMLTags.AllowTags();
        double lineLimit = firstLimit;
        int lastBlank = -1;
        for (int i = 0; i < n; ++i) {
            if (text[i] == u' ' && !(tagsOn && tags[i].DontWRAP))
                lastBlank = i;
            if (cum[i + 1] - cum[lineStart] <= lineLimit)
                continue;
            int end;
            int next;
            int hyphen = -1;
            if (lastBlank > lineStart) {
                end = lastBlank;
                next = lastBlank + 1;
                if (FWordBreak)
                    hyphen = HyphenPoint(text, tags, lastBlank + 1, i, cum, lineStart, lineLimit);
            } else if (i == lineStart) {
                // Not even one character fits: it gets a line of its own.
                end = next = i + (i + 1 < n && isPairTrail(text, i + 1) ? 2 : 1);
            } else {
                // Cut before the character that does not fit; a surrogate pair
                // is one character, kept whole on the line it starts.
                end = next = !isPairTrail(text, i) ? i : i - 1 > lineStart ? i - 1 : i + 1;
                if (FWordBreak)
                    hyphen = HyphenPoint(text, tags, lineStart, i, cum, lineStart, lineLimit);
            }
            if (hyphen > 0)
                end = next = hyphen;
            addLine(lineStart, end, hyphen > 0);
            lineStart = next;
            lineLimit = limit;
            lastBlank = -1;
            i = next - 1;
        }
    }
    // A break on a trailing blank leaves nothing for a last line.
    if (lineStart < n || FText.size() == firstLine)
        addLine(lineStart, n, false);
    FText[firstLine].Flags |= 1;
    FText.back().Flags |= 2;
}

int TzelDrawText::HyphenPoint(QStringView text, const TzelHTMLTag *tags, int wordStart, int overflow,
                              const double *cum, int lineStart, double limit)
{
    qsizetype wordEnd = wordStart;
    while (wordEnd < text.size() && !endsWord(text[wordEnd]))
        ++wordEnd;
    const QString word = text.sliced(wordStart, wordEnd - wordStart).toString().toUpper();
    for (qsizetype p = std::min<qsizetype>(overflow - wordStart, word.size() - 2); p >= 2; --p) {
        const QStringView whole(word);
        if (!breaksBefore(whole, p) || !isSyllable(whole.first(p)) || !isSyllable(whole.sliced(p)))
            continue;
        // The part kept, with its hyphen, must fit the line.
        if (cum[wordStart + p] - cum[lineStart] + HyphenWidth(tags[wordStart + p - 1]) <= limit)
            return int(wordStart + p);
    }
    return -1;
}

double TzelDrawText::HyphenWidth(const TzelHTMLTag &tag)
{
    return RefFace(tag.Style).Advance(u'-') / (tag.Small ? 1.5 : 1) + FCharSpacing * refPerUnit;
}

QStringView TzelDrawText::LineText(const Line &line) const
{
    return QStringView(FPlainText).sliced(FParagraphs[size_t(line.Paragraph)].PlainStart + line.Start, line.Length);
}

int TzelDrawText::LineFlags(int index) const
{
    int flags = FText[size_t(index)].Flags;
    if (index == 0 && FFirstParaBreak)
        flags &= ~1;
    if (index == int(FText.size()) - 1 && FLastParaBreak)
        flags &= ~2;
    return flags;
}

void TzelDrawText::SetParaBreaks(bool firstParaBreak, bool lastParaBreak)
{
    FFirstParaBreak = firstParaBreak;
    FLastParaBreak = lastParaBreak;
}

double TzelDrawText::RefLineFontHeight() const
{
    return FUseOldLineHeight ? FRefPixelSize : FRefCellHeight;
}

double TzelDrawText::LineHeight() const
{
    return RefLineFontHeight() / refPerUnit + FLineSpacing;
}

double TzelDrawText::TextHeight() const
{
    return FRefPixelSize / refPerUnit;
}

double TzelDrawText::CalcHeight() const
{
    if (FText.empty())
        return 0;
    double height = LineHeight() * double(FText.size());
    if (FLineSpacing < 0)
        height -= FLineSpacing;
    const double extra = (FRefCellHeight - RefLineFontHeight()) / refPerUnit;
    if (FFontSize > 12 && extra > 0)
        height += extra;
    return height;
}

double TzelDrawText::CalcWidth() const
{
    double widest = 0;
    for (int i = 0; i < int(FText.size()); ++i) {
        const double indent = (LineFlags(i) & 1) ? FParagraphGap * refPerUnit : 0;
        widest = std::max(widest, FText[size_t(i)].Width + indent);
    }
    return widest / refPerUnit;
}

int TzelDrawText::FitLines() const
{
    const int count = int(FText.size());
    const double lineHeight = LineHeight();
    if (lineHeight <= 0)
        return count;
    const double height = Sideways() ? FOriginalRect.width() : FOriginalRect.height();
    return int(std::clamp(std::trunc((height + 1) / lineHeight), 0.0, double(count)));
}

double TzelDrawText::UnusedSpace() const
{
    const int fit = FitLines();
    if (fit == 0)
        return 0;
    const double height = Sideways() ? FOriginalRect.width() : FOriginalRect.height();
    const double left = height - fit * LineHeight();
    return left == 0 ? 1e-4 : left;
}

QString TzelDrawText::GetInBoundsText() const
{
    const int fit = FitLines();
    if (fit == 0)
        return QString();
    const Line &last = FText[size_t(fit) - 1];
    QString kept = FSource.left(last.SrcEnd);
    if (FWordBreak && last.Hyphen)
        kept += u'-';
    return kept;
}

QString TzelDrawText::GetOutBoundsText(bool &paraBreak) const
{
    const int fit = FitLines();
    if (fit == 0) {
        paraBreak = FFirstParaBreak;
        return FSource;
    }
    paraBreak = !(LineFlags(fit - 1) & 2);
    if (fit == int(FText.size()))
        return QString();
    const Line &next = FText[size_t(fit)];
    const Paragraph &paragraph = FParagraphs[size_t(next.Paragraph)];
    int start = next.SrcStart;
    if (paraBreak && start < FSource.size() && FSource[start] == u' ')
        ++start;
    QString rest = FSource.sliced(start);
    if (FHTMLTags.AllowTags()) {
        const TzelHTMLTag &look =
            next.Start == 0 ? paragraph.StartState : FHTMLTags.Items(next.Paragraph)[size_t(next.Start)];
        rest.prepend(TzelHTMLTagsList::OpeningTags(look));
    }
    return rest;
}

QString TzelDrawText::GetWrappedText() const
{
    QString text;
    for (const Line &line : FText) {
        if (&line != &FText.front())
            text += QLatin1StringView("\r\n");
        text += LineText(line);
        if (line.Hyphen)
            text += u'-';
    }
    return text;
}

QString TzelDrawText::DeleteTags(const QString &text)
{
    return TzelHTMLTagsList::DeleteTags(text);
}

int TzelDrawText::GetFontHeight(const Canvas &canvas) const
{
    return devicePixels(FFontSize, canvas, FScaleY, FPrintScale);
}

void TzelDrawText::DrawText(Canvas &canvas, TzelHAlign hAlign, TzelUnderlinesTextMode underlines, TzelVAlign vAlign,
                            const TzelCanvasPen &underlinePen)
{
    if (FText.empty() && underlines == ulmNone)
        return;
    Device device{canvas, FVC, FFontName, FScaleY, FPrintScale, {}, {}};
    const TzelHTMLTag first = FText.empty() ? FHTMLTags.State() : FHTMLTags.Items(0).front();
    const TzelFontFace &face = device.Face(first);
    const int fontPixels = device.PixelSize(first.Size);
    const int fontHeight = FUseOldLineHeight || face.CellHeight() <= 0 ? fontPixels : qRound(face.CellHeight());
    const int lineAdvance = fontHeight + qRound(FLineSpacing * FScaleY);
    const int count = int(FText.size());

    // The device's line heights differ from the reference's by rounding;
    // spreading the difference over the gaps keeps the block as tall as laid out.
    int extra = 0;
    if (FWysiwyg && count > 1) {
        const double refToDevice =
            canvas.IsPrinter() ? FPrintScale * canvas.DpiY() / FDefPPI : FScaleY / refPerUnit;
        extra = qRound(count * (RefLineFontHeight() + FLineSpacing * refPerUnit) * refToDevice) - count * lineAdvance;
    }
    const int textHeight = count * lineAdvance + extra;

    const QRect &r = FScaledRect;
    const int angle = FRotation;
    QPointF origin;
    int boxWidth = r.width();
    int boxHeight = r.height();
    switch (angle) {
    case 0:
        device.U = {1, 0};
        device.V = {0, 1};
        origin = QPointF(r.left(), r.top());
        break;
    case 90:
        device.U = {0, -1};
        device.V = {1, 0};
        origin = QPointF(r.left(), r.top() + r.height());
        std::swap(boxWidth, boxHeight);
        break;
    case 180:
        device.U = {-1, 0};
        device.V = {0, -1};
        origin = QPointF(r.left() + r.width(), r.top() + r.height());
        break;
    case 270:
        device.U = {0, 1};
        device.V = {-1, 0};
        origin = QPointF(r.left() + r.width(), r.top());
        std::swap(boxWidth, boxHeight);
        break;
    default: {
        const double radians = angle * std::numbers::pi / 180;
        device.U = {std::cos(radians), -std::sin(radians)};
        device.V = {std::sin(radians), std::cos(radians)};
        break;
    }
    }

    if (angle % 90 == 0) {
        int height = textHeight;
        if (FLineSpacing < 0 && vAlign != vaTop)
            height += 2 * std::abs(qRound(FLineSpacing * FScaleY));
        const int free = boxHeight - height;
        origin += device.V * (vAlign == vaBottom ? free : vAlign == vaCenter ? free / 2 : 0);
    } else {
        // The block, as wide as its widest line, turned and placed so that
        // its bounds lie where the alignments put them in the rectangle.
        const double refToDevice =
            canvas.IsPrinter() ? FPrintScale * canvas.DpiX() / FDefPPI : FScaleX / refPerUnit;
        boxWidth = qRound(CalcWidth() * refPerUnit * refToDevice);
        const QPointF corners[] = {{0, 0}, device.U * boxWidth, device.V * textHeight,
                                   device.U * boxWidth + device.V * textHeight};
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
        for (const QPointF &c : corners) {
            minX = std::min(minX, c.x());
            maxX = std::max(maxX, c.x());
            minY = std::min(minY, c.y());
            maxY = std::max(maxY, c.y());
        }
        const double freeX = r.width() - (maxX - minX);
        const double freeY = r.height() - (maxY - minY);
        origin = QPointF(r.left() - minX + (hAlign == haRight ? freeX : hAlign == haCenter ? freeX / 2 : 0),
                         r.top() - minY + (vAlign == vaBottom ? freeY : vAlign == vaCenter ? freeY / 2 : 0));
    }

    std::vector<double> tops;
    tops.reserve(size_t(count) + 1);
    double offset = 0;
    for (int i = 0; i < count; ++i) {
        tops.push_back(offset);
        const int indent =
            (LineFlags(i) & 1) && (hAlign == haLeft || hAlign == haBlock) ? qRound(FParagraphGap * FScaleX) : 0;
        DrawLine(device, i, origin + device.V * offset + device.U * indent, boxWidth - indent, hAlign);
        offset += lineAdvance + (i + 1 < count ? spread(extra, count - 1, i) : 0);
    }
    tops.push_back(offset);

    if (angle == 0 && underlines != ulmNone) {
        for (double &top : tops)
            top += origin.y();
        DrawUnderlines(canvas, tops, lineAdvance, underlines, vAlign, underlinePen);
    }
}

void TzelDrawText::DrawLine(Device &device, int index, QPointF start, int available, TzelHAlign hAlign)
{
    const Line &line = FText[size_t(index)];
    const int flags = LineFlags(index);
    const TzelHTMLTags &paragraphTags = FHTMLTags.Items(line.Paragraph);
    QString text = LineText(line).toString();
    TzelHTMLTags tags(paragraphTags.begin() + line.Start, paragraphTags.begin() + line.Start + line.Length);
    if (line.Hyphen) {
        text += u'-';
        tags.push_back(tags.back());
        tags.back().Default = true;
    }
    const qsizetype n = text.size();
    if (n == 0)
        return;

    // Device advances, run by run in the run's own face.
    double *advance = TempArray(size_t(n));
    for (qsizetype i = 0; i < n;) {
        qsizetype j = i + 1;
        while (j < n && tags[size_t(j)].Default)
            ++j;
        device.Face(tags[size_t(i)]).Advances(QStringView(text).sliced(i, j - i), advance + i);
        i = j;
    }
    const double spacing = FCharSpacing * FScaleX;
    double deviceWidth = 0;
    int blanks = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!isPairTrail(text, i))
            advance[i] += spacing;
        deviceWidth += advance[i];
        blanks += isBlank(text[i]) ? 1 : 0;
    }

    const Canvas &canvas = device.Target;
    const double target = !FWysiwyg         ? deviceWidth
                           : canvas.IsPrinter() ? qRound(line.Width * FPrintScale / (FDefPPI / canvas.DpiX()))
                                                : qRound(line.Width / refPerUnit * FScaleX);
    const bool justify = hAlign == haBlock && !(flags & 2) && blanks > 0;
    TzelHAlign align = hAlign;
    if (hAlign == haBlock && !justify)
        align = (flags & 2) && FRTLReading ? haRight : haLeft;

    // Whole-pixel advances: justified lines fill the width through their
    // blanks; others are fitted to the target width, the difference spread
    // evenly over all characters.
    QList<double> advances;
    if (justify || FWysiwyg) {
        advances.resize(n);
        double sum = 0;
        const double perChar = justify ? 0 : (target - deviceWidth) / double(n);
        int previous = 0;
        for (qsizetype i = 0; i < n; ++i) {
            sum += advance[i] + perChar;
            const int position = qRound(sum);
            advances[i] = position - previous;
            previous = position;
        }
        if (justify) {
            // Each blank gets the quotient, the first ones a pixel more.
            const qint64 more = available - previous;
            const qint64 quotient = floorDiv(more, blanks);
            const qint64 remainder = more - quotient * blanks;
            qint64 blank = 0;
            for (qsizetype i = 0; i < n; ++i)
                if (isBlank(text[i]))
                    advances[i] += double(quotient + (blank++ < remainder ? 1 : 0));
        }
    }
    double width = 0;
    for (qsizetype i = 0; i < n; ++i)
        width += advances.isEmpty() ? advance[i] : advances[i];

    const double free = available - target;
    double shift = 0;
    if (align == haRight) {
        // Slanted and heavy glyphs reach past their advance; unturned, they
        // keep one more pixel from the edge.
        const TzelFontStyles style = tags.front().Style;
        const bool overhang = (style.Contains(fsBold) || style.Contains(fsItalic)) && FRotation == 0;
        shift = free + 1 - (overhang ? 2 : 1);
    } else if (align == haCenter) {
        shift = std::floor(free / 2);
    }

    TzelCanvasText run;
    run.Angle = FRotation;
    run.Flags = FOptions;
    run.Clip = QRectF(FScaledRect);
    run.Font.Name = FFontName;
    double done = 0;
    for (qsizetype i = 0; i < n;) {
        qsizetype j = i + 1;
        while (j < n && tags[size_t(j)].Default)
            ++j;
        double runWidth = 0;
        for (qsizetype k = i; k < j; ++k)
            runWidth += advances.isEmpty() ? advance[k] : advances[k];
        const TzelHTMLTag &tag = tags[size_t(i)];
        const double along = shift + (FRTLReading ? width - done - runWidth : done);
        run.Origin = start + device.U * along + device.V * (tag.AddY * tag.Size * FScaleY);
        run.Text = text.sliced(i, j - i);
        run.Advances = advances.isEmpty() ? QList<double>() : advances.sliced(i, j - i);
        run.Font.PixelSize = device.PixelSize(tag.Size);
        run.Font.Style = tag.Style;
        run.Font.Color = FMonoFont ? clBlack : tag.Color;
        device.Output(run);
        done += runWidth;
        i = j;
    }
}

void TzelDrawText::DrawUnderlines(Canvas &canvas, const std::vector<double> &tops, int step,
                                  TzelUnderlinesTextMode mode, TzelVAlign vAlign, const TzelCanvasPen &pen) const
{
    if (step <= 0)
        return;
    const QRect &r = FScaledRect;
    const double left = r.left();
    const double right = r.left() + r.width() - 1;
    const double top = r.top();
    const double bottom = r.top() + r.height() - 1;
    const auto rule = [&](double y) {
        if (y >= top && y <= bottom)
            canvas.DrawLine(QPointF(left, y), QPointF(right, y), pen);
    };
    const int count = int(FText.size());
    if (count == 0) {
        if (mode == ulmUnderlinesAll)
            for (double y = top + step; y <= bottom; y += step)
                rule(y);
        return;
    }
    for (int i = 0; i < count; ++i) {
        const QStringView chars = LineText(FText[size_t(i)]);
        const bool blank = std::all_of(chars.begin(), chars.end(), isBlank);
        if (mode != ulmUnderlinesText || !blank)
            rule(tops[size_t(i) + 1]);
    }
    if (mode != ulmUnderlinesAll)
        return;
    if (vAlign != vaTop)
        for (double y = tops.front(); y >= top; y -= step)
            rule(y);
    if (vAlign != vaBottom)
        for (double y = tops.back() + step; y <= bottom; y += step)
            rule(y);
}
