#include "model/report/zelcustomcrypter.h"
#include "model/report/zelreport.h"
#include "reversingcompressor.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

const QByteArray &plainTemplate = zelEmptyTemplate;

// XORs the data with the key.
class XorCrypter : public TzelCustomCrypter
{
public:
    bool Decrypt(QIODevice *source, const QByteArray &key) override
    {
        zelHookLog() << QStringLiteral("decrypt");
        if (source->peek(2) != "XC")
            return false;
        source->read(2);
        Stream()->write(apply(source->readAll(), key));
        Stream()->seek(0);
        return true;
    }
    void Crypt(QIODevice *dest, const QByteArray &key) override
    {
        zelHookLog() << QStringLiteral("crypt");
        dest->write("XC" + apply(Stream()->readAll(), key));
    }

private:
    static QByteArray apply(QByteArray data, const QByteArray &key)
    {
        for (qsizetype i = 0; i < data.size() && !key.isEmpty(); ++i)
            data[i] = char(data[i] ^ key[i % key.size()]);
        return data;
    }
};

class ReportHooks : public ::testing::Test
{
protected:
    void SetUp() override { zelHookLog().clear(); }
    void TearDown() override
    {
        TzelCustomCompressor::Register({});
        TzelCustomCrypter::Register({});
    }
    FakeDialogService dialogs;
};

QByteArray save(TzelReport &report)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    report.SaveToStream(&out);
    return out.data();
}

bool load(TzelReport &report, QByteArray data)
{
    QBuffer in(&data);
    in.open(QIODevice::ReadOnly);
    return report.LoadFromStream(&in);
}

} // namespace

TEST_F(ReportHooks, WithoutHooksTemplatesArePlainXml)
{
    TzelReport report;
    report.ReportOptions().Compressed = true;
    report.ReportOptions().Password = QStringLiteral("abc");
    EXPECT_TRUE(save(report).startsWith("<?xml"));
    EXPECT_EQ(report.ReportOptions().Password, QStringLiteral("abc"));
    EXPECT_EQ(report.ReportOptions().PrevPassword, QStringLiteral("abc"));
}

TEST_F(ReportHooks, SavingEnciphersThenCompressesAndLoadingReverses)
{
    TzelCustomCompressor::Register([] { return std::make_unique<ReversingCompressor>(); });
    TzelCustomCrypter::Register([] { return std::make_unique<XorCrypter>(); });

    TzelReport report;
    ASSERT_TRUE(load(report, plainTemplate));
    report.ReportOptions().Compressed = true;
    report.ReportOptions().Password = QStringLiteral("key");
    zelHookLog().clear();
    const QByteArray stored = save(report);
    EXPECT_EQ(zelHookLog(), (QStringList{"crypt", "compress"}));
    EXPECT_TRUE(stored.startsWith("ZC"));

    zelHookLog().clear();
    TzelReport reader;
    reader.ReportOptions().HiddenPassword = QStringLiteral("key");
    EXPECT_TRUE(load(reader, stored));
    EXPECT_EQ(zelHookLog(), (QStringList{"decompress", "decrypt"}));
    EXPECT_TRUE(reader.Errors().IsEmpty());
    // A deciphered template keeps its password as it was written.
    EXPECT_TRUE(reader.ReportOptions().Compressed);
    EXPECT_EQ(reader.ReportOptions().Password, QStringLiteral("key"));
}

TEST_F(ReportHooks, WrongKeyGivesInvalidPassword)
{
    TzelCustomCrypter::Register([] { return std::make_unique<XorCrypter>(); });
    TzelReport report;
    ASSERT_TRUE(load(report, plainTemplate));
    report.ReportOptions().Password = QStringLiteral("key");
    const QByteArray stored = save(report);

    TzelReport reader;
    reader.EngineOptions().NewSilentMode = simSilent;
    reader.ReportOptions().HiddenPassword = QStringLiteral("nope");
    EXPECT_FALSE(load(reader, stored));
    EXPECT_EQ(reader.Errors().Items(), QStringList{QStringLiteral("Invalid password")});
}

TEST_F(ReportHooks, DecompressionFailureEndsTheLoad)
{
    TzelCustomCompressor::Register([] { return std::make_unique<ReversingCompressor>(); });
    TzelReport report;
    EXPECT_FALSE(load(report, "ZCbroken"));
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_EQ(dialogs.Messages.at(0),
              QStringLiteral("Error: The following error(s) have occured:\r\nStream decompress error"));
}
