#include "g2p/assembly.hpp"

#include <optional>
#include <string>
#include <utility>

#include "g2p/g2p.hpp"
#include "g2p/text_ops.hpp"
#include "g2p/tokenizer.hpp"
#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

constexpr char kSeparator = '\x1f';

bool is_glued_mark(char c) {
  return c == '.' || c == ',' || c == '!' || c == '?' || c == ';' || c == ':';
}

}  // namespace

bool is_dual_pronunciation(std::string_view p) {
  return !p.empty() && p.front() == kSeparator && p.back() == kSeparator;
}

std::string_view dual_part(std::string_view p, Lang lang) {
  // A lone separator is its own first and last byte: nothing lies between.
  if (p.size() < 2) return {};
  const std::string_view inner = p.substr(1, p.size() - 2);
  const size_t sep = inner.find(kSeparator);
  if (sep == std::string_view::npos) return lang == Lang::kEn ? std::string_view() : inner;
  return lang == Lang::kEn ? inner.substr(sep + 1) : inner.substr(0, sep);
}

void append_token_part(const G2PEngine& engine, const Token& token, std::string& out) {
  if (token.lang == Lang::kPunct) {
    out += token.text;
    return;
  }
  if (token.phonemes) {
    const std::string_view p = *token.phonemes;
    out += trim_edges(is_dual_pronunciation(p) ? dual_part(p, token.lang) : p);
    return;
  }
  if (std::optional<std::string> pieces = engine.segment(lower_word(token.text), token.lang)) {
    out += trim_edges(*pieces);
    return;
  }
  out += trim_edges(engine.spell_letters(token.text, token.lang));
}

// One pass does the six replacements in their order: each deletes only a
// space that stands before its own mark, and a mark is no space, so no
// replacement makes or breaks a pair that a later one replaces.
void glue_punctuation(std::string& joined) {
  size_t read = 0;
  while (read + 1 < joined.size() && !(joined[read] == ' ' && is_glued_mark(joined[read + 1]))) {
    ++read;
  }
  if (read + 1 >= joined.size()) return;  // nothing to delete: no copy, no move
  size_t write = read;
  while (read < joined.size()) {
    if (joined[read] == ' ' && read + 1 < joined.size() && is_glued_mark(joined[read + 1])) {
      ++read;
    }
    joined[write++] = joined[read++];
  }
  joined.resize(write);
}

std::string assemble(const G2PEngine& engine, const std::vector<Token>& tokens) {
  std::string out;
  out.reserve(tokens.size() * 8);  // a syllable's reading plus its space, roughly
  for (size_t k = 0; k < tokens.size(); ++k) {
    if (k > 0) out += ' ';
    append_token_part(engine, tokens[k], out);
  }
  glue_punctuation(out);
  return out;
}

// «Xy» → lookups of «x» and «y», pieces glued; a character nobody knows is
// copied lower-cased.
std::string G2PEngine::spell_letters(std::string_view word, Lang lang) const {
  std::string out;
  out.reserve(word.size() * 2);
  for (size_t pos = 0; pos < word.size();) {
    const std::string s = lower_letter(text::decode_utf8(word, pos));
    if (std::optional<std::string> value = cached_lookup_merged(s)) {
      out += without_en_marker_trimmed(std::move(*value));
    } else if (std::optional<ReadingPair> readings = cached_lookup_common(s)) {
      auto& [vi, en] = *readings;
      std::string& chosen = (lang == Lang::kEn && !en.empty()) ? en : !vi.empty() ? vi : en;
      out += without_en_marker_trimmed(std::move(chosen));
    } else {
      out += s;
    }
  }
  return out;
}

}  // namespace vyr::g2p
