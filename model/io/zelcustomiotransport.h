#pragma once
/// \file

#include "model/io/zeliotransporttypes.h"

#include <QList>
#include <QString>
#include <memory>
#include <utility>

class QIODevice;
class TzelNode;
class TzelReport;

/// A transport hands out streams by file name, keeps them in a tree of
/// containers (folders) and closes them again. Every file the library reads or
/// writes goes through one, so that a plug-in transport can put templates,
/// prepared reports and exports somewhere other than a plain file.
class TzelCustomIOTransport
{
public:
    /// (file name, stream) pairs, as filled by CopyStreamsNames.
    using StreamList = QList<std::pair<QString, QIODevice *>>;

    /// Values an export filter hands to its transport.
    struct ExportTarget
    {
        TzelReport *Report = nullptr; ///< report being exported
        QString FileName;             ///< output file
        QString DefaultPath;          ///< folder used when FileName has none
        QString DefaultExt;           ///< extension of the output, with its dot
        QString FilterString;         ///< "Description|*.ext" of the output type
        bool OverwritePrompt = false; ///< ask before replacing a file
    };

    /// Whether a new transport enters the process-wide list.
    enum Registration { Register, NoRegister };

    /// Creates a transport; it enters the process-wide list unless made with NoRegister.
    explicit TzelCustomIOTransport(Registration registration = Register);
    /// Closes all streams, frees the container tree and leaves the list.
    virtual ~TzelCustomIOTransport();
    TzelCustomIOTransport(const TzelCustomIOTransport &) = delete;
    TzelCustomIOTransport &operator=(const TzelCustomIOTransport &) = delete;

    /// A new instance of T that does not enter the process-wide list.
    template <class T>
    static std::unique_ptr<T> CreateNoRegister() { return std::unique_ptr<T>(new T(NoRegister)); }

    // Virtual operations.

    /// The file types offered in dialogs, "Description|*.ext|...".
    virtual QString GetFilterString();
    /// Where the transport is offered.
    virtual TzelFilterVisibility GetVisibility() const;
    /// Sets where the transport is offered.
    virtual void SetVisibility(TzelFilterVisibility value);
    /// Called for a container node just added to the tree; False refuses it.
    virtual bool DoCreateContainer(TzelNode *node);
    /// Called before a container node is deleted; False keeps it.
    virtual bool DoDeleteContainer(TzelNode *node);
    /// Opens the stream for FullFilePath; FileName is its name part. Owned by the caller.
    virtual QIODevice *DoCreateStream(const QString &fullFilePath, const QString &fileName);
    /// Prepares a container for temporary files.
    virtual void CreateTempContainer();
    /// Removes the temporary container and everything in it.
    virtual void FreeTempContainer();
    /// The stream for FileName (empty: FileName()), opened with FilterAccess();
    /// the transport keeps it until FreeStream or CloseFilter.
    virtual QIODevice *GetStream(const QString &fileName = QString());
    /// Frees Stream once everything is written to it: a file being saved
    /// replaces the old one now, and a write that failed anywhere raises
    /// TzelFileError naming the file. A stream the transport does not hold
    /// is left alone.
    virtual void FreeStream(QIODevice *stream, const QString &fileName = QString());
    /// Frees Stream after a failed load or save: what was written is dropped
    /// and the file stays as it was. Never raises.
    void CancelStream(QIODevice *stream) noexcept;
    /// Lets the transport load or save ProcessingObject itself; True when it did.
    virtual bool DoFilterProcessStream(QIODevice *stream, void *processingObject);
    /// Whether every stream goes into one container.
    virtual bool AllInOneContainer();
    /// Opens the transport; False when the user cancelled.
    virtual bool OpenFilter();
    /// Frees the auxiliary transports and the container tree with its
    /// streams, completing them as CloseAllStreams does.
    virtual void CloseFilter();
    /// Copies the settings that travel with a clone: Report, ShowDialog,
    /// OverwritePrompt, DefaultPath, FileName, DefaultExt, ExtDescription.
    virtual void AssignFilter(const TzelCustomIOTransport &source);
    /// Copies what a subclass shares between clones.
    virtual void AssignSharedProperties(const TzelCustomIOTransport &source);
    /// Name of the transport class for lists and menus.
    virtual QString GetDescription() const;
    /// A new, unregistered transport of the same class in its initial state.
    virtual std::unique_ptr<TzelCustomIOTransport> NewInstance() const;

    // Operations.

    /// A new unregistered transport of the same class with the settings of
    /// this one, created from CreatedFrom and remembering this one.
    std::unique_ptr<TzelCustomIOTransport> CreateFilterClone(TzelFilterVisibleState createdFrom) const;
    /// Takes the output settings of an export; FilterAccess becomes faWrite.
    void InitFromExport(const ExportTarget &target);
    /// Finds or adds the container Name ("a\b" nests) below the current one;
    /// nullptr when the creation hook refuses.
    TzelNode *CreateContainer(const QString &name, bool setCurrent);
    /// Deletes the child container Name of the current one when the deletion hook agrees.
    void DeleteContainer(const QString &name);
    /// Name of the current container (empty for the root).
    QString CurrentContainer() const;
    /// Appends, depth first, the original name and stream of every stream
    /// node; with OpenedOnly only those whose stream is open.
    void CopyStreamsNames(StreamList &list, bool openedOnly) const;
    /// Replaces the stream of every entry by GetStream of its name.
    void LoadStreamsList(StreamList &list);
    /// Opens a stream for every stream node that has none.
    void LoadClosedStreams();
    /// Frees every stream of the tree, when the transport frees its streams,
    /// completing what was written as FreeStream does; raises the first
    /// failure once all are freed.
    void CloseAllStreams();
    /// Frees every stream of the tree, when the transport frees its streams,
    /// dropping what was written as CancelStream does.
    void CancelAllStreams() noexcept;
    /// The first stream node depth first, or nullptr when the tree holds no file.
    TzelNode *GetFileNode() const;
    /// Transport for temporary files, created on first use and freed by CloseFilter.
    TzelCustomIOTransport *TempFilter();

    // State.

    /// The report served (not owned).
    TzelReport *Report() const { return FReport; }
    /// Sets Report.
    void SetReport(TzelReport *value) { FReport = value; }
    /// Whether a dialog asks for the file name.
    bool ShowDialog() const { return FShowDialog; }
    /// Sets ShowDialog.
    void SetShowDialog(bool value) { FShowDialog = value; }
    /// Whether a save dialog asks before replacing a file.
    bool OverwritePrompt() const { return FOverwritePrompt; }
    /// Sets OverwritePrompt.
    void SetOverwritePrompt(bool value) { FOverwritePrompt = value; }
    /// Folder proposed when FileName has none.
    const QString &DefaultPath() const { return FDefaultPath; }
    /// Sets DefaultPath.
    void SetDefaultPath(const QString &value) { FDefaultPath = value; }
    /// File read or written when GetStream is given no name.
    const QString &FileName() const { return FFileName; }
    /// Sets FileName.
    void SetFileName(const QString &value) { FFileName = value; }
    /// Folder that stream names are relative to; cut from names that begin with it.
    const QString &BasePath() const { return FBasePath; }
    /// Sets BasePath.
    void SetBasePath(const QString &value) { FBasePath = value; }
    /// Extension, with its dot, given to names chosen in a dialog.
    const QString &DefaultExt() const { return FDefaultExt; }
    /// Sets DefaultExt.
    void SetDefaultExt(const QString &value) { FDefaultExt = value; }
    /// Description of the default extension.
    const QString &ExtDescription() const { return FExtDescription; }
    /// Sets ExtDescription.
    void SetExtDescription(const QString &value) { FExtDescription = value; }
    /// Stored file types; GetFilterString may compute them instead.
    const QString &FilterString() const { return FFilterString; }
    /// Sets FilterString.
    void SetFilterString(const QString &value) { FFilterString = value; }
    /// Whether streams are opened for reading or writing (default faRead).
    TzelFilterAccess FilterAccess() const { return FFilterAccess; }
    /// Sets FilterAccess.
    void SetFilterAccess(TzelFilterAccess value) { FFilterAccess = value; }
    /// Where this instance was created from (default fvOther).
    TzelFilterVisibleState CreatedFrom() const { return FCreatedFrom; }
    /// Sets CreatedFrom.
    void SetCreatedFrom(TzelFilterVisibleState value) { FCreatedFrom = value; }
    /// Kinds of stream the transport supports (default both).
    TzelIOTransportStreams SupportedStreams() const { return FSupportedStreams; }
    /// Sets SupportedStreams.
    void SetSupportedStreams(TzelIOTransportStreams value) { FSupportedStreams = value; }
    /// Whether the transport frees the streams it hands out (default True).
    bool FreeStreams() const { return FFreeStreams; }
    /// Sets FreeStreams.
    void SetFreeStreams(bool value) { FFreeStreams = value; }
    /// Root of the container tree, named "".
    TzelNode *RootNode() const { return FRootNode.get(); }
    /// The transport this one was cloned from (not owned), or nullptr.
    TzelCustomIOTransport *ClonedFrom() const { return FClonedFrom; }

protected:
    /// The internal auxiliary transport; created on demand when Create is True.
    TzelCustomIOTransport *InternalFilter(bool create);

private:
    struct Private;

    TzelReport *FReport = nullptr;
    bool FShowDialog = false;
    bool FOverwritePrompt = false;
    bool FFreeStreams = true;
    QString FDefaultPath;
    QString FFileName;
    QString FBasePath;
    QString FDefaultExt;
    QString FExtDescription;
    QString FFilterString;
    TzelFilterAccess FFilterAccess = faRead;
    TzelFilterVisibleState FCreatedFrom = fvOther;
    TzelFilterVisibility FVisibility{fvDesigner, fvPreview, fvExport};
    TzelIOTransportStreams FSupportedStreams{tsIORead, tsIOWrite};
    std::unique_ptr<TzelNode> FRootNode;
    TzelNode *FCurrentNode = nullptr;
    std::unique_ptr<TzelCustomIOTransport> FTempFilter;
    std::unique_ptr<TzelCustomIOTransport> FInternalFilter;
    TzelCustomIOTransport *FClonedFrom = nullptr;
};
