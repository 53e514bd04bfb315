#pragma once

#include <QString>

// The two addresses the service's answer to an upload points at.
struct TEnlacesIBP {
    QString URLNavigate; // the analysis page; empty when the answer has none
    QString URLPDF;      // the PDF of that analysis; empty when the answer has none
};

// Takes both addresses from the service's answer page. `base` is the service's base
// address (ending in "/"). The answer links the analysis page either relative to the base
// ("../analizado_ifr.asp?...") or absolute; both give the same address. Plain,
// case-sensitive search; each link runs to the first `">` after it.
TEnlacesIBP ExtraerEnlacesIBP(const QString& respuesta, const QString& base);
