#pragma once

// Small report classes for the model's tests: a page-like container and a
// memo-like object with a font, a nested object with data of its own, a
// string list, a text and a reference.
#include "model/component/zelreportcomponent.h"
#include "model/reflect/zelclassregistry.h"
#include "model/reflect/zelfiler.h"
#include "model/serial/zelserialhooks.h"

ZEL_ENUM(TzelTestKind, tkPlain, tkFancy, tkOdd)

// A nested object with data of its own beside the properties.
class TzelTestFrame : public TzelPersistent
{
    ZEL_CLASS(TzelTestFrame, TzelPersistent)

    double Width = 1;
    int Color = 0;
    QByteArray Blob;

    void DefineProperties(TzelFiler &filer) override
    {
        filer.DefineBinaryProperty("Data", [this](const QByteArray &b) { Blob = b; }, [this] { return Blob; },
                                   !Blob.isEmpty());
    }
    static void Publish(TzelPublisher<TzelTestFrame> &p)
    {
        p.Prop("Width", &TzelTestFrame::Width);
        p.Color("Color", &TzelTestFrame::Color).Default(0);
    }
};

class TzelTestPage : public TzelReportComponent
{
    ZEL_CLASS(TzelTestPage, TzelReportComponent)

    static void Publish(TzelPublisher<TzelTestPage> &p)
    {
        p.Prop("Width", &TzelComponent::Width, &TzelComponent::SetWidth);
    }
};

class TzelTestMemo : public TzelReportComponent, public TzelTextOwner
{
    ZEL_CLASS(TzelTestMemo, TzelReportComponent)

    TzelTestKind Kind = tkPlain;
    TzelTestFrame Frame;
    QStringList Lines;
    QString Text;
    TzelTestMemo *Link = nullptr;
    TzelTestMemo *GetLink() const { return Link; }
    void SetLink(TzelTestMemo *v) { Link = v; }
    bool IsFontStored() const { return !ParentFont(); }

    QString StoredText() const override { return Text; }
    void SetStoredText(const QString &text) override { Text = text; }

    static void Publish(TzelPublisher<TzelTestMemo> &p)
    {
        using T = TzelTestMemo;
        p.Prop("Left", &TzelComponent::Left, &TzelComponent::SetLeft);
        p.Prop("Top", &TzelComponent::Top, &TzelComponent::SetTop);
        p.Prop("Width", &TzelComponent::Width, &TzelComponent::SetWidth);
        p.Prop("Height", &TzelComponent::Height, &TzelComponent::SetHeight);
        p.Prop("Kind", &T::Kind).Default(tkPlain);
        p.Object("Font", &TzelComponent::Font).StoredIf(&T::IsFontStored);
        p.Prop("ParentFont", &TzelComponent::ParentFont, &TzelComponent::SetParentFont).Default(true);
        p.Object("Frame", &T::Frame);
        p.Prop("Lines", &T::Lines);
        p.Ref("Link", &T::GetLink, &T::SetLink);
    }
};

/// Registers the test classes by name.
inline void zelRegisterTestClasses()
{
    zelRegisterClass<TzelTestPage>();
    zelRegisterClass<TzelTestMemo>();
}
