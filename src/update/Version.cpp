#include "Version.h"

#include "SenderalError.h"

#include <QFileInfo>

namespace {
qint32 leerEntero(const QString& parte) {
    bool ok = false;
    const qint32 n = parte.toInt(&ok, 10);
    if (!ok)
        throw ESenderalError(QStringLiteral("'%1' no es un valor entero válido").arg(parte));
    return n;
}
} // namespace

QString TextoVersion(const TNumeroVersion& v) {
    return QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build);
}

TNumeroVersion LeerVersion(const QString& texto) {
    TNumeroVersion v;
    qint32* numeros[] = {&v.Major, &v.Minor, &v.Release};
    qsizetype inicio = 0;
    for (qint32* numero : numeros) {
        const qsizetype punto = texto.indexOf(QLatin1Char('.'), inicio);
        if (punto < 0)
            return v;
        *numero = leerEntero(texto.mid(inicio, punto - inicio));
        inicio = punto + 1;
    }
    const qsizetype fin = texto.indexOf(QLatin1Char('.'), inicio);
    v.Build = leerEntero(fin < 0 ? texto.mid(inicio) : texto.mid(inicio, fin - inicio));
    return v;
}

TComparacionVersion CompararVersiones(const TNumeroVersion& programa,
                                      const TNumeroVersion& publicada) {
    const qint32 a[] = {programa.Major, programa.Minor, programa.Release, programa.Build};
    const qint32 b[] = {publicada.Major, publicada.Minor, publicada.Release, publicada.Build};
    for (int i = 0; i < 4; ++i) {
        if (a[i] > b[i])
            return TComparacionVersion::cvProgramaMasNueva;
        if (a[i] < b[i])
            return TComparacionVersion::cvWebMasNueva;
    }
    return TComparacionVersion::cvIguales;
}

QString ExtensionCambiada(const QString& nombre, const QString& extension) {
    const qsizetype punto = nombre.lastIndexOf(QLatin1Char('.'));
    const qsizetype barra = nombre.lastIndexOf(QLatin1Char('/'));
    if (punto <= barra + 1) // no extension, or a hidden file's leading dot
        return nombre + extension;
    return nombre.left(punto) + extension;
}
