#include "BuscadorActualizaciones.h"

#include "Actualizador.h"
#include "Descarga.h"
#include "Paquete.h"
#include "SenderalError.h"
#include "Verbario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

TBuscadorActualizaciones::TBuscadorActualizaciones(TDatosActualizacion datos,
                                                   TInterfazActualizacion& ui)
    : FDatos(std::move(datos)), FUi(ui) {}

QString TBuscadorActualizaciones::CarpetaUpdates() const {
    QString base = FDatos.DireccionBase.trimmed();
    if (base.isEmpty())
        return QString();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + QStringLiteral("AppUpdates/");
}

QString TBuscadorActualizaciones::NombreFichero(const QString& extension) const {
    return ExtensionCambiada(QFileInfo(FDatos.RutaPrograma).fileName(), extension);
}

void TBuscadorActualizaciones::ActionBuscarUpdatesExecute(bool silencioso) {
    const bool arrastreVisible = FUi.PanelArrastreVisible();
    FUi.MostrarPanelUpdate(true);
    const auto restaurar = qScopeGuard([this, arrastreVisible] {
        FUi.MostrarPanelUpdate(false);
        if (arrastreVisible)
            FUi.MostrarPanelArrastre();
    });
    buscar(silencioso);
}

void TBuscadorActualizaciones::informarSinActualizacion(bool silencioso) {
    if (silencioso)
        return;
    FUi.Informar(LookupText(QStringLiteral("_STR_MAIN_TITLE"), QStringLiteral("Senderal  v. ")) +
                 TextoVersion(FDatos.VersionLocal) + QStringLiteral("\r\n") +
                 LookupText(QStringLiteral("_STR_MI_ERORUPDATE"),
                            QStringLiteral("No hay ninguna actualización disponible para la "
                                           "aplicación.")));
}

void TBuscadorActualizaciones::informarFallo(bool silencioso, const QString& motivo) {
    if (!silencioso)
        FUi.Advertir(motivo);
}

void TBuscadorActualizaciones::buscar(bool silencioso) {
    TInfoVersion info;
    QString motivo;
    if (!LeerInfoVersionWeb(info, &motivo)) {
        // Nothing was checked, so "no update available" would be a false claim.
        FUi.Log(QStringLiteral("No se encuentra actualizacion"));
        informarFallo(silencioso, motivo);
        return;
    }
    const QString version = TextoVersion(info.Version);
    const QString fecha = TextoFechaCorta(info.Fecha, FDatos.Locale);
    FUi.Log(QStringLiteral("Encontrada info de version..."));
    FUi.Log(QStringLiteral("Versión: ") + version);
    FUi.Log(QStringLiteral("Autor: ") + info.Autor);
    FUi.Log(QStringLiteral("Web: ") + info.Web);
    FUi.Log(QStringLiteral("Fecha: ") + fecha);

    if (CompararVersiones(FDatos.VersionLocal, info.Version) !=
        TComparacionVersion::cvWebMasNueva) {
        FUi.Log(QStringLiteral("Ya está actualizado"));
        informarSinActualizacion(silencioso);
        return;
    }

    bool si;
    if (!info.Aviso.isEmpty()) {
        // The notice comes from the server: it is appended after the filling, so its
        // own "%" signs stay text.
        si = FUi.Preguntar(LookupTextCon(QStringLiteral("_STR_MI_QUESTIONUPD"),
                                         QStringLiteral("Existe una versión nueva en la web:\r\n"
                                                        "Versión: %s\r\nFecha:  %s\r\n¿Desea "
                                                        "descargarla?\r\n\r\nAVISO: "),
                                         {version, fecha}) +
                           info.Aviso);
        if (si) {
            FUi.AbrirDireccion(info.AvisoWeb);
            return;
        }
    } else {
        si = FUi.Preguntar(
            LookupTextCon(QStringLiteral("_STR_MI_QUESTIONDES"),
                          QStringLiteral("Existe una versión nueva en la web:\r\nVersión: "
                                         "%s\r\nFecha:  %s\r\n\r\n¿Desea descargarla?"),
                          {version, fecha}));
    }
    FUi.TextoEstadoVersion(LookupText(QStringLiteral("_STR_MI_NEWVERSION"),
                                      QStringLiteral("Existe versión nueva...")));
    if (!si) {
        FUi.Log(QStringLiteral("Descarga cancelada."));
        return;
    }
    descargarYActualizar(info.Version);
}

void TBuscadorActualizaciones::noInstalada(const QString& motivo) {
    FUi.Log(QStringLiteral("Actualización no instalada: ") + motivo);
    FUi.Advertir(motivo + QStringLiteral("\r\n\r\n") +
                 LookupText(QStringLiteral("_STR_MI_UPD_KEPT"),
                            QStringLiteral("El programa sigue como estaba.")));
}

void TBuscadorActualizaciones::descargarYActualizar(const TNumeroVersion& publicada) {
    // The update is the whole program folder: a new folder is made beside it, so both the
    // folder and the one holding it must be writable.
    const QFileInfo carpeta(QFileInfo(FDatos.RutaPrograma).absolutePath());
    const QString madre = carpeta.absolutePath();
    for (const QString& c : {carpeta.absoluteFilePath(), madre}) {
        if (!QFileInfo(c).isWritable()) {
            noInstalada(
                LookupTextCon(QStringLiteral("_STR_MI_UPD_NOTWRITABLE"),
                              QStringLiteral("No se puede escribir en la carpeta %s, así que el "
                                             "programa no puede actualizarse solo."),
                              {c}));
            return;
        }
    }
    const QString nombre = NombreFichero(QStringLiteral(".tar.gz"));
    const QString local = FDatos.CarpetaCache + nombre;
    const QUrl direccion(CarpetaUpdates() + nombre);
    QDir().mkpath(FDatos.CarpetaCache);
    QString error;
    if (!DescargarFichero(direccion, local, FDatos.EsperaMs, &error) || !QFileInfo::exists(local)) {
        FUi.Log(QStringLiteral("No se ha podido descargar el fichero."));
        FUi.Log(QStringLiteral("   ") + error);
        noInstalada(LookupTextCon(QStringLiteral("_STR_MI_UPD_NODOWNLOAD"),
                                  QStringLiteral("No se ha podido descargar la actualización.\r\n"
                                                 "Dirección: %s\r\nMotivo: %s"),
                                  {direccion.toString(), error}));
        return;
    }
    FUi.Log(QStringLiteral("Fichero descargado correctamente..."));

    // Unpacked beside the program folder; removed again unless the updater takes it.
    QTemporaryDir nueva(PrefijoCarpetaNueva(carpeta.absoluteFilePath()) + QStringLiteral("XXXXXX"));
    if (!nueva.isValid()) {
        noInstalada(
            LookupTextCon(QStringLiteral("_STR_MI_UPD_NOTWRITABLE"),
                          QStringLiteral("No se puede escribir en la carpeta %s, así que el "
                                         "programa no puede actualizarse solo."),
                          {madre}));
        return;
    }
    const QString programa = QFileInfo(FDatos.RutaPrograma).fileName();
    if (!DesempaquetarActualizacion(local, nueva.path(), programa, &error)) {
        QFile::remove(local);
        noInstalada(error);
        return;
    }
    QFile::remove(local);
    // The new program must be the version announced, or the same update would be offered
    // again after the restart.
    TNumeroVersion desempaquetada;
    const QString programaNuevo = QDir(nueva.path()).filePath(programa);
    if (!VersionDeProgramaEn(programaNuevo, &desempaquetada) ||
        CompararVersiones(desempaquetada, publicada) != TComparacionVersion::cvIguales) {
        noInstalada(LookupTextCon(
            QStringLiteral("_STR_MI_UPD_WRONGVERSION"),
            QStringLiteral("El programa de la actualización no es la versión "
                           "anunciada (%s); dice ser: %s"),
            {TextoVersion(publicada), desempaquetada.Major || desempaquetada.Minor ||
                                              desempaquetada.Release || desempaquetada.Build
                                          ? TextoVersion(desempaquetada)
                                          : QStringLiteral("?")}));
        return;
    }
    FUi.Log(QStringLiteral("Actualización desempaquetada en ") + nueva.path());
    nueva.setAutoRemove(false);
    try {
        LanzarActualizador(nueva.path());
    } catch (...) {
        QDir(nueva.path()).removeRecursively();
        throw;
    }
}

bool TBuscadorActualizaciones::LeerInfoVersionWeb(TInfoVersion& info, QString* motivo) {
    info = TInfoVersion();
    const QString nombre = NombreFichero(QStringLiteral(".ver"));
    FUi.Log(QStringLiteral("SourceFile: ") + nombre);
    FUi.Log(QStringLiteral("Fichero de version: ") + nombre);
    const QString local = FDatos.CarpetaCache + nombre;
    FUi.Log(QStringLiteral("Fichero de destino(temporal): ") + local);
    QDir().mkpath(FDatos.CarpetaCache);

    auto noDescargado = [&](const QString& razon) {
        FUi.Log(QStringLiteral("No se ha descargdado el fichero."));
        FUi.Log(QStringLiteral("   ") + razon);
        if (motivo)
            *motivo = razon;
        return false;
    };
    const QUrl direccion(CarpetaUpdates() + nombre);
    if (FDatos.DireccionBase.trimmed().isEmpty())
        return noDescargado(LookupText(
            QStringLiteral("_STR_MI_UPD_NOADDRESS"),
            QStringLiteral("No hay ninguna dirección de actualizaciones configurada, así que no "
                           "se ha podido comprobar si existe una versión nueva.")));
    if (!DireccionActualizacionAdmitida(direccion))
        return noDescargado(
            LookupTextCon(QStringLiteral("_STR_MI_UPD_NOTSAFE"),
                          QStringLiteral("La dirección de actualizaciones no es segura (debe "
                                         "empezar por https://): %s"),
                          {direccion.toString()}));
    QString error;
    if (!DescargarFichero(direccion, local, FDatos.EsperaMs, &error))
        return noDescargado(
            LookupTextCon(QStringLiteral("_STR_MI_UPD_UNREACHABLE"),
                          QStringLiteral("No se ha podido consultar el servidor de "
                                         "actualizaciones.\r\nDirección: %s\r\nMotivo: %s"),
                          {direccion.toString(), error}));
    QFile fichero(local);
    if (!fichero.open(QIODevice::ReadOnly)) {
        FUi.Log(QStringLiteral("No existe el fichero: ") + local);
        return true;
    }
    FUi.Log(QStringLiteral("Extraer info de version (fichero descargado)..."));
    QStringList log;
    try {
        info = LeerInfoVersion(DecodificarTexto(fichero.readAll()), FDatos.Locale, log);
    } catch (const ESenderalError&) {
        for (const QString& linea : log)
            FUi.Log(linea);
        throw;
    }
    for (const QString& linea : log)
        FUi.Log(linea);
    return true;
}

void TBuscadorActualizaciones::LanzarActualizador(const QString& carpetaNueva) {
    const QString viejo = FDatos.CarpetaPrograma + NombreFichero(QStringLiteral(".old"));
    if (QFileInfo::exists(viejo))
        QFile::remove(viejo);
    const QString actualizador = FDatos.CarpetaPrograma + FDatos.NombreActualizador;
    const QStringList argumentos{QFileInfo(FDatos.RutaPrograma).absoluteFilePath(),
                                 QFileInfo(carpetaNueva).absoluteFilePath()};
    if (!QFileInfo(actualizador).isExecutable() ||
        !QProcess::startDetached(actualizador, argumentos, FDatos.CarpetaPrograma)) {
        FUi.Log(QStringLiteral("No se ha podido iniciar el actualizador: ") + actualizador);
        throw ESenderalError(
            QStringLiteral("No se ha podido iniciar el actualizador:\r\n%1").arg(actualizador));
    }
    FUi.Log(
        QStringLiteral("Actualizador iniciado: \"%1\" \"%2\"").arg(argumentos[0], argumentos[1]));
    FUi.TerminarPrograma();
}
