// The four fitting dialogs as data: one design, differing only in sizes and
// in which controls they carry.
#pragma once

#include "app/profiles.h"

#include <QRect>
#include <QSize>

namespace varno {

struct FitVariant {
    ImageDialogKind kind;
    const char *errorForm;  // "frmImageSE": the form named in the flip commands' error boxes
    const char *caption;    // window caption
    QSize canvas;           // what the dialog shows and fits to
    QSize handOver;         // what OK writes into the document
    bool flips;             // "Flip Image(s)" frame with its target pair
    bool justifies;         // the three justification buttons
    bool guides;            // "Landscape" / "Portrait" under "Area Used"
    // VGA: shows half scale and fits again from the full-size sources on OK.
    bool fullScaleHandOver;
    // Standard: "Fit to X" keeps the height it comes to, from the top of
    // the screen, with the background colour below a short picture.
    bool placesOnHandOver;
};

const FitVariant &fitVariantFor(ImageDialogKind kind);

enum class Guide { None, Landscape, Portrait };

// Outline of a guide on the main and on the menu canvas, from the top-left
// corner; empty for Guide::None.
QRect guideRect(Guide guide, bool menu);

}  // namespace varno
