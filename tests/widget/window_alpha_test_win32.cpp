// The window's constant alpha: what the platform holds after each call.

#include <gtest/gtest.h>

#include "tests/widget/widget_harness_win32.h"
#include "widget/window_alpha_win32.h"

namespace talvessa::testing {
namespace {

struct AlphaRow {
    std::int32_t alpha;
    std::uint32_t colourKey;
    BYTE expectedAlpha;
    DWORD expectedFlags;
};

constexpr AlphaRow kAlphaRows[] = {
    {75, 0, 75, LWA_ALPHA},
    {255, 0, 255, LWA_ALPHA},
    {0, 0, 0, LWA_ALPHA},
    {256, 0, 0, LWA_ALPHA},  // only the low 8 bits count
    {300, 0, 44, LWA_ALPHA},
    {-1, 0, 255, LWA_ALPHA},
    {165, 0x00123456, 165, LWA_COLORKEY | LWA_ALPHA},
    {0, 0x00123456, 0, LWA_COLORKEY},
    {512, 0x00123456, 0, LWA_COLORKEY},  // alpha 0 by its low byte
    {-255, 0x00123456, 1, LWA_COLORKEY | LWA_ALPHA},
};

TEST(WindowAlpha, TheWidgetBecomesLayeredWithTheLowByteAndStaysTopmost) {
    RecordedEvents events;
    ASSERT_TRUE(loadWidgetWindow(events));
    WidgetPort& port = widgetPort();
    HWND window = widgetHandle();
    for (const AlphaRow& row : kAlphaRows) {
        SCOPED_TRACE(::testing::Message() << row.alpha << " key " << row.colourKey);
        port.applyWindowAlpha(window, row.alpha, row.colourKey);

        COLORREF key = 1;
        BYTE alpha = 1;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
        EXPECT_EQ(key, row.colourKey);
        // Without LWA_ALPHA the platform keeps the alpha it had.
        if (row.expectedFlags & LWA_ALPHA) {
            EXPECT_EQ(alpha, row.expectedAlpha);
        }
        EXPECT_EQ(flags, row.expectedFlags);
        // The platform keeps WS_EX_TOPMOST out of reach of SetWindowLong.
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), WS_EX_LAYERED | WS_EX_TOPMOST);
    }
    destroyWidgetWindow();
}

TEST(WindowAlpha, TheExtendedStyleIsReplacedNotCombined) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_CLIENTEDGE, "STATIC",
                                  "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    applyWindowAlpha(window, 125, 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), WS_EX_LAYERED);
    DestroyWindow(window);
}

}  // namespace
}  // namespace talvessa::testing
