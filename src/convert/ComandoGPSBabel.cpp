#include "ComandoGPSBabel.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QChar kComillas = QLatin1Char('"');
}

QString PlantillaComando() {
    return QStringLiteral("%BABEL% -t -i %ORIGTYPE% -f ") + kComillas + QStringLiteral("%ORIG%") +
           kComillas + QStringLiteral(" -x nuketypes,waypoints,routes -o %DESTTYPE% -F ") +
           kComillas + QStringLiteral("%DEST%") + kComillas;
}

QString LineaComando(const QString& babel, const QString& origen, const QString& destino,
                     const QString& tipoOrigen, const QString& tipoDestino) {
    const struct {
        QLatin1String nombre;
        QString valor;
    } marcas[] = {
        {QLatin1String("%ORIG%"), origen},
        {QLatin1String("%DEST%"), destino},
        {QLatin1String("%BABEL%"), kComillas + babel + kComillas},
        {QLatin1String("%ORIGTYPE%"), tipoOrigen},
        {QLatin1String("%DESTTYPE%"), tipoDestino},
    };
    const QString plantilla = PlantillaComando();
    QString result;
    int i = 0;
    while (i < plantilla.size()) {
        bool hecho = false;
        for (const auto& m : marcas)
            if (plantilla.mid(i, m.nombre.size()) == m.nombre) {
                result += m.valor;
                i += int(m.nombre.size());
                hecho = true;
                break;
            }
        if (!hecho)
            result += plantilla[i++];
    }
    return result;
}

QStringList ArgumentosGPSBabel(const QString& origen, const QString& destino,
                               const QString& tipoOrigen, const QString& tipoDestino) {
    return {QStringLiteral("-t"),
            QStringLiteral("-i"),
            tipoOrigen,
            QStringLiteral("-f"),
            origen,
            QStringLiteral("-x"),
            QStringLiteral("nuketypes,waypoints,routes"),
            QStringLiteral("-o"),
            tipoDestino,
            QStringLiteral("-F"),
            destino};
}

QString ExtensionFichero(const QString& path) {
    const QString nombre = QFileInfo(path).fileName();
    const int punto = nombre.lastIndexOf(QLatin1Char('.'));
    return punto < 0 ? QString() : nombre.mid(punto + 1);
}

QString CambiarExtension(const QString& path, const QString& extension) {
    const int barra =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const int punto = path.lastIndexOf(QLatin1Char('.'));
    if (punto > barra)
        return path.left(punto) + extension;
    return path + extension;
}

QString UbicacionGPSBabelPorDefecto(const QString& appDir) {
    const QString local = appDir + QStringLiteral("gpsbabel");
    if (QFileInfo(local).isFile())
        return local;
    const QString enPath = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    return enPath.isEmpty() ? local : enPath;
}
