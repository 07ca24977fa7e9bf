// The colour table's defaults, its elements (key, slot, colour-dialog index,
// captions, redraw view), and the reset, undo and overlay procedures over a
// ColourState.
#pragma once

#include "app/themecolors.h"

#include <QString>

#include <array>
#include <span>

namespace varno {

// Name of a slot as the code spells it ("NavBarLeft" ... "DotsColor");
// "" outside 0..21.
const char *slotName(int slot);
// Slot of a name, ignoring letter case; -1 when unknown.
int slotByName(const QString &name);

// Every slot at its default, BaseHueIndex 417 and BaseHueColor
// RGB(54, 83, 178).
const ThemeColors &defaultThemeColors();

// One colour-menu item and the element it edits. Two items ("Message Bar
// Text" and "Dialog Text") edit the same element, so keys repeat.
struct ColourElement {
    const char *key;          // element key used by picking, e.g. "LEFT"
    Slot slotIndex;           // slot of ThemeColors the element edits
    int dialogIndex;          // chooseElementColour's index
    const char *view;         // preview view redrawn after a change
    const char *menu;         // menu object name, e.g. "mnuLeftNavigationBar"
    const char *menuCaption;  // "Left Navigation Bar"
    int listPosition;         // entry of cmbColors, -1 when not listed
    const char *listCaption;  // caption in cmbColors, nullptr when not listed
};

// The 15 colour-menu items in menu order, "Left Navigation Bar" to
// "Dialog Text".
std::span<const ColourElement> colourElements();

// The first item with element key `key`; nullptr for an unknown key.
const ColourElement *elementByKey(const QString &key);

// The item chooseElementColour edits for a dialog index (0..12 and 15); nullptr for
// any other index.
const ColourElement *elementByDialogIndex(int index);

constexpr int ColourListCount = 13;
// The entries of cmbColors, in list order.
std::array<const ColourElement *, ColourListCount> colourListEntries();

// Undo or reset: the snapshot when RestoreFromSnapshot is set (which is
// then cleared), else the defaults. The Start-menu and Today overlay
// colours become white; levels and on-flags are the caller's business.
void restoreColors(ColourState &state);

// The message bars follow the navigation bar by the Headings setting:
// "same" copies left and right, "opposite" crosses them, anything else
// leaves them alone.
void followHeadings(ThemeColors &colours, const QString &headings);

// Copies the 22 slots and the base hue into the one-level undo snapshot.
void saveColorSnapshot(ColourState &state);

// Level 0, colour white, off.
void resetMainTransparency(ColourState &state);
void resetMenuTransparency(ColourState &state);

}  // namespace varno
