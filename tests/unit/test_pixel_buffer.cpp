// The pixel buffer, the blend that lays menu icons over the menu colour, and
// the label colour blended from two system colours.
#include "base/pixel_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

const std::uint32_t white = argb(255, 255, 255, 255);
const std::uint32_t menuGrey = argb(255, 0xF0, 0xF0, 0xF0);

TEST(BlendColour, MeetsHalfwayRoundingDown)
{
    EXPECT_EQ(blendColour(0xF0F0F0, 0xFFFFFF), 0xF8F8F8u);
    // Each channel on its own: black face and white window, and the reverse.
    EXPECT_EQ(blendColour(0x000000, 0xFFFFFF), 0x808080u);
    EXPECT_EQ(blendColour(0xFFFFFF, 0x000000), 0x7F7F7Fu);
    EXPECT_EQ(blendColour(0x0000FF, 0x000000), 0x00007Fu);
    EXPECT_EQ(blendColour(0x00FF00, 0x000000), 0x007F00u);
    EXPECT_EQ(blendColour(0xFF0000, 0x000000), 0x7F0000u);
    EXPECT_EQ(blendColour(0xD4D0C8, 0xFFFFFF), 0xEAE8E4u);
}

} // namespace

TEST(Blend, TransparentOpaqueAndHalfPixels)
{
    // Alpha 0 leaves exactly the menu colour, whatever the colour bytes say.
    EXPECT_EQ(blendPixel(menuGrey, argb(0, 12, 34, 56)), menuGrey);
    // Alpha 255 gives exactly the icon's colour bytes.
    EXPECT_EQ(blendPixel(menuGrey, argb(255, 12, 34, 56)), argb(255, 12, 34, 56));
    // Black at alpha 128 over white: (255 * 127 + 0 * 128 + 127) / 255 = 127.
    EXPECT_EQ(blendPixel(white, argb(128, 0, 0, 0)), argb(255, 127, 127, 127));
    // Each channel on its own: red 200 at alpha 64 over blue 255.
    // red (0 * 191 + 200 * 64 + 127) / 255 = 50, blue (255 * 191 + 0 + 127) / 255 = 191.
    EXPECT_EQ(blendPixel(argb(255, 0, 0, 255), argb(64, 200, 0, 0)), argb(255, 50, 0, 191));
}

TEST(Blend, RoundsToTheNearestValue)
{
    // red (1 * 128 + 127) / 255 = 1, green (3 * 128 + 127) / 255 = 2,
    // blue (100 * 128 + 127) / 255 = 50: plain truncation would give 0, 1, 50.
    EXPECT_EQ(blendPixel(argb(255, 0, 0, 0), argb(128, 1, 3, 100)), argb(255, 1, 2, 50));
    // Over a half-transparent pixel: 64 + (128 * 191 + 127) / 255 = 160.
    EXPECT_EQ(blendPixel(argb(128, 0, 0, 0), argb(64, 0, 0, 0)) >> 24, 160u);
}

TEST(Blend, EveryResultOverAnOpaqueColourIsOpaque)
{
    for (std::uint32_t alpha = 0; alpha <= 255; ++alpha) {
        for (std::uint32_t colour : {0u, 0x7Fu, 0xFFu}) {
            const std::uint32_t result = blendPixel(argb(255, 0x12, 0x80, 0xEE), argb(alpha, colour, 255 - colour, colour));
            EXPECT_EQ(result >> 24, 255u) << alpha;
        }
    }
}

TEST(Blend, BuffersBlendPixelByPixelInMemoryOrder)
{
    PixelBuffer32 destination;
    PixelBuffer32 source;
    ASSERT_TRUE(destination.resize(2, 3, true, white));
    ASSERT_TRUE(source.resize(2, 3, true, argb(0, 0, 0, 0)));
    source.pixels()[0] = argb(255, 1, 2, 3);        // bottom row, first pixel
    source.pixels()[5] = argb(128, 0, 0, 0);        // top row, last pixel
    ASSERT_TRUE(blendOver(destination, source, 2, 3));
    EXPECT_EQ(destination.pixels()[0], argb(255, 1, 2, 3));
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(destination.pixels()[i], white) << i;
    EXPECT_EQ(destination.pixels()[5], argb(255, 127, 127, 127));
}

TEST(Blend, RefusesMoreRowsThanEitherBufferHolds)
{
    PixelBuffer32 destination;
    PixelBuffer32 source;
    ASSERT_TRUE(destination.resize(2, 2, true, white));
    ASSERT_TRUE(source.resize(1, 2, true, argb(255, 0, 0, 0)));
    EXPECT_FALSE(blendOver(destination, source, 2, 2));
    EXPECT_FALSE(blendOver(source, destination, 2, 2));
    EXPECT_EQ(destination.pixels()[0], white);
    PixelBuffer32 empty;
    EXPECT_FALSE(blendOver(destination, empty, 1, 1));
}

TEST(PixelBuffer, FreshBufferHasTheBitmapHeader)
{
    const PixelBuffer32 buffer;
    const PixelBufferHeader& header = buffer.info.header;
    EXPECT_EQ(buffer.pixels(), nullptr);
    EXPECT_EQ(buffer.byteSize, 0u);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(sizeof(PixelBufferHeader), 40u);
    EXPECT_EQ(header.biWidth, 0);
    EXPECT_EQ(header.biHeight, 0);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 0u);
    EXPECT_EQ(header.biXPelsPerMeter, 2952);
    EXPECT_EQ(header.biYPelsPerMeter, 2952);
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(header.biClrImportant, 0u);
    EXPECT_EQ(buffer.info.colours[0], 0u);
}

TEST(PixelBuffer, ResizeKeepsTheArrayWhenTheByteSizeIsTheSame)
{
    PixelBuffer32 buffer;
    ASSERT_TRUE(buffer.resize(2, 8, true, white));
    EXPECT_EQ(buffer.byteSize, 64u);
    const std::uint32_t* first = buffer.pixels();
    ASSERT_TRUE(buffer.resize(4, 4, false, 0));
    EXPECT_EQ(buffer.pixels(), first);
    EXPECT_EQ(buffer.width(), 4);
    EXPECT_EQ(buffer.height(), 4);
    EXPECT_EQ(buffer.pixels()[15], white);   // not filled this time

    ASSERT_TRUE(buffer.resize(16, 16, true, menuGrey));
    EXPECT_EQ(buffer.byteSize, 16u * 16u * 4u);
    for (std::size_t i = 0; i < 256; ++i)
        ASSERT_EQ(buffer.pixels()[i], menuGrey) << i;
}

TEST(PixelBuffer, EmptySizesReleaseAndHugeOnesFail)
{
    PixelBuffer32 buffer;
    ASSERT_TRUE(buffer.resize(4, 4, false, 0));
    EXPECT_TRUE(buffer.resize(0, 4, false, 0));
    EXPECT_EQ(buffer.pixels(), nullptr);
    EXPECT_EQ(buffer.byteSize, 0u);
    EXPECT_EQ(buffer.width(), 0);
    EXPECT_TRUE(buffer.resize(4, -1, false, 0));
    EXPECT_EQ(buffer.pixels(), nullptr);
    EXPECT_FALSE(buffer.resize(0x7FFFFFFF, 0x7FFFFFFF, false, 0));
    EXPECT_EQ(buffer.pixels(), nullptr);
}

