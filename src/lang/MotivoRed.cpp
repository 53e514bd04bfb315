#include "MotivoRed.h"

#include "Verbario.h"

// Only the error codes are needed here, not the network library itself.
#include <QtNetwork/qnetworkreply.h>

QString MotivoFalloRed(int errorRed, int estadoHttp, const QString& textoQt) {
    const auto error = QNetworkReply::NetworkError(errorRed);
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: // what a transfer time-out reports
        return LookupText(QStringLiteral("_STR_MI_RED_TIMEOUT"),
                          QStringLiteral("el servidor no ha respondido a tiempo"));
    case QNetworkReply::ConnectionRefusedError:
        return LookupText(QStringLiteral("_STR_MI_RED_REFUSED"),
                          QStringLiteral("el servidor ha rechazado la conexión"));
    case QNetworkReply::HostNotFoundError:
        return LookupText(QStringLiteral("_STR_MI_RED_NOHOST"),
                          QStringLiteral("no se encuentra el servidor (¿hay conexión a la red?)"));
    default:
        break;
    }
    if (estadoHttp != 0 && (estadoHttp < 200 || estadoHttp > 299))
        return LookupTextCon(QStringLiteral("_STR_MI_RED_HTTP"),
                             QStringLiteral("el servidor ha respondido con el estado HTTP %s"),
                             {QString::number(estadoHttp)});
    if (error == QNetworkReply::NoError)
        return QString();
    return textoQt;
}

QString TextoNoSePuedeAbrir(const QString& que) {
    return LookupTextCon(QStringLiteral("_STR_MI_NOOPEN"),
                         QStringLiteral("No se ha podido abrir:\r\n%s\r\n\r\nNo hay ningún "
                                        "programa en el sistema que pueda abrirlo (navegador "
                                        "web, correo o el programa de ese tipo de ficheros)."),
                         {que});
}
