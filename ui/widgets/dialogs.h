// The editor's modal dialogs, each a thin view over its widget-free model.
#pragma once

#include <QString>

class QWidget;

namespace varno {

class Prompt;
class SettingsStore;
struct AppSettings;
struct ColourState;
struct Palettes;
struct ThemeColors;

// Settings dialog, modal. True when the user accepted and the settings were stored.
bool showSettingsDialog(QWidget *parent, Prompt &prompt, AppSettings &settings,
                        SettingsStore &store);
// Internal colours dialog, modal. True when saved (colours changed).
bool showInternalColorsDialog(QWidget *parent, Prompt &prompt, ColourState &colours);
// WM5 base-hue picker, modal. True when saved (BaseHueIndex/BaseHueColor changed).
bool showHuesDialog(QWidget *parent, const Palettes &palettes, ThemeColors &colours);
// Save compression dialog, modal: "HIGH", "MED", "LOW" or "CANCEL".
QString askCompression(QWidget *parent);
// About box, modal.
void showAboutDialog(QWidget *parent);
// The manual in a help window of its own beside the editor, opened at
// `topic` (a page in `folder`); an open one comes to the front there.
QWidget *showHelpWindow(QWidget *parent, const QString &folder, const QString &topic);

}  // namespace varno
