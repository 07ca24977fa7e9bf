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

// The manual's folder: beside the installed program (share/doc/varno/manual)
// or, for a program run from its build, in the source tree; "" when neither
// holds it.
QString manualFolder();

// Shows the manual at its welcome page, or says why it cannot.
// `showHtmlHelp` opens the manual's folder at a topic page.
void showHelpContents(
    Prompt &prompt, const QString &manual,
    const std::function<void(const QString &folder, const QString &topic)> &showHtmlHelp);

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
