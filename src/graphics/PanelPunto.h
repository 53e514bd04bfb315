#pragma once

#include <QGroupBox>
#include <QList>

class QLabel;
class QLocale;
class TSensoresPuntos;
class TTablaFiguras;
class TTrackNode;

// The panel "Datos puntuales" of the plan page: the date, time, position and measures of
// one point, its filtered climb and grade, and its sensor values. The page fills it with
// the point under the pointer or the replay's current point.
class TPanelPunto : public QGroupBox {
    Q_OBJECT
  public:
    explicit TPanelPunto(QWidget* parent = nullptr);

    QLabel* lblEnterMouse = nullptr;
    QLabel* lbldgFecha = nullptr;
    QLabel* lbldgHora = nullptr;
    QLabel* lbldgLatitud = nullptr;
    QLabel* lbldgLongitud = nullptr;
    QLabel* lbldgElevacion = nullptr;
    QLabel* lbldgDistAcum = nullptr;
    QLabel* lbldgAscAcum = nullptr;
    QLabel* lbldgDescAcum = nullptr;
    QLabel* lbldgVelocidad = nullptr;
    // Filtered totals up to the point, the grade over the last 50 m, and the sensor
    // values (rows only for the quantities the track has).
    QLabel* lbldgAscFiltrado = nullptr;
    QLabel* lbldgDescFiltrado = nullptr;
    QLabel* lbldgPendiente = nullptr;
    QLabel* lbldgPulso = nullptr;
    QLabel* lbldgCadencia = nullptr;
    QLabel* lbldgPotencia = nullptr;
    QLabel* lbldgTemperatura = nullptr;

    // Every row of `nodo`'s point in `locale`'s separators and formats; without figures or
    // sensor values their rows stay empty.
    void Mostrar(const TTrackNode& nodo, const TTablaFiguras* figuras,
                 const TSensoresPuntos* sensores, const QLocale& locale);
    // Every row empty.
    void Vaciar();
    // Shows the sensor rows of the quantities `sensores` has, and hides the others.
    void MostrarFilasSensores(const TSensoresPuntos* sensores);
    QList<QLabel*> Etiquetas() const;

  private:
    void llenarFilasExtra(int indice, const TTablaFiguras* figuras, const TSensoresPuntos* sensores,
                          const QLocale& locale);
};
