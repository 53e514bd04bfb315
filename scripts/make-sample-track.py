#!/usr/bin/env python3
"""Writes the bundled sample track: a day hike of a few thousand points with elevation
and time, generated from a fixed seed (a loop on the slopes of a mountain range).

usage: make-sample-track.py OUT.gpx [--points N] [--step-seconds S] [--seed K]
The benchmark uses the same script for its large tracks."""
import argparse
import math
import random


def track(points, step_s, seed):
    rnd = random.Random(seed)
    lat0, lon0 = 41.7700, 2.4300
    ele = 620.0
    heading = rnd.uniform(0, 2 * math.pi)
    lat, lon = lat0, lon0
    t0 = 1652510400  # 2022-05-14 06:40:00 UTC
    for i in range(points):
        frac = i / max(1, points - 1)
        # out to the summit and back: the heading slowly turns through a loop
        heading += rnd.gauss(0, 0.08) + 2 * math.pi / points
        speed = max(0.3, rnd.gauss(1.15, 0.25))  # m/s, walking
        if 0.48 < frac < 0.50:
            speed = 0.0  # lunch stop at the top
        d = speed * step_s
        lat += d * math.cos(heading) / 111320.0
        lon += d * math.sin(heading) / (111320.0 * math.cos(math.radians(lat)))
        target = 620 + 1080 * math.sin(math.pi * frac) ** 1.4
        ele += (target - ele) * 0.05 + rnd.gauss(0, 0.6)
        yield lat, lon, ele, t0 + i * step_s


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--points", type=int, default=4200)
    ap.add_argument("--step-seconds", type=int, default=5)
    ap.add_argument("--seed", type=int, default=1652)
    ap.add_argument("--name", default="Montseny circular")
    a = ap.parse_args()
    import time
    with open(a.out, "w", encoding="utf-8", newline="\r\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write('<gpx version="1.1" creator="Senderal sample" xmlns="http://www.topografix.com/GPX/1/1" '
                'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
                'xsi:schemaLocation="http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd">\n')
        pts = list(track(a.points, a.step_seconds, a.seed))
        lats = [p[0] for p in pts]
        lons = [p[1] for p in pts]
        stamp = lambda s: time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(s))
        f.write(' <metadata>\n  <link href="https://senderal.example/">\n   <text>Senderal</text>\n  </link>\n')
        f.write(f'  <time>{stamp(pts[0][3])}</time>\n')
        f.write(f'  <bounds maxlat="{max(lats):.9f}" maxlon="{max(lons):.9f}" minlat="{min(lats):.9f}" minlon="{min(lons):.9f}"/>\n')
        f.write(' </metadata>\n')
        f.write(f' <trk>\n  <name>{a.name}</name>\n  <trkseg>\n')
        for lat, lon, ele, t in pts:
            f.write(f'   <trkpt lat="{lat:.9f}" lon="{lon:.9f}">\n    <ele>{ele:.2f}</ele>\n'
                    f'    <time>{stamp(t)}</time>\n   </trkpt>\n')
        f.write('  </trkseg>\n </trk>\n</gpx>\n')


if __name__ == "__main__":
    main()
