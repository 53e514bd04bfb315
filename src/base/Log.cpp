#include "Log.h"

#include <QTime>

TLog::TLog(QObject* parent) : QObject(parent), FLineas{QString()} {}

QString TLog::LineaConHora(const QString& AStr) {
    return QTime::currentTime().toString(QStringLiteral("hh:mm:ss ")) + QStringLiteral(" -->  ") +
           AStr;
}

void TLog::_Log(const QString& AStr, bool AWithTime) {
    agregar(AWithTime ? LineaConHora(AStr) : AStr);
}

void TLog::_LogRect(const QString& ATitle, const QRect& ARect) {
    // QRect's right/bottom are inclusive; the logged rectangle is left, top, right, bottom
    // as the caller's geometry has them (right = left + width).
    agregar(ATitle + QString(22, QChar(0x00B7)));
    agregar(QStringLiteral("   Left:   %1").arg(ARect.left()));
    agregar(QStringLiteral("   Top:    %1").arg(ARect.top()));
    agregar(QStringLiteral("   Right:  %1").arg(ARect.left() + ARect.width()));
    agregar(QStringLiteral("   Bottom: %1").arg(ARect.top() + ARect.height()));
    agregar(QString(45, QChar(0x00B7)));
}

void TLog::agregar(const QString& line) {
    FLineas.append(line);
    emit LineaAgregada(line);
}
