#pragma once
/// \file

#include "base/xml/zelxmlitem.h"

#include <QString>
#include <memory>

class QIODevice;

/// An element of a grammar or a program tree: the system's XML element.
using TkvXMLItem = TzelXMLItem;

/// The script engine's XML document, for grammars and program trees. It
/// writes the short header "<?xml version="1.0"?>" and always reads
/// attribute text as UTF-8.
class TkvXMLDocument
{
public:
    TkvXMLDocument();
    ~TkvXMLDocument();
    TkvXMLDocument(const TkvXMLDocument &) = delete;
    TkvXMLDocument &operator=(const TkvXMLDocument &) = delete;

    /// The item that holds the document's top element.
    TkvXMLItem *Root() const { return FRoot.get(); }
    /// Whether each tag goes on its own line, indented two blanks per level.
    bool AutoIndent = false;

    /// Empties the document.
    void Clear();
    /// Hands the top element over, leaving the document empty.
    std::unique_ptr<TkvXMLItem> TakeRoot();
    /// Replaces the document by the one in Stream; raises
    /// TzelInvalidXMLException ("Invalid file format") when it is not one.
    void LoadFromStream(QIODevice *stream);
    /// Writes the document to Stream.
    void SaveToStream(QIODevice *stream) const;
    /// Loads FileName.
    void LoadFromFile(const QString &fileName);
    /// Saves to FileName.
    void SaveToFile(const QString &fileName) const;
    /// The document as text.
    QByteArray ToText() const;
    /// Replaces the document by Text.
    void FromText(const QByteArray &text);

private:
    std::unique_ptr<TkvXMLItem> FRoot;
};
