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

private:
    void refrescarCabecera();
    TFormData* FData;
    QList<QPair<QString, QLineEdit*>> FCajas;
};
