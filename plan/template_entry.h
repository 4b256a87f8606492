// The records a plan template is read into: entries with a name, comment
// lines and numbered sections, each section with its words as written and expanded.
#pragma once

#include <string>
#include <vector>

namespace veltra {

// One section of an entry: "[name]" on a line, then its body of words.
struct TemplateSection {
    std::string name;      // the text between the square brackets (the caller's period count)
    std::string written;   // the words as written (repeat marks removed, ranges cut), joined
    std::string expanded;  // the same words expanded (products computed, repeats numbered)
};

// One entry of a template: the text between two "|+|" separators.
struct TemplateEntry {
    std::string name;      // the text between the angle brackets
    std::string comments;  // every comment line, each followed by CR LF
    // A fresh entry carries one fresh section and a count of 0; reading the sections
    // replaces the list and sets the count to its length.
    std::vector<TemplateSection> sections = std::vector<TemplateSection>(1);
    int sectionCount = 0;
};

}  // namespace veltra
