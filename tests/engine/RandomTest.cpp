#include "engine/GP_Random.h"

#include <gtest/gtest.h>

#include <thread>

TEST(Random, ClassicSequenceFromSeedOneOnEveryThread)
{
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    GP_srand(1);
    for (int value : expected)
        EXPECT_EQ(GP_rand(), value);

    // A new thread starts from state 1 whatever this thread did.
    int first = -1;
    std::thread([&first] { first = GP_rand(); }).join();
    EXPECT_EQ(first, 41);

    GP_srand(12345);
    const int a = GP_rand();
    GP_srand(12345);
    EXPECT_EQ(GP_rand(), a);
    for (int i = 0; i < 10000; ++i) {
        const int v = GP_rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, GP_RAND_MAX);
    }
}
