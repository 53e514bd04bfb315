#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class TIniTexto;

// Where and how the main window stood when the program was closed.
struct TPosicionVentana {
    enum TMostrar { swNormal = 1, swMinimizada = 2, swMaximizada = 3 };
    int FormVersion = 0;
    int Flags = 0;
    int ShowCmd = swNormal;
    int PixelsPerInch = 96;
    QPoint MinPos{-1, -1};
    QPoint MaxPos{-1, -1};
    QRect NormPos; // left, top, right, bottom as stored; null when never stored
    bool Visible = true;
    bool Presente = false; // the file held a usable NormPos
};

// Every value the program keeps between runs, with its default.
struct TConfiguracion {
    // Stored values.
    QString Idioma;
    QString IdiomaTexto = QStringLiteral("0");
    QString GPSBabel;
    int Tema = -1;       // 0 Obsidian, 1 Luna, 2 Silver, -1 none
    QString UpdateURL;   // update server; empty: no update check goes out
    QString IBPIndexURL; // IBPindex service; empty: its public address
    int EnviarIBP = -1;  // may loaded tracks go to the IBPindex service: 1 yes, 0 no, -1 not asked
    // Metres an elevation change must pass before the filtered climb counts it; set by
    // hand, never written.
    double UmbralDesnivel = 5;

    // Stored control properties.
    int seAnchoLinea_Value = 1;
    quint32 colbLinea_Selected = 255;
    bool cbConfigUpdateInicio_Checked = true;
    bool ActionVerConLineas_Checked = true;
    bool ActionVerConPuntos_Checked = false;
    QString edtBabel_Text;
    int TimerAnim_Interval = 50;
    int sbVElocidad_Position = 2;
    bool cbAnchoLineaAuto_Checked = true;
    int edtConfigIdioma_Tag = 0;
    int outcbIdioma_ItemIndex = 0;

    TPosicionVentana Ventana;
};

extern const QString kSeccionConfig;     // "Config"
extern const QString kSeccionListaTemas; // "Config.outcbConfigEstilo_Items"

// The settings file: the program file's name with ".ini", in the program folder.
QString FicheroConfiguracion();

// Reads the file; a missing file, key or unreadable value keeps its default.
TConfiguracion LeerConfiguracion(const TIniTexto& ini);
TConfiguracion LeerConfiguracion(const QString& path, bool* existe = nullptr);

// Writes every value into `ini`, keeping the keys already there in their places; the
// theme list's section is rewritten whole.
void EscribirConfiguracion(const TConfiguracion& c, const QStringList& temas, TIniTexto& ini);
// Updates the file at `path` (other keys and sections in it stay).
bool GuardarConfiguracion(const TConfiguracion& c, const QStringList& temas, const QString& path,
                          QString* error = nullptr);

// "True"/"False", as the control properties are written.
QString TextoBooleano(bool valor);
