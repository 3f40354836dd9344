#include "data/data_lines.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kChunk = 1 << 18;
// Text compresses well, but not this well: a file that inflates past this
// many times its size plus a margin is a bomb, and reading stops there.
constexpr unsigned long long kInflateRatio = 16;
constexpr unsigned long long kInflateMargin = 64ULL << 20;

bool GzipMagic(const unsigned char* bytes) {
  return bytes[0] == 0x1f && bytes[1] == 0x8b;
}
}  // namespace

char* TextBuffer::Room(std::size_t n) {
  // Never null, so an empty file's zero bytes are copied to somewhere.
  if (size_ + n > capacity_ || !bytes_) {
    const std::size_t capacity = std::max({size_ + n, 2 * capacity_, std::size_t{4096}});
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (size_ > 0) std::memcpy(bigger.get(), bytes_.get(), size_);
    bytes_ = std::move(bigger);
    capacity_ = capacity;
  }
  return bytes_.get() + size_;
}

void TextBuffer::DropFront(std::size_t n) {
  if (n < size_) std::memmove(bytes_.get(), bytes_.get() + n, size_ - n);
  size_ -= std::min(n, size_);
}

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
  gzip_ = got >= 2 && GzipMagic(reinterpret_cast<const unsigned char*>(raw_.data()));
  if (gzip_) {
    // 16 + window bits: a gzip header and trailer around the deflate stream.
    if (inflateInit2(&zs_, 16 + MAX_WBITS) != Z_OK) {
      error = "cannot start decompression";
      return false;
    }
    zs_ready_ = true;
    zs_.next_in = reinterpret_cast<Bytef*>(raw_.data());
    zs_.avail_in = static_cast<uInt>(got);
    inflate_limit_ = kInflateMargin + kInflateRatio * file_.size();
  } else {
    std::memcpy(text_.Room(static_cast<std::size_t>(got)), raw_.data(),
                static_cast<std::size_t>(got));
    text_.Commit(static_cast<std::size_t>(got));
    at_end_ = got == 0;
  }
  return true;
}

double DataLines::fraction() const {
  return file_.size() == 0
             ? 1.0
             : std::min(1.0, static_cast<double>(consumed_) / static_cast<double>(file_.size()));
}

// Past the end of one gzip member: another member goes on (what `cat a.gz
// b.gz` and parallel compressors write), anything else is left over.
bool DataLines::NextMember() {
  if (zs_.avail_in < 2) {
    std::memmove(raw_.data(), zs_.next_in, zs_.avail_in);
    const long got = file_.Read(raw_.data() + zs_.avail_in, raw_.size() - zs_.avail_in, error_);
    zs_.next_in = reinterpret_cast<Bytef*>(raw_.data());
    if (got > 0) {
      consumed_ += static_cast<unsigned long long>(got);
      zs_.avail_in += static_cast<uInt>(got);
    }
  }
  if (zs_.avail_in >= 2 && GzipMagic(zs_.next_in)) {
    inflateReset(&zs_);
    return true;
  }
  trailing_ = zs_.avail_in + (file_.size() > consumed_ ? file_.size() - consumed_ : 0);
  zs_.avail_in = 0;
  return false;
}

bool DataLines::Inflate() {
  std::size_t produced = 0;
  while (produced == 0 && !at_end_) {
    if (member_done_) {
      if (!NextMember()) {
        at_end_ = true;
        break;
      }
      member_done_ = false;
    }
    if (zs_.avail_in == 0) {
      const long got = file_.Read(raw_.data(), raw_.size(), error_);
      if (got <= 0) {
        if (got == 0) error_ = "the compressed file ends early";
        at_end_ = true;
        break;
      }
      consumed_ += static_cast<unsigned long long>(got);
      zs_.next_in = reinterpret_cast<Bytef*>(raw_.data());
      zs_.avail_in = static_cast<uInt>(got);
    }
    zs_.next_out = reinterpret_cast<Bytef*>(text_.Room(kChunk));
    zs_.avail_out = static_cast<uInt>(kChunk);
    const int rc = inflate(&zs_, Z_NO_FLUSH);
    produced = kChunk - zs_.avail_out;
    text_.Commit(produced);
    inflated_ += produced;
    if (rc == Z_STREAM_END) {
      ++members_;
      member_done_ = true;
    } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
      error_ = "the compressed file is damaged";
      at_end_ = true;
    }
    if (inflated_ > inflate_limit_) {
      error_ = "the compressed file inflates to more than " + std::to_string(inflate_limit_ >> 20) +
               " MB; the rest was not read";
      at_end_ = true;
    }
  }
  return produced > 0;
}

// Appends more text after what is still unread; false when nothing came.
bool DataLines::Fill() {
  if (at_end_) return false;
  text_.DropFront(start_);
  scanned_ -= std::min(scanned_, start_);
  start_ = 0;
  if (gzip_) return Inflate();
  const long got = file_.Read(text_.Room(kChunk), kChunk, error_);
  text_.Commit(static_cast<std::size_t>(std::max(got, 0L)));
  if (got <= 0) at_end_ = true;
  consumed_ += static_cast<unsigned long long>(std::max(got, 0L));
  return got > 0;
}

bool DataLines::Next(std::string_view& line) {
  for (;;) {
    const std::size_t end = text_.size();
    if (skipping_) {
      // The rest of a cut line, up to its end.
      const char* from = text_.data() + start_;
      const void* nl = start_ < end ? std::memchr(from, '\n', end - start_) : nullptr;
      if (nl) {
        const std::size_t n = static_cast<std::size_t>(static_cast<const char*>(nl) - from);
        skipped_bytes_ += static_cast<int64_t>(n);
        start_ = scanned_ = start_ + n + 1;
        skipping_ = false;
        continue;
      }
      skipped_bytes_ += static_cast<int64_t>(end - start_);
      start_ = scanned_ = end;
      if (!Fill()) return false;
      continue;
    }
    // Only the bytes not yet searched: a line without an end costs linear time.
    scanned_ = std::max(scanned_, start_);
    const void* nl =
        scanned_ < end ? std::memchr(text_.data() + scanned_, '\n', end - scanned_) : nullptr;
    const char* begin = text_.data() + start_;
    if (nl) {
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(nl) - text_.data());
      std::size_t len = at - start_;
      start_ = scanned_ = at + 1;
      if (len > kMaxDataLine) {
        ++cut_lines_;
        skipped_bytes_ += static_cast<int64_t>(len - kMaxDataLine);
        len = kMaxDataLine;
      } else if (len > 0 && begin[len - 1] == '\r') {
        --len;
      }
      line = std::string_view(begin, len);
      return true;
    }
    scanned_ = end;
    if (end - start_ > kMaxDataLine) {
      ++cut_lines_;
      skipped_bytes_ += static_cast<int64_t>(end - start_ - kMaxDataLine);
      line = std::string_view(begin, kMaxDataLine);
      start_ = scanned_ = end;
      skipping_ = true;
      return true;
    }
    if (!Fill()) {
      if (text_.size() == start_) return false;
      // The last line has no line end.
      std::size_t len = text_.size() - start_;
      const char* last = text_.data() + start_;
      start_ = scanned_ = text_.size();
      if (len > 0 && last[len - 1] == '\r') --len;
      line = std::string_view(last, len);
      return true;
    }
  }
}

void DataLines::Report(ReadReport& report) const {
  if (!error_.empty()) report.Warning(error_);
  if (cut_lines_ > 0)
    report.Warning(std::to_string(cut_lines_) + " lines longer than " +
                   std::to_string(kMaxDataLine) + " bytes were cut there (" +
                   std::to_string(skipped_bytes_) + " bytes passed over)");
  if (trailing_ > 0)
    report.Warning(std::to_string(trailing_) + " bytes after the compressed data were passed over");
}

bool CsvRecord::Start(std::string_view line) {
  fields_.clear();
  field_.clear();
  in_quotes_ = quoted_ = false;
  bytes_ = 0;
  return Feed(line);
}

bool CsvRecord::Continue(std::string_view line) {
  field_ += '\n';
  ++bytes_;
  return Feed(line);
}

bool CsvRecord::Feed(std::string_view line) {
  bytes_ += line.size();
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (in_quotes_) {
      if (c != '"') {
        field_ += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field_ += '"';
        ++i;
      } else {
        in_quotes_ = false;
      }
    } else if (c == '"' && field_.empty() && !quoted_) {
      in_quotes_ = quoted_ = true;
    } else if (c == ',') {
      fields_.push_back(std::move(field_));
      field_.clear();
      quoted_ = false;
    } else {
      field_ += c;
    }
  }
  if (in_quotes_) return false;
  fields_.push_back(std::move(field_));
  field_.clear();
  return true;
}

bool SplitCsvRecord(std::string_view record, std::vector<std::string>& fields) {
  CsvRecord csv;
  const bool complete = csv.Start(record);
  fields = std::move(csv.fields());
  return complete;
}
