#include "enginedump.h"

#include "model/component/zelcomponent.h"
#include "model/page/zelreportpage.h"
#include "model/view/zelcustommemoview.h"
#include "model/report/zelcustompreviewpages.h"

#include <cmath>

QString bandOrder(TzelCustomPreviewPages &pages)
{
    QStringList lines;
    for (int i = 0; i < pages.Count(); ++i) {
        QStringList bands;
        for (const TzelComponent *c : pages.GetPage(i)->Objects()) {
            QString item = c->Name() + QLatin1Char('@') + QString::number(std::lround(c->Top()));
            if (std::lround(c->Left()) != 0)
                item += QLatin1Char('+') + QString::number(std::lround(c->Left()));
            bands << item;
        }
        lines << bands.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

QString memoTexts(TzelCustomPreviewPages &pages)
{
    QStringList lines;
    for (int i = 0; i < pages.Count(); ++i) {
        if (i > 0)
            lines << QStringLiteral("--");
        for (const TzelComponent *band : pages.GetPage(i)->Objects())
            for (const TzelComponent *c : band->AllObjects())
                if (auto *memo = zelAs<TzelCustomMemoView>(c); memo && !memo->Name().isEmpty())
                    lines << memo->Name() + QStringLiteral(": ") + memo->Text();
    }
    return lines.join(QLatin1Char('\n'));
}
