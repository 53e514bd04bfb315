#include "TrackStores.h"

#include <algorithm>

#include "SenderalError.h"
#include "TextosPista.h"

#include <limits>

QString TDataStore::FieldByName(QStringView name) const {
    const int f = IndiceCampo(name);
    if (f < 0 || Eof())
        return {};
    return Valor(RecNo(), f);
}

int TDataStore::IndiceCampo(QStringView name) const {
    const QStringList names = FieldNames();
    for (int i = 0; i < names.size(); ++i)
        if (QStringView(names[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TDataStore::EnableControls() {
    if (FSuspendido > 0 && --FSuspendido == 0 && FPendiente) {
        FPendiente = false;
        emit DatosCambiados();
    }
}

void TDataStore::setActive(bool active) {
    FActive = active;
    FRecNo = 0;
    notificar();
}

void TDataStore::notificar() {
    if (FSuspendido > 0)
        FPendiente = true;
    else
        emit DatosCambiados();
}

const QStringList& TrackHeader::Campos() {
    static const QStringList names{"creator", "version", "xsi",    "href",
                                   "text",    "time",    "maxlat", "maxlon",
                                   "minlat",  "minlon",  "name",   "DisplayColor"};
    return names;
}

QString& TrackHeader::campo(int i) {
    QString* fields[] = {&creator, &version, &xsi,    &href,   &text, &time,
                         &maxlat,  &maxlon,  &minlat, &minlon, &name, &DisplayColor};
    return *fields[i];
}

const QString& TrackHeader::campo(int i) const {
    return const_cast<TrackHeader*>(this)->campo(i);
}

QStringList TTrackPointStore::FieldNames() const {
    return {"lat", "lon", "ele", "time"};
}

QString TTrackPointStore::Valor(int record, int field) const {
    if (record < 0 || record >= RecordCount() || field < 0 || field >= NumCamposPunto)
        return {};
    const std::string_view t = texto(record, CampoPunto(field));
    return QString::fromUtf8(t.data(), qsizetype(t.size()));
}

void TTrackPointStore::Reservar(size_t points, size_t bytes) {
    FRegistros.reserve(points);
    FLugares.reserve(points);
    FArena.reserve(bytes);
}

void TTrackPointStore::NuevoPunto() {
    if (FArena.size() > std::numeric_limits<quint32>::max())
        throw ESenderalError(TextoPista("_STR_RD_TOOMANYPOINTS", "El track es demasiado grande."));
    Registro r;
    r.base = quint32(FArena.size());
    FRegistros.push_back(r);
}

void TTrackPointStore::FijarCampo(CampoPunto field, std::string_view utf8) {
    if (FArena.size() + utf8.size() > std::numeric_limits<quint32>::max())
        throw ESenderalError(TextoPista("_STR_RD_TOOMANYPOINTS", "El track es demasiado grande."));
    Registro& r = FRegistros.back();
    const size_t f = size_t(field);
    const size_t rel = FArena.size() - r.base;
    if (utf8.size() < Largo && rel <= 0xFF) {
        r.rel[f] = quint8(rel);
        r.len[f] = quint8(utf8.size());
    } else {
        FLargos[int(FRegistros.size()) - 1][f] = {quint32(FArena.size()), quint32(utf8.size())};
        r.len[f] = Largo;
    }
    FArena.append(utf8);
}

void TTrackPointStore::FijarPosicion(int linea, int columna) {
    FLugares.resize(FRegistros.size());
    FLugares.back() = {quint32(std::max(linea, 0)), quint32(std::max(columna, 0))};
}

bool TTrackPointStore::Posicion(int record, int& linea, int& columna) const {
    if (record < 0 || size_t(record) >= FLugares.size() || FLugares[size_t(record)].linea == 0)
        return false;
    linea = int(FLugares[size_t(record)].linea);
    columna = int(FLugares[size_t(record)].columna);
    return true;
}

std::string_view TTrackPointStore::textoLargo(int record, CampoPunto field) const {
    const Slot& s = FLargos.at(record)[size_t(field)];
    return std::string_view(FArena.data() + s.off, s.len);
}

void TTrackPointStore::Open() {
    // The reader reserves by the file's size; give back only an excess as large as
    // what is used, since shrinking copies everything once more.
    if (FArena.capacity() > 2 * FArena.size() + 4096)
        FArena.shrink_to_fit();
    if (FRegistros.capacity() > 2 * FRegistros.size() + 256)
        FRegistros.shrink_to_fit();
    FSensores.Completar(RecordCount());
    if (FLugares.capacity() > 2 * FLugares.size() + 256)
        FLugares.shrink_to_fit();
    setActive(true);
}

void TTrackPointStore::QuitarUltimo() {
    if (FRegistros.empty())
        return;
    FArena.resize(FRegistros.back().base);
    FLargos.erase(int(FRegistros.size()) - 1);
    FRegistros.pop_back();
    FSensores.Recortar(RecordCount());
    if (FLugares.size() > FRegistros.size())
        FLugares.resize(FRegistros.size());
}

void TTrackPointStore::EmptyDataSet() {
    std::string().swap(FArena);
    std::vector<Registro>().swap(FRegistros);
    std::vector<Lugar>().swap(FLugares);
    FLargos.clear();
    FSensores.Vaciar();
    notificar();
}

void TTrackPointStore::Close() {
    EmptyDataSet();
    setActive(false);
}

QString TTrackHeaderStore::Valor(int record, int field) const {
    if (record != 0 || !FTiene || field < 0 || field >= TrackHeader::Campos().size())
        return {};
    return FCabecera.campo(field);
}

void TTrackHeaderStore::Open(const TrackHeader& header) {
    FCabecera = header;
    FTiene = true;
    setActive(true);
}

void TTrackHeaderStore::EmptyDataSet() {
    FCabecera = TrackHeader();
    FTiene = false;
    notificar();
}

void TTrackHeaderStore::Close() {
    EmptyDataSet();
    setActive(false);
}
