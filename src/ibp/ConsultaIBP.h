#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class TLog;
class TWebThread;

// The IBP index queries of the main window, on the user-interface thread: starts one
// worker per loaded track and takes its result in the finish handler. A result that
// arrives for a track that is no longer loaded (closed, or replaced by a newer load) is
// dropped, so what is shown always belongs to the loaded track.
class TConsultaIBP : public QObject {
    Q_OBJECT
  public:
    explicit TConsultaIBP(TLog* log, QObject* parent = nullptr);
    // Running workers are told to stop and waited for: none outlives its owner.
    ~TConsultaIBP() override;

    // Results of the last finished query: the analysis page and its PDF.
    QString IBPIndexPage;
    QString IBPIndexPDFFilename;

    // Why the last finished query gave no analysis page (all zero/empty when it did, or
    // when the service answered without one).
    int ErrorRed = 0;
    int EstadoHttp = 0;
    QString TextoError;

    QObject* Navegador = nullptr; // the result browser, handed to every worker
    int TiempoLimiteMs = 30000;   // silence after which an upload gives up

    // Starts the upload of `trackPath`. An earlier query still running is not waited for;
    // its result will be dropped.
    TWebThread* Iniciar(const QString& trackPath);
    // The track is gone: any result still to come is dropped and the last one forgotten.
    void Descartar();
    bool EnCurso() const { return !FActual.isNull(); }

    // Reload: logs "cargando: " and the page, and gives the page to show again.
    QString Recargar();

    // The finish handler of a worker, run on this object's thread.
    void IBPTerminado(TWebThread* worker);

  signals:
    // The current query has ended; its results are in the two fields above.
    void Terminado(const QString& URLNavigate);

  private:
    TLog* FLog;
    QPointer<TWebThread> FActual;
};

// Fetches `url` into `fichero` with an HTTP GET, following redirects, on the calling
// thread (user input waits meanwhile). The file is replaced only by a complete download:
// on any failure (bad address, HTTP error, silence for `tiempoLimiteMs`, disk error) it
// is left as it was and false is returned.
bool DescargarURL(const QString& url, const QString& fichero, int tiempoLimiteMs = 60000);
