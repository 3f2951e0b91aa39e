#pragma once
/// \file

#include "base/core/zelexception.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;
class TzelComponent;
class TzelCustomIOTransport;
class TzelReport;
class TzelReportPage;

/// Raised inside an export to end it quietly when the report is terminated.
class TzelExportTerminated : public TzelException
{
public:
    TzelExportTerminated() : TzelException(QStringLiteral("Export terminated")) {}
};

/// The contract of an export filter: the prepared pages' Export walks the
/// chosen pages and hands every exportable object to ExportObject, between
/// Start, StartPage, FinishPage and Finish. Output goes through an IO
/// transport. A filter enters the process-wide list of export filters (the
/// menus of the preview and the designer, and the command-line tool's choice
/// by extension) unless made with NoRegister.
class TzelCustomExportFilter
{
public:
    /// Whether a new filter enters the list of export filters.
    enum Registration { Register, NoRegister };

    /// A filter; it enters the list unless made with NoRegister.
    explicit TzelCustomExportFilter(Registration registration = Register);
    /// Leaves the list; frees the default transport.
    virtual ~TzelCustomExportFilter();
    TzelCustomExportFilter(const TzelCustomExportFilter &) = delete;
    TzelCustomExportFilter &operator=(const TzelCustomExportFilter &) = delete;

    /// Every filter made with Register that still lives, oldest first.
    static const QList<TzelCustomExportFilter *> &Filters();
    /// The registered filter whose DefaultExt is Ext (with or without the
    /// dot, case ignored), or nullptr.
    static TzelCustomExportFilter *ForExtension(const QString &ext);

    // The filter's work, in the order the export calls it.
    /// Prepares the output; False ends the export before any page.
    virtual bool Start() { return true; }
    /// A page begins: Page is the rebuilt prepared page with index Index.
    virtual void StartPage(TzelReportPage * /*page*/, int /*index*/) {}
    /// Writes one object of the page (its children come separately).
    virtual void ExportObject(TzelComponent *object) = 0;
    /// The page is complete.
    virtual void FinishPage(TzelReportPage * /*page*/, int /*index*/) {}
    /// Completes the output; also after an error in the pages.
    virtual void Finish() {}
    /// What the filter's menu entry says; empty here.
    virtual QString GetDescription() const { return QString(); }
    /// The filter's options dialog; True (OK) here.
    virtual bool ShowModal() { return true; }
    /// A transport of the default kind for this filter, unregistered.
    virtual std::unique_ptr<TzelCustomIOTransport> CreateDefaultIOTransport();

    /// Resolves the file name, then Start.
    bool DoStart();
    /// Finish.
    void DoFinish() { Finish(); }
    /// The filter's own transport, made by CreateDefaultIOTransport on first use.
    TzelCustomIOTransport *GetDefaultIOTransport();
    /// Frees the default transport (the next export makes a fresh one).
    void ResetDefaultIOTransport();
    /// The "Description|*.ext" filter string of the output type.
    QString FilterString() const;

    bool ShowDialog = true;          ///< show the filter's options dialog before exporting
    QString FileName;                ///< the output file
    bool ExportNotPrintable = false; ///< for the filter's own use
    bool UseFileCache = true;        ///< for the filter's own use
    QString DefaultPath;             ///< folder for a file name without one
    bool ShowProgress = true;        ///< report progress while exporting
    bool OverwritePrompt = false;    ///< handed to the transport
    QDateTime CreationTime;          ///< when the export started
    bool DataOnly = false;           ///< only objects lying in data bands
    bool CurPage = false;            ///< only the current page
    QString PageNumbers;             ///< pages in the print-range syntax; empty: all
    TzelReport *Report = nullptr;    ///< the report being exported
    QIODevice *Stream = nullptr;     ///< an output stream given instead of a file
    bool SlaveExport = false;        ///< exporting on behalf of another operation
    QString DefaultExt;              ///< the output's extension, with its dot
    QString FilterDesc;              ///< the output type's description
    QString ExportTitle;             ///< the filter's title
    bool SuppressPageHeadersFooters = false; ///< page header on the first page only, footer on the last only
    QStringList Files;               ///< the files an export wrote
    bool OpenAfterExport = false;    ///< for the filter's own use
    /// The transport in use during an export.
    TzelCustomIOTransport *IOTransport = nullptr;
    /// Before the options dialog.
    std::function<void(TzelCustomExportFilter *)> OnBeforeExport;
    /// Before Start.
    std::function<void(TzelCustomExportFilter *)> OnBeginExport;

    /// With SlaveExport and no FileName: a temporary file named after the
    /// report; a name without folder goes to DefaultPath. Done again by
    /// DoStart, which finds nothing left to do.
    void ResolveFileName();

private:

    std::unique_ptr<TzelCustomIOTransport> FDefaultIOTransport;
    bool FRegistered;
};
