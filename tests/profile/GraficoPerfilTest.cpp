#include "GraficoPerfil.h"
#include "SenderalError.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QFile>
#include <QLineSeries>
#include <QPrinter>
#include <QTemporaryDir>
#include <QValueAxis>
#include <cmath>
#include <gtest/gtest.h>

namespace {
TDatosPerfil datos(std::vector<double> alt, double max, std::vector<TEtiquetaPerfil> labels) {
    TDatosPerfil d;
    d.altitudes = std::move(alt);
    d.maximoEje = max;
    d.etiquetas = std::move(labels);
    return d;
}

QList<QPointF> puntos(std::initializer_list<double> ys) {
    QList<QPointF> out;
    for (double y : ys)
        out.append(QPointF(out.size(), y));
    return out;
}

// The visible label texts (repeats carry invisible marks to keep them apart).
QStringList textos(QCategoryAxis* axis) {
    QStringList out;
    for (QString l : axis->categoriesLabels())
        out << l.remove(QChar(0x200B));
    return out;
}
} // namespace

TEST(GraficoPerfil, FillsBothSeriesTheAxisAndTheLabels) {
    TGraficoPerfil chart;
    chart.Pintar(datos({100, 250, 200}, 300, {{0, "0"}, {1, "0,75"}, {2, "1,5"}}));
    EXPECT_EQ(chart.SerieSuperiorArea()->points(), puntos({100, 250, 200}));
    EXPECT_EQ(chart.Series1()->points(), puntos({100, 250, 200}));
    EXPECT_EQ(chart.EjeY()->min(), 0);
    EXPECT_EQ(chart.EjeY()->max(), 300);
    EXPECT_EQ(textos(chart.EjeX()), QStringList({"0", "0,75", "1,5"}));
    EXPECT_EQ(chart.EjeX()->endValue("1,5"), 2);
    EXPECT_EQ(chart.EjeX()->endValue("0,75"), 1);
    EXPECT_EQ(chart.EjeX()->max(), 2);
    EXPECT_EQ(chart.chart()->title(), "PERFIL DEL TRACK");
    EXPECT_EQ(chart.EjeX()->titleText(), "Kilómetros");
    EXPECT_EQ(chart.EjeY()->titleText(), "Altitud");
    EXPECT_FALSE(chart.chart()->legend()->isVisible());
}

TEST(GraficoPerfil, ASecondTrackReplacesEverything) {
    TGraficoPerfil chart;
    chart.Pintar(datos({100, 250, 200}, 300, {{0, "0"}, {1, "0,75"}, {2, "1,5"}}));
    chart.Pintar(datos({5, 5}, 6, {{0, "0"}, {1, "0"}}));
    EXPECT_EQ(chart.Series1()->points(), puntos({5, 5}));
    EXPECT_EQ(chart.EjeY()->max(), 6);
    EXPECT_EQ(textos(chart.EjeX()), QStringList({"0", "0"})) << "equal texts keep both labels";
    chart.Vaciar();
    EXPECT_EQ(chart.Series1()->count(), 0);
    EXPECT_EQ(chart.SerieSuperiorArea()->count(), 0);
    EXPECT_TRUE(chart.EjeX()->categoriesLabels().isEmpty());
}

TEST(GraficoPerfil, AnErrorKeepsTheValuesBeforeItAndLeavesTheAxes) {
    TGraficoPerfil chart;
    chart.Pintar(datos({1, 2}, 2.4, {{0, "0"}, {1, "1"}}));
    TDatosPerfil broken = datos({100, 110}, 0, {});
    broken.error = "'abc' no es un valor numérico válido";
    EXPECT_THROW(chart.Pintar(broken), ESenderalError);
    EXPECT_EQ(chart.Series1()->points(), puntos({100, 110}));
    EXPECT_EQ(chart.SerieSuperiorArea()->points(), puntos({100, 110}));
    EXPECT_EQ(chart.EjeY()->max(), 2.4) << "axis not set again after the error";
}

TEST(GraficoPerfil, TheFillCanBeHiddenButTheLineStays) {
    TGraficoPerfil chart;
    chart.Pintar(datos({100, 250, 200}, 300, {}));
    chart.VerRelleno(false);
    EXPECT_FALSE(chart.arsrsSeries1()->isVisible());
    EXPECT_TRUE(chart.Series1()->isVisible());
    chart.VerRelleno(true);
    EXPECT_TRUE(chart.arsrsSeries1()->isVisible());
    EXPECT_EQ(chart.SerieSuperiorArea()->points(), puntos({100, 250, 200}));
}

TEST(GraficoPerfil, PrintAreaIsThePageLessItsMargins) {
    EXPECT_EQ(TGraficoPerfil::RectanguloImpresion(QRect(0, 0, 1000, 2000)),
              QRect(150, 380, 700, 1240));
}

TEST(GraficoPerfil, PrintsAndDrawsEvenOddTracks) {
    struct Case {
        const char* name;
        TDatosPerfil d;
    } cases[] = {
        {"usual track", datos({100, 250, 200}, 300, {{0, "0"}, {1, "0.75"}, {2, "1.5"}})},
        {"one point", datos({500}, 600, {{0, "0"}})},
        {"all negative", datos({-10, -3}, 0, {{0, "0"}, {1, "0.1"}})},
        {"no points", datos({}, 0, {})},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGraficoPerfil chart;
        chart.resize(600, 400);
        chart.Pintar(c.d);
        EXPECT_EQ(chart.Imagen().size(), QSize(600, 400));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("perfil.pdf"));
        chart.Imprimir(printer);
        QFile pdf(dir.filePath("perfil.pdf"));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    }
}

TEST(GraficoPerfil, TheAreaIsFilledWithTheGradient) {
    TGraficoPerfil chart;
    chart.resize(600, 400);
    chart.Pintar(datos({1000, 1000, 1000, 1000}, 1200, {{0, "0"}, {2, "1"}, {3, "2"}}));
    const QImage image = chart.Imagen();
    int red = 0, lime = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            lime += c.green() > 200 && c.red() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(lime, 20);
    chart.VerRelleno(false);
    const QImage line = chart.Imagen();
    int coloured = 0;
    for (int y = 0; y < line.height(); y += 3)
        for (int x = 0; x < line.width(); x += 3) {
            const QColor c = line.pixelColor(x, y);
            coloured += c.saturation() > 150;
        }
    EXPECT_LT(coloured, 5) << "hiding the fill removes the colours";
}

TEST(GraficoPerfil, ALongTrackKeepsEveryPeakValleyAndBothEnds) {
    // 200,000 points of a gentle wave with one sharp peak and one sharp valley.
    std::vector<double> alt(200000);
    for (size_t i = 0; i < alt.size(); ++i)
        alt[i] = 1000 + 100 * std::sin(double(i) / 5000.0);
    alt[123457] = 2500;
    alt[77777] = -40;
    const QList<QPointF> drawn = TGraficoPerfil::PuntosDibujados(alt);

    EXPECT_LE(drawn.size(), qsizetype(TGraficoPerfil::MaximoPuntosDirectos) + 1);
    EXPECT_EQ(drawn.first(), QPointF(0, alt[0]));
    EXPECT_EQ(drawn.last(), QPointF(double(alt.size() - 1), alt.back()));
    EXPECT_TRUE(drawn.contains(QPointF(123457, 2500)));
    EXPECT_TRUE(drawn.contains(QPointF(77777, -40)));
    for (qsizetype i = 1; i < drawn.size(); ++i)
        ASSERT_LT(drawn[i - 1].x(), drawn[i].x()) << "points stay in track order";
}

TEST(GraficoPerfil, ATrackUpToTheLimitIsDrawnPointByPoint) {
    std::vector<double> alt(TGraficoPerfil::MaximoPuntosDirectos, 5.0);
    EXPECT_EQ(TGraficoPerfil::PuntosDibujados(alt).size(), qsizetype(alt.size()));
}
