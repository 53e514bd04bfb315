#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class TTrackPointStore;

// The point grid's view of the point store: six read-only columns, the last two cut
// from the time text each time a cell is drawn, then one column per sensor quantity
// (the grid hides those the track does not have). Cells are made on demand, so a track
// of hundreds of thousands of points shows at once.
class TPointsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Columna {
        Latitud,
        Longitud,
        Elevacion,
        DateTime,
        Fecha,
        Hora,
        Pulso,
        Cadencia,
        Potencia,
        Temperatura,
        NumColumnas
    };

    explicit TPointsModel(TTrackPointStore* store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Column titles can be replaced (language files do).
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    // "Fecha" and "Hora" of a time text: characters 1-10 and the 8 from position 12.
    static QString FechaDe(const QString& time) { return time.left(10); }
    static QString HoraDe(const QString& time) { return time.mid(11, 8); }

    // Whether the track has anything to show in column `c`: the sensor columns only
    // for the quantities the track carries.
    bool ColumnaConDatos(int c) const;

  private:
    QPointer<TTrackPointStore> FStore;
    QStringList FTitulos;
    int FFilas = 0;
};
