#include "CatalogoFormatos.h"

#include "BaseSQLite.h"
#include "Log.h"
#include "SenderalError.h"
#include "Verbario.h"

#include <QSet>

namespace {
const QString kSelectTodo = QStringLiteral("Select * from FormatDesc");
const QString kPorDescripcion = QStringLiteral("Select * from FormatDesc where Descripcion=?");
const QString kPorCodigo = QStringLiteral("Select * from FormatDesc where Codigo=?");

QString faltaColumna(const QString& name) {
    return QStringLiteral("Field '%1' not found").arg(name);
}

// Reads the three used columns of the current row; false (error set) when one is missing.
bool leerFila(const TSentenciaSQLite& q, TFilaFormato& fila, QString& error) {
    const struct {
        const char* name;
        QString* out;
    } cols[] = {{"Codigo", &fila.Codigo}, {"Descripcion", &fila.Descripcion}, {"Code", &fila.Code}};
    for (const auto& c : cols) {
        const auto v = q.Texto(QLatin1String(c.name));
        if (!v) {
            error = faltaColumna(QLatin1String(c.name));
            return false;
        }
        *c.out = *v;
    }
    return true;
}
} // namespace

TCatalogoFormatos::TCatalogoFormatos(QString path, TLog* log) : FRuta(std::move(path)), FLog(log) {}

void TCatalogoFormatos::log(const QString& line) const {
    if (FLog)
        FLog->_Log(line, false);
}

TProductosCatalogo TCatalogoFormatos::LeerProductos(const QString& filtroTodos) const {
    TProductosCatalogo p;
    QString filtro = filtroTodos;
    p.StrAcceptTypes = QStringLiteral("(");
    TBaseSQLite db;
    db.Abrir(FRuta);
    TSentenciaSQLite q(db, kSelectTodo);
    if (!q.Preparada()) {
        p.Error = q.Error();
        return p;
    }
    bool primera = true;
    while (q.Siguiente()) {
        TFilaFormato fila;
        if (!leerFila(q, fila, p.Error))
            return p;
        if (!primera)
            p.StrAcceptTypes += QStringLiteral(" ,");
        p.StrAcceptTypes += MayusculasAscii(fila.Codigo);
        p.Salidas << fila.Descripcion;
        p.ConvertList << fila.Descripcion + QLatin1Char('=') + fila.Codigo;
        filtro += QLatin1Char('|') + fila.Descripcion + QStringLiteral("|*.") +
                  MinusculasAscii(fila.Codigo);
        log(filtro);
        p.Filtro = filtro;
        p.FiltroAsignado = true;
        primera = false;
    }
    if (!q.Error().isEmpty()) {
        p.Error = q.Error();
        return p;
    }
    p.StrAcceptTypes += QLatin1Char(')');
    return p;
}

std::optional<QString> TCatalogoFormatos::consultarCode(const QString& plantilla,
                                                        const QString& valor) const {
    // The value is bound, never written into the statement; the log shows it as a literal.
    QString visto = plantilla;
    visto.replace(visto.indexOf(QLatin1Char('?')), 1, LiteralSQL(valor));
    log(QStringLiteral("SQL: ") + visto);
    TBaseSQLite db;
    db.Abrir(FRuta);
    TSentenciaSQLite q(db, plantilla);
    if (!q.Preparada() || !q.Vincular(1, valor))
        throw ESenderalError(TextoErrorDatosConversion() + q.Error());
    if (!q.Siguiente()) {
        if (!q.Error().isEmpty())
            throw ESenderalError(TextoErrorDatosConversion() + q.Error());
        return std::nullopt;
    }
    const auto code = q.Texto(QStringLiteral("Code"));
    if (!code)
        throw ESenderalError(TextoErrorDatosConversion() + faltaColumna(QStringLiteral("Code")));
    return *code;
}

std::optional<QString>
TCatalogoFormatos::CodigoGPSBabelPorDescripcion(const QString& descripcion) const {
    return consultarCode(kPorDescripcion, descripcion);
}

std::optional<QString>
TCatalogoFormatos::CodigoGPSBabelPorExtension(const QString& extension) const {
    return consultarCode(kPorCodigo, extension);
}

std::vector<TFilaFormato> TCatalogoFormatos::LeerFilas(QString& error) const {
    std::vector<TFilaFormato> filas;
    error.clear();
    TBaseSQLite db;
    db.Abrir(FRuta);
    TSentenciaSQLite q(db, kSelectTodo);
    if (!q.Preparada()) {
        error = q.Error();
        return filas;
    }
    while (q.Siguiente()) {
        TFilaFormato fila;
        if (!leerFila(q, fila, error))
            return filas;
        filas.push_back(fila);
    }
    error = q.Error();
    return filas;
}

QString LiteralSQL(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString MayusculasAscii(QString text) {
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

QString MinusculasAscii(QString text) {
    for (QChar& c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() - 'A' + 'a');
    return text;
}

std::optional<QString> ValorConvertList(const QStringList& lista, const QString& descripcion) {
    for (const QString& entrada : lista) {
        const int igual = entrada.indexOf(QLatin1Char('='));
        if (igual < 0)
            continue;
        if (entrada.left(igual).compare(descripcion, Qt::CaseInsensitive) == 0)
            return entrada.mid(igual + 1);
    }
    return std::nullopt;
}

QStringList FiltroDialogoQt(const QString& filtro) {
    QStringList result;
    const QStringList partes = filtro.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        QStringList patrones;
        for (const QString& p : partes[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            for (const QString& v : {t, MinusculasAscii(t), MayusculasAscii(t)})
                if (!patrones.contains(v))
                    patrones << v;
        }
        // Qt reads the patterns from the last parenthesised group, so descriptions that
        // carry their own "(*.GPX)" keep it as text.
        result << partes[i] + QStringLiteral(" (") + patrones.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

QStringList ComprobarFilasCatalogo(const std::vector<TFilaFormato>& filas) {
    QStringList problemas;
    QSet<QString> descripciones;
    QSet<QString> codigos;
    bool hayGpx = false;
    for (const TFilaFormato& f : filas) {
        const QString quien = QStringLiteral("\"%1\": ").arg(f.Descripcion);
        if (f.Codigo.isEmpty() || f.Codigo != f.Codigo.toLower())
            problemas << quien + QStringLiteral("the extension must be lower case and not empty");
        if (f.Codigo.contains(QLatin1Char('.')) || f.Codigo.contains(QLatin1Char('|')))
            problemas << quien + QStringLiteral("the extension holds '.' or '|'");
        if (f.Descripcion.isEmpty() || f.Descripcion.contains(QLatin1Char('=')) ||
            f.Descripcion.contains(QLatin1Char('|')))
            problemas << quien + QStringLiteral("the description is empty or holds '=' or '|'");
        if (descripciones.contains(f.Descripcion))
            problemas << quien + QStringLiteral("the description is repeated");
        if (codigos.contains(f.Codigo))
            problemas << quien + QStringLiteral("the extension is repeated; only its first row "
                                                "would ever be used for a source file");
        if (f.Code.trimmed().isEmpty())
            problemas << quien + QStringLiteral("no GPSBabel format name");
        descripciones.insert(f.Descripcion);
        codigos.insert(f.Codigo);
        hayGpx = hayGpx || f.Descripcion == TCatalogoFormatos::DescripcionGPX();
    }
    if (!hayGpx)
        problemas
            << QStringLiteral("no row describes \"%1\"").arg(TCatalogoFormatos::DescripcionGPX());
    return problemas;
}

QString TextoErrorDatosConversion() {
    return LookupText(QStringLiteral("_STR_MI_ERRDATACONV"),
                      QStringLiteral("Error al acceder a los datos de Conversión; ")) +
           QStringLiteral("\r\n");
}
