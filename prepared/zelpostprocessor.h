#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

class TzelXMLItem;

// Values of objects that are completed after they were stored on a page
// (totals shown before they are known) and the duplicate state of repeated
// values. Each object name owns a list of contents; a stored object holds
// the index of its content in place of its text.
class TzelPostProcessor
{
public:
    /// Appends Content to the list of Name and returns its index; Ready is
    /// False for a value that is completed later.
    int Add(const QString &name, const QString &content, bool ready);
    /// Replaces the last content of Name by its final value.
    void Complete(const QString &name, const QString &content);
    /// The contents stored for Name, or nullptr.
    const QStringList *GetMacroList(const QString &name) const;
    /// Content Index of Name; empty while it is not ready or out of range.
    QString GetValue(const QString &name, int index) const;
    /// Writes the "postprocessing" element.
    void SaveToXML(TzelXMLItem *item) const;
    /// Replaces the contents by those of a "postprocessing" element.
    void LoadFromXML(const TzelXMLItem *item);
    /// Forgets every content.
    void Clear();

private:
    struct Macro
    {
        QStringList Contents;
        std::vector<bool> Ready;
    };
    QHash<QString, Macro> FMacros;
    QStringList FOrder; // names in the order they were first stored
};
