#include "vi_normalizer/reading_edges.hpp"

#include <cstddef>
#include <utility>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"

namespace vyr::vi_normalizer {

std::string apart_from_letters(const text::Captures& m, std::string reading) {
  return apart_from_letters(m.subject(), m.start(0), m.end(0), std::move(reading));
}

std::string apart_from_letters(std::string_view subject, size_t start, size_t end,
                               std::string reading) {
  if (reading == subject.substr(start, end - start)) return reading;
  if (start > 0 && text::is_alphabetic(text::char_before(subject, start))) {
    reading.insert(reading.begin(), ' ');
  }
  size_t next = 0;
  if (end < subject.size() && text::is_alphabetic(text::char_at(subject, end, &next))) {
    reading += ' ';
  }
  return reading;
}

}  // namespace vyr::vi_normalizer
