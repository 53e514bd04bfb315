#include "Verbario.h"

QString LookupText(const QString& key, const QString& defaultText) {
    Q_UNUSED(key);
    return defaultText;
}
