// Embedding the report library: load a template, give it a variable and
// rows from the program's own data, build it and export it to PDF.
//
//   embed TEMPLATE.zt3 OUT.pdf
#include <engine/core/zelengineclasses.h>
#include <engine/export/zelexportfilters.h>
#include <engine/export/zelpdfexport.h>
#include <model/data/zeluserdataset.h>
#include <model/report/zelcustompreviewpages.h>
#include <model/report/zelreport.h>

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv); // fonts need a GUI application
    if (argc != 3) {
        std::fprintf(stderr, "usage: embed TEMPLATE.zt3 OUT.pdf\n");
        return 2;
    }
    zelRegisterEngine();
    zelRegisterExportFilters();

    // The program's own data, handed over row by row.
    struct Sale
    {
        const char *Region;
        double Amount;
    };
    const Sale sales[] = {{"North", 1250.5}, {"East", 980}, {"South", 1430.25}, {"West", 760}};

    TzelUserDataSet rows;
    rows.SetUserName(QStringLiteral("Sales"));
    rows.Fields = {QStringLiteral("Region"), QStringLiteral("Amount")};
    rows.RangeEnd = reCount;
    rows.RangeEndCount = int(std::size(sales));
    rows.OnGetValue = [&](const QString &field, Variant &value) {
        const Sale &sale = sales[rows.RecNo()];
        value = field == QLatin1String("Region") ? Variant(QString::fromLatin1(sale.Region)) : Variant(sale.Amount);
    };

    TzelReport report;
    report.EnabledDataSets().Add(&rows);
    if (!report.LoadFromFile(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    // Variables hold expressions: a text goes in quotes.
    report.Variables().SetValue(QStringLiteral("Title"), Variant(QStringLiteral("'Sales by region, 2026'")));
    if (!report.PrepareReport()) {
        std::fprintf(stderr, "%s\n", qPrintable(report.Errors().Text()));
        return 1;
    }

    TzelPDFExport pdf(TzelPDFExport::NoRegister);
    pdf.ShowDialog = false;
    pdf.FileName = QString::fromLocal8Bit(argv[2]);
    if (!report.PreviewPages()->Export(&pdf)) {
        std::fprintf(stderr, "%s\n", qPrintable(report.Errors().Text()));
        return 1;
    }
    std::printf("%d page(s) written to %s\n", report.PreviewPages()->Count(), argv[2]);
    return 0;
}
