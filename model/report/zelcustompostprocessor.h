#pragma once
/// \file

#include <QString>
#include <QStringList>

/// The post-processor as scripts reach it: the contents stored for an object
/// and the restart of duplicate runs. The prepared pages supply it.
class TzelCustomPostProcessor
{
public:
    virtual ~TzelCustomPostProcessor() = default;
    /// The contents stored for the object Name, or nullptr.
    virtual const QStringList *GetMacroList(const QString &name) const = 0;
    /// A new run of band BandName (empty: of every band) starts: equal
    /// values no longer join those stored before.
    virtual void ResetDuplicates(const QString &bandName) = 0;
};
