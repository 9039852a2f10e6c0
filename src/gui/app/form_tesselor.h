#pragma once

#include "app/command_support.h"
#include "model/app_state.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QTabWidget;
class TFormAbout;
class TFormFontRange;
class TFormViewChar;

namespace tesselor {
class BitmapPage;
class Dialogs;
class ImageDecoder;
class FontPage;
class ResourcesPage;
} // namespace tesselor

// The main window: three pages, the menu bar of the active page, the close query.
class TFormTesselor : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormTesselor(tesselor::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFormTesselor() override;

    tesselor::AppState& state() { return *state_; }

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
    // Shows the title of the active page.
    void updateCaption();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<tesselor::ImageDecoder> decoder_;
    std::unique_ptr<tesselor::AppState> state_;
    tesselor::CommandSupport commands_;
};
