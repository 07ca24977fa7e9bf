// Clicks on the previews: the Start flag, the message box toggles, and the
// screen elements a click selects for colouring or for an armed pick.
#include "ui/editor.h"

#include "base/trap.h"
#include "colour/colortable.h"

#include <algorithm>

namespace varno {

// Columns (inclusive) that differ between the portrait and landscape title
// bars and message boxes; rows are shared. Borders between zones (column 28
// and the like) belong to no zone on purpose.
struct Editor::Zones {
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

// clang-format off
const Editor::Zones Editor::PortraitZones{.procedure = "PicBufMouseUP",
                                             .landscape = false,
                                             .leftFirst = 57, .leftLast = 119,
                                             .rightFirst = 121, .rightLast = 139,
                                             .rightEdge = 214,
                                             .titleTextFirst = 187, .titleTextLast = 213,
                                             .messageFirst = 161, .messageLast = 186,
                                             .impFirst = 141, .impLast = 159,
                                             .messageBoxFirst = 115, .messageBoxLast = 184,
                                             .messageBoxSplit = 150,
                                             .impBoxFirst = 11, .impBoxLast = 227,
                                             .impBoxSplit = 109};

const Editor::Zones Editor::LandscapeZones{.procedure = "LEADLandscapeMouseUP",
                                              .landscape = true,
                                              .leftFirst = 57, .leftLast = 159,
                                              .rightFirst = 161, .rightLast = 215,
                                              .rightEdge = 296,
                                              .titleTextFirst = 271, .titleTextLast = 294,
                                              .messageFirst = 243, .messageLast = 260,
                                              .impFirst = 217, .impLast = 234,
                                              .messageBoxFirst = 195, .messageBoxLast = 274,
                                              .messageBoxSplit = 230,
                                              .impBoxFirst = 91, .impBoxLast = 305,
                                              .impBoxSplit = 189};
// clang-format on

void Editor::releaseOnPortrait(int x, int y)
{
    releaseOnPreview(PortraitZones, x, y);
}

void Editor::releaseOnLandscape(int x, int y)
{
    releaseOnPreview(LandscapeZones, x, y);
}

// What a release at a point does, in the order the zones are tested.
// Several zones can act on one release, and each action may change the views
// the later tests look at, so the walk reads the window's state as it goes.
class Editor::ZoneVisitor {
public:
    virtual ~ZoneVisitor() = default;
    virtual void startFlag() = 0;
    virtual void toggleMessage(bool important) = 0;
    virtual void select(int element) = 0;
};

void Editor::walkZones(const Zones &z, int x, int y, ZoneVisitor &visit) const
{
    const bool titleBar = within(y, 0, TitleBarLast);
    if (titleBar && within(x, 0, 27))
        visit.startFlag();
    // The landscape screen and the square one are 240 rows high.
    const bool shortScreen = z.landscape || m_session.doc.themeType == QLatin1String("SQ240");
    if (shortScreen ? y > 215 : y > 293)
        visit.select(5);
    if (titleBar) {
        if (within(x, 29, 55))
            visit.select(2);
        if (within(x, z.leftFirst, z.leftLast))
            visit.select(0);
        if (within(x, z.rightFirst, z.rightLast) || x >= z.rightEdge)
            visit.select(1);
        if (within(x, z.titleTextFirst, z.titleTextLast))
            visit.select(2);
        if (within(x, z.messageFirst, z.messageLast))
            visit.toggleMessage(false);
        if (within(x, z.impFirst, z.impLast))
            visit.toggleMessage(true);
    }
    if (m_view.messageShowing && within(x, z.messageBoxFirst, z.messageBoxLast) &&
        within(y, 39, 81))
        visit.select(x >= z.messageBoxSplit ? 8 : 7);
    if (m_view.messageImpShowing && within(x, z.impBoxFirst, z.impBoxLast) && within(y, 41, 59))
        visit.select(x >= z.impBoxSplit ? 10 : 9);
    // The Today screen's own elements answer only when nothing covers it.
    if (m_view.menuShowing || m_view.messageShowing || m_view.messageImpShowing)
        return;
    if (m_view.navigationShowing && (m_session.usePicker || within(y, 27, 49)))
        visit.select(6);
    if (onTodayLine(y))
        visit.select(4);
    if (onTodayText(x, y, m_view.navigationShowing))
        visit.select(3);
}

void Editor::releaseOnPreview(const Zones &z, int x, int y)
{
    trapLong(m_prompt, QLatin1String(z.procedure), [&] {
        bool &cursor = z.landscape ? m_view.pickerCursorLandscape : m_view.pickerCursor;
        if (cursor) {
            cursor = false;
            applyPickedColour(m_screen.pixel(z.landscape, x, y));
            return;
        }
        struct Act : ZoneVisitor {
            Editor &w;
            bool landscape;
            Act(Editor &window, bool l) : w(window), landscape(l) {}
            void clearViewFlags()
            {
                w.m_view.messageShowing = w.m_view.messageImpShowing = false;
                w.m_view.navigationShowing = false;
                w.changed();
            }
            void startFlag() override
            {
                if (w.m_view.menuShowing) {
                    clearViewFlags();
                    w.drawScreen(QStringLiteral("MAIN"));
                } else {
                    w.drawScreen(QStringLiteral("MENU"));
                }
                clearViewFlags();
            }
            void toggleMessage(bool important) override
            {
                const bool shown = important ? w.m_view.messageImpShowing : w.m_view.messageShowing;
                w.drawScreen(shown       ? QStringLiteral("MAIN")
                             : important ? QStringLiteral("MESSAGEIMP")
                                         : QStringLiteral("MESSAGE"));
            }
            void select(int element) override { w.selectElement(element, landscape); }
        } act(*this, z.landscape);
        walkZones(z, x, y, act);
    });
}

QString Editor::elementAt(bool landscape, int x, int y) const
{
    struct Name : ZoneVisitor {
        QString text;
        void name(const QString &t)
        {
            if (text.isEmpty())
                text = t;
        }
        void startFlag() override { name(QStringLiteral("Start Menu")); }
        void toggleMessage(bool important) override
        {
            name(important ? QStringLiteral("Important Message") : QStringLiteral("Message"));
        }
        void select(int element) override
        {
            name(QLatin1String(colourListEntries()[static_cast<size_t>(element)]->listCaption));
        }
    } visit;
    walkZones(landscape ? LandscapeZones : PortraitZones, x, y, visit);
    return visit.text;
}

void Editor::selectElement(int element, bool landscape)
{
    const bool bar = element == 0 || element == 1 || element == 2 || element == 5;
    if (m_session.doc.wm5Theme && bar) {
        if (showHuePicker)
            showHuePicker();
        drawScreen(QStringLiteral("MAIN"));
        return;
    }
    const ColourElement *e = colourListEntries()[static_cast<size_t>(element)];
    if (m_session.usePicker) {
        bool &cursor = landscape ? m_view.pickerCursorLandscape : m_view.pickerCursor;
        if (!cursor) {
            cursor = true;
            pendingElement = QString::fromLatin1(e->key);
            changed();
            emit statusMessage(QStringLiteral("Click the picture to take the color for %1")
                                   .arg(QLatin1String(e->menuCaption)));
        }
    } else {
        m_view.colourListIndex = element;
        changed();
        chooseElementColour(static_cast<int16_t>(e->dialogIndex));
        if (element == 0 || element == 1)
            followHeadings(m_session.doc.colours.colors, m_session.settings.headings);
    }
    if (bar) {
        m_view.messageShowing = m_view.messageImpShowing = m_view.navigationShowing = false;
        changed();
    }
}

}  // namespace varno
