#pragma once
/// \file

#include "base/core/zelownedlist.h"
#include "model/style/zelstyleitem.h"

#include <QStringList>
#include <memory>
#include <vector>

class QIODevice;
class TzelComponent;
class TzelXMLItem;

/// An ordered set of styles, the report's own or one of a style sheet. It is
/// stored inside templates and in style files ("*.zs3").
class TzelStyles : public TzelOwnedList<TzelStyleItem>
{
public:
    /// An empty set of the report whose tree's root is Report (none for a
    /// set of a style sheet).
    explicit TzelStyles(TzelComponent *report = nullptr);
    ~TzelStyles();
    TzelStyles(const TzelStyles &) = delete;
    TzelStyles &operator=(const TzelStyles &) = delete;

    QString Name; ///< the set's name
    /// The root of the report whose text objects the set applies to, or nullptr.
    TzelComponent *Report() const { return FReport; }

    /// Appends a new unnamed style.
    TzelStyleItem *Add();
    /// The first style named Name (case ignored), or nullptr (always for an empty name).
    TzelStyleItem *Find(const QString &name) const;
    /// The style names in order.
    QStringList GetList() const;
    /// Replaces the styles by copies of Source's; the name stays.
    void Assign(const TzelStyles &source);
    /// Sets the style of every text object of the report again: objects
    /// whose style is in the set take it anew, the others lose their style
    /// name but keep their look. Nothing without a report.
    void Apply() const;

    /// Empties the set and reads a style file; raises for damaged XML, and
    /// leaves the set empty for a document of another kind.
    void LoadFromFile(const QString &fileName);
    /// As LoadFromFile, from Stream.
    void LoadFromStream(QIODevice *stream);
    /// Writes a style file.
    void SaveToFile(const QString &fileName) const;
    /// As SaveToFile, to Stream.
    void SaveToStream(QIODevice *stream) const;
    /// Empties the set and reads it from a "style" element (another element
    /// leaves it empty), then applies it. Returns the errors of bad values.
    QStringList LoadFromXMLItem(TzelXMLItem *item, bool oldXMLFormat = false);
    /// Writes the set into Item as a "style" element.
    void SaveToXMLItem(TzelXMLItem *item) const;

    /// Appends the collection element "Styles" to Parent when there are
    /// styles; the styles Ancestor has too are written as differences
    /// under InheritedName.
    void WriteCollection(TzelXMLItem *parent, const TzelStyles *ancestor = nullptr) const;
    /// Reads a "Styles" element: each child is one style; one carrying
    /// InheritedName updates that inherited style, or is dropped when there
    /// is none. Returns the errors of bad values.
    QStringList ReadCollection(TzelXMLItem *element);

private:
    TzelComponent *FReport;
};
