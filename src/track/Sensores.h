#pragma once

#include <array>
#include <string_view>
#include <vector>

// What the devices measure besides the position, as read from each point's extensions.
enum class Sensor { Pulso = 0, Cadencia, Potencia, Temperatura };
constexpr int NumSensores = 4;

// One value of each sensor per point, kept only for the sensors the track has: a track
// without heart rate costs nothing for it. A missing value is NaN.
class TSensoresPuntos {
  public:
    bool Tiene(Sensor s) const { return !FValores[size_t(s)].empty(); }
    bool TieneAlguno() const;
    // NaN when the point has no value of `s`.
    double Valor(int punto, Sensor s) const;
    bool TieneValor(int punto, Sensor s) const;

    // Sets point `punto`'s value; points are filled in order, so the lists grow to it.
    void Fijar(int punto, Sensor s, double valor);
    // Makes room for `puntos` points in every list the track has.
    void Completar(int puntos);
    // Forgets the values of the points from `puntos` on (a quantity left without any
    // value is gone from the track).
    void Recortar(int puntos);
    void Vaciar();

    // Over the points of [desde, hasta] that have the value; false when none has.
    struct Resumen {
        double minimo = 0, maximo = 0, media = 0;
        int puntos = 0;
    };
    bool Resumir(Sensor s, int desde, int hasta, Resumen& r) const;

  private:
    std::array<std::vector<float>, NumSensores> FValores;
};

// Which sensor an extension element gives, by its namespace and local name: the
// TrackPointExtension v1/v2 and GpxExtensions v3 namespaces, the gpxdata namespace, and
// a bare `power` element (no namespace or the GPX one). `prioridad` orders the two
// temperatures a point may carry: air before water.
bool SensorDeElemento(std::string_view espacioNombres, std::string_view local, Sensor& s,
                      int& prioridad);
