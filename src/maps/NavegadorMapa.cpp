#include "NavegadorMapa.h"

#include "CargaAlMostrar.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSet>
#include <QStandardPaths>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <climits>

namespace {
const QString kGuionConfig = QStringLiteral("senderal-config");

bool esHttp(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// The providers' usage policies ask every client to say who it is; a page opened from a
// local file sends no Referer at all, and some servers refuse requests without one.
class TInterceptorTeselas : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!esHttp(info.requestUrl()))
            return;
        info.setHttpHeader("User-Agent", AgenteUsuarioMapa().toUtf8());
        info.setHttpHeader("Referer", RefererMapa().toUtf8());
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeImage)
            emit teselaPedida(info.requestUrl(), info.firstPartyUrl());
    }

  signals:
    void teselaPedida(const QUrl& url, const QUrl& pagina);
};

struct TPerfilCompartido {
    QPointer<QWebEngineProfile> perfil;
    TInterceptorTeselas* interceptor = nullptr;
    int usuarios = 0;
    QString carpetaOverride;
    TConfigTeselas config = ConfigTeselasPorDefecto();
};

TPerfilCompartido& compartido() {
    static TPerfilCompartido c;
    return c;
}

int bytesCache(qint64 bytes) {
    return int(std::min<qint64>(bytes, INT_MAX));
}

// One profile for every map browser of the process: two profiles on the same folder would
// fight over its cache.
QWebEngineProfile* adquirirPerfil() {
    TPerfilCompartido& c = compartido();
    if (!c.perfil) {
        const QString carpeta = CarpetaCacheMapa();
        QDir().mkpath(carpeta);
        c.perfil = new QWebEngineProfile(QStringLiteral("senderal-mapa"));
        c.perfil->setPersistentStoragePath(QDir(carpeta).filePath(QStringLiteral("perfil")));
        c.perfil->setCachePath(carpeta);
        c.perfil->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        c.perfil->setHttpCacheMaximumSize(bytesCache(c.config.cacheMaxBytes));
        c.perfil->setHttpUserAgent(AgenteUsuarioMapa());
        c.interceptor = new TInterceptorTeselas(c.perfil);
        c.perfil->setUrlRequestInterceptor(c.interceptor);
    }
    ++c.usuarios;
    return c.perfil;
}

void liberarPerfil() {
    TPerfilCompartido& c = compartido();
    if (--c.usuarios > 0)
        return;
    // Deleted now, after its pages: its cache is written out before the program ends.
    delete c.perfil;
    c.interceptor = nullptr;
}

QString textoJs(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Lives as a child of the view it prepared; owns the view's page from its first load on.
class TNavegadorMapa : public QObject {
    Q_OBJECT
  public:
    explicit TNavegadorMapa(QWebEngineView* view) : QObject(view), FVista(view) {
        setObjectName(QStringLiteral("TNavegadorMapa"));
        connect(TCargaAlMostrar::De(view), &TCargaAlMostrar::AntesDeCargar, this,
                [this](const QUrl& url) {
                    if (url.scheme() == QLatin1String("about") && !FPagina)
                        return;
                    crearPagina();
                    ActualizarConfig();
                });
    }
    ~TNavegadorMapa() override {
        if (!FPagina)
            return;
        delete FPagina;
        liberarPerfil();
    }

    void ActualizarConfig() {
        QWebEngineScriptCollection& scripts = FPagina->scripts();
        for (const QWebEngineScript& s : scripts.find(kGuionConfig))
            scripts.remove(s);
        QWebEngineScript guion;
        guion.setName(kGuionConfig);
        guion.setInjectionPoint(QWebEngineScript::DocumentCreation);
        guion.setWorldId(QWebEngineScript::MainWorld);
        guion.setRunsOnSubFrames(false);
        guion.setSourceCode(QString::fromUtf8(GuionConfigPagina(compartido().config)));
        scripts.insert(guion);
    }

  private:
    void crearPagina() {
        if (FPagina)
            return;
        QWebEngineProfile* perfil = adquirirPerfil();
        FPagina = new QWebEnginePage(perfil, this);
        // The page is a local file; its tiles come from the web. Without this the browser
        // refuses every tile before a request is even made.
        FPagina->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                          true);
        connect(compartido().interceptor, &TInterceptorTeselas::teselaPedida, this,
                &TNavegadorMapa::teselaPedida, Qt::QueuedConnection);
        connect(FPagina, &QWebEnginePage::loadStarted, this, [this] {
            FServidores.clear();
            FAvisado = false;
        });
        FVista->setPage(FPagina);
    }

    // The browser does not tell the page a tile's HTTP status, and a refusal often comes
    // as a picture saying so: the first tile of each server is asked for once more, here,
    // to read the status.
    void teselaPedida(const QUrl& url, const QUrl& pagina) {
        if (FAvisado || (pagina.isValid() && pagina != FPagina->url()))
            return;
        const QString servidor = url.authority();
        if (FServidores.contains(servidor))
            return;
        FServidores.insert(servidor);
        QNetworkRequest peticion(url);
        peticion.setRawHeader("User-Agent", AgenteUsuarioMapa().toUtf8());
        peticion.setRawHeader("Referer", RefererMapa().toUtf8());
        peticion.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                              QNetworkRequest::AlwaysNetwork);
        peticion.setTransferTimeout(15000);
        QNetworkReply* reply = FRed.get(peticion);
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            reply->deleteLater();
            const int estado = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (estado == 403 || estado == 429)
                avisarRechazo(reply->url().host(), estado);
        });
    }

    void avisarRechazo(const QString& servidor, int estado) {
        if (FAvisado)
            return;
        FAvisado = true;
        FPagina->runJavaScript(
            QStringLiteral("window.senderalAviso && window.senderalAviso('rechazo', %1);")
                .arg(textoJs(TextoTeselasRechazadas(servidor, estado))));
    }

    QWebEngineView* FVista;
    QWebEnginePage* FPagina = nullptr;
    QNetworkAccessManager FRed;
    QSet<QString> FServidores;
    bool FAvisado = false;
};
} // namespace

void EstablecerConfigTeselas(const TConfigTeselas& c) {
    TPerfilCompartido& s = compartido();
    s.config = c;
    if (s.perfil)
        s.perfil->setHttpCacheMaximumSize(bytesCache(c.cacheMaxBytes));
}

const TConfigTeselas& ConfigTeselasActual() {
    return compartido().config;
}

QString CarpetaCacheMapa() {
    const QString& override = compartido().carpetaOverride;
    if (!override.isEmpty())
        return override;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("senderal/mapa"));
}

void SetCarpetaCacheMapaOverride(const QString& dir) {
    compartido().carpetaOverride = dir.isEmpty() ? QString() : QDir(dir).absolutePath();
}

void PrepararNavegadorMapa(QWebEngineView* view) {
    if (view && !view->findChild<TNavegadorMapa*>(QString(), Qt::FindDirectChildrenOnly))
        new TNavegadorMapa(view);
}

#include "NavegadorMapa.moc"
