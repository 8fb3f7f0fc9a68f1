// Tables of texts and the lines Normalizer::normalize must give for them,
// for the tests that follow a reading through the whole pipeline.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

#include "vi_normalizer/normalizer.hpp"

namespace vyr::vi_normalizer {

struct NormalizeCase {
  std::string_view input;
  std::string_view expected;
};

inline void expect_normalized(std::initializer_list<NormalizeCase> cases) {
  for (const NormalizeCase& c : cases) {
    EXPECT_EQ(Normalizer::normalize(c.input), c.expected) << "input «" << c.input << "»";
  }
}

}  // namespace vyr::vi_normalizer
