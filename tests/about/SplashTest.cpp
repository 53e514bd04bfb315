#include "FormSplash.h"
#include "SiluetaSplash.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {
TEST(SiluetaSplash, FollowsTheHillAndTheBounds) {
    const QPolygon p = SiluetaSplash();
    ASSERT_EQ(p.size(), 275);
    EXPECT_EQ(p.first(), QPoint(1, 57));
    EXPECT_TRUE(p.contains(QPoint(118, 6)));
    EXPECT_TRUE(p.contains(QPoint(510, 67)));
    EXPECT_TRUE(p.contains(QPoint(508, 354)));
    EXPECT_EQ(p.last(), QPoint(0, 57));
    const QRect caja = p.boundingRect();
    EXPECT_EQ(caja, QRect(QPoint(0, 6), QPoint(510, 354)));
    for (const QPoint& v : p) { // only the summit reaches the top
        if (v.y() == 6) {
            EXPECT_EQ(v, QPoint(118, 6));
        }
    }
}

TEST(TFSplash, MaskFollowsTheOutline) {
    TFSplash ventana;
    EXPECT_EQ(ventana.size(), QSize(550, 354));
    EXPECT_TRUE(ventana.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(ventana.windowFlags() & Qt::WindowStaysOnTopHint);
    const QRegion mascara = ventana.mask();
    struct Caso {
        const char* nombre;
        QPoint punto;
        bool dentro;
    };
    const Caso casos[] = {
        {"just below the summit", {118, 10}, true},
        {"sky above the summit", {118, 3}, false},
        {"sky above the left slope", {5, 40}, false},
        {"the white panel", {200, 300}, true},
        {"right of the outline", {530, 300}, false},
        {"sky above the right end", {505, 40}, false},
        {"body under the right end", {505, 100}, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(mascara.contains(c.punto), c.dentro);
    }
}

TEST(TFSplash, ElementsCarryTheirLanguageKeyNames) {
    TFSplash ventana;
    EXPECT_EQ(ventana.objectName(), QStringLiteral("FSplash"));
    for (const char* nombre : {"Image1", "Panel1", "Image2", "Image3", "Label1", "Label2", "Label3",
                               "lblLabelLinkBabel", "Memo1", "Memo2", "Memo3"}) {
        SCOPED_TRACE(nombre);
        EXPECT_NE(ventana.findChild<QWidget*>(QLatin1String(nombre)), nullptr);
    }
    EXPECT_TRUE(ventana.Memo1->toPlainText().startsWith(
        QStringLiteral("Senderal - Aplicación gratuíta\n\n")));
    EXPECT_TRUE(ventana.Memo2->toPlainText().contains(QStringLiteral("Verbario")));
    EXPECT_TRUE(
        ventana.Memo2->toPlainText().endsWith(QStringLiteral("Cálculo de IBPIndex desde:")));
    EXPECT_EQ(ventana.Memo3->toPlainText(), QStringLiteral("Conversión de rutas:"));
    EXPECT_FALSE(ventana.Image1->pixmap().toImage().isNull());
}

TEST(TFSplash, MailLinkHasSubjectAndEmptyBody) {
    const QUrl url = TFSplash::DireccionCorreo();
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    const QUrlQuery q(url);
    EXPECT_EQ(q.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Sobre Senderal... "));
    EXPECT_TRUE(q.hasQueryItem(QStringLiteral("body")));
    EXPECT_TRUE(q.queryItemValue(QStringLiteral("body")).isEmpty());
}

TEST(TFSplash, ClicksOnLinksOpenThemAndClicksElsewhereClose) {
    QList<QUrl> abiertas;
    TFSplash::AbrirDireccion = [&abiertas](const QUrl& u) {
        abiertas << u;
        return true;
    };

    struct Caso {
        const char* nombre;
        std::function<QWidget*(TFSplash&)> objetivo;
        bool cierra;
    };
    const Caso casos[] = {
        {"picture", [](TFSplash& v) { return static_cast<QWidget*>(v.Image1); }, true},
        {"white panel", [](TFSplash& v) { return static_cast<QWidget*>(v.Panel1); }, true},
        {"icon on the panel", [](TFSplash& v) { return static_cast<QWidget*>(v.Image2); }, true},
        {"program text", [](TFSplash& v) { return v.Memo1->viewport(); }, true},
        {"credits", [](TFSplash& v) { return v.Memo2->viewport(); }, true},
        {"mail link", [](TFSplash& v) { return static_cast<QWidget*>(v.Label1); }, false},
        {"GPSBabel link", [](TFSplash& v) { return static_cast<QWidget*>(v.lblLabelLinkBabel); },
         false},
        {"logo", [](TFSplash& v) { return static_cast<QWidget*>(v.Image3); }, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        abiertas.clear();
        QPointer<TFSplash> ventana = new TFSplash;
        ventana->show();
        QWidget* w = c.objetivo(*ventana);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(ventana.isNull(), c.cierra); // closing frees the window
        EXPECT_EQ(abiertas.size(), c.cierra ? 0 : 1);
        delete ventana.data();
    }
    TFSplash::AbrirDireccion = nullptr;
}

TEST(TFSplash, ALinkThatCannotBeOpenedIsNamedInAWarning) {
    QStringList avisos;
    TFSplash::AbrirDireccion = [](const QUrl&) { return false; };
    TFSplash::AvisarFallo = [&avisos](QWidget*, const QString& t) { avisos << t; };
    struct Caso {
        const char* nombre;
        std::function<QWidget*(TFSplash&)> enlace;
    };
    const Caso casos[] = {
        {"mail link", [](TFSplash& v) { return static_cast<QWidget*>(v.Label1); }},
        {"IBPindex link", [](TFSplash& v) { return static_cast<QWidget*>(v.Label3); }},
        {"GPSBabel link", [](TFSplash& v) { return static_cast<QWidget*>(v.lblLabelLinkBabel); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        avisos.clear();
        TFSplash ventana;
        ventana.show();
        QWidget* w = c.enlace(ventana);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_EQ(avisos.size(), 1);
        EXPECT_TRUE(avisos[0].contains(w->property("direccion").toUrl().toString()))
            << avisos[0].toStdString();
    }
    TFSplash::AbrirDireccion = nullptr;
    TFSplash::AvisarFallo = nullptr;
}
} // namespace
