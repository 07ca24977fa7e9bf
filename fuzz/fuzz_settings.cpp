// Any bytes as a settings file: the reader keeps what reads, and what it
// writes back reads again to the same values with nothing dropped.
#include "fuzz/fuzzsupport.h"

#include "app/settingstree.h"

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const SettingsTree::Parsed first = SettingsTree::parse(bytes);
    const QByteArray written = first.tree.serialize();
    const SettingsTree::Parsed again = SettingsTree::parse(written);
    if (!again.dropped.isEmpty() || again.tree.serialize() != written)
        __builtin_trap();
    return 0;
}
