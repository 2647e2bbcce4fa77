// Start-up, tick, Exit and shutdown: the exact order of their effects on the widget and the file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/clock_text.h"
#include "core/presets.h"
#include "core/settings.h"
#include "tests/core/temp_documents.h"
#include "tests/widget/recording_widget.h"
#include "widget/clock_routines.h"

namespace talvessa {
namespace {

using testing::ProgramEnded;
using testing::RecordingWidget;
using testing::TempDocuments;

class ClockRoutines : public ::testing::Test {
protected:
    TempDocuments documents;
    RecordingWidget widget;

    void SetUp() override { clockSettings() = ClockSettings{}; }
};

// What start-up does after the position, for a file with the given colour, alpha and size.
std::vector<std::string> startUpAfterPosition(const std::string& colour, const std::string& alpha,
                                              const std::string& width,
                                              const std::string& height) {
    return {"label.colour=" + colour,
            "handle window",
            "alpha window " + alpha + " key 0",
            "label.text=\"Talvessa\"",
            "label.width=" + width,
            "label.height=" + height,
            "window.width=" + width,
            "window.height=" + height,
            "timer.period=1000",
            "tray 4286 bytes \"Talvessa\""};
}

TEST_F(ClockRoutines, FirstStartWithoutAFileAppliesTheDefaults) {
    onWidgetCreated(widget);

    EXPECT_EQ(widget.calls, startUpAfterPosition("16777215", "165", "80", "30"));
    EXPECT_EQ(clockSettings().datePicture, "yyyy/M/d\r\n");
    EXPECT_EQ(clockSettings().timePicture, "hh:mm:ss");
    EXPECT_FALSE(documents.readSettingsFile().has_value()) << "start-up writes nothing";
}

TEST_F(ClockRoutines, StoredPositionAppliesOnlyWhenBothEdgesAreAboveZero) {
    struct Row {
        const char* name;
        const char* position;
        bool applied;
    };
    const Row rows[] = {
        {"1 and 1", "left=1\r\ntop=1\r\n", true},
        {"far right and down", "left=3000\r\ntop=2000\r\n", true},
        {"left 0", "left=0\r\ntop=5\r\n", false},
        {"top 0", "left=5\r\ntop=0\r\n", false},
        {"left negative", "left=-300\r\ntop=5\r\n", false},
        {"top negative", "left=5\r\ntop=-1\r\n", false},
        {"left only", "left=5\r\n", false},
        {"not numbers", "left=x\r\ntop=y\r\n", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        documents.writeSettingsFile(std::string("[conf]\r\n") + row.position);
        widget.calls.clear();

        onWidgetCreated(widget);

        std::vector<std::string> expected = startUpAfterPosition("16777215", "165", "80", "30");
        if (row.applied) {
            const ClockSettings& settings = clockSettings();
            expected.insert(expected.begin(),
                            {"window.left=" + std::to_string(settings.left),
                             "window.top=" + std::to_string(settings.top)});
        }
        EXPECT_EQ(widget.calls, expected);
    }
}

TEST_F(ClockRoutines, HandEditedValuesReachTheWidgetUnchanged) {
    documents.writeSettingsFile(
        "[CONF]\r\nColor=255\r\ndate=dddd?\r\ntime=HH?mm\r\nhyaline=300\r\nwidth=-5\r\n"
        "height=40000\r\nleft=10\r\ntop=20\r\n");

    onWidgetCreated(widget);

    std::vector<std::string> expected = {"window.left=10", "window.top=20"};
    for (const std::string& call : startUpAfterPosition("255", "300", "-5", "40000"))
        expected.push_back(call);
    EXPECT_EQ(widget.calls, expected);
    EXPECT_EQ(clockSettings().datePicture, "dddd\r\n");
    EXPECT_EQ(clockSettings().timePicture, "HH?mm");
}

// The text with every run of digits replaced by one '#'.
std::string digitRunsHidden(const std::string& text) {
    std::string shape;
    for (char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit) shape += c;
        else if (shape.empty() || shape.back() != '#') shape += '#';
    }
    return shape;
}

TEST_F(ClockRoutines, TickPutsTheCurrentTimeInTheLabelWithTheLatestPictures) {
    onWidgetCreated(widget);
    widget.calls.clear();

    onTick(widget);
    ASSERT_EQ(widget.calls.size(), 1u);
    EXPECT_EQ(digitRunsHidden(widget.calls[0]), "label.text=\"#/#/#\r\n#:#:#\"");

    selectFormatPreset(widget, kFormatPresets[0]);
    widget.calls.clear();
    onTick(widget);
    ASSERT_EQ(widget.calls.size(), 1u);
    EXPECT_EQ(digitRunsHidden(widget.calls[0]), "label.text=\"#:#:#\"");
}

TEST_F(ClockRoutines, TickTextIsTheClockTextOfTheMomentItRuns) {
    onWidgetCreated(widget);
    for (int attempt = 0; attempt < 3; ++attempt) {
        widget.calls.clear();
        const double before = currentLocalTime();
        onTick(widget);
        if (currentLocalTime() != before) continue;  // the second turned: try again
        ASSERT_EQ(widget.calls.size(), 1u);
        EXPECT_EQ(widget.calls[0],
                  "label.text=\"" + formatClockText(before, "yyyy/M/d\r\n", "hh:mm:ss", 1) + "\"");
        return;
    }
    FAIL() << "the second kept turning";
}

TEST_F(ClockRoutines, ExitWritesLeftThenTopThenRemovesTheIconAndEndsWithZero) {
    struct Row {
        std::int32_t left;
        std::int32_t top;
    };
    for (const Row row : {Row{402, 342}, Row{-1200, 0}, Row{0, -5}}) {
        SCOPED_TRACE(std::to_string(row.left) + "," + std::to_string(row.top));
        documents.writeSettingsFile("[conf]\r\ncolor=255\r\n");
        widget.calls.clear();
        widget.values[{ControlObject::WidgetWindow, ControlProperty::Left}] = row.left;
        widget.values[{ControlObject::WidgetWindow, ControlProperty::Top}] = row.top;
        std::string fileWhenIconRemoved;
        widget.onCall = [&](const std::string& call) {
            if (call == "tray remove") fileWhenIconRemoved = documents.readSettingsFile().value_or("");
        };

        try {
            onExitCommand(widget);
            ADD_FAILURE() << "Exit returned";
        } catch (const ProgramEnded& ended) {
            EXPECT_EQ(ended.exitCode, 0);
        }

        EXPECT_EQ(widget.calls, (std::vector<std::string>{"read window.left", "read window.top",
                                                          "tray remove", "end 0"}));
        const std::string expectedFile = "[conf]\r\ncolor=255\r\nleft=" + std::to_string(row.left) +
                                         "\r\ntop=" + std::to_string(row.top) + "\r\n";
        EXPECT_EQ(fileWhenIconRemoved, expectedFile);
        widget.onCall = nullptr;
    }
}

TEST_F(ClockRoutines, ExitFromTheMenuAndShutdownReleaseThePictures) {
    onWidgetCreated(widget);
    EXPECT_THROW(runMenuCommand(widget, {MenuCommandKind::Exit, 0}), ProgramEnded);

    onShutdown();

    EXPECT_TRUE(clockSettings().datePicture.empty());
    EXPECT_TRUE(clockSettings().timePicture.empty());
    EXPECT_EQ(documents.readSettingsFile().value_or(""), "[conf]\r\nleft=0\r\ntop=0\r\n");
}

}  // namespace
}  // namespace talvessa
