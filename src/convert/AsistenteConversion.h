#pragma once

#include "Conversor.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The conversion wizard page ("Convertir ruta"): pick a source file, a target format and
// a destination, then run the conversion. The window supplies the dialogs, the message
// boxes and the conversion itself, so tests drive the page without any dialog.
class TAsistenteConversion : public QWidget {
    Q_OBJECT
  public:
    explicit TAsistenteConversion(QWidget* parent = nullptr);

    // The catalogue's targets for `_cbSalida` and the description list for the checks.
    void SetFormatos(const QStringList& salidas, const QStringList& convertList);

    // Open dialog ("Seleccione el fichero de ruta"): returns the picked path or empty.
    std::function<QString()> DialogoAbrir;
    // Save dialog ("Nombre para el fichero destino"): start folder (may be empty), proposed
    // path, default extension without the dot; returns the confirmed path or empty.
    // A confirmed path was already agreed to be replaced when it exists.
    std::function<QString(const QString&, const QString&, const QString&)> DialogoGuardar;
    std::function<void(const QString&)> MensajeInfo;
    std::function<void(const QString&)> MensajeAviso;
    std::function<void(const QString&)> MensajeError;
    std::function<bool(const QString&)> MensajePregunta; // true = Yes
    // Runs one conversion (source, destination, target description).
    std::function<TResultadoConversion(const QString&, const QString&, const QString&)> Convertir;

    // The wizard's checks: show their message and set StrIn / StrOut.
    void ComprobarConversion();

    // The target list's prompt in the language in force. It is replaced only while it
    // is shown: no format chosen and nothing typed over it.
    void TraducirAviso();

    // Event handlers, public so the window and the tests can run them.
    void _edtFileNameChange();
    void _edtFileNameRightButtonClick();
    void _cbSalidaChange();
    void _edtFicheroSalidaRightButtonClick();
    void _btnConvertClick();
    void _btnLimpiarConvertClick();

    QString StrIn;
    QString StrOut;

    QWidget* pnlConvertRuta = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* _edtFileName = nullptr;
    QLabel* Label14 = nullptr;
    QComboBox* _cbSalida = nullptr;
    QLabel* Label16 = nullptr;
    QCheckBox* cbMismoDir = nullptr;
    QLineEdit* _edtFicheroSalida = nullptr;
    QLabel* Label18 = nullptr;
    QPushButton* _btnConvert = nullptr;
    QPushButton* _btnLimpiarConvert = nullptr;
    QPlainTextEdit* mmOutput = nullptr;

    static QString TextoSalidaInicial() { return QStringLiteral("Comando utilizado..."); }
    static QString TextoElegirFormato() {
        return QStringLiteral("Selecciona formato de destino...");
    }

  private:
    void proteger(const std::function<void()>& handler);
    QWidget* crearPaso(const QString& numero, QLabel* etiqueta, QWidget* contenido);

    QStringList FConvertList;
    QString FCarpetaUltimaAbierta; // folder of the file last picked in the open dialog
    QString FDestinoConfirmado;    // destination already agreed to in the save dialog
    bool FSalidaEscrita = false;   // the user typed into the target list
    QString FAviso;                // the prompt last put into the target list
    bool FConvirtiendo = false;
};
