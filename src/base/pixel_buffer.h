// A 32-bit pixel array with the header that describes it to the graphics
// interface, and the blend that lays an icon's pixels over a solid colour.
// The header mirrors BITMAPINFO field for field so that the Windows side can
// hand it over as it is.
#ifndef KELVARO_BASE_PIXEL_BUFFER_H
#define KELVARO_BASE_PIXEL_BUFFER_H

#include <cstddef>
#include <cstdint>
#include <memory>

struct PixelBufferHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;          // positive: rows are stored bottom-up
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

struct PixelBufferInfo {
    PixelBufferHeader header;
    std::uint32_t colours[1];       // one RGBQUAD, all zero
};

// Pixels are 0xAARRGGBB: blue in the low byte, alpha in the high byte.
struct PixelBuffer32 {
    std::unique_ptr<std::uint32_t[]> memory;
    std::size_t byteSize = 0;
    PixelBufferInfo info = emptyInfo();

    // A width or height of 0 or less empties the buffer. Keeps the array when
    // the byte size does not change. False only when allocation fails.
    bool resize(int height, int width, bool fillWithColour, std::uint32_t colour);
    void fill(std::uint32_t colour);
    void release();

    std::uint32_t* pixels() const { return memory.get(); }
    int width() const { return info.header.biWidth; }
    int height() const { return info.header.biHeight; }

    static PixelBufferInfo emptyInfo();
};

// Lays source over destination pixel by pixel for rows x width pixels, both
// walked from memory row 0. False (and nothing changed) when either buffer
// holds fewer pixels than that.
bool blendOver(PixelBuffer32& destination, const PixelBuffer32& source, int rows, int width);

// One pixel of the blend: source over destination.
std::uint32_t blendPixel(std::uint32_t destination, std::uint32_t source);

// A colour halfway between the button face and the window colour, channel by
// channel. Colours are 0x00BBGGRR.
std::uint32_t blendColour(std::uint32_t face, std::uint32_t window);

#endif
