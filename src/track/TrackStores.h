#pragma once

#include "Sensores.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Common behaviour of the two record stores: open/closed, a read cursor, and change
// notifications that views can suspend while a load runs.
class TDataStore : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    bool Active() const { return FActive; }
    virtual int RecordCount() const = 0;
    virtual QStringList FieldNames() const = 0;

    // Sequential reading: every reader starts with First() and walks to Eof().
    void First() { FRecNo = 0; }
    void Next() {
        if (FRecNo < RecordCount())
            ++FRecNo;
    }
    bool Eof() const { return FRecNo >= RecordCount(); }
    int RecNo() const { return FRecNo; }

    // The current record's field, looked up without regard to case; empty text for an
    // unknown field or past the end.
    QString FieldByName(QStringView name) const;
    virtual QString Valor(int record, int field) const = 0;
    int IndiceCampo(QStringView name) const;

    // Nested suspend/resume; a change made while suspended is told once on resume.
    void DisableControls() { ++FSuspendido; }
    void EnableControls();
    bool ControlsDisabled() const { return FSuspendido > 0; }

  signals:
    void DatosCambiados();

  protected:
    void setActive(bool active);
    void notificar();

  private:
    bool FActive = false;
    int FRecNo = 0;
    int FSuspendido = 0;
    bool FPendiente = false;
};

enum class CampoPunto { Lat = 0, Lon, Ele, Time };
constexpr int NumCamposPunto = 4;

// The TrackHeader record: every field text exactly as read.
struct TrackHeader {
    QString creator, version, xsi, href, text, time;
    QString maxlat, maxlon, minlat, minlon, name, DisplayColor;

    static const QStringList& Campos();
    QString& campo(int i);
    const QString& campo(int i) const;
};

// The TrackPoint records, in file order. Texts live in one arena so that a track of
// hundreds of thousands of points stays small and quick to fill.
class TTrackPointStore : public TDataStore {
    Q_OBJECT
  public:
    using TDataStore::TDataStore;

    int RecordCount() const override { return int(FRegistros.size()); }
    QStringList FieldNames() const override;
    QString Valor(int record, int field) const override;

    std::string_view texto(int record, CampoPunto field) const {
        const Registro& r = FRegistros[size_t(record)];
        const quint8 n = r.len[size_t(field)];
        if (n == Largo)
            return textoLargo(record, field);
        return std::string_view(FArena.data() + r.base + r.rel[size_t(field)], n);
    }
    QString valor(int record, CampoPunto field) const { return Valor(record, int(field)); }

    // Filling, used by the reader; `Open` makes the store active.
    void Reservar(size_t points, size_t bytes);
    void NuevoPunto();
    void FijarCampo(CampoPunto field, std::string_view utf8); // on the last point
    void QuitarUltimo();                                      // drops the last point with its texts
    // A sensor value of the last point (heart rate, cadence...), read from its extensions.
    void FijarSensor(Sensor s, double valor) { FSensores.Fijar(RecordCount() - 1, s, valor); }
    const TSensoresPuntos& Sensores() const { return FSensores; }
    // Where the last point starts in its file, for messages about its values.
    void FijarPosicion(int linea, int columna);
    // Line and column of a point's start tag; false when the store was filled without.
    bool Posicion(int record, int& linea, int& columna) const;
    void Open();
    void EmptyDataSet();
    void Close();

  private:
    // One point in twelve bytes: where its texts start in the arena and, per field, the
    // offset from there and the length. A text that does not fit in those bytes is
    // marked Largo and its place kept aside.
    struct Registro {
        quint32 base = 0;
        quint8 rel[NumCamposPunto] = {};
        quint8 len[NumCamposPunto] = {};
    };
    struct Slot {
        quint32 off = 0;
        quint32 len = 0;
    };
    static constexpr quint8 Largo = 0xFF;
    std::string_view textoLargo(int record, CampoPunto field) const;

    std::string FArena;
    std::vector<Registro> FRegistros;
    struct Lugar {
        quint32 linea = 0, columna = 0;
    };
    std::vector<Lugar> FLugares;
    std::unordered_map<int, std::array<Slot, NumCamposPunto>> FLargos;
    TSensoresPuntos FSensores;
};

// The single header record of the loaded file.
class TTrackHeaderStore : public TDataStore {
    Q_OBJECT
  public:
    using TDataStore::TDataStore;

    int RecordCount() const override { return FTiene ? 1 : 0; }
    QStringList FieldNames() const override { return TrackHeader::Campos(); }
    QString Valor(int record, int field) const override;

    const TrackHeader& Cabecera() const { return FCabecera; }
    void Open(const TrackHeader& header);
    void EmptyDataSet();
    void Close();

  private:
    TrackHeader FCabecera;
    bool FTiene = false;
};
