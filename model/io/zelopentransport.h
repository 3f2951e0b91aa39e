#pragma once

#include "model/io/zelcustomiotransport.h"

#include <QString>

class TzelReport;

// Opens a transport on behalf of a report for one load or save, and frees
// its stream and closes it whatever happens.
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
            FTransport->FreeStream(FStream, FFileName);
        if (FOpened)
            FTransport->CloseFilter();
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
    /// The stream for FileName, freed on destruction.
    QIODevice *Stream(const QString &fileName)
    {
        FFileName = fileName;
        FStream = FTransport->GetStream(fileName);
        return FStream;
    }

private:
    TzelCustomIOTransport *FTransport;
    QIODevice *FStream = nullptr;
    QString FFileName;
    bool FOpened = false;
};
