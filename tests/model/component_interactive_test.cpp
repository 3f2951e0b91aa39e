#include "model/component/zelinteractiveparams.h"
#include "model/component/zelreportcomponent.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>

// Mouse events routed from the preview and the designer, creation for the
// designer, and the bounds kept around printing.

namespace {

class TzelProbeView : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeView, TzelReportComponent)

    explicit TzelProbeView(TzelComponent *owner = nullptr, QStringList *log = nullptr)
        : TzelReportComponent(owner), Log(log)
    {
    }

    QStringList *Log;
    bool Consumes = false;
    bool AsksParent = false;
    int Calls = 0;
    bool ChildWasDesigning = false;

protected:
    bool Handle(TzelInteractiveEventsParams &params)
    {
        ++Calls;
        if (AsksParent)
            params.FireParentEvent = true;
        return Consumes;
    }
    bool DoMouseDown(double, double, TzelInteractiveEventsParams &p) override { return Handle(p); }
    bool DoMouseMove(double, double, TzelInteractiveEventsParams &p) override { return Handle(p); }
    bool DoMouseUp(double, double, TzelInteractiveEventsParams &p) override { return Handle(p); }
    bool DoMouseClick(double, double, TzelInteractiveEventsParams &p) override { return Handle(p); }
    bool DoMouseWheel(double, double, int, TzelInteractiveEventsParams &p) override { return Handle(p); }
    void DoMouseEnter(TzelInteractiveEventsParams &) override { *Log << Name() + QStringLiteral(" enter"); }
    void DoMouseLeave(TzelInteractiveEventsParams &) override { *Log << Name() + QStringLiteral(" leave"); }
    void ObjectsChanged(TzelComponent *child, bool added) override
    {
        if (added)
            ChildWasDesigning = child->IsDesigning();
    }
};

using Event = std::function<void(TzelComponent &, TzelInteractiveEventsParams &)>;

const QList<std::pair<const char *, Event>> &routedEvents()
{
    static const QList<std::pair<const char *, Event>> events = {
        {"down", [](TzelComponent &c, TzelInteractiveEventsParams &p) { c.MouseDown(15, 15, p); }},
        {"move", [](TzelComponent &c, TzelInteractiveEventsParams &p) { c.MouseMove(15, 15, p); }},
        {"up", [](TzelComponent &c, TzelInteractiveEventsParams &p) { c.MouseUp(15, 15, p); }},
        {"click", [](TzelComponent &c, TzelInteractiveEventsParams &p) { c.MouseClick(15, 15, p); }},
        {"wheel", [](TzelComponent &c, TzelInteractiveEventsParams &p) { c.MouseWheel(15, 15, 120, p); }},
    };
    return events;
}

} // namespace

TEST(ComponentRouting, PreviewEventsNeedAllowInPreviewAndNoRestriction)
{
    struct Case
    {
        TzelEventSender sender;
        TzelEditableFlags editable;
        bool restricted;
        bool handled;
    };
    const Case cases[] = {
        {esDesigner, {}, false, true},
        {esDesigner, {}, true, true},
        {esPreview, {}, false, false},
        {esPreview, {ferAllowInExport}, false, false},
        {esPreview, {ferAllowInPreview}, false, true},
        {esPreview, {ferAllowInPreview}, true, false},
    };
    for (const auto &[event, fire] : routedEvents()) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << event << " sender " << c.sender << " editable " << c.editable.Bits()
                                            << " restricted " << c.restricted);
            TzelProbeView v;
            v.SetBounds(10, 10, 20, 20);
            v.Editable = c.editable;
            v.Consumes = true;
            TzelInteractiveEventsParams params;
            params.EventSender = c.sender;
            params.EditRestricted = c.restricted;
            fire(v, params);
            EXPECT_EQ(v.Calls, c.handled ? 1 : 0);
            EXPECT_EQ(params.Handled, c.handled ? &v : nullptr);
        }
    }
}

TEST(ComponentRouting, ParentIsToldOnceWhenAskedAndItContainsThePoint)
{
    for (const auto &[event, fire] : routedEvents()) {
        SCOPED_TRACE(event);
        TzelProbeView band;
        band.SetBounds(0, 0, 100, 100);
        auto *memo = new TzelProbeView(&band);
        memo->SetBounds(10, 10, 20, 20);

        TzelInteractiveEventsParams quiet;
        fire(*memo, quiet);
        EXPECT_EQ(band.Calls, 0);
        EXPECT_EQ(quiet.Handled, nullptr);

        memo->AsksParent = true;
        TzelInteractiveEventsParams asked;
        fire(*memo, asked);
        EXPECT_EQ(memo->Calls, 2);
        EXPECT_EQ(band.Calls, 1);
        EXPECT_FALSE(asked.FireParentEvent);

        band.SetBounds(50, 50, 100, 100); // the point is no longer inside the parent
        TzelInteractiveEventsParams outside;
        fire(*memo, outside);
        EXPECT_EQ(band.Calls, 1);
        EXPECT_TRUE(outside.FireParentEvent);
    }
}

TEST(ComponentRouting, EnteringEntersTheParentFirstAndOnlyOnce)
{
    QStringList log;
    TzelProbeView band(nullptr, &log);
    band.SetName(QStringLiteral("Band"));
    auto *memo = new TzelProbeView(&band, &log);
    memo->SetName(QStringLiteral("Memo"));
    auto *other = new TzelProbeView(&band, &log);
    other->SetName(QStringLiteral("Other"));
    TzelInteractiveEventsParams params;

    memo->MouseEnter(params);
    memo->MouseEnter(params);
    memo->MouseLeave(params);
    memo->MouseLeave(params);
    other->MouseEnter(params);
    EXPECT_EQ(log, (QStringList{"Band enter", "Memo enter", "Memo leave", "Other enter"}));

    log.clear();
    TzelInteractiveEventsParams preview;
    preview.EventSender = esPreview;
    memo->MouseEnter(preview);
    EXPECT_TRUE(log.isEmpty());
}

TEST(ComponentReportComponent, DesignCreateIsDesigningBeforeJoiningTheParent)
{
    TzelProbeView band;
    auto *memo = TzelComponent::DesignCreate<TzelProbeView>(&band);
    EXPECT_TRUE(memo->IsDesigning());
    EXPECT_EQ(memo->Parent(), &band);
    EXPECT_TRUE(band.ChildWasDesigning);
}

TEST(ComponentReportComponent, AfterPrintRestoresTheBoundsSavedBeforePrinting)
{
    TzelProbeView band;
    band.SetBounds(5, 6, 100, 50);
    auto *anchored = new TzelProbeView(&band);
    anchored->SetBounds(80, 10, 20, 10);
    anchored->SetAnchors({fraRight, fraTop});
    EXPECT_EQ(band.OriginalObjectsCount, -1);

    band.BeforePrint();
    band.SetBounds(0, 0, 300, 80);
    ASSERT_EQ(anchored->Left(), 280);
    band.AfterPrint();

    EXPECT_EQ(QRectF(band.Left(), band.Top(), band.Width(), band.Height()), QRectF(5, 6, 100, 50));
    EXPECT_EQ(anchored->Left(), 80); // restored through the setters, so children follow
    EXPECT_EQ(anchored->GetRealBounds(), QRectF(85, 16, 20, 10));
    EXPECT_EQ(anchored->GetSaveToComponent(), anchored);
}
