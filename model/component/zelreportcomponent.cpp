#include "model/component/zelreportcomponent.h"

TzelReportComponent::TzelReportComponent(TzelComponent *owner)
    : TzelComponent(owner)
{
}

TzelReportComponent::~TzelReportComponent()
{
    if (OnDestroyed)
        OnDestroyed(this);
}

void TzelReportComponent::BeforePrint()
{
    FSavedBounds = QRectF(Left(), Top(), Width(), Height());
}

void TzelReportComponent::AfterPrint()
{
    SetBounds(FSavedBounds.left(), FSavedBounds.top(), FSavedBounds.width(), FSavedBounds.height());
}

void TzelReportComponent::Publish(TzelPublisher<TzelReportComponent> &p)
{
    p.Prop("Description", &TzelReportComponent::Description);
    p.Prop("IndexTag", &TzelReportComponent::IndexTag).StoredIf(&TzelReportComponent::IsIndexTagStored);
}
