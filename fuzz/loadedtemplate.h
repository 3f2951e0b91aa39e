#pragma once

// How the template fuzzer loads an input, shared with the test that replays
// the inputs it once failed on: as a host holds a report, from a stream, as
// if read from a file beside the parent templates of fuzz/parents.
#include "model/report/zelreport.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <utility>

namespace zelfuzz {

/// A report loaded from Data as the template FileName.
struct LoadedTemplate
{
    LoadedTemplate(QByteArray data, const QString &fileName) : Data(std::move(data))
    {
        Report.EngineOptions().NewSilentMode = simSilent;
        Report.SetFileName(fileName);
        QBuffer buffer(&Data);
        buffer.open(QIODevice::ReadOnly);
        Report.LoadFromStream(&buffer);
    }

    /// The report saved again.
    QByteArray Save()
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        Report.SaveToStream(&out);
        return out.data();
    }

    QByteArray Data;
    TzelReport Report;
};

/// Copies the parent templates of Parents into Folder; False when one cannot be.
inline bool copyParents(const QString &parents, const QString &folder)
{
    const QDir from(parents);
    const QStringList names = from.entryList(QDir::Files);
    for (const QString &name : names)
        if (!QFile::copy(from.filePath(name), QDir(folder).filePath(name)))
            return false;
    return !names.isEmpty();
}

/// An input that names a parent may name itself: it is written as Self,
/// which otherwise must not exist. False when it cannot be written.
inline bool placeSelf(const QByteArray &input, const QString &self)
{
    if (!input.contains("ParentReport"))
        return !QFile::exists(self) || QFile::remove(self);
    QFile file(self);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(input) == input.size();
}

/// The round every input takes: loaded, saved, and the saved text loaded
/// and saved again. Returns the first save.
inline QByteArray roundTrip(const QByteArray &input, const QString &self, QString *errors = nullptr)
{
    LoadedTemplate first(input, self);
    const QByteArray saved = first.Save();
    if (errors)
        *errors = first.Report.Errors().Text();
    LoadedTemplate(saved, self).Save();
    return saved;
}

} // namespace zelfuzz
