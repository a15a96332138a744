#include <gtest/gtest.h>
TEST(Logic, Placeholder) {}
