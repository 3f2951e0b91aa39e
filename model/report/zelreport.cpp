#include "model/report/zelreport.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "base/xml/zelxmlitem.h"
#include "model/report/zeldatasetitem.h"
#include "model/data/zeldatasetlist.h"
#include "model/data/zeldialogcomponent.h"
#include "model/data/zelfinddataset.h"
#include "model/data/zeluserdataset.h"
#include "model/io/zelcustomiotransport.h"
#include "model/io/zeliotransportfile.h"
#include "model/io/zelopentransport.h"
#include "model/page/zeldatapage.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomcompressor.h"
#include "model/report/zelcustomcrypter.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustomreportscript.h"
#include "model/component/zelreportcomponent.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelenginefactory.h"
#include "model/report/zelcustompreview.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelpreviewpageslist.h"
#include "model/serial/zelxmlserializer.h"
#include "model/style/zelstyles.h"

#include <QTimer>
#include <QBuffer>
#include <algorithm>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>

namespace {

// Queued actions. Each is the report operation it names, carried out later.

class LoadFromCommand final : public TzelDelayedCommand
{
public:
    LoadFromCommand(std::unique_ptr<TzelCustomIOTransport> transport, QString fileName)
        : FTransport(std::move(transport)), FFileName(std::move(fileName)) {}
    QString ClassName() const override { return QStringLiteral("TzelLoadFromCommand"); }
    void Execute(TzelReport &report) override { report.LoadFromFilter(FTransport.get(), FFileName); }

private:
    std::unique_ptr<TzelCustomIOTransport> FTransport;
    QString FFileName;
};

class LoadFromFileCommand final : public TzelDelayedCommand
{
public:
    LoadFromFileCommand(QString fileName, bool exceptionIfNotFound)
        : FFileName(std::move(fileName)), FExceptionIfNotFound(exceptionIfNotFound) {}
    QString ClassName() const override { return QStringLiteral("TzelLoadFromFileCommand"); }
    void Execute(TzelReport &report) override { report.LoadFromFile(FFileName, FExceptionIfNotFound); }

private:
    QString FFileName;
    bool FExceptionIfNotFound;
};

class LoadFromStreamCommand final : public TzelDelayedCommand
{
public:
    explicit LoadFromStreamCommand(QByteArray data) : FData(std::move(data)) {}
    QString ClassName() const override { return QStringLiteral("TzelLoadFromStreamCommand"); }
    void Execute(TzelReport &report) override
    {
        QBuffer buffer(&FData);
        buffer.open(QIODevice::ReadOnly);
        report.LoadFromStream(&buffer);
    }

private:
    QByteArray FData;
};

class PrepareReportCommand final : public TzelDelayedCommand
{
public:
    PrepareReportCommand(bool clearLast, const TzelEngineOptions &options)
        : FClearLast(clearLast), FEngineOptions(options) {}
    QString ClassName() const override { return QStringLiteral("TzelPrepareReportCommand"); }
    void Execute(TzelReport &report) override
    {
        report.EngineOptions().Assign(FEngineOptions);
        report.EngineOptions().AssignThreadProps(FEngineOptions);
        report.PrepareReport(FClearLast);
    }

private:
    bool FClearLast;
    TzelEngineOptions FEngineOptions;
};

class ShowReportCommand final : public TzelDelayedCommand
{
public:
    ShowReportCommand(bool clearLast, const TzelEngineOptions &options)
        : FClearLast(clearLast), FEngineOptions(options) {}
    QString ClassName() const override { return QStringLiteral("TzelShowReportCommand"); }
    void Execute(TzelReport &report) override
    {
        report.EngineOptions().Assign(FEngineOptions);
        report.EngineOptions().AssignThreadProps(FEngineOptions);
        report.ShowReport(FClearLast);
    }

private:
    bool FClearLast;
    TzelEngineOptions FEngineOptions;
};

// Host settings that a loaded template must not change.
struct HostSettings
{
    explicit HostSettings(TzelReport &report)
        : Engine(report.EngineOptions()), Preview(report.PreviewOptions()), IniFile(report.IniFile),
          OldStyleProgress(report.OldStyleProgress), ShowProgress(report.ShowProgress),
          StoreInDFM(report.StoreInDFM)
    {
        Engine.PrintIfEmpty = true;
    }

    void Restore(TzelReport &report) const
    {
        TzelEngineOptions &engine = report.EngineOptions();
        const TzelEngineOptions loaded = engine;
        engine = Engine;
        engine.ConvertNulls = loaded.ConvertNulls;
        engine.IgnoreDevByZero = loaded.IgnoreDevByZero;
        engine.IgnoreExprError = loaded.IgnoreExprError;
        engine.DoublePass = loaded.DoublePass;
        engine.PrintIfEmpty = loaded.PrintIfEmpty;

        TzelPreviewOptions &preview = report.PreviewOptions();
        const TzelPreviewOptions loadedPreview = preview;
        preview = Preview;
        preview.OutlineVisible = loadedPreview.OutlineVisible;
        preview.OutlineWidth = loadedPreview.OutlineWidth;
        preview.OutlineExpand = loadedPreview.OutlineExpand;
        preview.PagesInCache = loadedPreview.PagesInCache;
        preview.ThumbnailVisible = loadedPreview.ThumbnailVisible;

        report.IniFile = IniFile;
        report.OldStyleProgress = OldStyleProgress;
        report.ShowProgress = ShowProgress;
        report.StoreInDFM = StoreInDFM;
    }

    TzelEngineOptions Engine;
    TzelPreviewOptions Preview;
    QString IniFile;
    bool OldStyleProgress;
    bool ShowProgress;
    bool StoreInDFM;
};

} // namespace

TzelReport::TzelReport()
    : FReportOptions(this), FDataSets(this), FEnabledDataSets(this)
{
    zelRegisterModelClasses();
    FStyles = std::make_unique<TzelStyles>(this);
    qzComponentStyle.Include(csHandlesNestedProperties);
    IniFile = QStringLiteral("\\Software\\Zelworks");
    // Without a script engine a variable's text is its value.
    ValueHooks.Calc = [this](const QString &expression) { return Script() ? Calc(expression) : Variant(expression); };
    ValueHooks.ScriptVariable = [this](const QString &name, Variant &value) {
        // Only an identifier can name a variable of the script.
        const auto identifier = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
        return FScript && !name.isEmpty() && std::all_of(name.begin(), name.end(), identifier)
               && FScript->Variable(name, value);
    };
    Clear();
}

TzelReport::~TzelReport()
{
    // The preview window belongs to the report: it closes with it.
    if (TzelCustomPreview *preview = FPreview) {
        preview->CloseHostWindow();
        preview->UnInit(this);
    }
}

void TzelReport::SetPreview(TzelCustomPreview *preview)
{
    FPreview = preview;
    // A build waiting for the window that went away is not wanted any more.
    if (!preview && FPrepareTimer)
        FPrepareTimer->stop();
}

TzelCustomEngine *TzelReport::Engine()
{
    if (!FEngine) {
        const TzelEngineFactory &factory = zelEngineFactory();
        if (!factory.CreateEngine || !PreviewPages())
            return nullptr;
        FEngine = factory.CreateEngine(this);
        FEngine->SetPreviewPages(PreviewPages());
    }
    return FEngine.get();
}

TzelPreviewPagesList *TzelReport::PreviewPagesList()
{
    if (!FPreviewPagesList && zelEngineFactory().CreatePreviewPages) {
        FPreviewPagesList = std::make_unique<TzelPreviewPagesList>(
            [this] { return zelEngineFactory().CreatePreviewPages(this); });
        FPreviewPagesList->OnCurrentChanged = [this](TzelCustomPreviewPages *pages) {
            if (FEngine)
                FEngine->SetPreviewPages(pages);
        };
    }
    return FPreviewPagesList.get();
}

TzelCustomReportScript *TzelReport::Script()
{
    if (!FScript)
        if (const TzelEngineFactory &factory = zelEngineFactory(); factory.CreateScript)
            FScript = factory.CreateScript(this);
    return FScript.get();
}

void TzelReport::SetScript(std::unique_ptr<TzelCustomReportScript> script)
{
    FScript = std::move(script);
}

Variant TzelReport::Evaluate(const QString &expression, bool fromScript)
{
    Variant value;
    if (LookupValue(expression, value))
        return value;
    QString error;
    if (TzelCustomReportScript *script = Script())
        value = script->Calc(expression, error);
    else
        error = zelRes("clExprError") + QStringLiteral(" '") + expression + QStringLiteral("': ") + zelRes("clNoScript");
    if (error.isEmpty())
        return value;
    if (FEngineOptions.IgnoreDevByZero && error == QLatin1String("Floating point division by zero"))
        return value;
    if (FEngineOptions.IgnoreExprError)
        return Variant(expression);
    if (fromScript)
        throw TzelException(zelRes("clErrorInExp") + QLatin1Char(' ') + error);
    throw TzelException(CurObject.isEmpty() ? error : CurObject + QStringLiteral(": ") + error);
}

Variant TzelReport::Calc(const QString &expression)
{
    return Evaluate(expression, false);
}

Variant TzelReport::CalcFromScript(const QString &expression)
{
    return Evaluate(expression, true);
}

void TzelReport::SetSelfValue(TzelComponent *object)
{
    if (FScript)
        FScript->SetSelf(object);
}

void TzelReport::SetLocalValue(const Variant &value)
{
    if (FScript)
        FScript->SetValue(value);
}

void TzelReport::AddFunction(const QString &syntax, const QString &category, const QString &description)
{
    FUserFunctions.append({syntax, category, description});
}

bool TzelReport::RunScript()
{
    TzelCustomReportScript *script = Script();
    if (!script)
        return true; // event names and expressions then have nothing to run
    if (!script->Prepare())
        return false;
    if (OnAfterScriptCompile)
        OnAfterScriptCompile();
    SetScriptRunning(true);
    const bool ran = script->RunMain();
    SetScriptRunning(false);
    return ran && !Terminated;
}

bool TzelReport::RunsEvent(const QString &eventName, bool runAlways) const
{
    return FScript && !eventName.trimmed().isEmpty() && (runAlways || FEngineRunning);
}

void TzelReport::DoNotifyEvent(TzelComponent *sender, const QString &eventName, bool runAlways)
{
    if (RunsEvent(eventName, runAlways))
        FScript->CallEvent(sender, eventName);
}

void TzelReport::DoParamEvent(const QString &eventName, QList<Variant> &params, bool runAlways)
{
    if (RunsEvent(eventName, runAlways))
        FScript->CallParamEvent(eventName, params);
}

void TzelReport::DoBeforePrint(TzelReportComponent *c)
{
    if (OnBeforePrint)
        OnBeforePrint(c);
    DoNotifyEvent(c, c->OnBeforePrint);
}

void TzelReport::DoAfterPrint(TzelReportComponent *c)
{
    if (OnAfterPrint)
        OnAfterPrint(c);
    DoNotifyEvent(c, c->OnAfterPrint);
}

TzelCustomPreviewPages *TzelReport::PreviewPages()
{
    TzelPreviewPagesList *list = PreviewPagesList();
    return list ? list->Current() : nullptr;
}

TzelCustomPreviewPages *TzelReport::MainPreviewPages()
{
    TzelPreviewPagesList *list = PreviewPagesList();
    return list ? list->Main() : nullptr;
}

QList<TzelReportPage *> TzelReport::ReportPages() const
{
    QList<TzelReportPage *> pages;
    for (TzelComponent *c : Objects())
        if (auto *page = dynamic_cast<TzelReportPage *>(c))
            pages.append(page);
    return pages;
}

bool TzelReport::PrepareReport(bool clearLastReport)
{
    if (IsReportActionRunning()) {
        FDelayedCommands.Add(std::make_unique<PrepareReportCommand>(clearLastReport, FEngineOptions));
        return false;
    }
    // A build asked for now makes the one ShowReport left waiting needless.
    if (FPrepareTimer)
        FPrepareTimer->stop();
    FErrors.Clear();
    Terminated = false;
    TzelCustomEngine *engine = Engine();
    if (!engine) {
        FErrors.Add(zelRes("clNoEngine"));
        ReportErrors();
        return false;
    }
    if (clearLastReport)
        PreviewPages()->Clear();
    if (FPreview)
        FPreview->Init(this, PreviewPages());
    bool built = false;
    CurObject.clear();
    if (CheckDataSets() && RunScript()) {
        if (OnBeginDoc)
            OnBeginDoc();
        // An error that ends the build names the object being worked on,
        // unless the message names it already.
        const auto addFailure = [this](const QString &message) {
            const QString prefix = CurObject + QStringLiteral(": ");
            FErrors.Add(CurObject.isEmpty() || message.startsWith(prefix) ? message : prefix + message);
        };
        try {
            built = engine->Run(true, false, nullptr);
        } catch (const TzelException &e) {
            addFailure(e.message());
        } catch (const std::exception &e) {
            addFailure(QString::fromLocal8Bit(e.what()));
        }
        if (built && FErrors.IsEmpty() && OnEndDoc)
            OnEndDoc();
    }
    if (!built && FPreview)
        FPreview->CloseHostWindow();
    const bool result = built && FErrors.IsEmpty();
    if (!FErrors.IsEmpty())
        ReportErrors();
    RunDelayedCommands();
    return result;
}

void TzelReport::InternalOnProgressStart(const TzelProgress &progress)
{
    if (FPreview && progress.Type == ptRunning)
        FPreview->InternalOnProgressStart();
    if (OnProgressStart)
        OnProgressStart(progress);
}

void TzelReport::InternalOnProgress(const TzelProgress &progress)
{
    if (FPreview && progress.Type == ptRunning)
        FPreview->InternalOnProgress(progress.Page);
    if (OnProgress)
        OnProgress(progress);
}

void TzelReport::InternalOnProgressStop(const TzelProgress &progress)
{
    if (FPreview && progress.Type == ptRunning)
        FPreview->InternalOnProgressStop();
    if (OnProgressStop)
        OnProgressStop(progress);
}

void TzelReport::SetVersion(const QString &)
{
    // The version is a property of the library, not of the file.
}

void TzelReport::Clear()
{
    // A cleared report inherits nothing: its inherited objects go too.
    for (TzelComponent *c : AllObjects())
        c->SetIsAncestor(false);
    TzelComponent::Clear();
    FParentReportObject.reset();
    SetIsAncestor(false);
    FEngineOptions.Clear();
    FPreviewOptions.Clear();
    FPrintOptions.Clear();
    FReportOptions.Clear();
    FDataSets.Clear();
    FVariables.Clear();
    FStyles->Clear();
    FDataSet.Clear();
    FParentReport.clear();
    DotMatrixReport = false;
    ScriptLanguage = QStringLiteral("PascalScript");
    ScriptText = QStringList{QStringLiteral("begin"), QString(), QStringLiteral("end.")};
    FSystemVariables = QStringList{
        QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Page"), QStringLiteral("Page#"),
        QStringLiteral("TotalPages"), QStringLiteral("TotalPages#"), QStringLiteral("Line"),
        QStringLiteral("Line#"), QStringLiteral("CopyName#"), QStringLiteral("TableRow"),
        QStringLiteral("TableColumn")};
    OnRunDialogs.clear();
    OnStartReport.clear();
    OnStopReport.clear();
}

bool TzelReport::LoadFromFile(const QString &fileName, bool exceptionIfNotFound)
{
    if (IsReportActionRunning()) {
        FDelayedCommands.Add(std::make_unique<LoadFromFileCommand>(fileName, exceptionIfNotFound));
        return false;
    }
    Clear();
    if (fileName != FFileName)
        FFileName.clear();
    const bool exists = QFileInfo::exists(fileName);
    if (!exists && !exceptionIfNotFound)
        return false;
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    FFileName = fileName;
    ProcessIOTransport(&transport, fileName, faRead);
    return exists;
}

bool TzelReport::LoadFromFilter(TzelCustomIOTransport *filter, const QString &fileName)
{
    if (IsReportActionRunning()) {
        FDelayedCommands.Add(std::make_unique<LoadFromCommand>(filter->CreateFilterClone(filter->CreatedFrom()), fileName));
        return false;
    }
    return ProcessIOTransport(filter, fileName, faRead);
}

bool TzelReport::SaveToFilter(TzelCustomIOTransport *filter, const QString &fileName)
{
    return ProcessIOTransport(filter, fileName, faWrite);
}

bool TzelReport::ProcessIOTransport(TzelCustomIOTransport *filter, const QString &fileName,
                                    TzelFilterAccess access)
{
    filter->SetFilterAccess(access);
    if (fileName.isEmpty() && filter->FileName().isEmpty())
        filter->SetFileName(QFileInfo(FFileName).fileName());
    TzelOpenTransport open(filter, this);
    if (!open.Open())
        return false;
    open.Stream(fileName);
    if (!filter->FileName().isEmpty())
        FFileName = filter->FileName();
    else if (!fileName.isEmpty())
        FFileName = fileName;
    if (access == faWrite && !FParentReport.isEmpty() && QDir::isAbsolutePath(FParentReport)) {
        // A parent template beside this one is stored by a relative path.
        const QDir folder = QFileInfo(FFileName.isEmpty() ? fileName : FFileName).absoluteDir();
        const QString relative = folder.relativeFilePath(FParentReport);
        if (!relative.startsWith(QStringLiteral("..")))
            FParentReport = relative;
    }
    bool result = true;
    open.Process([&](QIODevice *stream) {
        if (filter->DoFilterProcessStream(stream, this))
            return;
        if (access == faRead)
            result = LoadFromStream(stream);
        else
            SaveToStream(stream);
    });
    return result;
}

bool TzelReport::LoadFromStream(QIODevice *stream)
{
    if (IsReportActionRunning()) {
        FDelayedCommands.Add(std::make_unique<LoadFromStreamCommand>(stream->readAll()));
        return false;
    }
    FErrors.Clear();
    FStreamLoaded = false;

    QIODevice *source = stream;
    std::unique_ptr<TzelCustomCompressor> compressor = TzelCustomCompressor::CreateRegistered();
    if (compressor) {
        compressor->Report = this;
        compressor->SetIsZT3File(true);
        compressor->CreateStream();
        try {
            if (compressor->Decompress(source))
                source = compressor->Stream();
        } catch (...) { // whatever a plug-in throws
            FErrors.Add(zelRes("clDecompressError"));
            ReportErrors();
            return false;
        }
    }

    FReportOptions.Password = FReportOptions.HiddenPassword;
    bool deciphered = false;
    std::unique_ptr<TzelCustomCrypter> crypter = TzelCustomCrypter::CreateRegistered();
    if (crypter) {
        crypter->CreateStream();
        try {
            deciphered = crypter->Decrypt(source, FReportOptions.Password.toLatin1());
        } catch (...) { // whatever a plug-in throws
            FErrors.Add(zelRes("clDecryptError"));
            ReportErrors();
            return false;
        }
        if (deciphered)
            source = crypter->Stream();
    }

    const HostSettings host(*this);
    FStreamLoaded = true;
    try {
        ReadTemplate(source);
    } catch (const TzelInvalidXMLException &e) {
        FStreamLoaded = false;
        TzelLocatedError error;
        error.File = FFileName;
        if (deciphered) {
            error.Message = zelRes("Invalid password");
        } else {
            error.Message = e.message();
            error.Line = e.Place().Line;
            error.Column = e.Place().Column;
        }
        FErrors.Add(error);
    } catch (const TzelException &e) {
        FStreamLoaded = false;
        FErrors.Add(e.message());
    }
    crypter.reset();
    compressor.reset();
    CheckDataPage();
    // Without the global list the template may only use data sets of its own
    // and those the host allows.
    if (!FEngineOptions.UseGlobalDataSetList)
        FDataSets.Rebuild(FEnabledDataSets);
    host.Restore(*this);

    if (!deciphered)
        FReportOptions.Password = ShiftPassword(FReportOptions.Password, 10);

    if (FReportOptions.Info) {
        Clear();
        return FStreamLoaded;
    }
    if (FEngineOptions.EnableThreadSafe || deciphered || FReportOptions.CheckPassword()) {
        if (!FErrors.IsEmpty())
            ReportErrors();
    } else {
        // A refused password leaves nothing of the template.
        FStreamLoaded = false;
        Clear();
    }
    return FStreamLoaded;
}

void TzelReport::SaveToFile(const QString &fileName)
{
    // The transport joins relative names to its base folder: give it the
    // whole path, or a relative folder would be applied twice.
    const QFileInfo info(fileName);
    const QString folder = info.absolutePath();
    if (!FParentReport.isEmpty() && QDir::isAbsolutePath(FParentReport))
        FParentReport = QDir(folder).relativeFilePath(FParentReport);
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    transport.SetBasePath(folder);
    ProcessIOTransport(&transport, info.absoluteFilePath(), faWrite);
}

void TzelReport::SaveToStream(QIODevice *stream, bool saveChildren, bool saveDefaultValues, bool streaming)
{
    std::unique_ptr<TzelCustomCompressor> compressor;
    if (FReportOptions.Compressed)
        compressor = TzelCustomCompressor::CreateRegistered();
    std::unique_ptr<TzelCustomCrypter> crypter;
    if (!FReportOptions.Password.isEmpty())
        crypter = TzelCustomCrypter::CreateRegistered();

    QIODevice *target = stream;
    if (compressor) {
        compressor->Report = this;
        compressor->SetIsZT3File(true);
        compressor->CreateStream();
        target = compressor->Stream();
    }
    if (crypter) {
        crypter->CreateStream();
        target = crypter->Stream();
    }

    const QString password = FReportOptions.Password;
    FReportOptions.PrevPassword = password;
    if (!crypter)
        FReportOptions.Password = ShiftPassword(password, -10);
    struct RestorePassword {
        QString &field;
        QString value;
        ~RestorePassword() { field = value; }
    } restore{FReportOptions.Password, password};

    TzelXMLSerializer::SaveComponent(this, target, saveChildren, saveDefaultValues, streaming);

    if (crypter) {
        crypter->Stream()->seek(0);
        crypter->Crypt(compressor ? compressor->Stream() : stream, password.toUtf8());
    }
    if (compressor) {
        compressor->Stream()->seek(0);
        compressor->Compress(stream);
    }
}

void TzelReport::ReadTemplate(QIODevice *stream)
{
    std::unique_lock<std::recursive_mutex> lock(TzelXMLSerializer::ReadLock(), std::defer_lock);
    if (FEngineOptions.EnableThreadSafe)
        lock.lock();
    AddLoadErrors(TzelXMLSerializer::LoadComponent(this, stream), FFileName);
}

void TzelReport::AddLoadErrors(QList<TzelLocatedError> errors, const QString &fileName)
{
    for (TzelLocatedError &e : errors) {
        e.File = fileName;
        FErrors.Add(e);
    }
}

void TzelReport::SetParentReport(const QString &value)
{
    FParentReport = value;
    if (IsLoading() && !value.isEmpty())
        LoadParentReport(value);
}

namespace {

// Templates being read as parents on this thread, innermost last: a parent
// that is already among them would make the chain endless.
thread_local QStringList parentChain;
constexpr int maxParentDepth = 32;

} // namespace

void TzelReport::LoadParentReport(const QString &name)
{
    FParentReportObject.reset();
    // No file name holds a NUL; the file system would be asked for a shorter one.
    if (name.contains(QChar(0)))
        throw TzelException(zelFormat(zelRes("clParentNotFound"), {name}));
    const QString base = !parentChain.isEmpty() ? QFileInfo(parentChain.constLast()).absolutePath()
                         : !FFileName.isEmpty() ? QFileInfo(FFileName).absolutePath()
                                                : QDir::currentPath();
    QString path = QDir(base).absoluteFilePath(QString(name).replace(u'\\', u'/'));
    if (!QFileInfo(path).isFile())
        path = QDir(GetApplicationFolder()).absoluteFilePath(QString(name).replace(u'\\', u'/'));
    if (!QFileInfo(path).isFile())
        throw TzelException(zelFormat(zelRes("clParentNotFound"), {name}));

    const QString canonical = QFileInfo(path).canonicalFilePath();
    QStringList chain = parentChain;
    if (chain.isEmpty() && !FFileName.isEmpty())
        chain << QFileInfo(FFileName).canonicalFilePath();
    if (chain.contains(canonical) || chain.size() >= maxParentDepth)
        throw TzelException(zelFormat(zelRes("clParentCircular"), {name}));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TzelException(zelFormat(zelRes("clParentNotFound"), {name}));
    const QStringList saved = parentChain;
    parentChain = chain << canonical;
    struct Restore { const QStringList &value; ~Restore() { parentChain = value; } } restore{saved};

    AddLoadErrors(TzelXMLSerializer::LoadComponent(this, &file), path);
    SetIsLoading(true);

    // Everything read so far comes from the parent. The copy that differences
    // are written against is the parent as read, its own parents resolved.
    SetIsAncestor(true);
    for (TzelComponent *c : AllObjects())
        c->SetIsAncestor(true);
    for (int i = 0; i < FVariables.Count(); ++i)
        FVariables.Items(i)->IsInherited = true;
    for (int i = 0; i < FStyles->Count(); ++i)
        FStyles->Items(i)->IsInherited = true;
    FParentReport.clear();
    auto copy = std::make_unique<TzelReport>();
    copy->AssignAll(this);
    FParentReportObject = std::move(copy);
    FParentReport = name;
}

void TzelReport::WriteNestedProperties(TzelXMLItem *item, const TzelComponent *ancestor) const
{
    // Collections come in this order, before the child objects.
    FDataSets.WriteCollection(item);
    const auto *parent = dynamic_cast<const TzelReport *>(ancestor);
    FVariables.WriteCollection(item, parent ? &parent->FVariables : nullptr);
    FStyles->WriteCollection(item, parent ? parent->FStyles.get() : nullptr);
}

TzelStyleItem *TzelReport::FindStyle(const QString &name) const
{
    return FStyles->Find(name);
}

TzelDataSet *TzelReport::FindDataSet(const QString &name, TzelDataSet *current) const
{
    if (FEngineOptions.UseGlobalDataSetList)
        return zelFindGlobalDataSet(name, this, current);
    const TzelDataSetItem *item = FEnabledDataSets.Find(name);
    return item ? item->DataSet() : nullptr;
}

void TzelReport::CopyNestedProperties(const TzelComponent &source)
{
    const auto &report = static_cast<const TzelReport &>(source);
    FDataSets.CopyByName(report.FDataSets);
    FVariables.Assign(report.FVariables);
    FStyles->Assign(*report.FStyles);
}

bool TzelReport::ReadNestedProperty(TzelXMLItem *item)
{
    const QString &name = item->Name();
    try {
        if (name.compare(QLatin1StringView("Datasets"), Qt::CaseInsensitive) == 0) {
            // Data sets are not inherited: the template's own list replaces the parent's.
            if (!FParentReport.isEmpty())
                FDataSets.Clear();
            FDataSets.ReadCollection(item);
            return true;
        }
        if (name.compare(QLatin1StringView("Variables"), Qt::CaseInsensitive) == 0) {
            FVariables.ReadCollection(item);
            return true;
        }
        if (name.compare(QLatin1StringView("Styles"), Qt::CaseInsensitive) == 0) {
            for (const QString &e : FStyles->ReadCollection(item))
                FErrors.Add(e);
            return true;
        }
    } catch (const TzelException &e) {
        // A damaged entry (a bad character reference) costs that entry only.
        FErrors.Add(e.message());
        return true;
    }
    return false;
}

// Data sets.

TzelDataSet *TzelReport::GetDataset(const QString &alias) const
{
    const TzelDataSetItem *item = FDataSets.Find(alias);
    return item ? item->DataSet() : nullptr;
}

QString TzelReport::GetAlias(const TzelDataSet *dataSet) const
{
    if (!dataSet)
        return QString();
    return FDataSets.Find(dataSet) ? dataSet->UserName() : zelRes("clDSNotIncl");
}

void TzelReport::GetDatasetAndField(const QString &complexName, TzelDataSet *&dataSet, QString &field) const
{
    dataSet = nullptr;
    field.clear();
    const qsizetype dot = complexName.indexOf(QLatin1StringView(".\""));
    if (dot < 0)
        return;
    dataSet = GetDataset(complexName.left(dot));
    field = complexName.mid(dot + 2);
    field.chop(1);
}

QList<TzelDataSet *> TzelReport::GetDataSetList(bool onlyDB) const
{
    QList<TzelDataSet *> list;
    for (int i = 0; i < FDataSets.Count(); ++i)
        if (TzelDataSet *ds = FDataSets.Items(i)->DataSet(); ds && !(onlyDB && dynamic_cast<TzelUserDataSet *>(ds)))
            list << ds;
    return list;
}

QList<TzelDataSet *> TzelReport::GetActiveDataSetList() const
{
    if (FEngineOptions.UseGlobalDataSetList)
        return TzelDataSetList::Global().ActiveFor(this);
    QList<TzelDataSet *> list;
    for (int i = 0; i < FEnabledDataSets.Count(); ++i)
        if (TzelDataSet *ds = FEnabledDataSets.Items(i)->DataSet())
            list << ds;
    return list;
}

TzelDataSet *TzelReport::FindDataSetComponent(const QString &name) const
{
    if (auto *ds = dynamic_cast<TzelDataSet *>(TzelComponent::FindObject(name)))
        return ds;
    if (FEngineOptions.UseGlobalDataSetList || FEnabledDataSets.Count() == 0)
        return nullptr;
    const TzelDataSetItem *item = FEnabledDataSets.Find(name.mid(name.lastIndexOf(u'.') + 1));
    return item ? item->DataSet() : nullptr;
}

TzelComponent *TzelReport::FindObject(const QString &name) const
{
    if (TzelComponent *found = TzelComponent::FindObject(name))
        return found;
    // References to a host's data sets resolve while the template is read.
    return IsLoading() ? FindDataSetComponent(name) : nullptr;
}

bool TzelReport::CheckDataSets()
{
    const QStringList missing = FDataSets.MissingNames();
    for (const QString &name : missing)
        FErrors.Add(zelFormat(zelRes("clDSNotExist"), {name}));
    return missing.isEmpty();
}

// Styles and the data page.

void TzelReport::SetStyles(const TzelStyles *value)
{
    if (!value) {
        FStyles->Clear();
        return;
    }
    FStyles->Assign(*value);
    FStyles->Apply();
}

void TzelReport::CheckDataPage()
{
    // Pages are the report's children.
    for (const TzelComponent *c : Objects())
        if (dynamic_cast<const TzelDataPage *>(c))
            return;

    const QList<TzelComponent *> all = AllObjects();
    auto *page = new TzelDataPage(this);
    if (TzelComponent::FindObject(QStringLiteral("Data")))
        page->CreateUniqueName();
    else
        page->SetName(QStringLiteral("Data"));
    MoveChild(page, 0);

    // Templates of old kept their data components on dialog pages.
    double left = 60;
    // Asked of every object: the class table answers cheaper than a cast.
    const TzelClassInfo &dialogComponent = TzelDialogComponent::StaticClassInfo();
    for (TzelComponent *c : all)
        if (c->ClassInfo().InheritsFrom(dialogComponent)) {
            c->SetParent(page);
            c->SetLeft(left);
            c->SetTop(20);
            left += 64;
        }
}

void TzelReport::Publish(TzelPublisher<TzelReport> &p)
{
    using T = TzelReport;
    p.Prop("Version", &T::Version, &T::SetVersion);
    p.Prop("ParentReport", &T::ParentReport, &T::SetParentReport);
    zelPublishDataSetLink(p, &T::FDataSet);
    p.Prop("DotMatrixReport", &T::DotMatrixReport);
    p.Object("EngineOptions", &T::FEngineOptions);
    p.Prop("IniFile", &T::IniFile);
    p.Prop("OldStyleProgress", &T::OldStyleProgress).Default(false);
    p.Object("PreviewOptions", &T::FPreviewOptions);
    p.Object("PrintOptions", &T::FPrintOptions);
    p.Object("ReportOptions", &T::FReportOptions);
    p.Prop("ScriptLanguage", &T::ScriptLanguage);
    p.Prop("ScriptText", &T::ScriptText);
    p.Prop("ShowProgress", &T::ShowProgress).Default(true);
    p.Prop("StoreInDFM", &T::StoreInDFM).Default(true);
    p.Event("OnRunDialogs", &T::OnRunDialogs, "TzelRunDialogsEvent");
    p.Event("OnStartReport", &T::OnStartReport);
    p.Event("OnStopReport", &T::OnStopReport);
    p.Event("OnReportPrint", &T::OnReportPrint);
    for (const char *callback : {"OnAfterPrint", "OnBeforeConnect", "OnAfterDisconnect", "OnBeforePrint",
                                 "OnBeginDoc", "OnClickObject", "OnDblClickObject", "OnEndDoc", "OnGetValue",
                                 "OnNewGetValue", "OnManualBuild", "OnMouseOverObject", "OnMouseEnter",
                                 "OnMouseLeave", "OnPreview", "OnPrintPage", "OnPrintReport", "OnAfterPrintReport",
                                 "OnProgressStart", "OnProgress", "OnProgressStop", "OnUserFunction",
                                 "OnLoadTemplate", "OnLoadDetailTemplate", "OnClosePreview",
                                 "OnAfterScriptCompile", "OnGetCustomData", "OnSaveCustomData"})
        p.Callback(callback, "TzelHostCallback");
}

void TzelReport::ShowReport(bool clearLastReport)
{
    if (IsReportActionRunning()) {
        FDelayedCommands.Add(std::make_unique<ShowReportCommand>(clearLastReport, FEngineOptions));
        return;
    }
    if (OldStyleProgress && FScriptRunning)
        throw TzelException(zelRes("Rebuild itself from the script is not allowed!"));
    if (clearLastReport && PreviewPages())
        PreviewPages()->Clear();
    if (OldStyleProgress) {
        if (!PrepareReport(false))
            return;
    } else {
        if (!FPrepareTimer) {
            FPrepareTimer = std::make_unique<QTimer>();
            FPrepareTimer->setInterval(50);
            QObject::connect(FPrepareTimer.get(), &QTimer::timeout, [this] {
                // A script still running (a dialog page's) keeps the build waiting.
                if (FScriptRunning)
                    return;
                FPrepareTimer->stop();
                PrepareReport(false);
            });
        }
        FPrepareTimer->start();
    }
    ShowPreparedReport();
}

void TzelReport::ShowPreparedReport()
{
    if (FPreview) {
        FPreview->Init(this, PreviewPages());
        return;
    }
    if (const TzelPreviewWindowMaker &maker = zelPreviewWindowMaker()) {
        maker(*this);
        return;
    }
    if (FPrepareTimer)
        FPrepareTimer->stop();
    ReportError(zelRes("prevNotAvailable"));
}

void TzelReport::DesignReport(bool, bool)
{
    // No designer class is registered with the library yet.
    ReportError(zelRes("dsgnNotAvailable"));
}

void TzelReport::RunDelayedCommands()
{
    FDelayedCommands.RunAll(*this);
}

void TzelReport::ReportError(const QString &message)
{
    switch (FEngineOptions.NewSilentMode) {
    case simMessageBoxes:
        TzelDialogService::Instance().MessageBox(message, zelRes("mbError"), TzelDialogService::mbOK,
                                                 TzelDialogService::miError);
        break;
    case simSilent:
        break;
    case simReThrow:
        throw TzelException(message);
    }
}

QString TzelReport::ErrorsText() const
{
    return zelRes("clErrors") + QStringLiteral("\r\n") + FErrors.Text();
}

void TzelReport::ReportErrors()
{
    ReportError(ErrorsText());
}

QString TzelReport::GetApplicationFolder() const
{
    QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                  : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString TzelReport::ShiftPassword(const QString &password, int delta)
{
    QString shifted = password;
    for (QChar &c : shifted)
        c = QChar(char16_t(c.unicode() + delta));
    return shifted;
}

TzelReport *zelReportOf(const TzelComponent *c)
{
    return c ? dynamic_cast<TzelReport *>(c->ReportRoot()) : nullptr;
}
