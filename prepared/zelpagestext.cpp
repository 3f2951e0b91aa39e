#include "prepared/zelpagestext.h"

#include "model/component/zelunits.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelcustompreviewpages.h"
#include "model/view/zelcustommemoview.h"

#include <cmath>

namespace {

// Millimetres with two decimals; never "-0.00".
QString mm(double units)
{
    const double value = units / qz01cm;
    return QString::number(std::abs(value) < 0.005 ? 0.0 : value, 'f', 2);
}

QString quoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\r':
            // A line break is CR LF, LF or CR alone: one "\n" each.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QStringLiteral("\\n");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    out += u'"';
    return out;
}

void appendObjects(QString &out, const TzelComponent &parent, int depth)
{
    for (const TzelComponent *c : parent.Objects()) {
        out += QString(2 * depth, u' ') + c->ClassName() + u' ' + c->Name() + u' ' + mm(c->AbsLeft()) + u' '
               + mm(c->AbsTop()) + u' ' + mm(c->Width()) + u' ' + mm(c->Height());
        if (const auto *memo = dynamic_cast<const TzelCustomMemoView *>(c))
            out += u' ' + quoted(memo->Text());
        out += u'\n';
        appendObjects(out, *c, depth + 1);
    }
}

} // namespace

QString zelPageText(const TzelReportPage &page, int number)
{
    QString out = QStringLiteral("page %1 %2x%3\n")
                      .arg(number)
                      .arg(page.PaperWidth(), 0, 'f', 2)
                      .arg(page.PaperHeight(), 0, 'f', 2);
    appendObjects(out, page, 1);
    return out;
}

QString zelPagesText(TzelCustomPreviewPages &pages)
{
    QString out;
    for (int i = 0; i < pages.Count(); ++i)
        if (const TzelReportPage *page = pages.GetPage(i))
            out += zelPageText(*page, i + 1);
    return out;
}
