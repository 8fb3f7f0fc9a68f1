#include "vi_normalizer/en_tags.hpp"

#include <cstring>

namespace vyr::vi_normalizer {

namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr std::string_view kLongS = "\xC5\xBF";  // U+017F, which (?i) folds to "s"

// Bytes of `tag` (lower-case ASCII) at text[pos] in any letter case, or 0.
// Only "s" has a case partner beyond ASCII among the letters of the tags.
// «<EN>» at 0 → 4; «__ſtart_en__» at 0 → 13.
size_t tag_length_at(std::string_view text, size_t pos, std::string_view tag) {
  size_t p = pos;
  for (const char t : tag) {
    if (p >= text.size()) return 0;
    if (t == 's' && text.compare(p, kLongS.size(), kLongS) == 0) {
      p += kLongS.size();
      continue;
    }
    char c = text[p];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != t) return 0;
    ++p;
  }
  return p - pos;
}

// The occurrences of one tag, asked for with positions that grow: a stretch
// already searched is not searched again.
class TagFinder {
 public:
  TagFinder(std::string_view text, std::string_view tag) : text_(text), tag_(tag) {}

  struct Hit {
    size_t at = kNone;
    size_t length = 0;
  };

  // The first occurrence starting at or after `from` (at == kNone: none).
  Hit next(size_t from) {
    if (from >= searched_from_ && (hit_.at == kNone || from <= hit_.at)) return hit_;
    searched_from_ = from;
    hit_ = Hit{};
    for (size_t pos = from; pos < text_.size(); ++pos) {
      const void* b = std::memchr(text_.data() + pos, tag_[0], text_.size() - pos);
      if (b == nullptr) break;
      pos = static_cast<size_t>(static_cast<const char*>(b) - text_.data());
      if (const size_t length = tag_length_at(text_, pos, tag_)) {
        hit_ = Hit{pos, length};
        break;
      }
    }
    return hit_;
  }

 private:
  std::string_view text_;
  std::string_view tag_;
  size_t searched_from_ = kNone;  // nothing searched yet
  Hit hit_;
};

// One kind of span: an opening tag, then the first closing tag after it.
class SpanKind {
 public:
  SpanKind(std::string_view text, std::string_view open, std::string_view close)
      : open_(text, open), close_(text, close) {}

  // The first span starting at or after `from`, or {kNone, kNone}. Once a
  // kind has an opening tag with no closing tag after it, no later opening
  // tag has one either, and the kind is spent.
  std::pair<size_t, size_t> next(size_t from) {
    if (spent_) return {kNone, kNone};
    const TagFinder::Hit open = open_.next(from);
    if (open.at == kNone) {
      spent_ = true;
      return {kNone, kNone};
    }
    const TagFinder::Hit close = close_.next(open.at + open.length);
    if (close.at == kNone) {
      spent_ = true;
      return {kNone, kNone};
    }
    return {open.at, close.at + close.length};
  }

 private:
  TagFinder open_;
  TagFinder close_;
  bool spent_ = false;
};

}  // namespace

ByteSpans find_en_chunks(std::string_view text) {
  ByteSpans out;
  SpanKind chunks(text, "<en>", "</en>");
  for (size_t pos = 0;;) {
    const auto span = chunks.next(pos);
    if (span.first == kNone) break;
    out.push_back(span);
    pos = span.second;
  }
  return out;
}

ByteSpans find_internal_en_spans(std::string_view text) {
  ByteSpans out;
  // The pattern tries the marker branch first, but the two openings start
  // with different bytes, so at most one of them can begin at a position:
  // the leftmost span of either kind is the match.
  SpanKind markers(text, kStartEn, kEndEn);
  SpanKind tags(text, "<en>", "</en>");
  for (size_t pos = 0;;) {
    const auto marker = markers.next(pos);
    const auto tag = tags.next(pos);
    const auto& span = marker.first <= tag.first ? marker : tag;
    if (span.first == kNone) break;
    out.push_back(span);
    pos = span.second;
  }
  return out;
}

}  // namespace vyr::vi_normalizer
