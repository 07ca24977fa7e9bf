// Memory for the small pictures a browser keeps by the hundred. Each kept
// thumbnail would otherwise land on fresh 4 KiB pages, and a page's first
// touch is a fault: 12 faults a thumbnail, which on a virtual machine cost
// a sixth of making it. Here they share 2 MiB blocks the kernel may back
// with one huge page each.
#pragma once

#include <QImage>
#include <QSize>

namespace varno {

// An RGB32 picture of `size`, its pixels not yet set. Released like any
// QImage; a copy that is written to moves to ordinary memory.
QImage newThumbnailImage(QSize size);

}  // namespace varno
