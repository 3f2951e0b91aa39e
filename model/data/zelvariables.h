#pragma once
/// \file

#include "base/core/zelownedlist.h"
#include "model/data/zelvariable.h"

#include <QStringList>
#include <memory>
#include <vector>

class QIODevice;
class TzelXMLItem;

/// Report variables: one flat list in which a heading (a name starting with a
/// blank) opens a category that runs to the next heading. Stored in templates
/// as the element "Variables" and in variables files under the root
/// "variables", one element "item" per entry with the attributes Name and Value.
class TzelVariables : public TzelOwnedList<TzelVariable>
{
public:
    TzelVariables();
    virtual ~TzelVariables();
    TzelVariables(const TzelVariables &) = delete;
    TzelVariables &operator=(const TzelVariables &) = delete;

    /// Inserts an empty entry at Index (0 to Count).
    TzelVariable *Insert(int index);
    /// Index of the first entry named Name (case ignored), or -1.
    int IndexOf(const QString &name) const;
    /// Value of the variable Name; Null when there is none.
    Variant Value(const QString &name) const;
    /// Sets the value of variable Name, appending it when missing.
    void SetValue(const QString &name, const Variant &value);
    /// Copies the entries of Source.
    void Assign(const TzelVariables &source);

    /// Adds the names of all categories (without the leading blank) to List,
    /// emptying it first when ClearList.
    void GetCategoriesList(QStringList &list, bool clearList = true) const;
    /// Fills List with the variables of Category; an empty category gives the
    /// variables before the first heading.
    void GetVariablesList(const QString &category, QStringList &list) const;
    /// Sets variable Name of Category: nothing when the category does not
    /// exist; a variable of that name anywhere takes the value; otherwise a
    /// new variable goes to the end of the category. An empty category is the
    /// part before the first heading.
    void AddVariable(const QString &category, const QString &name, const Variant &value);
    /// Removes a category heading with its variables.
    void DeleteCategory(const QString &name);
    /// Removes the variable Name (not a heading).
    void DeleteVariable(const QString &name);

    /// Reads a variables file; a file that cannot be opened raises TzelFileError.
    void LoadFromFile(const QString &fileName);
    /// Reads a variables document from Stream.
    void LoadFromStream(QIODevice *stream);
    /// Replaces the entries by the children named "item" of Item.
    void LoadFromXMLItem(TzelXMLItem *item, bool oldXMLFormat = false);
    /// Writes a variables file (through a temporary file and a rename).
    void SaveToFile(const QString &fileName) const;
    /// Writes a variables document to Stream.
    void SaveToStream(QIODevice *stream) const;
    /// Appends one child "item" per entry to Item.
    void SaveToXMLItem(TzelXMLItem *item) const;

    /// Appends the element "Variables" to Parent when there are entries;
    /// entries that Ancestor has too carry InheritedName.
    void WriteCollection(TzelXMLItem *parent, const TzelVariables *ancestor) const;
    /// Reads the entries of a "Variables" element (every child is one): an
    /// entry with InheritedName updates that inherited entry or is dropped.
    void ReadCollection(TzelXMLItem *element);

private:
    int FindCategory(const QString &category) const;
    int CategoryEnd(int heading) const;

};

/// The process-wide variables (CopyName0, the copy being printed, among them).
TzelVariables &zelGlobalVariables();
