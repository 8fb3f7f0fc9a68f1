// The argument-error texts. Only one-parameter callables exist today, so the
// joining of several missing names is reachable only from here.
#include "binding/messages.hpp"

#include <gtest/gtest.h>

namespace vyr::binding {
namespace {

TEST(BindingMessages, MissingNamesAreJoinedLikeEnglish) {
  EXPECT_EQ(missing_required("G2P.__new__", {"dict_path"}),
            "G2P.__new__() missing 1 required positional argument: 'dict_path'");
  EXPECT_EQ(missing_required("f", {"a", "b"}),
            "f() missing 2 required positional arguments: 'a' and 'b'");
  EXPECT_EQ(missing_required("f", {"a", "b", "c"}),
            "f() missing 3 required positional arguments: 'a', 'b', and 'c'");
  EXPECT_EQ(quoted_name_list({"a", "b", "c", "d"}), "'a', 'b', 'c', and 'd'");
}

TEST(BindingMessages, TooManyPositional) {
  EXPECT_EQ(too_many_positional("G2P.__new__", 1, 1, 2),
            "G2P.__new__() takes 1 positional arguments but 2 were given");
  EXPECT_EQ(too_many_positional("Normalizer.__new__", 0, 1, 2),
            "Normalizer.__new__() takes from 0 to 1 positional arguments but 2 were given");
  EXPECT_EQ(too_many_positional("f", 0, 0, 1), "f() takes 0 positional arguments but 1 was given");
}

TEST(BindingMessages, MultipleValues) {
  EXPECT_EQ(multiple_values("G2P.phonemize", "text"),
            "G2P.phonemize() got multiple values for argument 'text'");
}

}  // namespace
}  // namespace vyr::binding
