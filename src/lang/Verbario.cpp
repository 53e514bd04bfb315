#include "Verbario.h"

#include "AppPaths.h"
#include "IniTexto.h"
#include "TextosPista.h"

#include <QFileInfo>

#include <memory>

namespace {
std::unique_ptr<TIniTexto>& idiomaActual() {
    static std::unique_ptr<TIniTexto> file;
    return file;
}

const QString Marca = QStringLiteral("*|*");
const QString Salto = QStringLiteral("\r\n");
} // namespace

QString ConvertirMarcasSalto(const QString& value) {
    if (!value.contains(Marca))
        return value;
    const QStringList pieces = value.split(Marca);
    // Leading empty pieces stand for a run of markers at the start: one break in all.
    qsizetype first = 0;
    while (first < pieces.size() && pieces[first].isEmpty())
        ++first;
    QString result = first > 0 ? Salto : QString();
    for (qsizetype i = first; i < pieces.size(); ++i) {
        if (i > first)
            result += Salto;
        result += pieces[i];
    }
    return result;
}

QString LookupTextCon(const QString& key, const QString& defaultText, const QStringList& args) {
    return RellenarHuecos(LookupText(key, defaultText), args);
}

QString LookupText(const QString& key, const QString& defaultText) {
    const TIniTexto* file = IdiomaActual();
    if (!file)
        return defaultText;
    const QString text = ConvertirMarcasSalto(file->Valor(QStringLiteral("Misc"), key));
    return text.isEmpty() ? defaultText : text;
}

const TIniTexto* IdiomaActual() {
    return idiomaActual().get();
}

namespace {
// The track library's texts follow the language in force too.
void enlazarTextosPista() {
    PonerBuscadorTextoPista(&LookupText);
}
} // namespace

void EstablecerIdiomaActual(const TIniTexto* file) {
    idiomaActual() = file ? std::make_unique<TIniTexto>(*file) : nullptr;
    enlazarTextosPista();
}

QString RutaIdioma(const QString& fileName) {
    QString relative = fileName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // The shipped files first; a file the user added to the settings folder is found there.
    const QString shipped = AppDir() + relative;
    const QString added = ConfigDir() + relative;
    if (!QFileInfo(shipped).isFile() && QFileInfo(added).isFile())
        return added;
    return shipped;
}

TCargaIdioma CargarIdioma(const QString& fileName) {
    idiomaActual().reset();
    TCargaIdioma result;
    const QString path = RutaIdioma(fileName);
    // An empty name would point at the program folder itself.
    if (fileName.trimmed().isEmpty() || !QFileInfo(path).isFile())
        return result;
    QString error;
    TIniTexto file = TIniTexto::DesdeFichero(path, &error);
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    idiomaActual() = std::make_unique<TIniTexto>(std::move(file));
    enlazarTextosPista();
    result.enVigor = true;
    return result;
}

const QStringList& ItemsIdioma() {
    static const QStringList items{QStringLiteral("Español / Spanish"),
                                   QStringLiteral("Inglés / English"),
                                   QStringLiteral("Catalán / Catalan")};
    return items;
}

const QStringList& FicherosIdioma() {
    static const QStringList files{QStringLiteral("es.lng"), QStringLiteral("en.lng"),
                                   QStringLiteral("ca.lng")};
    return files;
}

TEleccionIdioma ElegirIdiomaInicio(const QString& configured) {
    if (configured.isEmpty())
        return {1, FicherosIdioma()[1]};
    const qsizetype i = FicherosIdioma().indexOf(configured);
    if (i >= 0)
        return {int(i), configured};
    return {-1, configured};
}

int ItemIdiomaPorTexto(const QString& displayed) {
    const QString wanted = displayed.trimmed();
    for (qsizetype i = 0; i < ItemsIdioma().size(); ++i)
        if (ItemsIdioma()[i].trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}
