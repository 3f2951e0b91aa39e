#pragma once
/// \file

#include "model/io/zelcustomiotransport.h"

#include <optional>

/// The plain file transport: stream names are files, containers are folders
/// below BasePath. It is the transport for plain file access and temporary
/// containers, so it is never offered to users.
class TzelIOTransportFile : public TzelCustomIOTransport
{
public:
    /// Creates a file transport; it enters the process-wide list unless made with NoRegister.
    explicit TzelIOTransportFile(Registration registration = Register);
    /// Removes the temporary folder when one is left.
    ~TzelIOTransportFile() override;

    /// Always empty, whatever was set.
    TzelFilterVisibility GetVisibility() const override;
    /// When writing, creates the folder the node stands for; a failure raises TzelFileError.
    bool DoCreateContainer(TzelNode *node) override;
    /// Opens the file: created (replacing an old one) when writing, read-only
    /// when reading; a failure raises TzelFileError naming the file.
    QIODevice *DoCreateStream(const QString &fullFilePath, const QString &fileName) override;
    /// Makes a fresh folder in the system's temporary folder the BasePath (once).
    void CreateTempContainer() override;
    /// Closes all streams and removes the temporary folder with everything in it.
    void FreeTempContainer() override;
    /// As the base, with new folders placed where the named file lies.
    QIODevice *GetStream(const QString &fileName = QString()) override;
    /// The text of resource 163, "File".
    QString GetDescription() const override;
    /// A new unregistered file transport.
    std::unique_ptr<TzelCustomIOTransport> NewInstance() const override;

    /// Whether a temporary folder made by CreateTempContainer exists.
    bool TempFolderExists() const { return FTempFolderExists; }
    /// The file the stream name Name stands for: names below BasePath and
    /// absolute names as they are, other names relative to BasePath.
    QString FileSystemPath(const QString &name) const;

private:
    bool FTempFolderExists = false;
    std::optional<QString> FContainerAnchor;
};
