// The About box, the help command and the one-line input box, without
// their widgets.
#pragma once

#include "base/prompt.h"

#include <QString>

#include <functional>

namespace varno {

struct frmAbout {
    // "Version: major.minor.revision" of this build.
    void Form_Load();
    QString Label1 = QStringLiteral("Varno");
    QString Label2;  // the theme site's address
    QString lblVersion;
};

// Shows the help file, or says why it cannot. `showHtmlHelp` opens a help
// file at a topic in the desktop's viewer; what it reports is ignored.
void mnuContent_Click(
    Prompt &prompt, const QString &appFolder,
    const std::function<void(const QString &file, const QString &topic)> &showHtmlHelp);

// The input box: OK hands over the text, Cancel leaves the result alone.
struct frmMessageWithInput {
    void Form_Load() { Cancelled = false; }
    void btnOk_Click() { Result = Text; }
    void btnCancel_Click() { Cancelled = true; }
    QString Text;    // the text box
    QString Result;  // what the caller reads
    bool Cancelled = false;
};

}  // namespace varno
