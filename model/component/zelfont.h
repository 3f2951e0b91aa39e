#pragma once
/// \file

#include "model/component/zelcolors.h"
#include "model/component/zelcomponenttypes.h"
#include "model/reflect/zelpersistent.h"

#include <functional>

/// A font as the model keeps it: plain values, turned into a platform font
/// only where text is measured or drawn. The height is the stored value; the
/// size in points follows from it at 96 pixels per inch.
class TzelFont : public TzelPersistent
{
    ZEL_CLASS(TzelFont, TzelPersistent)

    /// The character set that stands for "the system's default".
    static constexpr int DefaultCharset = 1;
    /// Pixels per inch the height is measured in.
    static constexpr int PixelsPerInch = 96;

    /// Arial, 10 points, black, the default character set, no style.
    TzelFont();
    /// Copies the values of Other; the change callback is not copied.
    TzelFont(const TzelFont &other);
    /// Assigns the values of Other and reports a change.
    TzelFont &operator=(const TzelFont &other);
    /// Whether both fonts have the same values.
    bool operator==(const TzelFont &other) const;

    /// Face name.
    const QString &Name() const { return FName; }
    /// Sets Name.
    void SetName(const QString &value);
    /// Height in pixels; negative for a character height (the usual form).
    int Height() const { return FHeight; }
    /// Sets Height.
    void SetHeight(int value);
    /// Size in points: -Height * 72 / 96, rounded.
    int Size() const;
    /// Sets Size.
    void SetSize(int value);
    /// Colour.
    int Color() const { return FColor; }
    /// Sets Color.
    void SetColor(int value);
    /// Bold, italic, underline, strike-out.
    TzelFontStyles Style() const { return FStyle; }
    /// Sets Style.
    void SetStyle(TzelFontStyles value);
    /// Character set, 0 to 255.
    int Charset() const { return FCharset; }
    /// Sets Charset.
    void SetCharset(int value);

    /// Called after every change of a value.
    std::function<void()> OnChange;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelFont> &p);

private:
    void Changed();

    QString FName;
    int FHeight;
    int FColor = clBlack;
    TzelFontStyles FStyle;
    int FCharset = DefaultCharset;
};
