// An INI-style profile file held in memory, read and rewritten the way the
// Windows profile functions do: names match regardless of case and blanks,
// the first of duplicate sections or keys wins, comments and unknown lines
// are kept byte for byte, written lines end in CR LF. One thread at a time:
// even reading remembers the section it found last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileFile {
 public:
  ProfileFile() = default;

  // Reads `path`. A missing file is an empty profile (true). Other read
  // failures (not a regular file, too large to be a plan, no permission)
  // return false with the reason in `error`. A file that is not
  // valid UTF-8 is taken as Windows-1252 and converted.
  bool Load(const std::string& path, std::string& error);

  // Parses bytes as if read from a file.
  void Parse(const std::string& bytes);

  // Writes the whole profile to `path` in one step (ReplaceFile): the old
  // file or the new one, never a torn one, and never over a device, a
  // directory or a read-only file.
  bool Save(const std::string& path, std::string& error) const;

  // The file's bytes as Save would write them.
  std::string Serialize() const;

  // Sets key=value: replaced in place, or added as the last line of its
  // section, the section being added at the end when missing.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

  // The value trimmed of blanks with one pair of enclosing quotes removed,
  // cut to size-1 bytes at a character boundary; `def` when missing.
  std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                        std::size_t size) const;

  // The value as a signed decimal; `def` when missing or empty.
  int32_t GetInt(const std::string& section, const std::string& key, int32_t def) const;

  void WriteDouble(const std::string& section, const std::string& key, double value);  // "%f"
  void WriteLong(const std::string& section, const std::string& key, int32_t value);   // "%ld"
  // Looks up with "%f" of `def` as the default, reads at most 31 characters, atof.
  double ReadDouble(const std::string& section, const std::string& key, double def) const;

  bool HasSection(const std::string& section) const;
  bool HasAnySection() const { return !sections_.empty(); }
  bool HasKey(const std::string& section, const std::string& key) const;

 private:
  enum LineEnd : unsigned char { kNone, kCrLf, kLf, kCr };  // kNone: last line without one
  // A line is a span of `text_`: the file's bytes, then every line written
  // since, so reading a file allocates nothing per line.
  struct Line {
    uint32_t begin = 0;
    uint32_t size = 0;  // without its line end
    LineEnd eol = kNone;
  };
  // Lower-case key -> its first line, by open addressing over hashes of the
  // names; a name is compared against the line itself, never copied, so a
  // section of any size indexes in linear time without an allocation per key.
  // The hash is no secret, so a file can be made of names that all share one:
  // a key is kept in the table only a few probes from its home slot and
  // only behind a few names of its own hash, and any other goes to a tree,
  // which costs a logarithm whatever the names are.
  class KeyIndex {
   public:
    std::size_t Find(const ProfileFile& file, const std::vector<Line>& lines,
                     const std::string& lookup) const;  // 0 when missing
    // The first of duplicate keys stays.
    void Add(const ProfileFile& file, const std::vector<Line>& lines, std::string_view key,
             std::size_t line);

   private:
    struct Slot {
      uint32_t hash;
      uint32_t line;  // 0: empty (line 0 is the section header, never a key)
    };
    // Where `name` would go in `slots`: its slot, a free slot within reach,
    // or none (slots.size()). `match` tells whether that slot holds the name.
    static std::size_t Probe(const ProfileFile& file, const std::vector<Line>& lines,
                             const std::vector<Slot>& slots, uint32_t hash, std::string_view name,
                             bool& match);
    void Place(const ProfileFile& file, const std::vector<Line>& lines, Slot slot,
               std::string_view name);
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::map<std::string, uint32_t> spilled_;  // lower-case name -> line
  };
  struct Section {
    std::vector<Line> lines;  // lines[0] is the "[name]" header
    KeyIndex keys;
  };

  std::string_view TextOf(const Line& line) const {
    return std::string_view(text_).substr(line.begin, line.size);
  }
  // A new line's text added to `text_`.
  Line Append(std::string_view text, LineEnd eol);
  void Compact();
  static constexpr std::size_t kMaxText = UINT32_MAX;
  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;
  // The whole "key=value" line of a key; false when missing.
  bool FindLine(const std::string& section, const std::string& key, std::string_view* line) const;
  void IndexKey(Section& section, std::size_t line);

  std::string text_;
  std::size_t garbage_ = 0;  // bytes of `text_` no line refers to any more
  bool has_bom_ = false;
  std::vector<Line> preamble_;  // bytes before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> section_index_;  // lower-case name -> first
  // The section asked for last, by the name as asked: the plan reads and
  // writes a section's keys one after another.
  mutable std::string last_name_;
  mutable std::size_t last_section_ = 0;
  mutable bool has_last_ = false;
};

// `text` as UTF-8: unchanged when it is valid UTF-8, else read as Windows-1252,
// the way plan files are.
std::string TextAsUtf8(const std::string& text);
