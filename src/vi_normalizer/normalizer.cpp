#include "vi_normalizer/normalizer.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/acronyms.hpp"
#include "vi_normalizer/datestime.hpp"
#include "vi_normalizer/email.hpp"
#include "vi_normalizer/en_tags.hpp"
#include "vi_normalizer/inline_passes.hpp"
#include "vi_normalizer/misc.hpp"
#include "vi_normalizer/number_passes.hpp"
#include "vi_normalizer/numerical.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/roman_primes.hpp"
#include "vi_normalizer/technical.hpp"
#include "vi_normalizer/telephones.hpp"
#include "vi_normalizer/units.hpp"

namespace vyr::vi_normalizer {

namespace {

using text::Engine;
using text::Regex;

// A lifted chunk's placeholder: its index between two noncharacters, which
// are taken out of the caller's text first, so no text can imitate one.
constexpr std::string_view kChunkOpen = "\uFDD0";
constexpr std::string_view kChunkClose = "\uFDD1";

// ---------------------------------------------------------------------------
// Mask keys

constexpr std::string_view kMaskPrefix = "mask";
constexpr size_t kShortKeys = 10000;  // "mask" + four digit letters
constexpr size_t kShortKeyLength = 8;
constexpr char kWideMark = 'k';      // opens and closes the digits of a wide key
constexpr size_t kMaxWideDigits = 19;  // keeps the index inside 64 bits

bool is_digit_letter(char c) { return c >= 'a' && c <= 'j'; }

void append_digit_letters(std::string& out, std::string_view digits) {
  for (char d : digits) out += static_cast<char>('a' + (d - '0'));
}

// The ASCII letter c lower-cased, or 0. Letters beyond ASCII that the passes
// spell in ASCII (the Kelvin sign as «K») are spelled so before the search.
char lower_ascii_letter(char c) {
  if (c >= 'a' && c <= 'z') return c;
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return 0;
}

// Where each "mask" of the text, in any letter case, ends.
std::vector<size_t> mask_word_ends(std::string_view text) {
  std::vector<size_t> ends;
  for (size_t pos = 0; pos + kMaskPrefix.size() <= text.size(); ++pos) {
    if (text[pos] != 'm' && text[pos] != 'M') continue;
    size_t i = 0;
    while (i < kMaskPrefix.size() && lower_ascii_letter(text[pos + i]) == kMaskPrefix[i]) ++i;
    if (i == kMaskPrefix.size()) ends.push_back(pos + i);
  }
  return ends;
}

// The `length` letters at text[pos], lower-cased, if all are ASCII letters.
bool letters_at(std::string_view text, size_t pos, size_t length, std::string& out) {
  out.clear();
  if (pos + length > text.size()) return false;
  for (size_t i = pos; i < pos + length; ++i) {
    const char c = lower_ascii_letter(text[i]);
    if (c == 0) return false;
    out += c;
  }
  return true;
}

// The ASCII spelling that the passes before the restore may give the
// character c beyond ASCII, for judging which letters can come to stand after
// a "mask": a Vietnamese letter stays as it is and white space stays space
// (both a space here: no key holds them); another Latin letter its ASCII
// letters (the stray-character step spells «ä» as «a», «ſ» as «s», «Ｋ» as
// «K»); anything else nothing, since some passes delete characters between
// letters (curly quotes, marks on letters). Erring towards joining letters
// only lengthens the salt.
std::string_view spelling_for_keys(char32_t c, std::string& scratch) {
  if (is_kept_non_ascii(c) || text::is_white_space(c)) return " ";
  if (!text::is_latin_letter(c)) return "";
  scratch = text::latin_ascii_fold(c);
  return scratch.empty() ? std::string_view(" ") : std::string_view(scratch);
}

// True when no character of `text` can change on the way to the restore in
// a way that joins or spells letters: ASCII, Vietnamese letters and spaces.
bool spelled_as_written(std::string_view text) {
  // Every such character beyond ASCII lies below U+0800 or in U+1E00..U+1FFF.
  static const std::vector<bool> kAsWritten = [] {
    std::vector<bool> table(0x2000, false);
    for (char32_t c = 0x80; c < 0x2000; ++c) {
      table[c] = is_kept_non_ascii(c) || text::is_white_space(c);
    }
    return table;
  }();
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      next = pos + 1;
      continue;
    }
    const char32_t c = text::char_at(text, pos, &next);
    if (c >= kAsWritten.size() || !kAsWritten[c]) return false;
  }
  return true;
}

// `text` as the letters after a "mask" are judged: every character beyond
// ASCII replaced by spelling_for_keys.
std::string spelled_for_keys(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::string scratch;
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      out += text[pos];
      next = pos + 1;
      continue;
    }
    out += spelling_for_keys(text::char_at(text, pos, &next), scratch);
  }
  return out;
}

// The salt of the key prefix for `text`: "" when no "mask" of the text comes
// before a letter a key could go on with (a digit letter or "k"); otherwise
// the first string of letters from "l" to "z", as short as can be, that no
// "mask" of the text comes before. A text of n bytes needs at most
// log15(n) letters.
std::string key_salt(std::string_view entering) {
  // Most texts are judged as written, without a copy.
  std::string spelled;
  std::string_view text = entering;
  if (!spelled_as_written(entering)) {
    spelled = spelled_for_keys(entering);
    text = spelled;
  }
  const std::vector<size_t> ends = mask_word_ends(text);
  std::string next;
  const bool clash = std::any_of(ends.begin(), ends.end(), [&](size_t end) {
    return letters_at(text, end, 1, next) && next[0] <= kWideMark;
  });
  if (!clash) return "";
  constexpr char kFirst = 'l';
  for (size_t length = 1;; ++length) {
    std::set<std::string> taken;
    for (size_t end : ends) {
      if (letters_at(text, end, length, next)) taken.insert(next);
    }
    // Fewer strings are taken than there are "mask"s, so one of the first
    // ends.size() + 1 candidates is free.
    std::string candidate(length, kFirst);
    for (size_t tries = 0; tries <= ends.size(); ++tries) {
      if (taken.count(candidate) == 0) return candidate;
      // the next candidate, counting in base 15
      size_t i = length;
      while (i > 0 && candidate[i - 1] == 'z') candidate[--i] = kFirst;
      if (i == 0) break;  // all of this length tried
      ++candidate[i - 1];
    }
  }
}

// ---------------------------------------------------------------------------
// Words beside a key

bool is_space_byte(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The run of non-space bytes of `text` that ends at `end`, reaching back no
// further than `floor`.
std::string_view word_ending_at(std::string_view text, size_t end, size_t floor) {
  size_t start = end;
  while (start > floor && !is_space_byte(text[start - 1])) --start;
  return text.substr(start, end - start);
}

// The run of non-space bytes of `text` that starts at `start`, reaching no
// further than `ceiling`.
std::string_view word_starting_at(std::string_view text, size_t start, size_t ceiling) {
  size_t end = start;
  while (end < ceiling && !is_space_byte(text[end])) ++end;
  return text.substr(start, end - start);
}

// ---------------------------------------------------------------------------
// Chunks of the caller

// Appends the placeholder of chunk `index`.
void append_placeholder(std::string& out, size_t index) {
  out += kChunkOpen;
  out += std::to_string(index);
  out += kChunkClose;
}

// Length of an internal English marker («__start_en__», «__end_en__», as the
// end of the pipeline turns into tags: lower case) at text[pos], or 0.
size_t en_marker_at(std::string_view text, size_t pos) {
  for (std::string_view marker : {kStartEn, kEndEn}) {
    if (text.compare(pos, marker.size(), marker) == 0) return marker.size();
  }
  return 0;
}

// The caller's text made unable to imitate the pipeline's own marks: the two
// noncharacters of the placeholders go, and an internal English marker the
// caller typed is written with spaces for its underscores, as it would be
// read anyway («__start_en__» → «  start en  »), so it never becomes a tag.
void append_caller_text(std::string_view text, std::string& out) {
  size_t copied = 0;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '_') {
      const size_t length = en_marker_at(text, pos);
      if (length == 0) continue;
      out.append(text.data() + copied, pos - copied);
      for (size_t i = pos; i < pos + length; ++i) out += text[i] == '_' ? ' ' : text[i];
      copied = pos + length;
      pos = copied - 1;
    } else if (c == kChunkOpen[0] &&
               (text.compare(pos, kChunkOpen.size(), kChunkOpen) == 0 ||
                text.compare(pos, kChunkClose.size(), kChunkClose) == 0)) {
      out.append(text.data() + copied, pos - copied);
      copied = pos + kChunkOpen.size();
      pos = copied - 1;
    }
  }
  out.append(text.data() + copied, text.size() - copied);
}

bool has_caller_marks(std::string_view text) {
  return rewrite::has_byte(text, '_') ||
         text.find(kChunkOpen.substr(0, 2)) != std::string_view::npos;
}

// «a <en>Hi</en> b» → «a \uFDD00\uFDD1 b», chunks {«<en>Hi</en>»}; the text
// around the chunks escaped (append_caller_text).
void lift_en_chunks(std::string& text, std::vector<std::string>& chunks) {
  const bool has_tag = rewrite::has_byte(text, '<');
  if (!has_tag && !has_caller_marks(text)) return;
  // find_en_chunks gives RE_EN_TAG's matches without rescanning the text from
  // every unclosed tag.
  const ByteSpans spans = has_tag ? find_en_chunks(text) : ByteSpans{};
  std::string out;
  out.reserve(text.size() + 16);
  size_t copied = 0;
  for (const auto& [start, end] : spans) {
    append_caller_text(std::string_view(text).substr(copied, start - copied), out);
    chunks.emplace_back(text, start, end - start);
    append_placeholder(out, chunks.size() - 1);
    copied = end;
  }
  append_caller_text(std::string_view(text).substr(copied), out);
  text.swap(out);
}

// Length of the placeholder of a chunk at text[pos], or 0; the chunk in *index.
size_t placeholder_at(std::string_view text, size_t pos, size_t chunk_count, size_t* index) {
  if (text.compare(pos, kChunkOpen.size(), kChunkOpen) != 0) return 0;
  const size_t digits = pos + kChunkOpen.size();
  size_t i = digits;
  uint64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - digits < 19) {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    ++i;
  }
  if (i == digits || value >= chunk_count || text.compare(i, kChunkClose.size(), kChunkClose) != 0)
    return 0;
  *index = static_cast<size_t>(value);
  return i + kChunkClose.size() - pos;
}

// «x \uFDD00\uFDD1 y» → «x <en>Hi</en> y». Chunks go in as written and are
// not searched again.
std::string put_back_en_chunks(std::string_view text, const std::vector<std::string>& chunks) {
  if (chunks.empty()) return std::string(text);
  size_t chunk_bytes = 0;
  for (const std::string& chunk : chunks) chunk_bytes += chunk.size();
  std::string out;
  out.reserve(text.size() + chunk_bytes);
  size_t copied = 0;
  for (size_t hit = text.find(kChunkOpen); hit != std::string_view::npos;
       hit = text.find(kChunkOpen, hit + 1)) {
    size_t index = 0;
    const size_t length = placeholder_at(text, hit, chunks.size(), &index);
    if (length == 0) continue;
    out.append(text.data() + copied, hit - copied);
    out += chunks[index];
    copied = hit + length;
    hit = copied - 1;
  }
  out.append(text.data() + copied, text.size() - copied);
  return out;
}

// Length of the space, tab or no-break space at text[pos], or 0.
size_t space_at(std::string_view text, size_t pos) {
  if (text[pos] == ' ' || text[pos] == '\t') return 1;
  return text.substr(pos, 2) == "\u00a0" ? 2 : 0;
}

// Whether RE_EXTRA_SPACES would change anything: a tab, a no-break space or
// two spaces in a row.
bool has_space_run(std::string_view text) {
  return rewrite::has_byte(text, '\t') || text.find("\u00a0") != std::string_view::npos ||
         text.find("  ") != std::string_view::npos;
}

void collapse_spaces_and_trim(std::string& text) {
  collapse_spaces(text);
  std::string_view trimmed = text::trim(text);
  if (trimmed.size() != text.size()) text = std::string(trimmed);
}

// ---------------------------------------------------------------------------
// Pipeline plumbing

// A pass of another module: text to new text.
void run(std::string& text, std::string (*pass)(std::string_view)) { text = pass(text); }

// A masking step of this file.
void run_masking(std::string& text, MaskTable& masks,
                 bool (*step)(std::string_view, MaskTable&, std::string&)) {
  std::string out;
  if (step(text, masks, out)) text.swap(out);
}

void restore_masks(std::string& text, const MaskTable& masks) {
  std::string out;
  if (masks.restore(text, out)) text.swap(out);
}

// A run of chunk placeholders («\uFDD00\uFDD1\uFDD01\uFDD1») → their keys,
// whose values are the placeholders themselves. Where the run touches a
// letter or digit, a space keeps its keys a word of their own, so no pass
// reads them into that word («12/3\uFDD00\uFDD1» → «12/3 maskaaaa»); the
// restore takes the space away again where the word comes back as written.
bool mask_chunk_placeholders(std::string_view text, MaskTable& masks, std::string& out) {
  out.clear();
  size_t copied = 0;
  bool any = false;
  for (size_t hit = text.find(kChunkOpen); hit != std::string_view::npos;) {
    size_t index = 0;
    const size_t length = placeholder_at(text, hit, static_cast<size_t>(-1), &index);
    if (length == 0) {
      hit = text.find(kChunkOpen, hit + 1);
      continue;
    }
    const size_t end = hit + length;
    const size_t next = text.find(kChunkOpen, end);
    std::string_view before = word_ending_at(text, hit, copied);
    std::string_view after = word_starting_at(text, end, std::min(next, text.size()));
    if (!before.empty() && !text::is_alphanumeric(text::char_before(text, hit))) before = {};
    size_t after_next = 0;
    if (!after.empty() && !text::is_alphanumeric(text::char_at(text, end, &after_next))) after = {};
    out.append(text.data() + copied, hit - copied);
    if (!before.empty()) out += ' ';
    out += masks.protect_apart(std::string(text.substr(hit, length)), std::string(before),
                               std::string(after));
    if (!after.empty()) out += ' ';
    copied = end;
    hit = next;
    any = true;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// The spans `find` gives in each stretch of `text` between the keys of
// `masks`: a masked stretch is a boundary, never part of an address, so no
// key is read out as letters inside another reading.
ByteSpans find_between_keys(std::string_view text, const MaskTable& masks,
                            ByteSpans (*find)(std::string_view)) {
  const ByteSpans keys = masks.key_spans(text);
  if (keys.empty()) return find(text);
  ByteSpans found;
  size_t from = 0;
  const auto find_in = [&](size_t to) {
    for (const auto& [start, end] : find(text.substr(from, to - from))) {
      found.emplace_back(from + start, from + end);
    }
  };
  for (const auto& [start, end] : keys) {
    find_in(start);
    from = end;
  }
  find_in(text.size());
  return found;
}

// The spans of `inner` that no span of `outer` holds whole with more before
// them (a web address before its user part; «www.a@b.vn» stays an address).
ByteSpans outside_of(const ByteSpans& inner, const ByteSpans& outer) {
  ByteSpans kept;
  size_t o = 0;
  for (const auto& span : inner) {
    while (o < outer.size() && outer[o].second <= span.first) ++o;
    const bool held =
        o < outer.size() && outer[o].first < span.first && span.second <= outer[o].second;
    if (!held) kept.push_back(span);
  }
  return kept;
}

// Every span replaced by the key `protect` gives for it; a key that would
// stand right against another key («<en>x</en>abc@x.com») gets a space there,
// so the two readings never glue into one word.
template <class Protect>
bool replace_spans_apart(std::string_view text, const ByteSpans& spans, const MaskTable& masks,
                         std::string& out, Protect protect) {
  if (spans.empty()) return false;
  const ByteSpans keys = masks.key_spans(text);
  size_t k = 0;
  const auto append = [&](std::string_view match, std::string_view, std::string& o) {
    const size_t start = static_cast<size_t>(match.data() - text.data());
    const size_t end = start + match.size();
    while (k < keys.size() && keys[k].second < start) ++k;
    const bool after_key = k < keys.size() && keys[k].second == start;
    while (k < keys.size() && keys[k].first < end) ++k;
    const bool before_key = k < keys.size() && keys[k].first == end;
    if (after_key) o += ' ';
    o += protect(match);
    if (before_key) o += ' ';
  };
  return rewrite::replace_spans(text, spans, out, append);
}

}  // namespace

// ---------------------------------------------------------------------------
// Patterns

// «<EN>Hi\nthere</En>» whole; in «<en>a</en> <en>b</en>» two chunks.
const Regex& RE_EN_TAG() {
  static const Regex re(R"re((?si)<en>.*?</en>)re", Engine::kLinear);
  return re;
}

// «ENTOKEN12», «xentoken3»: the index digits included.
const Regex& RE_ENTOKEN() {
  static const Regex re(R"re((?i)ENTOKEN\d+)re", Engine::kLinear);
  return re;
}

// «__start_en__u s d__end_en__», «<en>ok</en>».
const Regex& RE_INTERNAL_EN_TAG() {
  static const Regex re(R"re((?i)(?s)(__start_en__.*?__end_en__|<en>.*?</en>))re",
                        Engine::kLinear);
  return re;
}

// «a.. . b» → «a. b».
const Regex& RE_MULTI_DOT() {
  static const Regex re(R"re(\.[\s.]*\.)re", Engine::kLinear);
  return re;
}

// «a \t\u00a0 b» → «a b».
const Regex& RE_EXTRA_SPACES() {
  static const Regex re(R"re([ \t\xA0]+)re", Engine::kLinear);
  return re;
}

// «a, ,b» → «a,b».
const Regex& RE_EXTRA_COMMAS() {
  static const Regex re(R"re(,\s*,)re", Engine::kLinear);
  return re;
}

// «a, .» → «a.».
const Regex& RE_COMMA_BEFORE_PUNCT() {
  static const Regex re(R"re(,\s*([.!?;]))re", Engine::kLinear);
  return re;
}

// «a ,» → «a,».
const Regex& RE_SPACE_BEFORE_PUNCT() {
  static const Regex re(R"re(\s+([,.!?;:]))re", Engine::kLinear);
  return re;
}

// «a,b» → «a, b»; «a.<en>» and «1.5» stay.
const Regex& RE_MISSING_SPACE_AFTER_PUNCT() {
  static const Regex re(R"re(([.,!?;:])([^\s\d<]))re", Engine::kLinear);
  return re;
}

// ---------------------------------------------------------------------------
// Mask table

MaskTable::MaskTable(std::string_view text) : prefix_(std::string(kMaskPrefix) + key_salt(text)) {}

namespace {

// The prefix followed by the index of entry n in letters.
std::string key_with_prefix(std::string_view prefix, size_t n) {
  std::string digits = std::to_string(n);
  std::string key(prefix);
  if (n < kShortKeys) {
    key.append(4 - digits.size(), 'a');
    append_digit_letters(key, digits);
  } else {
    key += kWideMark;
    append_digit_letters(key, digits);
    key += kWideMark;
  }
  return key;
}

}  // namespace

std::string MaskTable::key(size_t n) const { return key_with_prefix(prefix_, n); }

std::string MaskTable::protect_segment(std::string value) {
  std::string k = key(values_.size());
  values_.push_back(std::move(value));
  return k;
}

size_t MaskTable::key_at(std::string_view text, size_t pos, size_t* index) const {
  if (text.compare(pos, prefix_.size(), prefix_) != 0) return 0;
  const size_t body = pos + prefix_.size();
  if (body < text.size() && text[body] == kWideMark) {
    // the prefix + «k» + letters + «k»: an index of five digits or more, no
    // leading zero.
    size_t i = body + 1;
    uint64_t value = 0;
    while (i < text.size() && is_digit_letter(text[i]) && i - body - 1 < kMaxWideDigits) {
      value = value * 10 + static_cast<uint64_t>(text[i] - 'a');
      ++i;
    }
    size_t digits = i - body - 1;
    if (i >= text.size() || text[i] != kWideMark || digits < 5 || text[body + 1] == 'a' ||
        value >= values_.size())
      return 0;
    *index = static_cast<size_t>(value);
    return i + 1 - pos;
  }
  const size_t end = body + kShortKeyLength - kMaskPrefix.size();
  if (end > text.size()) return 0;
  size_t value = 0;
  for (size_t i = body; i < end; ++i) {
    if (!is_digit_letter(text[i])) return 0;
    value = value * 10 + static_cast<size_t>(text[i] - 'a');
  }
  if (value >= values_.size()) return 0;
  *index = value;
  return end - pos;
}

std::vector<std::pair<size_t, size_t>> MaskTable::key_spans(std::string_view text) const {
  std::vector<std::pair<size_t, size_t>> spans;
  if (values_.empty()) return spans;
  for (size_t hit = text.find(prefix_); hit != std::string_view::npos;
       hit = text.find(prefix_, hit + 1)) {
    size_t index = 0;
    const size_t length = key_at(text, hit, &index);
    if (length == 0) continue;
    spans.emplace_back(hit, hit + length);
    hit += length - 1;
  }
  return spans;
}

std::string MaskTable::protect_apart(std::string value, std::string before, std::string after) {
  if (!before.empty() || !after.empty()) {
    beside_.resize(values_.size());
    beside_.push_back({std::move(before), std::move(after)});
  }
  return protect_segment(std::move(value));
}

bool MaskTable::restore(std::string_view text, std::string& out) const {
  const auto spans = key_spans(text);
  if (spans.empty()) return false;
  out.clear();
  out.reserve(text.size() + 16 * values_.size());
  size_t copied = 0;
  for (size_t i = 0; i < spans.size(); ++i) {
    const auto [start, end] = spans[i];
    size_t index = 0;
    key_at(text, start, &index);
    size_t copy_to = start;
    size_t resume = end;
    if (index < beside_.size()) {
      // A space the key was written with goes where the word beside it is
      // still the word it touched; words reach no further than the next keys.
      const Beside& beside = beside_[index];
      const size_t floor = i > 0 ? spans[i - 1].second : 0;
      const size_t ceiling = i + 1 < spans.size() ? spans[i + 1].first : text.size();
      if (!beside.before.empty() && start > copied && text[start - 1] == ' ' &&
          word_ending_at(text, start - 1, floor) == beside.before)
        copy_to = start - 1;
      if (!beside.after.empty() && end < ceiling && text[end] == ' ' &&
          word_starting_at(text, end + 1, ceiling) == beside.after)
        resume = end + 1;
    }
    out.append(text.data() + copied, copy_to - copied);
    out += values_[index];
    copied = resume;
  }
  out.append(text.data() + copied, text.size() - copied);
  return true;
}

// ---------------------------------------------------------------------------
// Protection steps

// «a@b.com» → the key of «__start_en__a__end_en__ a còng ...».
std::string protect_email(std::string_view address, MaskTable& masks) {
  return masks.protect_segment(normalize_emails(address));
}

// «https://x.vn/a» → the key of its reading; an exception («TP.HCM») → the
// key of its table value. A code or address that only holds one («Shopee.VN»,
// «BH-2024-VN-77») is read as any other is, its letters and digits spoken.
std::string protect_technical(std::string_view match, MaskTable& masks) {
  if (const std::string_view* value = COMBINED_EXCEPTIONS().find(match)) {
    return masks.protect_segment(std::string(*value));
  }
  return masks.protect_segment(normalize_technical(match));
}

// The pipeline's own chunk placeholders («\uFDD00\uFDD1») → keys, kept as
// they are. Nothing the caller wrote is masked here: a word that looks like
// a placeholder of some other form («ENTOKEN3») is ordinary text.
bool mask_placeholders(std::string_view text, MaskTable& masks, std::string& out) {
  return text.find(kChunkOpen) != std::string_view::npos &&
         mask_chunk_placeholders(text, masks, out);
}

bool mask_emails(std::string_view text, MaskTable& masks, std::string& out) {
  if (!rewrite::has_byte(text, '@')) return false;
  // find_emails gives the spans of RE_EMAIL's matches in linear time; the
  // pattern itself retries long runs of address characters from every start.
  ByteSpans emails = find_between_keys(text, masks, find_emails);
  // An address inside a web address («https://user@host.com/path») is read
  // with it, at the next step. Only an address glued to what stands before it
  // can be one.
  const auto glued = [&](const std::pair<size_t, size_t>& span) {
    const size_t start = span.first;
    return start > 0 && !text::is_space_class(static_cast<unsigned char>(text[start - 1]));
  };
  if (std::any_of(emails.begin(), emails.end(), glued)) {
    emails = outside_of(emails, find_between_keys(text, masks, find_technical_strings));
  }
  return replace_spans_apart(text, emails, masks, out, [&](std::string_view address) {
    return protect_email(address, masks);
  });
}

namespace {

// Whether `part` is a word of ASCII letters only.
bool is_ascii_letter_word(std::string_view part) {
  return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
    return text::is_ascii_letter(static_cast<unsigned char>(c));
  });
}

// Whether a string the technical finder took is prose around table
// abbreviations rather than an identifier: its parts between hyphens are
// table keys or words of letters, and one is a key written with its own dots.
// «TP.HCM-Long», «HN-TP.HCM» → true; «BH-2024-VN-77», «a.b-c» → false.
bool is_abbreviated_route(std::string_view match) {
  bool dotted_key = false;
  size_t from = 0;
  while (from <= match.size()) {
    size_t dash = match.find('-', from);
    if (dash == std::string_view::npos) dash = match.size();
    const std::string_view part = match.substr(from, dash - from);
    if (COMBINED_EXCEPTIONS().find(part) != nullptr) {
      dotted_key = dotted_key || part.find('.') != std::string_view::npos;
    } else if (!is_ascii_letter_word(part)) {
      return false;
    }
    from = dash + 1;
  }
  return dotted_key;
}

}  // namespace

bool mask_technical(std::string_view text, MaskTable& masks, std::string& out) {
  // find_technical_strings gives the spans of RE_TECHNICAL's matches in
  // linear time (the pattern itself rescans long runs such as «1.1.1…» from
  // every start), addresses carried on over letters beyond ASCII.
  ByteSpans spans = find_between_keys(text, masks, find_technical_strings);
  // A route between abbreviated places («cao tốc TP.HCM-Long Thành») is left
  // to the passes that expand the abbreviations.
  std::erase_if(spans, [&](const std::pair<size_t, size_t>& span) {
    return is_abbreviated_route(text.substr(span.first, span.second - span.first));
  });
  return replace_spans_apart(text, spans, masks, out, [&](std::string_view match) {
    return protect_technical(match, masks);
  });
}

// «+84 912 345 678» → « key », the key of «không chín một hai, ba bốn năm,
// sáu bảy tám».
bool mask_telephone_numbers(std::string_view text, MaskTable& masks, std::string& out) {
  const std::vector<TelephoneNumber> numbers = find_telephone_numbers(text);
  if (numbers.empty()) return false;
  out.clear();
  out.reserve(text.size() + 16 * numbers.size());
  size_t copied = 0;
  for (const TelephoneNumber& number : numbers) {
    out.append(text.data() + copied, number.start - copied);
    out += ' ';
    out += masks.protect_segment(number.reading);
    out += ' ';
    copied = number.end;
  }
  out.append(text.data() + copied, text.size() - copied);
  return true;
}

// «__start_en__u s d__end_en__» → its key, markers included.
bool mask_en_spans(std::string_view text, MaskTable& masks, std::string& out) {
  if (!rewrite::has_any_byte(text, "_<")) return false;
  // RE_INTERNAL_EN_TAG's matches, without its rescans from unclosed markers.
  return rewrite::replace_spans(text, find_internal_en_spans(text), out,
                       [&](std::string_view match, std::string_view, std::string& o) {
                         o += masks.protect_segment(std::string(match));
                       });
}

// ---------------------------------------------------------------------------
// The end of the pipeline

// «__start_en__usd__end_en__» → «<en>usd</en>»; markers in capitals stay.
bool convert_en_markers(std::string_view text, std::string& out) {
  std::string opened;
  bool any_open = rewrite::replace_literal(text, kStartEn, "<en>", opened);
  std::string_view current = any_open ? std::string_view(opened) : text;
  if (rewrite::replace_literal(current, kEndEn, "</en>", out)) return true;
  if (any_open) out.swap(opened);
  return any_open;
}

// «a_b-c» → «a b c»; the dashes U+2013 and U+2014 stay. One byte for one.
void spaces_for_underscores_and_hyphens(std::string& text) {
  for (char& c : text)
    if (c == '_' || c == '-') c = ' ';
}

void collapse_spaces(std::string& text) {
  if (!has_space_run(text)) return;
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t length = space_at(text, pos);
    if (length == 0) {
      out += text[pos++];
      continue;
    }
    out += ' ';
    for (pos += length; pos < text.size() && (length = space_at(text, pos)) != 0;) pos += length;
  }
  text.swap(out);
}

bool has_space_before_punct(std::string_view text) {
  const auto space = [](char32_t c) { return text::is_space_class(c); };
  return text::has_byte_preceded_by(text, ",.!?;:", space);
}

bool has_punct_before_other(std::string_view text) {
  return text::has_byte_followed_by(text, ",.!?;:", [](char32_t c) {
    return !text::is_space_class(c) && !text::is_ascii_digit(c) && c != '<';
  });
}

// «a ,, b .. c» → «a, b. c»: six replace-alls, each once, in this order.
// Each pattern is run only when its pre-check finds a place it could match.
void clean_up_punctuation(std::string& text) {
  rewrite::run_pass(text, [](std::string_view t, std::string& out) {
    return text::has_bytes_across_spaces(t, ".", ".") &&
           rewrite::replace_all(t, RE_MULTI_DOT(), ".", out);
  });
  collapse_spaces(text);
  rewrite::run_pass(text, [](std::string_view t, std::string& out) {
    return text::has_bytes_across_spaces(t, ",", ",") &&
           rewrite::replace_all(t, RE_EXTRA_COMMAS(), ",", out);
  });
  rewrite::run_pass(text, [](std::string_view t, std::string& out) {
    return text::has_bytes_across_spaces(t, ",", ".!?;") &&
           rewrite::replace_all(t, RE_COMMA_BEFORE_PUNCT(), "$1", out);
  });
  rewrite::run_pass(text, [](std::string_view t, std::string& out) {
    return has_space_before_punct(t) && rewrite::replace_all(t, RE_SPACE_BEFORE_PUNCT(), "$1", out);
  });
  rewrite::run_pass(text, [](std::string_view t, std::string& out) {
    return has_punct_before_other(t) &&
           rewrite::replace_all(t, RE_MISSING_SPACE_AFTER_PUNCT(), "$1 $2", out);
  });
}

// « ,a b, » → «a b»; «, x» → « x» (commas go after the trim).
std::string trim_and_lower(std::string_view text) {
  std::string_view t = text::trim(text);
  while (!t.empty() && t.front() == ',') t.remove_prefix(1);
  while (!t.empty() && t.back() == ',') t.remove_suffix(1);
  return text::to_lower(t);
}

// ---------------------------------------------------------------------------
// The pipeline

std::string clean_vietnamese_text(std::string_view input) {
  std::string text(input);
  using rewrite::run_pass;
  run_pass(text, fold_digits_and_apostrophes);       //    other scripts' digits, ’ in words
  run_pass(text, fold_dong_signs);                   //    "₫" → "đ", read as "đ" is
  run_pass(text, fold_superscript_exponents);        //    "10⁶" → "10^6", read as "^" is
  run_pass(text, fold_compatibility_signs);          //    "℃" → "°C", "㎏" → "kg", "𝐒" → "S"
  // Keys that no stretch of the text as it enters the steps can imitate.
  MaskTable masks(text);
  run_masking(text, masks, mask_placeholders);       //  1 caller placeholders
  run_masking(text, masks, mask_emails);             //  2 e-mail addresses
  run_masking(text, masks, mask_technical);          //  3 addresses, paths, identifiers
  // Telephone numbers before any pass can read their groups as cardinals,
  // ranges, dates or fractions; their readings masked, final.
  run_masking(text, masks, mask_telephone_numbers);  //    "+84 912 345 678", "1900-1009"
  run_pass(text, split_camel_case);                  //  4 camelCase → camel Case
  run(text, expand_power_of_ten);                    //  5 a number times a power of ten
  run(text, expand_multiplications);                 //  6 multiplication signs
  run_pass(text, read_context_tru);                  //  7 "bằng 5-3" → trừ
  run_pass(text, read_context_tru_post);             //  8 "5-3 bằng" → trừ
  run_pass(text, read_context_den);                  //  9 "từ 5-10" → đến
  run_pass(text, read_eq_minus);                     // 10 "5-3=" → trừ
  run_pass(text, read_eq_neg);                       // 11 "=-5" → âm
  run_pass(text, read_minus_before_letter);          //    "= -b" → trừ, before "-" joins words
  run(text, expand_abbreviations);                   // 12 abbreviations
  run(text, expand_scientific_notation);             // 13 mantissa and exponent
  // Before the date and number passes read "1/2" or "6,5" into words, so
  // that the mark still follows the number ("10h30'" is glued to a word and
  // stays for the clock times).
  run_pass(text, read_number_marks);                 //    "38'45\"" → phút, giây; "27\"" → inch
  // Before the date pass, which would take «00-17» of «8:00-17:00» for a day
  // and month: a dash between two quantities of one kind reads «đến».
  run_pass(text, read_quantity_ranges);              //    "8h-17h" → đến
  run(text, normalize_date);                         // 14 dates, months, quarters
  run(text, normalize_time);                         // 15 clock times
  // After the dates («Q1.2024»), before the letter passes take the whole
  // part of a number and leave its point behind.
  run_pass(text, read_decimal_points_after_letters);  //    "PM2.5" → "PM2 chấm năm"
  run_pass(text, read_numeric_dash_groups);          // 16 "123-456-789"
  run_pass(text, read_phone_space);                  // 17 "090 123 456"
  run_pass(text, read_power_of_ten_implicit);        // 18 "10^6"
  run_pass(text, read_ranges);                       // 19 "5-10" → đến, or a space
  run_pass(text, dash_to_comma);                     // 20 " - " → " , "
  run_pass(text, read_to_sang);                      // 21 "->", "=>" → sang
  run(text, expand_scientific_notation);             // 22 the same as step 13, again
  // Space-grouped thousands as the late number pass groups them, dotted so
  // that the measure passes read the whole number.
  run_pass(text, write_spaced_thousands_with_dots);  //    "100 000đ" → "100.000đ"
  run(text, expand_compound_units);                  // 23 unit per unit
  run(text, expand_units_and_currency);              // 24 currencies, percentages, measures
  run_pass(text, read_long_numbers);                 // 25 seven digits or more, one by one
  run(text, fix_english_style_numbers);              // 26 "1,234.5" → "1234,5"
  run_pass(text, read_multi_comma);                  // 27 "1,2,3"
  run_pass(text, read_floats_with_comma);            // 28 decimal commas
  run_pass(text, remove_dot_separators);             // 29 "1.234.567" → "1234567"
  run(text, normalize_others);                       // 30 letters, symbols, acronyms, ...
  run(text, normalize_number_vi);                    // 31 every number still in digits
  run_masking(text, masks, mask_en_spans);           // 32 English spans
  run(text, expand_standalone_letters);              // 33 single letters by name
  run_pass(text, read_dot_between_digits);           // 34 "3.14" → chấm
  restore_masks(text, masks);                        // 35 keys → values
  run_pass(text, convert_en_markers);                // 36 markers → <en>, </en>
  spaces_for_underscores_and_hyphens(text);          // 37 "_", "-" → " "
  clean_up_punctuation(text);                        // 38 dots, spaces, commas
  return trim_and_lower(text);                       // 39 trim, commas, lower case
}

// ---------------------------------------------------------------------------
// Normalizer::normalize

std::string Normalizer::normalize(std::string_view input) {
  if (input.empty()) return std::string();
  std::string text = text::nfc(input);
  std::vector<std::string> chunks;
  lift_en_chunks(text, chunks);
  text = clean_vietnamese_text(text);
  collapse_spaces_and_trim(text);
  if (chunks.empty()) return text;
  text = put_back_en_chunks(text, chunks);
  collapse_spaces_and_trim(text);
  return text;
}

}  // namespace vyr::vi_normalizer
