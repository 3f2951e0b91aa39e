#pragma once
/// \file

#include "model/style/zelstyles.h"

#include <QStringList>
#include <memory>
#include <vector>

class QIODevice;

/// Named sets of styles, offered together (the report wizard's looks).
class TzelStyleSheet : public TzelOwnedList<TzelStyles>
{
public:
    TzelStyleSheet();
    ~TzelStyleSheet();
    TzelStyleSheet(const TzelStyleSheet &) = delete;
    TzelStyleSheet &operator=(const TzelStyleSheet &) = delete;

    /// Appends a new empty set that belongs to no report.
    using TzelOwnedList::Add;
    /// The first set named Name (case ignored), or nullptr.
    TzelStyles *Find(const QString &name) const;
    /// Index of the first set named Name (case ignored), or -1.
    int IndexOf(const QString &name) const;
    /// The set names in order.
    QStringList GetList() const;

    /// Empties the sheet and reads a style sheet file; raises for damaged
    /// XML, and leaves the sheet empty for a document of another kind.
    void LoadFromFile(const QString &fileName);
    /// As LoadFromFile, from Stream.
    void LoadFromStream(QIODevice *stream);
    /// Writes a style sheet file.
    void SaveToFile(const QString &fileName) const;
    /// As SaveToFile, to Stream.
    void SaveToStream(QIODevice *stream) const;

    /// The sheet of the report wizard: "wizstyle.xml" in ProgramFolder when
    /// it exists, otherwise the built-in looks.
    void LoadWizardStyles(const QString &programFolder);

private:
};
