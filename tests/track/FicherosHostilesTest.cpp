// Odd and hostile track files: deep nesting, huge values, broken encodings, files that
// change or grow while they are read. Every input is generated here.
#include "FicheroRegular.h"
#include "FicherosPrueba.h"
#include "FormData.h"
#include "ImprimirQt.h"
#include "Log.h"
#include "SenderalError.h"
#include "XmlScanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

namespace {
QByteArray pistaDePuntos(int n, const QByteArray& lat = "41.5") {
    QByteArray b = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"><trk>"
                   "<name>Pista</name><trkseg>\n";
    for (int i = 0; i < n; ++i)
        b += "<trkpt lat=\"" + lat + "\" lon=\"2." + QByteArray::number(i) +
             "\"><ele>100</ele></trkpt>\n";
    return b + "</trkseg></trk></gpx>\n";
}

class FicherosHostiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(CopiarMapeo(dir.path()));
        data.CarpetaMapeo = dir.path();
        data.MostrarError = [](const QString&) {};
        ruta = dir.filePath(QStringLiteral("pista.gpx"));
    }

    void escribir(const QByteArray& bytes) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // Opens the file; the reason of a failure, empty when the track opened.
    QString abrir() {
        data.VaciarYCerrar();
        const qsizetype desde = log.Lineas().size();
        data.XMLDataFile = ruta;
        data.OpenData();
        if (data.cdsTrack.Active())
            return QString();
        for (const QString& l : log.Lineas().mid(desde))
            if (l.startsWith(QLatin1String("ERROR: ")))
                return l;
        return QStringLiteral("(no ERROR line)");
    }

    QTemporaryDir dir;
    QString ruta;
    TLog log;
    TFormData data{&log};
};

QByteArray anidado(int niveles) {
    QByteArray b = "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk>";
    for (int i = 1; i < niveles; ++i)
        b += "<a>";
    for (int i = 1; i < niveles; ++i)
        b += "</a>";
    return b + "</gpx>";
}
} // namespace

TEST_F(FicherosHostiles, NestingDeeperThanAnyTrackNeedsIsRefused) {
    const struct {
        const char* guarda;
        int niveles;
        bool abre;
    } casos[] = {{"a thousand levels open", 1000, true},
                 {"one more is refused", 1001, false},
                 {"a million levels are refused at once", 1000000, false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        escribir(anidado(c.niveles));
        const QString motivo = abrir();
        if (c.abre) {
            EXPECT_TRUE(motivo.isEmpty()) << motivo.toStdString();
        } else {
            EXPECT_TRUE(motivo.contains(QStringLiteral("anidados a más de 1000 niveles")))
                << motivo.toStdString();
            EXPECT_TRUE(motivo.contains(QStringLiteral("línea 1, columna")))
                << motivo.toStdString();
        }
    }
}

TEST_F(FicherosHostiles, ARepeatedAttributeAmongThousandsIsTheFirstOneInTheTag) {
    // A point whose start tag carries `n` more attributes: attribute i is named like
    // attribute `repite[i]` when there is one, and attribute `roto` has no quotes.
    // Names share a long beginning, so that only their last bytes tell them apart.
    const auto etiqueta = [](int n, const std::map<int, int>& repite, int roto,
                             int* columnaDe = nullptr, int cual = -1) {
        const auto nombre = [](int i) {
            return "atributo-de-nombre-largo-" + QByteArray::number(i);
        };
        QByteArray b = "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"1\" lon=\"2\"";
        for (int i = 0; i < n; ++i) {
            b += ' ';
            if (i == cual && columnaDe)
                *columnaDe = int(b.size()) + 1;
            const auto r = repite.find(i);
            b += nombre(r == repite.end() ? i : r->second);
            b += i == roto ? "=5" : "=\"\"";
        }
        return b + "/></trkseg></trk></gpx>";
    };
    // Twenty repeats past the first: the first in the tag must be told whatever the
    // order in which the names happen to be checked.
    std::map<int, int> veinte;
    for (int k = 0; k < 20; ++k)
        veinte[3000 + 50 * k] = 10 + k;
    int columna = 0;
    const struct {
        const char* guarda;
        QByteArray bytes;
        const char* motivo; // empty: the point opens
        int columna;
    } casos[] = {
        {"five thousand names, none repeated", etiqueta(5000, {}, -1), "", 0},
        {"the earliest of twenty repeats", etiqueta(5000, veinte, -1, &columna, 3000),
         "atributo 'atributo-de-nombre-largo-10' repetido", columna},
        {"a repeat before an attribute without quotes",
         etiqueta(5000, {{2000, 7}}, 4000, &columna, 2000),
         "atributo 'atributo-de-nombre-largo-7' repetido", columna},
        {"an attribute without quotes before a repeat", etiqueta(5000, {{4000, 7}}, 2000),
         "se esperaba un valor entre comillas", 0},
        // lat and lon come first: the sixteenth of the tag is the last one checked one
        // by one, the seventeenth the first one checked with the rest.
        {"the sixteenth repeating the third", etiqueta(14, {{13, 0}}, -1, &columna, 13),
         "atributo 'atributo-de-nombre-largo-0' repetido", columna},
        {"the seventeenth repeating the third", etiqueta(15, {{14, 0}}, -1, &columna, 14),
         "atributo 'atributo-de-nombre-largo-0' repetido", columna},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        escribir(c.bytes);
        const QString motivo = abrir();
        if (*c.motivo == 0) {
            EXPECT_EQ(motivo, QString());
            EXPECT_EQ(data.cdsPoints.RecordCount(), 1);
            continue;
        }
        EXPECT_TRUE(motivo.contains(QString::fromUtf8(c.motivo))) << motivo.toStdString();
        if (c.columna > 0) {
            EXPECT_TRUE(motivo.contains(QStringLiteral("línea 1, columna %1: ").arg(c.columna)))
                << motivo.toStdString();
        }
    }
}

TEST_F(FicherosHostiles, MessagesQuoteAtMostEightyCharactersOfAValue) {
    const QByteArray largo(200000, 'x');
    const QByteArray numeroLargo = "4" + QByteArray(200000, '1') + "x";
    const struct {
        const char* guarda;
        QByteArray bytes;
        const char* pieza; // what the message still says
    } casos[] = {
        {"a mismatched closing tag", "<gpx><" + largo + "></b></gpx>", "se esperaba"},
        {"an undeclared entity", "<gpx><trk><name>&" + largo + ";</name></trk></gpx>", "entidad"},
        {"a repeated attribute", "<gpx " + largo + "=\"1\" " + largo + "=\"2\"/>", "repetido"},
        {"an unknown encoding", "<?xml version=\"1.0\" encoding=\"" + largo + "\"?><gpx/>",
         "codificación"},
        {"a root that is not gpx", "<" + largo + "/>", "no es un fichero GPX"},
        {"a latitude that is no number", pistaDePuntos(2, numeroLargo), "no es un valor numérico"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        escribir(c.bytes);
        QString motivo = abrir();
        if (motivo.isEmpty()) { // the texts open; the measures refuse them
            try {
                data.Medidas()->ComprobarMedidas();
            } catch (const ESenderalError& e) {
                motivo = e.text();
            }
        }
        EXPECT_TRUE(motivo.contains(QString::fromUtf8(c.pieza))) << motivo.left(300).toStdString();
        EXPECT_LT(motivo.size(), 400) << motivo.left(300).toStdString();
        EXPECT_TRUE(motivo.contains(QChar(0x2026))) << "the cut is marked";
    }
}

TEST_F(FicherosHostiles, WideEncodingsEndingInTheMiddleOfACharacter) {
    const QString texto = QString::fromUtf8(pistaDePuntos(3));
    const auto codificar = [&texto](QStringConverter::Encoding e, bool marca) {
        QStringEncoder enc(e, marca ? QStringConverter::Flag::WriteBom
                                    : QStringConverter::Flag::Default);
        return QByteArray(enc.encode(texto));
    };
    const struct {
        const char* guarda;
        QByteArray bytes;
        int sueltos;
    } casos[] = {
        {"UTF-16LE with a mark and a stray byte", codificar(QStringConverter::Utf16LE, true) + "\n",
         1},
        {"UTF-16BE with a mark and a stray byte", codificar(QStringConverter::Utf16BE, true) + "\n",
         1},
        {"UTF-16LE without a mark and a stray byte",
         codificar(QStringConverter::Utf16LE, false) + "\n", 1},
        {"UTF-32LE with three stray bytes", codificar(QStringConverter::Utf32LE, true) + "\n\n\n",
         3},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        escribir(c.bytes);
        const QString motivo = abrir();
        EXPECT_TRUE(motivo.contains(QStringLiteral("termina a medias de un carácter")))
            << motivo.toStdString();
        escribir(c.bytes.chopped(c.sueltos));
        EXPECT_EQ(abrir(), QString()) << "the same file without the stray bytes opens";
        EXPECT_EQ(data.cdsPoints.RecordCount(), 3);
    }
}

TEST_F(FicherosHostiles, LongFilesAreDecodedWholeInEveryEncoding) {
    // Several megabytes, decoded a block of 1 MiB at a time: a character outside the
    // basic plane (two UTF-16 units) straddles the first blocks' boundaries.
    const QString doc =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?><gpx version=\"1.1\">"
                       "<trk><name>%2</name><trkseg><trkpt lat=\"1\" lon=\"2\"/>"
                       "</trkseg></trk></gpx>");
    const QString andando = QStringLiteral("\U0001F6B6");
    const struct {
        const char* guarda;
        const char* declarada;
        QStringConverter::Encoding codificacion;
        bool soloLatin1;
    } casos[] = {{"UTF-16LE", "UTF-16", QStringConverter::Utf16LE, false},
                 {"UTF-16BE", "UTF-16", QStringConverter::Utf16BE, false},
                 {"Latin-1", "ISO-8859-1", QStringConverter::Latin1, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const qsizetype prefijo =
            doc.indexOf(QLatin1String("%2")) - 2 + qsizetype(strlen(c.declarada));
        QString nombre;
        for (int bloque = 1; bloque <= 3; ++bloque) {
            // Units after the byte-order mark up to the boundary, less one.
            const qsizetype hasta = qsizetype(bloque) * (1 << 19) - 1 - prefijo;
            nombre += QString(hasta - nombre.size(), QChar(0xE9));
            nombre += c.soloLatin1 ? QStringLiteral("\u00F1\u00F1") : andando;
        }
        nombre += QString(1000, QChar(0xE9));
        QStringEncoder enc(c.codificacion, c.soloLatin1 ? QStringConverter::Flag::Default
                                                        : QStringConverter::Flag::WriteBom);
        escribir(enc.encode(doc.arg(QLatin1String(c.declarada), nombre)));
        ASSERT_EQ(abrir(), QString());
        EXPECT_TRUE(data.cdsTrack.Cabecera().name == nombre);
    }
}

TEST(DocumentoUtf8, BlocksOfAnySizeGiveTheWholeDocument) {
    // A file is decoded as it is read: the encoding is told by the first bytes, which
    // may come one at a time, and a character may be cut anywhere between two blocks.
    const QString nombre = QStringLiteral("S\u00F3ller \u00E9t\u00E9 \u00F1");
    const QString ancho = nombre + QStringLiteral(" \u20AC \u4E2D \U0001F6B6");
    const auto doc = [](const char* declarada, const QString& n, int espacios = 0) {
        return QStringLiteral("<?xml version=\"1.0\"%1 encoding=\"%2\"?>\n<gpx><trk><name>%3"
                              "</name></trk></gpx>\n")
            .arg(QString(espacios, QLatin1Char(' ')), QLatin1String(declarada), n);
    };
    const auto codificar = [](QStringConverter::Encoding e, bool marca, const QString& t) {
        QStringEncoder enc(e, marca ? QStringConverter::Flag::WriteBom
                                    : QStringConverter::Flag::Default);
        return QByteArray(enc.encode(t));
    };
    const struct {
        const char* guarda;
        QByteArray bytes;
        QString texto; // the document expected, empty for an error
        const char* error;
    } casos[] = {
        {"UTF-8 with its mark", codificar(QStringConverter::Utf8, true, doc("UTF-8", ancho)),
         QChar(0xFEFF) + doc("UTF-8", ancho), ""},
        {"UTF-16LE with its mark", codificar(QStringConverter::Utf16LE, true, doc("UTF-16", ancho)),
         doc("UTF-16", ancho), ""},
        {"UTF-16BE with its mark", codificar(QStringConverter::Utf16BE, true, doc("UTF-16", ancho)),
         doc("UTF-16", ancho), ""},
        {"UTF-16LE without a mark",
         codificar(QStringConverter::Utf16LE, false, doc("UTF-16", ancho)), doc("UTF-16", ancho),
         ""},
        {"UTF-32LE with its mark", codificar(QStringConverter::Utf32LE, true, doc("UTF-32", ancho)),
         doc("UTF-32", ancho), ""},
        {"ISO-8859-1", codificar(QStringConverter::Latin1, false, doc("ISO-8859-1", nombre)),
         doc("ISO-8859-1", nombre), ""},
        {"windows-1252, with the euro sign it has and Latin-1 lacks",
         doc("windows-1252", QString()).toLatin1().replace("<name>", "<name>\x80 S\xF3ller"),
         doc("windows-1252", QStringLiteral("\u20AC S\u00F3ller")), ""},
        {"a declaration longer than the first blocks",
         codificar(QStringConverter::Latin1, false, doc("ISO-8859-1", nombre, 300000)),
         doc("ISO-8859-1", nombre, 300000), ""},
        {"UTF-16 with a stray byte",
         codificar(QStringConverter::Utf16LE, true, doc("UTF-16", ancho)) + "\n", QString(),
         "termina a medias"},
        {"UTF-16 declared, 8 bits written", doc("UTF-16", nombre).toUtf8(), QString(),
         "declara la codificación UTF-16"},
        {"three bytes", "<a>", QStringLiteral("<a>"), ""},
    };
    for (const auto& c : casos) {
        for (const qsizetype tam : {qsizetype(1), qsizetype(3), qsizetype(65537), c.bytes.size()}) {
            SCOPED_TRACE(std::string(c.guarda) + ", blocks of " + std::to_string(tam));
            TDocumentoUtf8 d;
            d.empezar(c.bytes.size());
            QString error;
            bool bien = true;
            for (qsizetype at = 0; bien && at < c.bytes.size(); at += tam)
                bien = d.bloque(
                    QByteArrayView(c.bytes).sliced(at, std::min(tam, c.bytes.size() - at)), error);
            bien = bien && d.terminar(error);
            if (c.texto.isEmpty()) {
                EXPECT_FALSE(bien);
                EXPECT_TRUE(error.contains(QString::fromUtf8(c.error))) << error.toStdString();
                continue;
            }
            ASSERT_TRUE(bien) << error.toStdString();
            EXPECT_EQ(d.Leidos(), c.bytes.size());
            const QByteArray utf8 = d.Tomar();
            EXPECT_TRUE(utf8 == c.texto.toUtf8()) << utf8.left(200).toStdString();
        }
    }
}

namespace {
// Writes down every event of a read, with the place of each point's start tag (asked
// for like the track reader asks, only there).
class Apuntador : public TXmlHandler {
  public:
    bool inicioElemento(std::string_view nombre, const std::vector<TXmlAtributo>& atributos,
                        QString&) override {
        eventos += "<" + std::string(nombre);
        if (nombre == "trkpt") {
            int l = 0, c = 0;
            PosicionEtiqueta(l, c);
            eventos += "@" + std::to_string(l) + ":" + std::to_string(c);
        }
        for (const TXmlAtributo& a : atributos)
            eventos += " " + std::string(a.nombre) + "=" + std::string(a.valor);
        eventos += ">";
        return true;
    }
    void finElemento() override { eventos += "</>"; }
    void texto(std::string_view utf8) override { eventos += utf8; }
    std::string eventos;
};
} // namespace

TEST(RecorrerXml, GivingBackThePagesAlreadyReadChangesNothingOfTheRead) {
    // Lines of several characters that take two bytes, so that places are counted in
    // characters across the pages given back; the root and the track are named in the
    // first page and closed at the end.
    QByteArray cuerpo;
    for (int i = 0; i < 20000; ++i)
        cuerpo += "<trkpt lat=\"41." + QByteArray::number(i) +
                  "\" lon=\"2.5\">\n <ele>1</ele>"
                  "<name>Pe\xC3\xB1"
                  "a &amp; a\xC3\xB1o</name></trkpt>\n";
    const QByteArray cabeza = "<gpx version=\"1.1\">\n<trk><name>\xC3\x91</name><trkseg>\n";
    const struct {
        const char* guarda;
        QByteArray doc;
        bool bien;
    } casos[] = {
        {"a whole track", cabeza + cuerpo + "</trkseg></trk></gpx>\n", true},
        {"a closing tag that does not match, at the end",
         cabeza + cuerpo + "</trkseg></trkx></gpx>\n", false},
        {"a repeated attribute, at the end",
         cabeza + cuerpo + "<trkpt lat=\"1\" lat=\"2\"/></trkseg></trk></gpx>\n", false},
        {"unclosed elements", cabeza + cuerpo, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        // Each read has its own copy: giving pages back loses their bytes.
        QByteArray entero(c.doc.constData(), c.doc.size());
        QByteArray liberado(c.doc.constData(), c.doc.size());
        Apuntador a, b;
        QString errorA, errorB;
        const bool bienA =
            RecorrerXml(std::string_view(entero.constData(), size_t(entero.size())), a, errorA);
        const bool bienB = RecorrerXml(
            std::string_view(liberado.constData(), size_t(liberado.size())), b, errorB, 4096);
        EXPECT_EQ(bienA, c.bien) << errorA.toStdString();
        EXPECT_EQ(bienB, bienA);
        EXPECT_EQ(errorB, errorA);
        EXPECT_TRUE(b.eventos == a.eventos)
            << "the reads part at byte "
            << std::mismatch(a.eventos.begin(), a.eventos.end(), b.eventos.begin(), b.eventos.end())
                       .first -
                   a.eventos.begin();
        EXPECT_EQ(entero, c.doc) << "kept whole without the option";
        EXPECT_EQ(liberado[liberado.size() / 2], '\0') << "the pages read were given back";
    }
}

TEST_F(FicherosHostiles, AFileChangedWhileItIsReadIsReadAgainOrRefused) {
    const QByteArray cinco = pistaDePuntos(5), siete = pistaDePuntos(7);
    // The same length as `cinco` with other values: only the time stamp tells.
    QByteArray otroCinco = cinco;
    otroCinco.replace("41.5", "42.5");
    ASSERT_EQ(otroCinco.size(), cinco.size());
    // Caught while it was written: a UTF-16 file that ends in half a character.
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray aMedias = QByteArray(utf16.encode(QString::fromUtf8(cinco))) + "<";
    const struct {
        const char* guarda;
        QByteArray antes, nuevo;
        bool siempre; // changed after every block, not once
        int puntos;   // points read, -1 for the error
    } casos[] = {
        {"rewritten longer once", cinco, siete, false, 7},
        {"rewritten in place with the same length once", cinco, otroCinco, false, 5},
        {"truncated once", cinco, QByteArray(), false, -1},
        {"rewritten after every block", cinco, siete, true, -1},
        {"finished after a wide encoding was found cut short", aMedias, siete, false, 7},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        escribir(c.antes);
        int cambios = 0;
        data.Lectura.TrasBloque = [&] {
            if (cambios > 0 && !c.siempre)
                return;
            ++cambios;
            QFile f(ruta);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Truncate));
            f.write(c.siempre && cambios % 2 ? cinco : c.nuevo);
            ASSERT_TRUE(f.flush());
            // As a later write would: a clock that moved on since the file was made.
            ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(cambios),
                                      QFileDevice::FileModificationTime));
        };
        const QString motivo = abrir();
        data.Lectura.TrasBloque = nullptr;
        EXPECT_GE(cambios, 1);
        if (c.puntos >= 0) {
            ASSERT_EQ(motivo, QString());
            EXPECT_EQ(data.cdsPoints.RecordCount(), c.puntos);
            EXPECT_EQ(data.cdsPoints.valor(0, CampoPunto::Lat),
                      c.nuevo.contains("42.5") ? "42.5" : "41.5");
        } else if (c.siempre) {
            EXPECT_TRUE(motivo.contains(QStringLiteral("ha cambiado mientras se leía")))
                << motivo.toStdString();
        } else {
            EXPECT_TRUE(motivo.contains(QStringLiteral("vacío"))) << motivo.toStdString();
        }
    }
}

TEST_F(FicherosHostiles, TheSizeLimitHoldsWhileAFileGrows) {
    escribir(QByteArray(1000, ' '));
    TLecturaFichero op;
    op.Limite = 64 * 1024;
    int bloques = 0;
    op.TrasBloque = [&] {
        if (++bloques > 200)
            return; // a reader without a limit still ends, and the test says so

        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QByteArray(16 * 1024, ' '));
    };
    QByteArray bytes;
    QString error;
    EXPECT_FALSE(LeerFicheroRegular(ruta, bytes, error, op));
    EXPECT_TRUE(error.contains(QStringLiteral("supera"))) << error.toStdString();
    EXPECT_LT(bloques, 20) << "stops at the limit, not at the end of a file that never ends";
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(FicherosHostiles, OnlyRegularFilesAreRead) {
    const struct {
        const char* guarda;
        QString ruta;
        const char* clase;
    } casos[] = {{"a folder", dir.path(), "una carpeta"},
                 {"an endless device", QStringLiteral("/dev/zero"), "un dispositivo de caracteres"},
                 {"the empty device", QStringLiteral("/dev/null"), "un dispositivo de caracteres"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        QByteArray bytes;
        QString error;
        EXPECT_FALSE(LeerFicheroRegular(c.ruta, bytes, error));
        EXPECT_TRUE(error.contains(QStringLiteral("no es un fichero normal sino ") +
                                   QString::fromUtf8(c.clase)))
            << error.toStdString();
        EXPECT_EQ(ClaseNoRegular(c.ruta), QString::fromUtf8(c.clase));
    }
    EXPECT_EQ(ClaseNoRegular(QStringLiteral(SENDERAL_SOURCE_DIR "/data/GpxDS.dll")), QString());
}

// A reader that gives up on a file must still close it: a window open for a day reads
// many files, and each descriptor left open is one fewer for the next.
TEST_F(FicherosHostiles, EveryReadClosesTheFileItOpened) {
    escribir(pistaDePuntos(3));
    const auto abiertos = [] {
        return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
    };
    TLecturaFichero pequeno;
    pequeno.Limite = 10;
    const struct {
        const char* guarda;
        QString ruta;
        TLecturaFichero opciones;
        bool leido;
    } casos[] = {{"a file read whole", ruta, {}, true},
                 {"a file over the size limit", ruta, pequeno, false},
                 {"a folder", dir.path(), {}, false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const qsizetype antes = abiertos();
        for (int i = 0; i < 5; ++i) {
            QByteArray bytes;
            QString error;
            EXPECT_EQ(LeerFicheroRegular(c.ruta, bytes, error, c.opciones), c.leido)
                << error.toStdString();
        }
        EXPECT_EQ(abiertos(), antes);
    }
}

TEST_F(FicherosHostiles, NumbersOutOfRangeAreConversionErrorsWithTheirPlace) {
    const struct {
        const char* guarda;
        const char* lat;
        const char* lon;
        const char* ele2; // the second point's elevation
        const char* ele3; // the third point's elevation
        int medidos;      // points measured before the error; 3 when none
        const char* cita;
    } casos[] = {
        {"latitude of 1000", "1000", "2", "10", "20", 2,
         "'1000' no es un valor numérico válido: la latitud"},
        {"latitude of 9e9", "9e9", "2", "10", "20", 2,
         "'9e9' no es un valor numérico válido: la latitud"},
        {"latitude just past the pole", "-90.000001", "2", "10", "20", 2, "la latitud"},
        {"longitude past 180", "41", "180.5", "10", "20", 2,
         "'180.5' no es un valor numérico válido: la longitud"},
        {"longitude past -180", "41", "-181", "10", "20", 2, "la longitud"},
        {"an infinite elevation", "41", "2", "10", "inf", 2,
         "'inf' no es un valor numérico válido"},
        {"elevations whose difference is past every number", "41", "2", "1.7e308", "-1.7e308", 2,
         "'-1.7e308' no es un valor numérico válido: la suma"},
        {"the poles and the date line", "-90", "180", "10", "20", 3, nullptr},
        {"the other pole and the other side", "90", "-180", "-1e300", "1e300", 3, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        const QByteArray doc =
            QStringLiteral("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n"
                           "<trkpt lat=\"41\" lon=\"2\"><ele>0</ele></trkpt>\n"
                           "  <trkpt lat=\"41.001\" lon=\"2\"><ele>%1</ele></trkpt>\n"
                           "    <trkpt lat=\"%2\" lon=\"%3\"><ele>%4</ele></trkpt>\n"
                           "</trkseg></trk></gpx>\n")
                .arg(QLatin1String(c.ele2), QLatin1String(c.lat), QLatin1String(c.lon),
                     QLatin1String(c.ele3))
                .toUtf8();
        escribir(doc);
        ASSERT_EQ(abrir(), QString()) << "the texts open; the measures judge them";
        const auto tabla = data.Medidas();
        EXPECT_EQ(tabla->PuntosMedidos(), c.medidos)
            << "the points before the error keep their values";
        if (!c.cita) {
            EXPECT_NO_THROW(tabla->ComprobarMedidas());
            EXPECT_TRUE(std::isfinite(tabla->AscAcumulado(2)));
            continue;
        }
        EXPECT_DOUBLE_EQ(tabla->Latitud(1), 41.001);
        try {
            tabla->ComprobarMedidas();
            ADD_FAILURE() << "no conversion error";
        } catch (const ESenderalError& e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("línea 5, columna 5: ")))
                << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.cita))) << e.text().toStdString();
        }
    }
}
