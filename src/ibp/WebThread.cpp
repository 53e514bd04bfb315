#include "WebThread.h"

#include "AppPaths.h"
#include "EnlacesIBP.h"
#include "FormularioIBP.h"
#include "IBPConfig.h"
#include "RespuestaIBP.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

TWebThread::TWebThread(const QString& AFileName, QObject* wb, QObject* parent)
    : QThread(parent), DireccionBase(IBPIndexURL()), CarpetaCache(CacheDir()),
      FTrackFileName(AFileName), FwebBrowser(wb) {}

void TWebThread::run() {
    // The query fails silently by design: whatever breaks, the fields not yet set stay
    // empty and the finish handler shows the empty result.
    try {
        Execute();
    } catch (...) {
    }
    IdHTTP = nullptr;
}

void TWebThread::Execute() {
    const QString name = FTrackFileName.trimmed();
    QString respuesta;
    if (!name.isEmpty() && QFileInfo(name).isFile()) {
        // Sent from the file as it is read: a long track is never held in memory.
        TCuerpoFormularioIBP cuerpo;
        QString error;
        if (!cuerpo.Abrir(name, error)) {
            TextoError = error;
            return;
        }
        if (!Enviar(cuerpo, respuesta))
            return;
    }
    ExtraerEnlacesIBP(respuesta);
    FResponse = respuesta;
    EscribirLineasCRLF(CarpetaCache + QStringLiteral("ibp.html"), respuesta);
}

bool TWebThread::Enviar(TCuerpoFormularioIBP& cuerpo, QString& respuesta) {
    if (isInterruptionRequested())
        return false;
    QNetworkAccessManager http;
    IdHTTP = &http;
    QNetworkRequest request(QUrl(DireccionBase + QStringLiteral("prebabel_e.asp")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, cuerpo.TipoContenido());
    request.setHeader(QNetworkRequest::ContentLengthHeader, cuerpo.size());
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Senderal"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(TiempoLimiteMs);

    PeticionHecha = true;
    QNetworkReply* reply = http.post(request, &cuerpo);
    QEventLoop espera;
    connect(reply, &QNetworkReply::finished, &espera, &QEventLoop::quit);
    // The owner may give up on this query (a newer load, the program ending): stop early.
    QTimer vigilante;
    connect(&vigilante, &QTimer::timeout, reply, [this, reply] {
        if (isInterruptionRequested())
            reply->abort();
    });
    vigilante.start(50);
    if (!reply->isFinished())
        espera.exec();
    vigilante.stop();

    const bool ok = reply->error() == QNetworkReply::NoError;
    ErrorRed = reply->error();
    EstadoHttp = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!ok)
        TextoError = reply->errorString();
    if (ok)
        respuesta = DecodificarRespuesta(reply->readAll(), reply->rawHeader("Content-Type"));
    delete reply;
    return ok;
}

void TWebThread::ExtraerEnlacesIBP(const QString& respuesta) {
    const TEnlacesIBP enlaces = ::ExtraerEnlacesIBP(respuesta, DireccionBase);
    FURLNavigate = enlaces.URLNavigate;
    FURLPDF = enlaces.URLPDF;
}
