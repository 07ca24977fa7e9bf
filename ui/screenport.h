// How the main window's model asks for the preview to be drawn. The preview
// renderer implements it; until a renderer is attached the requests are
// only recorded, which is also what tests observe.
#pragma once

#include <QString>
#include <QStringList>

namespace varno {

class ScreenPort {
public:
    virtual ~ScreenPort() = default;
    // Draw the default screen of the current profile (new theme, start-up).
    virtual void LoadDefault() = 0;
    // Redraw both previews with one of "MAIN", "MENU", "MESSAGE",
    // "MESSAGEIMP", "NAVIGATION".
    virtual void DoScreenMain(const QString &view) = 0;
};

class RecordingScreen : public ScreenPort {
public:
    void LoadDefault() override { requests << QStringLiteral("LoadDefault"); }
    void DoScreenMain(const QString &view) override
    {
        requests << QStringLiteral("DoScreenMain ") + view;
    }
    QStringList requests;
};

}  // namespace varno
