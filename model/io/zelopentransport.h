#pragma once
/// \file

#include "base/core/zelexception.h"
#include "base/stream/zelsafefile.h"
#include "model/io/zelcustomiotransport.h"

#include <QString>
#include <functional>

class TzelReport;

/// Opens a transport on behalf of a report for one load or save. Close ends a
/// load or save that went through; destruction without Close is a failure, so
/// the stream is cancelled (a file being saved keeps its old contents) and
/// nothing is raised.
class TzelOpenTransport
{
public:
    /// Lends Transport to Report until destruction.
    TzelOpenTransport(TzelCustomIOTransport *transport, TzelReport *report)
        : FTransport(transport)
    {
        FTransport->SetReport(report);
    }
    ~TzelOpenTransport()
    {
        if (FStream)
            FTransport->CancelStream(FStream);
        try {
            if (FOpened)
                FTransport->CloseFilter();
        } catch (...) { // a failure is being handled already
        }
        FTransport->SetReport(nullptr);
    }
    TzelOpenTransport(const TzelOpenTransport &) = delete;
    TzelOpenTransport &operator=(const TzelOpenTransport &) = delete;

    /// Opens the transport; False when it refused.
    bool Open()
    {
        FOpened = FTransport->OpenFilter();
        return FOpened;
    }
    /// The stream for FileName, cancelled unless Close comes first.
    QIODevice *Stream(const QString &fileName)
    {
        FFileName = fileName;
        FStream = FTransport->GetStream(fileName);
        return FStream;
    }
    /// Runs Work on the stream and then Close. A writer's exception after a
    /// write to the file failed is raised as that failure, naming the file.
    void Process(const std::function<void(QIODevice *stream)> &work)
    {
        try {
            work(FStream);
        } catch (const TzelException &) {
            zelRaiseWriteFailure(FStream);
            throw;
        }
        Close();
    }
    /// Frees the stream, which completes a save, and closes the transport.
    /// Raises what FreeStream or CloseFilter raise (a write that failed).
    void Close()
    {
        QIODevice *stream = FStream;
        FStream = nullptr;
        if (stream)
            FTransport->FreeStream(stream, FFileName);
        if (FOpened) {
            FOpened = false;
            FTransport->CloseFilter();
        }
    }

private:
    TzelCustomIOTransport *FTransport;
    QIODevice *FStream = nullptr;
    QString FFileName;
    bool FOpened = false;
};
