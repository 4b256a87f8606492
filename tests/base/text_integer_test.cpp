#include "base/text_integer.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(IntegerOfText, ReadsTheLeadingNumericPart) {
    struct Case {
        const char* text;
        int64_t value;
    } cases[] = {
        {"", 0},
        {"42", 42},
        {"043", 43},
        {"-17", -17},
        {"+17", 17},
        {"12.9", 12},
        {"-0.5", 0},
        {"7abc", 7},
        {"abc7", 0},
        {" 7", 0},
        {"-", 0},
        {"+-3", 0},
        {"20261211043", 20261211043},
        {"99999999999999999999999", INT64_MAX},
        {"-99999999999999999999999", INT64_MIN},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775807", INT64_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(IntegerOfText(c.text), c.value) << c.text;
}

TEST(IntegerOfText, WrapsToThirtyTwoBits) {
    EXPECT_EQ(Int32OfText("-2147483648"), INT32_MIN);
    EXPECT_EQ(Int32OfText("2147483648"), INT32_MIN);
    EXPECT_EQ(Int32OfText("4294967297"), 1);
    EXPECT_EQ(WrapInt32(int64_t{INT32_MAX} + 1), INT32_MIN);
}

}  // namespace
}  // namespace veltra
