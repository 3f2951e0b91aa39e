#pragma once
/// \file

#include "base/core/zelownedlist.h"
#include "base/variant/zelvariant.h"
#include "model/component/zelliferef.h"
#include "model/serial/zelserialhooks.h"
#include "model/view/zelformat.h"
#include "model/view/zelhighlights.h"
#include "model/view/zelstretcheable.h"

#include <QStringList>
#include <memory>

/// A text object: lines of text with embedded expressions, its layout
/// options, display formats and highlights. TzelMemoView and TzelSysMemoView
/// publish different sets of these options.
///
/// The text is stored as the element's last attribute; display formats and
/// highlights are written as nested attributes when there is one, as child
/// collections when there are more.
class TzelCustomMemoView : public TzelStretcheable, public TzelTextOwner, public TzelNestedPropertiesOwner
{
    ZEL_CLASS(TzelCustomMemoView, TzelStretcheable)

    /// Creates a text object whose tree parent is Owner.
    explicit TzelCustomMemoView(TzelComponent *owner = nullptr);
    ~TzelCustomMemoView() override;

    QString GetDescription() const override;

    /// Also saves the design text (unless a data field gives it) and the paragraph state.
    void BeforePrint() override;
    /// Also gives back the design text and paragraph state, and the look a
    /// highlight changed.
    void AfterPrint() override;
    /// Fills the text: from the data field, or with every embedded
    /// expression replaced by its formatted value; sets Value, applies the
    /// first highlight whose condition holds and empties a repeated text.
    void GetData() override;
    /// Takes Highlight's font, fill and frame as its Apply flags say, and its
    /// visibility; AfterPrint gives the memo its own look back.
    void ApplyHighlight(const TzelHighlight &highlight);
    /// Value as text in Format (the display format when nullptr): numbers,
    /// dates and Booleans by their pictures; the plain text when the value
    /// does not fit the format.
    QString FormatData(const Variant &value, const TzelFormat *format = nullptr) const;
    double CalcHeight() const override;
    /// The width the text needs on one line per paragraph, gaps and frame
    /// included; the current width until a text layout is installed.
    double CalcWidth() const;
    /// Puts the drawing-time values in the text: TotalPages for every
    /// "[TOTALPAGES#]" and the copy's name for every "[COPYNAME#]" (any case).
    void ExtractMacros();
    /// With AutoWidth, takes the width the text needs: haRight keeps the
    /// right edge, haCenter the centre; the parent aligns its children again.
    void FitAutoWidth();
    int TotalPages = 0; ///< while drawn: the pages of the prepared report
    int CopyNo = 0;     ///< while drawn: the copy being printed, from 1
    void InitPart() override;
    double DrawPart() override;
    /// Forgets the last value shown, so a repeated value shows again.
    void ResetSuppress() { FLastValue = Variant(); }
    Variant FLastValue;               ///< the last value shown, for SuppressRepeated

    // The text.
    QStringList Memo;          ///< the lines of the text
    /// The lines joined by CR LF.
    QString Text() const;
    /// Replaces the lines; CR LF, CR and LF all end a line.
    void SetText(const QString &value);
    Variant Value;             ///< the last value computed for the text

    // Options.
    bool AutoWidth = false;           ///< the width follows the text
    bool AllowExpressions = true;     ///< expressions between the delimiters are evaluated
    bool AllowHTMLTags = false;       ///< simple HTML tags format the text
    double CharSpacing = 0;           ///< extra space between characters, report units
    bool Clipped = true;              ///< text outside the object is cut off
    QString ExpressionDelimiters = QStringLiteral("[,]"); ///< opening and closing delimiter, comma separated
    bool FirstParaBreak = false;      ///< the text continues a paragraph broken on the previous page
    bool LastParaBreak = false;       ///< the text's last paragraph goes on on the next page
    QString FPartMemo;                ///< the text still to print while the memo is split
    bool FPartParaBreak = false;      ///< the text still to print begins inside a paragraph
    double GapX = 2;                  ///< horizontal inner margin
    double GapY = 1;                  ///< vertical inner margin
    TzelHAlign HAlign = haLeft;       ///< horizontal alignment
    bool HideZeros = false;           ///< a zero value shows as nothing
    double LineSpacing = 2;           ///< space between lines
    double ParagraphGap = 0;          ///< indent of a paragraph's first line
    bool RTLReading = false;          ///< right-to-left reading order
    bool SuppressRepeated = false;    ///< a value equal to the previous one is not shown
    TzelDuplicateMode Duplicates = dmShow; ///< what equal values in a column show
    TzelUnderlinesTextMode UnderlinesTextMode = ulmNone; ///< which lines are underlined
    bool UseDefaultCharset = false;   ///< the font's character set is ignored
    bool WordBreak = false;           ///< long words are broken
    bool WordWrap = true;             ///< long lines wrap
    bool Wysiwyg = true;              ///< laid out at printer resolution
    TzelVAlign VAlign = vaTop;        ///< vertical alignment

    /// Rotation in degrees, kept modulo 360.
    int Rotation() const { return FRotation; }
    /// Sets Rotation.
    void SetRotation(int value) { FRotation = value % 360; }
    /// Rotation normalised to 0..359.
    int ReducedAngle() const { return (FRotation % 360 + 360) % 360; }
    /// Whether any lines are underlined.
    bool Underlines() const { return UnderlinesTextMode != ulmNone; }
    /// True underlines all lines unless a mode is set already; False none.
    void SetUnderlines(bool value);
    /// Name of the style the object takes its look from.
    const QString &Style() const { return FStyle; }
    /// Names the style; when the report has a style of that name, the object
    /// takes over the parts the style applies.
    void SetStyle(const QString &value);
    /// The text object the text flows on to when it does not fit, or nullptr
    /// (also once that object was freed).
    TzelCustomMemoView *FlowTo() const;
    /// Sets FlowTo.
    void SetFlowTo(TzelCustomMemoView *value);

    // Formats and highlights.
    /// The display formats.
    TzelOwnedList<TzelFormat> &Formats() { return FFormats; }
    /// Read-only access.
    const TzelOwnedList<TzelFormat> &Formats() const { return FFormats; }
    /// The highlights.
    TzelHighlights &Highlights() { return FHighlights; }
    /// Read-only access.
    const TzelHighlights &Highlights() const { return FHighlights; }
    /// The first display format; one is created when there is none.
    TzelFormat &DisplayFormat();
    /// Sets DisplayFormat.
    void SetDisplayFormat(const TzelFormat &value) { DisplayFormat() = value; }
    /// The first highlight; one is created when there is none.
    TzelHighlight &Highlight();
    /// Sets Highlight.
    void SetHighlight(const TzelHighlight &value) { Highlight().Assign(value); }

    /// The view's differences, then the text options, the text itself
    /// (always), the hint and a single display format. The paragraph-break
    /// flags are written when set and then move on: the next part of a text
    /// split across pages starts where this one ended.
    QString Diff(const TzelComponent *other) override;

    QString StoredText() const override { return Text(); }
    void SetStoredText(const QString &text) override { SetText(text); }
    void WriteNestedProperties(TzelXMLItem *item, const TzelComponent *ancestor) const override;
    bool ReadNestedProperty(TzelXMLItem *item) override;
    void CopyNestedProperties(const TzelComponent &source) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelCustomMemoView> &p);

protected:
    /// A text that sizes its own width does not store it.
    bool DiffSkipsWidth() const override { return AutoWidth; }

    // Stored-tests shared by the classes that publish the options.
    /// Whether the font is stored: only when it is not the parent's.
    bool IsFontStored() const { return !ParentFont(); }
    /// Whether CharSpacing is stored: only when not 0.
    bool IsCharSpacingStored() const { return CharSpacing != 0; }
    /// Whether GapX is stored: only when not 2.
    bool IsGapXStored() const { return GapX != 2; }
    /// Whether GapY is stored: only when not 1.
    bool IsGapYStored() const { return GapY != 1; }
    /// Whether LineSpacing is stored: only when not 2.
    bool IsLineSpacingStored() const { return LineSpacing != 2; }
    /// Whether ParagraphGap is stored: only when not 0.
    bool IsParagraphGapStored() const { return ParagraphGap != 0; }
    /// Whether ExpressionDelimiters is stored: only when not "[,]".
    bool IsExpressionDelimitersStored() const { return ExpressionDelimiters != QLatin1StringView("[,]"); }
    /// Whether DisplayFormat is stored: only when there is one format.
    bool IsDisplayFormatStored() const { return FFormats.Count() == 1; }
    /// Whether Highlight is stored: only for one highlight with a condition.
    bool IsHighlightStored() const { return FHighlights.Count() == 1 && FHighlights.Items(0)->HasCondition(); }

private:
    // Whether a line of the text holds the opening delimiter.
    bool HasOpeningDelimiter() const;
    // The text of one embedded expression, formatted with format Index.
    QString ExpandExpression(const QString &expression, int index);
    void ReadFormats(TzelXMLItem *item);
    void ReadHighlights(TzelXMLItem *item);

    // The look before a highlight was applied.
    struct SavedLook
    {
        TzelFont Font;
        bool ParentFont = false;
        TzelFillHolder Fill;
        TzelFrame Frame;
        bool Visible = true;
    };

    int FRotation = 0;
    QString FStyle;
    std::unique_ptr<SavedLook> FHighlightSaved; // set while a highlight is applied
    // The design state of the FlowTo memo while this one fills it.
    struct FlowTarget
    {
        QStringList Memo;
        bool AllowExpressions;
    };
    std::unique_ptr<FlowTarget> FFlowSaved;
    QStringList FTempMemo; // the design text while the engine works on the memo
    bool FTempFirstParaBreak = false;
    bool FTempLastParaBreak = false;
    TzelLifeRef<TzelCustomMemoView> FFlowTo;
    TzelOwnedList<TzelFormat> FFormats;
    TzelHighlights FHighlights;
};
