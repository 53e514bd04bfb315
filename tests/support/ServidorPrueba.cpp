#include "ServidorPrueba.h"

#include <QTcpSocket>
#include <QTest>
#include <QTimer>

TServidorPrueba::TServidorPrueba() {
    FResto.estado = 404;
    FResto.cuerpo = "not found";
    connect(&FServidor, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = FServidor.nextPendingConnection()) {
            s->setParent(this);
            connect(s, &QTcpSocket::readyRead, this, [this, s] { leer(s); });
            if (s->bytesAvailable() > 0)
                leer(s);
        }
    });
    FServidor.listen(QHostAddress::LocalHost, 0);
    FPuerto = FServidor.serverPort();
}

QString TServidorPrueba::base() const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(FPuerto);
}

TRespuestaPrueba TServidorPrueba::pagina(const QByteArray& html, int estado, int retardoMs) {
    TRespuestaPrueba r;
    r.estado = estado;
    r.cuerpo = html;
    r.retardoMs = retardoMs;
    r.cabecera("Content-Type", "text/html; charset=utf-8");
    return r;
}

void TServidorPrueba::ponerFichero(const QString& ruta, const QByteArray& datos) {
    TRespuestaPrueba r;
    r.cuerpo = datos;
    r.cabecera("Content-Type", "application/octet-stream");
    responder(ruta.toUtf8(), r);
}

QStringList TServidorPrueba::rutasPedidas() const {
    QStringList rutas;
    for (const TPeticionRecibida& p : peticiones)
        rutas << QString::fromLatin1(p.ruta);
    return rutas;
}

bool TServidorPrueba::esperarPeticiones(int n, int ms) const {
    return QTest::qWaitFor([this, n] { return peticiones.size() >= n; }, ms);
}

void TServidorPrueba::leer(QTcpSocket* s) {
    QByteArray& buf = FPendiente[s];
    buf += s->readAll();
    const qsizetype finCab = buf.indexOf("\r\n\r\n");
    if (finCab < 0)
        return;
    TPeticionRecibida p;
    p.cabeza = buf.left(finCab + 4);
    const QList<QByteArray> lineas = buf.left(finCab).split('\n');
    const QList<QByteArray> primera = lineas.value(0).trimmed().split(' ');
    p.metodo = primera.value(0);
    p.ruta = primera.value(1);
    for (qsizetype i = 1; i < lineas.size(); ++i) {
        const qsizetype dp = lineas[i].indexOf(':');
        if (dp > 0)
            p.cabeceras[lineas[i].left(dp).trimmed().toLower()] = lineas[i].mid(dp + 1).trimmed();
    }
    const qsizetype largo = p.cabeceras.value("content-length", "0").toLongLong();
    if (buf.size() < finCab + 4 + largo)
        return;
    p.cuerpo = buf.mid(finCab + 4, largo);
    FPendiente.remove(s);
    peticiones.append(p);

    const QByteArray camino = p.ruta.split('?').value(0);
    TRespuestaPrueba r = !FColas.value(camino).isEmpty() ? FColas[camino].takeFirst()
                         : FRutas.contains(camino)       ? FRutas.value(camino)
                                                         : FResto;
    if (FModo != TRespuestaPrueba::Normal)
        r.modo = FModo;
    if (r.retardoMs > 0)
        QTimer::singleShot(r.retardoMs, s, [s, r] { enviar(s, r); });
    else
        enviar(s, r);
}

namespace {
QByteArray frase(int estado) {
    switch (estado) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "X";
    }
}
} // namespace

void TServidorPrueba::enviar(QTcpSocket* s, const TRespuestaPrueba& r) {
    if (r.modo == TRespuestaPrueba::Colgar)
        return;
    if (r.modo == TRespuestaPrueba::Basura) {
        s->write("\x01\x02 esto no es HTTP\r\n\xff\xfe\r\n");
        s->disconnectFromHost();
        return;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(r.estado) + ' ' + frase(r.estado) + "\r\n";
    for (const auto& c : r.cabeceras)
        out += c.first + ": " + c.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(r.cuerpo.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += r.cuerpo;
    s->write(out);
    s->disconnectFromHost();
}
