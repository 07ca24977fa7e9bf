// Picture fixtures made by the tests themselves: patterns, and small
// encoders for the formats Qt cannot write (PCX, GIF).
#pragma once

#include "app/raster/raster.h"
#include "support/scriptedprompt.h"

#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

namespace varno::test {

// w x h RGB32 picture of `colours` distinct colours in diagonal bands.
QImage bands(int w, int h, int colours = 16);
// Gradients; with noise of +-`noise` they compress like a photograph.
QImage smooth(int w, int h, int noise = 0);

QByteArray encodeWithQt(const QImage &image, const char *format, int quality = -1);

// PCX with RLE: `bits` per pixel x planes of 1x1, 1x4, 4x1, 8x1 or 8x3. The
// picture must already hold few enough colours; indices come from
// `image`'s colour table (Mono or Indexed8) for the palette depths.
QByteArray encodePcx(const QImage &image, int bits, int planes);
// GIF89a of an Indexed8 picture with at most 128 colours, its LZW stream
// made of literal codes only.
QByteArray encodeGif(const QImage &indexed);

void putLe16(QByteArray &data, int at, int value);

// Compares with a per-channel tolerance; on a mismatch writes
// <name>-actual.png to the working folder.
::testing::AssertionResult sameWithin(const Raster &actual, const QImage &expected, int tolerance,
                                      const QString &name);

}  // namespace varno::test
