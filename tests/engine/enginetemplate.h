#pragma once

#include "enginedump.h"

#include "engine/core/zelengineclasses.h"
#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustomengine.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/report/zelreport.h"
#include "model/band/zelband.h"
#include "model/view/zelmemoview.h"

#include <gtest/gtest.h>

// A template without data for engine tests: one 100 mm square page without
// margins, bands shown by the host through OnManualBuild.

inline constexpr double kPage = 100 * qz01cm; // a 100 mm square page, no margins

struct Template
{
    TzelReport Report;
    TzelReportPage *Page = nullptr;

    Template()
    {
        zelRegisterEngine();
        Report.EngineOptions().NewSilentMode = simSilent;
        Page = new TzelReportPage(&Report);
        Page->SetName(QStringLiteral("Page1"));
        Page->SetSizeAndDimensions(256, 100, 100);
    }

    template <class T> T *Band(const char *name, double height, double width = kPage)
    {
        auto *band = new T(Page);
        band->SetName(QString::fromLatin1(name));
        band->SetBounds(0, 0, width, height);
        return band;
    }

    // Shows Band Count times while the page is built.
    void ShowRows(TzelBand *band, int count)
    {
        Report.OnManualBuild = [this, band, count](TzelReportPage *) {
            for (int i = 0; i < count; ++i)
                Report.Engine()->ShowBand(band);
        };
    }

    QString Build()
    {
        EXPECT_TRUE(Report.PrepareReport()) << Report.Errors().Text().toStdString();
        return bandOrder(*Report.PreviewPages());
    }

    // The texts of the built memos, one per line: "Name: text".
    std::string Texts() { return memoTexts(*Report.PreviewPages()).toStdString(); }
};

inline TzelMemoView *addMemo(TzelBand *band, const char *name, double top, double height, const QString &text = {})
{
    auto *memo = new TzelMemoView(band);
    memo->SetName(QString::fromLatin1(name));
    memo->SetBounds(0, top, 100, height);
    memo->SetText(text);
    return memo;
}
