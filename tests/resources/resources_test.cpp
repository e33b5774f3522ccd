// Checks the resources the built Vintrel.exe carries: the icon group "ICON1"
// with its twelve opaque images, the application manifest byte for byte, and
// nothing else. The executable's path is the first argument after gtest's own.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

// The executable under test, as given on the command line.
std::string exePath;

// Language of every resource entry: English (United States).
constexpr WORD kLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
// Resource type ids.
constexpr WORD kIconType = 3;
constexpr WORD kGroupIconType = 14;
constexpr WORD kManifestType = 24;

// The artwork's ground and the full ink of its line drawing, red green blue.
constexpr BYTE kGround[3] = {10, 10, 10};
constexpr BYTE kInk[3] = {255, 18, 255};
// How far the brightest pixel may stray from the ink in any channel.
constexpr int kInkTolerance = 8;

// One image of the icon group as it must appear, in the group's order.
struct IconEntry {
    WORD id;
    int size;             // width and height in pixels
    BYTE colourCount;
    WORD bitCount;
    bool png;
    DWORD bytes;          // exact size of a DIB; a PNG's is its compressed size
};

constexpr IconEntry kIconGroup[] = {
    {1, 256, 16, 4, true, 0},    {2, 48, 16, 4, false, 1640},
    {3, 32, 16, 4, false, 744},  {4, 16, 16, 4, false, 296},
    {5, 256, 0, 8, true, 0},     {6, 48, 0, 8, false, 3752},
    {7, 32, 0, 8, false, 2216},  {8, 16, 0, 8, false, 1384},
    {9, 256, 0, 32, true, 0},    {10, 48, 0, 32, false, 9640},
    {11, 32, 0, 32, false, 4264}, {12, 16, 0, 32, false, 1128},
};

// The manifest, exactly as the loader must read it.
const char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "    <assemblyIdentity name=\"Vintrel.exe\" processorArchitecture=\"x86\" "
    "version=\"0.0.0.0\" type=\"win32\"/>\r\n"
    "    <dependency>\r\n"
    "        <dependentAssembly>\r\n"
    "            <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
    "version=\"6.0.0.0\" processorArchitecture=\"x86\" publicKeyToken=\"6595b64144ccf1df\" "
    "language=\"*\"/>\r\n"
    "        </dependentAssembly>\r\n"
    "    </dependency>\r\n"
    "</assembly>\r\n"
    "\r\n";

using Bytes = std::vector<uint8_t>;

// Little-endian fields of a byte block; a read past the end gives 0 and marks
// the reader bad, so a damaged file fails the checks instead of crashing.
class LittleEndian {
public:
    explicit LittleEndian(const Bytes& bytes) : bytes_(bytes) {}
    uint32_t U8(size_t at) { return Get(at, 1); }
    uint32_t U16(size_t at) { return Get(at, 2); }
    uint32_t U32(size_t at) { return Get(at, 4); }
    bool bad = false;

private:
    uint32_t Get(size_t at, size_t n) {
        if (at > bytes_.size() || bytes_.size() - at < n) {
            bad = true;
            return 0;
        }
        uint32_t v = 0;
        for (size_t i = n; i-- > 0;) v = v << 8 | bytes_[at + i];
        return v;
    }
    const Bytes& bytes_;
};

// PNG fields are big-endian.
uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// One leaf of the resource directory: type, name (a string or an id),
// language, code page and the data itself.
struct Resource {
    WORD type;
    std::string name;  // empty when the entry is named by id
    WORD id;
    WORD language;
    DWORD codePage;
    Bytes data;
};

// Reads the whole resource directory of a PE file straight from its bytes,
// so that code pages and stray types are seen as the file holds them.
std::vector<Resource> ReadResourceDirectory(const Bytes& file, bool& ok) {
    LittleEndian in(file);
    std::vector<Resource> resources;
    const size_t pe = in.U32(0x3C);
    ok = in.U32(pe) == 0x00004550;  // "PE\0\0"
    const size_t optional = pe + 24;
    const size_t sections = optional + in.U16(pe + 20);
    const unsigned sectionCount = in.U16(pe + 6);
    ok = ok && in.U16(optional) == 0x10B;  // PE32
    // Data directory 2 of a PE32 optional header: the resources.
    const uint32_t rootRva = in.U32(optional + 96 + 2 * 8);
    auto fileOffset = [&](uint32_t rva) -> size_t {
        for (unsigned s = 0; s < sectionCount; ++s) {
            const size_t h = sections + s * 40;
            const uint32_t va = in.U32(h + 12);
            const uint32_t extent = std::max(in.U32(h + 8), in.U32(h + 16));
            if (rva >= va && rva - va < extent) return in.U32(h + 20) + (rva - va);
        }
        ok = false;
        return 0;
    };
    const size_t root = fileOffset(rootRva);
    // Entries of one directory table: (name field, offset field) pairs.
    auto entries = [&](size_t table) {
        std::vector<std::pair<uint32_t, uint32_t>> list;
        const unsigned count = in.U16(table + 12) + in.U16(table + 14);
        for (unsigned i = 0; i < count && !in.bad; ++i)
            list.emplace_back(in.U32(table + 16 + 8 * i), in.U32(table + 20 + 8 * i));
        return list;
    };
    constexpr uint32_t kHighBit = 0x80000000u;
    for (auto [typeName, typeDir] : entries(root)) {
        if (typeName & kHighBit || !(typeDir & kHighBit)) { ok = false; continue; }
        for (auto [name, nameDir] : entries(root + (typeDir & ~kHighBit))) {
            if (!(nameDir & kHighBit)) { ok = false; continue; }
            std::string text;
            if (name & kHighBit) {
                const size_t at = root + (name & ~kHighBit);
                for (unsigned i = 0, n = in.U16(at); i < n; ++i)
                    text += char(in.U16(at + 2 + 2 * i));
            }
            for (auto [language, dataEntry] : entries(root + (nameDir & ~kHighBit))) {
                if (dataEntry & kHighBit) { ok = false; continue; }
                const size_t at = root + dataEntry;
                const size_t start = fileOffset(in.U32(at));
                const uint32_t size = in.U32(at + 4);
                if (start > file.size() || file.size() - start < size) { ok = false; continue; }
                resources.push_back({WORD(typeName), text, WORD(name & kHighBit ? 0 : name),
                                     WORD(language), in.U32(at + 8),
                                     Bytes(file.begin() + start, file.begin() + start + size)});
            }
        }
    }
    ok = ok && !in.bad;
    return resources;
}

// The executable's resources, read once for all the tests.
const std::vector<Resource>& TheResources() {
    static const std::vector<Resource> resources = [] {
        std::ifstream f(exePath, std::ios::binary);
        Bytes file{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
        bool ok = false;
        auto list = ReadResourceDirectory(file, ok);
        EXPECT_TRUE(ok) << "the resource directory of " << exePath << " could not be read";
        return list;
    }();
    return resources;
}

// The data of one resource, or an empty block when it is missing.
Bytes Find(WORD type, WORD id, const char* name = "") {
    for (const auto& r : TheResources())
        if (r.type == type && r.id == id && r.name == name) return r.data;
    return {};
}

// ---------------------------------------------------------------- images
// A decoded icon image: its pixels as red green blue alpha, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Checks a DIB image's header, palette and AND mask against the entry, and
// decodes its colour rows.
Pixels CheckDib(const IconEntry& e, const Bytes& dib) {
    Pixels px;
    LittleEndian in(dib);
    const int n = e.size;
    const unsigned paletteEntries = e.bitCount <= 8 ? 1u << e.bitCount : 0;
    EXPECT_EQ(in.U32(0), 40u) << "biSize";
    EXPECT_EQ(int32_t(in.U32(4)), n) << "biWidth";
    EXPECT_EQ(int32_t(in.U32(8)), 2 * n) << "biHeight: colour image and mask";
    EXPECT_EQ(in.U16(12), 1u) << "biPlanes";
    EXPECT_EQ(in.U16(14), e.bitCount) << "biBitCount";
    EXPECT_EQ(in.U32(16), 0u) << "biCompression BI_RGB";
    EXPECT_EQ(in.U32(20), 0u) << "biSizeImage";
    EXPECT_EQ(in.U32(32), 0u) << "biClrUsed";
    const size_t stride = (n * e.bitCount + 31) / 32 * 4;
    const size_t maskStride = (n + 31) / 32 * 4;
    const size_t colours = 40 + 4 * paletteEntries;
    const size_t mask = colours + stride * n;
    EXPECT_EQ(dib.size(), mask + maskStride * n) << "layout";
    if (dib.size() != mask + maskStride * n) return px;

    // The palette: graded magentas from the ground up to the ink, never the
    // system's colours: red equals blue, both rise step by step, green stays
    // between the ground's and the ink's.
    for (unsigned i = 0; i < paletteEntries; ++i) {
        const uint8_t* q = &dib[40 + 4 * i];  // blue, green, red, 0
        EXPECT_EQ(q[2], q[0]) << "palette entry " << i << " is not a magenta";
        EXPECT_TRUE(q[1] >= kGround[1] && q[1] <= kInk[1]) << "palette entry " << i;
        EXPECT_EQ(q[3], 0) << "palette entry " << i;
        if (i > 0) {
            EXPECT_GE(q[2], dib[40 + 4 * (i - 1) + 2]) << "palette entry " << i;
        }
    }
    if (paletteEntries) {
        EXPECT_EQ(dib[40 + 2], kGround[0]) << "the palette starts at the ground";
        EXPECT_EQ(dib[colours - 4 + 2], kInk[0]) << "the palette ends at the ink";
    }

    // The AND mask: every bit that belongs to a pixel is clear (opaque).
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (dib[mask + y * maskStride + x / 8] & (0x80 >> x % 8)) {
                ADD_FAILURE() << "mask bit set at x " << x << ", row " << y;
                return px;
            }

    px.width = px.height = n;
    px.rgba.resize(size_t(n) * n * 4);
    for (int y = 0; y < n; ++y) {
        const uint8_t* row = &dib[colours + (n - 1 - y) * stride];  // bottom row first
        for (int x = 0; x < n; ++x) {
            uint8_t* out = &px.rgba[(size_t(y) * n + x) * 4];
            if (paletteEntries) {
                const unsigned index = e.bitCount == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15 : row[x];
                const uint8_t* q = &dib[40 + 4 * index];
                out[0] = q[2], out[1] = q[1], out[2] = q[0], out[3] = 255;
            } else {
                const uint8_t* q = &row[4 * x];
                out[0] = q[2], out[1] = q[1], out[2] = q[0], out[3] = q[3];
            }
        }
    }
    return px;
}

// The CRC-32 of PNG chunks (polynomial 0xEDB88320, reflected).
uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t crc = 0xFFFFFFFFu;
    while (n--) {
        crc ^= *p++;
        for (int k = 0; k < 8; ++k) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Checks a PNG stream's chunks (IHDR, one IDAT, IEND; CRCs; header fields),
// then decodes it with the platform's imaging component.
Pixels CheckPng(const IconEntry& e, const Bytes& png) {
    Pixels px;
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0) {
        ADD_FAILURE() << "no PNG signature";
        return px;
    }
    std::vector<std::string> chunks;
    for (size_t at = 8; at < png.size();) {
        if (png.size() - at < 12 || png.size() - at - 12 < BigEndian32(&png[at])) {
            ADD_FAILURE() << "chunk runs past the end at " << at;
            return px;
        }
        const uint32_t length = BigEndian32(&png[at]);
        chunks.emplace_back(reinterpret_cast<const char*>(&png[at + 4]), 4);
        EXPECT_EQ(BigEndian32(&png[at + 8 + length]), Crc32(&png[at + 4], length + 4))
            << "CRC of chunk " << chunks.back();
        if (chunks.size() == 1) {
            const uint8_t* h = &png[at + 8];
            EXPECT_EQ(length, 13u);
            EXPECT_EQ(BigEndian32(h), uint32_t(e.size)) << "width";
            EXPECT_EQ(BigEndian32(h + 4), uint32_t(e.size)) << "height";
            EXPECT_EQ(h[8], 8) << "bit depth";
            EXPECT_EQ(h[9], 6) << "colour type RGBA";
            EXPECT_EQ(h[10], 0) << "compression";
            EXPECT_EQ(h[11], 0) << "filter method";
            EXPECT_EQ(h[12], 0) << "interlace";
        }
        at += 12 + length;
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgra;
    UINT width = 0, height = 0;
    const bool decoded =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), DWORD(png.size()))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &bgra)) &&
        SUCCEEDED(bgra->GetSize(&width, &height));
    if (!decoded || width != UINT(e.size) || height != UINT(e.size)) {
        ADD_FAILURE() << "the imaging component could not decode the PNG";
        return px;
    }
    px.width = px.height = e.size;
    px.rgba.resize(size_t(width) * height * 4);
    if (FAILED(bgra->CopyPixels(nullptr, width * 4, UINT(px.rgba.size()), px.rgba.data()))) {
        ADD_FAILURE() << "the decoded pixels could not be copied";
        return {};
    }
    for (size_t i = 0; i < px.rgba.size(); i += 4) std::swap(px.rgba[i], px.rgba[i + 2]);
    return px;
}

// Checks what every image shows: opaque throughout, the ground in the
// corner, the ink at its brightest, and no more colours than its depth allows.
void CheckArtwork(const IconEntry& e, const Pixels& px) {
    if (px.rgba.empty()) return;
    std::set<uint32_t> colours;
    size_t transparent = 0;
    const uint8_t* brightest = &px.rgba[0];
    for (size_t i = 0; i < px.rgba.size(); i += 4) {
        const uint8_t* p = &px.rgba[i];
        if (p[3] != 255) ++transparent;
        colours.insert(uint32_t(p[0]) << 16 | p[1] << 8 | p[2]);
        if (p[0] + p[2] > brightest[0] + brightest[2]) brightest = p;
    }
    EXPECT_EQ(transparent, 0u) << "pixels with alpha below 255";
    EXPECT_TRUE(std::equal(kGround, kGround + 3, &px.rgba[0])) << "the top left corner is not the ground";
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(brightest[c], kInk[c], kInkTolerance) << "the brightest pixel, channel " << c;
    if (e.bitCount <= 8) {
        EXPECT_LE(colours.size(), 1u << e.bitCount) << "distinct colours";
    }
}

// ---------------------------------------------------------------- tests
TEST(ResourceDirectory, HoldsOnlyTheIconsTheGroupAndTheManifest) {
    std::set<std::tuple<WORD, WORD, std::string>> seen, wanted;
    for (const auto& r : TheResources()) {
        seen.insert({r.type, r.id, r.name});
        EXPECT_EQ(r.language, kLanguage) << "type " << r.type << " id " << r.id << r.name;
        EXPECT_EQ(r.codePage, 0u) << "type " << r.type << " id " << r.id << r.name;
    }
    for (const auto& e : kIconGroup) wanted.insert({kIconType, e.id, ""});
    wanted.insert({kGroupIconType, 0, "ICON1"});
    wanted.insert({kManifestType, 1, ""});
    EXPECT_EQ(seen, wanted);
    EXPECT_EQ(TheResources().size(), wanted.size()) << "one language per resource";
}

// Collects the type ids that EnumResourceTypesA reports (0 for a named type).
BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR types) {
    reinterpret_cast<std::set<WORD>*>(types)->insert(IS_INTRESOURCE(type) ? LOWORD(type) : 0);
    return TRUE;
}

TEST(ResourceDirectory, ThePlatformFindsTheSameResourcesAndNoVersion) {
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << "LoadLibraryExA " << exePath << ": error " << GetLastError();
    std::set<WORD> types;
    EnumResourceTypesA(module, CollectType, reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(types, (std::set<WORD>{kIconType, kGroupIconType, kManifestType}));
    for (const auto& r : TheResources()) {
        const char* name = r.name.empty() ? MAKEINTRESOURCEA(r.id) : r.name.c_str();
        HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(r.type), name, kLanguage);
        ASSERT_NE(found, nullptr) << "type " << r.type << " id " << r.id << r.name;
        const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(Bytes(data, data + SizeofResource(module, found)), r.data)
            << "type " << r.type << " id " << r.id << r.name;
    }
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(1), RT_VERSION), nullptr);
    FreeLibrary(module);
}

TEST(IconGroup, HasTheTwelveEntriesInOrder) {
    const Bytes group = Find(kGroupIconType, 0, "ICON1");
    ASSERT_EQ(group.size(), 6u + 14u * std::size(kIconGroup));
    LittleEndian in(group);
    EXPECT_EQ(in.U16(0), 0u) << "reserved";
    EXPECT_EQ(in.U16(2), 1u) << "type icon";
    EXPECT_EQ(in.U16(4), std::size(kIconGroup)) << "count";
    for (size_t i = 0; i < std::size(kIconGroup); ++i) {
        const IconEntry& e = kIconGroup[i];
        const size_t at = 6 + 14 * i;
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(in.U8(at), e.size == 256 ? 0u : unsigned(e.size)) << "width";
        EXPECT_EQ(in.U8(at + 1), e.size == 256 ? 0u : unsigned(e.size)) << "height";
        EXPECT_EQ(in.U8(at + 2), e.colourCount) << "colour count";
        EXPECT_EQ(in.U8(at + 3), 0u) << "reserved";
        EXPECT_EQ(in.U16(at + 4), 1u) << "planes";
        EXPECT_EQ(in.U16(at + 6), e.bitCount) << "bits per pixel";
        EXPECT_EQ(in.U16(at + 12), e.id) << "icon id";
        const Bytes image = Find(kIconType, e.id);
        EXPECT_EQ(in.U32(at + 8), image.size()) << "bytes in the group against the image";
        if (!e.png) {
            EXPECT_EQ(image.size(), e.bytes) << "bytes of the DIB";
        }
    }
}

TEST(IconImages, AreOpaqueDrawingsInGradedMagentas) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    for (const IconEntry& e : kIconGroup) {
        SCOPED_TRACE("icon " + std::to_string(e.id) + ", " + std::to_string(e.size) + " px at " +
                     std::to_string(e.bitCount) + " bits");
        const Bytes image = Find(kIconType, e.id);
        CheckArtwork(e, e.png ? CheckPng(e, image) : CheckDib(e, image));
    }
    CoUninitialize();
}

TEST(IconImages, ThePlatformMakesAnIconOfEachAndPicksBySize) {
    for (const IconEntry& e : kIconGroup) {
        Bytes image = Find(kIconType, e.id);
        HICON icon = CreateIconFromResourceEx(image.data(), DWORD(image.size()), TRUE, 0x00030000,
                                              e.size, e.size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "icon " << e.id;
        if (icon) DestroyIcon(icon);
    }
    // The window's big and small icons come from the 32 and 16 px images.
    Bytes group = Find(kGroupIconType, 0, "ICON1");
    ASSERT_FALSE(group.empty());
    const int big = LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, LR_DEFAULTCOLOR);
    const int small = LookupIconIdFromDirectoryEx(group.data(), TRUE, 16, 16, LR_DEFAULTCOLOR);
    EXPECT_TRUE(big == 3 || big == 7 || big == 11) << "32 px picks icon " << big;
    EXPECT_TRUE(small == 4 || small == 8 || small == 12) << "16 px picks icon " << small;
}

TEST(Manifest, HasExactlyTheExpectedBytes) {
    const Bytes manifest = Find(kManifestType, 1);
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_EQ(text, std::string(kManifest));
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: %s [gtest options] PATH-TO-Vintrel.exe\n", argv[0]);
        return 2;
    }
    exePath = argv[1];
    return RUN_ALL_TESTS();
}
