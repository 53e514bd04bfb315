#include "GraficoPerfil.h"

#include "SenderalError.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPainter>
#include <QPrinter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

TGraficoPerfil::TGraficoPerfil(QWidget* parent)
    : QChartView(parent), FSuperior(new QLineSeries(this)), FArea(new QAreaSeries(FSuperior)),
      FLinea(new QLineSeries), FEjeX(new QCategoryAxis), FEjeY(new QValueAxis) {
    setObjectName(QStringLiteral("dbchtPerfil"));
    auto* c = new QChart;
    c->setTitle(QStringLiteral("PERFIL DEL TRACK"));
    c->legend()->hide();
    c->setAnimationOptions(QChart::NoAnimation);

    FArea->setObjectName(QStringLiteral("arsrsSeries1"));
    // Low ground lime, the middle yellow, the tops red.
    QLinearGradient fill(0, 1, 0, 0);
    fill.setCoordinateMode(QGradient::ObjectBoundingMode);
    fill.setColorAt(0.0, QColor(0, 255, 0));
    fill.setColorAt(0.5, QColor(255, 255, 0));
    fill.setColorAt(1.0, QColor(255, 0, 0));
    FArea->setBrush(fill);
    FArea->setPen(Qt::NoPen);
    FArea->setPointsVisible(false);
    FArea->setPointLabelsVisible(false);

    FLinea->setObjectName(QStringLiteral("Series1"));
    QPen pen(QColor(0, 0, 0, 61)); // black, 76 % transparent
    pen.setWidth(1);
    pen.setCosmetic(true);
    FLinea->setPen(pen);
    FLinea->setPointsVisible(false);

    c->addSeries(FArea);
    c->addSeries(FLinea);

    FEjeX->setTitleText(QStringLiteral("Kilómetros"));
    FEjeX->setGridLineVisible(false);
    FEjeX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    FEjeY->setTitleText(QStringLiteral("Altitud"));
    FEjeY->setLabelFormat(QStringLiteral("%.0f"));
    c->addAxis(FEjeX, Qt::AlignBottom);
    c->addAxis(FEjeY, Qt::AlignLeft);
    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(FArea), static_cast<QAbstractSeries*>(FLinea)}) {
        s->attachAxis(FEjeX);
        s->attachAxis(FEjeY);
    }
    FEjeY->setRange(0, 0);
    ajustarEjeX(0);

    setChart(c);
    setRenderHint(QPainter::Antialiasing);
    setInteractive(false);
    setRubberBand(QChartView::NoRubberBand);
}

QList<QPointF> TGraficoPerfil::PuntosDibujados(const std::vector<double>& altitudes) {
    QList<QPointF> points;
    const size_t n = altitudes.size();
    if (n <= MaximoPuntosDirectos) {
        points.reserve(qsizetype(n));
        for (size_t i = 0; i < n; ++i)
            points.append(QPointF(double(i), altitudes[i]));
        return points;
    }
    // A long track has far more points than the chart has pixels: each slice keeps its
    // lowest and its highest point, in track order, so every peak and valley stays drawn
    // while the chart paints in a fraction of the time.
    const size_t slices = MaximoPuntosDirectos / 2;
    points.reserve(qsizetype(2 * slices + 2));
    for (size_t k = 0; k < slices; ++k) {
        const size_t from = k * n / slices, to = (k + 1) * n / slices;
        size_t lo = from, hi = from;
        for (size_t i = from; i < to; ++i) {
            if (altitudes[i] < altitudes[lo])
                lo = i;
            if (altitudes[i] > altitudes[hi])
                hi = i;
        }
        const size_t first = std::min(lo, hi), second = std::max(lo, hi);
        points.append(QPointF(double(first), altitudes[first]));
        if (second != first)
            points.append(QPointF(double(second), altitudes[second]));
    }
    if (points.last().x() != double(n - 1)) // the chart always reaches the last point
        points.append(QPointF(double(n - 1), altitudes[n - 1]));
    return points;
}

void TGraficoPerfil::Vaciar() {
    FSuperior->clear();
    FLinea->clear();
    fijarEtiquetas({});
}

void TGraficoPerfil::Pintar(const TDatosPerfil& datos) {
    Vaciar();
    const QList<QPointF> points = PuntosDibujados(datos.altitudes);
    FSuperior->replace(points);
    FLinea->replace(points);
    if (!datos.completo())
        throw ESenderalError(datos.error);
    FEjeY->setRange(0, datos.maximoEje);
    ponerMarcasEjeY(datos.maximoEje);
    fijarEtiquetas(datos.etiquetas);
    ajustarEjeX(int(datos.altitudes.size()));
}

void TGraficoPerfil::fijarEtiquetas(const std::vector<TEtiquetaPerfil>& etiquetas) {
    for (const QString& label : FEjeX->categoriesLabels())
        FEjeX->remove(label);
    // The axis keeps one category per distinct text; equal distances (a track that does
    // not move) still get their own label each.
    int repeat = 0;
    for (const TEtiquetaPerfil& e : etiquetas) {
        QString text = e.texto;
        while (FEjeX->categoriesLabels().contains(text))
            text = e.texto + QString(++repeat, QChar(0x200B));
        FEjeX->append(text, e.indice);
    }
}

void TGraficoPerfil::ponerMarcasEjeY(double maximo) {
    // Round altitudes under the marks (0, 500, 1000...) rather than fifths of the range.
    if (maximo <= 0) {
        FEjeY->setTickType(QValueAxis::TicksFixed);
        return;
    }
    const double raw = maximo / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * magnitude >= raw) {
            step = m * magnitude;
            break;
        }
    FEjeY->setTickType(QValueAxis::TicksDynamic);
    FEjeY->setTickAnchor(0);
    FEjeY->setTickInterval(step);
}

void TGraficoPerfil::ajustarEjeX(int count) {
    // A single point (or none) has no width of its own: give it one around point 0.
    const double min = count > 1 ? 0.0 : -1.0;
    const double max = count > 1 ? double(count - 1) : 1.0;
    FEjeX->setStartValue(min);
    FEjeX->setRange(min, max);
}

void TGraficoPerfil::VerRelleno(bool visible) {
    FArea->setVisible(visible);
}

bool TGraficoPerfil::RellenoVisible() const {
    return FArea->isVisible();
}

QRect TGraficoPerfil::RectanguloImpresion(const QRect& page) {
    const int mx = int(page.width() * 0.15), my = int(page.height() * 0.19);
    return page.adjusted(mx, my, -mx, -my);
}

void TGraficoPerfil::Imprimir(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        throw ESenderalError(
            QStringLiteral("No se puede imprimir en %1.").arg(printer.printerName()));
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    painter.setRenderHint(QPainter::Antialiasing);
    render(&painter, RectanguloImpresion(page));
    painter.end();
}

QImage TGraficoPerfil::Imagen() {
    return grab().toImage();
}
