#!/usr/bin/env python3
"""The bwcore tool as a user meets it: a table of command lines with their exit codes and what
their output must hold, then the checks that take more than one command (inputs that must
survive, pipes, JSON in UTF-8, failed writes).

    cli_test.py TOOL EXAMPLES_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import zlib

TOOL, EXAMPLES = os.path.abspath(sys.argv[1]), sys.argv[2]
LANGS = os.path.join(EXAMPLES, "languages.txt")
PLATFORMS = os.path.join(EXAMPLES, "platforms.txt")
SETUP = os.path.join(EXAMPLES, "Setup.bws")
BITMAPS = os.path.join(EXAMPLES, "..", "fuzz", "corpus-bitmap")
RGB24, COLOURS8 = os.path.join(BITMAPS, "rgb24.bmp"), os.path.join(BITMAPS, "colours8.bmp")
COMMANDS = ["msg", "script", "events", "lang", "platform", "scramble", "unscramble", "version",
            "bitmap", "types", "ls", "msgbox", "dialog"]
# A fixed code page and a locale that is not UTF-8, unless a case says otherwise.
ENV = dict(os.environ, BWCORE_ACP="1252", LC_ALL="C", LANG="C")
# The file types of the registry measured on a real Win32.
ENV["BWCORE_CLASSES_ROOT"] = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data",
                                          "win32", "classes_root.reg")
failures = []


def run(args, stdin=None, env=None, stdout=subprocess.PIPE):
    """The finished process; one that hangs is killed and counts as exit code "hung"."""
    try:
        return subprocess.run([TOOL] + args, stdin=stdin, stdout=stdout, stderr=subprocess.PIPE,
                              env=env or ENV, timeout=10)
    except subprocess.TimeoutExpired:
        return subprocess.CompletedProcess(args, "hung", b"", b"")


def check(condition, what):
    if not condition:
        failures.append(what)


def expect(args, code, out=(), err=(), **kw):
    r = run(args, **kw)
    text, message = r.stdout.decode("latin-1"), r.stderr.decode("latin-1")
    what = f"bwcore {' '.join(args)}"
    check(r.returncode == code, f"{what}: exit code {r.returncode}, not {code}\n{message}")
    for fragment in out:
        check(fragment in text, f"{what}: no {fragment!r} in the output")
    for fragment in err:
        check(fragment in message, f"{what}: no {fragment!r} among the messages:\n{message}")
    return text


work = tempfile.mkdtemp()


def write(name, data):
    path = os.path.join(work, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


one_section = write("one.txt", b"[0x0409]\nEnglish=0x0009\n")
# Hashed in the other order; the name keeps its blank before "=", and its second entry is ignored.
order = write("order.txt", b"[x]\n[0x0409]\n  B =0x0007\t\nC=0x0009\nB =0x0010\n[0x0407]\nA=0x0009\n")
commas = write("commas.bws",
               b"prototype Foo();\nprototype Foo, ();\nprototype Bar();\nprototype Bar, ();\n")

# Command line -> exit code, fragments of the output, fragments of the messages.
for args, code, out, err in [
    (["--help"], 0, ["commands:", "bwcore COMMAND --help"], []),
    (["nosuch"], 2, [], ["unknown command 'nosuch'"]),
    (["lang", LANGS, "--dir"], 2, [], ["option '--dir' needs a value"]),
    (["scramble", "--key"], 2, [], ["option '--key' needs a value"]),
    (["scramble", "x"], 2, [], ["--key is required"]),
    (["script"], 2, [], ["FILE is required"]),
    (["lang", LANGS, "--section", "zz"], 2, [], ["'zz' is not a hexadecimal language id"]),
    (["lang", os.path.join(work, "none.txt")], 1, [], ["the file cannot be read"]),
    (["lang", one_section], 1, [], ["no section after the first, which is ignored"]),
    (["platform", one_section], 1, [], ["no section after the first, which is ignored"]),
    (["lang", LANGS, "--section", "0x0407", "--dir", "0x0c07"], 0, ["0c07-Deutsch (\xd6sterreich)"],
     []),
    (["lang", LANGS, "--section", "0x0999"], 1, [], ["no section 0x0999"]),
    # Records in the order of the file, which is not the order of the library's hash tables.
    (["lang", LANGS], 0, ["0009\tEnglish\tneutral\n0007\tGerman\tneutral\n0011\tJapanese\t"], []),
    (["lang", LANGS, "--section", "0x0407"], 0, ["0009\tEnglisch\tneutral\n0007\tDeutsch\t"], []),
    (["lang", order], 0, ["0007\tB \tneutral\n0009\tC\tneutral\n"], []),
    (["platform", PLATFORMS], 0, ["Windows 95\t0000000000000001\nWindows 98\t0000000000000002\n"],
     []),
    (["platform", PLATFORMS, "--section", "407"], 0, ["Windows 95\t0000000000000001\nWindows 98\t"],
     []),
    (["platform", PLATFORMS, "--bintext", "3"], 0, ["Windows 95 & Windows 98\t0000000000000003"],
     []),
    (["platform", PLATFORMS, "--name", "Windows 98"], 0, ["Windows 98\t0000000000000002"], []),
    (["platform", PLATFORMS, "--bintext", "0"], 1, [], ["0 holds no platform"]),
    (["platform", PLATFORMS, "--bintext", "3", "--name", "Windows 98"], 2, [], ["excludes"]),
    (["script", "/dev/zero"], 1, [], ["'/dev/zero': it is neither a file nor a pipe"]),
    (["script", work], 1, [], ["it is a directory"]),
    (["script", "/proc/self/mem", SETUP], 1, ["WelcomeDialog"], ["cannot read '/proc/self/mem'"]),
    (["scramble", "--key", "256", "x"], 2, [], ["not a number from 0 to 255"]),
    (["scramble", "--key", "1", "/proc/self/mem"], 1, [], ["cannot read /proc/self/mem"]),
    (["scramble", "--key", "1", "--scheme", "word", "x"], 2, [], ["--scheme", "word"]),
    (["msg", "-8", "99999"], 1, ["(no such message)"], []),
    (["version", SETUP], 1, ["no version information"], []),
    (["bitmap", RGB24], 0, ["\tloaded, 3 by 2, 32 bits per pixel, no palette\n"], []),
    (["bitmap", SETUP], 1, ["\tnot loaded: unreadable, or not a bitmap"], []),
    (["bitmap", RGB24, "--png", os.path.join(work, "no", "dir.png")], 1, [],
     ["cannot write '" + os.path.join(work, "no", "dir.png") + "'"]),
    # The classes root of the measured registry: a class with a text, a command and an icon.
    (["types", "", ".zzq", "HTM", "htm"], 0,
     ["-\t0\tFile\t-\t-\t0\t0\n.zzq\t1\tZZQ File\t",
      "HTM\t2\tHTML Document\t\"C:\\\\windows\\\\system32\\\\winebrowser.exe\" \"%1\"\t"
      "C:\\\\Program Files\\\\Internet Explorer\\\\iexplore.exe\t1\t0\nhtm\t2\t"],
     []),
    (["types"], 2, [], ["EXT is required"]),
    # Message boxes answer with their default button here; the text also goes to stderr.
    (["msgbox"], 2, [], ["CODE is required"]),
    (["msgbox", "x"], 2, [], ["'x' is not an error code"]),
    (["msgbox", "-1", "--type", "zz"], 2, [], ["'zz' is not a message box type"]),
    (["msgbox", "-11049", "Setup"], 0,
     ["text\tCannot delete a required component. Setup\n", "type\t0x00000000\nhelp\t11049\n",
      "button\tIDOK 1\n"], []),
    (["msgbox", "-11085", "-7"], 0, ["remove these -7 items"], []),
    (["msgbox", "-11049", "7"], 0, ["component. 7\n"], []),
    (["msgbox", "5", "--type", "0x24"], 0,
     ["ERRORCODE:5\n", "type\t0x00000024\n", "help\t4294967291\n", "button\tIDYES 6\n"], []),
    # One argument cannot fill two conversions; identifiers are 16-bit, so this is not 11032.
    (["msgbox", "-11217", "a"], 0, ["file\\n  '%s'.\\nPlease"], []),
    (["msgbox", "-76568"], 0, ["ERRORCODE:-76568\n", "help\t76568\n"], []),
    (["dialog"], 2, [], ["KIND is required"]),
    (["dialog", "nosuch"], 2, [], ["nosuch"]),
    (["dialog", "regimport", "--key", "K"], 2, [], ["--value is required"]),
    (["dialog", "regimport", "--key", "K", "--value", "V", "--new", "N"], 0, ["yes-to-all\n"], []),
    (["dialog", "show", "12345"], 1, [], ["the dialog template 12345 cannot be shown"]),
    (["dialog", "show", "0"], 2, [], ["0"]),
]:
    expect(args, code, out, err)
for command in COMMANDS:
    expect([command, "--help"], 0, [f"bwcore {command}"])
for kind in ["regimport", "show"]:
    expect(["dialog", kind, "--help"], 0, [f"bwcore dialog {kind}"])

# The bitmap as written: rows from the top, red, green and blue; on the palette display the
# colours of the picture's palette. The writer leaves rows unfiltered (filter byte 0).
def png_rows(path, width):
    with open(path, "rb") as f:
        data = f.read()
    chunks, at = b"", 8
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        if data[at + 4:at + 8] == b"IDAT":
            chunks += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(chunks)
    return [raw[i + 1:i + 1 + 3 * width] for i in range(0, len(raw), 3 * width + 1)]


png = os.path.join(work, "out.png")
expect(["bitmap", RGB24, "--png", png], 0)
check(png_rows(png, 3) == [bytes([1, 2, 3, 128, 128, 128, 255, 255, 255]),
                           bytes([255, 0, 0, 0, 255, 0, 0, 0, 255])], "bitmap --png, 24 bits")
r = run(["bitmap", "--json", COLOURS8, "--png", png], env=dict(ENV, BWCORE_DISPLAY_BITS="8"))
try:
    document = json.loads(r.stdout)
except ValueError:
    document = None
check(document == {"path": COLOURS8, "result": 1, "width": 4, "height": 2, "depth": 8,
                   "palette": 256}, f"bitmap --json on the palette display: {r.stdout!r}")
check(png_rows(png, 4)[1][:9] == bytes([0, 0, 254, 10, 30, 245, 235, 193, 20]),
      "bitmap --png on the palette display")

# Names holding commas are records of their own: each of the four once.
lines = expect(["script", commas], 0).splitlines()
names = sorted(line.split("\t")[1] for line in lines if line.startswith("function\t"))
check(names == ["Bar", "Bar,", "Foo", "Foo,"], f"functions of {commas}: {names}")

# Each file is read once: a named pipe and standard input give the tags a file gives.
fifo = os.path.join(work, "pipe.bws")
os.mkfifo(fifo)
with open(SETUP, "rb") as f:
    script = f.read()
writer = threading.Thread(target=lambda: open(fifo, "wb").write(script), daemon=True)
writer.start()
from_pipe = expect(["script", fifo], 0, ["tag\tWelcomeDialog", "tag\tDestinationDialog"])
writer.join(5)
with open(SETUP, "rb") as f:
    expect(["script", "-"], 0, ["tag\tWelcomeDialog", "tag\tDestinationDialog"], stdin=f)
check(from_pipe.replace(fifo, SETUP) == expect(["script", SETUP], 0),
      "a named pipe indexes differently from the file")

# Nothing overwrites its input: the same path, another spelling, a hard or symbolic link, or the
# file behind standard input.
original = os.urandom(3000)
data = write("data.bin", original)
os.link(data, os.path.join(work, "hard.bin"))
os.symlink(data, os.path.join(work, "soft.bin"))
for output in ["data.bin", "./data.bin", "hard.bin", "soft.bin"]:
    r = subprocess.run([TOOL, "scramble", "--key", "1", "-o", output, "data.bin"], cwd=work,
                       capture_output=True)
    check(r.returncode == 2 and b"is the input file" in r.stderr, f"scramble -o {output}")
with open(data, "rb") as f:
    r = run(["scramble", "--key", "1", "-o", data], stdin=f)
    check(r.returncode == 2, "scramble -o naming the file behind standard input")
with open(data, "rb") as f:
    check(f.read() == original, "scramble changed its input")

# JSON is UTF-8 whatever the code page; text is converted only for a UTF-8 locale.
def names_in_json(args, member, env=None):
    try:
        document = json.loads(run(args, env=env).stdout.decode("utf-8"))
        return [record["name"] for record in document[member]]
    except (ValueError, KeyError):  # not UTF-8, not JSON, or not the expected document
        return f"bwcore {' '.join(args)}: no UTF-8 JSON"


cafe = write("cafe.bws", b"// {{BW_SCRIPT_TAG(Caf\xe9)\n")
check(names_in_json(["script", "--json", cafe], "tags") == ["Caf\xe9"], "script --json")
names = names_in_json(["lang", LANGS, "--section", "0x0407", "--all", "--json"], "languages")
check("Deutsch (\xd6sterreich)" in names, f"lang --json: {names}")
kanji = "\u65e5\u672c\u8a9e"
japanese = write("ja.bws", b"// {{BW_SCRIPT_TAG(" + kanji.encode("cp932") + b")\n")
names = names_in_json(["script", "--json", japanese], "tags", env=dict(ENV, BWCORE_ACP="932"))
check(names == [kanji], f"script --json in code page 932: {names}")
check(b"Caf\xc3\xa9" in run(["script", cafe], env=dict(ENV, LC_ALL="C.UTF-8")).stdout,
      "text in a UTF-8 locale")
check(b"Caf\xe9\t" in run(["script", cafe]).stdout, "text in a locale that is not UTF-8")

# A failed write to standard output is an error.
with open("/dev/full", "wb") as full:
    for args in [["script", SETUP], ["lang", LANGS], ["msg"], ["--help"]]:
        r = run(args, stdout=full)
        check(r.returncode == 1, f"bwcore {' '.join(args)} >/dev/full: exit {r.returncode}")

# ls and script -R over a tree: A holds B (which holds C), D stands beside A.
tree = os.path.join(work, "tree")
for sub in ["A/B/C", "D"]:
    os.makedirs(os.path.join(tree, sub))
for name, data in [("a.txt", b"12345"), ("data.zzq", b""), (".hidden", b""), ("ro.txt", b""),
                   ("x.BWS", b"prototype Upper();\n"), ("A/B/C/deep.bws", b"prototype Deep();\n"),
                   ("D/no.txt", b"prototype NotAScript();\n")]:
    write(os.path.join("tree", name), data)
os.chmod(os.path.join(tree, "ro.txt"), 0o444)
os.utime(os.path.join(tree, "a.txt"), (981173106, 981173106))
UTC = dict(ENV, TZ="UTC")
listing = expect(["ls", tree], 0, [f"{tree}:\n", "a.txt\t5\t----A\t2001-02-03T04:05:06\t",
                                   "data.zzq\t0\t----A\t", "\tZZQ File\t0\n", ".hidden\t0\t--H-A\t",
                                   "ro.txt\t0\t-R--A\t", "A\t0\tD----\t", "\tFile Folder\t1\n"],
                 env=UTC)
kinds = [line.split("\t")[2][0] for line in listing.splitlines()[1:] if "\t" in line]
check(kinds == sorted(kinds, reverse=True), f"ls: subdirectories first: {kinds}")
filtered = expect(["ls", "--pattern", "*.txt", tree], 0, ["a.txt\t", "ro.txt\t", "A\t", "D\t"])
check("data.zzq" not in filtered and "x.BWS" not in filtered, "ls --pattern kept other files")
headings = [line[:-1] for line in expect(["ls", "-r", "--schedule", tree], 0).splitlines()
            if line.endswith(":")]
# The text form writes each backslash of a path as two.
a, b, c, d = (tree + "\\\\" + path for path in ["A", "A\\\\B", "A\\\\B\\\\C", "D"])
check(sorted(headings) == sorted([tree, a, b, c, d]) and headings[0] == tree and
      headings[headings.index(a) + 1:headings.index(a) + 3] == [b, c], f"ls -r order: {headings}")
try:
    document = json.loads(run(["ls", "--json", "-r", tree], env=UTC).stdout)
    entry = next(e for e in document[0]["entries"] if e["name"] == "a.txt")
    check(len(document) == 5 and entry == {
        "name": "a.txt", "size": 5, "attributes": "----A", "attribute_bits": 32,
        "last_write": "2001-02-03T04:05:06", "type": entry["type"], "type_text": entry["type_text"],
        "image": entry["image"]}, f"ls --json: {len(document)} listings, {entry}")
except (ValueError, KeyError, IndexError, StopIteration) as error:
    check(False, f"ls --json: {error!r}")
missing = os.path.join(work, "missing")
expect(["ls", missing, tree], 1, [f"{tree}:\n"], [f"cannot list '{missing}': no such directory"])
expect(["ls", one_section], 1, [], ["it is not a directory"])
# Every *.bws below the tree, whatever the case of its extension, and nothing else.
indexed = expect(["script", "-R", tree], 0, ["function\tDeep\t" + tree + "/A/B/C/deep.bws\t",
                                             "function\tUpper\t" + tree + "/x.BWS\t"])
check("NotAScript" not in indexed, "script -R indexed a file that is not *.bws")
expect(["script", "--recursive", missing, SETUP], 1, ["WelcomeDialog"],
       [f"cannot search '{missing}': no such directory"])
# A file name that every record repeats is written escaped in each of them.
odd = write("tab\there.bws", b"prototype A();\nprototype B();\n")
shown = odd.replace("\t", "\\t")
expect(["script", odd], 0, [f"function\tA\t{shown}\t1\t-\t", f"function\tB\t{shown}\t2\t-\t"])

shutil.rmtree(work)
for failure in failures:
    print("FAIL:", failure)
print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
