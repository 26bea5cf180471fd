#!/usr/bin/env python3
"""Writes the help pictures of data/help (German) and data/help/en (English) as HP-GL files.

The pictures are drawn in millimetres on the picture area of 160 x 120 mm and written in
plotter units of 0.025 mm. Only the commands the program's interpreter knows are used: IN, SP,
PU, PD, CI, AA, SI, DI, CS, LB and PE. German labels use character set 3, in which "}" after
a, o, u, A, O, U gives the umlaut.

    tools/make_help_pictures.py [data/help]
"""

import math
import os

from help_files import help_folder, write

UNIT = 0.025  # mm per plotter unit

# Pens: 1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6 magenta, 7 white.
OUTLINE, DIMENSION, TEXT, HIGHLIGHT, HIDDEN, TITLE = 7, 2, 4, 1, 3, 6


def pu(value):
    return str(int(round(value / UNIT)))


def encoded(value):
    """An HP-GL/2 base-64 number of plotter units (sign in the lowest bit)."""
    n = 2 * abs(value) + (1 if value < 0 else 0)
    out = bytearray()
    while True:
        digit, n = n % 64, n // 64
        if n == 0:
            out.append(191 + digit)
            return bytes(out)
        out.append(63 + digit)


class Picture:
    def __init__(self, german):
        self.german = german
        self.out = bytearray(b"IN;CS3;\n" if german else b"IN;CS0;\n")
        self.size = None

    def cmd(self, text):
        self.out += text.encode("ascii") if isinstance(text, str) else text

    def pen(self, n):
        self.cmd(f"SP{n};")

    def line(self, x1, y1, x2, y2):
        self.cmd(f"PU{pu(x1)},{pu(y1)};PD{pu(x2)},{pu(y2)};PU;\n")

    def polyline(self, points):
        (x, y), rest = points[0], points[1:]
        coords = ",".join(f"{pu(px)},{pu(py)}" for px, py in rest)
        self.cmd(f"PU{pu(x)},{pu(y)};PD{coords};PU;\n")

    def encoded_polyline(self, points):
        """The same as polyline, written as a PE command of relative base-64 points."""
        (x, y) = points[0]
        data = bytearray(b"PE<=") + encoded(int(round(x / UNIT))) + encoded(int(round(y / UNIT)))
        px, py = int(round(x / UNIT)), int(round(y / UNIT))
        for qx, qy in points[1:]:
            nx, ny = int(round(qx / UNIT)), int(round(qy / UNIT))
            data += encoded(nx - px) + encoded(ny - py)
            px, py = nx, ny
        self.cmd(bytes(data) + b";PU;\n")

    def dashed(self, x1, y1, x2, y2, dash=1.5):
        length = math.hypot(x2 - x1, y2 - y1)
        steps = max(1, int(length / (2 * dash)))
        for i in range(steps):
            a, b = (2 * i) / (2 * steps), (2 * i + 1) / (2 * steps)
            self.line(x1 + (x2 - x1) * a, y1 + (y2 - y1) * a, x1 + (x2 - x1) * b, y1 + (y2 - y1) * b)

    def rect(self, x1, y1, x2, y2):
        self.polyline([(x1, y1), (x2, y1), (x2, y2), (x1, y2), (x1, y1)])

    def circle(self, x, y, r):
        self.cmd(f"PU{pu(x)},{pu(y)};CI{pu(r)};\n")

    def arc(self, cx, cy, r, start, sweep):
        sx = cx + r * math.cos(math.radians(start))
        sy = cy + r * math.sin(math.radians(start))
        self.cmd(f"PU{pu(sx)},{pu(sy)};PD;AA{pu(cx)},{pu(cy)},{sweep};PU;\n")

    def label_bytes(self, text):
        if not self.german:
            return text.encode("ascii")
        swaps = {"ä": "a}", "ö": "o}", "ü": "u}", "Ä": "A}", "Ö": "O}", "Ü": "U}", "ß": "ss"}
        return "".join(swaps.get(c, c) for c in text).encode("ascii")

    def text(self, x, y, text, h=3.0, w=None, angle=0, align="left"):
        """Text of about h mm height; the interpreter takes SI in cm."""
        w = w if w is not None else 0.66 * h
        width = text_width(text, w)
        if align == "center":
            x -= width / 2 * math.cos(math.radians(angle))
            y -= width / 2 * math.sin(math.radians(angle))
        elif align == "right":
            x -= width * math.cos(math.radians(angle))
            y -= width * math.sin(math.radians(angle))
        size = (round(w / 10, 3), round(h / 10, 3))
        if size != self.size:
            self.cmd(f"SI{size[0]},{size[1]};")
            self.size = size
        run, rise = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        self.cmd(f"DI{round(run, 4)},{round(rise, 4)};PU{pu(x)},{pu(y)};LB")
        self.cmd(self.label_bytes(text) + b"\x03\n")

    def arrow(self, x, y, angle, size=2.0):
        for turn in (160, -160):
            a = math.radians(angle + turn)
            self.line(x, y, x + size * math.cos(a), y + size * math.sin(a))

    def dim_h(self, x1, x2, y, label, above=True, h=3.0):
        self.line(x1, y, x2, y)
        self.arrow(x1, y, 180)
        self.arrow(x2, y, 0)
        self.text((x1 + x2) / 2, y + 1.2 if above else y - h - 1.5, label, h=h, align="center")

    def dim_v(self, x, y1, y2, label, left=True, h=3.0):
        self.line(x, y1, x, y2)
        self.arrow(x, y1, 270)
        self.arrow(x, y2, 90)
        self.text(x - 1.5 if left else x + 1.5 + h, (y1 + y2) / 2, label, h=h, angle=90,
                  align="center")

    def frame(self, title):
        self.pen(OUTLINE)
        self.rect(0.5, 0.5, 159.5, 119.5)
        self.pen(TITLE)
        self.text(80, 113, title, h=4.0, align="center")

    def bytes(self):
        return bytes(self.out) + b"SP0;\n"


def text_width(text, w):
    # The replay draws characters of about 0.88 x the SI width.
    return len(text) * 0.88 * w


def T(german, english, de):
    return german if de else english


# --- the pictures -----------------------------------------------------------------------------


def helix_heights(nt, d, p, y0):
    """Wire centre heights h(t) of a spring with one closed end coil at either end."""

    def h(t):
        if t <= 1:
            return y0 + d / 2 + t * d
        if t > nt - 1:
            return middle(nt - 1) + (t - (nt - 1)) * d
        return middle(t)

    def middle(t):
        return y0 + d / 2 + d + (t - 1) * p

    return h


def side_view(pic, cx, dm, d, nt, p, y0, back=True):
    """Side view: the wire sections at the left (whole coils) and right (half coils), the front
    wire as two parallel lines, the back wire dashed, the ground end planes."""
    h = helix_heights(nt, d, p, y0)
    xl, xr = cx - dm / 2, cx + dm / 2
    pic.pen(OUTLINE)
    t = 0.0
    while t <= nt + 1e-9:
        x = xl if abs(t - round(t)) < 1e-9 else xr
        pic.circle(x, h(t), d / 2)
        t += 0.5
    t = 0.0
    while t + 0.5 <= nt + 1e-9:
        whole = abs(t - round(t)) < 1e-9
        a = (xl, h(t)) if whole else (xr, h(t))
        b = (xr, h(t + 0.5)) if whole else (xl, h(t + 0.5))
        if whole:  # the front half coil
            pic.pen(OUTLINE)
            pic.line(a[0], a[1] + d / 2, b[0], b[1] + d / 2)
            pic.line(a[0], a[1] - d / 2, b[0], b[1] - d / 2)
        elif back:
            pic.pen(HIDDEN)
            pic.dashed(a[0], a[1], b[0], b[1])
        t += 0.5
    top = h(nt) + d / 2
    pic.pen(OUTLINE)
    pic.line(xl - d / 2 - 3, y0, xr + d / 2 + 3, y0)
    pic.line(xl - d / 2 - 3, top, xr + d / 2 + 3, top)
    return top


def dimensions(de):
    pic = Picture(de)
    pic.frame(T("Abmessungen der Druckfeder", "Dimensions of the compression spring", de))
    d, dm, cx, y0 = 5.0, 36.0, 48.0, 30.0
    top = side_view(pic, cx, dm, d, 7, 11.0, y0)
    xl, xr = cx - dm / 2, cx + dm / 2
    pic.pen(DIMENSION)
    # De over the top, Dm and Di below the spring.
    for x in (xl - d / 2, xr + d / 2):
        pic.line(x, top + 2, x, top + 7)
    pic.dim_h(xl - d / 2, xr + d / 2, top + 5, "De")
    for x in (xl, xr):
        pic.dashed(x, y0 - 2, x, y0 - 9, dash=1)
    pic.dim_h(xl, xr, y0 - 7, "Dm", above=True)
    for x in (xl + d / 2, xr - d / 2):
        pic.line(x, y0 - 10, x, y0 - 14)
    pic.dim_h(xl + d / 2, xr - d / 2, y0 - 12, "Di")
    # L0 at the left, d at a wire section on the right.
    pic.line(xl - d / 2 - 4, y0, xl - d / 2 - 12, y0)
    pic.line(xl - d / 2 - 4, top, xl - d / 2 - 12, top)
    pic.dim_v(xl - d / 2 - 10, y0, top, "L0")
    wy = helix_heights(7, d, 11.0, y0)(3.5)
    pic.line(xr - d / 2, wy, xr - d / 2, wy - 6)
    pic.line(xr + d / 2, wy, xr + d / 2, wy - 6)
    pic.dim_h(xr - d / 2, xr + d / 2, wy - 5, "", above=False)
    pic.text(xr + d / 2 + 1.5, wy - 7, "d")
    # The spring on block: every coil touching, length Lc.
    bx, bdm, bd, nt = 112.0, 22.0, 5.0, 7
    btop = side_view(pic, bx, bdm, bd, nt, bd, y0, back=False)
    pic.pen(DIMENSION)
    pic.line(bx + bdm / 2 + bd / 2 + 4, y0, bx + bdm / 2 + bd / 2 + 12, y0)
    pic.line(bx + bdm / 2 + bd / 2 + 4, btop, bx + bdm / 2 + bd / 2 + 12, btop)
    pic.dim_v(bx + bdm / 2 + bd / 2 + 10, y0, btop, "Lc", left=False)
    pic.pen(TEXT)
    pic.text(bx, btop + 6, T("auf Block", "on block", de), h=3, align="center")
    legend = [
        ("d", T("Drahtdurchmesser", "wire diameter", de)),
        ("Dm", T("mittl. Windungsdurchmesser", "mean coil diameter", de)),
        ("De", T("Außendurchmesser", "outside diameter", de)),
        ("Di", T("Innendurchmesser", "inside diameter", de)),
        ("L0", T("Länge unbelastet", "free length", de)),
        ("Lc", T("Blocklänge", "solid length", de)),
    ]
    pic.pen(TEXT)
    for i, (symbol, meaning) in enumerate(legend):
        x = 6 + (i // 2) * 52
        y = 7.5 - (i % 2) * 4.5 + 2
        pic.text(x, y, f"{symbol}  {meaning}", h=2.6)
    return pic


def end_types(de):
    pic = Picture(de)
    pic.frame(T("Ausführung der Federenden", "Types of spring ends", de))
    d, dm, y0 = 5.0, 26.0, 30.0
    cases = [
        (28.0, T("angelegt und", "closed and", de), T("geschliffen", "ground", de), "closed_ground"),
        (80.0, T("angelegt,", "closed,", de), T("nicht geschliffen", "not ground", de), "closed"),
        (132.0, T("nicht angelegt", "open,", de), T("(offen)", "not ground", de), "open"),
    ]
    for cx, line1, line2, kind in cases:
        xl, xr = cx - dm / 2, cx + dm / 2
        pitch = 12.0
        if kind == "closed_ground":
            # The end coil lies on the next one and is ground flat down to its centre.
            ys = [y0, y0 + d] + [y0 + d + pitch * (k + 0.5) for k in range(4)]
        elif kind == "closed":
            ys = [y0 + d / 2, y0 + 1.5 * d] + [y0 + 1.5 * d + pitch * (k + 0.5) for k in range(4)]
        else:
            ys = [y0 + d / 2 + pitch * k / 2 for k in range(6)]
        pic.pen(OUTLINE)
        pic.line(xl - 8, y0, xr + 8, y0)
        for i, y in enumerate(ys):
            x = xl if i % 2 == 0 else xr
            if kind == "closed_ground" and i == 0:
                pic.arc(x, y, d / 2, 0, 180)
                pic.pen(HIGHLIGHT)
                pic.line(x - d / 2, y, x + d / 2, y)
                pic.pen(OUTLINE)
            else:
                pic.circle(x, y, d / 2)
        for i in range(len(ys) - 1):
            a = (xl if i % 2 == 0 else xr, ys[i])
            b = (xr if i % 2 == 0 else xl, ys[i + 1])
            if i % 2 == 0:
                pic.pen(OUTLINE)
                lift = 0 if (kind == "closed_ground" and i == 0) else d / 2
                pic.line(a[0], a[1] + d / 2, b[0], b[1] + d / 2)
                pic.line(a[0], a[1] - lift, b[0], b[1] - d / 2)
            else:
                pic.pen(HIDDEN)
                pic.dashed(a[0], a[1], b[0], b[1])
        pic.pen(TEXT)
        pic.text(cx, y0 - 7, line1, h=3, align="center")
        pic.text(cx, y0 - 11.5, line2, h=3, align="center")
    pic.pen(DIMENSION)
    pic.text(80, 100, "Lc = (nt + x) * d,   nt = n + nend1 + nend2", h=3, align="center")
    pic.text(80, 94.5, T("nend = Anzahl der nicht federnden Endwindungen (je Ende)",
                       "nend = number of inactive end coils (each end)", de), h=2.6, align="center")
    pic.text(80, 8, T("Geschliffene Enden stehen sicher und senkrecht (e1, e2).",
                       "Ground ends stand firm and square (e1, e2).", de), h=2.6, align="center")
    return pic


def characteristic(de):
    pic = Picture(de)
    pic.frame(T("Progressive Federkennlinie", "Progressive characteristic", de))
    ox, oy, w, h = 22.0, 20.0, 118.0, 78.0
    pic.pen(OUTLINE)
    pic.line(ox, oy, ox + w, oy)
    pic.line(ox, oy, ox, oy + h)
    pic.arrow(ox + w, oy, 0)
    pic.arrow(ox, oy + h, 90)
    pic.pen(TEXT)
    pic.text(ox + w - 2, oy - 6, "s [mm]", h=3, align="right")
    pic.text(ox - 3, oy + h - 2, "F [N]", h=3, align="right")
    # Three sections: rates rise as the sections close one after another.
    pts = [(ox, oy), (ox + 55, oy + 18), (ox + 85, oy + 38), (ox + 100, oy + 70)]
    pic.pen(HIGHLIGHT)
    pic.encoded_polyline(pts)
    pic.pen(DIMENSION)
    for i, (x, y) in enumerate(pts[1:], start=1):
        pic.dashed(x, oy, x, y, dash=1)
        pic.dashed(ox, y, x, y, dash=1)
        pic.circle(x, y, 0.8)
    labels = [("Fc1", "sc1"), ("Fc2", "sc2"), ("Fc", "sc")]
    pic.pen(TEXT)
    for (fl, sl), (x, y) in zip(labels, pts[1:]):
        pic.text(ox - 1.5, y - 1.2, fl, h=2.6, align="right")
        pic.text(x, oy - 5, sl, h=2.6, align="center")
    pic.text(ox + 20, oy + 12, "R1", h=3)
    pic.text(ox + 62, oy + 31, "R2", h=3)
    pic.text(ox + 88, oy + 56, "R3", h=3)
    pic.pen(DIMENSION)
    pic.text(ox + 4, oy + 62,
             T("Jeder Abschnitt federt mit eigener Rate, bis", "Each section deflects with its own",
               de), h=2.6)
    pic.text(ox + 4, oy + 57.5,
             T("seine Windungen anliegen: die Kennlinie", "rate until its coils touch: the line",
               de), h=2.6)
    pic.text(ox + 4, oy + 53,
             T("wird bei jeder Kraft Fci steiler.", "stiffens at every closing force Fci.", de),
             h=2.6)
    return pic


def tolerances(de):
    pic = Picture(de)
    pic.frame(T("Toleranzen (EN 15800, DIN 2096)", "Tolerances (EN 15800, DIN 2096)", de))
    # A spring outline leaning by e1, its top plane tilted by e2.
    x0, y0, wdt, ht = 18.0, 24.0, 34.0, 62.0
    lean = 5.0
    pic.pen(OUTLINE)
    pic.line(x0 - 6, y0, x0 + wdt + 12, y0)
    pic.polyline([(x0, y0), (x0 + lean, y0 + ht), (x0 + wdt + lean, y0 + ht - 5), (x0 + wdt, y0),
                  (x0, y0)])
    for i in range(1, 8):
        y = y0 + ht * i / 8
        pic.line(x0 + lean * i / 8, y, x0 + wdt + lean * i / 8, y - 5 * i / 8)
    pic.pen(DIMENSION)
    pic.dashed(x0, y0, x0, y0 + ht + 6, dash=1)
    pic.line(x0, y0 + ht + 3, x0 + lean, y0 + ht + 3)
    pic.text(x0 + lean + 1, y0 + ht + 2, "e1", h=3)
    pic.dashed(x0 + lean, y0 + ht, x0 + wdt + lean + 8, y0 + ht, dash=1)
    pic.line(x0 + wdt + lean + 6, y0 + ht, x0 + wdt + lean + 6, y0 + ht - 5)
    pic.arrow(x0 + wdt + lean + 6, y0 + ht - 5, 270, size=1.5)
    pic.text(x0 + wdt + lean + 7.5, y0 + ht - 4.5, "e2", h=3)
    pic.pen(TEXT)
    pic.text(x0 - 4, y0 - 7, T("e1 Abweichung von der Senkrechten",
                               "e1 deviation from square", de), h=2.6)
    pic.text(x0 - 4, y0 - 11.5, T("e2 Abweichung von der Parallelität",
                                  "e2 deviation from parallel", de), h=2.6)
    # The grade table.
    tx, ty = 78.0, 92.0
    pic.pen(DIMENSION)
    rows = [
        (T("Größe", "Value", de), "1", "2", "3", "2096"),
        ("Dm, De, Di", "fein", "mittel", "grob", "DIN"),
        ("L0", "fein", "mittel", "grob", "DIN"),
        ("F1, F2", "fein", "mittel", "grob", "DIN"),
        ("e1, e2", "fein", "mittel", "grob", "DIN"),
    ]
    if not de:
        rows = [rows[0]] + [(r[0], "fine", "medium", "coarse", "DIN") for r in rows[1:]]
    cols = [tx, tx + 22, tx + 34, tx + 47, tx + 60, tx + 75]
    pic.pen(OUTLINE)
    for i in range(len(rows) + 1):
        y = ty - i * 8
        pic.line(cols[0], y, cols[-1], y)
    for x in cols:
        pic.line(x, ty, x, ty - 8 * len(rows))
    pic.pen(TEXT)
    pic.text(cols[1] + 1, ty + 2, "EN 15800 " + T("Grad", "grade", de), h=2.6)
    for i, row in enumerate(rows):
        for j, cell in enumerate(row):
            pic.text(cols[j] + 1.2, ty - 8 * i - 5.5, cell, h=2.4)
    pic.pen(DIMENSION)
    pic.text(tx, 36, T("Grad 5 'andere': Abmaße frei eingeben.",
                       "Grade 5 'other': type the deviations.", de), h=2.6)
    pic.text(tx, 31.5, T("Fertigungsausgleich: über n, L0 oder d,",
                         "Compensation: by n, L0 or d, so that", de), h=2.6)
    pic.text(tx, 27, T("damit F1/F2 in der Toleranz bleiben.",
                       "F1/F2 stay within tolerance.", de), h=2.6)
    return pic


def mandrel(de):
    pic = Picture(de)
    pic.frame(T("Führung auf Dorn und in Hülse", "Guide on a mandrel and in a sleeve", de))
    d, dm, y0, nt, p = 4.0, 30.0, 30.0, 7, 9.5
    for cx, with_mandrel in ((42.0, True), (118.0, False)):
        top = side_view(pic, cx, dm, d, nt, p, y0, back=False)
        xl, xr = cx - dm / 2, cx + dm / 2
        if with_mandrel:
            dd = dm - d - 4
            pic.pen(HIGHLIGHT)
            pic.rect(cx - dd / 2, y0 - 6, cx + dd / 2, top + 8)
            pic.pen(DIMENSION)
            pic.dim_h(cx - dd / 2, cx + dd / 2, top + 11, "Dd")
            pic.pen(TEXT)
            pic.text(cx, y0 - 11, T("Dorn: Dd < Di", "mandrel: Dd < Di", de), h=3, align="center")
        else:
            dh = dm + d + 4
            pic.pen(HIGHLIGHT)
            pic.line(cx - dh / 2, y0 - 4, cx - dh / 2, top + 8)
            pic.line(cx + dh / 2, y0 - 4, cx + dh / 2, top + 8)
            pic.pen(DIMENSION)
            pic.dim_h(cx - dh / 2, cx + dh / 2, top + 11, "Dh")
            pic.pen(TEXT)
            pic.text(cx, y0 - 11, T("Hülse: Dh > De", "sleeve: Dh > De", de), h=3, align="center")
    pic.pen(DIMENSION)
    pic.text(80, 9.5, T("De wächst beim Zusammendrücken: Spiel zur Hülse lassen.",
                      "De grows under compression: leave clearance in the sleeve.", de), h=2.6,
             align="center")
    pic.text(80, 5, T("Lange schlanke Federn knicken (L0/D gross): Dorn oder Hülse.",
                        "Long slender springs buckle (L0/D large): mandrel or sleeve.", de), h=2.6,
             align="center")
    return pic


def null(de):
    pic = Picture(de)
    pic.frame("KORA")
    pic.pen(TEXT)
    pic.text(80, 60, T("Kein Hilfebild vorhanden", "No help picture", de), h=5, align="center")
    pic.pen(DIMENSION)
    pic.text(80, 50, T("Hilfe-Ordner: Konfiguration, PLT Ordner", "Help folder: configuration, PLT Ordner",
                       de), h=3, align="center")
    return pic


PICTURES = [
    ("abmess", dimensions, "Abmessungen: d, Dm, De, Di, L0, Lc"),
    ("enden", end_types, "Ausf\x81hrung der Federenden"),
    ("kennlin", characteristic, "Progressive Federkennlinie"),
    ("toleranz", tolerances, "Toleranzen EN 15800 / DIN 2096, e1, e2"),
    ("dorn", mandrel, "F\x81hrung auf Dorn und in H\x81lse"),
    ("null", null, "Kein Hilfebild vorhanden"),
]




def main():
    folder = help_folder()
    os.makedirs(os.path.join(folder, "en"), exist_ok=True)
    for name, draw, _ in PICTURES:
        write(os.path.join(folder, name + ".plt"), draw(True).bytes())
        write(os.path.join(folder, "en", name + ".plt"), draw(False).bytes())
    listing = "".join(f'"{name}","{description}"\r\n' for name, _, description in PICTURES)
    write(os.path.join(folder, "kora.dbh"), listing.encode("latin-1"))


if __name__ == "__main__":
    main()
