#pragma once

#include "TrackStores.h"

#include <initializer_list>

// One point of an inline fixture: the texts exactly as a GPX file would give them.
struct TPuntoPrueba {
    const char* lat;
    const char* lon;
    const char* ele = "";
    const char* time = "";
};

inline void LlenarPuntos(TTrackPointStore& store, std::initializer_list<TPuntoPrueba> points) {
    for (const TPuntoPrueba& p : points) {
        store.NuevoPunto();
        store.FijarCampo(CampoPunto::Lat, p.lat);
        store.FijarCampo(CampoPunto::Lon, p.lon);
        store.FijarCampo(CampoPunto::Ele, p.ele);
        store.FijarCampo(CampoPunto::Time, p.time);
    }
    store.Open();
}
