#pragma once

// What the preview tests share: a report of seven rows, three to a 100 mm
// page, shown in a preview control of a fixed size.
#include "engine/datatemplate.h"
#include "support/testsupport.h"

#include "model/band/zelmasterdata.h"
#include "preview/zelpreview.h"
#include "preview/zelpreviewworkspace.h"

#include <QApplication>
#include <functional>

struct SevenRows : DataTemplate
{
    TzelMasterData *Rows = nullptr;

    explicit SevenRows(int rows = 7)
    {
        Rows = Line<TzelMasterData>("Rows", 40, QStringLiteral("Row [Line]"), 100);
        Rows->SetRowCount(rows);
        Rows->OutlineText = QStringLiteral("'Row ' + IntToStr(<Line>)");
    }
};

/// SevenRows, changed by Setup, built into a preview control 800 × 600
/// pixels large.
struct ShownRows : SevenRows
{
    TzelPreview Preview;

    explicit ShownRows(int rows = 7, const std::function<void(SevenRows &)> &setup = {})
        : SevenRows(rows)
    {
        if (setup)
            setup(*this);
        Preview.resize(800, 600);
        Preview.show();
        Preview.Init(&Report, Report.PreviewPages());
        EXPECT_TRUE(Report.PrepareReport()) << Report.Errors().Text().toStdString();
        QApplication::processEvents();
    }
};
