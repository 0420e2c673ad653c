#include "base/pixel_buffer.h"

#include <new>

namespace {

constexpr std::uint32_t bitmapHeaderSize = 40;
constexpr std::int32_t pixelsPerMeter = 2952;   // 75 dots per inch

std::uint32_t channel(std::uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFFu;
}

// Largest count of pixels any buffer may hold, so that the byte size always
// fits into size_t and the header's 32-bit fields.
constexpr std::size_t maxPixelCount = 0x1FFFFFFFu;

std::size_t pixelCapacity(const PixelBuffer32& buffer)
{
    return buffer.memory ? buffer.byteSize / 4 : 0;
}

} // namespace

PixelBufferInfo PixelBuffer32::emptyInfo()
{
    PixelBufferInfo info{};
    info.header.biSize = bitmapHeaderSize;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = 0;   // BI_RGB
    info.header.biXPelsPerMeter = pixelsPerMeter;
    info.header.biYPelsPerMeter = pixelsPerMeter;
    return info;
}

bool PixelBuffer32::resize(int height, int width, bool fillWithColour, std::uint32_t colour)
{
    if (width <= 0 || height <= 0) {
        release();
        return true;
    }
    if (static_cast<std::size_t>(height) > maxPixelCount / static_cast<std::size_t>(width))
        return false;
    const std::size_t count = static_cast<std::size_t>(height) * static_cast<std::size_t>(width);
    const std::size_t size = count * 4;
    if (size == byteSize && memory) {
        info.header.biWidth = width;
        info.header.biHeight = height;
    } else {
        release();
        memory.reset(new (std::nothrow) std::uint32_t[count]);
        if (!memory)
            return false;
        byteSize = size;
        info.header.biWidth = width;
        info.header.biHeight = height;
    }
    if (fillWithColour)
        fill(colour);
    return true;
}

void PixelBuffer32::fill(std::uint32_t colour)
{
    if (!memory)
        return;
    std::size_t count = static_cast<std::size_t>(width()) * static_cast<std::size_t>(height());
    if (count > byteSize / 4)
        count = byteSize / 4;
    for (std::size_t i = 0; i < count; ++i)
        memory[i] = colour;
}

void PixelBuffer32::release()
{
    memory.reset();
    byteSize = 0;
    info.header.biWidth = 0;
    info.header.biHeight = 0;
}

std::uint32_t blendPixel(std::uint32_t destination, std::uint32_t source)
{
    // (alpha * 255 + 127) / 255 is alpha itself.
    const std::uint32_t a = (channel(source, 24) * 255 + 127) / 255;
    const std::uint32_t b = 255 - a;
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t value = (channel(destination, shift) * b + channel(source, shift) * a + 127) / 255;
        result |= value << shift;
    }
    const std::uint32_t alpha = a + (channel(destination, 24) * b + 127) / 255;
    return result | (alpha << 24);
}

bool blendOver(PixelBuffer32& destination, const PixelBuffer32& source, int rows, int width)
{
    if (rows <= 0 || width <= 0)
        return true;
    if (static_cast<std::size_t>(rows) > maxPixelCount / static_cast<std::size_t>(width))
        return false;
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(width);
    if (count > pixelCapacity(destination) || count > pixelCapacity(source))
        return false;
    for (std::size_t i = 0; i < count; ++i)
        destination.memory[i] = blendPixel(destination.memory[i], source.memory[i]);
    return true;
}

std::uint32_t blendColour(std::uint32_t face, std::uint32_t window)
{
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t blended = (127 * ((face >> shift) & 0xFFu) + 128 * ((window >> shift) & 0xFFu) + 127) / 255;
        result |= blended << shift;
    }
    return result;
}
