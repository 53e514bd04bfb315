#include "ConsultaIBP.h"

#include "AppPaths.h"
#include "Log.h"
#include "RespuestaIBP.h"
#include "WebThread.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QSaveFile>

TConsultaIBP::TConsultaIBP(TLog* log, QObject* parent) : QObject(parent), FLog(log) {}

TConsultaIBP::~TConsultaIBP() {
    const auto workers = findChildren<TWebThread*>(QString(), Qt::FindDirectChildrenOnly);
    for (TWebThread* w : workers)
        w->requestInterruption();
    for (TWebThread* w : workers)
        w->wait();
}

TWebThread* TConsultaIBP::Iniciar(const QString& trackPath) {
    if (FActual)
        FActual->requestInterruption();
    auto* worker = new TWebThread(trackPath, Navegador, this);
    worker->TiempoLimiteMs = TiempoLimiteMs;
    connect(
        worker, &QThread::finished, this, [this, worker] { IBPTerminado(worker); },
        Qt::QueuedConnection);
    FActual = worker;
    worker->start();
    return worker;
}

void TConsultaIBP::Descartar() {
    if (FActual)
        FActual->requestInterruption();
    FActual = nullptr;
    IBPIndexPage.clear();
    IBPIndexPDFFilename.clear();
}

QString TConsultaIBP::Recargar() {
    if (FLog)
        FLog->_Log(QStringLiteral("cargando: ") + IBPIndexPage, false);
    return IBPIndexPage;
}

void TConsultaIBP::IBPTerminado(TWebThread* worker) {
    worker->deleteLater();
    if (worker != FActual)
        return;
    FActual = nullptr;

    const QString res = CacheDir() + QStringLiteral("~res") +
                        QString::number(QRandomGenerator::global()->bounded(1000)) +
                        QStringLiteral(".html");
    EscribirEntrada(res, worker->Response());
    if (FLog)
        FLog->_Log(QStringLiteral("NAVIGATE: ") + worker->URLNavigate(), false);
    IBPIndexPDFFilename = worker->UrlPDF();
    IBPIndexPage = worker->URLNavigate();
    ErrorRed = worker->ErrorRed;
    EstadoHttp = worker->EstadoHttp;
    TextoError = worker->TextoError;
    emit Terminado(IBPIndexPage);
}

bool DescargarURL(const QString& url, const QString& fichero, int tiempoLimiteMs) {
    const QUrl direccion(url, QUrl::StrictMode);
    if (url.isEmpty() || !direccion.isValid() || direccion.isRelative() || fichero.isEmpty())
        return false;
    // QSaveFile writes beside the target and renames only on commit, so a failed download
    // never leaves a broken file under the chosen name.
    QSaveFile salida(fichero);
    if (!salida.open(QIODevice::WriteOnly))
        return false;

    QNetworkAccessManager http;
    QNetworkRequest request(direccion);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Senderal"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(tiempoLimiteMs);
    QNetworkReply* reply = http.get(request);
    bool escrito = true;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        const QByteArray bloque = reply->readAll();
        if (salida.write(bloque) != bloque.size()) {
            escrito = false;
            reply->abort();
        }
    });
    QEventLoop espera;
    QObject::connect(reply, &QNetworkReply::finished, &espera, &QEventLoop::quit);
    if (!reply->isFinished())
        espera.exec(QEventLoop::ExcludeUserInputEvents);

    bool ok = escrito && reply->error() == QNetworkReply::NoError;
    if (ok) {
        const QByteArray resto = reply->readAll();
        ok = salida.write(resto) == resto.size();
    }
    delete reply;
    if (!ok) {
        salida.cancelWriting();
        return false;
    }
    return salida.commit();
}
