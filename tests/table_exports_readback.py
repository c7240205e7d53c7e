"""The CSV, clipboard and JCAMP-DX exports of rovanel-cli read back by
readers that are not the program's: Python's csv module, a JCAMP-DX 4.24
parser written here from the standard's rules, and LibreOffice (when
installed) converting the CSV to .xlsx in a French and an English locale.

usage: table_exports_readback.py CLI OUTDIR [csv|jcamp|libreoffice]
"""
import csv
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
import xml.etree.ElementTree as ET

CLI, OUT = sys.argv[1], sys.argv[2]
os.makedirs(OUT, exist_ok=True)
WHAT = sys.argv[3] if len(sys.argv) > 3 else "csv"
FAILURES = []


def check(ok, what):
    if not ok:
        FAILURES.append(what)
        print("FAIL:", what)


RUNTIME = os.path.join(OUT, "runtime")
os.makedirs(RUNTIME, mode=0o700, exist_ok=True)
os.chmod(RUNTIME, 0o700)


def run(lang, *actions, home=None):
    env = dict(os.environ, ROVANEL_HOME=home or os.path.join(OUT, "home"),
               XDG_RUNTIME_DIR=RUNTIME, QT_QPA_PLATFORM="offscreen")
    p = subprocess.run([CLI, "--box", "sim", "--lang", str(lang), *actions],
                       capture_output=True, text=True, env=env)
    return p.returncode, p.stdout, p.stderr


def levels(text):
    return [int(v) for v in text.split()]


def read_csv(path, delimiter):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f, delimiter=delimiter))


def number(text, decimal):
    return float(text.replace(decimal, ".")) if decimal != "." else float(text)


# ---------------------------------------------------------------- CSV
# Each case: language, scene, actions before the export, the header the
# window's language gives, and the abscissa of sample i.
T0 = 10.0  # integration time at level 0, ms
CASES = [
    ("position-en", 2, "slit", ["click:acquisition"], ["position (µm)", "level"],
     lambda i, lam: 14 * i, 2048, "point"),
    ("position-fr", 1, "slit", ["click:acquisition"], ["position (µm)", "niveau"],
     lambda i, lam: 14 * i, 2048, "semicolon"),
    ("spatial-frequency-en", 2, "slit", ["click:acquisition", "click:fft"],
     ["spatial frequency (1/m)", "level"], lambda i, lam: i / 0.028672, 1024, "point"),
    ("wavelength-en", 2, "lamp", ["click:acquisition", "click:spectro"],
     ["wavelength (nm)", "level", "reference"], lambda i, lam: lam[i], 2048, "point"),
    ("time-de", 3, "michelson", ["click:mi", "set:InterAcc=5", "click:startmi"],
     ["Zeit (s)", "Pegel"], lambda i, lam: i * T0 / 1000, 512, "semicolon"),
]


def csv_checks():
    for name, lang, scene, actions, header, x_of, rows, style in CASES:
        path = os.path.join(OUT, name + ".csv")
        dumps = ["dump:NbCurves", "dump:LambdaTab"]
        rc, out, err = run(lang, "--scene", scene, *actions,
                           "export:csv=%s style=%s" % (path, style),
                           "click:CopierDonnees1", "dump:clipboard", *dumps)
        check(rc == 0, "%s: rovanel-cli failed: %s" % (name, err))
        if rc != 0:
            continue
        # What the window holds, dumped apart from the export.
        lines = out.split("\n")
        clip_end = rows + 1
        clipboard = "\n".join(lines[:clip_end]) + "\n"
        rest = lines[clip_end:]
        ncurves = int(rest[0])
        lam = [float(v) for v in rest[1:1 + 2048]]
        if name.startswith("time"):
            _, serie, _ = run(lang, "--scene", scene, *actions, "dump:MiSerie")
            shown = [levels(serie)]
        else:
            k_list = list(range(2, ncurves + 1)) + [1] if "reference" in header else \
                list(range(1, ncurves + 1))
            shown = []
            for k in k_list:
                _, dump, _ = run(lang, "--scene", scene, *actions, "dump:CurveBuf=%d" % k)
                shown.append(levels(dump))
        delimiter, decimal = (",", ".") if style == "point" else (";", ",")
        table = read_csv(path, delimiter)
        check(table[0] == header, "%s: header %r" % (name, table[0]))
        check(len(table) == rows + 1, "%s: %d rows" % (name, len(table) - 1))
        with open(path, "rb") as f:
            raw = f.read()
        check(raw.count(b"\r\n") == rows + 1 and b"\n" not in raw.replace(b"\r\n", b""),
              "%s: lines not ended by CR LF" % name)
        for i, row in enumerate(table[1:rows + 1]):
            check(len(row) == len(header), "%s row %d: %r" % (name, i, row))
            x = number(row[0], decimal)
            tol = 5e-5 if "wavelength" in header[0] else 5e-7
            if abs(x - x_of(i, lam)) > tol:
                check(False, "%s row %d: x %s, expected %s" % (name, i, row[0], x_of(i, lam)))
                break
            for c, curve in enumerate(shown):
                if int(row[1 + c]) != curve[i]:
                    check(False, "%s row %d col %d: %s != %d" % (name, i, c, row[1 + c], curve[i]))
                    break
        # The clipboard: the same table with tabs.
        tabbed = list(csv.reader(io.StringIO(clipboard), delimiter="\t"))
        check(tabbed[:rows + 1] == table, "%s: the clipboard differs from the CSV" % name)

    # The style is remembered from one run to the next, in the configuration.
    home = os.path.join(OUT, "style-home")
    shutil.rmtree(home, ignore_errors=True)
    os.makedirs(home)
    a, b = os.path.join(OUT, "first.csv"), os.path.join(OUT, "second.csv")
    run(1, "click:acquisition", "export:csv=%s style=point" % a, home=home)
    rc, out, _ = run(1, "click:acquisition", "export:csv=" + b, "dump:config", home=home)
    check(rc == 0 and "CfgCsvStyle=1\n" in out, "style not kept: %s" % out)
    check(open(b, encoding="utf-8").readline() == "position (µm),niveau\n",
          "second export not in the kept style")
    # French without a kept style: comma and semicolon.
    rc, _, _ = run(1, "click:acquisition", "export:csv=" + a, home=os.path.join(OUT, "fresh-home"))
    check(open(a, encoding="utf-8").readline() == "position (µm);niveau\n",
          "French default is not comma and semicolon")

    # Failures: one line on stderr, exit 1, an existing file untouched.
    keep = os.path.join(OUT, "keep.csv")
    with open(keep, "w") as f:
        f.write("old\n")
    blocker = os.path.join(OUT, "a-file")
    open(blocker, "w").close()
    for actions in (["export:csv=%s/x.csv" % blocker],
                    ["export:csv=%s style=comma" % keep],
                    ["export:jcamp=" + keep.replace(".csv", ".jdx")],
                    ["click:acquisition", "click:spectro", "export:jcamp=%s/x.jdx" % blocker],
                    ["export:csv=" + keep.replace(".csv", ".txt")]):
        rc, _, err = run(2, "click:acquisition", *actions)
        check(rc == 1 and err.count("\n") == 1, "%s: rc %d, stderr %r" % (actions, rc, err))
    check(open(keep).read() == "old\n", "the old file was changed")


# ---------------------------------------------------------------- JCAMP-DX
def jcamp_parse(text):
    """Labelled data records per JCAMP-DX 4.24: '##LABEL=value', the label's
    spaces, dashes, slashes and underscores dropped and the case folded; a
    value runs on to the next record; '$$' starts a comment."""
    records, order = {}, []
    label = None
    for line in text.split("\r\n"):
        line = line.split("$$", 1)[0]
        m = re.match(r"##([^=]*)=(.*)$", line)
        if m:
            label = re.sub(r"[\s\-/_]", "", m.group(1)).upper()
            records[label] = m.group(2).strip()
            order.append(label)
        elif label is not None and line.strip():
            records[label] += "\n" + line
    return records, order


def jcamp_points(rec):
    """The (x, y) pairs of the data, factors applied."""
    xf, yf = float(rec["XFACTOR"]), float(rec["YFACTOR"])
    n = int(rec["NPOINTS"])
    first, last = float(rec["FIRSTX"]), float(rec["LASTX"])
    if "XYPOINTS" in rec:
        form, *rows = rec["XYPOINTS"].split("\n")
        assert form.replace(" ", "") == "(XY..XY)", form
        pts = []
        for row in rows:
            for pair in row.split(";"):
                if pair.strip():
                    x, y = re.split(r"[,\s]+", pair.strip())
                    pts.append((float(x) * xf, float(y) * yf))
        return pts, n, first, last
    form, *rows = rec["XYDATA"].split("\n")
    assert form.replace(" ", "") == "(X++(Y..Y))", form
    # AFFN: X of the line's first Y, then the Ys; X rebuilt from FIRSTX and
    # the step (LASTX - FIRSTX) / (NPOINTS - 1), the line's X a check.
    step = (last - first) / (n - 1)
    pts = []
    for row in rows:
        values = [float(v) for v in re.findall(r"[+-]?[0-9]*\.?[0-9]+(?:[Ee][+-]?[0-9]+)?", row)]
        if not values:
            continue
        x_line = values[0] * xf
        if abs(x_line - (first + len(pts) * step)) > abs(step) / 2:
            raise ValueError("line X %g where the step puts %g" % (x_line, first + len(pts) * step))
        for y in values[1:]:
            pts.append((first + len(pts) * step, y * yf))
    return pts, n, first, last


def jcamp_checks():
    plain, nm = os.path.join(OUT, "s.jdx"), os.path.join(OUT, "s1.jdx")
    actions = ["--scene", "lamp", "click:acquisition", "click:spectro"]
    rc, out, err = run(2, *actions, "export:jcamp=" + plain, "export:jcamp=%s resample=1nm" % nm,
                       "dump:LambdaTab", "dump:NbCurves")
    check(rc == 0, "jcamp export failed: " + err)
    if rc != 0:
        return
    lines = out.split("\n")
    lam = [float(v) for v in lines[:2048]]
    count = int(lines[2048])
    _, dump, _ = run(2, *actions, "dump:CurveBuf=%d" % count)
    level = levels(dump)
    for path, resampled in ((plain, False), (nm, True)):
        with open(path, "rb") as f:
            raw = f.read()
        check(all(b < 0x80 for b in raw), path + ": not ASCII")
        text = raw.decode("ascii")
        check(all(len(l) <= 80 for l in text.split("\r\n")), path + ": a line over 80 characters")
        rec, order = jcamp_parse(text)
        check(order[:2] == ["TITLE", "JCAMPDX"] and order[-1] == "END", path + ": order %r" % order)
        check(rec["JCAMPDX"].startswith("4.24"), path + ": version")
        check(rec["DATATYPE"] == "UV/VIS SPECTRUM", path + ": data type")
        check(rec["XUNITS"] == "NANOMETERS" and rec["YUNITS"] == "ARBITRARY UNITS", path + ": units")
        for label in ("LONGDATE", "$BOX", "$CALIBRATION"):
            check(label in rec, path + ": no " + label)
        pts, n, first, last = jcamp_points(rec)
        check(len(pts) == n, "%s: %d points, NPOINTS %d" % (path, len(pts), n))
        check(abs(pts[0][0] - first) < 1e-9 and abs(pts[-1][0] - last) < 1e-6, path + ": FIRSTX/LASTX")
        check(abs(pts[0][1] - float(rec["FIRSTY"])) < 1e-9, path + ": FIRSTY")
        if not resampled:
            check(n == 2048, path + ": not every pixel")
            for i, (x, y) in enumerate(pts):
                if abs(x - lam[i]) > 5e-5 or y != level[i]:
                    check(False, "%s pixel %d: (%g, %g) != (%g, %d)" % (path, i, x, y, lam[i], level[i]))
                    break
        else:
            check(float(rec["DELTAX"]) == 1.0, path + ": DELTAX")
            lo, hi = min(lam), max(lam)
            import math
            check(first == math.ceil(lo) and last == math.floor(hi), path + ": grid ends")
            for x, y in pts:
                # Linear interpolation between the two pixels around x.
                j = max(i for i in range(2047) if lam[i] <= x) if lam[0] < lam[-1] else None
                j = min(j, 2046)
                t = (x - lam[j]) / (lam[j + 1] - lam[j])
                want = level[j] + t * (level[j + 1] - level[j])
                if abs(y - want) > 0.002:
                    check(False, "%s at %g nm: %g, expected %g" % (path, x, y, want))
                    break


# ---------------------------------------------------------------- LibreOffice
def xlsx_cells(path):
    """Cell values of the first sheet: ('n', float) or ('s', text)."""
    ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
    with zipfile.ZipFile(path) as z:
        shared = []
        if "xl/sharedStrings.xml" in z.namelist():
            for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", ns):
                shared.append("".join(t.text or "" for t in si.iter("{%s}t" % ns["m"])))
        sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    rows = []
    for row in sheet.find("m:sheetData", ns).findall("m:row", ns):
        cells = []
        for c in row.findall("m:c", ns):
            v = c.find("m:v", ns)
            kind = c.get("t", "n")
            if kind == "s":
                cells.append(("s", shared[int(v.text)]))
            elif kind in ("str", "inlineStr"):
                cells.append(("s", v.text if v is not None else ""))
            else:
                cells.append(("n", float(v.text)))
        rows.append(cells)
    return rows


def libreoffice_checks():
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if soffice is None:
        print("SKIPPED: LibreOffice (libreoffice-calc-nogui) is not installed")
        sys.exit(0)
    profile = tempfile.mkdtemp(prefix="lo-profile-", dir=OUT)
    # French reads comma and semicolon, English point and comma; the
    # import's language token sets the locale numbers are read in.
    for lang, style, sep, locale_id in ((1, "semicolon", 59, 1036), (2, "point", 44, 1033)):
        path = os.path.join(OUT, "lo-%d.csv" % lang)
        rc, _, err = run(lang, "--scene", "lamp", "click:acquisition", "click:spectro",
                         "export:csv=%s style=%s" % (path, style))
        check(rc == 0, "export failed: " + err)
        outdir = os.path.join(OUT, "lo-%d" % lang)
        os.makedirs(outdir, exist_ok=True)
        p = subprocess.run([soffice, "-env:UserInstallation=file://" + profile, "--headless",
                            "--infilter=CSV:%d,34,76,1,,%d" % (sep, locale_id),
                            "--convert-to", "xlsx", "--outdir", outdir, path],
                           capture_output=True, text=True, timeout=180)
        xlsx = os.path.join(outdir, "lo-%d.xlsx" % lang)
        check(p.returncode == 0 and os.path.exists(xlsx), "LibreOffice: %s %s" % (p.stdout, p.stderr))
        if not os.path.exists(xlsx):
            continue
        cells = xlsx_cells(xlsx)
        delimiter, decimal = (";", ",") if style == "semicolon" else (",", ".")
        table = read_csv(path, delimiter)
        check([c for _, c in cells[0]] == table[0], "header read as %r" % cells[0])
        check(len(cells) == len(table), "LibreOffice reads %d rows" % len(cells))
        for r, (row, want) in enumerate(zip(cells[1:], table[1:])):
            values = [number(v, decimal) for v in want]
            if [k for k, _ in row] != ["n"] * len(values) or \
                    any(abs(a - b) > 1e-9 for (_, a), b in zip(row, values)):
                check(False, "lang %d row %d: LibreOffice reads %r for %r" % (lang, r, row, want))
                break


{"csv": csv_checks, "jcamp": jcamp_checks, "libreoffice": libreoffice_checks}[WHAT]()
if FAILURES:
    sys.exit("%d checks failed" % len(FAILURES))
print("ok")
