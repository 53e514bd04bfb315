// The IBP index as the main window drives it: a load ends with the query, the commands
// act on its result, closing the route empties the page.

#include "AppPaths.h"
#include "CargaAlMostrar.h"
#include "ConsultaIBP.h"
#include "Esperar.h"
#include "FormData.h"
#include "FormMain.h"
#include "GpxPrueba.h"
#include "IBPConfig.h"
#include "IndicadorOcupado.h"
#include "Log.h"
#include "PaginaIBP.h"
#include "Ribbon.h"
#include "ServidorPrueba.h"
#include "VentanaPrueba.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {
const QByteArray kSubida = "<a href=\"../analizado_ifr.asp?id=7&v=1\">Ver</a>\n"
                           "<a href=\"../analizado_pdf.asp?id=7\">PDF</a>\n";
const QByteArray kPdf("%PDF-1.4\n\0\xff\n%%EOF", 19);

class VentanaIBP : public ::testing::Test, public TVentanaPrueba {
  public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetAppDirOverride(dir.path());
        QDir().mkpath(CacheDir());
        QFile::copy(QStringLiteral(SENDERAL_APP_DIR "/GpxDS.dll"),
                    dir.filePath(QStringLiteral("GpxDS.dll")));
        track = Escribir(QStringLiteral("Tres.gpx"), PistaTresPuntos());
        SetIBPIndexURL(servidor.base());
        servidor.responder("/analizado_ifr.asp",
                           "<html><head><title>Analisis 7</title></head></html>");
        TRespuestaPrueba pdf;
        pdf.cuerpo = kPdf;
        servidor.responder("/analizado_pdf.asp", pdf);

        Abrir("EnviarIBP=True\r\n");
    }
    // A new window over settings that hold `config` (the upload leave, or none).
    void Abrir(const QByteArray& config) {
        cerrar();
        // No update check against the outside world.
        Escribir(FicheroConfig(), "[Config]\r\ncbConfigUpdateInicio_Checked=False\r\n" + config +
                                      "IBPIndexURL=" + servidor.base().toUtf8() + "\r\n");
        crear();
        ventana->PaginaIBP->Avisar = [this](const QString& t) { avisosPagina << t; };
        ventana->resize(1000, 700);
        ventana->show();
        QTest::qWait(50);
    }
    static QString FicheroConfig() {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
               QStringLiteral(".ini");
    }
    int Subidas() const {
        int n = 0;
        for (const TPeticionRecibida& p : servidor.peticiones)
            n += p.ruta.startsWith("/prebabel_e.asp") ? 1 : 0;
        return n;
    }
    QString Aviso() const {
        return ventana->PaginaIBP->pnlAvisoIBP->isVisible()
                   ? ventana->PaginaIBP->lblAvisoIBP->text()
                   : QString();
    }
    void TearDown() override {
        cerrar();
        SetIBPIndexURL({});
        SetAppDirOverride({});
    }

    QString Escribir(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    // The address the page shows, or shows as soon as it is opened.
    QString Url() const {
        return TCargaAlMostrar::De(ventana->PaginaIBP->wbIBPIndex)->Destino().toString();
    }
    QString UrlCargada() const { return ventana->PaginaIBP->wbIBPIndex->url().toString(); }
    QString Navegada() const { return servidor.base() + "analizado_ifr.asp?id=7&v=1"; }
    bool EnElLog(const QString& linea) const {
        for (const QString& l : ventana->Log->Lineas())
            if (l.endsWith(linea))
                return true;
        return false;
    }

    QTemporaryDir dir;
    TServidorPrueba servidor;
    QString track;
    QStringList avisosPagina;
};

TEST_F(VentanaIBP, LaCargaConsultaYLosComandosUsanElResultado) {
    servidor.responder("/prebabel_e.asp", TServidorPrueba::pagina(kSubida, 200, 500));
    ventana->CargarRuta(track);
    TIndicadorOcupado* pnlanim = ventana->PaginaIBP->pnlanim;
    EXPECT_TRUE(EnElLog(QStringLiteral("Iniciar el Query a IBPIndex...")));
    EXPECT_FALSE(pnlanim->isHidden());
    EXPECT_EQ(ventana->tsIBPIndex->property("Caption").toString(), QStringLiteral("Calculando..."));

    ASSERT_TRUE(Esperar([&] { return !ventana->PaginaIBP->IBPIndexPage().isEmpty(); }));
    EXPECT_EQ(ventana->PaginaIBP->IBPIndexPage(), Navegada());
    EXPECT_EQ(ventana->PaginaIBP->IBPIndexPDFFilename(),
              servidor.base() + "analizado_pdf.asp?id=7");
    EXPECT_TRUE(pnlanim->isHidden());
    EXPECT_EQ(ventana->rpIBPIndex->caption(), QStringLiteral("&IBPIndex"));
    EXPECT_EQ(ventana->tsIBPIndex->property("Caption").toString(), QStringLiteral("IBP Index"));
    EXPECT_EQ(Url(), Navegada());
    EXPECT_TRUE(EnElLog("NAVIGATE: " + Navegada()));
    EXPECT_EQ(UrlCargada(), QString()) << "the browser started before its page was opened";

    ventana->ActionVerIBPIndex->trigger();
    EXPECT_TRUE(Esperar([&] { return UrlCargada() == Navegada(); })) << UrlCargada().toStdString();
    ventana->PaginaIBP->Navegar(QStringLiteral("about:blank"));
    ventana->ActionRecalcularIBP->trigger();
    EXPECT_EQ(Url(), Navegada());
    EXPECT_TRUE(EnElLog("cargando: " + Navegada()));

    QStringList sugerencias;
    const QString destino = dir.filePath(QStringLiteral("guardado.pdf"));
    ventana->PaginaIBP->SDPDF = [&](const QString& sugerido) {
        sugerencias << sugerido;
        return destino;
    };
    ventana->ActionGrabarIBPIndex->trigger();
    EXPECT_EQ(sugerencias, QStringList{dir.filePath(QStringLiteral("Tres.pdf"))});
    QFile f(destino);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kPdf);

    QList<QUrl> abiertas;
    ventana->PaginaIBP->AbrirEnNavegador = [&](const QUrl& u) {
        abiertas << u;
        return true;
    };
    ventana->ActionAbrirWebIBPIndex->trigger();
    EXPECT_EQ(abiertas, QList<QUrl>{QUrl(servidor.base())});
}

TEST_F(VentanaIBP, CerrarLaRutaVaciaLaPaginaYOlvidaElResultado) {
    servidor.responder("/prebabel_e.asp", kSubida);
    ventana->CargarRuta(track);
    ASSERT_TRUE(Esperar([&] { return !ventana->PaginaIBP->IBPIndexPage().isEmpty(); }));

    ventana->ActionCerrarRutaExecute();
    EXPECT_EQ(ventana->PaginaIBP->IBPIndexPage(), QString());
    EXPECT_EQ(ventana->PaginaIBP->IBPIndexPDFFilename(), QString());
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));
    EXPECT_EQ(ventana->rpIBPIndex->caption(), QStringLiteral("Calculando..."));

    int dialogos = 0;
    ventana->PaginaIBP->SDPDF = [&](const QString&) {
        ++dialogos;
        return QString();
    };
    ventana->ActionGrabarIBPIndexExecute();
    EXPECT_EQ(dialogos, 0);
}

TEST_F(VentanaIBP, SinRedLaCargaSigueEnSilencio) {
    QTcpServer cerrado;
    cerrado.listen(QHostAddress::LocalHost, 0);
    SetIBPIndexURL(QStringLiteral("http://127.0.0.1:%1/").arg(cerrado.serverPort()));
    cerrado.close();
    ventana->CargarRuta(track);
    ASSERT_TRUE(Esperar([&] { return EnElLog(QStringLiteral("NAVIGATE: ")); }));
    EXPECT_TRUE(ventana->PaginaIBP->pnlanim->isHidden());
    EXPECT_EQ(ventana->PaginaIBP->IBPIndexPage(), QString());
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));
    EXPECT_TRUE(ventana->ActionGrabarIBPIndex->isEnabled());
}

TEST_F(VentanaIBP, AFailedQuerySaysWhyAndRecalculateTriesAgain) {
    struct Caso {
        const char* nombre;
        std::function<void(VentanaIBP&)> preparar;
        const char* motivo;
    };
    const Caso casos[] = {
        {"server refuses",
         [](VentanaIBP&) {
             QTcpServer cerrado;
             cerrado.listen(QHostAddress::LocalHost, 0);
             SetIBPIndexURL(QStringLiteral("http://127.0.0.1:%1/").arg(cerrado.serverPort()));
         },
         "rechazado la conexión"},
        {"server error",
         [](VentanaIBP& t) {
             t.servidor.encolar("/prebabel_e.asp", TServidorPrueba::pagina("x", 500));
         },
         "estado HTTP 500"},
        {"time-out",
         [](VentanaIBP& t) {
             TRespuestaPrueba colgada;
             colgada.modo = TRespuestaPrueba::Colgar;
             t.servidor.encolar("/prebabel_e.asp", colgada);
             t.ventana->PaginaIBP->Consulta->TiempoLimiteMs = 300;
         },
         "no ha respondido a tiempo"},
        {"answer without a result",
         [](VentanaIBP& t) {
             t.servidor.encolar("/prebabel_e.asp", TServidorPrueba::pagina("<p>?</p>"));
         },
         "no ha devuelto ningún resultado"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        Abrir("EnviarIBP=True\r\n");
        SetIBPIndexURL(servidor.base());
        servidor.responder("/prebabel_e.asp", kSubida);
        const int limiteHabitual = ventana->PaginaIBP->Consulta->TiempoLimiteMs;
        c.preparar(*this);
        QStringList avisos;
        ventana->PaginaIBP->Avisar = [&](const QString& t) { avisos << t; };
        ventana->CargarRuta(track);
        ventana->ActionVerIBPIndex->trigger();
        ASSERT_TRUE(Esperar([&] { return EnElLog(QStringLiteral("NAVIGATE: ")); }));
        EXPECT_TRUE(Aviso().startsWith(
            QStringLiteral("No se ha podido obtener el índice IBP de esta ruta.")))
            << Aviso().toStdString();
        EXPECT_TRUE(Aviso().contains(QString::fromUtf8(c.motivo))) << Aviso().toStdString();

        // The commands that need a result say why they cannot act.
        ventana->ActionGrabarIBPIndex->trigger();
        ASSERT_EQ(avisos.size(), 1);
        EXPECT_TRUE(avisos[0].contains(QStringLiteral("no se ha obtenido")));
        ventana->PaginaIBP->AbrirEnNavegador = [](const QUrl&) { return false; };
        ventana->ActionAbrirWebIBPIndex->trigger();
        ASSERT_EQ(avisos.size(), 2);
        EXPECT_TRUE(avisos[1].contains(IBPIndexURL())) << avisos[1].toStdString();

        // Recalculate uploads again; the success replaces the note. The retry gets the usual
        // time limit: the time-out row's short one would fail it on a busy machine.
        SetIBPIndexURL(servidor.base());
        ventana->PaginaIBP->Consulta->TiempoLimiteMs = limiteHabitual;
        const int antes = Subidas();
        ventana->ActionRecalcularIBP->trigger();
        ASSERT_TRUE(Esperar([&] { return !ventana->PaginaIBP->IBPIndexPage().isEmpty(); }, 5000));
        EXPECT_EQ(Subidas(), antes + 1);
        EXPECT_EQ(ventana->PaginaIBP->IBPIndexPage(), Navegada());
        EXPECT_EQ(Aviso(), QString());
    }
}

TEST_F(VentanaIBP, NothingIsSentBeforeTheAnswerNorAfterANo) {
    servidor.responder("/prebabel_e.asp", kSubida);
    Abrir(QByteArray()); // never asked
    ventana->ActionVerIBPIndex->trigger();
    QStringList preguntas;
    int subidasDuranteLaPregunta = -1;
    ventana->MensajePregunta = [&](const QString& q) {
        preguntas << q;
        QTest::qWait(300); // a request under way would reach the server meanwhile
        subidasDuranteLaPregunta = Subidas();
        return false;
    };
    ventana->CargarRuta(track);
    ASSERT_EQ(preguntas.size(), 1);
    EXPECT_TRUE(preguntas[0].contains(servidor.base())) << preguntas[0].toStdString();
    EXPECT_EQ(subidasDuranteLaPregunta, 0);
    EXPECT_FALSE(ventana->cbConfigEnviarIBP->isChecked());

    // A second load: no question, nothing sent; the page offers to send this track.
    ventana->ActionCerrarRutaExecute();
    ventana->CargarRuta(track);
    ventana->ActionVerIBPIndex->trigger();
    QTest::qWait(500);
    EXPECT_EQ(preguntas.size(), 1);
    EXPECT_EQ(servidor.peticiones.size(), 0);
    EXPECT_TRUE(Aviso().contains(QStringLiteral("no se ha enviado"))) << Aviso().toStdString();
    ventana->ActionRecalcularIBP->trigger();
    QTest::qWait(300);
    EXPECT_EQ(Subidas(), 0);

    // The button sends this track, once.
    QTest::mouseClick(ventana->PaginaIBP->btnAvisoIBP, Qt::LeftButton);
    ASSERT_TRUE(Esperar([&] { return !ventana->PaginaIBP->IBPIndexPage().isEmpty(); }, 5000));
    EXPECT_EQ(Subidas(), 1);
    EXPECT_EQ(Aviso(), QString());

    // The answer is kept with the settings.
    ventana->GuardarConfiguracion();
    QFile ini(dir.filePath(FicheroConfig()));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("EnviarIBP=False"));
}

TEST_F(VentanaIBP, AYesOrTheConfigurationPageLetsEveryLoadSend) {
    servidor.responder("/prebabel_e.asp", kSubida);
    struct Caso {
        const char* nombre;
        QByteArray config;
        bool respuesta;  // to the question, when it comes
        bool marcarCaja; // the user ticks the box on the configuration page first
        int preguntas;
    };
    const Caso casos[] = {
        {"answered Yes", QByteArray(), true, false, 1},
        {"stored Yes", "EnviarIBP=True\r\n", false, false, 0},
        {"stored No, then the box is ticked", "EnviarIBP=False\r\n", false, true, 0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        Abrir(c.config);
        const int antes = Subidas();
        int preguntas = 0;
        ventana->MensajePregunta = [&](const QString&) {
            ++preguntas;
            return c.respuesta;
        };
        if (c.marcarCaja) {
            ventana->pcCentral->setCurrentWidget(ventana->tsConfig);
            ventana->pcCentral->setVisible(true);
            QCheckBox* caja = ventana->cbConfigEnviarIBP;
            ASSERT_TRUE(Esperar([&] { return caja->isVisible(); }, 2000));
            QTest::mouseClick(caja, Qt::LeftButton, {}, QPoint(6, caja->height() / 2));
            ASSERT_TRUE(caja->isChecked());
        }
        ventana->CargarRuta(track);
        ASSERT_TRUE(Esperar([&] { return !ventana->PaginaIBP->IBPIndexPage().isEmpty(); }, 5000));
        EXPECT_EQ(Subidas(), antes + 1);
        EXPECT_EQ(preguntas, c.preguntas);
        EXPECT_TRUE(ventana->cbConfigEnviarIBP->isChecked());
    }
}
} // namespace
