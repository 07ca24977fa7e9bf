// Clicks on the previews: the Start flag, the message box toggles, and the
// screen elements a click selects for colouring or for an armed pick.
#include "ui/frmmain.h"

#include "base/trap.h"
#include "colour/colortable.h"

#include <algorithm>

namespace varno {

// Columns (inclusive) that differ between the portrait and landscape title
// bars and message boxes; rows are shared. Borders between zones (column 28
// and the like) belong to no zone on purpose.
struct frmMain::Zones {
    const char *procedure;
    bool landscape;
    int leftFirst, leftLast;            // element 0
    int rightFirst, rightLast;          // element 1
    int rightEdge;                      // element 1, to the screen's edge
    int titleTextFirst, titleTextLast;  // element 2, right of the clock
    int messageFirst, messageLast;      // message view toggle
    int impFirst, impLast;              // important message view toggle
    int messageBoxFirst, messageBoxLast, messageBoxSplit;
    int impBoxFirst, impBoxLast, impBoxSplit;
};

namespace {

constexpr int TitleBarLast = 25;  // title bar rows 0..25

bool within(int v, int first, int last)
{
    return v >= first && v <= last;
}

// Single rows just above or on the Today lines.
bool onTodayLine(int y)
{
    static constexpr int rows[] = {46, 47, 48, 78, 79, 80, 135, 136, 137, 154, 155, 156};
    return std::find(std::begin(rows), std::end(rows), y) != std::end(rows);
}

bool onTodayText(int x, int y, bool navigationShowing)
{
    if (x < 31)
        return false;
    return (within(y, 31, 39) && !navigationShowing) || (within(y, 51, 69) && x < 130) ||
           (within(y, 81, 129) && x < 190) || (within(y, 141, 149) && x < 210) ||
           (within(y, 161, 189) && x < 120);
}

}  // namespace

void frmMain::LEADTheme_MouseUp(int x, int y)
{
    static constexpr Zones portrait{"PicBufMouseUP",
                                    false,
                                    57,
                                    119,
                                    121,
                                    139,
                                    214,
                                    187,
                                    213,
                                    161,
                                    186,
                                    141,
                                    159,
                                    115,
                                    184,
                                    150,
                                    11,
                                    227,
                                    109};
    previewMouseUp(portrait, x, y);
}

void frmMain::LEADLandscape_MouseUp(int x, int y)
{
    static constexpr Zones landscape{"LEADLandscapeMouseUP",
                                     true,
                                     57,
                                     159,
                                     161,
                                     215,
                                     296,
                                     271,
                                     294,
                                     243,
                                     260,
                                     217,
                                     234,
                                     195,
                                     274,
                                     230,
                                     91,
                                     305,
                                     189};
    previewMouseUp(landscape, x, y);
}

void frmMain::previewMouseUp(const Zones &z, int x, int y)
{
    trapLong(m_prompt, QLatin1String(z.procedure), [&] {
        bool &cursor = z.landscape ? m_view.pickerCursorLandscape : m_view.pickerCursor;
        if (cursor) {
            cursor = false;
            PickedColorDispatch(m_screen.pixel(z.landscape, x, y));
            return;
        }
        const auto clearViewFlags = [&] {
            m_view.messageShowing = m_view.messageImpShowing = m_view.navigationShowing = false;
            changed();
        };
        const bool titleBar = within(y, 0, TitleBarLast);
        // Start flag.
        if (titleBar && within(x, 0, 27)) {
            if (m_view.menuShowing) {
                clearViewFlags();
                DoScreenMain(QStringLiteral("MAIN"));
            } else {
                DoScreenMain(QStringLiteral("MENU"));
            }
            clearViewFlags();
        }
        // The landscape screen and the square one are 240 rows high.
        const bool shortScreen = z.landscape || m_m.Doc.ThemeType == QLatin1String("SQ240");
        if (shortScreen ? y > 215 : y > 293)
            selectElement(5, z.landscape);
        if (titleBar) {
            if (within(x, 29, 55))
                selectElement(2, z.landscape);
            if (within(x, z.leftFirst, z.leftLast))
                selectElement(0, z.landscape);
            if (within(x, z.rightFirst, z.rightLast) || x >= z.rightEdge)
                selectElement(1, z.landscape);
            if (within(x, z.titleTextFirst, z.titleTextLast))
                selectElement(2, z.landscape);
            if (within(x, z.messageFirst, z.messageLast))
                DoScreenMain(m_view.messageShowing ? QStringLiteral("MAIN")
                                                   : QStringLiteral("MESSAGE"));
            if (within(x, z.impFirst, z.impLast))
                DoScreenMain(m_view.messageImpShowing ? QStringLiteral("MAIN")
                                                      : QStringLiteral("MESSAGEIMP"));
        }
        if (m_view.messageShowing && within(x, z.messageBoxFirst, z.messageBoxLast) &&
            within(y, 39, 81))
            selectElement(x >= z.messageBoxSplit ? 8 : 7, z.landscape);
        if (m_view.messageImpShowing && within(x, z.impBoxFirst, z.impBoxLast) && within(y, 41, 59))
            selectElement(x >= z.impBoxSplit ? 10 : 9, z.landscape);
        // The Today screen's own elements answer only when nothing covers it.
        if (m_view.menuShowing || m_view.messageShowing || m_view.messageImpShowing)
            return;
        if (m_view.navigationShowing && (m_m.UsePicker || within(y, 27, 49)))
            selectElement(6, z.landscape);
        if (onTodayLine(y))
            selectElement(4, z.landscape);
        if (onTodayText(x, y, m_view.navigationShowing))
            selectElement(3, z.landscape);
    });
}

void frmMain::selectElement(int element, bool landscape)
{
    const bool bar = element == 0 || element == 1 || element == 2 || element == 5;
    if (m_m.Doc.Wm5Theme && bar) {
        if (ShowHues)
            ShowHues();
        DoScreenMain(QStringLiteral("MAIN"));
        return;
    }
    const ColourElement *e = ColourListEntries()[static_cast<size_t>(element)];
    if (m_m.UsePicker) {
        bool &cursor = landscape ? m_view.pickerCursorLandscape : m_view.pickerCursor;
        if (!cursor) {
            cursor = true;
            PendingElement = QString::fromLatin1(e->Key);
            changed();
        }
    } else {
        m_view.colourListIndex = element;
        changed();
        GetColor(static_cast<int16_t>(e->DialogIndex));
        if (element == 0 || element == 1)
            FollowHeadings(m_m.Doc.Colours.Colors, m_m.Settings.Headings);
    }
    if (bar) {
        m_view.messageShowing = m_view.messageImpShowing = m_view.navigationShowing = false;
        changed();
    }
}

}  // namespace varno
