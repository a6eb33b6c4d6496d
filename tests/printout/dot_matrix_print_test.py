#!/usr/bin/env python3
"""The bill on a yard's dot-matrix printer, through a real CUPS, as the
operator prints it: the worked example keyed into the real window, Ctrl+P,
Return on the preview's 打印, Return on the print dialog.

    dot_matrix_print_test.py CUBRIX WINDOW_FACTS
    dot_matrix_print_test.py --write-ppds FOLDER   the two PPDs, for the
                                                   Windows program's test

A cupsd of the test's own (tests/printout/private_cups.sh) with two queues
for an Epson 24-pin printer (Debian's foomatic PPD "Epson LQ-570+",
Ghostscript's epson driver) that write to a file: the PPD as shipped, which
lists none of the continuous forms, and the same PPD with the three forms
added as a yard's printer set-up would have them. For every row the job must
carry the form's size within 0.2 mm, width across the tractor feed first:
in the job's media, in the document handed to CUPS and in the page size
that the filters gave Ghostscript. Ten bills one after another give ten
one-page jobs of that size.

The printer and the paper are preselected through the program's kept
settings (a private XDG_CONFIG_HOME); one row picks the paper in the
preview's paper list by keys instead. Exit 77 (skipped) when not root: the
private cupsd's filters need it.
"""
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
MM_PER_POINT = 25.4 / 72
TOLERANCE_MM = 0.2
STOCK_PPD = "foomatic-db-compressed-ppds:0/ppd/foomatic-ppd/Epson-LQ-570plus-epson.ppd"
PREVIEW_TITLE = "打印预览 - 木材销售清单"
CAPITALS = "人民币柒佰陆拾伍元捌角贰分"

# The forms as they are made: 9.5 in wide, torn off every 11, 5.5 or 11/3 in.
FORM_MM = {
    "241-1": (241.3, 279.4),
    "241-2": (241.3, 139.7),
    "241-3": (241.3, 25.4 * 11 / 3),
}
# The forms as the yard's PPD names them (keyword, width and height in points).
PPD_FORMS = [("FanFold241x279", 684, 792), ("FanFold241x140", 684, 396),
             ("FanFold241x93", 684, 264)]

# queue, paper, media the job must name (None: any name of the right size),
# how the paper is chosen ("settings" or "keys"; "gone": the queue is
# deleted while the preview is open, and nothing may print), how many bills.
CASES = [
    ("Gone", "241-2", None, "gone", 1),
    ("LQ570", "241-1", None, "settings", 1),
    ("LQ570", "241-2", None, "settings", 1),
    ("LQ570", "241-3", None, "settings", 1),
    ("LQForms", "241-2", "FanFold241x140", "settings", 1),
    ("LQForms", "241-3", "FanFold241x93", "keys", 1),
    ("LQ570", "241-2", None, "settings", 10),
]

failures = []


def fail(text):
    print("FAILED:", text, flush=True)
    failures.append(text)


def run(*args, check=True, **kw):
    return subprocess.run(args, check=check, capture_output=True, text=True, **kw).stdout


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.split()


def wait_for(probe, seconds, step=0.2):
    end = time.monotonic() + seconds
    while True:
        value = probe()
        if value or time.monotonic() > end:
            return value
        time.sleep(step)


# --- the queues -----------------------------------------------------------

def yard_ppd(stock):
    """The shipped PPD with the three forms added, each beside its own
    PageRegion, ImageableArea and PaperDimension."""
    sections = {"*PageSize": [], "*PageRegion": [], "*ImageableArea": [], "*PaperDimension": []}
    for name, w, h in PPD_FORMS:
        label = f"{name}/Continuous {w / 72:g}x{h / 72:g} in"
        sections["*PageSize"].append(
            f'*PageSize {label}: "%% FoomaticRIPOptionSetting: PageSize={name}"\n'
            f'*FoomaticRIPOptionSetting PageSize={name}: '
            f'" -dDEVICEWIDTHPOINTS={w} -dDEVICEHEIGHTPOINTS={h}"\n*End\n')
        sections["*PageRegion"].append(
            f'*PageRegion {label}: "%% FoomaticRIPOptionSetting: PageSize={name}"\n')
        sections["*ImageableArea"].append(f'*ImageableArea {label}: "18 36 {w - 18} {h - 36}"\n')
        sections["*PaperDimension"].append(f'*PaperDimension {label}: "{w} {h}"\n')
    out = []
    for line in stock.splitlines(keepends=True):
        for key, added in sections.items():
            if line.startswith(f"*Default{key[1:]}:"):
                out.append(line)
                out.extend(added)
                break
        else:
            out.append(line)
    return "".join(out)


def paper_dimensions(queue):
    """PPD keyword -> (width, height) in mm, from the queue's own PPD."""
    ppd = Path(os.environ["CUPS_SCRATCH"], "ppd", f"{queue}.ppd").read_text(errors="replace")
    return {m[1]: (float(m[2]) * MM_PER_POINT, float(m[3]) * MM_PER_POINT)
            for m in re.finditer(r'^\*PaperDimension ([^/:]+)[^:]*: "([\d.]+) ([\d.]+)"', ppd, re.M)}


def media_size(queue, media):
    """A job's media as (width, height) in mm: Custom.WxH[mm|in] or a PPD
    keyword."""
    m = re.fullmatch(r"Custom\.([\d.]+)x([\d.]+)(mm|in|cm|)", media)
    if m:
        scale = {"mm": 1, "cm": 10, "in": 25.4, "": MM_PER_POINT}[m[3]]
        return float(m[1]) * scale, float(m[2]) * scale
    return paper_dimensions(queue).get(media)


def near(size, want):
    return size is not None and all(abs(a - b) <= TOLERANCE_MM for a, b in zip(size, want))


def shown(size):
    return "none" if size is None else f"{size[0]:.2f} x {size[1]:.2f} mm"


# --- the jobs, as CUPS saw them ---------------------------------------------

def page_log():
    """job id -> (pages, media), from CUPS' page log."""
    path = Path(os.environ["CUPS_SCRATCH"], "log", "page_log")
    jobs = {}
    if path.exists():
        for line in path.read_text(errors="replace").splitlines():
            m = re.match(r"\S+ \S+ (\d+) \[[^]]*\] total (\d+) .* (\S+) (\S+)$", line)
            if m:
                jobs[int(m[1])] = (int(m[2]), m[3])
    return jobs


def renderer_sizes():
    """job id -> the page size in mm that the filters gave Ghostscript."""
    log = Path(os.environ["CUPS_SCRATCH"], "log", "error_log").read_text(errors="replace")
    return {int(m[1]): (int(m[2]) * MM_PER_POINT, int(m[3]) * MM_PER_POINT)
            for m in re.finditer(r"\[Job (\d+)\] Starting renderer with command: .*"
                                 r"-dDEVICEWIDTHPOINTS=(\d+) -dDEVICEHEIGHTPOINTS=(\d+)", log)}


def spooled_document(job):
    return Path(os.environ["CUPS_SCRATCH"], "spool", f"d{job:05d}-001")


def document_size(job):
    info = run("pdfinfo", str(spooled_document(job)), check=False)
    m = re.search(r"Page size:\s+([\d.]+) x ([\d.]+) pts", info)
    return (float(m[1]) * MM_PER_POINT, float(m[2]) * MM_PER_POINT) if m else None


def done_jobs(queue):
    return {int(line.split()[0].rsplit("-", 1)[1])
            for line in run("lpstat", "-W", "completed", "-o", queue, check=False).splitlines()
            if line.strip()}


# --- the window -------------------------------------------------------------

class Window:
    """The real program, started with the given printer and paper kept."""

    def __init__(self, program, facts, queue, paper, home):
        config = home / "config" / "Cubrix"
        config.mkdir(parents=True, exist_ok=True)
        (config / "Cubrix.conf").write_text(f"[printout]\nprinter={queue}\npaper={paper}\n")
        env = dict(os.environ, XDG_CONFIG_HOME=str(home / "config"), HOME=str(home),
                   XDG_RUNTIME_DIR=str(home / "runtime"), QT_SCALE_FACTOR="1",
                   QT_FONT_DPI="96", LC_ALL="C.UTF-8")
        (home / "runtime").mkdir(mode=0o700, exist_ok=True)
        self.process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.facts = facts
        self.wid = wait_for(lambda: self.find("^Cubrix$"), 30)
        if not self.wid:
            raise RuntimeError("the window did not appear")
        time.sleep(0.5)

    def find(self, name):
        found = xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", name)
        return found[0] if found else None

    def windows(self):
        return len(xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", "."))

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "50", *keys])
        time.sleep(0.3)

    def key_bill(self, rows):
        """Each row from its length on, Tab between the inputs."""
        for row, values in rows:
            x, y = self.facts[f"Text1({row})"]
            subprocess.run(["xdotool", "mousemove", "--window", self.wid, str(x), str(y),
                            "click", "1"])
            time.sleep(0.2)
            for i, value in enumerate(values):
                if i:
                    self.key("Tab")
                if value:
                    subprocess.run(["xdotool", "type", "--delay", "20", value])
        time.sleep(0.3)

    def print_bill(self, paper_keys=None, gone=False):
        """Ctrl+P, Return on the preview's 打印, Return on the print dialog;
        true when both dialogs came and went. With `gone`, the operator must
        be told instead, and the preview closed by hand."""
        # Back into the window, as the operator clicks into it after a
        # dialog (no window manager gives it the focus back here).
        x, y = self.facts["Text1(0)"]
        subprocess.run(["xdotool", "mousemove", "--window", self.wid, str(x), str(y), "click", "1"])
        time.sleep(0.3)
        self.key("ctrl+p")
        preview = wait_for(lambda: self.find(f"^{PREVIEW_TITLE}"), 20)
        if not preview:
            fail("Ctrl+P opened no preview")
            return False
        time.sleep(0.5)
        if paper_keys:
            paper_keys()
        before = self.windows()
        self.key("Return")
        if not wait_for(lambda: self.windows() > before, 10):
            fail("Return on the preview opened no print dialog")
            return False
        time.sleep(0.8)
        if gone:
            # Qt's print dialog is titled 打印; a message for the operator is not.
            if self.find("^打印( |$)"):
                fail("a print dialog for a printer that is gone")
            self.key("Escape")
            time.sleep(0.5)
            self.key("Escape")
            if not wait_for(lambda: self.windows() == 1, 10):
                fail("the preview stayed open")
            return False
        self.key("Return")
        if not wait_for(lambda: not self.find(f"^{PREVIEW_TITLE}") and self.windows() == 1, 20):
            fail("the preview or the print dialog stayed open")
            return False
        return True

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def read_facts(window_facts):
    centres = {}
    for line in run(window_facts).splitlines():
        f = line.split("\t")
        if f[0] == "control":
            centres[f[1]] = (int(f[6]), int(f[7]))
    return centres


def worked_rows():
    """The worked example's rows: (row, [Text1, Text2, Text3, Text4, Text6])."""
    fields = {}
    for line in (ROOT / "tests/probe/cases/worked_example.in").read_text().splitlines():
        name, _, value = line.partition("\t")
        fields[name] = value
    rows = sorted({int(m[1]) for m in map(re.compile(r"Text[12346]\((\d)\)").fullmatch, fields)
                   if m})
    return [(r, [fields.get(f"Text{c}({r})", "") for c in (1, 2, 3, 4, 6)]) for r in rows]


# --- the cases --------------------------------------------------------------

def check_job(queue, job, paper, media_wanted, pages_by_job, renderer):
    want = FORM_MM[paper]
    what = f"{queue} {paper} job {job}"
    pages, media = pages_by_job.get(job, (None, None))
    if pages != 1:
        fail(f"{what}: {pages} pages, one expected")
    if media_wanted and media != media_wanted:
        fail(f"{what}: media {media}, the queue's own form {media_wanted} expected")
    size = media_size(queue, media) if media else None
    if not near(size, want):
        fail(f"{what}: media {media} is {shown(size)}, {shown(want)} expected")
    if not near(document_size(job), want):
        fail(f"{what}: the document's page is {shown(document_size(job))}")
    if not near(renderer.get(job), want):
        fail(f"{what}: the filters made a {shown(renderer.get(job))} page")
    text = run("pdftotext", str(spooled_document(job)), "-", check=False)
    if CAPITALS not in text:
        fail(f"{what}: the amount in capitals is not on the page")
    return f"{what}: media {media}, {shown(size)}; document {shown(document_size(job))}; " \
           f"rendered {shown(renderer.get(job))}"


def paper_by_keys(window, paper):
    """From the 打印 button, Tab to the printer, Tab to the paper list, then
    the form's number typed as the list's keyboard search finds it."""
    def choose():
        window.key("Tab", "Tab")
        subprocess.run(["xdotool", "type", "--delay", "80", paper])
        time.sleep(0.5)
        window.key("shift+Tab", "shift+Tab")  # back to 打印, the default
    return choose


def write_ppds(folder):
    """stock.ppd as Debian ships it, yard.ppd with the three forms."""
    stock = run("/usr/lib/cups/driver/foomatic-db-compressed-ppds", "cat", STOCK_PPD)
    (folder / "stock.ppd").write_text(stock)
    (folder / "yard.ppd").write_text(yard_ppd(stock))


def run_cases(program, window_facts):
    scratch = Path(os.environ["CUPS_SCRATCH"])
    write_ppds(scratch)
    for queue, ppd in (("LQ570", "stock.ppd"), ("LQForms", "yard.ppd"), ("Gone", "stock.ppd")):
        run("lpadmin", "-p", queue, "-E", "-v", f"file:{scratch}/{queue}.prn",
            "-P", str(scratch / ppd), "-o", "Resolution=360x180dpi")
    facts = read_facts(window_facts)
    rows = worked_rows()
    for n, (queue, paper, media, how, bills) in enumerate(CASES):
        home = scratch / f"home{n}"
        kept_paper = "a4" if how == "keys" else paper
        window = Window(program, facts, queue, kept_paper, home)
        try:
            window.key_bill(rows)
            before = done_jobs(queue)
            printed = 0
            for _ in range(bills):
                keys = paper_by_keys(window, paper) if how == "keys" and not printed else None
                if how == "gone":
                    window.print_bill(lambda: run("lpadmin", "-x", queue), gone=True)
                    break
                if not window.print_bill(keys):
                    break
                printed += 1
                if not wait_for(lambda: len(done_jobs(queue) - before) >= printed, 60):
                    fail(f"{queue} {paper}: job {printed} not done")
                    break
        finally:
            window.close()
        if how == "keys":
            kept = (home / "config/Cubrix/Cubrix.conf").read_text()
            if f"paper={paper}" not in kept or f"printer={queue}" not in kept:
                fail(f"the paper picked by keys is not kept: {kept}")
        if how == "gone":
            time.sleep(2)
            if run("lpstat", "-W", "all", "-o", check=False).strip():
                fail("a job went out after the printer was gone")
            continue
        jobs = sorted(done_jobs(queue) - before)
        if len(jobs) != bills:
            fail(f"{queue} {paper}: {len(jobs)} jobs for {bills} bills")
        # cupsd may write a finished job's lines a moment later.
        wait_for(lambda: all(j in page_log() and j in renderer_sizes() for j in jobs), 15, 0.5)
        pages_by_job, renderer = page_log(), renderer_sizes()
        for job in jobs:
            print(check_job(queue, job, paper, media, pages_by_job, renderer), flush=True)


def main():
    if sys.argv[1:2] == ["--write-ppds"]:
        write_ppds(Path(sys.argv[2]))
        return 0
    if os.geteuid() != 0:
        print("skipped: the private cupsd's filters run only for root")
        return 77
    program, window_facts = sys.argv[1:3]
    if "CUPS_SCRATCH" not in os.environ:
        for tool in ("cupsd", "lpadmin", "gs", "foomatic-rip", "pdfinfo", "pdftotext", "xdotool",
                     "Xvfb"):
            if not shutil.which(tool) and not Path("/usr/lib/cups/filter", tool).exists():
                print(f"missing: {tool} (tools/install-deps.sh)")
                return 1
        if not Path("/usr/lib/cups/driver/foomatic-db-compressed-ppds").exists():
            print("missing: foomatic-db-compressed-ppds (tools/install-deps.sh)")
            return 1
        # Into a private X server and a private cupsd, whose log says what
        # the filters gave Ghostscript (never moved aside, however long) and
        # whose spool keeps each document.
        env = dict(os.environ, cups_log_level="debug", cups_files_extra="FileDevice Yes",
                   cups_conf_extra="PreserveJobFiles Yes\nMaxLogSize 0")
        return subprocess.run([str(ROOT / "tools/xvfb.sh"), str(HERE / "private_cups.sh"),
                               sys.executable, __file__, *sys.argv[1:]], env=env).returncode
    run_cases(os.path.abspath(program), os.path.abspath(window_facts))
    if failures:
        print(f"{len(failures)} failed")
        return 1
    print("every bill went to the dot-matrix queue on its form")
    return 0


if __name__ == "__main__":
    sys.exit(main())
