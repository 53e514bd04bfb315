#pragma once

#include <QList>
#include <QPointF>
#include <vector>

#include "DatosPerfil.h"

#include <QChartView>
#include <QImage>
#include <QRect>

class QAreaSeries;
class QCategoryAxis;
class QLineSeries;
class QPrinter;
class QValueAxis;

// The profile chart dbchtPerfil: the gradient area (arsrsSeries1) under a thin black
// line (Series1), altitude over the point number, three distance labels below.
class TGraficoPerfil : public QChartView {
    Q_OBJECT
  public:
    explicit TGraficoPerfil(QWidget* parent = nullptr);

    // Replaces the chart's values with `datos`. When the fill ended with an error the
    // values before it are shown, the axes are left alone and the error is thrown
    // (ESenderalError) after the chart has been updated.
    void Pintar(const TDatosPerfil& datos);

    // The points the chart draws for these altitudes: all of them up to
    // MaximoPuntosDirectos, beyond that the lowest and highest of each slice.
    static constexpr size_t MaximoPuntosDirectos = 20000;
    static QList<QPointF> PuntosDibujados(const std::vector<double>& altitudes);
    void Vaciar(); // both series cleared, labels removed

    void VerRelleno(bool visible); // the line stays whatever this says
    bool RellenoVisible() const;

    // Prints into the page less 15 % left and right and 19 % top and bottom.
    void Imprimir(QPrinter& printer);
    static QRect RectanguloImpresion(const QRect& page);

    QImage Imagen();

    // Read access for tests and the picture command.
    QAreaSeries* arsrsSeries1() const { return FArea; }
    QLineSeries* Series1() const { return FLinea; }
    QLineSeries* SerieSuperiorArea() const { return FSuperior; }
    QCategoryAxis* EjeX() const { return FEjeX; }
    QValueAxis* EjeY() const { return FEjeY; }

  private:
    void fijarEtiquetas(const std::vector<TEtiquetaPerfil>& etiquetas);
    void ajustarEjeX(int count);
    void ponerMarcasEjeY(double maximo);

    QLineSeries* FSuperior;
    QAreaSeries* FArea;
    QLineSeries* FLinea;
    QCategoryAxis* FEjeX;
    QValueAxis* FEjeY;
};
