// The window-less pieces of the IBP index query: address extraction, the upload body,
// the base address setting and the answer files.

#include "EnlacesIBP.h"
#include "FormularioIBP.h"
#include "IBPConfig.h"
#include "RespuestaIBP.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kBase = QStringLiteral("http://ibp.test/es/");

struct CasoEnlaces {
    const char* guarda;
    const char* respuesta;
    const char* navigate; // after the base; nullptr = empty
    const char* pdf;      // after the base; nullptr = empty
};

QString ConBase(const char* resto) {
    return resto ? kBase + QString::fromUtf8(resto) : QString();
}

TEST(ExtraerEnlacesIBP, TablaDeRespuestas) {
    const CasoEnlaces casos[] = {
        {"the example: relative anchor and PDF link",
         "<p><a href=\"../analizado_ifr.asp?id=7&v=1\">Ver</a> "
         "<a href=\"../analizado_pdf.asp?id=7\">PDF</a></p>",
         "analizado_ifr.asp?id=7&v=1", "analizado_pdf.asp?id=7"},
        {"absolute anchor gives the same address as the relative one",
         "<a href=\"http://ibp.test/es/analizado_ifr.asp?id=7&v=1\">Ver</a>",
         "analizado_ifr.asp?id=7&v=1", nullptr},
        {"PDF link with a further attribute runs to the next link end",
         "<a href=\"../analizado_pdf.asp?id=7\" target=\"_blank\">PDF</a>", nullptr,
         "analizado_pdf.asp?id=7\" target=\"_blank"},
        {"no links at all", "<html><body>Error</body></html>", nullptr, nullptr},
        {"empty answer", "", nullptr, nullptr},
        {"links without their end are not taken",
         "<a href=\"../analizado_ifr.asp?id=7 <a href=\"../analizado_pdf.asp?id=7", nullptr,
         nullptr},
        {"relative link outside an anchor is not the analysis page",
         "<link href=\"../analizado_ifr.asp?id=9\">", nullptr, nullptr},
        {"search is case-sensitive", "<A HREF=\"../analizado_ifr.asp?id=7\">", nullptr, nullptr},
        {"anchor to another host is not taken",
         "<a href=\"http://otro.test/es/analizado_ifr.asp?id=1\">x</a>", nullptr, nullptr},
        {"first anchor wins",
         "<a href=\"../analizado_ifr.asp?id=1\">a</a><a href=\"../analizado_ifr.asp?id=2\">b</a>",
         "analizado_ifr.asp?id=1", nullptr},
        {"a PDF link before the analysis anchor does not disturb it",
         "<a href=\"../analizado_pdf.asp?id=3\">p</a>\r\n<a "
         "href=\"../analizado_ifr.asp?id=3\">a</a>",
         "analizado_ifr.asp?id=3", "analizado_pdf.asp?id=3"},
    };
    for (const CasoEnlaces& c : casos) {
        SCOPED_TRACE(c.guarda);
        const TEnlacesIBP e = ExtraerEnlacesIBP(QString::fromUtf8(c.respuesta), kBase);
        EXPECT_EQ(e.URLNavigate, ConBase(c.navigate));
        EXPECT_EQ(e.URLPDF, ConBase(c.pdf));
    }
}

TEST(ConstruirFormularioIBP, CuerpoExacto) {
    const QByteArray contenido("<gpx>\r\n\0bin\xff</gpx>", 18);
    const TFormularioIBP f =
        ConstruirFormularioIBP(QStringLiteral("/home/ana/rutas/Montseny.gpx"), contenido, "XyZ");
    EXPECT_EQ(f.TipoContenido, QByteArray("multipart/form-data; boundary=XyZ"));
    const QByteArray esperado =
        QByteArray("--XyZ\r\n"
                   "Content-Disposition: form-data; name=\"fichero\"; filename=\"Montseny.gpx\"\r\n"
                   "Content-Type: file\r\n"
                   "Content-Transfer-Encoding: binary\r\n"
                   "\r\n") +
        contenido + QByteArray("\r\n--XyZ--\r\n");
    EXPECT_EQ(f.Cuerpo, esperado);
}

TEST(ConstruirFormularioIBP, NombresQueRomperianLaCabecera) {
    struct {
        const char* guarda;
        QString nombre;
        QByteArray enCabecera;
    } casos[] = {
        {"quote in the name", QStringLiteral("/t/a\"b.gpx"), "filename=\"a%22b.gpx\"\r\n"},
        {"line break in the name", QStringLiteral("/t/a\nb.gpx"), "filename=\"a%0Ab.gpx\"\r\n"},
        {"accents as UTF-8", QStringLiteral("/t/Canigó.gpx"), "filename=\"Canig\xc3\xb3.gpx\"\r\n"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const TFormularioIBP f = ConstruirFormularioIBP(c.nombre, "x", "B");
        EXPECT_TRUE(f.Cuerpo.contains(c.enCabecera)) << f.Cuerpo.constData();
        EXPECT_EQ(f.Cuerpo.count("\r\n"), 7); // no header line was split
    }
}

TEST(ConstruirFormularioIBP, FronteraQueApareceEnElContenidoSeCambia) {
    const QByteArray contenido("linea\r\n--XyZ\r\notra");
    const TFormularioIBP f = ConstruirFormularioIBP(QStringLiteral("a.gpx"), contenido, "XyZ");
    EXPECT_NE(f.Frontera, QByteArray("XyZ"));
    EXPECT_FALSE(contenido.contains("--" + f.Frontera));
    EXPECT_TRUE(f.Cuerpo.startsWith("--" + f.Frontera + "\r\n"));
    EXPECT_TRUE(f.Cuerpo.endsWith("\r\n--" + f.Frontera + "--\r\n"));
    EXPECT_TRUE(f.TipoContenido.endsWith("boundary=" + f.Frontera));
}

namespace {
QString escribirTemporal(QTemporaryDir& dir, const QByteArray& contenido) {
    QFile f(dir.filePath(QStringLiteral("Ruta larga.gpx")));
    if (!f.open(QIODevice::WriteOnly) || f.write(contenido) != contenido.size())
        return {};
    return f.fileName();
}
} // namespace

// The body read from the file as it is sent is the form's body, byte for byte, whatever
// the pieces the network asks for and wherever it goes back to.
TEST(TCuerpoFormularioIBP, SendsTheFormsBodyWithoutHoldingTheFile) {
    QByteArray grande(3 * 1024 * 1024 + 17, '\0');
    for (int i = 0; i < grande.size(); ++i)
        grande[i] = char((i * 131) % 251);
    const struct {
        const char* guarda;
        QByteArray contenido;
    } casos[] = {{"small binary", QByteArray("<gpx>\r\n\0bin\xff</gpx>", 18)},
                 {"empty file", QByteArray()},
                 {"three megabytes", grande}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        QTemporaryDir dir;
        const QString path = escribirTemporal(dir, c.contenido);
        ASSERT_FALSE(path.isEmpty());
        const TFormularioIBP esperado = ConstruirFormularioIBP(path, c.contenido, "XyZ");
        TCuerpoFormularioIBP cuerpo;
        QString error;
        ASSERT_TRUE(cuerpo.Abrir(path, error, "XyZ")) << error.toStdString();
        EXPECT_EQ(cuerpo.TipoContenido(), esperado.TipoContenido);
        EXPECT_EQ(cuerpo.size(), esperado.Cuerpo.size());
        QByteArray leido;
        while (!cuerpo.atEnd()) {
            const QByteArray trozo = cuerpo.read(7777);
            ASSERT_FALSE(trozo.isEmpty());
            leido += trozo;
        }
        EXPECT_TRUE(leido == esperado.Cuerpo);
        // A resent request starts again from any place.
        const qint64 medio = cuerpo.size() / 2;
        ASSERT_TRUE(cuerpo.seek(medio));
        EXPECT_TRUE(cuerpo.readAll() == esperado.Cuerpo.mid(medio));
    }
}

TEST(TCuerpoFormularioIBP, ABoundaryFoundInTheFileIsChangedEvenAcrossItsBlocks) {
    QByteArray contenido(2 * 1024 * 1024, 'a');
    contenido.replace((1 << 20) - 2, 5, "--XyZ"); // straddles the first block's end
    QTemporaryDir dir;
    const QString path = escribirTemporal(dir, contenido);
    ASSERT_FALSE(path.isEmpty());
    TCuerpoFormularioIBP cuerpo;
    QString error;
    ASSERT_TRUE(cuerpo.Abrir(path, error, "XyZ"));
    EXPECT_NE(cuerpo.Frontera(), QByteArray("XyZ"));
    EXPECT_FALSE(contenido.contains("--" + cuerpo.Frontera()));
    const QByteArray todo = cuerpo.readAll();
    EXPECT_TRUE(todo.startsWith("--" + cuerpo.Frontera() + "\r\n"));
    EXPECT_TRUE(todo.endsWith("\r\n--" + cuerpo.Frontera() + "--\r\n"));
    EXPECT_EQ(cuerpo.TipoContenido(), "multipart/form-data; boundary=" + cuerpo.Frontera());

    TCuerpoFormularioIBP ausente;
    EXPECT_FALSE(ausente.Abrir(dir.filePath(QStringLiteral("no-hay.gpx")), error));
    EXPECT_TRUE(error.contains(QStringLiteral("no-hay.gpx"))) << error.toStdString();
}

TEST(IBPIndexURL, DireccionBaseDesdeLaConfiguracion) {
    struct {
        const char* guarda;
        const char* valor;
        QString base;
    } casos[] = {
        {"missing final slash is added", "http://127.0.0.1:8080/ibp", "http://127.0.0.1:8080/ibp/"},
        {"blanks around are dropped", "  https://ibp.test/es/  ", "https://ibp.test/es/"},
        {"empty value keeps the public address", "", IBPIndexURLPorDefecto()},
        {"not an address keeps the public address", "ibp index", IBPIndexURLPorDefecto()},
        {"other schemes keep the public address", "file:///etc/", IBPIndexURLPorDefecto()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        SetIBPIndexURL(QStringLiteral("http://antes.test/"));
        SetIBPIndexURL(QString::fromUtf8(c.valor));
        EXPECT_EQ(IBPIndexURL(), c.base);
    }
    EXPECT_TRUE(IBPIndexURLPorDefecto().startsWith(QLatin1String("https://")));
    EXPECT_TRUE(IBPIndexURLPorDefecto().endsWith(QLatin1Char('/')));
    SetIBPIndexURL({});
}

QByteArray LeerFichero(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(EscribirLineasCRLF, CadaLineaTerminaEnCRLF) {
    struct {
        const char* guarda;
        QString texto;
        QByteArray bytes;
    } casos[] = {
        {"LF lines", QStringLiteral("a\nb"), "a\r\nb\r\n"},
        {"CR LF kept, final break opens no line", QStringLiteral("a\r\nb\r\n"), "a\r\nb\r\n"},
        {"lone CR is a break", QStringLiteral("a\rb"), "a\r\nb\r\n"},
        {"empty lines kept", QStringLiteral("a\n\nb"), "a\r\n\r\nb\r\n"},
        {"empty answer gives an empty file", QString(), ""},
    };
    QTemporaryDir dir;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const QString path = dir.filePath(QStringLiteral("ibp.html"));
        ASSERT_TRUE(EscribirLineasCRLF(path, c.texto));
        EXPECT_EQ(LeerFichero(path), c.bytes);
    }
}

TEST(EscribirEntrada, RespuestaSeguidaDeCRLFYReemplazaLaAnterior) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("~res5.html"));
    ASSERT_TRUE(EscribirEntrada(path, QStringLiteral("una respuesta muy larga\nde dos lineas")));
    ASSERT_TRUE(EscribirEntrada(path, QStringLiteral("<p>x</p>")));
    EXPECT_EQ(LeerFichero(path), QByteArray("<p>x</p>\r\n"));
}

TEST(DecodificarRespuesta, SegunElCharset) {
    struct {
        const char* guarda;
        QByteArray cuerpo;
        QByteArray tipo;
        QString texto;
    } casos[] = {
        {"declared Latin-1", "Canig\xf3", "text/html; charset=ISO-8859-1",
         QStringLiteral("Canigó")},
        {"declared UTF-8 in quotes", "Canig\xc3\xb3", "text/html; charset=\"utf-8\"",
         QStringLiteral("Canigó")},
        {"no charset, valid UTF-8", "Canig\xc3\xb3", "text/html", QStringLiteral("Canigó")},
        {"no charset, not UTF-8 falls back to Latin-1", "Canig\xf3", "", QStringLiteral("Canigó")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        EXPECT_EQ(DecodificarRespuesta(c.cuerpo, c.tipo), c.texto);
    }
}
} // namespace
