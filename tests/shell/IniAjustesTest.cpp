#include "IniTexto.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The text after the UTF-8 byte-order mark, which every saved file starts with.
QString texto(const TIniTexto& ini) {
    const QByteArray bytes = ini.Serializar();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    return QString::fromUtf8(bytes.mid(3));
}

TEST(IniAjustes, ValuesComeBackExactlyAsWritten) {
    struct Caso {
        const char* nombre;
        QString valor;
        QString leido;
    };
    const Caso casos[] = {
        {"path with blanks and accents", QStringLiteral("/home/José Luis/bin/gpsbabel"),
         QStringLiteral("/home/José Luis/bin/gpsbabel")},
        {"value holding '='", QStringLiteral("https://x.example/?a=1&b=2"),
         QStringLiteral("https://x.example/?a=1&b=2")},
        {"quotes stay", QStringLiteral("\"entre comillas\""), QStringLiteral("\"entre comillas\"")},
        {"marker stays literal", QStringLiteral("a*|*b"), QStringLiteral("a*|*b")},
        {"blanks around are trimmed", QStringLiteral("  Ribbon - Luna  "),
         QStringLiteral("Ribbon - Luna")},
        {"a line break cannot start a new key", QStringLiteral("a\r\nTema=2"),
         QStringLiteral("a  Tema=2")},
        {"empty value", QString(), QString()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        TIniTexto ini(TIniTexto::Ajustes());
        ini.Escribir(QStringLiteral("Config"), QStringLiteral("Clave"), c.valor);
        const TIniTexto leido = TIniTexto::DesdeTexto(texto(ini), TIniTexto::Ajustes());
        EXPECT_EQ(leido.Valor(QStringLiteral("Config"), QStringLiteral("Clave"),
                              QStringLiteral("<ninguno>")),
                  c.leido);
        EXPECT_EQ(leido.Claves(QStringLiteral("Config")), QStringList{QStringLiteral("Clave")});
    }
}

TEST(IniAjustes, UpdatesInPlaceAndKeepsWhatItDoesNotKnow) {
    TIniTexto ini = TIniTexto::DesdeTexto(
        QStringLiteral("[Otra]\r\nX=1\r\n[config]\r\nB=viejo\r\nA=2\r\n"), TIniTexto::Ajustes());
    ini.Escribir(QStringLiteral("Config"), QStringLiteral("a"), QStringLiteral("3"));
    ini.Escribir(QStringLiteral("Config"), QStringLiteral("C"), QStringLiteral("nuevo"));
    EXPECT_EQ(texto(ini), QStringLiteral("[Otra]\r\nX=1\r\n\r\n[config]\r\nB=viejo\r\nA=3\r\n"
                                         "C=nuevo\r\n"));
}

TEST(IniAjustes, ErasedSectionIsWrittenAgainAtTheEnd) {
    TIniTexto ini = TIniTexto::DesdeTexto(
        QStringLiteral("[Lista]\nCount=4\nItem3=sobra\n[Config]\nTema=1\n"), TIniTexto::Ajustes());
    ini.BorrarSeccion(QStringLiteral("LISTA"));
    ini.Escribir(QStringLiteral("Lista"), QStringLiteral("Count"), QStringLiteral("1"));
    EXPECT_EQ(ini.Secciones(), (QStringList{QStringLiteral("Config"), QStringLiteral("Lista")}));
    EXPECT_FALSE(ini.TieneClave(QStringLiteral("Lista"), QStringLiteral("Item3")));
}

TEST(IniAjustes, RepeatedSectionCountsOnceWithTheLastOne) {
    const TIniTexto ini = TIniTexto::DesdeTexto(
        QStringLiteral("[Config]\nTema=0\nIdioma=es.lng\n[Otra]\n[CONFIG]\nTema=2\n"),
        TIniTexto::Ajustes());
    EXPECT_EQ(ini.Valor(QStringLiteral("Config"), QStringLiteral("Tema")), QStringLiteral("2"));
    EXPECT_FALSE(ini.TieneClave(QStringLiteral("Config"), QStringLiteral("Idioma")));
    EXPECT_EQ(ini.Secciones(), (QStringList{QStringLiteral("Otra"), QStringLiteral("CONFIG")}));
}

TEST(IniAjustes, FailedSaveLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TIniTexto ini(TIniTexto::Ajustes());
    ini.Escribir(QStringLiteral("Config"), QStringLiteral("Tema"), QStringLiteral("2"));
    QString error;
    EXPECT_FALSE(ini.Guardar(dir.filePath(QStringLiteral("no/existe/senderal.ini")), &error));
    EXPECT_FALSE(error.isEmpty());

    const QString ruta = dir.filePath(QStringLiteral("senderal.ini"));
    ASSERT_TRUE(ini.Guardar(ruta, &error)) << error.toStdString();
    bool existe = false;
    const TIniTexto leido = TIniTexto::AjustesDesdeFichero(ruta, &existe);
    EXPECT_TRUE(existe);
    EXPECT_EQ(leido.Valor(QStringLiteral("Config"), QStringLiteral("Tema")), QStringLiteral("2"));
    TIniTexto::AjustesDesdeFichero(dir.filePath(QStringLiteral("otro.ini")), &existe);
    EXPECT_FALSE(existe);
}
} // namespace
