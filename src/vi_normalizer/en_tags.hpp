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

#include <string_view>

#include "vi_normalizer/rewrite.hpp"

namespace vyr::vi_normalizer {

// The markers around text read with English pronunciations inside the
// pipeline, glued to what they enclose: «__start_en__u s d__end_en__».
constexpr std::string_view kStartEn = "__start_en__";
constexpr std::string_view kEndEn = "__end_en__";

// The matches of RE_EN_TAG: «<en>» … «</en>» in any letter case, across lines.
ByteSpans find_en_chunks(std::string_view text);

// The matches of RE_INTERNAL_EN_TAG: «__start_en__» … «__end_en__» or «<en>» …
// «</en>», in any letter case (the long s standing for "s"), across lines.
ByteSpans find_internal_en_spans(std::string_view text);

}  // namespace vyr::vi_normalizer
