// The main window without widgets: what it shows (checked profile, pressed
// buttons, landscape preview, picker check, slider and swatch) and every
// command it runs. The widget layer observes viewChanged() and re-reads.
#pragma once

#include "app/profiles.h"
#include "app/themecolors.h"
#include "base/prompt.h"
#include "imagefit/imagefitmodel.h"
#include "ui/editorsession.h"
#include "ui/screenport.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

namespace varno {

// A window the main window owns and closes (the device window).
class OwnedWindow {
public:
    virtual ~OwnedWindow() = default;
};

class ThemeLoadView;
struct ThemeContext;

// The compression dialog: an option (0 high, 1 medium, 2 low) and two
// buttons; what its Compression function returns to the main window.
struct CompressionChoice {
    int option = 0;
    QString save() const;
    static QString cancel() { return QStringLiteral("CANCEL"); }
};

struct MainView {
    int checkedProfile = -1;  // index into Profiles(), -1 for none
    std::array<bool, 3> newThemePressed{};
    bool landscapeVisible = true;
    bool useColorPickerChecked = false;
    int overlayLevel = 0;
    Colour overlaySwatch = rgb(255, 255, 255);
    bool menuShowing = false;
    bool pickerCursor = false;           // the portrait preview shows the picker cursor
    bool pickerCursorLandscape = false;  // the landscape preview does
    // Views shown besides the Today screen (the Start menu is menuShowing).
    bool messageShowing = false;
    bool messageImpShowing = false;
    bool navigationShowing = false;
    int colourListIndex = -1;          // selected entry of the element list, -1 none
    int captureButton = 0;             // the pressed button of the capture kind group
    bool changeImagesEnabled = false;  // "Change Current Image(s)" can be used
    bool baseHueEnabled = false;       // "Base Hue..." can be used (WM5 themes)
    QString themeNameText;
    bool modified = false;  // the theme has changes not saved
    QString documentName;   // its file's name, else its name, else "Untitled"
    bool operator==(const MainView &) const = default;
};

class Editor : public QObject {
    Q_OBJECT
public:
    Editor(EditorSession &module, Prompt &prompt, ScreenPort &screen, QObject *parent = nullptr);
    ~Editor() override;

    // Load: false when an error stopped it (the window stays open).
    bool start();
    // Exit: stores the settings and closes the other windows.
    void shutDown();
    void quit();

    // New theme for Profiles()[index].
    void newTheme(int index);
    void pressNewThemeButton(int index);
    void clearProfileChecks();
    void closeImageDialogs();

    // Default screen of the profile: colours and overlays reset, then drawn.
    void showDefaultScreen();
    // Redraws the preview with a view and follows what it then shows.
    void drawScreen(const QString &view);
    // Redraws the view the preview shows now, for changes that keep it.
    void redrawShownView();

    // "Settings": the dialog, then the preview redrawn when it was accepted.
    void openSettings();
    // Shows the settings dialog modally; true when its changes were
    // accepted. Set by the widget layer (tests script it).
    std::function<bool()> showSettings;

    // The theme-name box; typed and pasted text pass the name filter.
    void setThemeName(const QString &text);

    // Saving and loading themes.
    bool saveTheme(const QString &compression, const QString &target);
    // Ctrl+S: to the theme's file with its last compression once it has
    // one; the first time as "Save As...".
    bool saveToThemeFile();
    // "Save As...": the compression dialog, the file dialog, the
    // confirmation.
    bool saveThemeAs();
    // The theme's file: where it was last saved or opened from; "" for a
    // theme never saved.
    QString themeFile() const { return m_themeFile; }

    // Unsaved work: what a save would write differs from what was last
    // saved or opened.
    bool isModified() const;
    // Asked before the theme is replaced or the window closes: with changes
    // (and the question not turned off) asks whether to save them and saves
    // on Save. False when the user cancelled or the save did not happen.
    bool askToKeepChanges();
    bool asksToSaveChanges() const;
    void setAsksToSaveChanges(bool ask);
    // A file from outside (dropped, or handed over by a second start): a
    // theme opens, a picture goes to the fitting dialog.
    void openGivenFile(const QString &path);

    // The last themes opened or saved, newest first; at most ten.
    QStringList recentThemes() const;
    void openRecentTheme(const QString &file);
    void clearRecentThemes();

    void saveUncompressed();
    void saveMediumCompression();
    void saveHighCompression();
    bool saveAskingCompression();
    bool loadTheme(const QString &source);
    void openTheme();
    void takeColoursFromTheme();
    // A chosen theme's Today picture into the current profile's fitting
    // dialog, which is shown. True when the dialog was shown.
    bool loadImageFromTheme();

    // Colour commands. Element menus are addressed by their position in
    // ColourElements() ("Left Navigation Bar" is 0).
    void chooseElementColour(int16_t index);
    void colourMenuItem(int item);
    void applyPickedColour(Colour picked);
    void setColourListIndex(int index);
    void colourListedElement();
    void resetColours();
    void undoColours();
    void swapNavigationColours();
    void copyNavigationToMessageBars();
    void toggleColourPicker();
    void chooseOverlayColour();
    void setOverlayLevel(double value);
    void autoColours();
    QString pendingElement;
    Colour pickedColour = 0;

    // Mouse released over a preview, in device pixels: selects the element
    // under the pointer, toggles a view, or takes an armed pick.
    void releaseOnPortrait(int x, int y);
    void releaseOnLandscape(int x, int y);
    // What a release there would act on first, for the status bar ("" for
    // nothing).
    QString elementAt(bool landscape, int x, int y) const;
    // The base-hue picker, shown modally for the bars of WM5 themes; set by
    // the widget layer (tests script it).
    std::function<void()> showHuePicker;
    // "Base Hue...": the picker, then the view shown redrawn; WM5 themes only.
    void chooseBaseHue();

    // "Load Image(s)": a picture file (asked for when `fileName` is empty)
    // into the current profile's fitting dialog, which is shown. True when
    // the dialog was shown.
    bool loadImages(const QString &fileName = QString());
    // The current profile's fitting dialog as it was left; only while
    // "Change Current Image(s)" is enabled.
    void changeImages();
    // The fitting dialog of a kind, made when first needed.
    ImageFitModel &fitModel(ImageDialogKind kind);
    // Shows a fitting dialog modally; true when its OK handed the pictures
    // over. Set by the widget layer; without it dialogs are set up but not
    // shown (tests script it).
    std::function<bool(ImageFitModel &)> runFitDialog;

    // Screen captures and picture export. The capture kind group holds
    // buttons 0 main, 1 thumbnail, 2 menu, 3 landscape.
    void setCaptureKind(int index);
    void captureChosenKind();
    void captureToday();
    void captureThumbnail();
    void captureMenu();
    void captureLandscape();
    void saveTodayPicture();
    void saveMenuPicture();
    // For an upload: the theme at `file` opened (after the question about
    // unsaved work), `captureName` made its capture name and its Today
    // screen written to the preview folder. False when any step failed.
    bool openAndCaptureForUpload(const QString &file, const QString &captureName);

    // Shows the compression dialog modally and returns "HIGH", "MED", "LOW"
    // or "CANCEL"; set by the widget layer (tests script it).
    std::function<QString()> askCompression;

    const MainView &view() const { return m_view; }
    EditorSession &module() { return m_session; }

    // Owned windows, closed by closeImageDialogs and at exit.
    std::array<std::unique_ptr<ImageFitModel>, 4> fitModels;  // by ImageDialogKind
    std::unique_ptr<OwnedWindow> deviceWindow;

signals:
    void viewChanged();
    // A short note for the status bar: what finished, what failed quietly.
    void statusMessage(const QString &text);
    // The main window goes away; the view closes its widget.
    void closeRequested();

private:
    class LoadView;
    ThemeContext context();
    void changed();
    void followScreen();
    void showingView(const QString &view);
    void capture(int kind, const QString &procedure);
    void createWorkingFolders();
    void startUp();
    bool showFitDialog(ImageFitModel &dialog);
    struct Zones;
    class ZoneVisitor;
    static const Zones PortraitZones, LandscapeZones;
    void walkZones(const Zones &zones, int x, int y, ZoneVisitor &visit) const;
    void releaseOnPreview(const Zones &zones, int x, int y);
    void selectElement(int element, bool landscape);

    QByteArray documentState() const;
    void markSaved(const QString &file, const QString &compression);
    void rememberRecent(const QString &file);

    EditorSession &m_session;
    Prompt &m_prompt;
    ScreenPort &m_screen;
    MainView m_view;
    bool m_unloaded = false;
    QString m_themeFile;
    QString m_themeCompression;
    QByteArray m_savedState;
};

}  // namespace varno
