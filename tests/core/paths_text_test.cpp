#include "platform/paths.h"
#include "platform/text.h"

#include <gtest/gtest.h>

using namespace tesselor;

TEST(Paths, FileNameExtensionAndBaseName) {
    EXPECT_EQ(paths::fileName("/home/u/my font.old.c"), "my font.old.c");
    EXPECT_EQ(paths::extension("/home/u/my font.old.c"), ".c");
    EXPECT_EQ(paths::removeExtension("/home/u/my font.old.c"), "/home/u/my font.old");
    EXPECT_EQ(paths::baseName("/home/u/my font.old.c"), "my font.old");
    EXPECT_EQ(paths::extension("/home/u.v/font"), ""); // a dot in a folder is no extension
    EXPECT_EQ(paths::removeExtension("/home/u.v/font"), "/home/u.v/font");
    EXPECT_EQ(paths::fileName("plain"), "plain");
    EXPECT_EQ(paths::extension("dir/.hidden"), ".hidden");
    EXPECT_EQ(paths::baseName("dir/.hidden"), "");
}

TEST(Paths, FolderOfAPath) {
    EXPECT_EQ(paths::folder("/home/u/a.font"), "/home/u");
    EXPECT_EQ(paths::folder("/a.font"), "/");
    EXPECT_EQ(paths::folder("a.font"), "");
    EXPECT_EQ(paths::folder(""), "");
}

TEST(Paths, DefaultExtensionOnlyWhenThereIsNone) {
    EXPECT_EQ(paths::withDefaultExtension("/t/font", ".font"), "/t/font.font");
    EXPECT_EQ(paths::withDefaultExtension("/t/font.txt", ".font"), "/t/font.txt");
    EXPECT_EQ(paths::withDefaultExtension("/t.d/font", ".c"), "/t.d/font.c");
}

TEST(Paths, DefaultFileNameReplacesBlanks) {
    EXPECT_EQ(paths::defaultFileName("Arial 16 Bold", ".font"), "Arial_16_Bold.font");
    EXPECT_EQ(paths::defaultFileName("my font", ".font"), "my_font.font");
    EXPECT_EQ(paths::defaultFileName("", ".font"), "*.font");
}

TEST(Text, SplitLinesAtEveryLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(text::splitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(text::splitLines("a\r\n"), (V{"a"}));
    EXPECT_EQ(text::splitLines("a\r\n\r\n"), (V{"a", ""}));
    EXPECT_EQ(text::splitLines("\n\r"), (V{"", ""}));
    EXPECT_EQ(text::splitLines(""), V{});
    EXPECT_EQ(text::splitLines("a\n\rb"), (V{"a", "", "b"}));
}

TEST(Text, JoinEndsEveryLineWithCrLf) {
    EXPECT_EQ(text::joinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(text::joinLinesCrLf({}), "");
}

TEST(Text, NumbersInDecimalAndUpperCaseHex) {
    EXPECT_EQ(text::dec(0), "0");
    EXPECT_EQ(text::dec(-12), "-12");
    EXPECT_EQ(text::hex(0x4A, 8), "0000004A");
    EXPECT_EQ(text::hex(0x12C, 2), "12C");
    EXPECT_EQ(text::hex(0, 2), "00");
    EXPECT_EQ(text::hex(0xABCDEF, 2), "ABCDEF");
}
