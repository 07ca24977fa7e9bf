// The variant table of the fitting dialogs.
#include "imagefit/fitvariant.h"

#include <array>

namespace varno {

const FitVariant &fitVariantFor(ImageDialogKind kind)
{
    using K = ImageDialogKind;
    // In ImageDialogKind order.
    static const std::array<FitVariant, 4> table{{
        {K::Standard,
         "frmImage",
         "Standard Theme Image(s)",
         {240, 293},
         {240, 293},
         false,
         false,
         false,
         false,
         true},
        {K::SE,
         "frmImageSE",
         "QVGA Theme Image(s)",
         {320, 293},
         {320, 293},
         true,
         true,
         true,
         false,
         false},
        {K::VGA,
         "frmImageVGA",
         "VGA Theme Image(s)",
         {320, 293},
         {640, 588},
         true,
         true,
         true,
         true,
         false},
        // The square dialog has its own layout but the SE dialog's flip code.
        {K::Square,
         "frmImageSE",
         "Square Theme Image(s)",
         {240, 214},
         {240, 214},
         true,
         true,
         false,
         false,
         false},
    }};
    return table[static_cast<size_t>(kind)];
}

QRect guideRect(Guide guide, bool menu)
{
    switch (guide) {
    case Guide::Landscape: return menu ? QRect(0, 0, 200, 214) : QRect(0, 0, 320, 214);
    case Guide::Portrait: return menu ? QRect(0, 0, 200, 293) : QRect(0, 0, 240, 293);
    case Guide::None: break;
    }
    return QRect();
}

}  // namespace varno
