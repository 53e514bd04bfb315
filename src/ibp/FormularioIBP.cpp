#include "FormularioIBP.h"

#include <QByteArrayMatcher>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstring>

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

QByteArray CabeceraParte(const QString& nombreFichero, const QByteArray& frontera) {
    return "--" + frontera + "\r\n" +
           "Content-Disposition: form-data; name=\"fichero\"; filename=\"" +
           NombreEnCabecera(nombreFichero) + "\"\r\n" + "Content-Type: file\r\n" +
           "Content-Transfer-Encoding: binary\r\n" + "\r\n";
}

QByteArray PieParte(const QByteArray& frontera) {
    return "\r\n--" + frontera + "--\r\n";
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
    c += CabeceraParte(nombreFichero, form.Frontera);
    c += contenido;
    c += PieParte(form.Frontera);
    return form;
}

bool TCuerpoFormularioIBP::Abrir(const QString& nombreFichero, QString& error,
                                 const QByteArray& frontera) {
    FFichero.setFileName(nombreFichero);
    if (!FFichero.open(QIODevice::ReadOnly)) {
        error = nombreFichero + QStringLiteral(": ") + FFichero.errorString();
        return false;
    }
    FLargo = FFichero.size();
    FFrontera = frontera;
    while (!fronteraLibre(FFrontera)) {
        if (FFichero.error() != QFileDevice::NoError) {
            error = nombreFichero + QStringLiteral(": ") + FFichero.errorString();
            return false;
        }
        FFrontera = FronteraAleatoria();
    }
    FTipo = QByteArrayLiteral("multipart/form-data; boundary=") + FFrontera;
    FCabecera = CabeceraParte(nombreFichero, FFrontera);
    FPie = PieParte(FFrontera);
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

// Whether "--frontera" is absent from the file, read in blocks that overlap by the
// length of what is looked for.
bool TCuerpoFormularioIBP::fronteraLibre(const QByteArray& frontera) {
    if (frontera.isEmpty())
        return false;
    const QByteArray buscado = "--" + frontera;
    const QByteArrayMatcher matcher(buscado);
    constexpr qint64 Bloque = 1 << 20;
    QByteArray bloque;
    if (!FFichero.seek(0))
        return false;
    qint64 leido = 0;
    while (leido < FLargo) {
        const QByteArray cola = bloque.right(buscado.size() - 1);
        const QByteArray nuevo = FFichero.read(Bloque);
        if (nuevo.isEmpty())
            return false;
        leido += nuevo.size();
        bloque = cola + nuevo;
        if (matcher.indexIn(bloque) >= 0)
            return false;
    }
    return true;
}

qint64 TCuerpoFormularioIBP::size() const {
    return FCabecera.size() + FLargo + FPie.size();
}

qint64 TCuerpoFormularioIBP::readData(char* data, qint64 maxSize) {
    qint64 p = pos(), hecho = 0;
    const qint64 finCabecera = FCabecera.size(), finFichero = finCabecera + FLargo;
    auto copiar = [&](const QByteArray& parte, qint64 desde) {
        const qint64 n = qMin(maxSize - hecho, qint64(parte.size()) - desde);
        if (n > 0) {
            std::memcpy(data + hecho, parte.constData() + desde, size_t(n));
            hecho += n;
            p += n;
        }
    };
    if (p < finCabecera)
        copiar(FCabecera, p);
    if (hecho < maxSize && p >= finCabecera && p < finFichero) {
        if (!FFichero.seek(p - finCabecera))
            return -1;
        const qint64 n = FFichero.read(data + hecho, qMin(maxSize - hecho, finFichero - p));
        if (n <= 0)
            return -1; // the file shrank or failed while being sent
        hecho += n;
        p += n;
    }
    if (hecho < maxSize && p >= finFichero)
        copiar(FPie, p - finFichero);
    return hecho;
}
