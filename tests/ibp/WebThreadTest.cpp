// The upload worker and the query's life, against a stand-in of the service on 127.0.0.1.

#include "WebThread.h"
#include "AppPaths.h"
#include "ConsultaIBP.h"
#include "IBPConfig.h"
#include "Log.h"
#include "ServidorPrueba.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {
const QByteArray kPaginaResultado = "<html><body>\n"
                                    "<p>IBP: 42</p>\n"
                                    "<a href=\"../analizado_ifr.asp?id=7&v=1\">Ver</a>\n"
                                    "<a href=\"../analizado_pdf.asp?id=7\">PDF</a>\n"
                                    "</body></html>\n";

const QByteArray kTrack("<?xml version=\"1.0\"?>\r\n<gpx>\0\xff--raro\r\n</gpx>", 43);

class IBPRed : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetAppDirOverride(dir.path());
        QDir().mkpath(CacheDir());
        SetIBPIndexURL(servidor.base());
        track = dir.filePath(QStringLiteral("Montseny.gpx"));
        QFile f(track);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kTrack);
    }
    void TearDown() override {
        SetIBPIndexURL({});
        SetAppDirOverride({});
    }

    // Runs one worker to its end while the stand-in serves it.
    std::unique_ptr<TWebThread> Ejecutar(const QString& fichero, int tiempoLimiteMs = 10000) {
        auto w = std::make_unique<TWebThread>(fichero, nullptr);
        w->TiempoLimiteMs = tiempoLimiteMs;
        QSignalSpy fin(w.get(), &QThread::finished);
        w->start();
        EXPECT_TRUE(fin.wait(20000)) << "the worker did not end";
        w->wait();
        return w;
    }

    QByteArray IbpHtml() const {
        QFile f(CacheDir() + QStringLiteral("ibp.html"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    TServidorPrueba servidor;
    QString track;
};

TEST_F(IBPRed, LaSubidaLlegaComoFormularioConElFicheroExacto) {
    servidor.responder("/prebabel_e.asp", kPaginaResultado);
    auto w = Ejecutar(QStringLiteral("  ") + track + QStringLiteral(" "));

    ASSERT_EQ(servidor.peticiones.size(), 1);
    const TPeticionRecibida& p = servidor.peticiones[0];
    EXPECT_EQ(p.metodo, QByteArray("POST"));
    EXPECT_EQ(p.ruta, QByteArray("/prebabel_e.asp"));
    const QByteArray tipo = p.cabeceras.value("content-type");
    ASSERT_TRUE(tipo.startsWith("multipart/form-data; boundary=")) << tipo.constData();
    const QByteArray frontera = tipo.mid(tipo.indexOf('=') + 1);
    const QByteArray esperado =
        "--" + frontera + "\r\n" +
        "Content-Disposition: form-data; name=\"fichero\"; filename=\"Montseny.gpx\"\r\n"
        "Content-Type: file\r\n"
        "Content-Transfer-Encoding: binary\r\n"
        "\r\n" +
        kTrack + "\r\n--" + frontera + "--\r\n";
    EXPECT_EQ(p.cuerpo, esperado);

    EXPECT_EQ(w->URLNavigate(), servidor.base() + "analizado_ifr.asp?id=7&v=1");
    EXPECT_EQ(w->UrlPDF(), servidor.base() + "analizado_pdf.asp?id=7");
    EXPECT_EQ(w->Response(), QString::fromUtf8(kPaginaResultado));
    QByteArray crlf = kPaginaResultado;
    crlf.replace("\n", "\r\n");
    EXPECT_EQ(IbpHtml(), crlf);
}

TEST_F(IBPRed, SigueLasRedirecciones) {
    struct {
        const char* guarda;
        int estado;
    } casos[] = {{"302 after the upload", 302}, {"303 after the upload", 303}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        servidor.peticiones.clear();
        TRespuestaPrueba r;
        r.estado = c.estado;
        r.cabecera("Location", servidor.base().toLatin1() + "resultado.asp?id=7");
        servidor.responder("/prebabel_e.asp", r);
        servidor.responder("/resultado.asp", kPaginaResultado);
        auto w = Ejecutar(track);
        ASSERT_EQ(servidor.peticiones.size(), 2);
        EXPECT_EQ(servidor.peticiones[1].ruta, QByteArray("/resultado.asp?id=7"));
        EXPECT_EQ(w->URLNavigate(), servidor.base() + "analizado_ifr.asp?id=7&v=1");
    }
}

TEST_F(IBPRed, CadaFalloTerminaEnSilencioConLosCamposVacios) {
    struct Caso {
        const char* guarda;
        std::function<void(TServidorPrueba&, QString&)> preparar;
        int tiempoLimiteMs;
    };
    const Caso casos[] = {
        {"server error, even with links in its page",
         [](TServidorPrueba& s, QString&) {
             s.responder("/prebabel_e.asp", kPaginaResultado, 500);
         },
         10000},
        {"not found", [](TServidorPrueba&, QString&) {}, 10000},
        {"garbage instead of HTTP",
         [](TServidorPrueba& s, QString&) {
             TRespuestaPrueba r;
             r.modo = TRespuestaPrueba::Basura;
             s.responder("/prebabel_e.asp", r);
         },
         10000},
        {"connection refused",
         [](TServidorPrueba&, QString& base) {
             QTcpServer cerrado;
             cerrado.listen(QHostAddress::LocalHost, 0);
             base = QStringLiteral("http://127.0.0.1:%1/").arg(cerrado.serverPort());
         },
         10000},
        {"server silent beyond the time-out",
         [](TServidorPrueba& s, QString&) {
             TRespuestaPrueba r;
             r.modo = TRespuestaPrueba::Colgar;
             s.responder("/prebabel_e.asp", r);
         },
         300},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.guarda);
        QFile::remove(CacheDir() + QStringLiteral("ibp.html"));
        QString base = servidor.base();
        c.preparar(servidor, base);
        SetIBPIndexURL(base);
        QElapsedTimer reloj;
        reloj.start();
        auto w = Ejecutar(track, c.tiempoLimiteMs);
        EXPECT_LT(reloj.elapsed(), 8000);
        EXPECT_TRUE(w->PeticionHecha);
        EXPECT_EQ(w->Response(), QString());
        EXPECT_EQ(w->URLNavigate(), QString());
        EXPECT_EQ(w->UrlPDF(), QString());
        EXPECT_FALSE(QFile::exists(CacheDir() + QStringLiteral("ibp.html")));
        servidor.responder("/prebabel_e.asp", TRespuestaPrueba{404, "", {}, {}, 0});
    }
}

TEST_F(IBPRed, FicheroDesaparecidoNoHacePeticionYDejaIbpHtmlVacio) {
    servidor.responder("/prebabel_e.asp", kPaginaResultado);
    for (const QString& nombre :
         {dir.filePath(QStringLiteral("borrado.gpx")), QString(), dir.path()}) {
        SCOPED_TRACE(nombre.toStdString());
        auto w = Ejecutar(nombre);
        EXPECT_FALSE(w->PeticionHecha);
        EXPECT_TRUE(servidor.peticiones.isEmpty());
        EXPECT_EQ(IbpHtml(), QByteArray());
        EXPECT_EQ(w->URLNavigate(), QString());
        EXPECT_EQ(w->UrlPDF(), QString());
    }
}

// ---- the query on the user-interface thread ----

class ConsultaRed : public IBPRed {
  protected:
    TLog log;
    QStringList LineasCon(const QString& prefijo) const {
        QStringList r;
        for (const QString& l : log.Lineas())
            if (l.startsWith(prefijo))
                r << l;
        return r;
    }
    QStringList FicherosRes() const {
        return QDir(CacheDir()).entryList({QStringLiteral("~res*.html")}, QDir::Files);
    }
};

TEST_F(ConsultaRed, ElFinalGuardaLasDireccionesElRegistroYLaRespuesta) {
    servidor.responder("/prebabel_e.asp", kPaginaResultado);
    TConsultaIBP consulta(&log);
    QSignalSpy terminado(&consulta, &TConsultaIBP::Terminado);
    consulta.Iniciar(track);
    EXPECT_TRUE(consulta.EnCurso());
    ASSERT_TRUE(terminado.wait(20000));
    EXPECT_FALSE(consulta.EnCurso());

    const QString nav = servidor.base() + "analizado_ifr.asp?id=7&v=1";
    EXPECT_EQ(terminado.at(0).at(0).toString(), nav);
    EXPECT_EQ(consulta.IBPIndexPage, nav);
    EXPECT_EQ(consulta.IBPIndexPDFFilename, servidor.base() + "analizado_pdf.asp?id=7");
    EXPECT_EQ(LineasCon(QStringLiteral("NAVIGATE: ")), QStringList{"NAVIGATE: " + nav});

    const QStringList res = FicherosRes();
    ASSERT_EQ(res.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^~res([0-9]|[1-9][0-9]{1,2})\\.html$"))
                    .match(res[0])
                    .hasMatch())
        << res[0].toStdString();
    QFile f(CacheDir() + res[0]);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kPaginaResultado + "\r\n");
}

TEST_F(ConsultaRed, UnFalloAcabaConNavigateSoloYSinDirecciones) {
    servidor.responder("/prebabel_e.asp", kPaginaResultado, 500);
    TConsultaIBP consulta(&log);
    consulta.IBPIndexPage = QStringLiteral("http://vieja/");
    consulta.IBPIndexPDFFilename = QStringLiteral("http://vieja.pdf");
    QSignalSpy terminado(&consulta, &TConsultaIBP::Terminado);
    consulta.Iniciar(track);
    ASSERT_TRUE(terminado.wait(20000));
    EXPECT_EQ(terminado.at(0).at(0).toString(), QString());
    EXPECT_EQ(consulta.IBPIndexPage, QString());
    EXPECT_EQ(consulta.IBPIndexPDFFilename, QString());
    EXPECT_EQ(LineasCon(QStringLiteral("NAVIGATE")), QStringList{QStringLiteral("NAVIGATE: ")});
}

TEST_F(ConsultaRed, ElResultadoDeUnaRutaAnteriorSeDescarta) {
    servidor.encolar("/prebabel_e.asp",
                     TServidorPrueba::pagina("<a href=\"../analizado_ifr.asp?id=1\">", 200, 1500));
    servidor.encolar("/prebabel_e.asp",
                     TServidorPrueba::pagina("<a href=\"../analizado_ifr.asp?id=2\">"));
    TConsultaIBP consulta(&log);
    QSignalSpy terminado(&consulta, &TConsultaIBP::Terminado);
    TWebThread* primera = consulta.Iniciar(track);
    QSignalSpy finPrimera(primera, &QThread::finished);
    ASSERT_TRUE(servidor.esperarPeticiones(1));
    consulta.Iniciar(track);

    ASSERT_TRUE(terminado.wait(20000));
    if (finPrimera.isEmpty()) {
        ASSERT_TRUE(finPrimera.wait(20000));
    }
    QTest::qWait(1700); // the first answer, had it been kept waiting for, comes now
    EXPECT_EQ(terminado.size(), 1);
    EXPECT_EQ(consulta.IBPIndexPage, servidor.base() + "analizado_ifr.asp?id=2");
    EXPECT_EQ(LineasCon(QStringLiteral("NAVIGATE: ")).size(), 1);
}

TEST_F(ConsultaRed, CerrarLaRutaDescartaLaConsultaEnCurso) {
    servidor.responder("/prebabel_e.asp", TServidorPrueba::pagina(kPaginaResultado, 200, 500));
    TConsultaIBP consulta(&log);
    consulta.IBPIndexPage = QStringLiteral("http://vieja/");
    QSignalSpy terminado(&consulta, &TConsultaIBP::Terminado);
    TWebThread* w = consulta.Iniciar(track);
    QSignalSpy fin(w, &QThread::finished);
    consulta.Descartar();
    EXPECT_FALSE(consulta.EnCurso());
    ASSERT_TRUE(fin.wait(20000));
    QTest::qWait(800);
    EXPECT_TRUE(terminado.isEmpty());
    EXPECT_EQ(consulta.IBPIndexPage, QString());
    EXPECT_EQ(consulta.IBPIndexPDFFilename, QString());
    EXPECT_TRUE(LineasCon(QStringLiteral("NAVIGATE")).isEmpty());
}

TEST_F(ConsultaRed, RecargarAntesDeCualquierResultadoRegistraCargandoSolo) {
    TConsultaIBP consulta(&log);
    EXPECT_EQ(consulta.Recargar(), QString());
    EXPECT_EQ(LineasCon(QStringLiteral("cargando")), QStringList{QStringLiteral("cargando: ")});
    EXPECT_TRUE(servidor.peticiones.isEmpty());
}

TEST_F(ConsultaRed, CerrarElProgramaConUnaConsultaColgadaNoEsperaAlTiempoLimite) {
    TRespuestaPrueba r;
    r.modo = TRespuestaPrueba::Colgar;
    servidor.responder("/prebabel_e.asp", r);
    QElapsedTimer reloj;
    {
        auto consulta = std::make_unique<TConsultaIBP>(&log);
        consulta->Iniciar(track);
        ASSERT_TRUE(servidor.esperarPeticiones(1));
        reloj.start();
    }
    EXPECT_LT(reloj.elapsed(), 3000);
}

// ---- the PDF download ----

TEST_F(IBPRed, DescargarURLEscribeElFicheroCompleto) {
    const QByteArray pdf("%PDF-1.4\n\0\xff binario\n%%EOF", 26);
    TRespuestaPrueba r;
    r.cuerpo = pdf;
    servidor.responder("/analizado_pdf.asp", r);
    TRespuestaPrueba red;
    red.estado = 302;
    red.cabecera("Location", "/analizado_pdf.asp?id=7");
    servidor.responder("/viejo_pdf.asp", red);

    for (const char* ruta : {"analizado_pdf.asp?id=7", "viejo_pdf.asp?id=7"}) {
        SCOPED_TRACE(ruta);
        const QString destino = dir.filePath(QStringLiteral("Montseny.pdf"));
        QFile::remove(destino);
        ASSERT_TRUE(DescargarURL(servidor.base() + ruta, destino));
        QFile f(destino);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), pdf);
    }
}

TEST_F(IBPRed, DescargaFallidaNoDejaUnPDFRoto) {
    TRespuestaPrueba basura;
    basura.modo = TRespuestaPrueba::Basura;
    servidor.responder("/basura.asp", basura);
    TRespuestaPrueba colgado;
    colgado.modo = TRespuestaPrueba::Colgar;
    servidor.responder("/colgado.asp", colgado);
    servidor.responder("/error.asp", "<p>error</p>", 500);
    QTcpServer cerrado;
    cerrado.listen(QHostAddress::LocalHost, 0);
    const QString rechazada = QStringLiteral("http://127.0.0.1:%1/x.pdf").arg(cerrado.serverPort());
    cerrado.close();

    const QString destino = dir.filePath(QStringLiteral("sub/Montseny.pdf"));
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    struct {
        const char* guarda;
        QString url;
    } casos[] = {
        {"not found", servidor.base() + "nada.asp"},
        {"server error", servidor.base() + "error.asp"},
        {"garbage", servidor.base() + "basura.asp"},
        {"silent server", servidor.base() + "colgado.asp"},
        {"connection refused", rechazada},
        {"empty address", QString()},
        {"relative address", QStringLiteral("analizado_pdf.asp?id=7")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        QFile anterior(destino);
        ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
        anterior.write("previous PDF");
        anterior.close();
        EXPECT_FALSE(DescargarURL(c.url, destino, 500));
        QFile f(destino);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("previous PDF"));
        EXPECT_EQ(QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files),
                  QStringList{QStringLiteral("Montseny.pdf")});
    }
}
} // namespace
