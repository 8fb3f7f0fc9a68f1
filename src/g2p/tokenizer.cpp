#include "g2p/tokenizer.hpp"

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "g2p/g2p.hpp"
#include "g2p/text_ops.hpp"
#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

constexpr std::string_view kEnMarker = "<en>";
constexpr std::u32string_view kVietnameseLetters =
    U"àáảãạăằắẳẵặâầấẩẫậèéẻẽẹêềếểễệìíỉĩịòóỏõọôồốổỗộơờớởỡợùúủũụưừứửữựỳýỷỹỵđ";
// Ends the neighbour search of propagate_language; the comma does not.
constexpr std::string_view kBoundaryChars = ".!?;:()[]{}";
constexpr std::string_view kOpenTag = "<en>";
constexpr std::string_view kCloseTag = "</en>";

// «\x1f» + vi + «\x1f» + en + «\x1f»
std::string dual_pronunciation(const ReadingPair& readings) {
  const std::string_view vi = trim_edges(readings.first);
  const std::string en = trimmed(without_en_marker(readings.second));
  std::string out;
  out.reserve(vi.size() + en.size() + 3);
  out += '\x1f';
  out += vi;
  out += '\x1f';
  out += en;
  out += '\x1f';
  return out;
}

Token punct_token(std::string_view ch) { return Token{Lang::kPunct, ch, std::string(ch)}; }

// A word outside an English segment: merged value, else both readings,
// else a guess from its letters. «Hello» → kEn «həˈloʊ»; «on» → kCommon
// «\x1fɔn\x1fɒn\x1f»; «Đi» (absent) → kVi, no phonemes.
Token word_token(const G2PEngine& engine, std::string_view word) {
  const std::string lowered = lower_word(word);
  if (std::optional<std::string> value = engine.cached_lookup_merged(lowered)) {
    const bool english = value->find(kEnMarker) != std::string::npos;
    return Token{english ? Lang::kEn : Lang::kVi, word,
                 without_en_marker_trimmed(std::move(*value))};
  }
  if (std::optional<ReadingPair> readings = engine.cached_lookup_common(lowered)) {
    return Token{Lang::kCommon, word, dual_pronunciation(*readings)};
  }
  return Token{has_vietnamese_letter(lowered) ? Lang::kVi : Lang::kEn, word, std::nullopt};
}

// A word inside an English segment: only English readings apply.
// «on» → kEn «ɒn».
Token english_word_token(const G2PEngine& engine, std::string_view word) {
  const std::string lowered = lower_word(word);
  if (std::optional<std::string> value = engine.cached_lookup_merged(lowered)) {
    return Token{Lang::kEn, word, without_en_marker_trimmed(std::move(*value))};
  }
  std::optional<ReadingPair> readings = engine.cached_lookup_common(lowered);
  if (readings && !readings->second.empty()) {
    return Token{Lang::kEn, word, without_en_marker_trimmed(std::move(readings->second))};
  }
  return Token{Lang::kEn, word, std::nullopt};
}

// «<EN> a<en>b </en>» → «ab»: the segment without its tags, trimmed. A view
// into `segment` unless inner tags had to be cut out.
std::string_view segment_content(std::string_view segment, std::deque<std::string>& storage) {
  // RE_TOKEN matched the tags themselves: four and five ASCII bytes.
  std::string_view inner = segment.substr(
      kOpenTag.size(), segment.size() - kOpenTag.size() - kCloseTag.size());
  if (inner.find('<') != std::string_view::npos && RE_TAG_STRIP().is_match(inner)) {
    storage.push_back(RE_TAG_STRIP().replace_all(inner, ""));
    inner = storage.back();
  }
  return text::trim(inner);
}

void append_segment_tokens(const G2PEngine& engine, std::string_view segment, TokenList& list) {
  const std::string_view content = segment_content(segment, list.storage);
  if (content.empty()) return;
  RE_TAG_CONTENT().for_each(content, [&](const text::Captures& m) {
    if (m.matched(1)) {
      list.tokens.push_back(english_word_token(engine, m[1]));
    } else {
      list.tokens.push_back(punct_token(m[2]));
    }
  });
}

// A stretch of text holding no segment: RE_TOKEN's word and character
// alternatives, which RE_TAG_CONTENT spells out (the (?i) of RE_TOKEN only
// concerns the tags: words, apostrophes and classes have no case variants).
void append_plain_tokens(const G2PEngine& engine, std::string_view plain, TokenList& list) {
  RE_TAG_CONTENT().for_each(plain, [&](const text::Captures& m) {
    if (m.matched(1)) {
      list.tokens.push_back(word_token(engine, m[1]));
    } else {
      list.tokens.push_back(punct_token(m[2]));
    }
  });
}

// 'e' and 'n' are the only letters of the tags, and have no case variants
// besides their ASCII capitals.
bool is_tag_at(std::string_view text, size_t pos, std::string_view tag) {
  if (text.size() - pos < tag.size()) return false;
  for (size_t k = 0; k < tag.size(); ++k) {
    char c = text[pos + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tag[k]) return false;
  }
  return true;
}

// The first `tag` (any letter case) starting at or after `from` and ending
// at or before `end`, or npos.
size_t find_tag(std::string_view text, std::string_view tag, size_t from, size_t end) {
  while (from < end) {
    const void* lt = std::memchr(text.data() + from, '<', end - from);
    if (lt == nullptr) return std::string_view::npos;
    const size_t at = static_cast<size_t>(static_cast<const char*>(lt) - text.data());
    if (is_tag_at(text.substr(0, end), at, tag)) return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

// The English segments: an opening tag, then the first closing tag after it,
// across line breaks too, as the normaliser lifts the caller's chunks; tags
// in any letter case. Found by plain scans that read each byte a bounded
// number of times: the regex engine would rescan the rest of the text from
// every unclosed opening tag, quadratic in a text such as «<en><en><en>…».
class SegmentFinder {
 public:
  explicit SegmentFinder(std::string_view text) : text_(text) {}

  struct Span {
    size_t begin, end;
  };

  // The first segment that starts at or after `pos`. Calls must come with
  // growing positions, each at or after the end of the segment before.
  std::optional<Span> next(size_t pos) {
    if (spent_) return std::nullopt;
    const size_t open = find_tag(text_, kOpenTag, pos, text_.size());
    const size_t close = open == std::string_view::npos
                             ? std::string_view::npos
                             : find_tag(text_, kCloseTag, open + kOpenTag.size(), text_.size());
    if (close == std::string_view::npos) {
      // No closing tag after this opening tag: none after any later one.
      spent_ = true;
      return std::nullopt;
    }
    return Span{open, close + kCloseTag.size()};
  }

 private:
  std::string_view text_;
  bool spent_ = false;
};

bool is_boundary(const Token& token) {
  return token.text.size() == 1 && kBoundaryChars.find(token.text[0]) != std::string_view::npos;
}

bool is_decided(const Token& token) { return token.lang == Lang::kVi || token.lang == Lang::kEn; }

struct Neighbour {
  Lang lang;
  size_t distance;
};

std::optional<Neighbour> decided_before(const std::vector<Token>& tokens, size_t run_start) {
  for (size_t k = run_start; k-- > 0;) {
    if (is_boundary(tokens[k])) return std::nullopt;
    if (is_decided(tokens[k])) return Neighbour{tokens[k].lang, run_start - k};
  }
  return std::nullopt;
}

// The language of the nearer neighbour; at equal distance Vietnamese, the
// language of the text, unless both neighbours are English.
Lang nearer_language(const Neighbour& before, const Neighbour& after) {
  if (before.distance < after.distance) return before.lang;
  if (after.distance < before.distance) return after.lang;
  return before.lang == Lang::kEn && after.lang == Lang::kEn ? Lang::kEn : Lang::kVi;
}

// For every position, the first kVi/kEn token at or after it that no
// boundary precedes, or kNone. Later tokens keep their labels while earlier
// runs are settled, so one right-to-left pass serves every forward search
// (the searches would otherwise rescan long stretches of kCommon words).
constexpr size_t kNone = static_cast<size_t>(-1);

std::vector<size_t> first_decided_from(const std::vector<Token>& tokens) {
  std::vector<size_t> first(tokens.size() + 1, kNone);
  for (size_t k = tokens.size(); k-- > 0;) {
    if (is_boundary(tokens[k])) {
      first[k] = kNone;
    } else if (is_decided(tokens[k])) {
      first[k] = k;
    } else {
      first[k] = first[k + 1];
    }
  }
  return first;
}

}  // namespace

// «<en>hello</en>» | «it’s» | «,»
const text::Regex& RE_TOKEN() {
  static const text::Regex re("(?si)(<en>.*?</en>)|(\\w+(?:['\u2019]\\w+)*)|([^\\w\\s])",
                              text::Engine::kLinear);
  return re;
}

// «it’s» | «,»
const text::Regex& RE_TAG_CONTENT() {
  static const text::Regex re("(\\w+(?:['\u2019]\\w+)*)|([^\\w\\s])", text::Engine::kLinear);
  return re;
}

// «<en>» | «</EN>»
const text::Regex& RE_TAG_STRIP() {
  static const text::Regex re("(?i)</?en>", text::Engine::kLinear);
  return re;
}

std::string without_en_marker(std::string_view s) {
  std::string out;
  size_t from = 0;
  for (size_t at = s.find(kEnMarker); at != std::string_view::npos; at = s.find(kEnMarker, from)) {
    if (out.empty()) out.reserve(s.size());
    out.append(s.substr(from, at - from));
    from = at + kEnMarker.size();
  }
  if (from == 0) return std::string(s);
  out.append(s.substr(from));
  return out;
}

std::string trimmed(std::string&& s) {
  const std::string_view t = trim_edges(s);
  if (t.size() == s.size()) return std::move(s);
  return std::string(t);
}

std::string without_en_marker_trimmed(std::string&& s) {
  if (s.find(kEnMarker) == std::string::npos) return trimmed(std::move(s));
  return trimmed(without_en_marker(s));
}

bool has_vietnamese_letter(std::string_view lowered) {
  for (size_t pos = 0; pos < lowered.size();) {
    const char32_t c = text::decode_utf8(lowered, pos);
    if (c >= 0x80 && kVietnameseLetters.find(c) != std::u32string_view::npos) return true;
  }
  return false;
}

// The tokens RE_TOKEN's matches give, in order: the stretches between
// segments go through RE_TAG_CONTENT, the segments themselves are found by
// SegmentFinder (see there why not by the regex).
TokenList tokenize(const G2PEngine& engine, std::string_view text) {
  TokenList list;
  list.tokens.reserve(text.size() / 4 + 1);  // a syllable and its space, roughly
  SegmentFinder segments(text);
  for (size_t pos = 0;;) {
    const std::optional<SegmentFinder::Span> segment = segments.next(pos);
    const size_t plain_end = segment ? segment->begin : text.size();
    append_plain_tokens(engine, text.substr(pos, plain_end - pos), list);
    if (!segment) break;
    append_segment_tokens(engine, text.substr(segment->begin, segment->end - segment->begin),
                          list);
    pos = segment->end;
  }
  return list;
}

void propagate_language(std::vector<Token>& tokens) {
  std::vector<size_t> first_decided;  // built at the first kCommon token
  size_t i = 0;
  while (i < tokens.size()) {
    if (tokens[i].lang != Lang::kCommon) {
      ++i;
      continue;
    }
    if (first_decided.empty()) first_decided = first_decided_from(tokens);
    size_t j = i + 1;
    while (j < tokens.size() && tokens[j].lang == Lang::kCommon) ++j;
    // Earlier runs are settled already, so this walk stops at the latest of
    // them: over the whole list it visits each token once.
    const std::optional<Neighbour> before = decided_before(tokens, i);
    std::optional<Neighbour> after;
    if (const size_t k = first_decided[j]; k != kNone) {
      after = Neighbour{tokens[k].lang, k - (j - 1)};
    }
    Lang lang = Lang::kVi;
    if (before && after) {
      lang = nearer_language(*before, *after);
    } else if (before) {
      lang = before->lang;
    } else if (after) {
      lang = after->lang;
    }
    for (size_t k = i; k < j; ++k) tokens[k].lang = lang;
    i = j;
  }
}

}  // namespace vyr::g2p
