#include "FiltroDialogo.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {
const char* const PropiedadFiltro = "Filter";

QString patronesQt(const QString& patterns) {
    return patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).simplified();
}

// The patterns in the brackets that end a description, as Qt reads them; empty if none.
QString patronesAlFinal(const QString& description) {
    static const QRegularExpression re(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = re.match(description);
    return m.hasMatch() ? m.captured(1) : QString();
}
} // namespace

QStringList FiltroANombresQt(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = patronesQt(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        if (patronesQt(patronesAlFinal(description).replace(QLatin1Char(' '), QLatin1Char(';'))) ==
            patterns)
            names << description;
        else
            names << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return names;
}

QString NombresQtAFiltro(const QStringList& nameFilters) {
    QStringList parts;
    for (const QString& name : nameFilters) {
        const QString inBrackets = patronesAlFinal(name).simplified();
        parts << name
              << (inBrackets.isEmpty() ? QStringLiteral("*")
                                       : inBrackets.split(QLatin1Char(' ')).join(QLatin1Char(';')));
    }
    return parts.join(QLatin1Char('|'));
}

void AsignarFiltro(QFileDialog* dialog, const QString& filter) {
    dialog->setProperty(PropiedadFiltro, filter);
    dialog->setNameFilters(FiltroANombresQt(filter));
}

QString FiltroDialogo(const QFileDialog* dialog) {
    const QVariant stored = dialog->property(PropiedadFiltro);
    return stored.isValid() ? stored.toString() : NombresQtAFiltro(dialog->nameFilters());
}
