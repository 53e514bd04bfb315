#pragma once

// A small HTTP server on 127.0.0.1 that stands in for the update server, the IBPindex
// service and the map's tile servers: it answers each path with the reply the test set
// and records every request as received. It runs on the thread that creates it, so the
// test must let the event loop run (QTest::qWaitFor, QSignalSpy::wait) while a request
// is served.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

struct TPeticionRecibida {
    QByteArray metodo;
    QByteArray ruta;                        // as asked, with its query
    QMap<QByteArray, QByteArray> cabeceras; // names in lower case
    QByteArray cabeza;                      // the request line and headers as received
    QByteArray cuerpo;
};

struct TRespuestaPrueba {
    // Basura: bytes that are not HTTP, then the connection closes. Colgar: no answer ever.
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
    // Listens at once on a free port.
    TServidorPrueba();

    bool escuchando() const { return FServidor.isListening(); }
    quint16 puerto() const { return FPuerto; }
    QString base() const;
    // Stops listening: later connections to the port are refused.
    void parar() { FServidor.close(); }

    // The reply for a path (the query does not count).
    void responder(const QByteArray& ruta, const TRespuestaPrueba& r) { FRutas[ruta] = r; }
    void responder(const QByteArray& ruta, const QByteArray& html, int estado = 200) {
        FRutas[ruta] = pagina(html, estado);
    }
    // Served once, before the fixed reply, in the order queued.
    void encolar(const QByteArray& ruta, const TRespuestaPrueba& r) { FColas[ruta].append(r); }
    // The reply for every path that has none of its own (without it, 404).
    void responderResto(const TRespuestaPrueba& r) { FResto = r; }
    // Every request from now on is answered in this mode, whatever its path.
    void modo(TRespuestaPrueba::Modo m) { FModo = m; }

    // A file as a download server sends it.
    void ponerFichero(const QString& ruta, const QByteArray& datos);
    // An HTML page.
    static TRespuestaPrueba pagina(const QByteArray& html, int estado = 200, int retardoMs = 0);

    // The paths asked for, in order.
    QStringList rutasPedidas() const;
    // Lets the event loop run until `n` requests have come; false when they did not.
    bool esperarPeticiones(int n, int ms = 10000) const;

    QList<TPeticionRecibida> peticiones;

  private:
    void leer(QTcpSocket* s);
    static void enviar(QTcpSocket* s, const TRespuestaPrueba& r);

    QTcpServer FServidor;
    quint16 FPuerto = 0;
    QMap<QByteArray, TRespuestaPrueba> FRutas;
    QMap<QByteArray, QList<TRespuestaPrueba>> FColas;
    TRespuestaPrueba FResto;
    TRespuestaPrueba::Modo FModo = TRespuestaPrueba::Normal;
    QHash<QTcpSocket*, QByteArray> FPendiente;
};
