// The page "IBP Index" with a real browser, against a stand-in of the service.

#include "PaginaIBP.h"
#include "AppPaths.h"
#include "CargaAlMostrar.h"
#include "ConsultaIBP.h"
#include "Esperar.h"
#include "IBPConfig.h"
#include "IndicadorOcupado.h"
#include "Log.h"
#include "ServidorPrueba.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {
const QByteArray kSubida = "<html><body>\n"
                           "<a href=\"../analizado_ifr.asp?id=7&v=1\">Ver</a>\n"
                           "<a href=\"../analizado_pdf.asp?id=7\">PDF</a>\n"
                           "</body></html>\n";
const QByteArray kAnalisis = "<html><head><title>Analisis 7</title></head>"
                             "<body><h1>IBP index: 42 HKG</h1></body></html>";
const QByteArray kPdf("%PDF-1.4\n\0\xff\n%%EOF", 19);

class PaginaIBP : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetAppDirOverride(dir.path());
        QDir().mkpath(CacheDir());
        SetIBPIndexURL(servidor.base());
        track = dir.filePath(QStringLiteral("Montseny.gpx"));
        QFile f(track);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<gpx></gpx>");
        f.close();
        servidor.responder("/analizado_ifr.asp", kAnalisis);
        TRespuestaPrueba pdf;
        pdf.cuerpo = kPdf;
        servidor.responder("/analizado_pdf.asp", pdf);
        servidor.responder("/calculando.htm", "<p>calculando</p>");

        pagina = std::make_unique<TPaginaIBP>(&log);
        pagina->resize(800, 600);
        pagina->show();
        pagina->SDPDF = [this](const QString& sugerido) {
            sugerencias << sugerido;
            return destinoPDF;
        };
        pagina->AbrirEnNavegador = [this](const QUrl& url) {
            abiertas << url;
            return true;
        };
        pagina->Avisar = [this](const QString& t) { avisos << t; };
        QObject::connect(pagina.get(), &TPaginaIBP::CaptionPagina, pagina.get(),
                         [this](const QString& c) { captionPagina = c; });
        QObject::connect(pagina.get(), &TPaginaIBP::CaptionCinta, pagina.get(),
                         [this](const QString& c) { captionCinta = c; });
    }
    void TearDown() override {
        pagina.reset();
        SetIBPIndexURL({});
        SetAppDirOverride({});
    }

    int Subidas() const {
        int n = 0;
        for (const auto& p : servidor.peticiones)
            n += p.ruta == "/prebabel_e.asp";
        return n;
    }
    // The address the page shows, or loads once control is back in the event loop.
    QString Url() const { return TCargaAlMostrar::De(pagina->wbIBPIndex)->Destino().toString(); }
    QString Navegada() const { return servidor.base() + "analizado_ifr.asp?id=7&v=1"; }
    QStringList Lineas(const QString& prefijo) const {
        QStringList r;
        for (const QString& l : log.Lineas())
            if (l.startsWith(prefijo))
                r << l;
        return r;
    }
    // Runs a load-time query to its end.
    void Consultar() {
        QSignalSpy resultado(pagina.get(), &TPaginaIBP::Resultado);
        pagina->ConsultarIBP(track);
        ASSERT_TRUE(resultado.wait(20000));
    }

    QTemporaryDir dir;
    TServidorPrueba servidor;
    TLog log;
    QString track;
    std::unique_ptr<TPaginaIBP> pagina;
    QStringList sugerencias;
    QString destinoPDF;
    QList<QUrl> abiertas;
    QStringList avisos;
    QString captionPagina, captionCinta;
};

TEST_F(PaginaIBP, LaCargaMuestraElIndicadorYLuegoElAnalisis) {
    servidor.responder("/prebabel_e.asp", TServidorPrueba::pagina(kSubida, 200, 400));
    QSignalSpy resultado(pagina.get(), &TPaginaIBP::Resultado);
    pagina->ConsultarIBP(track);

    EXPECT_TRUE(pagina->pnlanim->isVisible());
    EXPECT_TRUE(pagina->pnlanim->imgAnim->Animando());
    EXPECT_EQ(pagina->pnlanim->size(), QSize(67, 67));
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));
    EXPECT_EQ(captionPagina, QStringLiteral("Calculando..."));

    ASSERT_TRUE(resultado.wait(20000));
    EXPECT_EQ(resultado.at(0).at(0).toString(), Navegada());
    EXPECT_EQ(resultado.at(0).at(1).toString(), servidor.base() + "analizado_pdf.asp?id=7");
    EXPECT_FALSE(pagina->pnlanim->isVisible());
    EXPECT_FALSE(pagina->pnlanim->imgAnim->Animando());
    EXPECT_EQ(captionPagina, QStringLiteral("IBP Index"));
    EXPECT_EQ(captionCinta, QStringLiteral("&IBPIndex"));
    EXPECT_EQ(Url(), Navegada());
    EXPECT_TRUE(Esperar([&] { return pagina->wbIBPIndex->title() == "Analisis 7"; }))
        << pagina->wbIBPIndex->title().toStdString();
    EXPECT_EQ(Lineas("NAVIGATE: "), QStringList{"NAVIGATE: " + Navegada()});
}

TEST_F(PaginaIBP, ElIndicadorSeColocaAUnTercioDeLaVentana) {
    struct {
        const char* guarda;
        QSize ventana;
        QRect pagina; // the page inside the window
        QPoint pos;   // the indicator inside the page
    } casos[] = {
        {"page fills the window", QSize(900, 600), QRect(0, 0, 900, 600), QPoint(417, 167)},
        {"odd sizes round toward zero", QSize(1001, 751), QRect(0, 0, 1001, 751), QPoint(467, 217)},
        {"page below a ribbon", QSize(900, 600), QRect(0, 150, 900, 450), QPoint(417, 17)},
        {"one third above the page keeps it on the page", QSize(900, 600), QRect(0, 250, 900, 350),
         QPoint(417, 0)},
    };
    QWidget ventana;
    pagina->setParent(&ventana);
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        ventana.resize(c.ventana);
        pagina->setGeometry(c.pagina);
        pagina->ColocarIndicador();
        EXPECT_EQ(pagina->pnlanim->pos(), c.pos);
    }
    pagina->setParent(nullptr);
}

TEST_F(PaginaIBP, SinServicioSigueEnSilencio) {
    QTcpServer cerrado;
    cerrado.listen(QHostAddress::LocalHost, 0);
    SetIBPIndexURL(QStringLiteral("http://127.0.0.1:%1/").arg(cerrado.serverPort()));
    cerrado.close();
    Consultar();
    EXPECT_FALSE(pagina->pnlanim->isVisible());
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));
    EXPECT_EQ(Lineas("NAVIGATE"), QStringList{QStringLiteral("NAVIGATE: ")});
    EXPECT_EQ(captionCinta, QStringLiteral("&IBPIndex"));

    // Without a PDF address saving opens no dialog, and says why.
    EXPECT_FALSE(pagina->ActionGrabarIBPIndexExecute(track));
    EXPECT_TRUE(sugerencias.isEmpty());
    EXPECT_EQ(avisos.size(), 1);
}

TEST_F(PaginaIBP, RecargarVuelveALaPaginaSinSubirDeNuevo) {
    pagina->ActionRecalcularIBPExecute();
    EXPECT_EQ(Lineas("cargando"), QStringList{QStringLiteral("cargando: ")});
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));

    servidor.responder("/prebabel_e.asp", kSubida);
    Consultar();
    pagina->Navegar(servidor.base() + "calculando.htm");
    pagina->ActionRecalcularIBPExecute();
    EXPECT_EQ(Url(), Navegada());
    EXPECT_EQ(Lineas("cargando: ").last(), "cargando: " + Navegada());
    EXPECT_EQ(Subidas(), 1);
}

TEST_F(PaginaIBP, GrabarPDFDescargaEnElFicheroElegido) {
    servidor.responder("/prebabel_e.asp", kSubida);
    Consultar();

    destinoPDF.clear(); // the user cancels
    EXPECT_FALSE(pagina->ActionGrabarIBPIndexExecute(track));
    ASSERT_EQ(sugerencias.size(), 1);
    EXPECT_EQ(sugerencias[0], dir.filePath(QStringLiteral("Montseny.pdf")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Montseny.pdf"))));

    destinoPDF = dir.filePath(QStringLiteral("elegido.pdf"));
    EXPECT_TRUE(pagina->ActionGrabarIBPIndexExecute(track));
    QFile f(destinoPDF);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kPdf);
}

TEST_F(PaginaIBP, ImprimirPasaPorElDialogo) {
    servidor.responder("/prebabel_e.asp", kSubida);
    Consultar();
    ASSERT_TRUE(Esperar([&] { return pagina->wbIBPIndex->title() == "Analisis 7"; }));

    int dialogos = 0;
    pagina->DialogoImprimir = [&](QPrinter*) {
        ++dialogos;
        return false;
    };
    pagina->ActionImprimirIBPIndexExecute();
    EXPECT_EQ(dialogos, 1);
    EXPECT_FALSE(pagina->Imprimiendo());

    const QString salida = dir.filePath(QStringLiteral("impreso.pdf"));
    pagina->DialogoImprimir = [&](QPrinter* p) {
        ++dialogos;
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(salida);
        return true;
    };
    QSignalSpy impreso(pagina.get(), &TPaginaIBP::ImpresionTerminada);
    pagina->ActionImprimirIBPIndexExecute();
    EXPECT_EQ(dialogos, 2);
    ASSERT_TRUE(impreso.wait(30000));
    EXPECT_TRUE(impreso.at(0).at(0).toBool());
    EXPECT_FALSE(pagina->Imprimiendo());
    QFile f(salida);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF"));
}

TEST_F(PaginaIBP, CerrarLaRutaVaciaLaPaginaYDescartaLoPendiente) {
    servidor.responder("/prebabel_e.asp", TServidorPrueba::pagina(kSubida, 200, 600));
    QSignalSpy resultado(pagina.get(), &TPaginaIBP::Resultado);
    pagina->ConsultarIBP(track);
    ASSERT_TRUE(Esperar([&] { return Subidas() == 1; }));
    pagina->LimpiarIBP();
    EXPECT_FALSE(pagina->pnlanim->isVisible());
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));
    EXPECT_EQ(captionCinta, QStringLiteral("Calculando..."));
    QTest::qWait(1200);
    EXPECT_TRUE(resultado.isEmpty());
    EXPECT_EQ(Url(), QStringLiteral("about:blank"));
    EXPECT_FALSE(pagina->ActionGrabarIBPIndexExecute(track));
    EXPECT_TRUE(sugerencias.isEmpty());
}

TEST_F(PaginaIBP, AcercaDeAbreLaPaginaDelServicio) {
    pagina->ActionAbrirWebIBPIndexExecute();
    ASSERT_EQ(abiertas.size(), 1);
    EXPECT_EQ(abiertas[0], QUrl(servidor.base()));
}
} // namespace
