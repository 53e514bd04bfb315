#include "PointsModel.h"

#include "TrackStores.h"

TPointsModel::TPointsModel(TTrackPointStore* store, QObject* parent)
    : QAbstractTableModel(parent), FStore(store),
      FTitulos{QStringLiteral("Latitud"), QStringLiteral("Longitud"), QStringLiteral("Elevación"),
               QStringLiteral("DateTime"), QStringLiteral("Fecha"), QStringLiteral("Hora")} {
    connect(store, &TDataStore::DatosCambiados, this, [this] {
        beginResetModel();
        FFilas = FStore && FStore->Active() ? FStore->RecordCount() : 0;
        endResetModel();
    });
    FFilas = store->Active() ? store->RecordCount() : 0;
}

int TPointsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FFilas; }

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
        return {};
    }
}

QVariant TPointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return FTitulos.value(section);
}

bool TPointsModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= NumColumnas ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    FTitulos[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}
