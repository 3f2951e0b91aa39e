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
