#include "base/core/zelexception.h"
#include "base/core/zelformat.h"
#include "base/resources/zelresources.h"
#include "model/data/zeldataset.h"
#include "model/report/zelreport.h"
#include "tools/zelreport/command.h"
#include "tools/zelreport/load.h"
#include "tools/zelreport/output.h"

namespace {

// The data sets the template has, by the names reports use.
QStringList dataSetNames(const TzelReport &report)
{
    QStringList names;
    for (TzelComponent *c : report.AllObjects())
        if (auto *dataSet = dynamic_cast<TzelDataSet *>(c))
            names << dataSet->UserName();
    names.sort(Qt::CaseInsensitive);
    return names;
}

int data(const TzelCommandArgs &args)
{
    TzelReport report;
    if (!zelLoadTemplate(report, args.Positional.at(0), args))
        return zelFinish(report, args.Positional.at(0), 1);
    const QString &name = args.Positional.at(1);
    auto *dataSet = dynamic_cast<TzelDataSet *>(report.FindObject(name));
    if (!dataSet)
        dataSet = report.GetDataset(name);
    if (!dataSet) {
        zelFinish(report, args.Positional.at(0));
        const QStringList names = dataSetNames(report);
        zelSay(zelFormat(zelRes("clDSNotExist"), {name}) + QStringLiteral("; ")
               + (names.isEmpty() ? zelRes("clNoDataSets")
                                  : zelFormat(zelRes("clDataSetsAre"), {names.join(QStringLiteral(", "))})));
        return 1;
    }
    try {
        dataSet->ReportRef = &report;
        dataSet->Initialize();
        QStringList fields;
        dataSet->First();
        dataSet->GetFieldList(fields);
        zelPrintLine(fields.join(u'\t'));
        for (; !dataSet->Eof(); dataSet->Next()) {
            QStringList values;
            for (const QString &field : std::as_const(fields))
                values << dataSet->GetDisplayText(field);
            zelPrintLine(values.join(u'\t'));
        }
        dataSet->Close();
        dataSet->Finalize();
    } catch (const TzelException &e) {
        zelFinish(report, args.Positional.at(0));
        zelSay(e.message());
        return 1;
    }
    return zelFinish(report, args.Positional.at(0));
}

} // namespace

TzelCommand zelDataCommand()
{
    return {"data",
            "IN.zt3 DATASET",
            "Print the records of a data set of the template, tab-separated, the field names first.",
            zelLoadOptions(),
            data};
}
