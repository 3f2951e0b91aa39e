#include "model/style/zelstylesheet.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The looks the report wizard offers when no "wizstyle.xml" replaces them.
// Colours not given are clNone; Font.Style 1 is bold, Frame.Typ 4 a top and
// 8 a bottom line.
constexpr char builtInSheet[] = R"(<?xml version="1.0" encoding="utf-8"?>
<stylesheet>
<style Name="Zelmark">
<item Name="Title" Color="8421504" Font.Color="16777215" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Font.Color="128" Font.Style="1"/>
<item Name="Group header" Color="16053492" Font.Color="128" Font.Style="1"/>
<item Name="Data"/>
<item Name="Group footer" Font.Style="1"/>
<item Name="Header line" Frame.Typ="8" Frame.Width="2"/>
</style>
<style Name="Standard">
<item Name="Title" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Font.Style="1"/>
<item Name="Group header" Frame.Typ="8"/>
<item Name="Data"/>
<item Name="Group footer" Frame.Typ="4"/>
<item Name="Header line" Frame.Typ="8" Frame.Width="2"/>
</style>
<style Name="Soft gray">
<item Name="Title" Color="14211288" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Color="15790320" Font.Style="1"/>
<item Name="Group header" Color="15790320" Font.Style="1"/>
<item Name="Data" Font.Style="0"/>
<item Name="Group footer" Frame.Typ="4"/>
<item Name="Header line" Frame.Width="2"/>
</style>
<style Name="Corporate">
<item Name="Title" Color="0" Font.Color="16777215" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Color="0" Font.Color="16777215" Font.Style="1"/>
<item Name="Group header" Color="52479" Font.Style="1"/>
<item Name="Data"/>
<item Name="Group footer" Font.Style="1"/>
<item Name="Header line" Frame.Width="2"/>
</style>
</stylesheet>
)";

} // namespace

TzelStyleSheet::TzelStyleSheet() = default;

TzelStyleSheet::~TzelStyleSheet() = default;

TzelStyles *TzelStyleSheet::Find(const QString &name) const
{
    const int i = IndexOf(name);
    return i < 0 ? nullptr : FItems[size_t(i)].get();
}

int TzelStyleSheet::IndexOf(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (sameName(FItems[size_t(i)]->Name, name))
            return i;
    return -1;
}

QStringList TzelStyleSheet::GetList() const
{
    QStringList list;
    for (const auto &s : FItems)
        list << s->Name;
    return list;
}

void TzelStyleSheet::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(
            zelFormat(zelResources().Get(QStringLiteral("ioCantOpen")), {fileName, file.errorString()}));
    LoadFromStream(&file);
}

void TzelStyleSheet::LoadFromStream(QIODevice *stream)
{
    Clear();
    TzelXMLDocument document;
    document.LoadFromStream(stream);
    TzelXMLItem *root = document.Root();
    if (!sameName(root->Name(), QStringLiteral("stylesheet")))
        return;
    for (int i = 0; i < root->Count(); ++i)
        if (TzelXMLItem *child = root->Items(i); sameName(child->Name(), QStringLiteral("style")))
            Add()->LoadFromXMLItem(child, document.OldVersion());
}

void TzelStyleSheet::SaveToFile(const QString &fileName) const
{
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    document.Root()->SetName(QStringLiteral("stylesheet"));
    for (const auto &s : FItems)
        s->SaveToXMLItem(document.Root()->Add());
    document.SaveToFile(fileName);
}

void TzelStyleSheet::SaveToStream(QIODevice *stream) const
{
    TzelXMLDocument document;
    document.SetAutoIndent(true);
    document.Root()->SetName(QStringLiteral("stylesheet"));
    for (const auto &s : FItems)
        s->SaveToXMLItem(document.Root()->Add());
    document.SaveToStream(stream);
}

void TzelStyleSheet::LoadWizardStyles(const QString &programFolder)
{
    const QString custom = QDir(programFolder).filePath(QStringLiteral("wizstyle.xml"));
    if (QFileInfo::exists(custom)) {
        LoadFromFile(custom);
        return;
    }
    QByteArray data = QByteArray::fromRawData(builtInSheet, sizeof(builtInSheet) - 1);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(&buffer);
}
