#!/usr/bin/env python3
"""Fits the tensile strength lines of the material table to published minimum tensile strengths.

The material table (data/tables/src/korwst.csv) gives a wire's tensile strength as
    Rm(d) = min(RMMAX, RM0 - KRM * log10(d / D0))        (no cap when RMMAX < 2)
The reference (data/reference/en10270_tensile_strength.csv) gives the minimum Rm_min of each
diameter band d_above < d <= d_to. For every row fitted to a reference grade this tool reports
how far the row's line lies above or below the band minima over the row's range [DMIN, DMAX]:
the highest point of each band (its lower end) against Rm_min for "above", the lowest point (its
upper end) for "below". It also proposes the integer RM0, KRM (D0 = 1 mm) and RMMAX whose line
stays at or below every band minimum with the smallest worst shortfall; RMMAX is the band
minimum at DMIN.

    tools/fit_tensile_strength.py             report the table and the proposed fits
    tools/fit_tensile_strength.py --write     also put the proposed RM0, D0, KRM, RMMAX into
                                              korwst.csv (the source notes stay as they are)
"""
import argparse
import csv
import io
import math
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE = os.path.join(ROOT, 'data', 'tables', 'src', 'korwst.csv')
REFERENCE = os.path.join(ROOT, 'data', 'reference', 'en10270_tensile_strength.csv')

# Material number -> (standard, grade) of the reference the row's strength follows.
ROWS = {
    1: ('EN 10270-1', 'SL'), 2: ('EN 10270-1', 'SM'), 3: ('EN 10270-1', 'SH'),
    4: ('EN 10270-1', 'DH'), 5: ('EN 10270-2', 'FDC'), 6: ('EN 10270-2', 'VDC'),
    7: ('EN 10270-2', 'FDCrV'), 8: ('EN 10270-2', 'FDSiCr'), 9: ('EN 10270-2', 'VDCrV'),
    10: ('EN 10270-2', 'VDSiCr'), 18: ('EN 10270-3', '1.4310'), 20: ('EN 10270-3', '1.4401'),
    25: ('EN 10270-1', 'SL'), 26: ('EN 10270-1', 'SM'), 27: ('EN 10270-1', 'DM'),
    28: ('EN 10270-1', 'SH'), 29: ('EN 10270-1', 'DH'), 30: ('EN 10270-2', 'FDC'),
    31: ('EN 10270-2', 'TDC'), 32: ('EN 10270-2', 'VDC'), 33: ('EN 10270-2', 'FDCrV'),
    34: ('EN 10270-2', 'VDCrV'), 35: ('EN 10270-2', 'FDSiCr'), 36: ('EN 10270-2', 'VDSiCr'),
    37: ('EN 10270-3', '1.4310'), 38: ('EN 10270-3', '1.4401'),
}

D0 = 1.0
KRM_RANGE = range(0, 2001)


def read_reference(path):
    bands = {}
    with open(path, newline='', encoding='utf-8') as f:
        for r in csv.DictReader(f):
            bands.setdefault((r['standard'], r['grade']), []).append(
                (float(r['d_above_mm']), float(r['d_to_mm']), float(r['Rm_min_MPa'])))
    return bands


def bands_in_range(bands, dmin, dmax):
    """(lo, hi, m) of every band that holds a diameter of [dmin, dmax], clipped to it."""
    out = []
    for a, b, m in bands:
        if b >= dmin and a < dmax:
            out.append((max(a, dmin), min(b, dmax), m))
    return out


def strength(d, rm0, d0, krm, rmmax):
    rm = rm0 - krm * math.log10(d / d0)
    return min(rm, rmmax) if rmmax >= 2 else rm


def deviations(clipped, rm0, d0, krm, rmmax):
    """Worst relative deviation above (at band lower ends) and below (at band upper ends)."""
    above = max(strength(lo, rm0, d0, krm, rmmax) / m - 1 for lo, hi, m in clipped)
    below = min(strength(hi, rm0, d0, krm, rmmax) / m - 1 for lo, hi, m in clipped)
    return above, below


def fit(clipped):
    """Integer RM0, KRM (D0 = 1) and RMMAX at or below every band minimum, smallest shortfall."""
    cap = int(clipped[0][2])  # the band minimum at DMIN
    best = None
    for krm in KRM_RANGE:
        limits = [m + krm * math.log10(lo / D0) for lo, hi, m in clipped if m < cap]
        rm0 = math.floor(min(limits)) if limits else cap + krm * 10
        under = [1 - strength(hi, rm0, D0, krm, cap) / m for lo, hi, m in clipped]
        key = (max(under), sum(under) / len(under))
        if best is None or key < best[0]:
            best = (key, rm0, krm)
    _, rm0, krm = best
    return rm0, D0, krm, cap


def percent(x):
    text = f'{100 * x:+.1f}'
    return '0.0' if text in ('+0.0', '-0.0') else text


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--table', default=TABLE)
    parser.add_argument('--reference', default=REFERENCE)
    parser.add_argument('--write', action='store_true')
    args = parser.parse_args()

    reference = read_reference(args.reference)
    with open(args.table, newline='', encoding='utf-8') as f:
        text = f.read()
    rows = list(csv.reader(io.StringIO(text)))
    header = rows[0]
    col = {name: i for i, name in enumerate(header)}

    print('  no grade      bands/dmax mm     now max/min %      fit max/min %     '
          'RM0  D0    KRM  RMMAX')
    for row in rows[1:]:
        number = int(row[col['NUMBER']])
        if number not in ROWS:
            continue
        key = ROWS[number]
        if key not in reference:
            sys.exit(f'material {number}: no reference for {key}')
        dmin, dmax = float(row[col['DMIN']]), float(row[col['DMAX']])
        clipped = bands_in_range(reference[key], dmin, dmax)
        if not clipped:
            sys.exit(f'material {number}: no reference band within {dmin}..{dmax} mm')
        old = (float(row[col['RM0']]), float(row[col['D0']]), float(row[col['KRM']]),
               float(row[col['RMMAX']]))
        new = fit(clipped)
        before, after = deviations(clipped, *old), deviations(clipped, *new)
        covered = f'{clipped[0][0]:g}..{clipped[-1][1]:g}'
        print(f'{number:4d} {key[1]:7s} {covered:>11s}/{dmax:<5g} '
              f'{percent(before[0]):>6s} {percent(before[1]):>6s}     '
              f'{percent(after[0]):>6s} {percent(after[1]):>6s}   '
              f'{new[0]:5d} {new[1]:.2f} {new[2]:4d} {new[3]:5d}')
        if args.write:
            row[col['RM0']] = str(new[0])
            row[col['D0']] = f'{new[1]:.2f}'
            row[col['KRM']] = str(new[2])
            row[col['RMMAX']] = str(new[3])

    if args.write:
        out = io.StringIO()
        csv.writer(out, lineterminator='\n').writerows(rows)
        with open(args.table, 'w', newline='', encoding='utf-8') as f:
            f.write(out.getvalue())


if __name__ == '__main__':
    main()
