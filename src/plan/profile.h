// An INI-style profile file held in memory, read and rewritten the way the
// Windows profile functions do: names match regardless of case and blanks,
// the first of duplicate sections or keys wins, comments and unknown lines
// are kept byte for byte, written lines end in CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class ProfileFile {
 public:
  ProfileFile() = default;

  // Reads `path`. A missing file is an empty profile (true). Other read
  // failures (not a regular file, too large to be a plan, no permission)
  // return false with the reason in `error`. A file that is not
  // valid UTF-8 is taken as Windows-1252 and converted.
  bool Load(const std::string& path, std::string* error = nullptr);

  // Parses bytes as if read from a file.
  void Parse(const std::string& bytes);

  // Writes the whole profile to `path` in one step (ReplaceFile): the old
  // file or the new one, never a torn one, and never over a device, a
  // directory or a read-only file.
  bool Save(const std::string& path, std::string* error = nullptr) const;

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
  bool HasKey(const std::string& section, const std::string& key) const;

 private:
  enum LineEnd : unsigned char { kNone, kCrLf, kLf, kCr };  // kNone: last line without one
  struct Line {
    std::string text;  // without its line end
    LineEnd eol = kNone;
  };
  struct Section {
    std::vector<Line> lines;  // lines[0] is the "[name]" header
    // Lower-case key -> its first line. Plan sections hold a dozen keys,
    // where a linear search beats hashing and costs no allocation per key;
    // a section grown past that moves to a hash, so no file costs quadratic time.
    static constexpr std::size_t kLinearKeys = 32;
    std::vector<std::pair<std::string, std::size_t>> keys;
    std::unordered_map<std::string, std::size_t> hashed;
    const std::size_t* FindKey(const std::string& lookup) const;
    void AddKey(std::string lookup, std::size_t line);
  };

  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;
  const std::string* FindValue(const std::string& section, const std::string& key) const;
  void IndexKey(Section& section, std::size_t line);

  bool has_bom_ = false;
  std::vector<Line> preamble_;  // bytes before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> section_index_;  // lower-case name -> first
};
