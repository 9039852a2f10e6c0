#pragma once

#include "platform/dialogs.h"

#include <cstdio>
#include <malloc.h>

namespace bench {

// A benchmark of the window asks nothing; a message it did not expect is printed.
class NoDialogs : public tesselor::Dialogs {
public:
    std::optional<std::string> openFile(QWidget*, const tesselor::FileDialogRequest&) override { return {}; }
    std::optional<std::string> saveFile(QWidget*, const tesselor::FileDialogRequest&) override { return {}; }
    std::vector<std::string> openFiles(QWidget*, const tesselor::FileDialogRequest&) override { return {}; }
    std::optional<std::string> selectFolder(QWidget*, const std::string&, const std::string&) override {
        return {};
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return {}; }
    bool execRangeDialog(TFormFontRange&) override { return false; }
    std::optional<QColor> chooseColour(QWidget*, const QColor&, const std::string&) override { return {}; }
    void execModal(QDialog&) override {}
    bool execDialog(QDialog&) override { return false; }
    tesselor::MessageButton message(QWidget*, const tesselor::MessageRequest& request) override {
        std::fprintf(stderr, "message: %s\n", request.text.c_str());
        return tesselor::MessageButton::Discard;
    }
};

// The heap in use: its small blocks and its mapped large ones.
inline std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace bench
