#include "FormularioIBP.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace {
QByteArray FronteraAleatoria() {
    QByteArray hex;
    for (int i = 0; i < 4; ++i)
        hex +=
            QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
    return QByteArrayLiteral("--------") + hex;
}

bool FronteraLibre(const QByteArray& frontera, const QByteArray& contenido) {
    return !frontera.isEmpty() && !contenido.contains(QByteArrayLiteral("--") + frontera);
}

// A file name is quoted in the part header: a quote or a line break in it would end the
// header early, so they are percent-encoded as browsers do.
QByteArray NombreEnCabecera(const QString& nombreFichero) {
    QByteArray nombre = QFileInfo(nombreFichero).fileName().toUtf8();
    nombre.replace('"', "%22");
    nombre.replace('\r', "%0D");
    nombre.replace('\n', "%0A");
    return nombre;
}
} // namespace

TFormularioIBP ConstruirFormularioIBP(const QString& nombreFichero, const QByteArray& contenido,
                                      const QByteArray& frontera) {
    TFormularioIBP form;
    form.Frontera = frontera;
    while (!FronteraLibre(form.Frontera, contenido))
        form.Frontera = FronteraAleatoria();
    form.TipoContenido = QByteArrayLiteral("multipart/form-data; boundary=") + form.Frontera;

    QByteArray& c = form.Cuerpo;
    c.reserve(contenido.size() + 256);
    c += "--" + form.Frontera + "\r\n";
    c += "Content-Disposition: form-data; name=\"fichero\"; filename=\"" +
         NombreEnCabecera(nombreFichero) + "\"\r\n";
    c += "Content-Type: file\r\n";
    c += "Content-Transfer-Encoding: binary\r\n";
    c += "\r\n";
    c += contenido;
    c += "\r\n--" + form.Frontera + "--\r\n";
    return form;
}
