// Entry point of the image fitting dialog, shared by its four variants.
#pragma once

class QWidget;

namespace varno {

class ImageFitModel;

// Shows the fitting dialog over `model`, modally; activate runs as it shows.
// True when OK handed the pictures over to the theme document (the caller redraws).
bool showImageFitDialog(QWidget *parent, ImageFitModel &model);

}  // namespace varno
