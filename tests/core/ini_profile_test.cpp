// The profile rules, one table of cases. Natively they run through our INI reader and writer;
// under Wine also through the Windows profile functions, which serve as the oracle. Where Wine
// and the clock's rules part ways, a row holds Wine's answer beside ours.

#include "core/ini_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/profile_layer.h"
#include "tests/core/temp_documents.h"

namespace talvessa {
namespace {

using testing::readFileBytes;
using testing::readFixture;
using testing::ScratchFolder;
using testing::writeFileBytes;

using ReadFunction = std::string (*)(const char* section, const char* key, const char* defaultValue,
                                     const char* fileName);
using WriteFunction = void (*)(const char* section, const char* key, const char* value,
                               const char* fileName);

struct Layer {
    const char* name;
    bool windows;  // the Windows profile functions, whose answers may differ where a row says so
    ReadFunction read;
    WriteFunction write;
};

void writeOurs(const char* section, const char* key, const char* value, const char* fileName) {
    iniProfileWrite(section, key, value, fileName);
}

std::vector<Layer> layers() {
    std::vector<Layer> all{{"ours", false, iniProfileRead, writeOurs}};
#ifdef _WIN32
    all.push_back({"Windows", true, readProfileString, writeProfileString});
#endif
    return all;
}

constexpr const char* kSame = nullptr;  // the Windows functions answer as we do

struct ReadRow {
    const char* fixture;  // under tests/data/profile/; null: no file
    const char* section;
    const char* key;
    const char* defaultValue;
    std::string expected;
    const char* windowsExpected = kSame;
};

const std::string kLong(10239, 'x');

const ReadRow kReadRows[] = {
    {"basic.ini", "conf", "width", "d", "80"},
    {"basic.ini", "conf", "left", "d", "-5"},
    {"basic.ini", "conf", "top", "d", "d"},
    {"basic.ini", "other", "width", "d", "d"},
    {nullptr, "conf", "width", "d", "d"},
    {nullptr, "conf", "width", nullptr, ""},
    {"letter_case.ini", "conf", "width", "d", "80"},
    {"basic.ini", "CONF", "WIDTH", "d", "80"},
    {"blanks_around.ini", "conf", "width", "d", "8 0"},
    {"blanks_around.ini", "conf", "tabbed", "d", "80"},
    {"blanks_around.ini", "conf", "vtab", "d", "1"},
    {"blanks_around.ini", "conf", "ctrlz", "d", "1"},
    {"blanks_around.ini", "conf", "ctrl01", "d", "\x01" "1\x01"},
    {"quoted_value.ini", "conf", "double", "d", "a b"},
    {"quoted_value.ini", "conf", "single", "d", "a b"},
    {"quoted_value.ini", "conf", "mixed", "d", "'a b\""},
    {"quoted_value.ini", "conf", "lone", "d", "\""},
    {"quoted_value.ini", "conf", "pair", "d", ""},
    {"quoted_value.ini", "conf", "nested", "d", "'x'"},
    {"quoted_value.ini", "conf", "padded", "d", " x "},
    {"empty_value.ini", "conf", "key", "d", ""},
    // Nothing is a comment: a ';' or '#' line is a key whose name starts with that character.
    {"comment_lines.ini", "conf", "k", "d", "2"},
    {"comment_lines.ini", "conf", ";k", "d", "1"},
    {"comment_lines.ini", "conf", "#hash", "d", "3"},
    {"comment_lines.ini", "conf", "inline", "d", "1 ; note"},
    {"utf8_bom.ini", "conf", "k", "d", "1"},
    {"utf16le_bom.ini", "conf", "k", "d", "1"},
    {"utf16be_bom.ini", "conf", "k", "d", "1"},
    {"lf_line_ends.ini", "conf", "j", "d", "2"},
    {"cr_line_ends.ini", "conf", "j", "d", "2"},
    {"blank_lines.ini", "conf", "k", "d", "1"},
    // Only the first section of a name is searched, and the first key of a name wins.
    {"duplicate_section.ini", "conf", "k", "d", "1"},
    {"duplicate_section.ini", "conf", "j", "d", "d"},
    {"duplicate_key.ini", "conf", "k", "d", "1"},
    {"duplicate_key.ini", "conf", "bare", "d", "d"},
    {"no_equals.ini", "conf", "k", "d", "d"},
    {"no_equals.ini", "conf", "k x", "d", "d"},
    {"no_equals.ini", "conf", "a", "d", "b=c"},
    {"key_before_section.ini", "conf", "k", "d", "d"},
    {"no_final_line_break.ini", "conf", "k", "d", "1"},
    {"nul_byte.ini", "conf", "k", "d", "a"},
    {"nul_byte.ini", "conf", "j", "d", "2"},
    {"long_line.ini", "conf", "long", "d", kLong},
    {"long_line.ini", "conf", "fits", "d", std::string(10239, 'y')},
    {"long_line.ini", "conf", "over", "d", std::string(10239, 'z')},
    {"long_line.ini", "conf", "j", "d", "2"},
    {"section_header_forms.ini", "conf", "k", "d", "1"},
    {"section_header_forms.ini", "open", "x", "d", "d"},
    {"section_unclosed.ini", "conf", "k", "d", "d"},
    {"high_bytes.ini", "conf", "k", "d", "\xA3\xB8\xA3\xB0"},
    // Bytes above 0x7F pass through. (The Windows functions go through wide characters, so a
    // sequence the ANSI code page does not know comes back as '?'; ours keeps every byte. The
    // fixture holds only text valid in both code pages the tests run under, 1252 and 936.)
    {"high_bytes.ini", "conf", "q", "d", "\xC4\xEA\xD4\xC2"},
    // Defaults lose trailing spaces only.
    {nullptr, "conf", "k", "  d e  ", "  d e"},
    {nullptr, "conf", "k", "yyyy/M/d\r\n", "yyyy/M/d\r\n"},
    {nullptr, "conf", "k", "d\t", "d\t"},
    {nullptr, "conf", "k", "   ", "", " "},
    // Looked-up names: leading bytes 1..32 skipped, trailing blanks dropped, empty: empty text.
    {"basic.ini", " \tconf", "\t width", "d", "80"},
    {"basic.ini", "conf ", "width\t", "d", "80"},
    {"basic.ini", "\x01" "conf", "width", "d", "80", "d"},
    {"basic.ini", "conf", "\x1f" "width", "d", "80", "d"},
    {"basic.ini", " ", "width", "d", "", "d"},
    {"basic.ini", "conf", "", "d", "", "d"},
    {"key_before_section.ini", "", "k", "d", "", "1"},
};

class ProfileFiles : public ::testing::Test {
protected:
    // A Windows-style path for the Windows functions; ours take it as it is.
    std::string profilePath() const { return (folder_.path() / "profile.ini").string(); }

    void place(const char* fixture) const {
        std::error_code error;
        std::filesystem::remove(profilePath(), error);
        if (fixture != nullptr) {
            writeFileBytes(profilePath(), readFixture(std::string("profile/") + fixture));
        }
    }

    ScratchFolder folder_;
};

TEST_F(ProfileFiles, ReadsByTheProfileRules) {
    for (const Layer& layer : layers()) {
        for (const ReadRow& row : kReadRows) {
            SCOPED_TRACE(::testing::Message() << layer.name << " reading [" << row.section << "] "
                                              << row.key << " from " << (row.fixture ? row.fixture : "no file"));
            place(row.fixture);
            const std::string expected =
                layer.windows && row.windowsExpected != kSame ? row.windowsExpected : row.expected;
            EXPECT_EQ(layer.read(row.section, row.key, row.defaultValue, profilePath().c_str()),
                      expected);
        }
    }
}

TEST_F(ProfileFiles, SkipsLeadingBlanksInTheFileName) {
    place("basic.ini");
    const std::string padded = " \t" + profilePath();
    for (const Layer& layer : layers()) {
        SCOPED_TRACE(layer.name);
        // Wine does not skip them in the file name and reads the default.
        EXPECT_EQ(layer.read("conf", "width", "d", padded.c_str()), layer.windows ? "d" : "80");
        EXPECT_EQ(layer.read("conf", "width", "d", "  "), layer.windows ? "d" : "");
    }
}

struct WriteRow {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file
    const char* section;
    const char* key;
    const char* value;
    std::string after;
    std::optional<std::string> windowsAfter = std::nullopt;  // nullopt: the same as ours
};

using namespace std::string_literals;

const WriteRow kWriteRows[] = {
    {"in place", "[conf]\r\nk=1\r\nj=2\r\n", "conf", "k", "9", "[conf]\r\nk=9\r\nj=2\r\n"},
    // Wine writes the whole file anew from what it parsed; every other line stays as it was.
    {"other lines untouched", "; top\r\n[conf]\r\n  k  =  1  \r\nj = 2\r\n\r\n[other]\r\nx=y\r\n",
     "conf", "k", "9", "; top\r\n[conf]\r\n  k=9\r\nj = 2\r\n\r\n[other]\r\nx=y\r\n",
     "; top\r\n[conf]\r\nk=9\r\nj=2\r\n[other]\r\nx=y\r\n"},
    {"key added after the section's last line", "[conf]\r\nk=1\r\n\r\n[other]\r\nx=y\r\n", "conf",
     "n", "9", "[conf]\r\nk=1\r\nn=9\r\n\r\n[other]\r\nx=y\r\n",
     "[conf]\r\nk=1\r\nn=9\r\n[other]\r\nx=y\r\n"},
    {"key added before trailing blank lines", "[conf]\r\nk=1\r\n\r\n\r\n", "conf", "n", "9",
     "[conf]\r\nk=1\r\nn=9\r\n\r\n\r\n", "[conf]\r\nk=1\r\nn=9\r\n"},
    {"section added", "[other]\r\nx=y\r\n", "conf", "n", "9", "[other]\r\nx=y\r\n[conf]\r\nn=9\r\n"},
    {"section added after a last line without break", "[other]\r\nx=y", "conf", "n", "9",
     "[other]\r\nx=y\r\n[conf]\r\nn=9\r\n"},
    {"file created", std::nullopt, "conf", "n", "9", "[conf]\r\nn=9\r\n"},
    {"empty file", "", "conf", "k", "9", "[conf]\r\nk=9\r\n"},
    {"empty value", "[conf]\r\nk=1\r\n", "conf", "k", "", "[conf]\r\nk=\r\n"},
    {"leading blanks of the value", "[conf]\r\nk=1\r\n", "conf", "k", "  9  ", "[conf]\r\nk=9  \r\n"},
    {"names in other letter cases", "[CONF]\r\nK=1\r\n", "conf", "k", "9", "[CONF]\r\nK=9\r\n"},
    {"names with leading blanks", "[conf]\r\nk=1\r\n", " conf", "\tk", "9", "[conf]\r\nk=9\r\n"},
    {"names with leading control bytes", "[conf]\r\nk=1\r\n", "\x01" "conf", "k", "9",
     "[conf]\r\nk=9\r\n", "[conf]\r\nk=1\r\n[\x01" "conf]\r\nk=9\r\n"},
    // Wine writes into the nameless part before the first section.
    {"empty section name writes nothing", "[conf]\r\nk=1\r\n", " ", "k", "9", "[conf]\r\nk=1\r\n",
     "k=9\r\n[conf]\r\nk=1\r\n"},
    // A value is one line: Wine writes the line breaks through and so adds a section.
    {"line break in the value", "[conf]\r\nk=1\r\n", "conf", "k", "a\r\n[evil]\r\nx=1",
     "[conf]\r\nk=a\r\n", "[conf]\r\nk=a\r\n[evil]\r\nx=1\r\n"},
    {"first of duplicate keys", "[conf]\r\nk=1\r\nk=2\r\n", "conf", "k", "9", "[conf]\r\nk=9\r\nk=2\r\n"},
    {"first of duplicate sections", "[conf]\r\nk=1\r\n[conf]\r\nj=2\r\n", "conf", "j", "9",
     "[conf]\r\nk=1\r\nj=9\r\n[conf]\r\nj=2\r\n"},
    {"key line without equals", "[conf]\r\nk\r\nbare\r\n", "conf", "k", "9", "[conf]\r\nk=9\r\nbare\r\n"},
    {"key before any section", "k=1\r\n[conf]\r\nj=1\r\n", "conf", "k", "9",
     "k=1\r\n[conf]\r\nj=1\r\nk=9\r\n"},
    {"comment lines", "[conf]\r\n;comment\r\nk=1\r\n", "conf", "k", "9", "[conf]\r\n;comment\r\nk=9\r\n"},
    {"utf-8 byte order mark", "\xEF\xBB\xBF[conf]\r\nk=1\r\n", "conf", "k", "9",
     "\xEF\xBB\xBF[conf]\r\nk=9\r\n"},
    {"utf-16 in place", "\xFF\xFE[\0c\0o\0n\0f\0]\0\r\0\n\0k\0=\0001\0\r\0\n\0"s, "conf", "k", "9",
     "\xFF\xFE[\0c\0o\0n\0f\0]\0\r\0\n\0k\0=\0009\0\r\0\n\0"s},
    {"utf-16 key added", "\xFF\xFE[\0c\0o\0n\0f\0]\0\r\0\n\0k\0=\0001\0\r\0\n\0"s, "conf", "n", "9",
     "\xFF\xFE[\0c\0o\0n\0f\0]\0\r\0\n\0k\0=\0001\0\r\0\n\0n\0=\0009\0\r\0\n\0"s},
    // Wine rewrites every line with CR LF; we keep the file's own line break.
    {"lf line ends", "[conf]\nk=1\n", "conf", "n", "9", "[conf]\nk=1\nn=9\n",
     "[conf]\r\nk=1\r\nn=9\r\n"},
    {"cr line ends", "[conf]\rk=1\rj=2\r", "conf", "k", "9", "[conf]\rk=9\rj=2\r",
     "[conf]\r\nk=9\r\nj=2\r\n"},
    // Wine drops what follows a NUL byte in another line.
    {"nul byte elsewhere", "[conf]\r\nk=a\0b\r\nj=2\r\n"s, "conf", "j", "9",
     "[conf]\r\nk=a\0b\r\nj=9\r\n"s, "[conf]\r\nk=a\r\nj=9\r\n"},
};

TEST_F(ProfileFiles, WritesByTheProfileRules) {
    for (const Layer& layer : layers()) {
        for (const WriteRow& row : kWriteRows) {
            SCOPED_TRACE(::testing::Message() << layer.name << ": " << row.name);
            std::error_code error;
            std::filesystem::remove(profilePath(), error);
            if (row.before) writeFileBytes(profilePath(), *row.before);
            layer.write(row.section, row.key, row.value, profilePath().c_str());
            const std::string& expected =
                layer.windows && row.windowsAfter ? *row.windowsAfter : row.after;
            EXPECT_EQ(readFileBytes(profilePath()), expected);
        }
    }
}

TEST_F(ProfileFiles, WriteFailuresLeaveEverythingAsItWas) {
    for (const Layer& layer : layers()) {
        SCOPED_TRACE(layer.name);
        // A missing folder is not created.
        const std::filesystem::path inMissingFolder = folder_.path() / "missing" / "profile.ini";
        layer.write("conf", "k", "9", inMissingFolder.string().c_str());
        EXPECT_FALSE(std::filesystem::exists(inMissingFolder.parent_path()));

        // A folder where the file should be (which even root cannot replace by a file).
        const std::filesystem::path folderNamed = folder_.path() / "folder.ini";
        std::filesystem::create_directories(folderNamed);
        layer.write("conf", "k", "9", folderNamed.string().c_str());
        EXPECT_TRUE(std::filesystem::is_directory(folderNamed));
        EXPECT_EQ(layer.read("conf", "k", "d", folderNamed.string().c_str()), "d");

        // A read-only file keeps its bytes and still reads.
        const std::string before = "[conf]\r\nk=1\r\n";
        const std::filesystem::path readOnly = folder_.path() / "read-only.ini";
        std::error_code error;
        std::filesystem::remove(readOnly, error);
        writeFileBytes(readOnly, before);
        std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        if (layer.windows && testing::fileSystemWritesReadOnlyFiles(readOnly)) {
            // Wine keeps the read-only attribute as missing Unix write bits, which root ignores.
            std::cout << "Windows functions and a read-only file: not checked, this process may "
                         "write read-only files\n";
        } else {
            layer.write("conf", "k", "9", readOnly.string().c_str());
            layer.write("conf", "n", "9", readOnly.string().c_str());
            EXPECT_EQ(readFileBytes(readOnly), before);
            EXPECT_EQ(layer.read("conf", "k", "d", readOnly.string().c_str()), "1");
        }
        std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);

        // Nothing is left behind beside the files.
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
            EXPECT_EQ(entry.path().filename().string().find('~'), std::string::npos) << entry.path().string();
        }
    }
}

TEST(IniProfileText, WriteThenReadGivesTheValueBack) {
    // The writer and the reader agree on which line a name addresses, whatever is already there.
    const std::string kTexts[] = {"", "[conf]\r\n", "[CONF]\r\n k = 1 \r\n", "k=0\r\n[conf]\r\nk\r\n",
                                  "\xEF\xBB\xBF[conf]\nk='1'\n[conf]\nk=2",
                                  // UTF-16 big-endian, a key without '=': the value goes in
                                  // right before the line break.
                                  "\xFE\xFF\0[\0c\0o\0n\0f\0]\0\r\0\n\0k\0\r\0\n"s};
    const char* const kValues[] = {"", "9", "a b", "\"q\"", "-2147483648"};
    for (const std::string& text : kTexts) {
        for (const char* value : kValues) {
            SCOPED_TRACE(::testing::Message() << "text [" << text << "] value [" << value << "]");
            const std::optional<std::string> written = iniWriteValue(text, "conf", "k", value);
            ASSERT_TRUE(written.has_value());
            std::string expected = value;
            if (expected.size() >= 2 && expected.front() == '"' && expected.back() == '"') {
                expected = expected.substr(1, expected.size() - 2);
            }
            EXPECT_EQ(iniReadValue(*written, "conf", "k", "default"), expected);
        }
    }
}

}  // namespace
}  // namespace talvessa
