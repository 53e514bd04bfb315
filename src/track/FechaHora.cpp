#include "FechaHora.h"

#include <QTimeZone>
#include <cmath>

namespace {
constexpr qint64 SegundosDia = 86400;
const QDate& fechaBase() {
    static const QDate base(1899, 12, 30);
    return base;
}

bool digitos(std::string_view s, size_t pos, size_t n, int& out) {
    if (pos + n > s.size())
        return false;
    int v = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        const char c = s[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

// Offset of local time from UTC at a UTC instant. Looked up once per quarter hour:
// zone transitions fall on quarter hours, and a long track repeats the same few.
int desfaseLocalEn(qint64 utcSecs) {
    thread_local qint64 cachedBucket = std::numeric_limits<qint64>::min();
    thread_local int cachedOffset = 0;
    const qint64 bucket = utcSecs >= 0 ? utcSecs / 900 : (utcSecs - 899) / 900;
    if (bucket != cachedBucket) {
        const QDateTime utc = QDateTime::fromSecsSinceEpoch(bucket * 900, QTimeZone::utc());
        cachedOffset = utc.toLocalTime().offsetFromUtc();
        cachedBucket = bucket;
    }
    return cachedOffset;
}
} // namespace

TFechaHora FechaHoraDesdeQDateTime(const QDateTime& dt) {
    if (!dt.isValid())
        return 0;
    const qint64 days = fechaBase().daysTo(dt.date());
    return double(days) + double(dt.time().msecsSinceStartOfDay()) / (SegundosDia * 1000.0);
}

QDateTime QDateTimeDesdeFechaHora(TFechaHora value) {
    if (value == 0 || !std::isfinite(value))
        return {};
    const qint64 msecs = std::llround(value * SegundosDia * 1000.0);
    const qint64 day = msecs >= 0 ? msecs / (SegundosDia * 1000)
                                  : -((-msecs + SegundosDia * 1000 - 1) / (SegundosDia * 1000));
    const int msOfDay = int(msecs - day * SegundosDia * 1000);
    return QDateTime(fechaBase().addDays(day), QTime::fromMSecsSinceStartOfDay(msOfDay));
}

TFechaHora LeerFechaHoraGPX(std::string_view s) {
    while (!s.empty() &&
           (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    int y, mo, d, h, mi, se;
    if (s.size() < 19 || !digitos(s, 0, 4, y) || s[4] != '-' || !digitos(s, 5, 2, mo) ||
        s[7] != '-' || !digitos(s, 8, 2, d) || (s[10] != 'T' && s[10] != 't') ||
        !digitos(s, 11, 2, h) || s[13] != ':' || !digitos(s, 14, 2, mi) || s[16] != ':' ||
        !digitos(s, 17, 2, se))
        return 0;
    size_t p = 19;
    if (p < s.size() && s[p] == '.') { // the fraction of the second is dropped
        ++p;
        const size_t start = p;
        while (p < s.size() && s[p] >= '0' && s[p] <= '9')
            ++p;
        if (p == start)
            return 0;
    }
    int zoneMin = 0;
    if (p < s.size()) {
        if ((s[p] == 'Z' || s[p] == 'z') && p + 1 == s.size()) {
            zoneMin = 0;
        } else if ((s[p] == '+' || s[p] == '-') && p + 6 == s.size()) {
            int zh, zm;
            if (!digitos(s, p + 1, 2, zh) || s[p + 3] != ':' || !digitos(s, p + 4, 2, zm) ||
                zh > 14 || zm > 59)
                return 0;
            zoneMin = (zh * 60 + zm) * (s[p] == '-' ? -1 : 1);
        } else {
            return 0;
        }
    }
    const QDate date(y, mo, d);
    if (!date.isValid() || h > 23 || mi > 59 || se > 59)
        return 0;
    // Seconds since the epoch of the instant the text names.
    const qint64 days = QDate(1970, 1, 1).daysTo(date);
    const qint64 utc = days * SegundosDia + h * 3600 + mi * 60 + se - qint64(zoneMin) * 60;
    const qint64 local = utc + desfaseLocalEn(utc);
    const qint64 localDays =
        local >= 0 ? local / SegundosDia : (local - SegundosDia + 1) / SegundosDia;
    const qint64 secOfDay = local - localDays * SegundosDia;
    const qint64 sinceBase = fechaBase().daysTo(QDate(1970, 1, 1)) + localDays;
    return double(sinceBase) + double(secOfDay) / double(SegundosDia);
}

TFechaHora LeerFechaHoraGPX(QStringView text) {
    char buf[64];
    if (text.size() >= qsizetype(sizeof buf))
        return 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7f)
            return 0;
        buf[i] = char(c);
    }
    return LeerFechaHoraGPX(std::string_view(buf, size_t(text.size())));
}

QString FechaHoraISO(TFechaHora value) {
    const QDateTime dt = QDateTimeDesdeFechaHora(value);
    return dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}
