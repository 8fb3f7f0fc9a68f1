// Helpers shared by the fuzz targets and their replay test: dictionary bytes
// written from word lists, a scratch file that the engine can open by path,
// and the one way a target reports a fault.
//
//   vyr::fuzz::ScratchFile file;
//   file.write(vyr::fuzz::dictionary_bytes({{"xin", "sin"}}, {}));
//   vyr::g2p::G2PEngine engine(file.path());
//
// Nothing here is thread safe; each target keeps its own files.
#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace vyr::fuzz {

// A property a target checks was broken. Deliberately not a vyr::Panic, so
// that no handler for the module's own failure can swallow it: under
// libFuzzer it ends the run (std::terminate) and the input is saved; under
// GoogleTest it fails the test with what().
class Fault : public std::logic_error {
 public:
  explicit Fault(const std::string& what) : std::logic_error(what) {}
};

inline void require(bool holds, const char* what) {
  if (!holds) throw Fault(what);
}

// A file that the engine can open by name. Backed by an anonymous memory file
// (opened through /proc/self/fd), so that fuzzing writes nothing to disk and
// leaves nothing behind; where memfd_create is missing, a file under /tmp
// removed on destruction. Rewriting it while an engine maps it would change
// that engine's bytes: drop the engine first.
class ScratchFile {
 public:
  ScratchFile() {
#ifdef MFD_CLOEXEC
    fd_ = ::memfd_create("vyr-fuzz", MFD_CLOEXEC);
#endif
    if (fd_ >= 0) {
      path_ = "/proc/self/fd/" + std::to_string(fd_);
    } else {
      static int counter = 0;
      path_ = "/tmp/vyr-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
      owns_path_ = true;
    }
  }
  ~ScratchFile() {
    if (fd_ >= 0) ::close(fd_);
    if (owns_path_) std::remove(path_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }

  // Replaces the whole content. False when the system refused.
  bool write(std::string_view bytes) {
    if (fd_ < 0) return write_path(bytes);
    if (::ftruncate(fd_, 0) != 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                 static_cast<off_t>(done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

 private:
  bool write_path(std::string_view bytes) const {
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
  }

  int fd_ = -1;
  bool owns_path_ = false;
  std::string path_;
};

using MergedWords = std::map<std::string, std::string>;  // std::map: keys in byte order
using CommonWords = std::map<std::string, std::pair<std::string, std::string>>;

// Dictionary bytes: header, string pool, string table, merged and common
// tables, in that order (the reader finds each through the header).
inline std::string dictionary_bytes(const MergedWords& merged, const CommonWords& common) {
  std::string pool;
  std::string slots;
  uint32_t count = 0;
  auto put32 = [](std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  auto intern = [&](const std::string& s) {
    put32(slots, static_cast<uint32_t>(pool.size()));  // counted from the end of the header
    pool += s;
    pool.push_back('\0');
    return count++;
  };
  std::string merged_table;
  std::string common_table;
  for (const auto& [word, value] : merged) {
    put32(merged_table, intern(word));
    put32(merged_table, intern(value));
  }
  for (const auto& [word, readings] : common) {
    put32(common_table, intern(word));
    put32(common_table, intern(readings.first));
    put32(common_table, intern(readings.second));
  }
  constexpr uint32_t kHeader = 32;
  const auto strings_at = static_cast<uint32_t>(kHeader + pool.size());
  const auto merged_at = static_cast<uint32_t>(strings_at + slots.size());
  const auto common_at = static_cast<uint32_t>(merged_at + merged_table.size());
  std::string out = "VYRP";
  put32(out, 0);
  put32(out, count);
  put32(out, static_cast<uint32_t>(merged.size()));
  put32(out, static_cast<uint32_t>(common.size()));
  put32(out, strings_at);
  put32(out, merged_at);
  put32(out, common_at);
  out.reserve(out.size() + pool.size() + slots.size() + merged_table.size() + common_table.size());
  out += pool;
  out += slots;
  out += merged_table;
  out += common_table;
  return out;
}

}  // namespace vyr::fuzz
