#pragma once
/// \file

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstddef>

// Names compared with their case ignored (component, class, property and
// value names), without the allocation of a lower-cased copy: these compares
// run for every object and attribute of a template.

/// Character C with its case folded; ASCII without a table lookup.
inline char16_t zelFoldCase(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    return QChar(c).toCaseFolded().unicode();
}

/// Whether A and B are the same name, case ignored.
inline bool zelSameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && zelFoldCase(a[i].unicode()) != zelFoldCase(b[i].unicode()))
            return false;
    return true;
}

/// The same against a literal, whose length is known without a scan.
template <size_t N>
inline bool zelSameName(QStringView a, const char16_t (&literal)[N])
{
    return zelSameName(a, QStringView(literal, qsizetype(N - 1)));
}

/// Hash of a name, case ignored; usable for lookups by QStringView.
struct TzelCaselessHash
{
    /// Marks the hash as transparent, so that lookups take a QStringView.
    using is_transparent = void;
    /// FNV-1a hash of the case-folded characters.
    size_t operator()(QStringView s) const
    {
        size_t h = 14695981039346656037ull;
        for (QChar c : s)
            h = (h ^ zelFoldCase(c.unicode())) * 1099511628211ull;
        return h;
    }
    /// The hash of a string, as for its view.
    size_t operator()(const QString &s) const { return operator()(QStringView(s)); }
};

/// Equality of names, case ignored; usable for lookups by QStringView.
struct TzelCaselessEqual
{
    /// Marks the comparison as transparent, so that lookups take a QStringView.
    using is_transparent = void;
    /// Whether A and B are the same name, case ignored.
    bool operator()(QStringView a, QStringView b) const { return zelSameName(a, b); }
};
