#include "g2p/phoneme_dict.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

#include "g2p/io_error.hpp"
#include "runtime/panic.hpp"
#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

// strerror_r comes in two flavours (GNU returns the text, XSI fills buf).
[[maybe_unused]] const char* error_description(const char* gnu_result, const char*) {
  return gnu_result;
}
[[maybe_unused]] const char* error_description(int xsi_result, const char* buf) {
  return xsi_result == 0 ? buf : "Unknown error";
}

// errno 2 -> IoError "No such file or directory (os error 2)", number 2
IoError os_error(int err) {
  char buf[256] = {0};
  std::string text = error_description(strerror_r(err, buf, sizeof buf), buf);
  return IoError(text + " (os error " + std::to_string(err) + ")", err);
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { ::close(fd_); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

uint32_t read_le32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

[[noreturn]] void outside_file(const char* what, int64_t offset, size_t file_size) {
  throw Panic(std::string("phoneme dictionary: ") + what + " at byte offset " +
              std::to_string(offset) + " lies outside the file of " + std::to_string(file_size) +
              " bytes");
}

}  // namespace

FileMapping FileMapping::map_file(std::string_view path) {
  if (path.find('\0') != std::string_view::npos) {
    throw IoError("file name contained an unexpected NUL byte");
  }
  const std::string c_path(path);
  int fd;
  do {
    fd = ::open(c_path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw os_error(errno);
  const Descriptor descriptor(fd);

  struct stat info {};
  if (::fstat(descriptor.get(), &info) != 0) throw os_error(errno);
  if (info.st_size < 0 ||
      static_cast<uint64_t>(info.st_size) > std::numeric_limits<size_t>::max()) {
    throw os_error(EOVERFLOW);
  }
  const auto size = static_cast<size_t>(info.st_size);
  if (size == 0) return FileMapping();  // mmap refuses length 0; nothing to map

  void* addr = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, descriptor.get(), 0);
  if (addr == MAP_FAILED) throw os_error(errno);
  return FileMapping(static_cast<const char*>(addr), size);
}

FileMapping::~FileMapping() {
  if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
}

PhonemeDict PhonemeDict::load(std::string_view path) {
  FileMapping file = FileMapping::map_file(path);
  const std::string_view bytes = file.bytes();
  if (bytes.size() < kHeaderSize || bytes.substr(0, 4) != "VYRP") {
    throw IoError("Invalid dictionary format");
  }
  PhonemeDict dict(std::move(file));
  if (!dict.is_consistent()) throw IoError("Invalid dictionary format");
  return dict;
}

PhonemeDict::PhonemeDict(FileMapping file) : file_(std::move(file)) {
  const char* header = file_.bytes().data();
  string_count_ = read_le32(header + 8);
  merged_count_ = read_le32(header + 12);
  common_count_ = read_le32(header + 16);
  string_table_offset_ = read_le32(header + 20);
  merged_table_offset_ = read_le32(header + 24);
  common_table_offset_ = read_le32(header + 28);
}

uint32_t PhonemeDict::u32_at(int64_t offset, const char* what) const {
  const std::string_view bytes = file_.bytes();
  // The header guarantees size >= 32, so size - 4 cannot wrap.
  if (offset < 0 || static_cast<uint64_t>(offset) > bytes.size() - 4) {
    outside_file(what, offset, bytes.size());
  }
  return read_le32(bytes.data() + offset);
}

std::string_view PhonemeDict::get_string(uint32_t id) const {
  if (id >= string_count_) return {};
  const std::string_view bytes = file_.bytes();
  const uint64_t slot = uint64_t{string_table_offset_} + uint64_t{4} * id;  // < 2^35
  const uint32_t relative = u32_at(static_cast<int64_t>(slot), "string table slot");
  const uint64_t start = kHeaderSize + uint64_t{relative};
  if (start == bytes.size()) return {};
  if (start > bytes.size()) outside_file("string start", static_cast<int64_t>(start), bytes.size());
  std::string_view rest = bytes.substr(start);
  const void* nul = std::memchr(rest.data(), '\0', rest.size());
  if (nul != nullptr) rest = rest.substr(0, static_cast<const char*>(nul) - rest.data());
  return text::is_valid_utf8(rest) ? rest : std::string_view();
}

std::optional<size_t> PhonemeDict::search(std::string_view word, uint32_t count,
                                          size_t table_offset, size_t entry_size) const {
  // Signed 32-bit bounds: the count minus one wraps as two's complement, so
  // a count of 0 or above 2^31 gives a negative high and no probe at all.
  int32_t low = 0;
  int32_t high = static_cast<int32_t>(count - 1u);
  while (low <= high) {
    // Both bounds lie in [0, 2^31), so the 64-bit midpoint is exact.
    const auto middle = static_cast<int32_t>((int64_t{low} + int64_t{high}) / 2);
    const int64_t entry =
        static_cast<int64_t>(table_offset) + int64_t{middle} * static_cast<int64_t>(entry_size);
    const std::string_view key = get_string(u32_at(entry, "table entry"));
    const int order = key.compare(word);  // byte order; a proper prefix sorts first
    if (order == 0) {
      if (static_cast<uint64_t>(entry) + entry_size > file_.bytes().size()) {
        outside_file("table entry", entry, file_.bytes().size());
      }
      return static_cast<size_t>(entry);
    }
    if (order < 0) {
      if (middle == std::numeric_limits<int32_t>::max()) break;  // low would pass high
      low = middle + 1;
    } else {
      high = middle - 1;  // middle >= 0, cannot wrap
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> PhonemeDict::search_merged(std::string_view word) const {
  const auto entry = search(word, merged_count_, merged_table_offset_, kMergedEntrySize);
  if (!entry) return std::nullopt;
  const char* record = file_.bytes().data() + *entry;
  return get_string(read_le32(record + 4));
}

std::optional<CommonReadings> PhonemeDict::search_common(std::string_view word) const {
  const auto entry = search(word, common_count_, common_table_offset_, kCommonEntrySize);
  if (!entry) return std::nullopt;
  const char* record = file_.bytes().data() + *entry;
  return CommonReadings{get_string(read_le32(record + 4)), get_string(read_le32(record + 8))};
}

}  // namespace vyr::g2p
