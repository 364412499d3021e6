#include <gtest/gtest.h>

#include "dataframework/translation/PropertyPath.h"

namespace dataframework {
namespace {

TEST(PropertyPathTest, Placeholder) {
  EXPECT_EQ(StripIndexes("A[1]"), "A[]");
}

}  // namespace
}  // namespace dataframework
