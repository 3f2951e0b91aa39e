#include "script/xml/kvxmldocument.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"
#include "base/xml/zelxmlreader.h"
#include "base/xml/zelxmlwriter.h"

#include <QBuffer>
#include <QFile>
#include <utility>

TkvXMLDocument::TkvXMLDocument()
    : FRoot(std::make_unique<TkvXMLItem>())
{
}

TkvXMLDocument::~TkvXMLDocument() = default;

void TkvXMLDocument::Clear()
{
    FRoot->Clear();
    FRoot->SetName(QString());
    FRoot->SetText(QString());
}

std::unique_ptr<TkvXMLItem> TkvXMLDocument::TakeRoot()
{
    return std::exchange(FRoot, std::make_unique<TkvXMLItem>());
}

void TkvXMLDocument::LoadFromStream(QIODevice *stream)
{
    Clear();
    TzelXMLReader reader(stream);
    reader.ReadHeader();
    // Program trees and grammars are UTF-8 whatever their header says.
    reader.SetOldFormat(false);
    reader.ReadRootItem(FRoot.get());
}

void TkvXMLDocument::SaveToStream(QIODevice *stream) const
{
    TzelXMLWriter writer(stream);
    writer.SetAutoIndent(AutoIndent);
    writer.WriteHeader("<?xml version=\"1.0\"?>");
    writer.WriteRootItem(FRoot.get());
}

void TkvXMLDocument::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file.errorString()}));
    LoadFromStream(&file);
}

void TkvXMLDocument::SaveToFile(const QString &fileName) const
{
    zelSaveFile(fileName, [this](QIODevice *stream) { SaveToStream(stream); });
}

QByteArray TkvXMLDocument::ToText() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(&buffer);
    return buffer.data();
}

void TkvXMLDocument::FromText(const QByteArray &text)
{
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(&buffer);
}
