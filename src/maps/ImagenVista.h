#pragma once

#include <QImage>
#include <QString>

// Saves a view's picture in the format its file name's extension picks, compared in
// lower case: ".bmp", ".jpg" or ".png". Any other extension writes nothing.
// Returns whether a file was written.
bool GrabarImagenPorExtension(const QImage& image, const QString& fileName);
