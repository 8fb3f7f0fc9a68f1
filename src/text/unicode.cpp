#include "text/unicode.hpp"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/stringpiece.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "runtime/panic.hpp"
#include "text/char_classes.hpp"

namespace vyr::text {
namespace {

const icu::Normalizer2& nfc_instance() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status) || n == nullptr)
    throw Panic(std::string("ICU NFC data unavailable: ") + u_errorName(status));
  return *n;
}

void check_icu(UErrorCode status, const char* what) {
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (U_FAILURE(status)) throw Panic(std::string(what) + ": " + u_errorName(status));
}

icu::StringPiece piece(std::string_view s) {
  return icu::StringPiece(s.data(), static_cast<int32_t>(s.size()));
}

// ICU takes int32_t lengths.
void check_length(std::string_view s) {
  if (s.size() > static_cast<size_t>(INT32_MAX)) throw Panic("text longer than 2 GiB");
}

}  // namespace

std::string nfc(std::string_view s) {
  check_length(s);
  const icu::Normalizer2& n = nfc_instance();
  UErrorCode status = U_ZERO_ERROR;
  // Most texts are composed already: the quick check avoids any rewriting.
  if (n.isNormalizedUTF8(piece(s), status) && U_SUCCESS(status)) return std::string(s);
  status = U_ZERO_ERROR;
  std::string out;
  out.reserve(s.size());
  icu::StringByteSink<std::string> sink(&out);
  n.normalizeUTF8(0, piece(s), sink, nullptr, status);
  check_icu(status, "NFC normalisation failed");
  return out;
}

std::string to_lower(std::string_view s) {
  check_length(s);
  // The root locale "", never nullptr: nullptr means the process locale, and
  // a Turkish one maps "I" to dotless "ı".
  UErrorCode status = U_ZERO_ERROR;
  std::string out;
  out.reserve(s.size());
  icu::StringByteSink<std::string> sink(&out);
  icu::CaseMap::utf8ToLower("", 0, piece(s), sink, nullptr, status);
  check_icu(status, "lower-casing failed");
  return out;
}

// The full mapping of the character alone, without context: "Σ" -> "σ",
// "İ" -> "i̇".
std::string lower_char(char32_t c) {
  std::string one;
  append_utf8(one, c);
  return to_lower(one);  // a lone capital sigma has no word before it: "σ"
}

std::string_view trim_start(std::string_view s) {
  size_t pos = 0;
  while (pos < s.size()) {
    size_t next = pos;
    if (!is_white_space(decode_utf8(s, next))) break;
    pos = next;
  }
  return s.substr(pos);
}

std::string_view trim_end(std::string_view s) {
  size_t end = s.size();
  while (end > 0) {
    // Step back to the start of the last code point.
    size_t start = end - 1;
    while (start > 0 && end - start < 4 &&
           (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80)
      --start;
    size_t probe = start;
    char32_t c = decode_utf8(s, probe);
    if (probe != end) {
      // Not a well-formed sequence ending here: an invalid byte, kept.
      break;
    }
    if (!is_white_space(c)) break;
    end = start;
  }
  return s.substr(0, end);
}

std::string_view trim(std::string_view s) { return trim_end(trim_start(s)); }

bool is_white_space(char32_t c) {
  if (c < 0x80) return c == ' ' || (c >= 0x09 && c <= 0x0D);
  return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_WHITE_SPACE);
}

bool is_alphabetic(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC);
}

bool is_uppercase(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z';
  return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_UPPERCASE);
}

bool is_alphanumeric(char32_t c) {
  if (c < 0x80) return is_alphabetic(c) || (c >= '0' && c <= '9');
  if (is_alphabetic(c)) return true;
  int8_t gc = u_charType(static_cast<UChar32>(c));
  return gc == U_DECIMAL_DIGIT_NUMBER || gc == U_LETTER_NUMBER || gc == U_OTHER_NUMBER;
}

bool contains_decimal_digit(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      if (byte >= '0' && byte <= '9') return true;
      ++pos;
      continue;
    }
    const char32_t c = decode_utf8(text, pos);
    if (u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER) return true;
  }
  return false;
}

int decimal_digit_value(char32_t c) {
  if (c < 0x80) return c >= '0' && c <= '9' ? static_cast<int>(c - '0') : -1;
  if (!may_be_digit(c) || u_charType(static_cast<UChar32>(c)) != U_DECIMAL_DIGIT_NUMBER) return -1;
  return u_charDigitValue(static_cast<UChar32>(c));
}

bool is_latin_letter(char32_t c) {
  if (c < 0x80) return is_alphabetic(c);
  if ((U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_L_MASK) == 0) return false;
  UErrorCode status = U_ZERO_ERROR;
  return uscript_getScript(static_cast<UChar32>(c), &status) == USCRIPT_LATIN &&
         U_SUCCESS(status);
}

bool is_mark(char32_t c) {
  return c >= 0x300 && (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

bool is_symbol_beyond_ascii(char32_t c) {
  return c >= 0x80 && (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_S_MASK) != 0;
}

namespace {

const icu::Normalizer2& nfkd_instance() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* n = icu::Normalizer2::getNFKDInstance(status);
  if (U_FAILURE(status) || n == nullptr)
    throw Panic(std::string("ICU NFKD data unavailable: ") + u_errorName(status));
  return *n;
}

// The ASCII letters of c's compatibility decomposition: «ñ» → «n», «ǆ» → «dz».
std::string decomposed_ascii_letters(char32_t c) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString decomposed =
      nfkd_instance().normalize(icu::UnicodeString(static_cast<UChar32>(c)), status);
  std::string out;
  if (U_FAILURE(status)) return out;
  for (int32_t i = 0; i < decomposed.length(); ++i) {
    const char16_t u = decomposed.charAt(i);
    if (u < 0x80 && is_alphabetic(u)) out += static_cast<char>(u);
  }
  return out;
}

// Letters with no decomposition whose spelling is a convention, or whose
// Unicode name does not hold their base letter.
const std::string_view* conventional_spelling(char32_t c) {
  static constexpr std::pair<char32_t, std::string_view> kSpellings[] = {
      {U'ß', "ss"}, {U'ẞ', "SS"}, {U'þ', "th"}, {U'Þ', "TH"}, {U'ð', "d"},  {U'Ð', "D"},
      {U'ŋ', "ng"}, {U'Ŋ', "NG"}, {U'ə', "e"},  {U'Ə', "E"},  {U'ʃ', "sh"}, {U'Ʃ', "SH"},
      {U'ʒ', "z"},  {U'Ʒ', "Z"},  {U'ĸ', "k"},  {U'ƿ', "w"},  {U'Ƿ', "W"},  {U'ȝ', "gh"},
      {U'Ȝ', "GH"}, {U'ɣ', "g"},  {U'Ɣ', "G"},  {U'ɑ', "a"},  {U'Ɑ', "A"},  {U'ɸ', "f"},
      {U'ʊ', "u"},  {U'Ʊ', "U"},  {U'ɩ', "i"},  {U'Ɩ', "I"},
  };
  for (const auto& [letter, spelling] : kSpellings) {
    if (letter == c) return &spelling;
  }
  return nullptr;
}

// The first word of one or two capitals after "LETTER" or "LIGATURE" in c's
// Unicode name, before any "WITH": «ɓ» (LATIN SMALL LETTER B WITH HOOK) → «B»,
// «œ» (LATIN SMALL LIGATURE OE) → «OE».
std::string base_letters_from_name(char32_t c) {
  char buffer[128];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = u_charName(static_cast<UChar32>(c), U_UNICODE_CHAR_NAME, buffer,
                                    static_cast<int32_t>(sizeof buffer), &status);
  if (U_FAILURE(status) || length <= 0) return {};
  const std::string_view name(buffer, static_cast<size_t>(std::min<int32_t>(length, 127)));
  size_t at = name.find("LETTER ");
  size_t skip = 7;
  if (at == std::string_view::npos) {
    at = name.find("LIGATURE ");
    skip = 9;
  }
  if (at == std::string_view::npos) return {};
  for (size_t pos = at + skip; pos < name.size();) {
    size_t end = name.find(' ', pos);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view word = name.substr(pos, end - pos);
    if (word == "WITH") break;
    const bool capitals = std::all_of(word.begin(), word.end(), [](char b) {
      return b >= 'A' && b <= 'Z';
    });
    if (capitals && !word.empty() && word.size() <= 2) return std::string(word);
    pos = end + 1;
  }
  return {};
}

}  // namespace

std::string latin_ascii_fold(char32_t c) {
  if (c < 0x80) return is_alphabetic(c) ? std::string(1, static_cast<char>(c)) : std::string();
  if (const std::string_view* spelling = conventional_spelling(c)) return std::string(*spelling);
  std::string letters = decomposed_ascii_letters(c);
  if (!letters.empty()) return letters;
  letters = base_letters_from_name(c);
  if (!is_uppercase(c)) {
    for (char& b : letters) b = static_cast<char>(b - 'A' + 'a');
  }
  return letters;
}

std::string decomposition_mapping(char32_t c) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status) || nfkc == nullptr)
    throw Panic(std::string("ICU NFKC data unavailable: ") + u_errorName(status));
  icu::UnicodeString mapping;
  std::string out;
  if (nfkc->getRawDecomposition(static_cast<UChar32>(c), mapping)) mapping.toUTF8String(out);
  return out;
}

char32_t decode_utf8(std::string_view s, size_t& pos) {
  if (pos >= s.size()) {
    ++pos;
    return 0xFFFD;
  }
  const auto* p = reinterpret_cast<const uint8_t*>(s.data());
  int32_t i = 0;
  // U8_NEXT works on int32_t offsets: decode from a window at pos.
  const int32_t len = static_cast<int32_t>(std::min<size_t>(s.size() - pos, 4));
  UChar32 c;
  U8_NEXT(p + pos, i, len, c);
  pos += static_cast<size_t>(i);
  return c < 0 ? 0xFFFD : static_cast<char32_t>(c);
}

void append_utf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

namespace {
bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }
}  // namespace

// Runs of ASCII go eight bytes at a time, other code points by the byte
// ranges of the Unicode well-formed UTF-8 table (which rule out overlong
// forms, surrogates and code points past U+10FFFF). The pattern layer checks
// every subject once per scan, so this is on the hot path.
bool is_valid_utf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const size_t n = s.size();
  size_t pos = 0;
  while (pos < n) {
    while (n - pos >= 8) {
      uint64_t block;
      std::memcpy(&block, p + pos, 8);
      const uint64_t high = block & 0x8080808080808080ULL;
      if (high != 0) {
        // Straight to the first byte with its high bit set.
        if constexpr (std::endian::native == std::endian::little) {
          pos += static_cast<size_t>(std::countr_zero(high)) / 8;
        } else {
          pos += static_cast<size_t>(std::countl_zero(high)) / 8;
        }
        break;
      }
      pos += 8;
    }
    if (pos == n) break;
    const unsigned char b = p[pos];
    const size_t left = n - pos;
    if (b < 0x80) {
      ++pos;
    } else if (b >= 0xC2 && b <= 0xDF) {
      if (left < 2 || !is_continuation(p[pos + 1])) return false;
      pos += 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      if (left < 3 || !is_continuation(p[pos + 1]) || !is_continuation(p[pos + 2])) return false;
      if ((b == 0xE0 && p[pos + 1] < 0xA0) || (b == 0xED && p[pos + 1] > 0x9F)) return false;
      pos += 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
      if (left < 4 || !is_continuation(p[pos + 1]) || !is_continuation(p[pos + 2]) ||
          !is_continuation(p[pos + 3]))
        return false;
      if ((b == 0xF0 && p[pos + 1] < 0x90) || (b == 0xF4 && p[pos + 1] > 0x8F)) return false;
      pos += 4;
    } else {
      return false;
    }
  }
  return true;
}

size_t char_count(std::string_view s) {
  size_t n = 0;
  for (size_t pos = 0; pos < s.size();) {
    decode_utf8(s, pos);
    ++n;
  }
  return n;
}

}  // namespace vyr::text
