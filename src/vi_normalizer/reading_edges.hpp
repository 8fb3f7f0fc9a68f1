// A reading written in place of a match stays a word of its own.
//
//   // m is the match «3/4» in «3/4đ»
//   apart_from_letters(m, "ba trên bốn")  // "ba trên bốn " (the «đ» stays a word)
//
// Many patterns let a match touch a letter: they end at a sign or where the
// digits end («5%abc», «3-5A»), or their look-behind knows only ASCII letters
// («nhà12/3»). The reading of such a match would otherwise run into the
// letter («phần trămabc», «nhàmười hai»). Thread safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

// `reading` with one space put before it when a letter ends right before the
// match and one after it when a letter starts right after the match; a match
// written back as it stood gets nothing.
std::string apart_from_letters(const text::Captures& m, std::string reading);
// The same for a match that is the bytes [start, end) of `subject`.
std::string apart_from_letters(std::string_view subject, size_t start, size_t end,
                               std::string reading);

}  // namespace vyr::vi_normalizer
