#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

class QNetworkAccessManager;

// One IBP index query: uploads a track file to the service and takes the two result
// addresses from its answer, on a thread of its own. It touches only its own fields and
// "ibp.html" in the cache folder; the owner reads the results from its `finished` handler,
// which Qt runs once the body has ended, whatever the way it ended.
class TWebThread : public QThread {
    Q_OBJECT
  public:
    // Created suspended: nothing happens before start(). The base address and the cache
    // folder are copied now so that the thread never reads shared settings.
    TWebThread(const QString& AFileName, QObject* wb, QObject* parent = nullptr);

    QObject* webBrowser() const { return FwebBrowser; }
    void setWebBrowser(QObject* wb) { FwebBrowser = wb; }
    QString TrackFileName() const { return FTrackFileName; }
    void setTrackFileName(const QString& name) { FTrackFileName = name; }
    QString Response() const { return FResponse; }
    void setResponse(const QString& response) { FResponse = response; }
    QString URLNavigate() const { return FURLNavigate; }
    void setURLNavigate(const QString& url) { FURLNavigate = url; }
    QString UrlPDF() const { return FURLPDF; }

    QString DireccionBase;      // the service's base address, ending in "/"
    QString CarpetaCache;       // where "ibp.html" goes
    int TiempoLimiteMs = 30000; // the upload ends when the server stays silent this long
    bool PeticionHecha = false; // an upload was sent (for the log and the tests)
    // Why the query failed, for the user-interface thread to put into words: the network
    // error code and HTTP status of the upload, or the text of a local failure.
    int ErrorRed = 0;
    int EstadoHttp = 0;
    QString TextoError;

  protected:
    void run() override;

  private:
    void Execute();
    bool Enviar(class TCuerpoFormularioIBP& cuerpo, QString& respuesta);
    void ExtraerEnlacesIBP(const QString& respuesta);

    QNetworkAccessManager* IdHTTP = nullptr; // lives on this thread while the body runs
    QString FTrackFileName;
    QPointer<QObject> FwebBrowser; // handed in by the owner; never used here
    QString FResponse;
    QString FURLNavigate;
    QString FURLPDF;
};
