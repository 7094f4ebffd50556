#include "settings/ini_text.h"

#include <cstdint>

#include "platform/sjis.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Besides space and tab, the profile functions also trim vertical tab, form
// feed and the old end-of-file mark Ctrl-Z. None of them can be the second
// byte of a double-byte character, so trimming byte by byte is safe.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}


// Index of the first single-byte `wanted`, skipping double-byte characters
// so that a second byte such as ']' (0x5D) is never taken for it.
std::size_t findSingleByte(std::string_view text, char wanted) {
  for (std::size_t i = 0; i < text.size(); i += sjisCharLength(text, i)) {
    if (text[i] == wanted) return i;
  }
  return std::string_view::npos;
}

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Section and key names match without regard to the case of ASCII letters.
// Both bytes of a double-byte character must match exactly: "ア" (83 41)
// is not "ャ"'s neighbour 83 61 just because 0x41 is 'A' and 0x61 is 'a'.
bool namesMatch(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    std::size_t length = sjisCharLength(a, i);
    if (length == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (foldAscii(a[i]) != foldAscii(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

// One line of the text. CR LF, a lone LF and a lone CR all end a line, as
// they do for the profile functions; `end` is past the line end, if any.
struct Line {
  std::size_t begin = 0;
  std::size_t contentEnd = 0;
  std::size_t end = 0;
};

Line lineAt(std::string_view text, std::size_t begin) {
  Line line;
  line.begin = begin;
  std::size_t i = begin;
  while (i < text.size() && !isLineEnd(text[i])) ++i;
  line.contentEnd = i;
  if (i < text.size()) i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
  line.end = i;
  return line;
}

enum class LineKind { Blank, Comment, Section, Entry, Other };

struct ParsedLine {
  LineKind kind = LineKind::Blank;
  std::string_view name;      // section name or key, trimmed
  std::string_view rawValue;  // everything after '=' (entries only)
  std::size_t valueBegin = 0; // index of rawValue in the whole text
};

// The name of a section header line, or nothing when the line is no header.
bool sectionHeaderName(std::string_view trimmed, std::string_view* name) {
  if (trimmed.empty() || trimmed.front() != '[') return false;
  // The name ends at the first ']'; anything after it is ignored.
  std::size_t close = findSingleByte(trimmed.substr(1), ']');
  if (close == std::string_view::npos) return false;
  *name = trimBlanks(trimmed.substr(1, close));
  return true;
}

ParsedLine parseLine(std::string_view text, const Line& line) {
  ParsedLine parsed;
  std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
  std::string_view trimmed = trimBlanks(content);
  if (trimmed.empty()) return parsed;
  if (trimmed.front() == ';') {
    parsed.kind = LineKind::Comment;
    return parsed;
  }
  if (sectionHeaderName(trimmed, &parsed.name)) {
    parsed.kind = LineKind::Section;
    return parsed;
  }
  std::size_t equals = findSingleByte(content, '=');
  if (equals == std::string_view::npos) {
    parsed.kind = LineKind::Other;
    parsed.name = trimmed;
    return parsed;
  }
  parsed.kind = LineKind::Entry;
  parsed.name = trimBlanks(content.substr(0, equals));
  parsed.rawValue = content.substr(equals + 1);
  parsed.valueBegin = line.begin + equals + 1;
  return parsed;
}

// Where the first section of a name lies. Lines before the first section
// header belong to no section and are never found.
struct SectionSpan {
  bool found = false;
  std::size_t bodyBegin = 0; // just past the header line
  std::size_t bodyEnd = 0;   // just past the last line that is not blank
  std::size_t end = 0;       // the next header, or the end of the text
};

// Every read and write walks the whole file, so this looks at no more of a
// line than it must: whether it is blank, or a section header.
SectionSpan findSection(std::string_view text, std::string_view name) {
  SectionSpan span;
  for (std::size_t pos = 0; pos < text.size();) {
    Line line = lineAt(text, pos);
    std::string_view trimmed = trimBlanks(text.substr(line.begin, line.contentEnd - line.begin));
    std::string_view header;
    bool isHeader = sectionHeaderName(trimmed, &header);
    if (span.found) {
      if (isHeader) break;
      if (!trimmed.empty()) span.bodyEnd = line.end;
    } else if (isHeader && namesMatch(header, name)) {
      span.found = true;
      span.bodyBegin = span.bodyEnd = line.end;
    }
    pos = line.end;
    span.end = pos;
  }
  return span;
}

// Calls `visit(line, parsed)` for each line of the section's body until it
// returns true; returns whether it did.
template <typename Visit>
bool forEachBodyLine(std::string_view text, const SectionSpan& span, Visit visit) {
  for (std::size_t pos = span.bodyBegin; pos < span.end;) {
    Line line = lineAt(text, pos);
    if (visit(line, parseLine(text, line))) return true;
    pos = line.end;
  }
  return false;
}

// The first entry of the section whose key matches.
bool findEntry(std::string_view text, const SectionSpan& span, std::string_view key,
               ParsedLine* entry) {
  return forEachBodyLine(text, span, [&](const Line&, const ParsedLine& parsed) {
    if (parsed.kind != LineKind::Entry || !namesMatch(parsed.name, key)) return false;
    *entry = parsed;
    return true;
  });
}

// A line written at `pos` must not be glued to a last line that has no end.
std::string_view lineEndNeededAt(std::string_view text, std::size_t pos) {
  return pos > 0 && !isLineEnd(text[pos - 1]) ? kLineEnd : std::string_view();
}

std::string sectionHeader(std::string_view section) {
  std::string header = "[";
  header.append(section);
  header.append("]");
  header.append(kLineEnd);
  return header;
}

void appendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(kLineEnd);
}

// Puts `lines` where the section's body ends, or a new section holding them
// at the end of the text.
void insertIntoSection(std::string& text, const SectionSpan& span, std::string_view section,
                       std::string_view lines) {
  std::size_t pos = span.found ? span.bodyEnd : text.size();
  std::string insertion(lineEndNeededAt(text, pos));
  if (!span.found) insertion += sectionHeader(section);
  insertion.append(lines);
  text.insert(pos, insertion);
}

}  // namespace

std::optional<std::string> iniReadValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  SectionSpan span = findSection(text, trimBlanks(section));
  ParsedLine entry;
  if (!span.found || !findEntry(text, span, trimBlanks(key), &entry)) return std::nullopt;
  std::string_view value = trimBlanks(entry.rawValue);
  // Quotes and blanks are below 0x40, so neither can be a second byte.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool iniWriteValue(std::string& text, std::string_view section, std::string_view key,
                   std::string_view value) {
  section = trimBlanks(section);
  key = trimBlanks(key);
  SectionSpan span = findSection(text, section);
  ParsedLine entry;
  if (span.found && findEntry(text, span, key, &entry)) {
    // Only the bytes after '=' change; the key keeps its spelling and blanks.
    if (entry.rawValue == value) return false;
    text.replace(entry.valueBegin, entry.rawValue.size(), value);
    return true;
  }
  std::string line(key);
  line += '=';
  line.append(value);
  line.append(kLineEnd);
  insertIntoSection(text, span, section, line);
  return true;
}

int iniParseInt(std::string_view value) {
  // The profile functions read an integer's text into a 30-character buffer
  // before parsing it, so only its first 29 characters ever count.
  value = value.substr(0, 29);
  std::size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    switch (value[i + 1]) {
      case 'x': base = 16; break;
      case 'o': base = 8; break;
      case 'b': base = 2; break;
      default: break;
    }
    if (base != 10) i += 2;
  }
  // Overflow wraps around, as it does in the system's own parser.
  std::uint32_t result = 0;
  for (; i < value.size(); ++i) {
    char c = value[i];
    unsigned digit = c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
                     : c >= 'a' && c <= 'z' ? static_cast<unsigned>(c - 'a' + 10)
                     : c >= 'A' && c <= 'Z' ? static_cast<unsigned>(c - 'A' + 10)
                                            : 99u;
    if (digit >= base) break;
    result = result * base + digit;
  }
  if (negative) result = 0u - result;
  return static_cast<int>(result);
}

std::string iniReadSection(std::string_view text, std::string_view section) {
  std::string out;
  SectionSpan span = findSection(text, trimBlanks(section));
  if (span.found) {
    forEachBodyLine(text, span, [&](const Line&, const ParsedLine& parsed) {
      if (parsed.kind == LineKind::Entry) {
        out.append(parsed.name);
        out += '=';
        out.append(trimBlanks(parsed.rawValue));
        out += '\0';
      } else if (parsed.kind == LineKind::Other) {
        out.append(parsed.name);
        out += '\0';
      }
      return false;
    });
  }
  out += '\0';
  return out;
}

bool iniWriteSection(std::string& text, std::string_view section, std::string_view entries) {
  section = trimBlanks(section);
  std::string lines;
  // The list ends at its first empty entry (the second NUL of "\0\0") or at
  // the end of the view.
  while (!entries.empty() && entries.front() != '\0') {
    std::size_t nul = entries.find('\0');
    appendLine(lines, entries.substr(0, nul));
    entries.remove_prefix(nul == std::string_view::npos ? entries.size() : nul + 1);
  }
  SectionSpan span = findSection(text, section);
  if (!span.found) {
    // Nothing to keep is no reason to add an empty section.
    if (lines.empty()) return false;
    insertIntoSection(text, span, section, lines);
    return true;
  }
  // The old body goes; blank lines after it stay, as they part the sections.
  std::string replacement;
  if (!lines.empty()) replacement = lineEndNeededAt(text, span.bodyBegin);
  replacement += lines;
  std::string_view old = std::string_view(text).substr(span.bodyBegin, span.bodyEnd - span.bodyBegin);
  if (old == replacement) return false;
  text.replace(span.bodyBegin, old.size(), replacement);
  return true;
}
