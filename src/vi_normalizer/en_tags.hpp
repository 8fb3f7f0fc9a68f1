// English spans of the pipeline found without the engine's rescans.
//
//   find_en_chunks("a <en>Hi</en> b")                  // {{2, 13}}
//   find_internal_en_spans("x __start_en__ok__end_en__") // {{2, 26}}
//
// RE_EN_TAG and RE_INTERNAL_EN_TAG read an opening tag, then anything up to
// the first closing tag. From every opening tag with no closing tag after it
// the engine searches to the end of the text: 10^4 unclosed «<en>» took
// seconds. These scans give the same matches, [start, end) byte offsets in
// the order of the patterns' for_each, reading each byte a bounded number of
// times. Both are plain functions of their argument, safe from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyr::vi_normalizer {

using ByteSpans = std::vector<std::pair<size_t, size_t>>;

// The matches of RE_EN_TAG: «<en>» … «</en>» in any letter case, across lines.
ByteSpans find_en_chunks(std::string_view text);

// The matches of RE_INTERNAL_EN_TAG: «__start_en__» … «__end_en__» or «<en>» …
// «</en>», in any letter case (the long s standing for "s"), across lines.
ByteSpans find_internal_en_spans(std::string_view text);

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

}  // namespace vyr::vi_normalizer
