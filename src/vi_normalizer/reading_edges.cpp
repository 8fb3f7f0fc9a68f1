#include "vi_normalizer/reading_edges.hpp"

#include <cstddef>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"

namespace vyr::vi_normalizer {

std::string apart_from_letters(const text::Captures& m, std::string reading) {
  if (reading == m.str()) return reading;
  const std::string_view subject = m.subject();
  const size_t start = m.start(0);
  const size_t end = m.end(0);
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
