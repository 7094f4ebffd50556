// Our INI reader and writer against the system's private-profile functions.
//
// The same seeded sequences of reads and writes run through our functions on
// a string and through GetPrivateProfileStringA, GetPrivateProfileIntA,
// WritePrivateProfileStringA, GetPrivateProfileSectionA and
// WritePrivateProfileSectionA on a real file. Every read result must be
// equal, and so must the files after every write, once both are brought to
// the shape in which Wine saves a profile (see normalisedLikeWine).
//
// Wine differs from Windows in a few known ways; where it does we follow
// Windows. Each such case is one EXPECTED DIFFERENCE below, with a test of
// its own that pins down both sides, and the random sequences either avoid
// the construct or account for it exactly. Any other difference fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sjis.h"
#include "settings/ini_text.h"
#include "core/test_support.h"

namespace {

using namespace std::string_literals;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

// ------------------------------------------------------------ the system's side

// Returned for a missing key; no generated value contains the byte 0x01.
constexpr const char* kMissing = "\x01missing";
constexpr DWORD kBufferSize = 1 << 17;

class Profile {
 public:
  explicit Profile(std::string path) : path_(std::move(path)), buffer_(kBufferSize) {}
  const std::string& path() const { return path_; }

  // Wine caches profile files; after touching one directly the cache must go.
  void setBytes(const std::optional<std::string>& bytes) {
    if (bytes) {
      writeBytes(path_, *bytes);
    } else {
      DeleteFileA(path_.c_str());
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
  }
  std::string bytes() const { return readBytes(path_); }

  std::optional<std::string> read(const std::string& section, const std::string& key) {
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buffer_.data(),
                                       kBufferSize, path_.c_str());
    std::string value(buffer_.data(), n);
    if (value == kMissing) return std::nullopt;
    return value;
  }
  int readInt(const std::string& section, const std::string& key, int defaultValue) {
    return static_cast<int>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path_.c_str()));
  }
  void write(const std::string& section, const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
  }
  std::string readSection(const std::string& section) {
    DWORD n = GetPrivateProfileSectionA(section.c_str(), buffer_.data(), kBufferSize, path_.c_str());
    return std::string(buffer_.data(), n) + '\0';
  }
  // `entries` ends with its own "\0\0".
  void writeSection(const std::string& section, const std::string& entries) {
    WritePrivateProfileSectionA(section.c_str(), entries.c_str(), path_.c_str());
  }

 private:
  std::string path_;
  std::vector<char> buffer_;
};

// ------------------------------------------------------------ our side

// Our functions, or a deliberately broken stand-in for them.
struct IniModel {
  std::function<std::optional<std::string>(std::string_view, std::string_view, std::string_view)> read =
      iniReadValue;
  std::function<bool(std::string&, std::string_view, std::string_view, std::string_view)> write =
      iniWriteValue;
  std::function<std::string(std::string_view, std::string_view)> readSection = iniReadSection;
  std::function<bool(std::string&, std::string_view, std::string_view)> writeSection =
      iniWriteSection;
};

// GetPrivateProfileIntA gives the default for an empty value as well as for a
// missing key; a caller of iniParseInt that wants its behaviour checks both.
int readIntLikeProfile(const IniModel& model, std::string_view text, std::string_view section,
                       std::string_view key, int defaultValue) {
  std::optional<std::string> value = model.read(text, section, key);
  return value && !value->empty() ? iniParseInt(*value) : defaultValue;
}

// ------------------------------------------------------------ text helpers

std::size_t charLength(std::string_view text, std::size_t i) {
  return isSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Lines with their line ends (CR LF, LF or a lone CR).
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t i = text.find_first_of("\r\n", begin);
    if (i == std::string_view::npos) i = text.size();
    else i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    lines.push_back(text.substr(begin, i - begin));
    begin = i;
  }
  return lines;
}

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

std::size_t findChar(std::string_view text, char wanted, bool last) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
    if (text[i] != wanted) continue;
    found = i;
    if (!last) break;
  }
  return found;
}

// Wine saves a profile by writing out what it parsed: no blank lines, CR LF
// everywhere, "[name]" with the name cut at the last ']' and trimmed, every
// other line as "key=value" with both trimmed (a line without '=' as its
// trimmed self). Bringing both sides' files to this shape compares their
// content while Wine's rewrite is ignored (EXPECTED DIFFERENCE 1).
std::string normalisedLikeWine(std::string_view text) {
  std::string out;
  for (std::string_view raw : splitLines(text)) {
    std::string_view line = trimmed(withoutLineEnd(raw));
    if (line.empty()) continue;
    std::size_t close = line.front() == '[' ? findChar(line, ']', true) : std::string_view::npos;
    std::size_t equals = findChar(line, '=', false);
    if (close != std::string_view::npos) {
      out += "[" + std::string(trimmed(line.substr(1, close - 1))) + "]";
    } else if (equals != std::string_view::npos) {
      out += std::string(trimmed(line.substr(0, equals))) + "=" +
             std::string(trimmed(line.substr(equals + 1)));
    } else {
      out += line;
    }
    out += "\r\n";
  }
  return out;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); i += charLength(a, i)) {
    if (charLength(a, i) == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (std::toupper(static_cast<unsigned char>(a[i])) !=
               std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool isHeaderOf(std::string_view normalisedLine, std::string_view section) {
  std::string_view line = withoutLineEnd(normalisedLine);
  return line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
         sameName(line.substr(1, line.size() - 2), trimmed(section));
}

bool isHeader(std::string_view normalisedLine) { return normalisedLine.front() == '['; }

std::size_t countSections(std::string_view text, std::string_view section) {
  std::size_t count = 0;
  const std::string normalised = normalisedLikeWine(text);
  for (std::string_view line : splitLines(normalised)) count += isHeaderOf(line, section);
  return count;
}

// Wine's WritePrivateProfileSectionA also empties every later section of the
// same name (EXPECTED DIFFERENCE 6); this does the same to a normalised text.
std::string withLaterDuplicatesEmptied(const std::string& normalised, std::string_view section) {
  std::string out;
  int seen = 0;
  bool dropping = false;
  for (std::string_view line : splitLines(normalised)) {
    if (isHeader(line)) {
      dropping = isHeaderOf(line, section) && seen++ > 0;
      out += line;
    } else if (!dropping) {
      out += line;
    }
  }
  return out;
}

std::string escaped(std::string_view bytes, std::size_t limit = 600) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && out.size() < limit; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    char hex[8];
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else if (c < 0x20 || c >= 0x7F) {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else out += static_cast<char>(c);
  }
  if (out.size() >= limit) out += "...";
  return out;
}

std::string shown(const std::optional<std::string>& value) {
  return value ? "\"" + escaped(*value) + "\"" : "(missing)";
}

// A write of one value leaves every other line as it was: after the common
// leading and trailing lines, at most one old line remains (the replaced one,
// or a last line that gained its line end) and at most three new ones (that
// line, a new header and the new key).
bool changedOnlyAround(std::string_view before, std::string_view after) {
  std::vector<std::string_view> a = splitLines(before), b = splitLines(after);
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    ++tail;
  }
  return a.size() - head - tail <= 1 && b.size() - head - tail <= 3;
}

// ------------------------------------------------------------ random sequences

// Names and values of the generated files. Both bytes of 表 (95 5C), ソ
// (83 5C), ゾ (83 5D) and ポ (83 7C) are Shift_JIS with ASCII second bytes;
// ア (83 41) and ヂ (83 61) differ only in a second byte that looks like 'A'
// and 'a', so a reader that folds second bytes mixes them up.
const std::vector<std::string> kSections = {"Sorvane", "COLOR", "HOLIDAY", "Main_Font",
                                            "表示",    "ゾ",    "ソポ"};
const std::vector<std::string> kKeys = {"DAY_POS", "display_title", "k",  "0101", "表示",
                                        "ソ",      "ア",            "ヂ", "key one"};
const std::vector<std::string> kValues = {
    "1",      "0",       "-20",          "16762980",    "12abc",       " -5",  "0x10",
    "-0x10",  "0o17",    "0b101",        "2147483647",  "-2147483648", "4294967296",
    "元日||0", "ソ|表\\", "\"quoted\"",  "'single'",    "\"unbalanced", "a=b",
    "with inner  blanks",  "",           "\" 42 \"",    "ア",           "ヂ",
    "0X1f",   "000000000000000000000000000012",   "\x1a" "7" "\x1a"};

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}
  unsigned below(unsigned n) { return static_cast<unsigned>(random_() % n); }
  bool chance(unsigned percent) { return below(100) < percent; }
  const std::string& pick(const std::vector<std::string>& items) { return items[below(items.size())]; }

  // The same name with the case of its ASCII letters shuffled.
  std::string caseVariant(const std::string& name) {
    std::string out = name;
    for (std::size_t i = 0; i < out.size(); i += charLength(out, i)) {
      unsigned char c = static_cast<unsigned char>(out[i]);
      if (charLength(out, i) == 1 && std::isalpha(c) && chance(40))
        out[i] = static_cast<char>(std::islower(c) ? std::toupper(c) : std::tolower(c));
    }
    return out;
  }
  // Blanks around a name only for the single-key functions: Wine's section
  // functions take the name as it is (EXPECTED DIFFERENCE 8).
  std::string name(const std::vector<std::string>& pool, bool blanksAround) {
    if (chance(4)) return "Missing";
    std::string n = caseVariant(pick(pool));
    return blanksAround && chance(8) ? " " + n + "\t" : n;
  }
  std::string value() {
    switch (below(8)) {
      case 0: return std::to_string(static_cast<int>(random_()));
      case 1: return std::string(500 + below(4000), static_cast<char>('a' + below(26)));
      default: return pick(kValues);
    }
  }

  // A settings file as a person might have edited it.
  std::optional<std::string> file() {
    if (chance(5)) return std::nullopt;
    const char* ends[] = {"\r\n", "\n", "\r"};
    unsigned endMode = below(10);  // 0-5 CR LF, 6-7 LF, 8-9 mixed
    auto lineEnd = [&]() -> std::string {
      if (endMode < 6) return "\r\n";
      if (endMode < 8) return "\n";
      return ends[below(3)];
    };
    std::vector<std::string> lines;
    if (chance(15)) lines.push_back("x=before any section");
    if (chance(15)) lines.push_back("; written by hand");
    unsigned sections = below(6);
    for (unsigned s = 0; s < sections; ++s) {
      std::string n = caseVariant(pick(kSections));
      const std::string headers[] = {"[" + n + "]", "  [ " + n + " ]  ", "[" + n + "] ; note",
                                     "[" + n + "]\t"};
      lines.push_back(headers[below(4)]);
      unsigned entries = below(7);
      std::vector<std::string> used;
      for (unsigned e = 0; e < entries; ++e) {
        // Now and then the same key again, perhaps in another case.
        std::string k = !used.empty() && chance(30) ? caseVariant(pick(used)) : pick(kKeys);
        used.push_back(k);
        lines.push_back(entryLine(caseVariant(k)));
      }
    }
    std::string text;
    for (const std::string& line : lines) text += line + lineEnd();
    if (!text.empty() && chance(20)) {
      while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    }
    return text;
  }

  // Entries of a whole-section write, each "key=value" (blanks around '='
  // now and then), the list ending in "\0\0".
  std::string sectionEntries() {
    std::string entries;
    unsigned count = below(5);
    for (unsigned i = 0; i < count; ++i) {
      std::string k = caseVariant(pick(kKeys));
      entries += chance(20) ? " " + k + " = " + pick(kValues) : k + "=" + value();
      entries += '\0';
    }
    return entries + '\0';
  }

 private:
  std::string entryLine(const std::string& k) {
    std::string v = chance(10) ? value() : pick(kValues);
    switch (below(12)) {
      case 0: return k + " = " + v;
      case 1: return "  " + k + "\t=\t" + v + "  ";
      case 2: return ";" + k + "=" + v;
      case 3: return "; a comment";
      case 4: return "";
      case 5: return "   ";
      case 6: return "bare words";
      default: return k + "=" + v;
    }
  }

  std::mt19937 random_;
};

struct Outcome {
  int mismatches = 0;
  int operations = 0;
  std::vector<std::string> reports;  // the first few, for the failure message
};

class DifferentialRun {
 public:
  DifferentialRun(const IniModel& model, Profile& profile, Outcome& outcome)
      : model_(model), profile_(profile), outcome_(outcome) {}

  void sequence(unsigned seed, int length) {
    Generator gen(seed);
    std::optional<std::string> start = gen.file();
    seed_ = seed;
    start_ = start.value_or("(no file)");
    ours_ = start.value_or("");
    profile_.setBytes(start);
    for (step_ = 0; step_ < length; ++step_) {
      ++outcome_.operations;
      unsigned kind = gen.below(100);
      std::string section = gen.name(kSections, kind < 75);
      if (kind < 30) {
        std::string key = gen.name(kKeys, true);
        check("read [" + section + "] " + key, shown(model_.read(ours_, section, key)),
              shown(profile_.read(section, key)));
      } else if (kind < 45) {
        std::string key = gen.name(kKeys, true);
        check("read int [" + section + "] " + key,
              std::to_string(readIntLikeProfile(model_, ours_, section, key, -777)),
              std::to_string(profile_.readInt(section, key, -777)));
      } else if (kind < 75) {
        std::string key = gen.name(kKeys, true);
        std::string value = gen.value();
        std::string before = ours_;
        bool changed = model_.write(ours_, section, key, value);
        profile_.write(section, key, value);
        std::string what = "write [" + section + "] " + key + "=" + escaped(value, 60);
        check(what + ": reported change", changed ? "changed" : "unchanged",
              ours_ != before ? "changed" : "unchanged");
        if (!changedOnlyAround(before, ours_)) fail(what + ": other lines changed", ours_, before);
        compareFiles(what);
      } else if (kind < 87) {
        check("read section [" + section + "]", escaped(model_.readSection(ours_, section)),
              escaped(profile_.readSection(section)));
      } else {
        std::string entries = gen.sectionEntries();
        bool duplicated = countSections(ours_, section) > 1;
        std::string before = ours_;
        bool changed = model_.writeSection(ours_, section, entries);
        profile_.writeSection(section, entries);
        std::string what = "write section [" + section + "] " + escaped(entries, 80);
        check(what + ": reported change", changed ? "changed" : "unchanged",
              ours_ != before ? "changed" : "unchanged");
        if (duplicated) {
          // EXPECTED DIFFERENCE 6: account for it, then carry on from our file.
          check(what + " (later duplicates emptied)",
                escaped(withLaterDuplicatesEmptied(normalisedLikeWine(ours_), section), 4000),
                escaped(normalisedLikeWine(profile_.bytes()), 4000));
          profile_.setBytes(ours_);
        } else {
          compareFiles(what);
        }
      }
    }
  }

 private:
  void compareFiles(const std::string& what) {
    check(what + ": file", escaped(normalisedLikeWine(ours_), 4000),
          escaped(normalisedLikeWine(profile_.bytes()), 4000));
  }

  void check(const std::string& what, const std::string& ours, const std::string& system) {
    if (ours == system) return;
    fail(what, "ours:   " + ours, "system: " + system);
  }

  void fail(const std::string& what, const std::string& ours, const std::string& system) {
    if (++outcome_.mismatches > 5) return;
    outcome_.reports.push_back("seed " + std::to_string(seed_) + " step " + std::to_string(step_) +
                               ": " + what + "\n  " + escaped(ours, 4000) + "\n  " +
                               escaped(system, 4000) + "\n  start file: " + escaped(start_) +
                               "\n  our text:   " + escaped(ours_));
  }

  const IniModel& model_;
  Profile& profile_;
  Outcome& outcome_;
  unsigned seed_ = 0;
  int step_ = 0;
  std::string start_;
  std::string ours_;
};

Outcome runSequences(const IniModel& model, unsigned firstSeed, int sequences, int length) {
  TempDir dir;
  Profile profile(dir.file("profile.ini"));
  Outcome outcome;
  DifferentialRun run(model, profile, outcome);
  for (int i = 0; i < sequences; ++i) run.sequence(firstSeed + static_cast<unsigned>(i), length);
  return outcome;
}

std::string joined(const std::vector<std::string>& reports) {
  std::string out;
  for (const std::string& report : reports) out += report + "\n";
  return out;
}

TEST(IniDifferential, RandomSequencesMatchTheSystem) {
  ASSERT_EQ(GetACP(), 932u) << "run with the Japanese ANSI code page (LANG=ja_JP.UTF-8)";
  Outcome outcome = runSequences(IniModel{}, 1000, 400, 24);
  EXPECT_EQ(outcome.operations, 400 * 24);
  EXPECT_EQ(outcome.mismatches, 0) << joined(outcome.reports);
}

// ------------------------------------------------------------ the test's own test

// A reader assembled from iniReadSection, with the faults a reader can have.
struct ReaderFaults {
  bool lastKeyWins = false;
  bool caseSensitive = false;
  bool foldsEveryByte = false;
  bool keepsQuotes = false;
};

std::optional<std::string> faultyRead(const ReaderFaults& faults, std::string_view text,
                                      std::string_view section, std::string_view key) {
  std::string entries = iniReadSection(text, section);
  std::optional<std::string> found;
  key = trimmed(key);
  auto matches = [&](std::string_view name) {
    if (faults.caseSensitive) return name == key;
    if (faults.foldsEveryByte) {
      if (name.size() != key.size()) return false;
      for (std::size_t i = 0; i < name.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) !=
            std::tolower(static_cast<unsigned char>(key[i])))
          return false;
      }
      return true;
    }
    return sameName(name, key);
  };
  for (std::size_t at = 0; at < entries.size() && entries[at] != '\0';) {
    std::string_view entry(entries.c_str() + at);
    at += entry.size() + 1;
    std::size_t equals = findChar(entry, '=', false);
    if (equals == std::string_view::npos || !matches(entry.substr(0, equals))) continue;
    std::string value(entry.substr(equals + 1));
    if (!faults.keepsQuotes && value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
        value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    found = value;
    if (!faults.lastKeyWins) break;
  }
  return found;
}

IniModel withReader(ReaderFaults faults) {
  IniModel model;
  model.read = [faults](std::string_view text, std::string_view section, std::string_view key) {
    return faultyRead(faults, text, section, key);
  };
  return model;
}

TEST(IniDifferential, CatchesDeliberatelyBrokenCode) {
  constexpr int kSequences = 60;
  // The stand-in without faults must agree, or the faulty ones prove nothing.
  EXPECT_EQ(runSequences(withReader({}), 5000, kSequences, 24).mismatches, 0);

  const struct {
    const char* name;
    IniModel model;
  } broken[] = {
      {"last key wins", withReader({.lastKeyWins = true})},
      {"case-sensitive names", withReader({.caseSensitive = true})},
      {"second bytes folded", withReader({.foldsEveryByte = true})},
      {"quotes kept", withReader({.keepsQuotes = true})},
  };
  for (const auto& b : broken)
    EXPECT_GT(runSequences(b.model, 5000, kSequences, 24).mismatches, 0) << b.name;

  IniModel newSectionEveryTime;  // appends a second section instead of using the first
  newSectionEveryTime.write = [](std::string& text, std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (iniReadValue(text, section, key)) return iniWriteValue(text, section, key, value);
    std::string fresh;
    iniWriteValue(fresh, section, key, value);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
    text += fresh;
    return true;
  };
  EXPECT_GT(runSequences(newSectionEveryTime, 5000, kSequences, 24).mismatches, 0);

  IniModel untrimmedSection;  // a section read that keeps the blanks around '='
  untrimmedSection.readSection = [](std::string_view text, std::string_view section) {
    std::string entries = iniReadSection(text, section);
    std::size_t equals = entries.find('=');
    if (equals != std::string::npos) entries.insert(equals, " ");
    return entries;
  };
  EXPECT_GT(runSequences(untrimmedSection, 5000, kSequences, 24).mismatches, 0);
}

// ------------------------------------------------------------ expected differences

class IniExpectedDifference : public ::testing::Test {
 protected:
  TempDir dir;
  Profile profile{dir.file("profile.ini")};
};

// EXPECTED DIFFERENCE 1: Wine rewrites the whole file on every write: blank
// lines go, "k = v" becomes "k=v", every line ends in CR LF. Windows, and we,
// change the one line and leave every other byte alone.
TEST_F(IniExpectedDifference, WineRewritesTheWholeFile) {
  const std::string start = "; mine\r\n[A]\n k = v \n\n[B]\r\ny=1";
  std::string ours = start;
  iniWriteValue(ours, "A", "x", "2");
  EXPECT_EQ(ours, "; mine\r\n[A]\n k = v \nx=2\r\n\n[B]\r\ny=1");
  profile.setBytes(start);
  profile.write("A", "x", "2");
  EXPECT_NE(profile.bytes(), ours);
  EXPECT_EQ(profile.bytes(), normalisedLikeWine(ours));
}

// EXPECTED DIFFERENCE 2: Wine treats ";x=y" as a key named ";x"; for Windows
// (and us) a line starting with ';' is a comment. The random sequences never
// ask for a name that starts with ';'.
TEST_F(IniExpectedDifference, CommentLineIsAKeyForWine) {
  const std::string start = "[A]\r\n;x=y\r\n";
  profile.setBytes(start);
  EXPECT_EQ(profile.read("A", ";x"), "y");
  EXPECT_FALSE(iniReadValue(start, "A", ";x"));
  // Neither lists it in the whole-section read.
  EXPECT_EQ(profile.readSection("A"), "\0"s);
  EXPECT_EQ(iniReadSection(start, "A"), "\0"s);
}

// EXPECTED DIFFERENCE 3: Wine cuts a section name at the last ']' of its
// line, Windows (and we) at the first. The random files put no ']' after a
// header's own.
TEST_F(IniExpectedDifference, SectionNameEndsAtLastBracketInWine) {
  const std::string start = "[A]x]\r\nk=1\r\n";
  profile.setBytes(start);
  EXPECT_EQ(profile.read("A]x", "k"), "1");
  EXPECT_FALSE(profile.read("A", "k"));
  EXPECT_EQ(iniReadValue(start, "A", "k"), "1");
  EXPECT_FALSE(iniReadValue(start, "A]x", "k"));
}

// EXPECTED DIFFERENCE 4: Wine keeps the lines before the first section as a
// section without a name and reads them; for us they belong to no section.
// The random sequences never ask for the empty section name.
TEST_F(IniExpectedDifference, LinesBeforeFirstSectionReadableInWine) {
  const std::string start = "k=0\r\n[A]\r\nk=1\r\n";
  profile.setBytes(start);
  EXPECT_EQ(profile.read("", "k"), "0");
  EXPECT_FALSE(iniReadValue(start, "", "k"));
  EXPECT_EQ(profile.read("A", "k"), iniReadValue(start, "A", "k"));
}

// EXPECTED DIFFERENCE 5: for Wine the lines under a "[]" line are in no
// section it lets us read, and its rewrite drops the "[]" line, so that they
// join the section above. We read "[]" as the header of a section with an
// empty name, and keep it. The random files contain no "[]".
TEST_F(IniExpectedDifference, EmptySectionHeaderDroppedByWine) {
  const std::string start = "[A]\r\nx=1\r\n[]\r\ny=2\r\n";
  profile.setBytes(start);
  EXPECT_FALSE(profile.read("", "y"));
  EXPECT_FALSE(profile.read("A", "y"));
  profile.write("A", "z", "1");
  EXPECT_EQ(profile.bytes(), "[A]\r\nx=1\r\nz=1\r\ny=2\r\n");
  EXPECT_EQ(profile.read("A", "y"), "2");

  std::string ours = start;
  iniWriteValue(ours, "A", "z", "1");
  EXPECT_EQ(ours, "[A]\r\nx=1\r\nz=1\r\n[]\r\ny=2\r\n");
  EXPECT_FALSE(iniReadValue(ours, "A", "y"));
  EXPECT_EQ(iniReadValue(ours, "", "y"), "2");
}

// EXPECTED DIFFERENCE 6: a whole-section write in Wine also empties every
// later section of the same name. Reads only ever see the first section, so
// we leave the later ones (lines we do not own) alone. The random sequences
// compare such writes after doing to our file what Wine does.
TEST_F(IniExpectedDifference, SectionWriteEmptiesLaterDuplicatesInWine) {
  const std::string start = "[H]\r\na=1\r\n[B]\r\nb=2\r\n[h]\r\nc=3\r\n";
  std::string ours = start;
  iniWriteSection(ours, "H", "n=1\0\0"s);
  EXPECT_EQ(ours, "[H]\r\nn=1\r\n[B]\r\nb=2\r\n[h]\r\nc=3\r\n");
  profile.setBytes(start);
  profile.writeSection("H", "n=1\0\0"s);
  EXPECT_EQ(profile.bytes(), "[H]\r\nn=1\r\n[B]\r\nb=2\r\n[h]\r\n");
  EXPECT_EQ(profile.bytes(), withLaterDuplicatesEmptied(normalisedLikeWine(ours), "H"));
}

// EXPECTED DIFFERENCE 7: in a whole-section write Wine drops an entry without
// '=' (it takes it as "delete this key"); we write every entry as given. The
// program only writes "key=value" entries, and so do the random sequences.
TEST_F(IniExpectedDifference, SectionWriteDropsEntriesWithoutEqualsInWine) {
  std::string ours;
  iniWriteSection(ours, "H", "a=1\0bare\0\0"s);
  EXPECT_EQ(ours, "[H]\r\na=1\r\nbare\r\n");
  profile.setBytes(std::nullopt);
  profile.writeSection("H", "a=1\0bare\0\0"s);
  EXPECT_EQ(profile.bytes(), "[H]\r\na=1\r\n");
}

// EXPECTED DIFFERENCE 8: Wine's whole-section functions take the section
// name as given, blanks and all (while its single-key functions trim it), so
// " A " finds nothing and a write to " B " adds to [B] without emptying it.
// We trim names everywhere. The random sequences pad names only for the
// single-key functions.
TEST_F(IniExpectedDifference, SectionFunctionsDoNotTrimTheNameInWine) {
  const std::string start = "[A]\r\nx=1\r\n[B]\r\ny=2\r\n";
  profile.setBytes(start);
  EXPECT_EQ(profile.readSection(" A "), "\0"s);
  EXPECT_EQ(profile.read(" A ", "x"), "1");
  EXPECT_EQ(iniReadSection(start, " A "), "x=1\0\0"s);
  profile.writeSection(" B ", "n=1\0\0"s);
  EXPECT_EQ(profile.bytes(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\nn=1\r\n");
  std::string ours = start;
  iniWriteSection(ours, " B ", "n=1\0\0"s);
  EXPECT_EQ(ours, "[A]\r\nx=1\r\n[B]\r\nn=1\r\n");
}

// Not a difference but an assumption of the random sequences: the system's
// integer read gives the default for an empty value, not 0.
TEST_F(IniExpectedDifference, EmptyValueGivesTheDefaultInteger) {
  profile.setBytes("[A]\r\nk=\r\nq=\"\"\r\n");
  EXPECT_EQ(profile.readInt("A", "k", 9), 9);
  EXPECT_EQ(profile.readInt("A", "q", 9), 9);
  EXPECT_EQ(profile.readInt("A", "missing", 9), 9);
}

}  // namespace
