// A long run of ticks with time compressed: each tick renders the next second with the clock's
// pictures and writes it to the label, and the paints it leaves queued are pumped, as a clock that
// runs for days would. The process's memory, its kernel handles and its GDI objects stay flat.

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/clock_text.h"
#include "core/ole_date.h"
#include "core/settings.h"
#include "tests/widget/widget_harness_win32.h"
#include "widget/clock_routines.h"

namespace talvessa::testing {
namespace {

// What a leak of one byte or one handle per tick would move. Wine reports neither private bytes
// nor a handle count (both read 0): there the working set and the GDI objects carry the check.
struct Footprint {
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
    DWORD handles = 0;
    int gdiObjects = 0;
};

Footprint footprint() {
    Footprint now;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        now.privateBytes = counters.PrivateUsage;
        now.workingSet = counters.WorkingSetSize;
    }
    GetProcessHandleCount(GetCurrentProcess(), &now.handles);
    now.gdiObjects = countGdiObjects();
    return now;
}

void pumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

class TickSoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = clockSettings();
        clockSettings().datePicture = "yyyy/M/d\r\n";
        clockSettings().timePicture = "hh:mm:ss";
        events_.created = [](WidgetPort& port) {
            for (auto object : {ControlObject::ClockLabel, ControlObject::WidgetWindow}) {
                port.setControlProperty(object, ControlProperty::Width, 80);
                port.setControlProperty(object, ControlProperty::Height, 30);
            }
            port.setControlProperty(ControlObject::ClockLabel, ControlProperty::TextColour,
                                    0x00FFFFFF);
        };
        ASSERT_TRUE(loadWidgetWindow(events_));
        pumpFor(50);
    }

    void TearDown() override {
        destroyWidgetWindow();
        clockSettings() = saved_;
    }

    // One tick of a clock whose time runs one second per call: onTick's two steps, the clock text
    // of the next second and the label's text write (with its refresh), then the queued paints.
    void tick() {
        dateTime_ += 1.0 / 86400;
        const ClockSettings& settings = clockSettings();
        widgetPort().setControlProperty(
            ControlObject::ClockLabel, ControlProperty::Text,
            formatClockText(dateTime_, settings.datePicture.c_str(), settings.timePicture.c_str(), 1));
        pumpPending();
    }

    ClockSettings saved_;
    RecordedEvents events_;
    // New Year's Eve a minute before midnight: the run crosses the year, months and days, so the
    // text changes length as well as glyphs.
    double dateTime_ = oleDateFromCalendar(2024, 12, 31, 23, 59, 0);
};

// The number of ticks, from TALVESSA_SOAK_TICKS; 0 when unset. The ctest entry
// widget_tests.soak runs a million (a full tick costs about 1.2 ms of wall time under Wine, so
// about 20 minutes; docs/footprint.md).
int soakTicks() {
    char value[16] = {};
    DWORD length = GetEnvironmentVariableA("TALVESSA_SOAK_TICKS", value, sizeof value);
    return length > 0 && length < sizeof value ? std::atoi(value) : 0;
}

TEST_F(TickSoakTest, ManyTicksLeaveMemoryHandlesAndGdiObjectsFlat) {
    const int kTicks = soakTicks();
    if (kTicks < 1000) {
        GTEST_SKIP() << "set TALVESSA_SOAK_TICKS (the ctest entry widget_tests.soak does)";
    }
    constexpr int kStages = 10;
    constexpr int kSettlingStages = 2;
    Footprint settled;
    Footprint last;
    for (int stage = 0; stage < kStages; ++stage) {
        for (int i = 0; i < kTicks / kStages; ++i) tick();
        // The routine itself, with the real time, once per stage.
        onTick(widgetPort());
        pumpPending();
        last = footprint();
        std::printf("after %7d ticks: working set %6zu KiB, private %6zu KiB, %lu handles, %d GDI "
                    "objects\n",
                    (stage + 1) * (kTicks / kStages), last.workingSet / 1024,
                    last.privateBytes / 1024, last.handles, last.gdiObjects);
        std::fflush(stdout);
        // Allocator pools, font and glyph caches and the first paints settle during the first
        // stages: under Wine the working set steps up once, by about 1.5 MB, within them.
        if (stage == kSettlingStages - 1) settled = last;
    }
    ASSERT_GT(settled.workingSet, 0u) << "the platform reports no memory counters";

    EXPECT_EQ(last.gdiObjects, settled.gdiObjects);
    EXPECT_EQ(last.handles, settled.handles);
    // A leak of one byte per tick would break these bounds.
    const auto kSlack = static_cast<SIZE_T>(kTicks / 2);
    EXPECT_LE(last.privateBytes, settled.privateBytes + kSlack);
    EXPECT_LE(last.workingSet, settled.workingSet + kSlack);
}

}  // namespace
}  // namespace talvessa::testing
