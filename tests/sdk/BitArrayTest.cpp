#include "bit_array.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

TEST(BitArrayBittable, SetAndGetAcrossWordBoundaries) {
    bit_array_bittable bits(130);
    for (size_t n : {0u, 63u, 64u, 127u, 129u}) bits.set(n, true);
    for (size_t n = 0; n < 130; ++n)
        EXPECT_EQ(bits[n], n == 0 || n == 63 || n == 64 || n == 127 || n == 129) << n;
    bits.set(64, false);
    EXPECT_FALSE(bits[64]);
    EXPECT_TRUE(bits[63]);
    EXPECT_EQ(bits.calc_count(true, 0, 130), 4u);
}

TEST(BitArrayBittable, OutOfRangeReadsFalseAndSettingTrueGrows) {
    bit_array_bittable bits(3);
    EXPECT_FALSE(bits[3]);
    EXPECT_FALSE(bits[SIZE_MAX]);
    bits.set(200, false);
    EXPECT_EQ(bits.size(), 3u);
    bits.set(200, true);
    EXPECT_EQ(bits.size(), 201u);
    EXPECT_TRUE(bits[200]);
    EXPECT_FALSE(bits[199]);
}

TEST(BitArrayBittable, ShrinkingForgetsBitsSoRegrowingStartsClear) {
    bit_array_bittable bits(100, true);
    bits.resize(10);
    bits.resize(100);
    EXPECT_EQ(bits.calc_count(true, 0, 100), 10u);
    EXPECT_EQ(bits.find(false, 0, 100), 10u);
    EXPECT_EQ(bits, bit_array_bittable(bit_array_range(0, 10), 100));
}

TEST(BitArrayBittable, FindHonoursStartEndAndTheUnstoredTail) {
    bit_array_bittable bits(70);
    bits.set(5, true);
    bits.set(66, true);
    EXPECT_EQ(bits.find(true, 0, 70), 5u);
    EXPECT_EQ(bits.find(true, 6, 70), 66u);
    EXPECT_EQ(bits.find(true, 6, 66), 66u);  // end excluded: not found
    EXPECT_EQ(bits.find(true, 67, 1000), 1000u);
    EXPECT_EQ(bits.find(false, 5, 70), 6u);
    EXPECT_EQ(bits.find(true, 10, 10), 10u);

    bit_array_bittable full(64, true);
    // Every stored bit is set: the first false one is the first unstored index.
    EXPECT_EQ(full.find(false, 0, 100), 64u);
    EXPECT_EQ(full.find(false, 80, 100), 80u);
    EXPECT_EQ(full.find(false, 0, 64), 64u);
    EXPECT_EQ(full.find(false, 0, 30), 30u);
}

TEST(BitArrayBittable, CopiesOtherMasksAndVectors) {
    const bit_array_bittable fromOne(bit_array_one(7), 10);
    EXPECT_EQ(fromOne.calc_count(true, 0, 10), 1u);
    EXPECT_TRUE(fromOne[7]);
    // Bits past the copied count are dropped.
    EXPECT_EQ(bit_array_bittable(bit_array_one(12), 10).calc_count(true, 0, 100), 0u);

    const bit_array_bittable fromVector(std::vector<bool>{true, false, true});
    EXPECT_EQ(fromVector.size(), 3u);
    EXPECT_TRUE(fromVector[0]);
    EXPECT_FALSE(fromVector[1]);
    EXPECT_TRUE(fromVector[2]);
}

TEST(BitArrayMasks, FindAgreesWithGetForEveryKind) {
    const bit_array_true allTrue;
    const bit_array_false allFalse;
    const bit_array_val valTrue(true);
    const bit_array_one one(4);
    const bit_array_range range(3, 4);
    const bit_array_range outside(3, 4, false);
    const bit_array_not notOne(one);
    bit_array_bittable table(9);
    table.set(0, true);
    table.set(8, true);
    const bit_array* masks[] = {&allTrue, &allFalse, &valTrue, &one, &range, &outside, &notOne, &table};
    for (size_t m = 0; m < std::size(masks); ++m) {
        const bit_array* mask = masks[m];
        for (bool val : {true, false}) {
            for (size_t start = 0; start <= 10; ++start) {
                for (size_t end = start; end <= 10; ++end) {
                    size_t expected = end;
                    for (size_t n = start; n < end; ++n)
                        if (mask->get(n) == val) {
                            expected = n;
                            break;
                        }
                    ASSERT_EQ(mask->find(val, start, end), expected)
                        << "mask " << m << " val " << val << " [" << start << "," << end << ")";
                }
            }
        }
    }
}

TEST(BitArrayMasks, RangeNearTheTopOfSizeDoesNotWrap) {
    const bit_array_range range(SIZE_MAX - 2, 10);
    EXPECT_FALSE(range[0]);
    EXPECT_TRUE(range[SIZE_MAX - 1]);
}
