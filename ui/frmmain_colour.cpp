// The Color menu, the element list, the picker and the transparency
// controls.
#include "ui/frmmain.h"

#include "base/messages.h"
#include "base/rounding.h"
#include "base/trap.h"
#include "colour/autocolours.h"
#include "colour/colortable.h"
#include "preview/devicescreen.h"

namespace varno {

namespace {

const QString FrmMain = QStringLiteral("frmMain");
const QString Sub = QStringLiteral("Sub");

}  // namespace

void frmMain::GetColor(int16_t index)
{
    ThemeColors &c = m_m.Doc.Colours.Colors;
    trapLong(m_prompt, QStringLiteral("GetColor"), [&] {
        // 1. The undo point moves even when the dialog is cancelled.
        SaveColorSnapshot(m_m.Doc.Colours);
        // 2.
        const ColourElement *e = elementByDialogIndex(index);
        if (!e)
            return;
        // 3.
        Colour chosen = 0;
        try {
            chosen = static_cast<Colour>(
                m_prompt.ShowColor(static_cast<uint32_t>(c[e->SlotIndex]), true));
        } catch (const RuntimeError &err) {
            if (err.isCancel())
                return;
            throw;
        }
        // 4. The tray must never take the key colour; it fills three slots.
        if (e->SlotIndex == NavTray) {
            if (chosen == RGB(0, 255, 0))
                chosen = RGB(1, 255, 0);
            c[NavTray] = c[NavTray2] = c[NavTray3] = chosen;
        } else {
            c[e->SlotIndex] = chosen;
        }
        DoScreenMain(QString::fromLatin1(e->View));
    });
}

void frmMain::ElementMenu_Click(int item)
{
    const auto elements = ColourElements();
    if (item < 0 || item >= static_cast<int>(elements.size()))
        return;
    const ColourElement &e = elements[static_cast<size_t>(item)];
    trap(m_prompt, FrmMain, Sub, QLatin1String(e.Menu) + QStringLiteral("_Click"), [&] {
        if (m_m.UsePicker) {
            m_view.pickerCursor = true;
            PendingElement = QString::fromLatin1(e.Key);
            changed();
        } else {
            GetColor(static_cast<int16_t>(e.DialogIndex));
        }
    });
}

void frmMain::PickedColorDispatch(Colour picked)
{
    PickedColor = picked;
    changed();
    ThemeColors &c = m_m.Doc.Colours.Colors;
    const ColourElement *e = elementByKey(PendingElement);
    if (!e)
        return;
    // A picked tray colour goes into the first tray slot only, as it is.
    c[e->SlotIndex] = picked;
    if (e->SlotIndex == NavBarLeft || e->SlotIndex == NavBarRight)
        FollowHeadings(c, m_m.Settings.Headings);
    DoScreenMain(QString::fromLatin1(e->View));
}

void frmMain::setColourListIndex(int index)
{
    m_view.colourListIndex = index >= 0 && index < ColourListCount ? index : -1;
    changed();
}

void frmMain::btnGetColor_Click()
{
    if (m_view.colourListIndex < 0)
        return;
    const ColourElement *e = ColourListEntries()[static_cast<size_t>(m_view.colourListIndex)];
    GetColor(static_cast<int16_t>(e->DialogIndex));
}

void frmMain::mnuResetColors_Click()
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("mnuResetColors_Click"), [&] {
        ColourState &c = m_m.Doc.Colours;
        c.Menu.Level = 0;
        c.Main.Level = 0;
        m_view.sliderTransparency = 0;
        RestoreColors(c);
        m_view.transparencySwatch = RGB(255, 255, 255);
        changed();
        DoScreenMain(QStringLiteral("MAIN"));
    });
}

void frmMain::btnUndoLast_Click()
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("btnUndoLast_Click"), [&] {
        m_m.Doc.Colours.RestoreFromSnapshot = true;
        RestoreColors(m_m.Doc.Colours);
        m_view.transparencySwatch = RGB(255, 255, 255);
        DoScreenMain(QStringLiteral("MAIN"));
    });
}

void frmMain::mnuSwapNavColors_Click()
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("mnuSwapNavColors_Click"), [&] {
        ThemeColors &c = m_m.Doc.Colours.Colors;
        std::swap(c[NavBarLeft], c[NavBarRight]);
        DoScreenMain(QStringLiteral("MAIN"));
    });
}

void frmMain::mnuMessagebarNavbar_Click()
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("mnuMessagebarNavbar_Click"), [&] {
        ThemeColors &c = m_m.Doc.Colours.Colors;
        c[MessageBarLeft] = c[NavBarLeft];
        c[MessageBarRight] = c[NavBarRight];
        DoScreenMain(QStringLiteral("MESSAGE"));
    });
}

void frmMain::mnuUseColorPicker_Click()
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("mnuUseColorPicker_Click"), [&] {
        m_m.UsePicker = !m_m.UsePicker;
        m_view.useColorPickerChecked = m_m.UsePicker;
        changed();
    });
}

void frmMain::btnTransparencyColor_Click()
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("btnTransparencyColor_Click"), [&] {
        Colour chosen = 0;
        try {
            chosen = static_cast<Colour>(
                m_prompt.ShowColor(static_cast<uint32_t>(m_view.transparencySwatch), true));
        } catch (const RuntimeError &e) {
            if (e.isCancel())
                return;
            throw;
        }
        m_view.transparencySwatch = chosen;
        changed();
        TransparencyOverlay &o = m_view.menuShowing ? m_m.Doc.Colours.Menu : m_m.Doc.Colours.Main;
        o.On = true;
        o.Color = chosen;
        DoScreenMain(m_view.menuShowing ? QStringLiteral("MENU") : QStringLiteral("MAIN"));
    });
}

void frmMain::sliderTransparency_Change(double value)
{
    trap(m_prompt, FrmMain, Sub, QStringLiteral("sliderTransparency_Change"), [&] {
        TransparencyOverlay &o = m_view.menuShowing ? m_m.Doc.Colours.Menu : m_m.Doc.Colours.Main;
        o.On = true;
        o.Color = m_view.transparencySwatch;
        o.Level = cint16(value);
        m_view.sliderTransparency = o.Level;
        changed();
        DoScreenMain(m_view.menuShowing ? QStringLiteral("MENU") : QStringLiteral("MAIN"));
    });
}

void frmMain::mnuAutoColors_Click()
{
    DeviceScreen *screen = m_screen.device();
    if (!screen)
        return;
    AutoColourScene scene{[&](const QString &view) { DoScreenMain(view); },
                          [screen]() -> const Raster & { return screen->LEADTheme; },
                          m_m.Doc.Colours,
                          m_m.Doc.Wm5Theme,
                          m_m.Settings.Headings,
                          m_view.menuShowing};
    AutoColorAverage(m_prompt, scene);
    changed();
}

}  // namespace varno
