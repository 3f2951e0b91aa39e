#include "host/tform2.h"
#include "support/testsupport.h"

#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QPushButton *button(TForm2 &form, const char *caption)
{
    for (QPushButton *b : form.findChildren<QPushButton *>())
        if (b->text() == QLatin1StringView(caption))
            return b;
    return nullptr;
}

} // namespace

TEST(HostWindow, AMissingTemplateIsNamedWithItsFolder)
{
    QTemporaryDir dir;
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    FakeDialogService dialogs;
    {
        TForm2 form;
        for (const char *caption : {"preview", "design"}) {
            QPushButton *b = button(form, caption);
            ASSERT_NE(b, nullptr) << caption;
            b->click();
        }
    }
    QDir::setCurrent(saved);
    const QString expected = QStringLiteral("Error: The file \"%1\" does not exist").arg(QDir(dir.path()).filePath(QStringLiteral("test.zt3")));
    EXPECT_EQ(dialogs.Messages, (QStringList{expected, expected}));
}
