#include "IBPConfig.h"

#include <QUrl>

namespace {
QString& baseActual() {
    static QString base = IBPIndexURLPorDefecto();
    return base;
}
} // namespace

QString IBPIndexURLPorDefecto() {
    return QStringLiteral("https://www.ibpindex.com/");
}

QString NormalizarBaseIBP(const QString& url) {
    QString base = url.trimmed();
    const QUrl parsed(base, QUrl::StrictMode);
    if (base.isEmpty() || !parsed.isValid() || parsed.host().isEmpty())
        return {};
    const QString scheme = parsed.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    // Every service address is the base followed by a path, so the base must end a folder.
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

QString IBPIndexURL() {
    return baseActual();
}

void SetIBPIndexURL(const QString& url) {
    const QString base = NormalizarBaseIBP(url);
    baseActual() = base.isEmpty() ? IBPIndexURLPorDefecto() : base;
}
