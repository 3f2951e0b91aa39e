#pragma once

#include "enginetemplate.h"

#include "model/data/zeluserdataset.h"

#include <memory>

// A template with data for engine tests: tables as user data sets, bands of
// one memo, and what the built pages show.

using Row = QList<Variant>;

struct DataTemplate : Template
{
    DataTemplate() { Report.CheckDataPage(); }

    // A data set named Name with Fields over Rows; Select, when given,
    // picks the rows of the current master record.
    TzelUserDataSet *Table(const char *name, const QStringList &fields, QList<Row> rows,
                           std::function<bool(const Row &)> select = {})
    {
        auto *ds = new TzelUserDataSet(Report.FindObject(QStringLiteral("Data")));
        ds->SetName(QString::fromLatin1(name));
        ds->Fields = fields;
        ds->RangeEnd = reCount;
        auto current = std::make_shared<QList<Row>>(rows);
        ds->OnFirst = [ds, rows, select, current](TzelDataSet *) {
            current->clear();
            for (const Row &r : rows)
                if (!select || select(r))
                    current->append(r);
            ds->RangeEndCount = int(current->size());
        };
        ds->OnGetValue = [ds, fields, current](const QString &field, Variant &value) {
            if (ds->RecNo() >= 0 && ds->RecNo() < current->size())
                value = current->at(ds->RecNo()).value(fields.indexOf(field));
        };
        Report.DataSets().Add(ds);
        return ds;
    }

    // A band of height 10 at Top showing Text in a memo.
    template <class T> T *Line(const char *name, double top, const QString &text, double height = 10)
    {
        T *band = Band<T>(name, height);
        band->SetTop(top);
        if (!text.isEmpty()) {
            TzelMemoView *memo = addMemo(band, "", 0, height, text);
            memo->SetName(band->Name() + QStringLiteral("Text"));
        }
        return band;
    }

    // What the pages show: "Band: text" per band, "--" between pages.
    std::string Rows()
    {
        QStringList lines;
        TzelCustomPreviewPages &pages = *Report.PreviewPages();
        for (int i = 0; i < pages.Count(); ++i) {
            if (i > 0)
                lines << QStringLiteral("--");
            for (const TzelComponent *band : pages.GetPage(i)->Objects()) {
                QStringList texts;
                for (const TzelComponent *c : band->AllObjects())
                    if (auto *memo = zelAs<TzelCustomMemoView>(c); memo && !memo->Name().isEmpty())
                        texts << memo->Text();
                lines << band->Name() + QStringLiteral(": ") + texts.join(QLatin1Char(' '));
            }
        }
        return lines.join(QLatin1Char('\n')).toStdString();
    }

    std::string BuildRows()
    {
        EXPECT_TRUE(Report.PrepareReport()) << Report.Errors().Text().toStdString();
        return Rows();
    }
};
