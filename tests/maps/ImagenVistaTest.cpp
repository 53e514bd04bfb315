#include "ImagenVista.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(GrabarImagenPorExtension, TheLowerCasedExtensionPicksTheFormat) {
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(Qt::red);
    struct Case {
        const char* name;
        const char* file;
        const char* magic; // nullptr: nothing may be written
    } cases[] = {
        {"jpg in capitals writes JPEG", "a.JPG", "\xFF\xD8\xFF"},
        {"bmp", "b.bmp", "BM"},
        {"png", "c.Png", "\x89PNG"},
        {"jpeg is not one of the three", "d.jpeg", nullptr},
        {"no extension", "e", nullptr},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.file);
        EXPECT_EQ(GrabarImagenPorExtension(image, path), c.magic != nullptr);
        QFile f(path);
        if (!c.magic) {
            EXPECT_FALSE(f.exists());
            continue;
        }
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith(c.magic));
        EXPECT_EQ(QImage(path).size(), image.size());
    }
    EXPECT_FALSE(GrabarImagenPorExtension(QImage(), dir.filePath("null.png")));
}
