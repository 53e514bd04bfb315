#pragma once

#include "FormData.h"
#include "FormMain.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

// Copies the built program folder's data files (mapping file, catalogue, map page files,
// samples; language files unless `conIdiomas` is false) into `destino`, without the
// programs, the window module and the cache.
void CopiarDatosPrograma(const QString& destino, bool conIdiomas = true);

// Writes the settings file of the program folder set with SetAppDirOverride: no update
// check and no track sent over the network, then `masLineas` ("Key=Value\r\n" each).
void EscribirAjustesSinRed(const QByteArray& masLineas = {});

// The main window as the program opens it, with its data holder. What its message boxes
// would say is kept instead of shown, and a question gets `respuestaSi`.
struct TVentanaPrueba {
    std::unique_ptr<TFMain> ventana;
    std::unique_ptr<TFormData> datos;
    QStringList errores, avisos, infos;
    bool respuestaSi = true;

    // A new window started with the program's name and `argumentos`; not shown yet.
    TFMain& crear(const QStringList& argumentos = {});
    // The data holder goes first: it writes to the window's log, as at program exit.
    void cerrar();
};
