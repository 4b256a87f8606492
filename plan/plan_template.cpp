// The plan template expressions. The six patterns are compiled on first use and kept
// for the rest of the run; texts are UTF-8 and the patterns see whole characters.
#include "plan/plan_template.h"

#include <cmath>
#include <limits>

#include "base/regex.h"
#include "base/text_integer.h"
#include "base/text_split.h"

namespace veltra {
namespace {

const Regex& NamePattern() {
    static const Regex pattern("<(.+)>");
    return pattern;
}
const Regex& CommentPattern() {
    static const Regex pattern("#(.*)");
    return pattern;
}
const Regex& SectionPattern() {
    static const Regex pattern("\\[(.+)\\].*\\n([^\\[#]*)");
    return pattern;
}
const Regex& ProductPattern() {
    static const Regex pattern("(\\d\\*)+\\d?");
    return pattern;
}
const Regex& RepeatPattern() {
    static const Regex pattern("[\\(（](\\d)[\\)）]");
    return pattern;
}
const Regex& RangePattern() {
    static const Regex pattern("(\\d+)~(\\d+)");
    return pattern;
}

constexpr std::string_view kFormatMessage = "表达式格式错误！错误内容：";

}  // namespace

int PlanTemplate::ParseTemplate(std::string_view templateText,
                                std::vector<TemplateEntry>& entries) {
    const std::vector<std::string> parts = SplitText(templateText, "|+|");
    entries.assign(parts.size(), TemplateEntry{});
    for (size_t i = 0; i < parts.size(); ++i) {
        // The results are not examined: an entry without a name keeps going.
        ReadName(parts[i], entries[i].name);
        ReadComments(parts[i], entries[i].comments);
        ReadSections(parts[i], entries[i]);
    }
    return static_cast<int>(parts.size());
}

bool PlanTemplate::ReadName(std::string_view entryText, std::string& name) {
    const auto match = NamePattern().FirstMatch(entryText);
    if (!match) {
        std::string message(kFormatMessage);
        message.append(entryText);
        windows.ShowMessage(message, MessageButtons::Ok);
        return false;
    }
    name = match->Group(1);
    return true;
}

bool PlanTemplate::ReadComments(std::string_view entryText, std::string& comments) {
    const std::vector<RegexMatch> matches = CommentPattern().AllMatches(entryText);
    if (matches.empty()) return false;
    for (const RegexMatch& match : matches) {
        comments += match.Group(1);
        comments += "\r\n";
    }
    return true;
}

bool PlanTemplate::ReadSections(std::string_view entryText, TemplateEntry& entry) {
    const std::vector<RegexMatch> matches = SectionPattern().AllMatches(entryText);
    entry.sectionCount = static_cast<int>(matches.size());
    entry.sections.assign(matches.size(), TemplateSection{});
    for (size_t i = 0; i < matches.size(); ++i) {
        TemplateSection& section = entry.sections[i];
        section.name = matches[i].Group(1);
        ExpandBody(matches[i].Group(2), section.expanded, section.written);
    }
    return true;
}

void PlanTemplate::ExpandBody(std::string_view body, std::string& expanded, std::string& written) {
    expandedJoiner.SetLayout(5);
    writtenJoiner.SetLayout(5);
    // A line break ends a word, whether CR LF or a line feed alone.
    const std::string spaced = ReplaceAll(ReplaceAll(body, "\r\n", " "), "\n", " ");
    for (const std::string& word : SplitText(spaced, " ")) {
        std::string value = word;
        std::string exp = word;
        if (!ExpandProduct(value, exp)) ExpandRange(value, exp);
        if (!ExpandRepeat(value, exp)) {
            expandedJoiner.AddWord(exp);
            writtenJoiner.AddWord(value);
        }
    }
    expanded = expandedJoiner.JoinedText();
    written = writtenJoiner.JoinedText();
}

bool PlanTemplate::ExpandProduct(const std::string& value, std::string& exp) {
    const auto match = ProductPattern().FirstMatch(value);
    if (!match) {
        exp = value;
        return false;
    }
    exp = ReplaceAll(value, match->Group(0), std::to_string(Product(match->Group(0))));
    return true;
}

int64_t PlanTemplate::Product(std::string_view text) {
    double result = 1;
    for (const std::string& piece : SplitText(text, "*")) {
        result = std::trunc(result * static_cast<double>(IntegerOfText(piece)));
    }
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(result)) return 0;
    if (result >= kLimit) return std::numeric_limits<int64_t>::max();
    if (result < -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(result);
}

bool PlanTemplate::ExpandRepeat(std::string& value, std::string& exp) {
    const auto match = RepeatPattern().FirstMatch(value);
    if (!match) return false;
    const std::string& mark = match->Group(0);
    value = ReplaceAll(value, mark, "");
    exp = ReplaceAll(exp, mark, "");
    const int64_t count = IntegerOfText(match->Group(1));
    for (int64_t i = 1; i <= count; ++i) {
        expandedJoiner.AddWord(exp + "(" + std::to_string(i) + ")");
        writtenJoiner.AddWord(value);
    }
    return true;
}

bool PlanTemplate::ExpandRange(std::string& value, std::string& exp) {
    const auto match = RangePattern().FirstMatch(value);
    if (!match) {
        exp = value;
        return false;
    }
    exp = ReplaceAll(value, match->Group(0), match->Group(1));
    value = exp;
    return true;
}

}  // namespace veltra
