#pragma once

#include "document/document.h"
#include "editing/edit_commands.h"
#include "model/font_model.h"

#include <cstdint>
#include <string>

namespace tesselor {

// The font the Font page edits, with its history, its file and the character the editor shows. Every
// change to the font is a step of the history that changes the model and then announces what changed;
// the views follow the announcements.
class FontDocument : public Document {
    Q_OBJECT
public:
    // Where the font came from, as the page names it. A font opened from or saved to a .font file has that
    // file; an imported or new font has none until it is saved.
    struct Source {
        bool loaded = false;    // a font is shown (not at start, nor after a folder without characters)
        std::string title;      // the page's title
        std::string baseName;   // what the save dialogs propose
        std::string rangeLabel; // "Code char from " or "Char code from "
        std::string filePath;   // the .font file, or empty
    };

    explicit FontDocument(QObject* parent = nullptr);

    const FontModel& font() const { return font_; }
    // For the steps of the history and the first run of a command: they change it, then announce.
    FontModel& font() { return font_; }
    const Source& source() const { return source_; }

    // The character the editor shows; a code outside the range is not taken.
    int currentCode() const { return currentCode_; }
    void setCurrentCode(int code);
    PixelImage& character(int code) { return font_.CharImages[index(code)]; }
    const PixelImage& character(int code) const { return font_.CharImages[index(code)]; }
    std::uint8_t& width(int code) { return font_.CharWidths[index(code)]; }
    int width(int code) const { return font_.CharWidths[index(code)]; }
    const PixelImage& currentChar() const { return character(currentCode_); }
    int currentWidth() const { return width(currentCode_); }
    // Cut, Copy, Paste and Restore work through it; it is no part of the font's history.
    CharClipboard& clipboard() { return clipboard_; }

    // A font read from a file: a history of its own, and nothing to save.
    void open(FontModel font, const Source& source);
    // The whole font and its source in place of the ones before: imports and their undo.
    void replace(FontModel font, const Source& source);
    // The font was written to `path` under this title: the saved state is here.
    void saved(const std::string& path, const std::string& title);

    // What the steps announce once they changed the model.
    void announceChar(int code) { emit charChanged(code); }
    void announceAllChars() { emit allCharsChanged(); }
    void announceCell() { emit cellChanged(); }
    void announceBaseline() { emit baselineChanged(); }

    static std::size_t index(int code) { return static_cast<std::size_t>(code & 0xFF); }

signals:
    // The pixels or the width of one character.
    void charChanged(int code);
    // The pixels or widths of every character of the range.
    void allCharsChanged();
    // The cell size (and so every character).
    void cellChanged();
    // The row the characters stand on.
    void baselineChanged();
    // Another font: its range, cell and characters, and its source.
    void replaced();
    void currentCodeChanged(int code);
    // The title or the file.
    void sourceChanged();

private:
    FontModel font_;
    Source source_;
    int currentCode_ = 0;
    CharClipboard clipboard_;
};

} // namespace tesselor
