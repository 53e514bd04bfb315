#pragma once

// A stand-in for the IBPindex service on 127.0.0.1: answers each path with a fixed reply
// and records every request as received. It runs on the thread that creates it, so the
// test must let the event loop run (QSignalSpy::wait) while a request is served.

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

struct TPeticionRecibida {
    QByteArray metodo;
    QByteArray ruta;
    QMap<QByteArray, QByteArray> cabeceras; // names in lower case
    QByteArray cuerpo;
};

struct TRespuestaPrueba {
    enum Modo { Normal, Basura, Colgar };
    int estado = 200;
    QByteArray cuerpo;
    QList<QPair<QByteArray, QByteArray>> cabeceras;
    Modo modo = Normal;
    int retardoMs = 0;
    void cabecera(const QByteArray& nombre, const QByteArray& valor) {
        cabeceras.append(QPair<QByteArray, QByteArray>(nombre, valor));
    }
};

class TServidorPrueba : public QObject {
  public:
    TServidorPrueba() {
        servidor.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&servidor, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = servidor.nextPendingConnection()) {
                s->setParent(this);
                QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] { leer(s); });
            }
        });
    }

    quint16 puerto() const { return servidor.serverPort(); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(puerto()); }

    void responder(const QByteArray& ruta, const TRespuestaPrueba& r) { rutas[ruta] = r; }
    // Served once, before the fixed reply, in the order queued.
    void encolar(const QByteArray& ruta, const TRespuestaPrueba& r) { colas[ruta].append(r); }
    void responder(const QByteArray& ruta, const QByteArray& html, int estado = 200) {
        rutas[ruta] = pagina(html, estado);
    }
    static TRespuestaPrueba pagina(const QByteArray& html, int estado = 200, int retardoMs = 0) {
        TRespuestaPrueba r;
        r.estado = estado;
        r.cuerpo = html;
        r.retardoMs = retardoMs;
        r.cabecera("Content-Type", "text/html; charset=utf-8");
        return r;
    }

    QList<TPeticionRecibida> peticiones;

  private:
    void leer(QTcpSocket* s) {
        QByteArray& buf = buffers[s];
        buf += s->readAll();
        const qsizetype finCab = buf.indexOf("\r\n\r\n");
        if (finCab < 0)
            return;
        TPeticionRecibida p;
        const QList<QByteArray> lineas = buf.left(finCab).split('\n');
        const QList<QByteArray> primera = lineas.value(0).trimmed().split(' ');
        p.metodo = primera.value(0);
        p.ruta = primera.value(1);
        for (int i = 1; i < lineas.size(); ++i) {
            const qsizetype dp = lineas[i].indexOf(':');
            if (dp > 0)
                p.cabeceras[lineas[i].left(dp).trimmed().toLower()] =
                    lineas[i].mid(dp + 1).trimmed();
        }
        const qsizetype largo = p.cabeceras.value("content-length", "0").toLongLong();
        if (buf.size() < finCab + 4 + largo)
            return;
        p.cuerpo = buf.mid(finCab + 4, largo);
        buf.clear();
        peticiones.append(p);

        const QByteArray camino = p.ruta.split('?').value(0);
        const TRespuestaPrueba r = colas.value(camino).isEmpty()
                                       ? rutas.value(camino, noEncontrada())
                                       : colas[camino].takeFirst();
        if (r.retardoMs > 0)
            QTimer::singleShot(r.retardoMs, s, [s, r] { enviar(s, r); });
        else
            enviar(s, r);
    }

    static TRespuestaPrueba noEncontrada() {
        TRespuestaPrueba r;
        r.estado = 404;
        r.cuerpo = "not found";
        return r;
    }

    static void enviar(QTcpSocket* s, const TRespuestaPrueba& r) {
        if (r.modo == TRespuestaPrueba::Colgar)
            return;
        if (r.modo == TRespuestaPrueba::Basura) {
            s->write("\x01\x02 no es HTTP\r\n\r\n\x03");
            s->disconnectFromHost();
            return;
        }
        QByteArray out = "HTTP/1.1 " + QByteArray::number(r.estado) + " X\r\n";
        for (const auto& c : r.cabeceras)
            out += c.first + ": " + c.second + "\r\n";
        out += "Content-Length: " + QByteArray::number(r.cuerpo.size()) + "\r\n";
        out += "Connection: close\r\n\r\n";
        out += r.cuerpo;
        s->write(out);
        s->disconnectFromHost();
    }

    QTcpServer servidor;
    QMap<QByteArray, TRespuestaPrueba> rutas;
    QMap<QByteArray, QList<TRespuestaPrueba>> colas;
    QHash<QTcpSocket*, QByteArray> buffers;
};
