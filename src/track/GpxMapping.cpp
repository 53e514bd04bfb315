#include "GpxMapping.h"

#include "TrackStores.h"

namespace {
TGpxMapping::Nodo nodo(QString path) {
    path = path.trimmed();
    TGpxMapping::Nodo n;
    const int at = path.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        n.atributo = path.mid(at + 1).trimmed();
        path = path.left(at);
    }
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    n.ruta = path.trimmed();
    return n;
}

std::vector<TGpxMapping::Nodo> alternativas(const QString& value) {
    std::vector<TGpxMapping::Nodo> list;
    for (const QString& part : value.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        list.push_back(nodo(part));
    return list;
}
} // namespace

bool TGpxMapping::Parse(const QByteArray& text, TGpxMapping& out, QString& error) {
    out = TGpxMapping();
    QString section;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            error = QStringLiteral("línea %1 sin '='").arg(i + 1);
            return false;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (section.compare(QLatin1String("TrackHeader"), Qt::CaseInsensitive) == 0) {
            int field = -1;
            for (int k = 0; k < TrackHeader::Campos().size(); ++k)
                if (TrackHeader::Campos()[k].compare(key, Qt::CaseInsensitive) == 0)
                    field = k;
            if (field < 0) {
                error = QStringLiteral("campo de cabecera desconocido '%1'").arg(key);
                return false;
            }
            out.cabecera.emplace_back(field, alternativas(value));
        } else if (section.compare(QLatin1String("TrackPoint"), Qt::CaseInsensitive) == 0) {
            static const char* campos[] = {"lat", "lon", "ele", "time"};
            if (key.compare(QLatin1String("record"), Qt::CaseInsensitive) == 0) {
                out.rutaRegistro = nodo(value).ruta;
                continue;
            }
            if (key.compare(QLatin1String("route"), Qt::CaseInsensitive) == 0) {
                out.rutaRegistroRuta = nodo(value).ruta;
                continue;
            }
            bool known = false;
            for (int k = 0; k < 4; ++k)
                if (key.compare(QLatin1String(campos[k]), Qt::CaseInsensitive) == 0) {
                    out.punto[size_t(k)] = alternativas(value);
                    known = true;
                }
            if (!known) {
                error = QStringLiteral("campo de punto desconocido '%1'").arg(key);
                return false;
            }
        }
    }
    if (out.rutaRegistro.isEmpty()) {
        error = QStringLiteral("falta el nodo de los puntos (record)");
        return false;
    }
    return true;
}
