// The fitting dialog model: loading, fitting, panning, flips, backgrounds
// and the hand-over of the two pictures.
#include "imagefit/imagefitmodel.h"

#include "app/apppaths.h"
#include "app/raster/pictureio.h"
#include "base/messages.h"
#include "base/trap.h"

#include <algorithm>

namespace varno {

const char *const ImageFileFilter =
    "All Files|*.*|JPEG|*.jpg|Windows BMP|*.bmp|PNG|*.png|PCX|*.pcx|"
    "TGA|*.tga|GIF|*.gif|TIF|*.tif";

namespace {

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

}  // namespace

QString checkImageFileName(const QString &path)
{
    const QString name = path.mid(lastSeparator(path) + 1);
    if (name.size() < 5)
        return QStringLiteral("Illegal file name!");
    // Three characters against the list, so "jpeg" passes on its "peg".
    if (!QStringLiteral("jpg-jpeg-bmp-png-pcx-tga-gif-tif").contains(name.right(3).toLower()))
        return QStringLiteral("Unsupported file type!");
    return QString();
}

QString imagesFolderOf(const QString &path)
{
    return path.left(std::max<qsizetype>(0, lastSeparator(path)));
}

ImageFitModel::ImageFitModel(ImageDialogKind kind, Prompt &prompt, ThemeDocument &doc,
                             AppSettings &settings, QObject *parent)
    : QObject(parent), m_variant(fitVariantFor(kind)), m_prompt(prompt), m_doc(doc),
      m_settings(settings)
{
    load();
}

bool ImageFitModel::guard(const char *procedure, const std::function<void()> &body)
{
    return trap(m_prompt, QStringLiteral("frmImage"), QStringLiteral("Sub"),
                QLatin1String(procedure), body);
}

void ImageFitModel::changed()
{
    update();
    emit viewChanged();
}

// Enabled state follows the modes; the design leaves most of it to us.
void ImageFitModel::update()
{
    const bool fit = sizing == SizeImageToFit;
    resizingEnabled = fit;
    justifyEnabled = m_variant.justifies && fit && mode() != ResizeMode::XY;
    // "X && Y" fills the canvas exactly: there is nothing left to pan.
    const bool panMain =
        panOpen == Pan::None && !mainSource.isNull() && (!fit || mode() != ResizeMode::XY);
    buttonEnabled.fill(true);
    buttonEnabled[PanMainImage] = panMain;
    buttonEnabled[PanMenuImage] = panMain && !useMainInMenu && !menuSource.isNull();
    buttonEnabled[LoadMenuImage] = !useMainInMenu;
    menuFlipEnabled = m_variant.flips && !useMainInMenu;
}

QSize ImageFitModel::panCanvas() const
{
    return isVga() ? m_variant.handOver : m_variant.canvas;
}

void ImageFitModel::load()
{
    caption = QLatin1String(m_variant.caption);
    resizeMode = int(ResizeMode::XY);
    justification = int(Justify::Centre);
    justifyCaptions = {QStringLiteral("Top Justified"), QStringLiteral("Center Justified"),
                       QStringLiteral("Bottom Justified")};
    // A new picture is shown unscaled, which is what clip mode shows.
    sizing = ClipImage;
    update();
}

bool ImageFitModel::loadImages(const QString &path)
{
    bool show = false;
    m_refusal.clear();
    trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Function"),
         QStringLiteral("LoadImages"), [&] {
             QString file = path;
             if (file.isEmpty()) {
                 file = chooseFileToOpenOrEmpty(
                     m_prompt, {QStringLiteral("Load Image"), QLatin1String(ImageFileFilter),
                                m_settings.imagesFolder, QString(), true});
                 if (file.isEmpty())
                     return;
                 m_refusal = checkImageFileName(file);
                 if (!m_refusal.isEmpty())
                     return;
                 m_settings.imagesFolder = imagesFolderOf(file);
             }
             m_doc.imageDialogReady = false;
             mainSource = loadPicture(file);
             show = true;
         });
    changed();
    return show;
}

void ImageFitModel::startWith(Raster picture)
{
    m_doc.imageDialogReady = false;
    mainSource = std::move(picture);
    changed();
}

void ImageFitModel::activate()
{
    if (m_doc.imageDialogReady)
        return;
    guard("Form_Activate", [&] {
        // A dialog reopened after a new theme has no picture: it opens empty.
        if (mainSource.isNull())
            return;
        closePan();
        mainSource.convertTo24();
        setMainSource(mainSource);
        menuSource = mainSource;
        menuHalf = mainHalf;
        mainPanned = menuPanned = false;
        m_mainPanAt = m_menuPanAt = QPoint();
        sizing = ClipImage;
        orientation = Guide::None;
        showMain();
        if (!useMainInMenu)
            showMenu();
        emit changeImagesEnabled(true);
        m_doc.imageDialogReady = true;
    });
    changed();
}

void ImageFitModel::unload()
{
    closePan();
    emit changeImagesEnabled(false);
}

// --- Building the canvases ---

Raster ImageFitModel::fitMain(const Raster &source, QSize canvas, Colour background) const
{
    if (sizing == ClipImage)
        return clipPicture(source, canvas, background);
    // Shown as OK lays it on the screen: from the top, the rest background.
    if (m_variant.placesOnHandOver && mode() == ResizeMode::FitX && !source.isNull())
        return clipPicture(fitWidthOnly(source, canvas.width()), canvas, background);
    return fitPicture(source, canvas, mode(), justify(), background);
}

Raster ImageFitModel::mainPanPicture() const
{
    return panPicture(mainSource, sizing == ClipImage, mode(), panCanvas());
}

// The region under the pan rectangle as the dialog shows it: the VGA
// dialog pans at full scale and shows the region at half scale.
Raster ImageFitModel::panned(const Raster &picture, QPoint position, Colour background) const
{
    Raster region = panRegion(picture, position, panCanvas(), background);
    if (isVga())
        region.resize(m_variant.canvas.width(), m_variant.canvas.height());
    return region;
}

// What OK would hand over, at the size shown: whatever changes the fit or
// the picture ends a pan first, so a pan left standing is still wanted.
void ImageFitModel::showMain()
{
    mainCanvas = mainPanned ? panned(mainPanPicture(), m_mainPanAt, mainBackColor)
                            : fitMain(mainShown(), m_variant.canvas, mainBackColor);
    if (useMainInMenu)
        followMain();
}

// The menu's own picture is never resized.
void ImageFitModel::showMenu()
{
    menuCanvas = menuPanned ? panned(menuSource, m_menuPanAt, menuBackColor)
                            : clipPicture(menuShown(), m_variant.canvas, menuBackColor);
}

void ImageFitModel::endPan(bool menu)
{
    (menu ? menuPanned : mainPanned) = false;
    (menu ? m_menuPanAt : m_mainPanAt) = QPoint();
}

// The menu canvas repeats whatever the main canvas shows, on the menu's
// background.
void ImageFitModel::followMain()
{
    if (mainPanned)
        menuCanvas = panned(mainPanPicture(), m_mainPanAt, menuBackColor);
    else
        menuCanvas = fitMain(mainShown(), m_variant.canvas, menuBackColor);
}

void ImageFitModel::setMainSource(Raster picture)
{
    mainSource = std::move(picture);
    if (isVga())
        mainHalf = halfScale(mainSource);
}

void ImageFitModel::setMenuSource(Raster picture)
{
    menuSource = std::move(picture);
    if (isVga())
        menuHalf = halfScale(menuSource);
}

// --- Buttons ---

bool ImageFitModel::pressButton(int index)
{
    switch (index) {
    case LoadNewImage: loadMainImage(); break;
    case LoadMenuImage: loadMenuImage(); break;
    case PanMainImage: panWindow(QStringLiteral("main")); break;
    case PanMenuImage: panWindow(QStringLiteral("menu")); break;
    case ClearMainImage: clearImage(false); break;
    case ClearMenuImage: clearImage(true); break;
    case CancelButton: return cancel();
    case OKButton: return accept();
    default: break;
    }
    return false;
}

Raster ImageFitModel::chooseImage(const QString &title)
{
    const QString file =
        chooseFileToOpenOrEmpty(m_prompt, {title, QLatin1String(ImageFileFilter),
                                           m_settings.imagesFolder, QString(), true});
    if (file.isEmpty())
        return Raster();
    if (const QString refusal = checkImageFileName(file); !refusal.isEmpty()) {
        m_prompt.messageBox(refusal, MsgIcon::Critical, stringResource(Str::Error));
        return Raster();
    }
    m_settings.imagesFolder = imagesFolderOf(file);
    Raster picture = loadPicture(file);
    picture.convertTo24();
    return picture;
}

void ImageFitModel::loadMainImage()
{
    guard("LoadImageMain", [&] {
        Raster picture = chooseImage(QStringLiteral("Load Image"));
        if (picture.isNull())
            return;
        closePan();
        setMainSource(std::move(picture));
        endPan(false);
        sizing = ClipImage;
        orientation = Guide::None;
        if (useMainInMenu) {
            menuSource = mainSource;
            menuHalf = mainHalf;
        }
        showMain();
    });
    changed();
}

void ImageFitModel::loadMenuImage()
{
    if (useMainInMenu)
        return;
    guard("LoadImageMenu", [&] {
        Raster picture = chooseImage(QStringLiteral("Load Menu Image"));
        if (picture.isNull())
            return;
        if (panOpen == Pan::Menu)
            closePan();
        setMenuSource(std::move(picture));
        endPan(true);
        showMenu();
    });
    changed();
}

void ImageFitModel::clearImage(bool menu)
{
    guard("btnButton_Click", [&] {
        closePan();
        auto clear = [this](bool m) {
            const Colour background = m ? menuBackColor : mainBackColor;
            for (Raster *r : {m ? &menuSource : &mainSource, m ? &menuHalf : &mainHalf})
                if (!r->isNull())
                    r->fill(background);
            (m ? menuCanvas : mainCanvas) = backgroundCanvas(m_variant.canvas, background);
            (m ? menuPanned : mainPanned) = false;
            (m ? m_menuPanAt : m_mainPanAt) = QPoint();
        };
        clear(menu);
        if (!menu) {
            // A menu that follows the main picture is cleared with it.
            if (useMainInMenu)
                clear(true);
        }
    });
    changed();
}

bool ImageFitModel::cancel()
{
    closePan();
    changed();
    return true;
}

bool ImageFitModel::accept()
{
    if (!transferImages())
        return false;
    closePan();
    changed();
    return true;
}

// --- Hand-over ---

// The main picture fitted again at 640 x 588 from the full-size source; a
// panned picture gives the region under its rectangle instead of the
// justification or the top-left corner.
Raster ImageFitModel::fullScaleMain(Colour background) const
{
    const QSize size = m_variant.handOver;
    const bool clip = sizing == ClipImage;
    if (mainSource.isNull() || (!clip && mode() == ResizeMode::XY) || !mainPanned)
        return clip ? clipPicture(mainSource, size, background)
                    : fitPicture(mainSource, size, mode(), justify(), background);
    const Raster picture = panPicture(mainSource, clip, mode(), size);
    return panRegion(picture, clampPanPosition(m_mainPanAt, size, sizeOf(picture)), size,
                     background);
}

Raster ImageFitModel::fullScaleMenu() const
{
    const QSize size = m_variant.handOver;
    if (useMainInMenu)
        return fullScaleMain(menuBackColor);
    if (menuPanned && !menuSource.isNull())
        return panRegion(menuSource, clampPanPosition(m_menuPanAt, size, sizeOf(menuSource)), size,
                         menuBackColor);
    return clipPicture(menuSource, size, menuBackColor);
}

bool ImageFitModel::transferImages()
{
    return guard("TransferImages", [&] {
        Raster main, menu;
        if (m_variant.fullScaleHandOver) {
            main = fullScaleMain(mainBackColor);
            menu = fullScaleMenu();
        } else if (m_variant.placesOnHandOver) {
            main = standardHandOver(mainCanvas, mainBackColor);
            menu = standardHandOver(menuCanvas, menuBackColor);
        } else {
            // A canvas never built is handed over as its background.
            main = mainCanvas.isNull() ? backgroundCanvas(m_variant.canvas, mainBackColor)
                                       : mainCanvas;
            menu = menuCanvas.isNull() ? backgroundCanvas(m_variant.canvas, menuBackColor)
                                       : menuCanvas;
        }
        m_doc.todayPicture = std::move(main);
        m_doc.menuPicture = std::move(menu);
    });
}

// --- Sizing, resizing, justification ---

void ImageFitModel::setSizing(int index)
{
    if (index != SizeImageToFit && index != ClipImage)
        return;
    guard("radSizing_Click", [&] {
        orientation = Guide::None;
        closePan();
        endPan(false);
        sizing = index;
        if (index == SizeImageToFit)
            resizeMode = int(ResizeMode::XY);
        showMain();
    });
    changed();
}

void ImageFitModel::setResizeMode(int index)
{
    if (index < 0 || index > 2 || sizing != SizeImageToFit)
        return;
    guard("btnResizing_Click", [&] {
        orientation = Guide::None;
        closePan();
        endPan(false);
        resizeMode = index;
        if (index == int(ResizeMode::FitX)) {
            justifyCaptions[0] = QStringLiteral("Top Justified");
            justifyCaptions[2] = QStringLiteral("Bottom Justified");
        } else if (index == int(ResizeMode::FitY)) {
            justifyCaptions[0] = QStringLiteral("Left Justified");
            justifyCaptions[2] = QStringLiteral("Right Justified");
        }
        justification = int(Justify::Centre);
        showMain();
    });
    changed();
}

void ImageFitModel::setJustification(int index)
{
    if (index < 0 || index > 2 || !justifyEnabled)
        return;
    guard("btnJustify_Click", [&] {
        orientation = Guide::None;
        // A justification places the whole picture: it ends the pan.
        closePan();
        endPan(false);
        justification = index;
        showMain();
    });
    changed();
}

void ImageFitModel::setUseMainInMenu(bool checked)
{
    guard("ckbUseMain_Click", [&] {
        const bool followed = useMainInMenu;
        useMainInMenu = checked;
        if (!checked) {
            // The menu keeps the picture it shows, now as its own, so OK,
            // a flip or a pan start from what is on the screen.
            if (followed && !mainSource.isNull()) {
                if (isVga())
                    setMenuSource(fullScaleMain(menuBackColor));
                else
                    menuSource = menuCanvas;
                endPan(true);
                showMenu();
            }
            return;
        }
        if (panOpen == Pan::Menu)
            closePan();
        endPan(true);
        flipTarget = FlipMain;
        menuSource = mainSource;
        menuHalf = mainHalf;
        followMain();
    });
    changed();
}

// --- Flips and guides ---

void ImageFitModel::setFlipTarget(int index)
{
    if (index == FlipMain || (index == FlipMenu && menuFlipEnabled))
        flipTarget = index;
    changed();
}

void ImageFitModel::flipBy(bool mirror, const char *procedure)
{
    if (!m_variant.flips)
        return;
    trap(m_prompt, QLatin1String(m_variant.errorForm), QStringLiteral("Sub"),
         QLatin1String(procedure), [&] {
             const bool menu = flipTarget == FlipMenu;
             Raster &source = menu ? menuSource : mainSource;
             if (source.isNull())
                 return;
             closePan();
             endPan(menu);
             auto turn = [mirror](Raster r) {
                 mirror ? r.mirror() : r.flip();
                 return r;
             };
             if (menu) {
                 setMenuSource(turn(menuSource));
                 if (!useMainInMenu)
                     showMenu();
                 return;
             }
             setMainSource(turn(mainSource));
             if (useMainInMenu && !menuSource.isNull()) {
                 menuSource = mainSource;
                 menuHalf = mainHalf;
             }
             showMain();
         });
    changed();
}

void ImageFitModel::flipLeftRight()
{
    flipBy(true, "btnFlipLeftRight_Click");
}

void ImageFitModel::flipTopBottom()
{
    flipBy(false, "btnFlipTopBottom_Click");
}

void ImageFitModel::toggleGuide(Guide guide)
{
    if (!m_variant.guides)
        return;
    orientation = orientation == guide ? Guide::None : guide;
    changed();
}

void ImageFitModel::toggleLandscapeGuide()
{
    toggleGuide(Guide::Landscape);
}

void ImageFitModel::togglePortraitGuide()
{
    toggleGuide(Guide::Portrait);
}

// --- Backgrounds ---

void ImageFitModel::backColour(bool menu)
{
    try {
        Colour &colour = menu ? menuBackColor : mainBackColor;
        colour = Colour(m_prompt.chooseColour(uint32_t(colour), true) & 0xFFFFFFu);
        // Either mode rebuilds: a fit is run again, a clip is laid anew on
        // the new colour.
        if (!menu || useMainInMenu)
            showMain();
        else
            showMenu();
    } catch (...) {
        if (!currentError().isCancel())
            m_prompt.messageBox(menu ? QStringLiteral("Error in MenuImage background color set!")
                                     : QStringLiteral("Error in MainImage background color set!"),
                                MsgIcon::Critical, stringResource(Str::Error));
    }
    changed();
}

void ImageFitModel::chooseMainBackground()
{
    backColour(false);
}

void ImageFitModel::chooseMenuBackground()
{
    backColour(true);
}

// --- Panning ---

void ImageFitModel::panWindow(const QString &which)
{
    const bool menu = which == QLatin1String("menu");
    if ((!menu && which != QLatin1String("main")) ||
        !buttonEnabled[menu ? PanMenuImage : PanMainImage])
        return;
    try {
        Raster picture = menu ? menuSource : mainPanPicture();
        if (picture.isNull())
            return;
        QPoint &at = menu ? m_menuPanAt : m_mainPanAt;
        if (!menu && !mainPanned)
            at = fittedPanPosition(sizeOf(picture));
        at = clampPanPosition(at, panCanvas(), sizeOf(picture));
        panSource = std::move(picture);
        panRect = QRect(at, panCanvas());
        panOpen = menu ? Pan::Menu : Pan::Main;
    } catch (...) {
        m_prompt.messageBox(QStringLiteral("Error in PanWindow: ") + currentError().description,
                            MsgIcon::Critical, stringResource(Str::Error));
    }
    changed();
}

// Where the rectangle lies on the pan picture over the part the fit shows,
// so the first step of a drag moves on from there.
QPoint ImageFitModel::fittedPanPosition(QSize picture) const
{
    if (sizing == ClipImage || (m_variant.placesOnHandOver && mode() == ResizeMode::FitX))
        return QPoint();
    const QSize canvas = panCanvas();
    if (mode() == ResizeMode::FitX)
        return QPoint(0, -fitPosition(picture.height(), canvas.height(), justify(), true));
    return QPoint(-fitPosition(picture.width(), canvas.width(), justify(), false), 0);
}

void ImageFitModel::movePan(int left, int top)
{
    if (panOpen == Pan::None)
        return;
    guard("leadpanwin_PanWin", [&] {
        const bool menu = panOpen == Pan::Menu;
        const QPoint at = clampPanPosition(QPoint(left, top), panCanvas(), sizeOf(panSource));
        panRect = QRect(at, panCanvas());
        if (menu) {
            m_menuPanAt = at;
            menuCanvas = panned(panSource, at, menuBackColor);
            menuPanned = true;
            return;
        }
        m_mainPanAt = at;
        mainCanvas = panned(panSource, at, mainBackColor);
        mainPanned = true;
        if (useMainInMenu)
            menuCanvas = panned(panSource, at, menuBackColor);
    });
    changed();
}

void ImageFitModel::closePanWindow()
{
    closePan();
    changed();
}

void ImageFitModel::closePan()
{
    panOpen = Pan::None;
    panSource.free();
    panRect = QRect();
}

}  // namespace varno
