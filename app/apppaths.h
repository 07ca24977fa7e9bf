// Where Varno keeps its settings file and its folders. The editor uses the
// user's configuration and data folders (or VARNO_HOME for both); a headless
// command gets a private scratch folder so parallel runs never meet.
#pragma once

#include <QString>
#include <QStringList>

namespace varno {

struct AppPaths {
    QString appFolder;     // the application folder, without a trailing separator
    QString settingsFile;  // the settings store
    QString tmpFolder;     // scratch folder for packing and unpacking
    // Where the user's own themes, pictures and captures go by default: a
    // visible folder in their documents ("Varno Themes"); "" keeps them in
    // the application folder (VARNO_HOME and commands).
    QString documentsFolder;

    // Paths of the editor: VARNO_HOME when set, else the standard locations.
    static AppPaths forEditor();
    // Paths of a headless command: everything inside its private `scratch`.
    static AppPaths forCommand(const QString &scratch);

    // appFolder + "/" + name, e.g. folder("tsk").
    QString folder(const QString &name) const;
    // The default of a remembered folder ("tsk", "images", "capture"), with
    // a trailing "/": in documentsFolder when there is one, else folder(name).
    QString defaultFolder(const QString &name) const;
    // The single-instance lock and the socket a second start hands its file
    // over by: in the user's runtime folder (else the temporary folder), so
    // they can be made even when the settings folder cannot, and named after
    // the settings file, so editors with different homes never meet.
    QString lockFile() const;
    QString handOverSocket() const;
};

// The working folders, in the order they are created at load.
const QStringList &workingFolderNames();

// Folder part of a path: up to and including its last separator ("" if none).
QString folderPart(const QString &path);

}  // namespace varno
