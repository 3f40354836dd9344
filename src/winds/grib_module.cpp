// The one unit that speaks to ecCodes, built as a module the plan core loads
// when it first reads a GRIB file.
#include <eccodes.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "winds/grib_messages.h"

namespace {

struct HandleDeleter {
  void operator()(codes_handle* h) const { codes_handle_delete(h); }
};
struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

void Quiet(const codes_context*, int, const char*) {}

class EccodesMessages : public GribMessages {
 public:
  explicit EccodesMessages(FILE* file) : file_(file) {}

  bool Seek(long offset) override {
    handle_.reset();
    return std::fseek(file_.get(), offset, SEEK_SET) == 0;
  }
  bool Next(std::string& error) override {
    int status = CODES_SUCCESS;
    handle_.reset(codes_handle_new_from_file(nullptr, file_.get(), PRODUCT_GRIB, &status));
    if (status != CODES_SUCCESS) {
      handle_.reset();
      if (status == CODES_PREMATURE_END_OF_FILE) {
        error = HALVIX_GRIB_TRUNCATED;
      } else if (status == CODES_UNSUPPORTED_EDITION || status == CODES_INVALID_MESSAGE ||
                 status == CODES_WRONG_LENGTH) {
        error = HALVIX_GRIB_NOT_GRIB;
      } else {
        error = codes_get_error_message(status);
      }
      return false;
    }
    return handle_ != nullptr;
  }
  std::string String(const char* key) override {
    char text[64] = {};
    std::size_t length = sizeof text;
    if (codes_get_string(handle_.get(), key, text, &length) != CODES_SUCCESS) return {};
    return text;
  }
  long Long(const char* key, long otherwise) override {
    long value = 0;
    return codes_get_long(handle_.get(), key, &value) == CODES_SUCCESS ? value : otherwise;
  }
  double Double(const char* key) override {
    double value = 0.0;
    return codes_get_double(handle_.get(), key, &value) == CODES_SUCCESS ? value : std::nan("");
  }
  bool ValueCount(std::size_t& count) override {
    return codes_get_size(handle_.get(), "values", &count) == CODES_SUCCESS;
  }
  bool Values(std::vector<double>& values) override {
    std::size_t size = values.size();
    return codes_get_double_array(handle_.get(), "values", values.data(), &size) == CODES_SUCCESS;
  }

 private:
  std::unique_ptr<FILE, FileCloser> file_;
  std::unique_ptr<codes_handle, HandleDeleter> handle_;
};

}  // namespace

extern "C" {
extern const long halvix_grib_version;
const long halvix_grib_version = kHalvixGribVersion;
}

extern "C" GribMessages* halvix_grib_open(int fd) {
  FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    close(fd);
    return nullptr;
  }
  codes_context_set_logging_proc(codes_context_get_default(), Quiet);
  return new EccodesMessages(file);
}
