#include "base/lcg_random.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(LcgRandom, UnseededStartsFromStateOne) {
    LcgRandom random;
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
}

TEST(LcgRandom, SeedingRestartsTheSequence) {
    LcgRandom random;
    random.Seed(12345);
    const int first = random.Next();
    random.Seed(12345);
    EXPECT_EQ(random.Next(), first);
    random.Seed(-1);  // a negative seed is its 32-bit pattern
    EXPECT_EQ(random.State(), 0xFFFFFFFFu);
}

TEST(LcgRandom, RangeIsLoPlusYieldModuloWidth) {
    LcgRandom a, b;
    a.Seed(7);
    b.Seed(7);
    for (int i = 0; i < 100; ++i) {
        const int yield = b.Next();
        EXPECT_EQ(a.Range(1, 6), 1 + yield % 6);
    }
    EXPECT_EQ(a.Range(3, 3), 3);
    EXPECT_EQ(a.Range(5, 1), 5);
}

}  // namespace
}  // namespace veltra
