#include "plan/text_fields.h"

#include <utf8proc.h>

#include <cctype>
#include <charconv>
#include <cmath>

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

// The length of the character at `at`, or a negative utf8proc error.
utf8proc_ssize_t NextChar(std::string_view text, std::size_t at) {
  utf8proc_int32_t code_point = 0;
  return utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data() + at),
                          static_cast<utf8proc_ssize_t>(text.size() - at), &code_point);
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    // Plan files are mostly ASCII, which needs no decoding.
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    const utf8proc_ssize_t n = NextChar(text, at);
    if (n <= 0) return false;
    at += static_cast<std::size_t>(n);
  }
  return true;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  const utf8proc_ssize_t n = NextChar(text, at);
  return n <= 0 ? 1 : static_cast<std::size_t>(n);
}

void AppendUtf8(std::string& out, int32_t code_point) {
  utf8proc_uint8_t bytes[4];
  const utf8proc_ssize_t n = utf8proc_encode_char(code_point, bytes);
  out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
}

void SplitBlanks(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
}

bool ParseInteger(std::string_view text, int64_t& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool ParseDecimal(std::string_view text, double& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool ValidPosition(double lat, double lon) {
  return std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string PrintableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u != 0x7f) {
      out += c;
      continue;
    }
    if (c == '\t' || c == '\n' || c == '\r') {  // as a plan file stores line breaks
      out += ' ';
      continue;
    }
    static const char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[u >> 4];
    out += kHex[u & 0xf];
  }
  return out;
}
