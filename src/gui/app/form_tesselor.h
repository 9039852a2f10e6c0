#pragma once

#include "app/command_support.h"
#include "model/app_state.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <utility>

class QAction;
class QTabWidget;
class TFormAbout;
class TFormFontRange;
class TFormViewChar;

namespace tesselor {
class BitmapPage;
class Dialogs;
class FontDocument;
class ImageDecoder;
class FontPage;
class RecentFiles;
class ResourcesDocument;
class ResourcesPage;
} // namespace tesselor

// The main window: three pages, the menu bar of the active page, the close query. It owns the two
// documents (the font and the resource list) and outlives its pages' use of them: the pages go first.
class TFormTesselor : public QMainWindow {
    Q_OBJECT
public:
    // The window keeps its settings (geometry, page, folders, import font and range, zooms, recent
    // files) in `settingsFile`, an INI file; with none it starts with defaults and keeps nothing.
    explicit TFormTesselor(tesselor::Dialogs& dialogs, const QString& settingsFile = {},
                           QWidget* parent = nullptr);
    ~TFormTesselor() override;

    // The user's settings file: Tesselor/tesselor.ini in the configuration folder.
    static QString userSettingsFile();
    // What a drop of local files and folders does: one .font, .res or image opens on its page, one
    // folder runs Import Bmp Char, any number of .resdata files are imported in order. False for a
    // drop the window does not take (then nothing happens).
    static bool takesDrop(const QStringList& paths);
    void openDropped(const QStringList& paths);

    tesselor::AppState& state() { return *state_; }
    tesselor::FontDocument& fontDocument() { return *fontDocument_; }
    tesselor::ResourcesDocument& resourcesDocument() { return *resourcesDocument_; }

    // A file named on the command line: a .font or .res file or an image, opened on its own page.
    static bool opensAtStart(const std::string& path);
    void openAtStart(const std::string& path);
    tesselor::CommandSupport& commands() { return commands_; }

    QTabWidget* PageControl;
    tesselor::FontPage* tsFont;
    tesselor::BitmapPage* tsBitmap;
    tesselor::ResourcesPage* tsResourcesFile;
    QAction* AboutMenu;

    TFormViewChar* FormViewChar;
    TFormFontRange* FormFontRange;
    TFormAbout* FormAbout;

public slots:
    void PageControlChange(int index);
    void AboutMenuClick();
    // Shows the title of the active page, with "*" while its document has unsaved changes.
    void updateCaption();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Places the window inside the screen's free area: `saved` (restored from the settings) when it fits.
    void placeOnScreen(const std::optional<QRect>& saved);
    void restoreSettings();
    void saveSettings();
    // Each page's recent files with their key in the settings.
    std::array<std::pair<tesselor::RecentFiles*, QString>, 3> recentLists() const;

    QString settingsFile_;
    std::unique_ptr<tesselor::ImageDecoder> decoder_;
    std::unique_ptr<tesselor::AppState> state_;
    std::unique_ptr<tesselor::FontDocument> fontDocument_;
    std::unique_ptr<tesselor::ResourcesDocument> resourcesDocument_;
    tesselor::CommandSupport commands_;
};
