// The main window without widgets: what it shows (checked profile, pressed
// buttons, landscape preview, picker check, slider and swatch) and every
// command it runs. The widget layer observes viewChanged() and re-reads.
#pragma once

#include "app/profiles.h"
#include "app/themecolors.h"
#include "base/prompt.h"
#include "imagefit/frmimage.h"
#include "ui/module1.h"
#include "ui/screenport.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

namespace varno {

// A window the main window owns and closes (the device window).
class Form {
public:
    virtual ~Form() = default;
};

class ThemeLoadView;
struct ThemeContext;

// The compression dialog: an option (0 high, 1 medium, 2 low) and two
// buttons; what its Compression function returns to the main window.
struct frmSaveTheme {
    int Option = 0;
    QString btnSave_Click() const;
    static QString btnCancel_Click() { return QStringLiteral("CANCEL"); }
};

struct MainView {
    int checkedProfile = -1;  // index into Profiles(), -1 for none
    std::array<bool, 3> newThemePressed{};
    bool landscapeVisible = true;
    bool useColorPickerChecked = false;
    int sliderTransparency = 0;
    Colour transparencySwatch = RGB(255, 255, 255);
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
    QString themeNameText;
    bool operator==(const MainView &) const = default;
};

class frmMain : public QObject {
    Q_OBJECT
public:
    frmMain(Module1 &module, Prompt &prompt, ScreenPort &screen, QObject *parent = nullptr);
    ~frmMain() override;

    // The screen's resolution, from the widget layer before Form_Load.
    void setScreenDpi(int dpiX, int dpiY);
    int TwipsPerPixelX() const { return m_twipsX; }
    int TwipsPerPixelY() const { return m_twipsY; }

    // Load: false when an error stopped it (the window stays open).
    bool Form_Load();
    // Exit: stores the settings and closes the other windows.
    void Form_Unload();
    void mnuExit_Click();

    // New theme for Profiles()[index].
    void NewTheme(int index);
    void mnuNewStandard_Click() { NewTheme(0); }
    void mnuNewQVGA_Click() { NewTheme(1); }
    void mnuNewVGA_Click() { NewTheme(2); }
    void mnuNewSQ240_Click() { NewTheme(3); }
    void mnuNewWM5QVGA_Click() { NewTheme(4); }
    void mnuNewWM5VGA_Click() { NewTheme(5); }
    void mnuNewWM5SQ240_Click() { NewTheme(6); }
    void btnNewTheme_Click(int index);
    void ClearProfileChecks();
    void CloseImageDialogs();

    // Default screen of the profile: colours and overlays reset, then drawn.
    void LoadDefault();
    // Redraws the preview with a view and follows what it then shows.
    void DoScreenMain(const QString &view);

    // The theme-name box; typed and pasted text pass the name filter.
    void setThemeName(const QString &text);

    // Saving and loading themes.
    bool SaveTheme(const QString &compression, const QString &target);
    void mnuSaveThemeLow_Click();
    void mnuSaveThemeMed_Click();
    void mnuSaveThemeHigh_Click();
    void btnSave_Click();
    bool LoadTheme(const QString &source);
    void mnuLoadTheme_Click();
    void btnOpenExisting_Click() { mnuLoadTheme_Click(); }
    void mnuColorsFromTheme_Click();
    // A chosen theme's Today picture into the current profile's fitting
    // dialog, which is shown. True when the dialog was shown.
    bool mnuLoadImageFromTheme_Click();

    // Colour commands. Element menus are addressed by their position in
    // ColourElements() ("Left Navigation Bar" is 0).
    void GetColor(int16_t index);
    void ElementMenu_Click(int item);
    void PickedColorDispatch(Colour picked);
    void setColourListIndex(int index);
    void btnGetColor_Click();
    void mnuResetColors_Click();
    void btnResetColors_Click() { mnuResetColors_Click(); }
    void btnUndoLast_Click();
    void mnuSwapNavColors_Click();
    void mnuMessagebarNavbar_Click();
    void btnMessageBar_Click() { mnuMessagebarNavbar_Click(); }
    void mnuUseColorPicker_Click();
    void btnColorPicker_Click() { mnuUseColorPicker_Click(); }
    void btnTransparencyColor_Click();
    void sliderTransparency_Change(double value);
    void mnuAutoColors_Click();
    QString PendingElement;
    Colour PickedColor = 0;

    // Mouse released over a preview, in device pixels: selects the element
    // under the pointer, toggles a view, or takes an armed pick.
    void LEADTheme_MouseUp(int x, int y);
    void LEADLandscape_MouseUp(int x, int y);
    // What a release there would act on first, for the status bar ("" for
    // nothing).
    QString ElementAt(bool landscape, int x, int y) const;
    // The base-hue picker, shown modally for the bars of WM5 themes; set by
    // the widget layer (tests script it).
    std::function<void()> ShowHues;

    // "Load Image(s)": a picture file (asked for when `fileName` is empty)
    // into the current profile's fitting dialog, which is shown. True when
    // the dialog was shown.
    bool LoadImages(const QString &fileName = QString());
    void mnuLoadImages_Click() { LoadImages(); }
    // The current profile's fitting dialog as it was left; only while
    // "Change Current Image(s)" is enabled.
    void mnuChangeImages_Click();
    void btnChangeImages_Click() { mnuChangeImages_Click(); }
    // The fitting dialog of a kind, made when first needed.
    frmImage &ImageDialog(ImageDialogKind kind);
    // Shows a fitting dialog modally; true when its OK handed the pictures
    // over. Set by the widget layer; without it dialogs are set up but not
    // shown (tests script it).
    std::function<bool(frmImage &)> ShowImageDialog;

    // Screen captures and picture export. The capture kind group holds
    // buttons 0 main, 1 thumbnail, 2 menu, 3 landscape.
    void btnCapture_Click(int index);
    void btnScreenCapture_Click();
    void mnuScreenCaptureMain_Click();
    void mnuScreenCaptureThumbnail_Click();
    void mnuScreenCaptureMenu_Click();
    void mnuScreenCaptureLandscape_Click();
    void mnuSaveMainImage_Click();
    void mnuSaveMenuImage_Click();

    // Shows the compression dialog modally and returns "HIGH", "MED", "LOW"
    // or "CANCEL"; set by the widget layer (tests script it).
    std::function<QString()> AskSaveCompression;

    const MainView &view() const { return m_view; }
    Module1 &module() { return m_m; }

    // Owned windows, closed by CloseImageDialogs and at exit.
    std::array<std::unique_ptr<frmImage>, 4> ImageDialogs;  // by ImageDialogKind
    std::unique_ptr<Form> FileManager;

signals:
    void viewChanged();
    // The main window goes away; the view closes its widget.
    void closeRequested();

private:
    class LoadView;
    ThemeContext context();
    void changed() { emit viewChanged(); }
    void followScreen();
    void showingView(const QString &view);
    void capture(int kind, const QString &procedure);
    void createWorkingFolders();
    bool showImageDialog(frmImage &dialog);
    struct Zones;
    class ZoneVisitor;
    static const Zones PortraitZones, LandscapeZones;
    void walkZones(const Zones &zones, int x, int y, ZoneVisitor &visit) const;
    void previewMouseUp(const Zones &zones, int x, int y);
    void selectElement(int element, bool landscape);

    Module1 &m_m;
    Prompt &m_prompt;
    ScreenPort &m_screen;
    MainView m_view;
    int m_twipsX = 15;
    int m_twipsY = 15;
    bool m_unloaded = false;
};

}  // namespace varno
