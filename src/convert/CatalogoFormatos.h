#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class TLog;

// One row of table FormatDesc: the file extension (lower case, no dot), the text the
// user sees, and GPSBabel's name of the format.
struct TFilaFormato {
    QString Codigo;
    QString Descripcion;
    QString Code;
};

// What reading the catalogue gives the main window, in the database's row order.
struct TProductosCatalogo {
    // The open dialog's file types: "description|pattern|description|pattern...",
    // the all-files pair first.
    QString Filtro;
    // False when no row was read: the dialog then keeps the file types it had.
    bool FiltroAsignado = false;
    QStringList Salidas;     // targets of the conversion wizard
    QStringList ConvertList; // "Descripcion=Codigo", one per row
    QString StrAcceptTypes;  // "(GPX ,PLT)"
    QString Error;           // empty when every row was read; else the library's text
};

// The format catalogue "DataCnv.s3db". Every query opens the file afresh and closes it
// afterwards, so a lookup always reads the file as it is now; nothing is ever written.
class TCatalogoFormatos {
  public:
    explicit TCatalogoFormatos(QString path = QString(), TLog* log = nullptr);

    void SetRuta(const QString& path) { FRuta = path; }
    const QString& Ruta() const { return FRuta; }
    void SetLog(TLog* log) { FLog = log; }

    // Reads every row into the four products; stops at the first error and keeps what
    // was built so far. `filtroTodos` is the all-files pair that opens the filter.
    TProductosCatalogo LeerProductos(const QString& filtroTodos) const;

    // GPSBabel's format name of the first row with that description / extension; nothing
    // when no row matches. A database failure raises ESenderalError with the user's text.
    std::optional<QString> CodigoGPSBabelPorDescripcion(const QString& descripcion) const;
    std::optional<QString> CodigoGPSBabelPorExtension(const QString& extension) const;

    // Every row, in order; for checks of the shipped catalogue. Error set on failure.
    std::vector<TFilaFormato> LeerFilas(QString& error) const;

    static QString NombreFichero() { return QStringLiteral("DataCnv.s3db"); }
    // The description the import of a non-GPX track names as its target.
    static QString DescripcionGPX() { return QStringLiteral("GPS Exchange Format (*.GPX)"); }

  private:
    std::optional<QString> consultarCode(const QString& plantilla, const QString& valor) const;
    void log(const QString& line) const;

    QString FRuta;
    TLog* FLog;
};

// `text` as an SQL string literal: in single quotes, every single quote doubled.
QString LiteralSQL(const QString& text);

// Only a-z / A-Z change: catalogue values keep accented letters exactly as stored.
QString MayusculasAscii(QString text);
QString MinusculasAscii(QString text);

// The value for `descripcion` in a "name=value" list: the text after the first "=" of
// the first entry whose name equals it without regard to letter case.
std::optional<QString> ValorConvertList(const QStringList& lista, const QString& descripcion);

// The open dialog's "description|pattern|..." text as Qt name filters. Extensions are
// offered in both letter cases, so "RUTA.KML" is listed as well as "ruta.kml".
QStringList FiltroDialogoQt(const QString& filtro);

// Why these rows would break the program (each problem one text); empty when sound.
QStringList ComprobarFilasCatalogo(const std::vector<TFilaFormato>& filas);

// The message head shown with any database failure.
QString TextoErrorDatosConversion();
