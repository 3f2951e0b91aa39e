#pragma once

#include "model/report/zelreport.h"

#include <QWidget>

class QPushButton;

// The host program's only window: "preview" and "design" on "test.zt3".
class TForm2 : public QWidget
{
public:
    explicit TForm2(QWidget *parent = nullptr);

    /// The report both commands work on.
    TzelReport &zelReport1() { return FReport; }

private:
    bool LoadTemplate();
    void Button1Click();
    void Button2Click();

    QPushButton *Button1;
    QPushButton *Button2;
    TzelReport FReport;
};
