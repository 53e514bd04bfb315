#pragma once

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QTableView;
class TFormData;
class TPointsModel;

// The data page: the header fields, the distance box and the point grid, all read-only
// and following the record stores.
class TPaginaDatos : public QWidget {
    Q_OBJECT
  public:
    TPaginaDatos(TFormData* data, QWidget* parent);

    QLineEdit* edtDistanciaRuta = nullptr;
    QTableView* dbgPuntos = nullptr;
    TPointsModel* Modelo = nullptr;
    // Header field boxes, by TrackHeader field name.
    QLineEdit* Caja(const QString& field) const;

    void SetColorTitulo(const QColor& color);

    // Filtered climb and times of the whole track, beside the distance; empty without a
    // track (the times also without times in the track).
    QLineEdit* edtDesnivelFiltrado = nullptr;
    QLineEdit* edtTiempoTotal = nullptr;
    QLineEdit* edtTiempoMovimiento = nullptr;
    QLineEdit* edtTiempoParado = nullptr;
    QLineEdit* edtVelocidadMovimiento = nullptr;
    // Worked out again from the data holder (the points or the climb threshold changed).
    void RefrescarFiguras();

  private:
    void refrescarCabecera();
    void mostrarColumnas();
    TFormData* FData;
    QList<QPair<QString, QLineEdit*>> FCajas;
};
