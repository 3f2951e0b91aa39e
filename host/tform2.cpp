#include "host/tform2.h"

#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "base/services/zeldialogservice.h"

#include <QFileInfo>
#include <QFont>
#include <QPalette>
#include <QPushButton>

namespace {

const QString templateName = QStringLiteral("test.zt3");

// An exception must not leave a click handler: it would end the message loop.
void ShowException(const TzelException &e)
{
    TzelDialogService::Instance().MessageBox(e.message(), zelResources().Get(QStringLiteral("mbError")),
                                             TzelDialogService::mbOK, TzelDialogService::miError);
}

} // namespace

TForm2::TForm2(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Form2"));
    setFixedSize(635, 300);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setPalette(QPalette(palette().color(QPalette::Button)));
    setAutoFillBackground(true);

    Button1 = new QPushButton(QStringLiteral("preview"), this);
    Button1->setGeometry(288, 120, 75, 25);
    Button2 = new QPushButton(QStringLiteral("design"), this);
    Button2->setGeometry(384, 120, 75, 25);
    setTabOrder(Button1, Button2);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

// Loads the template, or says which file is missing where.
bool TForm2::LoadTemplate()
{
    if (!QFileInfo(templateName).isFile()) {
        ShowException(TzelException(zelFormat(zelRes("clFileNotFound"), {QFileInfo(templateName).absoluteFilePath()})));
        return false;
    }
    FReport.LoadFromFile(templateName);
    return true;
}

void TForm2::Button1Click()
{
    try {
        if (LoadTemplate())
            FReport.ShowReport(true);
    } catch (const TzelException &e) {
        ShowException(e);
    }
}

void TForm2::Button2Click()
{
    try {
        if (LoadTemplate())
            FReport.DesignReport(true, false);
    } catch (const TzelException &e) {
        ShowException(e);
    }
}
