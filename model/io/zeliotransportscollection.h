#pragma once
/// \file

#include "model/io/zeliotransporttypes.h"

#include <QList>
#include <QString>
#include <memory>
#include <utility>

class TzelCustomIOTransport;

/// The process-wide list of transports offered to users, in registration
/// order. Transports enter it when created and leave it when destroyed; the
/// list never owns them. It also knows which classes to create when a dialog
/// or plain file access is needed.
class TzelIOTransportsCollection
{
public:
    /// (description, transport) pairs, as listed for a state.
    using Entries = QList<std::pair<QString, TzelCustomIOTransport *>>;
    /// Creates a new unregistered transport.
    using Factory = std::unique_ptr<TzelCustomIOTransport> (*)();

    TzelIOTransportsCollection();
    ~TzelIOTransportsCollection();
    TzelIOTransportsCollection(const TzelIOTransportsCollection &) = delete;
    TzelIOTransportsCollection &operator=(const TzelIOTransportsCollection &) = delete;

    /// Appends Transport; one already listed stays where it is.
    void Register(TzelCustomIOTransport *transport);
    /// Removes Transport when listed.
    void Unregister(TzelCustomIOTransport *transport);
    /// Number of registered transports.
    int Count() const { return int(FItems.size()); }
    /// Registered transport at Index.
    TzelCustomIOTransport *Items(int index) const { return FItems[index]; }
    /// Position of Transport, or -1.
    int IndexOf(const TzelCustomIOTransport *transport) const;
    /// Every registered transport whose visibility contains State, under its
    /// description, in registration order.
    Entries List(TzelFilterVisibleState state) const;

    /// Sets the class created for transports that show a dialog (none at first).
    void SetDefaultDialogTransport(Factory factory) { FDialogFactory = factory; }
    /// A new transport of the dialog class, or nullptr when none is set.
    std::unique_ptr<TzelCustomIOTransport> CreateDefaultDialogTransport() const;
    /// Sets the class created for plain file access and temporary containers.
    void SetDefaultFileTransport(Factory factory) { FFileFactory = factory; }
    /// A new transport of the file class.
    std::unique_ptr<TzelCustomIOTransport> CreateDefaultFileTransport() const;

private:
    QList<TzelCustomIOTransport *> FItems;
    Factory FDialogFactory = nullptr;
    Factory FFileFactory = nullptr;
};

/// The single list, created on first use.
TzelIOTransportsCollection &zelIOTransports();
