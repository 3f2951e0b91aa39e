#pragma once
/// \file

#include "engine/render/canvas/zelcanvastypes.h"
#include "engine/render/text/zelhtmltags.h"
#include "model/view/zelviewtypes.h"

#include <QRect>
#include <QRectF>
#include <QString>
#include <array>
#include <memory>
#include <mutex>
#include <vector>

class Canvas;
class TzelFont;
class TzelFontFace;

/// Wraps, measures, splits and draws the text of text objects. Text is laid
/// out at 600 dots per inch whatever the device, so line breaks and heights
/// are the same on screen, on paper and in exports; drawing then fits every
/// line to its laid-out width scaled to the device.
///
/// Lengths are report units (1/96 inch) unless said otherwise. Call order:
/// Lock; SetFont, SetOptions, SetGaps, SetDimensions; SetText (and
/// SetParaBreaks); then measure, split or draw; Unlock.
class TzelDrawText
{
public:
    /// A layout with no text, Arial 10 points.
    TzelDrawText();
    ~TzelDrawText();
    TzelDrawText(const TzelDrawText &) = delete;
    TzelDrawText &operator=(const TzelDrawText &) = delete;

    /// Enters the one process-wide section all layout and drawing runs in;
    /// the thread inside may enter again.
    static void Lock();
    /// Leaves the section entered by Lock.
    static void Unlock();
    /// Holds the reference measurement of this layout (SetText takes it too).
    void LockCanvas();
    /// Releases what LockCanvas holds.
    void UnlockCanvas();

    /// The font: face, size in points, style and colour.
    void SetFont(const TzelFont &font);
    /// Wrapping, tags, rotation (degrees, taken modulo 360), device-independent
    /// widths, clipping to the drawing rectangle, hyphenation, right-to-left reading.
    void SetOptions(bool wordWrap, bool htmlTags, int rotation, bool wysiwyg, bool clipped, bool wordBreak,
                    bool rtlReading);
    /// Space below every line, between characters, and before the first line of a paragraph.
    void SetGaps(double lineSpacing, double charSpacing, double paragraphGap);
    /// The layout rectangle at scale 1 (units), the drawing rectangle (device
    /// pixels, right and bottom exclusive), the extra scale of printed text and
    /// the device pixels per unit.
    void SetDimensions(const QRectF &originalRect, const QRect &scaledRect, double printScale, double scaleX,
                       double scaleY);
    /// Lays Text out, each line of it a paragraph (lines end at CR LF, CR or
    /// LF). FirstParaBreak: the first paragraph began in an earlier part, so
    /// its first line is neither indented nor narrowed.
    void SetText(const QString &text, bool firstParaBreak = false);
    /// Whether the first paragraph began in an earlier part and whether the
    /// last goes on in a later one (its last line is then justified).
    void SetParaBreaks(bool firstParaBreak, bool lastParaBreak);
    /// Draws the text into the drawing rectangle on Canvas; UnderlinePen draws
    /// the lines Underlines asks for.
    void DrawText(Canvas &canvas, TzelHAlign hAlign, TzelUnderlinesTextMode underlines, TzelVAlign vAlign,
                  const TzelCanvasPen &underlinePen = {});

    /// Height of the laid-out text; 0 without text.
    double CalcHeight() const;
    /// Width of the widest line, indents included.
    double CalcWidth() const;
    /// Distance from the top of one line to the top of the next.
    double LineHeight() const;
    /// Em height of the font.
    double TextHeight() const;
    /// Height left below the lines that fit the layout rectangle: 0 when none
    /// fits, a tiny positive amount when they fill it exactly.
    double UnusedSpace() const;
    /// The part of the text on the lines that fit the layout rectangle, "-"
    /// added after a hyphenated last line.
    QString GetInBoundsText() const;
    /// The part of the text after the lines that fit, prefixed with tags that
    /// restore its look when tags are on. ParaBreak: the cut fell inside a paragraph.
    QString GetOutBoundsText(bool &paraBreak) const;
    /// The lines as laid out, tags removed, joined by CR LF.
    QString GetWrappedText() const;
    /// Text with every tag removed.
    static QString DeleteTags(const QString &text);
    /// Em height in pixels of the font drawn on Canvas.
    int GetFontHeight(const Canvas &canvas) const;

    /// Whether everything is drawn black (for masks).
    bool MonoFont() const { return FMonoFont; }
    /// Sets MonoFont.
    void SetMonoFont(bool value) { FMonoFont = value; }
    /// Whether a line is as high as the font's em instead of its full cell.
    bool UseOldLineHeight() const { return FUseOldLineHeight; }
    /// Sets UseOldLineHeight.
    void SetUseOldLineHeight(bool value) { FUseOldLineHeight = value; }
    /// A second canvas that receives the same text output, or nullptr.
    Canvas *VC() const { return FVC; }
    /// Sets VC.
    void SetVC(Canvas *value) { FVC = value; }

private:
    struct Paragraph;
    struct Line;
    struct Device;

    const TzelFontFace &RefFace(TzelFontStyles style);
    double *TempArray(size_t size);
    void MeasureReference(QStringView text, const TzelHTMLTag *tags, double *out);
    void WrapParagraph(int index, double firstLimit, double limit);
    double HyphenWidth(const TzelHTMLTag &tag);
    int HyphenPoint(QStringView text, const TzelHTMLTag *tags, int wordStart, int overflow, const double *cum,
                    int lineStart, double limit);
    QStringView LineText(const Line &line) const;
    int LineFlags(int index) const;
    double RefLineFontHeight() const;
    bool Sideways() const;
    int FitLines() const;
    void DrawLine(Device &device, int index, QPointF start, int available, TzelHAlign hAlign);
    void DrawUnderlines(Canvas &canvas, const std::vector<double> &tops, int step, TzelUnderlinesTextMode mode,
                        TzelVAlign vAlign, const TzelCanvasPen &pen) const;

    static constexpr double FDefPPI = 600;
    static constexpr double FScrPPI = 96;

    QString FFontName;
    int FFontSize = 10;
    TzelFontStyles FFontStyle;
    int FFontColor = 0;
    double FRefPixelSize = 0;
    double FRefCellHeight = 0;
    std::array<std::shared_ptr<const TzelFontFace>, 4> FRefFaces;

    TzelHTMLTagsList FHTMLTags;
    double FCharSpacing = 0;
    double FLineSpacing = 0;
    double FParagraphGap = 0;
    int FOptions = 0;
    QRectF FOriginalRect;
    QRect FScaledRect;
    double FScaleX = 1;
    double FScaleY = 1;
    double FPrintScale = 1;
    int FRotation = 0;
    bool FRTLReading = false;
    bool FWordBreak = false;
    bool FWordWrap = true;
    bool FWysiwyg = true;
    bool FMonoFont = false;
    bool FUseOldLineHeight = false;
    bool FFirstParaBreak = false;
    bool FLastParaBreak = false;

    QString FSource;
    QString FPlainText;
    std::vector<Paragraph> FParagraphs;
    std::vector<Line> FText;
    std::vector<double> FTempArray;
    std::vector<int> FSourceIndex;
    Canvas *FVC = nullptr;
    std::recursive_mutex FCanvasLock;
};
