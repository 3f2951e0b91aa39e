#include "preview/zelregisterpreview.h"

#include "model/report/zelcustompreview.h"
#include "model/report/zelreport.h"
#include "preview/zelpreview.h"
#include "preview/zelpreviewform.h"

#include <QApplication>

namespace {

void ShowPreviewWindow(TzelReport &report)
{
    auto *form = new TzelPreviewForm(QApplication::activeWindow());
    form->Init(&report);
    if (report.OnPreview)
        report.OnPreview();
    if (report.PreviewOptions().Modal) {
        form->setWindowModality(Qt::ApplicationModal);
        form->exec();
        delete form;
        return;
    }
    form->setParent(nullptr, form->windowFlags());
    form->FreeOnClose = true;
    form->show();
}

} // namespace

void zelRegisterPreview()
{
    zelSetPreviewWindowMaker(ShowPreviewWindow);
}
