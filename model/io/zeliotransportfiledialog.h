#pragma once
/// \file

#include "model/io/zeliotransportfile.h"

/// The file transport that first asks the user for a file with an open or save
/// dialog. The dialog's type list also offers the registered transports for
/// the place the dialog was opened from; choosing one of them hands the work
/// to a clone of it, the delegate.
class TzelIOTransportFileDialog : public TzelIOTransportFile
{
public:
    /// Creates a dialog transport; it enters the process-wide list unless made with NoRegister.
    explicit TzelIOTransportFileDialog(Registration registration = Register);
    /// Frees the delegate.
    ~TzelIOTransportFileDialog() override;

    /// The visibility as set (default designer, preview and export).
    TzelFilterVisibility GetVisibility() const override;
    /// Asks for the file; False when the user cancels. Choosing another
    /// transport's type answers that transport's OpenFilter.
    bool OpenFilter() override;
    /// Closes as a file transport, then closes and frees the delegate.
    void CloseFilter() override;
    /// Served by the delegate while there is one.
    QIODevice *GetStream(const QString &fileName = QString()) override;
    /// Served by the delegate while there is one.
    void FreeStream(QIODevice *stream, const QString &fileName = QString()) override;
    /// Served by the delegate while there is one.
    bool DoFilterProcessStream(QIODevice *stream, void *processingObject) override;
    /// The text of resource 163, "File".
    QString GetDescription() const override;
    /// A new unregistered dialog transport.
    std::unique_ptr<TzelCustomIOTransport> NewInstance() const override;

    /// The transport chosen in the dialog's type list, or nullptr.
    TzelCustomIOTransport *Delegate() const { return FDelegate.get(); }

private:
    std::unique_ptr<TzelCustomIOTransport> FDelegate;
};

/// Makes the dialog transport the default class for dialogs and enters one
/// instance, freed at program end, in the transport list. Call once at
/// start-up; later calls do nothing.
void zelRegisterDefaultTransports();
