// Memory in proportion to the input: the readers' peak allocation on files made to blow it up. Every
// allocation of this program is counted, so a reader that keeps a copy per line or per record shows.
#include "editing/undo_data.h"
#include "fontexport/resource_item.h"
#include "fontio/font_file.h"
#include "model/error.h"
#include "resources/resource_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
std::size_t live = 0;
std::size_t peak = 0;
} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    live += malloc_usable_size(block);
    peak = std::max(peak, live);
    return block;
}
namespace {
void release(void* block) {
    if (block != nullptr)
        live -= malloc_usable_size(block);
    std::free(block);
}
} // namespace

void operator delete(void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}

using namespace tesselor;

namespace {

// The peak of the bytes allocated while `work` runs, beyond what was allocated before.
template <typename Work> std::size_t peakOf(Work&& work) {
    const std::size_t before = live;
    peak = live;
    work();
    return peak - before;
}

} // namespace

TEST(Memory, FontReaderStreamsItsLines) {
    const std::string newlines(4'000'000, '\n');
    const std::size_t used = peakOf([&] {
        try {
            readFontFile(newlines, FontModel{});
        } catch (const Error&) { // it ends inside a record
        }
    });
    EXPECT_LT(used, newlines.size()) << used;
}

// A 512 x 512 cell and the whole range in 69 bytes: the characters without a record share one blank cell
// (1 MiB), where one each took 256 MiB.
TEST(Memory, FontWithoutRecordsHoldsOneBlankCell) {
    const std::string bomb =
        "FontName:m\r\nFontWidth:512\r\nFontHeight:512\r\nRangeFrom:0\r\nRangeTo:255\r\n";
    FontModel font;
    const std::size_t used = peakOf([&] { font = readFontFile(bomb, FontModel{}); });
    EXPECT_LT(used, 3u * 512 * 512 * sizeof(Colour)) << used;
    // Painting one character paints it alone.
    font.CharImages[65].setPixel(3, 4, kBlack);
    EXPECT_EQ(font.CharImages[66].pixel(3, 4), kWhite);
    EXPECT_EQ(font.CharImages[65].pixel(3, 4), kBlack);
}

TEST(Memory, ResReaderCopiesEachPayloadOnce) {
    // Four hundred records over one 64 KiB payload are refused without copying it.
    Bytes file = {'R', 'S', 'C', 1, 0, 0, 0};
    for (int i = 0; i < 400; ++i) {
        appendU16(file, 16 + (i == 399 ? 0x8000u : 0u));
        appendU32(file, 7 + 400 * 16);
        appendU32(file, 65536);
        for (const int b : {1, int('x'), 3, int('b'), int('m'), int('p')})
            file.push_back(static_cast<std::uint8_t>(b));
    }
    file.resize(file.size() + 65536);
    EXPECT_LT(peakOf([&] { EXPECT_FALSE(readResFile(byteView(file))); }), file.size());

    // The worst valid file, records of 15 bytes without name or payload, stays within a few times its size.
    const Bytes many = writeResFile(ResourceItems(20000, writeResourceItem("bmp", "", Bytes{})));
    EXPECT_LT(peakOf([&] { readResFile(byteView(many)); }), 8 * many.size());
}

// A stroke that passes a pixel a thousand times holds one change of it: its first colour and its last.
TEST(Memory, AStrokeHoldsEachPixelOnce) {
    PixelImage image(4, 4);
    PixelChanges changes;
    for (int i = 0; i < 1000; ++i) {
        const Colour colour = i % 2 == 0 ? kBlack : 0x0000FF;
        changes.record(image, 1, 1, colour);
        image.setPixel(1, 1, colour);
    }
    changes.finish();
    EXPECT_LT(changes.bytes(), 100u);
    changes.undo(image);
    EXPECT_EQ(image.pixel(1, 1), kWhite);
    changes.redo(image);
    EXPECT_EQ(image.pixel(1, 1), Colour(0x0000FF));
}
