#include "support/golden.h"
#include "support/testsupport.h"

#include <QDir>
#include <cstdlib>

namespace {

// Largest difference of one channel that still counts as the same pixel.
constexpr int channelTolerance = 40;
// Share of pixels that may differ by more: antialiased edges move slightly
// between font versions.
constexpr double pixelBudget = 0.004;

QString goldenPath(const QString &name)
{
    return zelSourcePath(QStringLiteral("tests/") + name + QStringLiteral(".png"));
}

QString failurePath(const QString &name, const char *kind)
{
    const QString dir = QDir::homePath() + QStringLiteral("/golden-failures");
    QDir().mkpath(dir);
    return dir + u'/' + QString(name).replace(u'/', u'_') + u'.' + QLatin1StringView(kind) + QStringLiteral(".png");
}

} // namespace

::testing::AssertionResult zelMatchesGolden(const QImage &image, const QString &name)
{
    const QImage actual = image.convertToFormat(QImage::Format_ARGB32);
    if (qEnvironmentVariable("ZEL_UPDATE_GOLDEN") == QLatin1StringView("1")) {
        if (!actual.save(goldenPath(name)))
            return ::testing::AssertionFailure() << "cannot write " << goldenPath(name).toStdString();
        return ::testing::AssertionSuccess();
    }
    const QImage expected = QImage(goldenPath(name)).convertToFormat(QImage::Format_ARGB32);
    if (expected.isNull())
        return ::testing::AssertionFailure() << "no golden image " << goldenPath(name).toStdString()
                                             << " (run with ZEL_UPDATE_GOLDEN=1 to make it)";
    if (expected.size() != actual.size()) {
        actual.save(failurePath(name, "actual"));
        return ::testing::AssertionFailure() << name.toStdString() << ": size " << actual.width() << "x"
                                             << actual.height() << ", golden " << expected.width() << "x"
                                             << expected.height();
    }
    QImage diff(actual.size(), QImage::Format_ARGB32);
    diff.fill(Qt::white);
    qsizetype differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(actual.constScanLine(y));
        const QRgb *e = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            const int d = std::max({std::abs(qRed(a[x]) - qRed(e[x])), std::abs(qGreen(a[x]) - qGreen(e[x])),
                                    std::abs(qBlue(a[x]) - qBlue(e[x])), std::abs(qAlpha(a[x]) - qAlpha(e[x]))});
            if (d > channelTolerance) {
                ++differing;
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    const qsizetype allowed = qsizetype(pixelBudget * double(actual.width()) * actual.height());
    if (differing > allowed) {
        actual.save(failurePath(name, "actual"));
        diff.save(failurePath(name, "diff"));
        return ::testing::AssertionFailure() << name.toStdString() << ": " << differing
                                             << " pixels differ (allowed " << allowed << "); see "
                                             << failurePath(name, "diff").toStdString();
    }
    return ::testing::AssertionSuccess();
}
