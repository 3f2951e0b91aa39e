// The preview's tabs: several built reports (or detail pages of one) in one
// control, each tab keeping where its view stood.
#include "preview/zelpreview.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelpreviewpageslist.h"
#include "model/report/zelreport.h"
#include "preview/zelpreviewworkspace.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTabBar>

namespace {

// Gives the variables a link names the values it carries: two lists split
// at the link's separator, each value a text.
void SetLinkVariables(TzelReport &report, const TzelHyperlink &link)
{
    if (link.ReportVariable.isEmpty())
        return;
    const QString separator = link.ValuesSeparator.isEmpty() ? QStringLiteral(";") : link.ValuesSeparator;
    const QStringList names = link.ReportVariable.split(separator);
    const QStringList values = link.Value.split(separator);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString value = values.value(i);
        value.replace(QLatin1Char('\''), QStringLiteral("''"));
        report.Variables().SetValue(names[i].trimmed(), Variant(QLatin1Char('\'') + value + QLatin1Char('\'')));
    }
}

} // namespace

int TzelPreview::FindTab(const std::function<bool(const TzelPreviewTabItem &)> &match) const
{
    for (size_t i = 0; i < FTabItems.size(); ++i)
        if (match(*FTabItems[i]))
            return int(i);
    return -1;
}

void TzelPreview::ReleaseReport(TzelReport *report)
{
    if (report && report->Preview() == this && !HasTab(report))
        report->SetPreview(nullptr);
}

bool TzelPreview::HasTab(const QString &name) const
{
    return FindTab([&](const TzelPreviewTabItem &t) { return t.Name == name; }) >= 0;
}

bool TzelPreview::HasTab(const TzelReport *report) const
{
    return FindTab([&](const TzelPreviewTabItem &t) { return t.Report == report; }) >= 0;
}

void TzelPreview::SaveTabState()
{
    if (FCurTab < 0 || FCurTab >= TabCount())
        return;
    TzelPreviewTabItem &tab = *FTabItems[size_t(FCurTab)];
    tab.Zoom = FZoom;
    tab.ZoomMode = FZoomMode;
    tab.Offset = FWorkspace->Offset();
    tab.ThumbTop = FThumbnail->Offset().y();
    tab.PageNo = FPageNo;
}

void TzelPreview::AddPreviewTab(TzelReport *report, const QString &tabName, const QString &detailPage,
                                bool freeObjects, const QString &tabCaption)
{
    auto tab = std::make_unique<TzelPreviewTabItem>();
    tab->Name = tabName;
    tab->Report = report;
    tab->PreviewPages = report->PreviewPages();
    tab->DetailPage = detailPage;
    tab->Zoom = FZoom;
    tab->ZoomMode = FZoomMode;
    if (freeObjects)
        tab->Owned.reset(report);
    FTabItems.push_back(std::move(tab));
    const int index = FTabs->addTab(tabCaption.isEmpty() ? tabName : tabCaption);
    // The first tab shows the report the preview was opened for: it stays.
    if (index == 0)
        FTabs->setTabButton(0, QTabBar::RightSide, nullptr);
    FTabs->setVisible(HasVisibleTabs());
    SwitchToTab(index);
}

void TzelPreview::AddPreviewTabOrSwitch(TzelReport *report, const QString &tabName, const QString &detailPage,
                                        bool freeObjects, const QString &tabCaption)
{
    const int shown = FindTab([&](const TzelPreviewTabItem &t) {
        return t.Report == report && t.PreviewPages == report->PreviewPages();
    });
    if (shown >= 0) {
        SwitchToTab(shown);
        return;
    }
    QString name = tabName;
    if (name.isEmpty())
        name = report->FileName().isEmpty() ? report->ReportOptions().Name : QFileInfo(report->FileName()).fileName();
    AddPreviewTab(report, name, detailPage, freeObjects, tabCaption);
}

void TzelPreview::SwitchToTab(int index)
{
    if (index < 0 || index >= TabCount())
        return;
    WorkspaceMouseLeft();
    if (index != FCurTab)
        SaveTabState();
    FCurTab = index;
    const TzelPreviewTabItem &tab = *FTabItems[size_t(index)];
    {
        const QSignalBlocker blocker(FTabs);
        FTabs->setCurrentIndex(index);
    }
    BindPages(tab.Report, tab.PreviewPages);
    FZoom = tab.Zoom;
    FZoomMode = tab.ZoomMode;
    Relayout();
    UpdateOutline();
    ShowPageAt(tab.PageNo, tab.Offset);
    FThumbnail->SetOffset(QPoint(0, tab.ThumbTop));
    // A search belongs to the pages it ran on.
    if (FindFmVisible())
        SetFindFmVisible(false);
    emit TabChanged(index);
}

void TzelPreview::SwitchToTab(const QString &name)
{
    SwitchToTab(FindTab([&](const TzelPreviewTabItem &t) { return t.Name == name; }));
}

void TzelPreview::SwitchToTab(const TzelReport *report)
{
    SwitchToTab(FindTab([&](const TzelPreviewTabItem &t) { return t.Report == report; }));
}

void TzelPreview::RemoveTab(int index)
{
    if (index < 0 || index >= TabCount())
        return;
    WorkspaceMouseLeft();
    std::unique_ptr<TzelPreviewTabItem> tab = std::move(FTabItems[size_t(index)]);
    FTabItems.erase(FTabItems.begin() + index);
    {
        const QSignalBlocker blocker(FTabs);
        FTabs->removeTab(index);
    }
    FTabs->setVisible(HasVisibleTabs());
    const bool wasCurrent = index == FCurTab;
    if (index < FCurTab)
        --FCurTab;
    ReleaseReport(tab->Report);
    // A detail page of a report still shown elsewhere: only its pages go.
    if (!tab->Owned && tab->Report && tab->PreviewPages && tab->PreviewPages != tab->Report->MainPreviewPages())
        tab->Report->PreviewPagesList()->Delete(tab->PreviewPages);
    if (tab->Report == FReport)
        BindPages(nullptr, nullptr);
    tab.reset();
    if (FTabItems.empty()) {
        FCurTab = -1;
        ResetView();
        return;
    }
    if (wasCurrent) {
        FCurTab = -1;
        SwitchToTab(std::max(0, index - 1));
    }
}

void TzelPreview::ClearAllTabs()
{
    while (!FTabItems.empty())
        RemoveTab(TabCount() - 1);
}

bool TzelPreview::BuildDetailPage(const QString &pageName, TzelCustomPreviewPages *pages)
{
    auto *page = dynamic_cast<TzelReportPage *>(FReport->FindObject(pageName));
    TzelCustomEngine *engine = FReport->Engine();
    if (!page || !engine) {
        FReport->ReportError(zelFormat(zelRes("clPageNotFound"), {pageName}));
        return false;
    }
    FReport->PreviewPagesList()->SetCurrent(pages);
    pages->Clear();
    FReport->Errors().Clear();
    FCalledFromPreview = true;
    const auto done = qScopeGuard([this] { FCalledFromPreview = false; });
    try {
        engine->Run(false, true, page);
    } catch (const TzelException &e) {
        FReport->Errors().Add(e.message());
    }
    if (FReport->Errors().IsEmpty())
        return true;
    FReport->ReportErrors();
    return false;
}

void TzelPreview::OpenDetail(const TzelHyperlink &link)
{
    if (!FReport || FRunning)
        return;
    const QString caption = link.TabCaption.isEmpty() ? link.Value : link.TabCaption;
    if (link.Kind == hkDetailPage) {
        const QString name = link.DetailPage + QLatin1Char(' ') + link.Value;
        if (HasTab(name)) {
            SwitchToTab(name);
            return;
        }
        SetLinkVariables(*FReport, link);
        TzelCustomPreviewPages *shown = FPages;
        TzelCustomPreviewPages *pages = FReport->PreviewPagesList()->AddAsCurrent();
        if (!BuildDetailPage(link.DetailPage, pages)) {
            FReport->PreviewPagesList()->Delete(pages);
            BindPages(FReport, shown);
            return;
        }
        AddPreviewTab(FReport, name, link.DetailPage, false, caption);
        return;
    }
    // A detail report: its file lies beside the report's own.
    QString file = link.DetailReport;
    if (QFileInfo(file).isRelative() && !FReport->FileName().isEmpty())
        file = QFileInfo(FReport->FileName()).dir().filePath(file);
    const QString name = QFileInfo(file).fileName() + QLatin1Char(' ') + link.Value;
    if (HasTab(name)) {
        SwitchToTab(name);
        return;
    }
    auto detail = std::make_unique<TzelReport>();
    detail->EngineOptions().NewSilentMode = FReport->EngineOptions().NewSilentMode;
    if (!detail->LoadFromFile(file, false)) {
        FReport->ReportError(zelFormat(zelRes("clFileNotFound"), {file}));
        return;
    }
    SetLinkVariables(*detail, link);
    if (!detail->PrepareReport())
        return;
    AddPreviewTab(detail.release(), name, QString(), true, caption);
}
