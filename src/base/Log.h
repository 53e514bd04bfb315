#pragma once

#include <QObject>
#include <QRect>
#include <QStringList>

// The in-memory log: lines are only appended, never removed, never written to a file.
// The log page shows it; every subsystem writes through `_Log`.
class TLog : public QObject {
    Q_OBJECT
  public:
    explicit TLog(QObject* parent = nullptr);

    // AWithTime prefixes the local time as "hh:nn:ss " and " -->  ".
    void _Log(const QString& AStr, bool AWithTime = false);
    // A titled rectangle as six lines without time.
    void _LogRect(const QString& ATitle, const QRect& ARect);

    // Every line so far; the log starts with one empty line.
    const QStringList& Lineas() const { return FLineas; }

    static QString LineaConHora(const QString& AStr);

  signals:
    void LineaAgregada(const QString& line);

  private:
    void agregar(const QString& line);
    QStringList FLineas;
};
