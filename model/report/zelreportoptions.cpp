#include "model/report/zelreportoptions.h"

#include "base/core/zeldatetime.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "model/report/zelreport.h"

TzelReportOptions::TzelReportOptions(TzelReport *report)
    : FReport(report)
{
    Clear();
}

void TzelReportOptions::Clear()
{
    ConnectionName.clear();
    InitString.clear();
    Name.clear();
    Password.clear();
    PrevPassword.clear();
    if (Info)
        return;
    Author.clear();
    Compressed = false;
    CreateDate = LastChange = zelNow();
    Description.clear();
    Picture.clear();
    VersionBuild.clear();
    VersionMajor.clear();
    VersionMinor.clear();
    VersionRelease.clear();
}

bool TzelReportOptions::CheckPassword()
{
    if (Password.isEmpty() || Password == PrevPassword || Password == HiddenPassword)
        return true;
    QString typed;
    if (TzelDialogService::Instance().InputPassword(zelResources().Get(QStringLiteral("Password")), typed)
        && typed == Password) {
        PrevPassword = Password;
        return true;
    }
    FReport->Errors().Add(zelResources().Get(QStringLiteral("Invalid password")));
    FReport->ReportErrors();
    return false;
}

void TzelReportOptions::Publish(TzelPublisher<TzelReportOptions> &p)
{
    using T = TzelReportOptions;
    p.Prop("Author", &T::Author);
    p.Prop("Compressed", &T::Compressed).Default(false);
    p.Prop("ConnectionName", &T::ConnectionName);
    p.Prop("CreateDate", &T::CreateDate).Type("TDateTime");
    p.Prop("LastChange", &T::LastChange).Type("TDateTime");
    p.Prop("Description", &T::Description);
    p.Prop("InitString", &T::InitString);
    p.Prop("Name", &T::Name);
    p.Prop("Password", &T::Password);
    p.Prop("VersionBuild", &T::VersionBuild);
    p.Prop("VersionMajor", &T::VersionMajor);
    p.Prop("VersionMinor", &T::VersionMinor);
    p.Prop("VersionRelease", &T::VersionRelease);
}
