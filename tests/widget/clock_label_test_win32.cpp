// ClockLabel by its pixels: what a write leaves on the window's face, read back with BitBlt from
// the window's DC. The oracle is the platform's own DrawTextA on a black bitmap.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/widget/widget_harness_win32.h"

namespace talvessa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

constexpr COLORREF kBlack = 0;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kSkyBlue = 0x00FF8800;
constexpr UINT kLabelFormat = DT_NOCLIP | DT_CENTER | DT_WORDBREAK | DT_VCENTER;

// The face as it should look: black, with `text` drawn by the platform in the label's font into
// the label's rectangle.
Pixels expectedFace(int width, int height, RECT label, const std::string& text, COLORREF colour,
                    UINT format = kLabelFormat) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    LOGFONTA font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfQuality = PROOF_QUALITY;
    lstrcpynA(font.lfFaceName, "Verdana", LF_FACESIZE);
    HFONT labelFont = CreateFontIndirectA(&font);
    HGDIOBJ previousFont = SelectObject(memory, labelFont);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, colour);
    HRGN clip = CreateRectRgnIndirect(&label);  // the label's window cuts its text off
    SelectClipRgn(memory, clip);
    DrawTextA(memory, text.data(), static_cast<int>(text.size()), &label, format);
    Pixels pixels = readPixels(memory, width, height);
    SelectClipRgn(memory, nullptr);
    DeleteObject(clip);
    SelectObject(memory, previousFont);
    DeleteObject(labelFont);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int differingPixels(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.values.size(); ++i) count += a.values[i] != b.values[i];
    return count;
}

class ClockLabelTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 120;
    static constexpr int kHeight = 45;

    void SetUp() override {
        events_.created = [](WidgetPort& port) {
            for (auto object : {ControlObject::ClockLabel, ControlObject::WidgetWindow}) {
                port.setControlProperty(object, ControlProperty::Width, kWidth);
                port.setControlProperty(object, ControlProperty::Height, kHeight);
            }
            port.setControlProperty(ControlObject::ClockLabel, ControlProperty::TextColour,
                                    static_cast<std::int32_t>(kWhite));
            port.setControlProperty(ControlObject::ClockLabel, ControlProperty::Text, "");
        };
        ASSERT_TRUE(loadWidgetWindow(events_));
        pumpFor(100);
    }
    void TearDown() override { destroyWidgetWindow(); }

    void write(std::string_view text) {
        widgetPort().setControlProperty(ControlObject::ClockLabel, ControlProperty::Text, text);
    }
    void write(COLORREF colour) {
        widgetPort().setControlProperty(ControlObject::ClockLabel, ControlProperty::TextColour,
                                        static_cast<std::int32_t>(colour));
    }
    void write(ControlObject object, ControlProperty property, std::int32_t value) {
        widgetPort().setControlProperty(object, property, value);
    }
    Pixels face() { return captureClient(widgetHandle()); }

    RecordedEvents events_;
};

TEST_F(ClockLabelTest, EmptyTextLeavesTheFaceAllBlack) {
    EXPECT_THAT(face().colours(), ElementsAre(kBlack));
}

TEST_F(ClockLabelTest, GlyphsAreExactlyTheTextColourOnBlack) {
    write("2024/3/5\r\n07:08:09");
    for (COLORREF colour : {kWhite, kRed, kSkyBlue, COLORREF{0x0000FFFF}}) {
        SCOPED_TRACE(colour);
        write(colour);
        EXPECT_THAT(face().colours(), UnorderedElementsAre(kBlack, colour));
    }
}

// Each row starts from a label showing "2024/3/5\r\nTuesday\r\n07:08:09" in white, makes one
// write, and must then show exactly a clean drawing of the final state: no trace of the old
// glyphs, at once and after the next paint cycle.
TEST_F(ClockLabelTest, AfterEachWriteTheFaceShowsOnlyTheNewState) {
    const std::string kLong = "2024/3/5\r\nTuesday\r\n07:08:09";
    struct Row {
        const char* name;
        std::function<void()> change;
        RECT label;
        std::string text;
        COLORREF colour;
    } const rows[] = {
        {"a shorter text", [&] { write("1"); }, {0, 0, kWidth, kHeight}, "1", kWhite},
        {"the empty text", [&] { write(""); }, {0, 0, kWidth, kHeight}, "", kWhite},
        {"a new colour", [&] { write(kRed); }, {0, 0, kWidth, kHeight}, kLong, kRed},
        {"the same text over a scribbled face",
         [&] {
             HDC dc = GetDC(widgetHandle());
             RECT all{0, 0, kWidth, kHeight};
             FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
             ReleaseDC(widgetHandle(), dc);
             write(kLong);
         },
         {0, 0, kWidth, kHeight}, kLong, kWhite},
        {"the label moved",
         [&] { write(ControlObject::ClockLabel, ControlProperty::Left, 30); },
         {30, 0, 30 + kWidth, kHeight}, kLong, kWhite},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        write(ControlObject::ClockLabel, ControlProperty::Left, 0);
        write(kWhite);
        write(kLong);
        pumpFor(30);
        Pixels expected = expectedFace(kWidth, kHeight, row.label, row.text, row.colour);

        row.change();
        EXPECT_EQ(differingPixels(face(), expected), 0) << "at once";
        pumpFor(30);
        EXPECT_EQ(differingPixels(face(), expected), 0) << "after the next paint";
    }
}

// Rows of the face holding ink, as runs: the number of separate bands of text lines.
int inkBands(const std::vector<bool>& rows) {
    int bands = 0;
    for (std::size_t y = 0; y < rows.size(); ++y) bands += rows[y] && (y == 0 || !rows[y - 1]);
    return bands;
}

TEST_F(ClockLabelTest, EachDisplayFormatFitsItsSize) {
    struct Row {
        const char* text;
        int width;
        int height;
        int lines;
    } const rows[] = {
        {"07:08:09", 62, 16, 1},
        {"2024/12/28\r\n07:08:09", 80, 30, 2},
        {"Tuesday\r\n07:08:09", 64, 30, 2},
        {"2024/12/28\r\nWednesday\r\n07:08:09", 80, 43, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        // Drawn in a label twice as high, the text must stay within the format's height.
        for (auto object : {ControlObject::ClockLabel, ControlObject::WidgetWindow}) {
            write(object, ControlProperty::Width, row.width);
            write(object, ControlProperty::Height, 2 * row.height);
        }
        write(row.text);
        pumpFor(30);
        std::vector<bool> inked = face().inkedRows();
        EXPECT_EQ(inkBands(inked), row.lines);
        for (int y = row.height; y < 2 * row.height; ++y) {
            EXPECT_FALSE(inked[static_cast<std::size_t>(y)]) << "ink below the height, row " << y;
        }
        EXPECT_TRUE(inked[0] || inked[1] || inked[2]) << "the first line starts at the top";
    }
}

TEST_F(ClockLabelTest, AmpersandsArePrefixes) {
    const RECT label{0, 0, kWidth, kHeight};
    write("a&&b");
    pumpFor(30);
    EXPECT_EQ(differingPixels(face(), expectedFace(kWidth, kHeight, label, "a&b", kWhite,
                                                   kLabelFormat | DT_NOPREFIX)),
              0)
        << "two ampersands show one";

    write("a&b");
    pumpFor(30);
    Pixels prefixed = face();
    Pixels plain = expectedFace(kWidth, kHeight, label, "ab", kWhite, kLabelFormat | DT_NOPREFIX);
    // The same two glyphs at the same place, plus an underline: ink on one more row only.
    std::vector<bool> extraRows(static_cast<std::size_t>(kHeight), false);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (plain.at(x, y) != kBlack) {
                EXPECT_EQ(prefixed.at(x, y), kWhite) << x << "," << y;
            }
            if (plain.at(x, y) == kBlack && prefixed.at(x, y) != kBlack) {
                extraRows[static_cast<std::size_t>(y)] = true;
            }
        }
    }
    EXPECT_EQ(inkBands(extraRows), 1) << "the underline of b";
}

TEST_F(ClockLabelTest, ThousandsOfTextWritesLeaveTheGdiObjectCountFlat) {
    // The count itself must see a leak: a few fonts made and kept raise it by as many.
    int base = countGdiObjects();
    HFONT kept[5];
    for (HFONT& font : kept) font = CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana");
    ASSERT_EQ(countGdiObjects(), base + 5);
    for (HFONT font : kept) DeleteObject(font);

    write("2024/3/5\r\n07:08:09");
    pumpFor(30);
    int before = countGdiObjects();
    for (int i = 0; i < 3000; ++i) {
        write(i % 2 ? "2024/3/5\r\nTuesday\r\n07:08:09" : "07:08:09");
        if (i % 100 == 0) pumpFor(0);
    }
    pumpFor(30);
    EXPECT_EQ(countGdiObjects(), before);
}

}  // namespace
}  // namespace talvessa::testing
