// The one filler of "%s" places that every message of the program goes through.
#include "TextosPista.h"

#include <gtest/gtest.h>

TEST(RellenarHuecos, FillsThePlacesInOrderAndNothingElse) {
    const struct {
        const char* guarda;
        const char* plantilla;
        QStringList valores;
        const char* esperado;
    } casos[] = {
        {"two places in order", "V: %s F: %s", {"1.0.0.6", "1/3/26"}, "V: 1.0.0.6 F: 1/3/26"},
        {"a value holding %s is not filled again, and a place without a value stays",
         "%s|%s|%s %d",
         {"%s", "b"},
         "%s|b|%s %d"},
        {"%d is a place like %s", "Puntos %d a %s", {"3", "10"}, "Puntos 3 a 10"},
        {"a percent sign in a value stays text",
         "Motivo: %s",
         {"100% %d %1"},
         "Motivo: 100% %d %1"},
        {"values beyond the places are dropped", "Fichero %s", {"a.gpx", "b.gpx"}, "Fichero a.gpx"},
        {"a percent sign that is no place stays", "50% de %s%", {"x"}, "50% de x%"},
        {"other letters after a percent sign are text", "%1 %x %S %s", {"a"}, "%1 %x %S a"},
        {"a place at the very end", "Estado HTTP %s", {"404"}, "Estado HTTP 404"},
        {"line breaks around a place stay",
         "No se ha podido abrir:\r\n%s\r\n",
         {"a b"},
         "No se ha podido abrir:\r\na b\r\n"},
        {"no values leave the text as it is", "%s y %d", {}, "%s y %d"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guarda);
        EXPECT_EQ(RellenarHuecos(QString::fromUtf8(c.plantilla), c.valores).toStdString(),
                  c.esperado);
    }
}
