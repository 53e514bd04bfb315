#include "TextosMisc.h"

namespace {
const TTextoMisc* buscar(const QString& key) {
    for (const TTextoMisc& t : TextosMisc)
        if (key.compare(QLatin1String(t.clave), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}
} // namespace

QString TextoMiscDefecto(const QString& key) {
    const TTextoMisc* t = buscar(key);
    return t ? QString::fromUtf8(t->textoDefecto) : QString();
}

bool EsClaveMisc(const QString& key) {
    return buscar(key) != nullptr;
}
