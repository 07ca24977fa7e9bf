// Shared pieces of the fuzz targets: Qt start-up, and a replay main() so
// every target also runs as a plain program over its corpus under ctest.
#pragma once

#include "base/prompt.h"
#include "base/runtimeerror.h"

#include <cstddef>
#include <cstdint>

namespace varno::fuzz {

// Starts the Qt pieces the targets need (picture plugins), once.
void startQt();

}  // namespace varno::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
