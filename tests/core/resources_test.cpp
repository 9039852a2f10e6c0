#include "fontexport/resource_item.h"
#include "resources/resource_file.h"

#include <gtest/gtest.h>

using namespace tesselor;

namespace {

const Bytes kTinyPayload = {0x00, 0x00, 0x41, 0x00, 0x42, 0x00, 0x03, 0x00, 0x03, 0x10, 0x00, 0x00, 0x09,
                            0x13, 0x00, 0x00, 0x02, 0x05, 0x07, 0x01, 0x01, 0x00, 0x00, 0x80, 0x00};
const Bytes kLogoPayload = {0x00, 0x10, 0x01, 0x00, 0x02, 0x00, 0x00, 0xF8, 0x1F, 0x00};

ResourceItems demoItems() {
    return {writeResourceItem("fnt", "tiny_9x3", kTinyPayload),
            writeResourceItem("bmp", "logo", kLogoPayload)};
}

Bytes demoRes() {
    Bytes expected = {0x52, 0x53, 0x43, 0x01, 0x00, 0x00, 0x00, 0x17, 0x00,
                      0x31, 0x00, 0x00, 0x00, 0x19, 0x00, 0x00, 0x00, 0x08};
    for (char ch : std::string("tiny_9x3\x03"
                               "fnt"))
        expected.push_back(static_cast<std::uint8_t>(ch));
    for (std::uint8_t b : {0x13, 0x80, 0x4A, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x04})
        expected.push_back(b);
    for (char ch : std::string("logo\x03"
                               "bmp"))
        expected.push_back(static_cast<std::uint8_t>(ch));
    expected.insert(expected.end(), kTinyPayload.begin(), kTinyPayload.end());
    expected.insert(expected.end(), kLogoPayload.begin(), kLogoPayload.end());
    return expected;
}

bool refused(const Bytes& file) {
    return !readResFile(byteView(file));
}

} // namespace

TEST(ResourceList, WorkedExampleRowsAndDeclarations) {
    const std::vector<ResourceRow> rows = resourceRows(demoItems());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "tiny_9x3");
    EXPECT_EQ(rows[0].type, "Font");
    EXPECT_EQ(rows[0].size, 25u);
    EXPECT_EQ(rows[0].offset, 49u);
    EXPECT_EQ(offsetCell(rows[0].offset), " 0x00000031");
    EXPECT_EQ(rows[1].name, "logo");
    EXPECT_EQ(rows[1].type, "Image");
    EXPECT_EQ(rows[1].size, 10u);
    EXPECT_EQ(rows[1].offset, 74u);
    EXPECT_EQ(offsetCell(rows[1].offset), " 0x0000004A");
    EXPECT_EQ(resourceDeclarations(rows), "const unsigned long tiny_9x3 = 0x00000031;\r\n"
                                          "const unsigned long logo     = 0x0000004A;\r\n");
}

TEST(ResourceList, RemovingAnItemMovesEveryOffset) {
    ResourceItems items = demoItems();
    items.push_back(writeResourceItem("bmp", "third", Bytes{1, 2, 3}));
    const auto before = resourceRows(items);
    items.erase(items.begin());
    const auto after = resourceRows(items);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].offset, 7u + 19u + 20u);
    EXPECT_LT(after[0].offset, before[1].offset);
    EXPECT_LT(after[1].offset, before[2].offset);
    EXPECT_EQ(resourceDeclarations({}), "");
}

TEST(ResourceList, LargeOffsetsTakeMoreDigits) {
    EXPECT_EQ(offsetCell(0x123456789ULL), " 0x123456789");
}

TEST(ResFile, DemoIs84BytesAndReadsBackByteForByte) {
    const Bytes file = writeResFile(demoItems());
    EXPECT_EQ(file.size(), 84u);
    EXPECT_EQ(file, demoRes());
    const auto items = readResFile(byteView(file));
    ASSERT_TRUE(items);
    EXPECT_EQ(*items, demoItems());
    EXPECT_EQ(writeResFile(*items), file);
}

TEST(ResFile, SingleItemAndLongNamesCarryTheEndMark) {
    const Bytes one = writeResFile({writeResourceItem("fnt", "abc", Bytes{9})});
    EXPECT_EQ(one[7] | one[8] << 8, 0x8000 + 15 + 3);
    const Bytes longName = writeResFile({writeResourceItem("bmp", std::string(255, 'n'), Bytes{})});
    EXPECT_EQ(longName[7], 0x0E);
    EXPECT_EQ(longName[8], 0x81);
    ASSERT_TRUE(readResFile(byteView(longName)));
    EXPECT_EQ(readResFile(byteView(longName))->front()[11], 255);
}

TEST(ResFile, PayloadIsTakenWhereTheItemHeaderPutsIt) {
    Bytes item = writeResourceItem("bmp", "x", Bytes{7, 8});
    item.push_back(0xEE); // bytes after the payload are not part of it
    const Bytes file = writeResFile({item});
    EXPECT_EQ(file.size(), 7u + 16u + 2u);
    EXPECT_EQ(file[23], 7);
    EXPECT_EQ(file[24], 8);
}

TEST(ResFile, TheFixedBytesMayBeAnything) {
    Bytes file = demoRes();
    file[3] = 0x99;
    file[6] = 0x42;
    EXPECT_TRUE(readResFile(byteView(file)));
}

TEST(ResFile, RefusalsOfBrokenFiles) {
    const Bytes good = demoRes();
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused({'R', 'S', 'C'}));
    EXPECT_TRUE(refused({'R', 'S', 'C', 1, 0, 0, 0})); // no record at all
    Bytes magic = good;
    magic[0] = 'r';
    EXPECT_TRUE(refused(magic));
    for (std::size_t cut : {8u, 20u, 30u, 44u, 48u, 60u, 83u})
        EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)))) << cut;
    Bytes noEnd = good;
    noEnd[31] = 0x00; // the second record loses its end mark: the index runs into the payloads
    EXPECT_TRUE(refused(noEnd));
    Bytes tag = good;
    tag[27] = 'x';
    EXPECT_TRUE(refused(tag));
    Bytes length = good;
    length[7] = 0x18;
    EXPECT_TRUE(refused(length));
    Bytes offset = good;
    offset[9] = 0x40; // 64 + 25 runs past 84
    EXPECT_TRUE(refused(offset));
    Bytes size = good;
    size[13] = 0xFF;
    EXPECT_TRUE(refused(size));
    Bytes huge = good;
    huge[12] = 0xFF;
    huge[11] = 0xFF; // offset near 4 GiB
    EXPECT_TRUE(refused(huge));
    Bytes nameRuns = good;
    nameRuns[40] = 0xFF; // the last record's name would run past the end, its length agreeing
    nameRuns[30] = 0x0E;
    nameRuns[31] = 0x81;
    EXPECT_TRUE(refused(nameRuns));
}
