// The fitting dialog model: loading, fitting, panning, flips, backgrounds
// and the hand-over of the two pictures.
#include "imagefit/frmimage.h"

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

QString CheckImageFileName(const QString &path)
{
    const QString name = path.mid(lastSeparator(path) + 1);
    if (name.size() < 5)
        return QStringLiteral("Illegal file name!");
    // Three characters against the list, so "jpeg" passes on its "peg".
    if (!QStringLiteral("jpg-jpeg-bmp-png-pcx-tga-gif-tif").contains(name.right(3).toLower()))
        return QStringLiteral("Unsupported file type!");
    return QString();
}

QString ImagesFolderOf(const QString &path)
{
    return path.left(std::max<qsizetype>(0, lastSeparator(path)));
}

frmImage::frmImage(ImageDialogKind kind, Prompt &prompt, ThemeDocument &doc, AppSettings &settings,
                   QObject *parent)
    : QObject(parent), m_variant(FitVariantFor(kind)), m_prompt(prompt), m_doc(doc),
      m_settings(settings)
{
    Form_Load();
}

bool frmImage::guard(const char *procedure, const std::function<void()> &body)
{
    return trap(m_prompt, QStringLiteral("frmImage"), QStringLiteral("Sub"),
                QLatin1String(procedure), body);
}

void frmImage::changed()
{
    update();
    emit viewChanged();
}

// Enabled state follows the modes; the design leaves most of it to us.
void frmImage::update()
{
    const bool fit = radSizing == SizeImageToFit;
    ResizingEnabled = fit;
    JustifyEnabled = m_variant.justifies && fit && mode() != ResizeMode::XY;
    // "X && Y" fills the canvas exactly: there is nothing left to pan.
    const bool panMain =
        PanOpen == Pan::None && !MainSource.isNull() && (!fit || mode() != ResizeMode::XY);
    btnButtonEnabled.fill(true);
    btnButtonEnabled[PanMainImage] = panMain;
    btnButtonEnabled[PanMenuImage] = panMain && !ckbUseMain && !MenuSource.isNull();
    btnButtonEnabled[LoadMenuImage] = !ckbUseMain;
}

QSize frmImage::panCanvas() const
{
    return isVga() ? m_variant.handOver : m_variant.canvas;
}

void frmImage::Form_Load()
{
    Caption = QLatin1String(m_variant.caption);
    btnResizing = int(ResizeMode::XY);
    btnJustify = int(Justify::Centre);
    JustifyCaptions = {QStringLiteral("Top Justified"), QStringLiteral("Center Justified"),
                       QStringLiteral("Bottom Justified")};
    // A new picture is shown unscaled, which is what clip mode shows.
    radSizing = ClipImage;
    update();
}

bool frmImage::LoadImages(const QString &path)
{
    bool show = false;
    trap(m_prompt, QStringLiteral("frmMain"), QStringLiteral("Function"),
         QStringLiteral("LoadImages"), [&] {
             QString file = path;
             if (file.isEmpty()) {
                 file = ShowOpenOrEmpty(m_prompt, {QStringLiteral("Load Image"),
                                                   QLatin1String(ImageFileFilter),
                                                   m_settings.ImagesPath, QString(), true});
                 if (file.isEmpty() || !CheckImageFileName(file).isEmpty())
                     return;
                 m_settings.ImagesPath = ImagesFolderOf(file);
             }
             m_doc.ImageDialogReady = false;
             MainSource = LoadPicture(file);
             show = true;
         });
    changed();
    return show;
}

void frmImage::StartWith(Raster picture)
{
    m_doc.ImageDialogReady = false;
    MainSource = std::move(picture);
    changed();
}

void frmImage::Form_Activate()
{
    if (m_doc.ImageDialogReady)
        return;
    guard("Form_Activate", [&] {
        // A dialog reopened after a new theme has no picture: it opens empty.
        if (MainSource.isNull())
            return;
        closePan();
        MainSource.convertTo24();
        setMainSource(MainSource);
        MenuSource = MainSource;
        MenuHalf = MainHalf;
        MainPanned = MenuPanned = false;
        m_mainPanAt = m_menuPanAt = QPoint();
        radSizing = ClipImage;
        Orientation = Guide::None;
        showMain();
        if (!ckbUseMain)
            showMenu();
        emit changeImagesEnabled(true);
        m_doc.ImageDialogReady = true;
    });
    changed();
}

void frmImage::Form_Unload()
{
    closePan();
    emit changeImagesEnabled(false);
}

// --- Building the canvases ---

Raster frmImage::fitMain(const Raster &source, QSize canvas, Colour background) const
{
    if (radSizing == ClipImage)
        return ClipPicture(source, canvas, background);
    if (m_variant.placesOnHandOver && mode() == ResizeMode::FitX && !source.isNull())
        return FitWidthOnly(source, canvas.width());
    return FitPicture(source, canvas, mode(), justify(), background);
}

Raster frmImage::mainPanPicture() const
{
    return PanPicture(MainSource, radSizing == ClipImage, mode(), panCanvas());
}

// The region under the pan rectangle as the dialog shows it: the VGA
// dialog pans at full scale and shows the region at half scale.
Raster frmImage::panned(const Raster &picture, QPoint position, Colour background) const
{
    Raster region = PanRegion(picture, position, panCanvas(), background);
    if (isVga())
        region.resize(m_variant.canvas.width(), m_variant.canvas.height());
    return region;
}

void frmImage::showMain()
{
    MainCanvas = fitMain(mainShown(), m_variant.canvas, MainBackColor);
    m_mainShowsPan = false;
    if (ckbUseMain)
        MenuCanvas = fitMain(mainShown(), m_variant.canvas, MenuBackColor);
}

// The menu's own picture is never resized.
void frmImage::showMenu()
{
    MenuCanvas = ClipPicture(menuShown(), m_variant.canvas, MenuBackColor);
}

// The menu canvas repeats whatever the main canvas shows, on the menu's
// background.
void frmImage::followMain()
{
    if (m_mainShowsPan)
        MenuCanvas = panned(mainPanPicture(), m_mainPanAt, MenuBackColor);
    else
        MenuCanvas = fitMain(mainShown(), m_variant.canvas, MenuBackColor);
}

void frmImage::setMainSource(Raster picture)
{
    MainSource = std::move(picture);
    if (isVga())
        MainHalf = HalfScale(MainSource);
}

void frmImage::setMenuSource(Raster picture)
{
    MenuSource = std::move(picture);
    if (isVga())
        MenuHalf = HalfScale(MenuSource);
}

// --- Buttons ---

bool frmImage::btnButton_Click(int Index)
{
    switch (Index) {
    case LoadNewImage: LoadImageMain(); break;
    case LoadMenuImage: LoadImageMenu(); break;
    case PanMainImage: PanWindow(QStringLiteral("main")); break;
    case PanMenuImage: PanWindow(QStringLiteral("menu")); break;
    case ClearMainImage: ClearImage(false); break;
    case ClearMenuImage: ClearImage(true); break;
    case CancelButton: return btnCancel_Click();
    case OKButton: return btnOK_Click();
    default: break;
    }
    return false;
}

Raster frmImage::chooseImage(const QString &title)
{
    const QString file = ShowOpenOrEmpty(
        m_prompt, {title, QLatin1String(ImageFileFilter), m_settings.ImagesPath, QString(), true});
    if (file.isEmpty())
        return Raster();
    if (const QString refusal = CheckImageFileName(file); !refusal.isEmpty()) {
        m_prompt.MsgBox(refusal, MsgIcon::Critical, LoadResString(Str::Error));
        return Raster();
    }
    m_settings.ImagesPath = ImagesFolderOf(file);
    Raster picture = LoadPicture(file);
    picture.convertTo24();
    return picture;
}

void frmImage::LoadImageMain()
{
    guard("LoadImageMain", [&] {
        Raster picture = chooseImage(QStringLiteral("Load Image"));
        if (picture.isNull())
            return;
        closePan();
        setMainSource(std::move(picture));
        MainPanned = false;
        m_mainPanAt = QPoint();
        radSizing = ClipImage;
        Orientation = Guide::None;
        if (ckbUseMain) {
            MenuSource = MainSource;
            MenuHalf = MainHalf;
        }
        showMain();
    });
    changed();
}

void frmImage::LoadImageMenu()
{
    if (ckbUseMain)
        return;
    guard("LoadImageMenu", [&] {
        Raster picture = chooseImage(QStringLiteral("Load Menu Image"));
        if (picture.isNull())
            return;
        if (PanOpen == Pan::Menu)
            closePan();
        setMenuSource(std::move(picture));
        MenuPanned = false;
        m_menuPanAt = QPoint();
        showMenu();
    });
    changed();
}

void frmImage::ClearImage(bool menu)
{
    guard("btnButton_Click", [&] {
        closePan();
        auto clear = [this](bool m) {
            const Colour background = m ? MenuBackColor : MainBackColor;
            for (Raster *r : {m ? &MenuSource : &MainSource, m ? &MenuHalf : &MainHalf})
                if (!r->isNull())
                    r->fill(background);
            (m ? MenuCanvas : MainCanvas) = BackgroundCanvas(m_variant.canvas, background);
            (m ? MenuPanned : MainPanned) = false;
            (m ? m_menuPanAt : m_mainPanAt) = QPoint();
        };
        clear(menu);
        if (!menu) {
            m_mainShowsPan = false;
            // A menu that follows the main picture is cleared with it.
            if (ckbUseMain)
                clear(true);
        }
    });
    changed();
}

bool frmImage::btnCancel_Click()
{
    closePan();
    changed();
    return true;
}

bool frmImage::btnOK_Click()
{
    if (!TransferImages())
        return false;
    closePan();
    changed();
    return true;
}

// --- Hand-over ---

// The main picture fitted again at 640 x 588 from the full-size source; a
// panned picture gives the region under its rectangle instead of the
// justification or the top-left corner.
Raster frmImage::fullScaleMain(Colour background) const
{
    const QSize size = m_variant.handOver;
    const bool clip = radSizing == ClipImage;
    if (MainSource.isNull() || (!clip && mode() == ResizeMode::XY) || !MainPanned)
        return clip ? ClipPicture(MainSource, size, background)
                    : FitPicture(MainSource, size, mode(), justify(), background);
    const Raster picture = PanPicture(MainSource, clip, mode(), size);
    return PanRegion(picture, ClampPanPosition(m_mainPanAt, size, SizeOf(picture)), size,
                     background);
}

Raster frmImage::fullScaleMenu() const
{
    const QSize size = m_variant.handOver;
    if (ckbUseMain)
        return fullScaleMain(MenuBackColor);
    if (MenuPanned && !MenuSource.isNull())
        return PanRegion(MenuSource, ClampPanPosition(m_menuPanAt, size, SizeOf(MenuSource)), size,
                         MenuBackColor);
    return ClipPicture(MenuSource, size, MenuBackColor);
}

bool frmImage::TransferImages()
{
    return guard("TransferImages", [&] {
        Raster main, menu;
        if (m_variant.fullScaleHandOver) {
            main = fullScaleMain(MainBackColor);
            menu = fullScaleMenu();
        } else if (m_variant.placesOnHandOver) {
            main = StandardHandOver(MainCanvas, MainBackColor);
            menu = StandardHandOver(MenuCanvas, MenuBackColor);
        } else {
            // A canvas never built is handed over as its background.
            main = MainCanvas.isNull() ? BackgroundCanvas(m_variant.canvas, MainBackColor)
                                       : MainCanvas;
            menu = MenuCanvas.isNull() ? BackgroundCanvas(m_variant.canvas, MenuBackColor)
                                       : MenuCanvas;
        }
        m_doc.LEADMain = std::move(main);
        m_doc.LEADMenu = std::move(menu);
    });
}

// --- Sizing, resizing, justification ---

void frmImage::radSizing_Click(int Index)
{
    if (Index != SizeImageToFit && Index != ClipImage)
        return;
    guard("radSizing_Click", [&] {
        Orientation = Guide::None;
        closePan();
        radSizing = Index;
        if (Index == SizeImageToFit)
            btnResizing = int(ResizeMode::XY);
        showMain();
    });
    changed();
}

void frmImage::btnResizing_Click(int Index)
{
    if (Index < 0 || Index > 2 || radSizing != SizeImageToFit)
        return;
    guard("btnResizing_Click", [&] {
        Orientation = Guide::None;
        closePan();
        btnResizing = Index;
        if (Index == int(ResizeMode::FitX)) {
            JustifyCaptions[0] = QStringLiteral("Top Justified");
            JustifyCaptions[2] = QStringLiteral("Bottom Justified");
        } else if (Index == int(ResizeMode::FitY)) {
            JustifyCaptions[0] = QStringLiteral("Left Justified");
            JustifyCaptions[2] = QStringLiteral("Right Justified");
        }
        btnJustify = int(Justify::Centre);
        showMain();
    });
    changed();
}

void frmImage::btnJustify_Click(int Index)
{
    if (Index < 0 || Index > 2 || !JustifyEnabled)
        return;
    guard("btnJustify_Click", [&] {
        Orientation = Guide::None;
        closePan();
        btnJustify = Index;
        showMain();
    });
    changed();
}

void frmImage::ckbUseMain_Click(bool checked)
{
    guard("ckbUseMain_Click", [&] {
        ckbUseMain = checked;
        if (!checked)
            return;  // the menu keeps the picture it has
        if (PanOpen == Pan::Menu)
            closePan();
        MenuSource = MainSource;
        MenuHalf = MainHalf;
        followMain();
    });
    changed();
}

// --- Flips and guides ---

void frmImage::radFlip_Click(int Index)
{
    if (Index == FlipMain || Index == FlipMenu)
        radFlip = Index;
    changed();
}

void frmImage::flipBy(bool mirror, const char *procedure)
{
    if (!m_variant.flips)
        return;
    trap(m_prompt, QLatin1String(m_variant.form), QStringLiteral("Sub"), QLatin1String(procedure),
         [&] {
             const bool menu = radFlip == FlipMenu;
             Raster &source = menu ? MenuSource : MainSource;
             if (source.isNull())
                 return;
             closePan();
             auto turn = [mirror](Raster r) {
                 mirror ? r.mirror() : r.flip();
                 return r;
             };
             if (menu) {
                 setMenuSource(turn(MenuSource));
                 if (!ckbUseMain)
                     showMenu();
                 return;
             }
             setMainSource(turn(MainSource));
             if (ckbUseMain && !MenuSource.isNull()) {
                 MenuSource = MainSource;
                 MenuHalf = MainHalf;
             }
             showMain();
         });
    changed();
}

void frmImage::btnFlipLeftRight_Click()
{
    flipBy(true, "btnFlipLeftRight_Click");
}

void frmImage::btnFlipTopBottom_Click()
{
    flipBy(false, "btnFlipTopBottom_Click");
}

void frmImage::toggleGuide(Guide guide)
{
    if (!m_variant.guides)
        return;
    Orientation = Orientation == guide ? Guide::None : guide;
    changed();
}

void frmImage::btnLandscape_Click()
{
    toggleGuide(Guide::Landscape);
}

void frmImage::btnPortrait_Click()
{
    toggleGuide(Guide::Portrait);
}

// --- Backgrounds ---

void frmImage::backColour(bool menu)
{
    try {
        Colour &colour = menu ? MenuBackColor : MainBackColor;
        colour = Colour(m_prompt.ShowColor(uint32_t(colour), true) & 0xFFFFFFu);
        // Either mode rebuilds: a fit is run again, a clip is laid anew on
        // the new colour.
        if (!menu || ckbUseMain)
            showMain();
        else
            showMenu();
    } catch (...) {
        if (!currentError().isCancel())
            m_prompt.MsgBox(menu ? QStringLiteral("Error in MenuImage background color set!")
                                 : QStringLiteral("Error in MainImage background color set!"),
                            MsgIcon::Critical, LoadResString(Str::Error));
    }
    changed();
}

void frmImage::oPicMainBack_Click()
{
    backColour(false);
}

void frmImage::oPicMenuBack_Click()
{
    backColour(true);
}

// --- Panning ---

void frmImage::PanWindow(const QString &which)
{
    const bool menu = which == QLatin1String("menu");
    if ((!menu && which != QLatin1String("main")) ||
        !btnButtonEnabled[menu ? PanMenuImage : PanMainImage])
        return;
    try {
        Raster picture = menu ? MenuSource : mainPanPicture();
        if (picture.isNull())
            return;
        QPoint &at = menu ? m_menuPanAt : m_mainPanAt;
        at = ClampPanPosition(at, panCanvas(), SizeOf(picture));
        PanSource = std::move(picture);
        PanRect = QRect(at, panCanvas());
        PanOpen = menu ? Pan::Menu : Pan::Main;
    } catch (...) {
        m_prompt.MsgBox(QStringLiteral("Error in PanWindow: ") + currentError().Description,
                        MsgIcon::Critical, LoadResString(Str::Error));
    }
    changed();
}

void frmImage::leadpanwin_PanWin(int left, int top)
{
    if (PanOpen == Pan::None)
        return;
    guard("leadpanwin_PanWin", [&] {
        const bool menu = PanOpen == Pan::Menu;
        const QPoint at = ClampPanPosition(QPoint(left, top), panCanvas(), SizeOf(PanSource));
        PanRect = QRect(at, panCanvas());
        if (menu) {
            m_menuPanAt = at;
            MenuCanvas = panned(PanSource, at, MenuBackColor);
            MenuPanned = true;
            return;
        }
        m_mainPanAt = at;
        MainCanvas = panned(PanSource, at, MainBackColor);
        MainPanned = true;
        m_mainShowsPan = true;
        if (ckbUseMain)
            MenuCanvas = panned(PanSource, at, MenuBackColor);
    });
    changed();
}

void frmImage::PanWindow_Close()
{
    closePan();
    changed();
}

void frmImage::closePan()
{
    PanOpen = Pan::None;
    PanSource.free();
    PanRect = QRect();
}

}  // namespace varno
