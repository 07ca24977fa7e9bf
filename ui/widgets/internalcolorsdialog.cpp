// The "Internal Colors" dialog: five swatches, a preview of the Today lines
// and dots, and Cancel / Reset Colors / Save and Exit.
#include "ui/widgets/internalcolorsdialog_p.h"

#include "base/trap.h"
#include "preview/devicescreen.h"
#include "ui/widgets/dialogparts_p.h"
#include "ui/widgets/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace varno {

namespace {

constexpr QSize SwatchSize(48, 20);

}  // namespace

InternalColorsDialog::InternalColorsDialog(Prompt &prompt, ColourState &colours, Raster wordBlank,
                                           Raster dots, QWidget *parent)
    : QDialog(parent), m_wordBlank(std::move(wordBlank)), m_dots(std::move(dots)),
      m_model(prompt, colours, m_wordBlank, m_dots)
{
    setWindowTitle(QStringLiteral("Internal Colors"));

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("LEAD1"));

    auto *swatches = new QGridLayout;
    const char *const names[] = {"oPicLineALeft", "oPicLineARight", "oPicLineBLeft",
                                 "oPicLineBRight", "oPicDots"};
    const QString captions[] = {
        QStringLiteral("Line A Left Color"), QStringLiteral("Line A Right Color"),
        QStringLiteral("Line B Left Color"), QStringLiteral("Line B Right Color"),
        QStringLiteral("Selection Dots")};
    for (int i = 0; i < 5; ++i) {
        auto *swatch = new QToolButton(this);
        swatch->setObjectName(QLatin1String(names[i]));
        swatch->setIconSize(SwatchSize);
        swatch->setAutoRaise(true);
        connect(swatch, &QToolButton::clicked, this, [this, i] { swatchClicked(i); });
        m_swatches[i] = swatch;
        auto *caption = new QLabel(captions[i], this);
        caption->setBuddy(swatch);
        swatches->addWidget(caption, i, 0);
        swatches->addWidget(swatch, i, 1);
    }
    swatches->setRowStretch(5, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    const QString buttonCaptions[] = {QStringLiteral("Cancel"), QStringLiteral("Reset Colors"),
                                      QStringLiteral("Save and Exit")};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QPushButton(buttonCaptions[i], this);
        button->setObjectName(QStringLiteral("btnButton%1").arg(i));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { buttonClicked(i); });
        buttons->addWidget(button);
    }

    auto *top = new QHBoxLayout;
    top->addWidget(m_preview);
    top->addLayout(swatches);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_model.load();
    toControls();
}

void InternalColorsDialog::toControls()
{
    for (int i = 0; i < 5; ++i)
        m_swatches[i]->setIcon(swatchIcon(m_model.swatchColours[i], SwatchSize));
    if (!m_model.preview.isNull())
        showPicture(m_preview, m_model.preview);
}

void InternalColorsDialog::swatchClicked(int swatch)
{
    m_model.chooseSwatchColour(swatch);
    toControls();
}

void InternalColorsDialog::buttonClicked(int index)
{
    if (m_model.pressButton(index))
        done(index == InternalColoursModel::SaveButton ? Accepted : Rejected);
    else
        toControls();
}

void InternalColorsDialog::reject()
{
    m_model.closeFromFrame();
    QDialog::reject();
}

bool showInternalColorsDialog(QWidget *parent, Prompt &prompt, ColourState &colours)
{
    // Both pictures are embedded; should one fail to decode, say so once
    // instead of opening a dialog with nothing to draw on.
    Raster wordBlank, dots;
    if (!trap(prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"),
              QStringLiteral("LoadBuffer"),
              [&] { wordBlank = loadResourcePicture(QStringLiteral("WORD_BLANK")); }))
        return false;
    if (!trap(prompt, QStringLiteral("frmInternalColors"), QStringLiteral("Sub"),
              QStringLiteral("LoadDots"),
              [&] { dots = loadResourcePicture(QStringLiteral("DOTS")); }))
        return false;
    InternalColorsDialog dialog(prompt, colours, std::move(wordBlank), std::move(dots), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace varno
