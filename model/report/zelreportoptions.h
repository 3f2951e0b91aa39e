#pragma once
/// \file

#include "model/reflect/zelpersistent.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TzelReport;

/// Descriptive options of a template: author, dates, version, password.
class TzelReportOptions : public TzelPersistent
{
    ZEL_CLASS(TzelReportOptions, TzelPersistent)

    /// Options of Report, which collects the errors of CheckPassword.
    explicit TzelReportOptions(TzelReport *report = nullptr);

    QString Author;                 ///< author of the template
    bool Compressed = false;        ///< save through the registered compressor
    QString ConnectionName;         ///< name of a stored database connection
    double CreateDate = 0;          ///< day serial of creation
    double LastChange = 0;          ///< day serial of the last change
    QStringList Description;        ///< free description
    QString InitString;             ///< connection string for the data
    QString Name;                   ///< report name shown to users
    QString Password;               ///< password asked for when loading
    QByteArray Picture;             ///< encoded picture shown in file dialogs
    QString VersionBuild;           ///< version: build
    QString VersionMajor;           ///< version: major
    QString VersionMinor;           ///< version: minor
    QString VersionRelease;         ///< version: release
    bool Info = false;              ///< load only these options, then clear the report
    QString HiddenPassword;         ///< password given by the host, never asked for
    QString PrevPassword;           ///< password accepted last

    /// Resets the options; the descriptive ones only when Info is False.
    void Clear();
    /// Whether the user may open the template: an empty, accepted or hidden
    /// password passes; otherwise the password window asks for it and a
    /// wrong answer adds "Invalid password" to the report's errors.
    bool CheckPassword();

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelReportOptions> &p);

private:
    TzelReport *FReport;
};
