// A walk through the main window in each shipped language, with a track loaded: every
// page, every ribbon tab and the dialogs and message boxes that open without a network are
// shown, and every text the user can read on them is checked against the language files.
// In English each text must be the English text of some key (or plain data: numbers,
// paths, the track's own texts, names of products); in Spanish and Catalan no text may be
// an English text that the language translates, nor one of Qt's own English words.
// A second walk checks that no ribbon caption is cut off in any of the three languages.

#include "AppPaths.h"
#include "Configuracion.h"
#include "FormData.h"
#include "FormMain.h"
#include "GpxPrueba.h"
#include "IniTexto.h"
#include "Ribbon.h"
#include "VentanaPrueba.h"
#include "Verbario.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {
// A text as a language file holds it and as a control shows it, made comparable: no
// accelerator marks, no surrounding blanks or trailing dots and colons.
QString normal(QString t) {
    t.remove(QRegularExpression(QStringLiteral("&(?=[^&\\s])")));
    t.replace(QStringLiteral("&&"), QStringLiteral("&"));
    t = t.trimmed();
    while (t.endsWith(QLatin1Char(':')) || t.endsWith(QLatin1Char('.')) ||
           t.endsWith(QChar(0x2026)))
        t.chop(1);
    return t.trimmed();
}

// Every text of a language file, whole and line by line, normalised; texts with places
// ("%s") also as patterns.
struct TTextosIdioma {
    QSet<QString> textos;
    QList<QRegularExpression> patrones;

    bool tiene(const QString& t) const {
        if (textos.contains(t))
            return true;
        for (const QRegularExpression& re : patrones)
            if (re.match(t).hasMatch())
                return true;
        return false;
    }
};

TTextosIdioma textosDe(const QString& path) {
    TTextosIdioma r;
    const TIniTexto ini = TIniTexto::DesdeFichero(path);
    for (const QString& seccion :
         {QStringLiteral("FMain"), QStringLiteral("FSplash"), QStringLiteral("Misc")}) {
        for (const QString& clave : ini.Claves(seccion)) {
            const QString valor = ini.Valor(seccion, clave);
            QStringList partes = valor.split(QStringLiteral("*|*"));
            partes << QString(valor).replace(QStringLiteral("*|*"), QStringLiteral("\n"));
            for (const QString& p : partes) {
                const QString n = normal(p);
                if (n.isEmpty())
                    continue;
                r.textos << n;
                // A text with places, when words of its own remain around them (a line
                // that is only "%s" would match anything).
                static const QRegularExpression palabra(QStringLiteral("\\p{L}{3}"));
                const QString sinHuecos =
                    QString(n).remove(QLatin1String("%s")).remove(QLatin1String("%d"));
                if (sinHuecos.size() < n.size() && palabra.match(sinHuecos).hasMatch()) {
                    QString re = QRegularExpression::escape(n);
                    re.replace(QLatin1String("\\%s"), QLatin1String(".*"))
                        .replace(QLatin1String("\\%d"), QLatin1String("\\d+"))
                        .replace(QLatin1String("%s"), QLatin1String(".*"))
                        .replace(QLatin1String("%d"), QLatin1String("\\d+"));
                    r.patrones << QRegularExpression(QLatin1Char('^') + re + QLatin1Char('$'));
                }
            }
        }
    }
    return r;
}

// Qt's own English words on its standard buttons and dialogs: English in the English
// window, and translated by Qt's catalogues in the others.
const QSet<QString>& palabrasQt() {
    static const QSet<QString> words{
        QStringLiteral("OK"),
        QStringLiteral("Cancel"),
        QStringLiteral("Yes"),
        QStringLiteral("Open"),
        QStringLiteral("Save"),
        QStringLiteral("Close"),
        QStringLiteral("Print"),
        QStringLiteral("Look in"),
        QStringLiteral("File name"),
        QStringLiteral("Files of type"),
        QStringLiteral("Name"),
        QStringLiteral("Size"),
        QStringLiteral("Type"),
        QStringLiteral("Date Modified"),
        QStringLiteral("Back"),
        QStringLiteral("Forward"),
        QStringLiteral("Parent Directory"),
        QStringLiteral("Create New Folder"),
        QStringLiteral("List View"),
        QStringLiteral("Detail View"),
        QStringLiteral("Properties"),
        QStringLiteral("Options"),
        QStringLiteral("Printer"),
        QStringLiteral("Copies"),
        QStringLiteral("Pages"),
    };
    return words;
}

struct TTextoVisto {
    QString texto;
    QString donde;
    bool deQt = false; // inside one of Qt's standard dialogs, not set by the program
};

class TLector {
  public:
    QList<TTextoVisto> vistos;

    void anotar(const QString& texto, const QObject* o, const char* que, bool deQt = false) {
        const QString donde = QStringLiteral("%1 (%2) %3")
                                  .arg(o->objectName(), QLatin1String(o->metaObject()->className()),
                                       QLatin1String(que));
        for (const QString& linea : texto.split(QRegularExpression(QStringLiteral("[\r\n]+"))))
            if (!normal(linea).isEmpty())
                vistos << TTextoVisto{normal(linea), donde, deQt};
    }

    // The texts a user can read on the visible widgets of `raiz`.
    void leer(QWidget* raiz) {
        QList<QWidget*> widgets = raiz->findChildren<QWidget*>();
        widgets.prepend(raiz);
        for (QWidget* w : widgets) {
            if (!w->isVisible())
                continue;
            // The parts of a standard dialog that the program does not set itself.
            const bool deQt = dentroDeDialogoQt(w);
            if (w->isWindow())
                anotar(w->windowTitle(), w, "title");
            anotar(w->toolTip(), w, "tooltip", deQt);
            if (auto* l = qobject_cast<QLabel*>(w)) {
                const QString t = Qt::mightBeRichText(l->text())
                                      ? QTextDocumentFragment::fromHtml(l->text()).toPlainText()
                                      : l->text();
                anotar(t, w, "text", deQt);
            } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                anotar(b->text(), w, "text", deQt);
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                anotar(g->title(), w, "title", deQt);
            } else if (auto* c = qobject_cast<QComboBox*>(w)) {
                anotar(c->isEditable() ? c->lineEdit()->text() : c->currentText(), w, "text", deQt);
                for (int i = 0; i < c->count(); ++i)
                    anotar(c->itemText(i), w, "item", deQt);
            } else if (auto* t = qobject_cast<QTabBar*>(w)) {
                for (int i = 0; i < t->count(); ++i)
                    if (t->isTabVisible(i))
                        anotar(t->tabText(i), w, "tab", deQt);
            } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
                anotar(e->placeholderText(), w, "placeholder", deQt);
            } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
                if (w->objectName() != QLatin1String("mmLog")) // the program's own log
                    anotar(p->toPlainText(), w, "text", deQt);
            } else if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
                for (int i = 0; i < v->model()->columnCount(); ++i)
                    anotar(v->model()->headerData(i, Qt::Horizontal).toString(), w, "header", deQt);
            } else if (auto* cv = qobject_cast<QChartView*>(w); cv && cv->chart()) {
                anotar(cv->chart()->title(), w, "chart title");
                for (QAbstractAxis* a : cv->chart()->axes())
                    anotar(a->titleText(), w, "axis title");
            }
        }
    }

    void leerMenu(const QMenu* menu) {
        for (const QAction* a : menu->actions())
            if (a->isVisible() && !a->isSeparator())
                anotar(a->text(), a, "menu item");
    }

    // Whatever window opened over the main window (a message box, a file dialog, the
    // about window) is read and closed, so a walk never waits for a click.
    void leerYCerrarVentanas(const QWidget* principal) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == principal || !w->isVisible() || qobject_cast<QMenu*>(w) ||
                w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup)
                continue;
            leer(w);
            ++ventanasLeidas;
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
            else
                w->close();
        }
    }
    int ventanasLeidas = 0;

  private:
    static bool dentroDeDialogoQt(const QWidget* w) {
        const QWidget* ventana = w->window();
        const QString clase = QLatin1String(ventana->metaObject()->className());
        return w != ventana &&
               (clase == QLatin1String("QFileDialog") || clase == QLatin1String("QMessageBox") ||
                clase.startsWith(QLatin1String("QPrint")) ||
                clase.startsWith(QLatin1String("QUnixPrint")));
    }
};

// Data, not words of the program: numbers, dates, paths, addresses, the track's texts,
// names of products and formats that no language translates, and the language names.
bool esDato(const QString& t) {
    static const QRegularExpression sinLetras(QStringLiteral("^[^\\p{L}]*$"));
    static const QRegularExpression ruta(
        QStringLiteral("^<?/|^https?:|@|^\\S+\\.(gpx|kml|plt|bmp|pdf|png|jpg)$|^v\\. |"
                       "^Senderal\\s+v\\. "),
        QRegularExpression::CaseInsensitiveOption);
    // Names of the formats of the catalogue ("Garmin Training Center (*.TCX)") and lists
    // of extensions.
    static const QRegularExpression formato(QStringLiteral(
        "\\(\\*\\.[A-Z0-9]+\\)( \\(\\*\\.[a-z0-9]+ \\*\\.[A-Z0-9]+\\))?$|^[\\s(),A-Z0-9]+$"));
    static const QRegularExpression numeroConUnidad(
        QStringLiteral("^[-+\\d.,:\\s]+(m|km|km/h|h|s|%|MB)?$"));
    if (sinLetras.match(t).hasMatch() || ruta.match(t).hasMatch() ||
        numeroConUnidad.match(t).hasMatch() || formato.match(t).hasMatch())
        return true;
    static const QStringList propios{
        QStringLiteral("Walk"),        QStringLiteral("Senderal"),      QStringLiteral("GPSBabel"),
        QStringLiteral("Google Maps"), QStringLiteral("Google Earth"),  QStringLiteral("IBPIndex"),
        QStringLiteral("IBP Index"),   QStringLiteral("OpenStreetMap"), QStringLiteral("GPX"),
        QStringLiteral("KML"),         QStringLiteral("PLT"),           QStringLiteral("Debug/Log"),
        QStringLiteral("Internet"),    QStringLiteral("Zoom"),          QStringLiteral("walk"),
    };
    for (const QString& p : propios)
        if (t.compare(p, Qt::CaseInsensitive) == 0)
            return true;
    return ItemsIdioma().contains(t);
}

struct TIdiomaRecorrido {
    const char* fichero;
    const char* nombre;
};

class Recorrido : public ::testing::TestWithParam<TIdiomaRecorrido> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        SetAppDirOverride(FDir.path());
        CopiarDatosPrograma(FDir.path());
        escribirAjustes(GetParam().fichero);
        QFile gpx(FDir.filePath(QStringLiteral("walk.gpx")));
        ASSERT_TRUE(gpx.open(QIODevice::WriteOnly));
        gpx.write(PistaTresPuntos("Walk", 30, "walk"));
        FTrack = gpx.fileName();
        TFMain::ManejadorErrorGlobal = [this](const QString& t) { FErrores << t; };
    }
    void TearDown() override {
        FDatos.reset();
        FVentana.reset();
        EstablecerIdiomaActual(nullptr);
        TFMain::ManejadorErrorGlobal = nullptr;
        SetAppDirOverride(QString());
    }

    // No network: the update and IBP addresses are a port nobody answers on, and tracks
    // are not sent.
    void escribirAjustes(const char* idioma) {
        EscribirAjustesSinRed(QByteArray("UpdateURL=https://127.0.0.1:1/\r\n"
                                         "IBPIndexURL=http://127.0.0.1:1/\r\nIdioma=") +
                              idioma + "\r\n");
    }

    // The window as the program starts it, in the language of the settings; the desktop
    // opens nothing (no browser, no Google Earth here).
    TFMain& abrirVentana() {
        FVentana = std::make_unique<TFMain>(QStringList{QStringLiteral("senderal")});
        FDatos = std::make_unique<TFormData>(FVentana->Log);
        FVentana->SetFormData(FDatos.get());
        FVentana->AbrirDireccionWeb = [](const QUrl&) { return false; };
        FVentana->AbrirConAsociado = [](const QString&) { return false; };
        FVentana->resize(1280, 900);
        FVentana->show();
        EXPECT_TRUE(QTest::qWaitFor([this] { return FVentana->DoneVisualization; }, 20000));
        return *FVentana;
    }

    // Runs `accion` while every window it opens is read and closed.
    void conVentanas(TLector& lector, const std::function<void()>& accion) {
        QTimer vigia;
        vigia.setInterval(50);
        QObject::connect(&vigia, &QTimer::timeout,
                         [&] { lector.leerYCerrarVentanas(FVentana.get()); });
        vigia.start();
        accion();
        QTest::qWait(150);
        vigia.stop();
        lector.leerYCerrarVentanas(FVentana.get());
    }

    void leerPaginas(TFMain& w, TLector& lector);
    void leerDialogos(TFMain& w, TLector& lector);
    TLector recorrer(const char* idioma, const char* cambiarA = nullptr);

    QTemporaryDir FDir;
    QString FTrack;
    std::unique_ptr<TFMain> FVentana;
    std::unique_ptr<TFormData> FDatos;
    QStringList FErrores;
};

// Shows every central page and ribbon tab of the window and reads them.
void Recorrido::leerPaginas(TFMain& w, TLector& lector) {
    for (int i = 0; i < w.pcCentral->count(); ++i) {
        QWidget* pagina = w.pcCentral->widget(i);
        if (pagina == w.tsConvertir)
            continue; // never shown to the user
        w.pcCentral->setCurrentWidget(pagina);
        QTest::qWait(30);
        lector.leer(&w);
    }
    for (int i = 0; i < w.RibbonMain->count(); ++i) {
        w.RibbonMain->setCurrentIndex(i);
        QTest::qWait(10);
        lector.leer(&w);
    }
    lector.leerMenu(w.RibbonMain->applicationMenu());
}

// Opens the dialogs and message boxes: the open and save dialogs, the print dialogs, the
// about window, and the commands that cannot work here (no network, no browser, no Google
// Earth) and say so; last the question before closing, answered No.
void Recorrido::leerDialogos(TFMain& w, TLector& lector) {
    QList<QAction*> acciones{w.Action1,
                             w.ActionAcercaDe,
                             w.ActionExporGraficotBMP,
                             w.ActionImprimirRuta,
                             w.ActionGrabarPerfilImagen,
                             w.ActionImprimirPerfil,
                             w.ActionGrabarImagen,
                             w.ActionConvertKML,
                             w.ActionConvertPLT,
                             w.ActionVerGoogleEarth,
                             w.ActionGrabarIBPIndex,
                             w.ActionAbrirWebIBPIndex,
                             w.ActionBuscarUpdates};
    // The conversion wizard's save dialog, from the button in its destination box.
    w.ActionConversionRutas->trigger();
    acciones << w.findChild<QLineEdit*>(QStringLiteral("_edtFicheroSalida"))->actions().value(0);
    for (QAction* a : acciones) {
        SCOPED_TRACE(a->objectName().toStdString());
        const int antes = lector.ventanasLeidas;
        conVentanas(lector, [a] { a->trigger(); });
        EXPECT_GT(lector.ventanasLeidas, antes) << "nothing opened";
    }
    const int antes = lector.ventanasLeidas;
    conVentanas(lector, [&] {
        QTest::mouseClick(w.Label22, Qt::LeftButton, {}, QPoint(5, 5)); // translation invitation
    });
    conVentanas(lector, [&] { w.close(); });
    EXPECT_EQ(lector.ventanasLeidas - antes, 2) << "a box did not open";
}

// Starts the window in `idioma`, loads the track and reads everything. With `cambiarA`,
// the language is then changed with the selector, as a user would, and everything is
// read again; only what was read in the last language is returned.
TLector Recorrido::recorrer(const char* idioma, const char* cambiarA) {
    escribirAjustes(idioma);
    TFMain& w = abrirVentana();
    TLector lector;
    lector.leer(&w); // the start screen, before any track
    conVentanas(lector, [&] { w.CargarRuta(FTrack); });
    EXPECT_TRUE(FDatos->cdsTrack.Active()) << FErrores.join('\n').toStdString();
    leerPaginas(w, lector);
    if (cambiarA) {
        w.RibbonMain->setCurrentPage(w.rpMas);
        const int destino = int(FicherosIdioma().indexOf(QLatin1String(cambiarA)));
        w.outcbIdioma->setFocus();
        while (w.outcbIdioma->currentIndex() != destino) {
            const int antes = w.outcbIdioma->currentIndex();
            QTest::keyClick(w.outcbIdioma, antes < destino ? Qt::Key_Down : Qt::Key_Up);
            if (w.outcbIdioma->currentIndex() == antes)
                break;
        }
        EXPECT_EQ(w.FicheroIdioma().toStdString(), cambiarA);
        lector = TLector();
        leerPaginas(w, lector);
    }
    leerDialogos(w, lector);
    EXPECT_TRUE(FErrores.isEmpty()) << FErrores.join('\n').toStdString();
    FDatos.reset();
    FVentana.reset();
    return lector;
}

TEST_P(Recorrido, EveryVisibleTextIsInTheLanguageChosen) {
    const char* const idioma = GetParam().fichero;
    const bool ingles = QLatin1String(idioma) == QLatin1String("en.lng");
    // What the English window shows, place by place: the same text in the same place of
    // another language's window is a text that stayed English.
    QSet<QString> enIngles;
    QList<TTextoVisto> vistos;
    if (ingles) {
        vistos = recorrer(idioma).vistos;
    } else {
        for (const TTextoVisto& v : recorrer("en.lng").vistos)
            enIngles << v.donde + QLatin1Char('\n') + v.texto;
        // Started in the language, and changed to it from English.
        vistos = recorrer(idioma).vistos + recorrer("en.lng", idioma).vistos;
    }
    ASSERT_GT(vistos.size(), 100);

    const QString lang = QStringLiteral(SENDERAL_SOURCE_DIR "/data/lang/");
    const TTextosIdioma en = textosDe(lang + QStringLiteral("en.lng"));
    const TTextosIdioma propio = textosDe(lang + QString::fromLatin1(idioma));
    QSet<QString> fallos;
    for (const TTextoVisto& v : vistos) {
        if (esDato(v.texto))
            continue;
        const bool palabraQt = palabrasQt().contains(v.texto);
        bool malo;
        if (ingles)
            malo = !en.tiene(v.texto) && !(v.deQt || palabraQt);
        else
            // Qt's own words are Qt's catalogues' business ("No" is Spanish too): only
            // the known English ones count there.
            malo =
                (!v.deQt &&
                 (en.tiene(v.texto) || enIngles.contains(v.donde + QLatin1Char('\n') + v.texto)) &&
                 !propio.tiene(v.texto)) ||
                palabraQt;
        if (malo)
            fallos << v.donde + QStringLiteral(": \"") + v.texto + QLatin1Char('"');
    }
    QStringList lista = fallos.values();
    lista.sort();
    EXPECT_TRUE(lista.isEmpty()) << lista.size() << " texts not in the language:\n"
                                 << lista.join('\n').toStdString();
}

TEST_P(Recorrido, NoRibbonCaptionIsClipped) {
    TFMain& w = abrirVentana();
    TLector cargando;
    conVentanas(cargando, [&] { w.CargarRuta(FTrack); });
    ASSERT_TRUE(FDatos->cdsTrack.Active()) << FErrores.join('\n').toStdString();
    QStringList cortados;
    int medidos = 0;
    for (int i = 0; i < w.RibbonMain->count(); ++i) {
        w.RibbonMain->setCurrentIndex(i);
        QTest::qWait(20);
        for (QWidget* c : w.RibbonMain->findChildren<QWidget*>()) {
            if (!c->isVisible())
                continue;
            QString texto;
            int sitio = c->contentsRect().width();
            if (auto* b = qobject_cast<QToolButton*>(c)) {
                if (b->toolButtonStyle() == Qt::ToolButtonIconOnly)
                    continue; // its text is only its tool tip
                texto = b->text();
                if (b->toolButtonStyle() == Qt::ToolButtonTextBesideIcon && !b->icon().isNull())
                    sitio -= b->iconSize().width();
            } else if (auto* l = qobject_cast<QLabel*>(c); l && !l->wordWrap()) {
                texto = Qt::mightBeRichText(l->text())
                            ? QTextDocumentFragment::fromHtml(l->text()).toPlainText()
                            : l->text();
            }
            texto.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
            if (texto.isEmpty())
                continue;
            ++medidos;
            int ancho = 0;
            for (const QString& linea : texto.split(QLatin1Char('\n')))
                ancho = std::max(ancho, c->fontMetrics().horizontalAdvance(linea));
            if (ancho > sitio)
                cortados << QStringLiteral("%1 \"%2\": %3 px in %4 px")
                                .arg(c->objectName(), texto)
                                .arg(ancho)
                                .arg(sitio);
        }
    }
    EXPECT_GT(medidos, 0);
    EXPECT_TRUE(cortados.isEmpty()) << cortados.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Idiomas, Recorrido,
                         ::testing::Values(TIdiomaRecorrido{"en.lng", "English"},
                                           TIdiomaRecorrido{"es.lng", "Spanish"},
                                           TIdiomaRecorrido{"ca.lng", "Catalan"}),
                         [](const auto& info) { return std::string(info.param.nombre); });
} // namespace
