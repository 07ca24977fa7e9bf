// The Windows Mobile 5 base-hue picker: two palette strips to click or drag
// on and a heading strip showing the choice.
#include "ui/widgets/huesdialog_p.h"

#include "base/trap.h"
#include "ui/widgets/dialogparts_p.h"
#include "ui/widgets/dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varno {

HuesDialog::HuesDialog(const Palettes &palettes, ThemeColors &colours, QWidget *parent)
    : QDialog(parent), m_prompt(this), m_model(palettes, colours)
{
    setWindowTitle(QStringLiteral("Base Hue"));

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("pbHeading"));
    m_grays = new PictureLabel(this);
    m_grays->setObjectName(QStringLiteral("pbGrays"));
    m_grays->onChoose = [this](int x, int y) { stripChosen(false, x, y); };
    m_colors = new PictureLabel(this);
    m_colors->setObjectName(QStringLiteral("pbColors"));
    m_colors->onChoose = [this](int x, int y) { stripChosen(true, x, y); };

    auto *save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("btnSave"));
    connect(save, &QPushButton::clicked, this, [this] {
        m_model.save();
        accept();
    });
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_model.cancel();
        reject();
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    auto *choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("Selected:"), this));
    choice->addWidget(m_heading);
    choice->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(new QLabel(QStringLiteral("Hues"), this));
    layout->addWidget(m_colors);
    layout->addWidget(new QLabel(QStringLiteral("Grays"), this));
    layout->addWidget(m_grays);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A base hue out of range (from a hostile theme file) stops here.
    m_loaded = trap(m_prompt, QStringLiteral("frmHues"), QStringLiteral("Sub"),
                    QStringLiteral("Form_Load"), [&] { m_model.load(); });
    showPicture(m_grays, m_model.greyStrip);
    showPicture(m_colors, m_model.hueStrip);
    showPicture(m_heading, m_model.heading);
}

void HuesDialog::stripChosen(bool colours, int x, int y)
{
    trap(m_prompt, QStringLiteral("frmHues"), QStringLiteral("Sub"),
         colours ? QStringLiteral("pbColors_MouseMove") : QStringLiteral("pbGrays_MouseMove"), [&] {
             if (colours)
                 m_model.chooseHue(x, y);
             else
                 m_model.chooseGrey(x, y);
         });
    showPicture(m_heading, m_model.heading);
}

bool showHuesDialog(QWidget *parent, const Palettes &palettes, ThemeColors &colours)
{
    HuesDialog dialog(palettes, colours, parent);
    if (!dialog.loaded())
        return false;
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace varno
