#include "Sensores.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr float kVacio = std::numeric_limits<float>::quiet_NaN();
}

bool TSensoresPuntos::TieneAlguno() const {
    for (const auto& v : FValores)
        if (!v.empty())
            return true;
    return false;
}

double TSensoresPuntos::Valor(int punto, Sensor s) const {
    const auto& v = FValores[size_t(s)];
    if (punto < 0 || size_t(punto) >= v.size())
        return std::numeric_limits<double>::quiet_NaN();
    return double(v[size_t(punto)]);
}

bool TSensoresPuntos::TieneValor(int punto, Sensor s) const {
    return !std::isnan(Valor(punto, s));
}

void TSensoresPuntos::Fijar(int punto, Sensor s, double valor) {
    if (punto < 0 || !std::isfinite(valor))
        return;
    auto& v = FValores[size_t(s)];
    if (size_t(punto) >= v.size())
        v.resize(size_t(punto) + 1, kVacio);
    v[size_t(punto)] = float(valor);
}

void TSensoresPuntos::Completar(int puntos) {
    for (auto& v : FValores)
        if (!v.empty() && v.size() < size_t(puntos))
            v.resize(size_t(puntos), kVacio);
}

void TSensoresPuntos::Recortar(int puntos) {
    for (auto& v : FValores) {
        if (v.size() > size_t(std::max(puntos, 0)))
            v.resize(size_t(std::max(puntos, 0)));
        bool alguno = false;
        for (float x : v)
            alguno = alguno || !std::isnan(x);
        if (!alguno)
            std::vector<float>().swap(v);
    }
}

void TSensoresPuntos::Vaciar() {
    for (auto& v : FValores)
        std::vector<float>().swap(v);
}

bool TSensoresPuntos::Resumir(Sensor s, int desde, int hasta, Resumen& r) const {
    const auto& v = FValores[size_t(s)];
    r = Resumen();
    double suma = 0;
    for (int i = std::max(desde, 0); i <= hasta && size_t(i) < v.size(); ++i) {
        const float x = v[size_t(i)];
        if (std::isnan(x))
            continue;
        if (r.puntos == 0 || x < r.minimo)
            r.minimo = x;
        if (r.puntos == 0 || x > r.maximo)
            r.maximo = x;
        suma += x;
        ++r.puntos;
    }
    if (r.puntos == 0)
        return false;
    r.media = suma / r.puntos;
    return true;
}

bool SensorDeElemento(std::string_view ns, std::string_view local, Sensor& s, int& prioridad) {
    static constexpr std::string_view kTpxV1 =
        "http://www.garmin.com/xmlschemas/TrackPointExtension/v1";
    static constexpr std::string_view kTpxV2 =
        "http://www.garmin.com/xmlschemas/TrackPointExtension/v2";
    static constexpr std::string_view kGpxxV3 = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";
    static constexpr std::string_view kGpxData = "http://www.cluetrust.com/XML/GPXDATA/1/0";
    static constexpr std::string_view kGpx11 = "http://www.topografix.com/GPX/1/1";
    static constexpr std::string_view kGpx10 = "http://www.topografix.com/GPX/1/0";
    static const struct {
        std::string_view ns, local;
        Sensor sensor;
        int prioridad;
    } tabla[] = {
        {kTpxV1, "hr", Sensor::Pulso, 0},
        {kTpxV1, "cad", Sensor::Cadencia, 0},
        {kTpxV1, "atemp", Sensor::Temperatura, 0},
        {kTpxV1, "wtemp", Sensor::Temperatura, 1},
        {kTpxV2, "hr", Sensor::Pulso, 0},
        {kTpxV2, "cad", Sensor::Cadencia, 0},
        {kTpxV2, "atemp", Sensor::Temperatura, 0},
        {kTpxV2, "wtemp", Sensor::Temperatura, 1},
        {kGpxxV3, "Temperature", Sensor::Temperatura, 0},
        {kGpxData, "hr", Sensor::Pulso, 0},
        {kGpxData, "cadence", Sensor::Cadencia, 0},
        {kGpxData, "temp", Sensor::Temperatura, 0},
        {{}, "power", Sensor::Potencia, 0},
        {kGpx11, "power", Sensor::Potencia, 0},
        {kGpx10, "power", Sensor::Potencia, 0},
    };
    for (const auto& e : tabla)
        if (e.local == local && e.ns == ns) {
            s = e.sensor;
            prioridad = e.prioridad;
            return true;
        }
    return false;
}
