#include "model/page/zelpage.h"

#include "base/resources/zelresources.h"
#include "model/page/zeldatapage.h"
#include "model/page/zeldialogpage.h"

TzelPage::TzelPage(TzelComponent *owner)
    : TzelComponent(owner)
{
}

TzelPage::~TzelPage() = default;

void TzelPage::ClearGuides()
{
    HGuides.clear();
    VGuides.clear();
}

TzelPage *TzelPage::PageOf(const TzelComponent *component)
{
    for (const TzelComponent *c = component; c; c = c->Parent())
        if (auto *page = dynamic_cast<const TzelPage *>(c))
            return const_cast<TzelPage *>(page);
    return nullptr;
}

void TzelPage::Publish(TzelPublisher<TzelPage> &p)
{
    p.Object("Font", &TzelComponent::Font).StoredIf(&TzelPage::IsFontStored);
    p.Prop("Visible", &TzelComponent::Visible, &TzelComponent::SetVisible).Default(true);
    p.Prop("HGuides", &TzelPage::HGuides);
    p.Prop("VGuides", &TzelPage::VGuides);
}

TzelDataPage::TzelDataPage(TzelComponent *owner)
    : TzelPage(owner)
{
    SetWidth(1000);
    SetHeight(1000);
}

QString TzelDataPage::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obDataPage"));
}

void TzelDataPage::Publish(TzelPublisher<TzelDataPage> &p)
{
    p.Prop("Height", &TzelComponent::Height, &TzelComponent::SetHeight);
    p.Prop("Left", &TzelComponent::Left, &TzelComponent::SetLeft);
    p.Prop("Top", &TzelComponent::Top, &TzelComponent::SetTop);
    p.Prop("Width", &TzelComponent::Width, &TzelComponent::SetWidth);
}

TzelDialogPage::TzelDialogPage(TzelComponent *owner)
    : TzelPage(owner)
{
    Font().SetName(QStringLiteral("Tahoma"));
    Font().SetSize(8);
}

QString TzelDialogPage::GetDescription() const
{
    return zelResources().Get(QStringLiteral("obDlgPage"));
}

void TzelDialogPage::Publish(TzelPublisher<TzelDialogPage> &p)
{
    using T = TzelDialogPage;
    p.Prop("BorderStyle", &T::BorderStyle).Default(bsSizeable);
    p.Prop("Caption", &T::Caption);
    p.Color("Color", &T::Color).Default(clBtnFace);
    p.Prop("DoubleBuffered", &T::DoubleBuffered).Default(false);
    p.Prop("Height", &TzelComponent::Height, &TzelComponent::SetHeight);
    p.Prop("ClientHeight", &T::ClientHeight);
    p.Prop("Left", &TzelComponent::Left, &TzelComponent::SetLeft);
    p.Prop("Position", &T::Position).Default(poScreenCenter);
    p.Prop("Top", &TzelComponent::Top, &TzelComponent::SetTop);
    p.Prop("Width", &TzelComponent::Width, &TzelComponent::SetWidth);
    p.Prop("Scaled", &T::Scaled).Default(true);
    p.Prop("ClientWidth", &T::ClientWidth);
    p.Prop("WindowState", &T::WindowState).Default(wsNormal);
    p.Event("OnActivate", &T::OnActivate);
    p.Event("OnClick", &T::OnClick);
    p.Event("OnDeactivate", &T::OnDeactivate);
    p.Event("OnHide", &T::OnHide);
    p.Event("OnShow", &T::OnShow);
    p.Event("OnResize", &T::OnResize);
    p.Event("OnCloseQuery", &T::OnCloseQuery, "TzelCloseQueryEvent");
    p.Event("OnKeyDown", &T::OnKeyDown, "TzelKeyEvent");
    p.Event("OnKeyUp", &T::OnKeyUp, "TzelKeyEvent");
    p.Event("OnKeyPress", &T::OnKeyPress, "TzelKeyPressEvent");
}
