// The Color menu, the element list, the picker and the transparency
// controls.
#include "ui/editor.h"

#include "base/messages.h"
#include "base/rounding.h"
#include "base/trap.h"
#include "colour/autocolours.h"
#include "colour/colortable.h"
#include "preview/devicescreen.h"

namespace varno {

namespace {

const QString ErrorModule = QStringLiteral("frmMain");
const QString Sub = QStringLiteral("Sub");

}  // namespace

void Editor::chooseElementColour(int16_t index)
{
    ThemeColors &c = m_session.doc.colours.colors;
    trapLong(m_prompt, QStringLiteral("GetColor"), [&] {
        // The undo point moves even when the dialog is cancelled.
        saveColorSnapshot(m_session.doc.colours);
        const ColourElement *e = elementByDialogIndex(index);
        if (!e)
            return;
        Colour chosen = 0;
        try {
            chosen = static_cast<Colour>(
                m_prompt.chooseColour(static_cast<uint32_t>(c[e->slotIndex]), true));
        } catch (const RuntimeError &err) {
            if (err.isCancel())
                return;
            throw;
        }
        // The tray must never take the key colour; it fills three slots.
        if (e->slotIndex == NavTray) {
            if (chosen == rgb(0, 255, 0))
                chosen = rgb(1, 255, 0);
            c[NavTray] = c[NavTray2] = c[NavTray3] = chosen;
        } else {
            c[e->slotIndex] = chosen;
        }
        drawScreen(QString::fromLatin1(e->view));
    });
}

void Editor::colourMenuItem(int item)
{
    const auto elements = colourElements();
    if (item < 0 || item >= static_cast<int>(elements.size()))
        return;
    const ColourElement &e = elements[static_cast<size_t>(item)];
    trap(m_prompt, ErrorModule, Sub, QLatin1String(e.menu) + QStringLiteral("_Click"), [&] {
        if (m_session.usePicker) {
            m_view.pickerCursor = true;
            pendingElement = QString::fromLatin1(e.key);
            changed();
            emit statusMessage(QStringLiteral("Click the picture to take the color for %1")
                                   .arg(QLatin1String(e.menuCaption)));
        } else {
            chooseElementColour(static_cast<int16_t>(e.dialogIndex));
        }
    });
}

void Editor::applyPickedColour(Colour picked)
{
    pickedColour = picked;
    changed();
    ThemeColors &c = m_session.doc.colours.colors;
    const ColourElement *e = elementByKey(pendingElement);
    if (!e)
        return;
    // A picked tray colour goes into the first tray slot only, as it is.
    c[e->slotIndex] = picked;
    if (e->slotIndex == NavBarLeft || e->slotIndex == NavBarRight)
        followHeadings(c, m_session.settings.headings);
    drawScreen(QString::fromLatin1(e->view));
}

void Editor::setColourListIndex(int index)
{
    m_view.colourListIndex = index >= 0 && index < ColourListCount ? index : -1;
    changed();
}

void Editor::colourListedElement()
{
    if (m_view.colourListIndex < 0)
        return;
    const ColourElement *e = colourListEntries()[static_cast<size_t>(m_view.colourListIndex)];
    chooseElementColour(static_cast<int16_t>(e->dialogIndex));
}

void Editor::resetColours()
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("mnuResetColors_Click"), [&] {
        ColourState &c = m_session.doc.colours;
        c.menu.level = 0;
        c.main.level = 0;
        m_view.overlayLevel = 0;
        restoreColors(c);
        m_view.overlaySwatch = rgb(255, 255, 255);
        changed();
        drawScreen(QStringLiteral("MAIN"));
    });
}

void Editor::undoColours()
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("btnUndoLast_Click"), [&] {
        m_session.doc.colours.restoreFromSnapshot = true;
        restoreColors(m_session.doc.colours);
        m_view.overlaySwatch = rgb(255, 255, 255);
        drawScreen(QStringLiteral("MAIN"));
    });
}

void Editor::swapNavigationColours()
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("mnuSwapNavColors_Click"), [&] {
        ThemeColors &c = m_session.doc.colours.colors;
        std::swap(c[NavBarLeft], c[NavBarRight]);
        drawScreen(QStringLiteral("MAIN"));
    });
}

void Editor::copyNavigationToMessageBars()
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("mnuMessagebarNavbar_Click"), [&] {
        ThemeColors &c = m_session.doc.colours.colors;
        c[MessageBarLeft] = c[NavBarLeft];
        c[MessageBarRight] = c[NavBarRight];
        drawScreen(QStringLiteral("MESSAGE"));
    });
}

void Editor::toggleColourPicker()
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("mnuUseColorPicker_Click"), [&] {
        m_session.usePicker = !m_session.usePicker;
        m_view.useColorPickerChecked = m_session.usePicker;
        changed();
    });
}

void Editor::chooseOverlayColour()
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("btnTransparencyColor_Click"), [&] {
        Colour chosen = 0;
        try {
            chosen = static_cast<Colour>(
                m_prompt.chooseColour(static_cast<uint32_t>(m_view.overlaySwatch), true));
        } catch (const RuntimeError &e) {
            if (e.isCancel())
                return;
            throw;
        }
        m_view.overlaySwatch = chosen;
        changed();
        TransparencyOverlay &o =
            m_view.menuShowing ? m_session.doc.colours.menu : m_session.doc.colours.main;
        o.enabled = true;
        o.color = chosen;
        drawScreen(m_view.menuShowing ? QStringLiteral("MENU") : QStringLiteral("MAIN"));
    });
}

void Editor::setOverlayLevel(double value)
{
    trap(m_prompt, ErrorModule, Sub, QStringLiteral("sliderTransparency_Change"), [&] {
        TransparencyOverlay &o =
            m_view.menuShowing ? m_session.doc.colours.menu : m_session.doc.colours.main;
        o.enabled = true;
        o.color = m_view.overlaySwatch;
        o.level = cint16(value);
        m_view.overlayLevel = o.level;
        changed();
        drawScreen(m_view.menuShowing ? QStringLiteral("MENU") : QStringLiteral("MAIN"));
    });
}

void Editor::chooseBaseHue()
{
    if (!m_session.doc.wm5Theme)
        return;
    if (showHuePicker)
        showHuePicker();
    redrawShownView();
}

void Editor::autoColours()
{
    DeviceScreen *screen = m_screen.device();
    if (!screen)
        return;
    AutoColourScene scene{[&](const QString &view) { drawScreen(view); },
                          [screen]() -> const Raster & { return screen->portraitScreen; },
                          m_session.doc.colours,
                          m_session.doc.wm5Theme,
                          m_session.settings.headings,
                          m_view.menuShowing};
    autoColorAverage(m_prompt, scene);
    changed();
}

}  // namespace varno
