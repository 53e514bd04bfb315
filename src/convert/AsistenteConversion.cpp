#include "AsistenteConversion.h"

#include "ComandoGPSBabel.h"
#include "SenderalError.h"
#include "TextosVentana.h"
#include "Verbario.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
template <class T> T* nombrado(T* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}
} // namespace

TAsistenteConversion::TAsistenteConversion(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AsistenteConversion"));
    auto* fondo = new QVBoxLayout(this);
    fondo->setContentsMargins(0, 0, 0, 0);
    pnlConvertRuta = nombrado(new QWidget(this), "pnlConvertRuta");
    fondo->addWidget(pnlConvertRuta);
    auto* col = new QVBoxLayout(pnlConvertRuta);
    col->setContentsMargins(16, 12, 16, 12);
    col->setSpacing(10);

    Memo1 = nombrado(new QPlainTextEdit(pnlConvertRuta), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setPlainText(QStringLiteral(
        "Utilizando el siguiente asistente podrá convertir rutas almacenadas en distintos "
        "formatos.\nSiga los pasos siguientes, seleccione finalmente el nombre para el fichero "
        "de salida y pulse sobre el botón de Convertir."));
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 3 + 8);
    Memo1->viewport()->setAutoFillBackground(false);
    col->addWidget(Memo1);

    const QIcon abrir = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon guardar = style()->standardIcon(QStyle::SP_DialogSaveButton);

    Label12 = nombrado(new QLabel(QStringLiteral("Selecciona el fichero de &ruta/track que deseas "
                                                 "convertir: ")),
                       "Label12");
    _edtFileName = nombrado(new QLineEdit, "_edtFileName");
    QAction* buscarOrigen = _edtFileName->addAction(abrir, QLineEdit::TrailingPosition);
    Label12->setBuddy(_edtFileName);
    col->addWidget(crearPaso(QStringLiteral("1"), Label12, _edtFileName));

    Label14 = nombrado(new QLabel(QStringLiteral("Selecciona el &formato de salida para el "
                                                 "fichero a convertir: ")),
                       "Label14");
    _cbSalida = nombrado(new QComboBox, "_cbSalida");
    _cbSalida->setEditable(true);
    _cbSalida->setInsertPolicy(QComboBox::NoInsert);
    _cbSalida->setMaxVisibleItems(20);
    _cbSalida->setEnabled(false);
    Label14->setBuddy(_cbSalida);
    col->addWidget(crearPaso(QStringLiteral("2"), Label14, _cbSalida));

    Label16 = nombrado(
        new QLabel(QStringLiteral("Selecciona el nombre para el fichero de &salida:")), "Label16");
    auto* destino = new QWidget;
    auto* destinoCol = new QVBoxLayout(destino);
    destinoCol->setContentsMargins(0, 0, 0, 0);
    cbMismoDir =
        nombrado(new QCheckBox(QStringLiteral("&Mismo directorio que el original")), "cbMismoDir");
    cbMismoDir->setChecked(true);
    _edtFicheroSalida = nombrado(new QLineEdit, "_edtFicheroSalida");
    QAction* buscarDestino = _edtFicheroSalida->addAction(guardar, QLineEdit::TrailingPosition);
    Label16->setBuddy(_edtFicheroSalida);
    destinoCol->addWidget(cbMismoDir);
    destinoCol->addWidget(_edtFicheroSalida);
    col->addWidget(crearPaso(QStringLiteral("3"), Label16, destino));

    Label18 = nombrado(new QLabel(QStringLiteral("Convertir...")), "Label18");
    auto* botones = new QWidget;
    auto* fila = new QHBoxLayout(botones);
    fila->setContentsMargins(0, 0, 0, 0);
    _btnConvert = nombrado(new QPushButton(QStringLiteral("&Iniciar el proceso de conversión...")),
                           "_btnConvert");
    _btnConvert->setEnabled(false);
    _btnLimpiarConvert = nombrado(new QPushButton(QStringLiteral("&Limpiar datos de conversión")),
                                  "_btnLimpiarConvert");
    fila->addWidget(_btnConvert);
    fila->addWidget(_btnLimpiarConvert);
    fila->addStretch(1);
    col->addWidget(crearPaso(QStringLiteral("4"), Label18, botones));

    mmOutput = nombrado(new QPlainTextEdit(pnlConvertRuta), "mmOutput");
    mmOutput->setReadOnly(true);
    mmOutput->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPalette pal = mmOutput->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, QColor(0x00, 0xFF, 0x00));
    mmOutput->setPalette(pal);
    mmOutput->setPlainText(TextoSalidaInicial());
    col->addWidget(mmOutput, 1);

    TraducirAviso();

    connect(_edtFileName, &QLineEdit::textChanged, this, [this] { _edtFileNameChange(); });
    connect(buscarOrigen, &QAction::triggered, this,
            [this] { proteger([this] { _edtFileNameRightButtonClick(); }); });
    // A pick runs the checks at once; typed text runs them when the typing is done, so
    // a half-typed name does not raise a message box at every key.
    connect(_cbSalida, &QComboBox::activated, this, [this] {
        FSalidaEscrita = false;
        proteger([this] { _cbSalidaChange(); });
    });
    connect(_cbSalida->lineEdit(), &QLineEdit::textEdited, this, [this] { FSalidaEscrita = true; });
    connect(_cbSalida->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!FSalidaEscrita)
            return;
        FSalidaEscrita = false;
        proteger([this] { _cbSalidaChange(); });
    });
    connect(buscarDestino, &QAction::triggered, this,
            [this] { proteger([this] { _edtFicheroSalidaRightButtonClick(); }); });
    connect(_btnConvert, &QPushButton::clicked, this,
            [this] { proteger([this] { _btnConvertClick(); }); });
    connect(_btnLimpiarConvert, &QPushButton::clicked, this,
            [this] { proteger([this] { _btnLimpiarConvertClick(); }); });
}

QWidget* TAsistenteConversion::crearPaso(const QString& numero, QLabel* etiqueta,
                                         QWidget* contenido) {
    auto* paso = new QWidget(pnlConvertRuta);
    auto* fila = new QHBoxLayout(paso);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->setSpacing(12);
    auto* cifra = new QLabel(numero, paso);
    QFont f = cifra->font();
    f.setPointSizeF(f.pointSizeF() * 2.4);
    f.setBold(true);
    cifra->setFont(f);
    cifra->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    cifra->setFixedWidth(cifra->fontMetrics().horizontalAdvance(QLatin1Char('4')) * 2);
    cifra->setStyleSheet(QStringLiteral("color: #3a6ea5;"));
    auto* derecha = new QVBoxLayout;
    derecha->setSpacing(4);
    derecha->addWidget(etiqueta);
    derecha->addWidget(contenido);
    fila->addWidget(cifra);
    fila->addLayout(derecha, 1);
    return paso;
}

void TAsistenteConversion::proteger(const std::function<void()>& handler) {
    // Signals must not carry an exception through Qt: show it here as the shell would.
    try {
        handler();
    } catch (const ESenderalError& e) {
        if (MensajeError)
            MensajeError(e.text());
    }
}

void TAsistenteConversion::SetFormatos(const QStringList& salidas, const QStringList& convertList) {
    FConvertList = convertList;
    // The prompt stays as it is shown, possibly already translated by a language file.
    const QString aviso = _cbSalida->currentText();
    _cbSalida->clear();
    _cbSalida->addItems(salidas);
    _cbSalida->setCurrentIndex(-1);
    _cbSalida->setEditText(aviso);
}

void TAsistenteConversion::TraducirAviso() {
    const QString aviso = LookupText(QStringLiteral("_STR_MI_CHOOSEFORMAT"), TextoElegirFormato());
    if (_cbSalida->currentIndex() < 0 && (FAviso.isNull() || _cbSalida->currentText() == FAviso))
        _cbSalida->setEditText(aviso);
    FAviso = aviso;
}

void TAsistenteConversion::ComprobarConversion() {
    TDatosComprobacion d;
    d.Origen = _edtFileName->text();
    d.OrigenExiste = QFileInfo(d.Origen).isFile();
    const int i = _cbSalida->currentIndex();
    // Typing over a chosen item leaves the index where it was; only the item's own
    // text counts as a choice.
    d.SalidaElegida = i >= 0 && _cbSalida->currentText() == _cbSalida->itemText(i);
    d.TextoSalida = i >= 0 ? _cbSalida->itemText(i) : QString();
    d.ConvertList = FConvertList;
    bool focoSalida = false;
    const QString error = ::ComprobarConversion(d, StrIn, StrOut, focoSalida);
    if (error.isEmpty())
        return;
    if (MensajeError)
        MensajeError(error);
    if (focoSalida)
        _cbSalida->setFocus();
}

void TAsistenteConversion::_edtFileNameChange() {
    const bool existe = QFileInfo(_edtFileName->text()).isFile();
    _cbSalida->setEnabled(existe);
    _edtFicheroSalida->setEnabled(existe);
    if (!existe)
        _btnConvert->setEnabled(false);
}

void TAsistenteConversion::_edtFileNameRightButtonClick() {
    if (!DialogoAbrir)
        return;
    const QString path = DialogoAbrir();
    if (path.isEmpty())
        return;
    FCarpetaUltimaAbierta = QFileInfo(path).absolutePath();
    if (QFileInfo(path).isFile())
        _edtFileName->setText(path);
}

void TAsistenteConversion::_cbSalidaChange() {
    ComprobarConversion();
    const QString ext = QLatin1Char('.') + StrOut;
    if (!_edtFicheroSalida->text().isEmpty())
        _edtFicheroSalida->setText(CambiarExtension(_edtFicheroSalida->text(), ext));
    else if (cbMismoDir->isChecked() && !_edtFileName->text().isEmpty())
        _edtFicheroSalida->setText(CambiarExtension(_edtFileName->text(), ext));
    if (!_edtFicheroSalida->text().isEmpty())
        _btnConvert->setEnabled(true);
}

void TAsistenteConversion::_edtFicheroSalidaRightButtonClick() {
    ComprobarConversion();
    QString carpeta;
    if (cbMismoDir->isChecked())
        carpeta = FCarpetaUltimaAbierta.isEmpty() ? QFileInfo(_edtFileName->text()).absolutePath()
                                                  : FCarpetaUltimaAbierta;
    const QString propuesto =
        CambiarExtension(_edtFileName->text(), QLatin1Char('.') + StrOut.toLower());
    const QString elegido = DialogoGuardar ? DialogoGuardar(carpeta, propuesto, StrOut) : QString();
    if (!elegido.isEmpty()) {
        _edtFicheroSalida->setText(elegido);
        FDestinoConfirmado = elegido;
    }
    _btnConvert->setEnabled(!elegido.isEmpty() || !_edtFicheroSalida->text().isEmpty());
}

void TAsistenteConversion::_btnConvertClick() {
    if (FConvirtiendo)
        return;
    ComprobarConversion(); // the checks only warn; the conversion runs whatever they found
    const QString origen = _edtFileName->text();
    const QString destino = _edtFicheroSalida->text();
    if (QFileInfo::exists(destino) && destino != FDestinoConfirmado) {
        const QString pregunta =
            LookupTextCon(QStringLiteral("_STR_MI_DESTEXISTS"),
                          QStringLiteral("El fichero de destino ya existe:\r\n%s\r\n\r\n"
                                         "¿Desea reemplazarlo?"),
                          {destino});
        if (!MensajePregunta || !MensajePregunta(pregunta))
            return;
    }
    if (!Convertir)
        return;
    // The wait lets the window run; the button stays off so the same run is not
    // started twice meanwhile.
    FConvirtiendo = true;
    const bool habilitado = _btnConvert->isEnabled();
    _btnConvert->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    TResultadoConversion r;
    try {
        r = Convertir(origen, destino, _cbSalida->currentText());
    } catch (...) {
        QApplication::restoreOverrideCursor();
        _btnConvert->setEnabled(habilitado);
        FConvirtiendo = false;
        throw;
    }
    QApplication::restoreOverrideCursor();
    _btnConvert->setEnabled(habilitado);
    FConvirtiendo = false;

    if (r.NoIniciado) {
        if (MensajeError)
            MensajeError(TextoNoIniciado(r));
        return;
    }
    if (r.Exito) {
        FDestinoConfirmado.clear();
        // A format that keeps one track a file may have written several: name them all.
        QString escritos;
        if (r.Escritos.size() > 1)
            escritos = QStringLiteral("\r\n") + r.Escritos.join(QStringLiteral("\r\n"));
        if (MensajeInfo)
            MensajeInfo(LookupText(QStringLiteral("_STR_MI_CONVERTOK"),
                                   QStringLiteral("El fichero se ha convertido correctamente.")) +
                        escritos);
        mmOutput->setPlainText(r.Comando);
    } else {
        if (MensajeAviso)
            MensajeAviso(TextoFalloConversion(r));
        mmOutput->clear();
    }
}

void TAsistenteConversion::_btnLimpiarConvertClick() {
    mmOutput->setPlainText(TextoSalidaInicial());
    // The language in force has the box's first line too.
    if (window())
        AplicarIdiomaElemento(mmOutput, window()->objectName());
    _edtFileName->clear();
    _edtFileNameChange(); // also when the box was empty already
    _edtFicheroSalida->clear();
    FDestinoConfirmado.clear();
    if (_cbSalida->count() > 0)
        _cbSalida->setCurrentIndex(0);
    _btnConvert->setEnabled(false);
    _edtFileName->setFocus();
}
