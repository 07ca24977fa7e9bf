// The About box, the help command and the one-line input box, without
// their widgets.
#pragma once

#include "base/prompt.h"

#include <QString>

#include <functional>

namespace varno {

struct AboutBox {
    // "Version: major.minor.revision" of this build.
    void load();
    QString programName = QStringLiteral("Varno");
    QString siteAddress;  // the theme site's address
    QString versionText;
};

// Shows the help file, or says why it cannot. `showHtmlHelp` opens a help
// file at a topic in the desktop's viewer; what it reports is ignored.
void showHelpContents(
    Prompt &prompt, const QString &appFolder,
    const std::function<void(const QString &file, const QString &topic)> &showHtmlHelp);

// The input box: OK hands over the text, Cancel leaves the result alone.
struct InputBoxModel {
    void load() { cancelled = false; }
    void accept() { result = text; }
    void cancel() { cancelled = true; }
    QString text;    // the text box
    QString result;  // what the caller reads
    bool cancelled = false;
};

}  // namespace varno
