#include "package/cabwriter.h"

#include "base/runtimeerror.h"

#include <QSaveFile>

// GLib names struct members after Qt's keyword macro.
#undef signals
#include <gio/gio.h>
#include <libgcab.h>

namespace varno {

namespace {

template <typename T> struct GPtr {
    T *p = nullptr;
    ~GPtr()
    {
        if (p)
            g_object_unref(p);
    }
};

RuntimeError cabError(GError *error, const QString &what)
{
    const QString text =
        what + (error ? QStringLiteral(": ") + QString::fromUtf8(error->message) : QString());
    if (error)
        g_error_free(error);
    return RuntimeError(Err::DeviceIOError, QStringLiteral("CabWriter"), text);
}

}  // namespace

void writeCabinet(const QString &path, const std::vector<CabMember> &members, bool compress,
                  const QDateTime &stamp)
{
    GError *error = nullptr;
    GPtr<GCabCabinet> cab{gcab_cabinet_new()};
    GPtr<GCabFolder> folder{
        gcab_folder_new(compress ? GCAB_COMPRESSION_MSZIP : GCAB_COMPRESSION_NONE)};
    GDateTime *when =
        g_date_time_new_local(stamp.date().year(), stamp.date().month(), stamp.date().day(),
                              stamp.time().hour(), stamp.time().minute(), stamp.time().second());
    for (const CabMember &m : members) {
        GBytes *bytes = g_bytes_new(m.data.constData(), static_cast<gsize>(m.data.size()));
        const QByteArray name = m.name.toUtf8();
        GPtr<GCabFile> file{gcab_file_new_with_bytes(name.constData(), bytes)};
        g_bytes_unref(bytes);
        gcab_file_set_date_time(file.p, when);
        // Archive attribute, as the device's own tools set it.
        gcab_file_set_attributes(file.p, GCAB_FILE_ATTRIBUTE_ARCH);
        if (!gcab_folder_add_file(folder.p, file.p, FALSE, nullptr, &error)) {
            g_date_time_unref(when);
            throw cabError(error, QStringLiteral("cannot add %1 to the cabinet").arg(m.name));
        }
    }
    g_date_time_unref(when);
    if (!gcab_cabinet_add_folder(cab.p, folder.p, &error))
        throw cabError(error, QStringLiteral("cannot make the cabinet"));

    GPtr<GOutputStream> out{g_memory_output_stream_new_resizable()};
    if (!gcab_cabinet_write_simple(cab.p, out.p, nullptr, nullptr, nullptr, &error))
        throw cabError(error, QStringLiteral("cannot write the cabinet"));
    g_output_stream_close(out.p, nullptr, nullptr);
    const auto *mem = G_MEMORY_OUTPUT_STREAM(out.p);
    const QByteArray bytes(static_cast<const char *>(g_memory_output_stream_get_data(
                               const_cast<GMemoryOutputStream *>(mem))),
                           static_cast<qsizetype>(g_memory_output_stream_get_data_size(
                               const_cast<GMemoryOutputStream *>(mem))));

    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("CabWriter"),
                           QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
}

}  // namespace varno
