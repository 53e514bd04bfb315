#include "VentanaPrueba.h"

#include "Configuracion.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

void CopiarDatosPrograma(const QString& destino, bool conIdiomas) {
    const QString origen = QStringLiteral(SENDERAL_APP_DIR);
    QDirIterator it(origen, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(origen).relativeFilePath(path);
        if (rel.startsWith(QLatin1String("cache/")) || QFileInfo(path).isExecutable() ||
            (!conIdiomas && rel.endsWith(QLatin1String(".lng"))))
            continue;
        QDir(destino).mkpath(QFileInfo(rel).path());
        QFile::copy(path, QDir(destino).filePath(rel));
    }
}

void EscribirAjustesSinRed(const QByteArray& masLineas) {
    QFile ini(FicheroConfiguracion());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        << ini.fileName().toStdString();
    ini.write("[Config]\r\ncbConfigUpdateInicio_Checked=False\r\nEnviarIBP=False\r\n" + masLineas);
}

TFMain& TVentanaPrueba::crear(const QStringList& argumentos) {
    ventana = std::make_unique<TFMain>(QStringList{QStringLiteral("senderal")} + argumentos);
    datos = std::make_unique<TFormData>(ventana->Log);
    ventana->SetFormData(datos.get());
    ventana->MensajeError = [this](const QString& t) { errores << t; };
    ventana->MensajeAviso = [this](const QString& t) { avisos << t; };
    ventana->MensajeInfo = [this](const QString& t) { infos << t; };
    ventana->MensajePregunta = [this](const QString&) { return respuestaSi; };
    return *ventana;
}

void TVentanaPrueba::cerrar() {
    datos.reset();
    ventana.reset();
}
