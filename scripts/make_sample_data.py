#!/usr/bin/env python3
"""Write Orolith's sample data set.

Usage: make_sample_data.py [OUTDIR]      (default: the repository's data/)

Writes four ESRI ASCII grid files of 200 rows x 240 columns (cellsize 30 m):

  alps_dem.grd      synthetic alpine DEM: peaks, ridges and valleys,
                    about 1800 m to just over 4100 m
  alps_dem2.grd     the same terrain as an interpolated model would give it:
                    small noise, patches of larger error, a few spikes and
                    pits, and a terraced band
  alps_sparse.grd   spot heights: about 1.5 % of the cells hold the DEM
                    height, every other cell 0
  alps_contour.grd  20 m contour raster: cells crossed by a contour line
                    hold that contour level, every other cell 0

Only the Python standard library is used and everything derives from one
fixed seed, so a rerun reproduces the files.
"""

import math
import os
import random
import sys

SEED = 20240611
NROWS = 200
NCOLS = 240
XLL = 600000.0
YLL = 5100000.0
CELLSIZE = 30.0
NODATA = -9999
CONTOUR_INTERVAL = 20
TREE_LINE = 4100.0
ZLOW = 1800.0
ZHIGH = 4185.0
SOFTNESS = 40.0


# ---------------------------------------------------------------------------
# building blocks

def new_grid(value=0.0):
    return [[value] * NCOLS for _ in range(NROWS)]


class GradientNoise:
    """Lattice gradient noise on a seeded permutation table; values roughly
    in [-0.7, 0.7], smooth (quintic fade), one lattice cell per unit."""

    def __init__(self, rng):
        perm = list(range(256))
        rng.shuffle(perm)
        self.perm = perm + perm
        self.grad = []
        for _ in range(256):
            a = rng.uniform(0.0, 2.0 * math.pi)
            self.grad.append((math.cos(a), math.sin(a)))

    def __call__(self, x, y):
        xf = math.floor(x)
        yf = math.floor(y)
        xi = int(xf) & 255
        yi = int(yf) & 255
        x -= xf
        y -= yf
        u = x * x * x * (x * (x * 6.0 - 15.0) + 10.0)
        v = y * y * y * (y * (y * 6.0 - 15.0) + 10.0)
        p = self.perm
        g = self.grad
        g00 = g[p[p[xi] + yi]]
        g10 = g[p[p[xi + 1] + yi]]
        g01 = g[p[p[xi] + yi + 1]]
        g11 = g[p[p[xi + 1] + yi + 1]]
        n00 = g00[0] * x + g00[1] * y
        n10 = g10[0] * (x - 1.0) + g10[1] * y
        n01 = g01[0] * x + g01[1] * (y - 1.0)
        n11 = g11[0] * (x - 1.0) + g11[1] * (y - 1.0)
        a = n00 + (n10 - n00) * u
        b = n01 + (n11 - n01) * u
        return a + (b - a) * v


def fbm(noise, x, y, octaves, lacunarity=2.0, persistence=0.5):
    total = 0.0
    freq = 1.0
    amp = 1.0
    for i in range(octaves):
        total += amp * noise(x * freq - 31.7 * i, y * freq + 5.3 * i)
        freq *= lacunarity
        amp *= persistence
    return total


def box_smooth(grid, radius):
    """Separable box filter with clamped edges."""
    tmp = new_grid()
    for r in range(NROWS):
        row = grid[r]
        for c in range(NCOLS):
            lo = max(0, c - radius)
            hi = min(NCOLS - 1, c + radius)
            tmp[r][c] = sum(row[lo:hi + 1]) / (hi - lo + 1)
    out = new_grid()
    for c in range(NCOLS):
        col = [tmp[r][c] for r in range(NROWS)]
        for r in range(NROWS):
            lo = max(0, r - radius)
            hi = min(NROWS - 1, r + radius)
            out[r][c] = sum(col[lo:hi + 1]) / (hi - lo + 1)
    return out


def round1(v):
    """The value as it reads back from a "%.1f" field."""
    return float("%.1f" % v)


# ---------------------------------------------------------------------------
# the DEM

def make_dem(rng):
    noise = GradientNoise(rng)
    h = new_grid()

    # Summits: (row, col, height, reach in cells). Each summit is a
    # concave pyramid whose flanks reach out unevenly, so spurs and
    # gullies radiate from it; where two summits meet, the higher flank
    # wins and a valley forms along the seam.
    summits = [
        (62, 138, 1.00, 80), (48, 100, 1.01, 62), (82, 178, 0.99, 64),
        (150, 190, 0.78, 62), (138, 62, 0.70, 62), (22, 215, 0.62, 48),
        (30, 30, 0.66, 52), (180, 110, 0.50, 50),
    ]
    lobes = []
    for _ in summits:
        k = rng.choice((3, 4, 5))
        lobes.append((k, rng.uniform(0.0, 2.0 * math.pi),
                      rng.uniform(0.0, 2.0 * math.pi)))

    for r in range(NROWS):
        for c in range(NCOLS):
            x = c / 80.0
            y = r / 80.0
            # warp the domain so that flanks and seams wander
            wc = c + 14.0 * noise(x + 11.0, y + 3.0)
            wr = r + 14.0 * noise(x - 7.0, y + 21.0)
            # smooth maximum over the summits: the seams between flanks
            # become rounded valley bottoms instead of sharp creases
            acc = 0.0
            for (sr, sc, sh, reach), (k, p1, p2) in zip(summits, lobes):
                dy = wr - sr
                dx = wc - sc
                d = math.hypot(dx, dy)
                th = math.atan2(dy, dx)
                # the spurs fade out towards the summit itself
                m = 1.0 + (1.0 - math.exp(-d / 10.0)) * (
                    0.30 * math.sin(k * th + p1)
                    + 0.12 * math.sin((k + 2) * th + p2))
                acc += math.exp(SOFTNESS * sh * math.exp(-(d * m / reach) ** 1.3))
            z = math.log(acc) / SOFTNESS
            # rock and scree detail, stronger on the heights
            z += (0.05 + 0.10 * z) * fbm(noise, x * 2.0 + 40.0, y * 2.0, 4)
            # valley floors: a gently falling level the ground never drops
            # below, so the valleys open out into flat bottoms
            floor = 0.12 - 0.0004 * c + 0.03 * noise(x * 1.5, y * 1.5 + 60.0)
            z = max(z, floor) + 0.02 * noise(x * 4.0 + 90.0, y * 4.0)
            h[r][c] = z

    lo = min(min(row) for row in h)
    hi = max(max(row) for row in h)
    scale = (ZHIGH - ZLOW) / (hi - lo)
    return [[round1(ZLOW + (v - lo) * scale) for v in row] for row in h]


def local_maxima(grid):
    """Interior cells strictly higher than all eight neighbours."""
    found = []
    for r in range(1, NROWS - 1):
        for c in range(1, NCOLS - 1):
            v = grid[r][c]
            if all(v > grid[r + dr][c + dc]
                   for dr in (-1, 0, 1) for dc in (-1, 0, 1)
                   if dr or dc):
                found.append((r, c, v))
    return found


# ---------------------------------------------------------------------------
# the second, "interpolated" DEM

def make_dem2(rng, dem):
    # smooth low-amplitude error everywhere
    white = [[rng.gauss(0.0, 1.0) for _ in range(NCOLS)] for _ in range(NROWS)]
    smooth = box_smooth(white, 2)
    err = new_grid()
    for r in range(NROWS):
        for c in range(NCOLS):
            err[r][c] = 3.2 * smooth[r][c] + rng.gauss(0.0, 0.25)

    # patches of larger error
    for _ in range(7):
        pr = rng.uniform(15, NROWS - 15)
        pc = rng.uniform(15, NCOLS - 15)
        amp = rng.uniform(5.0, 15.0) * rng.choice((-1.0, 1.0))
        rad = rng.uniform(4.0, 10.0)
        for r in range(max(0, int(pr - 3 * rad)), min(NROWS, int(pr + 3 * rad) + 1)):
            for c in range(max(0, int(pc - 3 * rad)), min(NCOLS, int(pc + 3 * rad) + 1)):
                d2 = (r - pr) ** 2 + (c - pc) ** 2
                err[r][c] += amp * math.exp(-d2 / (2.0 * rad * rad))

    # a terraced band: heights drawn towards the 20 m levels, as a model
    # interpolated from contours tends to do
    out = new_grid()
    for r in range(NROWS):
        # weight 1 inside rows 130..160, fading out over 8 rows
        w = min(1.0, max(0.0, (r - 122) / 8.0), max(0.0, (168 - r) / 8.0))
        for c in range(NCOLS):
            z = dem[r][c]
            if w > 0.0 and 30 <= c < 210:
                wc = w * min(1.0, (c - 30) / 10.0, (209 - c) / 10.0)
                base = CONTOUR_INTERVAL * math.floor(z / CONTOUR_INTERVAL)
                f = (z - base) / CONTOUR_INTERVAL
                # flatten the steps, steepen the risers
                g = f ** 3 / (f ** 3 + (1.0 - f) ** 3)
                z += wc * (base + CONTOUR_INTERVAL * g - z)
            out[r][c] = z + err[r][c]

    # a few spikes and pits
    for _ in range(12):
        r = rng.randrange(NROWS)
        c = rng.randrange(NCOLS)
        out[r][c] += rng.uniform(20.0, 60.0) * rng.choice((-1.0, 1.0))

    return [[round1(max(1.0, v)) for v in row] for row in out]


# ---------------------------------------------------------------------------
# the sparse spot heights and the contour raster

def make_sparse(rng, dem, fraction=0.015):
    out = new_grid(0.0)
    for r in range(NROWS):
        for c in range(NCOLS):
            if rng.random() < fraction:
                out[r][c] = dem[r][c]
    # the summits are always surveyed
    for r, c, v in local_maxima(dem):
        out[r][c] = v
    return out


def make_contours(dem):
    ci = CONTOUR_INTERVAL
    band = [[math.floor(v / ci) for v in row] for row in dem]
    out = [[0] * NCOLS for _ in range(NROWS)]
    for r in range(NROWS):
        for c in range(NCOLS):
            b = band[r][c]
            nbrs = []
            if c + 1 < NCOLS:
                nbrs.append(band[r][c + 1])
            if r + 1 < NROWS:
                nbrs.append(band[r + 1][c])
            if all(n == b for n in nbrs):
                continue
            # the level of the line that passes closest to this cell
            if any(n < b for n in nbrs):
                out[r][c] = ci * b
            else:
                out[r][c] = ci * (b + 1)
    return out


def detected_interval(grid):
    """The contour interval as the viewer derives it from a comparison file:
    (first value whose integer part exceeds that of the first non-zero value)
    minus (the first non-zero value's integer part), in reading order."""
    first = 0
    for row in grid:
        for v in row:
            iv = int(v)
            if first == 0:
                if v != 0:
                    first = iv
                continue
            if iv > first:
                return iv - first
    return first


def fix_contour_order(grid):
    """Make the interval detection give exactly CONTOUR_INTERVAL: while the
    first level that rises above the first non-zero level rises by more than
    one interval, drop the leading contour cell. Returns the number of cells
    dropped (0 for the current seed)."""
    dropped = 0
    while detected_interval(grid) != CONTOUR_INTERVAL:
        for row in grid:
            nz = [c for c, v in enumerate(row) if v != 0]
            if nz:
                row[nz[0]] = 0
                dropped += 1
                break
        else:
            raise AssertionError("contour raster holds no usable levels")
    return dropped


# ---------------------------------------------------------------------------
# output

def write_grid(path, grid, fmt, nodata=True):
    lines = [
        "ncols %d" % NCOLS,
        "nrows %d" % NROWS,
        "xllcorner %.1f" % XLL,
        "yllcorner %.1f" % YLL,
        "cellsize %g" % CELLSIZE,
    ]
    if nodata:
        lines.append("NODATA_value %d" % NODATA)
    for row in grid:
        lines.append(" ".join("0" if v == 0 else fmt % v for v in row))
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------------------
# checkpoints and a glacier outline

FOREST_BELOW = 2600.0
SURVEY_SHIFT = (6.0, -4.0)  # metres east, north: where the DEM lies off


def bilinear(grid, x, y):
    """The grid's height at map position (x, y) from its cell centres, or
    None outside them."""
    col = (x - XLL) / CELLSIZE - 0.5
    row = (YLL + NROWS * CELLSIZE - y) / CELLSIZE - 0.5
    if not (0 <= row <= NROWS - 1 and 0 <= col <= NCOLS - 1):
        return None
    r0, c0 = min(int(row), NROWS - 2), min(int(col), NCOLS - 2)
    fr, fc = row - r0, col - c0
    return (grid[r0][c0] * (1 - fr) * (1 - fc) + grid[r0][c0 + 1] * (1 - fr) * fc
            + grid[r0 + 1][c0] * fr * (1 - fc) + grid[r0 + 1][c0 + 1] * fr * fc)


def make_checkpoints(rng, dem, count=1200):
    """Surveyed points: the ground where the DEM shows it SURVEY_SHIFT away,
    with 0.15 m of survey noise; below FOREST_BELOW most lie under trees,
    where the DEM sees the canopy 0.5 to 3 m above the ground. A few lie
    beyond the DEM."""
    points = []
    east, north = SURVEY_SHIFT
    while len(points) < count:
        x = XLL + rng.uniform(0.0, NCOLS * CELLSIZE)
        y = YLL + rng.uniform(0.0, NROWS * CELLSIZE)
        ground = bilinear(dem, x - east, y - north)
        if ground is None:
            continue
        forest = ground < FOREST_BELOW and rng.random() < 0.6
        z = ground - (rng.uniform(0.5, 3.0) if forest else 0.0) + rng.gauss(0.0, 0.15)
        points.append((x, y, z, "forest" if forest else "open"))
    for k in range(5):
        points.append((XLL - 100.0 - 50.0 * k, YLL + 1000.0, 2000.0, "open"))
    return points


def write_checkpoints(path, points):
    with open(path, "w") as f:
        f.write("x,y,z,class\n")
        for x, y, z, cls in points:
            f.write("%.3f,%.3f,%.3f,%s\n" % (x, y, z, cls))


def write_glacier(path, dem):
    """A 24-sided outline 700 m round the highest summit, in the grid's own
    coordinates."""
    top = max((v, r, c) for r, row in enumerate(dem) for c, v in enumerate(row))
    cx = XLL + (top[2] + 0.5) * CELLSIZE
    cy = YLL + (NROWS - top[1] - 0.5) * CELLSIZE
    ring = [[round(cx + 700.0 * math.cos(2 * math.pi * k / 24), 1),
             round(cy + 700.0 * math.sin(2 * math.pi * k / 24), 1)] for k in range(24)]
    ring.append(ring[0])
    coords = ",".join("[%.1f,%.1f]" % (x, y) for x, y in ring)
    with open(path, "w") as f:
        f.write('{"type":"FeatureCollection","features":[{"type":"Feature",'
                '"properties":{"name":"summit glacier"},"geometry":'
                '{"type":"Polygon","coordinates":[[%s]]}}]}\n' % coords)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = argv[1] if len(argv) > 1 else os.path.join(here, os.pardir, "data")
    outdir = os.path.normpath(outdir)
    os.makedirs(outdir, exist_ok=True)

    rng = random.Random(SEED)
    dem = make_dem(rng)
    dem2 = make_dem2(rng, dem)
    sparse = make_sparse(rng, dem)
    contour = make_contours(dem)
    dropped = fix_contour_order(contour)

    # checks
    zmin = min(min(row) for row in dem)
    zmax = max(max(row) for row in dem)
    peaks = local_maxima(dem)
    above = sum(v > TREE_LINE for row in dem for v in row)
    diffs = [dem2[r][c] - dem[r][c] for r in range(NROWS) for c in range(NCOLS)]
    within2 = sum(abs(d) <= 2.0 for d in diffs) / len(diffs)
    big = sum(abs(d) >= 5.0 for d in diffs)
    nsparse = sum(v != 0 for row in sparse for v in row)
    ncont = sum(v != 0 for row in contour for v in row)

    assert 1700.0 <= zmin <= 1900.0, zmin
    assert zmax > TREE_LINE, zmax
    assert above > 0
    assert 10 <= len(peaks) < 100, len(peaks)
    assert all(v > 0 for row in dem2 for v in row)
    assert within2 > 0.5, within2
    assert big > 0
    assert 0.01 * NROWS * NCOLS <= nsparse <= 0.02 * NROWS * NCOLS, nsparse
    assert all(v % CONTOUR_INTERVAL == 0 for row in contour for v in row)
    assert detected_interval(contour) == CONTOUR_INTERVAL

    write_grid(os.path.join(outdir, "alps_dem.grd"), dem, "%.1f")
    write_grid(os.path.join(outdir, "alps_dem2.grd"), dem2, "%.1f")
    write_grid(os.path.join(outdir, "alps_sparse.grd"), sparse, "%.1f",
               nodata=False)
    write_grid(os.path.join(outdir, "alps_contour.grd"), contour, "%d",
               nodata=False)

    checkpoints = make_checkpoints(random.Random(SEED + 1), dem)
    write_checkpoints(os.path.join(outdir, "alps_checkpoints.csv"), checkpoints)
    write_glacier(os.path.join(outdir, "alps_glacier.geojson"), dem)

    print("alps_dem.grd      heights %.1f .. %.1f, %d cells above %.0f m, "
          "%d interior peaks" % (zmin, zmax, above, TREE_LINE, len(peaks)))
    print("alps_dem2.grd     %.1f %% of cells within +-2 m, %d cells off by "
          "5 m or more, error %.1f .. %.1f m"
          % (100.0 * within2, big, min(diffs), max(diffs)))
    print("alps_sparse.grd   %d spot heights" % nsparse)
    print("alps_contour.grd  %d contour cells, detected interval %d m "
          "(%d leading cells dropped)"
          % (ncont, detected_interval(contour), dropped))
    print("alps_checkpoints.csv  %d points, %d under forest"
          % (len(checkpoints), sum(p[3] == "forest" for p in checkpoints)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
