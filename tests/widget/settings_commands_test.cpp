// The three settings commands: each row's effects on the widget, in order, and the keys written.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/presets.h"
#include "core/settings.h"
#include "tests/core/temp_documents.h"
#include "tests/widget/recording_widget.h"
#include "widget/clock_routines.h"
#include "widget/settings_menu.h"

namespace talvessa {
namespace {

using testing::RecordingWidget;
using testing::TempDocuments;

// The non-empty lines of a settings file, without their line ends.
std::vector<std::string> linesOf(const std::optional<std::string>& bytes) {
    std::vector<std::string> lines;
    if (!bytes) return lines;
    std::string line;
    for (char c : *bytes) {
        if (c == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

class SettingsCommands : public ::testing::Test {
protected:
    TempDocuments documents;
    RecordingWidget widget;

    std::vector<std::string> fileLines() const { return linesOf(documents.readSettingsFile()); }
};

TEST_F(SettingsCommands, ColourThemeWritesTheKeyThenColoursTheLabel) {
    for (const ColourTheme& theme : kColourThemes) {
        SCOPED_TRACE(std::string(theme.storedText));
        documents.removeSettingsFile();
        widget.calls.clear();
        std::string storedWhenApplied;
        widget.onCall = [&](const std::string&) { storedWhenApplied = readSetting("color"); };

        selectColourTheme(widget, theme);

        EXPECT_EQ(widget.calls, (std::vector<std::string>{
                                    "label.colour=" + std::to_string(theme.colour)}));
        EXPECT_EQ(storedWhenApplied, theme.storedText) << "the file is written first";
        EXPECT_EQ(fileLines(), (std::vector<std::string>{
                                   "[conf]", "color=" + std::string(theme.storedText)}));
    }
}

TEST_F(SettingsCommands, FormatPresetSizesLabelThenWindowThenReplacesPicturesThenWrites) {
    for (const FormatPreset& preset : kFormatPresets) {
        SCOPED_TRACE(std::string(preset.storedDate));
        documents.removeSettingsFile();
        widget.calls.clear();
        clockSettings().datePicture = "old date";
        clockSettings().timePicture = "old time";
        bool picturesOldAndFileEmptyAtEachCall = true;
        widget.onCall = [&](const std::string&) {
            picturesOldAndFileEmptyAtEachCall &= clockSettings().datePicture == "old date" &&
                                                 clockSettings().timePicture == "old time" &&
                                                 !documents.readSettingsFile().has_value();
        };

        selectFormatPreset(widget, preset);

        const std::string w = std::to_string(preset.width);
        const std::string h = std::to_string(preset.height);
        EXPECT_EQ(widget.calls, (std::vector<std::string>{"label.width=" + w, "label.height=" + h,
                                                          "window.width=" + w,
                                                          "window.height=" + h}));
        EXPECT_TRUE(picturesOldAndFileEmptyAtEachCall);
        EXPECT_EQ(clockSettings().datePicture, preset.datePicture);
        EXPECT_EQ(clockSettings().timePicture, "hh:mm:ss");
        // Keys appended in the order of the writes.
        EXPECT_EQ(fileLines(), (std::vector<std::string>{
                                   "[conf]", "date=" + std::string(preset.storedDate),
                                   "time=hh:mm:ss", "width=" + w, "height=" + h}));
    }
}

TEST_F(SettingsCommands, TimeOnlyFormatStoresAnEmptyDateThatStaysEmptyAtTheNextStart) {
    selectFormatPreset(widget, kFormatPresets[0]);
    clockSettings() = ClockSettings{};

    loadSettings();

    EXPECT_EQ(clockSettings().datePicture, "");
    EXPECT_EQ(clockSettings().timePicture, "hh:mm:ss");
    EXPECT_EQ(clockSettings().width, 62);
    EXPECT_EQ(clockSettings().height, 16);
}

TEST_F(SettingsCommands, AlphaLevelAppliesToTheWindowThenWritesTheKey) {
    for (const AlphaLevel& level : kAlphaLevels) {
        SCOPED_TRACE(std::string(level.storedText));
        documents.removeSettingsFile();
        widget.calls.clear();
        bool writtenBeforeApplied = false;
        widget.onCall = [&](const std::string& call) {
            if (call.starts_with("alpha")) writtenBeforeApplied = !readSetting("hyaline").empty();
        };

        selectAlphaLevel(widget, level);

        EXPECT_EQ(widget.calls,
                  (std::vector<std::string>{"handle window",
                                            "alpha window " + std::to_string(level.alpha) +
                                                " key 0"}));
        EXPECT_FALSE(writtenBeforeApplied);
        EXPECT_EQ(fileLines(), (std::vector<std::string>{
                                   "[conf]", "hyaline=" + std::string(level.storedText)}));
    }
}

TEST_F(SettingsCommands, OtherLinesOfTheFileStayAndARepeatedChoiceChangesNothing) {
    const std::string original =
        "; my clock\r\n[other]\r\nx=1\r\n[conf]\r\ncolor=255\r\nleft=40\r\ntop=50\r\n";
    documents.writeSettingsFile(original);

    selectFormatPreset(widget, kFormatPresets[3]);
    const auto once = documents.readSettingsFile();
    selectFormatPreset(widget, kFormatPresets[3]);

    EXPECT_EQ(documents.readSettingsFile(), once);
    EXPECT_EQ(fileLines(),
              (std::vector<std::string>{"; my clock", "[other]", "x=1", "[conf]", "color=255",
                                        "left=40", "top=50", "date=yyyy/M/d?dddd?",
                                        "time=hh:mm:ss", "width=80", "height=43"}));
}

TEST_F(SettingsCommands, ChoicesTakeEffectWhenTheSettingsCannotBeWritten) {
    documents.hideDocumentsFolder();
    // The fallback file's folder is writable here; make the write fail by putting a folder where
    // the fallback file would be.
    std::filesystem::create_directory(std::filesystem::current_path() / "Talvessa.ini");

    selectColourTheme(widget, kColourThemes[5]);
    selectAlphaLevel(widget, kAlphaLevels[4]);

    EXPECT_EQ(widget.calls, (std::vector<std::string>{"label.colour=16746496", "handle window",
                                                      "alpha window 255 key 0"}));
    EXPECT_EQ(readSetting("color", "none"), "none");
}

// Every entry of the menu runs its own row; the tables and the menu agree on the captions.
TEST_F(SettingsCommands, EachMenuEntryRunsItsRow) {
    for (const MenuEntry& entry : kSettingsMenu) {
        const MenuCommand& command = entry.command;
        if (command.kind == MenuCommandKind::None || command.kind == MenuCommandKind::Exit)
            continue;
        SCOPED_TRACE(entry.captionUtf8);
        documents.removeSettingsFile();
        widget.calls.clear();

        runMenuCommand(widget, command);

        const auto row = static_cast<std::size_t>(command.row);
        const std::vector<std::string> lines = fileLines();
        ASSERT_GE(lines.size(), 2u);
        switch (command.kind) {
            case MenuCommandKind::ColourTheme:
                EXPECT_EQ(entry.captionUtf8, kColourThemes[row].captionUtf8);
                EXPECT_EQ(lines[1], "color=" + std::string(kColourThemes[row].storedText));
                break;
            case MenuCommandKind::FormatPreset:
                EXPECT_EQ(entry.captionUtf8, kFormatPresets[row].captionUtf8);
                EXPECT_EQ(lines[1], "date=" + std::string(kFormatPresets[row].storedDate));
                break;
            case MenuCommandKind::AlphaLevel:
                EXPECT_EQ(entry.captionUtf8, kAlphaLevels[row].captionUtf8);
                EXPECT_EQ(lines[1], "hyaline=" + std::string(kAlphaLevels[row].storedText));
                break;
            default:
                break;
        }
    }
}

}  // namespace
}  // namespace talvessa
