#pragma once
/// \file

#include <functional>

class TzelCustomPreviewPages;
class TzelReport;

/// What a report sees of the control that shows its prepared pages: the
/// control lives above the model (on widgets) and attaches itself to the
/// report, which then tells it when pages are bound, built and gone.
class TzelCustomPreview
{
public:
    virtual ~TzelCustomPreview() = default;

    /// Shows Pages of Report; False when the control refused.
    virtual bool Init(TzelReport *report, TzelCustomPreviewPages *pages) = 0;
    /// Forgets every view of Report (the report goes away or detaches).
    virtual void UnInit(TzelReport *report) = 0;
    /// A build starts.
    virtual void InternalOnProgressStart() = 0;
    /// Page Progress of a build is being made.
    virtual void InternalOnProgress(int progress) = 0;
    /// A build ended.
    virtual void InternalOnProgressStop() = 0;
    /// The pages changed outside a build: draw them again.
    virtual void PreviewPagesChanged() = 0;
    /// Closes the preview window the report opened for the control, if any.
    virtual void CloseHostWindow() = 0;
};

/// Opens the preview window for Report: attaches its control as the
/// report's preview, initialises it and shows it (modal or not, as the
/// report's preview options say).
using TzelPreviewWindowMaker = std::function<void(TzelReport &report)>;

/// Installs the maker ShowPreparedReport calls when no control is attached.
void zelSetPreviewWindowMaker(TzelPreviewWindowMaker maker);
/// The installed maker; empty until the preview layer installs one.
const TzelPreviewWindowMaker &zelPreviewWindowMaker();
