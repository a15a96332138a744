#include <gtest/gtest.h>
TEST(Window, Placeholder) {}
