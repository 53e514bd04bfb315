#pragma once

#include "DialogoGuardar.h"
#include "EscritoresRuta.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class TFormData;

// The export page `tsConvertir` (its tab is never shown): the lines of the last export in
// `mmConvertTrack` and a button per format.
class TPaginaExportarRuta : public QWidget {
    Q_OBJECT
  public:
    explicit TPaginaExportarRuta(QWidget* parent = nullptr);

    QPlainTextEdit* mmConvertTrack;
    QPushButton* btnGrabarKLM;
    QPushButton* btnGrabarPLT;

    // Shows the lines the export writes, asks for a file beside the track (same name,
    // the format's extension) and writes them there; a cancelled dialog writes nothing.
    // Throws ESenderalError when the file cannot be written.
    void Exportar(TFormatoRuta format, const TFormData& data, const QString& trackPath,
                  const TPedirFicheroGuardar& pedir);
};
