#pragma once

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

// Compares Image with the golden image tests/NAME.png ("render/golden/memo").
// Pixels
// may differ by a small amount per channel, and a few pixels (antialiased
// text edges) by more. Set ZEL_UPDATE_GOLDEN=1 to write the images instead
// (then look at every changed PNG before committing it). A failure leaves
// the actual image and a difference map in testhome/golden-failures.
::testing::AssertionResult zelMatchesGolden(const QImage &image, const QString &name);
