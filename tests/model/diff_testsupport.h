#pragma once

// A change of every attribute a printed object's difference text carries,
// shared by the difference-record tests and the prepared-page tests.
#include "model/band/zelgroupheader.h"
#include "model/view/zelcustommemoview.h"
#include "model/view/zelgradientfill.h"
#include "model/view/zellineview.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"

// Changes, in Copy, attributes its class's difference text carries.
inline void zelChangePrintedCopy(TzelComponent &c)
{
    c.SetBounds(c.Left() + 1.5, c.Top() + 2, c.Width() + 30.25, c.Height() + 4);
    c.SetVisible(false);
    c.Tag = 42;
    c.AllowMirrorMode = true;
    c.Font().SetName(QStringLiteral("Courier New"));
    c.Font().SetSize(12);
    c.Font().SetColor(0x0000FF);
    c.Font().SetStyle({fsBold, fsUnderline});
    c.Font().SetCharset(204);
    if (auto *v = dynamic_cast<TzelView *>(&c)) {
        v->Align = baRight;
        v->Frame().SetColor(0x00FF00);
        v->Frame().SetStyle(fsDot);
        v->Frame().TopLine().SetWidth(3);
        v->Frame().LeftLine().SetColor(0x808080);
        v->Frame().Typ = {ftLeft, ftBottom};
        v->Frame().DropShadow = true;
        v->Cursor = -21;
        v->Visibility = {vsPreview};
        v->TagStr = QStringLiteral("tag \"q\" & <x>");
        // Lines and subreports have no fill of their own.
        if (c.ClassInfo().FindProperty(u"FillType")) {
            v->SetFillType(ftGradient);
            static_cast<TzelGradientFill &>(v->Fill()).EndColor = 0x123456;
        }
        v->Hyperlink().Kind = hkDetailPage;
        v->Hyperlink().DetailPage = QStringLiteral("Page2");
        v->Hyperlink().Value = QStringLiteral("a;b");
        v->Editable = {ferAllowInExport};
    }
    if (auto *m = dynamic_cast<TzelCustomMemoView *>(&c)) {
        m->SetText(QStringLiteral("first line\r\n\"second\" & third"));
        m->Hint = QStringLiteral("a tip");
        m->CharSpacing = 0.5;
        m->GapX = 4.25;
        m->HAlign = haCenter;
        m->LineSpacing = 3;
        m->UseDefaultCharset = true;
        m->ParagraphGap = 6;
        m->SetRotation(90);
        m->RTLReading = true;
        m->UnderlinesTextMode = ulmUnderlinesText;
        m->VAlign = vaBottom;
        m->WordWrap = false;
        m->DisplayFormat().Kind = fkNumeric;
        m->DisplayFormat().FormatStr = QStringLiteral("%2.2n");
        m->DisplayFormat().DecimalSeparator = QStringLiteral(",");
        m->DisplayFormat().ThousandSeparator = QStringLiteral(" ");
    }
    if (auto *l = dynamic_cast<TzelCustomLineView *>(&c)) {
        l->Diagonal = true;
        l->ArrowEnd = true;
        l->ArrowLength = 30;
        l->ArrowSolid = true;
        l->ArrowStart = true;
        l->ArrowWidth = 7;
        l->SetColor(0x0000FF); // arrows' fill, read back as Color
    }
    if (auto *p = dynamic_cast<TzelPictureView *>(&c)) {
        p->Transparent = true;
        p->TransparentColor = 0x00FFFF;
    }
    if (auto *s = dynamic_cast<TzelShapeView *>(&c))
        s->Shape = skEllipse;
    if (auto *g = dynamic_cast<TzelGroupHeader *>(&c))
        g->DrillName = QStringLiteral("Region1");
}
