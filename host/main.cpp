// The host program: one window whose two commands preview or design "test.zt3".
#include "host/tform2.h"
#include "dialogs/zelwidgetdialogservice.h"
#include "model/io/zeliotransportfiledialog.h"
#include "engine/core/zelengineclasses.h"
#include "engine/export/zelexportfilters.h"
#include "model/sql/zelsqlclasses.h"
#include "preview/zelregisterpreview.h"

#include <QApplication>
#include <QFontDatabase>

namespace {

// The UI face ships outside fontconfig's folders, so it is registered by hand.
void RegisterUIFonts()
{
    for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    RegisterUIFonts();
    TzelWidgetDialogService dialogs;
    TzelDialogService::SetInstance(&dialogs);
    zelRegisterDefaultTransports();
    zelRegisterSqlClasses();
    zelRegisterEngine();
    zelRegisterExportFilters();
    zelRegisterPreview();

    TForm2 form;
    form.show();
    const int result = app.exec();
    TzelDialogService::SetInstance(nullptr);
    return result;
}
