// One token of the text being phonemized.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyr::g2p {

// kCommon: the word has both readings; propagate_language settles it to
// kVi or kEn from its neighbours before assembly.
enum class Lang : uint8_t { kVi, kEn, kCommon, kPunct };

// "vi", "en", "common", "punct"
constexpr std::string_view lang_name(Lang lang) {
  switch (lang) {
    case Lang::kVi:
      return "vi";
    case Lang::kEn:
      return "en";
    case Lang::kCommon:
      return "common";
    case Lang::kPunct:
      return "punct";
  }
  return "vi";
}

struct Token {
  Lang lang = Lang::kVi;
  // The token as written, letter case included. A view into the text being
  // phonemized or into the token list's own storage; never outlives the call.
  std::string_view text;
  // The pronunciation found while tokenising: for kCommon a dual
  // pronunciation "\x1f{vi}\x1f{en}\x1f", for kPunct the character itself;
  // nullopt when assembly must segment or spell the word.
  std::optional<std::string> phonemes;
};

}  // namespace vyr::g2p
