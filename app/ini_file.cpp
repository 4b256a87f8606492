// Parses an INI file into its lines, finds entries, and rewrites the file with one
// line changed or added.
#include "app/ini_file.h"

#include <optional>
#include <utility>
#include <vector>

#include "base/gbk_text.h"
#include "platform/file_contents.h"

namespace veltra {
namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

enum class LineKind { Other, Section, Key };

// One line of the file. raw keeps its bytes (without the line end) so that lines the
// writer does not change are written back exactly as they were read.
struct Line {
    std::string raw;
    LineKind kind = LineKind::Other;
    bool named = false;  // the name decoded (a section header can fail to)
    std::string name;    // UTF-8, trimmed
    std::string value;   // UTF-8, trimmed, quotes removed; keys only
};

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// UTF-8 never uses ASCII bytes inside a multibyte character, so folding bytes below
// 0x80 folds exactly the ASCII letters and leaves Chinese names compared byte for byte.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

Line ParseLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    const std::optional<std::string> decoded = GbkToUtf8(line.raw);
    if (!decoded) {
        // A line starts at a character boundary, so a leading '[' is a header even when
        // its name does not decode. It matches no name but still ends the section above.
        const std::string_view bytes = Trim(line.raw);
        if (!bytes.empty() && bytes.front() == '[') line.kind = LineKind::Section;
        return line;
    }
    const std::string_view text = Trim(*decoded);
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close == std::string_view::npos) return line;
        line.kind = LineKind::Section;
        line.named = true;
        line.name = Trim(text.substr(1, close - 1));
        return line;
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return line;
    line.kind = LineKind::Key;
    line.named = true;
    line.name = Trim(text.substr(0, equals));
    line.value = Unquote(Trim(text.substr(equals + 1)));
    return line;
}

// Lines split at LF, a CR before the LF dropped; a line end after the last line gives
// no extra empty line.
std::vector<Line> ParseLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.push_back(ParseLine(std::string(bytes.substr(start, stop - start))));
        start = next;
    }
    return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
    std::string bytes;
    for (const Line& line : lines) {
        bytes += line.raw;
        bytes += "\r\n";
    }
    return bytes;
}

// Where a section lies: its header line and the first line after it that is not
// part of it (the next header or the end).
struct SectionSpan {
    size_t header = 0;
    size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !lines[i].named) continue;
        if (!SameName(lines[i].name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, SectionSpan span,
                              std::string_view key) {
    for (size_t i = span.header + 1; i < span.end; ++i) {
        if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key)) return i;
    }
    return std::nullopt;
}

// A new key goes after the section's last entry, so that blank lines and comments
// leading into the next section stay with it.
size_t InsertionPoint(const std::vector<Line>& lines, SectionSpan span) {
    size_t at = span.header + 1;
    for (size_t i = span.header + 1; i < span.end; ++i) {
        const std::string_view text = Trim(lines[i].raw);
        if (!text.empty() && text.front() != ';') at = i + 1;
    }
    return at;
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool StorableSection(std::string_view section) {
    return !section.empty() && !HasLineBreakOrNul(section);
}

bool StorableKey(std::string_view key) {
    return !key.empty() && !HasLineBreakOrNul(key) && key.find('=') == std::string_view::npos &&
           key.front() != '[' && key.front() != ';';
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path(std::move(path)) {}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
    const FileReadResult file = ReadFileContents(path);
    if (file.status != FileReadStatus::Ok) return std::string(fallback);
    const std::vector<Line> lines = ParseLines(file.bytes);
    const std::optional<SectionSpan> span = FindSection(lines, Trim(section));
    if (!span) return std::string(fallback);
    const std::optional<size_t> at = FindKey(lines, *span, Trim(key));
    if (!at) return std::string(fallback);
    return lines[*at].value;
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
    section = Trim(section);
    key = Trim(key);
    if (!StorableSection(section) || !StorableKey(key) || HasLineBreakOrNul(value)) return false;
    const std::optional<std::string> sectionBytes = Utf8ToGbk(section);
    const std::optional<std::string> keyBytes = Utf8ToGbk(key);
    const std::optional<std::string> valueBytes = Utf8ToGbk(value);
    if (!sectionBytes || !keyBytes || !valueBytes) return false;

    // A file that exists but cannot be read is not rewritten: its content would be lost.
    const FileReadResult file = ReadFileContents(path);
    if (file.status == FileReadStatus::Failed) return false;
    std::vector<Line> lines = ParseLines(file.bytes);

    const std::optional<SectionSpan> span = FindSection(lines, section);
    if (!span) {
        lines.push_back(ParseLine("[" + *sectionBytes + "]"));
        lines.push_back(ParseLine(*keyBytes + "=" + *valueBytes));
    } else if (const std::optional<size_t> at = FindKey(lines, *span, key)) {
        // Keep the line's own spelling of the key and its spacing around the '='; '=' is
        // never the second byte of a GBK character.
        Line& line = lines[*at];
        const size_t valueStart = line.raw.find_first_not_of(" \t", line.raw.find('=') + 1);
        line.raw = line.raw.substr(0, valueStart) + *valueBytes;
    } else {
        const size_t insertAt = InsertionPoint(lines, *span);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                     ParseLine(*keyBytes + "=" + *valueBytes));
    }
    return ReplaceFileContents(path, JoinLines(lines));
}

}  // namespace veltra
