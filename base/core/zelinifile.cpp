#include "base/core/zelinifile.h"

#include "base/core/zelcaseless.h"
#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/core/zeltextlines.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

TzelIniFile::TzelIniFile()
{
    Clear();
}

TzelIniFile::TzelIniFile(const QString &fileName) : FFileName(fileName)
{
    Clear();
    if (QFileInfo::exists(fileName))
        LoadFromFile(fileName);
}

const TzelIniFile::Section *TzelIniFile::FindSection(const QString &name) const
{
    for (const Section &s : FSections)
        if (s.HasHeader && zelSameName(s.Name, name))
            return &s;
    return nullptr;
}

TzelIniFile::Section *TzelIniFile::FindSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).FindSection(name));
}

const TzelIniFile::Line *TzelIniFile::FindKey(const Section &section, const QString &key)
{
    for (const Line &line : section.Lines)
        if (line.IsKey && zelSameName(line.Key, key))
            return &line;
    return nullptr;
}

QString TzelIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Section *s = FindSection(section);
    const Line *line = s ? FindKey(*s, key) : nullptr;
    return line ? line->Value : defaultValue;
}

void TzelIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    Section *s = FindSection(section);
    if (!s) {
        FSections.push_back(Section{section, QString(), true, {}});
        s = &FSections.back();
    }
    if (Line *line = const_cast<Line *>(FindKey(*s, key))) {
        if (line->Value != value) {
            line->Value = value;
            line->Raw.clear(); // written anew, the old spacing no longer applies
        }
        return;
    }
    // After the last key, so that the blank lines and comments that lead
    // into the next section stay in front of it.
    auto at = s->Lines.begin();
    for (auto it = s->Lines.begin(); it != s->Lines.end(); ++it)
        if (it->IsKey)
            at = it + 1;
    s->Lines.insert(at, Line{QString(), key, value, true});
}

QStringList TzelIniFile::ReadSection(const QString &section) const
{
    QStringList keys;
    if (const Section *s = FindSection(section))
        for (const Line &line : s->Lines)
            if (line.IsKey)
                keys << line.Key;
    return keys;
}

QStringList TzelIniFile::ReadSections() const
{
    QStringList names;
    for (const Section &s : FSections)
        if (s.HasHeader)
            names << s.Name;
    return names;
}

QStringList TzelIniFile::ReadSectionValues(const QString &section) const
{
    QStringList pairs;
    if (const Section *s = FindSection(section))
        for (const Line &line : s->Lines)
            if (line.IsKey)
                pairs << line.Key + QLatin1Char('=') + line.Value;
    return pairs;
}

bool TzelIniFile::SectionExists(const QString &section) const
{
    return FindSection(section) != nullptr;
}

bool TzelIniFile::ValueExists(const QString &section, const QString &key) const
{
    const Section *s = FindSection(section);
    return s && FindKey(*s, key);
}

void TzelIniFile::DeleteKey(const QString &section, const QString &key)
{
    if (Section *s = FindSection(section))
        std::erase_if(s->Lines, [&key](const Line &line) { return line.IsKey && zelSameName(line.Key, key); });
}

void TzelIniFile::EraseSection(const QString &section)
{
    std::erase_if(FSections, [&section](const Section &s) { return s.HasHeader && zelSameName(s.Name, section); });
}

void TzelIniFile::Clear()
{
    FSections.clear();
    FSections.push_back(Section{});
}

QString TzelIniFile::Text() const
{
    QString text;
    for (const Section &s : FSections) {
        if (s.HasHeader)
            text += (s.Header.isEmpty() ? QLatin1Char('[') + s.Name + QLatin1Char(']') : s.Header) + QLatin1Char('\n');
        for (const Line &line : s.Lines)
            text += (line.IsKey && line.Raw.isEmpty() ? line.Key + QLatin1Char('=') + line.Value : line.Raw)
                  + QLatin1Char('\n');
    }
    return text;
}

void TzelIniFile::SetText(const QString &text)
{
    Clear();
    const QStringList lines = zelSplitLines(text, true);
    size_t current = 0;
    for (const QString &raw : std::as_const(lines)) {
        const QString trimmed = raw.trimmed();
        if (trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            if (const Section *existing = FindSection(name)) {
                current = size_t(existing - FSections.data());
            } else {
                FSections.push_back(Section{name, raw, true, {}});
                current = FSections.size() - 1;
            }
            continue;
        }
        Line line{raw, QString(), QString(), false};
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        const bool comment = trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
        // Before the first header there is no section to hold a key.
        if (!comment && eq > 0 && current > 0) {
            line.Key = raw.left(eq).trimmed();
            line.Value = raw.mid(eq + 1).trimmed();
            line.IsKey = !line.Key.isEmpty();
        }
        FSections[current].Lines.push_back(std::move(line));
    }
}

void TzelIniFile::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file.errorString()}));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TzelFileError(zelFormat(zelRes("ioCantRead"), {fileName, file.errorString()}));
    SetText(QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes));
}

void TzelIniFile::UpdateFile() const
{
    if (FFileName.isEmpty())
        throw TzelFileError(zelFormat(zelRes("ioCantCreate"), {FFileName, QStringLiteral("no file name")}));
    const QByteArray bytes = Text().toUtf8();
    zelSaveFile(FFileName, [&bytes](QIODevice *stream) { stream->write(bytes); });
}
