// The shape of the pipeline's own passes: text in, one output buffer that is
// written only when the pass changes something.
//
//   std::string out;
//   if (rewrite::replace_all(text, RE_TO_SANG(), " sang ", out)) use(out);
//   else use(text);  // nothing matched: nothing was copied
//
// A pass of this shape has the signature `bool pass(std::string_view text,
// std::string& out)`: it returns true and leaves its result in `out`, or
// returns false and leaves `out` alone. `run_pass` applies one to the current
// text of the pipeline. Everything here is stateless and thread safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/bytes.hpp"
#include "text/char_classes.hpp"
#include "text/regex.hpp"

namespace vyr::vi_normalizer {

// Byte offsets [start, end) of matches in a text, in order, not overlapping.
using ByteSpans = std::vector<std::pair<size_t, size_t>>;

}  // namespace vyr::vi_normalizer

namespace vyr::vi_normalizer::rewrite {

using Pass = bool (*)(std::string_view text, std::string& out);

// Replaces `text` by the pass's result when it has one.
inline void run_pass(std::string& text, Pass pass) {
  std::string out;
  if (pass(text, out)) text.swap(out);
}

// Every match of `re` replaced by what append(const Captures&, std::string&
// out) appends; the text between matches copied. True when anything matched.
template <class F>
bool replace_all_with(std::string_view text, const text::Regex& re, std::string& out, F&& append) {
  size_t copied = 0;
  bool any = false;
  re.for_each(text, [&](const text::Captures& m) {
    if (!any) {
      out.clear();
      out.reserve(text.size() + text.size() / 8 + 16);
      any = true;
    }
    out.append(text.data() + copied, m.start(0) - copied);
    append(m, out);
    copied = m.end(0);
  });
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// Every match replaced by the expansion of `templ` ($1, ${1}, $$).
inline bool replace_all(std::string_view text, const text::Regex& re, std::string_view templ,
                        std::string& out) {
  return replace_all_with(text, re, out, [&](const text::Captures& m, std::string& o) {
    re.expand(m, templ, o);
  });
}

// The in-place forms, for a pass that chains many replace-alls on one text:
// `text` is replaced only when something matched, and nothing is copied
// otherwise.
template <class F>
void in_place(std::string& text, const text::Regex& re, F&& append) {
  std::string out;
  if (replace_all_with(text, re, out, std::forward<F>(append))) text.swap(out);
}

// Every match replaced by read(m).
inline void in_place_read(std::string& text, const text::Regex& re,
                          std::string (*read)(const text::Captures&)) {
  in_place(text, re, [read](const text::Captures& m, std::string& out) { out += read(m); });
}

// Every match replaced by `word`, taken as it stands.
inline void in_place_word(std::string& text, const text::Regex& re, std::string_view word) {
  in_place(text, re, [word](const text::Captures&, std::string& out) { out += word; });
}

// Every match replaced by the expansion of `templ` ($1, ${1}, $$).
inline void in_place_template(std::string& text, const text::Regex& re, std::string_view templ) {
  in_place(text, re, [&re, templ](const text::Captures& m, std::string& out) {
    re.expand(m, templ, out);
  });
}

// Every span (in order, not overlapping) replaced by what
// append(std::string_view match, std::string_view rest, std::string& out)
// appends, `rest` being the text after the match; the text between spans
// copied. Returns false and leaves `out` alone when there is no span.
template <class F>
bool replace_spans(std::string_view text, const ByteSpans& spans, std::string& out, F&& append) {
  if (spans.empty()) return false;
  out.clear();
  out.reserve(text.size() + text.size() / 8 + 16);
  size_t copied = 0;
  for (const auto& [start, end] : spans) {
    out.append(text.data() + copied, start - copied);
    append(text.substr(start, end - start), text.substr(end), out);
    copied = end;
  }
  out.append(text.data() + copied, text.size() - copied);
  return true;
}

// Every occurrence of `from` (not empty) replaced by `to`, left to right,
// without overlap. True when `from` occurs.
inline bool replace_literal(std::string_view text, std::string_view from, std::string_view to,
                            std::string& out) {
  size_t hit = text.find(from);
  if (hit == std::string_view::npos) return false;
  out.clear();
  out.reserve(text.size() + 16);
  size_t copied = 0;
  for (; hit != std::string_view::npos; hit = text.find(from, copied)) {
    out.append(text.data() + copied, hit - copied);
    out.append(to);
    copied = hit + from.size();
  }
  out.append(text.data() + copied, text.size() - copied);
  return true;
}

// Byte pre-checks that let a pass skip the pattern engine.
inline bool has_byte(std::string_view text, char c) {
  return text.find(c) != std::string_view::npos;
}
inline bool has_any_byte(std::string_view text, std::string_view bytes) {
  return text::has_any_byte(text, bytes);
}
// Whether some byte of `separators` sits between two characters that may be
// \d («1.5», «٣,٤»): every \d[.,]\d of a pattern needs one.
inline bool has_separator_between_digits(std::string_view text, std::string_view separators) {
  const auto digit = [](char32_t c) { return text::may_be_digit(c); };
  return text::has_byte_between(text, separators, digit, digit);
}
// "-", U+2013 or U+2014: every dash class of the passes.
inline bool has_dash(std::string_view text) {
  return has_byte(text, '-') || text.find("\u2013") != std::string_view::npos ||
         text.find("\u2014") != std::string_view::npos;
}

}  // namespace vyr::vi_normalizer::rewrite
