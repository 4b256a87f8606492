// The word joiner of the plan template expressions.
#include "plan/word_joiner.h"

#include <cmath>
#include <limits>
#include <utility>

namespace veltra {

std::string WordJoiner::Reset() {
    text.clear();
    counter = 1;
    wordsPerLine = 0;
    wordSeparator.clear();
    lineSeparator.clear();
    return text;
}

void WordJoiner::SetLayout(int words, std::string wordSep, std::string lineSep) {
    Reset();
    wordsPerLine = words;
    wordSeparator = std::move(wordSep);
    lineSeparator = std::move(lineSep);
}

std::string WordJoiner::AddWord(std::string_view word) {
    // counter mod 0 has no value: with no words per line no line ever ends.
    const bool endsLine =
        wordsPerLine != 0 &&
        !(std::fmod(static_cast<double>(counter), static_cast<double>(wordsPerLine)) > 0.0000001);
    text.append(word);
    if (endsLine) {
        text.append(lineSeparator);
        counter = 0;
    } else {
        text.append(wordSeparator);
    }
    // Only an endless line can run the counter this far; it stays there.
    if (counter < std::numeric_limits<int>::max()) ++counter;
    return text;
}

}  // namespace veltra
