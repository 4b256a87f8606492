#include "plan/plan_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/headless/headless_window_system.h"

namespace veltra {
namespace {

const std::string kFormatMessage = "表达式格式错误！错误内容：";

class PlanTemplateTest : public ::testing::Test {
  protected:
    // Reads a one-section template with the given body and returns that section.
    TemplateSection SectionOf(const std::string& body) {
        std::vector<TemplateEntry> entries;
        EXPECT_EQ(planTemplate.ParseTemplate("<p>\n[3]\n" + body + "\n", entries), 1);
        EXPECT_EQ(entries.size(), 1u);
        if (entries.empty()) return {};
        EXPECT_EQ(entries[0].sectionCount, 1);
        EXPECT_EQ(entries[0].sections.size(), 1u);
        if (entries[0].sections.empty()) return {};
        EXPECT_EQ(entries[0].sections[0].name, "3");
        return entries[0].sections[0];
    }

    HeadlessWindowSystem windows;
    PlanTemplate planTemplate{windows};
};

TEST(TemplateEntry, FreshEntryHasOneFreshSectionAndCountZero) {
    const TemplateEntry entry;
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.comments, "");
    ASSERT_EQ(entry.sections.size(), 1u);
    EXPECT_EQ(entry.sections[0].name, "");
    EXPECT_EQ(entry.sections[0].written, "");
    EXPECT_EQ(entry.sections[0].expanded, "");
    EXPECT_EQ(entry.sectionCount, 0);
}

TEST_F(PlanTemplateTest, WorkedExampleWithLineFeedsAlone) {
    std::vector<TemplateEntry> entries;
    EXPECT_EQ(planTemplate.ParseTemplate("<甲>\n#注释\n[1]\n后一大小 后一单双(2)\n", entries), 1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "甲");
    EXPECT_EQ(entries[0].comments, "注释\r\n");
    EXPECT_EQ(entries[0].sectionCount, 1);
    ASSERT_EQ(entries[0].sections.size(), 1u);
    EXPECT_EQ(entries[0].sections[0].name, "1");
    EXPECT_EQ(entries[0].sections[0].written, "后一大小 后一单双 后一单双 ");
    EXPECT_EQ(entries[0].sections[0].expanded, "后一大小 后一单双(1) 后一单双(2) ");
    EXPECT_TRUE(windows.Messages().empty());
}

TEST_F(PlanTemplateTest, WorkedExampleWithCrLfKeepsTheCommentsCarriageReturn) {
    std::vector<TemplateEntry> entries;
    EXPECT_EQ(
        planTemplate.ParseTemplate("<甲>\r\n#注释\r\n[1]\r\n后一大小 后一单双(2)\r\n", entries), 1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "甲");
    EXPECT_EQ(entries[0].comments, "注释\r\r\n");
    EXPECT_EQ(entries[0].sectionCount, 1);
    ASSERT_EQ(entries[0].sections.size(), 1u);
    EXPECT_EQ(entries[0].sections[0].name, "1");
    EXPECT_EQ(entries[0].sections[0].written, "后一大小 后一单双 后一单双 ");
    EXPECT_EQ(entries[0].sections[0].expanded, "后一大小 后一单双(1) 后一单双(2) ");
    EXPECT_TRUE(windows.Messages().empty());
}

TEST_F(PlanTemplateTest, SectionBodiesAreJoinedAsWrittenAndExpanded) {
    struct Case {
        const char* body;
        const char* written;
        const char* expanded;
    };
    const Case cases[] = {
        // five words per line: CR LF after the fifth, a space after every other
        {"a b c d e f g", "a b c d e\r\nf g ", "a b c d e\r\nf g "},
        // a line feed alone ends a word just as CR LF does
        {"a b\nc\r\nd", "a b c d ", "a b c d "},
        // empty words are kept
        {"a  b", "a  b ", "a  b "},
        // products are computed for the expanded word only, on single digits
        {"2*3*4", "2*3*4 ", "24 "},
        {"12*3", "12*3 ", "16 "},
        // a range keeps its lower end in both lists
        {"3~7", "3 ", "3 "},
        // repeats: ASCII, full-width or mixed parentheses; numbered with ASCII ones
        {"大（3）", "大 大 大 ", "大(1) 大(2) 大(3) "},
        {"小(2） 单（2)", "小 小 单 单 ", "小(1) 小(2) 单(1) 单(2) "},
        {"甲 乙(0) 丙", "甲 丙 ", "甲 丙 "},
        {"2*3(2)", "2*3 2*3 ", "6(1) 6(2) "},
        // repeated words count towards the line layout
        {"a(4) b c", "a a a a b\r\nc ", "a(1) a(2) a(3) a(4) b\r\nc "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const TemplateSection section = SectionOf(c.body);
        EXPECT_EQ(section.written, c.written);
        EXPECT_EQ(section.expanded, c.expanded);
    }
}

TEST_F(PlanTemplateTest, TwoEntriesJoinedBySeparator) {
    std::vector<TemplateEntry> entries;
    EXPECT_EQ(planTemplate.ParseTemplate("<a>\n[1]\nx y\n|+|<b>\n#c\n[2]\nz\n", entries), 2);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a");
    EXPECT_EQ(entries[0].comments, "");
    ASSERT_EQ(entries[0].sections.size(), 1u);
    EXPECT_EQ(entries[0].sections[0].written, "x y ");
    EXPECT_EQ(entries[1].name, "b");
    EXPECT_EQ(entries[1].comments, "c\r\n");
    ASSERT_EQ(entries[1].sections.size(), 1u);
    EXPECT_EQ(entries[1].sections[0].name, "2");
    EXPECT_EQ(entries[1].sections[0].written, "z ");
}

TEST_F(PlanTemplateTest, ParseTemplateReplacesThePreviousEntries) {
    std::vector<TemplateEntry> entries(3);
    entries[0].name = "old";
    EXPECT_EQ(planTemplate.ParseTemplate("<new>\n[1]\nx\n", entries), 1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "new");
    EXPECT_EQ(planTemplate.ParseTemplate("", entries), 0);
    EXPECT_TRUE(entries.empty());
}

TEST_F(PlanTemplateTest, NameRunsFromTheFirstOpeningToTheLastClosingBracket) {
    std::string name;
    EXPECT_TRUE(planTemplate.ReadName("<a> <b>\n[1]\nx\n", name));
    EXPECT_EQ(name, "a> <b");
}

TEST_F(PlanTemplateTest, NameStaysOnItsLine) {
    std::string name;
    EXPECT_TRUE(planTemplate.ReadName("<a\n<b>\n", name));
    EXPECT_EQ(name, "b");
}

TEST_F(PlanTemplateTest, EntryWithoutNameShowsTheFormatMessage) {
    std::vector<TemplateEntry> entries;
    EXPECT_EQ(planTemplate.ParseTemplate("后一5注", entries), 1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "");
    EXPECT_EQ(entries[0].comments, "");
    EXPECT_EQ(entries[0].sectionCount, 0);
    EXPECT_TRUE(entries[0].sections.empty());
    ASSERT_EQ(windows.Messages().size(), 1u);
    EXPECT_EQ(windows.Messages()[0].text, kFormatMessage + "后一5注");
    EXPECT_EQ(windows.Messages()[0].buttons, MessageButtons::Ok);
}

TEST_F(PlanTemplateTest, EntryWithoutNameStillReadsItsSections) {
    std::vector<TemplateEntry> entries;
    const std::string text = "#x\n[2]\n大 小\n";
    EXPECT_EQ(planTemplate.ParseTemplate(text, entries), 1);
    ASSERT_EQ(windows.Messages().size(), 1u);
    EXPECT_EQ(windows.Messages()[0].text, kFormatMessage + text);
    EXPECT_EQ(entries[0].name, "");
    EXPECT_EQ(entries[0].comments, "x\r\n");
    ASSERT_EQ(entries[0].sections.size(), 1u);
    EXPECT_EQ(entries[0].sections[0].written, "大 小 ");
}

TEST_F(PlanTemplateTest, FailedReadNameKeepsTheName) {
    std::string name = "kept";
    EXPECT_FALSE(planTemplate.ReadName("no brackets", name));
    EXPECT_EQ(name, "kept");
    EXPECT_FALSE(planTemplate.ReadName("<>", name));  // a name needs one character
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(windows.Messages().size(), 2u);
}

TEST_F(PlanTemplateTest, CommentsAreAppendedInOrder) {
    std::string comments = "old\r\n";
    EXPECT_TRUE(planTemplate.ReadComments("#one\n<a>\n#\n# two\n", comments));
    EXPECT_EQ(comments, "old\r\none\r\n\r\n two\r\n");
    std::string none = "kept";
    EXPECT_FALSE(planTemplate.ReadComments("<a>\n[1]\nx\n", none));
    EXPECT_EQ(none, "kept");
}

TEST_F(PlanTemplateTest, SectionsEndAtTheNextSectionOrComment) {
    TemplateEntry entry;
    EXPECT_TRUE(
        planTemplate.ReadSections("<a>\n[1] tail\nx y\n[2]\nz\n#note\nignored\n[3]", entry));
    EXPECT_EQ(entry.sectionCount, 2);  // "[3]" has no line feed after it
    ASSERT_EQ(entry.sections.size(), 2u);
    EXPECT_EQ(entry.sections[0].name, "1");
    EXPECT_EQ(entry.sections[0].written, "x y ");
    EXPECT_EQ(entry.sections[1].name, "2");
    EXPECT_EQ(entry.sections[1].written, "z ");
}

TEST_F(PlanTemplateTest, SectionNameRunsToTheLastClosingBracketOfTheLine) {
    TemplateEntry entry;
    EXPECT_TRUE(planTemplate.ReadSections("[1] [2]\nx\n", entry));
    ASSERT_EQ(entry.sections.size(), 1u);
    EXPECT_EQ(entry.sections[0].name, "1] [2");
}

TEST_F(PlanTemplateTest, TemplateWithoutSectionLineHasNoSections) {
    std::vector<TemplateEntry> entries;
    EXPECT_EQ(planTemplate.ParseTemplate("<a>\n大 小\n|+|<b>\n[1]", entries), 2);
    for (const TemplateEntry& entry : entries) {
        EXPECT_EQ(entry.sectionCount, 0);
        EXPECT_TRUE(entry.sections.empty());
    }
}

TEST_F(PlanTemplateTest, ExpandBodyReplacesBothTexts) {
    std::string expanded = "old";
    std::string written = "old";
    planTemplate.ExpandBody("a(2) b", expanded, written);
    EXPECT_EQ(expanded, "a(1) a(2) b ");
    EXPECT_EQ(written, "a a b ");
    planTemplate.ExpandBody("", expanded, written);  // the joiners start afresh
    EXPECT_EQ(expanded, "");
    EXPECT_EQ(written, "");
    EXPECT_EQ(planTemplate.WrittenJoiner().wordsPerLine, 5);
    EXPECT_EQ(planTemplate.ExpandedJoiner().lineSeparator, "\r\n");
}

TEST_F(PlanTemplateTest, ExpandProductReplacesEveryOccurrenceOfTheFirstMatch) {
    std::string exp;
    EXPECT_TRUE(planTemplate.ExpandProduct("2*3x2*3", exp));
    EXPECT_EQ(exp, "6x6");
    EXPECT_TRUE(planTemplate.ExpandProduct("a2*b", exp));
    EXPECT_EQ(exp, "a2b");
    EXPECT_FALSE(planTemplate.ExpandProduct("23", exp));
    EXPECT_EQ(exp, "23");
}

TEST_F(PlanTemplateTest, ProductOfThePieces) {
    EXPECT_EQ(planTemplate.Product("2*3*4"), 24);
    EXPECT_EQ(planTemplate.Product("2*"), 2);
    EXPECT_EQ(planTemplate.Product("7"), 7);
    EXPECT_EQ(planTemplate.Product("12*3"), 36);
    EXPECT_EQ(planTemplate.Product("2*x"), 0);
    EXPECT_EQ(planTemplate.Product(""), 1);
    EXPECT_EQ(planTemplate.Product("9*9*9*9*9*9*9*9*9*9*9"), 31381059609);
    EXPECT_EQ(planTemplate.Product(std::string(40, '9') + "*9"),
              std::numeric_limits<int64_t>::max());
    EXPECT_EQ(planTemplate.Product("-" + std::string(40, '9') + "*9"),
              std::numeric_limits<int64_t>::min());
}

TEST_F(PlanTemplateTest, ExpandRangeCutsBothWords) {
    std::string value = "和3~17x3~17";
    std::string exp;
    EXPECT_TRUE(planTemplate.ExpandRange(value, exp));
    EXPECT_EQ(value, "和3x3");
    EXPECT_EQ(exp, "和3x3");
    std::string plain = "大";
    EXPECT_FALSE(planTemplate.ExpandRange(plain, exp));
    EXPECT_EQ(plain, "大");
    EXPECT_EQ(exp, "大");
}

TEST_F(PlanTemplateTest, ExpandRepeatAddsToTheJoiners) {
    std::string expanded;
    std::string written;
    planTemplate.ExpandBody("", expanded, written);  // sets the layout
    std::string value = "x(2)";
    std::string exp = "y(2)";
    EXPECT_TRUE(planTemplate.ExpandRepeat(value, exp));
    EXPECT_EQ(value, "x");
    EXPECT_EQ(exp, "y");
    EXPECT_EQ(planTemplate.WrittenJoiner().JoinedText(), "x x ");
    EXPECT_EQ(planTemplate.ExpandedJoiner().JoinedText(), "y(1) y(2) ");
    std::string plain = "z(12)";
    EXPECT_FALSE(planTemplate.ExpandRepeat(plain, exp));  // one digit only
    EXPECT_EQ(plain, "z(12)");
}

}  // namespace
}  // namespace veltra
