// Entry point of the image fitting dialog, shared by its four variants.
#pragma once

class QWidget;

namespace varno {

class frmImage;

// Shows the fitting dialog over `model`, modally; Form_Activate runs as it shows.
// True when OK handed the pictures over to the theme document (the caller redraws).
bool ShowImageFitDialog(QWidget *parent, frmImage &model);

}  // namespace varno
