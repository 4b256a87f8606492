#include "app/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "base/gbk_text.h"
#include "tests/support/directory_entries.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

// GBK bytes of UTF-8 lines, each ended by lineEnd.
std::string GbkLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text += line + lineEnd;
    return Utf8ToGbk(text).value();
}

TEST(IniFile, ReadsByProfileRulesWithEitherLineEnd) {
    const std::vector<std::string> lines = {
        "; 设置",       "top=outside",   "[Other]",
        "公式期数=9",   "[ MySection ]", "  Key = value with blanks  \t",
        "quoted=\"2\"", "single='a b'",  "half=\"3",
        "empty=",       "公式期数=1",    "公式期数=8",
        "garbage line", "[Ｘ]",          "width=full",
        "[mysection]",  "later=ignored",
    };
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const char* const kDefault = "<default>";
    const Case cases[] = {
        {"MySection", "Key", "value with blanks"},
        {"mysection", "KEY", "value with blanks"},
        {" MYSECTION ", " key ", "value with blanks"},
        {"MySection", "quoted", "2"},
        {"MySection", "single", "a b"},
        {"MySection", "half", "\"3"},
        {"MySection", "empty", ""},
        {"MySection", "公式期数", "1"},  // the first of two keys of one name
        {"Other", "公式期数", "9"},
        {"MySection", "later", kDefault},  // only the first section of a name counts
        {"MySection", "top", kDefault},    // keys above every section belong to none
        {"", "top", kDefault},
        {"MySection", "garbage line", kDefault},
        {"MySection", "width", kDefault},
        {"Ｘ", "width", "full"},
        {"ｘ", "width", kDefault},  // only ASCII letters fold
        {"Missing", "Key", kDefault},
        {"MySection", "missing", kDefault},
    };
    for (const std::string lineEnd : {"\r\n", "\n"}) {
        test::TempDir dir;
        const IniFile ini(dir.Write("a.ini", GbkLines(lines, lineEnd)));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.section) + " / " + c.key + (lineEnd == "\n" ? " LF" : ""));
            EXPECT_EQ(ini.Read(c.section, c.key, kDefault), c.expected);
        }
    }
}

TEST(IniFile, MissingOrUnreadableFileGivesDefaultAndStaysMissing) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "folder");
    for (const char* name : {"absent.ini", "absent/a.ini", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(IniFile(dir.Path() / name).Read("S", "k", "3"), "3");
    }
    EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"folder"});
}

TEST(IniFile, WritesCreateGbkFileWithCrLf) {
    test::TempDir dir;
    const IniFile ini(dir.Path() / "a.ini");
    ASSERT_TRUE(ini.Write("S", "公式期数", "2"));
    EXPECT_EQ(test::FileBytes(ini.Path()), "[S]\r\n\xB9\xAB\xCA\xBD\xC6\xDA\xCA\xFD=2\r\n");
    EXPECT_EQ(ini.Read("s", "公式期数", "3"), "2");
    EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"a.ini"});
}

TEST(IniFile, WritesChangeOneLineAndKeepTheRest) {
    // LF line ends, comments, a blank line, an empty section and a second section of a
    // name already used.
    const std::string fixture = GbkLines({"; 设置", "[First]", "key = 3", "other=x", "",
                                          "; next part", "[Second]", "[first]", "dup=1"},
                                         "\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"first",
         "KEY",
         "2",  // in place, keeping the line's spelling and spacing
         {"; 设置", "[First]", "key = 2", "other=x", "", "; next part", "[Second]", "[first]",
          "dup=1"}},
        {"First",
         "new",
         "v",  // after the section's last entry
         {"; 设置", "[First]", "key = 3", "other=x", "new=v", "", "; next part", "[Second]",
          "[first]", "dup=1"}},
        {"first",
         "dup",
         "9",  // into the first section of the name
         {"; 设置", "[First]", "key = 3", "other=x", "dup=9", "", "; next part", "[Second]",
          "[first]", "dup=1"}},
        {"Second",
         "k",
         "v",
         {"; 设置", "[First]", "key = 3", "other=x", "", "; next part", "[Second]", "k=v",
          "[first]", "dup=1"}},
        {"吉林快3",
         "公式期数",
         "2",  // a new section at the end
         {"; 设置", "[First]", "key = 3", "other=x", "", "; next part", "[Second]", "[first]",
          "dup=1", "[吉林快3]", "公式期数=2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        test::TempDir dir;
        const IniFile ini(dir.Write("a.ini", fixture));
        ASSERT_TRUE(ini.Write(c.section, c.key, c.value));
        EXPECT_EQ(test::FileBytes(ini.Path()), GbkLines(c.expected));
        EXPECT_EQ(ini.Read(c.section, c.key, "<default>"), c.value);
        EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"a.ini"});
    }
}

TEST(IniFile, LinesThatAreNotGbkAreSkippedAndKept) {
    // "bad=" with an invalid double byte, a lone 0xFF, and a header whose name does not
    // decode: that header still ends section S.
    const std::string bad = "bad=\x81\x20\r\n\xFF\r\n";
    const std::string badHeader = "[\x81\x20]\r\n";
    const std::string before =
        GbkLines({"[S]", "a=1"}) + bad + GbkLines({"b=2"}) + badHeader + GbkLines({"c=3"});
    test::TempDir dir;
    const IniFile ini(dir.Write("a.ini", before));
    EXPECT_EQ(ini.Read("S", "a", "-"), "1");
    EXPECT_EQ(ini.Read("S", "b", "-"), "2");
    EXPECT_EQ(ini.Read("S", "bad", "-"), "-");
    EXPECT_EQ(ini.Read("S", "c", "-"), "-");

    ASSERT_TRUE(ini.Write("S", "a", "5"));
    ASSERT_TRUE(ini.Write("S", "c", "6"));
    EXPECT_EQ(
        test::FileBytes(ini.Path()),
        GbkLines({"[S]", "a=5"}) + bad + GbkLines({"b=2", "c=6"}) + badHeader + GbkLines({"c=3"}));
}

TEST(IniFile, ValuesComeBackAsText) {
    struct Case {
        const char* written;
        const char* read;
    };
    const Case cases[] = {
        {"7.5", "7.5"}, {"10", "10"}, {"和值大小", "和值大小"}, {"", ""}, {"  padded ", "padded"},
    };
    test::TempDir dir;
    const IniFile ini(dir.Path() / "a.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        ASSERT_TRUE(ini.Write("S", "k", c.written));
        EXPECT_EQ(ini.Read("S", "k", "<default>"), c.read);
    }
}

TEST(IniFile, RefusesTextsThatCannotBeStoredFaithfully) {
    struct Case {
        std::string section;
        std::string key;
        std::string value;
    };
    const Case cases[] = {
        {"S", "k", "1\r\n[Other]\r\nk=2"},  // would smuggle in a section
        {"S", "k", "a\nb"},
        {"S", "k", "a\rb"},
        {"S", "k", std::string("a\0b", 3)},
        {"S", "k", "😀"},     // no GBK form
        {"S", "k", "\xFF"},  // not UTF-8
        {"S", "a=b", "v"},
        {"S", "", "v"},
        {"S", "  ", "v"},
        {"S", "[T]", "v"},
        {"S", ";k", "v"},
        {"S", "k\nj", "v"},
        {"", "k", "v"},
        {"S]\n[T", "k", "v"},
        {"😀", "k", "v"},
    };
    test::TempDir dir;
    const std::string before = GbkLines({"[S]", "k=1"});
    const IniFile existing(dir.Write("a.ini", before));
    const IniFile absent(dir.Path() / "b.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section + " / " + c.key + " / " + c.value);
        EXPECT_FALSE(existing.Write(c.section, c.key, c.value));
        EXPECT_FALSE(absent.Write(c.section, c.key, c.value));
    }
    EXPECT_EQ(test::FileBytes(existing.Path()), before);
    EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"a.ini"});
}

TEST(IniFile, FailedWriteReportsFalse) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "folder");
    dir.Write("folder/inside", "kept");
    EXPECT_FALSE(IniFile(dir.Path() / "folder").Write("S", "k", "1"));
    EXPECT_FALSE(IniFile(dir.Path() / "absent/a.ini").Write("S", "k", "1"));
    EXPECT_EQ(test::FileBytes(dir.Path() / "folder/inside"), "kept");
    EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"folder"});
}

TEST(IniFile, UnreadableFileIsNotOverwritten) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    test::TempDir dir;
    const std::string before = GbkLines({"[S]", "k=1", "other=2"});
    const fs::path file = dir.Write("a.ini", before);
    ASSERT_EQ(chmod(file.c_str(), 0200), 0);
    EXPECT_FALSE(IniFile(file).Write("S", "k", "5"));
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(test::FileBytes(file), before);
}

}  // namespace
}  // namespace veltra
