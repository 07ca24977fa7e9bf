// The image fitting dialog without its widgets: one model for the standard,
// wide, square and VGA dialogs, configured by the variant table. It holds what the dialog shows and
// hands the two fitted pictures to the theme document on OK.
#pragma once

#include "app/appsettings.h"
#include "app/themedocument.h"
#include "base/prompt.h"
#include "imagefit/fitting.h"
#include "imagefit/fitvariant.h"

#include <QObject>
#include <QRect>
#include <QString>

#include <array>
#include <functional>

namespace varno {

// The filter of every picture file dialog of the program.
extern const char *const ImageFileFilter;

// The name check of a picture chosen in a file dialog: "" when acceptable,
// else "Illegal file name!" or "Unsupported file type!".
QString checkImageFileName(const QString &path);

// The folder of a chosen file as remembered in imagesFolder: the text before
// its last separator.
QString imagesFolderOf(const QString &path);

class ImageFitModel : public QObject {
    Q_OBJECT
public:
    // btnButton in its index order.
    enum Button {
        LoadNewImage,
        LoadMenuImage,
        PanMainImage,
        PanMenuImage,
        ClearMainImage,
        ClearMenuImage,
        CancelButton,
        OKButton
    };
    enum Sizing { SizeImageToFit = 0, ClipImage = 1 };
    enum FlipTarget { FlipMain = 0, FlipMenu = 1 };
    enum class Pan { None, Main, Menu };

    // The pan window, drawn by the view.
    static constexpr const char *PanWindowTitle = "PanWindow";
    static constexpr QSize PanWindowSize{382, 400};

    // Creating the model loads the form (load).
    ImageFitModel(ImageDialogKind kind, Prompt &prompt, ThemeDocument &doc, AppSettings &settings,
                  QObject *parent = nullptr);

    const FitVariant &variant() const { return m_variant; }

    // Main window entry: a picture file into the main source, ready to be
    // shown. An empty path asks for the file first ("Load Image"); a
    // cancelled dialog or a refused name shows nothing (refusal() says why
    // a name was refused). True when the dialog is to be shown; the view
    // then activates it.
    bool loadImages(const QString &path);
    const QString &refusal() const { return m_refusal; }
    // The same with a picture already in memory (a theme's Today picture).
    void startWith(Raster picture);

    void load();
    // Called each time the dialog is shown; sets up the pictures only when
    // the document's ImageDialogReady is clear.
    void activate();
    // The dialog is discarded: the main window disables "Change Current
    // Image(s)".
    void unload();

    // True when the dialog closes. OK leaves the document's pictures
    // replaced; the main window then redraws "MAIN". Cancel changes nothing.
    bool pressButton(int index);
    void loadMainImage();
    void loadMenuImage();
    // "Clear Main Image" / "Clear Menu Image".
    void clearImage(bool menu);
    bool accept();
    bool cancel();
    bool transferImages();

    void setSizing(int index);
    void setResizeMode(int index);
    void setJustification(int index);
    void setUseMainInMenu(bool checked);
    void setFlipTarget(int index);
    void flipLeftRight();
    void flipTopBottom();
    void toggleLandscapeGuide();
    void togglePortraitGuide();
    // The two background swatches under "Backgrounds".
    void chooseMainBackground();
    void chooseMenuBackground();

    // which: "main" or "menu".
    void panWindow(const QString &which);
    // The rectangle moved to (left, top) of the pan picture.
    void movePan(int left, int top);
    void closePanWindow();

    // What the dialog shows. The view reads these; only the handlers
    // change them.
    QString caption;
    Raster mainCanvas, menuCanvas;  // "Main Today Image", "Menu Image"
    int sizing = ClipImage;
    int resizeMode = int(ResizeMode::XY);
    int justification = int(Justify::Centre);
    std::array<QString, 3> justifyCaptions;
    bool useMainInMenu = false;
    int flipTarget = FlipMain;
    bool menuFlipEnabled = true;  // off while the menu follows the main picture
    // Display aid only, never drawn into the canvases: the view outlines
    // guideRect(orientation, false) and guideRect(orientation, true).
    Guide orientation = Guide::None;
    Colour mainBackColor = rgb(0, 0, 0);
    Colour menuBackColor = rgb(0, 0, 0);
    std::array<bool, 8> buttonEnabled{};
    bool resizingEnabled = false;
    bool justifyEnabled = false;
    // The open pan window: its picture and the canvas-sized rectangle on it
    // (the view adds the one-pixel frame around it).
    Pan panOpen = Pan::None;
    Raster panSource;
    QRect panRect;

    // The pictures as picked, full size; the VGA dialog also keeps
    // half-scale copies for its display.
    Raster mainSource, menuSource;
    Raster mainHalf, menuHalf;
    // The canvas shows, and OK hands over, the region under the pan
    // rectangle rather than the fit.
    bool mainPanned = false, menuPanned = false;

signals:
    void viewChanged();
    // Enables or disables the main window's "Change Current Image(s)".
    void changeImagesEnabled(bool enabled);

private:
    QString m_refusal;  // why the last chosen file was not loaded
    // The dialog's own file choice, checked and loaded at 24 bits; null
    // when cancelled or refused (the refusal said).
    Raster chooseImage(const QString &title);
    bool guard(const char *procedure, const std::function<void()> &body);
    void changed();
    void update();
    bool isVga() const { return m_variant.fullScaleHandOver; }
    QSize panCanvas() const;
    ResizeMode mode() const { return ResizeMode(resizeMode); }
    Justify justify() const { return Justify(justification); }
    const Raster &mainShown() const { return isVga() ? mainHalf : mainSource; }
    const Raster &menuShown() const { return isVga() ? menuHalf : menuSource; }

    Raster mainPanPicture() const;
    Raster fitMain(const Raster &source, QSize canvas, Colour background) const;
    Raster panned(const Raster &picture, QPoint position, Colour background) const;
    Raster fullScaleMain(Colour background) const;
    Raster fullScaleMenu() const;
    void showMain();
    void showMenu();
    void followMain();
    void setMainSource(Raster picture);
    void setMenuSource(Raster picture);
    void flipBy(bool mirror, const char *procedure);
    void backColour(bool menu);
    void toggleGuide(Guide guide);
    void closePan();
    void endPan(bool menu);
    QPoint fittedPanPosition(QSize picture) const;

    const FitVariant &m_variant;
    Prompt &m_prompt;
    ThemeDocument &m_doc;
    AppSettings &m_settings;
    QPoint m_mainPanAt, m_menuPanAt;  // in pan-picture pixels
};

}  // namespace varno
