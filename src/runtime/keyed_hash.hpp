// A randomly keyed string hash for the hash maps that hold words from the
// caller's text, so that crafted words cannot pile into one bucket.
//
//   std::unordered_map<std::string, int, vyr::runtime::KeyedHash, std::equal_to<>>
//       map(64, vyr::runtime::KeyedHash(vyr::runtime::random_hash_key()));
//   map.find(std::string_view("word"));   // no temporary std::string
//
// The hash is SipHash-1-3 (the variant Rust's HashMap uses), keyed with 128
// bits from the kernel's random source. A KeyedHash is immutable and safe to
// share between threads; each map should get its own key.
#pragma once

#include <sys/random.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

namespace vyr::runtime {

struct HashKey {
  uint64_t k0 = 0;
  uint64_t k1 = 0;
};

// 128 random bits: getrandom(2), or std::random_device where the kernel
// refuses (very old kernels, seccomp filters).
inline HashKey random_hash_key() {
  uint64_t words[2] = {0, 0};
  size_t got = 0;
  auto* bytes = reinterpret_cast<unsigned char*>(words);
  while (got < sizeof words) {
    ssize_t n = getrandom(bytes + got, sizeof words - got, 0);
    if (n > 0) {
      got += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      std::random_device device;
      for (uint64_t& w : words) w = (uint64_t{device()} << 32) ^ device();
      break;
    }
  }
  return HashKey{words[0], words[1]};
}

namespace detail {

inline uint64_t rotl(uint64_t x, int b) { return (x << b) | (x >> (64 - b)); }

struct SipState {
  uint64_t v0, v1, v2, v3;

  void round() {
    v0 += v1;
    v1 = rotl(v1, 13);
    v1 ^= v0;
    v0 = rotl(v0, 32);
    v2 += v3;
    v3 = rotl(v3, 16);
    v3 ^= v2;
    v0 += v3;
    v3 = rotl(v3, 21);
    v3 ^= v0;
    v2 += v1;
    v1 = rotl(v1, 17);
    v1 ^= v2;
    v2 = rotl(v2, 32);
  }

  void absorb(uint64_t m) {
    v3 ^= m;
    round();  // one compression round
    v0 ^= m;
  }
};

inline uint64_t load_le64(const unsigned char* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

}  // namespace detail

// SipHash-1-3 of the bytes of `data` under `key`.
inline uint64_t siphash13(const HashKey& key, std::string_view data) {
  detail::SipState s{key.k0 ^ 0x736f6d6570736575ULL, key.k1 ^ 0x646f72616e646f6dULL,
                     key.k0 ^ 0x6c7967656e657261ULL, key.k1 ^ 0x7465646279746573ULL};
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const size_t n = data.size();
  const size_t whole = n - n % 8;
  for (size_t i = 0; i < whole; i += 8) s.absorb(detail::load_le64(p + i));
  uint64_t last = static_cast<uint64_t>(n & 0xff) << 56;
  for (size_t i = whole; i < n; ++i) last |= static_cast<uint64_t>(p[i]) << (8 * (i - whole));
  s.absorb(last);
  s.v2 ^= 0xff;
  for (int i = 0; i < 3; ++i) s.round();  // three finalisation rounds
  return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

// Transparent hasher: std::string and std::string_view hash alike, so maps
// declared with std::equal_to<> can be probed with a view.
class KeyedHash {
 public:
  using is_transparent = void;

  KeyedHash() : key_(random_hash_key()) {}
  explicit KeyedHash(HashKey key) : key_(key) {}

  size_t operator()(std::string_view s) const { return static_cast<size_t>(siphash13(key_, s)); }
  size_t operator()(const std::string& s) const { return (*this)(std::string_view(s)); }
  size_t operator()(const char* s) const { return (*this)(std::string_view(s)); }

 private:
  HashKey key_;
};

}  // namespace vyr::runtime
