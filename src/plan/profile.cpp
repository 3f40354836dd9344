#include "plan/profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "plan/cnumbers.h"
#include "plan/fileio.h"
#include "plan/plan.h"
#include "plan/text_fields.h"

namespace {

const char kBom[] = "\xEF\xBB\xBF";

bool IsBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), IsBlank);
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The lookup form of a section or key name: trimmed and lower case. The plan
// itself always asks with such names, so that case costs no copy.
const std::string& LookupName(const std::string& name, std::string& scratch) {
  bool plain = !name.empty() && !IsBlank(name.front()) && !IsBlank(name.back());
  for (char c : name) {
    if (c >= 'A' && c <= 'Z') {
      plain = false;
      break;
    }
  }
  if (plain) return name;
  scratch = Lower(std::string(Trim(name)));
  return scratch;
}

// [begin, end) of `line` without its blanks.
void TrimRange(std::string_view line, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
}

char LowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// FNV-1a of a name's lookup form, so a raw name and its lookup form agree.
uint32_t NameHash(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(LowerChar(c));
    hash *= 16777619u;
  }
  return hash;
}

// A section header "[name]": its lookup name; false for any other line.
bool SectionName(std::string_view line, std::string* name) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size() || line[i] != '[') return false;
  std::size_t end = line.find(']', i + 1);
  if (end == std::string_view::npos) end = line.size();
  std::size_t begin = i + 1;
  TrimRange(line, begin, end);
  name->assign(line.data() + begin, end - begin);
  for (char& c : *name) c = LowerChar(c);
  return true;
}

// The key of a "key=value" line, trimmed; false for comments and lines without "=".
bool KeyOf(std::string_view line, std::string_view* key) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size() || line[i] == ';') return false;
  std::size_t end = line.find('=', i);
  if (end == std::string_view::npos) return false;
  TrimRange(line, i, end);
  *key = line.substr(i, end - i);
  return !key->empty();
}

// Whether two names are the same regardless of case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  }
  return true;
}

// Plan files made on Windows are in the ANSI code page.
std::string Windows1252ToUtf8(const std::string& s) {
  static const uint16_t k80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else if (c < 0xA0) {
      AppendUtf8(out, k80[c - 0x80]);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// [begin, end) of `text` enclosed in one pair of matching quotes, after blanks.
bool Quoted(std::string_view text, std::size_t begin, std::size_t end) {
  return end - begin >= 2 && IsQuote(text[begin]) && text[end - 1] == text[begin];
}

// A value as its line holds it. A line break inside a value would end the
// line and turn the rest into lines of their own; nothing the plan holds
// needs one. A value that is itself wholly quoted gets one more pair, which
// the reader takes off again, so it reads back as it was written.
std::string StoredForm(const std::string& value) {
  std::string out = value;
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::size_t begin = 0;
  std::size_t end = out.size();
  while (begin < end && IsBlank(out[begin])) ++begin;
  while (end > begin && IsBlank(out[end - 1])) --end;
  if (Quoted(out, begin, end)) out = '"' + out + '"';
  return out;
}

}  // namespace

void ProfileFile::Parse(const std::string& raw) {
  preamble_.clear();
  sections_.clear();
  section_index_.clear();
  has_last_ = false;
  text_.clear();
  garbage_ = 0;
  has_bom_ = raw.compare(0, 3, kBom) == 0;
  const std::size_t start = has_bom_ ? 3 : 0;
  if (IsValidUtf8(std::string_view(raw).substr(start))) {
    text_.assign(raw, start, std::string::npos);
  } else {
    text_ = Windows1252ToUtf8(raw.substr(start));
  }
  // Files are held far below 4 GB, so a line's span fits its 32-bit fields.
  if (text_.size() > kMaxText) text_.resize(kMaxText);

  const char* data = text_.data();
  const std::size_t n = text_.size();
  std::size_t pos = 0;
  std::string name;
  while (pos < n) {
    std::size_t end = pos;
    while (end < n && data[end] != '\r' && data[end] != '\n') ++end;
    Line line;
    line.begin = static_cast<uint32_t>(pos);
    line.size = static_cast<uint32_t>(end - pos);
    if (end < n) {
      line.eol = data[end] == '\n' ? kLf : (end + 1 < n && data[end + 1] == '\n' ? kCrLf : kCr);
    }
    pos = end + (line.eol == kCrLf ? 2 : line.eol == kNone ? 0 : 1);

    if (SectionName(TextOf(line), &name)) {
      sections_.emplace_back();
      // Room for a route row's keys without growing line by line.
      sections_.back().lines.reserve(16);
      sections_.back().lines.push_back(line);
      section_index_.emplace(name, sections_.size() - 1);
    } else if (sections_.empty()) {
      preamble_.push_back(line);
    } else {
      Section& section = sections_.back();
      section.lines.push_back(line);
      IndexKey(section, section.lines.size() - 1);
    }
  }
}

ProfileFile::Line ProfileFile::Append(std::string_view text, LineEnd eol) {
  // Rewritten lines leave their old bytes behind; a file rewritten over and
  // over drops them once they are most of what it holds.
  if ((garbage_ > 65536 && garbage_ > text_.size() / 2) || text_.size() + text.size() > kMaxText) {
    Compact();
  }
  if (text_.size() + text.size() > kMaxText) throw std::length_error("profile file too large");
  Line line;
  line.begin = static_cast<uint32_t>(text_.size());
  line.size = static_cast<uint32_t>(text.size());
  line.eol = eol;
  text_.append(text.data(), text.size());
  return line;
}

// Drops the bytes of lines that were rewritten since the file was read.
void ProfileFile::Compact() {
  std::string text;
  auto move = [&](std::vector<Line>& lines) {
    for (Line& line : lines) {
      const std::string_view view = TextOf(line);
      line.begin = static_cast<uint32_t>(text.size());
      text.append(view.data(), view.size());
    }
  };
  move(preamble_);
  for (Section& section : sections_) move(section.lines);
  text_ = std::move(text);
  garbage_ = 0;
}

void ProfileFile::IndexKey(Section& section, std::size_t line) {
  std::string_view key;
  if (KeyOf(TextOf(section.lines[line]), &key)) {
    section.keys.Add(*this, section.lines, key, line);
  }
}

namespace {

// A present key lies at most this far from its home slot, behind at most
// kMaxSameHash others of its hash; a missing one is known missing after as
// many probes. Honest files come nowhere near either.
constexpr std::size_t kMaxProbe = 64;
constexpr int kMaxSameHash = 4;

}  // namespace

std::size_t ProfileFile::KeyIndex::Probe(const ProfileFile& file, const std::vector<Line>& lines,
                                         const std::vector<Slot>& slots, uint32_t hash,
                                         std::string_view name, bool& match) {
  match = false;
  const std::size_t mask = slots.size() - 1;
  int same_hash = 0;
  for (std::size_t step = 0, i = hash & mask; step < kMaxProbe && step < slots.size();
       ++step, i = (i + 1) & mask) {
    if (slots[i].line == 0) return i;
    if (slots[i].hash != hash) continue;
    std::string_view key;
    if (KeyOf(file.TextOf(lines[slots[i].line]), &key) && SameName(key, name)) {
      match = true;
      return i;
    }
    if (++same_hash >= kMaxSameHash) break;
  }
  return slots.size();
}

std::size_t ProfileFile::KeyIndex::Find(const ProfileFile& file, const std::vector<Line>& lines,
                                        const std::string& lookup) const {
  if (slots_.empty()) return 0;
  bool match = false;
  const std::size_t at = Probe(file, lines, slots_, NameHash(lookup), lookup, match);
  if (match) return slots_[at].line;
  if (spilled_.empty()) return 0;
  const auto it = spilled_.find(lookup);
  return it == spilled_.end() ? 0 : it->second;
}

void ProfileFile::KeyIndex::Place(const ProfileFile& file, const std::vector<Line>& lines,
                                  Slot slot, std::string_view name) {
  bool match = false;
  const std::size_t at = Probe(file, lines, slots_, slot.hash, name, match);
  if (at < slots_.size()) {
    slots_[at] = slot;
    ++used_;
  } else {
    spilled_.emplace(Lower(std::string(name)), slot.line);
  }
}

void ProfileFile::KeyIndex::Add(const ProfileFile& file, const std::vector<Line>& lines,
                                std::string_view key, std::size_t line) {
  if ((used_ + 1) * 2 > slots_.size()) {
    // Half full at most, so probes stay short.
    std::vector<Slot> old(std::max<std::size_t>(16, slots_.size() * 2), Slot{0, 0});
    old.swap(slots_);
    used_ = 0;
    for (const Slot& slot : old) {
      std::string_view name;
      if (slot.line != 0 && KeyOf(file.TextOf(lines[slot.line]), &name)) {
        Place(file, lines, slot, name);
      }
    }
  }
  const uint32_t hash = NameHash(key);
  bool match = false;
  const std::size_t at = Probe(file, lines, slots_, hash, key, match);
  if (match) return;
  if (spilled_.empty() && at < slots_.size()) {
    slots_[at] = Slot{hash, static_cast<uint32_t>(line)};
    ++used_;
  } else {
    spilled_.emplace(Lower(std::string(key)), static_cast<uint32_t>(line));
  }
}

bool ProfileFile::Load(const std::string& path, std::string& error) {
  Parse(std::string());
  std::string bytes;
  std::string reason;
  switch (ReadRegularFile(path, kMaxPlanBytes, bytes, reason)) {
    case ReadStatus::Missing:
      return true;
    case ReadStatus::TooLarge:
    case ReadStatus::Failed:
      error = "Cannot read " + path + ": " + reason;
      return false;
    case ReadStatus::Ok:
      break;
  }
  Parse(bytes);
  return true;
}

std::string ProfileFile::Serialize() const {
  static const char* const kEolText[] = {"", "\r\n", "\n", "\r"};
  std::string out;
  out.reserve(text_.size() + 4096);
  if (has_bom_) out += kBom;
  auto emit = [this, &out](const std::vector<Line>& lines) {
    for (const Line& line : lines) {
      out += TextOf(line);
      out += kEolText[line.eol];
    }
  };
  emit(preamble_);
  for (const Section& section : sections_) emit(section.lines);
  return out;
}

bool ProfileFile::Save(const std::string& path, std::string& error) const {
  std::string reason;
  if (ReplaceFile(path, Serialize(), reason)) return true;
  error = "Cannot write " + path + ": " + reason;
  return false;
}

ProfileFile::Section* ProfileFile::FindSection(const std::string& name) {
  return const_cast<Section*>(static_cast<const ProfileFile*>(this)->FindSection(name));
}

const ProfileFile::Section* ProfileFile::FindSection(const std::string& name) const {
  if (has_last_ && name == last_name_) return &sections_[last_section_];
  std::string scratch;
  auto it = section_index_.find(LookupName(name, scratch));
  if (it == section_index_.end()) return nullptr;
  // Sections are only ever added, so the index stays good until the next Parse.
  last_name_ = name;
  last_section_ = it->second;
  has_last_ = true;
  return &sections_[it->second];
}

bool ProfileFile::HasSection(const std::string& section) const {
  return FindSection(section) != nullptr;
}

bool ProfileFile::HasKey(const std::string& section, const std::string& key) const {
  std::string_view line;
  return FindLine(section, key, &line);
}

bool ProfileFile::FindLine(const std::string& section, const std::string& key,
                           std::string_view* line) const {
  const Section* s = FindSection(section);
  if (!s) return false;
  std::string scratch;
  const std::size_t at = s->keys.Find(*this, s->lines, LookupName(key, scratch));
  if (at == 0) return false;
  *line = TextOf(s->lines[at]);
  return true;
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  Section* s = FindSection(section);
  if (!s) {
    // The last line of the file gets its line break before anything follows it.
    Line* last = nullptr;
    if (!sections_.empty()) {
      last = &sections_.back().lines.back();
    } else if (!preamble_.empty()) {
      last = &preamble_.back();
    }
    if (last && last->eol == kNone) last->eol = kCrLf;
    bool first = sections_.empty() && preamble_.empty();
    if (!first && !(last && IsBlankLine(TextOf(*last)))) {
      // A blank line between sections, for people who read the file.
      if (sections_.empty()) {
        preamble_.push_back(Append("", kCrLf));
      } else {
        sections_.back().lines.push_back(Append("", kCrLf));
      }
    }
    const Line header = Append("[" + section + "]", kCrLf);
    sections_.emplace_back();
    sections_.back().lines.push_back(header);
    section_index_.emplace(Lower(std::string(Trim(section))), sections_.size() - 1);
    s = &sections_.back();
  }

  std::string scratch;
  const std::string& lookup = LookupName(key, scratch);
  if (const std::size_t at = s->keys.Find(*this, s->lines, lookup)) {
    // Keep the key as the file spells it; only the value changes.
    const std::string_view old = TextOf(s->lines[at]);
    const std::string text = std::string(old.substr(0, old.find('=') + 1)) + StoredForm(value);
    const LineEnd eol = s->lines[at].eol;
    garbage_ += old.size();
    s->lines[at] = Append(text, eol);
    return;
  }

  // After the last non-blank line of the section; only blank lines (never
  // keys) move down, so the key index stays valid.
  std::size_t at = s->lines.size();
  while (at > 1 && IsBlankLine(TextOf(s->lines[at - 1]))) --at;
  if (s->lines[at - 1].eol == kNone) s->lines[at - 1].eol = kCrLf;
  const Line line = Append(key + "=" + StoredForm(value), kCrLf);
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), line);
  IndexKey(*s, at);
}

std::string ProfileFile::GetString(const std::string& section, const std::string& key,
                                   const std::string& def, std::size_t size) const {
  const std::size_t limit = size > 0 ? size - 1 : 0;
  std::string_view line;
  if (!FindLine(section, key, &line)) return CutUtf8(def, limit);
  std::size_t begin = line.find('=') + 1;
  // Values are C texts to every reader of these files: a NUL byte ends one.
  std::size_t end = std::min(line.find('\0', begin), line.size());
  TrimRange(line, begin, end);
  if (Quoted(line, begin, end)) {
    ++begin;
    --end;
  }
  if (end - begin <= limit) return std::string(line.substr(begin, end - begin));
  // A cut value must not end in a blank: the next load would trim it, and a
  // save and load would change what the file holds.
  std::string cut = CutUtf8(std::string(line.substr(begin, end - begin)), limit);
  while (!cut.empty() && IsBlank(cut.back())) cut.pop_back();
  return cut;
}

int32_t ProfileFile::GetInt(const std::string& section, const std::string& key, int32_t def) const {
  std::string value = GetString(section, key, std::string(), 64);
  if (value.empty()) return def;
  return ParseLong(value.c_str());
}

void ProfileFile::WriteDouble(const std::string& section, const std::string& key, double value) {
  CNumbers c_numbers;
  char text[32];
  int n = std::snprintf(text, sizeof text, "%f", value);
  if (n < 0 || n >= static_cast<int>(sizeof text)) {
    // Too long for the 31 characters a reader takes: a form that reads back exactly.
    std::snprintf(text, sizeof text, "%.17g", value);
  }
  WriteString(section, key, text);
}

void ProfileFile::WriteLong(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

double ProfileFile::ReadDouble(const std::string& section, const std::string& key,
                               double def) const {
  CNumbers c_numbers;
  char deftext[32];
  std::snprintf(deftext, sizeof deftext, "%f", def);
  std::string text = GetString(section, key, deftext, 32);
  double value = std::atof(text.c_str());
  // "nan" or "inf" would poison every fuel sum and margin after it.
  return std::isfinite(value) ? value : 0.0;
}

std::string TextAsUtf8(const std::string& text) {
  return IsValidUtf8(text) ? text : Windows1252ToUtf8(text);
}
