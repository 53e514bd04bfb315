#include "ImagenVista.h"

#include <QFileInfo>

bool GrabarImagenPorExtension(const QImage& image, const QString& fileName) {
    if (image.isNull())
        return false;
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("jpg"))
        return image.convertToFormat(QImage::Format_RGB32).save(fileName, "JPEG", 90);
    if (ext == QLatin1String("bmp"))
        return image.convertToFormat(QImage::Format_RGB32).save(fileName, "BMP");
    if (ext == QLatin1String("png"))
        return image.save(fileName, "PNG");
    return false;
}
