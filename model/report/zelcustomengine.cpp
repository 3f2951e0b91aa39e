#include "model/report/zelcustomengine.h"

#include "model/band/zelband.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"

void TzelCustomEngine::SetPreviewPages(TzelCustomPreviewPages *value)
{
    FPreviewPages = value;
    if (value)
        value->Engine = this;
}

bool TzelCustomEngine::DoublePass() const
{
    return FReport->EngineOptions().DoublePass;
}

void TzelCustomEngine::ShowBandByName(const QString &bandName)
{
    if (auto *band = dynamic_cast<TzelBand *>(FReport->FindObject(bandName)))
        ShowBand(band);
}

void TzelCustomEngine::StopReport()
{
    FReport->Terminated = true;
}
