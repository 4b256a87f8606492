#include "plan/word_joiner.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(WordJoiner, StartsEmptyWithCounterOne) {
    const WordJoiner joiner;
    EXPECT_EQ(joiner.text, "");
    EXPECT_EQ(joiner.counter, 1);
    EXPECT_EQ(joiner.wordsPerLine, 0);
    EXPECT_EQ(joiner.wordSeparator, "");
    EXPECT_EQ(joiner.lineSeparator, "");
}

TEST(WordJoiner, SetLayoutDefaultsToSpaceAndCrLf) {
    WordJoiner joiner;
    joiner.SetLayout(5);
    EXPECT_EQ(joiner.wordsPerLine, 5);
    EXPECT_EQ(joiner.wordSeparator, " ");
    EXPECT_EQ(joiner.lineSeparator, "\r\n");
    EXPECT_EQ(joiner.counter, 1);
}

TEST(WordJoiner, FiveWordsPerLineBreaksAfterEveryFifth) {
    WordJoiner joiner;
    joiner.SetLayout(5);
    for (const char* word : {"a", "b", "c", "d"}) joiner.AddWord(word);
    EXPECT_EQ(joiner.counter, 5);
    EXPECT_EQ(joiner.AddWord("e"), "a b c d e\r\n");
    EXPECT_EQ(joiner.counter, 1);
    for (const char* word : {"f", "g", "h", "i", "j", "k"}) joiner.AddWord(word);
    EXPECT_EQ(joiner.JoinedText(), "a b c d e\r\nf g h i j\r\nk ");
    EXPECT_EQ(joiner.counter, 2);
}

TEST(WordJoiner, CustomSeparatorsAndOneWordPerLine) {
    WordJoiner joiner;
    joiner.SetLayout(2, ",", ";");
    joiner.AddWord("a");
    joiner.AddWord("b");
    EXPECT_EQ(joiner.AddWord("c"), "a,b;c,");
    joiner.SetLayout(1);
    joiner.AddWord("x");
    EXPECT_EQ(joiner.AddWord("y"), "x\r\ny\r\n");
    EXPECT_EQ(joiner.counter, 1);
}

TEST(WordJoiner, ResetClearsTextAndLayout) {
    WordJoiner joiner;
    joiner.SetLayout(3, "-", "|");
    joiner.AddWord("a");
    EXPECT_EQ(joiner.Reset(), "");
    EXPECT_EQ(joiner.text, "");
    EXPECT_EQ(joiner.counter, 1);
    EXPECT_EQ(joiner.wordsPerLine, 0);
    EXPECT_EQ(joiner.wordSeparator, "");
    EXPECT_EQ(joiner.lineSeparator, "");
}

TEST(WordJoiner, ZeroWordsPerLineNeverEndsALine) {
    WordJoiner joiner;
    joiner.SetLayout(0);
    for (int i = 0; i < 12; ++i) joiner.AddWord("w");
    EXPECT_EQ(joiner.JoinedText(), "w w w w w w w w w w w w ");
    EXPECT_EQ(joiner.counter, 13);
    WordJoiner reset;  // the reset state: no layout, no separators
    reset.AddWord("a");
    EXPECT_EQ(reset.AddWord("b"), "ab");
}

TEST(WordJoiner, NegativeWordsPerLineFollowsTheDoubleRemainder) {
    WordJoiner joiner;
    joiner.SetLayout(-2);
    joiner.AddWord("a");
    joiner.AddWord("b");
    EXPECT_EQ(joiner.AddWord("c"), "a b\r\nc ");
}

TEST(WordJoiner, JoinedTextIsACopy) {
    WordJoiner joiner;
    joiner.SetLayout(5);
    std::string copy = joiner.AddWord("a");
    copy += "changed";
    EXPECT_EQ(joiner.JoinedText(), "a ");
}

}  // namespace
}  // namespace veltra
