#include "model/io/zelcustomiotransport.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/stream/zelsafefile.h"
#include "model/io/zeliopath.h"
#include "model/io/zeliotransportscollection.h"
#include "model/io/zelnode.h"

#include <QFileDevice>
#include <QIODevice>
#include <QStringList>
#include <exception>
#include <memory>

struct TzelCustomIOTransport::Private
{
    // Walks Parts down from Node. Missing parts are added when Create is set,
    // and each one that stands for a folder is offered to the creation hook;
    // a refused or failed folder is taken out again so a retry starts afresh.
    static TzelNode *Walk(TzelCustomIOTransport &t, TzelNode *node, const QStringList &parts, bool create,
                          bool lastIsFile)
    {
        for (qsizetype i = 0; i < parts.size(); ++i) {
            TzelNode *child = node->Find(parts[i], false);
            if (!child) {
                if (!create)
                    return nullptr;
                child = node->Add(parts[i]);
                if (!(lastIsFile && i == parts.size() - 1)) {
                    bool created = false;
                    try {
                        created = t.DoCreateContainer(child);
                    } catch (...) {
                        delete child;
                        throw;
                    }
                    if (!created) {
                        delete child;
                        return nullptr;
                    }
                }
            }
            node = child;
        }
        return node;
    }

    static TzelNode *Resolve(TzelCustomIOTransport &t, const QString &path, bool create, bool lastIsFile)
    {
        if (path.isEmpty())
            return t.FRootNode.get();
        QString p = zelIONodePath(path);
        if (zelIOHasBasePath(p, t.FBasePath))
            p.remove(0, zelIONodePath(t.FBasePath).size());
        if (t.FInternalFilter)
            Resolve(*t.FInternalFilter, path, create, lastIsFile);
        return Walk(t, t.FRootNode.get(), p.split(u'\\', Qt::SkipEmptyParts), create, lastIsFile);
    }

    static bool IsStreamNode(const TzelNode *node)
    {
        return node->ObjectData() || !node->OriginalName().isEmpty();
    }

    static const TzelNode *FirstStreamNode(const TzelNode *node)
    {
        for (int i = 0; i < node->Count(); ++i) {
            const TzelNode *child = node->Nodes(i);
            if (IsStreamNode(child))
                return child;
            if (const TzelNode *found = FirstStreamNode(child))
                return found;
        }
        return nullptr;
    }

    static void CopyNames(const TzelNode *node, StreamList &list, bool openedOnly)
    {
        for (int i = 0; i < node->Count(); ++i) {
            const TzelNode *child = node->Nodes(i);
            if (IsStreamNode(child) && (!openedOnly || child->ObjectData()))
                list.append({child->OriginalName(), child->ObjectData()});
            CopyNames(child, list, openedOnly);
        }
    }

    static void CollectClosed(TzelNode *node, QList<TzelNode *> &closed)
    {
        for (int i = 0; i < node->Count(); ++i) {
            TzelNode *child = node->Nodes(i);
            if (!child->ObjectData() && !child->OriginalName().isEmpty())
                closed.append(child);
            CollectClosed(child, closed);
        }
    }

    // Ends the use of a stream whose writing went through: a safe file
    // replaces its target, a plain file flushes. Raises TzelFileError naming
    // the file when any write failed.
    static void Complete(QIODevice *stream)
    {
        if (auto *safe = dynamic_cast<TzelSafeFile *>(stream)) {
            safe->Commit();
            return;
        }
        auto *file = qobject_cast<QFileDevice *>(stream);
        if (file && file->isOpen() && file->isWritable() && !file->flush())
            throw TzelFileError(zelFormat(zelResources().Get(QStringLiteral("ioCantWrite")),
                                          {file->fileName(), file->errorString()}));
    }

    // Frees every stream below Node, completing each when Commit is set, or
    // dropping what was written otherwise. Every stream is freed; the first
    // failure is returned.
    static std::exception_ptr FreeObjects(TzelNode *node, bool commit)
    {
        std::exception_ptr failure;
        for (int i = 0; i < node->Count(); ++i)
            if (std::exception_ptr e = FreeObjects(node->Nodes(i), commit); e && !failure)
                failure = e;
        if (QIODevice *stream = node->ObjectData()) {
            node->SetObjectData(nullptr);
            std::unique_ptr<QIODevice> owned(stream);
            if (!commit) {
                if (auto *safe = dynamic_cast<TzelSafeFile *>(stream))
                    safe->Cancel();
            } else {
                try {
                    Complete(stream);
                } catch (...) {
                    if (!failure)
                        failure = std::current_exception();
                }
            }
        }
        return failure;
    }

    // Hands Stream out from Node, which then owns it as the transport says.
    static void Attach(TzelCustomIOTransport &t, TzelNode *node, const QString &name, QIODevice *stream)
    {
        node->SetOriginalName(name);
        node->SetOwnsObject(t.FFreeStreams);
        node->SetObjectData(stream);
        node->SetFilterAccess(t.FFilterAccess);
    }

    // Takes Stream out of the tree (and the internal transport's mirror);
    // False when the transport does not hold it.
    static bool Detach(TzelCustomIOTransport &t, QIODevice *stream)
    {
        TzelNode *node = stream ? t.FRootNode->Find(stream, true) : nullptr;
        if (!node)
            return false;
        node->SetObjectData(nullptr);
        if (t.FInternalFilter)
            if (TzelNode *mirror = t.FInternalFilter->FRootNode->Find(stream, true))
                mirror->SetObjectData(nullptr);
        return true;
    }

    static void CloseAuxiliary(std::unique_ptr<TzelCustomIOTransport> &aux)
    {
        if (!aux)
            return;
        aux->FreeTempContainer();
        aux.reset();
    }
};

TzelCustomIOTransport::TzelCustomIOTransport(Registration registration)
    : FRootNode(std::make_unique<TzelNode>())
{
    FCurrentNode = FRootNode.get();
    if (registration == Register)
        zelIOTransports().Register(this);
}

TzelCustomIOTransport::~TzelCustomIOTransport()
{
    // Streams nobody freed or closed belong to an operation that did not end.
    CancelAllStreams();
    FTempFilter.reset();
    FInternalFilter.reset();
    FRootNode.reset();
    zelIOTransports().Unregister(this);
}

QString TzelCustomIOTransport::GetFilterString()
{
    return FFilterString;
}

TzelFilterVisibility TzelCustomIOTransport::GetVisibility() const
{
    return FVisibility;
}

void TzelCustomIOTransport::SetVisibility(TzelFilterVisibility value)
{
    FVisibility = value;
}

bool TzelCustomIOTransport::DoCreateContainer(TzelNode *)
{
    return true;
}

bool TzelCustomIOTransport::DoDeleteContainer(TzelNode *)
{
    return true;
}

QIODevice *TzelCustomIOTransport::DoCreateStream(const QString &, const QString &)
{
    return nullptr;
}

void TzelCustomIOTransport::CreateTempContainer()
{
}

void TzelCustomIOTransport::FreeTempContainer()
{
}

QIODevice *TzelCustomIOTransport::GetStream(const QString &fileName)
{
    const QString name = fileName.isEmpty() ? FFileName : fileName;
    TzelNode *node = Private::Resolve(*this, name, true, true);
    if (!node)
        throw TzelException(zelFormat(zelResources().Get(QStringLiteral("ioCantParsePath")),
                                      {name}));
    // A name that is the base folder itself lands on the root; its stream
    // lives in a child named after the whole name.
    if (node == FRootNode.get())
        if (TzelNode *child = node->Find(name, false))
            node = child;

    if (QIODevice *held = node->ObjectData()) {
        if (node->FilterAccess() == FFilterAccess || !FFreeStreams)
            return held;
        // Reading what was being written: the writing is done.
        node->SetObjectData(nullptr);
        std::unique_ptr<QIODevice> owned(held);
        Private::Complete(held);
    }
    QIODevice *stream = DoCreateStream(name, zelIONamePart(name));
    if (node == FRootNode.get())
        node = node->Add(name);
    Private::Attach(*this, node, name, stream);
    return stream;
}

void TzelCustomIOTransport::FreeStream(QIODevice *stream, const QString &)
{
    if (!Private::Detach(*this, stream))
        return;
    std::unique_ptr<QIODevice> owned(stream);
    Private::Complete(stream);
}

void TzelCustomIOTransport::CancelStream(QIODevice *stream) noexcept
{
    if (!Private::Detach(*this, stream))
        return;
    if (auto *safe = dynamic_cast<TzelSafeFile *>(stream))
        safe->Cancel();
    delete stream;
}

bool TzelCustomIOTransport::DoFilterProcessStream(QIODevice *, void *)
{
    return false;
}

bool TzelCustomIOTransport::AllInOneContainer()
{
    return false;
}

bool TzelCustomIOTransport::OpenFilter()
{
    return true;
}

void TzelCustomIOTransport::CloseFilter()
{
    Private::CloseAuxiliary(FInternalFilter);
    Private::CloseAuxiliary(FTempFilter);
    // Streams still open are complete now, before the tree that holds them goes.
    std::exception_ptr failure;
    if (FFreeStreams)
        failure = Private::FreeObjects(FRootNode.get(), true);
    FRootNode->Clear();
    FCurrentNode = FRootNode.get();
    if (failure)
        std::rethrow_exception(failure);
}

void TzelCustomIOTransport::AssignFilter(const TzelCustomIOTransport &source)
{
    FReport = source.FReport;
    FShowDialog = source.FShowDialog;
    FOverwritePrompt = source.FOverwritePrompt;
    FDefaultPath = source.FDefaultPath;
    FFileName = source.FFileName;
    FDefaultExt = source.FDefaultExt;
    FExtDescription = source.FExtDescription;
}

void TzelCustomIOTransport::AssignSharedProperties(const TzelCustomIOTransport &)
{
}

QString TzelCustomIOTransport::GetDescription() const
{
    return QString();
}

std::unique_ptr<TzelCustomIOTransport> TzelCustomIOTransport::NewInstance() const
{
    return CreateNoRegister<TzelCustomIOTransport>();
}

std::unique_ptr<TzelCustomIOTransport> TzelCustomIOTransport::CreateFilterClone(TzelFilterVisibleState createdFrom) const
{
    std::unique_ptr<TzelCustomIOTransport> clone = NewInstance();
    clone->FCreatedFrom = createdFrom;
    clone->AssignFilter(*this);
    clone->AssignSharedProperties(*this);
    clone->FClonedFrom = const_cast<TzelCustomIOTransport *>(this);
    return clone;
}

void TzelCustomIOTransport::InitFromExport(const ExportTarget &target)
{
    FDefaultPath = target.DefaultPath;
    FDefaultExt = target.DefaultExt;
    FFileName = target.FileName;
    FReport = target.Report;
    FFilterString = target.FilterString;
    FOverwritePrompt = target.OverwritePrompt;
    const QString folder = zelIOFolderPart(target.FileName);
    FBasePath = folder.isEmpty() ? target.DefaultPath : folder;
    FFilterAccess = faWrite;
}

TzelNode *TzelCustomIOTransport::CreateContainer(const QString &name, bool setCurrent)
{
    TzelNode *node = Private::Walk(*this, FCurrentNode, zelIONodePath(name).split(u'\\', Qt::SkipEmptyParts), true,
                                   false);
    if (node && setCurrent)
        FCurrentNode = node;
    return node;
}

void TzelCustomIOTransport::DeleteContainer(const QString &name)
{
    TzelNode *node = FCurrentNode->Find(name, false);
    if (node && DoDeleteContainer(node))
        delete node;
}

QString TzelCustomIOTransport::CurrentContainer() const
{
    return FCurrentNode->Name();
}

void TzelCustomIOTransport::CopyStreamsNames(StreamList &list, bool openedOnly) const
{
    Private::CopyNames(FRootNode.get(), list, openedOnly);
}

void TzelCustomIOTransport::LoadStreamsList(StreamList &list)
{
    for (auto &entry : list)
        entry.second = GetStream(entry.first);
}

void TzelCustomIOTransport::LoadClosedStreams()
{
    QList<TzelNode *> closed;
    Private::CollectClosed(FRootNode.get(), closed);
    for (TzelNode *node : closed) {
        const QString name = node->OriginalName();
        Private::Attach(*this, node, name, DoCreateStream(name, zelIONamePart(name)));
    }
}

void TzelCustomIOTransport::CloseAllStreams()
{
    if (!FFreeStreams)
        return;
    if (std::exception_ptr failure = Private::FreeObjects(FRootNode.get(), true))
        std::rethrow_exception(failure);
}

void TzelCustomIOTransport::CancelAllStreams() noexcept
{
    if (FFreeStreams)
        Private::FreeObjects(FRootNode.get(), false);
}

TzelNode *TzelCustomIOTransport::GetFileNode() const
{
    if (FInternalFilter)
        return FInternalFilter->GetFileNode();
    return const_cast<TzelNode *>(Private::FirstStreamNode(FRootNode.get()));
}

TzelCustomIOTransport *TzelCustomIOTransport::TempFilter()
{
    if (!FTempFilter) {
        FTempFilter = zelIOTransports().CreateDefaultFileTransport();
        FTempFilter->CreateTempContainer();
    }
    return FTempFilter.get();
}

TzelCustomIOTransport *TzelCustomIOTransport::InternalFilter(bool create)
{
    if (!FInternalFilter && create)
        FInternalFilter = zelIOTransports().CreateDefaultFileTransport();
    return FInternalFilter.get();
}
