// Screen capture with BitBlt from the screen's device context, and a minimal
// PNG writer: one IDAT of uncompressed deflate blocks, which every PNG reader
// takes and which needs no compression library.

#include "screenshot.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "window_driver.h"

namespace driver {
namespace {

using Bytes = std::vector<std::uint8_t>;

// How long a screenshot waits for pending painting to reach the screen.
constexpr DWORD kPaintCatchUpMs = 500;

// Largest payload of one stored (uncompressed) deflate block.
constexpr std::size_t kStoredBlockMax = 65535;

// The eight bytes every PNG file starts with.
constexpr std::array<std::uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// IHDR fields of an 8-bit truecolour image: bit depth, colour type 2 (RGB),
// deflate compression, adaptive filtering, no interlace.
constexpr std::array<std::uint8_t, 5> kRgb8Header{8, 2, 0, 0, 0};

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0)
{
    // The PNG/zlib CRC (reflected polynomial 0xEDB88320), one bit at a time:
    // screenshots are rare, so speed does not matter.
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::uint32_t Adler32(const Bytes& data)
{
    constexpr std::uint32_t kModulus = 65521;  // largest prime below 2^16
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

void PutBigEndian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

// The zlib stream of `raw` in stored blocks.
Bytes StoredZlib(const Bytes& raw)
{
    Bytes out{0x78, 0x01};  // deflate, 32 KiB window, no preset dictionary
    std::size_t at = 0;
    do {
        const std::size_t size = std::min(kStoredBlockMax, raw.size() - at);
        const bool last = at + size == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(size));
        out.push_back(static_cast<std::uint8_t>(size >> 8));
        out.push_back(static_cast<std::uint8_t>(~size));
        out.push_back(static_cast<std::uint8_t>(~size >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    } while (at < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

// The PNG file of a top-down 32-bit BGRX image.
Bytes EncodePng(const std::uint32_t* pixels, int width, int height)
{
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        for (int x = 0; x < width; ++x) {
            const std::uint32_t bgrx = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                              static_cast<std::size_t>(x)];
            raw.push_back(static_cast<std::uint8_t>(bgrx >> 16));
            raw.push_back(static_cast<std::uint8_t>(bgrx >> 8));
            raw.push_back(static_cast<std::uint8_t>(bgrx));
        }
    }
    Bytes header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), kRgb8Header.begin(), kRgb8Header.end());

    Bytes png(kPngSignature.begin(), kPngSignature.end());
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

// Device contexts and the bitmap the capture owns for its few lines.
struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};
struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
    ~MemoryDc() { DeleteDC(dc); }
};
struct Bitmap {
    HBITMAP bitmap;
    explicit Bitmap(HBITMAP owned) : bitmap(owned) {}
    ~Bitmap() { DeleteObject(bitmap); }
};

}  // namespace

bool SaveScreenshot(const std::string& path)
{
    // Windows paint when their programs run out of other work, and the screen
    // shows it a little later still: give both time to catch up.
    Settle(kPaintCatchUpMs);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) {
        return false;
    }
    ScreenDc screen;
    MemoryDc memory(screen.dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap.bitmap == nullptr || bits == nullptr) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(memory.dc, bitmap.bitmap);
    const bool copied = BitBlt(memory.dc, 0, 0, width, height, screen.dc, 0, 0, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(memory.dc, previous);
    if (!copied) {
        return false;
    }
    const Bytes png = EncodePng(static_cast<const std::uint32_t*>(bits), width, height);

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(WindowsPath(path).c_str(), "wb"), std::fclose);
    return file && std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
}

}  // namespace driver
