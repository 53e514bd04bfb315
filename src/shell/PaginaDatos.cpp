#include "PaginaDatos.h"

#include "FormData.h"
#include "Numeros.h"
#include "PointsModel.h"
#include "Verbario.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>
#include <iterator>
#include <map>

TPaginaDatos::TPaginaDatos(TFormData* data, QWidget* parent) : QWidget(parent), FData(data) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 6, 6, 6);

    auto caja = [this](QGroupBox* box, QGridLayout* g, int row, int col, const QString& label,
                       const QString& field, const QString& name, int span = 1) {
        auto* l = new QLabel(label, box);
        l->setObjectName(QStringLiteral("lbl") + name);
        auto* e = new QLineEdit(box);
        e->setObjectName(QStringLiteral("dbedt") + name);
        e->setReadOnly(true);
        l->setBuddy(e);
        g->addWidget(l, row, col);
        g->addWidget(e, row, col + 1, 1, span);
        FCajas.append({field, e});
        return e;
    };

    auto* gGenerales = new QGroupBox(QStringLiteral(" Generales"), this);
    gGenerales->setObjectName(QStringLiteral("gbGenerales"));
    auto* g1 = new QGridLayout(gGenerales);
    caja(gGenerales, g1, 0, 0, QStringLiteral("Nombre: "), QStringLiteral("name"),
         QStringLiteral("Nombre"));
    caja(gGenerales, g1, 0, 2, QStringLiteral("Fecha Hora:"), QStringLiteral("time"),
         QStringLiteral("FechaHora"));
    v->addWidget(gGenerales);

    auto* gGeneracion = new QGroupBox(QStringLiteral(" Generación del track: "), this);
    gGeneracion->setObjectName(QStringLiteral("gbGeneracion"));
    auto* g2 = new QGridLayout(gGeneracion);
    caja(gGeneracion, g2, 0, 0, QStringLiteral("Creador: "), QStringLiteral("creator"),
         QStringLiteral("Creador"));
    caja(gGeneracion, g2, 0, 2, QStringLiteral("Versión: "), QStringLiteral("version"),
         QStringLiteral("Version"));
    caja(gGeneracion, g2, 1, 0, QStringLiteral("Descripción:"), QStringLiteral("text"),
         QStringLiteral("Descripcion"));
    auto* href = new QLineEdit(gGeneracion);
    href->setObjectName(QStringLiteral("dbedtHref"));
    href->setReadOnly(true);
    g2->addWidget(href, 1, 2, 1, 2);
    FCajas.append({QStringLiteral("href"), href});
    caja(gGeneracion, g2, 2, 0, QStringLiteral("Esquema:"), QStringLiteral("xsi"),
         QStringLiteral("Esquema"), 3);
    v->addWidget(gGeneracion);

    auto* gDatos = new QGroupBox(QStringLiteral(" Datos del Track "), this);
    gDatos->setObjectName(QStringLiteral("gbDatosTrack"));
    auto* g3 = new QGridLayout(gDatos);
    caja(gDatos, g3, 0, 0, QStringLiteral("Latitud máxima: "), QStringLiteral("maxlat"),
         QStringLiteral("MaxLat"));
    caja(gDatos, g3, 0, 2, QStringLiteral("Longitud máxima:"), QStringLiteral("maxlon"),
         QStringLiteral("MaxLon"));
    caja(gDatos, g3, 1, 0, QStringLiteral("Latitud mínima:"), QStringLiteral("minlat"),
         QStringLiteral("MinLat"));
    caja(gDatos, g3, 1, 2, QStringLiteral("Longitud mínima:"), QStringLiteral("minlon"),
         QStringLiteral("MinLon"));
    auto* lDist = new QLabel(QStringLiteral("Distancia: "), gDatos);
    lDist->setObjectName(QStringLiteral("lblDistancia"));
    edtDistanciaRuta = new QLineEdit(gDatos);
    edtDistanciaRuta->setObjectName(QStringLiteral("edtDistanciaRuta"));
    lDist->setBuddy(edtDistanciaRuta);
    g3->addWidget(lDist, 2, 0);
    g3->addWidget(edtDistanciaRuta, 2, 1);
    auto figura = [gDatos, g3](int row, int col, const QString& label, const QString& name) {
        auto* l = new QLabel(label, gDatos);
        l->setObjectName(QStringLiteral("lbl") + name);
        auto* e = new QLineEdit(gDatos);
        e->setObjectName(QStringLiteral("edt") + name);
        e->setReadOnly(true);
        l->setBuddy(e);
        g3->addWidget(l, row, col);
        g3->addWidget(e, row, col + 1);
        return e;
    };
    edtDesnivelFiltrado = figura(2, 2, QStringLiteral("Ascenso / descenso filtrado:"),
                                 QStringLiteral("DesnivelFiltrado"));
    edtTiempoTotal = figura(3, 0, QStringLiteral("Tiempo total:"), QStringLiteral("TiempoTotal"));
    edtTiempoMovimiento =
        figura(3, 2, QStringLiteral("Tiempo en movimiento:"), QStringLiteral("TiempoMovimiento"));
    edtTiempoParado =
        figura(4, 0, QStringLiteral("Tiempo parado:"), QStringLiteral("TiempoParado"));
    edtVelocidadMovimiento = figura(4, 2, QStringLiteral("Velocidad media en movimiento:"),
                                    QStringLiteral("VelocidadMovimiento"));
    v->addWidget(gDatos);

    dbgPuntos = new QTableView(this);
    dbgPuntos->setObjectName(QStringLiteral("dbgPuntos"));
    Modelo = new TPointsModel(&data->cdsPoints, this);
    dbgPuntos->setModel(Modelo);
    dbgPuntos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgPuntos->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgPuntos->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgPuntos->verticalHeader()->setDefaultSectionSize(20);
    dbgPuntos->verticalHeader()->hide();
    dbgPuntos->setAlternatingRowColors(true);
    const int widths[] = {130, 114, 154, 150, 115, 88, 125, 115, 95, 135};
    static_assert(std::size(widths) == TPointsModel::NumColumnas);
    for (int c = 0; c < TPointsModel::NumColumnas; ++c)
        dbgPuntos->setColumnWidth(c, widths[c]);
    v->addWidget(dbgPuntos, 1);

    connect(&data->cdsTrack, &TDataStore::DatosCambiados, this, &TPaginaDatos::refrescarCabecera);
    // Bounds taken from the points follow the points.
    connect(&data->cdsPoints, &TDataStore::DatosCambiados, this, &TPaginaDatos::refrescarCabecera);
    connect(&data->cdsPoints, &TDataStore::DatosCambiados, this, &TPaginaDatos::RefrescarFiguras);
    connect(Modelo, &QAbstractItemModel::modelReset, this, &TPaginaDatos::mostrarColumnas);
    refrescarCabecera();
    RefrescarFiguras();
    mostrarColumnas();
}

void TPaginaDatos::mostrarColumnas() {
    for (int c = 0; c < TPointsModel::NumColumnas; ++c)
        dbgPuntos->setColumnHidden(c, !Modelo->ColumnaConDatos(c));
}

void TPaginaDatos::RefrescarFiguras() {
    const QList<QLineEdit*> cajas{edtDesnivelFiltrado, edtTiempoTotal, edtTiempoMovimiento,
                                  edtTiempoParado, edtVelocidadMovimiento};
    for (QLineEdit* e : cajas)
        e->clear();
    const TTrackPointStore& puntos = FData->cdsPoints;
    if (!puntos.Active() || puntos.RecordCount() == 0)
        return;
    const auto figuras = FData->Figuras();
    if (figuras->Puntos() == 0)
        return;
    const TFigurasTramo f = figuras->Total();
    const QString metros = LookupText(QStringLiteral("_STR_MI_METERS"), QStringLiteral("metros"));
    edtDesnivelFiltrado->setText(QStringLiteral("%1 / %2 ")
                                     .arg(std::llround(f.AscensoFiltradoM))
                                     .arg(std::llround(f.DescensoFiltradoM)) +
                                 metros);
    edtTiempoTotal->setText(TextoDuracion(f.DuracionS));
    edtTiempoMovimiento->setText(TextoDuracion(f.MovimientoS));
    edtTiempoParado->setText(TextoDuracion(f.ParadoS));
    if (std::isfinite(f.VelocidadMovimientoKmh))
        edtVelocidadMovimiento->setText(QString::number(f.VelocidadMovimientoKmh, 'f', 2) +
                                        QStringLiteral(" km/h"));
    for (QLineEdit* e : cajas)
        e->setCursorPosition(0);
}

QLineEdit* TPaginaDatos::Caja(const QString& field) const {
    for (const auto& [name, box] : FCajas)
        if (name == field)
            return box;
    return nullptr;
}

void TPaginaDatos::SetColorTitulo(const QColor& color) {
    dbgPuntos->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; }").arg(color.name()));
}

namespace {
// The bounds of the points themselves, as the texts of the extreme points: for files
// that carry no bounds of their own. Empty when no point has a readable position.
std::map<QString, QString> limitesDePuntos(const TTrackPointStore& points) {
    double maxLat = 0, maxLon = 0, minLat = 0, minLon = 0;
    std::map<QString, QString> textos;
    bool alguno = false;
    for (int i = 0; i < points.RecordCount(); ++i) {
        double lat = 0, lon = 0;
        if (!IntentarLeerNumero(points.texto(i, CampoPunto::Lat), lat) ||
            !IntentarLeerNumero(points.texto(i, CampoPunto::Lon), lon))
            continue;
        const auto mirar = [&](bool mejor, double v, double& extremo, const char* campo,
                               CampoPunto f) {
            if (alguno && !mejor)
                return;
            extremo = v;
            textos[QLatin1String(campo)] = points.valor(i, f);
        };
        mirar(lat > maxLat, lat, maxLat, "maxlat", CampoPunto::Lat);
        mirar(lat < minLat, lat, minLat, "minlat", CampoPunto::Lat);
        mirar(lon > maxLon, lon, maxLon, "maxlon", CampoPunto::Lon);
        mirar(lon < minLon, lon, minLon, "minlon", CampoPunto::Lon);
        alguno = true;
    }
    return textos;
}
} // namespace

void TPaginaDatos::refrescarCabecera() {
    const auto& store = FData->cdsTrack;
    const bool hay = store.Active() && store.RecordCount() > 0;
    const QStringList limites{QStringLiteral("maxlat"), QStringLiteral("maxlon"),
                              QStringLiteral("minlat"), QStringLiteral("minlon")};
    bool sinLimites = hay;
    for (const QString& campo : limites)
        sinLimites = sinLimites && store.Valor(0, store.IndiceCampo(campo)).isEmpty();
    const std::map<QString, QString> dePuntos =
        sinLimites ? limitesDePuntos(FData->cdsPoints) : std::map<QString, QString>();
    for (const auto& [field, box] : FCajas) {
        const int f = store.IndiceCampo(field);
        QString texto = hay ? store.Valor(0, f) : QString();
        if (auto it = dePuntos.find(field); it != dePuntos.end())
            texto = it->second;
        box->setText(texto);
        box->setCursorPosition(0);
    }
}
