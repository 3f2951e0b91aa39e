#pragma once
/// \file

#include "base/core/zelerrorlist.h"
#include "model/component/zelcomponent.h"
#include "model/component/zelreportcontext.h"
#include "model/data/zeldatasetlink.h"
#include "model/report/zelreportdatasets.h"
#include "model/report/zelvaluelookup.h"
#include "model/data/zelvariables.h"
#include "model/serial/zelserialhooks.h"
#include "model/io/zeliotransporttypes.h"
#include "model/report/zeldelayedcommandmanager.h"
#include "model/report/zelengineoptions.h"
#include "model/report/zelpreviewoptions.h"
#include "model/report/zelprintoptions.h"
#include "model/report/zelprogress.h"
#include "model/report/zelreportoptions.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;
class TzelCustomEngine;
class TzelCustomIOTransport;
class TzelCustomPreviewPages;
class TzelCustomPreview;
class QTimer;
class TzelPreviewPagesList;
class TzelCustomReportScript;
class TzelReportComponent;
class TzelReportPage;
class TzelStyles;
class TzelPictureStore;

/// The report: root of a template's object tree and the facade of the library.
/// It loads and saves templates, holds the option objects and the collected
/// errors, and queues actions asked for while another one runs.
class TzelReport : public TzelComponent, public TzelNestedPropertiesOwner, public TzelReportContext
{
    ZEL_CLASS(TzelReport, TzelComponent)

public:
    /// The only version a report ever reports; a loaded value is not kept.
    static constexpr const char *CurrentVersion = "6.9.6";

    TzelReport();
    ~TzelReport() override;

    // Published properties, stored in templates.
    /// File name of the template this one inherits from. Set while a
    /// template is read, it loads that template first.
    const QString &ParentReport() const { return FParentReport; }
    /// Sets ParentReport.
    void SetParentReport(const QString &value);
    /// A copy of the inherited template: what this report's differences are
    /// written against; nullptr when the report inherits nothing.
    const TzelReport *ParentReportObject() const { return FParentReportObject.get(); }
    /// Main data set of a report without data bands, or nullptr.
    TzelDataSet *DataSet() const { return FDataSet.DataSet(); }
    /// Refers to Value and takes its user name as DataSetName.
    void SetDataSet(TzelDataSet *value) { FDataSet.SetDataSet(value); }
    /// The data set's user name, or the name given while none is found.
    QString DataSetName() const { return FDataSet.Name(); }
    /// Looks the data set up by name (zelFindDataSet); empty clears it.
    void SetDataSetName(const QString &value) { FDataSet.SetName(this, value); }
    bool DotMatrixReport = false; ///< a report for character printers
    QString IniFile;             ///< where user preferences are stored
    bool OldStyleProgress = false; ///< prepare before showing, with a progress window
    QString ScriptLanguage;      ///< language of ScriptText
    QStringList ScriptText;      ///< the report's script
    bool ShowProgress = true;    ///< show progress while building
    bool StoreInDFM = true;      ///< keep the template inside the host form
    QString OnRunDialogs;        ///< script procedure run before the dialogs
    QString OnStartReport;       ///< script procedure run when a build starts
    QString OnStopReport;        ///< script procedure run when a build ends
    QString OnReportPrint;       ///< script procedure run when the report prints

    /// Always "6.9.6".
    QString Version() const { return QString::fromLatin1(CurrentVersion); }
    /// Ignores Value: a report always keeps the current version.
    void SetVersion(const QString &value);

    /// Engine options.
    TzelEngineOptions &EngineOptions() { return FEngineOptions; }
    /// Preview options.
    TzelPreviewOptions &PreviewOptions() { return FPreviewOptions; }
    /// Print options.
    TzelPrintOptions &PrintOptions() { return FPrintOptions; }
    /// Report options.
    TzelReportOptions &ReportOptions() { return FReportOptions; }

    // Public state.
    /// Errors collected while loading and preparing: sorted, each once, for
    /// the message box; and in the order met, with file, line and column.
    TzelErrorList &Errors() override { return FErrors; }
    /// Read-only access.
    const TzelErrorList &Errors() const { return FErrors; }
    /// The last file loaded or saved.
    QString FileName() const override { return FFileName; }
    /// Sets FileName.
    void SetFileName(const QString &value) { FFileName = value; }
    /// Whether the template changed since it was loaded or saved.
    bool Modified = false;
    /// Set by a cancel; the build, printing and export stop.
    bool Terminated = false;
    /// Names of the drill-down groups that show the other way than their
    /// ExpandDrillDown says; kept between builds.
    QStringList DrillState;
    /// Where picture objects store their pictures while their differences
    /// are written (the prepared pages being filled); nullptr otherwise.
    TzelPictureStore *PictureStore() const override { return FPictureStore; }
    /// Sets PictureStore.
    void SetPictureStore(TzelPictureStore *value) { FPictureStore = value; }
    /// The style named Name of the report's own set, or nullptr.
    TzelStyleItem *FindStyle(const QString &name) const override;
    /// With the global data-set list in use, the global list searched by
    /// user name (data sets of other reports skipped, Current kept when
    /// nothing matches); otherwise EnabledDataSets, an absent name giving none.
    TzelDataSet *FindDataSet(const QString &name, TzelDataSet *current) const override;
    /// ParentReportObject.
    const TzelComponent *ParentTemplate() const override { return FParentReportObject.get(); }
    /// The report is the context of its tree.
    TzelReportContext *AsReportContext() override { return this; }
    /// Whether the last load read its template to the end and was let in
    /// (non-fatal errors aside).
    bool StreamLoaded() const { return FStreamLoaded; }
    /// Names of the system variables, in their fixed order.
    const QStringList &SystemVariables() const { return FSystemVariables; }
    /// Actions queued while another action ran.
    TzelDelayedCommandManager &DelayedCommands() { return FDelayedCommands; }

    // Data sets and variables.
    /// The data sets the template uses (stored as "Datasets").
    TzelReportDataSets &DataSets() { return FDataSets; }
    /// Read-only access.
    const TzelReportDataSets &DataSets() const { return FDataSets; }
    /// The data sets the host allows when the global list is not used.
    TzelReportDataSets &EnabledDataSets() { return FEnabledDataSets; }
    /// Read-only access.
    const TzelReportDataSets &EnabledDataSets() const { return FEnabledDataSets; }
    /// The report variables (stored as "Variables").
    TzelVariables &Variables() { return FVariables; }
    /// Read-only access.
    const TzelVariables &Variables() const { return FVariables; }
    /// The report's styles (stored as "Styles").
    TzelStyles &Styles() { return *FStyles; }
    /// Read-only access.
    const TzelStyles &Styles() const { return *FStyles; }
    /// Nullptr empties the styles; otherwise they become copies of Value's
    /// and are applied to the text objects.
    void SetStyles(const TzelStyles *value);
    /// Makes sure the report has a data page, first among its children; a
    /// new one also takes every dialog component of the tree.
    void CheckDataPage();
    /// The data set of DataSets named Alias (user or component name), or nullptr.
    TzelDataSet *GetDataset(const QString &alias) const;
    /// The user name of DataSet when DataSets lists it, the text of
    /// "clDSNotIncl" when not, empty for none.
    QString GetAlias(const TzelDataSet *dataSet) const;
    /// Splits a field reference DataSet."Field" at the first point followed
    /// by a quote; without one, DataSet is nullptr and Field empty.
    void GetDatasetAndField(const QString &complexName, TzelDataSet *&dataSet, QString &field) const;
    /// The data sets of DataSets; without user data sets when OnlyDB.
    QList<TzelDataSet *> GetDataSetList(bool onlyDB = false) const;
    /// The data sets offered to the template: the enabled ones of the global
    /// list when it is in use, otherwise those of EnabledDataSets.
    QList<TzelDataSet *> GetActiveDataSetList() const;
    /// The data set component named Name: in the tree, else (without the
    /// global list) in EnabledDataSets by the part after the last point.
    TzelDataSet *FindDataSetComponent(const QString &name) const;
    /// Adds "clDSNotExist" for every entry of DataSets without a data set;
    /// False when any was added (the data-set check before a build).
    bool CheckDataSets();
    /// Resolves Name to a value (zelLookupValue); False when unresolved.
    bool LookupValue(const QString &name, Variant &value) { return zelLookupValue(*this, name, value); }
    /// The lookup steps of the expression engine, the engine and the script.
    TzelValueLookupHooks ValueHooks;
    /// The object named Name; while a template is read without the global
    /// list, a data set of EnabledDataSets may stand for a name not found.
    TzelComponent *FindObject(const QString &name) const override;

    // Host callbacks, never stored.
    std::function<void()> OnBeginDoc;  ///< a build starts
    std::function<void()> OnEndDoc;    ///< a build ended successfully
    std::function<void()> OnPreview;   ///< the preview window was created
    /// Gives the value of a name the report cannot resolve itself.
    std::function<void(const QString &varName, Variant &value)> OnGetValue;
    /// The same after OnGetValue, with the object asking.
    std::function<void(TzelComponent *sender, const QString &varName, Variant &value)> OnNewGetValue;
    /// Builds a page itself (through Engine()->ShowBand) instead of its data bands.
    std::function<void(TzelReportPage *page)> OnManualBuild;
    /// An object is about to be printed, before its own OnBeforePrint procedure.
    std::function<void(TzelReportComponent *sender)> OnBeforePrint;
    /// An object was printed, before its own OnAfterPrint procedure.
    std::function<void(TzelReportComponent *sender)> OnAfterPrint;
    /// \var TzelReport::OnProgress
    /// A long action reports progress.

    /// \var TzelReport::OnProgressStop
    /// A long action ended.

    /// A long action starts, reports progress, and ends.
    std::function<void(const TzelProgress &)> OnProgressStart, OnProgress, OnProgressStop;
    /// The report's script compiled without errors, before its main block runs.
    std::function<void()> OnAfterScriptCompile;
    /// Serves the functions added with AddFunction: the upper-case name and
    /// the arguments (by-reference ones writable); returns the result.
    std::function<Variant(const QString &methodName, QList<Variant> &params)> OnUserFunction;

    /// A host function scripts of this report may call, declared by its syntax.
    struct UserFunction
    {
        QString Syntax;      ///< "function Tax(Amount: Extended): Extended"
        QString Category;    ///< category of the designer's function list
        QString Description; ///< shown to users
    };
    /// Adds a function declared by Syntax that scripts of this report may
    /// call; OnUserFunction serves it. It stays across preparations.
    void AddFunction(const QString &syntax, const QString &category = QStringLiteral("ctOther"),
                     const QString &description = QString());
    /// The functions added with AddFunction.
    const QList<UserFunction> &UserFunctions() const { return FUserFunctions; }

    /// The engine, made by the registered factory on first use; nullptr
    /// when no factory is registered.
    TzelCustomEngine *Engine();
    /// The current prepared pages, made like the engine.
    TzelCustomPreviewPages *PreviewPages();
    /// The first prepared pages, which a build fills unless another is current.
    TzelCustomPreviewPages *MainPreviewPages();
    /// Every prepared-pages container of the report; the engine follows the current one.
    TzelPreviewPagesList *PreviewPagesList();
    /// The report pages of the template in order (the data and dialog pages left out).
    QList<TzelReportPage *> ReportPages() const;
    /// Builds the report into its current prepared pages; False when errors
    /// were collected (see Errors) or the build was refused.
    bool PrepareReport(bool clearLastReport = true);
    /// The report's script program, made by the registered factory on first
    /// use; nullptr when none is registered.
    TzelCustomReportScript *Script();
    /// Makes Script the report's script.
    void SetScript(std::unique_ptr<TzelCustomReportScript> script);
    /// Calls the procedure EventName with Sender when EventName is set and
    /// either RunAlways or the engine is running.
    void DoNotifyEvent(TzelComponent *sender, const QString &eventName, bool runAlways = false);
    /// Calls the procedure EventName with Params on the same condition.
    void DoParamEvent(const QString &eventName, QList<Variant> &params, bool runAlways = false);
    /// Fires the host's OnBeforePrint, then the object's OnBeforePrint procedure.
    void DoBeforePrint(TzelReportComponent *c);
    /// Fires the host's OnAfterPrint, then the object's OnAfterPrint procedure.
    void DoAfterPrint(TzelReportComponent *c);
    /// Name of the object the engine is working on (error messages and the script).
    QString CurObject;
    /// Whether expressions differing only in case are compiled apart.
    bool CaseSensitiveExpressions = true;
    /// The value of Expression: a single name resolves through LookupValue,
    /// anything else is compiled once into a function of the report's script
    /// and run. An error raises, prefixed with CurObject, and is added to
    /// Errors (with IgnoreExprError the expression's text is the value).
    Variant Calc(const QString &expression) override;
    /// Calc with errors prefixed by "Error in Calc expression: " and not
    /// collected: the form scripts call.
    Variant CalcFromScript(const QString &expression);
    void SetSelfValue(TzelComponent *object) override;
    void SetLocalValue(const Variant &value) override;
    double ZeroPrecision() const override { return FEngineOptions.ZeroPrecisionValue; }

    /// Fires OnProgressStart.
    void InternalOnProgressStart(const TzelProgress &progress);
    /// Fires OnProgress.
    void InternalOnProgress(const TzelProgress &progress);
    /// Fires OnProgressStop.
    void InternalOnProgressStop(const TzelProgress &progress);

    /// Clears the report: empties the template and resets every option that
    /// belongs to a template.
    void Clear() override;
    /// Loads FileName; False (and an empty report) when it does not exist,
    /// unless ExceptionIfNotFound, when opening it raises the file error.
    bool LoadFromFile(const QString &fileName, bool exceptionIfNotFound = false);
    /// Loads a template from Stream; False when it could not be read.
    bool LoadFromStream(QIODevice *stream) override;
    /// Loads FileName through Filter.
    bool LoadFromFilter(TzelCustomIOTransport *filter, const QString &fileName);
    /// Saves the template to FileName.
    void SaveToFile(const QString &fileName);
    /// Saves the template to Stream.
    void SaveToStream(QIODevice *stream, bool saveChildren = true, bool saveDefaultValues = false,
                      bool streaming = false) override;
    /// Saves the template to FileName through Filter.
    bool SaveToFilter(TzelCustomIOTransport *filter, const QString &fileName);
    /// Reads or writes FileName through Filter; False when the transport
    /// declined (a cancelled dialog) or the stream could not be loaded.
    bool ProcessIOTransport(TzelCustomIOTransport *filter, const QString &fileName, TzelFilterAccess access);

    /// Builds and shows the report in the preview: the window opens at once
    /// and the build starts from the event loop 50 ms later, so pages show
    /// while they are made (OldStyleProgress builds first).
    void ShowReport(bool clearLastReport = true);
    /// The control showing this report's pages, or nullptr.
    TzelCustomPreview *Preview() const { return FPreview; }
    /// Attaches Preview (nullptr detaches, and drops a build ShowReport left
    /// waiting); it is told of builds from now on.
    void SetPreview(TzelCustomPreview *preview);
    /// Shows the prepared pages in the preview window.
    void ShowPreparedReport();
    /// Opens the template in the designer.
    void DesignReport(bool modal = true, bool mdiChild = false);

    /// True while the engine or the script runs.
    bool IsReportActionRunning() const { return FEngineRunning || FScriptRunning; }
    /// Marks the engine as running; the engine calls this around a build.
    void SetEngineRunning(bool value) { FEngineRunning = value; }
    /// Marks the script as running; the script glue calls this around a run.
    void SetScriptRunning(bool value) { FScriptRunning = value; }
    /// Runs the actions queued while another action ran.
    void RunDelayedCommands();

    /// Shows Message as the engine options say: a message box captioned
    /// "Error", nothing, or a TzelException.
    void ReportError(const QString &message);
    /// Reports the collected errors as one message, under "clErrors".
    void ReportErrors();
    /// The collected errors as reported: "clErrors", CR LF, the error lines.
    QString ErrorsText() const;

    /// Where user preferences go: the registry-style key or the INI file name.
    QString GetIniFile() const { return IniFile; }
    /// The folder of the executable, ending with a separator.
    QString GetApplicationFolder() const;

    void WriteNestedProperties(TzelXMLItem *item, const TzelComponent *ancestor) const override;
    bool ReadNestedProperty(TzelXMLItem *item) override;
    void CopyNestedProperties(const TzelComponent &source) override;

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelReport> &p);

    /// Shifts every character code of Password by Delta: passwords are
    /// written lowered by 10 when no crypter enciphers the template.
    static QString ShiftPassword(const QString &password, int delta);

private:
    // Whether the procedure EventName is to be called now.
    bool RunsEvent(const QString &eventName, bool runAlways) const;
    // Prepares the script and runs its main block; False when the build
    // must not go on (errors collected, or the script terminated it).
    bool RunScript();
    Variant Evaluate(const QString &expression, bool fromScript);
    void ReadTemplate(QIODevice *stream);
    /// Adds errors a read of the file FileName collected.
    void AddLoadErrors(QList<TzelLocatedError> errors, const QString &fileName);
    void LoadParentReport(const QString &name);

    TzelEngineOptions FEngineOptions;
    TzelPreviewOptions FPreviewOptions;
    TzelPrintOptions FPrintOptions;
    TzelReportOptions FReportOptions;
    TzelErrorList FErrors;
    QStringList FSystemVariables;
    TzelDelayedCommandManager FDelayedCommands;
    QString FParentReport;
    std::unique_ptr<TzelReport> FParentReportObject;
    TzelPictureStore *FPictureStore = nullptr;
    QString FFileName;
    bool FStreamLoaded = false;
    bool FEngineRunning = false;
    bool FScriptRunning = false;
    TzelReportDataSets FDataSets;
    TzelVariables FVariables;
    std::unique_ptr<TzelStyles> FStyles;
    TzelReportDataSets FEnabledDataSets;
    TzelDataSetLink FDataSet;
    QList<UserFunction> FUserFunctions;
    // Pages before the engine: the engine points at them and goes first.
    std::unique_ptr<TzelPreviewPagesList> FPreviewPagesList;
    std::unique_ptr<TzelCustomEngine> FEngine;
    TzelCustomPreview *FPreview = nullptr;
    std::unique_ptr<QTimer> FPrepareTimer;
    std::unique_ptr<TzelCustomReportScript> FScript;
};

/// The report whose tree holds C (C itself when it is one), or nullptr.
TzelReport *zelReportOf(const TzelComponent *c);
