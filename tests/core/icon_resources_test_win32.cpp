// The icons and resources as Windows reads them: the tray image and every image of DEFAULT_ICON
// become icons of their size, and the test program carries the program's resource script.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "resources/tray_icon_image.h"
#include "tests/core/ico_reading.h"

namespace talvessa {
namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;  // the only version CreateIconFromResourceEx takes

// RT_ICON, RT_GROUP_ICON and RT_MANIFEST as the A functions take them, whatever UNICODE says.
const LPCSTR kIconType = MAKEINTRESOURCEA(3);
const LPCSTR kIconGroupType = MAKEINTRESOURCEA(14);
const LPCSTR kManifestType = MAKEINTRESOURCEA(24);

// Owns an icon handle.
struct Icon {
    HICON handle;
    explicit Icon(HICON icon) : handle(icon) {}
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    ~Icon() {
        if (handle) DestroyIcon(handle);
    }
};

// An icon from one image as it lies in an ICO file (or an RT_ICON resource), at its own size.
HICON iconFromImage(std::span<const std::uint8_t> image) {
    return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()),
                                    static_cast<DWORD>(image.size()), TRUE, kIconFormatVersion, 0,
                                    0, LR_DEFAULTCOLOR);
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return SIZE{};
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    const bool maskOnly = info.hbmColor == nullptr;  // then the mask holds both halves
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return SIZE{bitmap.bmWidth, maskOnly ? bitmap.bmHeight / 2 : bitmap.bmHeight};
}

TEST(TrayIconImageOnWindows, MakesA32By32IconWithTheGroundShowingAroundTheFace) {
    const std::span<const std::uint8_t> ico = trayIconImage();
    Icon icon(iconFromImage(ico.subspan(22)));
    ASSERT_NE(icon.handle, nullptr);
    const SIZE size = iconSize(icon.handle);
    EXPECT_EQ(size.cx, 32);
    EXPECT_EQ(size.cy, 32);

    // Drawn over magenta: the corners keep the ground, the centre does not.
    constexpr DWORD kMagenta = 0x00FF00FF;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(target, nullptr);
    HGDIOBJ previous = SelectObject(dc, target);
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill(pixels, pixels + 32 * 32, kMagenta);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon.handle, 32, 32, 0, nullptr, DI_NORMAL));
    GdiFlush();
    for (int corner : {0, 31, 31 * 32, 32 * 32 - 1}) EXPECT_EQ(pixels[corner] & 0xFFFFFF, kMagenta);
    EXPECT_NE(pixels[16 * 32 + 16] & 0xFFFFFF, kMagenta);
    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST(ProgramIconOnWindows, EveryImageOfTheFileMakesAnIconOfItsSize) {
    const std::vector<std::uint8_t> ico = test::readResourceFile("talvessa.ico");
    const std::vector<test::IcoEntry> entries = test::icoDirectory(ico);
    ASSERT_EQ(entries.size(), 10u);
    for (const test::IcoEntry& entry : entries) {
        SCOPED_TRACE(testing::Message() << entry.size << " px, " << entry.bitsPerPixel << " bpp");
        Icon icon(iconFromImage(std::span(ico).subspan(entry.offset, entry.bytes)));
        ASSERT_NE(icon.handle, nullptr);
        const SIZE size = iconSize(icon.handle);
        EXPECT_EQ(size.cx, entry.size);
        EXPECT_EQ(size.cy, entry.size);
    }
}

// A resource of this program, whole; empty when it is missing.
std::span<const std::uint8_t> resource(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (!found) return {};
    const void* data = LockResource(LoadResource(nullptr, found));
    return {static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, found)};
}

TEST(ProgramIconOnWindows, DefaultIconGroupOffersTrueColourAtSmallAndLargeSize) {
    const std::span<const std::uint8_t> group = resource("DEFAULT_ICON", kIconGroupType);
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(test::le16(group, 4), 10u);
    for (int side : {16, 32}) {
        SCOPED_TRACE(side);
        const int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, side,
                                                   side, LR_DEFAULTCOLOR);
        const std::span<const std::uint8_t> image = resource(MAKEINTRESOURCEA(id), kIconType);
        ASSERT_GE(image.size(), 40u);
        EXPECT_EQ(test::le32(image, 4), static_cast<std::uint32_t>(side));  // biWidth
        EXPECT_EQ(test::le16(image, 14), 32u);                              // biBitCount

        Icon icon(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), "DEFAULT_ICON", IMAGE_ICON, side, side, 0)));
        ASSERT_NE(icon.handle, nullptr);
        EXPECT_EQ(iconSize(icon.handle).cx, side);
    }
}

TEST(ProgramResourcesOnWindows, VersionInformationNamesTheProduct) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::string info(GetFileVersionInfoSizeA(path, nullptr), '\0');
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);           // .0.0
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    struct Row {
        const char* key;
        std::string_view expected;
    };
    for (const Row& row : {Row{"ProductName", "Talvessa"}, Row{"ProductVersion", "1.0.0"},
                           Row{"FileDescription", "Talvessa desktop clock"}}) {
        SCOPED_TRACE(row.key);
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + row.key;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), &value, &length));
        EXPECT_EQ(std::string_view(static_cast<const char*>(value)), row.expected);
    }
}

// Wine treats every program as per-monitor aware, manifest or not, so only the embedding is
// checked here: the loader reads the manifest that is resource 1 of type RT_MANIFEST.
TEST(ProgramResourcesOnWindows, ManifestIsEmbeddedWhereTheLoaderReadsIt) {
    const std::span<const std::uint8_t> manifest = resource(MAKEINTRESOURCEA(1), kManifestType);
    const std::string_view text(reinterpret_cast<const char*>(manifest.data()), manifest.size());
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string_view::npos);
    EXPECT_NE(text.find("PerMonitorV2"), std::string_view::npos);
}

}  // namespace
}  // namespace talvessa
