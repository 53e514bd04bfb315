#pragma once

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for the update tests: answers GET requests from a
// table of paths; other paths get 404. Special answers imitate broken servers.
class TServidorPrueba : public QObject {
  public:
    enum TModo { Normal, Basura, Mudo };

    TServidorPrueba() {
        FServidor.listen(QHostAddress(QStringLiteral("127.0.0.1")));
        connect(&FServidor, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = FServidor.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { atender(s); });
        });
    }

    QString Base() const {
        return QStringLiteral("http://127.0.0.1:%1/").arg(FServidor.serverPort());
    }
    void Poner(const QString& ruta, const QByteArray& cuerpo) { FFicheros[ruta] = cuerpo; }
    void Modo(TModo modo) { FModo = modo; }
    QStringList Pedidos;         // paths asked for, in order
    QList<QByteArray> Cabeceras; // the whole request headers

  private:
    void atender(QTcpSocket* s) {
        FBuffer[s] += s->readAll();
        const QByteArray& peticion = FBuffer[s];
        if (!peticion.contains("\r\n\r\n"))
            return;
        const QString ruta = QString::fromLatin1(peticion.split(' ').value(1));
        Pedidos << ruta;
        Cabeceras << peticion;
        FBuffer.remove(s);
        if (FModo == Mudo)
            return;
        if (FModo == Basura) {
            s->write("\x01\x02 esto no es HTTP\r\n\xff\xfe\r\n");
            s->disconnectFromHost();
            return;
        }
        QByteArray respuesta;
        if (FFicheros.contains(ruta)) {
            const QByteArray& cuerpo = FFicheros[ruta];
            respuesta = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                        "Content-Length: " +
                        QByteArray::number(cuerpo.size()) + "\r\nConnection: close\r\n\r\n" +
                        cuerpo;
        } else {
            const QByteArray cuerpo = "<html>no existe</html>";
            respuesta =
                "HTTP/1.1 404 Not Found\r\nContent-Length: " + QByteArray::number(cuerpo.size()) +
                "\r\nConnection: close\r\n\r\n" + cuerpo;
        }
        s->write(respuesta);
        s->disconnectFromHost();
    }

    QTcpServer FServidor;
    QHash<QString, QByteArray> FFicheros;
    QHash<QTcpSocket*, QByteArray> FBuffer;
    TModo FModo = Normal;
};
