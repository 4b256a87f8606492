// Reads plan templates: entries separated by "|+|", each with a name in
// angle brackets, "#" comment lines and "[name]" sections whose words are plan types,
// with marks for products ("2*3"), ranges ("3~7") and repeats ("(3)" or "（3）").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plan/template_entry.h"
#include "plan/word_joiner.h"
#include "platform/window_system.h"

namespace veltra {

class PlanTemplate {
  public:
    // The window system shows the format message of an entry without a name.
    explicit PlanTemplate(WindowSystem& windows) : windows(windows) {}

    // Replaces entries with one entry per piece of the text split at "|+|" and reads
    // each; returns the number of entries.
    int ParseTemplate(std::string_view templateText, std::vector<TemplateEntry>& entries);
    // name := the text between the first "<" and the last ">" of a line. None: the
    // format message with the whole entry text, name unchanged, false.
    bool ReadName(std::string_view entryText, std::string& name);
    // Appends every "#" comment (rest of its line, a CR included) plus CR LF; false
    // when there is none.
    bool ReadComments(std::string_view entryText, std::string& comments);
    // Replaces the entry's sections with one per "[name]" line and its body.
    bool ReadSections(std::string_view entryText, TemplateEntry& entry);
    // Joins the body's words, five per line, as expanded and as written.
    void ExpandBody(std::string_view body, std::string& expanded, std::string& written);
    // exp := value with its first product ("2*3*4", "2*") computed; false when none.
    bool ExpandProduct(const std::string& value, std::string& exp);
    // The product of the integers of the pieces of text split at "*", on doubles cut
    // towards zero (saturated to the 64-bit range).
    int64_t Product(std::string_view text);
    // A repeat mark "(d)" or "（d）": removed from both words, and the words added d
    // times to the joiners (expanded ones numbered "(1)".."(d)"); false when none.
    bool ExpandRepeat(std::string& value, std::string& exp);
    // A range "a~b": replaced by a in both words; false when none.
    bool ExpandRange(std::string& value, std::string& exp);

    const WordJoiner& WrittenJoiner() const { return writtenJoiner; }
    const WordJoiner& ExpandedJoiner() const { return expandedJoiner; }

  private:
    WindowSystem& windows;
    WordJoiner writtenJoiner;
    WordJoiner expandedJoiner;
};

}  // namespace veltra
