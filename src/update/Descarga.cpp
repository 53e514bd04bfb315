#include "Descarga.h"

#include "MotivoRed.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
constexpr qint64 kBloque = 20482;

bool esLocal(const QUrl& direccion) {
    return direccion.host() == QLatin1String("127.0.0.1");
}
} // namespace

bool DireccionActualizacionAdmitida(const QUrl& direccion) {
    if (!direccion.isValid() || direccion.host().isEmpty())
        return false;
    const QString esquema = direccion.scheme().toLower();
    return esquema == QLatin1String("https") ||
           (esquema == QLatin1String("http") && esLocal(direccion));
}

bool DescargarFichero(const QUrl& direccion, const QString& rutaLocal, int esperaMs,
                      QString* error) {
    QString motivo;
    QFile fichero(rutaLocal);
    if (!fichero.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error)
            *error = fichero.errorString();
        return false;
    }

    QNetworkAccessManager red;
    if (!esLocal(direccion)) {
        const auto proxies =
            QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(direccion));
        if (!proxies.isEmpty())
            red.setProxy(proxies.first());
    }
    QNetworkRequest peticion(direccion);
    peticion.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("agent"));
    peticion.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                          QNetworkRequest::AlwaysNetwork);
    peticion.setRawHeader("Cache-Control", "no-cache");
    peticion.setRawHeader("Pragma", "no-cache");
    peticion.setTransferTimeout(esperaMs);

    QNetworkReply* respuesta = red.get(peticion);
    bool ok = true;
    auto volcar = [&] {
        while (ok) {
            const QByteArray bloque = respuesta->read(kBloque);
            if (bloque.isEmpty())
                return;
            if (fichero.write(bloque) != bloque.size()) {
                ok = false;
                motivo = QStringLiteral("escritura incompleta en %1: %2")
                             .arg(rutaLocal, fichero.errorString());
                respuesta->abort();
            }
        }
    };
    QObject::connect(respuesta, &QNetworkReply::readyRead, respuesta, volcar);

    QEventLoop espera;
    QObject::connect(respuesta, &QNetworkReply::finished, &espera, &QEventLoop::quit);
    if (!respuesta->isFinished())
        espera.exec(QEventLoop::ExcludeUserInputEvents);

    const int estado = respuesta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page (any status outside 2xx) must never be taken for the file asked for.
    if (ok && (respuesta->error() != QNetworkReply::NoError || estado < 200 || estado > 299)) {
        ok = false;
        motivo = MotivoFalloRed(respuesta->error(), estado, respuesta->errorString());
        if (motivo.isEmpty())
            motivo = respuesta->errorString();
    }
    if (ok)
        volcar();
    delete respuesta;

    if (ok && !fichero.flush()) {
        ok = false;
        motivo = fichero.errorString();
    }
    fichero.close();
    if (!ok) {
        fichero.remove();
        if (error)
            *error = motivo;
    }
    return ok;
}
