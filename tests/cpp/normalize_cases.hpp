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

// Pairs of texts that must read alike: a form and the plain form it stands
// for («don’t» and «don't»).
struct SameReading {
  std::string_view form;
  std::string_view plain;
};

inline void expect_same_readings(std::initializer_list<SameReading> pairs) {
  for (const SameReading& p : pairs) {
    EXPECT_EQ(Normalizer::normalize(p.form), Normalizer::normalize(p.plain))
        << "input «" << p.form << "»";
  }
}

}  // namespace vyr::vi_normalizer
