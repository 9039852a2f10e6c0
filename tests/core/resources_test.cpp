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

TEST(ResourceList, RowsOffsetsAndDeclarations) {
    ResourceItems items = demoItems();
    const std::vector<ResourceRow> rows = resourceRows(items);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name + rows[0].type + std::to_string(rows[0].size) + offsetCell(rows[0].offset),
              "tiny_9x3Font25 0x00000031");
    EXPECT_EQ(rows[1].name + rows[1].type + std::to_string(rows[1].size) + offsetCell(rows[1].offset),
              "logoImage10 0x0000004A");
    EXPECT_EQ(resourceDeclarations(rows), "const unsigned long tiny_9x3 = 0x00000031;\r\n"
                                          "const unsigned long logo     = 0x0000004A;\r\n");
    EXPECT_EQ(resourceDeclarations(rows, "res"), "const unsigned long res_tiny_9x3 = 0x00000031;\r\n"
                                                 "const unsigned long res_logo     = 0x0000004A;\r\n");
    // Removing the first item moves every offset; large offsets take more digits.
    items.push_back(writeResourceItem("bmp", "third", Bytes{1, 2, 3}));
    items.erase(items.begin());
    EXPECT_EQ(resourceRows(items)[0].offset, 7u + 19u + 20u);
    EXPECT_EQ(resourceRows(items)[1].offset, 7u + 19u + 20u + 10u);
    EXPECT_EQ(offsetCell(0x123456789ULL), " 0x123456789");
}

// The worked example reads back item for item and writes the same 84 bytes; the end mark is bit 15 of
// the last record, also with a 255-byte name; the fixed bytes may be anything; bytes after an item's
// payload are not written.
TEST(ResFile, WorkedExampleAndItsRoundTrip) {
    const Bytes file = writeResFile(demoItems());
    EXPECT_EQ(file, demoRes());
    const auto items = readResFile(byteView(file));
    ASSERT_TRUE(items);
    EXPECT_EQ(*items, demoItems());
    const Bytes one = writeResFile({writeResourceItem("fnt", "abc", Bytes{9})});
    EXPECT_EQ(one[7] | one[8] << 8, 0x8000 + 15 + 3);
    const Bytes longName = writeResFile({writeResourceItem("bmp", std::string(255, 'n'), Bytes{})});
    EXPECT_EQ(longName[7] | longName[8] << 8, 0x810E);
    EXPECT_EQ(readResFile(byteView(longName))->front()[11], 255);
    Bytes fixed = demoRes();
    fixed[3] = 0x99;
    EXPECT_TRUE(readResFile(byteView(fixed)));
    Bytes trailing = writeResourceItem("bmp", "x", Bytes{7, 8});
    trailing.push_back(0xEE);
    EXPECT_EQ(writeResFile({trailing}).size(), 7u + 16u + 2u);
}

TEST(ResFile, RefusalsOfBrokenFiles) {
    const Bytes good = demoRes();
    auto changed = [&](std::size_t at, std::uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return bytes;
    };
    std::vector<Bytes> broken = {{},
                                 {'R', 'S', 'C'},
                                 {'R', 'S', 'C', 1, 0, 0, 0},
                                 changed(0, 'r'),
                                 changed(31, 0x00), // the last record loses its end mark
                                 changed(27, 'x'),  // a tag that is no tag
                                 changed(7, 0x18),  // a record length that disagrees with its name
                                 changed(9, 0x40),  // a payload past the end
                                 changed(13, 0xFF),
                                 changed(12, 0xFF)};
    for (std::size_t cut : {8u, 20u, 30u, 44u, 48u, 60u, 83u})
        broken.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    Bytes nameRuns = changed(40, 0xFF); // the last name would run past the end, its length agreeing
    nameRuns[30] = 0x0E;
    nameRuns[31] = 0x81;
    broken.push_back(nameRuns);
    for (std::size_t i = 0; i < broken.size(); ++i)
        EXPECT_TRUE(refused(broken[i])) << i;
}

// A reader that takes only the start of a file: every prefix either asks for more or gives what the whole
// file gives, and the payloads are checked against the size; an item's start gives its fields.
TEST(ResFile, TheStartOfAFileIsEnough) {
    const Bytes file = demoRes();
    const auto whole = readResIndex(byteView(file));
    ASSERT_TRUE(whole);
    const std::size_t indexEnd = 0x31;
    for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        const ResIndexReading start = readResIndex(byteView(file).substr(0, cut), file.size());
        EXPECT_EQ(start.needsMore, cut < indexEnd) << cut;
        EXPECT_EQ(start.records.has_value(), cut >= indexEnd) << cut;
        for (std::size_t i = 0; start.records && i < whole->size(); ++i)
            EXPECT_EQ((*start.records)[i].offset * 1000 + (*start.records)[i].size,
                      (*whole)[i].offset * 1000 + (*whole)[i].size);
    }
    const Bytes indexOnly = writeResFile({writeResourceItem("bmp", "empty", Bytes{})}); // ends with its index
    for (std::size_t cut = 0; cut < indexOnly.size(); ++cut)
        EXPECT_TRUE(readResIndex(byteView(indexOnly).substr(0, cut), indexOnly.size()).needsMore) << cut;
    EXPECT_FALSE(readResIndex(byteView(file).substr(0, 60), file.size() - 1).records); // logo's last byte
    EXPECT_FALSE(readResIndex(byteView(file).substr(0, 20), 20).needsMore);            // no more to read
    Bytes bad = file;
    bad[7] = 0x18; // refused from the first record, whatever follows
    EXPECT_FALSE(readResIndex(byteView(bad).substr(0, 22), bad.size()).needsMore);

    const Bytes item = demoItems()[0];
    for (const std::size_t cut : {std::size_t(20), std::size_t(21), item.size()})
        EXPECT_EQ(readResourceItem(byteView(item).substr(0, cut), item.size())->payloadSize, 25u) << cut;
    EXPECT_FALSE(readResourceItem(byteView(item).substr(0, 19), item.size())); // the name cut
    EXPECT_FALSE(readResourceItem(byteView(item).substr(0, 20), item.size() - 1));
}
