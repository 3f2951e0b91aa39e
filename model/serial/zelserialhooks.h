#pragma once
/// \file

#include <QString>

class TzelComponent;
class TzelXMLItem;

/// A component that writes and reads collections of its own as child
/// elements (the report's data sets, variables and styles; a text object's
/// formats and highlights).
class TzelNestedPropertiesOwner
{
public:
    virtual ~TzelNestedPropertiesOwner();
    /// Appends the collections to Item, as differences from Ancestor when given.
    virtual void WriteNestedProperties(TzelXMLItem *item, const TzelComponent *ancestor) const = 0;
    /// Reads Item when it is one of the collections; False leaves it to the tree walk.
    virtual bool ReadNestedProperty(TzelXMLItem *item) = 0;
    /// Replaces the collections by copies of Source's (of the same class).
    virtual void CopyNestedProperties(const TzelComponent &source) = 0;
};

/// An object whose text is stored as the last attribute, "Text".
class TzelTextOwner
{
public:
    virtual ~TzelTextOwner();
    /// The text, lines joined by CR LF.
    virtual QString StoredText() const = 0;
    /// Replaces the text.
    virtual void SetStoredText(const QString &text) = 0;
};
