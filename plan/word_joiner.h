// Joins words into lines: a word separator after each word, a line separator after
// every wordsPerLine-th word instead.
#pragma once

#include <string>
#include <string_view>

namespace veltra {

class WordJoiner {
  public:
    std::string text;           // the words joined so far
    int counter = 1;            // position of the next word within its line, from 1
    int wordsPerLine = 0;       // a line separator follows every wordsPerLine-th word
    std::string wordSeparator;  // after a word that does not end a line
    std::string lineSeparator;  // after a word that ends a line

    // Back to the initial state; returns the (empty) text.
    std::string Reset();
    // Reset, then the given layout.
    void SetLayout(int wordsPerLine, std::string wordSeparator = " ",
                   std::string lineSeparator = "\r\n");
    // Appends the word and its separator; returns the joined text. The line ends when
    // counter modulo wordsPerLine, on doubles, is not greater than 0.0000001. A
    // wordsPerLine of 0 (the reset state) never ends a line: every word gets the word
    // separator. A negative one follows the rule as written (the remainder takes the
    // counter's sign, so -n breaks like n).
    std::string AddWord(std::string_view word);
    // A copy of text.
    std::string JoinedText() const { return text; }
};

}  // namespace veltra
