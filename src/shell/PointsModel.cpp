#include "PointsModel.h"

#include "TrackStores.h"

#include <cmath>

TPointsModel::TPointsModel(TTrackPointStore* store, QObject* parent)
    : QAbstractTableModel(parent),
      FStore(store), FTitulos{QStringLiteral("Latitud"),      QStringLiteral("Longitud"),
                              QStringLiteral("Elevación"),    QStringLiteral("DateTime"),
                              QStringLiteral("Fecha"),        QStringLiteral("Hora"),
                              QStringLiteral("Pulso (ppm)"),  QStringLiteral("Cadencia (rpm)"),
                              QStringLiteral("Potencia (W)"), QStringLiteral("Temperatura (°C)")} {
    connect(store, &TDataStore::DatosCambiados, this, [this] {
        beginResetModel();
        FFilas = FStore && FStore->Active() ? FStore->RecordCount() : 0;
        endResetModel();
    });
    FFilas = store->Active() ? store->RecordCount() : 0;
}

int TPointsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FFilas;
}

int TPointsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NumColumnas;
}

QVariant TPointsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !FStore || index.row() >= FStore->RecordCount())
        return {};
    switch (index.column()) {
    case Latitud:
        return FStore->valor(index.row(), CampoPunto::Lat);
    case Longitud:
        return FStore->valor(index.row(), CampoPunto::Lon);
    case Elevacion:
        return FStore->valor(index.row(), CampoPunto::Ele);
    case DateTime:
        return FStore->valor(index.row(), CampoPunto::Time);
    case Fecha:
        return FechaDe(FStore->valor(index.row(), CampoPunto::Time));
    case Hora:
        return HoraDe(FStore->valor(index.row(), CampoPunto::Time));
    default:
        break;
    }
    if (index.column() >= Pulso && index.column() < NumColumnas) {
        const double v = FStore->Sensores().Valor(index.row(), Sensor(index.column() - Pulso));
        // Kept as single precision: six digits give back what the file wrote.
        return std::isnan(v) ? QString() : QString::number(v, 'g', 6);
    }
    return {};
}

bool TPointsModel::ColumnaConDatos(int c) const {
    if (c < Pulso)
        return c >= 0;
    return c < NumColumnas && FStore && FStore->Sensores().Tiene(Sensor(c - Pulso));
}

QVariant TPointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return FTitulos.value(section);
}

bool TPointsModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                 int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= NumColumnas ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    FTitulos[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
