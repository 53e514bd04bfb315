#include "PanelPunto.h"

#include "FechaHora.h"
#include "Figuras.h"
#include "Numeros.h"
#include "Sensores.h"
#include "TextosPista.h"
#include "TrackPointMarks.h"
#include "Verbario.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <cmath>

namespace {
// The user's long time format, without the zone name a locale may add.
QString formatoHoraLarga(const QLocale& locale) {
    QString f = locale.timeFormat(QLocale::LongFormat);
    f.remove(QLatin1Char('t'));
    return f.trimmed();
}
} // namespace

TPanelPunto::TPanelPunto(QWidget* parent) : QGroupBox(QStringLiteral("Datos puntuales"), parent) {
    setObjectName(QStringLiteral("pnlGraficoDatos"));
    setMinimumWidth(210);
    auto* g = new QGridLayout(this);
    g->setVerticalSpacing(6);
    struct Fila {
        QLabel** label;
        const char* nombre;
        const char* icono;
        QString texto;
        QString hint;
    };
    const Fila filas[] = {
        {&lblEnterMouse, "lblEnterMouse", "punto", QStringLiteral("Información del punto"),
         QString()},
        {&lbldgFecha, "lbldgFecha", "fecha", QStringLiteral("Fecha"), QStringLiteral("Fecha")},
        {&lbldgHora, "lbldgHora", "hora", QStringLiteral("Hora"), QStringLiteral("Hora")},
        {&lbldgLatitud, "lbldgLatitud", "latitud", QStringLiteral("Latitud"),
         QStringLiteral("Coordenada de Latitud del punto")},
        {&lbldgLongitud, "lbldgLongitud", "longitud", QStringLiteral("Longitud"),
         QStringLiteral("Coordenada de Longitud del punto")},
        {&lbldgElevacion, "lbldgElevacion", "altura", QStringLiteral("Altura"),
         QStringLiteral("Altura puntual")},
        {&lbldgDistAcum, "lbldgDistAcum", "distancia", QStringLiteral("Dist. Acumulada"),
         QStringLiteral("Distancia acumulada total")},
        {&lbldgAscAcum, "lbldgAscAcum", "ascenso", QStringLiteral("Ascenso acumulado"),
         QStringLiteral("Ascenso acumulado (subida)")},
        {&lbldgDescAcum, "lbldgDescAcum", "descenso", QStringLiteral("Descenso acumulado"),
         QStringLiteral("Descenso acumulado (bajada)")},
        {&lbldgVelocidad, "lbldgVelocidad", "velocidad", QStringLiteral("Velocidad puntual"),
         QStringLiteral("Velocidad puntual")},
        {&lbldgAscFiltrado, "lbldgAscFiltrado", "ascenso", QStringLiteral("Ascenso filtrado"),
         QStringLiteral("Ascenso acumulado sin el ruido de la altura del GPS")},
        {&lbldgDescFiltrado, "lbldgDescFiltrado", "descenso", QStringLiteral("Descenso filtrado"),
         QStringLiteral("Descenso acumulado sin el ruido de la altura del GPS")},
        {&lbldgPendiente, "lbldgPendiente", "pendiente", QStringLiteral("Pendiente"),
         QStringLiteral("Pendiente en los últimos 50 m")},
        {&lbldgPulso, "lbldgPulso", "pulso", QStringLiteral("Pulso"),
         QStringLiteral("Frecuencia cardíaca en el punto")},
        {&lbldgCadencia, "lbldgCadencia", "cadencia", QStringLiteral("Cadencia"),
         QStringLiteral("Cadencia en el punto")},
        {&lbldgPotencia, "lbldgPotencia", "potencia", QStringLiteral("Potencia"),
         QStringLiteral("Potencia en el punto")},
        {&lbldgTemperatura, "lbldgTemperatura", "temperatura", QStringLiteral("Temperatura"),
         QStringLiteral("Temperatura en el punto")},
    };
    int fila = 0;
    for (const Fila& f : filas) {
        auto* icono = new QLabel(this);
        icono->setObjectName(QStringLiteral("img") + QLatin1String(f.nombre + 3));
        icono->setPixmap(
            QIcon(QStringLiteral(":/graficos/%1.svg").arg(QLatin1String(f.icono))).pixmap(16, 16));
        icono->setFixedSize(16, 16);
        auto* l = new QLabel(f.texto, this);
        l->setObjectName(QLatin1String(f.nombre));
        l->setToolTip(f.hint);
        l->setStatusTip(f.hint);
        if (fila == 0) {
            QFont bold = l->font();
            bold.setBold(true);
            l->setFont(bold);
        }
        *f.label = l;
        l->setProperty("icono", QVariant::fromValue<QObject*>(icono));
        g->addWidget(icono, fila, 0);
        g->addWidget(l, fila, 1);
        ++fila;
    }
    g->setColumnStretch(1, 1);
}

QList<QLabel*> TPanelPunto::Etiquetas() const {
    return {lblEnterMouse,    lbldgFecha,        lbldgHora,      lbldgLatitud,  lbldgLongitud,
            lbldgElevacion,   lbldgDistAcum,     lbldgAscAcum,   lbldgDescAcum, lbldgVelocidad,
            lbldgAscFiltrado, lbldgDescFiltrado, lbldgPendiente, lbldgPulso,    lbldgCadencia,
            lbldgPotencia,    lbldgTemperatura};
}

void TPanelPunto::Vaciar() {
    for (QLabel* l : Etiquetas())
        l->clear();
}

void TPanelPunto::MostrarFilasSensores(const TSensoresPuntos* sensores) {
    const std::pair<QLabel*, Sensor> filas[] = {{lbldgPulso, Sensor::Pulso},
                                                {lbldgCadencia, Sensor::Cadencia},
                                                {lbldgPotencia, Sensor::Potencia},
                                                {lbldgTemperatura, Sensor::Temperatura}};
    for (const auto& [label, sensor] : filas) {
        const bool ver = sensores && sensores->Tiene(sensor);
        label->setVisible(ver);
        if (auto* icono = qobject_cast<QWidget*>(label->property("icono").value<QObject*>()))
            icono->setVisible(ver);
    }
}

void TPanelPunto::Mostrar(const TTrackNode& nodo, const TTablaFiguras* figuras,
                          const TSensoresPuntos* sensores, const QLocale& locale) {
    const QString u = LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros"));
    const QString mil = locale.groupSeparator(), dec = locale.decimalPoint();
    auto patron = [&](double v, const QString& p) { return FormatoPatron(v, p, mil, dec); };
    lblEnterMouse->setText(LookupText(QStringLiteral("_STR_MI_POINT"), QStringLiteral("Punto:")) +
                           QLatin1Char(' ') + QString::number(nodo.Tag));
    // The point's own date: a track of several days must not show the first day's date
    // all along. A point without a time shows no date rather than the calendar's day zero.
    const QDateTime momento = QDateTimeDesdeFechaHora(nodo.FechaHora());
    lbldgFecha->setText(momento.isValid() ? locale.toString(momento.date(), QLocale::ShortFormat)
                                          : QString());
    lbldgHora->setText(momento.isValid() ? locale.toString(momento.time(), formatoHoraLarga(locale))
                                         : QString());
    lbldgLatitud->setText(nodo.LatitudAsString());
    lbldgLongitud->setText(nodo.LongitudAsString());
    lbldgElevacion->setText(patron(nodo.Elevacion(), QStringLiteral("#,##0.00 ") + u));
    lbldgDistAcum->setText(patron(nodo.Distancia(), QStringLiteral("#,0. m/")) +
                           patron(nodo.Distancia() / 1000, QStringLiteral("#,#0.0 km.")));
    lbldgAscAcum->setText(patron(nodo.AscAcumulado(), QStringLiteral("#,##0.00 ") + u));
    lbldgDescAcum->setText(patron(nodo.DescAcumulado(), QStringLiteral("#,##0.00 ") + u));
    lbldgVelocidad->setText(patron(nodo.VelocidadInstant(), QStringLiteral("#,#0.0 km/h")));
    llenarFilasExtra(nodo.Tag - 1, figuras, sensores, locale);
}

void TPanelPunto::llenarFilasExtra(int i, const TTablaFiguras* figuras,
                                   const TSensoresPuntos* sensores, const QLocale& locale) {
    const QString mil = locale.groupSeparator(), dec = locale.decimalPoint();
    auto patron = [&](double v, const QString& p) {
        return std::isfinite(v) ? FormatoPatron(v, p, mil, dec) : QString();
    };
    const bool hay = figuras && i >= 0 && i < figuras->Puntos();
    const QString u = LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros"));
    const QString filtrado =
        LookupText(QStringLiteral("_STR_PT_FILTRADO"), QStringLiteral("%s (filtrado)"));
    auto conFiltrado = [&](double v) {
        return hay ? RellenarHuecos(filtrado, {patron(v, QStringLiteral("#,##0.00 ") + u)})
                   : QString();
    };
    lbldgAscFiltrado->setText(conFiltrado(hay ? figuras->AscensoFiltrado(i) : 0));
    lbldgDescFiltrado->setText(conFiltrado(hay ? figuras->DescensoFiltrado(i) : 0));
    lbldgPendiente->setText(hay ? patron(figuras->Pendiente(i), QStringLiteral("#,#0.0 %"))
                                : QString());

    auto valor = [&](Sensor s) { return sensores ? sensores->Valor(i, s) : std::nan(""); };
    lbldgPulso->setText(
        patron(valor(Sensor::Pulso),
               QStringLiteral("#,##0 ") +
                   LookupText(QStringLiteral("_STR_UNIDAD_PULSO"), QStringLiteral("ppm"))));
    lbldgCadencia->setText(patron(valor(Sensor::Cadencia), QStringLiteral("#,##0 rpm")));
    lbldgPotencia->setText(patron(valor(Sensor::Potencia), QStringLiteral("#,##0 W")));
    lbldgTemperatura->setText(patron(valor(Sensor::Temperatura), QStringLiteral("#,##0.0 °C")));
}
