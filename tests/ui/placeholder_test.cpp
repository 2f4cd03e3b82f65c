#include <gtest/gtest.h>
TEST(UiPlaceholder, Builds) {}
