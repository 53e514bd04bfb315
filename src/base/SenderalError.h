#pragma once

#include <QString>
#include <stdexcept>

// The program's own failure: carries the text the user sees. Command handlers let it
// escape to the program-wide error box; expected failures return results instead.
class ESenderalError : public std::runtime_error {
  public:
    explicit ESenderalError(const QString& text)
        : std::runtime_error(text.toStdString()), FText(text) {}
    const QString& text() const noexcept { return FText; }

  private:
    QString FText;
};
