#include "FormMain.h"

#include "ColorBox.h"
#include "Ribbon.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QUrl>

namespace {
const char* const PaginaInicio = "https://senderal.org/";

QIcon icono(const char* name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QString texto(const char* utf8) {
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

// How a command keeps a state: not at all, on/off (starting off or on), or as one of the
// animation's three buttons, of which at most one is down.
enum class Marca { Ninguna, Apagada, Encendida, Animacion };

// One command. The language files find its caption and hint by its object name.
struct Comando {
    QAction* TFMain::*accion;
    const char* nombre;
    const char* texto; // caption in Spanish
    const char* pista; // status-bar hint and tool tip
    const char* icono; // file in :/icons without ".svg"; none for a command without button
    QList<QKeySequence> teclas;
    Marca marca;
    // What the window itself does; the commands of a page are wired where the page is built.
    void (*orden)(TFMain&);
};

// One entry of the ribbon, in the order the ribbon shows them.
struct ElementoCinta {
    enum Tipo {
        Pagina,    // a tab: caption, object name, page member
        Grupo,     // a group of the last tab: caption, object name, optional body member
        Grande,    // a full-height button for a command, with an optional caption of its own
        Pequeno,   // a button of a column of three
        Separador, // a line between columns of small buttons
        Control,   // a control that is not a command, with an optional label
        Area,      // a free area: object name, body member
        Boton,     // a small button of its own (no command): object name, caption, icon
    } tipo;
    const char* texto = nullptr;
    const char* nombre = nullptr;
    QAction* TFMain::*accion = nullptr;
    TRibbonPage* TFMain::*pagina = nullptr;
    QWidget* TFMain::*cuerpo = nullptr;
    QToolButton* TFMain::*boton = nullptr;
    QWidget* (*crear)(TFMain&, QWidget* parent) = nullptr;
    const char* icono = nullptr;
};

ElementoCinta pagina(const char* caption, const char* name, TRibbonPage* TFMain::*member) {
    ElementoCinta e{ElementoCinta::Pagina};
    e.texto = caption;
    e.nombre = name;
    e.pagina = member;
    return e;
}
ElementoCinta grupo(const char* caption, const char* name, QWidget* TFMain::*body = nullptr) {
    ElementoCinta e{ElementoCinta::Grupo};
    e.texto = caption;
    e.nombre = name;
    e.cuerpo = body;
    return e;
}
ElementoCinta grande(QAction* TFMain::*action, const char* caption = nullptr) {
    ElementoCinta e{ElementoCinta::Grande};
    e.accion = action;
    e.texto = caption;
    return e;
}
ElementoCinta pequeno(QAction* TFMain::*action, const char* caption = nullptr) {
    ElementoCinta e{ElementoCinta::Pequeno};
    e.accion = action;
    e.texto = caption;
    return e;
}
ElementoCinta separador() {
    return ElementoCinta{ElementoCinta::Separador};
}
ElementoCinta control(QWidget* (*make)(TFMain&, QWidget*), const char* label = nullptr) {
    ElementoCinta e{ElementoCinta::Control};
    e.crear = make;
    e.texto = label;
    return e;
}
ElementoCinta area(const char* name, QWidget* TFMain::*body) {
    ElementoCinta e{ElementoCinta::Area};
    e.nombre = name;
    e.cuerpo = body;
    return e;
}
ElementoCinta boton(const char* name, const char* caption, const char* icon,
                    QToolButton* TFMain::*member) {
    ElementoCinta e{ElementoCinta::Boton};
    e.nombre = name;
    e.texto = caption;
    e.icono = icon;
    e.boton = member;
    return e;
}

// The ribbon's controls that are not commands.
QWidget* anchoLinea(TFMain& w, QWidget* parent) {
    w.seAnchoLinea = new QSpinBox(parent);
    w.seAnchoLinea->setObjectName(QStringLiteral("seAnchoLinea"));
    w.seAnchoLinea->setRange(1, 10);
    w.seAnchoLinea->setValue(1);
    w.seAnchoLinea->setToolTip(QStringLiteral("Ancho de línea"));
    w.seAnchoLinea->setStatusTip(QStringLiteral("Ancho de línea"));
    return w.seAnchoLinea;
}
QWidget* colorLinea(TFMain& w, QWidget* parent) {
    w.colbLinea = new TColorBox(Qt::red, parent);
    w.colbLinea->setObjectName(QStringLiteral("colbLinea"));
    w.colbLinea->setStatusTip(QStringLiteral("Color de línea"));
    return w.colbLinea;
}
QWidget* colorFondo(TFMain& w, QWidget* parent) {
    w.colbFondoGrafico = new TColorBox(Qt::white, parent);
    w.colbFondoGrafico->setObjectName(QStringLiteral("colbFondoGrafico"));
    w.colbFondoGrafico->setStatusTip(QStringLiteral("Color de fondo"));
    return w.colbFondoGrafico;
}
QWidget* zoomPerfil(TFMain& w, QWidget* parent) {
    w.cbZoomPerfil = new QComboBox(parent);
    w.cbZoomPerfil->setObjectName(QStringLiteral("cbZoomPerfil"));
    w.cbZoomPerfil->addItems({"10%", "25%", "50%", "75%", "100%", "150%", "200%", "400%"});
    w.cbZoomPerfil->setCurrentIndex(-1);
    w.cbZoomPerfil->setToolTip(QStringLiteral("Modificar el zoom para el perfil"));
    w.cbZoomPerfil->setStatusTip(QStringLiteral("Modificar el zoom para el perfil"));
    return w.cbZoomPerfil;
}
QWidget* selectorIdioma(TFMain& w, QWidget* parent) {
    w.outcbIdioma = new QComboBox(parent);
    w.outcbIdioma->setObjectName(QStringLiteral("outcbIdioma"));
    w.outcbIdioma->addItems({QStringLiteral("Español / Spanish"),
                             QStringLiteral("Inglés / English"),
                             QStringLiteral("Catalán / Catalan")});
    w.outcbIdioma->setToolTip(w.ActionCambiarIdioma->statusTip());
    w.outcbIdioma->setStatusTip(w.ActionCambiarIdioma->statusTip());
    return w.outcbIdioma;
}
QWidget* proponerTraduccion(TFMain& w, QWidget* parent) {
    w.Label22 = new QLabel(QStringLiteral("<a href=\"#\">Proponer traducción...</a>"), parent);
    w.Label22->setObjectName(QStringLiteral("Label22"));
    w.Label22->setCursor(Qt::PointingHandCursor);
    return w.Label22;
}
} // namespace

void TFMain::crearAcciones() {
    using K = QKeySequence;
    using T = TFMain;
    // clang-format off
    const Comando comandos[] = {
        // member, object name, caption, hint, icon, keys, state, what the window does
        {&T::Action1, "Action1", "&Abrir ruta...", "Abrir un fichero de track", "abrir",
         {K(K::Open)}, Marca::Ninguna, [](T& w) { w.ActionAbrirTrackExecute(); }},
        {&T::ActionCerrarRuta, "ActionCerrarRuta", "&Limpiar ruta",
         "Limpiar los datos de la ruta actual", "limpiar",
         {}, Marca::Ninguna, [](T& w) { w.ActionCerrarRutaExecute(); }},
        {&T::ActionCerrarAplicacion, "ActionCerrarAplicacion", "&Cerrar aplicación",
         "Cerrar la aplicación", "salir",
         {}, Marca::Ninguna, [](T& w) { w.close(); }},
        {&T::ActionAcercaDe, "ActionAcercaDe", "&Acerca de...", "Acerca de...", "acercade",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionConversionRutas, "ActionConversionRutas", "C&onvertir ruta...",
         "Acceder a la conversión de rutas", "convertir",
         {}, Marca::Ninguna, [](T& w) { w.ActionConversionRutasExecute(); }},
        {&T::ActionVerGraficoTrack, "ActionVerGraficoTrack", "&Ver Track",
         "Visualizar Gráfica del Track", "vertrack",
         {}, Marca::Ninguna, [](T& w) {
             w.MostrarPagina(w.tsGraficoRuta);
             w.RibbonMain->setCurrentPage(w.rpGrafico);
             w.ActionCentrarGraficoRuta->trigger();
         }},
        {&T::ActionVerGraficoMaps, "ActionVerGraficoMaps", "Ver &Google Maps",
         "Visualizar en Google Maps", "vermapa",
         {}, Marca::Ninguna, [](T& w) {
             w.MostrarPagina(w.tsGoogleMaps);
             w.RibbonMain->setCurrentPage(w.rpGoogleMaps);
         }},
        {&T::ActionVerGraficoPerfil, "ActionVerGraficoPerfil", "Ver &Perfil de ruta",
         "Visualizar perfil del track", "verperfil",
         {}, Marca::Ninguna, [](T& w) {
             // Any error while switching to the profile is ignored on purpose.
             try {
                 w.MostrarPagina(w.tsPerfil);
                 w.RibbonMain->setCurrentPage(w.rpPerfil);
             } catch (const std::exception&) {
             }
         }},
        {&T::ActionVerIBPIndex, "ActionVerIBPIndex", "Ver &IBPIndex", "Ver IBPIndex", "veribp",
         {}, Marca::Ninguna, [](T& w) {
             w.MostrarPagina(w.tsIBPIndex);
             w.RibbonMain->setCurrentPage(w.rpIBPIndex);
         }},
        {&T::ActionZoomIn, "ActionZoomIn", "Zoom &In", "CTRL+   Acercar el zoom", "zoomin",
         {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)}, Marca::Ninguna, nullptr},
        // The hint names Ctrl and '-', so that is the key.
        {&T::ActionZoomOut, "ActionZoomOut", "Zoom &Out", "CTRL-    Alejar el Zoom", "zoomout",
         {K(Qt::CTRL | Qt::Key_Minus)}, Marca::Ninguna, nullptr},
        {&T::ActionCentrarGraficoRuta, "ActionCentrarGraficoRuta", "&Centrar gráfico del track",
         "CTRL+W   Centrar el track", "centrar",
         {K(Qt::CTRL | Qt::Key_W)}, Marca::Ninguna, nullptr},
        {&T::ActionVerGrid, "ActionVerGrid", "Ver/Ocultar &Grid", "Visualizar/Ocultar el Grid",
         "grid",
         {K(Qt::CTRL | Qt::Key_G)}, Marca::Apagada, nullptr},
        {&T::ActionGraficoEdicion, "ActionGraficoEdicion", "Modo &Edición",
         "Cambiar a modo Edición", "edicion",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionGraficoMover, "ActionGraficoMover", "&Mover", "Mover el gráfico", "mover",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionVerConPuntos, "ActionVerConPuntos", "Ruta con &puntos",
         "Dibujar la ruta utilizando puntos", "puntos",
         {}, Marca::Apagada, nullptr},
        {&T::ActionVerConLineas, "ActionVerConLineas", "Ruta con &línea",
         "Dibujar la ruta utilizando linea", "lineas",
         {}, Marca::Encendida, nullptr},
        {&T::ActionImprimirRuta, "ActionImprimirRuta", "Imprimir gráfico",
         "Imprimir gráfico de la ruta", "imprimir",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionExporGraficotBMP, "ActionExporGraficotBMP", "Grabar como imagen",
         "Exportar gráfico como bmp", "grabarimagen",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionPLayAnim, "ActionPLayAnim", "", "Comenzar/reanudar la animación", "play",
         {}, Marca::Animacion, nullptr},
        {&T::ActionPauseAnim, "ActionPauseAnim", "", "Pausar la animación", "pause",
         {}, Marca::Animacion, nullptr},
        {&T::ActionStopAnim, "ActionStopAnim", "", "Detener la animación", "stop",
         {}, Marca::Animacion, nullptr},
        {&T::ActionGrabarImagen, "ActionGrabarImagen", "Grabar como Imagen",
         "Grabar la imagen del mapa", "grabarimagen",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionImprimirGoogleMaps, "ActionImprimirGoogleMaps", "Imprimir Mapa de Google",
         "Imprimir el mapa", "imprimir",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionVerGoogleEarth, "ActionVerGoogleEarth", "Ver en Google Earth",
         "Ver en Google Earth", "earth",
         {}, Marca::Ninguna, nullptr},
        // The two export commands are on no ribbon tab: their buttons live on a page that no
        // command shows.
        {&T::ActionConvertPLT, "ActionConvertPLT", "GPX  ->  PLT",
         "Convertir la ruta existente a formato PLT (OziExplorer)", "exportar",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionConvertKML, "ActionConvertKML", "GPX  ->  KML",
         "Convertir la ruta existente a formato KML (KeyHole Markup language -Google Maps-)",
         "exportar",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionPerfilVerRelleno, "ActionPerfilVerRelleno", "Ver relleno",
         "Ver relleno del gráfico", "relleno",
         {}, Marca::Encendida, nullptr},
        {&T::ActionImprimirPerfil, "ActionImprimirPerfil", "Imprimir Perfil",
         "Imprimir el perfil de la ruta", "imprimir",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionGrabarPerfilImagen, "ActionGrabarPerfilImagen", "Grabar como imagen",
         "Grabar imagen del perfil", "grabarimagen",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionImprimirIBPIndex, "ActionImprimirIBPIndex", "Imprimir IBPIndex",
         "Imprimir datos de IBPIndex", "imprimir",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionGrabarIBPIndex, "ActionGrabarIBPIndex", "Grabar IBPIndex en PDF",
         "Grabar IBPIndex en PDF", "pdf",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionRecalcularIBP, "ActionRecalcularIBP", "Recalcular &IBPIndex",
         "Recalcular IBPIndex", "recalcular",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionAbrirWebIBPIndex, "ActionAbrirWebIBPIndex", "Acerca de IBPIndex...", "Acerca de IBPIndex",
         "acercaibp",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionBuscarUpdates, "ActionBuscarUpdates", "Buscar &actualizaciones",
         "Buscar actualizaciones del programa", "actualizaciones",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionCambiarIdioma, "ActionCambiarIdioma", "",
         "Seleccionar idioma para la aplicación", "idioma",
         {}, Marca::Ninguna, nullptr},
        {&T::ActionSiguienteTab, "ActionSiguienteTab", "ActionSiguienteTab", "", nullptr,
         {K(Qt::CTRL | Qt::ALT | Qt::Key_Right), K(Qt::CTRL | Qt::Key_Right)}, Marca::Ninguna,
         [](T& w) { w.ActionSiguienteTabExecute(); }},
    };
    // clang-format on
    auto* animacion = new QActionGroup(this);
    animacion->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const Comando& c : comandos) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(c.nombre));
        a->setText(QString::fromUtf8(c.texto));
        a->setStatusTip(QString::fromUtf8(c.pista));
        a->setToolTip(QString::fromUtf8(c.pista));
        if (c.icono)
            a->setIcon(icono(c.icono));
        if (!c.teclas.isEmpty())
            a->setShortcuts(c.teclas);
        addAction(a); // shortcuts work wherever the focus is in the window
        a->setCheckable(c.marca != Marca::Ninguna);
        a->setChecked(c.marca == Marca::Encendida);
        if (c.marca == Marca::Animacion)
            animacion->addAction(a);
        this->*c.accion = a;
    }
    for (const Comando& c : comandos)
        if (c.orden)
            Conectar(this->*c.accion, [this, orden = c.orden] { orden(*this); });
}

QList<QAction*> TFMain::Acciones() const {
    return findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
}

void TFMain::crearRibbon() {
    RibbonMain = new TRibbon(this);
    setMenuWidget(RibbonMain);
    RibbonMain->setQuickAccess(Action1);

    using T = TFMain;
    const ElementoCinta cinta[] = {
        pagina("&Rutas", "rpRuta", &T::rpRuta),
        grupo("Fichero", "rgFichero"),
        grande(&T::Action1),
        grande(&T::ActionCerrarRuta),
        grupo("Conversión", "rgConversion"),
        grande(&T::ActionConversionRutas),
        grupo("Otros", "rgOtros"),
        grande(&T::ActionVerGraficoTrack),
        grande(&T::ActionVerGraficoMaps, "V&er Google Maps"),
        grande(&T::ActionVerGraficoPerfil),
        grande(&T::ActionVerIBPIndex),
        grupo("Salir", "rgSalir"),
        grande(&T::ActionCerrarAplicacion),

        pagina("&Gráfico ruta", "rpGrafico", &T::rpGrafico),
        grupo("-", "rgGraficoVer"),
        grande(&T::ActionVerGraficoTrack, "&Track"),
        grupo("Gráfico de ruta", "rgGraficoRuta"),
        pequeno(&T::ActionZoomIn),
        pequeno(&T::ActionZoomOut),
        pequeno(&T::ActionCentrarGraficoRuta),
        separador(),
        pequeno(&T::ActionVerGrid),
        pequeno(&T::ActionGraficoEdicion),
        pequeno(&T::ActionGraficoMover),
        separador(),
        pequeno(&T::ActionVerConPuntos),
        pequeno(&T::ActionVerConLineas),
        grupo("Elementos", "rgElementos"),
        control(anchoLinea, "&Ancho:"),
        control(colorLinea, "&Color: "),
        control(colorFondo, "&Fondo:"),
        grupo("Operaciones", "rgGraficoOperaciones"),
        grande(&T::ActionImprimirRuta, "&Imprimir gráfico"),
        grande(&T::ActionExporGraficotBMP, "&Grabar como imagen"),

        pagina("&Google Maps", "rpGoogleMaps", &T::rpGoogleMaps),
        grupo("-", "rgMapasVer"),
        grande(&T::ActionVerGraficoMaps, "&Ruta"),
        grupo("Operaciones", "rgMapasOperaciones"),
        grande(&T::ActionVerGoogleEarth, "&Ver en Google Earth"),
        grande(&T::ActionImprimirGoogleMaps, "&Imprimir Mapa de Google"),
        grande(&T::ActionGrabarImagen, "&Grabar como Imagen"),

        pagina("&Perfil de ruta", "rpPerfil", &T::rpPerfil),
        grupo("-", "rgPerfilVer"),
        grande(&T::ActionVerGraficoPerfil, "&Perfil de ruta"),
        grupo("Opciones", "rgPerfilOpciones"),
        pequeno(&T::ActionPerfilVerRelleno, "&Ver relleno"),
        control(zoomPerfil, "&Modificar Zoom:"),
        grupo("Operaciones", "rgPerfilOperaciones"),
        grande(&T::ActionImprimirPerfil, "&Imprimir Perfil"),
        grande(&T::ActionGrabarPerfilImagen, "&Grabar como imagen"),

        pagina("&IBPIndex", "rpIBPIndex", &T::rpIBPIndex),
        grupo("-", "rgIBPVer"),
        grande(&T::ActionVerIBPIndex, "&IBPIndex"),
        grupo("Operaciones...", "rgIBPOperaciones"),
        grande(&T::ActionImprimirIBPIndex, "I&mprimir IBPIndex"),
        grande(&T::ActionGrabarIBPIndex, "&Grabar IBPIndex en PDF"),
        grande(&T::ActionRecalcularIBP),
        grande(&T::ActionAbrirWebIBPIndex, "&Acerca de IBPIndex..."),

        pagina("Más...", "rpMas", &T::rpMas),
        grupo("Cambiar Tema", "rgCambiarTema"),
        area("pnlTemas", &T::rgCambiarTema),
        grupo("Idioma aplicación", "rgLanguage"),
        control(selectorIdioma),
        control(proponerTraduccion),
        grupo("Internet", "rgInternet"),
        grande(&T::ActionBuscarUpdates),
        grupo("...", "rgAcercaDe"),
        grande(&T::ActionAcercaDe),
        // Shown in developer mode only.
        grupo("Debug/Log", "rgDebugLog", &T::rgDebugLog),
        boton("btnVerLog", "Ver Log", "log", &T::btnVerLog),
        boton("btnVerConfig", "Ver Config", "config", &T::btnVerConfig),
        boton("btnFillCustomIni", "FillCustomIni;", "idioma", &T::btnFillCustomIni),
    };
    TRibbonPage* p = nullptr;
    TRibbonGroup* g = nullptr;
    for (const ElementoCinta& e : cinta) {
        switch (e.tipo) {
        case ElementoCinta::Pagina:
            p = RibbonMain->addPage(texto(e.texto), QLatin1String(e.nombre));
            this->*e.pagina = p;
            break;
        case ElementoCinta::Grupo:
            g = p->addGroup(texto(e.texto), QLatin1String(e.nombre));
            if (e.cuerpo)
                this->*e.cuerpo = g;
            break;
        case ElementoCinta::Grande:
            g->addLarge(this->*e.accion, texto(e.texto));
            break;
        case ElementoCinta::Pequeno:
            g->addSmall(this->*e.accion, texto(e.texto));
            break;
        case ElementoCinta::Separador:
            g->addSeparator();
            break;
        case ElementoCinta::Control:
            g->addSmallWidget(e.crear(*this, g), texto(e.texto));
            break;
        case ElementoCinta::Area:
            this->*e.cuerpo = g->addArea();
            (this->*e.cuerpo)->setObjectName(QLatin1String(e.nombre));
            break;
        case ElementoCinta::Boton: {
            auto* a = new QAction(icono(e.icono), QString::fromUtf8(e.texto), g);
            a->setObjectName(QLatin1String(e.nombre));
            this->*e.boton = g->addSmall(a);
            break;
        }
        }
    }
    connect(btnVerLog, &QToolButton::clicked, this, [this] { MostrarPagina(tsLog); });
    connect(btnVerConfig, &QToolButton::clicked, this, [this] { MostrarPagina(tsConfig); });

    // The application menu (key tip F): a separator where the table has no command; the
    // recent files follow its last section.
    // clang-format off
    QAction* TFMain::*const menu[] = {
        &T::Action1,
        nullptr,
        &T::ActionVerGraficoTrack, &T::ActionVerGraficoMaps, &T::ActionVerGraficoPerfil,
        &T::ActionVerIBPIndex,
        nullptr,
        &T::ActionCerrarAplicacion,
    };
    // clang-format on
    FMenuAplicacion = RibbonMain->applicationMenu();
    FMenuAplicacion->setToolTipsVisible(true);
    for (QAction* TFMain::*a : menu) {
        if (a)
            FMenuAplicacion->addAction(this->*a);
        else
            FMenuAplicacion->addSeparator();
    }
    FSeparadorRecientes = FMenuAplicacion->addSection(QStringLiteral("Documentos recientes"));

    connect(RibbonMain, &TRibbon::currentChanged, this,
            [this](int i) { Proteger([this, i] { RibbonMainTabChange(i); }); });
    connect(RibbonMain, &TRibbon::helpClicked, this,
            [this] { Proteger([this] { AbrirWeb(QUrl(QLatin1String(PaginaInicio))); }); });
}
