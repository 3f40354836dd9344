#include "data/data_lines.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kChunk = 1 << 18;
}  // namespace

DataLines::DataLines() = default;

DataLines::~DataLines() {
  if (zs_ready_) inflateEnd(&zs_);
}

bool DataLines::Open(const std::string& path, std::string& error) {
  const ReadStatus status = file_.Open(path, error);
  if (status == ReadStatus::Missing) error = "no such file";
  if (status != ReadStatus::Ok) return false;
  raw_.resize(kChunk);
  const long got = file_.Read(raw_.data(), raw_.size(), error);
  if (got < 0) return false;
  consumed_ = static_cast<unsigned long long>(got);
  gzip_ = got >= 2 && static_cast<unsigned char>(raw_[0]) == 0x1f &&
          static_cast<unsigned char>(raw_[1]) == 0x8b;
  if (gzip_) {
    // 16 + window bits: a gzip header and trailer around the deflate stream.
    if (inflateInit2(&zs_, 16 + MAX_WBITS) != Z_OK) {
      error = "cannot start decompression";
      return false;
    }
    zs_ready_ = true;
    zs_.next_in = reinterpret_cast<Bytef*>(raw_.data());
    zs_.avail_in = static_cast<uInt>(got);
  } else {
    text_.assign(raw_.begin(), raw_.begin() + got);
    at_end_ = got == 0;
  }
  return true;
}

double DataLines::fraction() const {
  return file_.size() == 0
             ? 1.0
             : std::min(1.0, static_cast<double>(consumed_) / static_cast<double>(file_.size()));
}

// Appends more text after what is still unread; false when nothing came.
bool DataLines::Fill() {
  if (at_end_) return false;
  text_.erase(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
  if (!gzip_) {
    const std::size_t old = text_.size();
    text_.resize(old + kChunk);
    const long got = file_.Read(text_.data() + old, kChunk, error_);
    text_.resize(old + static_cast<std::size_t>(std::max(got, 0L)));
    if (got <= 0) at_end_ = true;
    consumed_ += static_cast<unsigned long long>(std::max(got, 0L));
    return got > 0;
  }
  const std::size_t old = text_.size();
  std::size_t produced = 0;
  while (produced == 0 && !stream_end_) {
    if (zs_.avail_in == 0) {
      const long got = file_.Read(raw_.data(), raw_.size(), error_);
      if (got < 0) break;
      if (got == 0) {
        error_ = "the compressed file ends early";
        break;
      }
      consumed_ += static_cast<unsigned long long>(got);
      zs_.next_in = reinterpret_cast<Bytef*>(raw_.data());
      zs_.avail_in = static_cast<uInt>(got);
    }
    text_.resize(old + kChunk);
    zs_.next_out = reinterpret_cast<Bytef*>(text_.data() + old);
    zs_.avail_out = static_cast<uInt>(kChunk);
    const int rc = inflate(&zs_, Z_NO_FLUSH);
    produced = kChunk - zs_.avail_out;
    text_.resize(old + produced);
    if (rc == Z_STREAM_END) {
      stream_end_ = true;
    } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
      error_ = "the compressed file is damaged";
      break;
    }
  }
  if (produced == 0) at_end_ = true;
  return produced > 0;
}

bool DataLines::Next(std::string_view& line) {
  for (;;) {
    const char* begin = text_.data() + start_;
    const std::size_t avail = text_.size() - start_;
    // memchr must not be handed the null data of an empty buffer.
    const void* nl = avail > 0 ? std::memchr(begin, '\n', avail) : nullptr;
    if (nl) {
      std::size_t len = static_cast<std::size_t>(static_cast<const char*>(nl) - begin);
      start_ += len + 1;
      if (len > 0 && begin[len - 1] == '\r') --len;
      line = std::string_view(begin, len);
      return true;
    }
    if (!Fill()) {
      if (text_.size() == start_) return false;
      // The last line has no line end.
      std::size_t len = text_.size() - start_;
      const char* last = text_.data() + start_;
      start_ = text_.size();
      if (len > 0 && last[len - 1] == '\r') --len;
      line = std::string_view(last, len);
      return true;
    }
  }
}

bool SplitCsvRecord(std::string_view record, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  bool in_field_quotes = false;
  for (std::size_t i = 0; i < record.size(); ++i) {
    const char c = record[i];
    if (in_field_quotes) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < record.size() && record[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        in_field_quotes = false;
      }
    } else if (c == '"' && field.empty() && !quoted) {
      in_field_quotes = quoted = true;
    } else if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
      quoted = false;
    } else {
      field += c;
    }
  }
  if (in_field_quotes) return false;
  fields.push_back(std::move(field));
  return true;
}
