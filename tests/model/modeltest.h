#pragma once

// The fixture of the model's object tests: floats written with "." whatever
// the locale, the model's classes registered, and template round trips
// through the serializer.
#include "base/variant/zelformatsettings.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/serial/zelxmlserializer.h"

#include <QBuffer>
#include <gtest/gtest.h>

// Writes floats with "." whatever the locale, and registers the model's classes.
class ModelTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { zelRegisterModelClasses(); }
    void SetUp() override
    {
        FSaved = zelFormatSettings();
        TzelFormatSettings s = FSaved;
        s.DecimalSeparator = u'.';
        zelSetFormatSettings(s);
    }
    void TearDown() override { zelSetFormatSettings(FSaved); }

    /// The template text of Report.
    static QByteArray save(const TzelReport &report)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        TzelXMLSerializer::SaveComponent(&report, &out);
        return out.data();
    }
    /// Clears Report, reads Text into it and returns the collected errors,
    /// sorted and each once as the report's error list holds them.
    static QStringList load(TzelReport &report, QByteArray text)
    {
        QBuffer in(&text);
        in.open(QIODevice::ReadOnly);
        TzelSortedStrings messages;
        for (const TzelLocatedError &e : TzelXMLSerializer::LoadComponent(&report, &in))
            messages.Add(e.Message);
        return messages.Items();
    }
    /// A template whose report holds the given elements.
    static QByteArray templateWith(const QByteArray &elements)
    {
        return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TzelReport>" + elements
               + "</TzelReport>";
    }

private:
    TzelFormatSettings FSaved;
};
