#include "package/infwriter.h"

#include "base/codepage.h"
#include "base/messages.h"

#include <QFile>

#include <array>

namespace varno {

const char *colourValueField(int slot)
{
    static constexpr std::array<const char *, SlotCount> fields = {
        " 5", " 8", " 9", " 4", " 6", " 7", "10", "11", "12", "13", "14",
        "15", "16", "25", "26", "27", "28", "36", "37", "38", "39", "40"};
    return slot >= 0 && slot < SlotCount ? fields[static_cast<size_t>(slot)] : "";
}

QByteArray toAnsi(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(toCp1252(QString(c)).value_or("?"));
    return out;
}

QByteArray buildInfText(const QByteArray &templateInf, const QString &themeType, bool wm5,
                        const ThemeColors &colors, const QString &appName)
{
    // Upper-case hexadecimal without leading zeros: 0 is "0", 255 is "FF".
    const auto hex = [](int v) { return QByteArray::number(v, 16).toUpper(); };
    QByteArray out = templateInf;
    if (themeType == QLatin1String("VGA"))
        out += "HKCU,%reg_dpi%,DPI,0x00010001,192\r\n";
    for (int slot = 0; slot < SlotCount; ++slot) {
        const uint32_t c = static_cast<uint32_t>(colors[slot]);
        out += QByteArray("HKLM,%reg_path%,") + colourValueField(slot) + ",0x00000001," +
               hex(c & 0xFF) + ',' + hex((c >> 8) & 0xFF) + ',' + hex((c >> 16) & 0xFF) + ",00\r\n";
    }
    if (wm5)
        out += "HKLM,%reg_path%,BaseHue,0x00010001," +
               QByteArray::number(static_cast<uint32_t>(colors.baseHueIndex)) + "\r\n";
    out += "\r\n[CEStrings]\r\nAppName=" + toAnsi(appName.trimmed()) + "\r\nInstallDir=%CE2%\r\n";
    return out;
}

void saveInfFile(Prompt &prompt, const QString &folder, const QByteArray &templateInf,
                 const QString &themeType, bool wm5, const ThemeColors &colors, QString &appName)
{
    appName = appName.trimmed();
    // A scratch file for the wizard: no need to sync it.
    QFile f(folder + QStringLiteral("/vl.inf"));
    const QByteArray text = buildInfText(templateInf, themeType, wm5, colors, appName);
    if (f.open(QIODevice::WriteOnly) && f.write(text) == text.size())
        return;
    const RuntimeError e = runtimeError(
        QFile::exists(folder) ? Err::PathFileAccess : Err::PathNotFound, QStringLiteral("Varno"));
    prompt.messageBox(QStringLiteral("Error in SaveIniFile! ") + e.description + QLatin1Char(' ') +
                          QString::number(e.number),
                      MsgIcon::Critical, stringResource(Str::Error));
}

}  // namespace varno
