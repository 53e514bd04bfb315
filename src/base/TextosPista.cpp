#include "TextosPista.h"

#include <atomic>

namespace {
std::atomic<TBuscadorTexto> buscadorActual{nullptr};
} // namespace

QString RellenarHuecos(const QString& format, const QStringList& args) {
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('%') && i + 1 < format.size() &&
            (format[i + 1] == QLatin1Char('s') || format[i + 1] == QLatin1Char('d')) &&
            next < args.size()) {
            out += args[next++];
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

void PonerBuscadorTextoPista(TBuscadorTexto buscador) {
    buscadorActual = buscador;
}

QString TextoPista(const char* clave, const char* defecto, const QStringList& args) {
    const QString porDefecto = QString::fromUtf8(defecto);
    const TBuscadorTexto buscador = buscadorActual;
    return RellenarHuecos(buscador ? buscador(QString::fromLatin1(clave), porDefecto) : porDefecto,
                          args);
}
