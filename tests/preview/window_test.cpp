// The preview window: its tool bar, zoom and page boxes, and its behaviour
// while the report builds.
#include "previewtest.h"

#include "model/band/zelpagefooter.h"
#include "preview/zelpreviewform.h"
#include "preview/zelregisterpreview.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace {

// The captions of the visible tool bar buttons, in order.
QStringList VisibleButtons(TzelPreviewForm &form)
{
    QStringList names;
    for (QAction *a : {form.OpenB, form.SaveB, form.PdfB, form.FindB, form.ZoomPlusB, form.ZoomMinusB, form.FullScreenBtn,
                       form.OutlineB, form.ThumbB, form.FirstB, form.PriorB, form.NextB, form.LastB})
        if (a->isVisible())
            names << a->text();
    if (form.CancelB->isVisible())
        names << form.CancelB->text();
    return names;
}

} // namespace

TEST(PreviewWindow, TheButtonsFollowThePreviewOptions)
{
    struct Case
    {
        TzelPreviewButtons Buttons;
        const char *Expected;
    };
    const Case cases[] = {
        {TzelPreviewButtons(), "Close"},
        {TzelPreviewButtons{pbNoClose}, ""},
        {TzelPreviewButtons{pbZoom, pbNoFullScreen}, "Zoom In|Zoom Out|Close"},
        {TzelPreviewButtons{pbLoad, pbFind, pbOutline, pbNavigator},
         "Open|Find|Outline|Thumbnails|First|Prior|Next|Last|Close"},
    };
    for (const Case &c : cases) {
        SevenRows t;
        t.Report.PreviewOptions().Buttons = c.Buttons;
        TzelPreviewForm form;
        form.Init(&t.Report);
        form.show();
        EXPECT_EQ(VisibleButtons(form).join(QLatin1Char('|')).toStdString(), c.Expected);
    }
}

TEST(PreviewWindow, TheZoomBoxReadsPercentagesAndModes)
{
    ShownRows t;
    TzelPreviewForm form;
    form.Init(&t.Report);
    TzelPreview *preview = form.Preview();
    struct Case
    {
        const char *Text;
        double Zoom;
        TzelZoomMode Mode;
    };
    for (const Case c : {Case{"150 % ", 1.5, zmDefault}, Case{"abc", 1.5, zmDefault}, Case{"", 1.5, zmDefault},
                         Case{"Page width", -1, zmPageWidth}, Case{"50%", 0.5, zmDefault}}) {
        form.ApplyZoomText(QString::fromLatin1(c.Text));
        EXPECT_EQ(preview->ZoomMode(), c.Mode) << c.Text;
        if (c.Zoom > 0) {
            EXPECT_DOUBLE_EQ(preview->Zoom(), c.Zoom) << c.Text;
        }
    }
    // Typed into the box and confirmed with Enter.
    form.ZoomCB->lineEdit()->clear();
    QTest::keyClicks(form.ZoomCB->lineEdit(), QStringLiteral("200"));
    QTest::keyClick(form.ZoomCB->lineEdit(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(preview->Zoom(), 2);
    // Zoom Out at the floor stays there.
    preview->SetZoom(0.25);
    form.ZoomMinusB->trigger();
    EXPECT_DOUBLE_EQ(preview->Zoom(), 0.25);
    QApplication::processEvents();
    EXPECT_EQ(form.ZoomCB->currentText(), QStringLiteral("25%"));
}

TEST(PreviewWindow, ThePageBoxAndStatusFollowThePage)
{
    ShownRows t;
    TzelPreviewForm form;
    form.Init(&t.Report);
    form.ApplyPageText(QStringLiteral("2"));
    EXPECT_EQ(form.Preview()->PageNo(), 2);
    form.ApplyPageText(QStringLiteral("x"));
    EXPECT_EQ(form.Preview()->PageNo(), 2);
    EXPECT_EQ(form.PageE->text(), QStringLiteral("2"));
    EXPECT_EQ(form.OfNL->text(), QStringLiteral("of 3"));
    EXPECT_TRUE(form.StatusBar->findChildren<QLabel *>().first()->text() == QStringLiteral("Page 2 of 3"));
}

TEST(PreviewWindow, ShowReportOpensTheWindowFirstAndBuildsInIt)
{
    zelRegisterPreview();
    SevenRows t(300);
    t.Report.PreviewOptions().Modal = false;
    t.Report.PreviewOptions().Maximized = false;
    QStringList seen;
    TzelPreviewForm *form = nullptr;
    t.Report.OnPreview = [&] { form = qobject_cast<TzelPreviewForm *>(dynamic_cast<TzelPreview *>(t.Report.Preview())->window()); };
    t.Report.OnProgress = [&](const TzelProgress &progress) {
        if (progress.Page != 3 || !form)
            return;
        // While the build runs: pages already shown, closing refused, Cancel offered.
        seen << QString::number(form->Preview()->PageCount()) << form->CancelB->text();
        form->close();
        seen << (form->isVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
    };
    t.Report.ShowReport();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Preview()->PageCount(), 0) << "the build starts from the event loop";
    for (QDeadlineTimer deadline(10000); form->Preview()->PageCount() < 100 && !deadline.hasExpired();)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("2"), QStringLiteral("Cancel"), QStringLiteral("open")}));
    EXPECT_EQ(form->Preview()->PageCount(), 100);
    EXPECT_EQ(form->CancelB->text(), QStringLiteral("Close"));
    QPointer<TzelPreviewForm> closing(form);
    EXPECT_TRUE(form->close());
    // A window the report opened without waiting for it frees itself.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(t.Report.Preview(), nullptr);
}

TEST(PreviewWindow, TheFirstOfTwoPassesShowsNoPagesAndTheSecondItsOwn)
{
    zelRegisterPreview();
    SevenRows t(9);
    t.Line<TzelPageFooter>("Footer", 300, QStringLiteral("[Page#] of [TOTALPAGES#]"), 20);
    t.Report.EngineOptions().DoublePass = true;
    t.Report.PreviewOptions().Modal = false;
    QStringList firstPass;
    t.Report.OnProgress = [&](const TzelProgress &) {
        auto *preview = dynamic_cast<TzelPreview *>(t.Report.Preview());
        if (!preview || t.Report.Engine()->FinalPass())
            return;
        // Zooming during the first pass must not lay its pages out.
        preview->SetZoom(0.5);
        auto *form = qobject_cast<TzelPreviewForm *>(preview->window());
        firstPass << QString::number(preview->PageCount()) << form->StatusBar->findChildren<QLabel *>().first()->text();
    };
    t.Report.ShowReport();
    auto *preview = dynamic_cast<TzelPreview *>(t.Report.Preview());
    ASSERT_NE(preview, nullptr);
    for (QDeadlineTimer deadline(10000); (preview->Running() || preview->PageCount() == 0) && !deadline.hasExpired();)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_FALSE(firstPass.isEmpty());
    EXPECT_EQ(firstPass.mid(0, 2), (QStringList{QStringLiteral("0"), QStringLiteral("First pass: page 1")}));
    EXPECT_EQ(preview->PageCount(), 3);
    EXPECT_TRUE(zelPageTextRuns(*t.Report.PreviewPages(), 0).last().Text == QStringLiteral("1 of 3"));
}

TEST(PreviewWindow, TheWindowClosesWithItsReport)
{
    zelRegisterPreview();
    QPointer<TzelPreviewForm> form;
    {
        SevenRows t;
        t.Report.PreviewOptions().Modal = false;
        t.Report.ShowReport();
        form = qobject_cast<TzelPreviewForm *>(dynamic_cast<TzelPreview *>(t.Report.Preview())->window());
        ASSERT_FALSE(form.isNull());
    }
    for (QDeadlineTimer deadline(5000); !form.isNull() && !deadline.hasExpired();) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(form.isNull());
}
