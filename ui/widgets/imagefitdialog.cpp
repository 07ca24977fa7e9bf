// The image fitting dialog: the two canvases with their load, pan and clear
// buttons, the fitting options of the variant, and Cancel / OK. Everything
// it shows is read from ImageFitModel; every control only calls a handler.
#include "ui/widgets/imagefitdialog.h"

#include "ui/widgets/dialogparts_p.h"
#include "ui/widgets/imagefitdialog_p.h"
#include "ui/widgets/panwindow_p.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <type_traits>

namespace varno {

namespace {

constexpr QSize SwatchSize(40, 20);

QPushButton *toggleButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoDefault(false);
    return button;
}

// A column of toggle buttons or options, id i named name + i.
template <typename Button>
QButtonGroup *buttonColumn(const QString &name, const QStringList &captions, QWidget *box,
                           QVBoxLayout *column)
{
    auto *group = new QButtonGroup(box);
    group->setObjectName(name);
    for (int i = 0; i < captions.size(); ++i) {
        Button *button;
        if constexpr (std::is_same_v<Button, QPushButton>)
            button = toggleButton(name + QString::number(i), captions[i], box);
        else {
            button = new Button(captions[i], box);
            button->setObjectName(name + QString::number(i));
        }
        group->addButton(button, i);
        column->addWidget(button);
    }
    return group;
}

}  // namespace

ImageFitDialog::ImageFitDialog(ImageFitModel &model, QWidget *parent)
    : QDialog(parent), m_model(model)
{
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buildCanvases());
    layout->addLayout(buildOptions());
    layout->addLayout(buildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(&m_model, &ImageFitModel::viewChanged, this, &ImageFitDialog::toControls);
    toControls();
}

QPushButton *ImageFitDialog::addButton(int index, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("btnButton%1").arg(index));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, index] { buttonClicked(index); });
    m_buttons[index] = button;
    return button;
}

// Each canvas with its caption above and its own load, pan and clear
// buttons below; the menu side also takes "Use Main Image In Menu".
QLayout *ImageFitDialog::buildCanvases()
{
    const QSize canvas = m_model.variant().canvas;
    auto *row = new QHBoxLayout;
    const struct {
        const char *view;
        const char *caption;
        int buttons[3];
    } sides[] = {{"LEADMain", "Main Today Image", {0, 2, 4}},
                 {"LEADMenu", "Menu Image", {1, 3, 5}}};
    const QString captions[] = {
        QStringLiteral("Load New Image"),   QStringLiteral("Load Menu Image"),
        QStringLiteral("Pan Main Image"),   QStringLiteral("Pan Menu Image"),
        QStringLiteral("Clear Main Image"), QStringLiteral("Clear Menu Image")};
    for (const auto &side : sides) {
        auto *column = new QVBoxLayout;
        auto *caption = new QLabel(QLatin1String(side.caption), this);
        caption->setObjectName(QLatin1String(side.view) + QStringLiteral("Caption"));
        // The view keeps the canvas size whatever it shows, so the dialog
        // never jumps; label pixels are canvas pixels.
        auto *view = new QLabel(this);
        view->setObjectName(QLatin1String(side.view));
        view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view->setFixedSize(canvas);
        (side.buttons[0] == 0 ? m_mainCanvas : m_menuCanvas) = view;
        auto *buttons = new QGridLayout;
        for (int i = 0; i < 3; ++i)
            buttons->addWidget(addButton(side.buttons[i], captions[side.buttons[i]]), i / 2, i % 2);
        column->addWidget(caption);
        column->addWidget(view);
        column->addLayout(buttons);
        if (view == m_menuCanvas) {
            m_useMain = new QCheckBox(QStringLiteral("Use Main Image In Menu"), this);
            m_useMain->setObjectName(QStringLiteral("ckbUseMain"));
            connect(m_useMain, &QCheckBox::clicked, this,
                    [this](bool on) { act([this, on] { m_model.setUseMainInMenu(on); }); });
            column->addWidget(m_useMain);
        }
        column->addStretch();
        row->addLayout(column);
    }
    return row;
}

// Backgrounds, sizing and resizing, then what the variant adds:
// justification, flips and the orientation guides.
QLayout *ImageFitDialog::buildOptions()
{
    auto *row = new QHBoxLayout;

    auto *backgrounds = new QGroupBox(QStringLiteral("Backgrounds"), this);
    auto *swatches = new QGridLayout(backgrounds);
    swatches->addWidget(new QLabel(QStringLiteral("Main       Menu"), backgrounds), 0, 0, 1, 2);
    m_mainBack = new QToolButton(backgrounds);
    m_menuBack = new QToolButton(backgrounds);
    m_mainBack->setObjectName(QStringLiteral("oPicMainBack"));
    m_menuBack->setObjectName(QStringLiteral("oPicMenuBack"));
    for (QToolButton *swatch : {m_mainBack, m_menuBack}) {
        swatch->setIconSize(SwatchSize);
        swatch->setAutoRaise(true);
    }
    swatches->addWidget(m_mainBack, 1, 0);
    swatches->addWidget(m_menuBack, 1, 1);
    swatches->setRowStretch(2, 1);
    connect(m_mainBack, &QToolButton::clicked, this,
            [this] { act([this] { m_model.chooseMainBackground(); }); });
    connect(m_menuBack, &QToolButton::clicked, this,
            [this] { act([this] { m_model.chooseMenuBackground(); }); });

    // The sizing pair sits above the "Resizing" frame it switches on and off.
    auto *sizing = new QWidget(this);
    auto *sizingColumn = new QVBoxLayout(sizing);
    sizingColumn->setContentsMargins(0, 0, 0, 0);
    m_sizing = buttonColumn<QRadioButton>(
        QStringLiteral("radSizing"),
        {QStringLiteral("Size Image to Fit"), QStringLiteral("Clip Image")}, sizing, sizingColumn);
    auto *resizing = new QGroupBox(QStringLiteral("Resizing"), this);
    auto *resizingColumn = new QVBoxLayout(resizing);
    m_resizing = buttonColumn<QPushButton>(
        QStringLiteral("btnResizing"),
        {QStringLiteral("X && Y"), QStringLiteral("Fit to X"), QStringLiteral("Fit to Y")},
        resizing, resizingColumn);
    resizingColumn->addStretch();
    // A click on the option already chosen changes nothing.
    connect(m_sizing, &QButtonGroup::idClicked, this, [this](int id) {
        if (id != m_model.sizing)
            act([this, id] { m_model.setSizing(id); });
    });
    connect(m_resizing, &QButtonGroup::idClicked, this,
            [this](int id) { act([this, id] { m_model.setResizeMode(id); }); });

    row->addWidget(backgrounds);
    auto *sizingAndResizing = new QVBoxLayout;
    sizingAndResizing->addWidget(sizing);
    sizingAndResizing->addWidget(resizing);
    row->addLayout(sizingAndResizing);

    const FitVariant &variant = m_model.variant();
    if (variant.justifies) {
        auto *justify = new QGroupBox(this);
        justify->setObjectName(QStringLiteral("fraJustify"));
        auto *column = new QVBoxLayout(justify);
        // Captions come from the model, which words them by the fit mode.
        m_justify = buttonColumn<QPushButton>(QStringLiteral("btnJustify"),
                                              {QString(), QString(), QString()}, justify, column);
        column->addStretch();
        connect(m_justify, &QButtonGroup::idClicked, this,
                [this](int id) { act([this, id] { m_model.setJustification(id); }); });
        row->addWidget(justify);
    }
    if (variant.flips) {
        auto *flip = new QGroupBox(QStringLiteral("Flip Image(s)"), this);
        auto *column = new QVBoxLayout(flip);
        m_flip = buttonColumn<QRadioButton>(
            QStringLiteral("radFlip"), {QStringLiteral("Main Image"), QStringLiteral("Menu Image")},
            flip, column);
        connect(m_flip, &QButtonGroup::idClicked, this, [this](int id) {
            if (id != m_model.flipTarget)
                act([this, id] { m_model.setFlipTarget(id); });
        });
        const struct {
            const char *name;
            const char *caption;
            bool mirror;  // left to right, else top to bottom
        } flips[] = {{"btnFlipLeftRight", "Flip Left to Right", true},
                     {"btnFlipTopBottom", "Flip Top to Bottom", false}};
        for (const auto &f : flips) {
            auto *button = new QPushButton(QLatin1String(f.caption), flip);
            button->setObjectName(QLatin1String(f.name));
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, mirror = f.mirror] {
                act([this, mirror] {
                    if (mirror)
                        m_model.flipLeftRight();
                    else
                        m_model.flipTopBottom();
                });
            });
            column->addWidget(button);
        }
        column->addStretch();
        row->addWidget(flip);
    }
    if (variant.guides) {
        auto *area = new QGroupBox(QStringLiteral("Area Used"), this);
        auto *column = new QVBoxLayout(area);
        m_landscape =
            toggleButton(QStringLiteral("btnLandscape"), QStringLiteral("Landscape"), area);
        m_portrait = toggleButton(QStringLiteral("btnPortrait"), QStringLiteral("Portrait"), area);
        connect(m_landscape, &QPushButton::clicked, this,
                [this] { act([this] { m_model.toggleLandscapeGuide(); }); });
        connect(m_portrait, &QPushButton::clicked, this,
                [this] { act([this] { m_model.togglePortraitGuide(); }); });
        column->addWidget(m_landscape);
        column->addWidget(m_portrait);
        column->addStretch();
        row->addWidget(area);
    }
    row->addStretch();
    return row;
}

QLayout *ImageFitDialog::buildButtons()
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(addButton(ImageFitModel::CancelButton, QStringLiteral("Cancel")));
    QPushButton *ok = addButton(ImageFitModel::OKButton, QStringLiteral("OK"));
    ok->setDefault(true);
    row->addWidget(ok);
    return row;
}

void ImageFitDialog::act(const std::function<void()> &handler)
{
    if (m_syncing)
        return;
    const int before = m_syncCount;
    handler();
    if (m_syncCount == before)
        toControls();
}

void ImageFitDialog::toControls()
{
    m_syncing = true;
    ++m_syncCount;
    setWindowTitle(m_model.caption);
    for (size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setEnabled(m_model.buttonEnabled[i]);
    checkOption(m_sizing, m_model.sizing);
    checkOption(m_resizing, m_model.resizeMode);
    for (QAbstractButton *b : m_resizing->buttons())
        b->setEnabled(m_model.resizingEnabled);
    if (m_justify) {
        checkOption(m_justify, m_model.justification);
        for (int i = 0; i < 3; ++i) {
            QAbstractButton *b = m_justify->button(i);
            b->setText(m_model.justifyCaptions[size_t(i)]);
            b->setEnabled(m_model.justifyEnabled);
        }
        // Widths only grow, so the dialog does not jump as the captions
        // change between top/bottom and left/right.
        QWidget *box = m_justify->button(0)->parentWidget();
        box->setMinimumWidth(std::max(box->minimumWidth(), box->sizeHint().width()));
    }
    m_useMain->setChecked(m_model.useMainInMenu);
    if (m_flip) {
        checkOption(m_flip, m_model.flipTarget);
        m_flip->button(ImageFitModel::FlipMenu)->setEnabled(m_model.menuFlipEnabled);
    }
    if (m_landscape) {
        m_landscape->setChecked(m_model.orientation == Guide::Landscape);
        m_portrait->setChecked(m_model.orientation == Guide::Portrait);
    }
    m_mainBack->setIcon(swatchIcon(m_model.mainBackColor, SwatchSize));
    m_menuBack->setIcon(swatchIcon(m_model.menuBackColor, SwatchSize));
    showCanvas(m_mainCanvas, m_model.mainCanvas, false, m_mainKey, m_mainGuide);
    showCanvas(m_menuCanvas, m_model.menuCanvas, true, m_menuKey, m_menuGuide);
    m_syncing = false;
    syncPan();
}

// The canvas at 1:1 with the guide outlined over it. The guide goes on the
// copy shown, never into the model's canvas.
void ImageFitDialog::showCanvas(QLabel *view, const Raster &canvas, bool menu, qint64 &shownKey,
                                Guide &shownGuide)
{
    const qint64 key = canvas.image().cacheKey();
    if (key == shownKey && m_model.orientation == shownGuide)
        return;
    shownKey = key;
    shownGuide = m_model.orientation;
    QImage shown(view->size(), QImage::Format_RGB32);
    shown.fill(palette().color(QPalette::Dark));
    QPainter painter(&shown);
    if (!canvas.isNull())
        painter.drawImage(0, 0, canvas.image());
    drawOutline(painter, guideRect(m_model.orientation, menu));
    painter.end();
    view->setPixmap(QPixmap::fromImage(shown));
}

void ImageFitDialog::syncPan()
{
    if (m_model.panOpen == ImageFitModel::Pan::None || m_model.panSource.isNull()) {
        if (m_pan)
            m_pan->hide();
        return;
    }
    if (!m_pan) {
        m_pan = new PanWindow(QLatin1String(ImageFitModel::PanWindowTitle),
                              ImageFitModel::PanWindowSize, this);
        m_pan->onPanned = [this](int left, int top) {
            act([this, left, top] { m_model.movePan(left, top); });
        };
        m_pan->onClosed = [this] { act([this] { m_model.closePanWindow(); }); };
    }
    m_pan->setPicture(m_model.panSource);
    m_pan->setPanRect(m_model.panRect);
    if (m_pan->isVisible())
        return;
    // Beside the dialog, kept on its screen.
    QPoint at = frameGeometry().topRight() + QPoint(8, 0);
    if (const QScreen *s = screen()) {
        const QRect room = s->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - 400)));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - 440)));
    }
    m_pan->move(at);
    m_pan->show();
}

PanWindow *ImageFitDialog::panWindow() const
{
    return m_pan && m_model.panOpen != ImageFitModel::Pan::None ? m_pan : nullptr;
}

void ImageFitDialog::buttonClicked(int index)
{
    bool closes = false;
    act([&] { closes = m_model.pressButton(index); });
    if (closes)
        done(index == ImageFitModel::OKButton ? Accepted : Rejected);
}

void ImageFitDialog::reject()
{
    buttonClicked(ImageFitModel::CancelButton);
}

void ImageFitDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && panWindow()) {
        act([this] { m_model.closePanWindow(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void ImageFitDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        act([this] { m_model.activate(); });
}

bool showImageFitDialog(QWidget *parent, ImageFitModel &model)
{
    ImageFitDialog dialog(model, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace varno
